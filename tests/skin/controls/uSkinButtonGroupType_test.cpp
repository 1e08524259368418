// The button group: its layout and material choice as tables, then the
// control: joining and leaving, ButtonIndex, the radio set and its repaints,
// automatic size, stored forms and the group material's document nodes.

#include "skin/controls/uSkinButtonGroupType.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/support/Edges.h"
#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <span>
#include <string>

namespace {

using namespace ostrel::skin;
using test_support::Edges;
using test_support::ExpectEdges;
using M = TGroupButtonMaterial;

TEST(GroupButtonMaterialChoice, FirstAndLastOnlyWhereTheGroupUsesThem) {
  const struct Row {
    std::int32_t Index;
    std::int32_t Count;
    bool UseFirst;
    bool UseLast;
    M Expected;
  } rows[] = {
      {0, 3, true, true, M::First},    {1, 3, true, true, M::Middle}, {2, 3, true, true, M::Last},
      {0, 3, false, true, M::Middle},  {2, 3, true, false, M::Middle},
      {0, 1, true, true, M::First},    // the only member is the first one
      {0, 1, false, true, M::Middle},  // ... and never the last one
      {-1, 3, true, true, M::Middle},  // a button the list does not hold
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ChooseGroupButtonMaterial(row.Index, row.Count, row.UseFirst, row.UseLast), row.Expected)
        << "index " << row.Index << " of " << row.Count << ", first " << row.UseFirst << ", last " << row.UseLast;
  }
}

TEST(GroupButtonLayout, MembersFollowOneAnotherAlongTheOrientation) {
  using O = TButtonGroupOrientation;
  using C = TButtonSizeCalcType;
  const struct Row {
    const char* Name;
    TButtonGroupLayout Layout;
    int Position;
    int Shown;
    Edges Expected;
    double Content;
  } rows[] = {
      {"fixed row", {O::boHorz, C::bsctFixed, 80, 296, 44}, 2, 3, {160, 0, 240, 44}, 240},
      {"fixed column", {O::boVert, C::bsctFixed, 30, 100, 200}, 1, 3, {0, 30, 100, 60}, 90},
      {"shared row", {O::boHorz, C::bsctSeparate, 80, 300, 44}, 1, 4, {75, 0, 150, 44}, 300},
      {"shared column", {O::boVert, C::bsctSeparate, 80, 50, 90}, 2, 3, {0, 60, 50, 90}, 90},
      {"nothing shown", {O::boHorz, C::bsctSeparate, 80, 300, 44}, 0, 0, {0, 0, 0, 44}, 0},
      {"negative size", {O::boHorz, C::bsctFixed, -5, 300, 44}, 1, 2, {0, 0, 0, 44}, 0},
  };
  for (const Row& row : rows) {
    ExpectEdges(GroupButtonRect(row.Layout, row.Position, row.Shown), row.Expected, row.Name);
    EXPECT_DOUBLE_EQ(GroupContentLength(row.Layout, row.Shown), row.Content) << row.Name;
  }
}

using TCountingButton = controls_test::Counting<TSkinFMXButton>;

class ButtonGroupTest : public controls_test::ControlTest {
 protected:
  TSkinFMXButtonGroup* NewGroup() { return new TSkinFMXButtonGroup(&FOwner); }
  TCountingButton* Join(TSkinFMXButtonGroup* AGroup) {
    auto* button = new TCountingButton(&FOwner);
    button->Prop()->SetButtonGroup(AGroup);
    return button;
  }
  static std::string Order(TSkinFMXButtonGroup* AGroup) {
    std::string order;
    for (int i = 0; i < AGroup->Prop()->ButtonCount(); ++i) order += AGroup->Prop()->GetButton(i)->Name().toStdString();
    return order;
  }
};

