#include "acctables/AccGengo.h"

#include <QDate>

TGengoArray GengoTable;

namespace {

struct BuiltInEra {
  const char16_t* name;
  const char16_t* sign;
  const char16_t* start;
};

const BuiltInEra kBuiltInEras[] = {
    {u"令和", u"R", u"2019/05/01"}, {u"平成", u"H", u"1989/01/08"}, {u"昭和", u"S", u"1926/12/25"},
    {u"大正", u"T", u"1912/07/30"}, {u"明治", u"M", u"1868/09/08"},
};

}  // namespace

void pcGengoTableSet()
{
  TGengoArray table;
  table.reserve(std::size(kBuiltInEras));
  for (const BuiltInEra& e : kBuiltInEras) {
    TGengoRec r;
    r.Name = QString::fromUtf16(e.name);
    r.Sign = QString::fromUtf16(e.sign);
    r.StartDate = acccalc::parseProcessDate(QString::fromUtf16(e.start));
    r.YearOffSet = acccalc::splitDate(r.StartDate).y;
    table.push_back(r);
  }
  GengoTable = std::move(table);
}

void pcWarekiHenkan(TWarekiRec& W, TDateTime ADate)
{
  W = TWarekiRec{};
  const acccalc::Ymd s = acccalc::splitDate(ADate);
  if (!(static_cast<double>(ADate) > 0)) {
    W.ee = static_cast<std::uint16_t>(s.y);
    W.mm = static_cast<std::uint16_t>(s.m);
    W.dd = static_cast<std::uint16_t>(s.d);
    return;
  }
  for (const TGengoRec& g : GengoTable) {
    if (g.Name.isEmpty())
      break;
    const int eraYear = s.y - g.YearOffSet + 1;
    if (eraYear < 0)
      continue;
    W.Gengo = g.Name;
    W.GengoSign = g.Sign;
    W.ee = static_cast<std::uint16_t>(eraYear);
    if (!(static_cast<double>(g.StartDate) > static_cast<double>(ADate)))
      break;
  }
  if (W.Gengo.isEmpty())
    W.ee = static_cast<std::uint16_t>(s.y);
  W.mm = static_cast<std::uint16_t>(s.m);
  W.dd = static_cast<std::uint16_t>(s.d);
}

QString fnGengoList(int AKind, TDateTime ADate)
{
  QString text;
  long long last = static_cast<long long>(GengoTable.size()) - 1;
  const double d = static_cast<double>(ADate);
  if (d > 0) {
    double upper = static_cast<double>(acccalc::makeDate(2101, 1, 1));
    for (std::size_t i = 0; i < GengoTable.size(); ++i) {
      const double start = static_cast<double>(GengoTable[i].StartDate);
      if (d < upper && !(start > d))
        last = static_cast<long long>(i);
      upper = start;
    }
  }
  if (AKind != 0 && AKind != 1)
    return text;
  for (long long i = 0; i <= last; ++i) {
    text += (AKind == 0) ? GengoTable[i].Name : GengoTable[i].Sign;
    text += QChar(13);
  }
  return text;
}

void fnGengoList(int AKind, QString& AText)
{
  AText = fnGengoList(AKind);
}
