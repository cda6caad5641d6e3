#include "wizard/UtiwakesyoXml.h"

#include <algorithm>

#include "common/AccFunction.h"
#include "platform/Format.h"
#include "wizard/ComDataExp.h"

namespace {

Currency signedByDac(Currency amount, int dac)
{
  return (dac == 2 || dac == 4) ? -amount : amount;
}

}  // namespace

QString fnUtiwakesyoAmountText(Currency amount)
{
  if (amount.isZero())
    return QString();
  return FormatCurr(QStringLiteral("#"), amount);
}

int fnUtiwakesyoWriteData(TXmlSaveDoc& doc, const TUtiwakesyoRows& rows, int& errCode)
{
  errCode = 3;
  TXmlNode data = doc.fnXmlNewChildNode(nullptr, QStringLiteral("DATA"), QString(), QString());
  int accountCount = 0;
  TXmlNode account = nullptr;

  for (const TUtiwakesyoRow& row : rows) {
    if (!row.KCODE.isEmpty()) {
      const QString name = fnTrimZen(row.KNAME);
      const QString code = row.USERCODE;
      const Currency amount = signedByDac(row.WNUM4, row.DAC);
      if (name.isEmpty())
        throw EDataExportError(QStringLiteral("空の科目名が設定されています。"),
                               QStringLiteral("科目ｺｰﾄﾞ:%1").arg(code), 2);
      ++accountCount;
      account = doc.fnXmlNewChildNode(data, QStringLiteral("KANJYOKAMOKU"), QStringLiteral("Count"),
                                      QString::number(accountCount));
      doc.fnXmlNewChildBottomNode(account, QStringLiteral("KANJYOKAMOKU_CODE"), code, QString(), QString());
      doc.fnXmlNewChildBottomNode(account, QStringLiteral("KANJYOKAMOKU_NAME"), name, QString(), QString());
      doc.fnXmlNewChildBottomNode(account, QStringLiteral("KANJYOKAMOKU_ZANDAKA"), fnUtiwakesyoAmountText(amount),
                                  QString(), QString());
    }
    if (row.HOJONUM != 0) {
      // Only the first HOJONUM entries are the row's sub-accounts.
      const std::size_t count = std::min<std::size_t>(row.HOJOUTIWAKE.size(), std::max(row.HOJONUM, 0));
      int hojoCount = 0;
      for (std::size_t i = 0; i < count; ++i) {
        const TUtiwakesyoHojo& hojo = row.HOJOUTIWAKE[i];
        const QString name = fnTrimZen(hojo.HNAME);
        const Currency amount = signedByDac(hojo.WNUM4, row.DAC);
        if (name.isEmpty())
          throw EDataExportError(QStringLiteral("空の補助名が設定されています。"),
                                 QStringLiteral("科目ｺｰﾄﾞ:%1-%2").arg(row.USERCODE, hojo.HCODE), 3);
        ++hojoCount;
        TXmlNode sub = doc.fnXmlNewChildNode(account, QStringLiteral("HOJYOKAMOKU"), QStringLiteral("Count"),
                                             QString::number(hojoCount));
        doc.fnXmlNewChildBottomNode(sub, QStringLiteral("HOJYOKAMOKU_CODE"), hojo.HCODE, QString(), QString());
        doc.fnXmlNewChildBottomNode(sub, QStringLiteral("HOJYOKAMOKU_NAME"), name, QString(), QString());
        doc.fnXmlNewChildBottomNode(sub, QStringLiteral("HOJYOKAMOKU_ZANDAKA"), fnUtiwakesyoAmountText(amount),
                                    QString(), QString());
      }
    }
  }
  errCode = 1;
  return 1;
}
