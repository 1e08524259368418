#include "skin/base/uGraphicCommon.h"

#include <QStringList>

#include <array>
#include <limits>

namespace {

struct ThemeColors {
  // Indexed by TUseThemeColorType; the ctNone slot is never read.
  std::array<TAlphaColor, 7> ByKind{};
  TAlphaColor SkinPicture = 0;
};

constexpr ThemeColors StartThemeColors() {
  ThemeColors c;
  c.ByKind[static_cast<std::size_t>(TUseThemeColorType::ctThemeColor)] = 0xFF0199FFu;
  c.ByKind[static_cast<std::size_t>(TUseThemeColorType::ctThemeColor1)] = 0xFF4DC060u;
  c.ByKind[static_cast<std::size_t>(TUseThemeColorType::ctNavigationBarColor)] = 0xFF0199FFu;
  c.ByKind[static_cast<std::size_t>(TUseThemeColorType::ctNavigationBarFontColor)] = 0xFFFFFFFFu;
  c.ByKind[static_cast<std::size_t>(TUseThemeColorType::ctThemeColor2)] = 0xFF4DC060u;
  c.ByKind[static_cast<std::size_t>(TUseThemeColorType::ctThemeColor3)] = 0xFF4DC060u;
  c.SkinPicture = 0;
  return c;
}

ThemeColors& GlobalThemeColors() {
  static ThemeColors colors = StartThemeColors();
  return colors;
}

std::size_t KindIndex(TUseThemeColorType AKind) { return static_cast<std::size_t>(AKind); }

bool IsThemeKind(TUseThemeColorType AKind) {
  return AKind != TUseThemeColorType::ctNone && KindIndex(AKind) < GlobalThemeColors().ByKind.size();
}

}  // namespace

namespace ostrel::skin {

TAlphaColor ThemeColor(TUseThemeColorType AKind) {
  return IsThemeKind(AKind) ? GlobalThemeColors().ByKind[KindIndex(AKind)] : claNull;
}

void SetThemeColor(TUseThemeColorType AKind, TAlphaColor AColor) {
  if (IsThemeKind(AKind)) GlobalThemeColors().ByKind[KindIndex(AKind)] = AColor;
}

TAlphaColor SkinPictureThemeColor() { return GlobalThemeColors().SkinPicture; }

void SetSkinPictureThemeColor(TAlphaColor AColor) { GlobalThemeColors().SkinPicture = AColor; }

void ResetThemeColors() { GlobalThemeColors() = StartThemeColors(); }

}  // namespace ostrel::skin

// TDrawColor

TDrawColor::TDrawColor(const QString& AName, const QString& ACaption) : FName(AName), FCaption(ACaption) {}

TDrawColor::~TDrawColor() = default;

void TDrawColor::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TDrawColor*>(ASource)) {
    AssignColor(*source);
    return;
  }
  TPersistent::Assign(ASource);
}

void TDrawColor::AssignColor(const TDrawColor& ASource) {
  StaticAssignColor(ASource);
  DoChange();
}

void TDrawColor::InitDefaultColor(TAlphaColor AColor) {
  SetColor(AColor);
  StoredDefaultColor = AColor;
}

TAlphaColor TDrawColor::Color() const {
  return FUseThemeColor == TUseThemeColorType::ctNone ? FColor : ostrel::skin::ThemeColor(FUseThemeColor);
}

void TDrawColor::SetColor(TAlphaColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  DoChange();
}

void TDrawColor::SetUseThemeColor(TUseThemeColorType AValue) {
  if (FUseThemeColor == AValue) return;
  FUseThemeColor = AValue;
  DoChange();
}

void TDrawColor::SetAlpha(std::uint8_t AValue) {
  FColor = (FColor & 0x00FFFFFFu) | (static_cast<TAlphaColor>(AValue) << 24);
  DoChange();
}

bool TDrawColor::IsUseThemeColorStored() const { return FUseThemeColor != TUseThemeColorType::ctNone; }

bool TDrawColor::IsColorStored() const { return FColor != StoredDefaultColor; }

void TDrawColor::DoChange() {
  if (FOnChange) FOnChange(this);
}

// TSkinTheme

