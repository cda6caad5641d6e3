#include "datasel/ComDataSentakuRefresh.h"

#include <stdexcept>
#include <vector>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/AccDateText.h"
#include "common/DataModule.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/AppError.h"
#include "platform/Paths.h"

namespace {

const QString kSts = QStringLiteral("DATASTS");
const QString kInfo = QStringLiteral("DATAINFO");

TDateTime dateOf(const QString& text)
{
  const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("yyyy/MM/dd"));
  return d.isValid() ? FromQDate(d) : 0;
}

bool blank(const QString& s)
{
  QString t = s;
  t.replace(QChar(0x3000), QLatin1Char(' '));
  return t.trimmed().isEmpty();
}

// The attributes read from the database over the status read from the
// folder's settings (status, holder and share holder stay).
void takeAttributes(const TDataInfomationRec& db, TDataInfomationRec& into)
{
  TDataInfomationRec r = db;
  r.Status = into.Status;
  r.OpCode = into.OpCode;
  r.OpName = into.OpName;
  r.KyoyuStatus = into.KyoyuStatus;
  r.KyoyuOpCode = into.KyoyuOpCode;
  r.KyoyuOpName = into.KyoyuOpName;
  into = r;
}

// A copy of a record that names only the local list: deleting its members
// through it leaves the share server's member rows alone.
TDataListRec localOnly(const TDataListRec& r)
{
  TDataListRec l = r;
  l.NetDrive = 0;
  return l;
}

// Reading a folder goes through the data module's company connection; a
// data set that was open there when the reading began is opened again when
// it ends.
class KeepOpenData {
 public:
  KeepOpenData() : FWasOpen(DM && DM->IBDatabaseDAT.isConnected()), FFolder(SystemDef.IBPATHDAT) {}
  ~KeepOpenData()
  {
    if (!FWasOpen || !DM || DM->IBDatabaseDAT.isConnected() || FFolder.isEmpty())
      return;
    try {
      DM->fnAccDatConnected(SystemDef.SERVERNAME, FFolder, false);
    } catch (...) {
      pcLogDroppedError("KeepOpenData: opening the company data again");
    }
  }
  KeepOpenData(const KeepOpenData&) = delete;
  KeepOpenData& operator=(const KeepOpenData&) = delete;

 private:
  bool FWasOpen;
  QString FFolder;
};

}  // namespace

void pcDataInfoToListRec(const TDataInfomationRec& AInfo, TDataListRec& AData, bool AClear)
{
  if (AClear) {
    AData.RowNo = 0;
    AData.Group = SystemDef.GROUPID;
    AData.DataCode.clear();
    AData.DataListName.clear();
    AData.Shougou.clear();
    AData.Kikan.clear();
    AData.VerText.clear();
    AData.Nendo = 1;
    AData.Kishu = 0;
    AData.Kimatu = 0;
    AData.DataKbn = 0;
    AData.CodeKbn = 0;
    AData.Tanto = 0;
    AData.DataLock = 0;
    AData.KyoyuLock = 0;
    AData.VerMajor = 0;
    AData.VerMinor = 0;
    AData.VerRevision = 0;
    AData.UpdateLock = 0;
    AData.GassanDataKbn = 0;
    AData.CloudShare = jxcsUnUse;
    AData.ReadOnly = 0;
    if (AData.NetDrive == 1) {
      AData.DataListName = QStringLiteral("空き領域");
      AData.KyoyuLock = 1;
    }
    AData.Display_DataListName = AData.DataListName;
    pcDataListRecLocalPath(AData);
    return;
  }
  AData.Group = SystemDef.GROUPID;
  AData.DataCode = AInfo.Code;
  AData.Shougou = AInfo.Shougou;
  AData.Nendo = AInfo.Nendo;
  AData.DataKbn = AInfo.DataKbn;
  AData.CodeKbn = AInfo.CodeKbn;
  AData.Tanto = AInfo.Tanto;
  AData.VerMajor = AInfo.VerMajor;
  AData.VerMinor = AInfo.VerMinor;
  AData.VerRevision = AInfo.VerRevision;
  AData.VerText = AInfo.VerText;
  AData.UpdateLock = AInfo.UpdateLock;
  // A member keeps its kind: the folder's information speaks of the data
  // set it holds, not of its place in the consolidated set.
  if (AData.GassanDataKbn != 10)
    AData.GassanDataKbn = AInfo.GassanDataKbn;
  AData.CloudShare = AInfo.CloudShare;
  AData.ReadOnly = AInfo.ReadOnly;
  AData.Kishu = dateOf(AInfo.Kishu);
  AData.Kimatu = dateOf(AInfo.Kimatu);
  AData.Kikan = fnDataListKikanText(AData.Kishu, AData.Kimatu);
  AData.DataLock = 0;
  if (AInfo.Status == jxdsLock && AInfo.OpCode != 0) {
    const long long g = static_cast<long long>(SystemDef.GROUPID) * 10000;
    AData.DataLock = g > 0 ? int(AInfo.OpCode % g) : AInfo.OpCode;
  }
  if (AInfo.KyoyuStatus == jxksExec && AInfo.KyoyuOpCode == SystemDef.OPCODE)
    AData.KyoyuLock = 1;
  if (AData.DataListName.isEmpty() || (AData.NetDrive != 0 && (AData.DataListName == QStringLiteral("空き領域") ||
                                                               AData.DataListName == QStringLiteral("新しい領域"))))
    AData.DataListName = AData.Shougou;
  AData.Display_DataListName = AData.DataListName;
  pcDataListRecLocalPath(AData);
}

