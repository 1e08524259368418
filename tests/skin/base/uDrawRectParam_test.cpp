#include "skin/base/uDrawRectParam.h"
#include "skin/host/PropertyTypes.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <vector>

namespace {

using DPS = TDPEffectState;
using ET = TDRPEffectType;

void ExpectDefaults(const TDrawRectParam& AParam) {
  EXPECT_FALSE(AParam.IsFill());
  EXPECT_EQ(AParam.FillDrawColor()->Color(), claWhite);
  EXPECT_EQ(AParam.FillDrawColor()->UseThemeColor(), TUseThemeColorType::ctNone);
  EXPECT_EQ(AParam.BorderDrawColor()->Color(), claBlack);
  EXPECT_EQ(AParam.BorderWidth(), 0);
  EXPECT_EQ(AParam.BorderEadges(), AllBorderEadges);
  EXPECT_FALSE(AParam.IsLine());
  EXPECT_EQ(AParam.LinePosition(), TDRPLinePosition::lpBottom);
  EXPECT_FALSE(AParam.IsRound());
  EXPECT_EQ(AParam.RoundWidth(), 6.0);
  EXPECT_EQ(AParam.RoundHeight(), 6.0);
  EXPECT_EQ(AParam.BrushKind(), TDRPBrushKind::drpbkFill);
  EXPECT_EQ(AParam.Alpha(), 255);
}

TEST(DrawRectParamTest, NewParameterDrawsNothingByDefault) {
  const TDrawRectParam param(QStringLiteral("BackColor"), QStringLiteral("背景颜色"));
  ExpectDefaults(param);
  EXPECT_EQ(param.RectCorners(), AllRectCorners);
  EXPECT_FALSE(param.IsClipRound());
  EXPECT_EQ(param.ClipRoundWidth(), -1.0);
  EXPECT_EQ(param.ClipRoundHeight(), -1.0);
  EXPECT_FALSE(param.ClipRoundRectSetting()->Enabled());
  EXPECT_FALSE(param.FillDrawColor()->IsColorStored()) << "white is the fill colour's stored default";
  EXPECT_FALSE(param.CurrentEffectIsFill());
  EXPECT_EQ(param.CurrentEffectBorderWidth(), 0);
  EXPECT_EQ(param.Name(), QStringLiteral("BackColor"));
}

TEST(DrawRectParamTest, ClearRestoresDefaultsButKeepsCornersGradientAndHole) {
  TDrawRectParam param;
  param.SetIsFill(true);
  param.FillDrawColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor);
  param.FillDrawColor()->SetColor(0xFF102030u);
  param.BorderDrawColor()->SetColor(0xFF405060u);
  param.SetBorderWidth(2);
  param.SetBorderEadges({TDRPBorderEadge::beTop});
  param.SetIsLine(true);
  param.SetLinePosition(TDRPLinePosition::lpTop);
  param.SetIsRound(true);
  param.SetRoundWidth(-1);
  param.SetRoundHeight(3);
  param.SetBrushKind(TDRPBrushKind::drpbkGradient);
  param.SetAlpha(9);
  param.SetRectCorners({TDRPRectCorner::rcTopLeft});
  param.Gradient()->SetColor1(0xFF00FF00u);
  param.SetIsClipRound(true);
  param.SetClipRoundWidth(4);
  param.ClipRoundRectSetting()->SetEnabled(true);

  param.Clear();

  ExpectDefaults(param);
  EXPECT_EQ(param.RectCorners(), TDRPRectCorners{TDRPRectCorner::rcTopLeft});
  EXPECT_EQ(param.GradientColor1(), 0xFF00FF00u);
  EXPECT_TRUE(param.IsClipRound());
  EXPECT_EQ(param.ClipRoundWidth(), 4);
  EXPECT_TRUE(param.ClipRoundRectSetting()->Enabled());
}

// A rectangle whose mouse-over effect the cases configure.
class RectEffectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Param.SetIsFill(false);
    Param.FillDrawColor()->SetColor(0xFF112233u);
    Param.BorderDrawColor()->SetColor(0xFF445566u);
    Param.SetBorderWidth(1);
    Effect.FillDrawColor()->SetColor(0xFF0089BFu);
    Effect.BorderDrawColor()->SetColor(0xFF0090C9u);
    Effect.SetBorderWidth(3);
    Effect.SetIsFill(true);
  }

  TDrawRectParam Param{QStringLiteral("BackColor"), QString()};
  TDrawRectParamEffect& Effect = *Param.DrawEffectSetting()->MouseOverEffect();
};

