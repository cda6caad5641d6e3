// The consolidation controller: the structure of a consolidated data set
// (the members it expects and the members it has), the registered member
// rows, the parent's consolidation settings and the status log.
#include "maint/GassanDataCtl.h"

#include <algorithm>
#include <optional>

#include <QCoreApplication>
#include <QDir>

#include "common/AccFunction2.h"
#include "common/AccReg.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/Paths.h"

namespace {

// A folder name read as a number as the member folders are numbered: a
// name that is not a plain number counts as 0.
int folderNumber(const QString& AName)
{
  bool ok = false;
  const int n = AName.trimmed().toInt(&ok);
  return ok ? n : 0;
}

// The sub-folder names of AFolder in name order, so that the members are
// always listed the same way whatever order the file system keeps.
QStringList subFolderNames(const QString& AFolder)
{
  QStringList names = QDir(AFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort);
  std::sort(names.begin(), names.end());
  return names;
}

QString dateText(TDateTime ADate)
{
  return FormatDateTime(QStringLiteral("yyyy/mm/dd"), ADate);
}

}  // namespace

TGassanDataCtl::TGassanDataCtl() : FDataList(std::make_unique<TDataSentakuListCtl>())
{
  FDataList->SetAppType(AppType);
}

TGassanDataCtl::~TGassanDataCtl() = default;

void TGassanDataCtl::SetTransaction(db::Transaction& ATransaction)
{
  FTransaction = &ATransaction;
}

db::Transaction& TGassanDataCtl::datTransaction() const
{
  if (FTransaction)
    return *FTransaction;
  if (!DM)
    throw EGassanError(QStringLiteral("データモジュールがありません。"));
  return DM->IBTransactionDAT;
}

void TGassanDataCtl::SetPrepare(bool AValue)
{
  FPrepare = AValue;
  if (FPrepare)
    GetGassanData();
}

void TGassanDataCtl::SetParentAccDataPath(const QString& AValue)
{
  if (AValue == FParentAccDataPath)
    return;
  FParentAccDataPath = ExcludeTrailingPathDelimiter(AValue);
  FPrepare = false;
}

void TGassanDataCtl::SetParentDataRec(int AValue)
{
  if (AValue == FParentDataRec)
    return;
  FParentDataRec = AValue;
  FPrepare = false;
}

// ------------------------------------------------------------ the structure

void TGassanDataCtl::GetGassanData()
{
  if (FParentAccDataPath.isEmpty() || AppType != jxatSA || !DM)
    return;

  FDataList->SetAppType(AppType);
  FDataList->LocalPathToDataListRecNo(FParentAccDataPath, FParentDataRec);
  TDataListRec parent;
  parent.Rec = FParentDataRec;
  FDataList->GetDataListRecord(jxrkRec, parent, true);
  FKyoyuKbn = parent.NetDrive;
  FKyoyuParentAccDataPath = parent.NetDrive == 1 ? parent.DataPath : QString();

  FGassanData = TGassanDataRec{};
  FGassanData.RecNo = FParentDataRec;
  FGassanData.DataPath = FParentAccDataPath;
  FGassanChildData.clear();
  FGassanChildMaster.clear();

  const bool wasOpen = DM->IBDatabaseDAT.isConnected();
  if (!DM->fnAccDatConnected(SystemDef.SERVERNAME, FParentAccDataPath, false))
    return;
  // The parent's connection is given back as it was found, also when a
  // step below fails.
  struct TRestore {
    bool Close;
    QString Path;
    ~TRestore()
    {
      if (Close && DM)
        DM->fnAccDatDisConnected(Path, true, false, false);
    }
  } restore{!wasOpen, FParentAccDataPath};

  DM->fnGetAccInfo();
  if (IsGassanParent(AccInf.GassanDataKbn)) {
    FGassanData.SitenKanri = AccInf.SITEN_KANRI;
    FGassanData.SitenCount = AccInf.GassanChildCnt;
    readExpectedBranches();
    readFoundFolders();
    readRegisteredRows(AccInf.GassanDataKbn, false);
  } else {
    // Not (yet) consolidated in its own settings, as while it is being made
    // so: the registered members are the members found.
    readRegisteredRows(jxgdGassan, true);
  }
}

