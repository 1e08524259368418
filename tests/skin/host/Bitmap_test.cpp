// What a picture class builds on: the bitmap's change event and after-load
// hook, its pixels in stored forms, its device scale, writable pixels, and
// the limits on what a file may make it allocate.

#include "skin/host/Bitmap.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

namespace {

class CountingBitmap : public TBitmap {
 public:
  int Loads = 0;

 protected:
  void AfterLoad() override { ++Loads; }
};

// A component with a bitmap as nested object, as a picture sits in a material.
class TTestBitmapHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TBitmap* Picture READ Picture)

 public:
  explicit TTestBitmapHolder(TComponent* AOwner = nullptr) : TComponent(AOwner), FPicture(std::make_unique<TBitmap>()) {}
  TBitmap* Picture() const { return FPicture.get(); }

 private:
  std::unique_ptr<TBitmap> FPicture;
};

class BitmapTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    host_test::App();
    ostrel::host::RegisterClass<TTestBitmapHolder>();
  }
};

TEST_F(BitmapTest, EveryChangeOfPixelsIsTold) {
  CountingBitmap bitmap;
  int changes = 0;
  bitmap.SetOnChange([&](TObject* ASender) {
    EXPECT_EQ(ASender, &bitmap);
    ++changes;
  });
  bitmap.SetSize(4, 4);
  bitmap.Clear(0xFF00FF00u);
  bitmap.SetImage(QImage(2, 2, QImage::Format_RGB32));
  { bitmap.MapPixels().Image().setPixelColor(0, 0, Qt::red); }
  bitmap.LoadFromStream(picture_bytes::Png(3, 3, Qt::blue));
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(bitmap.Loads, 1);

  TBitmap other(1, 1);
  bitmap.Assign(&other);
  EXPECT_EQ(changes, 6);
  EXPECT_EQ(bitmap.Loads, 2) << "a copy of pixels runs the after-load hook";
  bitmap.Assign(nullptr);
  EXPECT_TRUE(bitmap.IsEmpty());
}

TEST_F(BitmapTest, FailedLoadKeepsPixelsAndStillRunsNoHook) {
  CountingBitmap bitmap;
  bitmap.SetSize(2, 2);
  bitmap.Clear(0xFF00FF00u);
  EXPECT_THROW(bitmap.LoadFromStream("no picture"), EInvalidGraphic);
  EXPECT_EQ(bitmap.Loads, 0);
  EXPECT_EQ(bitmap.Image().pixelColor(1, 1), QColor(Qt::green));
}

TEST_F(BitmapTest, WritablePixelsChangeThePicture) {
  TBitmap bitmap(2, 1);
  {
    auto pixels = bitmap.MapPixels();
    pixels.Image().setPixelColor(1, 0, QColor(10, 20, 30));
  }
  EXPECT_EQ(bitmap.Image().pixelColor(1, 0), QColor(10, 20, 30));
  EXPECT_EQ(bitmap.Image().pixelColor(0, 0).alpha(), 0);
}

TEST_F(BitmapTest, ScaleTravelsWithThePixels) {
  TBitmap bitmap(20, 10);
  EXPECT_FLOAT_EQ(bitmap.BitmapScale(), 1.0f);
  bitmap.SetBitmapScale(2.0f);
  EXPECT_DOUBLE_EQ(bitmap.Image().devicePixelRatio(), 2.0);
  EXPECT_EQ(bitmap.Image().deviceIndependentSize(), QSizeF(10, 5));
  bitmap.SetSize(8, 8);
  EXPECT_DOUBLE_EQ(bitmap.Image().devicePixelRatio(), 2.0) << "new pixels keep the scale";
  TBitmap copy;
  copy.Assign(&bitmap);
  EXPECT_FLOAT_EQ(copy.BitmapScale(), 2.0f);
}

TEST_F(BitmapTest, PixelsTravelThroughStoredFormsAsPng) {
  TTestBitmapHolder holder;
  EXPECT_EQ(ostrel::host::WriteComponent(holder), QStringLiteral("object TTestBitmapHolder\nend\n"))
      << "an empty bitmap stores nothing";
  holder.Picture()->SetSize(3, 2);
  holder.Picture()->Clear(0xFF0092CAu);
  const QString text = ostrel::host::WriteComponent(holder);
  ASSERT_TRUE(text.contains(QStringLiteral("Picture.PNG = {"))) << text.toStdString();

  const std::unique_ptr<TComponent> read = ostrel::host::ReadComponent(text);
  const auto* copy = qobject_cast<TTestBitmapHolder*>(read.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Picture()->Image(), holder.Picture()->Image());
  EXPECT_EQ(ostrel::host::WriteComponent(*copy), text);

  // Bytes that hold no picture are a faulty form, reported with its place.
  EXPECT_THROW(ostrel::host::ReadComponent(QStringLiteral("object TTestBitmapHolder\n  Picture.PNG = {0102}\nend\n")),
               Exception);
}

// Each row is a file that must not make the bitmap allocate what it declares.
TEST_F(BitmapTest, DeclaredSizesMustBeJustifiedByTheBytes) {
  struct Row {
    const char* Name;
    QByteArray Bytes;
  };
  const Row rows[] = {
      {"zero width", picture_bytes::PngHeaderDeclaring(0, 10)},
      {"beyond any picture", picture_bytes::PngHeaderDeclaring(40000, 40000)},
      {"millions of pixels in a few bytes", picture_bytes::PngHeaderDeclaring(5000, 5000)},
      {"truncated", picture_bytes::Png(64, 64, Qt::red).left(60)},
      {"a side longer than any picture's", picture_bytes::Png(1, TBitmap::MaxSide + 1, Qt::red)},
  };
  for (const Row& row : rows) {
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromStream(row.Bytes), EInvalidGraphic) << row.Name;
    EXPECT_TRUE(bitmap.IsEmpty()) << row.Name;
  }
  TBitmap large;
  large.LoadFromStream(picture_bytes::Png(3000, 2000, Qt::red));
  EXPECT_EQ(large.Width(), 3000) << "a large picture its file really holds still loads";
  TBitmap tall;
  tall.LoadFromStream(picture_bytes::Png(1, TBitmap::MaxSide, Qt::red));
  EXPECT_EQ(tall.Height(), TBitmap::MaxSide);
}

TEST_F(BitmapTest, FilesAreReadAndTheirErrorsTold) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.gif"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(picture_bytes::Gif());
  file.close();
  CountingBitmap bitmap;
  bitmap.LoadFromFile(path);
  EXPECT_EQ(bitmap.Width(), 1);
  EXPECT_EQ(bitmap.Image().pixelColor(0, 0), QColor(Qt::white));
  EXPECT_EQ(bitmap.Loads, 1);
  EXPECT_THROW(bitmap.LoadFromFile(dir.filePath(QStringLiteral("missing.png"))), EFOpenError);
  EXPECT_EQ(bitmap.Loads, 1);
}

}  // namespace

#include "Bitmap_test.moc"