TEST_F(RectEffectFixture, ResolvedValuesFollowTheEffectTypes) {
  struct Case {
    const char* Name;
    TDRPEffectTypes Types;
    TColorChangeType ChangeType;
    TDPEffectStates States;
    TAlphaColor Fill;
    bool IsFill;
    double BorderWidth;
    TAlphaColor Border;
  };
  const TDPEffectStates over{DPS::dpstMouseOver};
  const Case cases[] = {
      {"no state",
       {ET::drpetFillColorChange, ET::drpetIsFillChange, ET::drpetBorderWidthChange, ET::drpetBorderColorChange},
       TColorChangeType::cctNone,
       {},
       0xFF112233u,
       false,
       1,
       0xFF445566u},
      {"all four replaced",
       {ET::drpetFillColorChange, ET::drpetIsFillChange, ET::drpetBorderWidthChange, ET::drpetBorderColorChange},
       TColorChangeType::cctNone,
       over,
       0xFF0089BFu,
       true,
       3,
       0xFF0090C9u},
      {"fill and border colour as the setup window's buttons",
       {ET::drpetFillColorChange, ET::drpetBorderColorChange},
       TColorChangeType::cctNone,
       over,
       0xFF0089BFu,
       false,
       1,
       0xFF0090C9u},
      {"border colour only leaves the fill",
       {ET::drpetBorderColorChange},
       TColorChangeType::cctNone,
       over,
       0xFF112233u,
       false,
       1,
       0xFF0090C9u},
      {"brightness keeps the own fill colour",
       {ET::drpetFillColorChange},
       TColorChangeType::cctBrightness,
       over,
       0xFF112233u,
       false,
       1,
       0xFF445566u},
      {"darkness keeps the own fill colour",
       {ET::drpetFillColorChange},
       TColorChangeType::cctDarkness,
       over,
       0xFF112233u,
       false,
       1,
       0xFF445566u},
      {"width and fill switch",
       {ET::drpetBorderWidthChange, ET::drpetIsFillChange},
       TColorChangeType::cctNone,
       over,
       0xFF112233u,
       true,
       3,
       0xFF445566u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Effect.SetEffectTypes(c.Types);
    Effect.SetFillColorChangeType(c.ChangeType);
    Param.SetStaticEffectStates(c.States);
    EXPECT_EQ(Param.CurrentEffectFillDrawColor()->Color(), c.Fill);
    EXPECT_EQ(Param.CurrentEffectIsFill(), c.IsFill);
    EXPECT_EQ(Param.CurrentEffectBorderWidth(), c.BorderWidth);
    EXPECT_EQ(Param.CurrentEffectBorderColor()->Color(), c.Border);
  }
}

TEST_F(RectEffectFixture, BrightnessResolvesTheThemeColourOfTheOwnFill) {
  ostrel::skin::ResetThemeColors();
  Param.FillDrawColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor);
  Effect.SetEffectTypes({ET::drpetFillColorChange});
  Effect.SetFillColorChangeType(TColorChangeType::cctBrightness);
  Param.SetStaticEffectStates({DPS::dpstMouseOver});
  const TDrawColor* color = Param.CurrentEffectFillDrawColor();
  EXPECT_NE(color, Param.FillDrawColor());
  EXPECT_EQ(color->Color(), 0xFF0199FFu);
  EXPECT_EQ(color->UseThemeColor(), TUseThemeColorType::ctNone);
}

TEST_F(RectEffectFixture, MixedEffectKeepsNoColourChangeType) {
  auto& effects = *Param.DrawEffectSetting();
  effects.SetIsMixedMouseDownAndPushedEffect(true);
  effects.PushedEffect()->SetEffectTypes({ET::drpetFillColorChange});
  effects.PushedEffect()->SetFillColorChangeType(TColorChangeType::cctBrightness);
  effects.PushedEffect()->FillDrawColor()->SetColor(0xFFABCDEFu);
  effects.MouseDownEffect()->SetEffectTypes({ET::drpetBorderWidthChange});
  Param.SetStaticEffectStates({DPS::dpstPushed, DPS::dpstMouseDown});
  EXPECT_EQ(Param.CurrentEffectFillDrawColor()->Color(), 0xFFABCDEFu);
  EXPECT_EQ(Param.CurrentEffectBorderWidth(), 1) << "the mix carries the pushed effect's types only";
}

