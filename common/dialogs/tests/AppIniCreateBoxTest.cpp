// The data-server settings dialog: what it shows from the local settings
// file, what OK writes by access form, its refusals, keys, the computer
// picker over the configured mount points, the logon's hook and a screenshot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/dialogs/AppIniCreateBox.h"
#include "common/dialogs/Logon.h"
#include "common/dialogs/SelectComputer.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "tests/support/TempDir.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"
#include "ui/xRadioButton.h"
#include "ui/z5MessageDlg2.h"

namespace {

QString u(const char16_t* s)
{
  return QString::fromUtf16(s);
}

class AppIniCreateBoxTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    savedMounts = MountPoints();
    savedLocal = LocalDiskLabel();
    SetMountPoints({});
    SetLocalDiskLabel(QLatin1Char('C'));
    SystemDef = TSystemDef{};
    SystemDef.APPINI = tmp.file(QStringLiteral("local.ini"));
    SystemDef.APPDATA = tmp.path();
    SystemDef.AppName = u(u"連動テスト");
    SystemDef.IBUSER = QStringLiteral("ABACOR");
    SystemDef.PASWORD = QStringLiteral("dormil");
    AppInfo.ServerDir = QStringLiteral("/dedodozorav2/data");
    AppType = jxatCS;
    SystemKind = 0;
    pcSetMessageBox2Hook([this](TMessage2InfoRec& info) {
      messages << info.Caption[0].Text;
      return int(mrYes);
    });
  }
  void TearDown() override
  {
    pcSetMessageBox2Hook(nullptr);
    SetMountPoints(savedMounts);
    SetLocalDiskLabel(savedLocal);
    AppType = jxatSA;
  }

  void writeFile(const QString& section, const QString& host, const QString& sysdir)
  {
    IniFile ini(SystemDef.APPINI, IniFile::Encoding::Utf16LeBom);
    ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("CONNECT"), QStringLiteral("1"));
    ini.WriteString(section, QStringLiteral("HOSTNAME"), host);
    ini.WriteString(section, QStringLiteral("SYSDIR"), sysdir);
    ini.WriteString(section, QStringLiteral("USER"), QStringLiteral("abacor"));
    ini.WriteString(section, QStringLiteral("PASSWORD"), QStringLiteral("DORMIL"));
    ini.UpdateFile();
  }
  QString read(const QString& section, const QString& key) const
  {
    return IniFile(SystemDef.APPINI).ReadString(section, key, QStringLiteral("<none>"));
  }

  static void show(TAppIniCreateBox& box)
  {
    box.show();
    QApplication::setActiveWindow(&box);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
  }

  TestTempDir tmp;
  QList<MountPoint> savedMounts;
  QChar savedLocal;
  QStringList messages;
};

TEST_F(AppIniCreateBoxTest, ShowsTheChosenSectionWithItsDrive)
{
  SetMountPoints({{QStringLiteral("/mnt/srv"), QLatin1Char('S'), QStringLiteral("\\\\dbhost\\data")},
                  {QStringLiteral("/media/usb"), QLatin1Char('E'), QString()}});
  struct Case {
    int conType;
    QString section, host, sysdir, drive;
  } cases[] = {
      {1, QStringLiteral("SERVER"), QStringLiteral("DbHost"), QStringLiteral("/mnt/srv/dedodozorav2/data"),
       QStringLiteral("S:")},
      {1, QStringLiteral("SERVER"), QStringLiteral("x"), QStringLiteral("e:\\data"), QStringLiteral("E:")},
      // A drive that is not an item falls back to the local disk.
      {1, QStringLiteral("SERVER"), QStringLiteral("x"), QStringLiteral("a:\\data"), QStringLiteral("C:")},
      {0, QStringLiteral("LOCAL"), QString(), QStringLiteral("/srv/accounting"), QStringLiteral("C:")},
      {2, QStringLiteral("SBC"), QStringLiteral("sbc1"), QStringLiteral("/media/usb/d"), QStringLiteral("E:")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sysdir.toStdString());
    writeFile(c.section, c.host, c.sysdir);
    TAppIniCreateBox box;
    box.SetManualFree(true);
    EXPECT_TRUE(box.InitFlg);
    EXPECT_EQ(box.ConType(), 1);
    box.SetConType(c.conType);
    show(box);
    EXPECT_EQ(box.windowTitle(), u(u"データサーバーの設定"));
    EXPECT_EQ(box.DriveCombo()->count(), 3);  // C:, E:, S:
    EXPECT_EQ(box.DriveCombo()->itemText(0), QStringLiteral("C:"));
    EXPECT_EQ(box.HostEdit()->text(), c.host);
    EXPECT_EQ(box.DriveCombo()->currentText(), c.drive);
    EXPECT_EQ(box.DataPathEdit()->text(), QStringLiteral("/dedodozorav2/data"));
    EXPECT_FALSE(box.DataPathEdit()->isEnabled());
    EXPECT_EQ(box.UserEdit()->text(), QStringLiteral("ABACOR"));
    EXPECT_EQ(box.PasswordEdit()->text(), QStringLiteral("dormil"));
    box.close();
  }
}

