// The data-list rows of the communication dialog in the system database.
#include "comm/DataTusin.h"
#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Format.h"

namespace {

const QString kSelect = QStringLiteral(
    "SELECT REC,ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,TANTOU,"
    "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT FROM DATALIST ");
const QString kSet = QStringLiteral(
    " SET ENTTEXT=:ENTTEXT,NENDO=:NENDO,KISHU=:KISHU,KIMATU=:KIMATU,VER_MAJOR=:VER_MAJOR,VER_MINOR1=:VER_MINOR1,"
    "VER_MINOR2=:VER_MINOR2,VER_TEXT=:VER_TEXT,UPDATE_LOCK=:UPDATE_LOCK,READ_ONLY=:READ_ONLY ");

// Whether a data folder lies in the installation's own data folder on the
// server: after an optional drive label, it begins with the data folder's
// path (compared with regard to case). Separators may be either slash.
bool inInstallationData(const QString& APath, bool ASpecialEdition)
{
  QString p = APath;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (p.size() >= 2 && p.at(1) == QLatin1Char(':'))
    p = p.mid(2);
  const QString own = ASpecialEdition ? QStringLiteral("/vuzarevurivu2/DATA") : QStringLiteral("/DEDODOZORAV2/DATA");
  return p.left(own.size()) == own;
}

void bindSet(db::Query& q, const TDataListRec& e)
{
  q.setParam(QStringLiteral("ENTTEXT"), e.DataListName);
  q.setParam(QStringLiteral("NENDO"), e.Nendo);
  q.setParamDateTime(QStringLiteral("KISHU"), e.Kishu);
  q.setParamDateTime(QStringLiteral("KIMATU"), e.Kimatu);
  q.setParam(QStringLiteral("VER_MAJOR"), e.VerMajor);
  q.setParam(QStringLiteral("VER_MINOR1"), e.VerMinor);
  q.setParam(QStringLiteral("VER_MINOR2"), e.VerRevision);
  q.setParam(QStringLiteral("VER_TEXT"), e.VerText);
  q.setParam(QStringLiteral("UPDATE_LOCK"), e.UpdateLock);
  q.setParam(QStringLiteral("READ_ONLY"), e.ReadOnly);
}

}  // namespace