TEST(DrawRectParamTest, NotificationCounts) {
  TDrawRectParam param;
  int notifications = 0;
  param.SetOnChange([&](TObject*) { ++notifications; });

  param.SetIsFill(false);
  param.SetRoundWidth(6.0);
  param.SetBorderEadges(AllBorderEadges);
  param.FillDrawColor()->SetColor(claWhite);
  EXPECT_EQ(notifications, 0);

  param.SetIsFill(true);
  param.SetRoundWidth(6.0000001);
  param.FillDrawColor()->SetColor(claGray);
  param.BorderDrawColor()->SetColor(claSilver);
  param.Gradient()->SetStyle(TGradientStyle::Radial);
  param.SetGradientColor1(claGray);
  param.ClipRoundRectSetting()->SetEnabled(true);
  param.SetIsClipRound(true);
  EXPECT_EQ(notifications, 8);

  param.SetStaticIsFill(false);
  param.SetStaticRectCorners({});
  param.SetStaticEffectStates({DPS::dpstMouseOver});
  EXPECT_EQ(notifications, 8);

  auto& effects = *param.DrawEffectSetting();
  effects.MouseOverEffect()->SetBorderWidth(5);
  effects.MouseOverEffect()->FillDrawColor()->SetColor(claGray);
  EXPECT_EQ(notifications, 8);
  effects.PushedEffect()->SetBorderWidth(5);
  effects.PushedEffect()->SetBorderWidth(5);
  effects.PushedEffect()->FillDrawColor()->SetColor(claGray);
  effects.PushedEffect()->SetFillColorChangeType(TColorChangeType::cctDarkness);
  EXPECT_EQ(notifications, 11);

  effects.MouseOverEffect()->SetEffectTypes({ET::drpetFillColorChange});
  effects.MouseOverEffect()->SetFillColorChangeType(TColorChangeType::cctBrightness);
  const int before = notifications;
  param.CurrentEffectFillDrawColor();
  EXPECT_EQ(notifications, before) << "resolving through the scratch colour is silent";
}

TEST(DrawRectParamTest, CopySemantics) {
  TDrawRectParam source(QStringLiteral("Src"), QStringLiteral("源"));
  source.SetIsLine(true);
  source.SetLinePosition(TDRPLinePosition::lpTop);
  source.SetIsRound(true);
  source.SetRoundWidth(4);
  source.SetRoundHeight(5);
  source.SetBorderEadges({TDRPBorderEadge::beLeft});
  source.SetRectCorners({TDRPRectCorner::rcBottomLeft, TDRPRectCorner::rcBottomRight});
  source.SetIsFill(true);
  source.FillDrawColor()->SetColor(0xFF010203u);
  source.BorderDrawColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor1);
  source.SetBorderWidth(2.5);
  source.SetBrushKind(TDRPBrushKind::drpbkGradient);
  source.SetGradientColor1(0xFF0A0B0Cu);
  source.SetIsClipRound(true);
  source.SetClipRoundWidth(3);
  source.SetAlpha(128);
  source.DrawRectSetting()->SetEnabled(true);
  auto& sourcePushed = *source.DrawEffectSetting()->PushedEffect();
  sourcePushed.SetEffectTypes({ET::drpetIsFillChange});
  sourcePushed.SetIsFill(true);
  sourcePushed.SetBorderWidth(7);
  sourcePushed.BorderDrawColor()->SetColor(0xFF0D0E0Fu);
  sourcePushed.SetFillColorChangeType(TColorChangeType::cctDarkness);

  TDrawRectParam dest(QStringLiteral("Dest"), QString());
  int notifications = 0;
  dest.SetOnChange([&](TObject*) { ++notifications; });
  dest.Assign(&source);

  EXPECT_TRUE(dest.IsLine());
  EXPECT_EQ(dest.LinePosition(), TDRPLinePosition::lpBottom) << "a copied line is drawn at the bottom";
  EXPECT_TRUE(dest.IsRound());
  EXPECT_EQ(dest.RoundWidth(), 4);
  EXPECT_EQ(dest.RoundHeight(), 5);
  EXPECT_EQ(dest.BorderEadges(), TDRPBorderEadges{TDRPBorderEadge::beLeft});
  EXPECT_EQ(dest.RectCorners(), (TDRPRectCorners{TDRPRectCorner::rcBottomLeft, TDRPRectCorner::rcBottomRight}));
  EXPECT_TRUE(dest.IsFill());
  EXPECT_EQ(dest.FillDrawColor()->Color(), 0xFF010203u);
  EXPECT_EQ(dest.BorderDrawColor()->UseThemeColor(), TUseThemeColorType::ctThemeColor1);
  EXPECT_EQ(dest.BorderWidth(), 2.5);
  EXPECT_EQ(dest.BrushKind(), TDRPBrushKind::drpbkGradient);
  EXPECT_EQ(dest.GradientColor1(), 0xFF0A0B0Cu);
  EXPECT_FALSE(dest.IsClipRound());
  EXPECT_EQ(dest.ClipRoundWidth(), -1);
  EXPECT_EQ(dest.Alpha(), 128);
  EXPECT_TRUE(dest.DrawRectSetting()->Enabled());
  EXPECT_EQ(dest.Name(), QStringLiteral("Dest"));
  const auto& pushed = *dest.DrawEffectSetting()->PushedEffect();
  EXPECT_EQ(pushed.EffectTypes(), TDRPEffectTypes{ET::drpetIsFillChange});
  EXPECT_TRUE(pushed.IsFill());
  EXPECT_EQ(pushed.BorderWidth(), 7);
  EXPECT_EQ(pushed.BorderDrawColor()->Color(), 0xFF0D0E0Fu);
  EXPECT_EQ(pushed.FillColorChangeType(), TColorChangeType::cctNone);
  EXPECT_GE(notifications, 1);

  // Across kinds only the base values travel.
  TDrawParam plain(QStringLiteral("Plain"), QString());
  plain.Assign(&source);
  EXPECT_EQ(plain.Alpha(), 128);
  TDrawRectParam fromPlain;
  plain.SetAlpha(3);
  fromPlain.Assign(&plain);
  EXPECT_EQ(fromPlain.Alpha(), 3);
  EXPECT_FALSE(fromPlain.IsLine());
}

