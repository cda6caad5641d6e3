#include "common/AccSikinGuriCmp.h"

#include <iterator>

TCashFlowItemList CashFlowItemList;

namespace {

struct Row {
  const char16_t* code;
  const char16_t* name;
  const char16_t* section;
};

const char16_t kKeijo[] = u"（経常収支）";
const char16_t kSetubi[] = u"（設備等収支）";
const char16_t kZaimu[] = u"（財務収支）";

const Row kGeneral[] = {
    {u"0", u"－", u""},
    {u"11", u"現金売上", u""},
    {u"12", u"売掛金回収", u""},
    {u"13", u"受取手形期日落", u""},
    {u"14", u"未収入金", u""},
    {u"15", u"前受金", u""},
    {u"16", u"受取利息・配当金", u""},
    {u"17", u"その他営業外収入", u""},
    {u"18", u"その他の収入", kKeijo},
    {u"19", u"現金仕入", u""},
    {u"20", u"買掛金支払", u""},
    {u"21", u"支払手形決済", u""},
    {u"22", u"未払金・未払費用", u""},
    {u"23", u"前渡金", u""},
    {u"24", u"材料費", u""},
    {u"25", u"製造経費", u""},
    {u"26", u"人件費", u""},
    {u"27", u"販売費・一般管理費", u""},
    {u"28", u"支払利息割引料", u""},
    {u"29", u"その他営業外支出", u""},
    {u"30", u"その他の支出", kKeijo},
    {u"31", u"固定資産売却", u""},
    {u"32", u"その他の収入", kSetubi},
    {u"33", u"固定資産購入", u""},
    {u"34", u"投資等支出", u""},
    {u"35", u"法人税等", u""},
    {u"36", u"その他の支出", kSetubi},
    {u"37", u"手形割引", u""},
    {u"38", u"短期借入金", u""},
    {u"39", u"長期借入金", u""},
    {u"40", u"定期性預金取崩", u""},
    {u"41", u"貸付金等回収", u""},
    {u"42", u"その他の収入", kZaimu},
    {u"43", u"短期借入金返済", u""},
    {u"44", u"長期借入金返済", u""},
    {u"45", u"定期性預金預入", u""},
    {u"46", u"貸付金等", u""},
    {u"47", u"その他の支出", kZaimu},
    {u"99", u"流動性現預金", u""},
};

const Row kMedical[] = {
    {u"0", u"－", u""},
    {u"11", u"窓口収入", u""},
    {u"12", u"医業未収金回収", u""},
    {u"13", u"未収金", u""},
    {u"14", u"前受金", u""},
    {u"15", u"受取利息・配当金", u""},
    {u"16", u"その他医業外収入", u""},
    {u"17", u"その他の収入", kKeijo},
    {u"18", u"給与費", u""},
    {u"19", u"材料費", u""},
    {u"20", u"委託費", u""},
    {u"21", u"設備関係費", u""},
    {u"22", u"研究研修費", u""},
    {u"23", u"経費", u""},
    {u"24", u"買掛金支払", u""},
    {u"25", u"支払手形決済", u""},
    {u"26", u"未払金・未払費用", u""},
    {u"27", u"前渡金", u""},
    {u"28", u"支払利息割引料", u""},
    {u"29", u"その他医業外支出", u""},
    {u"30", u"その他の支出", kKeijo},
    {u"31", u"固定資産売却", u""},
    {u"32", u"その他の収入", kSetubi},
    {u"33", u"固定資産購入", u""},
    {u"34", u"投資等支出", u""},
    {u"35", u"その他の支出", kSetubi},
    {u"36", u"短期借入金", u""},
    {u"37", u"長期借入金", u""},
    {u"38", u"定期性預金取崩", u""},
    {u"39", u"貸付金等回収", u""},
    {u"40", u"その他の収入", kZaimu},
    {u"41", u"短期借入金返済", u""},
    {u"42", u"長期借入金返済", u""},
    {u"43", u"定期性預金預入", u""},
    {u"44", u"貸付金等", u""},
    {u"45", u"法人税等", u""},
    {u"46", u"その他の支出", kZaimu},
    {u"99", u"流動性現預金", u""},
};

template <std::size_t N>
void fill(const Row (&rows)[N])
{
  CashFlowItemList.clear();
  CashFlowItemList.reserve(N);
  for (const Row& r : rows)
    CashFlowItemList.push_back({QString::fromUtf16(r.code), QString::fromUtf16(r.name), QString::fromUtf16(r.section)});
}

}  // namespace

void pcSetCashFlowItemList(bool AMedical)
{
  if (AMedical)
    fill(kMedical);
  else
    fill(kGeneral);
}
