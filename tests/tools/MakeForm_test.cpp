// ostrel-make-form puts the named pictures into a form text where its markers
// stand, and refuses, writing nothing, a template it cannot complete.

#include "skin/host/FormText.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ChildProcess.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ostrel::testing::RunProgram;

const std::string kMakeForm = OSTREL_MAKE_FORM;

void Write(const fs::path& APath, const std::string& AText) { std::ofstream(APath, std::ios::binary) << AText; }

void WritePicture(const fs::path& APath, QSize ASize) {
  QImage image(ASize, QImage::Format_ARGB32);
  image.fill(QColor(0, 146, 202));
  ASSERT_TRUE(image.save(QString::fromStdString(APath.string()), "PNG"));
}

std::string Form(const std::string& AValue) {
  return "object F: TForm\n  Caption = 'mail@example.org'\n  object Bar: TControl\n    Picture.PNG = " + AValue +
         "\n  end\nend\n";
}

TEST(MakeFormTest, PutsThePicturesBytesWhereItsMarkersStand) {
  TempDir dir;
  WritePicture(dir.Path() / "dot.png", {3, 2});
  Write(dir.Path() / "form.in", Form("@png(dot)"));
  const fs::path out = dir.Path() / "form";
  ASSERT_EQ(RunProgram({kMakeForm, "--pictures", dir.Path().string(), "--output", out.string(),
                        (dir.Path() / "form.in").string()})
                .exitCode,
            0);
  QFile file(QString::fromStdString(out.string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const ostrel::host::FormObject form = ostrel::host::ParseForm(QString::fromUtf8(file.readAll()));
  EXPECT_EQ(form.Properties.at(0).Value.Text, QStringLiteral("mail@example.org"));
  ASSERT_EQ(form.Children.size(), 1u);
  const ostrel::host::FormValue& value = form.Children[0].Properties.at(0).Value;
  ASSERT_EQ(value.Type, ostrel::host::FormValue::Kind::Binary);
  EXPECT_EQ(QImage::fromData(value.Bytes, "PNG").size(), QSize(3, 2));
}

TEST(MakeFormTest, RefusesATemplateItCannotCompleteAndWritesNothing) {
  const struct {
    const char* What;
    std::string Template;
  } cases[] = {
      {"unknown marker", Form("@jpeg(dot)")},
      {"png marker with two names", Form("@png(dot dot)")},
      {"missing picture", Form("@png(nothere)")},
      {"not a picture", Form("@pictures(text)")},
      {"a list of no pictures", Form("@pictures()")},
      {"a list with a picture that is missing", Form("@pictures(dot nothere)")},
      {"a picture name reaching out of the folder", Form("@pictures(dot ..)")},
      {"marker with more after it", Form("@png(dot) x")},
      {"broken form", "object F: TForm\n  object Bar: TControl\nend\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TempDir dir;
    WritePicture(dir.Path() / "dot.png", {3, 2});
    Write(dir.Path() / "text.png", "not a png");
    Write(dir.Path() / "form.in", c.Template);
    const fs::path out = dir.Path() / "form";
    EXPECT_EQ(RunProgram({kMakeForm, "--pictures", dir.Path().string(), "--output", out.string(),
                          (dir.Path() / "form.in").string()})
                  .exitCode,
              1);
    EXPECT_FALSE(fs::exists(out));
  }
  EXPECT_EQ(RunProgram({kMakeForm, "--output", "x"}).exitCode, 2);
}

}  // namespace
