#include "ui/HtmlManual.h"

#include <QDesktopServices>
#include <QDir>
#include <QStringList>
#include <QUrl>

#include "common/AccRecord.h"

namespace {

// The manual's start pages: the general one and the product-specific ones.
const QStringList& startPages()
{
  static const QStringList pages = {QStringLiteral("olm.html"), QStringLiteral("olm_zaimu.html"),
                                    QStringLiteral("olm_rendo.html"), QStringLiteral("olm_tusin.html")};
  return pages;
}

}  // namespace

QString fnHtmlHelpPath(const QString& APage)
{
  if (APage.isEmpty())
    return QString();
  const QDir help(SystemDef.HELP);
  if (startPages().contains(APage, Qt::CaseSensitive))
    return help.filePath(APage);
  return help.filePath(QStringLiteral("olm.files/") + APage);
}

int fnHtmlHelpOpen(const QString& APage)
{
  const QString path = fnHtmlHelpPath(APage);
  if (!path.isEmpty())
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  return 0;
}
