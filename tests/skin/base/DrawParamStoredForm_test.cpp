// Every drawing parameter kind read from a stored form and written again
// gives the text it was read from, with and without colours linked to the
// theme, and keeps each colour's own value beside its link.

#include "skin/base/uDrawPictureParam.h"
#include "skin/base/uDrawRectParam.h"
#include "skin/base/uDrawTextParam.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <memory>

namespace {

// Stands for a material holding one parameter of each kind.
class TTestParamHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TDrawRectParam* Back READ Back)
  Q_PROPERTY(TDrawTextParam* Caption READ Caption)
  Q_PROPERTY(TDrawPictureParam* Icon READ Icon)

 public:
  explicit TTestParamHolder(TComponent* AOwner = nullptr)
      : TComponent(AOwner),
        FBack(std::make_unique<TDrawRectParam>(QStringLiteral("Back"), QString())),
        FCaption(std::make_unique<TDrawTextParam>(QStringLiteral("Caption"), QString())),
        FIcon(std::make_unique<TDrawPictureParam>(QStringLiteral("Icon"), QString())) {}

  TDrawRectParam* Back() const { return FBack.get(); }
  TDrawTextParam* Caption() const { return FCaption.get(); }
  TDrawPictureParam* Icon() const { return FIcon.get(); }

 private:
  std::unique_ptr<TDrawRectParam> FBack;
  std::unique_ptr<TDrawTextParam> FCaption;
  std::unique_ptr<TDrawPictureParam> FIcon;
};

struct Row {
  const char* Name;
  std::function<void(TTestParamHolder&)> Configure;
  // The colour to find after the round trip, read from the holder.
  std::function<TDrawColor*(TTestParamHolder&)> Color;
  TAlphaColor OwnColor;
  TUseThemeColorType Link;
};

void PrintTo(const Row& ARow, std::ostream* AOut) { *AOut << ARow.Name; }

TDrawColor* RectFill(TTestParamHolder& AHolder) { return AHolder.Back()->FillDrawColor(); }
TDrawColor* RectEffectBorder(TTestParamHolder& AHolder) {
  return AHolder.Back()->DrawEffectSetting()->MouseOverEffect()->BorderDrawColor();
}
TDrawColor* TextFont(TTestParamHolder& AHolder) { return AHolder.Caption()->DrawFont()->FontColor(); }
TDrawColor* TextEffectFont(TTestParamHolder& AHolder) {
  return AHolder.Caption()->DrawEffectSetting()->MouseDownEffect()->FontColor();
}

void Link(TDrawColor* AColor, TAlphaColor AOwn, TUseThemeColorType AKind) {
  AColor->SetColor(AOwn);
  AColor->SetUseThemeColor(AKind);
}

constexpr auto kNone = TUseThemeColorType::ctNone;
constexpr auto kTheme = TUseThemeColorType::ctThemeColor;
constexpr auto kNavFont = TUseThemeColorType::ctNavigationBarFontColor;

class DrawParamStoredFormTest : public ::testing::TestWithParam<Row> {
 protected:
  static void SetUpTestSuite() { ostrel::host::RegisterClass<TTestParamHolder>(); }
};

TEST_P(DrawParamStoredFormTest, ReadWriteReadWriteGivesTheSameText) {
  const Row& row = GetParam();
  TTestParamHolder original;
  row.Configure(original);
  const QString first = ostrel::host::WriteComponent(original);

  const std::unique_ptr<TComponent> once = ostrel::host::ReadComponent(first);
  auto& read = *qobject_cast<TTestParamHolder*>(once.get());
  const QString second = ostrel::host::WriteComponent(read);
  const std::unique_ptr<TComponent> twice = ostrel::host::ReadComponent(second);
  auto& readAgain = *qobject_cast<TTestParamHolder*>(twice.get());

  EXPECT_EQ(second, first);
  EXPECT_EQ(ostrel::host::WriteComponent(readAgain), first);
  TDrawColor* color = row.Color(readAgain);
  EXPECT_EQ(color->OwnColor(), row.OwnColor) << first.toStdString();
  EXPECT_EQ(color->UseThemeColor(), row.Link);
  EXPECT_EQ(color->Color(), row.Color(original)->Color());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, DrawParamStoredFormTest,
    ::testing::Values(
        Row{"rect fill", [](TTestParamHolder& h) { Link(RectFill(h), 0xFF0092CAu, kNone); }, RectFill, 0xFF0092CAu, kNone},
        Row{"rect fill linked, own default", [](TTestParamHolder& h) { Link(RectFill(h), claWhite, kTheme); }, RectFill,
            claWhite, kTheme},
        Row{"rect fill linked, own colour", [](TTestParamHolder& h) { Link(RectFill(h), 0xFF102030u, kTheme); }, RectFill,
            0xFF102030u, kTheme},
        Row{"rect effect border linked",
            [](TTestParamHolder& h) { Link(RectEffectBorder(h), 0xFF0090C9u, kNavFont); }, RectEffectBorder,
            0xFF0090C9u, kNavFont},
        Row{"text font", [](TTestParamHolder& h) { h.Caption()->SetFontColor(0xFFFFFFFFu); }, TextFont, 0xFFFFFFFFu,
            kNone},
        Row{"text font linked, own default", [](TTestParamHolder& h) { Link(TextFont(h), claBlack, kTheme); }, TextFont,
            claBlack, kTheme},
        Row{"text font linked, own colour", [](TTestParamHolder& h) { Link(TextFont(h), 0xCEFFFFFFu, kTheme); },
            TextFont, 0xCEFFFFFFu, kTheme},
        Row{"text font must be stored",
            [](TTestParamHolder& h) {
              h.Caption()->IsMustStoreFontColor = true;
              Link(TextFont(h), claBlack, kNavFont);
            },
            TextFont, claBlack, kNavFont},
        Row{"text effect font linked",
            [](TTestParamHolder& h) { Link(TextEffectFont(h), 0xCEFFFFFFu, kTheme); }, TextEffectFont, 0xCEFFFFFFu,
            kTheme},
        Row{"picture and the others untouched",
            [](TTestParamHolder& h) {
              h.Icon()->SetIsStretch(true);
              h.Icon()->SetAlpha(128);
            },
            RectFill, claWhite, kNone}),
    [](const ::testing::TestParamInfo<Row>& AInfo) {
      std::string name = AInfo.param.Name;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

}  // namespace

#include "DrawParamStoredForm_test.moc"