TEST_F(AppIniCreateBoxTest, OkWritesTheSectionOfTheAccessForm)
{
  SetMountPoints({{QStringLiteral("/mnt/srv"), QLatin1Char('S'), QStringLiteral("\\\\dbhost\\data")}});
  struct Case {
    TJxAppType appType;
    QString host, drive;
    QString message;  // empty: written and closed
    QString section, wroteHost, wroteDir, goGlobal;
  } cases[] = {
      // Stand-alone never keeps a server name.
      {jxatSA, QStringLiteral("SRV"), QStringLiteral("C:"), QString(), QStringLiteral("LOCAL"), QString(),
       QStringLiteral("/dedodozorav2/data"), QStringLiteral("NO")},
      {jxatCS, QStringLiteral("DbHost"), QStringLiteral("S:"), QString(), QStringLiteral("SERVER"),
       QStringLiteral("dbhost"), QStringLiteral("/mnt/srv/dedodozorav2/data"), QStringLiteral("NO")},
      {jxatCS,
       QStringLiteral("  "),
       QStringLiteral("C:"),
       u(u"コンピュータ名が指定されていません。\r入力してください。"),
       QStringLiteral("SERVER"),
       {},
       {},
       {}},
      {jxatSBC, QStringLiteral("Sbc1"), QStringLiteral("C:"), QString(), QStringLiteral("SBC"), QStringLiteral("sbc1"),
       QStringLiteral("/dedodozorav2/data"), QStringLiteral("YES")},
      {jxatSBC,
       QString(),
       QStringLiteral("C:"),
       u(u"コンピュータ名が指定されていません。\r"),
       QStringLiteral("SBC"),
       {},
       {},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.appType));
    QFile::remove(SystemDef.APPINI);
    messages.clear();
    AppType = c.appType;
    TAppIniCreateBox box;
    box.SetManualFree(true);
    show(box);
    box.HostEdit()->setText(c.host);
    box.DriveCombo()->setCurrentText(c.drive);
    QTest::mouseClick(box.OkButton(), Qt::LeftButton);
    if (!c.message.isEmpty()) {
      EXPECT_EQ(messages, QStringList{c.message});
      EXPECT_TRUE(box.isVisible());
      EXPECT_FALSE(QFile::exists(SystemDef.APPINI));
      box.close();
      continue;
    }
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), mrOk);
    EXPECT_EQ(read(c.section, QStringLiteral("HOSTNAME")), c.wroteHost);
    EXPECT_EQ(read(c.section, QStringLiteral("SYSDIR")), c.wroteDir);
    EXPECT_EQ(read(c.section, QStringLiteral("GOGLOBAL")), c.goGlobal);
    EXPECT_EQ(read(c.section, QStringLiteral("USER")), QStringLiteral("ABACOR"));
    EXPECT_EQ(read(c.section, QStringLiteral("PASSWORD")), QStringLiteral("dormil"));
    EXPECT_EQ(SystemDef.IBPATHDEF, c.wroteDir);
  }
}

TEST_F(AppIniCreateBoxTest, RefusesMissingUserOrPassword)
{
  struct Case {
    QString user, password, message;
  } cases[] = {
      {QStringLiteral(" "), QStringLiteral("pw"),
       u(u"データベースのユーザーが指定されていません。\r入力してください。")},
      {QStringLiteral("ABACOR"), QString(), u(u"データベースのパスワードが指定されていません。\r入力してください。")},
  };
  for (const Case& c : cases) {
    messages.clear();
    TAppIniCreateBox box;
    box.SetManualFree(true);
    show(box);
    box.HostEdit()->setText(QStringLiteral("srv"));
    box.UserEdit()->setText(c.user);
    box.PasswordEdit()->setText(c.password);
    box.OKClick();
    EXPECT_EQ(messages, QStringList{c.message});
    EXPECT_TRUE(box.isVisible());
    EXPECT_FALSE(QFile::exists(SystemDef.APPINI));
    box.close();
  }
}

TEST_F(AppIniCreateBoxTest, EscCancelsAndF12RunsOk)
{
  writeFile(QStringLiteral("SERVER"), QStringLiteral("old"), QStringLiteral("/x"));
  {
    TAppIniCreateBox box;
    box.SetManualFree(true);
    show(box);
    box.HostEdit()->setText(QStringLiteral("new"));
    QTest::keyRelease(box.HostEdit(), Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), mrCancel);
    EXPECT_EQ(read(QStringLiteral("SERVER"), QStringLiteral("HOSTNAME")), QStringLiteral("old"));
  }
  {
    // F12 with the OK button disabled does nothing.
    TAppIniCreateBox box;
    box.SetManualFree(true);
    show(box);
    box.HostEdit()->setText(QStringLiteral("new"));
    box.OkButton()->setEnabled(false);
    QTest::keyRelease(box.HostEdit(), Qt::Key_F12);
    EXPECT_TRUE(box.isVisible());
    box.OkButton()->setEnabled(true);
    QTest::keyRelease(box.HostEdit(), Qt::Key_F12);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), mrOk);
    EXPECT_EQ(read(QStringLiteral("SERVER"), QStringLiteral("HOSTNAME")), QStringLiteral("new"));
  }
  {
    TAppIniCreateBox box;
    box.SetManualFree(true);
    show(box);
    QTest::mouseClick(box.CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), mrCancel);
  }
}

