// Direct reads and writes of the transferred data set's company database
// over the form's own connection (IBDatabaseDAT, IBTransaction1).
#include "comm/DataTusin.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"

namespace {

const QString msgConnect = QStringLiteral(
    "ユーザーデータベースの接続処理に失敗しました。\rDBファイルが削除、破損 または "
    "使用中の可能性がありますので接続パスを確認して下さい。");
const QString txtCloud = QStringLiteral("クラウドシェア");

// 11.0.1 or later: the data carries CLOUD_LINE and CLOUD_TIME.
bool hasCloudColumns(int AMajor, int AMinor1, int AMinor2)
{
  return AMajor >= 12 || (AMajor >= 11 && AMinor1 >= 1) || (AMajor >= 11 && AMinor1 == 0 && AMinor2 >= 1);
}

}  // namespace

void TDataTusin::OpenDirectConnection()
{
  if (IBDatabaseDAT.isConnected())
    IBDatabaseDAT.disconnect();
  const QString folder = TransferDataPath();
  IBDatabaseDAT.setDatabaseName(TDM::fnDatabaseName(SystemDef.SERVERNAME, folder, AccDataFile, AppType != jxatSA));
  IBDatabaseDAT.setUser(SystemDef.IBUSER);
  IBDatabaseDAT.setPassword(SystemDef.PASWORD);
  IBDatabaseDAT.setCharset(QStringLiteral("UTF8"));
  try {
    IBDatabaseDAT.connect();
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("Bunsan DatConnected"), msgConnect, false);
  } catch (const std::exception&) {
    fnShowErrorDetail(msgConnect, fnCurrentExceptionText(), mtError);
  }
}

bool TDataTusin::CloudTimeUpdate(TDateTime ATime)
{
  OpenDirectConnection();
  // A closed connection makes the start fail; that error is the caller's.
  IBTransaction1.startIfNeeded();
  try {
    db::Query q(IBTransaction1, QStringLiteral("SELECT * FROM ACCVERSION WHERE REC=:REC"));
    q.setParam(QStringLiteral("REC"), 1);
    q.open();
    const int major = q.field(QStringLiteral("MAJOR")).asInt();
    const int minor1 = q.field(QStringLiteral("MINOR1")).asInt();
    const int minor2 = q.field(QStringLiteral("MINOR2")).asInt();
    q.close();
    if (hasCloudColumns(major, minor1, minor2)) {
      db::Query u(IBTransaction1, QStringLiteral("UPDATE ACCDEF1 SET CLOUD_TIME=:CLOUD_TIME WHERE REC=:REC "));
      u.setParamDateTime(QStringLiteral("CLOUD_TIME"), ATime);
      u.setParam(QStringLiteral("REC"), 1);
      u.exec();
    }
    if (IBTransaction1.inTransaction())
      IBTransaction1.commit();
    IBDatabaseDAT.disconnect();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("Cloud_Time"), txtCloud, false);
  } catch (const std::exception&) {
    fnShowErrorDetail(txtCloud, fnCurrentExceptionText(), mtError);
  }
  try {
    if (IBTransaction1.inTransaction())
      IBTransaction1.rollback();
    IBDatabaseDAT.disconnect();
  } catch (...) {
    pcLogDroppedError("TDataTusin::CloudTimeUpdate");
  }
  return false;
}

namespace {

const QString kGroup = QStringLiteral("基本設定");
const QString kGassanKbn = QStringLiteral("合算データ区分");
const QString kGassanSu = QStringLiteral("合算データ数");

void closeQuietly(db::Transaction& ATr, db::Database& ADb, bool ACommit, const char* AWhere)
{
  try {
    if (ATr.inTransaction()) {
      if (ACommit)
        ATr.commit();
      else
        ATr.rollback();
    }
  } catch (...) {
    pcLogDroppedError(AWhere);
  }
  try {
    ADb.disconnect();
  } catch (...) {
    pcLogDroppedError(AWhere);
  }
}

}  // namespace

