#include "acctables/AccCodeTable.h"

namespace {

const char* const kGeneralCodes[88] = {
    "1100", "1130", "1180", "1200", "1280", "1300", "1310", "1380", "1390", "1400",  //  1-10
    "1410", "1580", "1600", "1680", "1700", "1710", "1780", "1790", "1800", "1880",  // 11-20
    "1900", "2100", "2180", "2200", "2280", "2300", "2380", "2800", "3100", "3150",  // 21-30
    "3200", "3220", "3270", "3280", "3300", "3380", "3320", "3330", "3340", "3400",  // 31-40
    "3410", "3480", "3500", "3580", "3600", "3680", "3800", "3900", "4100", "4110",  // 41-50
    "4800", "5100", "5200", "5210", "5250", "5300", "5400", "5510", "5520", "5530",  // 51-60
    "5580", "5600", "5680", "5700", "5780", "5790", "5810", "5820", "5880", "5900",  // 61-70
    "6100", "6180", "6200", "7100", "7180", "7200", "7280", "7300", "8100", "8180",  // 71-80
    "8200", "8280", "8290", "8300", "8400", "9900", "5685", "5688",                  // 81-88
};

// Entries 89..142 of the medical-corporation layout.
const char* const kMedicalExtra[54] = {
    "3450", "3460", "3470", "4115", "4180", "4215", "4280", "4315", "4380", "4480",  //  89- 98
    "6110", "6110", "6120", "6180", "6130", "6210", "6180", "6220", "6210", "6230",  //  99-108
    "6280", "6280", "6310", "6310", "6380", "6380", "6410", "6410", "6480", "6480",  // 109-118
    "6510", "6510", "6580", "6580", "6610", "6610", "6680", "6680", "6710", "6710",  // 119-128
    "6780", "6780", "6810", "6810", "6880", "6880", "6900", "6950", "8300", "9280",  // 129-138
    "9380", "9480", "9580", "9600",                                                  // 139-142
};

const QString kUnused = QStringLiteral("****");

void fillCodes(TKamokuCodeTable& t, bool medical, bool medicalExtra)
{
  t[0] = QString();
  for (int i = 1; i <= 88; ++i)
    t[i] = QString::fromLatin1(kGeneralCodes[i - 1]);
  for (int i = 89; i <= 142; ++i)
    t[i] = medicalExtra ? QString::fromLatin1(kMedicalExtra[i - 89]) : kUnused;
  if (medical) {
    t[74] = QStringLiteral("7110");
    t[76] = QStringLiteral("7210");
    t[79] = QStringLiteral("8110");
    t[81] = QStringLiteral("8210");
    t[73] = t[136];
    t[83] = t[137];
    t[85] = t[138];
  }
  // Entries 143..150 repeat other entries of the same layout.
  t[143] = t[21];
  t[144] = t[28];
  t[145] = t[47];
  t[146] = t[48];
  t[147] = medical ? t[142] : t[85];
  t[148] = t[78];
  t[149] = medical ? kUnused : t[58];
  t[150] = medical ? kUnused : t[68];
}

void fillRows(TTotalLineRows& r, bool medical)
{
  r = TTotalLineRows{};
  auto line = [&r](int slot, int first, int second) {
    r.Line[slot] = {static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(second)};
  };
  if (!medical) {
    for (int k = 1; k <= 45; ++k)
      line(k, k, k);
    return;
  }
  for (int k = 1; k <= 13; ++k)
    line(k, k, k);
  line(15, 14, 14);
  line(16, 15, 15);
  line(19, 16, 16);
  line(22, 17, 17);
  for (int k = 1; k <= 3; ++k)
    r.Single[k] = static_cast<std::uint16_t>(17 + k);  // 18..20
  line(23, 21, 21);
  line(24, 22, 22);
  line(26, 23, 23);
  line(27, 24, 24);
  for (int k = 4; k <= 10; ++k)
    r.Single[k] = static_cast<std::uint16_t>(21 + k);  // 25..31
  line(28, 32, 32);
  line(36, 0, 32);
  line(37, 33, 33);
  line(38, 0, 42);
  for (int k = 11; k <= 19; ++k)
    r.Single[k] = static_cast<std::uint16_t>(23 + k);  // 34..42
  for (int k = 39; k <= 43; ++k)
    line(k, k + 4, k + 4);  // 43..47
  line(44, 0, 48);
  r.Single[20] = 48;
  for (int k = 21; k <= 25; ++k)
    r.Single[k] = static_cast<std::uint16_t>(28 + k);  // 49..53
}

TTotalLineRows initialRows()
{
  TTotalLineRows r;
  fillRows(r, false);
  return r;
}

TKamokuCodeTable initialCodes()
{
  // Before any data set is opened: the general layout, with the
  // medical-corporation codes in entries 89..142.
  TKamokuCodeTable t;
  fillCodes(t, false, true);
  return t;
}

}  // namespace

TTotalLineRows TotalLineRows = initialRows();
TKamokuCodeTable KamokuCodeTable = initialCodes();

void pcSetKamokuCodeTable(bool AMedical)
{
  fillRows(TotalLineRows, AMedical);
  fillCodes(KamokuCodeTable, AMedical, AMedical);
}
