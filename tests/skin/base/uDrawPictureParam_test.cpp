#include "skin/base/uDrawPictureParam.h"

#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <functional>
#include <limits>
#include <vector>

namespace {

using DPS = TDPEffectState;
using ET = TDPPEffectType;

void ExpectMargins(const TBorderMargins& AMargins, int ALeft, int ATop, int ARight, int ABottom) {
  EXPECT_EQ(AMargins.Left(), ALeft);
  EXPECT_EQ(AMargins.Top(), ATop);
  EXPECT_EQ(AMargins.Right(), ARight);
  EXPECT_EQ(AMargins.Bottom(), ABottom);
}

void ExpectClearedPlacement(const TDrawPictureParam& AParam) {
  EXPECT_EQ(AParam.Scale(), 1.0);
  EXPECT_EQ(AParam.RotateAngle(), 0);
  EXPECT_FALSE(AParam.IsStretch());
  EXPECT_FALSE(AParam.IsAutoFit());
  EXPECT_EQ(AParam.StretchStyle(), TPictureStretchStyle::issTensile);
  ExpectMargins(*AParam.StretchMargins(), 8, 8, 8, 8);
  ExpectMargins(*AParam.DestDrawStretchMargins(), 8, 8, 8, 8);
  EXPECT_EQ(AParam.PictureHorzAlign(), TPictureHorzAlign::phaLeft);
  EXPECT_EQ(AParam.PictureVertAlign(), TPictureVertAlign::pvaTop);
  EXPECT_EQ(AParam.Alpha(), 255);
  EXPECT_FALSE(AParam.DrawRectSetting()->Enabled());
}

TEST(DrawPictureParamTest, NewParameterDrawsAtNaturalSizeTopLeftUnscaledUnrotated) {
  const TDrawPictureParam param(QStringLiteral("DrawPictureParam"), QStringLiteral("图片绘制参数"));
  ExpectClearedPlacement(param);
  EXPECT_EQ(param.PictureTooSmallProcessType(), TPictureTooSmallProcessType::itsptNone);
  EXPECT_EQ(param.PictureTooLargeProcessType(), TPictureTooLargeProcessType::itlptNone);
  EXPECT_EQ(param.CurrentEffectImageIndex(2), -1);
  EXPECT_TRUE(param.CurrentEffectImageName().isEmpty());
  EXPECT_EQ(param.CurrentEffectRotateAngle(), 0);
  EXPECT_EQ(param.GetDrawParamSettingClass(), &TDrawPictureParamSetting::staticMetaObject);

  const TDrawPictureParamEffect& effect = *param.DrawEffectSetting()->PushedEffect();
  EXPECT_EQ(effect.ImageIndex(), -1);
  EXPECT_EQ(effect.RotateAngle(), 90);
  EXPECT_TRUE(effect.ImageName().isEmpty());
  EXPECT_FALSE(effect.HasEffectTypes());
}

TEST(DrawPictureParamTest, ClearRestoresPlacementButKeepsTheProcessTypes) {
  TDrawPictureParam param;
  param.SetScale(2);
  param.SetRotateAngle(45);
  param.SetIsStretch(true);
  param.SetIsAutoFit(true);
  param.SetStretchStyle(TPictureStretchStyle::issThreePartHorz);
  param.StretchMargins()->SetBounds(1, 2, 3, 4);
  param.DestDrawStretchMargins()->SetLeft(0);
  param.SetPictureHorzAlign(TPictureHorzAlign::phaRight);
  param.SetPictureVertAlign(TPictureVertAlign::pvaCenter);
  param.SetPictureTooSmallProcessType(TPictureTooSmallProcessType::itsptPart);
  param.SetPictureTooLargeProcessType(TPictureTooLargeProcessType::itlptNormal);
  param.SetAlpha(5);
  param.DrawRectSetting()->SetEnabled(true);
  int notifications = 0;
  param.SetOnChange([&](TObject*) { ++notifications; });

  param.Clear();

  ExpectClearedPlacement(param);
  EXPECT_EQ(param.PictureTooSmallProcessType(), TPictureTooSmallProcessType::itsptPart);
  EXPECT_EQ(param.PictureTooLargeProcessType(), TPictureTooLargeProcessType::itlptNormal);
  // Alpha, scale, angle, stretch, fit, two margins, style and two alignments changed.
  EXPECT_EQ(notifications, 10) << "each changed value notifies once, each margin object once";
}

// A picture parameter rotated by 10 degrees whose pushed effect the cases configure.
class PictureEffectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Param.SetRotateAngle(10);
    Effect.SetImageIndex(4);
    Effect.SetImageName(QStringLiteral("close_hover"));
  }

  TDrawPictureParam Param{QStringLiteral("DrawIconParam"), QString()};
  TDrawPictureParamEffect& Effect = *Param.DrawEffectSetting()->PushedEffect();
};

