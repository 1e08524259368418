#include "skin/base/uDrawTextParam.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <functional>
#include <memory>
#include <vector>

namespace {

using DPS = TDPEffectState;
using ET = TDTPEffectType;
using FS = TFontStyle;

void ExpectClearedLayout(const TDrawTextParam& AParam) {
  EXPECT_EQ(AParam.FontHorzAlign(), TFontHorzAlign::fhaLeft);
  EXPECT_EQ(AParam.FontVertAlign(), TFontVertAlign::fvaTop);
  EXPECT_FALSE(AParam.IsWordWrap());
  EXPECT_EQ(AParam.FontTrimming(), TFontTrimmingType::fttNone);
  EXPECT_EQ(AParam.FontColor(), claBlack);
  EXPECT_EQ(AParam.DrawFont()->FontColor()->UseThemeColor(), TUseThemeColorType::ctNone);
  EXPECT_EQ(AParam.Alpha(), 255);
  EXPECT_FALSE(AParam.DrawRectSetting()->Enabled());
}

TEST(DrawTextParamTest, NewParameterIsTopLeftBlackInTheDefaultFont) {
  const TDrawTextParam param(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题绘制参数"));
  ExpectClearedLayout(param);
  EXPECT_EQ(param.FontName(), TFont::DefaultFamily());
  EXPECT_EQ(param.FontSize(), 12.0);
  EXPECT_TRUE(param.FontStyle().IsEmpty());
  EXPECT_FALSE(param.IsDrawVert());
  EXPECT_EQ(param.AutoSizeWidthAdjust(), 0);
  EXPECT_EQ(param.AutoSizeHeightAdjust(), 0);
  EXPECT_EQ(param.TextLayout(), nullptr) << "the canvas creates the layout on first draw";
  EXPECT_EQ(param.HorzAlign(), TSkinAlign::salLeading);
  EXPECT_EQ(param.Name(), QStringLiteral("DrawCaptionParam"));
  EXPECT_EQ(param.GetDrawParamSettingClass(), &TDrawTextParamSetting::staticMetaObject);

  const TDrawTextParamEffect& effect = *param.DrawEffectSetting()->MouseDownEffect();
  EXPECT_EQ(effect.FontSize(), 12.0);
  EXPECT_EQ(effect.FontColor()->Color(), claBlack);
  EXPECT_FALSE(effect.HasEffectTypes());
}

TEST(DrawTextParamTest, ClearResetsLayoutAndColourButKeepsFontFaceVerticalTextAndAdjustments) {
  TDrawTextParam param;
  param.SetFontName(QStringLiteral("Serif"));
  param.SetFontSize(20);
  param.SetFontStyle({FS::fsBold});
  param.DrawFont()->FontColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor);
  param.SetFontColor(claWhite);
  param.SetIsDrawVert(true);
  param.SetFontTrimming(TFontTrimmingType::fftWord);
  param.SetHorzAlign(TSkinAlign::salTrailing);
  param.SetVertAlign(TSkinAlign::salCenter);
  param.SetAutoSizeWidthAdjust(4);
  param.SetAutoSizeHeightAdjust(2);
  param.SetAlpha(7);
  param.DrawRectSetting()->SetEnabled(true);
  param.SetTextLayout(std::make_unique<ostrel::skin::KeptTextLayout>());

  param.Clear();

  ExpectClearedLayout(param);
  EXPECT_EQ(param.FontName(), QStringLiteral("Serif"));
  EXPECT_EQ(param.FontSize(), 20.0);
  EXPECT_EQ(param.FontStyle(), TFontStyles{FS::fsBold});
  EXPECT_TRUE(param.IsDrawVert());
  EXPECT_EQ(param.AutoSizeWidthAdjust(), 4);
  EXPECT_EQ(param.AutoSizeHeightAdjust(), 2);
  EXPECT_NE(param.TextLayout(), nullptr);
}

TEST(DrawTextParamTest, DrawingVerticallySwitchesWrapOnButNeverOff) {
  TDrawTextParam param;
  int notifications = 0;
  param.SetOnChange([&](TObject*) { ++notifications; });

  param.SetIsDrawVert(true);
  EXPECT_TRUE(param.IsWordWrap());
  EXPECT_EQ(notifications, 1) << "wrap and vertical drawing change with one notification";

  param.SetIsDrawVert(true);
  EXPECT_EQ(notifications, 1);

  param.SetIsDrawVert(false);
  EXPECT_FALSE(param.IsDrawVert());
  EXPECT_TRUE(param.IsWordWrap());
  EXPECT_EQ(notifications, 2);

  param.SetIsWordWrap(false);
  param.SetIsDrawVert(false);
  EXPECT_FALSE(param.IsWordWrap());
}

TEST(DrawFontTest, DescriptionTextIsWrittenInItsFixedForm) {
  struct Case {
    QString Family;
    float Size;
    TFontStyles Style;
    QString Text;
  };
  const Case cases[] = {
      {"F", 14, {FS::fsBold}, "\"F\", 14, [Bold],"},
      {"F", 9.5f, {}, "\"F\", 9.5, [],"},
      {"F", 12, {FS::fsItalic, FS::fsUnderline}, "\"F\", 12, [Italic|Underline],"},
      {"Microsoft YaHei", 14.6f, {FS::fsStrikeOut, FS::fsBold, FS::fsUnderline, FS::fsItalic},
       "\"Microsoft YaHei\", 14.6, [Bold|Italic|Underline|Strikeout],"},
      {"微软雅黑", 0.1f, {}, "\"微软雅黑\", 0.1, [],"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text.toStdString());
    TDrawFont font;
    font.SetFamily(c.Family);
    font.SetSize(c.Size);
    font.SetStyle(c.Style);
    EXPECT_EQ(font.SaveToString(), c.Text);

    TDrawFont back;
    back.SetStyle({FS::fsStrikeOut});
    back.LoadFromString(c.Text);
    EXPECT_EQ(back.Family(), c.Family);
    EXPECT_EQ(back.Size(), c.Size) << "the shortest text reads back as the same single-precision size";
    EXPECT_EQ(back.Style(), c.Style);
  }
}

TEST(DrawFontTest, DescriptionTextIsReadAsFarAsItGoes) {
  struct Case {
    const char* Name;
    QString Text;
    QString Family;
    float Size;
    TFontStyles Style;
  };
  // Every case starts from family "Old", size 10, italic.
  const TFontStyles old{FS::fsItalic};
  const Case cases[] = {
      {"empty text", "", "Old", 10, old},
      {"no quotes", "Arial, 14, [Bold],", "Old", 10, old},
      {"family only", "\"New\"", "Old", 10, old},
      {"family then comma", "\"New\",", "New", 10, old},
      {"size not a number", "\"New\", big, [Bold],", "New", 10, old},
      {"size not finite", "\"New\", nan, [Bold],", "New", 10, old},
      {"size beyond single precision", "\"New\", 1e39, [Bold],", "New", 10, old},
      {"size without a following comma", "\"New\", 14", "New", 10, old},
      {"style list without brackets", "\"New\", 14, Bold,", "New", 14, old},
      {"style list not closed", "\"New\", 14, [Bold,", "New", 14, old},
      {"unknown style names are skipped", "\"New\", 14, [Heavy|Underline],", "New", 14, {FS::fsUnderline}},
      {"a comma inside the family", "\"A, B\", 8, [Bold],", "A, B", 8, {FS::fsBold}},
      {"blanks around the size", "\"New\",   16.5  , [],", "New", 16.5f, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TDrawFont font;
    font.SetFamily(QStringLiteral("Old"));
    font.SetSize(10);
    font.SetStyle(old);
    font.LoadFromString(c.Text);
    EXPECT_EQ(font.Family(), c.Family);
    EXPECT_EQ(font.Size(), c.Size);
    EXPECT_EQ(font.Style(), c.Style);
  }
}

// A text parameter whose effects the cases switch on through the states.
class TextEffectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Param.SetFontColor(claWhite);
    Param.SetFontSize(20);
    Param.SetFontStyle({FS::fsBold});
    TDrawTextEffectSetting& effects = *Param.DrawEffectSetting();
    effects.MouseDownEffect()->FontColor()->SetColor(0xCEFFFFFFu);
    effects.MouseDownEffect()->SetEffectTypes({ET::dtpetFontColorChange});
    effects.MouseOverEffect()->SetFontSize(16);
    effects.MouseOverEffect()->SetFontStyle({FS::fsUnderline});
    effects.MouseOverEffect()->FontColor()->SetColor(claGray);
    effects.MouseOverEffect()->SetEffectTypes({ET::dtpetFontSizeChange, ET::dtpetFontStyleChange});
    effects.PushedEffect()->SetFontSize(30);
    effects.PushedEffect()->FontColor()->SetColor(claSilver);
    effects.PushedEffect()->SetCommonEffectTypes({TDPCommonEffectType::dpcetAlphaChange});
  }

