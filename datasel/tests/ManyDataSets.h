// A system database with a few hundred registered data sets in two groups,
// for the listing and dialog tests. Header only (used by two test programs).
#pragma once

#include <QDate>
#include <QStringList>

#include "fixtures/SampleData.h"
#include "fixtures/SystemFixture.h"

namespace manydata {

// The other group of the database.
constexpr int OtherGroup = 20000;
// Rows of the logged-on group beside the sample slots 1 .. 20.
constexpr int FirstExtra = 21;
constexpr int ExtraCount = 240;

// Data kind, major version and code of extra row n (0-based): kinds cycle
// 1, 2, 3, versions 16, 17, 17, 18, and every seventh row is a free slot.
inline int kindOf(int n)
{
  return n % 3 + 1;
}
inline int majorOf(int n)
{
  static const int v[] = {16, 17, 17, 18};
  return v[n % 4];
}
inline bool freeOf(int n)
{
  return n % 7 == 6;
}
inline QString codeOf(int n)
{
  return QStringLiteral("C%1").arg(n % 50, 3, 10, QLatin1Char('0'));
}
inline QString nameOf(int n)
{
  static const QStringList names = {QStringLiteral("髙橋商事"), QStringLiteral("ABC物産"), QStringLiteral("さくら医院"),
                                    QStringLiteral("①工業"), QStringLiteral("ﾐﾄﾞﾘ建設")};
  return names[n % names.size()] + QStringLiteral(" %1").arg(n);
}

// Registers the extra rows (group 10000, folders root/0021 …) and as many
// rows of the other group with the same numbers.
inline void addMany(db::Database& sysDb, const QString& root)
{
  fixtures::SystemFixture sys(sysDb);
  for (int n = 0; n < ExtraCount; ++n) {
    fixtures::DataSetSpec s;
    s.groupId = fixtures::sample::GroupId;
    s.rec = FirstExtra + n;
    s.path = root + QStringLiteral("/%1").arg(s.rec, 4, 10, QLatin1Char('0'));
    if (!freeOf(n)) {
      s.listName = nameOf(n);
      s.shougou = nameOf(n);
      s.dataType = kindOf(n);
      s.codeType = 1;
      s.nendo = n % 5 + 1;
      s.kishu = QDate(2020 + n % 5, 4, 1);
      s.kimatu = s.kishu.addYears(1).addDays(-1);
      s.verMajor = majorOf(n);
      s.verMinor = n % 2;
      s.verText = QStringLiteral("%1.%2").arg(s.verMajor).arg(s.verMinor);
      s.dataCode = codeOf(n);
    } else {
      s.verMajor = 0;
      s.verText.clear();
    }
    sys.registerDataSet(s);
    fixtures::DataSetSpec o = s;
    o.groupId = OtherGroup;
    o.listName = QStringLiteral("他グループ %1").arg(n);
    o.shougou = o.listName;
    o.dataCode = QStringLiteral("Z%1").arg(n);
    sys.registerDataSet(o);
  }
}

}  // namespace manydata