TSkinTheme::TSkinTheme(TComponent* AOwner)
    : TComponent(AOwner),
      FSkinThemeColor(ostrel::skin::ThemeColor(TUseThemeColorType::ctThemeColor)),
      FSkinThemeColor1(ostrel::skin::ThemeColor(TUseThemeColorType::ctThemeColor1)),
      FSkinThemeColor2(ostrel::skin::ThemeColor(TUseThemeColorType::ctThemeColor2)),
      FSkinThemeColor3(ostrel::skin::ThemeColor(TUseThemeColorType::ctThemeColor3)),
      FNavigationBarColor(ostrel::skin::ThemeColor(TUseThemeColorType::ctNavigationBarColor)),
      FNavigationBarFontColor(ostrel::skin::ThemeColor(TUseThemeColorType::ctNavigationBarFontColor)) {}

TSkinTheme::~TSkinTheme() = default;

void TSkinTheme::SetSkinPictureThemeColor(TAlphaColor AValue) {
  FSkinPictureThemeColor = AValue;
  ostrel::skin::SetSkinPictureThemeColor(AValue);
}

void TSkinTheme::SetSkinThemeColor(TAlphaColor AValue) {
  if (FSkinThemeColor == AValue) return;
  FSkinThemeColor = AValue;
  ostrel::skin::SetThemeColor(TUseThemeColorType::ctThemeColor, AValue);
}

void TSkinTheme::SetSkinThemeColor1(TAlphaColor AValue) {
  FSkinThemeColor1 = AValue;
  ostrel::skin::SetThemeColor(TUseThemeColorType::ctThemeColor1, AValue);
}

void TSkinTheme::SetSkinThemeColor2(TAlphaColor AValue) {
  FSkinThemeColor2 = AValue;
  ostrel::skin::SetThemeColor(TUseThemeColorType::ctThemeColor2, AValue);
}

void TSkinTheme::SetSkinThemeColor3(TAlphaColor AValue) {
  FSkinThemeColor3 = AValue;
  ostrel::skin::SetThemeColor(TUseThemeColorType::ctThemeColor3, AValue);
}

TAlphaColor TSkinTheme::NavigationBarColor() const {
  return FNavigationBarColor == 0 ? FSkinThemeColor : FNavigationBarColor;
}

void TSkinTheme::SetNavigationBarColor(TAlphaColor AValue) {
  FNavigationBarColor = AValue;
  ostrel::skin::SetThemeColor(TUseThemeColorType::ctNavigationBarColor, AValue);
}

void TSkinTheme::SetNavigationBarFontColor(TAlphaColor AValue) {
  FNavigationBarFontColor = AValue;
  ostrel::skin::SetThemeColor(TUseThemeColorType::ctNavigationBarFontColor, AValue);
}

// TBorderMargins

namespace {

TBorderMarginSize ClampMargin(TBorderMarginSize AValue) { return AValue < 0 ? 0 : AValue; }

TBorderMarginSize ParseMargin(const QString& AItem) {
  bool ok = false;
  const qlonglong value = AItem.trimmed().toLongLong(&ok);
  if (!ok || value > std::numeric_limits<TBorderMarginSize>::max() ||
      value < std::numeric_limits<TBorderMarginSize>::min()) {
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(AItem));
  }
  return static_cast<TBorderMarginSize>(value);
}

}  // namespace

TBorderMargins::TBorderMargins() = default;

TBorderMargins::~TBorderMargins() = default;

void TBorderMargins::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TBorderMargins*>(ASource)) {
    FLeft = source->FLeft;
    FTop = source->FTop;
    FRight = source->FRight;
    FBottom = source->FBottom;
    DoChange();
    return;
  }
  TPersistent::Assign(ASource);
}

void TBorderMargins::SetBounds(TBorderMarginSize ALeft, TBorderMarginSize ATop, TBorderMarginSize ARight,
                               TBorderMarginSize ABottom) {
  ALeft = ClampMargin(ALeft);
  ATop = ClampMargin(ATop);
  ARight = ClampMargin(ARight);
  ABottom = ClampMargin(ABottom);
  if (FLeft == ALeft && FTop == ATop && FRight == ARight && FBottom == ABottom) return;
  FLeft = ALeft;
  FTop = ATop;
  FRight = ARight;
  FBottom = ABottom;
  DoChange();
}

