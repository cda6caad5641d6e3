// The journal import: every entry line of a journal text file becomes a new
// journal entry of the company database of the import's transaction.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/AccTaxCmp.h"
#include "common/SitenList.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "maint/SiwakeTextIO.h"
#include "maint/SiwakeWrite.h"
#include "platform/Format.h"

struct TSiwakeTextIO::TImportRun {
  TSiwakeWrite writer;
  TSitenList sitenList;
  // file number -> new number; the next new number once the first was read
  std::map<int, int> groups;
  int nextGroup = 0;
  std::map<int, int> vouchers[3];
  int nextVoucher[3] = {0, 0, 0};
  TTextFile log;
  bool logOpen = false;
  QString path;
  TDateTime editDate = 0;
};

namespace {

int IntOf(const QString& s)
{
  int v = 0;
  return TryStrToInt(fnTrim(s), v) ? v : 0;
}

Currency WholeUnitsOf(const QString& s)
{
  Currency v;
  if (!TryStrToCurr(fnTrim(s), v))
    return Currency();
  return v.rounded(Currency::Round::Truncate);
}

TDateTime DateOfText(const QString& s)
{
  TDateTime d = 0;
  return TryStrToDate(fnTrim(s), d) ? d : 0;
}

TDateTime DateTimeOfText(const QString& s)
{
  TDateTime d = 0;
  return TryStrToDateTime(fnTrim(s), d) ? d : Now();
}

QString CutTrim(const QString& s, int n)
{
  return fnTrimZen(fnCutStrL(s, n, false));
}

bool SameBranch(const QString& a, const QString& b)
{
  return a == b || (fnTrim(a).isEmpty() && fnTrim(b).isEmpty());
}

}  // namespace

int TSiwakeTextIO::GroupNumberFor(TImportRun& run, int fileNumber, bool importBranch)
{
  if (!importBranch || fileNumber == 0)
    return 0;
  const auto it = run.groups.find(fileNumber);
  if (it != run.groups.end())
    return it->second;
  // Numbers are handed out in order from the first free one: a number stays
  // taken by its file group even when none of its lines could be stored.
  const int n = run.nextGroup > 0 ? run.nextGroup : run.writer.GetNextGroupNumber();
  run.nextGroup = n + 1;
  run.groups.emplace(fileNumber, n);
  return n;
}

int TSiwakeTextIO::LinkNumberFor(TImportRun& run, int kind, int fileNumber, bool importBranch)
{
  if (!importBranch || kind < 12 || kind > 14 || fileNumber == 0)
    return 0;
  const int k = kind - 12;
  const auto it = run.vouchers[k].find(fileNumber);
  if (it != run.vouchers[k].end())
    return it->second;
  const int n = run.nextVoucher[k] > 0 ? run.nextVoucher[k] : run.writer.GetNextDenpyouNumber(kind);
  run.nextVoucher[k] = n + 1;
  run.vouchers[k].emplace(fileNumber, n);
  return n;
}

