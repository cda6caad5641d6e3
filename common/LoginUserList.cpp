#include "common/LoginUserList.h"

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"

void TLoginUserList::Clear()
{
  FRecs.clear();
  FItems.clear();
  FOpCode = 0;
}

void TLoginUserList::add(const TLoginUserListRec& r)
{
  FRecs.push_back(r);
  FItems.append(QStringLiteral("%1:%2").arg(r.CODE).arg(r.NAME));
}

QString TLoginUserList::ItemGetter(int i) const
{
  return inRange(i) ? FItems.at(i) : QString();
}
int TLoginUserList::ItemGetterCode(int i) const
{
  return inRange(i) ? FRecs[i].CODE : 0;
}
QString TLoginUserList::ItemGetterName(int i) const
{
  return inRange(i) ? FRecs[i].NAME : QString();
}
QString TLoginUserList::ItemGetterPcName(int i) const
{
  return inRange(i) ? FRecs[i].PCNAME : QString();
}

int TLoginUserList::GetListIndex(int ACode) const
{
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].CODE == ACode)
      return i;
  return -1;
}

TLoginUserListOnDef::TLoginUserListOnDef()
{
  if (DM)
    FTransaction = &DM->IBTransactionDEF;
}

void TLoginUserListOnDef::Execute(int AGroupID, int AOpCode, bool AMySelf)
{
  Clear();
  FGroupID = AGroupID;
  FOpCode = AOpCode;
  FMySelf = AMySelf;
  if (!FTransaction)
    return;
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction);
  try {
    QString sql = QStringLiteral(
        "SELECT L.OPERATORCODE,L.PCNAME,O.OPNAME FROM LOGONUSERLIST L\n"
        "INNER JOIN OPERATOR O ON(L.GROUPID=O.GROUPID AND L.OPERATORCODE=O.OPCODE)\n"
        "WHERE L.GROUPID=:GROUPID\n");
    if (!AMySelf)
      sql += QStringLiteral("AND L.OPCODE<>:OPCODE\n");
    sql += QStringLiteral("GROUP BY L.OPERATORCODE,L.PCNAME,O.OPNAME\nORDER BY L.OPERATORCODE");
    q.setSql(sql);
    q.setParam(QStringLiteral("GROUPID"), AGroupID);
    if (!AMySelf)
      q.setParam(QStringLiteral("OPCODE"), AOpCode);
    for (q.open(); !q.eof(); q.next())
      add({q.field("OPERATORCODE").asInt(), q.field("OPNAME").asString(), q.field("PCNAME").asString()});
    q.close();
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    if (own.Started()) {
      fnReportError(e, QStringLiteral("TLoginUserListOnDef.Execute"),
                    QStringLiteral("ログインユーザーリストの取得に失敗しました。"));
      own.EndAfterError();
    }
    throw;
  }
}