TEST_F(ButtonGroupTest, MembersJoinLeaveAndMoveInTheGroupsOrder) {
  TSkinFMXButtonGroup* group = NewGroup();
  EXPECT_EQ(group->Width(), 296);
  EXPECT_EQ(group->Height(), 44);
  EXPECT_EQ(group->Prop()->GetComponentClassify(), QStringLiteral("SkinButtonGroup"));
  EXPECT_NE(dynamic_cast<TSkinButtonGroupDefaultType*>(group->SkinControlType()), nullptr);
  EXPECT_NE(group->CurrentUseMaterialToDefault(), nullptr);
  group->Prop()->SetButtonSize(80);

  TCountingButton* a = Join(group);
  TCountingButton* b = Join(group);
  TCountingButton* c = Join(group);
  a->SetName(QStringLiteral("a"));
  b->SetName(QStringLiteral("b"));
  c->SetName(QStringLiteral("c"));
  EXPECT_EQ(Order(group), "abc");
  EXPECT_EQ(c->Parent(), group) << "a member is the group's child";
  EXPECT_EQ(c->Prop()->ButtonIndex(), 2);
  ExpectEdges(c->BoundsRect(), {160, 0, 240, 44}, "the third of a row of 80");

  c->Prop()->SetButtonIndex(0);
  EXPECT_EQ(Order(group), "cab");
  ExpectEdges(c->BoundsRect(), {0, 0, 80, 44}, "moved to the front");
  c->Prop()->SetButtonIndex(3);
  EXPECT_EQ(Order(group), "cab") << "a place beyond the last one is ignored";
  c->Prop()->SetButtonIndex(-1);
  EXPECT_EQ(Order(group), "cab");

  b->SetVisible(false);
  group->ButtonsVisibleChanged();
  ExpectEdges(a->BoundsRect(), {80, 0, 160, 44}, "a hidden member leaves no gap");
  b->SetVisible(true);

  a->Prop()->SetButtonGroup(nullptr);
  EXPECT_EQ(Order(group), "cb");
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(a->Prop()->ButtonIndex(), -1);
  ExpectEdges(b->BoundsRect(), {80, 0, 160, 44}, "the group closes the gap a member leaves");

  TControl other(&FOwner);
  a->Prop()->SetButtonGroup(&other);
  EXPECT_EQ(a->Prop()->ButtonGroup(), &other) << "any control is stored";
  EXPECT_EQ(a->Prop()->ButtonIndex(), -1);

  std::unique_ptr<TCountingButton>{c}.reset();
  EXPECT_EQ(Order(group), "b") << "a freed member leaves its group";
  ExpectEdges(b->BoundsRect(), {0, 0, 80, 44}, "");

  std::unique_ptr<TSkinFMXButtonGroup>{group}.reset();
  EXPECT_EQ(b->Prop()->ButtonGroup(), nullptr) << "a member the group did not make outlives it";
  EXPECT_EQ(b->Prop()->ButtonIndex(), -1);
}

TEST_F(ButtonGroupTest, AButtonCannotJoinAGroupInsideItself) {
  auto* button = new TCountingButton(&FOwner);
  TSkinFMXButtonGroup* inner = NewGroup();
  inner->SetParent(button);
  EXPECT_THROW(button->Prop()->SetButtonGroup(inner), Exception);
  EXPECT_EQ(inner->Prop()->ButtonCount(), 0);
  EXPECT_EQ(button->Prop()->ButtonGroup(), nullptr);
  inner->Prop()->SetButtonSize(std::numeric_limits<double>::infinity());
  EXPECT_EQ(inner->Prop()->ButtonSize(), 0) << "a size that is no number counts as none";
}