TDataListRefresher::TDataListRefresher(TDataSentakuListCtl& ACtl, TJxAppType AAppType) : FCtl(ACtl), FAppType(AAppType)
{
  FDataInfo.SetAppType(AAppType);
}

QString TDataListRefresher::dataFile() const
{
  return AppInfo.DataFile.isEmpty() ? QStringLiteral("wqacc2.fdb") : AppInfo.DataFile;
}

bool TDataListRefresher::UpdateListRecord(const TDataListRec& AData)
{
  if (blank(AData.DataPath))
    throw std::runtime_error("データフォルダパスが不正です。\r処理を中止します。");
  return FCtl.UpdateDataListRecord(AData, 0, true);
}

int TDataListRefresher::readDatabase(const QString& AFolder, TDataInfomationRec& AInfo)
{
  if (!DM)
    return 0;
  int result = 0;
  if (DM->fnAccDatConnected(SystemDef.SERVERNAME, AFolder, false) && DM->IBDatabaseDAT.isConnected()) {
    result = FDataInfo.GetDataInfoRec(AInfo);
    DM->fnAccDatDisConnected(AFolder, false, false, false);
  }
  return result;
}

void TDataListRefresher::writeFolderSettings(const QString& AFolder, const TDataInfomationRec& AInfo)
{
  FDataInfo.WriteIniValue(AFolder, kSts, QStringLiteral("UPDATE_LOCK"), AInfo.UpdateLock, false);
  FDataInfo.WriteIniValue(AFolder, kSts, QStringLiteral("READ_ONLY"), AInfo.ReadOnly, false);
  FDataInfo.WriteIniFile(AFolder, kInfo, AInfo);
}

