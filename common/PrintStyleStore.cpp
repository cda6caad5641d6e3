#include "common/PrintStyleStore.h"

#include <QRegularExpression>
#include <QStringList>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/GamenKeyValue.h"
#include "db/DbError.h"
#include "db/Query.h"

namespace {

QStringList splitLines(const QString& AText)
{
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  return AText.split(breaks);
}

// A stored colour of a form: -1 where it is the operator's default.
int storedColor(int AColor, int ADefault)
{
  return AColor == ADefault ? -1 : AColor;
}

}  // namespace

void pcInitDefaultPrintRec(TDefaultPrintRec& APrintRec)
{
  APrintRec = TDefaultPrintRec{};
  APrintRec.LineColor1 = SystemDef.LineColor1;
  APrintRec.LineColor2 = SystemDef.LineColor2;
  APrintRec.NetColor1 = SystemDef.NetColor1;
  APrintRec.NetColor2 = SystemDef.NetColor2;
}

QString fnOptionValue(const QString& AText, const QString& AName)
{
  for (const QString& line : splitLines(AText)) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq >= 0 && line.left(eq).compare(AName, Qt::CaseInsensitive) == 0)
      return line.mid(eq + 1);
  }
  return QString();
}

// ---------------------------------------------------------------- print colours

TPrintStyleStore::TPrintStyleStore(db::Transaction* ATransaction)
    : FTransaction(ATransaction), FOPCODE(SystemDef.OPCODE)
{
}

db::Transaction* TPrintStyleStore::transaction() const
{
  if (FTransaction)
    return FTransaction;
  return DM ? &DM->IBTransactionDEF : nullptr;
}

QString TPrintStyleStore::fnKeyName(const QString& APrintName)
{
  return TGamenKeyValue::fnKeyName(APrintName);
}

bool TPrintStyleStore::Read(TDefaultPrintRec& APrintRec)
{
  db::Transaction* tr = transaction();
  if (!tr)
    return false;
  const QString message = QStringLiteral(u"ユーザー別帳票色情報の取得に失敗しました。");
  TDefaultPrintRec read = APrintRec;
  TOwnTransaction own(*tr);
  try {
    db::Query q(*tr);
    q.setSql(
        QStringLiteral("SELECT LINECOLOR1,LINECOLOR2,NETCOLOR1,NETCOLOR2,SSTR FROM STYLECOLOR "
                       "WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"));
    q.setParam(QStringLiteral("OPCODE"), FOPCODE);
    q.setParam(QStringLiteral("STYLENAME"), fnKeyName(APrintRec.PrintName));
    for (q.open(); !q.eof(); q.next()) {
      const struct {
        const char* column;
        int* field;
      } colours[] = {{"LINECOLOR1", &read.LineColor1},
                     {"LINECOLOR2", &read.LineColor2},
                     {"NETCOLOR1", &read.NetColor1},
                     {"NETCOLOR2", &read.NetColor2}};
      for (const auto& c : colours) {
        const db::Field f = q.field(QString::fromLatin1(c.column));
        // A missing value is as good as -1: not set for this form.
        if (!f.isNull() && f.asInt() != -1)
          *c.field = f.asInt();
      }
      read.Sonota = q.field(QStringLiteral("SSTR")).asString();
    }
    q.close();
    own.Commit();
  } catch (const db::DbError& E) {
    own.EndAfterError();
    fnShowFbError(E, QStringLiteral("TPrintDlgBox.GetStyleColorRec"), message, false);
    return false;
  } catch (const std::exception& E) {
    own.EndAfterError();
    fnShowErrorDetail(message, QString::fromUtf8(E.what()), mtError);
    return false;
  }
  APrintRec = read;
  return true;
}

bool TPrintStyleStore::Write(const TDefaultPrintRec& APrintRec)
{
  db::Transaction* tr = transaction();
  if (!tr)
    return false;
  const QString message = QStringLiteral(u"ユーザー別帳票色情報の更新に失敗しました。");
  const TStyleColorColumns colours = {storedColor(APrintRec.LineColor1, SystemDef.LineColor1),
                                      storedColor(APrintRec.LineColor2, SystemDef.LineColor2),
                                      -1,
                                      -1,
                                      -1,
                                      storedColor(APrintRec.NetColor1, SystemDef.NetColor1),
                                      storedColor(APrintRec.NetColor2, SystemDef.NetColor2)};
  TOwnTransaction own(*tr);
  try {
    pcStoreStyleColorRow(*tr, FOPCODE, fnKeyName(APrintRec.PrintName), colours, APrintRec.Sonota);
    own.Commit();
  } catch (const db::DbError& E) {
    own.Rollback();
    fnShowFbError(E, QStringLiteral("TPrintDlgBox.PutStyleColorRec"), message, false);
    return false;
  } catch (const std::exception& E) {
    own.Rollback();
    fnShowErrorDetail(message, QString::fromUtf8(E.what()), mtError);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- custom colours

QString fnCustomColorKey()
{
  return QStringLiteral("Pallet_CustomColor");
}

QString fnCustomColorsToText(const TCustomColors& AColors)
{
  QString text;
  for (int i = 0; i < CustomColorCount; ++i) {
    const quint32 bgr = quint32(AColors[std::size_t(i)]) & 0xFFFFFFu;
    text += QStringLiteral("Color") + QChar(u'A' + i) + QLatin1Char('=') +
            QString::number(bgr, 16).toUpper().rightJustified(6, QLatin1Char('0')) + QStringLiteral("\r\n");
  }
  return text;
}

TCustomColors fnCustomColorsFromText(const QString& AText)
{
  TCustomColors colours;
  colours.fill(clWhite);
  static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{1,6}$"));
  for (int i = 0; i < CustomColorCount; ++i) {
    const QString value = fnOptionValue(AText, QStringLiteral("Color") + QChar(u'A' + i)).trimmed();
    if (hex.match(value).hasMatch())
      colours[std::size_t(i)] = TColor(value.toUInt(nullptr, 16));
  }
  return colours;
}

TCustomColors fnReadCustomColors(int AOPCODE)
{
  return fnCustomColorsFromText(DM ? DM->ZenkaiKeyValue(AOPCODE, fnCustomColorKey()) : QString());
}

void pcStoreCustomColors(int AOPCODE, const TCustomColors& AColors)
{
  if (DM)
    DM->KeyValueHozon(AOPCODE, fnCustomColorKey(), fnCustomColorsToText(AColors));
}
