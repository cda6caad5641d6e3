#pragma once
#include <array>

#include <QString>
#include <QStringList>

#include "platform/Color.h"
#include "platform/Currency.h"

class TPrintTextFile;

// A named field of a form file: where and how the values of "@" records are
// drawn.
struct TDataField {
  int Cnt = 0;   // values drawn on the page being drawn
  QString Name;  // upper-cased; empty = free entry
  int X = 0;     // 0.1 mm, base point of the including form added
  int Y = 0;
  QString FontName = QStringLiteral("ＭＳ 明朝");
  int FontSize = 10;
  QString FontStyle;  // option letters, upper-cased
  TColor Color = 0;
  TColor BrushColor = 0;  // 1 = transparent
  int iAlign = 0;
  int X2 = 0;     // width; above 0 the value is spread over it
  int Lines = 0;  // 1: one value per page
  int Center = 0;
};

struct TTotalField {
  QString Name;
  int X = 0;
  int Y = 0;
  Currency Total;
  bool SubFlg = false;
};

// Form pages with field tables, entries per form page, and the entries that
// hold definitions (1 to 199; entry 0 is the row pitch "0" or "行間").
constexpr int FormPageMax = 5;
constexpr int FieldEntryCount = 202;
constexpr int FieldDefinitionLimit = 200;
using TFieldPage = std::array<TDataField, FieldEntryCount>;
using TTotalPage = std::array<TTotalField, FieldEntryCount>;

extern std::array<TFieldPage, FormPageMax> FieldTable;
extern std::array<TTotalPage, FormPageMax> TotalTable;
// Page ends met while reading the form file (0 to 5).
extern int FormPageCount;

// The field table of a form page, or nullptr for an index outside 0 to 4 (a
// form with more pages than the tables hold: no field is found there).
TFieldPage* FormFieldPage(int formPage);
// The entry (1 to 199) of the form page whose name equals name upper-cased;
// 0 when none.
int FindField(int formPage, const QString& name);
// Sets the use counts of every entry of the form page to 0.
void ResetFieldCounts(int formPage);

// True when a line ends a page: its first field, without double quotes and
// upper-cased, is "E". The interpreter, the page counts, the page skipping,
// the orientations and the field reading all decide with it.
bool IsPageEndLine(const QString& line);

// Reads the field definitions of a form file (when it exists) into the
// tables, positions shifted by the base point. A failure while reading is
// logged and passed on. Always True.
bool HensuuYomikomi(const QString& fileName, int baseX, int baseY);
// The same from an open file, read from its start.
void HensuuYomikomiFrom(TPrintTextFile& f, int baseX, int baseY);

// 1 + the number of page ends of the file (1 when it cannot be opened). With
// numbering, PageNumberList and NumberedPages are rebuilt.
int CountPages(const QString& fileName, bool numbering);
int CountPagesIn(TPrintTextFile& f, bool numbering);
// PageCount (the data's page count, raised to a multiple of the form's) and
// ViewPage 1 for the current job's FormFileName and DataFileName.
void CountTotalPages();
// Positions the open file at the start of page n (1-based); with wrap a file
// with fewer pages starts again from its top. False when the file ended first.
bool SkipPages(TPrintTextFile& f, int n, bool wrap);
// One entry per page: the page's orientation (0 portrait, 1 landscape) as text;
// empty when the file cannot be opened.
QStringList PageOrientations(const QString& fileName, int defaultOrientation);
QStringList PageOrientationsIn(TPrintTextFile& f, int defaultOrientation);
