// How list items bind their fields to a button and an image, and how a
// generated page's values reach the image's picture file and back.

#include "skin/controls/uSkinButtonType.h"
#include "skin/controls/uSkinImageType.h"
#include "skin/controls/uSkinLabelType.h"
#include "skin/base/uSkinImageList.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PictureBytes.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using BindingTest = controls_test::ControlTest;

// A list item of the simplest kind: its pictures and animation states by field.
class TestItem : public ISkinBindingItem {
 public:
  TDrawPicture* GetFieldPicture(const QString& AFieldName) override {
    std::unique_ptr<TDrawPicture>& picture = FPictures[AFieldName];
    if (!picture) picture = std::make_unique<TDrawPicture>(AFieldName);
    return picture.get();
  }
  TItemFrameAnimateState GetFrameAnimateState(const QString& AFieldName) const override {
    return FStates.value(AFieldName, TItemFrameAnimateState::ifasNone);
  }
  void SetFrameAnimateState(const QString& AFieldName, TItemFrameAnimateState AValue) override {
    FStates.insert(AFieldName, AValue);
  }
  std::int32_t GetFrameAnimateStartTicket(const QString& AFieldName) const override { return FTickets.value(AFieldName); }
  void SetFrameAnimateStartTicket(const QString& AFieldName, std::int32_t AValue) override {
    FTickets.insert(AFieldName, AValue);
  }

 private:
  std::map<QString, std::unique_ptr<TDrawPicture>> FPictures;
  QHash<QString, TItemFrameAnimateState> FStates;
  QHash<QString, std::int32_t> FTickets;
};

std::unique_ptr<TSkinImageList> FrameList(int ACount) {
  auto list = std::make_unique<TSkinImageList>();
  for (int i = 0; i < ACount; ++i) list->PictureList()->Add()->LoadFromStream(picture_bytes::Png(4, 4, Qt::red));
  return list;
}

}  // namespace

TEST(ImageBindingText, AddressesAndIndexes) {
  using namespace ostrel::skin;
  EXPECT_TRUE(IsPictureUrl(QStringLiteral("HTTPS://a/b.png")));
  EXPECT_TRUE(IsPictureUrl(QStringLiteral("http://a")));
  EXPECT_FALSE(IsPictureUrl(QStringLiteral("ftp://a")));
  EXPECT_FALSE(IsPictureUrl(QStringLiteral(" http://a")));
  EXPECT_EQ(ImageIndexFromText(QStringLiteral("7")), 7);
  EXPECT_EQ(ImageIndexFromText(QStringLiteral("x7")), -1);
  EXPECT_EQ(ImageIndexFromText(QString()), -1);
  EXPECT_EQ(ItemFrameImageIndex(7, 3), 1);
  EXPECT_EQ(ItemFrameImageIndex(-1, 3), 2) << "a tick count that wrapped stays inside the list";
}

TEST_F(BindingTest, ALabelShowsABoundValueOrTextAsItsCaption) {
  auto* label = new TSkinFMXLabel(&FOwner);
  IBindSkinItemValueControl& byValue = *label;
  IBindSkinItemTextControl& byText = *label;
  byValue.BindingItemValue(2.5);
  EXPECT_EQ(label->Caption(), QStringLiteral("2.5"));
  byText.BindingItemText(QStringLiteral("Größe"));
  EXPECT_EQ(label->GetPostValue(QString()).toString(), QStringLiteral("Größe"));
}

TEST_F(BindingTest, AButtonShowsABoundTextAsCaptionAndABoundPictureAsIcon) {
  auto* button = new TSkinFMXButton(&FOwner);
  button->BindingItemValue(42);
  EXPECT_EQ(button->Caption(), QStringLiteral("42"));
  button->BindingItemText(QStringLiteral("Open"));
  EXPECT_EQ(button->GetPostValue(QString()).toString(), QStringLiteral("Open"));
  TFieldControlSetting setting;
  setting.Caption = QStringLiteral("Name");
  button->LoadFromFieldControlSetting(&setting);
  EXPECT_EQ(button->Caption(), QStringLiteral("Name"));

  TDrawPicture* icon = button->Prop()->Icon();
  TSkinPicture plain;
  plain.LoadFromStream(picture_bytes::Png(6, 6, Qt::blue));
  button->BindingItemObject(&plain);
  EXPECT_EQ(icon->PictureDrawType(), TPictureDrawType::pdtReference);
  EXPECT_EQ(icon->CurrentPicture(), &plain);
  EXPECT_FALSE(plain.IsClipRound());

  TDrawPicture source;
  source.LoadFromStream(picture_bytes::Png(8, 8, Qt::green));
  icon->SetIsClipRound(true);
  button->BindingItemObject(&source);
  EXPECT_EQ(icon->RefPicture(), source.CurrentPicture()) << "a drawing picture is referenced by its current picture";
  EXPECT_TRUE(source.IsClipRound()) << "the icon's clip flag reaches the given picture";

  TDrawPicture forward;
  forward.SetPictureDrawType(TPictureDrawType::pdtRefDrawPicture);
  forward.SetRefDrawPicture(&source);
  button->BindingItemObject(&forward);
  EXPECT_EQ(icon->PictureDrawType(), TPictureDrawType::pdtRefDrawPicture);
  EXPECT_EQ(icon->RefDrawPicture(), &forward);

  button->BindingItemObject(nullptr);
  EXPECT_EQ(icon->RefPicture(), nullptr);
  EXPECT_EQ(icon->RefDrawPicture(), nullptr);
  EXPECT_TRUE(icon->CurrentPictureIsEmpty()) << "no picture clears the icon";
}

