// Finding the template backup of new data in a folder whatever the letter
// case of the stored file names.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/AccRecord.h"
#include "common/InitDataTemplate.h"
#include "tests/support/TempDir.h"

namespace {

void touch(const QString& path)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(InitDataTemplate, NumbersOfTheKinds)
{
  struct Case {
    int dataKbn, codeKbn, number;
  } cases[] = {
      {1, 1, 11}, {1, 3, 11}, {2, 1, 21}, {2, 2, 22}, {2, 3, 23}, {2, 4, 24}, {3, 1, 31},
      {3, 2, 31}, {2, 0, 0},  {2, 5, 0},  {0, 1, 0},  {4, 1, 0},  {-1, 1, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnAccDataInitNo(c.dataKbn, c.codeKbn), c.number) << c.dataKbn << "/" << c.codeKbn;
  EXPECT_EQ(fnAccDataInitFileName(24), "init_acc24.fbK");
  EXPECT_EQ(fnAccDataInitFileName(12), QString());
}

TEST(InitDataTemplate, FoundWhateverTheCaseOfTheStoredName)
{
  pcAccRecordReset();
  TestTempDir tmp;
  const QString dir = tmp.file("init");
  ASSERT_TRUE(QDir().mkpath(dir));
  for (const char* name :
       {"INIT_ACC24.FBK", "init_acc21.fbk", "Init_Acc11.FbK", "init_acc31.fbK", "INIT_ACC31.FBK", "init_acc23.fbk.old"})
    touch(dir + "/" + name);
  ASSERT_TRUE(QDir().mkpath(dir + "/INIT_ACC22.FBK"));  // a folder is no template

  struct Case {
    const char* what;
    int dataKbn, codeKbn;
    QString found;  // file name in the folder, empty for none
  } cases[] = {
      {"upper-case stored name", 2, 4, "INIT_ACC24.FBK"},
      {"lower-case stored name", 2, 1, "init_acc21.fbk"},
      {"mixed case, any code kind", 1, 2, "Init_Acc11.FbK"},
      {"exact name before another case", 3, 1, "init_acc31.fbK"},
      {"only a folder of that name", 2, 2, ""},
      {"only a longer name", 2, 3, ""},
      {"no template for the kinds", 2, 5, ""},
  };
  for (const auto& c : cases) {
    const QString expected = c.found.isEmpty() ? QString() : dir + "/" + c.found;
    EXPECT_EQ(fnFindAccDataInitFile(dir, c.dataKbn, c.codeKbn), expected) << c.what;
  }
  EXPECT_EQ(fnFindAccDataInitFile(tmp.file("missing"), 2, 4), QString());
  EXPECT_EQ(fnFindAccDataInitFile(QString(), 2, 4), QString());

  // Names formed from the identity file's pattern are found the same way;
  // the name of 24 stays the built-in one.
  TAppInfoRec info;
  info.DataInitFile = QStringLiteral("INIT_ACC%d.FBK");
  pcApplyAppInfoNames(info);
  EXPECT_EQ(fnFindAccDataInitFile(dir, 2, 1), dir + "/init_acc21.fbk");
  EXPECT_EQ(fnFindAccDataInitFile(dir, 3, 1), dir + "/INIT_ACC31.FBK");
  EXPECT_EQ(fnFindAccDataInitFile(dir, 2, 4), dir + "/INIT_ACC24.FBK");
  pcAccRecordReset();
}

}  // namespace
