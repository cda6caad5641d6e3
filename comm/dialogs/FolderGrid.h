// The folder grid of the communication dialog as data: one record per relay
// folder or cloud-share line with the texts of its eight columns, made from
// the rows the server-information request filled; the version label of a
// row; the process types' captions and manual pages. QtCore only.
#pragma once

#include <array>
#include <vector>

#include <QString>

#include "comm/RelayReply.h"
#include "common/RecordTableModel.h"

namespace fgcol {
enum : int { No = 0, Status, Name, Year, Period, SendTime, RecvTime, Ver, Count };
}

struct TFolderGridRow {
  int Index = 0;  // folder or line 1 .. 10 is Index + 1
  std::array<QString, fgcol::Count> Cells;
  QString DataName;   // as the server holds it ("" = nothing stored)
  QString DataShare;  // cloud lines: "1" free, "2" in use
};

// The version label of a row: (15, 1) "23消改版", (11, 1) "19消改版", (6, 1)
// "14消改版", another minor "major.minor", minor 0: "09版", "10版", else
// major + 8 and "版".
QString fnTusinVersionText(int AMajor, int AMinor);
// The label of a stored four-digit version ("1501"); blank when it is not
// a number.
QString fnTusinDataVerText(const QString& ADataVer);

// The ten grid records for a process type (19 and above: cloud-share layout).
std::vector<TFolderGridRow> fnFolderGridRows(const TServerFolderRows& ARows, int AProcType);

// Caption and manual page of a process type ("" where the form keeps its own).
struct TTusinProcTypeInfo {
  int ProcType;
  const char* Caption;
  const char* HelpFile;
};
const TTusinProcTypeInfo* fnTusinProcTypeInfo(int AProcType);

class TServerFolderModel : public TRecordTableModel<TFolderGridRow> {
 public:
  explicit TServerFolderModel(QObject* AParent = nullptr);
  // Cloud-share captions of the year, send and receive columns.
  void SetCloudCaptions(bool ACloud);
  QVariant headerData(int ASection, Qt::Orientation AOrientation, int ARole) const override;

 private:
  bool FCloud = false;
};
