// The logon dialog against real fixture system databases: the answers of
// the logon procedure, the logon record, the checks made before any
// database access, client/server through the test server, and a screenshot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "common/dialogs/Logon.h"
#include "common/dialogs/z5UpPassword.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/IniFile.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"
#include "ui/ModalResult.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"
#include "ui/xRadioButton.h"

namespace {

using fixtures::sample::GroupId;
using fixtures::sample::OperatorCode;

QString u(const char16_t* s)
{
  return QString::fromUtf16(s);
}

const QString kCodeOrPassword =
    u(u"コードまたはパスワードが違います。\r正しいコードまたはパスワードを入力して下さい。");

class TRecordingHook : public IMessageHook {
 public:
  QStringList Texts;
  QList<QStringList> Lines;
  int ShowMessageDlg(const QString& text, TMsgDlgType, TMsgDlgButtons) override
  {
    Texts << text;
    return mrOk;
  }
  int ShowMessageLines(int, const QStringList& lines) override
  {
    Lines << lines;
    return mrYes;
  }
  void RequestTerminate() override {}
};

class LogonTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    previousHook = SetMessageHook(&hook);
    sysDb = testfx::makeSystemDb(tmp.path());
    SystemDef = TSystemDef{};
    SystemDef.APPINI = tmp.file(QStringLiteral("local.ini"));
    SystemDef.GROUPID = GroupId;
    SystemDef.PCNAME = QStringLiteral("PC-A");
    SystemDef.AppName = u(u"連動テスト");
    AppType = jxatSA;
    SystemKind = 0;
    writeSettings(0, tmp.path(), QString(), QString());
    dm = std::make_unique<TDM>();
    DM = dm.get();
  }
  void TearDown() override
  {
    SystemKind = 0;
    dm.reset();
    DM = nullptr;
    SetMessageHook(previousHook);
  }

  void writeSettings(int connect, const QString& localDir, const QString& serverHost, const QString& serverDir)
  {
    IniFile ini(SystemDef.APPINI, IniFile::Encoding::Utf16LeBom);
    ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("CONNECT"), QString::number(connect));
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("HOSTNAME"), QString());
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("SYSDIR"), localDir);
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("USER"), QStringLiteral("ABACOR"));
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("PASSWORD"), QStringLiteral("dormil"));
    ini.WriteString(QStringLiteral("SERVER"), QStringLiteral("HOSTNAME"), serverHost);
    ini.WriteString(QStringLiteral("SERVER"), QStringLiteral("SYSDIR"), serverDir);
    ini.WriteString(QStringLiteral("SERVER"), QStringLiteral("USER"), QStringLiteral("ABACOR"));
    ini.WriteString(QStringLiteral("SERVER"), QStringLiteral("PASSWORD"), QStringLiteral("dormil"));
    ini.UpdateFile();
  }

  int connectState() const
  {
    return IniFile(SystemDef.APPINI).ReadString(QStringLiteral("APPLICATION"), QStringLiteral("CONNECT")).toInt();
  }

  // Runs a statement on the fixture database in its own connection.
  void execSql(const QString& sql, bool paramCheck = true)
  {
    db::Database d;
    testfx::builder().open(d, sysDb);
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr);
    q.setParamCheck(paramCheck);
    q.setSql(sql);
    q.exec();
    tr.commit();
  }

  // The logon records; `name` reaches the database through a server.
  QStringList logonRows(const QString& name = {})
  {
    db::Database d;
    testfx::builder().open(d, name.isEmpty() ? sysDb : name);
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT GROUPID, OPERATORCODE, OPCODE, PCNAME FROM LOGONUSERLIST "
                                   "ORDER BY OPERATORCODE"));
    QStringList rows;
    for (q.open(); !q.eof(); q.next())
      rows << QStringLiteral("%1/%2/%3/%4")
                  .arg(q.field(QStringLiteral("GROUPID")).asInt())
                  .arg(q.field(QStringLiteral("OPERATORCODE")).asInt())
                  .arg(q.field(QStringLiteral("OPCODE")).asInt())
                  .arg(q.field(QStringLiteral("PCNAME")).asString());
    q.close();
    tr.commit();
    return rows;
  }

  void show(TLogonBox& box)
  {
    box.open();
    QApplication::setActiveWindow(&box);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
  }

  TestTempDir tmp;
  QString sysDb;
  TRecordingHook hook;
  IMessageHook* previousHook = nullptr;
  std::unique_ptr<TDM> dm;
};

