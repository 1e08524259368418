#include "skin/base/uGraphicCommon.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Theme colours are process-wide; every test starts from the start values.
class ThemeColorsTest : public ::testing::Test {
 protected:
  void SetUp() override { ostrel::skin::ResetThemeColors(); }
  void TearDown() override { ostrel::skin::ResetThemeColors(); }
};

struct ChangeCounter {
  int Count = 0;
  TObject* LastSender = nullptr;
  TNotifyEvent Handler() {
    return [this](TObject* ASender) {
      ++Count;
      LastSender = ASender;
    };
  }
};

using DrawColorTest = ThemeColorsTest;

TEST_F(DrawColorTest, NewColourIsOpaqueBlackAndItsOwnDefault) {
  const TDrawColor color(QStringLiteral("FillDrawColor"), QStringLiteral("填充颜色"));
  EXPECT_EQ(color.Color(), claBlack);
  EXPECT_EQ(color.StoredDefaultColor, claBlack);
  EXPECT_EQ(color.UseThemeColor(), TUseThemeColorType::ctNone);
  EXPECT_EQ(color.Name(), QStringLiteral("FillDrawColor"));
  EXPECT_EQ(color.Caption(), QStringLiteral("填充颜色"));
  EXPECT_FALSE(color.IsColorStored());
  EXPECT_FALSE(color.IsUseThemeColorStored());
}

TEST_F(DrawColorTest, SettersNotifyOnlyOnRealChangeButAlphaAlways) {
  TDrawColor color;
  ChangeCounter changes;
  color.SetOnChange(changes.Handler());

  color.SetColor(claBlack);
  color.SetUseThemeColor(TUseThemeColorType::ctNone);
  EXPECT_EQ(changes.Count, 0);

  color.SetColor(claWhite);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(changes.LastSender, &color);

  color.SetAlpha(128);
  EXPECT_EQ(color.Color(), 0x80FFFFFFu);
  color.SetAlpha(128);
  EXPECT_EQ(changes.Count, 3);
}

TEST_F(DrawColorTest, InitDefaultColorMakesTheColourTheStoredDefault) {
  TDrawColor color;
  ChangeCounter changes;
  color.SetOnChange(changes.Handler());
  color.InitDefaultColor(claWhite);
  EXPECT_EQ(color.Color(), claWhite);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_FALSE(color.IsColorStored());
  color.SetColor(claBlack);
  EXPECT_TRUE(color.IsColorStored());
}

TEST_F(DrawColorTest, ThemeLinkReadsTheGlobalColourUntilAThemeChangesIt) {
  TDrawColor color;
  color.SetColor(0xFF123456u);
  color.SetUseThemeColor(TUseThemeColorType::ctThemeColor);
  EXPECT_EQ(color.Color(), 0xFF0199FFu);
  EXPECT_EQ(color.OwnColor(), 0xFF123456u);
  EXPECT_TRUE(color.IsUseThemeColorStored());

  ChangeCounter changes;
  color.SetOnChange(changes.Handler());
  TSkinTheme theme;
  theme.SetSkinThemeColor(0xFFAA0000u);
  EXPECT_EQ(color.Color(), 0xFFAA0000u);
  EXPECT_EQ(changes.Count, 0) << "theme changes are picked up on the next read, not notified";

  color.SetUseThemeColor(TUseThemeColorType::ctNone);
  EXPECT_EQ(color.Color(), 0xFF123456u);
}

