#include "common/UserList.h"

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/UserListTrans.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

TUserList::TUserList() : TUserList(DM->IBDatabaseDEF, &DM->IBDatabaseDAT) {}

TUserList::TUserList(db::Database& ASystemDb, db::Database* ACompanyDb) : FSystemDb(&ASystemDb), FCompanyDb(ACompanyDb)
{
  FOwnTr = std::make_unique<db::Transaction>(ASystemDb);
  FOwnTr->setOptions(db::Transaction::Option::ReadCommitted | db::Transaction::Option::RecVersion |
                     db::Transaction::Option::NoWait);
  if (ACompanyDb)
    FOwnTr->addDatabase(*ACompanyDb);
  SetTransaction(nullptr, -1);
}

TUserList::~TUserList() = default;

void TUserList::SetTransaction(db::Transaction* ATransaction, int ADBSpace)
{
  if (ADBSpace == -1 || !ATransaction) {
    if (ADBSpace == -1 || ADBSpace == 0)
      FSysQ = std::make_unique<db::Query>(*FOwnTr, *FSystemDb);
    if (ADBSpace != 0 && FCompanyDb)
      FDatQ = std::make_unique<db::Query>(*FOwnTr, *FCompanyDb);
    return;
  }
  if (ADBSpace == 0)
    FSysQ = std::make_unique<db::Query>(*ATransaction, *FSystemDb);
  else if (FCompanyDb)
    FDatQ = std::make_unique<db::Query>(*ATransaction, *FCompanyDb);
}

void TUserList::Clear()
{
  FRecs.clear();
  FItems.clear();
}

void TUserList::add(const TUserListRec& ARec)
{
  FRecs.push_back(ARec);
  if (ARec.CODE == 0 && FRecs.size() == 1 && !FTopItem.isEmpty()) {
    FItems.append(FUseFilterCombo ? QStringLiteral("\"%1\"\t\"\"").arg(FTopItem) : FTopItem);
    return;
  }
  FItems.append(FUseFilterCombo ? QStringLiteral("\"%1\"\t\"%2\"").arg(ARec.CODE).arg(ARec.NAME)
                                : QStringLiteral("%1:%2").arg(ARec.CODE).arg(ARec.NAME));
}

QString TUserList::ItemGetter(int AIndex) const
{
  return AIndex >= 0 && AIndex < FItems.size() ? FItems.at(AIndex) : QString();
}
int TUserList::ItemGetterCode(int AIndex) const
{
  return inRange(AIndex) ? FRecs[AIndex].CODE : 0;
}
int TUserList::ItemGetterOpCode(int AIndex) const
{
  return inRange(AIndex) ? FRecs[AIndex].GroupID * 10000 + FRecs[AIndex].CODE : 0;
}
QString TUserList::ItemGetterName(int AIndex) const
{
  return inRange(AIndex) ? FRecs[AIndex].NAME : QString();
}

int TUserList::GetListIndex(int ACode) const
{
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].CODE == ACode)
      return i;
  return -1;
}

void TUserList::InitUserInfo(TUserListRec& ARec) const
{
  ARec = TUserListRec{};
  ARec.GroupID = FGroupID;
}

TUserListRec TUserList::GetUserInfo(int ACode) const
{
  const int i = GetListIndex(ACode);
  if (i >= 0)
    return FRecs[i];
  TUserListRec r;
  InitUserInfo(r);
  return r;
}

namespace {

const char* const kFrom =
    "FROM OPERATOR O\n"
    "INNER JOIN LEVELNAME L ON (O.JOBLEVEL=L.LEVELNO)\n"
    "WHERE (O.GROUPID=:GROUPID) AND (O.OPCODE>=10)\n";

}  // namespace