  TDrawTextParam Param{QStringLiteral("DrawCaptionParam"), QString()};
};

TEST_F(TextEffectFixture, ResolvedValuesFollowTheEffectInForce) {
  struct Case {
    const char* Name;
    TDPEffectStates States;
    TAlphaColor Color;
    double Size;
    TFontStyles Style;
  };
  const Case cases[] = {
      {"no state", {}, claWhite, 20, {FS::fsBold}},
      {"held: colour only, as the install button's caption", {DPS::dpstMouseDown}, 0xCEFFFFFFu, 20, {FS::fsBold}},
      {"hovered: size and style", {DPS::dpstMouseOver}, claWhite, 16, {FS::fsUnderline}},
      {"held outranks hovered", {DPS::dpstMouseOver, DPS::dpstMouseDown}, 0xCEFFFFFFu, 20, {FS::fsBold}},
      {"pushed changes only alpha", {DPS::dpstPushed}, claWhite, 20, {FS::fsBold}},
      {"disabled without effect types", {DPS::dpstDisabled, DPS::dpstMouseOver}, claWhite, 20, {FS::fsBold}},
      {"focused without effect types", {DPS::dpstFocused}, claWhite, 20, {FS::fsBold}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Param.SetStaticEffectStates(c.States);
    EXPECT_EQ(Param.CurrentEffectFontColor()->Color(), c.Color);
    EXPECT_EQ(Param.CurrentEffectFontSize(), c.Size);
    EXPECT_EQ(Param.CurrentEffectFontStyle(), c.Style);
    EXPECT_EQ(Param.CurrentEffectFontName(), TFont::DefaultFamily());
  }
  Param.SetStaticEffectStates({DPS::dpstPushed});
  EXPECT_EQ(Param.CurrentEffectAlpha(), 180);
}

TEST_F(TextEffectFixture, MixedPushedAndHeldEffectTakesThePushedValues) {
  TDrawTextEffectSetting& effects = *Param.DrawEffectSetting();
  effects.SetIsMixedMouseDownAndPushedEffect(true);
  effects.PushedEffect()->SetEffectTypes({ET::dtpetFontSizeChange});
  Param.SetStaticEffectStates({DPS::dpstPushed, DPS::dpstMouseDown});
  EXPECT_EQ(Param.CurrentEffect(), effects.MixedEffect());
  EXPECT_EQ(Param.CurrentEffectFontSize(), 30);
  EXPECT_EQ(Param.CurrentEffectFontColor()->Color(), claWhite) << "the pushed effect does not change the colour";
  EXPECT_EQ(Param.CurrentEffectAlpha(), 180);
}

TEST(DrawTextParamTest, NotificationCounts) {
  TDrawTextParam param;
  int notifications = 0;
  param.SetOnChange([&](TObject*) { ++notifications; });

  struct Step {
    const char* Name;
    std::function<void()> Change;
    int Expected;
  };
  TDrawTextParamEffect& pushed = *param.DrawEffectSetting()->PushedEffect();
  TDrawTextParamEffect& over = *param.DrawEffectSetting()->MouseOverEffect();
  TDrawColor white(QStringLiteral("W"), QString());
  white.SetColor(claWhite);
  const Step steps[] = {
      {"equal values", [&] {
         param.SetIsWordWrap(false);
         param.SetFontHorzAlign(TFontHorzAlign::fhaLeft);
         param.SetVertAlign(TSkinAlign::salLeading);
         param.SetAutoSizeWidthAdjust(0);
         param.SetFontName(TFont::DefaultFamily());
         param.SetFontSize(12);
         param.SetFontStyle({});
         param.SetFontColor(claBlack);
         param.DrawFont()->SetFontColor(param.DrawFont()->FontColor());
       }, 0},
      {"auto-size width set twice", [&] {
         param.SetAutoSizeWidthAdjust(3);
         param.SetAutoSizeWidthAdjust(3);
       }, 1},
      {"each layout setter", [&] {
         param.SetIsWordWrap(true);
         param.SetFontHorzAlign(TFontHorzAlign::fhaCenter);
         param.SetFontVertAlign(TFontVertAlign::fvaBottom);
         param.SetAutoSizeHeightAdjust(1);
       }, 4},
      {"each font value through either view", [&] {
         param.SetFontName(QStringLiteral("Serif"));
         param.DrawFont()->SetSize(13);
         param.SetFontStyle({FS::fsItalic});
         param.DrawFont()->FontColor()->SetColor(claGray);
         param.SetFontColor(claWhite);
       }, 5},
      {"copying the colour the font has", [&] { param.DrawFont()->SetFontColor(&white); }, 0},
      {"trimming and the static alignment are silent", [&] {
         param.SetFontTrimming(TFontTrimmingType::fttCharacter);
         param.SetStaticFontHorzAlign(TFontHorzAlign::fhaRight);
         param.SetStaticEffectStates({DPS::dpstMouseOver});
       }, 0},
      {"a hovered effect's changes stay inside", [&] {
         over.SetFontSize(30);
         over.SetEffectTypes({ET::dtpetFontSizeChange});
         over.FontColor()->SetColor(claGray);
       }, 0},
      {"the pushed effect's changes reach the parameter", [&] {
         pushed.SetFontSize(30);
         pushed.SetFontSize(30);
         pushed.SetFontStyle({FS::fsBold});
         pushed.SetEffectTypes({ET::dtpetFontSizeChange});
         pushed.FontColor()->SetColor(claGray);
       }, 4},
      {"resolving values", [&] {
         param.CurrentEffectFontSize();
         param.CurrentEffectFontColor();
       }, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.Name);
    notifications = 0;
    step.Change();
    EXPECT_EQ(notifications, step.Expected);
  }
}

TEST(DrawTextParamTest, CopySemantics) {
  TDrawTextParam source(QStringLiteral("Src"), QStringLiteral("源"));
  source.SetFontName(QStringLiteral("Serif"));
  source.SetFontSize(20);
  source.SetFontStyle({FS::fsBold, FS::fsUnderline});
  source.DrawFont()->FontColor()->SetUseThemeColor(TUseThemeColorType::ctThemeColor1);
  source.DrawFont()->FontColor()->SetColor(0xFF112233u);
  source.SetFontTrimming(TFontTrimmingType::fftWord);
  source.SetFontVertAlign(TFontVertAlign::fvaCenter);
  source.SetFontHorzAlign(TFontHorzAlign::fhaRight);
  source.SetIsDrawVert(true);
  source.SetAutoSizeWidthAdjust(5);
  source.SetAutoSizeHeightAdjust(6);
  source.SetAlpha(128);
  source.SetStaticEffectStates({DPS::dpstMouseDown});
  source.DrawRectSetting()->SetEnabled(true);
  TDrawTextParamEffect& down = *source.DrawEffectSetting()->MouseDownEffect();
  down.FontColor()->SetColor(0xCEFFFFFFu);
  down.SetFontSize(16);
  down.SetFontStyle({FS::fsItalic});
  down.SetEffectTypes({ET::dtpetFontColorChange, ET::dtpetFontSizeChange});
  down.SetOffset(2);

  TDrawTextParam dest(QStringLiteral("Dest"), QStringLiteral("目标"));
  int notifications = 0;
  dest.SetOnChange([&](TObject*) { ++notifications; });
  dest.Assign(&source);

  EXPECT_EQ(dest.FontName(), QStringLiteral("Serif"));
  EXPECT_EQ(dest.FontSize(), 20);
  EXPECT_EQ(dest.FontStyle(), (TFontStyles{FS::fsBold, FS::fsUnderline}));
  EXPECT_EQ(dest.DrawFont()->FontColor()->UseThemeColor(), TUseThemeColorType::ctThemeColor1);
  EXPECT_EQ(dest.DrawFont()->FontColor()->OwnColor(), 0xFF112233u);
  EXPECT_EQ(dest.FontTrimming(), TFontTrimmingType::fftWord);
  EXPECT_EQ(dest.FontVertAlign(), TFontVertAlign::fvaCenter);
  EXPECT_EQ(dest.FontHorzAlign(), TFontHorzAlign::fhaRight);
  EXPECT_TRUE(dest.IsDrawVert());
  EXPECT_TRUE(dest.IsWordWrap());
  EXPECT_EQ(dest.Alpha(), 128);
  EXPECT_TRUE(dest.DrawRectSetting()->Enabled());
  const TDrawTextParamEffect& copied = *dest.DrawEffectSetting()->MouseDownEffect();
  EXPECT_EQ(copied.FontColor()->Color(), 0xCEFFFFFFu);
  EXPECT_EQ(copied.FontSize(), 16);
  EXPECT_EQ(copied.FontStyle(), TFontStyles{FS::fsItalic});
  EXPECT_EQ(copied.EffectTypes(), down.EffectTypes());
  EXPECT_EQ(copied.Offset(), 2);

  EXPECT_EQ(dest.AutoSizeWidthAdjust(), 0) << "the auto-size adjustments belong to the control";
  EXPECT_EQ(dest.AutoSizeHeightAdjust(), 0);
  EXPECT_EQ(dest.Name(), QStringLiteral("Dest"));
  EXPECT_EQ(dest.Caption(), QStringLiteral("目标"));
  EXPECT_TRUE(dest.StaticEffectStates().IsEmpty());
  EXPECT_GE(notifications, 1);

  // Across kinds only the base values travel; a host font gives only its face.
  TDrawParam plain(QStringLiteral("Plain"), QString());
  plain.SetAlpha(3);
  TDrawTextParam fromPlain;
  fromPlain.Assign(&plain);
  EXPECT_EQ(fromPlain.Alpha(), 3);
  EXPECT_EQ(fromPlain.FontName(), TFont::DefaultFamily());
  TFont hostFont;
  hostFont.SetFamily(QStringLiteral("Mono"));
  fromPlain.SetFontColor(claWhite);
  fromPlain.DrawFont()->Assign(&hostFont);
  EXPECT_EQ(fromPlain.FontName(), QStringLiteral("Mono"));
  EXPECT_EQ(fromPlain.FontColor(), claWhite);
}

TEST(DrawTextParamTest, StoredWhenRules) {
  TDrawTextParam param;
  EXPECT_FALSE(param.IsFontNameStored());
  EXPECT_FALSE(param.IsFontSizeStored());
  EXPECT_FALSE(param.IsFontColorStored());
  EXPECT_FALSE(param.IsAutoSizeWidthAdjustStored());
  param.IsMustStoreFontColor = true;
  EXPECT_TRUE(param.IsFontColorStored());
  param.SetFontSize(12.0009);
  EXPECT_FALSE(param.IsFontSizeStored());
  param.SetFontSize(12.5);
  EXPECT_TRUE(param.IsFontSizeStored());
  param.SetAutoSizeHeightAdjust(0.01);
  EXPECT_TRUE(param.IsAutoSizeHeightAdjustStored());

  TDrawTextParamEffect effect;
  EXPECT_FALSE(effect.IsFontSizeStored());
  effect.SetFontSize(0.0005);
  EXPECT_FALSE(effect.IsFontSizeStored()) << "a size of 0 means no size";
  effect.SetFontSize(16);
  EXPECT_TRUE(effect.IsFontSizeStored());
}

// One node of a saved tree, flattened in stored order.
struct NodeRow {
  int Depth;
  QString Name;
  int Type;
  QString Caption;
  bool operator==(const NodeRow&) const = default;
};

void PrintTo(const NodeRow& ARow, std::ostream* AOut) {
  *AOut << ARow.Depth << ' ' << ARow.Name.toStdString() << " type " << ARow.Type << " \""
        << ARow.Caption.toStdString() << '"';
}

void Flatten(const TBTNode20* ANode, int ADepth, std::vector<NodeRow>& ARows) {
  for (const TBTNode20* child : ANode->ChildNodes()) {
    ARows.push_back({ADepth, child->NodeName(), child->NodeType(), child->NodeCaption()});
    Flatten(child, ADepth + 1, ARows);
  }
}

TEST(DrawTextParamDocTest, NodeLayoutOfTheTextPartsAndOfOneEffect) {
  TDrawTextParam param(QStringLiteral("DrawCaptionParam"), QString());
  param.SetFontSize(14);
  param.SetFontStyle({FS::fsBold});
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("P"));
  ASSERT_TRUE(param.SaveToDocNode(node));
  EXPECT_EQ(node->ClassName(), QStringLiteral("TDrawTextParam"));

  std::vector<NodeRow> rows;
  Flatten(node, 1, rows);
  std::vector<NodeRow> topLevel;
  for (const NodeRow& row : rows) {
    if (row.Depth == 1) topLevel.push_back(row);
  }
  const std::vector<NodeRow> expected = {
      {1, "Name", 4, "名称"},
      {1, "Caption", 4, "标题"},
      {1, "Alpha", 9, "透明度"},
      {1, "DrawRectSetting", 24, "绘制矩形设置"},
      {1, "DrawEffectSetting", 24, "绘制效果设置"},
      {1, "DrawFont", 24, "绘制字体"},
      {1, "IsDrawVert", 21, "是否垂直绘制"},
      {1, "IsWordWrap", 21, "是否换行"},
      {1, "FontTrimming", 7, "字体截断类型"},
      {1, "FontHorzAlign", 7, "水平对齐风格"},
      {1, "FontVertAlign", 7, "垂直对齐风格"},
  };
  EXPECT_EQ(topLevel, expected);

  TBTNode20* font = node->FindChildNodeByName(QStringLiteral("DrawFont"));
  ASSERT_NE(font, nullptr);
  std::vector<NodeRow> fontRows;
  Flatten(font, 2, fontRows);
  EXPECT_EQ(fontRows, (std::vector<NodeRow>{{2, "Font", 4, "字体"}, {2, "FontColor", 25, "字体颜色"}}));
  EXPECT_EQ(font->ReadChildWideString(QStringLiteral("Font")),
            u'"' + TFont::DefaultFamily() + QStringLiteral("\", 14, [Bold],"));

  TBTNode20* effects = node->FindChildNodeByName(QStringLiteral("DrawEffectSetting"));
  ASSERT_NE(effects, nullptr);
  TBTNode20* down = effects->FindChildNodeByName(QStringLiteral("MouseDownEffect"));
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->ConvertNode_Class()->ClassName(), QStringLiteral("TDrawTextParamEffect"));
  std::vector<NodeRow> effectRows;
  Flatten(down, 3, effectRows);
  const std::vector<NodeRow> expectedEffect = {
      {3, "Alpha", 9, "透明度"},       {3, "Offset", 14, "偏移"},         {3, "CommonEffectTypes", 4, "通用效果"},
      {3, "FontColor", 25, "字体颜色"}, {3, "FontSize", 14, "字体大小"},   {3, "FontStyle", 4, "字体风格"},
      {3, "EffectTypes", 4, "效果集"},
  };
  EXPECT_EQ(effectRows, expectedEffect);
}