TEST_F(BindingTest, AnImageTakesIndexesDataAndAddressesFromBoundValues) {
  auto* image = new TSkinFMXImage(&FOwner);
  TDrawPicture* picture = image->Prop()->Picture();
  const struct Row {
    const char* Name;
    QVariant Value;
    std::int32_t Index;
  } rows[] = {
      {"a number", 2, 2},
      {"true", true, 1},
      {"false", false, 0},
      {"a text number", QStringLiteral("3"), 3},
      {"a text that is no number", QStringLiteral("abc"), -1},
  };
  for (const Row& row : rows) {
    image->BindingItemValue(row.Value);
    EXPECT_EQ(picture->ImageIndex(), row.Index) << row.Name;
  }
  EXPECT_EQ(picture->PictureDrawType(), TPictureDrawType::pdtImageList) << "a text index is taken from the image list";

  TestItem item;
  image->SetBindingItem(&item);
  image->SetBindItemFieldName(QStringLiteral("Photo"));
  image->BindingItemValue(QStringLiteral("https://example.invalid/a.png"));
  EXPECT_EQ(picture->PictureDrawType(), TPictureDrawType::pdtRefDrawPicture);
  EXPECT_EQ(picture->RefDrawPicture(), item.GetFieldPicture(QStringLiteral("Photo")));
  EXPECT_EQ(item.GetFieldPicture(QStringLiteral("Photo"))->Url(), QStringLiteral("https://example.invalid/a.png"));

  // Base64 lines, decoded into the item's picture once per text.
  const QString data = QString::fromLatin1(picture_bytes::Png(5, 3, Qt::red).toBase64()).insert(8, u'\n');
  image->BindingItemValue(data);
  TDrawPicture* kept = item.GetFieldPicture(QStringLiteral("Photo"));
  EXPECT_EQ(picture->CurrentPictureWidth(), 5);
  EXPECT_EQ(picture->CurrentPictureHeight(), 3);
  kept->LoadFromStream(picture_bytes::Png(2, 2, Qt::red));
  image->BindingItemValue(data);
  EXPECT_EQ(kept->Width(), 2) << "the same text is not decoded again";

  LogCapture log;
  image->BindingItemValue(QStringLiteral("%%%%\n%%%%"));
  EXPECT_TRUE(kept->IsEmpty()) << "data that is no Base64 leaves no picture";
  EXPECT_EQ(log.Lines().filter(QStringLiteral("no Base64")).size(), 1) << log.Lines().join(u'\n').toStdString();
}