void TGassanDataCtl::readExpectedBranches()
{
  if (FGassanData.SitenKanri == 0) {
    for (int i = 0; i < FGassanData.SitenCount; ++i) {
      TGassanChildDataRec m;
      m.RecNo = FGassanData.RecNo;
      m.RowNo = i + 1;
      m.DataPath = PathJoin(FGassanData.DataPath, QString::asprintf("%.3d", i + 1));
      FGassanChildMaster.push_back(m);
    }
    return;
  }
  // The expected members are the parent's branches. A failure leaves the
  // list as far as it was read; the structure is read again on every
  // Prepare.
  db::Transaction& tr = datTransaction();
  TOwnTransaction own(tr);
  try {
    db::Query q(tr);
    q.setSql(QStringLiteral("SELECT COUNT(SCODE) AS RECCNT FROM SISETUMST WHERE SCODE<>''"));
    q.open();
    FGassanData.SitenCount = q.eof() ? 0 : q.field(0).asInt();
    q.close();
    q.setSql(QStringLiteral("SELECT SCODE FROM SISETUMST WHERE SCODE<>'' ORDER BY SCODE"));
    int row = 0;
    for (q.open(); !q.eof(); q.next()) {
      TGassanChildDataRec m;
      m.RecNo = FGassanData.RecNo;
      m.RowNo = ++row;
      m.SCODE = q.field(0).asString();
      m.DataPath = PathJoin(FGassanData.DataPath, m.SCODE);
      FGassanChildMaster.push_back(m);
    }
    q.close();
  } catch (const std::exception&) {
    pcLogDroppedError("TGassanDataCtl.GetGassanData");
  }
  try {
    own.Commit();
  } catch (const std::exception&) {
    pcLogDroppedError("TGassanDataCtl.GetGassanData");
  }
}

void TGassanDataCtl::readFoundFolders()
{
  if (!QDir(FGassanData.DataPath).exists())
    return;
  const bool medical = AccInf.ZaimuDataType == jxztCuravia;
  int row = 0;
  for (const QString& name : subFolderNames(FGassanData.DataPath)) {
    const int n = folderNumber(name);
    if (!(n > 0 || (medical && name == QLatin1String("00"))))
      continue;
    TGassanChildDataRec m;
    m.RecNo = FGassanData.RecNo;
    m.RowNo = ++row;
    if (FGassanData.SitenKanri != 0) {
      m.SCODE = QString::asprintf("%.2d", n);
      m.DataPath = PathJoin(FGassanData.DataPath, m.SCODE);
    } else {
      m.DataPath = PathJoin(FGassanData.DataPath, QString::asprintf("%.3d", n));
    }
    FGassanChildData.push_back(m);
  }
}

void TGassanDataCtl::readRegisteredRows(std::uint8_t AKind, bool ATakeAsFound)
{
  TDataSentakuRec sel;
  sel.Data.Rec = FGassanData.RecNo;
  sel.Data.GassanDataKbn = AKind;
  FDataList->GetDataListChildRecord(sel, false);
  if (ATakeAsFound) {
    for (const TDataListRec& d : sel.ChildData) {
      TGassanChildDataRec m;
      m.RecNo = d.Rec;
      m.RowNo = d.RowNo;
      m.DataPath = d.LocalPath;
      FGassanChildData.push_back(m);
    }
    return;
  }
  const auto same = [](const QString& a, const QString& b) {
    return ExcludeTrailingPathDelimiter(a) == ExcludeTrailingPathDelimiter(b);
  };
  for (TGassanChildDataRec& m : FGassanChildData)
    for (const TDataListRec& d : sel.ChildData)
      if (same(d.DataPath, m.DataPath) || same(d.LocalPath, m.DataPath)) {
        m.RowNo = d.RowNo;
        break;
      }
}

int TGassanDataCtl::FindChildData(const QString& APath) const
{
  const QString p = ExcludeTrailingPathDelimiter(APath);
  for (std::size_t i = 0; i < FGassanChildData.size(); ++i)
    if (ExcludeTrailingPathDelimiter(FGassanChildData[i].DataPath) == p)
      return int(i);
  return -1;
}

int TGassanDataCtl::GetNextRowNo(int AOffset) const
{
  if (FGassanChildData.empty())
    return AOffset - 1;
  int most = 0;
  for (const TGassanChildDataRec& m : FGassanChildData)
    most = std::max(most, m.RowNo);
  return most + AOffset;
}

QString TGassanDataCtl::GetChildFolderName(const QString& AFolder, int AOffset)
{
  if (AFolder.isEmpty() || !QDir(AFolder).exists())
    return QString();
  int most = 0;
  for (const QString& name : subFolderNames(AFolder))
    most = std::max(most, folderNumber(name));
  const int n = most + AOffset;
  if (n > 999)
    throw EGassanError(kGassanFolderLimitMessage);
  return QString::asprintf("%.3d", n);
}

// ------------------------------------------------------- registered members