// Makes a folder refuse new files while alive: immutable for the super-user,
// read-only for anyone else.
class TLockedFolder {
 public:
  explicit TLockedFolder(const QString& dir) : FDir(dir)
  {
    if (geteuid() == 0)
      QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), FDir});
    else
      QFile::setPermissions(FDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(FDir + QStringLiteral("/probe"));
    Locked = !probe.open(QIODevice::WriteOnly);
  }
  ~TLockedFolder()
  {
    if (geteuid() == 0)
      QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), FDir});
    QFile::setPermissions(FDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  bool Locked = false;

 private:
  QString FDir;
};

}  // namespace

TEST_F(LogonTest, OperatorLogsOnAndTheLogonIsRecorded)
{
  TLogonBox box;
  show(box);
  EXPECT_TRUE(box.StandAloneButton()->isChecked());
  EXPECT_FALSE(box.ServerSettingsButton()->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), box.OpCodeEdit());
  EXPECT_EQ(box.PasswordEdit()->echoMode(), QLineEdit::Password);

  QTest::keyClicks(box.OpCodeEdit(), QString::number(OperatorCode));
  QTest::keyClick(box.OpCodeEdit(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), box.PasswordEdit());
  QTest::keyClicks(box.PasswordEdit(), fixtures::sample::operatorPassword());
  QTest::keyClick(box.PasswordEdit(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), box.OkButton());
  QTest::keyClick(box.OkButton(), Qt::Key_Return);

  EXPECT_TRUE(hook.Texts.isEmpty()) << hook.Texts.join(QLatin1Char('|')).toStdString();
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), mrOk);
  EXPECT_EQ(SystemDef.OPCODE, GroupId * 10000 + OperatorCode);
  EXPECT_EQ(SystemDef.OPCODE2, OperatorCode);
  EXPECT_EQ(SystemDef.OPNAME, fixtures::sample::operatorName());
  EXPECT_EQ(SystemDef.OPLevel, 9);
  EXPECT_TRUE(SystemDef.SERVER_TEMP.isEmpty());
  EXPECT_TRUE(DM->IBDatabaseDEF.isConnected());
  EXPECT_EQ(logonRows(), QStringList{QStringLiteral("10000/101/100000101/PC-A")});
  EXPECT_EQ(connectState(), 0);
}

TEST_F(LogonTest, RefusedLogonsKeepTheDialogOpen)
{
  struct TCase {
    const char* what;
    QString code;
    QString password;
    QString message;
    bool touchesDatabase;
  } cases[] = {
      {"a code below 10", QStringLiteral("9"), QStringLiteral("1234"), kCodeOrPassword, false},
      {"no code", QString(), QStringLiteral("1234"), kCodeOrPassword, false},
      {"a wrong password", QString::number(OperatorCode), QStringLiteral("9999"), kCodeOrPassword, true},
      {"an unknown operator", QStringLiteral("555"), QStringLiteral("1234"), kCodeOrPassword, true},
      {"a password differing in case", QString::number(fixtures::sample::ClerkCode), QStringLiteral("ABCD"),
       kCodeOrPassword, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    hook.Texts.clear();
    DM->IBDatabaseDEF.disconnect();
    TLogonBox box;
    show(box);
    box.OpCodeEdit()->setText(c.code);
    box.PasswordEdit()->setText(c.password);
    box.RunOk();
    ASSERT_EQ(hook.Texts.size(), 1);
    EXPECT_EQ(hook.Texts[0], c.message);
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box.OpCodeEdit());
    EXPECT_EQ(DM->IBDatabaseDEF.isConnected(), c.touchesDatabase);
  }
  EXPECT_TRUE(logonRows().isEmpty());
}