void TUserList::readList()
{
  db::Query& q = *FSysQ;
  const QString approver = FSyouninsya ? QStringLiteral("AND (SHONIN>0)\n") : QString();
  q.setSql(QStringLiteral("SELECT COUNT(O.GROUPID) AS RECCNT ") + QLatin1String(kFrom) + approver);
  q.setParam(QStringLiteral("GROUPID"), FGroupID);
  q.open();
  const int count = q.eof() ? 0 : q.field(QStringLiteral("RECCNT")).asInt();
  q.close();
  if (count == 0)
    return;

  // A system database of an older version lacks the two newest columns: the
  // statement is made again without them.
  q.setSql(QStringLiteral("SELECT O.GROUPID,O.OPCODE,O.OPNAME,O.JOBLEVEL,L.NAME,O.PASWORD,O.DATAPAS,O.JIMUSHO,"
                          "O.OKINIIRI,O.KANSA,O.MYNUMBER_ADM,O.SHONIN\n") +
           QLatin1String(kFrom) + approver + QStringLiteral("ORDER BY O.OPCODE"));
  q.setParam(QStringLiteral("GROUPID"), FGroupID);
  for (int attempt = 0;; ++attempt) {
    try {
      q.open();
      break;
    } catch (const db::DbError&) {
      q.close();
      if (attempt >= 3)
        throw db::DbError(QStringLiteral("OPERATORテーブル参照クエリーの作成エラー"));
      q.setSql(QStringLiteral("SELECT O.GROUPID,O.OPCODE,O.OPNAME,O.JOBLEVEL,L.NAME,O.PASWORD,O.DATAPAS,O.JIMUSHO,"
                              "O.OKINIIRI,O.KANSA,0 AS MYNUMBER_ADM,0 AS SHONIN\n") +
               QLatin1String(kFrom) + QStringLiteral("ORDER BY O.OPCODE"));
      q.setParam(QStringLiteral("GROUPID"), FGroupID);
    }
  }
  for (; !q.eof(); q.next()) {
    TUserListRec r;
    r.GroupID = q.field(QStringLiteral("GROUPID")).asInt();
    r.CODE = q.field(QStringLiteral("OPCODE")).asInt();
    r.NAME = q.field(QStringLiteral("OPNAME")).asString();
    r.Level = q.field(QStringLiteral("JOBLEVEL")).asInt();
    r.LevelName = q.field(QStringLiteral("NAME")).asString();
    r.Password = q.field(QStringLiteral("PASWORD")).asString();
    r.Accountant = q.field(QStringLiteral("JIMUSHO")).asInt() != 0;
    r.EasyMenu = q.field(QStringLiteral("OKINIIRI")).asInt() != 0;
    r.MyNumberAdm = q.field(QStringLiteral("MYNUMBER_ADM")).asInt() != 0;
    r.SyouninsyaKbn = q.field(QStringLiteral("SHONIN")).asInt() != 0;
    add(r);
  }
  q.close();
}

void TUserList::Execute()
{
  Clear();
  if (!FTopItem.isEmpty()) {
    TUserListRec top;
    top.GroupID = FGroupID;
    top.NAME = FTopItem;
    top.Level = 9;
    add(top);
  }
  TOwnTransaction own(FSysQ->transaction());
  try {
    readList();
    own.Commit();
  } catch (const std::exception& e) {
    FSysQ->close();
    if (own.Started()) {
      fnReportError(e, QStringLiteral("TUserList.Execute"), QStringLiteral("ユーザーリストの取得に失敗しました。"));
      own.EndAfterError();
    }
  }
}

void TUserList::GetSiyouSiten(int ACode)
{
  const int i = GetListIndex(ACode);
  if (i < 0)
    return;
  TUserListRec& r = FRecs[i];
  r.UseSiten.clear();
  r.DefSiten.clear();
  if (!FDatQ)
    throw db::DbError(QStringLiteral("No company database for the operator's branches"));
  db::Query& q = *FDatQ;
  TOwnTransaction own(q.transaction());
  try {
    q.setSql(QStringLiteral("SELECT SCODE FROM OPLICENSE\nWHERE (OPCODE=:OPCODE)\nORDER BY SCODE"));
    q.setParam(QStringLiteral("OPCODE"), loginCode(ACode));
    for (q.open(); !q.eof(); q.next())
      r.UseSiten.append(q.field(QStringLiteral("SCODE")).asString());
    q.close();
    q.setSql(QStringLiteral("SELECT SCODE FROM OPDEFSISETU\nWHERE (OPCODE=:OPCODE)"));
    q.setParam(QStringLiteral("OPCODE"), loginCode(ACode));
    for (q.open(); !q.eof(); q.next())
      r.DefSiten = q.field(QStringLiteral("SCODE")).asString();
    q.close();
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    if (own.Started()) {
      fnReportError(e, QStringLiteral("TUserList.GetSiyouSiten"), QStringLiteral("使用支店情報の取得に失敗しました。"));
      own.EndAfterError();
    }
    throw;
  }
}

void TUserList::insertSiyouSiten(int ACode, const TUserListRec& ARec)
{
  if (!FDatQ)
    throw db::DbError(QStringLiteral("No company database for the operator's branches"));
  db::Query& q = *FDatQ;
  q.setSql(QStringLiteral("INSERT INTO OPLICENSE(OPCODE,SCODE)\nVALUES(:OPCODE,:SCODE)"));
  for (const QString& s : ARec.UseSiten) {
    q.setParam(QStringLiteral("OPCODE"), loginCode(ACode));
    q.setParam(QStringLiteral("SCODE"), s);
    q.exec();
  }
  q.setSql(QStringLiteral("INSERT INTO OPDEFSISETU(OPCODE,SCODE)\nVALUES(:OPCODE,:SCODE)"));
  q.setParam(QStringLiteral("OPCODE"), loginCode(ACode));
  q.setParam(QStringLiteral("SCODE"), ARec.DefSiten);
  q.exec();
}

void TUserList::deleteSiyouSiten(int ACode)
{
  if (!FDatQ)
    throw db::DbError(QStringLiteral("No company database for the operator's branches"));
  db::Query& q = *FDatQ;
  for (const char* sql :
       {"DELETE FROM OPLICENSE\nWHERE (OPCODE=:OPCODE)", "DELETE FROM OPDEFSISETU\nWHERE (OPCODE=:OPCODE)"}) {
    q.setSql(QString::fromLatin1(sql));
    q.setParam(QStringLiteral("OPCODE"), loginCode(ACode));
    q.exec();
  }
}