TEST_F(ButtonGroupTest, ARadioSetPushesOneMemberAndRepaintsOnlyTheChangedOnes) {
  TSkinFMXButtonGroup* group = NewGroup();
  int clicks = 0;
  group->SetRadioButtonCount(3, 1, [&](TObject*) { ++clicks; });
  ASSERT_EQ(group->Prop()->ButtonCount(), 3);
  EXPECT_EQ(group->Prop()->PushedButtonIndex(), 1);
  for (int i = 0; i < 3; ++i) {
    TButtonProperties* properties = group->Prop()->GetButton(i)->Prop();
    EXPECT_EQ(properties->PushedGroupIndex(), 1);
    EXPECT_TRUE(properties->IsAutoPush());
    EXPECT_EQ(properties->ButtonIndex(), i);
  }
  group->Prop()->GetButton(2)->Click();
  EXPECT_EQ(group->Prop()->PushedButtonIndex(), 2);
  EXPECT_EQ(clicks, 1);
  group->Prop()->GetButton(2)->Click();
  EXPECT_EQ(group->Prop()->PushedButtonIndex(), 2) << "the pushed member stays pushed";

  const QString written = ostrel::host::WriteComponent(FOwner);
  EXPECT_FALSE(written.contains(QStringLiteral("TSkinFMXButton\n"))) << "the group makes its radio set anew";

  QPointer<TBaseSkinButton> third = group->Prop()->GetButton(2);
  group->SetRadioButtonCount(2, 0, nullptr);
  EXPECT_EQ(group->Prop()->ButtonCount(), 2);
  EXPECT_TRUE(third.isNull()) << "a member the group made is freed when it goes";
  EXPECT_EQ(group->Prop()->PushedButtonIndex(), 0);

  // Members of the caller's own: pushing one repaints it and the one it releases, no other.
  TSkinFMXButtonGroup* own = NewGroup();
  TCountingButton* members[] = {Join(own), Join(own), Join(own), Join(own)};
  for (TCountingButton* member : members) {
    member->Prop()->SetPushedGroupIndex(1);
    member->Prop()->SetIsAutoPush(true);
    member->SkinControlType();
  }
  members[0]->Prop()->SetIsPushed(true);
  for (TCountingButton* member : members) member->InvalidateCount = 0;
  members[2]->Click();
  EXPECT_EQ(own->Prop()->PushedButtonIndex(), 2);
  const int expected[] = {1, 0, 1, 0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(members[i]->InvalidateCount, expected[i]) << "member " << i;
}

TEST_F(ButtonGroupTest, MembersPaintWithTheGroupsFirstMiddleAndLastMaterials) {
  TSkinFMXButtonGroup* group = NewGroup();
  TSkinButtonGroupDefaultMaterial* material = group->Material();
  ASSERT_NE(material, nullptr);
  EXPECT_NE(dynamic_cast<TSkinButtonDefaultMaterial*>(material->MiddleButtonMaterial()), nullptr);
  TCountingButton* a = Join(group);
  TCountingButton* b = Join(group);
  TCountingButton* c = Join(group);
  const auto materialOf = [](TCountingButton* AButton) { return AButton->SkinControlType()->GetPaintCurrentUseMaterial(); };
  for (TCountingButton* button : {a, b, c}) EXPECT_EQ(materialOf(button), material->MiddleButtonMaterial());

  for (TCountingButton* button : {a, b, c}) button->InvalidateCount = 0;
  material->SetIsUseFirstButtonMaterial(true);
  material->SetIsUseLastButtonMaterial(true);
  EXPECT_EQ(materialOf(a), material->FirstButtonMaterial());
  EXPECT_EQ(materialOf(b), material->MiddleButtonMaterial());
  EXPECT_EQ(materialOf(c), material->LastButtonMaterial());
  EXPECT_GT(c->InvalidateCount, 0) << "the members repaint with their group's material";

  c->InvalidateCount = 0;
  material->LastButtonMaterial()->DrawCaptionParam()->SetFontSize(30);
  EXPECT_GT(c->InvalidateCount, 0) << "a change inside a member material reaches the members";

  material->LastButtonMaterial()->BackColor()->SetIsFill(true);
  material->LastButtonMaterial()->BackColor()->FillDrawColor()->SetColor(0xFF00FF00);
  material->LastButtonMaterial()->SetIsTransparent(false);
  const QImage image = controls_test::RenderControl(*c);
  EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(0, 255, 0)) << "the last member on screen";

  a->Prop()->SetButtonGroup(nullptr);
  EXPECT_EQ(materialOf(a), a->SelfOwnMaterial()) << "outside the group a button paints with its own";
}

TEST_F(ButtonGroupTest, SizesItselfToItsMembersAlongItsOrientation) {
  TSkinFMXButtonGroup* group = NewGroup();
  group->Prop()->SetButtonSize(60);
  group->Prop()->SetAutoSize(true);
  EXPECT_EQ(group->Width(), 296) << "no member, no automatic size";
  Join(group);
  Join(group);
  Join(group);
  EXPECT_EQ(group->Width(), 180);
  EXPECT_EQ(group->Height(), 44);
  group->Prop()->SetOrientation(TButtonGroupOrientation::boVert);
  EXPECT_EQ(group->Prop()->ButtonSize(), 60) << "the orientation keeps the button size";
  EXPECT_EQ(group->Height(), 180);
  ExpectEdges(group->Prop()->GetButton(2)->BoundsRect(), {0, 120, 180, 180}, "a column as wide as the group");

  group->Prop()->SetAutoSize(false);
  group->Prop()->SetButtonSizeCalcType(TButtonSizeCalcType::bsctSeparate);
  group->SetSize(90, 300);
  ExpectEdges(group->Prop()->GetButton(1)->BoundsRect(), {0, 100, 90, 200}, "a resized group shares its height anew");
}

