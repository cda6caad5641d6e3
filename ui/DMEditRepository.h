#pragma once
// The data module's edit repository: the shared editor items that the grids
// of the data dialogs give their columns (TxGridColumn::RepositoryItem).
// Amounts are right-aligned with the input method off; codes are centred
// with the input method off and follow the code lengths of the open data
// (TDM::cxEditRepoLengths); date masks are checked by the data module's
// date check and the percentage item by its percentage check. The picture
// items live beside the picture lists (DMImageLists.h).
//
// The picture check box (cxEditRepo_Check) and the plain one
// (cxEditRepo_Check_noImg) both draw the platform's check box.

#include <memory>

#include "ui/xGridBands.h"

struct TDMEditRepository {
  TDMEditRepository();

  using TItem = std::shared_ptr<const TcxEditProperties>;

  // Amounts.
  TItem cxEditRepo_Curr_Kingaku11;
  TItem cxEditRepo_Curr_Kingaku10;
  TItem cxEditRepo_Curr_Kingaku9;
  TItem cxEditRepo_Curr_Kingaku8;
  TItem cxEditRepo_Curr_KingakuNonZero;
  TItem cxEditRepo_Curr_KingakuRO;
  TItem cxEditRepo_Curr_WariaiP1;
  TItem cxEditRepo_Curr_WariaiP1_Plus;
  TItem cxEditRepo_Curr_WariaiP2;
  TItem cxEditRepo_Curr_WariaiP3;
  // Codes and texts.
  TItem cxEditRepo_Text_KCODE;
  TItem cxEditRepo_Text_HCODE;
  TItem cxEditRepo_Text_BCODE;
  TItem cxEditRepo_Text_SCODE;
  TItem cxEditRepo_Text_TCODE;
  TItem cxEditRepo_Text_Syohyo;
  TItem cxEditRepo_Text_Name;
  TItem cxEditRepo_Text_Tekiyo;
  TItem cxEditRepo_Text_Torihikisaki;
  // Masks.
  TItem cxEditRepo_Text_MMDD;
  TItem cxEditRepo_Text_Hizuke6;
  TItem cxEditRepo_Text_Hizuke4;
  TItem cxEditRepo_Text_Hizuke2;
  TItem cxEditRepo_Text_Seireki;
  TItem cxEditRepo_Text_Wareki;
  // Fixed lists (the era signs come from the data module's era table).
  TItem cxEditRepo_Combo_Gengo;
  TItem cxEditRepo_Combo_KamokuTaisyaku;
  // Check boxes.
  TItem cxEditRepo_Check;
  TItem cxEditRepo_Check_Gray;
  TItem cxEditRepo_Check_noImg;
  // Labels.
  TItem cxEditRepo_Label_Center;
  TItem cxEditRepo_Label_Left;
  TItem cxEditRepo_Label_Right;

  TDMEditRepository(const TDMEditRepository&) = delete;
  TDMEditRepository& operator=(const TDMEditRepository&) = delete;
};

// The process-wide items, made on first use.
const TDMEditRepository& fnDMEditRepository();
