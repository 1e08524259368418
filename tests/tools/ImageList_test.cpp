// A form built from a template and the window's rendered pictures reads back
// into image lists holding those pictures, in order, found by index and by
// name at each display scale.

#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinImageList.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "tests/support/GuiApp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <string>

namespace {

const std::string kPictures = OSTREL_PICTURES_DIR;

class TImageListHolder : public TComponent {
  Q_OBJECT

 public:
  using TComponent::TComponent;
};

QString ReadText(const std::string& APath) {
  QFile file(QString::fromStdString(APath));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class ImageListToolTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test_support::GuiApp();
    ostrel::skin::StartSkinLibrary({&ostrel::skin::RegisterSkinCoreFamily});
    ostrel::host::RegisterClass<TImageListHolder>();
  }
};

TEST_F(ImageListToolTest, TheBuiltFormHoldsTheListedPicturesInOrder) {
  const QString text = ReadText(OSTREL_IMAGE_LIST_FORM);
  ASSERT_FALSE(text.isEmpty());
  const std::unique_ptr<TComponent> window = ostrel::host::ReadComponent(text);
  EXPECT_EQ(ostrel::host::WriteComponent(*window), text) << "the tool writes the form's own text";

  const auto* ui = qobject_cast<TSkinImageList*>(window->FindComponent(QStringLiteral("UIImageList")));
  ASSERT_NE(ui, nullptr);
  const struct {
    const char* Name;
    QSize Size;
  } uiItems[] = {{"switchon1", {37, 37}}, {"switchon2", {37, 37}}, {"switchon3", {37, 37}},
                 {"progress1", {100, 5}}, {"progress2", {100, 5}}, {"combodropdown", {50, 50}}};
  ASSERT_EQ(ui->Count(), 6);
  for (int i = 0; i < 6; ++i) {
    const TDrawPicture* item = ui->GetItem(i);
    EXPECT_EQ(item->ImageName(), QString::fromUtf8(uiItems[i].Name));
    EXPECT_EQ(item->Image().size(), uiItems[i].Size) << uiItems[i].Name;
    const QImage rendered(QString::fromStdString(kPictures + "/" + uiItems[i].Name + ".png"));
    EXPECT_EQ(item->Image(), rendered.convertToFormat(item->Image().format())) << uiItems[i].Name;
  }

  const auto* icons = qobject_cast<TSkinImageList*>(window->FindComponent(QStringLiteral("IconImageList")));
  ASSERT_NE(icons, nullptr);
  ASSERT_EQ(icons->Count(), 4);
  for (const char16_t* name : {u"close", u"files"}) {
    const TDrawPicture* plain = icons->PictureList()->GetItemByName(QString::fromUtf16(name), 1.0);
    const TDrawPicture* twice = icons->PictureList()->GetItemByName(QString::fromUtf16(name), 2.0);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(plain->Image().size(), QSize(24, 24));
    EXPECT_EQ(twice->Image().size(), QSize(48, 48));
    EXPECT_EQ(twice->ImageName(), QString::fromUtf16(name) + QStringLiteral("@2x"));
  }
  EXPECT_EQ(icons->GetItem(0)->ImageName(), QStringLiteral("close")) << "the window finds the close icon first";
}

}  // namespace

#include "ImageList_test.moc"
