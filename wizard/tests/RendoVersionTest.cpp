#include <gtest/gtest.h>

#include "wizard/RendoVersion.h"

TEST(RendoVersion, InstalledVersionIsComparedPartByPart)
{
  struct Case {
    QString installed;
    bool accepted;  // against "17.0.0"
    int number;
  };
  const Case cases[] = {
      {QStringLiteral("17.0.0"), true, 170000},
      {QStringLiteral("17.0"), true, 170000},
      {QStringLiteral("17"), true, 170000},
      {QStringLiteral("17.1.3"), true, 170103},
      {QStringLiteral("18.0.0"), true, 180000},
      {QStringLiteral("17.0.123"), true, 1700123},  // a three-digit part lengthens the number
      {QStringLiteral(" 17.0.0"), true, 170000},    // leading blanks are skipped
      {QStringLiteral("16.9.9"), false, 160909},
      {QStringLiteral("9.5.3"), false, 90503},
      {QString(), false, 0},
      {QStringLiteral("17.0.0.1"), false, 0},     // four parts
      {QStringLiteral("17.0.0 beta"), false, 0},  // a blank ends a part: four parts
      {QStringLiteral("17.x.0"), true, 170000},   // a part that is no number counts as 0
      {QStringLiteral("abc"), false, 0},
      {QStringLiteral("17.0."), true, 170000},     // a trailing delimiter adds an empty last part
      {QStringLiteral("17.0.0."), false, 0},       // ... which makes a fourth here
      {QStringLiteral("\"17.0\".1"), false, 100},  // the quoted part "17.0" is no number
      {QStringLiteral("17.-1.0"), false, 0},       // "17-0100" is no number
      {QStringLiteral("999999.0.0"), false, 0},    // out of the integer range
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fnRendoVersionNumber(c.installed), c.number) << c.installed.toStdString();
    EXPECT_EQ(fnRendoVersionAccepted(c.installed, fnRendoPermitVersion()), c.accepted) << c.installed.toStdString();
  }
  EXPECT_EQ(fnRendoPermitVersion(), QStringLiteral("17.0.0"));
}

TEST(RendoVersion, SplitsLikeADelimitedList)
{
  struct Case {
    QString text;
    QStringList pieces;
  };
  const Case cases[] = {
      {QString(), {QString()}},
      {QStringLiteral("17.0.0"), {QStringLiteral("17"), QStringLiteral("0"), QStringLiteral("0")}},
      {QStringLiteral("17."), {QStringLiteral("17"), QString()}},
      {QStringLiteral("a..b"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
      {QStringLiteral("  a . b"), {QStringLiteral("a"), QStringLiteral("b")}},
      {QStringLiteral("a b.c"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
      {QStringLiteral("\"a.b\".c"), {QStringLiteral("a.b"), QStringLiteral("c")}},
      {QStringLiteral("\"say \"\"hi\"\"\""), {QStringLiteral("say \"hi\"")}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fnSplitDelimited(c.text, u'.'), c.pieces) << c.text.toStdString();
}

TEST(RendoVersion, RefusalMessageNamesTheProductAndTheLowestVersion)
{
  EXPECT_EQ(
      fnRendoVersionMessage(QStringLiteral("WQN 財務会計４"), fnRendoPermitVersion()),
      QStringLiteral("このアプリケーションはインストールされている「WQN 財務会計４」のバージョンに対応していません。\r"
                     "バージョン:17.0.0以降をインストールしてください。\r\rアプリケーションを強制終了します。"));
}