TDataRefreshResult TDataListRefresher::RefreshEntry(TDataSentakuRec& AEntry, int ACIndex, const QString& AFolder,
                                                    bool ARowShowsName)
{
  if (ACIndex >= int(AEntry.ChildData.size()))
    return drrNothing;
  TDataListRec& r = ACIndex >= 0 ? AEntry.ChildData[std::size_t(ACIndex)] : AEntry.Data;
  if (r.Data_Status == jxdbHason)
    return drrDamaged;
  if (blank(AFolder))
    return drrNothing;
  const QString db = PathJoin(ExcludeTrailingPathDelimiter(AFolder), dataFile());
  const KeepOpenData keep;

  if (FAppType != jxatSA) {
    bool serverError = false;
    const bool exists = DM && DM->ServerFileOperation(QStringLiteral("FExist"), db, QString(), serverError);
    // A question the server could not answer says nothing about the data:
    // the row keeps what it shows (the error has been reported).
    if (serverError || !DM)
      return drrServerError;
    if (exists) {
      FDataInfo.ReadIniFile(AFolder, FInfo);
      // A database that could not be opened tells nothing about the data:
      // the row keeps its values rather than being emptied.
      if (FInfo.Status == jxdsError)
        return drrKept;
      pcDataInfoToListRec(FInfo, r, false);
      UpdateListRecord(r);
      return drrFilled;
    }
    if (!ARowShowsName)
      return drrNothing;
    return removeGone(AEntry, r, ACIndex);
  }

  if (QFileInfo(db).isFile()) {
    FDataInfo.ReadIniFile(AFolder, FInfo);
    SystemDef.DataHasonFlg = 0;
    TDataInfomationRec fromDb;
    if (readDatabase(AFolder, fromDb) == 1) {
      takeAttributes(fromDb, FInfo);
      writeFolderSettings(AFolder, FInfo);
      pcDataInfoToListRec(FInfo, r, false);
      UpdateListRecord(r);
      if (ACIndex < 0)
        RebuildChildData(AEntry);
      return drrFilled;
    }
    if (SystemDef.DataHasonFlg == 1) {
      r.Data_Status = jxdbHason;
      return drrDamaged;
    }
    return drrKept;
  }

  if (r.NetDrive == 0)
    QFile::remove(TDataInfomation::IniFileName(AFolder));
  if (!ARowShowsName)
    return drrNothing;
  return removeGone(AEntry, r, ACIndex);
}

TDataRefreshResult TDataListRefresher::removeGone(TDataSentakuRec& AEntry, const TDataListRec& ARow, int ACIndex)
{
  if (ACIndex >= 0) {
    // The member's row goes from the local list with it, so that the next
    // reading of the list does not bring back a data set that has gone.
    FCtl.DeleteDataListChildRecord(localOnly(ARow), true);
    TDataSentakuListCtl::DeleteChildData(&AEntry, ACIndex);
    return drrMemberRemoved;
  }
  pcDataInfoToListRec(TDataInfomationRec{}, AEntry.Data, true);
  AEntry.ChildData.clear();
  AEntry.ChildDataCnt = 0;
  UpdateListRecord(AEntry.Data);
  return drrCleared;
}

bool TDataListRefresher::RebuildChildData(TDataSentakuRec& AEntry)
{
  TDataListRec& e = AEntry.Data;
  if (FAppType != jxatSA)
    return false;
  if (!(e.NetDrive == 0 || (e.NetDrive == 1 && e.KyoyuLock == 1)))
    return false;
  for (const TDataListRec& m : AEntry.ChildData)
    if (m.Data_Status == jxdbHason)
      return false;
  AEntry.ChildData.clear();
  AEntry.ChildDataCnt = 0;
  // The local rows only: the share server's member rows belong to its copy.
  FCtl.DeleteDataListChildRecord(localOnly(e), true);
  if (!IsGassanParent(e.GassanDataKbn))
    return true;
  const KeepOpenData keep;
  pcDataListRecLocalPath(e);
  const QStringList subs = TDataSentakuListCtl::DirChildDataList_Local(AEntry);
  for (int i = 0; i < subs.size(); ++i) {
    const QString name = ExtractFileName(ExcludeTrailingPathDelimiter(subs[i]));
    const QString local = PathJoin(e.LocalPath, name);
    if (!QFileInfo(PathJoin(local, dataFile())).isFile())
      continue;
    TDataListRec m;
    FCtl.InitDataListRecord(m, PathJoin(ExcludeTrailingPathDelimiter(e.DataPath), name));
    m.Rec = e.Rec;
    m.RowNo = i + 1;
    m.NetDrive = e.NetDrive;
    m.KyoyuLock = e.KyoyuLock;
    m.GassanDataKbn = 10;
    TDataInfomationRec info;
    if (readDatabase(local, info) == 1) {
      TDataInfomationRec status;
      FDataInfo.ReadIniFile(local, status);
      takeAttributes(info, status);
      FCtl.DataInfoRecToDataListRec(status, m);
      writeFolderSettings(local, status);
    } else {
      FDataInfo.ReadIniFile(local, info);
      FCtl.DataInfoRecToDataListRec(info, m);
      if (blank(m.DataListName)) {
        m.DataListName = QStringLiteral("破損データ");
        m.Display_DataListName = m.DataListName;
        m.Shougou = e.Shougou;
        m.Nendo = e.Nendo;
        m.Kishu = e.Kishu;
        m.Kimatu = e.Kimatu;
        m.Kikan = e.Kikan;
        m.DataKbn = e.DataKbn;
        m.CodeKbn = e.CodeKbn;
        m.Tanto = e.Tanto;
        m.VerMajor = e.VerMajor;
        m.VerMinor = e.VerMinor;
        m.VerRevision = e.VerRevision;
        m.VerText = e.VerText;
      }
      m.Data_Status = jxdbHason;
    }
    m.GassanDataKbn = 10;
    UpdateListRecord(m);
    AEntry.ChildData.push_back(m);
    AEntry.ChildDataCnt = int(AEntry.ChildData.size());
  }
  return true;
}

