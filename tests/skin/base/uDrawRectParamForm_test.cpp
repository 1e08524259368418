#include "skin/base/uDrawRectParam.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Stands for a material: a component that owns one published rectangle parameter.
class TTestRectHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TDrawRectParam* BackColor READ BackColor)

 public:
  explicit TTestRectHolder(TComponent* AOwner = nullptr)
      : TComponent(AOwner),
        FBackColor(std::make_unique<TDrawRectParam>(QStringLiteral("BackColor"), QStringLiteral("背景颜色"))) {}

  TDrawRectParam* BackColor() const { return FBackColor.get(); }

 private:
  std::unique_ptr<TDrawRectParam> FBackColor;
};

class DrawRectParamFormTest : public ::testing::Test {
 protected:
  void SetUp() override { ostrel::host::RegisterClass<TTestRectHolder>(); }
};

TEST_F(DrawRectParamFormTest, UnchangedParameterWritesNothing) {
  const TTestRectHolder holder;
  EXPECT_EQ(ostrel::host::WriteComponent(holder), QStringLiteral("object TTestRectHolder\nend\n"));
}

TEST_F(DrawRectParamFormTest, ConfiguredParameterSurvivesWriteAndRead) {
  TTestRectHolder holder;
  TDrawRectParam& param = *holder.BackColor();
  param.SetIsFill(true);
  param.FillDrawColor()->SetColor(0xFF0092CAu);
  param.SetRectCorners({TDRPRectCorner::rcBottomLeft, TDRPRectCorner::rcBottomRight});
  param.SetIsRound(true);
  param.SetRoundWidth(4);
  param.SetRoundHeight(4);
  param.BorderDrawColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor);
  param.SetBrushKind(TDRPBrushKind::drpbkGradient);
  param.SetGradientColor1(0xFF00FF00u);
  param.DrawRectSetting()->SetSizeType(TDPSizeType::dpstPixel);
  param.DrawRectSetting()->SetMargins(8, 0, 30, 0);
  param.DrawRectSetting()->SetEnabled(true);
  TDrawRectParamEffect& over = *param.DrawEffectSetting()->MouseOverEffect();
  over.FillDrawColor()->SetColor(0xFF0089BFu);
  over.BorderDrawColor()->SetColor(0xFF0090C9u);
  over.SetEffectTypes({TDRPEffectType::drpetFillColorChange, TDRPEffectType::drpetBorderColorChange});
  over.SetCommonEffectTypes({TDPCommonEffectType::dpcetOffsetChange});

  const QString text = ostrel::host::WriteComponent(holder);
  for (const char* line : {
           "BackColor.GradientColor1 = xFF00FF00",
           "BackColor.BrushKind = drpbkGradient",
           "BackColor.RectCorners = [rcBottomLeft, rcBottomRight]",
           "BackColor.IsFill = True",
           "BackColor.FillColor.Color = xFF0092CA",
           "BackColor.RoundWidth = 4",
           "BackColor.BorderColor.UseThemeColor = ctThemeColor",
           "BackColor.DrawRectSetting.Left = 8",
           "BackColor.DrawRectSetting.SizeType = dpstPixel",
           "BackColor.DrawEffectSetting.MouseOverEffect.EffectTypes = [drpetFillColorChange, drpetBorderColorChange]",
           "BackColor.DrawEffectSetting.MouseOverEffect.CommonEffectTypes = [dpcetOffsetChange]",
       }) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
  }
  EXPECT_FALSE(text.contains(QStringLiteral("DrawRectSetting.Width"))) << "pixel sizes of 0 are not stored";
  EXPECT_FALSE(text.contains(QStringLiteral("BorderEadges")));
  EXPECT_EQ(text.count(QStringLiteral("MouseOverEffect.EffectTypes")), 1) << "republished effects are written once";

  const std::unique_ptr<TComponent> read = ostrel::host::ReadComponent(text);
  auto* copy = qobject_cast<TTestRectHolder*>(read.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(ostrel::host::WriteComponent(*copy), text);
  const TDrawRectParam& back = *copy->BackColor();
  EXPECT_EQ(back.RectCorners(), param.RectCorners());
  EXPECT_EQ(back.FillDrawColor()->Color(), 0xFF0092CAu);
  EXPECT_EQ(back.GradientColor1(), 0xFF00FF00u);
  EXPECT_EQ(back.DrawEffectSetting()->MouseOverEffect()->EffectTypes(), over.EffectTypes());
  EXPECT_EQ(back.CalcDrawRect(TRectF(0, 0, 464, 30)), TRectF(QPointF(8, 0), QPointF(434, 30)));
}

}  // namespace

#include "uDrawRectParamForm_test.moc"