TEST_F(LogonTest, OperatorLoggedOnElsewhereIsRefusedAndTheSameComputerMayLogOnAgain)
{
  execSql(
      QStringLiteral("INSERT INTO LOGONUSERLIST (GROUPID, OPERATORCODE, OPCODE, PCNAME) "
                     "VALUES (10000, 101, 100000101, 'PC-B')"));
  {
    TLogonBox box;
    show(box);
    box.OpCodeEdit()->setText(QStringLiteral("101"));
    box.PasswordEdit()->setText(QStringLiteral("1234"));
    box.RunOk();
    ASSERT_EQ(hook.Texts.size(), 1);
    EXPECT_EQ(hook.Texts[0], u(u"指定したユーザーは既にシステムへログインしているため、ログインできませんでした。"));
    EXPECT_TRUE(box.isVisible());
  }
  // A record of this computer (a logon that ended badly) is replaced (NUM 1).
  execSql(QStringLiteral("UPDATE LOGONUSERLIST SET PCNAME = 'PC-A'"));
  hook.Texts.clear();
  TLogonBox box;
  show(box);
  box.OpCodeEdit()->setText(QStringLiteral("101"));
  box.PasswordEdit()->setText(QStringLiteral("1234"));
  box.RunOk();
  EXPECT_TRUE(hook.Texts.isEmpty());
  EXPECT_EQ(box.result(), mrOk);
  EXPECT_EQ(logonRows(), QStringList{QStringLiteral("10000/101/100000101/PC-A")});
}

TEST_F(LogonTest, LogonThatFailsAfterItWasRecordedLeavesNoRecord)
{
  // The local settings cannot be written back, the last step of a logon.
  const QString dir = tmp.file(QStringLiteral("settings"));
  ASSERT_TRUE(QDir().mkpath(dir));
  SystemDef.APPINI = dir + QStringLiteral("/local.ini");
  writeSettings(0, tmp.path(), QString(), QString());
  TLockedFolder lock(dir);
  if (!lock.Locked)
    GTEST_SKIP() << "this account cannot make a folder refuse files";
  TLogonBox box;
  show(box);
  box.OpCodeEdit()->setText(QStringLiteral("101"));
  box.PasswordEdit()->setText(QStringLiteral("1234"));
  box.RunOk();
  ASSERT_EQ(hook.Texts.size(), 1);
  EXPECT_TRUE(hook.Texts[0].startsWith(u(u"ログイン処理に失敗しました。\r連動テストを終了します。")))
      << hook.Texts[0].toStdString();
  EXPECT_EQ(box.result(), mrCancel);
  EXPECT_FALSE(box.isVisible());
  EXPECT_TRUE(logonRows().isEmpty()) << "the operator would be locked out as already logged on";
}

TEST_F(LogonTest, UnexpectedAnswerOfTheLogonProcedureIsReported)
{
  execSql(QStringLiteral("ALTER PROCEDURE LOGONUSERTEST (\n"
                         "  PCNAME VARCHAR(100), GROUPID INTEGER, OPCODE INTEGER, APPVERSION INTEGER,"
                         " PASWORD VARCHAR(40))\n"
                         "RETURNS (NUM INTEGER, LOGINCODE INTEGER, JOBLEVEL INTEGER)\n"
                         "AS\nBEGIN\n  NUM = 5; LOGINCODE = OPCODE; JOBLEVEL = 9;\n  SUSPEND;\nEND"),
          false);
  TLogonBox box;
  show(box);
  box.OpCodeEdit()->setText(QStringLiteral("101"));
  box.PasswordEdit()->setText(QStringLiteral("1234"));
  box.RunOk();
  ASSERT_EQ(hook.Texts.size(), 1);
  EXPECT_TRUE(hook.Texts[0].contains(QStringLiteral("(5)")));
  EXPECT_TRUE(box.isVisible());
  EXPECT_EQ(SystemDef.OPCODE, 0);
}

TEST_F(LogonTest, MissingSystemDatabaseIsExplainedAndTheDialogStaysOpen)
{
  writeSettings(0, tmp.file(QStringLiteral("nowhere")), QString(), QString());
  TLogonBox box;
  show(box);
  box.OpCodeEdit()->setText(QStringLiteral("101"));
  box.PasswordEdit()->setText(QStringLiteral("1234"));
  box.RunOk();
  EXPECT_TRUE(hook.Texts.isEmpty());
  ASSERT_EQ(hook.Lines.size(), 1);
  ASSERT_FALSE(hook.Lines[0].isEmpty());
  EXPECT_TRUE(hook.Lines[0][0] == u(u"ログイン処理に失敗しました。以下の理由が考えられます。") ||
              hook.Lines[0][0] == u(u"財務システムデータベースの接続処理に失敗しました。"))
      << hook.Lines[0][0].toStdString();
  EXPECT_TRUE(box.isVisible());
}

