#pragma once
// Colours and small value objects shared by every drawing parameter: the
// colour holder with its link to the process-wide theme colours, the theme
// component that sets them, border margins, alignment, and the gradient a
// rectangle is filled with.
//
// Enumerations live in a Q_NAMESPACE named after the unit so that stored forms
// can read and write them by value name (Q_ENUM_NS); using-declarations make
// them available under their plain names.

#include "skin/host/Component.h"
#include "skin/host/Persistent.h"
#include "skin/host/Position.h"
#include "skin/host/Types.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace uGraphicCommon {
Q_NAMESPACE

enum class TUseThemeColorType : std::uint8_t {
  ctNone,
  ctThemeColor,
  ctThemeColor1,
  ctNavigationBarColor,
  ctNavigationBarFontColor,
  ctThemeColor2,
  ctThemeColor3,
};
Q_ENUM_NS(TUseThemeColorType)

enum class TSkinAlign : std::uint8_t { salLeading, salCenter, salTrailing };
Q_ENUM_NS(TSkinAlign)

// The host framework's gradient kinds, spelled as its stored forms spell them.
enum class TGradientStyle : std::uint8_t { Linear, Radial };
Q_ENUM_NS(TGradientStyle)

}  // namespace uGraphicCommon

using uGraphicCommon::TGradientStyle;
using uGraphicCommon::TSkinAlign;
using uGraphicCommon::TUseThemeColorType;

namespace ostrel::skin {

// The process-wide theme colours. They start at fixed values, are changed
// through TSkinTheme, and every TDrawColor linked to a kind reads them anew.
TAlphaColor ThemeColor(TUseThemeColorType AKind);
// Sets the colour of one kind; ctNone has no theme colour and is ignored.
void SetThemeColor(TUseThemeColorType AKind, TAlphaColor AColor);
TAlphaColor SkinPictureThemeColor();
void SetSkinPictureThemeColor(TAlphaColor AColor);
// Back to the start values (FF0199FF, FF4DC060, ...); for start-up and tests.
void ResetThemeColors();

}  // namespace ostrel::skin

// A colour property of a parameter or effect: its own colour, or a link to one
// of the theme colours, and the colour that counts as default in stored forms.
class TDrawColor : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(uGraphicCommon::TUseThemeColorType UseThemeColor READ UseThemeColor WRITE SetUseThemeColor)
  Q_PROPERTY(std::uint8_t Alpha READ Alpha WRITE SetAlpha STORED false)
  // Forms keep the own colour: a theme link is stored beside it, and the
  // theme colour it resolves to is not the colour's to keep.
  Q_PROPERTY(TAlphaColor Color READ OwnColor WRITE SetColor)

 public:
  TDrawColor(const QString& AName = QString(), const QString& ACaption = QString());
  ~TDrawColor() override;

  void Assign(const TPersistent* ASource) override;
  // Assign from a colour known to be one: colour and theme link, then OnChange.
  void AssignColor(const TDrawColor& ASource);
  // The same copy without OnChange, for owners that notify once for a whole copy.
  void StaticAssignColor(const TDrawColor& ASource) {
    FColor = ASource.FColor;
    FUseThemeColor = ASource.FUseThemeColor;
  }

  // Sets the colour (notifying on change) and makes it the stored default.
  void InitDefaultColor(TAlphaColor AColor);

  // The own colour, or the theme colour of the linked kind.
  TAlphaColor Color() const;
  void SetColor(TAlphaColor AValue);
  // The own colour whatever the theme link says.
  TAlphaColor OwnColor() const { return FColor; }

  TUseThemeColorType UseThemeColor() const { return FUseThemeColor; }
  void SetUseThemeColor(TUseThemeColorType AValue);

  // The top byte of the own colour; writing always notifies.
  std::uint8_t Alpha() const { return ostrel::host::AlphaOf(FColor); }
  void SetAlpha(std::uint8_t AValue);

  QString Name() const { return FName; }
  QString Caption() const { return FCaption; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

  TAlphaColor StoredDefaultColor = claBlack;

  Q_INVOKABLE bool IsUseThemeColorStored() const;
  Q_INVOKABLE bool IsColorStored() const;

 private:
  void DoChange();

  QString FName;
  QString FCaption;
  TUseThemeColorType FUseThemeColor = TUseThemeColorType::ctNone;
  TNotifyEvent FOnChange;
  TAlphaColor FColor = claBlack;
};

// Sets the process-wide theme colours from a stored form. Colours linked to a
// theme kind change on their next read; nothing is notified.
class TSkinTheme : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TAlphaColor SkinPictureThemeColor READ SkinPictureThemeColor WRITE SetSkinPictureThemeColor)
  Q_PROPERTY(TAlphaColor SkinThemeColor READ SkinThemeColor WRITE SetSkinThemeColor)
  Q_PROPERTY(TAlphaColor SkinThemeColor1 READ SkinThemeColor1 WRITE SetSkinThemeColor1)
  Q_PROPERTY(TAlphaColor SkinThemeColor2 READ SkinThemeColor2 WRITE SetSkinThemeColor2)
  Q_PROPERTY(TAlphaColor SkinThemeColor3 READ SkinThemeColor3 WRITE SetSkinThemeColor3)
  Q_PROPERTY(TAlphaColor NavigationBarColor READ NavigationBarColor WRITE SetNavigationBarColor)
  Q_PROPERTY(TAlphaColor NavigationBarFontColor READ NavigationBarFontColor WRITE SetNavigationBarFontColor)

 public:
  explicit TSkinTheme(TComponent* AOwner = nullptr);
  ~TSkinTheme() override;

  TAlphaColor SkinPictureThemeColor() const { return FSkinPictureThemeColor; }
  void SetSkinPictureThemeColor(TAlphaColor AValue);
  TAlphaColor SkinThemeColor() const { return FSkinThemeColor; }
  void SetSkinThemeColor(TAlphaColor AValue);
  TAlphaColor SkinThemeColor1() const { return FSkinThemeColor1; }
  void SetSkinThemeColor1(TAlphaColor AValue);
  TAlphaColor SkinThemeColor2() const { return FSkinThemeColor2; }
  void SetSkinThemeColor2(TAlphaColor AValue);
  TAlphaColor SkinThemeColor3() const { return FSkinThemeColor3; }
  void SetSkinThemeColor3(TAlphaColor AValue);
  // Falls back to the skin theme colour while its own value is 0.
  TAlphaColor NavigationBarColor() const;
  void SetNavigationBarColor(TAlphaColor AValue);
  TAlphaColor NavigationBarFontColor() const { return FNavigationBarFontColor; }
  void SetNavigationBarFontColor(TAlphaColor AValue);

 private:
  TAlphaColor FSkinPictureThemeColor = 0;
  TAlphaColor FSkinThemeColor;
  TAlphaColor FSkinThemeColor1;
  TAlphaColor FSkinThemeColor2;
  TAlphaColor FSkinThemeColor3;
  TAlphaColor FNavigationBarColor;
  TAlphaColor FNavigationBarFontColor;
};