TEST(DrawRectParamTest, StoredWhenRules) {
  TDrawRectParam param;
  EXPECT_FALSE(param.IsGradientColor1Stored());
  EXPECT_FALSE(param.IsRoundWidthStored());
  EXPECT_FALSE(param.IsBorderEadgesStored());
  EXPECT_FALSE(param.IsRectCornersStored());
  param.SetBrushKind(TDRPBrushKind::drpbkGradient);
  EXPECT_TRUE(param.IsGradientColor1Stored());
  EXPECT_TRUE(param.IsGradientStopPositionStored());
  param.SetRoundWidth(6.0009);
  EXPECT_FALSE(param.IsRoundWidthStored());
  param.SetRoundWidth(-1);
  EXPECT_TRUE(param.IsRoundWidthStored());
  param.SetRectCorners({TDRPRectCorner::rcBottomLeft});
  EXPECT_TRUE(param.IsRectCornersStored());
  param.SetLinePosition(TDRPLinePosition::lpTop);
  EXPECT_TRUE(param.IsLinePositionStored());

  TDrawRectParamEffect effect;
  EXPECT_TRUE(effect.IsFillColorChangeTypeStored());
  EXPECT_FALSE(effect.IsEffectTypesStored());
  EXPECT_FALSE(effect.IsAlphaStored());
  EXPECT_FALSE(effect.IsOffsetStored());
  effect.SetOffset(1.01);
  EXPECT_TRUE(effect.IsOffsetStored());
}

TEST(DrawRectParamTest, EffectsAreTypedAndPublishedUnderTheirFormNames) {
  TDrawRectParam param;
  const QMetaObject* meta = param.metaObject();
  for (const char* name : {"FillColor", "BorderColor", "DrawRectSetting", "DrawEffectSetting", "GradientColor1",
                           "RectCorners", "BorderEadges"}) {
    SCOPED_TRACE(name);
    EXPECT_GE(meta->indexOfProperty(name), 0);
  }
  const QVariant setting = param.property("DrawEffectSetting");
  auto* effects = setting.value<TDrawRectEffectSetting*>();
  ASSERT_NE(effects, nullptr);
  auto* over = effects->property("MouseOverEffect").value<TDrawRectParamEffect*>();
  EXPECT_EQ(over, param.DrawEffectSetting()->MouseOverEffect());
  EXPECT_EQ(param.property("LinePosition").value<TDRPLinePosition>(), TDRPLinePosition::lpBottom);

  // Stored forms reach the sets through the host's set registry.
  for (const QMetaType type : {QMetaType::fromType<TDRPRectCorners>(), QMetaType::fromType<TDRPBorderEadges>(),
                               QMetaType::fromType<TDRPEffectTypes>(), QMetaType::fromType<TDPCommonEffectTypes>(),
                               QMetaType::fromType<TDPEffectStates>()}) {
    SCOPED_TRACE(type.name());
    EXPECT_NE(ostrel::host::FindSetType(type), nullptr);
  }
  const auto* corners = ostrel::host::FindSetType(QMetaType::fromType<TDRPRectCorners>());
  ASSERT_NE(corners, nullptr);
  EXPECT_TRUE(param.setProperty("RectCorners", corners->FromBits(0x0C)));
  EXPECT_EQ(param.RectCorners(), (TDRPRectCorners{TDRPRectCorner::rcBottomLeft, TDRPRectCorner::rcBottomRight}));
}

