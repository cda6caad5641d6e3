#include "ui/DMEditRepository.h"

#include "common/DataModule.h"

namespace {

using TItem = TDMEditRepository::TItem;

TItem make(TcxEditProperties AProps)
{
  return std::make_shared<const TcxEditProperties>(std::move(AProps));
}

// An amount: right-aligned, input method off, whole units.
TcxEditProperties amount(const char* AFormat, int AMaxLength, double ARange, const char* ANullText)
{
  TcxEditProperties p;
  p.Kind = TcxEditKind::Currency;
  p.AlignHorz = Qt::AlignRight;
  p.ImeMode = TcxImeMode::Off;
  p.DisplayFormat = QString::fromLatin1(AFormat);
  p.MaxLength = AMaxLength;
  p.MinValue = -ARange;
  p.MaxValue = ARange;
  if (ANullText) {
    p.Nullable = false;
    p.NullString = QString::fromLatin1(ANullText);
  }
  return p;
}

// A percentage with ADecimals decimals, at most 100.
TcxEditProperties percentage(int ADecimals, const char* AFormat, double AMinValue, bool AWhileEditing)
{
  TcxEditProperties p;
  p.Kind = TcxEditKind::Currency;
  p.AlignHorz = Qt::AlignRight;
  p.ImeMode = TcxImeMode::Off;
  p.DecimalPlaces = ADecimals;
  p.DisplayFormat = QString::fromLatin1(AFormat);
  if (AWhileEditing)
    p.EditFormat = p.DisplayFormat;
  p.MinValue = AMinValue;
  p.MaxValue = 100;
  return p;
}

// A code: centred, input method off; its length from the open data's code
// lengths when ALength is given.
TcxEditProperties code(Qt::Alignment AAlign, int AMaxLength, int TDM::TEditRepoLengths::*ALength, bool AAllowEmpty)
{
  TcxEditProperties p;
  p.Kind = TcxEditKind::Text;
  p.AlignHorz = AAlign;
  p.ImeMode = TcxImeMode::Off;
  p.MaxLength = AMaxLength;
  if (ALength)
    p.MaxLengthProc = [ALength, AMaxLength] { return DM ? DM->cxEditRepoLengths.*ALength : AMaxLength; };
  p.AllowEmpty = AAllowEmpty;
  return p;
}

TcxEditProperties text(int AMaxLength, bool AAllowEmpty)
{
  TcxEditProperties p;
  p.Kind = TcxEditKind::Text;
  p.ImeMode = TcxImeMode::Hiragana;
  p.MaxLength = AMaxLength;
  p.AllowEmpty = AAllowEmpty;
  return p;
}

TcxEditProperties mask(const char* AMask, Qt::Alignment AAlign, bool AAutoSelect, bool ADateCheck)
{
  TcxEditProperties p;
  p.Kind = TcxEditKind::MaskEdit;
  p.AlignHorz = AAlign;
  p.EditMask = QString::fromLatin1(AMask);
  p.AutoSelect = AAutoSelect;
  if (ADateCheck)
    p.OnValidate = &TDM::cxEditRepo_Text_Hizuke6PropertiesValidate;
  return p;
}

TcxEditProperties check(bool AReadOnly)
{
  TcxEditProperties p;
  p.Kind = TcxEditKind::CheckBox;
  p.AlignHorz = Qt::AlignHCenter;
  p.ReadOnly = AReadOnly;
  return p;
}

TcxEditProperties label(Qt::Alignment AAlign)
{
  TcxEditProperties p;
  p.Kind = TcxEditKind::Label;
  p.AlignHorz = AAlign;
  p.ReadOnly = true;
  return p;
}

}  // namespace