TEST_F(PictureEffectFixture, ResolvedValuesFollowTheEffectTypes) {
  struct Case {
    const char* Name;
    TDPPEffectTypes Types;
    TDPEffectStates States;
    std::int32_t OwnIndex;
    std::int32_t Index;
    QString ImageName;
    double Angle;
  };
  const TDPEffectStates pushed{DPS::dpstPushed};
  const Case cases[] = {
      {"no state", {ET::dppetImageIndexChange, ET::dppetImageNameChange, ET::dppetRotateAngleChange}, {}, 2, -1, "", 10},
      {"index replaced", {ET::dppetImageIndexChange}, pushed, 2, 4, "", 10},
      {"next index", {ET::dppetImageIndexInc1}, pushed, 2, 3, "", 10},
      {"next index wins over a given index", {ET::dppetImageIndexChange, ET::dppetImageIndexInc1}, pushed, 2, 3, "",
       10},
      {"the last index has no next one", {ET::dppetImageIndexInc1}, pushed, std::numeric_limits<std::int32_t>::max(),
       -1, "", 10},
      {"name only: no index, the set name", {ET::dppetImageNameChange}, pushed, 2, -1, "close_hover", 10},
      {"rotation adds the effect's angle", {ET::dppetRotateAngleChange}, pushed, 2, -1, "", 100},
      {"common types only replace nothing", {}, pushed, 2, -1, "", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Effect.SetEffectTypes(c.Types);
    Effect.SetCommonEffectTypes({TDPCommonEffectType::dpcetAlphaChange});
    Param.SetStaticEffectStates(c.States);
    EXPECT_EQ(Param.CurrentEffectImageIndex(c.OwnIndex), c.Index);
    EXPECT_EQ(Param.CurrentEffectImageName(), c.ImageName);
    EXPECT_EQ(Param.CurrentEffectRotateAngle(), c.Angle);
  }
}

TEST(DrawPictureParamTest, NotificationCounts) {
  TDrawPictureParam param;
  int notifications = 0;
  param.SetOnChange([&](TObject*) { ++notifications; });
  TDrawPictureParamEffect& pushed = *param.DrawEffectSetting()->PushedEffect();
  TBorderMargins margins;
  margins.SetBounds(1, 2, 3, 4);

  struct Step {
    const char* Name;
    std::function<void()> Change;
    int Expected;
  };
  const Step steps[] = {
      {"equal values", [&] {
         param.SetScale(1);
         param.SetRotateAngle(0);
         param.SetIsStretch(false);
         param.SetStretchStyle(TPictureStretchStyle::issTensile);
         param.SetPictureTooLargeProcessType(TPictureTooLargeProcessType::itlptNone);
         param.StretchMargins()->SetBounds(8, 8, 8, 8);
       }, 0},
      {"each setter", [&] {
         param.SetScale(1.5);
         param.SetRotateAngle(90);
         param.SetIsStretch(true);
         param.SetIsAutoFit(true);
         param.SetStretchStyle(TPictureStretchStyle::issSquare);
         param.SetPictureHorzAlign(TPictureHorzAlign::phaCenter);
         param.SetPictureVertAlign(TPictureVertAlign::pvaBottom);
         param.SetPictureTooSmallProcessType(TPictureTooSmallProcessType::itsptTensile);
       }, 8},
      {"the too-large type notifies although drawing ignores it",
       [&] { param.SetPictureTooLargeProcessType(TPictureTooLargeProcessType::itlptPart); }, 1},
      {"margins set one by one and copied in", [&] {
         param.StretchMargins()->SetTop(0);
         param.SetDestDrawStretchMargins(&margins);
       }, 2},
      {"static setters", [&] {
         param.SetStaticScale(3);
         param.SetStaticRotateAngle(7);
         param.SetStaticPictureHorzAlign(TPictureHorzAlign::phaRight);
       }, 0},
      {"picture effect values write their fields silently", [&] {
         pushed.SetImageIndex(3);
         pushed.SetImageName(QStringLiteral("x"));
         pushed.SetRotateAngle(45);
         pushed.SetEffectTypes({ET::dppetImageIndexChange});
       }, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.Name);
    notifications = 0;
    step.Change();
    EXPECT_EQ(notifications, step.Expected);
  }
  EXPECT_EQ(param.Scale(), 3);
  EXPECT_EQ(pushed.RotateAngle(), 45);
}

TEST(DrawPictureParamTest, CopySemantics) {
  TDrawPictureParam source(QStringLiteral("Src"), QStringLiteral("源"));
  source.SetScale(0.5);
  source.SetRotateAngle(30);
  source.SetPictureTooSmallProcessType(TPictureTooSmallProcessType::itsptPart);
  source.SetPictureTooLargeProcessType(TPictureTooLargeProcessType::itlptNormal);
  source.SetIsAutoFit(true);
  source.SetIsStretch(true);
  source.SetStretchStyle(TPictureStretchStyle::issThreePartVertPro);
  source.StretchMargins()->SetBounds(1, 2, 3, 4);
  source.DestDrawStretchMargins()->SetBounds(5, 6, 7, 9);
  source.SetPictureVertAlign(TPictureVertAlign::pvaCenter);
  source.SetPictureHorzAlign(TPictureHorzAlign::phaRight);
  source.SetAlpha(99);
  source.SetStaticEffectStates({DPS::dpstMouseOver});
  TDrawPictureParamEffect& over = *source.DrawEffectSetting()->MouseOverEffect();
  over.SetImageIndex(7);
  over.SetImageName(QStringLiteral("hover"));
  over.SetRotateAngle(180);
  over.SetEffectTypes({ET::dppetImageNameChange});
  over.SetAlpha(12);

  TDrawPictureParam dest(QStringLiteral("Dest"), QStringLiteral("目标"));
  int notifications = 0;
  dest.SetOnChange([&](TObject*) { ++notifications; });
  dest.Assign(&source);

  EXPECT_EQ(dest.Scale(), 0.5);
  EXPECT_EQ(dest.RotateAngle(), 30);
  EXPECT_EQ(dest.PictureTooSmallProcessType(), TPictureTooSmallProcessType::itsptPart);
  EXPECT_EQ(dest.PictureTooLargeProcessType(), TPictureTooLargeProcessType::itlptNormal);
  EXPECT_TRUE(dest.IsAutoFit());
  EXPECT_TRUE(dest.IsStretch());
  EXPECT_EQ(dest.StretchStyle(), TPictureStretchStyle::issThreePartVertPro);
  ExpectMargins(*dest.StretchMargins(), 1, 2, 3, 4);
  ExpectMargins(*dest.DestDrawStretchMargins(), 5, 6, 7, 9);
  EXPECT_EQ(dest.PictureVertAlign(), TPictureVertAlign::pvaCenter);
  EXPECT_EQ(dest.PictureHorzAlign(), TPictureHorzAlign::phaRight);
  EXPECT_EQ(dest.Alpha(), 99);
  const TDrawPictureParamEffect& copied = *dest.DrawEffectSetting()->MouseOverEffect();
  EXPECT_EQ(copied.ImageIndex(), 7);
  EXPECT_EQ(copied.ImageName(), QStringLiteral("hover"));
  EXPECT_EQ(copied.RotateAngle(), 180);
  EXPECT_EQ(copied.EffectTypes(), TDPPEffectTypes{ET::dppetImageNameChange});
  EXPECT_EQ(copied.Alpha(), 12);
  EXPECT_EQ(dest.Name(), QStringLiteral("Dest"));
  EXPECT_TRUE(dest.StaticEffectStates().IsEmpty());
  EXPECT_GE(notifications, 1);

  TDrawParam plain(QStringLiteral("Plain"), QString());
  plain.SetAlpha(3);
  TDrawPictureParam fromPlain;
  fromPlain.Assign(&plain);
  EXPECT_EQ(fromPlain.Alpha(), 3);
  EXPECT_FALSE(fromPlain.IsStretch());
}

TEST(DrawPictureParamTest, StoredWhenRules) {
  TDrawPictureParam param;
  const QMetaObject* meta = param.metaObject();
  for (const char* name : {"Alpha", "IsAutoFit", "IsStretch", "StretchStyle", "StretchMargins",
                           "DestDrawStretchMargins", "PictureHorzAlign", "PictureVertAlign", "DrawRectSetting",
                           "DrawEffectSetting"}) {
    SCOPED_TRACE(name);
    EXPECT_GE(meta->indexOfProperty(name), 0);
  }
  EXPECT_LT(meta->indexOfProperty("Scale"), 0) << "scale and rotation are set by code, not by forms";
  EXPECT_FALSE(param.IsAlphaStored());
  EXPECT_FALSE(param.IsIsStretchStored());
  EXPECT_FALSE(param.IsStretchStyleStored());
  param.SetAlpha(254);
  param.SetIsStretch(true);
  param.SetPictureVertAlign(TPictureVertAlign::pvaCenter);
  EXPECT_TRUE(param.IsAlphaStored());
  EXPECT_TRUE(param.IsIsStretchStored());
  EXPECT_TRUE(param.IsPictureVertAlignStored());
  EXPECT_FALSE(param.IsPictureHorzAlignStored());

  TDrawPictureParamEffect effect;
  EXPECT_FALSE(effect.IsRotateAngleStored());
  EXPECT_FALSE(effect.IsImageIndexStored());
  effect.SetImageIndex(0);
  effect.SetImageName(QStringLiteral("a"));
  EXPECT_TRUE(effect.IsImageIndexStored());
  EXPECT_TRUE(effect.IsImageNameStored());
}

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

std::vector<NodeRow> ChildRows(const TBTNode20* ANode, int ADepth) {
  std::vector<NodeRow> rows;
  for (const TBTNode20* child : ANode->ChildNodes()) {
    rows.push_back({ADepth, child->NodeName(), child->NodeType(), child->NodeCaption()});
  }
  return rows;
}

TEST(DrawPictureParamDocTest, NodeLayoutOfThePictureParts) {
  TDrawPictureParam param(QStringLiteral("DrawIconParam"), QString());
  param.StretchMargins()->SetBounds(1, 2, 3, 4);
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("P"));
  ASSERT_TRUE(param.SaveToDocNode(node));
  EXPECT_EQ(node->ClassName(), QStringLiteral("TDrawPictureParam"));

  const std::vector<NodeRow> expected = {
      {1, "Name", 4, "名称"},
      {1, "Caption", 4, "标题"},
      {1, "Alpha", 9, "透明度"},
      {1, "DrawRectSetting", 24, "绘制矩形设置"},
      {1, "DrawEffectSetting", 24, "绘制效果设置"},
      {1, "IsAutoFit", 21, "是否自适应"},
      {1, "IsStretch", 21, "是否拉伸"},
      {1, "StretchStyle", 7, "拉伸风格"},
      {1, "StretchMargins", 4, "图片拉伸边距"},
      {1, "DestDrawStretchMargins", 4, "目标绘制拉伸边距"},
      {1, "PictureHorzAlign", 7, "水平对齐风格"},
      {1, "PictureVertAlign", 7, "垂直对齐风格"},
  };
  EXPECT_EQ(ChildRows(node, 1), expected);
  EXPECT_EQ(node->ReadChildWideString(QStringLiteral("StretchMargins")), QStringLiteral("1,2,3,4"));
  EXPECT_EQ(node->ReadChildWideString(QStringLiteral("DestDrawStretchMargins")), QStringLiteral("8,8,8,8"));

  const TBTNode20* effects = node->FindChildNodeByName(QStringLiteral("DrawEffectSetting"));
  ASSERT_NE(effects, nullptr);
  const TBTNode20* over = effects->FindChildNodeByName(QStringLiteral("MouseOverEffect"));
  ASSERT_NE(over, nullptr);
  EXPECT_EQ(over->ConvertNode_Class()->ClassName(), QStringLiteral("TDrawPictureParamEffect"));
  const std::vector<NodeRow> expectedEffect = {
      {2, "Alpha", 9, "透明度"},        {2, "Offset", 14, "偏移"},          {2, "CommonEffectTypes", 4, "通用效果"},
      {2, "RotateAngle", 7, "旋转角度"}, {2, "ImageIndex", 7, "图片下标"},   {2, "ImageName", 4, "图片名称"},
      {2, "EffectTypes", 4, "效果集"},
  };
  EXPECT_EQ(ChildRows(over, 2), expectedEffect);
}

