// Every error family of the system is caught as the one base, EAppError,
// with its message; the silent abort is not among them.
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

#include "acctables/AccKikan.h"
#include "common/BufFileStream.h"
#include "db/DbError.h"
#include "fixtures/FixtureError.h"
#include "platform/Abort.h"
#include "platform/AppError.h"
#include "platform/Currency.h"
#include "platform/IniFile.h"
#include "platform/PzConv.h"
#include "platform/SafeSave.h"
#include "wizard/ComDataExp.h"
#include "wizard/XmlSaveDoc.h"

TEST(ErrorFamilies, EachIsCaughtAsTheBaseWithItsMessage)
{
  const struct {
    const char* family;
    std::function<void()> raise;
    QString message;  // empty: any non-empty message
  } cases[] = {
      {"EConvertError", [] { (void)Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()); }, QString()},
      {"EOverflowError", [] { throw EOverflowError(QStringLiteral("金額が範囲外です")); },
       QStringLiteral("金額が範囲外です")},
      {"EIniFileError", [] { throw EIniFileError(QStringLiteral("a.ini: 読めません")); },
       QStringLiteral("a.ini: 読めません")},
      {"ESafeSaveError", [] { throw ESafeSaveError(QStringLiteral("out.xml: disk full"), ENOSPC); },
       QStringLiteral("out.xml: disk full")},
      {"EJapaneseCodeError", [] { throw EJapaneseCodeError(QStringLiteral("not in JIS")); },
       QStringLiteral("not in JIS")},
      {"EFileStreamError", [] { throw EFileStreamError(QStringLiteral("cannot open x")); },
       QStringLiteral("cannot open x")},
      {"db::DbError", [] { throw db::DbError(QStringLiteral("lock conflict"), db::DbError::LockConflict); },
       QStringLiteral("lock conflict")},
      {"EXmlSaveDocError", [] { throw EXmlSaveDocError(QStringLiteral("保存できません")); },
       QStringLiteral("保存できません")},
      {"EDataExportError",
       [] { throw EDataExportError(QStringLiteral("科目の集計処理に失敗しました。"), QString(), 1); },
       QStringLiteral("科目の集計処理に失敗しました。")},
      {"fixtures::FixtureError", [] { throw fixtures::FixtureError(QStringLiteral("no script")); },
       QStringLiteral("no script")},
      {"EAccDateRange", [] { (void)fnTukiKasan(1, EncodeDate(9999, 12, 1)); }, QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.family);
    try {
      c.raise();
      ADD_FAILURE() << "nothing thrown";
    } catch (const EAppError& e) {
      if (c.message.isEmpty())
        EXPECT_FALSE(e.message().isEmpty());
      else
        EXPECT_EQ(e.message(), c.message);
      EXPECT_EQ(QString::fromUtf8(e.what()), e.message());
    }
  }
  try {
    Abort();
  } catch (const EAppError&) {
    ADD_FAILURE() << "the silent abort is not an error";
  } catch (const EAbort&) {
  }
}
