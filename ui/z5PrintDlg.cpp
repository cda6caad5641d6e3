#include "ui/z5PrintDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QResizeEvent>

#include "common/MessageHook.h"
#include "ui/ModalResult.h"
#include "ui/ScreenCursor.h"
#include "ui/xCheckBox.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"
#include "ui/xRadioButton.h"
#include "ui/z5PrnColorSet.h"

namespace {

constexpr int kWidth = 420;
constexpr int kDesignHeight = 300;
constexpr int kBottomHeight = 110;

}  // namespace

TPrintDlgBox::TPrintDlgBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setObjectName(QStringLiteral("PrintDlgBox"));
  setFixedSize(kWidth, kDesignHeight);
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  // Closing only hides the form; the caller frees it.
  SetManualFree(true);

  lblMain = new QLabel(QStringLiteral(u"メッセージ"), this);
  lblMain->setGeometry(16, 12, 388, 36);
  lblMain->setWordWrap(true);
  lblMain->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  lblColor = new QLabel(QStringLiteral(u"色指定:"), this);
  lblColor->setGeometry(20, 64, 70, 17);
  grpColor = new QGroupBox(this);
  grpColor->setGeometry(96, 54, 196, 36);
  btnMono = new TxRadioButton(QStringLiteral(u"白黒印刷"), grpColor);
  btnMono->setGeometry(8, 8, 86, 20);
  btnMono->setChecked(true);
  btnColor = new TxRadioButton(QStringLiteral(u"カラー印刷"), grpColor);
  btnColor->setGeometry(98, 8, 94, 20);
  btnColorSet = fnNewPlButton(this, QStringLiteral("btnColorSet"), QStringLiteral(u"色選択"), QRect(302, 60, 90, 26));
  connect(btnColorSet, &TxPlButton::clicked, this, [this] { btnColorSetClick(); });

  lblStartPage = new QLabel(QStringLiteral(u"開始ﾍﾟｰｼﾞ:"), this);
  lblStartPage->setGeometry(20, 104, 74, 17);
  txtStartPage = new TxEdit(this);
  txtStartPage->setObjectName(QStringLiteral("txtStartPage"));
  txtStartPage->setGeometry(96, 102, 60, 21);
  txtStartPage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  txtStartPage->setImeDisabled(true);
  txtStartPage->setText(QStringLiteral("1"));

  chkBoth = new TxCheckBox(this);
  chkBoth->setText(QStringLiteral(u"両面印刷用に余白を調整する"));
  chkBoth->setGeometry(96, 132, 260, 20);

  pnlBottom = new QWidget(this);
  pnlBottom->setGeometry(0, kDesignHeight - kBottomHeight, kWidth, kBottomHeight);
  HintArea = new QPlainTextEdit(pnlBottom);
  HintArea->setGeometry(16, 0, 388, 60);
  HintArea->setReadOnly(true);
  HintArea->setFocusPolicy(Qt::NoFocus);
  btnPreview =
      fnNewPlButton(pnlBottom, QStringLiteral("btnPreview"), QStringLiteral(u"プレビュー"), QRect(16, 72, 90, 26));
  btnCopy = fnNewPlButton(pnlBottom, QStringLiteral("btnCopy"), QStringLiteral(u"コピー"), QRect(112, 72, 90, 26));
  btnOK = fnNewPlButton(pnlBottom, QStringLiteral("btnOK"), QStringLiteral("OK"), QRect(218, 72, 90, 26));
  btnCancel = fnNewCancelPlButton(pnlBottom, QRect(314, 72, 90, 26));
  for (TxPlButton* b : {btnPreview, btnCopy, btnOK}) {
    b->setModalResult(mrOk);
    connect(b, &TxPlButton::clicked, this, [this, b] { btnOKClick(b); });
  }

  HintObject = HintArea;
  FMainCaptionColor = palette().color(QPalette::WindowText);
  pcInitDefaultPrintRec(FOwnRec);
  InitFlg = true;
}

TPrintDlgBox::~TPrintDlgBox() = default;

TDefaultPrintRec& TPrintDlgBox::record()
{
  return FDefaultPrintRec ? *FDefaultPrintRec : FOwnRec;
}