void ConfigureEverythingPersisted(TDrawTextParam& AParam) {
  AParam.SetAlpha(200);
  TDrawRectSetting& rect = *AParam.DrawRectSetting();
  rect.SetSizeType(TDPSizeType::dpstPixel);
  rect.SetMargins(8, 0, 30, 0);
  rect.SetEnabled(true);
  AParam.SetFontName(QStringLiteral("微软雅黑"));
  AParam.SetFontSize(14.6);
  AParam.SetFontStyle({FS::fsItalic, FS::fsStrikeOut});
  AParam.SetFontColor(0xC0202020u);
  AParam.SetIsDrawVert(true);
  AParam.SetFontTrimming(TFontTrimmingType::fttCharacter);
  AParam.SetFontHorzAlign(TFontHorzAlign::fhaCenter);
  AParam.SetFontVertAlign(TFontVertAlign::fvaBottom);
  TDrawTextEffectSetting& effects = *AParam.DrawEffectSetting();
  effects.SetIsMixedMouseDownAndPushedEffect(true);
  int i = 0;
  for (TDrawTextParamEffect* e : {effects.MouseDownEffect(), effects.MouseOverEffect(), effects.PushedEffect()}) {
    ++i;
    e->SetAlpha(static_cast<std::uint8_t>(10 * i));
    e->SetOffset(0.5 * i);
    e->SetCommonEffectTypes({TDPCommonEffectType::dpcetOffsetChange});
    e->FontColor()->SetColor(0xFF000000u + static_cast<TAlphaColor>(i));
    e->SetFontSize(10.25 + i);
    e->SetFontStyle({static_cast<FS>(i)});
    e->SetEffectTypes({static_cast<ET>(i - 1)});
  }
}