TEST_F(DrawColorTest, EveryThemeKindHasItsStartValueAndItsThemeSetter) {
  struct Case {
    TUseThemeColorType Kind;
    TAlphaColor Start;
    void (TSkinTheme::*Setter)(TAlphaColor);
  };
  const Case cases[] = {
      {TUseThemeColorType::ctThemeColor, 0xFF0199FFu, &TSkinTheme::SetSkinThemeColor},
      {TUseThemeColorType::ctThemeColor1, 0xFF4DC060u, &TSkinTheme::SetSkinThemeColor1},
      {TUseThemeColorType::ctNavigationBarColor, 0xFF0199FFu, &TSkinTheme::SetNavigationBarColor},
      {TUseThemeColorType::ctNavigationBarFontColor, 0xFFFFFFFFu, &TSkinTheme::SetNavigationBarFontColor},
      {TUseThemeColorType::ctThemeColor2, 0xFF4DC060u, &TSkinTheme::SetSkinThemeColor2},
      {TUseThemeColorType::ctThemeColor3, 0xFF4DC060u, &TSkinTheme::SetSkinThemeColor3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Kind));
    TDrawColor color;
    color.SetUseThemeColor(c.Kind);
    EXPECT_EQ(color.Color(), c.Start);
    TSkinTheme theme;
    (theme.*c.Setter)(0xFF010203u);
    EXPECT_EQ(color.Color(), 0xFF010203u);
    for (const Case& other : cases) {
      if (other.Kind != c.Kind) {
        EXPECT_EQ(ostrel::skin::ThemeColor(other.Kind), other.Start);
      }
    }
    ostrel::skin::ResetThemeColors();
  }
  EXPECT_EQ(ostrel::skin::SkinPictureThemeColor(), claNull);
}

TEST_F(DrawColorTest, CopyTakesColourAndThemeLinkButNotNameCaptionOrStoredDefault) {
  TDrawColor source(QStringLiteral("A"), QStringLiteral("a"));
  source.SetColor(0x11223344u);
  source.SetUseThemeColor(TUseThemeColorType::ctThemeColor1);
  source.StoredDefaultColor = 0x11223344u;

  TDrawColor dest(QStringLiteral("B"), QStringLiteral("b"));
  ChangeCounter changes;
  dest.SetOnChange(changes.Handler());
  dest.Assign(&source);

  EXPECT_EQ(dest.OwnColor(), 0x11223344u);
  EXPECT_EQ(dest.UseThemeColor(), TUseThemeColorType::ctThemeColor1);
  EXPECT_EQ(dest.Name(), QStringLiteral("B"));
  EXPECT_EQ(dest.Caption(), QStringLiteral("b"));
  EXPECT_EQ(dest.StoredDefaultColor, claBlack);
  EXPECT_EQ(changes.Count, 1);

  TBorderMargins unrelated;
  EXPECT_THROW(dest.Assign(&unrelated), EConvertError);
}

TEST_F(ThemeColorsTest, SkinThemeStartsFromTheGlobalColours) {
  ostrel::skin::SetThemeColor(TUseThemeColorType::ctThemeColor2, 0xFF0000FFu);
  ostrel::skin::SetSkinPictureThemeColor(0xFF00FF00u);
  TSkinTheme theme;
  EXPECT_EQ(theme.SkinThemeColor(), 0xFF0199FFu);
  EXPECT_EQ(theme.SkinThemeColor2(), 0xFF0000FFu);
  EXPECT_EQ(theme.SkinPictureThemeColor(), 0u);

  theme.SetSkinPictureThemeColor(0xFF00FF01u);
  EXPECT_EQ(ostrel::skin::SkinPictureThemeColor(), 0xFF00FF01u);
}

TEST_F(ThemeColorsTest, NavigationBarColourFallsBackToTheSkinThemeColourWhileZero) {
  TSkinTheme theme;
  theme.SetSkinThemeColor(0xFF111111u);
  theme.SetNavigationBarColor(0);
  EXPECT_EQ(theme.NavigationBarColor(), 0xFF111111u);
  theme.SetNavigationBarColor(0xFF222222u);
  EXPECT_EQ(theme.NavigationBarColor(), 0xFF222222u);
}

TEST(BorderMarginsTest, NewMarginsAreEightEach) {
  const TBorderMargins margins;
  EXPECT_EQ(margins.SaveToString(), QStringLiteral("8,8,8,8"));
}