bool TGassanDataCtl::GetChildDataList(const QString& ALocalPath, TDataListArray& AChildData)
{
  AChildData.clear();
  if (ALocalPath.trimmed().isEmpty())
    return false;
  if (AppType != jxatSA)
    return true;
  if (!DM)
    return false;

  db::Transaction& tr = DM->IBTransactionDEF;
  std::optional<TOwnTransaction> own;
  try {
    own.emplace(tr);
    db::Query q(tr);
    int parentRec = 0;
    QString parentPath;
    q.setSql(QStringLiteral(
        "SELECT COUNT(*) AS RECCNT FROM DATALIST WHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)"));
    q.setParam("GROUPID", SystemDef.GROUPID);
    q.setParam("PASNAME", ALocalPath.toUpper());
    q.open();
    const int found = q.eof() ? 0 : q.field(0).asInt();
    q.close();
    if (found > 0) {
      q.setSql(
          QStringLiteral("SELECT REC,PASNAME FROM DATALIST WHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)"));
      q.setParam("GROUPID", SystemDef.GROUPID);
      q.setParam("PASNAME", ALocalPath.toUpper());
      for (q.open(); !q.eof(); q.next()) {
        parentRec = q.field(0).asInt();
        parentPath = q.field(1).asString();
      }
      q.close();
    } else if (fnGetUNCName(ALocalPath) == ALocalPath) {
      parentRec = folderNumber(QDir(ExcludeTrailingPathDelimiter(ALocalPath)).dirName());
      q.setSql(QStringLiteral("SELECT PASNAME FROM DATALIST WHERE (REC=:REC)"));
      q.setParam("REC", parentRec);
      for (q.open(); !q.eof(); q.next())
        parentPath = q.field(0).asString();
      q.close();
    }

    q.setSql(QStringLiteral(
        "SELECT REC,ROWNO,ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,"
        "KYOYULOCK,TANTOU,VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,GASSAN FROM CHILD_DATALIST "
        "WHERE (REC=:REC AND GROUPID=:GROUPID) ORDER BY PASNAME"));
    q.setParam("REC", parentRec);
    q.setParam("GROUPID", SystemDef.GROUPID);
    for (q.open(); !q.eof(); q.next()) {
      TDataListRec d;
      d.Rec = q.field("REC").asInt();
      d.RowNo = q.field("ROWNO").asInt();
      d.Group = SystemDef.GROUPID;
      d.DataListName = q.field("ENTTEXT").asString();
      d.Shougou = q.field("SHOUGOU").asString();
      d.Nendo = q.field("NENDO").asInt();
      d.Kishu = q.field("KISHU").asDateTime();
      d.Kimatu = q.field("KIMATU").asDateTime();
      d.Kikan = QStringLiteral("%1 ～ %2").arg(dateText(d.Kishu), dateText(d.Kimatu));
      d.NetDrive = q.field("NETDRIVE").asInt();
      d.DataPath = q.field("PASNAME").asString();
      d.Tanto = q.field("TANTOU").asInt();
      d.DataKbn = q.field("DATATYPE").asInt();
      d.CodeKbn = q.field("CODETYPE").asInt();
      d.DataLock = q.field("DATALOCK").asInt();
      d.KyoyuLock = q.field("KYOYULOCK").asInt();
      d.VerMajor = q.field("VER_MAJOR").asInt();
      d.VerMinor = q.field("VER_MINOR1").asInt();
      d.VerRevision = q.field("VER_MINOR2").asInt();
      d.VerText = q.field("VER_TEXT").asString();
      d.GassanDataKbn = std::uint8_t(q.field("GASSAN").asInt());
      d.Display_DataListName = d.DataListName;
      d.LocalPath = d.DataPath;
      if (!parentPath.isEmpty())
        d.LocalPath.replace(parentPath, ALocalPath);
      AChildData.push_back(d);
    }
    q.close();
    own->Commit();
    return true;
  } catch (const db::DbError& e) {
    if (own)
      own->Rollback();
    fnShowFbError(e, QStringLiteral("TGassanDataCtl.GetLocalPathToData"), QString(), false);
    return false;
  }
}

// ---------------------------------------------------- consolidation settings

void TGassanDataCtl::SetGassanDataKbn(std::uint8_t AKind, int ACount)
{
  if (FParentAccDataPath.isEmpty() || !DM)
    return;
  if (!DM->fnAccDatConnected(SystemDef.SERVERNAME, FParentAccDataPath, false))
    throw EGassanError(QStringLiteral("合算データに接続できません。"));
  const int count = AKind == jxgdOrdinary || AKind == jxgdBunsan ? 0 : ACount;
  try {
    pcSetAccReg(kGassanRegGroup, kGassanRegKbn, QStringLiteral("整数"), int(AKind));
    pcSetAccReg(kGassanRegGroup, kGassanRegCount, QStringLiteral("整数"), count);
  } catch (...) {
    DM->fnAccDatDisConnected(FParentAccDataPath, true, true, false);
    throw;
  }
  DM->fnAccDatDisConnected(FParentAccDataPath, true, true, false);
}

// ---------------------------------------------------------------- status log

void TGassanDataCtl::AddSyoriLog()
{
  FSyoriLog.push_back(FSyoriInfo);
  FStatus = GetSyoriStatus();
}

int TGassanDataCtl::GetSyoriStatus() const
{
  for (const TTessalySyoriInfo& e : FSyoriLog)
    if (e.StatusType == jxstError || e.StatusCode == 1)
      return e.StatusCode;
  return FSyoriLog.empty() ? 0 : FSyoriLog.back().StatusCode;
}

void TGassanDataCtl::progress(const QString& AFormat)
{
  if (FProgressBox && !FChildSCODE.isEmpty())
    FProgressBox->SetProgressText(QString(AFormat).replace(QLatin1String("%s"), FChildSCODE));
  QCoreApplication::processEvents();
}