TEST(DrawPictureParamDocTest, SavedAndLoadedIntoAFreshObjectThroughTheStoredBytes) {
  TDrawPictureParam original(QStringLiteral("ForeGndDrawPictureParam"), QStringLiteral("前景"));
  original.SetAlpha(77);
  original.DrawRectSetting()->SetMargins(25, 25, 25, 25);
  original.DrawRectSetting()->SetEnabled(true);
  original.SetIsAutoFit(true);
  original.SetIsStretch(true);
  original.SetStretchStyle(TPictureStretchStyle::issAutoFitFillMax);
  original.StretchMargins()->SetBounds(0, 1, 2147483647, 3);
  original.DestDrawStretchMargins()->SetBounds(4, 5, 6, 7);
  original.SetPictureHorzAlign(TPictureHorzAlign::phaCenter);
  original.SetPictureVertAlign(TPictureVertAlign::pvaBottom);
  TDrawPictureEffectSetting& effects = *original.DrawEffectSetting();
  effects.SetIsMixedMouseDownAndPushedEffect(true);
  int i = 0;
  for (TDrawPictureParamEffect* e : {effects.MouseDownEffect(), effects.MouseOverEffect(), effects.PushedEffect()}) {
    ++i;
    e->SetAlpha(static_cast<std::uint8_t>(i));
    e->SetOffset(0.25 * i);
    e->SetCommonEffectTypes({TDPCommonEffectType::dpcetOffsetChange, TDPCommonEffectType::dpcetAlphaChange});
    e->SetRotateAngle(-45 * i);
    e->SetImageIndex(i);
    e->SetImageName(QStringLiteral("图片%1").arg(i));
    e->SetEffectTypes({static_cast<ET>(i), ET::dppetImageIndexChange});
  }

  TBTDOC20 doc;
  original.SaveToDocNode(doc.TopNode()->AddChildNode_Class(QStringLiteral("Fore")));
  TBTDOC20 reread;
  reread.Load(doc.Save());
  TBTNode20* found = reread.FindNodeByName(QStringLiteral("Fore"));
  ASSERT_NE(found, nullptr);
  TDrawPictureParam loaded;
  EXPECT_TRUE(loaded.LoadFromDocNode(found->ConvertNode_Class()));

  EXPECT_EQ(loaded.Alpha(), 77);
  EXPECT_EQ(loaded.CalcDrawRect(TRectF(0, 0, 33, 33)), TRectF(QPointF(8.25, 8.25), QPointF(24.75, 24.75)));
  EXPECT_TRUE(loaded.IsAutoFit());
  EXPECT_TRUE(loaded.IsStretch());
  EXPECT_EQ(loaded.StretchStyle(), TPictureStretchStyle::issAutoFitFillMax);
  ExpectMargins(*loaded.StretchMargins(), 0, 1, 2147483647, 3);
  ExpectMargins(*loaded.DestDrawStretchMargins(), 4, 5, 6, 7);
  EXPECT_EQ(loaded.PictureHorzAlign(), TPictureHorzAlign::phaCenter);
  EXPECT_EQ(loaded.PictureVertAlign(), TPictureVertAlign::pvaBottom);
  const TDrawPictureEffectSetting& back = *loaded.DrawEffectSetting();
  EXPECT_TRUE(back.IsMixedMouseDownAndPushedEffect());
  const std::pair<const TDrawPictureParamEffect*, const TDrawPictureParamEffect*> pairs[] = {
      {back.MouseDownEffect(), effects.MouseDownEffect()},
      {back.MouseOverEffect(), effects.MouseOverEffect()},
      {back.PushedEffect(), effects.PushedEffect()},
  };
  for (const auto& [x, y] : pairs) {
    EXPECT_EQ(x->Alpha(), y->Alpha());
    EXPECT_EQ(x->Offset(), y->Offset());
    EXPECT_EQ(x->CommonEffectTypes(), y->CommonEffectTypes());
    EXPECT_EQ(x->RotateAngle(), y->RotateAngle());
    EXPECT_EQ(x->ImageIndex(), y->ImageIndex());
    EXPECT_EQ(x->ImageName(), y->ImageName());
    EXPECT_EQ(x->EffectTypes(), y->EffectTypes());
  }
}

