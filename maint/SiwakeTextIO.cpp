// The journal text layout, the text cleaning both ways, voucher texts and the
// export.
#include "maint/SiwakeTextIO.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Format.h"

namespace {

const QChar Tab = u'\t';

QString Quoted(const QString& text)
{
  return QLatin1Char('"') + text + QLatin1Char('"');
}

struct TKindText {
  int kind;
  const char16_t* text;
};
const TKindText KindTexts[] = {{12, u"振"}, {13, u"入"}, {14, u"出"}};

void FillColumns(TSWKIMPREC& r, bool gassan)
{
  r = TSWKIMPREC();
  r.HIZUKE = 0;
  r.KESSAN = 1;
  r.DNUM = 2;
  r.SNUM = 3;
  r.SCODE = 4;
  r.L_KGROUP = 5;
  r.L_KCODE = 6;
  r.L_USERCODE = 6;
  r.L_HCODE = 7;
  r.L_BCODE = 8;
  r.L_TAXCODE = 9;
  r.R_KGROUP = 10;
  r.R_KCODE = 11;
  r.R_USERCODE = 11;
  r.R_HCODE = 12;
  r.R_BCODE = 13;
  r.R_TAXCODE = 14;
  r.KINGAKU = 15;
  r.ZEIGAKU = 16;
  r.ZEIRITUNO = 17;
  r.AUTCALCU = 18;
  r.TAXCALCU = 19;
  r.OLDRATE = 20;
  r.TEKTEXT = 21;
  r.TORTEXT = 22;
  r.FUSEN1 = 23;
  r.FUSEN2 = 24;
  r.COMMENT = 25;
  r.AO_COMMENT = 26;
  r.DENPYOU_NO = 27;
  r.KANSADATE = 28;
  r.EDITDATE = 29;
  r.ITEMCOUNT = 30;
  if (gassan) {
    r.L_KNAME = 30;
    r.L_HNAME = 31;
    r.L_BNAME = 32;
    r.L_SIKIN = 33;
    r.R_KNAME = 34;
    r.R_HNAME = 35;
    r.R_BNAME = 36;
    r.R_SIKIN = 37;
    r.SYOUNIN_OPCODE = 38;
    r.SYOUNIN_OPNAME = 39;
    r.SYOUNIN_HIZUKE = 40;
    r.ITEMCOUNT = 41;
  }
}

}  // namespace

QString CleanExportText(const QString& text)
{
  QString s = fnRemoveTabCrLf(text);
  s.replace(QLatin1Char('"'), QLatin1Char('\''));
  return s;
}

QString CleanImportText(const QString& text)
{
  QString s = fnRemoveTabCrLf(text);
  s.replace(QLatin1Char('\''), QLatin1Char('"'));
  return s;
}

bool ParseDenpyouNo(const QString& text, int& linkKind, int& number)
{
  linkKind = 0;
  number = 0;
  const qsizetype colon = text.indexOf(QLatin1Char(':'));
  if (colon < 0)
    return false;
  const QString kindText = fnTrimZen(text.left(colon));
  int kind = 0;
  for (const TKindText& k : KindTexts)
    if (kindText == QString::fromUtf16(k.text))
      kind = k.kind;
  int n = 0;
  if (kind == 0 || !TryStrToInt(text.mid(colon + 1), n) || n <= 0)
    return false;
  linkKind = kind;
  number = n;
  return true;
}

QString FormatDenpyouNo(int linkKind, int number)
{
  for (const TKindText& k : KindTexts)
    if (k.kind == linkKind && number > 0)
      return QStringLiteral("%1:%2").arg(QString::fromUtf16(k.text)).arg(number);
  return QStringLiteral("0");
}

// ---------------------------------------------------------------------------

TSiwakeTextIO::TSiwakeTextIO()
{
  FWriteBom = true;
}

TSiwakeTextIO::~TSiwakeTextIO() = default;

void TSiwakeTextIO::SetImportColumns()
{
  FillColumns(FSWKIMPREC, FGassanIO);
}

void TSiwakeTextIO::SetExportColumns()
{
  FillColumns(FSWKEXPREC, FGassanIO);
}

void TSiwakeTextIO::ShowProgress(const QString& format, int count)
{
  QCoreApplication::processEvents();
  SetMessageText(format.arg(count));
}