QString TBorderMargins::SaveToString() const {
  return QStringLiteral("%1,%2,%3,%4").arg(FLeft).arg(FTop).arg(FRight).arg(FBottom);
}

void TBorderMargins::LoadFromString(const QString& AMarginsStr) {
  const QStringList items = AMarginsStr.split(u',');
  if (items.size() < 4) return;
  const TBorderMarginSize left = ParseMargin(items[0]);
  const TBorderMarginSize top = ParseMargin(items[1]);
  const TBorderMarginSize right = ParseMargin(items[2]);
  const TBorderMarginSize bottom = ParseMargin(items[3]);
  SetBounds(left, top, right, bottom);
}

void TBorderMargins::SetLeft(TBorderMarginSize AValue) { SetOne(FLeft, AValue); }
void TBorderMargins::SetTop(TBorderMarginSize AValue) { SetOne(FTop, AValue); }
void TBorderMargins::SetRight(TBorderMarginSize AValue) { SetOne(FRight, AValue); }
void TBorderMargins::SetBottom(TBorderMarginSize AValue) { SetOne(FBottom, AValue); }

void TBorderMargins::SetOne(TBorderMarginSize& AField, TBorderMarginSize AValue) {
  AValue = ClampMargin(AValue);
  if (AField == AValue) return;
  AField = AValue;
  DoChange();
}

void TBorderMargins::DoChange() {
  if (FOnChange) FOnChange(this);
}

// TGradient

namespace {

std::vector<TGradientPoint> DefaultGradientPoints() { return {{claBlack, 0.0}, {claWhite, 1.0}}; }

}  // namespace

TGradient::TGradient()
    : FPoints(DefaultGradientPoints()),
      FStartPosition(std::make_unique<TPosition>(TPointF(0.0, 0.0))),
      FStopPosition(std::make_unique<TPosition>(TPointF(0.0, 1.0))) {
  FStartPosition->OnChange = [this](TObject*) { DoChange(); };
  FStopPosition->OnChange = [this](TObject*) { DoChange(); };
}

TGradient::~TGradient() = default;

void TGradient::Assign(const TPersistent* ASource) {
  if (const auto* source = dynamic_cast<const TGradient*>(ASource)) {
    if (Equals(*source)) return;
    FStyle = source->FStyle;
    FPoints = source->FPoints;
    // One notification for the whole copy, not one per position.
    const TNotifyEvent onChange = std::move(FOnChange);
    FOnChange = nullptr;
    FStartPosition->Assign(source->FStartPosition.get());
    FStopPosition->Assign(source->FStopPosition.get());
    FOnChange = onChange;
    DoChange();
    return;
  }
  TPersistent::Assign(ASource);
}

void TGradient::SetStyle(TGradientStyle AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  DoChange();
}

TAlphaColor TGradient::Color() const { return FPoints.empty() ? claNull : FPoints[0].Color; }

TAlphaColor TGradient::Color1() const { return FPoints.size() < 2 ? claNull : FPoints[1].Color; }

void TGradient::SetColor(TAlphaColor AValue) { SetPointColor(0, AValue); }

void TGradient::SetColor1(TAlphaColor AValue) { SetPointColor(1, AValue); }

void TGradient::SetPoints(std::vector<TGradientPoint> AValue) {
  if (FPoints == AValue) return;
  FPoints = std::move(AValue);
  DoChange();
}

bool TGradient::Equals(const TGradient& AOther) const {
  return FStyle == AOther.FStyle && FPoints == AOther.FPoints && FStartPosition->X() == AOther.FStartPosition->X() &&
         FStartPosition->Y() == AOther.FStartPosition->Y() && FStopPosition->X() == AOther.FStopPosition->X() &&
         FStopPosition->Y() == AOther.FStopPosition->Y();
}

void TGradient::SetPointColor(std::size_t AIndex, TAlphaColor AValue) {
  const std::vector<TGradientPoint> defaults = DefaultGradientPoints();
  bool changed = false;
  while (FPoints.size() <= AIndex) {
    FPoints.push_back(defaults[FPoints.size()]);
    changed = true;
  }
  if (FPoints[AIndex].Color != AValue) {
    FPoints[AIndex].Color = AValue;
    changed = true;
  }
  if (changed) DoChange();
}

void TGradient::DoChange() {
  if (FOnChange) FOnChange(this);
}
