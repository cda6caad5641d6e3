#pragma once
// Process-wide tables that say where things stand in the balance table and
// which account codes delimit the statement sections of the standard chart of
// accounts. pcSetKamokuCodeTable switches the total-line map and the code
// table between the general and the medical-corporation layout whenever a
// data set is opened.

#include <array>
#include <cstdint>

#include <QString>

// First balance-table row of the account rows (rows below hold total lines).
inline constexpr int FirstAccountRowGeneral = 51;
inline constexpr int FirstAccountRowMedical = 61;
inline constexpr int FirstAccountRow(bool AMedical)
{
  return AMedical ? FirstAccountRowMedical : FirstAccountRowGeneral;
}

// Month ordinal (1..12 from the fiscal start) of each period index 0..15; the
// quarter-end closing periods give the quarter's last month.
inline constexpr std::array<int, 16> KikanToTukiNo = {1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11, 12, 12};

// Row numbers of the statement total lines: 45 line slots of two row numbers
// (first, second) and 25 single slots of one row number; 0 means "no row".
// Slots are numbered from 1 (element 0 is unused and always 0).
struct TTotalLineRows {
  std::array<std::array<std::uint16_t, 2>, 46> Line{};
  std::array<std::uint16_t, 26> Single{};

  std::uint16_t first(int ALine) const { return Line.at(ALine)[0]; }
  std::uint16_t second(int ALine) const { return Line.at(ALine)[1]; }
};

extern TTotalLineRows TotalLineRows;

// Four-digit account codes, entries 1..150 ("****" for an entry the layout
// does not use); element 0 is unused.
using TKamokuCodeTable = std::array<QString, 151>;
extern TKamokuCodeTable KamokuCodeTable;

// Sets the medical-corporation layout (true) or the general layout (false) of
// TotalLineRows and KamokuCodeTable; the result never depends on the layout
// set before.
void pcSetKamokuCodeTable(bool AMedical);
