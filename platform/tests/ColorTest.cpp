#include <gtest/gtest.h>

#include "platform/Color.h"

namespace {

TEST(Color, StoredAsBlueGreenRed)
{
  struct Case {
    TColor c;
    int r, g, b;
  };
  const Case cases[] = {
      {clRed, 255, 0, 0},
      {clBlue, 0, 0, 255},
      {clNavy, 0, 0, 128},
      {clLime, 0, 255, 0},
      {clBlack, 0, 0, 0},
      {clWhite, 255, 255, 255},
      {clMaroon, 128, 0, 0},
      {clSkyBlue, 166, 202, 240},
      {TColor(0xFFAF80), 0x80, 0xAF, 0xFF},
      {TColor(0x41B3FE), 0xFE, 0xB3, 0x41},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RGBColor(c.r, c.g, c.b), c.c);
    EXPECT_EQ((std::array{GetRValue(c.c), GetGValue(c.c), GetBValue(c.c)}), (std::array{c.r, c.g, c.b}));
    EXPECT_EQ(ColorToRGB(c.c), c.c);
  }
}

TEST(Color, SystemColoursAndNames)
{
  EXPECT_TRUE(IsSystemColor(clWindow));
  EXPECT_FALSE(IsSystemColor(clWhite));
  EXPECT_FALSE(IsSystemColor(clNone));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(240, 240, 240));
  EXPECT_EQ(ColorToRGB(clNone), clNone);

  struct Case {
    const char* text;
    TColor c;
    const char* canonical;
  };
  const Case cases[] = {
      {"clRed", clRed, "clRed"},     {"CLWINDOW", clWindow, "clWindow"},
      {"clNone", clNone, "clNone"},  {"$00FFAF80", TColor(0xFFAF80), "$00FFAF80"},
      {"$FF0000", clBlue, "clBlue"},
  };
  for (const Case& c : cases) {
    TColor out = 12345;
    ASSERT_TRUE(IdentToColor(QLatin1String(c.text), out)) << c.text;
    EXPECT_EQ(out, c.c) << c.text;
    EXPECT_EQ(ColorToString(out), QLatin1String(c.canonical));
  }
  TColor out = 7;
  EXPECT_FALSE(IdentToColor(QStringLiteral("reddish"), out));
  EXPECT_FALSE(IdentToColor(QStringLiteral("$"), out));
  EXPECT_EQ(out, 7);
}

}  // namespace