int TDataTusin::ReadDataList()
{
  db::Transaction& tr = DM->IBTransactionDEF;
  const bool started = tr.startIfNeeded();
  try {
    db::Query c(tr, QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM DATALIST WHERE (GROUPID=:GROUPID)"));
    c.setParam(QStringLiteral("GROUPID"), SystemDef.GROUPID);
    c.open();
    const int count = c.field(QStringLiteral("RECCNT")).asInt();
    c.close();
    FAllSentakuListRec.assign(std::size_t(count), TDataSentakuRec{});
    const bool desc = FSortRow == 0 && FSortType != 0;
    db::Query q(tr, kSelect + QStringLiteral("WHERE (GROUPID=:GROUPID) ORDER BY REC") +
                        (desc ? QStringLiteral(" DESC") : QString()));
    q.setParam(QStringLiteral("GROUPID"), SystemDef.GROUPID);
    std::size_t n = 0;
    for (q.open(); !q.eof() && n < FAllSentakuListRec.size(); q.next(), ++n) {
      TDataListRec& e = FAllSentakuListRec[n].Data;
      e.Rec = q.field(QStringLiteral("REC")).asInt();
      e.Group = SystemDef.GROUPID;
      e.DataListName = q.field(QStringLiteral("ENTTEXT")).asString();
      e.Shougou = q.field(QStringLiteral("SHOUGOU")).asString();
      e.Nendo = q.field(QStringLiteral("NENDO")).asInt();
      e.Kishu = q.field(QStringLiteral("KISHU")).asDateTime();
      e.Kimatu = q.field(QStringLiteral("KIMATU")).asDateTime();
      e.Kikan = QStringLiteral("%1 ～ %2")
                    .arg(FormatDateTime(QStringLiteral("yyyy/mm/dd"), e.Kishu),
                         FormatDateTime(QStringLiteral("yyyy/mm/dd"), e.Kimatu));
      e.NetDrive = q.field(QStringLiteral("NETDRIVE")).asInt();
      e.DataPath = q.field(QStringLiteral("PASNAME")).asString();
      e.Tanto = q.field(QStringLiteral("TANTOU")).asInt();
      e.DataKbn = q.field(QStringLiteral("DATATYPE")).asInt();
      e.CodeKbn = q.field(QStringLiteral("CODETYPE")).asInt();
      e.DataLock = q.field(QStringLiteral("DATALOCK")).asInt();
      e.KyoyuLock = q.field(QStringLiteral("KYOYULOCK")).asInt();
      e.VerMajor = q.field(QStringLiteral("VER_MAJOR")).asInt();
      e.VerMinor = q.field(QStringLiteral("VER_MINOR1")).asInt();
      e.VerRevision = q.field(QStringLiteral("VER_MINOR2")).asInt();
      e.VerText = q.field(QStringLiteral("VER_TEXT")).asString();
    }
    q.close();
    // Rows added between the count and the read are not taken; rows gone
    // meanwhile are not left as blanks.
    FAllSentakuListRec.resize(n);
    return int(n);
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDataSentakuBox.GetDataListRecord"), QString(), false);
    if (started && tr.inTransaction())
      tr.commit();
    throw;
  } catch (...) {
    if (started && tr.inTransaction())
      tr.commit();
    throw;
  }
}

void TDataTusin::WriteDataListRow(int AIndex)
{
  const TDataListRec& e = FAllSentakuListRec.at(std::size_t(AIndex)).Data;
  if (fnTrimZen(e.DataPath).isEmpty())
    throw EAppError(QStringLiteral("データフォルダパスが不正です。\r処理を中止します。"));
  db::Transaction& tr = DM->IBTransactionDEF;
  const bool started = tr.startIfNeeded();
  try {
    if (AppType != jxatSA) {
      const QString table = inInstallationData(TransferDataPath(), EditionKind == 1 || EditionKind == 2)
                                ? QStringLiteral("UPDATE DATALIST")
                                : QStringLiteral("UPDATE DATALIST_EX");
      db::Query q(tr, table + kSet + QStringLiteral("WHERE PASNAME=:PASNAME"));
      bindSet(q, e);
      q.setParam(QStringLiteral("PASNAME"), e.DataPath);
      q.exec();
    } else if (gassanKb != QLatin1String("10")) {
      db::Query q(tr, QStringLiteral("UPDATE DATALIST") + kSet + QStringLiteral("WHERE REC=:REC"));
      bindSet(q, e);
      bool ok = false;
      const int rec = e.DataPath.right(4).toInt(&ok);
      if (!ok)
        throw EAppError(QStringLiteral("データフォルダパスが不正です。\r処理を中止します。"));
      q.setParam(QStringLiteral("REC"), rec);
      q.exec();
    } else {
      // A distributed member in a sub-folder of its parent's numbered folder.
      const QString p = e.DataPath;
      const qsizetype len = p.size();
      QString member, recText;
      if (len >= 7 && (p.at(len - 3) == QLatin1Char('/') || p.at(len - 3) == QLatin1Char('\\'))) {
        member = p.right(2);
        recText = p.right(7).left(4);
      } else if (len >= 8 && (p.at(len - 4) == QLatin1Char('/') || p.at(len - 4) == QLatin1Char('\\'))) {
        member = p.right(3);
        recText = p.right(8).left(4);
      } else {
        MessageHook().ShowMessageDlg(QStringLiteral("C_DATALISTが更新出来ません。(1)"), mtError, mbYes);
        return;
      }
      bool ok = false;
      const int rec = recText.toInt(&ok);
      db::Query s(tr, QStringLiteral("SELECT * FROM Child_DATALIST WHERE (REC=:REC) and (PASNAME LIKE :PASNAME)"));
      s.setParam(QStringLiteral("REC"), ok ? rec : -1);
      s.setParam(QStringLiteral("PASNAME"), QStringLiteral("%") + member);
      s.open();
      if (!ok || s.eof()) {
        s.close();
        MessageHook().ShowMessageDlg(QStringLiteral("C_DATALISTが更新出来ません。(2)"), mtError, mbYes);
        return;
      }
      const int rowNo = s.field(QStringLiteral("ROWNO")).asInt();
      s.close();
      db::Query q(tr, QStringLiteral("UPDATE Child_DATALIST") + kSet +
                          QStringLiteral("WHERE (REC=:REC) and (ROWNO=:ROWNO) and (GROUPID=:GROUPID)"));
      bindSet(q, e);
      q.setParam(QStringLiteral("REC"), rec);
      q.setParam(QStringLiteral("ROWNO"), rowNo);
      q.setParam(QStringLiteral("GROUPID"), SystemDef.GROUPID);
      q.exec();
    }
    if (started)
      tr.commit();
  } catch (const db::DbError& err) {
    fnShowFbError(err, QStringLiteral("TDataSentakuBox.UpdateDataListRecord"), QString(), false);
    if (started && tr.inTransaction())
      tr.rollback();
    throw;
  } catch (...) {
    if (started && tr.inTransaction())
      tr.rollback();
    throw;
  }
}
