// The picture renderer on sources it must refuse and on one it must draw, and
// the window's rendered pictures against what the window asks of them.

#include "tests/support/TempDir.h"
#include "tests/tools/ChildProcess.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ostrel::testing::RunProgram;

const std::string kRenderer = OSTREL_RENDER_PICTURES;
const std::string kPictures = OSTREL_PICTURES_DIR;

QImage Load(const std::string& path) {
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
}

QImage Picture(const std::string& name) { return Load(kPictures + "/" + name + ".png"); }

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string Svg(const std::string& size, const std::string& body) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + size + ">" + body + "</svg>";
}

// WCAG relative luminance of an opaque colour.
double Luminance(QRgb c) {
  const auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

TEST(RenderPicturesTest, RefusesWhatTheRendererWouldDropOrDrawDifferentlyAndWritesNothing) {
  const struct {
    const char* name;
    std::string svg;
  } cases[] = {
      {"filter", Svg("width=\"8\" height=\"8\"",
                     "<defs><filter id=\"b\"><feGaussianBlur stdDeviation=\"2\"/></filter></defs>"
                     "<rect width=\"8\" height=\"8\" filter=\"url(#b)\"/>")},
      {"clip", Svg("width=\"8\" height=\"8\"",
                   "<defs><clipPath id=\"c\"><rect width=\"4\" height=\"4\"/></clipPath></defs>"
                   "<rect width=\"8\" height=\"8\" clip-path=\"url(#c)\"/>")},
      {"text", Svg("width=\"8\" height=\"8\"", "<text x=\"1\" y=\"7\">A</text>")},
      {"unsized", Svg("viewBox=\"0 0 8 8\"", "<rect width=\"8\" height=\"8\"/>")},
      {"dangling", Svg("width=\"8\" height=\"8\"", "<rect width=\"8\" height=\"8\" fill=\"url(#none)\"/>")},
      {"broken", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"><rect width=\"8\""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string source = dir / (std::string(c.name) + ".svg");
    Write(source, c.svg);
    fs::create_directory(dir.Path() / "out");
    EXPECT_EQ(RunProgram({kRenderer, "--output", dir / "out", "--scales", "1,2", source}).exitCode, 1) << c.name;
    EXPECT_TRUE(fs::is_empty(dir.Path() / "out")) << c.name;
  }
}

TEST(RenderPicturesTest, DrawsEachScaleUnderTheNameTheImageListsLookUp) {
  TempDir dir;
  // A 6 x 4 picture whose left half is red.
  Write(dir / "half.svg", Svg("width=\"6\" height=\"4\" viewBox=\"0 0 6 4\"", "<rect width=\"3\" height=\"4\" fill=\"#FF0000\"/>"));
  ASSERT_EQ(RunProgram({kRenderer, "--output", dir.Path().string(), "--scales", "1,2,3", dir / "half.svg"}).exitCode, 0);

  for (const int scale : {1, 2, 3}) {
    const std::string name = scale == 1 ? "half.png" : "half@" + std::to_string(scale) + "x.png";
    const QImage image = Load(dir / name);
    ASSERT_EQ(image.size(), QSize(6 * scale, 4 * scale)) << name;
    EXPECT_EQ(image.pixel(0, 0), qRgba(255, 0, 0, 255)) << name;
    EXPECT_EQ(image.pixel(3 * scale - 1, 4 * scale - 1), qRgba(255, 0, 0, 255)) << name;
    EXPECT_EQ(qAlpha(image.pixel(3 * scale, 0)), 0) << name << ": the rest stays transparent";
  }
  EXPECT_EQ(RunProgram({kRenderer, "--output", dir.Path().string(), "--scales", "0", dir / "half.svg"}).exitCode, 2);
}

TEST(WindowPicturesTest, HaveTheSizesAndScalesTheWindowUsesAndTransparentCorners) {
  // Besides the sizes: pictures with clear corners are shapes on a
  // transparent ground (the background's corners are rounded like the
  // panels'); the progress pictures are bars that reach their corners.
  const struct {
    const char* name;
    int width, height;
    bool listed;  // looked up by name in an image list, so drawn at scale 2 too
    bool clearCorners;
  } pictures[] = {
      {"bg", 640, 360, false, true},          {"brand", 300, 78, false, true},
      {"logo", 100, 158, false, true},        {"logo2", 100, 158, false, true},
      {"progressfore", 256, 4, false, false}, {"close", 24, 24, true, true},
      {"files", 24, 24, true, true},          {"switchon1", 37, 37, true, true},
      {"switchon2", 37, 37, true, true},      {"switchon3", 37, 37, true, true},
      {"progress1", 100, 5, true, false},     {"progress2", 100, 5, true, false},
      {"combodropdown", 50, 50, true, true},
  };
  for (const auto& p : pictures) {
    const QImage image = Picture(p.name);
    EXPECT_EQ(image.size(), QSize(p.width, p.height)) << p.name;
    const QImage twice = Picture(std::string(p.name) + "@2x");
    EXPECT_EQ(!twice.isNull(), p.listed) << p.name;
    if (p.listed) {
      EXPECT_EQ(twice.size(), QSize(2 * p.width, 2 * p.height)) << p.name;
    }
    // At most a trace of antialiasing in a clear corner.
    if (!image.isNull() && p.clearCorners) {
      EXPECT_LT(qAlpha(image.pixel(0, 0)), 16) << p.name;
      EXPECT_LT(qAlpha(image.pixel(p.width - 1, p.height - 1)), 16) << p.name;
    }
  }
}

TEST(WindowPicturesTest, BackgroundKeepsWhiteTextReadableWhereTheIntroTextStands) {
  const QImage bg = Picture("bg");
  ASSERT_FALSE(bg.isNull());
  // The intro text's box; white on any pixel there must reach a contrast of
  // 7:1 (WCAG's enhanced level), so no bright shape may lie behind it.
  double brightest = 0;
  for (int y = 167; y < 208; ++y) {
    for (int x = 28; x < 373; ++x) {
      ASSERT_EQ(qAlpha(bg.pixel(x, y)), 255);
      brightest = std::max(brightest, Luminance(bg.pixel(x, y)));
    }
  }
  EXPECT_GE(1.05 / (brightest + 0.05), 7.0);
}

TEST(WindowPicturesTest, ProgressForegroundHasPlainMiddleBetweenItsEightPixelEnds) {
  // Three-part stretching keeps 8 columns at each end and stretches the
  // rest: any change of colour in the middle would smear across the bar.
  const QImage fore = Picture("progressfore");
  ASSERT_EQ(fore.size(), QSize(256, 4));
  for (int y = 0; y < 4; ++y) {
    const QRgb middle = fore.pixel(8, y);
    for (int x = 9; x < 248; ++x) ASSERT_EQ(fore.pixel(x, y), middle) << x << "," << y;
    EXPECT_EQ(qAlpha(middle), 255);
    EXPECT_NE(fore.pixel(0, y), middle);
    EXPECT_NE(fore.pixel(255, y), middle);
  }
}

TEST(WindowPicturesTest, KnobStatesDifferFromEachOther) {
  const QImage normal = Picture("switchon1"), hover = Picture("switchon2"), down = Picture("switchon3");
  EXPECT_NE(normal, hover);
  EXPECT_NE(normal, down);
  EXPECT_NE(hover, down);
  for (const QImage* knob : {&normal, &hover, &down}) {
    const QColor centre = QColor::fromRgba(knob->pixel(18, 18));
    EXPECT_EQ(centre.alpha(), 255);
    EXPECT_GT(centre.lightness(), 200) << "a light knob";
  }
}

}  // namespace
