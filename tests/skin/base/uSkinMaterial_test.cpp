// Materials: the style list, change notification to the controls that use a
// material, the repaint need, copying and storage in a document.

#include "skin/base/uSkinMaterial.h"
#include "tests/support/GuiApp.h"
#include "tests/support/SkinTestFamily.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class MaterialTest : public testing::Test {
 protected:
  void SetUp() override { test_support::GuiApp(); }
};

bool InStyleList(const TSkinControlMaterial* AMaterial) {
  const TBaseList& styles = ostrel::skin::GlobalSkinMaterialStyleList();
  int count = 0;
  for (int i = 0; i < styles.Count(); ++i) count += styles.GetItem(i) == AMaterial ? 1 : 0;
  EXPECT_LE(count, 1);
  return count == 1;
}

// Records which links a material tells, in order.
struct LinkJournal {
  std::vector<int> Told;
  std::vector<std::unique_ptr<TSkinObjectChangeLink>> Links;
  void Register(TSkinMaterial& AMaterial, int ACount) {
    for (int i = 0; i < ACount; ++i) {
      auto link = std::make_unique<TSkinObjectChangeLink>();
      link->SetOnChange([this, i](TObject*) { Told.push_back(i); });
      AMaterial.RegisterChanges(link.get());
      Links.push_back(std::move(link));
    }
  }
};

}  // namespace

TEST_F(MaterialTest, StyleNameEntersTheStyleListOnceAndLeavesItWhenBlankOrFreed) {
  auto material = std::make_unique<TSkinControlMaterial>();
  EXPECT_FALSE(InStyleList(material.get()));
  material->SetStyleName(QStringLiteral("Dark"));
  material->SetStyleName(QStringLiteral("Dark"));
  material->SetStyleName(QStringLiteral("Darker"));
  EXPECT_TRUE(InStyleList(material.get()));
  EXPECT_TRUE(material->IsInGlobalStyleList());
  material->SetStyleName(QStringLiteral("  "));
  EXPECT_FALSE(InStyleList(material.get()));
  EXPECT_EQ(material->StyleName(), QStringLiteral("  "));
  material->SetStyleName(QStringLiteral("Again"));
  const TSkinControlMaterial* gone = material.get();
  material.reset();
  EXPECT_FALSE(InStyleList(gone)) << "a freed material leaves the list";
}

TEST_F(MaterialTest, ANewControlMaterialIsTransparentWithItsBackgroundRectangle) {
  TSkinControlMaterial material;
  EXPECT_TRUE(material.IsTransparent());
  ASSERT_EQ(material.DrawParamList()->Count(), 1);
  EXPECT_EQ(material.BackColor(), material.DrawParamList()->GetItem(0));
  EXPECT_EQ(material.BackColor()->Name(), QStringLiteral("DrawBackColorParam"));
  EXPECT_EQ(material.BackColor()->Caption(), QStringLiteral("背景颜色矩形绘制参数"));
  EXPECT_EQ(material.BackColor()->SkinMaterial(), &material);
  EXPECT_EQ(material.FindParamByName(QStringLiteral("DrawBackColorParam")), material.BackColor());
  EXPECT_EQ(material.FindParamByName(QStringLiteral("drawbackcolorparam")), nullptr);
}

TEST_F(MaterialTest, AChangeReachesEveryControlLastRegisteredFirstThenOnChange) {
  TComponent form;
  auto* material = new TSkinTestBoxMaterial(&form);
  LinkJournal journal;
  journal.Register(*material, 3);
  // OnChange, after the links, is -1 in the journal.
  material->SetOnChange([&](TObject* Sender) {
    EXPECT_EQ(Sender, material->SkinObjectChangeManager());
    journal.Told.push_back(-1);
  });
  EXPECT_EQ(material->RefControlCount(), 3);

  material->DrawCaptionParam()->SetAlpha(100);
  EXPECT_EQ(journal.Told, (std::vector<int>{2, 1, 0, -1}));
  material->IconPicture()->SetSize(2, 2);
  EXPECT_EQ(journal.Told.size(), 8u) << "pictures report their changes too";
  material->SetIsTransparent(false);
  material->SetIsTransparent(false);
  EXPECT_EQ(journal.Told.size(), 12u) << "a setter notifies a real change once";
}