// A border width can never be negative; values below 0 are taken as 0.
using TBorderMarginSize = std::int32_t;

// Four margins (left, top, right, bottom), 8 each unless set otherwise.
class TBorderMargins : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(TBorderMarginSize Left READ Left WRITE SetLeft)
  Q_PROPERTY(TBorderMarginSize Top READ Top WRITE SetTop)
  Q_PROPERTY(TBorderMarginSize Right READ Right WRITE SetRight)
  Q_PROPERTY(TBorderMarginSize Bottom READ Bottom WRITE SetBottom)

 public:
  static constexpr TBorderMarginSize DefaultMargin = 8;

  TBorderMargins();
  ~TBorderMargins() override;

  void Assign(const TPersistent* ASource) override;

  // One notification for the four, none when all four are unchanged.
  void SetBounds(TBorderMarginSize ALeft, TBorderMarginSize ATop, TBorderMarginSize ARight, TBorderMarginSize ABottom);

  // "left,top,right,bottom" in decimal.
  QString SaveToString() const;
  // Reads the text SaveToString writes. With fewer than four items nothing
  // changes; a non-integer among the first four raises EConvertError and
  // nothing changes either.
  void LoadFromString(const QString& AMarginsStr);

  TBorderMarginSize Left() const { return FLeft; }
  void SetLeft(TBorderMarginSize AValue);
  TBorderMarginSize Top() const { return FTop; }
  void SetTop(TBorderMarginSize AValue);
  TBorderMarginSize Right() const { return FRight; }
  void SetRight(TBorderMarginSize AValue);
  TBorderMarginSize Bottom() const { return FBottom; }
  void SetBottom(TBorderMarginSize AValue);

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

 private:
  void SetOne(TBorderMarginSize& AField, TBorderMarginSize AValue);
  void DoChange();

  TBorderMarginSize FLeft = DefaultMargin;
  TBorderMarginSize FTop = DefaultMargin;
  TBorderMarginSize FRight = DefaultMargin;
  TBorderMarginSize FBottom = DefaultMargin;
  TNotifyEvent FOnChange;
};

struct TGradientPoint {
  TAlphaColor Color = claBlack;
  // Position along the gradient line, 0 at the start position, 1 at the stop position.
  double Offset = 0;
  bool operator==(const TGradientPoint&) const = default;
};

// A linear or radial colour gradient between a start and a stop position, in
// fractions of the filled rectangle (0,0 top left; 1,1 bottom right). A new
// gradient runs from black at the top to white at the bottom.
class TGradient : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(uGraphicCommon::TGradientStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(TAlphaColor Color READ Color WRITE SetColor)
  Q_PROPERTY(TAlphaColor Color1 READ Color1 WRITE SetColor1)
  Q_PROPERTY(TPosition* StartPosition READ StartPosition WRITE SetStartPosition)
  Q_PROPERTY(TPosition* StopPosition READ StopPosition WRITE SetStopPosition)

 public:
  TGradient();
  ~TGradient() override;

  void Assign(const TPersistent* ASource) override;

  TGradientStyle Style() const { return FStyle; }
  void SetStyle(TGradientStyle AValue);

  // Colour of the first point, 0 when there is none.
  TAlphaColor Color() const;
  // Colour of the second point, 0 when there are fewer than two. Writing a
  // colour to a missing point first fills the list up to it with black at 0
  // and white at 1, so the written colour always lands where it is read back.
  TAlphaColor Color1() const;
  void SetColor(TAlphaColor AValue);
  void SetColor1(TAlphaColor AValue);

  const std::vector<TGradientPoint>& Points() const { return FPoints; }
  void SetPoints(std::vector<TGradientPoint> AValue);

  TPosition* StartPosition() const { return FStartPosition.get(); }
  void SetStartPosition(const TPosition* AValue) { FStartPosition->Assign(AValue); }
  TPosition* StopPosition() const { return FStopPosition.get(); }
  void SetStopPosition(const TPosition* AValue) { FStopPosition->Assign(AValue); }

  bool Equals(const TGradient& AOther) const;

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = std::move(AValue); }

 private:
  void SetPointColor(std::size_t AIndex, TAlphaColor AValue);
  void DoChange();

  TGradientStyle FStyle = TGradientStyle::Linear;
  std::vector<TGradientPoint> FPoints;
  std::unique_ptr<TPosition> FStartPosition;
  std::unique_ptr<TPosition> FStopPosition;
  TNotifyEvent FOnChange;
};