TEST_F(ButtonGroupTest, AStoredFormKeepsTheMembersOrderAndTheGroupsSettings) {
  const QString text = QStringLiteral(
      "object Form1: TForm\n"
      "  object Tabs: TSkinFMXButtonGroup\n"
      "    Properties.ButtonSize = 70\n"
      "    Properties.Orientation = boVert\n"
      "    Properties.ButtonSizeCalcType = bsctFixed\n"
      "    SelfOwnMaterial.IsUseFirstButtonMaterial = True\n"
      "    SelfOwnMaterial.FirstButtonMaterial.DrawCaptionParam.FontSize = 18\n"
      "    SelfOwnMaterial.LastButtonMaterial.IsAutoCenterIconAndCaption = True\n"
      "    object Second: TSkinFMXButton\n"
      "      Properties.ButtonIndex = 1\n"
      "      Properties.IsPushed = True\n"
      "      Properties.PushedGroupIndex = 1\n"
      "    end\n"
      "    object First: TSkinFMXButton\n"
      "      Properties.ButtonIndex = 0\n"
      "      Properties.PushedGroupIndex = 1\n"
      "    end\n"
      "    object Third: TSkinFMXButton\n"
      "      Properties.ButtonIndex = 2\n"
      "      Properties.ButtonGroup = Tabs\n"
      "    end\n"
      "  end\n"
      "end\n");
  const auto check = [](TComponent& AForm, const std::string& AWhen) {
    auto* group = dynamic_cast<TSkinFMXButtonGroup*>(AForm.FindComponent(QStringLiteral("Tabs")));
    ASSERT_NE(group, nullptr) << AWhen;
    EXPECT_EQ(Order(group), "FirstSecondThird") << AWhen;
    EXPECT_EQ(group->Prop()->PushedButtonIndex(), 1) << AWhen;
    EXPECT_EQ(group->Prop()->ButtonSize(), 70) << AWhen;
    EXPECT_EQ(group->Prop()->Orientation(), TButtonGroupOrientation::boVert) << AWhen;
    EXPECT_TRUE(group->Material()->IsUseFirstButtonMaterial()) << AWhen;
    EXPECT_EQ(group->Material()->FirstButtonMaterial()->DrawCaptionParam()->FontSize(), 18) << AWhen;
    EXPECT_TRUE(group->Material()->LastButtonMaterial()->IsAutoCenterIconAndCaption()) << AWhen;
    TBaseSkinButton* third = group->Prop()->GetButton(2);
    EXPECT_EQ(third->Prop()->ButtonGroup(), group) << AWhen;
    ExpectEdges(third->BoundsRect(), {0, 140, 296, 210}, AWhen + ", laid out once read");
  };
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(text);
  check(*form, "read");
  const QString written = ostrel::host::WriteComponent(*form);
  std::unique_ptr<TComponent> again = ostrel::host::ReadComponent(written);
  check(*again, "read again:\n" + written.toStdString());
}

TEST_F(ButtonGroupTest, TheGroupMaterialKeepsItsFlagsAndButtonMaterialsInADocument) {
  TSkinButtonGroupDefaultMaterial source;
  source.SetIsUseLastButtonMaterial(true);
  source.MiddleButtonMaterial()->DrawCaptionParam()->SetFontSize(17);
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("Material"));
  ASSERT_TRUE(source.SaveToDocNode(node));
  const TBTNodeList20& children = node->ChildNodes();
  const int n = children.Count();
  ASSERT_GE(n, 5);
  const char* tail[] = {"IsUseFirstButtonMaterial", "IsUseLastButtonMaterial", "FirstButtonMaterial",
                        "MiddleButtonMaterial", "LastButtonMaterial"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(children.GetItems(n - 5 + i)->NodeName(), QString::fromUtf8(tail[i]));

  const QByteArray bytes = doc.Save();
  TBTDOC20 again;
  again.Load(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
  TSkinButtonGroupDefaultMaterial loaded;
  ASSERT_TRUE(loaded.LoadFromDocNode(again.Nodes().GetItems(0)->ConvertNode_Class()));
  EXPECT_FALSE(loaded.IsUseFirstButtonMaterial());
  EXPECT_TRUE(loaded.IsUseLastButtonMaterial());
  EXPECT_EQ(loaded.MiddleButtonMaterial()->DrawCaptionParam()->FontSize(), 17);

  TSkinButtonGroupDefaultMaterial copy;
  copy.Assign(&source);
  EXPECT_TRUE(copy.IsUseLastButtonMaterial());
  EXPECT_EQ(copy.MiddleButtonMaterial()->DrawCaptionParam()->FontSize(), 17);
}

TEST_F(ButtonGroupTest, RefusesAControlThatIsNoGroup) {
  test_support::StartSkinTestFamily();
  TSkinTestBox other(&FOwner);
  const char* const refusal = "This Component Do not Support ISkinButtonGroup Interface";
  controls_test::ExpectRefused(
      [&] {
        TSkinButtonGroupDefaultType type;
        type.Bind(&other);
      },
      refusal);
  controls_test::ExpectRefused([&] { TButtonGroupProperties properties(&other); }, refusal);
}

}  // namespace