void ExpectSamePersistedValues(const TDrawTextParam& A, const TDrawTextParam& B) {
  EXPECT_EQ(A.Alpha(), B.Alpha());
  EXPECT_EQ(A.CalcDrawRect(TRectF(0, 0, 464, 30)), B.CalcDrawRect(TRectF(0, 0, 464, 30)));
  EXPECT_EQ(A.DrawRectSetting()->SizeType(), B.DrawRectSetting()->SizeType());
  EXPECT_EQ(A.FontName(), B.FontName());
  EXPECT_EQ(A.DrawFont()->Size(), B.DrawFont()->Size());
  EXPECT_EQ(A.FontStyle(), B.FontStyle());
  EXPECT_EQ(A.FontColor(), B.FontColor());
  EXPECT_EQ(A.IsDrawVert(), B.IsDrawVert());
  EXPECT_EQ(A.IsWordWrap(), B.IsWordWrap());
  EXPECT_EQ(A.FontTrimming(), B.FontTrimming());
  EXPECT_EQ(A.FontHorzAlign(), B.FontHorzAlign());
  EXPECT_EQ(A.FontVertAlign(), B.FontVertAlign());
  const TDrawTextEffectSetting& ea = *A.DrawEffectSetting();
  const TDrawTextEffectSetting& eb = *B.DrawEffectSetting();
  EXPECT_EQ(ea.IsMixedMouseDownAndPushedEffect(), eb.IsMixedMouseDownAndPushedEffect());
  const std::pair<const TDrawTextParamEffect*, const TDrawTextParamEffect*> pairs[] = {
      {ea.MouseDownEffect(), eb.MouseDownEffect()},
      {ea.MouseOverEffect(), eb.MouseOverEffect()},
      {ea.PushedEffect(), eb.PushedEffect()},
  };
  for (const auto& [x, y] : pairs) {
    EXPECT_EQ(x->Alpha(), y->Alpha());
    EXPECT_EQ(x->Offset(), y->Offset());
    EXPECT_EQ(x->CommonEffectTypes(), y->CommonEffectTypes());
    EXPECT_EQ(x->FontColor()->Color(), y->FontColor()->Color());
    EXPECT_EQ(x->FontSize(), y->FontSize());
    EXPECT_EQ(x->FontStyle(), y->FontStyle());
    EXPECT_EQ(x->EffectTypes(), y->EffectTypes());
  }
}