bool TDataTusin::GassanInfoRead()
{
  OpenDirectConnection();
  try {
    IBTransaction1.startIfNeeded();
    db::Query q(IBTransaction1, QStringLiteral("SELECT * FROM ACCREG WHERE AGROUP=:AGROUP and ACODE=:ACODE"));
    for (auto [code, target] : {std::pair{kGassanKbn, &gassanKb}, std::pair{kGassanSu, &gassanSu}}) {
      q.setParam(QStringLiteral("AGROUP"), kGroup);
      q.setParam(QStringLiteral("ACODE"), code);
      q.open();
      *target = q.eof() ? QString() : q.field(QStringLiteral("ATEXT")).asString();
      q.close();
    }
  } catch (const db::DbError&) {
    // The values read so far stay; the caller goes on with them.
    pcLogDroppedError("TDataTusin::GassanInfoRead");
  }
  closeQuietly(IBTransaction1, IBDatabaseDAT, true, "TDataTusin::GassanInfoRead");
  return true;
}

bool TDataTusin::GassanInfoWrite()
{
  OpenDirectConnection();
  if (!IBDatabaseDAT.isConnected())
    return false;
  try {
    IBTransaction1.startIfNeeded();
    db::Query q(IBTransaction1,
                QStringLiteral("UPDATE ACCREG SET ATEXT=:ATEXT WHERE (AGROUP=:AGROUP) AND (ACODE=:ACODE)"));
    for (auto [code, value] : {std::pair{kGassanKbn, gassanKb}, std::pair{kGassanSu, gassanSu}}) {
      q.setParam(QStringLiteral("ATEXT"), value);
      q.setParam(QStringLiteral("AGROUP"), kGroup);
      q.setParam(QStringLiteral("ACODE"), code);
      q.exec();
    }
    q.close();
    IBTransaction1.commit();
    IBDatabaseDAT.disconnect();
    return true;
  } catch (const std::exception& e) {
    fnReportError(e, QStringLiteral("GassanInfoWrite"), QStringLiteral("合算データ情報の書き込みに失敗しました。"));
  }
  closeQuietly(IBTransaction1, IBDatabaseDAT, false, "TDataTusin::GassanInfoWrite");
  return false;
}

bool TDataTusin::CloudLineClear(int AMode)
{
  OpenDirectConnection();
  try {
    IBTransaction1.startIfNeeded();
    db::Query q(IBTransaction1, QStringLiteral("SELECT * FROM ACCVERSION WHERE REC=:REC"));
    q.setParam(QStringLiteral("REC"), 1);
    q.open();
    const int major = q.field(QStringLiteral("MAJOR")).asInt();
    const int minor1 = q.field(QStringLiteral("MINOR1")).asInt();
    const int minor2 = q.field(QStringLiteral("MINOR2")).asInt();
    if (AMode != 0) {
      itDataVerMajor = major;
      itDataVerMinor1 = minor1;
      itDataVerMinor2 = minor2;
    } else if (hasCloudColumns(major, minor1, minor2)) {
      q.close();
      db::Query u(IBTransaction1, QStringLiteral("UPDATE ACCDEF1 SET CLOUD_LINE=:CLOUD_LINE WHERE (REC=:REC) and "
                                                 "(CLOUD_LINE<>:CLOUD_LINE) "));
      u.setParam(QStringLiteral("CLOUD_LINE"), 0);
      u.setParam(QStringLiteral("REC"), 1);
      u.exec();
    }
    q.close();
    if (IBTransaction1.inTransaction())
      IBTransaction1.commit();
    IBDatabaseDAT.disconnect();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("Cloud_Crear"), txtCloud, true);
  } catch (const std::exception&) {
    fnShowErrorDetail(txtCloud, fnCurrentExceptionText(), mtError);
  }
  closeQuietly(IBTransaction1, IBDatabaseDAT, false, "TDataTusin::CloudLineClear");
  return false;
}