TEST_F(MaterialTest, StaysSilentWithoutOwnerWhileTheOwnerLoadsAndWhileRepaintsAreSuppressed) {
  struct Case {
    const char* what;
    bool owned;
    bool ownerLoading;
    bool suppressed;
  };
  const Case cases[] = {
      {"no owner", false, false, false},
      {"owner loading", true, true, false},
      {"repaints suppressed", true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TComponent form;
    std::unique_ptr<TSkinTestBoxMaterial> unowned;
    TSkinTestBoxMaterial* material = nullptr;
    if (c.owned) {
      material = new TSkinTestBoxMaterial(&form);
    } else {
      unowned = std::make_unique<TSkinTestBoxMaterial>();
      material = unowned.get();
    }
    form.SetLoading(c.ownerLoading);
    LinkJournal journal;
    journal.Register(*material, 2);
    {
      std::unique_ptr<ostrel::skin::ScopedRepaintSuppression> suppression;
      if (c.suppressed) suppression = std::make_unique<ostrel::skin::ScopedRepaintSuppression>();
      material->DrawCaptionParam()->SetAlpha(10);
      material->SetIsTransparent(false);
    }
    EXPECT_TRUE(journal.Told.empty());
  }
  EXPECT_EQ(ostrel::skin::RepaintSuppressCount(), 0);
}

TEST_F(MaterialTest, NeedsARepaintOnPressOrHoverOnlyWithEffectTypes) {
  TSkinTestBoxMaterial material;
  EXPECT_FALSE(material.HasMouseDownEffect());
  EXPECT_FALSE(material.HasMouseOverEffect());
  // An effect with values but no effect types changes nothing.
  material.BackColor()->DrawEffectSetting()->MouseOverEffect()->SetAlpha(10);
  EXPECT_FALSE(material.HasMouseOverEffect());
  auto* hover = static_cast<TDrawRectParamEffect*>(material.BackColor()->DrawEffectSetting()->MouseOverEffect());
  hover->SetEffectTypes({TDRPEffectType::drpetFillColorChange});
  EXPECT_TRUE(material.HasMouseOverEffect());
  EXPECT_FALSE(material.HasMouseDownEffect());
  material.DrawCaptionParam()->DrawEffectSetting()->MouseDownEffect()->SetCommonEffectTypes(
      {TDPCommonEffectType::dpcetAlphaChange});
  EXPECT_TRUE(material.HasMouseDownEffect());
}

TEST_F(MaterialTest, CopiesParametersAndPicturesByNameThenTellsTheDestination) {
  TComponent form;
  auto* source = new TSkinTestBoxMaterial(&form);
  auto* dest = new TSkinTestBoxMaterial(&form);
  source->SetIsTransparent(false);
  source->BackColor()->SetIsFill(true);
  source->DrawCaptionParam()->SetAlpha(77);
  source->IconPicture()->SetImageName(QStringLiteral("close"));
  LinkJournal journal;
  journal.Register(*dest, 1);

  dest->Assign(source);
  EXPECT_FALSE(dest->IsTransparent());
  EXPECT_TRUE(dest->BackColor()->IsFill());
  EXPECT_EQ(dest->DrawCaptionParam()->Alpha(), 77);
  EXPECT_EQ(dest->IconPicture()->ImageName(), QStringLiteral("close"));
  EXPECT_FALSE(journal.Told.empty());

  // A plain control material takes what it has a name for: the background.
  TSkinControlMaterial plain(&form);
  plain.Assign(source);
  EXPECT_TRUE(plain.BackColor()->IsFill());
  EXPECT_FALSE(plain.IsTransparent());

  TDrawRectParam notAMaterial;
  EXPECT_THROW(notAMaterial.Assign(source), EConvertError);
}

TEST_F(MaterialTest, StoresPicturesThenParametersThenTransparencyAndReadsThemBack) {
  TSkinTestBoxMaterial source;
  source.SetIsTransparent(false);
  source.BackColor()->SetIsFill(true);
  source.DrawCaptionParam()->SetAlpha(66);
  source.IconPicture()->SetImageName(QStringLiteral("files"));
  TBTDOC20 doc;
  TBTNode20_Class* node = doc.TopNode()->AddChildNode_Class(QStringLiteral("Material"));
  ASSERT_TRUE(source.SaveToDocNode(node));

  EXPECT_EQ(node->ClassName(), QStringLiteral("TSkinTestBoxMaterial"));
  const TBTNodeList20& children = node->ChildNodes();
  ASSERT_EQ(children.Count(), 4);
  const struct {
    const char* name;
    const char* caption;
    std::uint8_t type;
  } expected[] = {
      {"IconPicture", "图标", TBTNode20_Class::TypeCode},
      {"DrawBackColorParam", "背景颜色矩形绘制参数", TBTNode20_Class::TypeCode},
      {"DrawCaptionParam", "标题绘制参数", TBTNode20_Class::TypeCode},
      {"IsTransparent", "是否透明", TBTNode20_Bool32::TypeCode},
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(children.GetItems(i)->NodeName(), QString::fromUtf8(expected[i].name));
    EXPECT_EQ(children.GetItems(i)->NodeCaption(), QString::fromUtf8(expected[i].caption));
    EXPECT_EQ(children.GetItems(i)->NodeType(), expected[i].type);
  }

  // Read back through the stored bytes, with a child nobody knows added.
  node->AddChildNode_Int32(QStringLiteral("Unknown"), QString(), 5);
  TBTDOC20 again;
  const QByteArray bytes = doc.Save();
  again.Load(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
  TComponent form;
  auto* loaded = new TSkinTestBoxMaterial(&form);
  LinkJournal journal;
  journal.Register(*loaded, 1);
  ASSERT_TRUE(loaded->LoadFromDocNode(again.Nodes().GetItems(0)->ConvertNode_Class()));
  EXPECT_FALSE(loaded->IsTransparent());
  EXPECT_TRUE(loaded->BackColor()->IsFill());
  EXPECT_EQ(loaded->DrawCaptionParam()->Alpha(), 66);
  EXPECT_EQ(loaded->IconPicture()->ImageName(), QStringLiteral("files"));
}