TEST(DrawTextParamDocTest, SavedAndLoadedIntoAFreshObjectThroughTheStoredBytes) {
  TDrawTextParam original(QStringLiteral("DrawCaptionParam"), QStringLiteral("标题"));
  ConfigureEverythingPersisted(original);
  TBTDOC20 doc;
  original.SaveToDocNode(doc.TopNode()->AddChildNode_Class(QStringLiteral("Caption")));
  const QByteArray bytes = doc.Save();

  TBTDOC20 reread;
  reread.Load(bytes);
  TBTNode20* found = reread.FindNodeByName(QStringLiteral("Caption"));
  ASSERT_NE(found, nullptr);
  TDrawTextParam loaded(QStringLiteral("Other"), QString());
  EXPECT_TRUE(loaded.LoadFromDocNode(found->ConvertNode_Class()));
  ExpectSamePersistedValues(loaded, original);
  EXPECT_EQ(loaded.Name(), QStringLiteral("Other"));
}

TEST(DrawTextParamDocTest, LoadingIntoAThemeLinkedFontShowsTheStoredColour) {
  TDrawTextParam stored(QStringLiteral("P"), QStringLiteral("P"));
  stored.DrawFont()->FontColor()->SetColor(0xFFA0A0A0u);
  TBTDOC20 doc;
  stored.SaveToDocNode(doc.TopNode()->AddChildNode_Class(QStringLiteral("P")));

  TDrawTextParam linked(QStringLiteral("P"), QStringLiteral("P"));
  linked.DrawFont()->FontColor()->SetUseThemeColor(TUseThemeColorType::ctNavigationBarFontColor);
  ASSERT_TRUE(linked.LoadFromDocNode(doc.Nodes().GetItems(0)->ConvertNode_Class()));
  EXPECT_EQ(linked.DrawFont()->FontColor()->Color(), 0xFFA0A0A0u);
}

