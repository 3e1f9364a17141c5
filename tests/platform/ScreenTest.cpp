#include <gtest/gtest.h>

#include <vector>

#include "platform/Screen.h"

namespace hk {
namespace {

TEST(Screen, At96DpiEveryRuleIsTheIdentity) {
  for (const Rect& r : {Rect{0, 0, 404, 513}, Rect{-30, 16, 7, 1}, Rect{8, 196, 385, 117}}) {
    EXPECT_EQ(ScaleRect(r, 96), r);
    EXPECT_EQ(PlacePicture(r, 96).pixels, r);
    EXPECT_EQ(PlacePicture(r, 96).scale, 1);
  }
  EXPECT_EQ(ScaleLineWidth(1, 96), 1);
  EXPECT_EQ(LayoutCoordinate(-7, 96), -7);
  EXPECT_EQ(LayoutCoordinate(403, 96), 403);
  EXPECT_EQ(ScaleFontHeight(-13, 96, 96), -13);
  EXPECT_EQ(PictureResourceName("BM_LEN", PictureScale(96)), "BM_LEN");
}

TEST(Screen, CoordinatesLineWidthsAndFontsTakeTheNearestPixel) {
  struct Case {
    int dpi;
    int units;
    int coordinate;  // of units
    int line;        // a 1-pixel line
    int font;        // of height -13 at 96 DPI
  };
  const Case cases[] = {
      {120, 1, 1, 1, -16},                           // 1.25; 16.25
      {120, 2, 3, 1, -16},                           // 2.5 goes up
      {120, -2, -2, 1, -16},                         // -2.5 goes up too: the rule rises everywhere
      {144, 1, 2, 2, -20},                           // 1.5; 19.5 away from zero, as MulDiv
      {144, 404, 606, 2, -20}, {143, 1, 1, 1, -19},  // just below one and a half
      {168, 513, 898, 2, -23},                       // 897.75; 22.75
      {192, 7, 14, 2, -26},    {240, 3, 8, 3, -33},  // 7.5; 2.5 lines; 32.5
      {288, 5, 15, 3, -39},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(ScaleCoordinate(c.units, c.dpi), c.coordinate) << c.units;
    EXPECT_EQ(ScaleLineWidth(1, c.dpi), c.line);
    EXPECT_EQ(ScaleLineWidth(2, c.dpi), 2 * c.line);
    EXPECT_EQ(ScaleFontHeight(-13, 96, c.dpi), c.font);
    EXPECT_EQ(ScaleFontHeight(13, 96, c.dpi), -c.font);
    // Back to 96 DPI, the height the layout holds comes again.
    EXPECT_EQ(ScaleFontHeight(c.font, c.dpi, 96), -13);
  }
  EXPECT_EQ(FontHeightForPoints(9, 96), -12);
  EXPECT_EQ(FontHeightForPoints(9, 144), -18);
  EXPECT_EQ(FontHeightForPoints(10, 120), -17);  // 16.67
}

// Controls side by side and one above the other share their edges in pixels
// at any scale, and each keeps within a pixel of its exact size; a pixel
// (where the mouse is) goes back to the unit whose pixels hold it.
TEST(Screen, NeighboursNeitherOverlapNorLeaveAGap) {
  std::vector<Rect> row;
  for (int left = 8; left <= 328; left += 64) row.push_back({left, 48, 64, 54});
  for (int left = 8; left <= 328; left += 64) row.push_back({left, 102, 64, 54});
  for (int dpi = 97; dpi <= 300; ++dpi) {
    SCOPED_TRACE(dpi);
    for (std::size_t i = 0; i < row.size(); ++i) {
      const Rect a = ScaleRect(row[i], dpi);
      EXPECT_NEAR(a.width, 64.0 * dpi / 96, 1.0);
      EXPECT_NEAR(a.height, 54.0 * dpi / 96, 1.0);
      if (i % 6 != 5) {
        EXPECT_EQ(a.right(), ScaleRect(row[i + 1], dpi).left) << i;
      }
      if (i < 6) {
        EXPECT_EQ(a.bottom(), ScaleRect(row[i + 6], dpi).top) << i;
      }
    }
    for (int pixel = -20; pixel <= 40; ++pixel) {
      const int unit = LayoutCoordinate(pixel, dpi);
      EXPECT_LE(ScaleCoordinate(unit, dpi), pixel);
      EXPECT_GT(ScaleCoordinate(unit + 1, dpi), pixel);
    }
  }
}

TEST(Screen, APictureIsItsLargestWholeVersionThatFitsCentredInItsPlace) {
  struct Case {
    int dpi;
    Rect place;
    int scale;
    Rect pixels;
  };
  const Case cases[] = {
      {120, {20, 10, 24, 18}, 1, {28, 15, 24, 18}},  // place 25,13 30x22
      {144, {20, 10, 24, 18}, 1, {36, 19, 24, 18}},  // place 30,15 36x27
      {144, {188, 316, 16, 16}, 1, {286, 478, 16, 16}},
      {191, {1, 1, 16, 16}, 1, {10, 10, 16, 16}},    // 1.99: no 2x version fits yet
      {192, {20, 10, 24, 18}, 2, {40, 20, 48, 36}},  // exactly doubled
      {240, {20, 10, 24, 18}, 2, {56, 29, 48, 36}},  // place 50,25 60x45
      {288, {0, 0, 12, 12}, 3, {0, 0, 36, 36}},
      {480, {0, 0, 12, 12}, 3, {12, 12, 36, 36}},  // no version beyond 3x
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const PicturePlacement placed = PlacePicture(c.place, c.dpi);
    EXPECT_EQ(placed.scale, c.scale);
    EXPECT_EQ(placed.pixels, c.pixels);
  }
  EXPECT_EQ(PictureResourceName("GL_PAGE1", 2), "GL_PAGE1_2X");
  EXPECT_EQ(PictureResourceName("SF_9", 3), "SF_9_3X");
}

TEST(Screen, ARestoredWindowComesWhollyOntoTheNearestWorkArea) {
  // A 1280 x 1024 monitor with a 40-pixel task bar at the bottom, and one
  // to its left.
  const MonitorArea main{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
  const MonitorArea left{{-1024, 0, 1024, 768}, {-1024, 0, 1024, 768}};
  // At 150 %, 404 x 513 units take 606 x 770 pixels.
  const MonitorArea scaled{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144};
  struct Case {
    const char* what;
    Rect window;
    const MonitorArea& area;
    Rect placed;
  };
  const Case cases[] = {
      {"on screen", {120, 64, 404, 513}, main, {120, 64, 404, 513}},
      {"over the task bar", {10, 500, 404, 513}, main, {10, 500, 404, 513}},
      {"off the right", {5000, 100, 404, 513}, main, {876, 100, 404, 513}},
      {"off the bottom", {100, 900, 554, 513}, main, {100, 471, 554, 513}},
      {"above and left", {-30, -200, 404, 513}, main, {0, 0, 404, 513}},
      {"on the left monitor", {-600, 10, 404, 513}, left, {-600, 10, 404, 513}},
      {"left monitor was taller", {-600, 400, 404, 513}, left, {-600, 255, 404, 513}},
      {"larger than the area", {-50, -50, 1500, 1100}, main, {0, 0, 1500, 1100}},
      {"scaled, fits", {1314, 310, 404, 513}, scaled, {1314, 310, 404, 513}},
      {"scaled, off the corner", {1315, 311, 404, 513}, scaled, {1314, 270, 404, 513}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeepOnMonitor(c.window, c.area), c.placed) << c.what;
  }
}

// A number keeps its place and font while it fits; then it takes the room
// beside, then a smaller font, and only then shows that it is cut.
TEST(Screen, ANumberIsShownWholeOrPlainlyCut) {
  struct Case {
    const char* what;
    int characters;
    int ownHeight;
    int place;
    int room;
    NumberFit fit;
  };
  // Half-width digits of a gothic font: half the height, rounded up.
  const Case cases[] = {
      {"fits its place", 15, 13, 200, 207, {13, false, false}},
      {"takes the room beside", 29, 13, 200, 207, {13, true, false}},
      {"a smaller font", 38, 13, 200, 207, {10, true, false}},
      {"the largest font, smaller", 38, 16, 200, 207, {10, true, false}},
      {"the smallest font is not enough", 44, 13, 200, 207, {13, true, true}},
      {"a box with no room beside", 8, 13, 44, 44, {10, true, false}},
      {"a font already below the smallest", 9, 8, 30, 30, {8, true, true}},
  };
  for (const Case& c : cases) {
    const NumberFit fit = FitNumber(c.ownHeight, c.place, c.room,
                                    [&](int height) { return c.characters * ((height + 1) / 2); });
    EXPECT_EQ(fit.height, c.fit.height) << c.what;
    EXPECT_EQ(fit.widened, c.fit.widened) << c.what;
    EXPECT_EQ(fit.cut, c.fit.cut) << c.what;
  }
}

}  // namespace
}  // namespace hk
