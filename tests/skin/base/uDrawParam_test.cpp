#include "skin/base/uDrawParam.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using DPS = TDPEffectState;
using CET = TDPCommonEffectType;

struct RectCase {
  const char* Name;
  TDPSizeType SizeType;
  double Left, Top, Right, Bottom, Width, Height;
  TDPPositionHorzType Horz;
  TDPPositionVertType Vert;
  TRectF Control;
  TRectF Expected;
};

TRectF FromEdges(double ALeft, double ATop, double ARight, double ABottom) {
  return TRectF(TPointF(ALeft, ATop), TPointF(ARight, ABottom));
}

void ExpectRectEq(const TRectF& AActual, const TRectF& AExpected) {
  EXPECT_DOUBLE_EQ(AActual.left(), AExpected.left());
  EXPECT_DOUBLE_EQ(AActual.top(), AExpected.top());
  EXPECT_DOUBLE_EQ(AActual.right(), AExpected.right());
  EXPECT_DOUBLE_EQ(AActual.bottom(), AExpected.bottom());
}

TEST(DrawRectSettingTest, CalcDrawRect) {
  constexpr auto px = TDPSizeType::dpstPixel;
  constexpr auto pc = TDPSizeType::dpstPercent;
  constexpr auto hNone = TDPPositionHorzType::dpphtNone;
  constexpr auto hCenter = TDPPositionHorzType::dpphtCenter;
  constexpr auto hRight = TDPPositionHorzType::dpphtRight;
  constexpr auto vNone = TDPPositionVertType::dppvtNone;
  constexpr auto vCenter = TDPPositionVertType::dppvtCenter;
  constexpr auto vBottom = TDPPositionVertType::dppvtBottom;
  const RectCase cases[] = {
      {"all zero in percent is the control", pc, 0, 0, 0, 0, 0, 0, hNone, vNone, FromEdges(3, 4, 50, 60),
       FromEdges(3, 4, 50, 60)},
      {"percent insets 25 in 33 x 33", pc, 25, 25, 25, 25, 0, 0, hNone, vNone, FromEdges(0, 0, 33, 33),
       FromEdges(8.25, 8.25, 24.75, 24.75)},
      {"pixel insets 8 and 30 in 464 x 30", px, 8, 0, 30, 0, 0, 0, hNone, vNone, FromEdges(0, 0, 464, 30),
       FromEdges(8, 0, 434, 30)},
      {"pixel insets 6 centred in 34 x 34", px, 6, 6, 6, 6, 0, 0, hCenter, vCenter, FromEdges(0, 0, 34, 34),
       FromEdges(6, 6, 28, 28)},
      {"fixed width placed right", px, 0, 0, 5, 0, 20, 0, hRight, vNone, FromEdges(10, 0, 110, 10),
       FromEdges(85, 0, 105, 10)},
      {"fixed width centred", px, 0, 0, 0, 0, 20, 0, hCenter, vNone, FromEdges(0, 0, 100, 10),
       FromEdges(40, 0, 60, 10)},
      {"fixed height at the bottom in percent", pc, 0, 0, 0, 10, 0, 50, hNone, vBottom, FromEdges(0, 100, 40, 300),
       FromEdges(0, 180, 40, 280)},
      {"negative width spans the control width from the left inset", px, 5, 0, 7, 0, -10, 0, hNone, vNone,
       FromEdges(0, 0, 100, 10), FromEdges(5, 0, 105, 10)},
      {"negative height likewise", px, 0, 2, 0, 3, 0, -1, hNone, vNone, FromEdges(0, 0, 10, 50),
       FromEdges(0, 2, 10, 52)},
      {"the bottom inset counts only without a height", px, 0, 0, 0, 4, 0, 0, hNone, vNone, FromEdges(0, 0, 10, 50),
       FromEdges(0, 0, 10, 46)},
      {"a height overrides the bottom inset", px, 0, 10, 0, 4, 0, 20, hNone, vNone, FromEdges(0, 0, 10, 50),
       FromEdges(0, 10, 10, 30)},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDrawRectSetting setting;
    setting.SetSizeType(c.SizeType);
    setting.SetMargins(c.Left, c.Top, c.Right, c.Bottom);
    setting.SetWidth(c.Width);
    setting.SetHeight(c.Height);
    setting.SetPositionHorzType(c.Horz);
    setting.SetPositionVertType(c.Vert);
    ExpectRectEq(setting.CalcDrawRect(c.Control), c.Control);
    setting.SetEnabled(true);
    ExpectRectEq(setting.CalcDrawRect(c.Control), c.Expected);
  }
}

