// Opening pages of the HTML manual.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QUrl>

#include "common/AccRecord.h"
#include "ui/HtmlManual.h"

namespace {

// Takes the place of the desktop's viewer for file URLs.
class TViewer : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Opened;
 public slots:
  void open(const QUrl& AUrl) { Opened << AUrl; }
};

TEST(HtmlManualTest, StartPagesAndOtherPages)
{
  const QString keep = SystemDef.HELP;
  SystemDef.HELP = QStringLiteral("/opt/rendo/help");
  TViewer viewer;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &viewer, "open");

  struct Case {
    const char* page;
    const char* path;  // "" = nothing opened
  } cases[] = {
      {"olm.html", "/opt/rendo/help/olm.html"},
      {"tsusin02.html", "/opt/rendo/help/olm.files/tsusin02.html"},
      {"OLM.HTML", "/opt/rendo/help/olm.files/OLM.HTML"},  // letter case counts
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    viewer.Opened.clear();
    EXPECT_EQ(fnHtmlHelpOpen(QString::fromUtf8(c.page)), 0);
    EXPECT_EQ(fnHtmlHelpPath(QString::fromUtf8(c.page)), QString::fromUtf8(c.path));
    if (*c.path) {
      ASSERT_EQ(viewer.Opened.size(), 1);
      EXPECT_EQ(viewer.Opened[0].toLocalFile(), QString::fromUtf8(c.path));
    } else {
      EXPECT_TRUE(viewer.Opened.isEmpty());
    }
  }
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  SystemDef.HELP = keep;
}

}  // namespace

#include "HtmlManualTest.moc"
