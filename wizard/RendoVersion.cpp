#include "wizard/RendoVersion.h"

#include "platform/Format.h"

namespace {

bool isBlank(QChar c)
{
  return c.unicode() >= 1 && c.unicode() <= 0x20;
}

}  // namespace

QString fnRendoPermitVersion()
{
  return QStringLiteral("%1.%2.%3").arg(17).arg(0).arg(0);
}

QStringList fnSplitDelimited(const QString& text, QChar delimiter)
{
  QStringList pieces;
  const qsizetype n = text.size();
  qsizetype p = 0;
  while (p < n && isBlank(text.at(p)))
    ++p;
  while (p < n) {
    QString piece;
    if (text.at(p) == u'"') {
      ++p;
      while (p < n) {
        if (text.at(p) == u'"') {
          if (p + 1 < n && text.at(p + 1) == u'"') {
            piece += u'"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        piece += text.at(p++);
      }
    } else {
      const qsizetype from = p;
      while (p < n && !isBlank(text.at(p)) && text.at(p) != delimiter && text.at(p) != QChar(0))
        ++p;
      piece = text.mid(from, p - from);
    }
    pieces << piece;
    while (p < n && isBlank(text.at(p)))
      ++p;
    if (p < n && text.at(p) == delimiter) {
      if (p + 1 == n)
        pieces << QString();
      do {
        ++p;
      } while (p < n && isBlank(text.at(p)));
    }
    if (p < n && text.at(p) == QChar(0))
      break;
  }
  if (pieces.isEmpty())
    pieces << QString();
  return pieces;
}

int fnRendoVersionNumber(const QString& version)
{
  const QStringList pieces = fnSplitDelimited(version, u'.');
  int abc[3] = {0, 0, 0};
  if (pieces.size() >= 1 && pieces.size() <= 3)
    for (qsizetype i = 0; i < pieces.size(); ++i)
      abc[i] = StrToIntDef(pieces.at(i), 0);
  // Each part with at least two digits ("%.2d"), the whole read back.
  QString digits;
  for (int v : abc) {
    const QString d = QString::number(qAbs(qint64(v))).rightJustified(2, u'0');
    digits += (v < 0 ? QStringLiteral("-") : QString()) + d;
  }
  return StrToIntDef(digits, 0);
}

bool fnRendoVersionAccepted(const QString& installed, const QString& required)
{
  const int have = fnRendoVersionNumber(installed);
  return have > 0 && have >= fnRendoVersionNumber(required);
}

QString fnRendoVersionMessage(const QString& appTitle, const QString& permitVersion)
{
  return QStringLiteral("このアプリケーションはインストールされている「") + appTitle +
         QStringLiteral("」のバージョンに対応していません。") + QStringLiteral("\r") + QStringLiteral("バージョン:") +
         permitVersion + QStringLiteral("以降をインストールしてください。") + QStringLiteral("\r") +
         QStringLiteral("\r") + QStringLiteral("アプリケーションを強制終了します。");
}