TEST(DrawRectSettingTest, ChangesNotifyOnlyWhileEnabled) {
  TDrawRectSetting setting;
  int notifications = 0;
  setting.SetOnChange([&](TObject*) { ++notifications; });

  setting.SetLeft(5);
  setting.SetSizeType(TDPSizeType::dpstPixel);
  setting.SetMargins(1, 2, 3, 4);
  EXPECT_EQ(notifications, 0);
  EXPECT_EQ(setting.Left(), 1);

  setting.SetEnabled(true);
  EXPECT_EQ(notifications, 1);
  setting.SetLeft(1);
  EXPECT_EQ(notifications, 1);
  setting.SetLeft(2);
  EXPECT_EQ(notifications, 2);
  setting.SetBounds(2, 2, 30, 40);
  EXPECT_EQ(notifications, 3);
  setting.SetBounds(2, 2, 30, 40);
  EXPECT_EQ(notifications, 3);
  setting.SetEnabled(false);
  EXPECT_EQ(notifications, 4);

  TDrawRectSetting disabledSource;
  setting.Assign(&disabledSource);
  EXPECT_EQ(notifications, 4);
  TDrawRectSetting enabledSource;
  enabledSource.SetEnabled(true);
  setting.Assign(&enabledSource);
  EXPECT_EQ(notifications, 5);
  EXPECT_EQ(setting.Left(), 0);
  EXPECT_EQ(setting.SizeType(), TDPSizeType::dpstPercent);
}

TEST(DrawRectSettingTest, StoredWhenRules) {
  TDrawRectSetting setting;
  EXPECT_TRUE(setting.IsWidthStored()) << "a percent setting stores its size even at 0";
  EXPECT_TRUE(setting.IsHeightStored());
  EXPECT_FALSE(setting.IsLeftStored());
  EXPECT_FALSE(setting.IsSizeTypeStored());
  EXPECT_FALSE(setting.IsEnabledStored());

  setting.SetSizeType(TDPSizeType::dpstPixel);
  setting.SetLeft(0.0005);
  setting.SetWidth(0.002);
  EXPECT_FALSE(setting.IsLeftStored());
  EXPECT_TRUE(setting.IsWidthStored());
  EXPECT_FALSE(setting.IsHeightStored());
  EXPECT_TRUE(setting.IsSizeTypeStored());
  setting.SetPositionVertType(TDPPositionVertType::dppvtTop);
  EXPECT_TRUE(setting.IsPositionVertTypeStored());
  EXPECT_FALSE(setting.IsPositionHorzTypeStored());
}

TEST(OrdinalSetTextTest, WritesAscendingOrdinalsEachFollowedByAComma) {
  EXPECT_EQ(ostrel::skin::OrdinalSetToText(TDPCommonEffectTypes{CET::dpcetAlphaChange, CET::dpcetOffsetChange}),
            QStringLiteral("0,1,"));
  EXPECT_EQ(ostrel::skin::OrdinalSetToText(TDPCommonEffectTypes{}), QString());
  EXPECT_EQ(ostrel::skin::OrdinalSetToText(TDPEffectStates{DPS::dpstDisabled, DPS::dpstMouseOver}),
            QStringLiteral("1,4,"));
}

TEST(OrdinalSetTextTest, ReadingSkipsWhatNamesNoValue) {
  struct Case {
    const char* Text;
    TDPEffectStates::Bits Bits;
  };
  const Case cases[] = {
      {"0,1,", 0x03},
      {"", 0x00},
      {" 4 , 2", 0x14},
      {",,3,,", 0x08},
      {"x,1,1.5,", 0x02},
      {"5,-1,63,64,200", 0x00},
      {"99999999999999999999,0", 0x01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ostrel::skin::OrdinalTextToSet<TDPEffectState>(QString::fromUtf8(c.Text)).ToBits(), c.Bits);
  }
}

// A parameter whose effects all exist; each test gives types to those it needs.
class EffectFixture : public ::testing::Test {
 protected:
  TDrawParam Param{QStringLiteral("BackColor"), QStringLiteral("背景")};
  TDrawEffectSetting& Effects = *Param.DrawEffectSetting();