TDMEditRepository::TDMEditRepository()
{
  cxEditRepo_Curr_Kingaku11 = make(amount("#,##0;-#,##0", 11, 99999999999.0, "0"));
  cxEditRepo_Curr_Kingaku10 = make(amount("#,##0;-#,##0", 10, 9999999999.0, nullptr));
  cxEditRepo_Curr_Kingaku9 = make(amount("#,##0;-#,##0", 9, 999999999.0, "0"));
  cxEditRepo_Curr_Kingaku8 = make(amount("#,##0;-#,##0", 8, 99999999.0, "0"));
  cxEditRepo_Curr_KingakuNonZero = make(amount("#,###;-#,###", 10, 9999999999.0, nullptr));
  {
    TcxEditProperties p = amount("#,##0;-#,##0", 0, 0, nullptr);
    p.ReadOnly = true;
    cxEditRepo_Curr_KingakuRO = make(p);
  }
  cxEditRepo_Curr_WariaiP1 = make(percentage(1, "0.0;-0.0", 0, true));
  {
    TcxEditProperties p = percentage(1, "0.0;-0.0", 0, true);
    p.OnValidate = &TDM::cxEditRepo_Curr_WariaiP1_PlusPropertiesValidate;
    cxEditRepo_Curr_WariaiP1_Plus = make(p);
  }
  cxEditRepo_Curr_WariaiP2 = make(percentage(2, "0.00;-0.00", 0, false));
  cxEditRepo_Curr_WariaiP3 = make(percentage(3, "0.000;-0.000", 0, false));

  using L = TDM::TEditRepoLengths;
  cxEditRepo_Text_KCODE = make(code(Qt::AlignHCenter, 4, &L::KCODE, false));
  cxEditRepo_Text_HCODE = make(code(Qt::AlignHCenter, 4, &L::HCODE, false));
  cxEditRepo_Text_BCODE = make(code(Qt::AlignHCenter, 4, &L::BCODE, false));
  cxEditRepo_Text_SCODE = make(code(Qt::AlignHCenter, 2, &L::SCODE, false));
  cxEditRepo_Text_TCODE = make(code(Qt::AlignHCenter, 3, nullptr, true));
  cxEditRepo_Text_Syohyo = make(code(Qt::AlignRight, 6, &L::Syohyo, false));
  cxEditRepo_Text_Name = make(text(28, false));
  cxEditRepo_Text_Tekiyo = make(text(50, true));
  cxEditRepo_Text_Torihikisaki = make(text(40, true));

  {
    TcxEditProperties p = mask("!99/00;1;_", Qt::AlignLeft, true, false);
    p.ImeMode = TcxImeMode::Off;
    cxEditRepo_Text_MMDD = make(p);
  }
  cxEditRepo_Text_Hizuke6 = make(mask("!99/99/00;1; ", Qt::AlignHCenter, false, true));
  cxEditRepo_Text_Hizuke4 = make(mask("!99/00;1; ", Qt::AlignHCenter, false, true));
  cxEditRepo_Text_Hizuke2 = make(mask("!00;1; ", Qt::AlignHCenter, true, true));
  cxEditRepo_Text_Seireki = make(mask("!0000;1; ", Qt::AlignRight, true, false));
  cxEditRepo_Text_Wareki = make(mask("!00;1; ", Qt::AlignRight, true, false));

  {
    TcxEditProperties p;
    p.Kind = TcxEditKind::ComboBox;
    p.ImeMode = TcxImeMode::Off;
    p.ComboItemsProc = [] { return DM ? DM->cxEditRepo_Combo_Gengo_Items : QStringList(); };
    cxEditRepo_Combo_Gengo = make(p);
  }
  {
    TcxEditProperties p;
    p.Kind = TcxEditKind::ComboBox;
    p.AlignHorz = Qt::AlignHCenter;
    p.ComboItems = {QStringLiteral("（未選択）"), QStringLiteral("借＋"), QStringLiteral("借－"),
                    QStringLiteral("貸＋"), QStringLiteral("貸－")};
    cxEditRepo_Combo_KamokuTaisyaku = make(p);
  }

  cxEditRepo_Check = make(check(false));
  cxEditRepo_Check_Gray = make(check(true));
  cxEditRepo_Check_noImg = make(check(false));

  cxEditRepo_Label_Center = make(label(Qt::AlignHCenter));
  cxEditRepo_Label_Left = make(label(Qt::AlignLeft));
  cxEditRepo_Label_Right = make(label(Qt::AlignRight));
}

const TDMEditRepository& fnDMEditRepository()
{
  static const TDMEditRepository repository;
  return repository;
}
