// The maker's push button, drawn entirely by the program: a vertical colour
// gradient or a plain colour, an optional rounded shape, an image and up to
// two caption lines with their own alignment (including an even spread of
// the characters over the width). It shows a pressed state, a focus mark and
// a disabled look, presses on Enter when focused and on Esc when it is a
// cancel button, and hands its modal result to the form it stands on before
// its click handlers run.
#pragma once

#include <functional>

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class TxPlButton;

enum TxPlButtonStyle { bsNormal, bsFlat, bsFlatNoFrame, bsRoundRect, bsRoundRectNoFrame };
enum TxPlBtnFrameType { bffFlat, bffEtched, bffBump };
enum TxPlBtnAlignment { taCenter, taLeft, taRight, taEven };

// One caption line; every change repaints the button.
class TxPlBtnCaption {
 public:
  explicit TxPlBtnCaption(TxPlButton* owner) : FOwner(owner) {}
  TxPlBtnCaption& operator=(const TxPlBtnCaption& other);  // copies the four values, repaints

  QString Caption() const { return FCaption; }
  void setCaption(const QString& value);
  TxPlBtnAlignment Alignment() const { return FAlignment; }
  void setAlignment(TxPlBtnAlignment value);
  int Left() const { return FLeft; }
  void setLeft(int value);
  int Right() const { return FRight; }
  void setRight(int value);

 private:
  void changed();
  TxPlButton* FOwner;
  QString FCaption;
  TxPlBtnAlignment FAlignment = taCenter;
  int FLeft = 0;
  int FRight = 0;
};

// The button's picture: a bitmap or an icon; any other kind of graphic is
// not kept.
class TxPlBtnImage {
 public:
  enum TPictureKind { pkNone, pkBitmap, pkIcon };

  explicit TxPlBtnImage(TxPlButton* owner) : FOwner(owner) {}
  TxPlBtnImage& operator=(const TxPlBtnImage& other);  // copies the picture and the six settings

  TPictureKind PictureKind() const { return FKind; }
  const QPixmap& Picture() const { return FPicture; }
  bool PictureEmpty() const { return FKind == pkNone || FPicture.isNull(); }
  void setBitmap(const QPixmap& bitmap);
  void setIcon(const QPixmap& icon);
  void clearPicture();
  // Loads a picture file: a bitmap (.bmp) or an icon (.ico) is kept, any
  // other kind clears the picture. Returns whether a picture is held.
  bool LoadFromFile(const QString& path);

  int Left() const { return FLeft; }
  void setLeft(int value);  // switches HorzCenter off
  int Top() const { return FTop; }
  void setTop(int value);  // switches VertCenter off
  bool Visible() const { return FVisible; }
  void setVisible(bool value);
  bool TransParent() const { return FTransParent; }
  void setTransParent(bool value);
  bool VertCenter() const { return FVertCenter; }
  void setVertCenter(bool value);
  bool HorzCenter() const { return FHorzCenter; }
  void setHorzCenter(bool value);

 private:
  friend class TxPlButton;
  void repaint();
  TxPlButton* FOwner;
  TPictureKind FKind = pkNone;
  QPixmap FPicture;
  int FLeft = 10;
  int FTop = 0;
  bool FVisible = true;
  bool FTransParent = false;
  bool FVertCenter = true;
  bool FHorzCenter = false;
};

class TxPlButton : public QWidget {
  Q_OBJECT
 public:
  explicit TxPlButton(QWidget* parent = nullptr);
  ~TxPlButton() override;

  TxPlButtonStyle ButtonStyle() const { return FButtonStyle; }
  void setButtonStyle(TxPlButtonStyle value);
  bool Cancel() const { return FCancel; }
  void setCancel(bool value);
  bool Gradation() const { return FGradation; }
  void setGradation(bool value);
  QColor GradBeginColor() const { return FGradBeginColor; }
  void setGradBeginColor(const QColor& value);
  QColor GradEndColor() const { return FGradEndColor; }
  void setGradEndColor(const QColor& value);
  bool HasFocus() const { return FHasFocus; }
  void setHasFocus(bool value);
  bool TabStop() const { return FTabStop; }
  void setTabStop(bool value);
  int ModalResult() const { return FModalResult; }
  void setModalResult(int value) { FModalResult = value; }
  // The plain colour used without a gradient.
  QColor Color() const { return FColor; }
  void setColor(const QColor& value);
  // With ParentColor the button takes its colour from its parent.
  bool ParentColor() const { return FParentColor; }
  void setParentColor(bool value);

