#pragma once
#include <QString>

#include "print/Print360ImageOut.h"

class TPrintCanvas;

// The state of one page while ImageOut draws it; shared by the record
// drawings of the interpreter.
struct TP360Page {
  QString Kind;  // "FOM", "DAT" or "SUBFORM"
  TPrintCanvas& Canvas;
  int Dpi = 96;
  double XR = 1;
  double YR = 1;
  int Zoom = 10;
  bool EvenPage = false;
  int FormPage = 0;
  int OffX = 0;  // origin of a sub-form, or the base point of a "BP" record
  int OffY = 0;
  int PageOffsetX = 0;
  int PageOffsetY = 0;
  int Hlim = 0;        // page-height limit, 0.1 mm
  bool Scaled = true;  // the scale ratios apply
  int Depth = 0;       // sub-form nesting

  // 0.1 mm to device units.
  int DevX(double v) const { return P360Round(v * XR); }
  int DevY(double v) const { return P360Round(v * YR); }
  // The scale ratios applied to a device value.
  int ScaleX(qint64 v) const;
  int ScaleY(qint64 v) const;
  // A device point of the page: origin, page offsets and the point, scaled.
  // Sums are taken in 64 bits and kept within the int range.
  int PlaceX(qint64 x) const { return ScaleX(OffX + qint64(PageOffsetX) + x); }
  int PlaceY(qint64 y) const { return ScaleY(OffY + qint64(PageOffsetY) + y); }
  // The page offsets from the current margins and corrections.
  void ComputeOffsets();
};

// The most separator lines one "SLINE" record draws.
constexpr int SeparatorLineLimit = 64;
// The longest side, in device pixels, a picture is decoded at.
constexpr int PictureSideLimit = 20000;

// Draws one record of the second pass whose kind is a text, shape or picture
// kind; the line's field cursor stands after the kind.
void DrawPageRecord(TP360Page& page, const QString& kind, const QString& line);
// Draws a "FRECT" record of the first pass (a background fill).
void DrawBackgroundFill(TP360Page& page, const QString& line);