TEST(DrawTextParamDocTest, LoadingSkipsUnknownMistypedAndMissingNodes) {
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("P"), QString(), QStringLiteral("X"));
  node->AddChildNode_WideString(QStringLiteral("Unknown"), QString(), QStringLiteral("?"));
  node->AddChildNode_Int32(QStringLiteral("IsWordWrap"), QString(), 1);
  node->AddChildNode_Int32(QStringLiteral("FontHorzAlign"), QString(), 7);
  node->AddChildNode_Int32(QStringLiteral("FontVertAlign"), QString(), 2);
  node->AddChildNode_WideString(QStringLiteral("DrawFont"), QString(), QStringLiteral("\"X\", 1, [],"));
  TBTNode20_Class* effects = node->AddChildNode_Class(QStringLiteral("DrawEffectSetting"));
  TBTNode20_Class* over = effects->AddChildNode_Class(QStringLiteral("MouseOverEffect"));
  over->AddChildNode_Int32(QStringLiteral("FontSize"), QString(), 18);
  over->AddChildNode_WideString(QStringLiteral("FontStyle"), QString(), QStringLiteral("0, 3,9,x,"));
  over->AddChildNode_WideString(QStringLiteral("EffectTypes"), QString(), QStringLiteral("1,"));
  TBTNode20_Class* down = effects->AddChildNode_Class(QStringLiteral("MouseDownEffect"));
  down->AddChildNode_Real64(QStringLiteral("FontSize"), QString(), 9.5);
  down->AddChildNode_WideString(QStringLiteral("FontSize"), QString(), QStringLiteral("40"));

  TDrawTextParam param;
  param.SetIsWordWrap(true);
  param.SetFontHorzAlign(TFontHorzAlign::fhaRight);
  param.SetFontSize(22);
  EXPECT_TRUE(param.LoadFromDocNode(node));

  EXPECT_FALSE(param.IsWordWrap()) << "an Int32 node where a Bool32 belongs is ignored";
  EXPECT_EQ(param.FontHorzAlign(), TFontHorzAlign::fhaLeft) << "an ordinal that names no value is ignored";
  EXPECT_EQ(param.FontVertAlign(), TFontVertAlign::fvaBottom);
  EXPECT_EQ(param.FontSize(), 22) << "without a font node the face stays";
  const TDrawTextEffectSetting& loaded = *param.DrawEffectSetting();
  EXPECT_EQ(loaded.MouseOverEffect()->FontSize(), 18) << "a whole-number size is accepted";
  EXPECT_EQ(loaded.MouseOverEffect()->FontStyle(), (TFontStyles{FS::fsBold, FS::fsStrikeOut}));
  EXPECT_EQ(loaded.MouseOverEffect()->EffectTypes(), TDTPEffectTypes{ET::dtpetFontSizeChange});
  EXPECT_EQ(loaded.MouseDownEffect()->FontSize(), 9.5);

  param.SetStaticEffectStates({DPS::dpstMouseOver});
  EXPECT_EQ(param.CurrentEffectFontSize(), 18);
  EXPECT_FALSE(param.LoadFromDocNode(nullptr));
}

