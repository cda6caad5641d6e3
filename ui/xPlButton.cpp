#include "ui/xPlButton.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

#include "common/MessageHook.h"
#include "ui/AbacorEditLib.h"
#include "ui/ModalResult.h"

// ---------------------------------------------------------------------------
// Caption line
// ---------------------------------------------------------------------------

TxPlBtnCaption& TxPlBtnCaption::operator=(const TxPlBtnCaption& other)
{
  if (this != &other) {
    FCaption = other.FCaption;
    FAlignment = other.FAlignment;
    FLeft = other.FLeft;
    FRight = other.FRight;
    changed();
  }
  return *this;
}

void TxPlBtnCaption::changed()
{
  if (FOwner)
    FOwner->update();
}

void TxPlBtnCaption::setCaption(const QString& value)
{
  FCaption = value;
  changed();
}

void TxPlBtnCaption::setAlignment(TxPlBtnAlignment value)
{
  FAlignment = value;
  changed();
}

void TxPlBtnCaption::setLeft(int value)
{
  FLeft = value;
  changed();
}

void TxPlBtnCaption::setRight(int value)
{
  FRight = value;
  changed();
}

// ---------------------------------------------------------------------------
// Image
// ---------------------------------------------------------------------------

TxPlBtnImage& TxPlBtnImage::operator=(const TxPlBtnImage& other)
{
  if (this != &other) {
    FKind = other.FKind;
    FPicture = other.FPicture.copy();  // the content, not a shared object
    FLeft = other.FLeft;
    FTop = other.FTop;
    FVisible = other.FVisible;
    FTransParent = other.FTransParent;
    FVertCenter = other.FVertCenter;
    FHorzCenter = other.FHorzCenter;
    repaint();
  }
  return *this;
}

void TxPlBtnImage::repaint()
{
  if (FOwner)
    FOwner->update();
}

void TxPlBtnImage::setBitmap(const QPixmap& bitmap)
{
  FPicture = bitmap.copy();
  FKind = FPicture.isNull() ? pkNone : pkBitmap;
  repaint();
}

void TxPlBtnImage::setIcon(const QPixmap& icon)
{
  FPicture = icon.copy();
  FKind = FPicture.isNull() ? pkNone : pkIcon;
  repaint();
}

void TxPlBtnImage::clearPicture()
{
  FPicture = QPixmap();
  FKind = pkNone;
  repaint();
}

bool TxPlBtnImage::LoadFromFile(const QString& path)
{
  const QString suffix = QFileInfo(path).suffix().toLower();
  QPixmap pm;
  if ((suffix == QLatin1String("bmp") || suffix == QLatin1String("ico")) && pm.load(path)) {
    if (suffix == QLatin1String("bmp"))
      setBitmap(pm);
    else
      setIcon(pm);
  } else {
    clearPicture();
  }
  return !PictureEmpty();
}

void TxPlBtnImage::setLeft(int value)
{
  FHorzCenter = false;
  FLeft = value;
  repaint();
}

void TxPlBtnImage::setTop(int value)
{
  FVertCenter = false;
  FTop = value;
  repaint();
}

void TxPlBtnImage::setVisible(bool value)
{
  FVisible = value;
  repaint();
}

void TxPlBtnImage::setTransParent(bool value)
{
  FTransParent = value;
  repaint();
}

void TxPlBtnImage::setVertCenter(bool value)
{
  FVertCenter = value;
  if (value)
    repaint();
}

void TxPlBtnImage::setHorzCenter(bool value)
{
  FHorzCenter = value;
  if (value)
    repaint();
}

// ---------------------------------------------------------------------------
// Button
// ---------------------------------------------------------------------------

TxPlButton::TxPlButton(QWidget* parent) : QWidget(parent), FImage(this), FCaptionA(this), FCaptionB(this)
{
  FColor = palette().color(QPalette::Button);
  resize(75, 26);
  setAttribute(Qt::WA_Hover, false);
  applyFocusPolicy();
  if (parent) {
    FParentSeen = true;
    FCaptionA.setCaption(objectName());
  }
}

