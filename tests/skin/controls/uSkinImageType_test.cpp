// The image's rotation timer: interval, angle and frame steps as tables;
// then the control: defaults, the delay floor, the timer driving angles and
// list frames, automatic size, painting and stored forms.

#include "skin/base/uSkinImageList.h"
#include "skin/controls/uSkinImageType.h"
#include "skin/host/FormReader.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

namespace {

using namespace ostrel::skin;

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

TEST(ImageRotation, TimerIntervalIsTheCeilingOfTenTimesTheSpeed) {
  struct Row {
    const char* Name;
    double Speed;
    int Expected;
  };
  const Row rows[] = {
      {"not a number ticks at 1 ms, not on every pass", std::numeric_limits<double>::quiet_NaN(), 1},
      {"zero ticks at 1 ms", 0, 1},
      {"negative ticks at 1 ms", -3, 1},
      {"huge is held to what a timer takes", 1e300, std::numeric_limits<int>::max()},
      {"the default 5 is 50 ms", 5, 50},
      {"2.01 is 21 ms", 2.01, 21},
      {"0.01 is 1 ms", 0.01, 1},
  };
  for (const Row& row : rows) EXPECT_EQ(RotateTimerInterval(row.Speed), row.Expected) << row.Name;
}

std::vector<std::int32_t> Angles(std::int32_t AIncrement, int ACount) {
  std::vector<std::int32_t> angles;
  std::int32_t angle = 0;
  for (int i = 0; i < ACount; ++i) angles.push_back(angle = NextRotateAngle(angle, AIncrement));
  return angles;
}

TEST(ImageRotation, AnglesRunUpTo360AndStartAgain) {
  std::vector<std::int32_t> expected;
  for (int a = 20; a <= 360; a += 20) expected.push_back(a);
  expected.push_back(20);
  EXPECT_EQ(Angles(20, 19), expected);

  EXPECT_EQ(Angles(50, 9), (std::vector<std::int32_t>{50, 100, 150, 200, 250, 300, 350, 360, 50}));
}

TEST(ImageRotation, AngleStepsNeverOverflow) {
  EXPECT_EQ(NextRotateAngle(0, kIntMax), 360);
  EXPECT_EQ(NextRotateAngle(kIntMax, kIntMax), 360);
  EXPECT_EQ(NextRotateAngle(kIntMin, -1), kIntMin);
  EXPECT_EQ(NextRotateAngle(-10, -20), -30);
}

TEST(ImageRotation, FramesCycleThroughTheList) {
  struct Row {
    const char* Name;
    std::int32_t Index, Count, Expected;
  };
  const Row rows[] = {
      {"an empty list keeps the index", 4, 0, 4},
      {"one picture keeps the index", 0, 1, 0},
      {"no selection starts at 0", -1, 3, 0},
      {"a negative index lands inside", -5, 3, 2},
      {"the last index", kIntMax, 3, 2},
      {"next", 1, 3, 2},
      {"after the last back to 0", 2, 3, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(NextFrameImageIndex(row.Index, row.Count), row.Expected) << row.Name;
}

}  // namespace

// --- the image control -----------------------------------------------------------------------

namespace {

using paint_record::OpKind;

// An image list of ACount small pictures.
std::unique_ptr<TSkinImageList> FrameList(int ACount) {
  auto list = std::make_unique<TSkinImageList>();
  for (int i = 0; i < ACount; ++i) list->PictureList()->Add()->LoadFromStream(picture_bytes::Png(4, 4, Qt::red));
  return list;
}

using ImageTest = controls_test::ControlTest;

}  // namespace

TEST_F(ImageTest, AFreshImageHasItsSizeAndDefaults) {
  auto* image = new TSkinFMXImage(&FOwner);
  EXPECT_EQ(image->Width(), 120);
  EXPECT_EQ(image->Height(), 100);
  TImageProperties* p = image->Prop();
  EXPECT_EQ(p->AnimateSpeed(), 10.0);
  EXPECT_EQ(p->GIFDelayExp(), 12);
  EXPECT_EQ(p->RotateSpeed(), 5.0);
  EXPECT_EQ(p->RotateIncrement(), 20);
  EXPECT_EQ(p->RotateTimer(), nullptr);
  EXPECT_TRUE(p->Picture()->GIFSupport());
  EXPECT_EQ(p->Picture()->Name(), QStringLiteral("Image.Picture"));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinImageType>().IsClassOf(image->SkinControlType()));
  ASSERT_NE(image->CurrentUseMaterialToDefault(), nullptr);

  for (const std::int32_t value : {0, -5}) {
    p->SetGIFDelayExp(value);
    EXPECT_EQ(p->GIFDelayExp(), 1) << value;
  }
}

TEST_F(ImageTest, TheRotationTimerTurnsThePictureAndRepaints) {
  auto* image = new TSkinFMXImage(&FOwner);
  TImageProperties* p = image->Prop();
  p->SetRotated(true);
  ASSERT_NE(p->RotateTimer(), nullptr);
  EXPECT_TRUE(p->RotateTimer()->Enabled());
  EXPECT_EQ(p->RotateTimer()->Interval(), 50);
  p->SetRotateSpeed(2.01);
  EXPECT_EQ(p->RotateTimer()->Interval(), 21);
  std::vector<std::int32_t> angles;
  for (int i = 0; i < 19; ++i) {
    p->DoRotateTimer();
    angles.push_back(p->CurrentRotateAngle());
  }
  EXPECT_EQ(angles.front(), 20);
  EXPECT_EQ(angles[16], 340);
  EXPECT_EQ(angles[17], 360);
  EXPECT_EQ(angles[18], 20);
  EXPECT_EQ(p->AnimateTicket(), 19);
  p->SetRotated(false);
  EXPECT_FALSE(p->RotateTimer()->Enabled());
  p->SetRotateSpeed(3);
  EXPECT_FALSE(p->RotateTimer()->Enabled()) << "a new speed keeps a stopped timer stopped";

  p->SetCurrentRotateAngle(90);
  image->Material()->DrawPictureParam()->SetIsStretch(true);
  p->Picture()->LoadFromStream(picture_bytes::Png(8, 8, Qt::red));
  const std::vector<paint_record::Op> images = controls_test::OpsOf(controls_test::RecordControl(*image), OpKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_FALSE(images[0].Transform.isIdentity()) << "the picture is drawn turned";
}

TEST_F(ImageTest, APictureFromAnImageListStepsThroughTheListInsteadOfTurning) {
  auto* image = new TSkinFMXImage(&FOwner);
  TImageProperties* p = image->Prop();
  const std::unique_ptr<TSkinImageList> list = FrameList(3);
  p->Picture()->SetSkinImageList(list.get());
  p->Picture()->SetImageIndex(0);
  p->SetRotated(true);
  std::vector<std::int32_t> indexes;
  for (int i = 0; i < 4; ++i) {
    p->DoRotateTimer();
    indexes.push_back(p->Picture()->ImageIndex());
  }
  EXPECT_EQ(indexes, (std::vector<std::int32_t>{1, 2, 0, 1}));
  EXPECT_EQ(p->CurrentRotateAngle(), 0);

  const std::unique_ptr<TSkinImageList> single = FrameList(1);
  p->Picture()->SetSkinImageList(single.get());
  p->Picture()->SetImageIndex(0);
  p->DoRotateTimer();
  EXPECT_EQ(p->Picture()->ImageIndex(), 0);
  EXPECT_EQ(p->CurrentRotateAngle(), 0);
  p->Picture()->SetSkinImageList(nullptr);
}

TEST_F(ImageTest, AutoSizeTakesThePictureSizeOnlyWithParentAndPicture) {
  TControl parent(&FOwner);
  auto* orphan = new TSkinFMXImage(&FOwner);
  orphan->Prop()->SetAutoSize(true);
  orphan->Prop()->Picture()->LoadFromStream(picture_bytes::Png(30, 20, Qt::red));
  EXPECT_EQ(orphan->Width(), 120) << "no parent: the size stays";

  auto* image = new TSkinFMXImage(&FOwner);
  image->SetParent(&parent);
  image->Prop()->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 120) << "no picture: the size stays";
  image->Prop()->Picture()->LoadFromStream(picture_bytes::Png(30, 20, Qt::red));
  EXPECT_EQ(image->Width(), 30);
  EXPECT_EQ(image->Height(), 20);
}

TEST_F(ImageTest, AnAnimatedImageWithAPlainPictureDrawsItTurned) {
  auto* image = new TSkinFMXImage(&FOwner);
  image->SetText(QStringLiteral("logo"));
  image->Prop()->SetAnimated(true);
  image->Prop()->SetCurrentRotateAngle(180);
  image->Prop()->Picture()->LoadFromStream(picture_bytes::Png(8, 8, Qt::red));
  const std::vector<paint_record::Op> ops = controls_test::RecordControl(*image);
  std::vector<OpKind> kinds;
  for (const paint_record::Op& op : ops) kinds.push_back(op.Kind);
  EXPECT_EQ(kinds, (std::vector<OpKind>{OpKind::Image, OpKind::Text}));
  EXPECT_EQ(image->Material()->DrawPictureParam()->RotateAngle(), 180);
}

TEST_F(ImageTest, ReadsItsStoredFormAndRefusesOtherControls) {
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(QStringLiteral(
      "object Form1: TForm\n"
      "  object imgBrand: TSkinFMXImage\n"
      "    Width = 240\n"
      "    Properties.GIFDelayExp = -3\n"
      "    Properties.RotateIncrement = 50\n"
      "    SelfOwnMaterial.DrawPictureParam.IsAutoFit = True\n"
      "    SelfOwnMaterial.DrawPictureParam.PictureHorzAlign = phaCenter\n"
      "  end\n"
      "end\n"));
  auto* image = dynamic_cast<TSkinFMXImage*>(form->FindComponent(QStringLiteral("imgBrand")));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 240);
  EXPECT_EQ(image->Prop()->GIFDelayExp(), 1);
  EXPECT_EQ(image->Prop()->RotateIncrement(), 50);
  EXPECT_TRUE(image->Material()->DrawPictureParam()->IsAutoFit());

  test_support::StartSkinTestFamily();
  TSkinTestBox other(&FOwner);
  controls_test::ExpectRefused([&] { TImageProperties properties(&other); }, "This Component Do not Support ISkinImage Interface");
}

