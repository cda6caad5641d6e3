// The export run against a real company database built from the fixtures:
// the balances that reach the import file are checked against sums taken
// from the journal lines the fixture posted.
#include <map>

#include <QFile>
#include <QXmlStreamReader>

#include "acccalc/AccCalcEnv.h"
#include "acctables/AccCodeTable.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/TextCodec.h"
#include "tests/support/Fixtures.h"
#include "wizard/Ug13.h"
#include "wizard/tests/ExportEnv.h"

namespace {

namespace sample = fixtures::sample;

struct WrittenAccount {
  int count = 0;
  QString code;
  QString name;
  QString zandaka;
  QList<int> hojoCounts;
  std::map<QString, QString> hojoZandaka;  // sub-account code -> text
};

// The accounts of an import file, by code; also checks the file's frame.
std::map<QString, WrittenAccount> readImportFile(const QString& path, QStringList& order)
{
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"));
  bool ok = false;
  const QString text = fromCp932(bytes, &ok);
  EXPECT_TRUE(ok);
  // The reader is given the decoded text; the declaration's encoding does not apply.
  QXmlStreamReader xml(text.mid(text.indexOf(u'\n') + 1));
  std::map<QString, WrittenAccount> out;
  WrittenAccount* current = nullptr;
  QString hojoCode;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const QString name = xml.name().toString();
      if (name == u"KANJYOKAMOKU") {
        current = nullptr;
        const int count = xml.attributes().value(QStringLiteral("Count")).toInt();
        xml.readNextStartElement();  // KANJYOKAMOKU_CODE
        const QString code = xml.readElementText();
        current = &out[code];
        current->count = count;
        current->code = code;
        order << code;
      } else if (name == u"KANJYOKAMOKU_NAME") {
        current->name = xml.readElementText();
      } else if (name == u"KANJYOKAMOKU_ZANDAKA") {
        current->zandaka = xml.readElementText();
      } else if (name == u"HOJYOKAMOKU") {
        current->hojoCounts << xml.attributes().value(QStringLiteral("Count")).toInt();
      } else if (name == u"HOJYOKAMOKU_CODE") {
        hojoCode = xml.readElementText();
      } else if (name == u"HOJYOKAMOKU_ZANDAKA") {
        current->hojoZandaka[hojoCode] = xml.readElementText();
      } else if (name == u"HOJYOKAMOKU_NAME") {
        xml.readElementText();
      }
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return out;
}

int periodOf(const QDate& date)
{
  // Month ordinal from April, then the sixteen-period number (closing
  // periods 4, 8, 12, 16 take no dated lines).
  const int month = (date.year() - 2024) * 12 + date.month() - 4;  // 0..11
  return month + 1 + month / 3;
}

}  // namespace

class ExportCompany : public ExportEnv {
 protected:
  void SetUp() override
  {
    ExportEnv::SetUp();
    companyDb = testfx::makeCompanyDb(dir.file(QStringLiteral("0001")), fixtures::CompanyKind::General, true);
    testfx::builder().open(database, companyDb);
    main.emplace(database, db::Transaction::ReadCommitted);
    snap.emplace(database, db::Transaction::Snapshot);
    SetAccCalcDatabase({&*snap, &*main});

    AccInf.ZaimuDataType = jxztBasic;
    AccInf.DATATYPE = 1;
    AccInf.CODETYPE = 1;
    AccInf.KISHU = FromQDate(sample::fiscalStart());
    AccInf.KIMATU = FromQDate(sample::fiscalStart().addYears(1).addDays(-1));
    AccInf.SIME = 99;
    AccInf.KAISINO = 1;
    pcSetKamokuCodeTable(false);
  }
  void TearDown() override
  {
    SetAccCalcDatabase({});
    snap.reset();
    main.reset();
    database.disconnect();
    ExportEnv::TearDown();
  }

  // DAC and user code of an account as the master holds them.
  std::pair<int, QString> master(const QString& kcode)
  {
    db::Transaction tr(database, db::Transaction::ReadCommittedReadOnly);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT DAC, USERCODE FROM KAMOKUMST WHERE KCODE = :KCODE"));
    q.setParam(QStringLiteral("KCODE"), kcode);
    q.open();
    EXPECT_FALSE(q.eof()) << kcode.toStdString();  // open() stands on the first row
    return {q.field(QStringLiteral("DAC")).asInt(), q.field(QStringLiteral("USERCODE")).asString()};
  }

