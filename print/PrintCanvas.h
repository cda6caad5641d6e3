#pragma once
#include <memory>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/Color.h"

class QPainter;
class QPaintDevice;
class QPrinter;

// Pen styles and brush styles by the numbers the print data uses.
enum TP360PenStyle { psSolid = 0, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TP360BrushStyle { bsSolid = 0, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TCanvasFont {
  QString Name = QStringLiteral("ＭＳ 明朝");
  // Below 0 the character height, above 0 the cell height, in logical units.
  int Height = -13;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TColor Color = clBlack;
  int Charset = 1;
  bool FixedPitch = false;
  // Character width in percent of the font's own (condensed text).
  int Stretch = 100;
};

struct TCanvasPen {
  int Width = 1;  // logical units; 0 draws one device pixel
  int Style = psSolid;
  TColor Color = clBlack;
};

struct TCanvasBrush {
  TColor Color = clWhite;
  int Style = bsSolid;
};

// The surface the interpreter draws a page on: logical units scaled by the
// zoom (an isotropic mapping of a 10 × 10 window onto a Zoom × Zoom
// viewport), a current font, pen and brush, a background mode, and a pen
// position that lines start from and that text output leaves at the top
// right of the text drawn. Three targets: the printer (and its PDF output),
// an image, and a recording for tests.
class TPrintCanvas {
 public:
  virtual ~TPrintCanvas() = default;
  // True for the printer's canvas (paper), false for the screen's.
  virtual bool IsPrinter() const = 0;
  // Logical units drawn at zoom / 10 device units.
  virtual void SetZoom(int zoom) = 0;
  virtual int TextWidth(const QString& text) = 0;
  virtual int TextHeight(const QString& text) = 0;
  // Draws text with its top left at (x, y); the pen moves to the text's top
  // right.
  void TextOut(int x, int y, const QString& text);
  void MoveTo(int x, int y) { PenPos = QPoint(x, y); }
  // A line with the pen from the pen position; the pen moves to its end.
  void LineTo(int x, int y);
  // Outline with the pen, inside with the brush.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // The rectangle filled with the brush, no outline.
  virtual void FillRect(const QRect& rect) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void RoundRect(int x1, int y1, int x2, int y2, int w, int h) = 0;
  // The image stretched into the rectangle (darkening what lies under it
  // when AndMode).
  virtual void StretchDraw(const QRect& rect, const QImage& image) = 0;

  TCanvasFont Font;
  TCanvasPen Pen;
  TCanvasBrush Brush;
  bool Transparent = false;  // background mode: text and hatches leave the background
  bool AndMode = false;      // copy mode: source AND destination
  QPoint PenPos;

 protected:
  virtual void DoTextOut(int x, int y, const QString& text) = 0;
  virtual void DoLine(const QPoint& from, const QPoint& to) = 0;
};

// A canvas over a QPainter on a paint device.
class TPainterCanvas : public TPrintCanvas {
 public:
  // The painter must be active on its device and outlive the canvas.
  TPainterCanvas(QPainter& painter, bool isPrinter);
  bool IsPrinter() const override { return FIsPrinter; }
  void SetZoom(int zoom) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void FillRect(const QRect& rect) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void RoundRect(int x1, int y1, int x2, int y2, int w, int h) override;
  void StretchDraw(const QRect& rect, const QImage& image) override;
  QPainter& painter() { return FPainter; }

 protected:
  void DoTextOut(int x, int y, const QString& text) override;
  void DoLine(const QPoint& from, const QPoint& to) override;

 private:
  void ApplyFont();
  void ApplyPen(bool withPen);
  void ApplyBrush(bool withBrush);
  QPainter& FPainter;
  bool FIsPrinter;
};

// The printer's canvas: a painter on the printer (or its PDF output) from
// construction to End(). Device units are the printer's pixels, measured from
// the top left of its printable area (the printer corrections of the settings
// move the page against it).
class TPrinterCanvas : public TPainterCanvas {
 public:
  // Starts the document; throws EAppError when the printer refuses.
  explicit TPrinterCanvas(QPrinter& printer);
  ~TPrinterCanvas() override;
  // The next sheet.
  void NewPage();
  // Ends the document.
  void End();
  // Logical pixels per inch of the printer.
  int Dpi() const;

 private:
  std::unique_ptr<QPainter> FOwnedPainter;
  QPrinter& FPrinter;
};

// A canvas over an image (the preview's page, tests).
class TImageCanvas : public TPainterCanvas {
 public:
  explicit TImageCanvas(QImage& image);
  ~TImageCanvas() override;

 private:
  std::unique_ptr<QPainter> FOwnedPainter;
};

// A canvas that keeps one line of text per drawing call, for tests: text
// metrics are half the font's height per half-width unit wide and the
// font's height tall.
class TRecordingCanvas : public TPrintCanvas {
 public:
  explicit TRecordingCanvas(bool isPrinter = false) : FIsPrinter(isPrinter) {}
  bool IsPrinter() const override { return FIsPrinter; }
  void SetZoom(int zoom) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void FillRect(const QRect& rect) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void RoundRect(int x1, int y1, int x2, int y2, int w, int h) override;
  void StretchDraw(const QRect& rect, const QImage& image) override;
  QStringList Calls;

 protected:
  void DoTextOut(int x, int y, const QString& text) override;
  void DoLine(const QPoint& from, const QPoint& to) override;

 private:
  bool FIsPrinter;
};