TxPlButton::~TxPlButton()
{
  if (FWatchedForm)
    FWatchedForm->removeEventFilter(this);
}

void TxPlButton::applyFocusPolicy()
{
  if (!FHasFocus)
    setFocusPolicy(Qt::NoFocus);
  else
    setFocusPolicy(FTabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TxPlButton::setButtonStyle(TxPlButtonStyle value)
{
  if (value == FButtonStyle)
    return;
  FButtonStyle = value;
  applyShape();
  update();
}

void TxPlButton::setCancel(bool value)
{
  FCancel = value;
  watchForm();
}

void TxPlButton::setGradation(bool value)
{
  if (value == FGradation)
    return;
  FGradation = value;
  if (value)
    FParentColor = false;
  update();
}

void TxPlButton::setGradBeginColor(const QColor& value)
{
  if (value == FGradBeginColor)
    return;
  FGradBeginColor = value;
  update();
}

void TxPlButton::setGradEndColor(const QColor& value)
{
  if (value == FGradEndColor)
    return;
  FGradEndColor = value;
  update();
}

void TxPlButton::setHasFocus(bool value)
{
  if (value == FHasFocus)
    return;
  FHasFocus = value;
  applyFocusPolicy();
  update();
}

void TxPlButton::setTabStop(bool value)
{
  FTabStop = value;
  applyFocusPolicy();
}

void TxPlButton::setColor(const QColor& value)
{
  FColor = value;
  FParentColor = false;
  update();
}

void TxPlButton::setParentColor(bool value)
{
  FParentColor = value;
  update();
}

void TxPlButton::setImage(const TxPlBtnImage& value)
{
  FImage = value;
  update();
}

void TxPlButton::setCaptionLineSpace(int value)
{
  if (value == FCaptionLineSpace)
    return;
  FCaptionLineSpace = value;
  update();
}

void TxPlButton::setCaptionTop(int value)
{
  FCaptionVertCenter = false;
  if (value == FCaptionTop)
    return;
  FCaptionTop = value;
  update();
}

void TxPlButton::setCaptionVertCenter(bool value)
{
  if (value == FCaptionVertCenter)
    return;
  FCaptionVertCenter = value;
  if (value)
    update();
}

void TxPlButton::setFlatFrameType(TxPlBtnFrameType value)
{
  if (value == FFlatFrameType)
    return;
  FFlatFrameType = value;
  update();
}

void TxPlButton::setRoundDiameter(int value)
{
  if (value == FRoundDiameter)
    return;
  FRoundDiameter = value;
  applyShape();
  update();
}

void TxPlButton::applyShape()
{
  if (!isRound()) {
    clearMask();
    return;
  }
  QPainterPath path;
  const qreal r = FRoundDiameter / 2.0;
  path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), r, r);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

// Cancel buttons watch their form so that Esc reaches them from any control
// that leaves the key unused.
void TxPlButton::watchForm()
{
  QWidget* form = window();
  if (form == this)
    form = nullptr;
  if (form == FWatchedForm)
    return;
  if (FWatchedForm)
    FWatchedForm->removeEventFilter(this);
  FWatchedForm = form;
  if (FWatchedForm)
    FWatchedForm->installEventFilter(this);
}

bool TxPlButton::eventFilter(QObject* watched, QEvent* e)
{
  if (watched == FWatchedForm && e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if (ke->key() == Qt::Key_Escape && FCancel && FHasFocus && fnNoModifier(ke->modifiers()) && isVisible() &&
        isEnabled()) {
      ke->accept();
      Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

bool TxPlButton::event(QEvent* e)
{
  if (e->type() == QEvent::ParentChange) {
    if (parentWidget() && !FParentSeen) {
      FParentSeen = true;
      if (FCaptionA.Caption().isEmpty())
        FCaptionA.setCaption(objectName());
    }
    watchForm();
  } else if (e->type() == QEvent::Show) {
    watchForm();
  }
  return QWidget::event(e);
}

void TxPlButton::Click()
{
  FPressed = false;
  QWidget* form = window();
  if (form != this)
    pcSetFormModalResult(form, FModalResult);
  emit clicked();
  update();
  if (form != this)
    pcApplyModalResult(form);
}

QColor TxPlButton::fnGradientRow(const QColor& begin, const QColor& end, int y, int height)
{
  if (height <= 1)
    return begin;
  auto channel = [&](int b, int e) { return b + (e - b) * y / (height - 1); };
  return QColor(channel(begin.red(), end.red()), channel(begin.green(), end.green()),
                channel(begin.blue(), end.blue()));
}

std::vector<int> TxPlButton::fnEvenPositions(int x, int available, const std::vector<int>& widths)
{
  std::vector<int> out;
  const int n = static_cast<int>(widths.size());
  if (n == 0)
    return out;
  int total = 0;
  for (int w : widths)
    total += w;
  const int gap = n > 1 ? (available - total) / (n - 1) : 0;
  int rest = n > 1 ? (available - total) % (n - 1) : 0;
  for (int w : widths) {
    out.push_back(x);
    x += w + gap;
    if (rest > 0) {
      ++x;
      --rest;
    } else if (rest < 0) {
      --x;
      ++rest;
    }
  }
  return out;
}

void TxPlButton::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  const int w = width();
  const int h = height();

  // Background.
  if (FGradation) {
    if (h == 1) {
      p.setPen(FGradBeginColor);
      p.drawLine(0, 0, w, 0);
    }
    for (int y = 0; h > 1 && y < h; ++y) {
      p.setPen(fnGradientRow(FGradBeginColor, FGradEndColor, y, h));
      p.drawLine(0, y, w, y);
    }
  } else {
    const QColor fill = FParentColor && parentWidget() ? parentWidget()->palette().color(QPalette::Window) : FColor;
    p.fillRect(rect(), fill);
  }

  drawImage(p);

  p.setFont(font());
  const QFontMetrics fm(font());
  const int hA = fm.height();
  const int hB = fm.height();
  const bool hasA = !FCaptionA.Caption().isEmpty();
  const bool hasB = !FCaptionB.Caption().isEmpty();
  int yA;
  if (FCaptionVertCenter) {
    yA = hasB ? (h - 2 * hA - FCaptionLineSpace) / 2 : (h - hA) / 2 + 1;
    if (hasA)
      FCaptionTop = yA;
  } else {
    yA = FCaptionTop;
  }
  drawCaption(p, FCaptionA, yA);
  int yB;
  if (FCaptionVertCenter) {
    if (hasA) {
      yB = yA + hA + FCaptionLineSpace;
    } else {
      yB = (h - hB) / 2;
      FCaptionTop = yB;
    }
  } else {
    yB = hasA ? FCaptionTop + hA + FCaptionLineSpace : FCaptionTop;
  }
  drawCaption(p, FCaptionB, yB);

  drawFrame(p);
  if (FHasFocus && hasFocus())
    drawFocusMark(p);
}

void TxPlButton::drawImage(QPainter& p)
{
  if (!FImage.FVisible || FImage.PictureEmpty())
    return;
  const QPixmap& pic = FImage.FPicture;
  if (FImage.FVertCenter)
    FImage.FTop = (height() - pic.height()) / 2;
  if (FImage.FHorzCenter)
    FImage.FLeft = (width() - pic.width()) / 2;
  const int s = FPressed && FHasFocus ? 1 : 0;
  if (FImage.FKind == TxPlBtnImage::pkBitmap && FImage.FTransParent) {
    QPixmap pm = pic.copy();
    const QColor key = pm.toImage().pixelColor(0, pm.height() - 1);
    pm.setMask(pm.createMaskFromColor(key, Qt::MaskInColor));
    p.drawPixmap(FImage.FLeft, FImage.FTop, pm);
    return;
  }
  if (!isEnabled() && FHasFocus) {
    QStyleOption opt;
    opt.initFrom(this);
    p.drawPixmap(FImage.FLeft + s, FImage.FTop + s, style()->generatedIconPixmap(QIcon::Disabled, pic, &opt));
  } else {
    p.drawPixmap(FImage.FLeft + s, FImage.FTop + s, pic);
  }
}

void TxPlButton::drawCaption(QPainter& p, const TxPlBtnCaption& c, int y)
{
  const QString text = c.Caption();
  if (text.isEmpty())
    return;
  const QFontMetrics fm(p.font());
  TxPlBtnAlignment align = c.Alignment();
  if (align == taEven && text.size() == 1)
    align = taCenter;
  const int s = FPressed && FHasFocus ? 1 : 0;
  const int top = y + s + fm.ascent();

  // Lefts of the pieces to draw.
  std::vector<std::pair<int, QString>> pieces;
  switch (align) {
    case taCenter:
      pieces.emplace_back(width() / 2 - fm.horizontalAdvance(text) / 2, text);
      break;
    case taLeft:
      pieces.emplace_back(c.Left() + 2, text);
      break;
    case taRight:
      pieces.emplace_back(width() - c.Right() - 2 - fm.horizontalAdvance(text), text);
      break;
    case taEven: {
      std::vector<int> widths;
      for (QChar ch : text)
        widths.push_back(fm.horizontalAdvance(ch));
      const int available = width() - c.Left() - c.Right() - 4;
      const auto lefts = fnEvenPositions(c.Left() + 2, available, widths);
      for (int i = 0; i < text.size(); ++i)
        pieces.emplace_back(lefts[i], QString(text[i]));
      break;
    }
  }

  auto drawAll = [&](int dx, const QColor& colour) {
    p.setPen(colour);
    for (const auto& [x, piece] : pieces)
      p.drawText(x + s + dx, top + dx, piece);
  };
  if (isEnabled()) {
    drawAll(0, palette().color(QPalette::Active, QPalette::ButtonText));
  } else if (FHasFocus) {
    drawAll(1, palette().color(QPalette::Active, QPalette::Light));
    drawAll(0, palette().color(QPalette::Active, QPalette::Dark));
  } else {
    drawAll(0, palette().color(QPalette::Disabled, QPalette::ButtonText));
  }
}

void TxPlButton::drawFrame(QPainter& p)
{
  const QRect r = rect();
  p.setBrush(Qt::NoBrush);
  switch (FButtonStyle) {
    case bsNormal:
      if (FPressed) {
        p.setPen(palette().color(QPalette::Dark));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(QColor(128, 128, 128));
        p.drawRect(r.adjusted(1, 1, -2, -2));
      } else {
        qDrawWinButton(&p, r, palette(), false, nullptr);
      }
      break;
    case bsFlat:
      switch (FFlatFrameType) {
        case bffFlat:
          p.setPen(palette().color(QPalette::Dark));
          p.drawRect(r.adjusted(0, 0, -1, -1));
          break;
        case bffEtched:
          qDrawShadeRect(&p, r, palette(), true, 1, 0, nullptr);
          break;
        case bffBump:
          qDrawShadeRect(&p, r, palette(), false, 1, 0, nullptr);
          break;
      }
      break;
    case bsRoundRect: {
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setPen(QPen(QColor(117, 117, 117), 1));
      const qreal rd = FRoundDiameter / 2.0;
      p.drawRoundedRect(QRectF(0, 0, width() - 1, height() - 1), rd, rd);
      break;
    }
    case bsFlatNoFrame:
    case bsRoundRectNoFrame:
      break;
  }
}

void TxPlButton::drawFocusMark(QPainter& p)
{
  p.setBrush(Qt::NoBrush);
  if (isRound()) {
    p.setPen(QPen(QColor(32, 32, 32), 1, Qt::DotLine));
    const qreal rd = (FRoundDiameter - 2) / 2.0;
    p.drawRoundedRect(QRectF(2, 2, width() - 5, height() - 5), rd, rd);
    return;
  }
  QRect r = rect().adjusted(3, 3, -3, -3);
  if (FButtonStyle == bsFlat && FFlatFrameType == bffBump)
    r.adjust(0, 0, 1, 1);
  else if (FButtonStyle == bsFlat && FFlatFrameType == bffEtched)
    r.adjust(0, 0, -1, -1);
  p.setPen(QPen(QColor(32, 32, 32), 1, Qt::DotLine));
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

void TxPlButton::mousePressEvent(QMouseEvent* e)
{
  if (e->button() == Qt::LeftButton) {
    if (FHasFocus)
      setFocus(Qt::MouseFocusReason);
    FPressed = true;
    update();
  }
  QWidget::mousePressEvent(e);
}

void TxPlButton::mouseReleaseEvent(QMouseEvent* e)
{
  if (e->button() == Qt::LeftButton) {
    const bool wasPressed = FPressed;
    FPressed = false;
    update();
    if (wasPressed && rect().contains(e->position().toPoint()) && isEnabled())
      Click();
  }
  QWidget::mouseReleaseEvent(e);
}

void TxPlButton::enterEvent(QEnterEvent* e)
{
  if (OnMouseEnter)
    OnMouseEnter(QApplication::keyboardModifiers(), QApplication::mouseButtons(), e->position().toPoint());
  if (QApplication::mouseButtons() & Qt::LeftButton)
    update();
  QWidget::enterEvent(e);
}

void TxPlButton::leaveEvent(QEvent* e)
{
  if (OnMouseLeave)
    OnMouseLeave(QApplication::keyboardModifiers(), QApplication::mouseButtons(), mapFromGlobal(QCursor::pos()));
  FPressed = false;
  update();
  QWidget::leaveEvent(e);
}

void TxPlButton::keyPressEvent(QKeyEvent* e)
{
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    if (fnNoModifier(e->modifiers())) {
      if (FHasFocus) {
        e->accept();
        Click();
        return;
      }
    } else if (isEnabled()) {
      // An Enter with a modifier fires the click handlers alone.
      e->accept();
      emit clicked();
      return;
    }
  }
  QWidget::keyPressEvent(e);
}

void TxPlButton::keyReleaseEvent(QKeyEvent* e)
{
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    FPressed = false;
    update();
  }
  QWidget::keyReleaseEvent(e);
}

void TxPlButton::focusInEvent(QFocusEvent* e)
{
  QWidget::focusInEvent(e);
  if (FHasFocus)
    update();
}

void TxPlButton::focusOutEvent(QFocusEvent* e)
{
  QWidget::focusOutEvent(e);
  if (FHasFocus)
    update();
}

void TxPlButton::resizeEvent(QResizeEvent* e)
{
  QWidget::resizeEvent(e);
  applyShape();
}

void TxPlButton::changeEvent(QEvent* e)
{
  if (e->type() == QEvent::EnabledChange || (e->type() == QEvent::PaletteChange && FParentColor))
    update();
  QWidget::changeEvent(e);
}

TxPlButton* fnNewPlButton(QWidget* AParent, const QString& AName, const QString& ACaption, const QRect& AGeometry)
{
  auto* b = new TxPlButton(AParent);
  b->setObjectName(AName);
  b->CaptionA().setCaption(ACaption);
  b->setGeometry(AGeometry);
  return b;
}

TxPlButton* fnNewCancelPlButton(QWidget* AParent, const QRect& AGeometry, const QString& AName)
{
  TxPlButton* b = fnNewPlButton(AParent, AName, QStringLiteral(u"キャンセル"), AGeometry);
  b->setCancel(true);
  b->setModalResult(mrCancel);
  return b;
}