TEST_F(LogonTest, ServerChoiceWithoutServerNameIsRefusedBeforeConnecting)
{
  writeSettings(2, tmp.path(), QString(), tmp.path());
  TLogonBox box;
  show(box);
  EXPECT_TRUE(box.ServerButton()->isChecked());
  EXPECT_TRUE(box.ServerSettingsButton()->isEnabled());
  EXPECT_EQ(AppType, jxatCS);
  box.OpCodeEdit()->setText(QStringLiteral("101"));
  box.PasswordEdit()->setText(QStringLiteral("1234"));
  box.RunOk();
  ASSERT_EQ(hook.Texts.size(), 1);
  EXPECT_EQ(hook.Texts[0], u(u"データサーバーのコンピュータ名が設定されていません。\r"
                             u"[サーバー設定]ボタンを押して正しい情報を入力して下さい。"));
  EXPECT_FALSE(DM->IBDatabaseDEF.isConnected());

  // Choosing this computer again switches the access form back.
  box.StandAloneButton()->setChecked(true);
  EXPECT_EQ(AppType, jxatSA);
  EXPECT_FALSE(box.ServerSettingsButton()->isEnabled());
}

TEST_F(LogonTest, ServerSettingsButtonCallsTheInstalledDialog)
{
  writeSettings(1, tmp.path(), QStringLiteral("dbhost"), tmp.path());
  int shown = 0;
  pcSetServerSettingsHook([&](QWidget* parent) {
    ++shown;
    EXPECT_NE(parent, nullptr);
  });
  TLogonBox box;
  show(box);
  QTest::mouseClick(box.ServerSettingsButton(), Qt::LeftButton);
  pcSetServerSettingsHook({});
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(box.isVisible());
}

TEST_F(LogonTest, ClientServerLogonThroughTheTestServer)
{
  const FirebirdServer& srv = FirebirdServer::shared();
  // "localhost" takes the remote form; the test server listens there.
  writeSettings(1, tmp.path(), QStringLiteral("localhost"), tmp.path());
  TLogonBox box;
  show(box);
  ASSERT_TRUE(box.ServerButton()->isChecked());
  box.OpCodeEdit()->setText(QString::number(fixtures::sample::ClerkCode));
  box.PasswordEdit()->setText(fixtures::sample::clerkPassword());
  box.RunOk();
  EXPECT_TRUE(hook.Texts.isEmpty()) << hook.Texts.join(QLatin1Char('|')).toStdString();
  for (const QStringList& l : hook.Lines)
    ADD_FAILURE() << l.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(box.result(), mrOk);
  EXPECT_TRUE(DM->IBDatabaseDEF.databaseName().startsWith(QStringLiteral("localhost/%1:").arg(srv.port())))
      << DM->IBDatabaseDEF.databaseName().toStdString();
  EXPECT_EQ(SystemDef.OPCODE2, fixtures::sample::ClerkCode);
  EXPECT_EQ(SystemDef.OPLevel, 1);
  EXPECT_EQ(SystemDef.SERVER_TEMP, AccServerTempDir);
  EXPECT_EQ(connectState(), 1);
  EXPECT_EQ(logonRows(srv.remoteName(sysDb)), QStringList{QStringLiteral("10000/102/100000102/PC-A")});
}

TEST_F(LogonTest, SystemUserLogonNeedsNoCode)
{
  TLogonBox box;
  box.setProcType(2);
  show(box);
  EXPECT_EQ(QApplication::focusWidget(), box.OkButton());
  EXPECT_FALSE(box.OpCodeEdit()->isVisible());
  box.RunOk();
  EXPECT_TRUE(hook.Texts.isEmpty());
  EXPECT_EQ(box.result(), mrOk);
  EXPECT_EQ(SystemDef.OPCODE, GroupId * 10000 + 9999);
  EXPECT_EQ(SystemDef.OPLevel, 9);
  EXPECT_TRUE(logonRows().isEmpty());
}