bool TSiwakeTextIO::fnSiwakeOutput(const QString& _Path, const QString& _Separator, const QStringList& _SQL)
{
  (void)_Separator;  // the file is always TAB-separated
  bool result = false;
  SetMessageText(QString());
  FOKCount = 0;
  SetExportColumns();
  db::Query& q = IBSQL1();
  db::Transaction& tr = q.transaction();
  if (!tr.inTransaction())
    tr.start();
  QCoreApplication::processEvents();

  TTextFile file;
  try {
    OpenTextFile(file, _Path, 'W');
    const QString sep(Tab);
    WriteTextLine(file, AccInf.SHOUGOU);
    q.close();
    q.setSql(_SQL.join(QLatin1Char('\n')));
    const TSWKIMPREC& c = FSWKEXPREC;
    QStringList cols;
    for (q.open(); !q.eof(); q.next()) {
      cols.clear();
      cols.resize(c.ITEMCOUNT);
      auto text = [&](const char* name) { return q.field(QString::fromLatin1(name)).asString(); };
      cols[c.HIZUKE] = text("HIZUKE");
      cols[c.KESSAN] = text("KESSAN");
      cols[c.DNUM] = text("DNUM");
      cols[c.SNUM] = text("SNUM");
      cols[c.SCODE] = fnTrim(text("SCODE"));
      cols[c.L_KGROUP] = text("KGROUP");
      cols[c.L_USERCODE] = text("USERCODE");
      cols[c.L_HCODE] = text("HCODE");
      cols[c.L_BCODE] = text("BCODE");
      cols[c.L_TAXCODE] = text("TAXCODE");
      cols[c.R_KGROUP] = text("R_KGROUP");
      cols[c.R_USERCODE] = text("R_USERCODE");
      cols[c.R_HCODE] = text("R_HCODE");
      cols[c.R_BCODE] = text("R_BCODE");
      cols[c.R_TAXCODE] = text("R_TAXCODE");
      cols[c.KINGAKU] = text("KINGAKU");
      cols[c.ZEIGAKU] = text("ZEIGAKU");
      cols[c.ZEIRITUNO] = text("ZEIRITUNO");
      cols[c.AUTCALCU] = text("AUTCALCU");
      cols[c.TAXCALCU] = text("TAXCALCU");
      cols[c.OLDRATE] = text("OLDRATE");
      cols[c.TEKTEXT] = Quoted(CleanExportText(text("TEKTEXT")));
      cols[c.TORTEXT] = Quoted(CleanExportText(text("TORTEXT")));
      cols[c.FUSEN1] = text("FUSEN1");
      cols[c.FUSEN2] = text("FUSEN2");
      cols[c.COMMENT] = Quoted(CleanExportText(text("COMMENT")));
      cols[c.AO_COMMENT] = Quoted(CleanExportText(text("AO_COMMENT")));
      cols[c.DENPYOU_NO] = Quoted(CleanExportText(
          FormatDenpyouNo(q.field(QStringLiteral("LINKKUB")).asInt(), q.field(QStringLiteral("LINKREC")).asInt())));
      cols[c.KANSADATE] = QString();
      const TDateTime rtime = q.field(QStringLiteral("RTIME")).asDateTime();
      cols[c.EDITDATE] =
          FormatDateTime(FGassanIO ? QStringLiteral("yyyy/mm/dd hh:nn:ss") : QStringLiteral("yyyy/mm/dd"), rtime);
      if (FGassanIO) {
        cols[c.L_KNAME] = Quoted(CleanExportText(text("KNAME")));
        cols[c.L_HNAME] = Quoted(CleanExportText(text("HNAME")));
        cols[c.L_BNAME] = Quoted(CleanExportText(text("BNAME")));
        cols[c.L_SIKIN] = text("SIKIN");
        cols[c.R_KNAME] = Quoted(CleanExportText(text("R_KNAME")));
        cols[c.R_HNAME] = Quoted(CleanExportText(text("R_HNAME")));
        cols[c.R_BNAME] = Quoted(CleanExportText(text("R_BNAME")));
        cols[c.R_SIKIN] = text("R_SIKIN");
        const TDateTime shonin = q.field(QStringLiteral("SHONIN_HIZUKE")).asDateTime();
        if (shonin > 0) {
          cols[c.SYOUNIN_OPCODE] = Quoted(text("SHONIN_OPCODE"));
          cols[c.SYOUNIN_OPNAME] = Quoted(CleanExportText(text("SHONIN_NAME")));
          cols[c.SYOUNIN_HIZUKE] = Quoted(FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn:ss"), shonin));
        } else {
          cols[c.SYOUNIN_OPCODE] = Quoted(QString());
          cols[c.SYOUNIN_OPNAME] = Quoted(QString());
          cols[c.SYOUNIN_HIZUKE] = Quoted(QString());
        }
      }
      WriteTextLine(file, cols.join(sep));
      ++FOKCount;
      if (FOKCount == 1 || FOKCount % 50 == 0)
        ShowProgress(QStringLiteral("\"%1\"件をｴｸｽﾎﾟｰﾄ中です…"), FOKCount);
    }
    q.close();
    CloseTextFile(file, 'W');
    result = true;
  } catch (...) {
    // The file stays as it was before the run (the new one is dropped);
    // the read transaction ends as after a whole run.
    file.Assign(QString(), TextEncoding::Utf8);
    q.close();
    try {
      if (tr.inTransaction())
        tr.commit();
    } catch (...) {
      pcLogDroppedError("TSiwakeTextIO.fnSiwakeOutput commit after a failure");
    }
    throw;
  }
  if (tr.inTransaction())
    tr.commit();
  return result;
}