void TPrintDlgBox::InitDefRecord(TDefaultPrintRec& APrintRec)
{
  pcInitDefaultPrintRec(APrintRec);
}

void TPrintDlgBox::SetOKButtonToF12()
{
  Child_OKButton = btnOK;
}

int TPrintDlgBox::fnStartPageOf(const QString& AText)
{
  bool ok = false;
  const int page = AText.trimmed().toInt(&ok);
  return ok && page >= 1 ? page : 1;
}

void TPrintDlgBox::SetPrepare(bool AValue)
{
  FPrepare = AValue;
  SetHintText();
  SetDisplay();
  FirstTimeFlg = false;
}

void TPrintDlgBox::SetDisplay()
{
  FPrintResult = jxprNone;
  setWindowTitle(FWindowTitle);
  lblMain->setText(FMainCaption);
  QPalette pal = lblMain->palette();
  pal.setColor(QPalette::WindowText, FMainCaptionColor);
  lblMain->setPalette(pal);
  lblColor->setVisible(FColorArea);
  grpColor->setVisible(FColorArea);
  btnColorSet->setVisible(FColorArea);
  lblStartPage->setVisible(FStartPageArea);
  txtStartPage->setVisible(FStartPageArea);
  chkBoth->setVisible(FBothArea);
  btnPreview->setVisible(FPreviewButton);
  btnCopy->setVisible(FCopyButton);
  if (FirstTimeFlg) {
    int h = height();
    if (FColorArea)
      h = 250;
    if (FStartPageArea || FBothArea)
      h = 300;
    setFixedSize(width(), h);
  }
  GetStyleColorRec();
  HozonFukugen(QStringLiteral("Fukugen"));
}

void TPrintDlgBox::SetHintText()
{
  btnMono->setToolTip(QStringLiteral(u"白黒で印刷する場合に選択します。|白黒で印刷する場合に選択します。"));
  btnColor->setToolTip(
      QStringLiteral(u"色付きで印刷する場合に選択します。|色付きで印刷する場合に選択します。\r\n"
                     u"「色選択」ﾎﾞﾀﾝを押すと好みの色に変更できます。"));
  btnColorSet->setToolTip(QStringLiteral(
      u"「色選択」画面を開きます。|「色選択」画面を開きます。\r\n「ｶﾗｰ印刷」を行う場合の色を指定します。"));
  txtStartPage->setToolTip(QStringLiteral(u"1ﾍﾟｰｼﾞ目のﾍﾟｰｼﾞ番号を指定します。|1ﾍﾟｰｼﾞ目のﾍﾟｰｼﾞ番号を指定します。"));
  chkBoth->setToolTip(
      QStringLiteral(u"偶数ﾍﾟｰｼﾞの余白を右側に取る場合にﾁｪｯｸします。|偶数ﾍﾟｰｼﾞの余白を右側に取る場合にﾁｪｯｸします。\r\n"
                     u"両面への印刷は「印刷」ﾎﾞﾀﾝ押下後に表示する「印刷」画面で「ﾌﾟﾛﾊﾟﾃｨ」ﾎﾞﾀﾝを押して設定します。"));
  btnPreview->setToolTip(QStringLiteral(u"帳票の印刷ｲﾒｰｼﾞを画面に表示します。|帳票の印刷ｲﾒｰｼﾞを画面に表示します。"));
  btnCopy->setToolTip(
      QStringLiteral(u"帳票の情報をｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします。|帳票の情報をｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします。\r\n"
                     u"ｺﾋﾟｰした情報はﾜｰﾌﾟﾛｿﾌﾄ、表計算ｿﾌﾄで貼り付けられます。"));
  btnOK->setToolTip(QStringLiteral(u"帳票を印刷します。|帳票を印刷します。"));
  btnCancel->setToolTip(QStringLiteral(u"印刷を取り止めます。|印刷を取り止めます。"));
}

