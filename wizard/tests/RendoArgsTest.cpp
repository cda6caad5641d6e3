#include <gtest/gtest.h>

#include "wizard/RendoArgs.h"

TEST(RendoArgs, ReadsTheFourFieldsOfTheOneArgument)
{
  struct Case {
    QStringList args;
    TRendoArgsKind kind;
    quint64 handle;
    int message;
    int function;
    QString path;
  };
  const Case cases[] = {
      {{}, TRendoArgsKind::None, 0, 0, 0, QString()},
      {{QStringLiteral("4660,1025,3,/work/out.xml")},
       TRendoArgsKind::Valid,
       4660,
       1025,
       3,
       QStringLiteral("/work/out.xml")},
      // The path is everything after the third comma, commas and blanks included.
      {{QStringLiteral("4660,1025,3,/work/a,b c/out,1.xml")},
       TRendoArgsKind::Valid,
       4660,
       1025,
       3,
       QStringLiteral("/work/a,b c/out,1.xml")},
      {{QStringLiteral("1,2,3,C:\\work\\out.xml")},
       TRendoArgsKind::Valid,
       1,
       2,
       3,
       QStringLiteral("C:\\work\\out.xml")},
      // Three fields: no path.
      {{QStringLiteral("4660,1025,3")}, TRendoArgsKind::Valid, 4660, 1025, 3, QString()},
      {{QStringLiteral("4660,1025,3,")}, TRendoArgsKind::Valid, 4660, 1025, 3, QString()},
      {{QStringLiteral("0,0,0,/tmp/x.xml")}, TRendoArgsKind::Valid, 0, 0, 0, QStringLiteral("/tmp/x.xml")},
      {{QStringLiteral(" 12 ,-5,+7,p")}, TRendoArgsKind::Valid, 12, -5, 7, QStringLiteral("p")},
      {{QStringLiteral("2147483648,1,1,p")}, TRendoArgsKind::Valid, 2147483648LL, 1, 1, QStringLiteral("p")},
      // More than one argument: an unquoted path with a blank arrives in two.
      {{QStringLiteral("4660,1025,3,/work/my"), QStringLiteral("out.xml")},
       TRendoArgsKind::TooMany,
       0,
       0,
       0,
       QString()},
      // Fields that are not decimal integers.
      {{QStringLiteral("abc,1025,3,/x")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("4660,1025")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("4660")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QString()}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("4660,,3,/x")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("4660,1025,3x,/x")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("4660,1.5,3,/x")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("4660,2147483648,3,/x")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("4660,-,3,/x")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
      {{QStringLiteral("-4660,1025,3,/x")}, TRendoArgsKind::BadNumber, 0, 0, 0, QString()},
  };
  for (const Case& c : cases) {
    const std::string label = c.args.join(QStringLiteral(" | ")).toStdString();
    const TRendoArgsResult r = fnParseRendoArgs(c.args);
    EXPECT_EQ(r.Kind, c.kind) << label;
    if (c.kind == TRendoArgsKind::Valid) {
      EXPECT_EQ(r.Args.PHandle, c.handle) << label;
      EXPECT_EQ(r.Args.MessageID, c.message) << label;
      EXPECT_EQ(r.Args.FunctionID, c.function) << label;
      EXPECT_EQ(r.Args.ExpFilePath, c.path) << label;
      EXPECT_TRUE(r.Message.isEmpty()) << label;
    } else if (c.kind == TRendoArgsKind::None) {
      EXPECT_EQ(r.Args.PHandle, 0);
      EXPECT_TRUE(r.Args.ExpFilePath.isEmpty());
    } else {
      EXPECT_TRUE(r.Message.startsWith(QStringLiteral("不正な引数が渡されました。"))) << label;
      EXPECT_TRUE(r.Message.endsWith(QStringLiteral("アプリケーションを強制終了します。"))) << label;
    }
  }
  EXPECT_EQ(fnParseRendoArgs({QStringLiteral("a"), QStringLiteral("b")}).Message,
            QStringLiteral("不正な引数が渡されました。\r\rアプリケーションを強制終了します。"));
}

TEST(RendoArgs, ARefusedFieldIsNamedWithTheRealReason)
{
  const std::pair<const char*, const char16_t*> cases[] = {
      {"abc,1025,3,/x", u"PHandle の値「abc」は整数ではありません。"},
      {"-4660,1025,3,/x", u"PHandle の値「-4660」は負の数です。0 以上の整数を指定してください。"},
      {"4660,2147483648,3,/x", u"MessageID の値「2147483648」は扱える範囲を超えています。"},
      {"4660,1025,-99999999999,/x", u"FunctionID の値「-99999999999」は扱える範囲を超えています。"},
      {"4660,1025,3x,/x", u"FunctionID の値「3x」は整数ではありません。"},
      {"99999999999999999999,1,1,/x", u"PHandle の値「99999999999999999999」は扱える範囲を超えています。"},
  };
  for (const auto& [arg, reason] : cases) {
    const TRendoArgsResult r = fnParseRendoArgs({QString::fromLatin1(arg)});
    EXPECT_EQ(r.Kind, TRendoArgsKind::BadNumber) << arg;
    EXPECT_EQ(r.Message, QStringLiteral("不正な引数が渡されました。\r") + QString::fromUtf16(reason) +
                             QStringLiteral("\r\rアプリケーションを強制終了します。"))
        << arg;
  }
  // "-0" is zero, not a negative handle.
  EXPECT_EQ(fnParseRendoArgs({QStringLiteral("-0,1,1,/x")}).Kind, TRendoArgsKind::Valid);
}
