#pragma once
#include <memory>

#include <QString>
#include <QStringList>

#include "print/Print360Record.h"

class TVDBPrint;

// One print text file (print data, form file or saved preview) opened for
// reading line by line. It is read as CP932 only when its first 512 bytes
// detect as Shift-JIS (DetectTextEncoding), else as UTF-8; a byte-order mark
// is dropped. Lines end at CR LF, CR or LF.
class TPrintTextFile {
 public:
  // Files above this size are refused.
  static constexpr qint64 MaxPrintTextFileSize = 256 * 1024 * 1024;
  TPrintTextFile() = default;
  // Reads the whole file; throws EAppError when it cannot be read.
  void Assign(const QString& fileName);
  // The lines of bytes already in memory, decoded by the same rule (fuzzing).
  void AssignBytes(const QByteArray& bytes);
  // The lines of a text already in memory (tests).
  void AssignText(const QString& text);
  bool IsOpen() const { return FOpen; }
  const QString& fileName() const { return FFileName; }
  void Reset() { FPos = 0; }
  bool Eof() const { return FPos >= FLines.size(); }
  // The next line; empty at the end.
  QString ReadLine();
  void Close();

 private:
  QString FFileName;
  QStringList FLines;
  qsizetype FPos = 0;
  bool FOpen = false;
};

// --- engine state (one per process; main thread only) ----------------------
extern bool EngineReady;
extern QString FormFileName;
extern QString DataFileName;
extern int CurLeftMargin;
extern int CurTopMargin;
extern int EvenPageShift;
// 0 known paper; 1 user-defined paper size in force; 2 paper unknown.
extern int PaperState;
extern int UserPaperWidth;
extern int UserPaperLength;
extern int PageCount;
extern int ViewPage;
extern int CurPageNo;
extern int NumberedPages;
extern QStringList PageNumberList;
extern QString PrintMessageText;
extern bool CancelPrint;
extern double VRatio;
extern double HRatio;
extern QStringList SjisFonts;
extern QStringList SymbolFonts;
extern QStringList OemFonts;
extern QStringList EastEuropeFonts;
extern QStringList AllFonts;
extern std::unique_ptr<TVDBPrint> VdbPrint;

// Starts the engine: resets the state, fills the font lists and creates the
// printer device. Any failure leaves EngineReady False; the program goes on
// without printing. Needs a QGuiApplication.
void InitPrintEngine();
// Releases what InitPrintEngine made.
void FinalizePrintEngine();
// Per-job state put back to its start values (a new job, tests): files,
// margins, page values, ratios, paper state, message and cancel flag.
void ResetPrintJobState();

// Fills the five font lists from the installed font families. The Windows
// names of the Japanese fonts ("ＭＳ 明朝", "ＭＳ ゴシック" ...) are listed
// with the Japanese fonts when the fonts that stand in for them are
// installed.
void EnumInstalledFonts();
// Adds a face name (at most 32 characters) unless the list's last entry is
// the same name without regard to letter case.
void P360AddFaceName(QStringList& list, const QString& face);
// The stand-in family for a font name (IPAex Mincho for the Mincho faces,
// IPAex Gothic for the Gothic ones), or the name itself.
QString P360FontFamily(const QString& fontName);

// Opens a print text file: an empty name gives False; a missing file shows
// "<name> が見つかりません。" in an error box and gives False.
bool OpenPrintTextFile(TPrintTextFile& f, const QString& name);

// The error log "Print360_Error.log" in the user's documents folder: one line
// "yy/mm/dd hh:nn:ss  " + message per call. Creates the folder when needed;
// never throws (a log that cannot be written goes to the Qt log).
void WriteErrorLog(const QString& message) noexcept;
// The log's path.
QString ErrorLogPath();