TEST_F(LogonTest, PasswordConfirmationSetsAFirstPasswordAndLogsOn)
{
  SystemKind = 2;
  TLogonBox box;
  EXPECT_EQ(box.windowTitle(), u(u"パスワードの確認"));
  EXPECT_FALSE(box.OpCodeEdit()->isVisibleTo(&box));
  EXPECT_TRUE(box.UpPasswordButton()->isVisibleTo(&box));
  // Login code 1 has no password yet: the password dialog opens by itself.
  QString setTitle;
  QTimer::singleShot(100, [&] {
    auto* pw = qobject_cast<TUpPasswordBox*>(QApplication::activeModalWidget());
    ASSERT_NE(pw, nullptr);
    setTitle = pw->windowTitle();
    pw->PasswordNew1()->setText(QStringLiteral("Abc123"));
    pw->PasswordNew2()->setText(QStringLiteral("Abc123"));
    pw->OkButton()->Click();
  });
  show(box);
  EXPECT_EQ(setTitle, u(u"パスワードの設定"));
  EXPECT_TRUE(box.OkButton()->isEnabled());
  EXPECT_TRUE(hook.Texts.isEmpty()) << hook.Texts.join(QLatin1Char('|')).toStdString();
  {
    db::Database d;
    testfx::builder().open(d, sysDb);
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT OPNAME, JOBLEVEL, PASWORD FROM OPERATOR "
                                   "WHERE GROUPID = 10000 AND OPCODE = 1"));
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.field(QStringLiteral("OPNAME")).asString(), u(u"システムユーザー"));
    EXPECT_EQ(q.field(QStringLiteral("JOBLEVEL")).asInt(), 9);
    EXPECT_EQ(q.field(QStringLiteral("PASWORD")).asString(), QStringLiteral("Abc123"));
    q.close();
    tr.commit();
  }

  box.PasswordEdit()->setText(QStringLiteral("abc123"));
  box.RunOk();
  ASSERT_EQ(hook.Texts.size(), 1);
  EXPECT_EQ(hook.Texts[0], u(u"パスワードが違います。\r正しいパスワードを入力して下さい。"));
  EXPECT_TRUE(box.isVisible());

  // The maintenance key: an accounting-office user, shown by the header's
  // alternate icon.
  EXPECT_TRUE(box.HeaderImage()->isVisible());
  EXPECT_FALSE(box.AltHeaderImage()->isVisible());
  QTest::keyClick(box.PasswordEdit(), Qt::Key_F11, Qt::ControlModifier);
  EXPECT_TRUE(box.AO_User());
  EXPECT_FALSE(box.HeaderImage()->isVisible());
  EXPECT_TRUE(box.AltHeaderImage()->isVisible());

  box.PasswordEdit()->setText(QStringLiteral("Abc123"));
  box.RunOk();
  EXPECT_EQ(box.result(), mrOk);
  EXPECT_TRUE(SystemDef.OPAccount);
  EXPECT_EQ(SystemDef.OPNAME, u(u"経営ベスティマ"));
  EXPECT_EQ(SystemDef.OPCODE, GroupId * 10000 + 9999);
  EXPECT_EQ(SystemDef.OPCODE2, 9999);
  EXPECT_TRUE(SystemDef.OPMyNumberAdm);
  EXPECT_EQ(logonRows(), QStringList{QStringLiteral("10000/1/100000001/PC-A")});
}

TEST_F(LogonTest, OperatorLogonKeepsItsHeaderIconOnTheMaintenanceKey)
{
  TLogonBox box;
  show(box);
  QTest::keyClick(box.OpCodeEdit(), Qt::Key_F11, Qt::ControlModifier);
  EXPECT_FALSE(box.AO_User());
  EXPECT_TRUE(box.HeaderImage()->isVisible());
  EXPECT_FALSE(box.AltHeaderImage()->isVisible());
}

TEST_F(LogonTest, CancelAndEscEndWithCancel)
{
  TLogonBox box;
  show(box);
  QTest::keyClick(box.OpCodeEdit(), Qt::Key_Escape);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), mrCancel);
  TLogonBox second;
  show(second);
  QTest::mouseClick(second.CancelButton(), Qt::LeftButton);
  EXPECT_EQ(second.result(), mrCancel);
}

TEST_F(LogonTest, Screenshot)
{
  TLogonBox box;
  show(box);
  box.OpCodeEdit()->setText(QStringLiteral("101"));
  box.PasswordEdit()->setText(QStringLiteral("1234"));
  const QString dir = QStringLiteral(RENDO_BINARY_DIR "/screenshots");
  QDir().mkpath(dir);
  EXPECT_TRUE(box.grab().save(dir + QStringLiteral("/logon.png")));
}
