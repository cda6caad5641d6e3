// TDataListModel: the data-selection list as a table model. One row per
// shown data set, a consolidated data set's members in rows of their own
// right below it; each row holds its record and where it stands in the
// loaded list (entry and member index). The dialog derives its focus, its
// function keys and its side buttons from the record of the focused row.
#pragma once

#include <vector>

#include "common/RecordTableModel.h"
#include "datasel/ComDataSentaku.h"

// The shown columns of the list.
namespace dscol {
enum : int { No = 0, Code, Cloud, Name, Nendo, Kikan, Folder, Version, Kyoyu, Kagi, Count };
}

// The sort column numbers kept with the search conditions (KENSAKUJYOKEN):
// 0 the default order, then the list's columns from 11 (No) on.
constexpr int kDataListSortColNo = 11;
inline int fnDataListSortColOfColumn(int ACol)
{
  return ACol + kDataListSortColNo;
}
inline int fnDataListColumnOfSortCol(int ASortCol)
{
  return ASortCol >= kDataListSortColNo ? ASortCol - kDataListSortColNo : -1;
}

// One row of the list.
struct TDataListRow {
  int Entry = -1;   // index of the data set in the loaded list
  int Member = -1;  // index among its members; -1 for the data set's own row
  TDataListRec Data;

  bool IsMember() const { return Member >= 0; }
  bool IsDamaged() const { return Data.Data_Status == jxdbHason; }
  // The data set may not be updated (drawn greyed, not chosen to work in).
  bool IsUpdateForbidden() const;
  bool IsLocked() const { return Data.DataLock != 0; }
  bool ShowsName() const;
};

// The folder as the list shows it: the application-data root as "~".
QString fnDataListFolderText(const QString& APath);

class TDataListModel : public TRecordTableModel<TDataListRow> {
 public:
  explicit TDataListModel(QObject* AParent = nullptr);

  // Shows the entries of AOrder (indexes into AEntries) in that order: each
  // data set of a kind with a row of its own, a consolidated one followed
  // by its members.
  void ShowEntries(const TDataSentakuRecArray& AEntries, const std::vector<int>& AOrder);
  // The rows of one entry: its own row and its members.
  static std::vector<TDataListRow> EntryRows(const TDataSentakuRec& AEntry, int AIndex);
  // ... appended to ARows.
  static void AppendEntryRows(std::vector<TDataListRow>& ARows, const TDataSentakuRec& AEntry, int AIndex);
  // Draws the entry of ARow (its own row or a member row) anew from AEntry:
  // its own row and as many member rows as it now has.
  void ShowEntry(int ARow, const TDataSentakuRec& AEntry);
  // Replaces the record of a row, keeping where it stands.
  void SetRowData(int ARow, const TDataListRec& AData);

  // The row of an entry's own row (-1 when not shown).
  int EntryRow(int AEntry) const;
  // The entry's own row of a member row (ARow itself for other rows).
  int ParentRow(int ARow) const;
  // The first row after AFrom (going round) whose code starts with AKey,
  // without regard to case; -1 when none does.
  int FindCode(const QString& AKey, int AFrom) const;
  // The first row showing AData (its number, and its folder when it has one).
  int FindRec(const TDataListRec& AData) const;

  // The column captions, the sorted one marked ▲ or ▼ (ASortCol as kept
  // with the search conditions).
  void SetSortMark(int ASortCol, TJxSortType ASortType);
};