  // Net debit minus credit of an account over the periods from..to (1-based)
  // from the journal lines, with or without their tax.
  Currency movement(const QString& kcode, int from, int to, bool withTax)
  {
    Currency sum;
    for (const fixtures::JournalEntry& e : sample::yearOfJournal(fixtures::CompanyKind::General)) {
      const int p = e.period ? e.period : periodOf(e.date);
      if (p < from || p > to)
        continue;
      if (e.debit.kcode == kcode)
        sum += e.debit.amount + (withTax ? e.debit.tax : Currency());
      if (e.credit.kcode == kcode)
        sum -= e.credit.amount + (withTax ? e.credit.tax : Currency());
    }
    return sum;
  }

  QString companyDb;
  db::Database database;
  std::optional<db::Transaction> main;
  std::optional<db::Transaction> snap;
};

TEST_F(ExportCompany, ImportFileCarriesTheBalancesOfTheRange)
{
  struct Case {
    const char* what;
    int from, to, last;  // period panel indexes
    int taxUH;
    int calcFrom, calcTo;  // the computation's periods
  };
  const Case cases[] = {
      {"first quarter, tax included", 0, 2, 15, 0, 1, 3},
      {"whole year, tax excluded", 0, 15, 15, 1, 1, 16},
      {"to the panel's closing period", 0, 5, 5, 1, 1, 16},
  };
  const QString out = dir.file(QStringLiteral("out,1.xml"));
  for (const Case& c : cases) {
    {
      TUtiwakesyoDataExport exp(QString(), out, 3);
      exp.KOMONSAKI = sample::companyName(fixtures::CompanyKind::General);
      exp.JIGYONENDOFROM = AccInf.KISHU;
      exp.JIGYONENDOTO = AccInf.KIMATU;
      exp.DataKUB1 = 1;
      exp.KikanFrom = c.from;
      exp.KikanTo = c.to;
      exp.LastNo = c.last;
      exp.TaxUH = c.taxUH;
      ASSERT_NO_THROW(pcRendoWriteImportFile(exp, out)) << c.what;
    }
    QStringList order;
    const std::map<QString, WrittenAccount> written = readImportFile(out, order);
    ASSERT_FALSE(written.empty()) << c.what;

    // Count runs 1, 2, 3, ... through the file; sub-accounts restart at 1.
    for (const auto& [code, a] : written) {
      EXPECT_EQ(a.count, int(order.indexOf(code)) + 1) << c.what << " " << code.toStdString();
      for (int i = 0; i < a.hojoCounts.size(); ++i)
        EXPECT_EQ(a.hojoCounts[i], i + 1) << code.toStdString();
      EXPECT_FALSE(a.name.isEmpty());
      EXPECT_EQ(a.name, a.name.trimmed());
    }

    // Profit-and-loss accounts start the year at zero: their balance is the
    // journal's movement over the range, on the account's own side, and
    // negated again for credit-natured classes 2 and 4.
    const bool withTax = c.taxUH == 0;
    for (const QString& kcode : {sample::acc::Kyuryo, sample::acc::Uriage, sample::acc::Shiire, sample::acc::Ryohi}) {
      const auto [dac, usercode] = master(kcode);
      const Currency debitMinusCredit = movement(kcode, c.calcFrom, c.calcTo, withTax);
      const Currency ownSide = (dac == 1 || dac == 4) ? debitMinusCredit : -debitMinusCredit;
      const Currency file = (dac == 2 || dac == 4) ? -ownSide : ownSide;
      const auto it = written.find(usercode);
      ASSERT_NE(it, written.end()) << c.what << " " << usercode.toStdString();
      EXPECT_EQ(it->second.zandaka, fnUtiwakesyoAmountText(file))
          << c.what << ": account " << usercode.toStdString() << " DAC " << dac;
    }
  }
}

TEST_F(ExportCompany, ABrokenReadingWritesNoFile)
{
  const QString out = dir.file(QStringLiteral("out.xml"));
  {
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier");
  }
  // The company database goes away under the computation.
  SetAccCalcDatabase({});
  TUtiwakesyoDataExport exp(QString(), out, 3);
  exp.KikanTo = 15;
  exp.LastNo = 15;
  try {
    pcRendoWriteImportFile(exp, out);
    ADD_FAILURE() << "reported as created";
  } catch (const EDataExportError& e) {
    EXPECT_EQ(e.ErrorCode(), 1);
  }
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("earlier"));
}