void TUserList::bindUser(db::Query& q, const TUserListRec& ARec) const
{
  q.setParam(QStringLiteral("OPNAME"), ARec.NAME);
  q.setParam(QStringLiteral("JOBLEVEL"), ARec.Level);
  q.setParam(QStringLiteral("PASWORD"), ARec.Password);
  q.setParam(QStringLiteral("DATAPAS"), QString());
  q.setParam(QStringLiteral("JIMUSHO"), ARec.Accountant ? 1 : 0);
  q.setParam(QStringLiteral("OKINIIRI"), ARec.EasyMenu ? 1 : 0);
  q.setParam(QStringLiteral("KANSA"), 0);
  q.setParam(QStringLiteral("MYNUMBER_ADM"), ARec.MyNumberAdm ? 1 : 0);
  q.setParam(QStringLiteral("SHONIN"), ARec.SyouninsyaKbn ? 1 : 0);
}

bool TUserList::InsertUser(const TUserListRec& ARec)
{
  TUserListTrans own(FSysQ.get(), FDatQ.get());
  try {
    db::Query& q = *FSysQ;
    q.setSql(QStringLiteral(
        "INSERT INTO "
        "OPERATOR(GROUPID,OPCODE,OPNAME,JOBLEVEL,PASWORD,DATAPAS,JIMUSHO,OKINIIRI,KANSA,MYNUMBER_ADM,SHONIN)\n"
        "VALUES(:GROUPID,:OPCODE,:OPNAME,:JOBLEVEL,:PASWORD,:DATAPAS,:JIMUSHO,:OKINIIRI,:KANSA,:MYNUMBER_ADM,:"
        "SHONIN)"));
    q.setParam(QStringLiteral("GROUPID"), ARec.GroupID);
    q.setParam(QStringLiteral("OPCODE"), ARec.CODE);
    bindUser(q, ARec);
    q.exec();
    if (restricted(ARec)) {
      deleteSiyouSiten(ARec.CODE);
      insertSiyouSiten(ARec.CODE, ARec);
    }
    Execute();
    own.Commit();
    return true;
  } catch (const std::exception& e) {
    if (own.Started()) {
      fnReportError(e, QStringLiteral("TUserList.InsertUser"), QStringLiteral("ユーザーの追加に失敗しました。"));
      own.Rollback();
    }
    return false;
  }
}

bool TUserList::UpdateUser(int AOldCode, const TUserListRec& ARec)
{
  TUserListTrans own(FSysQ.get(), FDatQ.get());
  try {
    db::Query& q = *FSysQ;
    q.setSql(
        QStringLiteral("UPDATE OPERATOR SET "
                       "OPCODE=:NEWOPCODE,OPNAME=:OPNAME,JOBLEVEL=:JOBLEVEL,PASWORD=:PASWORD,DATAPAS=:DATAPAS,\n"
                       "JIMUSHO=:JIMUSHO,OKINIIRI=:OKINIIRI,KANSA=:KANSA,MYNUMBER_ADM=:MYNUMBER_ADM,SHONIN=:SHONIN\n"
                       "WHERE (GROUPID=:GROUPID) AND (OPCODE=:OLDOPCODE)"));
    q.setParam(QStringLiteral("GROUPID"), FGroupID);
    q.setParam(QStringLiteral("OLDOPCODE"), AOldCode);
    q.setParam(QStringLiteral("NEWOPCODE"), ARec.CODE);
    bindUser(q, ARec);
    q.exec();
    if (restricted(ARec)) {
      deleteSiyouSiten(AOldCode);
      insertSiyouSiten(ARec.CODE, ARec);
    }
    Execute();
    own.Commit();
    return true;
  } catch (const std::exception& e) {
    if (own.Started()) {
      fnReportError(e, QStringLiteral("TUserList.UpdateUser"), QStringLiteral("ユーザーの更新に失敗しました。"));
      own.Rollback();
    }
    return false;
  }
}

bool TUserList::DeleteUser(int ACode)
{
  TUserListTrans own(FSysQ.get(), FDatQ.get());
  try {
    db::Query& q = *FSysQ;
    q.setSql(QStringLiteral("DELETE FROM OPERATOR\nWHERE (GROUPID=:GROUPID) AND (OPCODE=:OPCODE)"));
    q.setParam(QStringLiteral("GROUPID"), FGroupID);
    q.setParam(QStringLiteral("OPCODE"), ACode);
    q.exec();
    deleteSiyouSiten(ACode);
    Execute();
    own.Commit();
    return true;
  } catch (const std::exception& e) {
    if (own.Started()) {
      fnReportError(e, QStringLiteral("TUserList.DeleteUser"), QStringLiteral("ユーザーの削除に失敗しました。"));
      own.Rollback();
    }
    return false;
  }
}