// One node of a saved tree, flattened in stored order.
struct NodeRow {
  int Depth;
  QString Name;
  int Type;
  QString Caption;
  QString ClassName;
  bool operator==(const NodeRow&) const = default;
};

void PrintTo(const NodeRow& ARow, std::ostream* AOut) {
  *AOut << ARow.Depth << ' ' << ARow.Name.toStdString() << " type " << ARow.Type << " \"" << ARow.Caption.toStdString()
        << "\" " << ARow.ClassName.toStdString();
}

void Flatten(const TBTNode20* ANode, int ADepth, std::vector<NodeRow>& ARows) {
  for (const TBTNode20* child : ANode->ChildNodes()) {
    const TBTNode20_Class* asClass = child->ConvertNode_Class();
    ARows.push_back({ADepth, child->NodeName(), child->NodeType(), child->NodeCaption(),
                     asClass != nullptr ? asClass->ClassName() : QString()});
    Flatten(child, ADepth + 1, ARows);
  }
}

std::vector<NodeRow> EffectRows(int ADepth) {
  return {
      {ADepth, "Alpha", 9, "透明度", ""},
      {ADepth, "Offset", 14, "偏移", ""},
      {ADepth, "CommonEffectTypes", 4, "通用效果", ""},
      {ADepth, "FillDrawColor", 25, "字体颜色", ""},
      {ADepth, "BorderWidth", 14, "边框宽度", ""},
      {ADepth, "IsFill", 21, "是否填充", ""},
      {ADepth, "EffectTypes", 4, "效果集", ""},
  };
}

TEST(DrawRectParamDocTest, NodeLayoutOfOneSavedParameter) {
  const TDrawRectParam param(QStringLiteral("BackColor"), QStringLiteral("背景颜色"));
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("BackColor"));
  ASSERT_TRUE(param.SaveToDocNode(node));
  EXPECT_EQ(node->ClassName(), QStringLiteral("TDrawRectParam"));

  std::vector<NodeRow> expected = {
      {1, "Name", 4, "名称", ""},
      {1, "Caption", 4, "标题", ""},
      {1, "Alpha", 9, "透明度", ""},
      {1, "DrawRectSetting", 24, "绘制矩形设置", "TDrawRectSetting"},
      {2, "Left", 14, "左", ""},
      {2, "Top", 14, "上", ""},
      {2, "Right", 14, "右", ""},
      {2, "Bottom", 14, "下", ""},
      {2, "Width", 14, "宽度", ""},
      {2, "Height", 14, "高度", ""},
      {2, "Enabled", 21, "是否启用", ""},
      {2, "SizeType", 7, "尺寸类型", ""},
      {2, "PositionHorzType", 7, "水平位置类型", ""},
      {2, "PositionVertType", 7, "垂直位置类型", ""},
      {1, "DrawEffectSetting", 24, "绘制效果设置", ""},
      {2, "IsMixedMouseDownAndPushedEffect", 21, "是否整合按下和鼠标点击的效果", ""},
      {2, "MouseDownEffect", 24, "鼠标点击效果", "TDrawRectParamEffect"},
  };
  const auto appendEffect = [&] {
    for (const NodeRow& row : EffectRows(3)) expected.push_back(row);
  };
  appendEffect();
  expected.push_back({2, "MouseOverEffect", 24, "鼠标停靠效果", "TDrawRectParamEffect"});
  appendEffect();
  expected.push_back({2, "PushedEffect", 24, "按下状态效果", "TDrawRectParamEffect"});
  appendEffect();
  const std::vector<NodeRow> rectRows = {
      {1, "BorderEadges", 4, "边框", ""},       {1, "RectCorners", 4, "角", ""},
      {1, "IsRound", 21, "是否圆角", ""},       {1, "RoundWidth", 14, "圆角宽度", ""},
      {1, "RoundHeight", 14, "圆角高度", ""},   {1, "IsFill", 21, "是否填充矩形", ""},
      {1, "FillDrawColor", 25, "填充颜色", ""}, {1, "IsLine", 21, "是否是线段", ""},
      {1, "LinePosition", 7, "线段位置", ""},   {1, "BorderDrawColor", 25, "边框颜色", ""},
      {1, "BorderWidth", 14, "边框宽度", ""},   {1, "BrushKind", 7, "是否填充", ""},
  };
  expected.insert(expected.end(), rectRows.begin(), rectRows.end());

  std::vector<NodeRow> actual;
  Flatten(node, 1, actual);
  EXPECT_EQ(actual, expected);

  EXPECT_EQ(node->ReadChildWideString(QStringLiteral("Name")), QStringLiteral("BackColor"));
  EXPECT_EQ(node->ReadChildWideString(QStringLiteral("BorderEadges")), QStringLiteral("0,1,2,3,"));
  EXPECT_EQ(node->ReadChildColor(QStringLiteral("FillDrawColor")), claWhite);
  EXPECT_EQ(node->ReadChildInt32(QStringLiteral("LinePosition")), 3);
  EXPECT_EQ(node->ReadChildInt32(QStringLiteral("BrushKind")), 1);
}