  TDrawParamCommonEffect* EffectOf(DPS AState) const {
    switch (AState) {
      case DPS::dpstMouseDown:
        return Effects.MouseDownEffect();
      case DPS::dpstMouseOver:
        return Effects.MouseOverEffect();
      case DPS::dpstPushed:
        return Effects.PushedEffect();
      case DPS::dpstFocused:
        return Effects.FocusedEffect();
      case DPS::dpstDisabled:
        return Effects.DisabledEffect();
    }
    return nullptr;
  }
};

TEST_F(EffectFixture, PriorityOfTheEffectInForce) {
  struct Case {
    const char* Name;
    TDPEffectStates States;
    TDPEffectStates WithTypes;
    std::optional<DPS> Expected;
  };
  const TDPEffectStates all{DPS::dpstMouseDown, DPS::dpstMouseOver, DPS::dpstPushed, DPS::dpstFocused,
                            DPS::dpstDisabled};
  const Case cases[] = {
      {"no state", {}, all, std::nullopt},
      {"disabled wins over everything", all, all, DPS::dpstDisabled},
      {"disabled without types hides the others", all, all - TDPEffectStates{DPS::dpstDisabled}, std::nullopt},
      {"pushed over mouse-down", {DPS::dpstPushed, DPS::dpstMouseDown, DPS::dpstMouseOver}, all, DPS::dpstPushed},
      {"mouse-down over mouse-over",
       {DPS::dpstMouseDown, DPS::dpstMouseOver, DPS::dpstFocused},
       all,
       DPS::dpstMouseDown},
      {"mouse-over over focused", {DPS::dpstMouseOver, DPS::dpstFocused}, all, DPS::dpstMouseOver},
      {"focused alone", {DPS::dpstFocused}, all, DPS::dpstFocused},
      {"pushed without types leaves mouse-over",
       {DPS::dpstPushed, DPS::dpstMouseOver},
       {DPS::dpstMouseOver},
       DPS::dpstMouseOver},
      {"an effect without types never wins", {DPS::dpstMouseOver}, {DPS::dpstPushed}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    for (auto s : {DPS::dpstMouseDown, DPS::dpstMouseOver, DPS::dpstPushed, DPS::dpstFocused, DPS::dpstDisabled}) {
      EffectOf(s)->SetCommonEffectTypes(c.WithTypes.Contains(s) ? TDPCommonEffectTypes{CET::dpcetAlphaChange}
                                                                : TDPCommonEffectTypes{});
    }
    Param.SetStaticEffectStates(c.States);
    EXPECT_EQ(Param.CurrentEffect(), c.Expected ? EffectOf(*c.Expected) : nullptr);
  }
}

TEST_F(EffectFixture, MixingPushedAndMouseDownSumsOnlyTheOffsetsThatShift) {
  Effects.SetIsMixedMouseDownAndPushedEffect(true);
  Effects.PushedEffect()->SetCommonEffectTypes({CET::dpcetAlphaChange});
  Effects.PushedEffect()->SetAlpha(100);
  Effects.PushedEffect()->SetOffset(5);
  Effects.MouseDownEffect()->SetCommonEffectTypes({CET::dpcetOffsetChange});
  Effects.MouseDownEffect()->SetAlpha(50);
  Effects.MouseDownEffect()->SetOffset(2);
  Param.SetStaticEffectStates({DPS::dpstPushed, DPS::dpstMouseDown});

  const TDrawParamCommonEffect* mixed = Param.CurrentEffect();
  ASSERT_EQ(mixed, Effects.MixedEffect());
  EXPECT_EQ(mixed->Alpha(), 100);
  EXPECT_EQ(mixed->CommonEffectTypes(), (TDPCommonEffectTypes{CET::dpcetAlphaChange, CET::dpcetOffsetChange}));
  EXPECT_DOUBLE_EQ(mixed->Offset(), 2);

  Effects.PushedEffect()->SetCommonEffectTypes({CET::dpcetOffsetChange});
  EXPECT_DOUBLE_EQ(Param.CurrentEffect()->Offset(), 7);
  ExpectRectEq(Param.CalcDrawRect(FromEdges(0, 0, 10, 10)), FromEdges(7, 7, 17, 17));

  Effects.MouseDownEffect()->SetCommonEffectTypes({});
  EXPECT_EQ(Param.CurrentEffect(), Effects.PushedEffect()) << "mixing needs both effects to have types";
  Effects.MouseDownEffect()->SetCommonEffectTypes({CET::dpcetOffsetChange});
  Effects.SetIsMixedMouseDownAndPushedEffect(false);
  EXPECT_EQ(Param.CurrentEffect(), Effects.PushedEffect());
}

TEST_F(EffectFixture, AlphaAndOffsetInForce) {
  Param.SetAlpha(200);
  EXPECT_EQ(Param.CurrentEffectAlpha(), 200);

  Effects.MouseOverEffect()->SetCommonEffectTypes({CET::dpcetOffsetChange});
  Param.SetStaticEffectStates({DPS::dpstMouseOver});
  EXPECT_EQ(Param.CurrentEffectAlpha(), 200) << "the effect does not change alpha";
  ExpectRectEq(Param.CalcDrawRect(FromEdges(0, 0, 10, 10)), FromEdges(1, 1, 11, 11));

  Effects.MouseOverEffect()->SetCommonEffectTypes({CET::dpcetAlphaChange});
  EXPECT_EQ(Param.CurrentEffectAlpha(), TDrawParamCommonEffect::DefaultAlpha);
  ExpectRectEq(Param.CalcDrawRect(FromEdges(0, 0, 10, 10)), FromEdges(0, 0, 10, 10));
}

TEST_F(EffectFixture, OnlyThePushedEffectReachesTheParameter) {
  int notifications = 0;
  Param.SetOnChange([&](TObject* ASender) {
    EXPECT_EQ(ASender, &Param);
    ++notifications;
  });
  TDrawParamCommonEffect copy;
  copy.SetAlpha(1);
  Effects.SetMouseOverEffect(&copy);
  Effects.SetMouseDownEffect(&copy);
  Effects.PushedEffect()->SetAlpha(3);
  EXPECT_EQ(notifications, 0) << "common effect properties write their fields silently";
  Effects.SetPushedEffect(&copy);
  EXPECT_EQ(notifications, 1);
  EXPECT_EQ(Effects.MouseOverEffect()->Alpha(), 1);

  Param.SetAlpha(255);
  EXPECT_EQ(notifications, 1);
  Param.SetAlpha(254);
  EXPECT_EQ(notifications, 2);
  Param.DrawRectSetting()->SetLeft(3);
  EXPECT_EQ(notifications, 2);
  Param.DrawRectSetting()->SetEnabled(true);
  EXPECT_EQ(notifications, 3);
}

TEST_F(EffectFixture, CopyTakesAlphaSubRectangleAndFourEffects) {
  TDrawParam source(QStringLiteral("Src"), QStringLiteral("源"));
  source.SetAlpha(77);
  source.DrawRectSetting()->SetEnabled(true);
  source.DrawRectSetting()->SetLeft(12);
  TDrawEffectSetting& sourceEffects = *source.DrawEffectSetting();
  sourceEffects.SetIsMixedMouseDownAndPushedEffect(true);
  for (TDrawParamCommonEffect* e :
       {sourceEffects.PushedEffect(), sourceEffects.MouseOverEffect(), sourceEffects.MouseDownEffect(),
        sourceEffects.DisabledEffect(), sourceEffects.FocusedEffect()}) {
    e->SetAlpha(9);
    e->SetCommonEffectTypes({CET::dpcetOffsetChange});
  }
  source.SetStaticEffectStates({DPS::dpstFocused});
  source.DrawAlpha = 10;

  int notifications = 0;
  Param.SetOnChange([&](TObject*) { ++notifications; });
  Param.Assign(&source);

  EXPECT_EQ(Param.Alpha(), 77);
  EXPECT_TRUE(Param.DrawRectSetting()->Enabled());
  EXPECT_EQ(Param.DrawRectSetting()->Left(), 12);
  EXPECT_TRUE(Effects.IsMixedMouseDownAndPushedEffect());
  EXPECT_EQ(Effects.PushedEffect()->Alpha(), 9);
  EXPECT_EQ(Effects.MouseOverEffect()->Alpha(), 9);
  EXPECT_EQ(Effects.MouseDownEffect()->Alpha(), 9);
  EXPECT_EQ(Effects.DisabledEffect()->Alpha(), TDrawParamCommonEffect::DefaultAlpha);
  EXPECT_EQ(Effects.FocusedEffect()->Alpha(), TDrawParamCommonEffect::DefaultAlpha);
  EXPECT_EQ(Param.Name(), QStringLiteral("BackColor"));
  EXPECT_EQ(Param.Caption(), QStringLiteral("背景"));
  EXPECT_TRUE(Param.StaticEffectStates().IsEmpty());
  EXPECT_EQ(Param.DrawAlpha, 255);
  EXPECT_GE(notifications, 1);

  TDrawRectSetting unrelated;
  EXPECT_THROW(Param.Assign(&unrelated), EConvertError);
}

TEST_F(EffectFixture, ClearResetsAlphaAndSubRectangleButEffectsKeepTheirValues) {
  Param.SetAlpha(10);
  Param.DrawAlpha = 20;
  Param.DrawRectSetting()->SetEnabled(true);
  Param.DrawRectSetting()->SetLeft(4);
  Effects.SetIsMixedMouseDownAndPushedEffect(true);
  Effects.PushedEffect()->SetAlpha(5);
  Param.Clear();
  EXPECT_EQ(Param.Alpha(), 255);
  EXPECT_EQ(Param.DrawAlpha, 255);
  EXPECT_FALSE(Param.DrawRectSetting()->Enabled());
  EXPECT_EQ(Param.DrawRectSetting()->Left(), 0);
  EXPECT_FALSE(Effects.IsMixedMouseDownAndPushedEffect());
  EXPECT_EQ(Effects.PushedEffect()->Alpha(), 5);
}

}  // namespace

