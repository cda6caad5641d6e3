// The transfer package: the AES zip round trip, crafted archives that must
// not be unpacked, and the package steps of a send on a real data set
// (backup with the information block through the backup worker).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include "comm/DataTusin.h"
#include "comm/TusinZip.h"
#include "common/BackupRestoreThread.h"
#include "common/DataInfomation.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/TempDir.h"

using testenv::ScopedMessageCollector;

namespace {

void ensureApplication()
{
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char name[] = "rendo_comm_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
  }
}

QByteArray bytesOf(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& data)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(data);
}

// An archive of entries as given (name, content, link), for crafted cases.
void craftZip(const QString& path, const QList<std::tuple<QString, QByteArray, bool>>& entries)
{
  int err = 0;
  zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  ASSERT_NE(z, nullptr);
  for (const auto& [name, data, link] : entries) {
    QByteArray* keep = new QByteArray(data);
    zip_source_t* s = zip_source_buffer(z, keep->constData(), zip_uint64_t(keep->size()), 0);
    const zip_int64_t i = zip_file_add(z, name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8);
    ASSERT_GE(i, 0) << name.toStdString();
    if (link)
      zip_file_set_external_attributes(z, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX, zip_uint32_t(S_IFLNK | 0777) << 16);
  }
  ASSERT_EQ(zip_close(z), 0);
}

}  // namespace

TEST(TusinZip, RoundTripWithTheRightAndAWrongPassword)
{
  TestTempDir dir;
  const QString file = dir.file("wqacc2.fbk");
  QByteArray data;
  for (int i = 0; i < 5000; ++i)
    data += QByteArray::number(i * 7919) + '\n';
  writeBytes(file, data);
  const QString zip = dir.file("wqacc.lzh");
  ScopedMessageCollector boxes;
  ASSERT_TRUE(fnZipAssyuku(file, zip, "Tk5Wn8ABC123"));

  // One entry at the root, AES with a 128-bit key.
  int err = 0;
  zip_t* z = zip_open(QFile::encodeName(zip).constData(), ZIP_RDONLY, &err);
  ASSERT_NE(z, nullptr);
  ASSERT_EQ(zip_get_num_entries(z, 0), 1);
  zip_stat_t st;
  ASSERT_EQ(zip_stat_index(z, 0, 0, &st), 0);
  EXPECT_STREQ(st.name, "wqacc2.fbk");
  EXPECT_EQ(st.encryption_method, ZIP_EM_AES_128);
  zip_discard(z);
  EXPECT_FALSE(bytesOf(zip).contains(data.left(200)));

  struct Case {
    const char* what;
    QString password;
    bool ok;
    QStringList boxes;
  } cases[] = {
      {"right password", "Tk5Wn8ABC123", true, {}},
      {"wrong password", "Tk5Wn8ABC124", false, {"解凍エラー(UZ:-1)"}},
      {"case differs", "tk5wn8abc123", false, {"解凍エラー(UZ:-1)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.texts.clear();
    TestTempDir out;
    EXPECT_EQ(fnZipKaitou(zip, out.path(), c.password, "wqacc2.fbk"), c.ok);
    EXPECT_EQ(boxes.texts, c.boxes);
    if (c.ok)
      EXPECT_EQ(bytesOf(out.file("wqacc2.fbk")), data);
    else
      EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
  }
  boxes.texts.clear();
  EXPECT_FALSE(fnZipKaitou(dir.file("missing.lzh"), dir.path(), "x"));
  EXPECT_EQ(boxes.texts, QStringList{"解凍エラー(OZ)"});
  boxes.texts.clear();
  EXPECT_FALSE(fnZipAssyuku(dir.file("missing.fbk"), dir.file("x.lzh"), "x"));
  EXPECT_EQ(boxes.texts, QStringList{"圧縮エラー(AF)"});
  EXPECT_FALSE(QFile::exists(dir.file("x.lzh")));
}

TEST(TusinZip, CraftedArchivesAreNotUnpacked)
{
  struct Case {
    const char* what;
    QList<std::tuple<QString, QByteArray, bool>> entries;
    bool ok;
  } cases[] = {
      {"a parent-folder name", {{"../x", "evil", false}}, false},
      {"a parent folder inside the name", {{"sub/../../x", "evil", false}}, false},
      {"an absolute name", {{"/tmp/rendo-relay-abs-x", "evil", false}}, false},
      {"a backslash parent", {{"..\\x", "evil", false}}, false},
      {"a link", {{"wqacc2.fbk", "/etc/passwd", true}}, false},
      {"a good entry beside a bad one", {{"wqacc2.fbk", "data", false}, {"../x", "evil", false}}, false},
      {"only another entry", {{"other.txt", "data", false}}, false},
      {"the entry and another", {{"other.txt", "data", false}, {"wqacc2.fbk", "data", false}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestTempDir dir;
    const QString zip = dir.file("crafted.lzh");
    craftZip(zip, c.entries);
    const QString out = dir.file("out/in");
    ScopedMessageCollector boxes;
    EXPECT_EQ(fnZipKaitou(zip, out, "pw", "wqacc2.fbk"), c.ok);
    EXPECT_FALSE(QFile::exists(dir.file("out/x")));
    EXPECT_FALSE(QFile::exists(dir.file("x")));
    EXPECT_FALSE(QFile::exists("/tmp/rendo-relay-abs-x"));
    if (c.ok) {
      EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{"wqacc2.fbk"});
    } else {
      EXPECT_EQ(boxes.texts, QStringList{"解凍エラー(UZ:0)"});
      EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
    }
  }
}

namespace {

class TransferPackage : public testenv::SharedDataRootTest<TransferPackage> {
 protected:
  void SetUp() override
  {
    ensureApplication();
    testenv::DataModuleSetup s;
    s.root = root->root;
    s.logFile = tmp->file("log");
    setUpDataModule(s);
    data = root->dataSets.at(0);
    SystemDef.IBPATHDAT = data.folder;
    SystemDef.TEMP = tmp->file("temp");
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), data.folder, false));
    ASSERT_TRUE(dm->fnGetAccInfo());
    AccInf.PASWORD = "ABC123";
    t.FProcType = 1;
    t.Pause = [this] { ++pauses; };
    t.WaitMSec = [this](int) {
      statusDuringSave = folderStatus();
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    };
    t.OnStep = [this](TSendStep s, TSendStepState st) { steps << QStringLiteral("%1:%2").arg(int(s)).arg(int(st)); };
    t.OnEscHook = [this](bool on) { hooks << on; };
    QDir(TDataTusin::SendFolder()).removeRecursively();
  }
  void TearDown() override
  {
    dm->fnAccDatDisConnected(data.folder, false, false, false);
    testenv::DataModuleTest::TearDown();
  }
  int folderStatus() { return int(TDataInfomation().ReadIniValue(t.TransferDataPath(), "DATASTS", "STATUS").toInt()); }

  fixtures::sample::DataSet data;
  TDataTusin t;
  int pauses = 0;
  int statusDuringSave = 0;
  QStringList steps;
  QList<bool> hooks;
};

}  // namespace