  TxPlBtnImage& Image() { return FImage; }
  void setImage(const TxPlBtnImage& value);
  TxPlBtnCaption& CaptionA() { return FCaptionA; }
  TxPlBtnCaption& CaptionB() { return FCaptionB; }
  int CaptionLineSpace() const { return FCaptionLineSpace; }
  void setCaptionLineSpace(int value);
  int CaptionTop() const { return FCaptionTop; }
  void setCaptionTop(int value);  // switches CaptionVertCenter off
  bool CaptionVertCenter() const { return FCaptionVertCenter; }
  void setCaptionVertCenter(bool value);
  TxPlBtnFrameType FlatFrameType() const { return FFlatFrameType; }
  void setFlatFrameType(TxPlBtnFrameType value);
  int RoundDiameter() const { return FRoundDiameter; }
  void setRoundDiameter(int value);

  bool Pressed() const { return FPressed; }

  // Presses the button: the pressed state ends, the form gets ModalResult
  // as its modal result, `clicked` fires, and then a dialog whose modal
  // result is still set closes with it.
  void Click();

  // Mouse entering and leaving, with the modifier keys and mouse buttons
  // held and the cursor position in client coordinates.
  std::function<void(Qt::KeyboardModifiers, Qt::MouseButtons, QPoint)> OnMouseEnter;
  std::function<void(Qt::KeyboardModifiers, Qt::MouseButtons, QPoint)> OnMouseLeave;

  QSize sizeHint() const override { return {75, 26}; }

  // The colour of every row of the gradient for a button of this height,
  // as drawn (exposed for checks of the gradient arithmetic).
  static QColor fnGradientRow(const QColor& begin, const QColor& end, int y, int height);
  // The left edges of the characters of an evenly spread caption, given
  // the characters' widths and the width available.
  static std::vector<int> fnEvenPositions(int x, int available, const std::vector<int>& widths);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  friend class TxPlBtnCaption;
  friend class TxPlBtnImage;
  void applyFocusPolicy();
  void applyShape();
  void watchForm();
  void drawCaption(QPainter& p, const TxPlBtnCaption& c, int y);
  void drawFrame(QPainter& p);
  void drawFocusMark(QPainter& p);
  void drawImage(QPainter& p);
  bool isRound() const { return FButtonStyle == bsRoundRect || FButtonStyle == bsRoundRectNoFrame; }

  TxPlButtonStyle FButtonStyle = bsNormal;
  bool FCancel = false;
  bool FGradation = true;
  QColor FGradBeginColor{255, 255, 255};
  QColor FGradEndColor{192, 192, 192};
  bool FHasFocus = true;
  bool FTabStop = true;
  int FModalResult = 0;
  QColor FColor;
  bool FParentColor = true;
  TxPlBtnImage FImage;
  TxPlBtnCaption FCaptionA;
  TxPlBtnCaption FCaptionB;
  int FCaptionLineSpace = 4;
  int FCaptionTop = 0;
  bool FCaptionVertCenter = true;
  TxPlBtnFrameType FFlatFrameType = bffFlat;
  int FRoundDiameter = 10;
  bool FPressed = false;
  bool FParentSeen = false;
  QPointer<QWidget> FWatchedForm;
};

// A panel button on AParent with its object name, caption and place.
TxPlButton* fnNewPlButton(QWidget* AParent, const QString& AName, const QString& ACaption, const QRect& AGeometry);
// A dialog's cancel button ("キャンセル"): Esc presses it and it closes the
// dialog with mrCancel.
TxPlButton* fnNewCancelPlButton(QWidget* AParent, const QRect& AGeometry,
                                const QString& AName = QStringLiteral("btnCancel"));