void ConfigureEverythingPersisted(TDrawRectParam& AParam) {
  AParam.SetAlpha(200);
  TDrawRectSetting& rect = *AParam.DrawRectSetting();
  rect.SetSizeType(TDPSizeType::dpstPixel);
  rect.SetMargins(1.5, 2, 3, 4);
  rect.SetWidth(20);
  rect.SetHeight(-1);
  rect.SetPositionHorzType(TDPPositionHorzType::dpphtRight);
  rect.SetPositionVertType(TDPPositionVertType::dppvtCenter);
  rect.SetEnabled(true);
  TDrawRectEffectSetting& effects = *AParam.DrawEffectSetting();
  effects.SetIsMixedMouseDownAndPushedEffect(true);
  int i = 0;
  for (TDrawRectParamEffect* e : {effects.MouseDownEffect(), effects.MouseOverEffect(), effects.PushedEffect()}) {
    ++i;
    e->SetAlpha(static_cast<std::uint8_t>(10 * i));
    e->SetOffset(0.5 * i);
    e->SetCommonEffectTypes({TDPCommonEffectType::dpcetAlphaChange});
    e->FillDrawColor()->SetColor(0xFF000000u + static_cast<TAlphaColor>(i));
    e->SetBorderWidth(i);
    e->SetIsFill(i % 2 == 1);
    e->SetEffectTypes({ET::drpetBorderColorChange, ET::drpetIsFillChange});
  }
  AParam.SetBorderEadges({TDRPBorderEadge::beTop, TDRPBorderEadge::beBottom});
  AParam.SetRectCorners({TDRPRectCorner::rcBottomLeft, TDRPRectCorner::rcBottomRight});
  AParam.SetIsRound(true);
  AParam.SetRoundWidth(-1);
  AParam.SetRoundHeight(4.25);
  AParam.SetIsFill(true);
  AParam.FillDrawColor()->SetColor(0xC0202020u);
  AParam.SetIsLine(true);
  AParam.SetLinePosition(TDRPLinePosition::lpLeft);
  AParam.BorderDrawColor()->SetColor(0xFF0090C9u);
  AParam.SetBorderWidth(1.25);
  AParam.SetBrushKind(TDRPBrushKind::drpbkNone);
}