TEST_F(BindingTest, AnImageFollowsAnItemsFrameAnimationThroughItsImageList) {
  auto* image = new TSkinFMXImage(&FOwner);
  TImageProperties* properties = image->Prop();
  const std::unique_ptr<TSkinImageList> list = FrameList(3);
  properties->Picture()->SetSkinImageList(list.get());
  TestItem item;
  const QString field = QStringLiteral("Icon");

  image->BindingItemNamedText(field, QStringLiteral("1"), &item);
  EXPECT_EQ(properties->Picture()->ImageIndex(), 1) << "without an animation the text is the index";

  item.SetFrameAnimateState(field, TItemFrameAnimateState::ifasStarting);
  properties->DoRotateTimer();
  image->BindingItemNamedText(field, QStringLiteral("1"), &item);
  EXPECT_EQ(image->ItemAnimateRefCount, 1);
  EXPECT_TRUE(properties->Rotated());
  EXPECT_EQ(properties->Picture()->ImageIndex(), 0);
  EXPECT_EQ(item.GetFrameAnimateState(field), TItemFrameAnimateState::ifasRunning);

  for (int i = 0; i < 5; ++i) properties->DoRotateTimer();
  image->BindingItemNamedText(field, QStringLiteral("1"), &item);
  EXPECT_EQ(properties->Picture()->ImageIndex(), 2) << "five ticks since the start in a list of three";

  item.SetFrameAnimateState(field, TItemFrameAnimateState::ifasStopping);
  image->BindingItemNamedText(field, QStringLiteral("1"), &item);
  EXPECT_EQ(image->ItemAnimateRefCount, 0);
  EXPECT_FALSE(properties->Rotated());
  EXPECT_EQ(properties->Picture()->ImageIndex(), -1);

  image->BindingItemNamedText(field, QStringLiteral("http://example.invalid/b.png"), &item);
  EXPECT_EQ(item.GetFieldPicture(field)->Url(), QStringLiteral("http://example.invalid/b.png"));
  EXPECT_EQ(properties->Picture()->RefDrawPicture(), item.GetFieldPicture(field));

  TDrawPicture fromList;
  fromList.SetSkinImageList(list.get());
  fromList.SetImageIndex(2);
  image->BindingItemIcon(&fromList);
  EXPECT_EQ(properties->Picture()->SkinImageList(), list.get());
  EXPECT_EQ(properties->Picture()->ImageIndex(), 2);
  EXPECT_EQ(properties->Picture()->CurrentPicture(), list->GetItem(2)->CurrentPicture());
}

TEST_F(BindingTest, AnImageKeepsItsPictureInThePagesPictureFileAndLoadsItBack) {
  QTemporaryDir page;
  ASSERT_TRUE(page.isValid());
  auto* image = new TSkinFMXImage(&FOwner);
  image->SetName(QStringLiteral("Avatar"));
  TDrawPicture* picture = image->Prop()->Picture();

  // A changed picture is written to pics/<name>.png.
  TSkinPicture drawn;
  drawn.LoadFromStream(picture_bytes::Png(7, 5, Qt::blue));
  picture->Assign(&drawn);
  ASSERT_TRUE(picture->IsChanged);
  EXPECT_EQ(image->GetPostValue(page.path()).toString(), QStringLiteral("Avatar.png"));
  const QString file = QDir(page.path()).filePath(QStringLiteral("pics/Avatar.png"));
  ASSERT_TRUE(QFile::exists(file));

  auto* again = new TSkinFMXImage(&FOwner);
  again->SetControlValue(QStringLiteral("Avatar.png"), page.path());
  TDrawPicture* loaded = again->Prop()->Picture();
  EXPECT_EQ(loaded->Width(), 7);
  EXPECT_EQ(loaded->Height(), 5);
  EXPECT_FALSE(loaded->IsChanged);
  EXPECT_EQ(again->GetPostValue(page.path()).toString(), QStringLiteral("Avatar.png")) << "an unchanged picture gives its name";

  QFile bad(QDir(page.path()).filePath(QStringLiteral("pics/Broken.png")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a picture at all");
  bad.close();
  const struct Row {
    const char* Name;
    QString Value;
    const char* LogText;
  } failures[] = {
      {"a missing file", QStringLiteral("Nobody.png"), "not found"},
      {"a file that does not decode", QStringLiteral("Broken.png"), "Broken.png"},
      {"a path that leaves the folder", QStringLiteral("../pics/Avatar.png"), nullptr},
  };
  for (const Row& row : failures) {
    LogCapture log;
    again->SetControlValue(row.Value, page.path());
    if (row.LogText == nullptr) {
      EXPECT_EQ(loaded->Width(), 7) << row.Name << ": only the file's name counts";
      continue;
    }
    EXPECT_TRUE(loaded->IsEmpty()) << row.Name;
    EXPECT_FALSE(log.Lines().filter(QString::fromUtf8(row.LogText)).isEmpty())
        << row.Name << ": " << log.Lines().join(u'\n').toStdString();
  }

  again->SetControlValue(QString::fromLatin1(picture_bytes::Png(3, 2, Qt::red).toBase64(QByteArray::Base64Encoding)) +
                             QStringLiteral("\n"),
                         page.path());
  EXPECT_EQ(loaded->Width(), 3) << "Base64 data";
  again->SetControlValue(QStringLiteral("https://example.invalid/c.png"), page.path());
  EXPECT_TRUE(loaded->IsEmpty());
  EXPECT_EQ(loaded->Url(), QStringLiteral("https://example.invalid/c.png"));
}