void TSiwakeTextIO::BuildEntry(TImportRun& run, const QStringList& f, bool importBranch)
{
  const TSWKIMPREC& c = FSWKIMPREC;
  TSWKREC& E = FSWKREC;
  TSiwakeWrite& w = run.writer;
  TSiwakeWrite::InitSiwakeRec(E, 0, 0);
  E.REC = 0;
  E.SWKREC = 0;
  E.SWKNO = 0;
  E.DELFLG = 0;
  E.TAISHAKU = 1;
  E.HIZUKE = DateOfText(f[c.HIZUKE]);
  E.MNUM = 0;
  E.KESSAN = IntOf(f[c.KESSAN]);
  E.DNUM = GroupNumberFor(run, IntOf(f[c.DNUM]), importBranch);
  E.SNUM = IntOf(f[c.SNUM]);
  E.SCODE = f[c.SCODE];
  if (E.SCODE != w.SCODE()) {
    // The whole file stays one transaction: the list is read without a
    // commit of its own.
    w.SetTransStart(false);
    w.ExecuteKamokuList(E.SCODE);
  }

  auto side = [&](TSwkBalance& s, int kg, int kc, int hc, int bc, int tc, bool credit) {
    s = TSwkBalance();
    s.KGROUP = f[kg];
    s.KCODE = fnTrim(f[kc]);
    s.HCODE = fnTrim(f[hc]);
    if (s.HCODE.isEmpty())
      s.HCODE = QStringLiteral(" ");
    s.BCODE = fnTrim(f[bc]);
    s.TAXCODE = IntOf(f[tc]);
    if (s.TAXCODE == 0) {
      if (w.GetFindKamoku(s.KCODE, s.HCODE, s.BCODE)) {
        const TKamokuRec r = w.GetKamokuRecArr(w.KamokuIndex());
        s.KNAME = r.KAMOKU.KNAME;
        s.HNAME = r.HOJO.HNAME;
        s.BNAME = r.BUMON.BNAME;
        const bool noHojo = fnTrim(s.HCODE).isEmpty();
        s.TAXCODE = credit ? (noHojo ? r.KAMOKU.TAX_RCODE : r.HOJO.TAX_RCODE)
                           : (noHojo ? r.KAMOKU.TAX_LCODE : r.HOJO.TAX_LCODE);
      } else {
        s.TAXCODE = 910;
      }
    }
  };
  side(E.LK, c.L_KGROUP, c.L_KCODE, c.L_HCODE, c.L_BCODE, c.L_TAXCODE, false);
  side(E.RK, c.R_KGROUP, c.R_KCODE, c.R_HCODE, c.R_BCODE, c.R_TAXCODE, true);

  E.KINGAKU = WholeUnitsOf(f[c.KINGAKU]);
  E.ZEIGAKU = WholeUnitsOf(f[c.ZEIGAKU]);
  E.ZEIRITUNO = IntOf(f[c.ZEIRITUNO]);
  E.AUTCALCU = IntOf(f[c.AUTCALCU]);
  E.TAXCALCU = IntOf(f[c.TAXCALCU]);
  E.OLDRATE = IntOf(f[c.OLDRATE]);
  E.TEKCODE = 0;
  E.TEKTEXT = CutTrim(CleanImportText(f[c.TEKTEXT]), 50);
  E.TORCODE = 0;
  E.TORTEXT = CutTrim(CleanImportText(f[c.TORTEXT]), 40);
  E.FUSEN1 = IntOf(f[c.FUSEN1]);
  E.FUSEN2 = IntOf(f[c.FUSEN2]);
  E.FUSEN3 = E.FUSEN4 = E.FUSEN5 = 0;
  E.CTIME = 0;
  E.COMMENT = CutTrim(CleanImportText(f[c.COMMENT]), 100);
  E.AO_COMMENT = CutTrim(CleanImportText(f[c.AO_COMMENT]), 100);
  E.LINKKEY.clear();
  E.LINKKUB = 0;
  E.LINKREC = 0;
  int kind = 0, number = 0;
  if (ParseDenpyouNo(f[c.DENPYOU_NO], kind, number)) {
    E.LINKKUB = kind;
    E.LINKREC = LinkNumberFor(run, kind, number, importBranch);
  }
  E.LOCALFLG = E.RESERVE1 = E.RESERVE2 = 0;
  E.RTIME = Now();
  E.OPCODE = SystemDef.OPCODE;

  if (E.KESSAN != 1)
    E.KESSAN = 0;
  E.ZEIRITUNO = 0;
  if (E.AUTCALCU != 0)
    E.AUTCALCU = 1;
  if (E.TAXCALCU < 0 || E.TAXCALCU > 2)
    E.TAXCALCU = AccInf.TAXDEFUH;
  if (E.FUSEN1 < 0 || E.FUSEN1 > 3)
    E.FUSEN1 = 0;
  if (E.LK.TAXCODE >= 810 && E.RK.TAXCODE >= 810)
    E.TAXCALCU = 2;
  const int highestRate = (AccInf.DataVerMajor > 11 || (AccInf.DataVerMajor == 11 && AccInf.DataVerMinor >= 1)) ? 4 : 2;
  if (E.OLDRATE < 0 || E.OLDRATE > highestRate)
    E.OLDRATE = 0;
  E.LK.ZEIRITUKBN = E.OLDRATE;
  E.RK.ZEIRITUKBN = E.OLDRATE;

  if (FGassanIO) {
    run.editDate = DateTimeOfText(f[c.EDITDATE]);
    E.LK.KNAME = CleanImportText(f[c.L_KNAME]);
    E.LK.HNAME = CleanImportText(f[c.L_HNAME]);
    E.LK.BNAME = CleanImportText(f[c.L_BNAME]);
    E.LK.SIKIN = IntOf(f[c.L_SIKIN]);
    E.RK.KNAME = CleanImportText(f[c.R_KNAME]);
    E.RK.HNAME = CleanImportText(f[c.R_HNAME]);
    E.RK.BNAME = CleanImportText(f[c.R_BNAME]);
    E.RK.SIKIN = IntOf(f[c.R_SIKIN]);
    E.SYOUNIN_OPCODE = 0;
    E.SYOUNIN_OPNAME.clear();
    E.SYOUNIN_HIZUKE = 0;
    if (!f[c.SYOUNIN_HIZUKE].isEmpty()) {
      E.SYOUNIN_OPCODE = IntOf(f[c.SYOUNIN_OPCODE]);
      E.SYOUNIN_OPNAME = CleanImportText(f[c.SYOUNIN_OPNAME]);
      E.SYOUNIN_HIZUKE = DateTimeOfText(f[c.SYOUNIN_HIZUKE]);
    }
    if (E.TEKTEXT.startsWith(QStringLiteral("一括税抜")) || E.TEKTEXT == QStringLiteral("消費税振替")) {
      E.LINKKUB = 9;
      E.FUSEN5 = 9;
    }
  }
}