void ExpectSamePersistedValues(const TDrawRectParam& A, const TDrawRectParam& B) {
  EXPECT_EQ(A.Alpha(), B.Alpha());
  const TDrawRectSetting& ra = *A.DrawRectSetting();
  const TDrawRectSetting& rb = *B.DrawRectSetting();
  EXPECT_EQ(ra.Left(), rb.Left());
  EXPECT_EQ(ra.Top(), rb.Top());
  EXPECT_EQ(ra.Right(), rb.Right());
  EXPECT_EQ(ra.Bottom(), rb.Bottom());
  EXPECT_EQ(ra.Width(), rb.Width());
  EXPECT_EQ(ra.Height(), rb.Height());
  EXPECT_EQ(ra.Enabled(), rb.Enabled());
  EXPECT_EQ(ra.SizeType(), rb.SizeType());
  EXPECT_EQ(ra.PositionHorzType(), rb.PositionHorzType());
  EXPECT_EQ(ra.PositionVertType(), rb.PositionVertType());
  const TDrawRectEffectSetting& ea = *A.DrawEffectSetting();
  const TDrawRectEffectSetting& eb = *B.DrawEffectSetting();
  EXPECT_EQ(ea.IsMixedMouseDownAndPushedEffect(), eb.IsMixedMouseDownAndPushedEffect());
  const std::pair<const TDrawRectParamEffect*, const TDrawRectParamEffect*> pairs[] = {
      {ea.MouseDownEffect(), eb.MouseDownEffect()},
      {ea.MouseOverEffect(), eb.MouseOverEffect()},
      {ea.PushedEffect(), eb.PushedEffect()},
  };
  for (const auto& [x, y] : pairs) {
    EXPECT_EQ(x->Alpha(), y->Alpha());
    EXPECT_EQ(x->Offset(), y->Offset());
    EXPECT_EQ(x->CommonEffectTypes(), y->CommonEffectTypes());
    EXPECT_EQ(x->FillDrawColor()->Color(), y->FillDrawColor()->Color());
    EXPECT_EQ(x->BorderWidth(), y->BorderWidth());
    EXPECT_EQ(x->IsFill(), y->IsFill());
    EXPECT_EQ(x->EffectTypes(), y->EffectTypes());
  }
  EXPECT_EQ(A.BorderEadges(), B.BorderEadges());
  EXPECT_EQ(A.RectCorners(), B.RectCorners());
  EXPECT_EQ(A.IsRound(), B.IsRound());
  EXPECT_EQ(A.RoundWidth(), B.RoundWidth());
  EXPECT_EQ(A.RoundHeight(), B.RoundHeight());
  EXPECT_EQ(A.IsFill(), B.IsFill());
  EXPECT_EQ(A.FillDrawColor()->Color(), B.FillDrawColor()->Color());
  EXPECT_EQ(A.IsLine(), B.IsLine());
  EXPECT_EQ(A.LinePosition(), B.LinePosition());
  EXPECT_EQ(A.BorderDrawColor()->Color(), B.BorderDrawColor()->Color());
  EXPECT_EQ(A.BorderWidth(), B.BorderWidth());
  EXPECT_EQ(A.BrushKind(), B.BrushKind());
}

TEST(DrawRectParamDocTest, SavedAndLoadedIntoAFreshObjectThroughTheStoredBytes) {
  TDrawRectParam original(QStringLiteral("BackColor"), QStringLiteral("背景颜色"));
  ConfigureEverythingPersisted(original);
  TBTDOC20 doc;
  original.SaveToDocNode(doc.TopNode()->AddChildNode_Class(QStringLiteral("BackColor")));
  const QByteArray bytes = doc.Save();

  TBTDOC20 reread;
  reread.Load(bytes);
  TBTNode20* found = reread.FindNodeByName(QStringLiteral("BackColor"));
  ASSERT_NE(found, nullptr);
  ASSERT_NE(found->ConvertNode_Class(), nullptr);

  TDrawRectParam loaded(QStringLiteral("Other"), QStringLiteral("其他"));
  EXPECT_TRUE(loaded.LoadFromDocNode(found->ConvertNode_Class()));
  ExpectSamePersistedValues(loaded, original);
  EXPECT_EQ(loaded.Name(), QStringLiteral("Other")) << "name and caption are written but never read";

  // A theme-linked colour is stored as the colour it shows.
  ostrel::skin::ResetThemeColors();
  original.FillDrawColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor);
  TBTDOC20 themed;
  original.SaveToDocNode(themed.TopNode()->AddChildNode_Class(QStringLiteral("P")));
  loaded.LoadFromDocNode(themed.Nodes().GetItems(0)->ConvertNode_Class());
  EXPECT_EQ(loaded.FillDrawColor()->Color(), 0xFF0199FFu);
  EXPECT_EQ(loaded.FillDrawColor()->UseThemeColor(), TUseThemeColorType::ctNone);
}

TEST(DrawRectParamDocTest, LoadingIntoAThemeLinkedParameterShowsTheStoredColours) {
  TDrawRectParam stored(QStringLiteral("P"), QStringLiteral("P"));
  stored.FillDrawColor()->SetColor(0xFF2F2F2Fu);
  stored.BorderDrawColor()->SetColor(0xFF383838u);
  TBTDOC20 doc;
  stored.SaveToDocNode(doc.TopNode()->AddChildNode_Class(QStringLiteral("P")));

  TDrawRectParam linked(QStringLiteral("P"), QStringLiteral("P"));
  linked.FillDrawColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor);
  linked.BorderDrawColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor1);
  ASSERT_TRUE(linked.LoadFromDocNode(doc.Nodes().GetItems(0)->ConvertNode_Class()));
  EXPECT_EQ(linked.FillDrawColor()->Color(), 0xFF2F2F2Fu) << "a link kept through Clear would show the theme";
  EXPECT_EQ(linked.BorderDrawColor()->Color(), 0xFF383838u);
}

