// The packed setup carries what its window finds by name: its stored form,
// the pictures under their resource names, as rendered, and the three
// platform styles.

#include "setup/platform/ResourceBundle.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const QString& APath) {
  std::ifstream in(APath.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PackedSetup, CarriesTheWindowsPicturesAndStylesUnderTheirNames) {
  const std::string packed = ReadFile(QStringLiteral(OSTREL_PACKED_SETUP));
  const auto bundle = ostrel::platform::ResourceBundle::Parse(std::as_bytes(std::span(packed)));
  ASSERT_EQ(bundle.GetState(), ostrel::platform::ResourceBundle::State::Valid);
  struct Case {
    const char* name;  // as the window asks for it
    QString file;
    QSize size;        // of a picture
  };
  const QString pictures = QStringLiteral(OSTREL_PICTURES_DIR);
  const QString styles = QStringLiteral(OSTREL_SOURCE_DIR "/resources/styles");
  const Case cases[] = {
      {"tmainform", QStringLiteral(OSTREL_MAIN_FORM), {}},
      {"bg", pictures + "/bg.png", {640, 360}},
      {"brand", pictures + "/brand.png", {300, 78}},
      {"logo", pictures + "/logo.png", {100, 158}},
      {"logo2", pictures + "/logo2.png", {100, 158}},
      {"win10style", styles + "/win10.style", {}},
      {"win8style", styles + "/win8.style", {}},
      {"win7style", styles + "/win7.style", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bytes = bundle.Find(c.name);
    ASSERT_TRUE(bytes.has_value());
    const std::string expected = ReadFile(c.file);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size()), expected);
    if (c.size.isValid()) {
      const QImage picture = QImage::fromData(
          QByteArray::fromRawData(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size())),
          "PNG");
      EXPECT_EQ(picture.size(), c.size);
    }
  }
}

}  // namespace