void TDataListRefresher::ClearChildData(TDataSentakuRec& AEntry)
{
  TDataListRec& e = AEntry.Data;
  AEntry.ChildData.clear();
  AEntry.ChildDataCnt = 0;
  if (!IsGassanParent(e.GassanDataKbn))
    return;
  FCtl.DeleteDataListChildRecord(localOnly(e), true);
  // The member folders of the local working copy; for a data set kept on a
  // share server its data path is the server's master copy, which stays.
  pcDataListRecLocalPath(e);
  if (e.NetDrive == 1 && e.KyoyuLock != 1)
    return;  // nothing held here
  if (blank(e.LocalPath) || !DM)
    return;
  for (const QString& sub : TDataSentakuListCtl::DirChildDataList_Local(AEntry))
    DM->AccDeleteDirectory(sub, FAppType, false);
}

void TDataSentakuListCtl::RestoreDataRecNo()
{
  if (FAppType == jxatSA || FDataListMode == jxdlKyoyuList || !DM)
    return;
  const int fixed = AppInfo.DataListCnt > 0 ? AppInfo.DataListCnt : 120;
  db::Transaction& t = DM->IBTransactionDEF;
  const bool started = t.startIfNeeded();
  try {
    // Numbers belong to a group (the key is group and number): each group's
    // rows are renumbered among themselves, so that rows of two groups with
    // the same number are never moved onto one another.
    struct Row {
      int group;
      int rec;
    };
    std::vector<Row> rows;
    {
      db::Query q(t);
      q.setSql(QStringLiteral("SELECT GROUPID,REC FROM ") + FListTable + QStringLiteral(" WHERE (REC>:REC)") +
               placeFilter() + QStringLiteral(" ORDER BY GROUPID,REC"));
      q.setParam("REC", fixed);
      bindPlace(q);
      for (q.open(); !q.eof(); q.next())
        rows.push_back({q.field("GROUPID").asInt(), q.field("REC").asInt()});
      q.close();
    }
    db::Query u(t);
    u.setSql(QStringLiteral("UPDATE ") + FListTable +
             QStringLiteral(" SET REC=:NEWREC WHERE (REC=:OLDREC) AND (GROUPID=:GROUPID)") + placeFilter());
    int group = 0;
    int next = fixed;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (i == 0 || rows[i].group != group) {
        group = rows[i].group;
        next = fixed;
      }
      ++next;
      if (rows[i].rec == next)
        continue;
      u.setParam("NEWREC", next);
      u.setParam("OLDREC", rows[i].rec);
      u.setParam("GROUPID", group);
      bindPlace(u);
      u.exec();
    }
    u.close();
    if (started && t.inTransaction())
      t.commit();
  } catch (...) {
    if (started && t.inTransaction()) {
      try {
        t.rollback();
      } catch (...) {
        pcLogDroppedError("TDataSentakuListCtl.RestoreDataRecNo");
      }
    }
    throw;
  }
}
