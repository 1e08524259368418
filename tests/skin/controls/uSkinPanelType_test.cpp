// The panel: its size, what it paints with and without caption, background
// and picture, the tool bar's caption below the top padding, repaints and
// stored forms.

#include "skin/controls/uSkinPanelType.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using paint_record::OpKind;

using TCountingPanel = controls_test::Counting<TSkinFMXPanel>;

using PanelTest = controls_test::ControlTest;

}  // namespace

TEST_F(PanelTest, AFreshPanelMeasures200By50AndIsNoToolBar) {
  auto* panel = new TCountingPanel(&FOwner);
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(panel->Height(), 50);
  EXPECT_FALSE(panel->Prop()->IsToolBar());
  EXPECT_TRUE(TControlTypeClass::Of<TSkinPanelType>().IsClassOf(panel->SkinControlType()));
  ASSERT_NE(panel->CurrentUseMaterialToDefault(), nullptr);
  EXPECT_EQ(panel->Material()->BackgroundPicture(), nullptr);
}

TEST_F(PanelTest, PaintsBackgroundPictureAndCaptionAsTheMaterialSays) {
  struct Row {
    const char* Name;
    bool Transparent;
    bool Picture;
    const char* Caption;
    std::vector<OpKind> Expected;
  };
  const Row rows[] = {
      {"empty caption: the background alone", false, false, "", {OpKind::Rects}},
      {"transparent: the caption alone", true, false, "Hi", {OpKind::Text}},
      {"background, picture, caption", false, true, "Hi", {OpKind::Rects, OpKind::Image, OpKind::Text}},
      {"transparent with picture, no caption", true, true, "", {OpKind::Image}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    auto* panel = new TCountingPanel(&FOwner);
    TSkinPanelDefaultMaterial* material = panel->Material();
    material->SetIsTransparent(row.Transparent);
    material->BackColor()->SetIsFill(true);
    if (row.Picture) {
      material->CreateBackgroundPicture();
      material->BackgroundPicture()->LoadFromStream(picture_bytes::Png(4, 4, Qt::red));
    }
    panel->SetText(QString::fromUtf8(row.Caption));
    std::vector<OpKind> kinds;
    for (const paint_record::Op& op : controls_test::RecordControl(*panel)) kinds.push_back(op.Kind);
    EXPECT_EQ(kinds, row.Expected);
  }
}

TEST_F(PanelTest, CreatesItsBackgroundPictureOnce) {
  auto* panel = new TCountingPanel(&FOwner);
  TSkinPanelDefaultMaterial* material = panel->Material();
  const int params = material->DrawParamList()->Count();
  material->CreateBackgroundPicture();
  TDrawPicture* picture = material->BackgroundPicture();
  TDrawPictureParam* param = material->DrawPictureParam();
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(param, nullptr);
  EXPECT_EQ(param->Name(), QStringLiteral("DrawPictureParam"));
  material->CreateBackgroundPicture();
  EXPECT_EQ(material->BackgroundPicture(), picture);
  EXPECT_EQ(material->DrawPictureParam(), param);
  EXPECT_EQ(material->DrawParamList()->Count(), params + 1);
}

TEST_F(PanelTest, AToolBarsCaptionStaysBelowItsTopPadding) {
  struct Row {
    const char* Name;
    bool IsToolBar;
    const char* Component;
    double Top;
  };
  const Row rows[] = {
      {"a plain panel ignores its padding", false, "pnlBottom", 0},
      {"the flag moves the caption", true, "pnlBottom", 12},
      {"the name moves it without the flag", false, "pnlToolBar", 12},
      {"the name is case-sensitive", false, "pnltoolbar", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    const TRectF rect = ostrel::skin::PanelCaptionRect(TRectF(0, 0, 200, 50), row.IsToolBar,
                                                       QString::fromUtf8(row.Component), 12);
    EXPECT_EQ(rect, TRectF(0, row.Top, 200, 50 - row.Top));
  }

  auto* panel = new TCountingPanel(&FOwner);
  panel->SetName(QStringLiteral("pnlToolBar"));
  panel->Padding()->SetTop(20);
  panel->SetText(QStringLiteral("Tools"));
  panel->Material()->DrawCaptionParam()->SetFontVertAlign(TFontVertAlign::fvaTop);
  const std::vector<paint_record::Op> texts = controls_test::OpsOf(controls_test::RecordControl(*panel), OpKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NEAR(texts[0].Rect.top(), 20, 0.5);
}

TEST_F(PanelTest, RepaintsOnlyForANewCaption) {
  auto* panel = new TCountingPanel(&FOwner);
  panel->SkinControlType();
  panel->SetText(QStringLiteral("A"));
  EXPECT_EQ(panel->InvalidateCount, 1);
  panel->SetText(QStringLiteral("A"));
  EXPECT_EQ(panel->InvalidateCount, 1);
}

TEST_F(PanelTest, ReadsAndWritesItsStoredFormAndRefusesOtherControls) {
  const QString text = QStringLiteral(
      "object Form1: TForm\n"
      "  object pnlBottom: TSkinFMXPanel\n"
      "    Width = -30\n"
      "    Height = 60\n"
      "    Caption = 'Bottom'\n"
      "    Properties.IsToolBar = True\n"
      "    SelfOwnMaterial.IsTransparent = False\n"
      "    SelfOwnMaterial.BackColor.IsFill = True\n"
      "    SelfOwnMaterial.BackColor.FillColor.Color = xFF202020\n"
      "    object Inner: TSkinFMXPanel\n"
      "    end\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(text);
  auto* panel = dynamic_cast<TSkinFMXPanel*>(form->FindComponent(QStringLiteral("pnlBottom")));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Width(), 0) << "a negative width is held at 0";
  EXPECT_EQ(panel->Height(), 60);
  EXPECT_TRUE(panel->Prop()->IsToolBar());
  EXPECT_FALSE(panel->Material()->IsTransparent());
  auto* inner = dynamic_cast<TSkinFMXPanel*>(form->FindComponent(QStringLiteral("Inner")));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->ParentControl(), panel);

  std::unique_ptr<TComponent> again = ostrel::host::ReadComponent(ostrel::host::WriteComponent(*form));
  auto* copy = dynamic_cast<TSkinFMXPanel*>(again->FindComponent(QStringLiteral("pnlBottom")));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Caption(), QStringLiteral("Bottom"));
  EXPECT_TRUE(copy->Prop()->IsToolBar());
  EXPECT_EQ(copy->Material()->BackColor()->FillDrawColor()->Color(), 0xFF202020u);

  test_support::StartSkinTestFamily();
  TSkinTestBox other(&FOwner);
  controls_test::ExpectRefused([&] { TPanelProperties properties(&other); }, "This Component Do not Support ISkinPanel Interface");
}
