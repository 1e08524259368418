// The label: size, caption drawing, automatic size (width alone without
// word wrap), repaints, item colours and stored forms.

#include "skin/controls/uSkinLabelType.h"
#include "skin/host/FormReader.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using paint_record::OpKind;

// Counts its resizes as well.
class TCountingLabel : public controls_test::Counting<TSkinFMXLabel> {
 public:
  using Counting::Counting;
  void Resize() override {
    ++ResizeCount;
    Counting::Resize();
  }
  int ResizeCount = 0;
};

using LabelTest = controls_test::ControlTest;

}  // namespace

TEST_F(LabelTest, AFreshLabelMeasures120By22AndDrawsNothingWithoutCaption) {
  auto* label = new TCountingLabel(&FOwner);
  EXPECT_EQ(label->Width(), 120);
  EXPECT_EQ(label->Height(), 22);
  EXPECT_FALSE(label->Prop()->AutoSize());
  EXPECT_TRUE(TControlTypeClass::Of<TSkinLabelType>().IsClassOf(label->SkinControlType()));
  EXPECT_TRUE(controls_test::RecordControl(*label).empty());
  label->SetText(QStringLiteral("Install to"));
  const std::vector<paint_record::Op> ops = controls_test::RecordControl(*label);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].Kind, OpKind::Text);
  EXPECT_EQ(ops[0].Text, QStringLiteral("Install to"));
}

TEST_F(LabelTest, AutoSizeWithoutWordWrapChangesTheWidthAlone) {
  auto* label = new TCountingLabel(&FOwner);
  TDrawTextParam* param = label->Material()->DrawCaptionParam();
  label->Prop()->SetAutoSize(true);
  EXPECT_NEAR(label->Width(), GetTextAutoSize(QString(), TRectF(0, 0, 120, 22), param).Width, 0.001)
      << "an empty caption still measures";
  label->SetText(QStringLiteral("Custom installation"));
  const double wide = label->Width();
  EXPECT_NEAR(wide, GetTextAutoSize(QStringLiteral("Custom installation"), TRectF(0, 0, 500, 22), param).Width, 0.001);
  EXPECT_EQ(label->Height(), 22);
  label->SetText(QStringLiteral("Custom"));
  EXPECT_LT(label->Width(), wide);
  EXPECT_EQ(label->Height(), 22);

  label->InvalidateCount = 0;
  label->ResizeCount = 0;
  label->SetText(QStringLiteral("Custom"));
  EXPECT_EQ(label->InvalidateCount, 0);
  EXPECT_EQ(label->ResizeCount, 0);
  label->SetText(QStringLiteral("Other"));
  EXPECT_EQ(label->InvalidateCount, 1);
}

TEST_F(LabelTest, AMaterialChangeResizesAnAutoSizedLabel) {
  auto* label = new TCountingLabel(&FOwner);
  label->SetText(QStringLiteral("Slogan"));
  label->Prop()->SetAutoSize(true);
  const double before = label->Width();
  label->Material()->DrawCaptionParam()->SetFontSize(30);
  EXPECT_GT(label->Width(), before);
}

TEST_F(LabelTest, ItemColourCodesTwoToNineRecolourTheCaption) {
  auto* label = new TCountingLabel(&FOwner);
  TDrawFont* font = label->Material()->DrawCaptionParam()->DrawFont();
  font->SetColor(0xFF000000);
  for (const int code : {1, 10, 0, -1}) {
    EXPECT_FALSE(label->SetItemColor(code, 0xFFFF0000)) << code;
    EXPECT_EQ(font->Color(), 0xFF000000u) << code;
  }
  TAlphaColor old = 0;
  EXPECT_TRUE(label->ProcessItemColor(2, 0xFFFF0000, old));
  EXPECT_EQ(old, 0xFF000000u);
  EXPECT_TRUE(label->SetItemColor(9, 0xFF00FF00));
  EXPECT_EQ(font->Color(), 0xFF00FF00u);
}

TEST_F(LabelTest, ReadsItsStoredFormAndRefusesOtherControls) {
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(QStringLiteral(
      "object Form1: TForm\n"
      "  object lblInstallTo: TSkinFMXLabel\n"
      "    Width = 80\n"
      "    Caption = 'Install to'\n"
      "    Properties.AutoSize = False\n"
      "    SelfOwnMaterial.DrawCaptionParam.FontSize = 14\n"
      "    SelfOwnMaterial.DrawCaptionParam.IsWordWrap = True\n"
      "    SelfOwnMaterial.DrawCaptionParam.FontColor = claWhite\n"
      "  end\n"
      "end\n"));
  auto* label = dynamic_cast<TSkinFMXLabel*>(form->FindComponent(QStringLiteral("lblInstallTo")));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Width(), 80);
  EXPECT_EQ(label->Caption(), QStringLiteral("Install to"));
  EXPECT_EQ(label->Material()->DrawCaptionParam()->FontSize(), 14.0);
  EXPECT_TRUE(label->Material()->DrawCaptionParam()->IsWordWrap());
  EXPECT_EQ(label->Material()->DrawCaptionParam()->DrawFont()->Color(), 0xFFFFFFFFu);

  test_support::StartSkinTestFamily();
  TSkinTestBox other(&FOwner);
  controls_test::ExpectRefused(
      [&] {
        TSkinLabelType type;
        type.Bind(&other);
      },
      "This Component Do not Support ISkinLabel Interface");
}