void TPrintDlgBox::HozonFukugen(const QString& AText)
{
  TDefaultPrintRec& rec = record();
  if (AText.compare(QStringLiteral("Hozon"), Qt::CaseInsensitive) == 0) {
    FOptionList.clear();
    if (FColorArea && rec.ColorKbn == 1)
      FOptionList << QStringLiteral("C010=1");
    if (FBothArea && rec.Both)
      FOptionList << QStringLiteral("C020=1");
    QString text;
    for (const QString& line : FOptionList)
      text += line + QStringLiteral("\r\n");
    rec.Sonota = text;
  } else if (AText.compare(QStringLiteral("Fukugen"), Qt::CaseInsensitive) == 0) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    FOptionList = rec.Sonota.split(breaks);
    if (!FOptionList.isEmpty() && FOptionList.last().isEmpty())
      FOptionList.removeLast();
    if (FColorArea && fnOptionValue(rec.Sonota, QStringLiteral("C010")) == QLatin1String("1")) {
      rec.ColorKbn = 1;
      btnColor->setChecked(true);
    }
    if (FBothArea && fnOptionValue(rec.Sonota, QStringLiteral("C020")) == QLatin1String("1")) {
      rec.Both = true;
      chkBoth->setChecked(true);
    }
  }
}

void TPrintDlgBox::GetStyleColorRec()
{
  if (!FUserColorUse || record().PrintName.isEmpty())
    return;
  TPrintStyleStore store;
  store.Read(record());  // reports its own failure; the record keeps its values
}

bool TPrintDlgBox::PutStyleColorRec()
{
  if (!FUserColorUse || record().PrintName.isEmpty())
    return true;
  TPrintStyleStore store;
  store.Write(record());  // reports its own failure
  return false;
}

void TPrintDlgBox::btnOKClick(TxPlButton* ASender)
{
  TDefaultPrintRec& rec = record();
  rec.ColorKbn = btnColor->isChecked() ? 1 : 0;
  rec.StartPage = fnStartPageOf(txtStartPage->text());
  rec.Both = chkBoth->isChecked();
  HozonFukugen(QStringLiteral("Hozon"));
  if (ASender == btnPreview)
    FPrintResult = jxprPreview;
  else if (ASender == btnCopy)
    FPrintResult = jxprCopy;
  else
    FPrintResult = jxprPrint;
  pcSetFormModalResult(this, mrOk);
}

void TPrintDlgBox::btnColorSetClick()
{
  TDefaultPrintRec& rec = record();
  TPrnColorSetBox dlg(this);
  dlg.SetProcType(FUserColorUse ? 1 : 0);
  dlg.SetLineColor1(rec.LineColor1);
  dlg.SetLineColor2(rec.LineColor2);
  dlg.SetNetColor1(rec.NetColor1);
  dlg.SetNetColor2(rec.NetColor2);
  dlg.SetDaialogShowPlace(0, 0, 0, 0, dsOwnerCenter);
  dlg.SetPrepare(true);
  if (dlg.exec() != mrOk)
    return;
  rec.LineColor1 = dlg.LineColor1();
  rec.LineColor2 = dlg.LineColor2();
  rec.NetColor1 = dlg.NetColor1();
  rec.NetColor2 = dlg.NetColor2();
  PutStyleColorRec();
}

void TPrintDlgBox::FormShow()
{
  TBSDI::FormShow();
  if (!InitFlg) {
    MessageHook().ShowMessageDlg(
        QStringLiteral(u"%1画面の初期化に失敗しました。\r処理を終了します。").arg(windowTitle()), mtError, mbYes);
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

void TPrintDlgBox::FormClose()
{
  TBSDI::FormClose();
  // Whatever closed the dialog, the operator's colours and options of the
  // form are kept.
  PutStyleColorRec();
}

bool TPrintDlgBox::event(QEvent* AEvent)
{
  if (AEvent->type() == QEvent::WindowActivate) {
    if (isVisible())
      btnOK->setFocus(Qt::ActiveWindowFocusReason);
    pcSetScreenCursor(Qt::ArrowCursor);
  }
  return TBSDI::event(AEvent);
}

void TPrintDlgBox::resizeEvent(QResizeEvent* AEvent)
{
  // The hint area and the buttons stay at the bottom of the window.
  pnlBottom->move(0, height() - pnlBottom->height());
  TBSDI::resizeEvent(AEvent);
}