TEST(DrawPictureParamDocTest, LoadingSkipsUnknownMistypedMissingAndDamagedNodes) {
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("P"), QString(), QStringLiteral("X"));
  node->AddChildNode_Real64(QStringLiteral("Unknown"), QString(), 1);
  node->AddChildNode_WideString(QStringLiteral("StretchMargins"), QString(), QStringLiteral("1,x,3,4"));
  node->AddChildNode_WideString(QStringLiteral("DestDrawStretchMargins"), QString(), QStringLiteral("1,2,3"));
  node->AddChildNode_Int32(QStringLiteral("StretchStyle"), QString(), 8);
  node->AddChildNode_Int32(QStringLiteral("PictureHorzAlign"), QString(), 2);
  node->AddChildNode_Int32(QStringLiteral("IsStretch"), QString(), 1);
  TBTNode20_Class* effects = node->AddChildNode_Class(QStringLiteral("DrawEffectSetting"));
  TBTNode20_Class* down = effects->AddChildNode_Class(QStringLiteral("MouseDownEffect"));
  down->AddChildNode_Real64(QStringLiteral("ImageIndex"), QString(), 3);
  down->AddChildNode_Int32(QStringLiteral("RotateAngle"), QString(), 270);
  down->AddChildNode_WideString(QStringLiteral("EffectTypes"), QString(), QStringLiteral("3,4,"));

  TDrawPictureParam param;
  param.StretchMargins()->SetBounds(9, 9, 9, 9);
  param.SetIsStretch(true);
  param.SetScale(2);
  EXPECT_TRUE(param.LoadFromDocNode(node));

  ExpectMargins(*param.StretchMargins(), 8, 8, 8, 8);
  ExpectMargins(*param.DestDrawStretchMargins(), 8, 8, 8, 8);
  EXPECT_EQ(param.StretchStyle(), TPictureStretchStyle::issTensile);
  EXPECT_EQ(param.PictureHorzAlign(), TPictureHorzAlign::phaRight);
  EXPECT_FALSE(param.IsStretch());
  EXPECT_EQ(param.Scale(), 1) << "loading clears first";
  const TDrawPictureParamEffect& loaded = *param.DrawEffectSetting()->MouseDownEffect();
  EXPECT_EQ(loaded.ImageIndex(), -1);
  EXPECT_EQ(loaded.RotateAngle(), 270);
  EXPECT_EQ(loaded.EffectTypes(), TDPPEffectTypes{ET::dppetRotateAngleChange});
}

TEST(DrawPictureParamSettingTest, ChangeSwitchesAddAndRemoveEffectTypes) {
  TDrawPictureParam param;
  TDrawPictureParamSetting facade(&param);
  facade.SetMouseOverImageIndex(3);
  facade.SetMouseOverImageIndexChange(true);
  facade.SetPushedRotateAngle(45);
  facade.SetPushedRotateAngleChange(true);
  facade.SetMouseOverRotateAngleChange(true);
  facade.SetMouseOverRotateAngleChange(false);
  const TDrawPictureEffectSetting& effects = *param.DrawEffectSetting();
  EXPECT_EQ(effects.MouseOverEffect()->ImageIndex(), 3);
  EXPECT_EQ(effects.MouseOverEffect()->EffectTypes(), TDPPEffectTypes{ET::dppetImageIndexChange});
  EXPECT_EQ(effects.PushedEffect()->EffectTypes(), TDPPEffectTypes{ET::dppetRotateAngleChange});
  param.SetStaticEffectStates({DPS::dpstPushed});
  EXPECT_EQ(param.CurrentEffectRotateAngle(), 45);
}

}  // namespace