namespace {

TEST(DrawParamSettingTest, SubRectangleSettersSwitchItOnOnlyAwayFromTheFacadeDefaults) {
  TDrawParam param(QStringLiteral("P"), QString());
  TDrawParamSetting facade(&param);
  TDrawRectSetting& rect = *param.DrawRectSetting();

  facade.SetDrawRectLeft(0);
  EXPECT_TRUE(rect.Enabled()) << "a new sub-rectangle is in percent, which is not the facade's pixel default";
  facade.SetDrawRectSizeType(TDPSizeType::dpstPixel);
  EXPECT_FALSE(rect.Enabled());
  facade.SetDrawRectWidth(20);
  EXPECT_TRUE(rect.Enabled());
  facade.SetDrawRectWidth(0);
  EXPECT_FALSE(rect.Enabled());

  struct AlignCase {
    TSkinAlign Align;
    TDPPositionHorzType Horz;
    TDPPositionVertType Vert;
    bool Enabled;
  };
  const AlignCase cases[] = {
      {TSkinAlign::salLeading, TDPPositionHorzType::dpphtLeft, TDPPositionVertType::dppvtTop, false},
      {TSkinAlign::salCenter, TDPPositionHorzType::dpphtCenter, TDPPositionVertType::dppvtCenter, true},
      {TSkinAlign::salTrailing, TDPPositionHorzType::dpphtRight, TDPPositionVertType::dppvtBottom, true},
  };
  for (const AlignCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Align));
    facade.SetDrawRectHorzAlign(c.Align);
    facade.SetDrawRectVertAlign(c.Align);
    EXPECT_EQ(rect.PositionHorzType(), c.Horz);
    EXPECT_EQ(rect.PositionVertType(), c.Vert);
    EXPECT_EQ(facade.DrawRectHorzAlign(), c.Align);
    EXPECT_EQ(facade.DrawRectVertAlign(), c.Align);
    EXPECT_EQ(rect.Enabled(), c.Enabled);
  }
  rect.SetPositionHorzType(TDPPositionHorzType::dpphtNone);
  EXPECT_EQ(facade.DrawRectHorzAlign(), TSkinAlign::salLeading);
}

TEST(DrawParamSettingTest, EffectValuesAndTheirChangeSwitches) {
  TDrawParam param(QStringLiteral("P"), QString());
  TDrawParamSetting facade(&param);
  facade.SetPushedAlpha(90);
  facade.SetPushedAlphaChange(true);
  facade.SetPushedOffsetChange(true);
  facade.SetMouseOverOffset(3);
  const TDrawParamCommonEffect& pushed = *param.DrawEffectSetting()->PushedEffect();
  EXPECT_EQ(pushed.Alpha(), 90);
  EXPECT_EQ(pushed.CommonEffectTypes(), (TDPCommonEffectTypes{CET::dpcetAlphaChange, CET::dpcetOffsetChange}));
  facade.SetPushedAlphaChange(false);
  EXPECT_EQ(pushed.CommonEffectTypes(), TDPCommonEffectTypes{CET::dpcetOffsetChange});
  EXPECT_EQ(param.DrawEffectSetting()->MouseOverEffect()->Offset(), 3);
  EXPECT_EQ(param.GetDrawParamSettingClass(), &TDrawParamSetting::staticMetaObject);
}

}  // namespace
