#include "ui/z5PrnColorSet.h"

#include <QColorDialog>
#include <QFrame>
#include <QMouseEvent>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "common/PrintStyleStore.h"
#include "ui/ModalResult.h"
#include "ui/ScreenCursor.h"
#include "ui/xPlButton.h"

void TLinkLabel::mouseReleaseEvent(QMouseEvent* AEvent)
{
  QLabel::mouseReleaseEvent(AEvent);
  if (AEvent->button() == Qt::LeftButton && rect().contains(AEvent->position().toPoint()) && OnClick)
    OnClick();
}

namespace {

const char* const kRowCaptions[] = {"枠線:", "縦横線:", "見出し行:", "合計行:"};

std::array<TColor, 4> defaultColors()
{
  return {SystemDef.LineColor1, SystemDef.LineColor2, SystemDef.NetColor1, SystemDef.NetColor2};
}

}  // namespace

TPrnColorSetBox::TPrnColorSetBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setObjectName(QStringLiteral("PrnColorSetBox"));
  setWindowTitle(QStringLiteral(u"帳票色の選択"));
  setFixedSize(290, 226);
  // The caller frees the form.
  SetManualFree(true);

  for (int i = 0; i < 4; ++i) {
    const int y = 16 + i * 32;
    lblRow[i] = new QLabel(QString::fromUtf8(kRowCaptions[i]), this);
    lblRow[i]->setGeometry(20, y + 4, 76, 17);
    auto* sample = new QFrame(this);
    sample->setObjectName(QStringLiteral("pnlColor%1").arg(i + 1));
    sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sample->setLineWidth(1);
    sample->setAutoFillBackground(true);
    sample->setGeometry(100, y, 90, 24);
    pnlSample[i] = sample;
    TxPlButton* change =
        fnNewPlButton(this, QStringLiteral("btnChange%1").arg(i + 1), QStringLiteral(u"変更"), QRect(198, y, 70, 24));
    change->setTabStop(false);
    change->setFocusPolicy(Qt::NoFocus);
    change->setProperty("Tag", i);
    connect(change, &TxPlButton::clicked, this, [this, i] { btnChangeClick(i); });
    btnChange[i] = change;
  }

  lblDefault = new TLinkLabel(QStringLiteral(u"環境設定の色に戻す"), this);
  lblDefault->setGeometry(20, 148, 200, 17);
  lblDefault->setCursor(Qt::PointingHandCursor);
  QFont underlined = lblDefault->font();
  underlined.setUnderline(true);
  lblDefault->setFont(underlined);
  lblDefault->OnClick = [this] { lblDefaultClick(); };

  btnOK = fnNewPlButton(this, QStringLiteral("btnOK"), QStringLiteral("OK"), QRect(84, 184, 90, 26));
  btnOK->setModalResult(mrOk);
  connect(btnOK, &TxPlButton::clicked, this, [this] { btnOKClick(); });
  btnCancel = fnNewCancelPlButton(this, QRect(182, 184, 90, 26));

  ColorDialog = new QColorDialog(this);
  ColorDialog->setOption(QColorDialog::DontUseNativeDialog, true);

  Child_OKButton = btnOK;
  FColors = defaultColors();
  for (int i = 0; i < 4; ++i)
    setSample(i, FColors[std::size_t(i)]);
  InitFlg = true;
}

TPrnColorSetBox::~TPrnColorSetBox() = default;

void TPrnColorSetBox::setColor(int ARow, TColor AValue)
{
  FColors[std::size_t(ARow)] = AValue;
  setSample(ARow, AValue);
}

void TPrnColorSetBox::setSample(int ARow, TColor AValue)
{
  FSampleColors[std::size_t(ARow)] = AValue;
  QPalette pal = pnlSample[ARow]->palette();
  pal.setColor(QPalette::Window, toQColor(ColorToRGB(AValue)));
  pnlSample[ARow]->setPalette(pal);
}

void TPrnColorSetBox::setLinkColor(const QColor& AColor)
{
  QPalette pal = lblDefault->palette();
  pal.setColor(QPalette::WindowText, AColor);
  lblDefault->setPalette(pal);
}