TEST(DrawRectParamDocTest, LoadingClearsFirstAndSkipsUnknownMistypedAndOutOfRangeNodes) {
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("P"), QString(), QStringLiteral("X"));
  node->AddChildNode_WideString(QStringLiteral("Unknown"), QString(), QStringLiteral("?"));
  node->AddChildNode_Int32(QStringLiteral("Alpha"), QString(), 12);
  node->AddChildNode_Int32(QStringLiteral("LinePosition"), QString(), 9);
  node->AddChildNode_Int32(QStringLiteral("BrushKind"), QString(), -1);
  node->AddChildNode_WideString(QStringLiteral("RectCorners"), QString(), QStringLiteral("1, junk,,40,3"));
  node->AddChildNode_Real64(QStringLiteral("BorderWidth"), QString(), 2.0);
  node->AddChildNode_Class(QStringLiteral("DrawRectSetting"))
      ->AddChildNode_Bool32(QStringLiteral("Enabled"), QString(), true);
  node->AddChildNode_Directory(QStringLiteral("DrawEffectSetting"));
  node->AddChildNode_Real64(QStringLiteral("RoundWidth"), QString(), 2.0);
  node->AddChildNode_Real64(QStringLiteral("RoundWidth"), QString(), 3.0);

  TDrawRectParam param;
  param.SetAlpha(50);
  param.SetIsFill(true);
  param.SetLinePosition(TDRPLinePosition::lpTop);
  param.DrawEffectSetting()->SetIsMixedMouseDownAndPushedEffect(true);
  EXPECT_TRUE(param.LoadFromDocNode(node));

  EXPECT_EQ(param.Alpha(), 255) << "an Int32 node where a UInt8 belongs is ignored";
  EXPECT_FALSE(param.IsFill()) << "a missing node leaves the cleared default";
  EXPECT_EQ(param.LinePosition(), TDRPLinePosition::lpBottom);
  EXPECT_EQ(param.BrushKind(), TDRPBrushKind::drpbkFill);
  EXPECT_EQ(param.RectCorners(), (TDRPRectCorners{TDRPRectCorner::rcTopRight, TDRPRectCorner::rcBottomRight}));
  EXPECT_EQ(param.BorderWidth(), 2.0);
  EXPECT_TRUE(param.DrawRectSetting()->Enabled());
  EXPECT_EQ(param.DrawRectSetting()->SizeType(), TDPSizeType::dpstPercent);
  EXPECT_FALSE(param.DrawEffectSetting()->IsMixedMouseDownAndPushedEffect());
  EXPECT_EQ(param.RoundWidth(), 3.0) << "later nodes of the same name win";

  param.SetBorderWidth(9);
  EXPECT_FALSE(param.LoadFromDocNode(nullptr));
  EXPECT_EQ(param.BorderWidth(), 9);
}

}  // namespace

namespace {

TEST(DrawRectParamSettingTest, ChangeSwitchesAddAndRemoveEffectTypes) {
  TDrawRectParam param;
  EXPECT_EQ(param.GetDrawParamSettingClass(), &TDrawRectParamSetting::staticMetaObject);
  TDrawRectParamSetting facade(&param);
  facade.SetMouseOverFillColor(0xFF0089BFu);
  facade.SetMouseOverFillColorChange(true);
  facade.SetMouseOverIsFillChange(true);
  facade.SetPushedBorderWidth(2);
  facade.SetPushedBorderWidthChange(true);
  const auto& effects = *param.DrawEffectSetting();
  EXPECT_EQ(effects.MouseOverEffect()->EffectTypes(),
            (TDRPEffectTypes{ET::drpetFillColorChange, ET::drpetIsFillChange}));
  EXPECT_EQ(effects.MouseOverEffect()->FillDrawColor()->Color(), 0xFF0089BFu);
  EXPECT_TRUE(facade.IsMouseOverFillColorStored());
  EXPECT_FALSE(facade.IsPushedFillColorStored());
  EXPECT_EQ(effects.PushedEffect()->EffectTypes(), TDRPEffectTypes{ET::drpetBorderWidthChange});
  facade.SetMouseOverIsFillChange(false);
  EXPECT_EQ(effects.MouseOverEffect()->EffectTypes(), TDRPEffectTypes{ET::drpetFillColorChange});
  EXPECT_TRUE(facade.MouseOverFillColorChange());
  EXPECT_FALSE(facade.MouseDownFillColorChange());

  param.SetStaticEffectStates({DPS::dpstMouseOver});
  EXPECT_EQ(param.CurrentEffectFillDrawColor()->Color(), 0xFF0089BFu);
}

}  // namespace