void TSiwakeTextIO::AddFailure(TImportRun& run, const QString& line, bool format, bool warning, int number,
                               const QString& message)
{
  const TSWKREC& E = FSWKREC;
  if (FLogFormatType == 1) {
    if (format)
      FLogList << QStringLiteral("(ファイル形式) ") + message;
    else
      FLogList << QStringLiteral("(日付:%1 科目:%2/%3 摘要:%4 金額:%5) %6")
                      .arg(FormatDateTime(QStringLiteral("yyyy/mm/dd"), E.HIZUKE), E.LK.KCODE, E.RK.KCODE, E.TEKTEXT,
                           E.KINGAKU.toString(), message);
  } else if (format) {
    FLogList << message << QStringLiteral("// ") + line;
  } else {
    FLogList << QStringLiteral("// ") + message;
    if (!line.isEmpty())
      FLogList << line;
  }
  if (run.logOpen) {
    const QString when = FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn:ss"), Now());
    WriteTextLine(run.log, QStringLiteral("%1 %2 %3行目 %4-%5:%6")
                               .arg(when, run.path)
                               .arg(FOKCount + FErrCount + 1)
                               .arg(warning ? QStringLiteral("W") : QStringLiteral("E"))
                               .arg(number)
                               .arg(message));
  }
  ++FErrCount;
}