TEST(BorderMarginsTest, LoadFromStringTakesFourItemsOrNothing) {
  struct Case {
    const char* Text;
    bool Throws;
    int Left, Top, Right, Bottom;
    int Notifications;
  };
  const Case cases[] = {
      {"1,2,3,4", false, 1, 2, 3, 4, 1},
      {"1,2,3", false, 8, 8, 8, 8, 0},
      {"", false, 8, 8, 8, 8, 0},
      {"8,8,8,8", false, 8, 8, 8, 8, 0},
      {"1,2,3,4,5", false, 1, 2, 3, 4, 1},
      {" 1, 2 ,3 ,4", false, 1, 2, 3, 4, 1},
      {"1,x,3,4", true, 8, 8, 8, 8, 0},
      {"1,2,3,", true, 8, 8, 8, 8, 0},
      {"1,2,3,99999999999", true, 8, 8, 8, 8, 0},
      // A border is never negative.
      {"-5,2,3,4", false, 0, 2, 3, 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    TBorderMargins margins;
    int notifications = 0;
    margins.SetOnChange([&](TObject*) { ++notifications; });
    if (c.Throws) {
      EXPECT_THROW(margins.LoadFromString(QString::fromUtf8(c.Text)), EConvertError);
    } else {
      margins.LoadFromString(QString::fromUtf8(c.Text));
    }
    EXPECT_EQ(margins.Left(), c.Left);
    EXPECT_EQ(margins.Top(), c.Top);
    EXPECT_EQ(margins.Right(), c.Right);
    EXPECT_EQ(margins.Bottom(), c.Bottom);
    EXPECT_EQ(notifications, c.Notifications);
  }
}

TEST(BorderMarginsTest, SettersAndCopyNotify) {
  TBorderMargins margins;
  int notifications = 0;
  margins.SetOnChange([&](TObject*) { ++notifications; });
  margins.SetLeft(8);
  EXPECT_EQ(notifications, 0);
  margins.SetLeft(2);
  EXPECT_EQ(notifications, 1);
  margins.SetBounds(2, 8, 8, 8);
  EXPECT_EQ(notifications, 1);
  margins.SetBounds(2, 3, 4, 5);
  EXPECT_EQ(notifications, 2);
  EXPECT_EQ(margins.SaveToString(), QStringLiteral("2,3,4,5"));

  TBorderMargins copy;
  int copyNotifications = 0;
  copy.SetOnChange([&](TObject*) { ++copyNotifications; });
  copy.Assign(&margins);
  EXPECT_EQ(copy.SaveToString(), QStringLiteral("2,3,4,5"));
  EXPECT_EQ(copyNotifications, 1);
}

TEST(GradientTest, SecondColourReadsAndWritesTheSecondPoint) {
  TGradient gradient;
  EXPECT_EQ(gradient.Color(), claBlack);
  EXPECT_EQ(gradient.Color1(), claWhite);
  int notifications = 0;
  gradient.SetOnChange([&](TObject*) { ++notifications; });

  gradient.SetColor1(0xFF00FF00u);
  EXPECT_EQ(gradient.Points()[1].Color, 0xFF00FF00u);
  EXPECT_EQ(notifications, 1);

  gradient.SetPoints({{0xFF112233u, 0.0}});
  EXPECT_EQ(gradient.Color1(), 0u);
  gradient.SetColor1(0xFF445566u);
  ASSERT_EQ(gradient.Points().size(), 2u);
  EXPECT_EQ(gradient.Color(), 0xFF112233u);
  EXPECT_EQ(gradient.Color1(), 0xFF445566u);
  EXPECT_EQ(gradient.Points()[1].Offset, 1.0);
}

TEST(GradientTest, CopyIsOneNotificationAndNoneWhenEqual) {
  TGradient source;
  source.SetStyle(TGradientStyle::Radial);
  source.StartPosition()->SetPoint(TPointF(0.5, 0.5));
  source.StopPosition()->SetPoint(TPointF(1, 1));
  source.SetColor(0xFF0000FFu);

  TGradient dest;
  int notifications = 0;
  dest.SetOnChange([&](TObject*) { ++notifications; });
  dest.Assign(&source);
  EXPECT_TRUE(dest.Equals(source));
  EXPECT_EQ(notifications, 1);
  dest.Assign(&source);
  EXPECT_EQ(notifications, 1);

  dest.StopPosition()->SetY(0.25f);
  EXPECT_EQ(notifications, 2);
}

}  // namespace