void TPrnColorSetBox::SetPrepare(bool AValue)
{
  FPrepare = AValue;
  for (int i = 0; i < 4; ++i)
    setSample(i, FColors[std::size_t(i)]);
  setLinkColor(QColor(0, 0, 255));
  lblDefault->setVisible(FProcType == 1);
  const TCustomColors custom = fnReadCustomColors(SystemDef.OPCODE);
  for (int i = 0; i < CustomColorCount; ++i)
    QColorDialog::setCustomColor(i, toQColor(custom[std::size_t(i)]));
  FirstTimeFlg = false;
}

void TPrnColorSetBox::btnChangeClick(int ATag)
{
  if (ATag < 0 || ATag > 3)
    return;
  ColorDialog->setCurrentColor(toQColor(ColorToRGB(FSampleColors[std::size_t(ATag)])));
  if (ColorDialog->exec() == QDialog::Accepted)
    setSample(ATag, fromQColor(ColorDialog->selectedColor()));
}

void TPrnColorSetBox::lblDefaultClick()
{
  if (FProcType != 1)
    return;
  if (MessageHook().ShowMessageDlg(QStringLiteral(u"帳票の色を環境設定の色に戻します。\r\nよろしいですか？"),
                                   mtConfirmation, mbYes | mbNo) != mrYes)
    return;
  setLinkColor(QColor(128, 0, 128));
  // The samples show the defaults; the colours themselves change on OK.
  const std::array<TColor, 4> defaults = defaultColors();
  for (int i = 0; i < 4; ++i)
    setSample(i, defaults[std::size_t(i)]);
}

void TPrnColorSetBox::btnOKClick()
{
  if (FProcType == 0) {
    // The defaults are the operator's only once they are stored: a failed
    // write leaves them as they were and the dialog open with the choice.
    const TSystemDef before = SystemDef;
    SystemDef.LineColor1 = FSampleColors[0];
    SystemDef.LineColor2 = FSampleColors[1];
    SystemDef.NetColor1 = FSampleColors[2];
    SystemDef.NetColor2 = FSampleColors[3];
    bool stored = false;
    if (DM)
      stored = DM->fnPutSysdef();  // reports its own failure
    else
      MessageHook().ShowMessageDlg(
          QStringLiteral(u"システム情報の書き込みに失敗しました。\r現在のシステム設定は保存されません。"), mtError,
          mbOK);
    if (!stored) {
      SystemDef.LineColor1 = before.LineColor1;
      SystemDef.LineColor2 = before.LineColor2;
      SystemDef.NetColor1 = before.NetColor1;
      SystemDef.NetColor2 = before.NetColor2;
      pcSetFormModalResult(this, mrNone);
      return;
    }
  }
  FColors = FSampleColors;
  pcSetFormModalResult(this, mrOk);
}

void TPrnColorSetBox::FormShow()
{
  TBSDI::FormShow();
  if (!InitFlg) {
    MessageHook().ShowMessageDlg(
        QStringLiteral(u"%1画面の初期化に失敗しました。\r処理を終了します。").arg(windowTitle()), mtError, mbYes);
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

void TPrnColorSetBox::FormClose()
{
  TBSDI::FormClose();
  // The custom colours are the operator's whatever closed the dialog; before
  // a preparation the colour dialog holds nobody's colours.
  if (!FPrepare)
    return;
  TCustomColors custom;
  for (int i = 0; i < CustomColorCount; ++i)
    custom[std::size_t(i)] = fromQColor(QColorDialog::customColor(i));
  pcStoreCustomColors(SystemDef.OPCODE, custom);
}

bool TPrnColorSetBox::event(QEvent* AEvent)
{
  if (AEvent->type() == QEvent::WindowActivate) {
    if (isVisible())
      btnOK->setFocus(Qt::ActiveWindowFocusReason);
    pcSetScreenCursor(Qt::ArrowCursor);
  }
  return TBSDI::event(AEvent);
}
