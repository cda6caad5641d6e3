// The items of the cash-flow table (receipts and payments grouped into the
// ordinary, equipment and financial balances) in the form of the open data:
// one list for medical-corporation accounts, one for all other data.
// Process-wide, main thread only.
#pragma once

#include <vector>

#include <QString>

struct TCashFlowItem {
  QString Code;  // "0" no item, "99" liquid cash and deposits
  QString Name;
  QString Section;  // the section of an "other receipts/payments" row, else empty
};
using TCashFlowItemList = std::vector<TCashFlowItem>;

// Empty when the process starts; replaced as a whole by every call below.
extern TCashFlowItemList CashFlowItemList;

// Fills CashFlowItemList with the 38 medical rows (AMedical) or the 39
// general rows, in table order.
void pcSetCashFlowItemList(bool AMedical);