TEST_F(AppIniCreateBoxTest, ServerBasedStartNeedsTheDataFolder)
{
  TAppIniCreateBox box;
  box.SetManualFree(true);
  box.SetSyoriType(1);
  EXPECT_EQ(AppType, jxatSBC);
  SystemDef.APPDATA.clear();
  const QString expected =
      u(u"アプリケーションの初期化に失敗しました。\r連動テストを終了します。\rデータフォルダの取得に失敗しました。");
  try {
    box.Execute();
    ADD_FAILURE() << "no exception";
  } catch (const EPlatformError& e) {
    EXPECT_EQ(e.message(), expected);
  }
  EXPECT_EQ(box.ErrorMessage(), expected);
  EXPECT_FALSE(box.isVisible());

  // Shown directly, it reports the failure and closes as cancelled.
  box.show();
  QTRY_VERIFY_WITH_TIMEOUT(!box.isVisible(), 2000);
  EXPECT_EQ(messages, QStringList{expected});
  EXPECT_EQ(box.result(), mrCancel);
}

TEST_F(AppIniCreateBoxTest, ComputerPickerListsTheMountPointHosts)
{
  {
    TAppIniCreateBox box;
    box.SetManualFree(true);
    EXPECT_FALSE(box.CompShowButton()->isEnabled());
    EXPECT_FALSE(box.CompShowButton()->toolTip().isEmpty());
  }
  SetMountPoints({{QStringLiteral("/mnt/a"), QLatin1Char('S'), QStringLiteral("\\\\Alpha\\data")},
                  {QStringLiteral("/mnt/b"), QLatin1Char('T'), QStringLiteral("\\\\ALPHA\\other")},
                  {QStringLiteral("/media/usb"), QLatin1Char('E'), QString()},
                  {QStringLiteral("/mnt/c"), QLatin1Char('U'), QStringLiteral("\\\\beta\\x")}});
  EXPECT_EQ(fnMountPointHosts(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));

  TAppIniCreateBox box;
  box.SetManualFree(true);
  show(box);
  ASSERT_TRUE(box.CompShowButton()->isEnabled());
  struct Case {
    int row;  // -1: cancel
    QString host;
  } cases[] = {{1, QStringLiteral("beta")}, {-1, QStringLiteral("beta")}, {0, QStringLiteral("Alpha")}};
  for (const Case& c : cases) {
    QString prompt;
    QTimer::singleShot(100, [&] {
      auto* pick = qobject_cast<TSelectComputerBox*>(QApplication::activeModalWidget());
      ASSERT_NE(pick, nullptr);
      prompt = pick->findChild<QLabel*>()->text();
      if (c.row < 0) {
        QTest::mouseClick(pick->CancelButton(), Qt::LeftButton);
        return;
      }
      pick->HostList()->setCurrentRow(c.row);
      QTest::mouseClick(pick->OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(box.CompShowButton(), Qt::LeftButton);
    EXPECT_TRUE(prompt.startsWith(u(u"サーバーのコンピュータを選択して下さい。")));
    EXPECT_EQ(box.HostEdit()->text(), c.host);
  }
  box.close();
}

TEST_F(AppIniCreateBoxTest, LogonServerSettingsButtonShowsTheDialog)
{
  writeFile(QStringLiteral("SERVER"), QStringLiteral("dbhost"), QStringLiteral("/x"));
  pcInstallAppIniCreateBoxHook();
  TLogonBox logon;
  logon.open();
  QApplication::setActiveWindow(&logon);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&logon));
  logon.ServerButton()->setChecked(true);
  QString host;
  QTimer::singleShot(100, [&] {
    auto* box = qobject_cast<TAppIniCreateBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    host = box->HostEdit()->text();
    QTest::keyRelease(box->HostEdit(), Qt::Key_Escape);
  });
  QTest::mouseClick(logon.ServerSettingsButton(), Qt::LeftButton);
  EXPECT_EQ(host, QStringLiteral("dbhost"));
  pcSetServerSettingsHook(nullptr);
  logon.reject();
}

TEST_F(AppIniCreateBoxTest, Screenshot)
{
  SetMountPoints({{QStringLiteral("/mnt/srv"), QLatin1Char('S'), QStringLiteral("\\\\dbhost\\data")}});
  writeFile(QStringLiteral("SERVER"), QStringLiteral("dbhost"), QStringLiteral("/mnt/srv/dedodozorav2/data"));
  TAppIniCreateBox box;
  box.SetManualFree(true);
  show(box);
  const QString dir = QStringLiteral(RENDO_BINARY_DIR "/screenshots");
  QDir().mkpath(dir);
  EXPECT_TRUE(box.grab().save(dir + QStringLiteral("/app_ini_create_box.png")));
  box.close();
}

}  // namespace