TEST_F(TransferPackage, SendPackageIsABackupWithItsInformationInAnAesZip)
{
  // Leftovers of an interrupted send are replaced.
  QDir().mkpath(TDataTusin::SendFolder());
  writeBytes(TDataTusin::SendFolder() + "/wqacc.wen3", "old");
  writeBytes(TDataTusin::SendFolder() + "/wqacc.lzh", "old");
  ScopedMessageCollector boxes;
  ASSERT_TRUE(t.PackageBuild()) << boxes.texts.join('|').toStdString();
  EXPECT_TRUE(boxes.texts.isEmpty());
  EXPECT_EQ(steps, (QStringList{"1:2", "2:1", "2:2", "3:1", "3:2", "4:1"}));
  EXPECT_EQ(hooks, (QList<bool>{true, false}));
  EXPECT_EQ(pauses, 3);
  EXPECT_EQ(t.StagedPath, TDataTusin::SendFolder() + "/wqacc.wen3");
  EXPECT_EQ(t.StagedSize, QFileInfo(t.StagedPath).size());
  EXPECT_EQ(bytesOf(t.StagedPath), bytesOf(TDataTusin::SendFolder() + "/wqacc.lzh"));
  EXPECT_EQ(statusDuringSave, 4);
  EXPECT_EQ(folderStatus(), 1);

  // The receive side: the package opens with the password made from the
  // same communication password, and holds the backup with its block.
  TestTempDir out;
  ASSERT_TRUE(fnZipKaitou(t.StagedPath, out.path(), TDataTusin::PackagePassword(), "wqacc2.fbk"));
  TBackupRestoreThread w(true);
  ASSERT_EQ(w.GetZaimuInfFromBackupFile(out.file("wqacc2.fbk")), 1);
  EXPECT_EQ(w.Inf_Shougou, AccInf.SHOUGOU);
  EXPECT_EQ(w.Inf_DataVersion, "0.0.0");
  EXPECT_FALSE(fnZipKaitou(t.StagedPath, out.file("x"), TransferZipPrefix, "wqacc2.fbk"));

  t.PackageCleanUp();
  EXPECT_TRUE(QDir(TDataTusin::SendFolder()).entryList(QDir::Files).isEmpty());
}

TEST_F(TransferPackage, CloudPackageNamesAndRefusals)
{
  t.FProcType = 20;
  t.HIBPATHDAT = data.folder;
  t.itDataVerMajor = 17;
  ScopedMessageCollector boxes;
  ASSERT_TRUE(t.PackageBuild()) << boxes.texts.join('|').toStdString();
  EXPECT_EQ(t.StagedPath, TDataTusin::SendFolder() + "/cpacc.wen3");
  EXPECT_TRUE(QFile::exists(TDataTusin::SendFolder() + "/cpacc.fbk3"));
  t.PackageCleanUp();

  // No communication password: no package at all.
  AccInf.PASWORD.clear();
  int hidden = 0;
  t.OnHideProgress = [&] { ++hidden; };
  steps.clear();
  EXPECT_FALSE(t.PackageBuild());
  EXPECT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(hidden, 1);
  EXPECT_TRUE(steps.isEmpty());
  EXPECT_TRUE(QDir(TDataTusin::SendFolder()).entryList(QDir::Files).isEmpty());

  // A save that fails: the worker's report, then the closing message; the
  // folder status is back to 1.
  AccInf.PASWORD = "ABC123";
  boxes.texts.clear();
  hooks.clear();
  t.HIBPATHDAT = tmp->file("no-such-data");
  QDir().mkpath(t.HIBPATHDAT);
  EXPECT_FALSE(t.PackageBuild());
  ASSERT_GE(boxes.texts.size(), 2);
  EXPECT_EQ(boxes.texts.last(), "データの保存に失敗しました。\r保存処理を中止しました。");
  EXPECT_EQ(folderStatus(), 1);
  EXPECT_TRUE(hooks.isEmpty());
}

TEST(TusinWait, OneWaitUnitLastsAboutHalfASecond)
{
  QElapsedTimer e;
  e.start();
  pcTusinWaitUnit();
  EXPECT_GE(e.elapsed(), 470);
}