// Stands for a material: a component that owns one published text parameter.
class TTestTextHolder : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TDrawTextParam* DrawCaptionParam READ DrawCaptionParam)

 public:
  explicit TTestTextHolder(TComponent* AOwner = nullptr)
      : TComponent(AOwner), FParam(std::make_unique<TDrawTextParam>(QStringLiteral("DrawCaptionParam"), QString())) {}

  TDrawTextParam* DrawCaptionParam() const { return FParam.get(); }

 private:
  std::unique_ptr<TDrawTextParam> FParam;
};

TEST(DrawTextParamFormTest, ConfiguredParameterSurvivesWriteAndRead) {
  ostrel::host::RegisterClass<TTestTextHolder>();
  const TTestTextHolder fresh;
  EXPECT_EQ(ostrel::host::WriteComponent(fresh), QStringLiteral("object TTestTextHolder\nend\n"));

  TTestTextHolder holder;
  TDrawTextParam& param = *holder.DrawCaptionParam();
  param.SetFontSize(20);
  param.SetFontStyle({FS::fsBold});
  param.SetFontColor(claWhite);
  param.SetFontHorzAlign(TFontHorzAlign::fhaCenter);
  param.SetFontVertAlign(TFontVertAlign::fvaCenter);
  param.SetIsDrawVert(true);
  param.SetAutoSizeWidthAdjust(6);
  TDrawTextParamEffect& down = *param.DrawEffectSetting()->MouseDownEffect();
  down.FontColor()->SetColor(0xCEFFFFFFu);
  down.SetEffectTypes({ET::dtpetFontColorChange});

  const QString text = ostrel::host::WriteComponent(holder);
  for (const char* line : {
           "DrawCaptionParam.FontStyle = [fsBold]",
           "DrawCaptionParam.FontSize = 20",
           "DrawCaptionParam.FontColor = claWhite",
           "DrawCaptionParam.IsDrawVert = True",
           "DrawCaptionParam.FontHorzAlign = fhaCenter",
           "DrawCaptionParam.DrawEffectSetting.MouseDownEffect.EffectTypes = [dtpetFontColorChange]",
           "DrawCaptionParam.AutoSizeWidthAdjust = 6",
       }) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
  }
  EXPECT_FALSE(text.contains(QStringLiteral("FontName"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("FontTrimming")));

  const std::unique_ptr<TComponent> read = ostrel::host::ReadComponent(text);
  auto* copy = qobject_cast<TTestTextHolder*>(read.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(ostrel::host::WriteComponent(*copy), text);
  TDrawTextParam& back = *copy->DrawCaptionParam();
  EXPECT_EQ(back.FontSize(), 20);
  EXPECT_EQ(back.FontColor(), claWhite);
  EXPECT_TRUE(back.IsWordWrap());
  back.SetStaticEffectStates({DPS::dpstMouseDown});
  EXPECT_EQ(back.CurrentEffectFontColor()->Color(), 0xCEFFFFFFu);
}

TEST(DrawTextParamTest, GlobalParameterIsOneNamedObject) {
  TDrawTextParam& global = ostrel::skin::GlobalDrawTextParam();
  EXPECT_EQ(&global, &ostrel::skin::GlobalDrawTextParam());
  EXPECT_EQ(global.Name(), QStringLiteral("GlobalDrawTextParam"));
  EXPECT_EQ(global.Caption(), QStringLiteral("全局文本绘制参数"));
}

TEST(DrawTextParamSettingTest, ChangeSwitchesAddAndRemoveEffectTypes) {
  TDrawTextParam param;
  TDrawTextParamSetting facade(&param);
  facade.SetMouseOverFontSize(16);
  facade.SetMouseOverFontSizeChange(true);
  facade.SetPushedFontColor(claWhite);
  facade.SetPushedFontColorChange(true);
  facade.SetPushedFontStyleChange(true);
  facade.SetPushedFontStyleChange(false);
  const TDrawTextEffectSetting& effects = *param.DrawEffectSetting();
  EXPECT_EQ(effects.MouseOverEffect()->FontSize(), 16);
  EXPECT_EQ(effects.MouseOverEffect()->EffectTypes(), TDTPEffectTypes{ET::dtpetFontSizeChange});
  EXPECT_EQ(effects.PushedEffect()->EffectTypes(), TDTPEffectTypes{ET::dtpetFontColorChange});
  EXPECT_TRUE(facade.IsPushedFontColorStored());
  EXPECT_FALSE(facade.IsMouseDownFontColorStored());
}

}  // namespace

#include "uDrawTextParam_test.moc"