bool TSiwakeTextIO::fnSiwakeInput(const QString& _Path, const QString& _Separator)
{
  SetMessageText(QString());
  FLocked = CheckLocked(_Path, _Separator);
  if (FWriteLock && FLocked)
    return false;
  FShougouOK = CheckShougou(_Path, _Separator);
  if (!FShougouOK)
    return false;

  FCurrentDir = QFileInfo(_Path).absolutePath();
  FLogTxtPath = QStringLiteral("%1/%2%3.txt")
                    .arg(FCurrentDir, QStringLiteral("importlog"), FormatDateTime(QStringLiteral("yymmdd"), Date()));
  const char logMode = QFileInfo::exists(FLogTxtPath) ? 'A' : 'W';
  FOKCount = 0;
  FErrCount = 0;
  SetImportColumns();

  db::Transaction* tr = FIBTransaction;
  if (!tr)
    throw db::DbError(QStringLiteral("TSiwakeTextIO: no transaction set"));
  const bool wasLocked = FLocked;
  TImportRun run;
  run.path = _Path;
  TSiwakeWrite& w = run.writer;
  w.SetWriteType(wtKousin);
  w.SetIBTransaction(tr);
  w.SetSCODE(SystemDef.OPSCODE);
  TSiwakeTestItem checks;
  if (FGassanIO) {
    checks.Kamoku = false;
    checks.Syounin = false;
  }
  w.SetSiwakeTestItem(checks);
  run.sitenList.SetTransaction(tr);
  TJxSitenListSet branches;
  branches.include(jxslSiten);
  run.sitenList.SetReadType(branches);

  TTextFile file;
  try {
    if (!tr->inTransaction())
      tr->start();
    // The tax master stays as read now for every line of the file.
    TTaxMasterHold taxMaster;
    run.sitenList.Execute(SystemDef.OPCODE);
    w.SetTransStart(true);
    w.ExecuteKamokuList(w.SCODE());
    w.SetTransStart(true);
    w.ExecuteKobetuGenkaList();
    QCoreApplication::processEvents();
    OpenTextFile(file, _Path, 'R');
    if (FLogTxtWrite) {
      const bool bom = FWriteBom;
      FWriteBom = true;
      OpenTextFile(run.log, FLogTxtPath, logMode);
      FWriteBom = bom;
      run.logOpen = true;
      FFilePath = _Path;
    }

    const TSWKIMPREC& c = FSWKIMPREC;
    QString line;
    while (!file.Eof()) {
      ReadDataLine(file, line);
      line = fnTrim(line);
      if (line.isEmpty() || line == QStringLiteral(".Lock") || line == AccInf.SHOUGOU)
        continue;
      const QStringList fields = SplitFields(line, FSeparator);
      if (fields.size() != c.ITEMCOUNT) {
        AddFailure(run, line, true, true, 1,
                   fields.size() > c.ITEMCOUNT
                       ? QStringLiteral("セパレーター(タブ)で区切られた項目(ﾌｨｰﾙﾄﾞ)が多いです。")
                       : QStringLiteral("セパレーター(タブ)で区切られた項目(ﾌｨｰﾙﾄﾞ)が足りません。"));
        continue;
      }
      QString branch = fields[c.SCODE];
      if (branch.isEmpty())
        branch = QStringLiteral(" ");
      const bool permitted = run.sitenList.GetListIndex2(branch) >= 0;
      const bool importBranch = FHokaSitenGet || SameBranch(branch, FSCODE);
      BuildEntry(run, fields, permitted && importBranch);
      if (!tr->inTransaction())
        tr->start();
      w.SetTransStart(false);

      if (permitted && importBranch) {
        int errNo = 0;
        QString errMsg;
        bool ok = w.TestSiwake(FSWKREC, errNo, errMsg);
        if (ok) {
          fnCalcSiwakeZeigaku(FSWKREC);
          if (FSWKREC.LK.RIT == Currency() && FSWKREC.RK.RIT == Currency())
            FSWKREC.TAXCALCU = 2;
          w.IsYuukoKobetuGenkaSiwake(FSWKREC);
          ok = w.PutSiwake(FSWKREC) > 0;
          if (ok && FGassanIO) {
            db::Query& u = IBSQL_Siwake2();
            u.setSql(QStringLiteral("UPDATE SIWAKE SET\nRTIME=:RTIME\nWHERE SWKREC=:SWKREC"));
            u.setParamDateTime(QStringLiteral("RTIME"), run.editDate);
            u.setParam(QStringLiteral("SWKREC"), FSWKREC.SWKREC);
            u.exec();
            u.setSql(
                QStringLiteral("UPDATE SIWAKE2 SET\n"
                               "SHONIN_OPCODE=:SHONIN_OPCODE,SHONIN_NAME=:SHONIN_NAME,SHONIN_HIZUKE=:SHONIN_HIZUKE\n"
                               "WHERE SWKREC=:SWKREC"));
            u.setParam(QStringLiteral("SHONIN_OPCODE"), FSWKREC.SYOUNIN_OPCODE);
            u.setParam(QStringLiteral("SHONIN_NAME"), FSWKREC.SYOUNIN_OPNAME);
            if (FSWKREC.SYOUNIN_HIZUKE == 0)
              u.setParamNull(QStringLiteral("SHONIN_HIZUKE"));
            else
              u.setParamDateTime(QStringLiteral("SHONIN_HIZUKE"), FSWKREC.SYOUNIN_HIZUKE);
            u.setParam(QStringLiteral("SWKREC"), FSWKREC.SWKREC);
            u.exec();
          } else if (!ok) {
            errNo = 0;
            errMsg.clear();
          }
        }
        if (ok)
          ++FOKCount;
        else
          AddFailure(run, line, false, false, errNo, errMsg);
      } else if (permitted) {
        AddFailure(run, line, false, true, 2, QStringLiteral("処理中の本・支店以外の仕訳です。"));
      } else {
        AddFailure(run, line, false, true, 3,
                   QStringLiteral("本・支店コードが登録されていない または オペレータ権限外の本・支店の仕訳です。"));
      }
      const int handled = FOKCount + FErrCount;
      if (handled == 1 || handled % 50 == 0)
        ShowProgress(QStringLiteral("\"%1\"件をｲﾝﾎﾟｰﾄ中です…"), handled);
    }

    if (FOKCount + FErrCount > 0 && tr->inTransaction())
      tr->commitRetaining();
    if (FOKCount + FErrCount > 0) {
      CloseTextFile(file, 'R');
      OpenTextFile(file, _Path, 'A');
      if (!wasLocked)
        WriteTextLine(file, QStringLiteral(".Lock"));
      CloseTextFile(file, 'A');
    } else {
      CloseTextFile(file, 'R');
    }
    if (run.logOpen) {
      run.logOpen = false;
      CloseTextFile(run.log, logMode);
    }
    return true;
  } catch (const db::DbError& e) {
    try {
      if (tr->inTransaction())
        tr->rollbackRetaining();
    } catch (...) {
      pcLogDroppedError("TSiwakeTextIO.fnSiwakeInput rollback");
    }
    AddFailure(run, QString(), false, false, 0,
               QStringLiteral("[IB例外] ") + QStringLiteral("Code=%1 %2").arg(e.gdscode()).arg(e.message()));
    --FErrCount;  // listed, but no line of the file
    if (run.logOpen) {
      try {
        CloseTextFile(run.log, logMode);
      } catch (...) {
        pcLogDroppedError("TSiwakeTextIO.fnSiwakeInput log");
      }
    }
    throw;
  } catch (...) {
    const QString text = fnCurrentExceptionText();
    try {
      if (tr->inTransaction())
        tr->rollbackRetaining();
    } catch (...) {
      pcLogDroppedError("TSiwakeTextIO.fnSiwakeInput rollback");
    }
    AddFailure(run, QString(), false, false, 0, QStringLiteral("[例外] ") + text);
    --FErrCount;  // listed, but no line of the file
    if (run.logOpen) {
      try {
        CloseTextFile(run.log, logMode);
      } catch (...) {
        pcLogDroppedError("TSiwakeTextIO.fnSiwakeInput log");
      }
    }
    throw;
  }
}
