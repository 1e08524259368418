// The skinned control base with the test family: control type and material
// choice, change notification, interaction states into the drawing
// parameters, the paint pipeline, clicks and stay clicks, forwarding to the
// parent, stored forms and destruction.

#include "skin/base/uSkinFireMonkeyControl.h"
#include "skin/base/uSkinRegManager.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormText.h"
#include "skin/host/FormWriter.h"
#include "skin/host/HostClasses.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingPaintDevice.h"
#include "tests/support/SkinTestFamily.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using paint_record::OpKind;

namespace {

class SkinControlTest : public testing::Test {
 protected:
  void SetUp() override {
    host_test::App();
    ostrel::host::RegisterHostClasses();
    test_support::StartSkinTestFamily();
  }

  TSkinTestBox* NewBox(const QString& AName = QString()) {
    auto* box = new TSkinTestBox(&FOwner);
    if (!AName.isEmpty()) box->SetName(AName);
    return box;
  }
  TSkinTestBoxMaterial* NewMaterial(const QString& AName = QString()) {
    auto* material = new TSkinTestBoxMaterial(&FOwner);
    if (!AName.isEmpty()) material->SetName(AName);
    return material;
  }

  TComponent FOwner;
};

bool LogHas(const LogCapture& ALog, const QString& AText) {
  for (const QString& line : ALog.Lines()) {
    if (line.contains(AText)) return true;
  }
  return false;
}

// A scroll box as the ancestor searches see one.
class TTestScrollBox : public TSkinTestBox, public ISkinScrollBox {
  Q_OBJECT

 public:
  using TSkinTestBox::TSkinTestBox;
  bool IsVertScrollBarShown() const override { return ShowVertScrollBar; }
  bool ShowVertScrollBar = true;
};

// The one class whose instances never count as inside a scroll box.
class TSkinFMXImageListViewer : public TSkinTestBox {
  Q_OBJECT

 public:
  using TSkinTestBox::TSkinTestBox;
};

// Turns effect types on for one state of a material's background rectangle.
void GiveBackgroundEffect(TSkinControlMaterial& AMaterial, bool AHover, bool APress) {
  auto* setting = AMaterial.BackColor()->DrawEffectSetting();
  if (AHover) {
    static_cast<TDrawRectParamEffect*>(setting->MouseOverEffect())->SetEffectTypes({TDRPEffectType::drpetFillColorChange});
  }
  if (APress) {
    static_cast<TDrawRectParamEffect*>(setting->MouseDownEffect())->SetEffectTypes({TDRPEffectType::drpetFillColorChange});
  }
}

}  // namespace

// --- control type and material choice ----------------------------------------------

TEST_F(SkinControlTest, AControlReadFromAFormGetsTheDefaultTypeAndASelfOwnedMaterialNamedMaterial) {
  const QString text = QStringLiteral(
      "object Form1: TForm\n"
      "  object Box: TSkinTestBox\n"
      "    ComponentTypeUseKind = ctukDefault\n"
      "    MaterialUseKind = mukSelfOwn\n"
      "    KeepSelfOwnMaterial = True\n"
      "    ComponentTypeName = ''\n"
      "    SelfOwnMaterial.IsTransparent = False\n"
      "    SelfOwnMaterial.BackColor.IsFill = True\n"
      "    SelfOwnMaterial.DrawCaptionParam.FontSize = 20\n"
      "    Caption = 'Hello'\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(text);
  auto* box = dynamic_cast<TSkinTestBox*>(form->FindComponent(QStringLiteral("Box")));
  ASSERT_NE(box, nullptr);
  ASSERT_NE(box->SkinControlType(), nullptr);
  EXPECT_TRUE(TControlTypeClass::Of<TSkinTestBoxType>().IsClassOf(box->SkinControlType()));
  TSkinControlMaterial* material = box->CurrentUseMaterial();
  ASSERT_NE(material, nullptr);
  EXPECT_EQ(material, box->SelfOwnMaterial());
  EXPECT_EQ(material->ClassName(), QStringLiteral("TSkinTestBoxMaterial"));
  EXPECT_EQ(material->Name(), QStringLiteral("Material"));
  EXPECT_EQ(material->Owner(), box);
  EXPECT_TRUE(material->IsSubComponent());
  EXPECT_FALSE(material->IsTransparent());
  EXPECT_TRUE(material->BackColor()->IsFill());
  EXPECT_EQ(box->TestMaterial()->DrawCaptionParam()->FontSize(), 20.0);
  EXPECT_EQ(material->RefControlCount(), 1);

  // Written back, the material's values travel as SelfOwnMaterial.*, and read again they stay.
  const QString written = ostrel::host::WriteComponent(*form);
  EXPECT_TRUE(written.contains(QStringLiteral("SelfOwnMaterial.IsTransparent = False"))) << written.toStdString();
  std::unique_ptr<TComponent> again = ostrel::host::ReadComponent(written);
  EXPECT_EQ(ostrel::host::WriteComponent(*again), written);
}

TEST_F(SkinControlTest, TheTypeNameChoosesTheControlTypeAndBlankMeansDefault) {
  struct Row {
    const char* name;
    TControlTypeClass type;
  };
  const Row rows[] = {
      {"", TControlTypeClass::Of<TSkinTestBoxType>()},
      {"   ", TControlTypeClass::Of<TSkinTestBoxType>()},
      {"Other", TControlTypeClass::Of<TSkinTestBoxOtherType>()},
      {" Default", {}},
      {"default", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    LogCapture log;
    TSkinTestBox* box = NewBox(QStringLiteral("Box"));
    box->SetComponentTypeName(QLatin1String(row.name));
    if (row.type) {
      EXPECT_TRUE(row.type.IsClassOf(box->SkinControlType()));
    } else {
      EXPECT_EQ(box->SkinControlType(), nullptr);
      EXPECT_TRUE(LogHas(log, QStringLiteral("Name:Box ClassName:TSkinTestBox ComponentTypeName:") +
                                  QLatin1String(row.name) +
                                  QStringLiteral(" CreateSkinControlType Can Not Find ControlTypeClass")));
    }
    delete box;
  }
}

TEST_F(SkinControlTest, ChangingTheTypeNameReplacesATypeOfAnotherClassAndKeepsItForAnUnknownName) {
  LogCapture log;
  TSkinTestBox* box = NewBox(QStringLiteral("Box"));
  box->SetComponentTypeName(QStringLiteral("Other"));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinTestBoxOtherType>().IsClassOf(box->SkinControlType()));
  TSkinControlType* other = box->SkinControlType();
  box->SetComponentTypeName(QStringLiteral("Missing"));
  EXPECT_EQ(box->SkinControlType(), other);
  EXPECT_TRUE(LogHas(log, QStringLiteral("Name:Box ClassName:TSkinTestBox SetComponentTypeName AControlTypeClass Is Nil ")));
  EXPECT_EQ(box->SkinControlType()->SkinControl(), box);
}

TEST_F(SkinControlTest, MaterialUseKindTransitions) {
  // mukDefault and mukName choose no material; nothing is painted.
  for (TMaterialUseKind kind : {TMaterialUseKind::mukDefault, TMaterialUseKind::mukName}) {
    TSkinTestBox* box = NewBox();
    box->SetKeepSelfOwnMaterial(false);
    box->SetMaterialUseKind(kind);
    EXPECT_EQ(box->CurrentUseMaterial(), nullptr);
    EXPECT_EQ(box->SelfOwnMaterialIfAny(), nullptr) << "not kept, so freed";
    box->SetSize(50, 20);
    box->SetText(QStringLiteral("x"));
    paint_record::RecordingPaintDevice device;
    {
      QPainter painter(&device);
      box->PaintTo(painter);
    }
    EXPECT_TRUE(device.Ops().empty());
    delete box;
  }

  // Self-owned to referenced: kept with KeepSelfOwnMaterial, freed without.
  for (bool keep : {true, false}) {
    SCOPED_TRACE(keep ? "keep" : "do not keep");
    TSkinTestBox* box = NewBox();
    TSkinTestBoxMaterial* shared = NewMaterial(QStringLiteral("Shared"));
    TSkinControlMaterial* own = box->CurrentUseMaterial();
    ASSERT_NE(own, nullptr);
    box->SetKeepSelfOwnMaterial(keep);
    box->SetRefMaterial(shared);
    box->SetMaterialUseKind(TMaterialUseKind::mukRef);
    EXPECT_EQ(box->CurrentUseMaterial(), shared);
    EXPECT_EQ(shared->RefControlCount(), 1);
    EXPECT_EQ(box->SelfOwnMaterialIfAny(), keep ? own : nullptr);
    EXPECT_EQ(box->FindComponent(QStringLiteral("Material")) != nullptr, keep);

    // Back to self-owned: the referenced material is released and forgotten.
    box->SetMaterialUseKind(TMaterialUseKind::mukSelfOwn);
    EXPECT_EQ(box->RefMaterial(), nullptr);
    EXPECT_EQ(shared->RefControlCount(), 0);
    ASSERT_NE(box->CurrentUseMaterial(), nullptr);
    EXPECT_EQ(box->CurrentUseMaterial(), box->SelfOwnMaterialIfAny());
    delete box;
    delete shared;
  }

  // The same kind again with a material in use changes nothing.
  TSkinTestBox* box = NewBox();
  TSkinControlMaterial* own = box->CurrentUseMaterial();
  box->InvalidateCount = 0;
  box->SetMaterialUseKind(TMaterialUseKind::mukSelfOwn);
  EXPECT_EQ(box->CurrentUseMaterial(), own);
  EXPECT_EQ(box->InvalidateCount, 0);

  // Switching the keep flag off under another kind frees the self-owned material.
  box->SetMaterialUseKind(TMaterialUseKind::mukDefault);
  EXPECT_EQ(box->SelfOwnMaterialIfAny(), own);
  box->SetKeepSelfOwnMaterial(false);
  EXPECT_EQ(box->SelfOwnMaterialIfAny(), nullptr);
  EXPECT_EQ(box->FindComponent(QStringLiteral("Material")), nullptr);
}

TEST_F(SkinControlTest, StyleNameKindFindsTheMaterialOrLogsThatItCannot) {
  TSkinTestBoxMaterial* style = NewMaterial();
  style->SetStyleName(QStringLiteral("Default"));
  TSkinTestBox* box = NewBox(QStringLiteral("Box"));
  box->SetMaterialUseKind(TMaterialUseKind::mukRefByStyleName);
  EXPECT_EQ(box->CurrentUseMaterial(), style);
  EXPECT_EQ(box->MaterialName(), QStringLiteral("Default"));

  LogCapture log;
  box->SetMaterialName(QStringLiteral("Nowhere"));
  EXPECT_EQ(box->CurrentUseMaterial(), nullptr);
  EXPECT_TRUE(LogHas(log, QStringLiteral(
                              "Name:Box ClassName:TSkinTestBox GetCurrentUseMaterial Can Not Find Material By StyleName "
                              "Nowhere")));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinTestBoxType>().IsClassOf(box->SkinControlType()))
      << "nothing found selects the Default type";
}

TEST_F(SkinControlTest, AReferencedMaterialOfAnotherFamilyIsRefused) {
  TSkinTestBox* box = NewBox();
  auto* foreign = new TSkinTestOtherMaterial(&FOwner);
  foreign->SetName(QStringLiteral("Foreign"));
  TSkinControlMaterial* own = box->CurrentUseMaterial();
  try {
    box->SetRefMaterial(foreign);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Foreign与此控件或此ComponentType匹配的Material类型不符"));
  }
  EXPECT_EQ(box->RefMaterial(), nullptr);
  EXPECT_EQ(box->CurrentUseMaterial(), own);
  // A derived class is not the registered class either: the match is exact.
  auto* derived = new TSkinTestBoxDerivedMaterial(&FOwner);
  EXPECT_THROW(box->SetRefMaterial(derived), Exception);
}

// --- change notification --------------------------------------------------------------

TEST_F(SkinControlTest, AParameterChangeRepaintsEveryControlUsingTheMaterial) {
  TSkinTestBoxMaterial* shared = NewMaterial(QStringLiteral("Shared"));
  TSkinTestBox* first = NewBox();
  TSkinTestBox* second = NewBox();
  for (TSkinTestBox* box : {first, second}) {
    box->SetRefMaterial(shared);
    box->SetMaterialUseKind(TMaterialUseKind::mukRef);
    box->InvalidateCount = 0;
  }
  EXPECT_EQ(shared->RefControlCount(), 2);
  shared->DrawCaptionParam()->SetAlpha(40);
  EXPECT_EQ(first->InvalidateCount, 1);
  EXPECT_EQ(second->InvalidateCount, 1);

  // While the controls load, or repaints are suppressed, nothing is asked.
  {
    ostrel::skin::ScopedRepaintSuppression suppression;
    shared->DrawCaptionParam()->SetAlpha(41);
  }
  first->SetLoading(true);
  shared->DrawCaptionParam()->SetAlpha(42);
  EXPECT_EQ(first->InvalidateCount, 1);
  EXPECT_EQ(second->InvalidateCount, 2);
}

TEST_F(SkinControlTest, AMaterialWithoutOwnerNeverRepaintsItsControls) {
  auto unowned = std::make_unique<TSkinTestBoxMaterial>();
  TSkinTestBox* box = NewBox();
  box->SetRefMaterial(unowned.get());
  box->SetMaterialUseKind(TMaterialUseKind::mukRef);
  box->InvalidateCount = 0;
  unowned->DrawCaptionParam()->SetAlpha(1);
  unowned->SetIsTransparent(false);
  EXPECT_EQ(box->InvalidateCount, 0);
  unowned.reset();
  EXPECT_EQ(box->CurrentUseMaterial(), nullptr);
  EXPECT_EQ(box->RefMaterial(), nullptr);
}

TEST_F(SkinControlTest, ControlsLetGoOfAMaterialFreedUnderThem) {
  TSkinTestBoxMaterial* shared = NewMaterial();
  TSkinTestBox* first = NewBox();
  TSkinTestBox* second = NewBox();
  first->SetRefMaterial(shared);
  first->SetMaterialUseKind(TMaterialUseKind::mukRef);
  second->SetRefMaterial(shared);  // referenced, not in use
  second->SetMaterialUseKind(TMaterialUseKind::mukDefault);
  delete shared;
  for (TSkinTestBox* box : {first, second}) {
    EXPECT_EQ(box->RefMaterial(), nullptr);
    EXPECT_EQ(box->CurrentUseMaterialIfAny(), nullptr);
  }
  // The self-owned material freed from outside goes the same way.
  TSkinControlMaterial* own = second->SelfOwnMaterial();
  ASSERT_NE(own, nullptr);
  delete own;
  EXPECT_EQ(second->SelfOwnMaterialIfAny(), nullptr);
  EXPECT_NE(second->SelfOwnMaterial(), nullptr) << "made anew on the next use";
}

// --- interaction states -------------------------------------------------------------------

TEST_F(SkinControlTest, HoverAndPressRepaintOnlyWhenTheMaterialHasThoseEffects) {
  TSkinTestBox* box = NewBox();
  TSkinTestBoxType* type = static_cast<TSkinTestBoxType*>(box->SkinControlType());
  box->InvalidateCount = 0;
  type->CustomMouseEnter();
  EXPECT_TRUE(box->IsMouseOver());
  type->CustomMouseLeave();
  type->CustomMouseDown(TMouseButton::mbRight, {}, 1, 1);
  EXPECT_TRUE(box->IsMouseDown()) << "any button presses";
  type->CustomMouseUp(TMouseButton::mbRight, {}, 1, 1);
  EXPECT_EQ(box->InvalidateCount, 0) << "no effect types, no repaint";

  GiveBackgroundEffect(*box->CurrentUseMaterial(), true, true);
  box->InvalidateCount = 0;
  type->CustomMouseEnter();
  type->CustomMouseDown(TMouseButton::mbRight, {}, 1, 1);
  type->CustomMouseMove({}, 2, 2);
  type->CustomMouseUp(TMouseButton::mbRight, {}, 2, 2);
  type->CustomMouseLeave();
  EXPECT_EQ(box->InvalidateCount, 4) << "enter, press, release, leave; not the move";
}

TEST_F(SkinControlTest, IsMouseOverAlsoReadsTheHostFlag) {
  TForm form;
  form.SetClientSize(100, 100);
  form.Show();
  auto* box = new TSkinTestBox(&form);
  box->SetParent(&form);
  box->SetBounds(10, 10, 50, 50);
  EXPECT_FALSE(box->IsMouseOver());
  host_test::Move(form, QPointF(20, 20));
  EXPECT_TRUE(box->TControl::IsMouseOver());
  box->SetIsMouseOver(false);
  EXPECT_TRUE(box->IsMouseOver());
}

TEST_F(SkinControlTest, StatesReachTheParametersByTheirRules) {
  TSkinTestBox* box = NewBox();
  TSkinTestBoxMaterial* material = box->TestMaterial();
  TSkinControlType* type = box->SkinControlType();
  material->DrawCaptionParam()->IsControlParam = false;
  box->SetIsMouseDown(true);
  box->SetIsMouseOver(true);
  const TDPEffectStates pointer{TDPEffectState::dpstMouseDown, TDPEffectState::dpstMouseOver};

  TPaintData interactive;
  interactive.IsDrawInteractiveState = true;
  type->ProcessMaterialDrawStates(material, interactive);
  EXPECT_EQ(material->BackColor()->StaticEffectStates(), pointer);
  EXPECT_TRUE(material->DrawCaptionParam()->StaticEffectStates().IsEmpty()) << "not a control parameter";

  type->ProcessMaterialDrawStates(material, TPaintData{});
  EXPECT_TRUE(material->BackColor()->StaticEffectStates().IsEmpty()) << "not an interactive paint";

  box->SetEnabled(false);
  type->ProcessMaterialDrawStates(material, interactive);
  for (TDrawParam* param : {static_cast<TDrawParam*>(material->BackColor()), static_cast<TDrawParam*>(material->DrawCaptionParam())}) {
    EXPECT_EQ(param->StaticEffectStates(), TDPEffectStates{TDPEffectState::dpstDisabled});
  }

  // States imposed from outside win over the control's own.
  box->SetEnabled(true);
  type->SetIsUseCurrentEffectStates(true);
  type->SetCurrentEffectStates({TDPEffectState::dpstFocused});
  type->ProcessMaterialDrawStates(material, interactive);
  EXPECT_EQ(material->BackColor()->StaticEffectStates(), TDPEffectStates{TDPEffectState::dpstFocused});
}

TEST_F(SkinControlTest, DrawAlphaIsTheCeilingOfAlphaTimesTheAbsoluteOpacity) {
  struct Row {
    float parentOpacity;
    float opacity;
    std::uint8_t alpha;
    std::uint8_t expected;
  };
  const Row rows[] = {
      {1.0f, 1.0f, 255, 255}, {0.5f, 1.0f, 255, 128}, {1.0f, 0.8f, 255, 204},
      {0.5f, 0.5f, 200, 50},  {1.0f, 0.0f, 255, 0},   {0.3f, 1.0f, 10, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.parentOpacity << " x " << row.opacity << " x " << int(row.alpha));
    TSkinTestBox* parent = NewBox();
    TSkinTestBox* box = NewBox();
    box->SetParent(parent);
    parent->SetOpacity(row.parentOpacity);
    box->SetOpacity(row.opacity);
    TSkinTestBoxMaterial* material = box->TestMaterial();
    material->BackColor()->SetAlpha(row.alpha);
    box->SkinControlType()->ProcessMaterialDrawStates(material, TPaintData{});
    EXPECT_EQ(material->BackColor()->DrawAlpha, row.expected);
    delete box;
    delete parent;
  }
}

// --- painting ---------------------------------------------------------------------------------

TEST_F(SkinControlTest, PaintDrawsTheBackgroundUnlessTransparentThenTheFamilysContent) {
  TSkinTestBox* box = NewBox();
  box->SetSize(60, 20);
  box->SetText(QStringLiteral("Go"));
  TSkinTestBoxMaterial* material = box->TestMaterial();
  material->BackColor()->SetIsFill(true);
  material->BackColor()->FillDrawColor()->SetColor(0xFF0092CA);

  for (bool transparent : {true, false}) {
    SCOPED_TRACE(transparent ? "transparent" : "opaque");
    material->SetIsTransparent(transparent);
    paint_record::RecordingPaintDevice device;
    {
      QPainter painter(&device);
      box->PaintTo(painter);
    }
    std::vector<OpKind> kinds;
    for (const paint_record::Op& op : device.Ops()) kinds.push_back(op.Kind);
    if (transparent) {
      EXPECT_EQ(kinds, (std::vector<OpKind>{OpKind::Text}));
    } else {
      ASSERT_EQ(kinds.size(), 2u);
      EXPECT_NE(kinds[0], OpKind::Text);
      EXPECT_EQ(device.Ops()[0].Brush, QColor(0x00, 0x92, 0xCA));
      EXPECT_EQ(kinds[1], OpKind::Text);
    }
  }
}

TEST_F(SkinControlTest, ASecondIdenticalPaintNotifiesNothing) {
  TSkinTestBox* box = NewBox();
  box->SetSize(60, 20);
  box->SetText(QStringLiteral("Go"));
  box->TestMaterial()->SetIsTransparent(false);
  paint_record::RecordingPaintDevice device;
  QPainter painter(&device);
  box->PaintTo(painter);
  box->InvalidateCount = 0;
  box->PaintTo(painter);
  EXPECT_EQ(box->InvalidateCount, 0);
}

// --- clicks ---------------------------------------------------------------------------------------

TEST_F(SkinControlTest, ClickAndStayClickFollowTheMovementBetweenPressAndLastMove) {
  struct Row {
    const char* what;
    float pressX;
    float moveBy;
    bool inScrollBox;
    bool click;
    bool stayClick;
  };
  const Row rows[] = {
      {"no movement", 5, 0, false, true, true},
      {"4.9 pixels", 5, 4.9f, false, true, true},
      {"5 pixels", 5, 5, false, true, false},
      {"absolute X 0", -10, 0, false, true, false},
      {"scroll box, no movement", 5, 0, true, true, true},
      {"scroll box, 4.9 pixels", 5, 4.9f, true, true, true},
      {"scroll box, 5 pixels", 5, 5, true, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TTestScrollBox* scrollBox = new TTestScrollBox(&FOwner);
    TSkinTestBox* box = NewBox();
    box->SetBounds(10, 10, 80, 30);
    if (row.inScrollBox) box->SetParent(scrollBox);
    std::vector<QString> events;
    box->SetOnClick([&](TObject*) { events.push_back(QStringLiteral("click")); });
    box->SetOnStayClick([&](TObject*) { events.push_back(QStringLiteral("stay")); });
    TSkinControlType* type = box->SkinControlType();
    type->CustomMouseDown(TMouseButton::mbLeft, {}, row.pressX, 5);
    if (row.moveBy != 0) type->CustomMouseMove({}, row.pressX + row.moveBy, 5);
    box->Click();
    std::vector<QString> expected;
    if (row.click) expected.push_back(QStringLiteral("click"));
    if (row.stayClick) expected.push_back(QStringLiteral("stay"));
    EXPECT_EQ(events, expected);
    delete box;
    delete scrollBox;
  }
}

TEST_F(SkinControlTest, AClickThroughTheFormFiresWhileTheControlIsStillPressed) {
  TForm form;
  form.SetClientSize(200, 100);
  form.Show();
  auto* box = new TSkinTestBox(&form);
  box->SetParent(&form);
  box->SetBounds(20, 20, 80, 30);
  std::vector<QString> events;
  box->SetOnClick([&](TObject*) { events.push_back(box->IsMouseDown() ? QStringLiteral("click down") : QStringLiteral("click")); });
  box->SetOnStayClick([&](TObject*) { events.push_back(QStringLiteral("stay")); });
  host_test::Move(form, QPointF(30, 30));
  host_test::Press(form, QPointF(30, 30));
  EXPECT_TRUE(ostrel::skin::IsMouseDownInSkinControl());
  host_test::Release(form, QPointF(30, 30));
  EXPECT_FALSE(ostrel::skin::IsMouseDownInSkinControl());
  EXPECT_EQ(events, (std::vector<QString>{QStringLiteral("click down"), QStringLiteral("stay")}));
  EXPECT_FALSE(box->IsMouseDown());
}

TEST_F(SkinControlTest, ADisabledControlPaintsDisabledAndSwallowsAPressWithoutClickOrWindowDrag) {
  TForm form;
  form.SetClientSize(200, 100);
  form.Show();
  auto* background = new TControl(&form);
  background->SetParent(&form);
  background->SetBounds(0, 0, 200, 100);
  int drags = 0;
  background->SetOnMouseDown([&](TObject*, TMouseButton, TShiftState, float, float) { ++drags; });
  auto* box = new TSkinTestBox(&form);
  box->SetParent(background);
  box->SetBounds(20, 20, 80, 30);
  box->SetParentMouseEvent(true);
  GiveBackgroundEffect(*box->CurrentUseMaterial(), true, true);
  int clicks = 0;
  box->SetOnClick([&](TObject*) { ++clicks; });
  box->SetEnabled(false);

  host_test::Move(form, QPointF(30, 30));
  host_test::Press(form, QPointF(30, 30));
  host_test::Release(form, QPointF(30, 30));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(drags, 0);
  EXPECT_FALSE(box->IsMouseDown());

  box->SetIsMouseDown(true);
  TSkinTestBoxMaterial* material = box->TestMaterial();
  TPaintData interactive;
  interactive.IsDrawInteractiveState = true;
  box->SkinControlType()->ProcessMaterialDrawStates(material, interactive);
  EXPECT_EQ(material->BackColor()->StaticEffectStates(), TDPEffectStates{TDPEffectState::dpstDisabled});
}

// --- forwarding to the parent ----------------------------------------------------------------------

TEST_F(SkinControlTest, APressOnALabelReachesItsPanelInThePanelsCoordinates) {
  TSkinTestBox* panel = NewBox(QStringLiteral("Panel"));
  panel->SetBounds(100, 100, 300, 200);
  TSkinTestBox* label = NewBox(QStringLiteral("Label"));
  label->SetParent(panel);
  label->SetBounds(28, 16, 60, 20);
  label->SetParentMouseEvent(true);
  TPointF seen(-1, -1);
  TObject* sender = nullptr;
  panel->SetOnCustomMouseDown([&](TObject* Sender, TMouseButton, TShiftState, float X, float Y) {
    sender = Sender;
    seen = TPointF(X, Y);
  });
  label->MouseDown(TMouseButton::mbLeft, {}, 5, 5);
  EXPECT_EQ(seen, TPointF(33, 21));
  EXPECT_EQ(sender, panel);
  EXPECT_TRUE(panel->SkinControlType()->CurrentMouseEventIsChildOwn());
  EXPECT_EQ(panel->SkinControlType()->CurrentMouseEventChild(), label);
  EXPECT_FALSE(label->SkinControlType()->CurrentMouseEventIsChildOwn());
}

TEST_F(SkinControlTest, ForwardingFollowsTheSwitchAndTheAncestors) {
  struct Row {
    const char* what;
    bool parentMouseEvent;
    TMouseEventTransToParentType trans;
    bool inScrollBox;
    bool viewer;
    bool forwarded;
  };
  using T = TMouseEventTransToParentType;
  const Row rows[] = {
      {"off", false, T::mettptAuto, false, false, false},
      {"switch on", true, T::mettptNotTrans, false, false, true},
      {"always", false, T::mettptTrans, false, false, true},
      {"auto inside a scroll box", false, T::mettptAuto, true, false, true},
      {"never, even inside a scroll box", false, T::mettptNotTrans, true, false, false},
      {"an image list viewer never counts as inside", false, T::mettptAuto, true, true, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::unique_ptr<TSkinTestBox> outer;
    if (row.inScrollBox) {
      outer = std::make_unique<TTestScrollBox>();
    } else {
      outer = std::make_unique<TSkinTestBox>();
    }
    auto panel = std::make_unique<TSkinTestBox>();
    panel->SetParent(outer.get());
    std::unique_ptr<TSkinTestBox> child;
    if (row.viewer) {
      child = std::make_unique<TSkinFMXImageListViewer>();
    } else {
      child = std::make_unique<TSkinTestBox>();
    }
    child->SetParent(panel.get());
    child->SetParentMouseEvent(row.parentMouseEvent);
    child->SetMouseEventTransToParentType(row.trans);
    int reached = 0;
    panel->SetOnCustomMouseMove([&](TObject*, TShiftState, float, float) { ++reached; });
    child->MouseMove({}, 1, 1);
    EXPECT_EQ(reached, row.forwarded ? 1 : 0);
    child.reset();
    panel.reset();
  }
}

TEST_F(SkinControlTest, APlainParentGetsItsHostHandlerOrItsSkinnedParentTheEvent) {
  TSkinTestBox* grand = NewBox();
  auto* plain = new TControl(&FOwner);
  plain->SetParent(grand);
  plain->SetBounds(10, 20, 100, 100);
  TSkinTestBox* child = NewBox();
  child->SetParent(plain);
  child->SetBounds(3, 4, 20, 20);
  child->SetParentMouseEvent(true);
  TPointF seen(-1, -1);
  grand->SetOnCustomMouseUp([&](TObject*, TMouseButton, TShiftState, float X, float Y) { seen = TPointF(X, Y); });
  child->MouseUp(TMouseButton::mbLeft, {}, 1, 1);
  EXPECT_EQ(seen, TPointF(14, 25)) << "through the plain parent to the skinned grandparent";

  plain->SetParent(nullptr);
  TObject* sender = nullptr;
  plain->SetOnMouseUp([&](TObject* Sender, TMouseButton, TShiftState, float X, float Y) {
    sender = Sender;
    seen = TPointF(X, Y);
  });
  child->MouseUp(TMouseButton::mbLeft, {}, 1, 1);
  EXPECT_EQ(sender, plain);
  EXPECT_EQ(seen, TPointF(4, 5));
}

// --- geometry, caption, automatic size --------------------------------------------------------------

TEST_F(SkinControlTest, IntegerSizesRoundUp) {
  TSkinTestBox* box = NewBox();
  box->SetSize(33.2f, 20.0f);
  EXPECT_EQ(box->WidthInt(), 34);
  EXPECT_EQ(box->HeightInt(), 20);
  box->SetWidthInt(12);
  EXPECT_EQ(box->Width(), 12.0f);
}

TEST_F(SkinControlTest, ACaptionChangeReachesTheTypeAndAutomaticSizeFollowsIt) {
  TSkinTestBox* box = NewBox();
  auto* type = static_cast<TSkinTestBoxType*>(box->SkinControlType());
  box->SetText(QStringLiteral("abc"));
  box->SetText(QStringLiteral("abc"));
  box->SetStaticText(QStringLiteral("quiet"));
  EXPECT_EQ(type->TextChangedCount, 1);
  box->Position()->SetPoint(TPointF(7, 8));
  box->TestProperties()->SetAutoSize(true);
  EXPECT_EQ(box->BoundsRect(), TRectF(7, 8, 50, 20));
}

TEST_F(SkinControlTest, TheJsonTextOfThePropertiesIsEmptyWhenNothingIsStored) {
  TSkinTestBox* box = NewBox();
  EXPECT_EQ(box->GetPropJsonStr(), QString());
  box->SetPropJsonStr(QStringLiteral("{}"));
  EXPECT_THROW(box->SetPropJsonStr(QStringLiteral("{")), Exception);
}

TEST_F(SkinControlTest, LanguageHooksRecordAndTranslateTheCaption) {
  TSkinTestBox* box = NewBox(QStringLiteral("Box"));
  box->SetText(QStringLiteral("Install Now"));
  TLang lang;
  box->RecordControlLangIndex(QStringLiteral("Main."), &lang, QStringLiteral("en"));
  EXPECT_EQ(lang.GetString(QStringLiteral("Main.Box.Caption"), QStringLiteral("en")), QStringLiteral("Install Now"));
  lang.SetString(QStringLiteral("Main.Box.Caption"), QStringLiteral("de"), QStringLiteral("Jetzt installieren"));
  box->TranslateControlLang(QStringLiteral("Main."), &lang, QStringLiteral("fr"));
  EXPECT_EQ(box->Caption(), QStringLiteral("Install Now")) << "no translation keeps the caption";
  box->TranslateControlLang(QStringLiteral("Main."), &lang, QStringLiteral("de"));
  EXPECT_EQ(box->Caption(), QStringLiteral("Jetzt installieren"));
}

// --- stored forms with bad values ----------------------------------------------------------------------

TEST_F(SkinControlTest, StoredFormsNamingUnknownTypesStylesOrMaterialsFallBackOrFailClearly) {
  {
    LogCapture log;
    std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(QStringLiteral(
        "object F: TForm\n  object Box: TSkinTestBox\n    ComponentTypeName = 'Nope'\n  end\nend\n"));
    auto* box = dynamic_cast<TSkinTestBox*>(form->FindComponent(QStringLiteral("Box")));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->SkinControlType(), nullptr);
    EXPECT_EQ(box->CurrentUseMaterial(), nullptr) << "no registered material class for the name";
    EXPECT_TRUE(LogHas(log, QStringLiteral("CreateSkinControlType Can Not Find ControlTypeClass")));
    paint_record::RecordingPaintDevice device;
    QPainter painter(&device);
    box->PaintTo(painter);
    EXPECT_TRUE(device.Ops().empty());
  }
  {
    LogCapture log;
    std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(QStringLiteral(
        "object F: TForm\n  object Box: TSkinTestBox\n    MaterialUseKind = mukRefByStyleName\n"
        "    MaterialName = 'NoSuchStyle'\n  end\nend\n"));
    auto* box = dynamic_cast<TSkinTestBox*>(form->FindComponent(QStringLiteral("Box")));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->CurrentUseMaterial(), nullptr);
    EXPECT_TRUE(LogHas(log, QStringLiteral("GetCurrentUseMaterial Can Not Find Material By StyleName NoSuchStyle")));
  }
  const char* refused[] = {
      // a material of another family
      ("object F: TForm\n  object M: TSkinTestOtherMaterial\n  end\n"
       "  object Box: TSkinTestBox\n    RefMaterial = M\n  end\nend\n"),
      // a material that is not there
      "object F: TForm\n  object Box: TSkinTestBox\n    RefMaterial = Missing\n  end\nend\n",
      // a value the kind does not have
      "object F: TForm\n  object Box: TSkinTestBox\n    MaterialUseKind = mukEverything\n  end\nend\n",
      // a parameter the material does not have
      "object F: TForm\n  object Box: TSkinTestBox\n    SelfOwnMaterial.NoSuchParam.Alpha = 1\n  end\nend\n",
  };
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ostrel::host::ReadComponent(QString::fromUtf8(text)), ostrel::host::EFormError);
  }
}

// --- destruction -------------------------------------------------------------------------------------------

TEST_F(SkinControlTest, DestructionReleasesEverythingAndLogsAFailingLateStep) {
  TSkinTestBoxMaterial* shared = NewMaterial();
  TSkinTestBox* box = NewBox(QStringLiteral("Box"));
  box->SetRefMaterial(shared);
  TSkinControlMaterial* own = box->SelfOwnMaterial();
  ASSERT_NE(own, nullptr);
  box->SetMaterialUseKind(TMaterialUseKind::mukRef);
  ASSERT_EQ(shared->RefControlCount(), 1);
  own->SetStyleName(QStringLiteral("Own"));
  box->TestProperties()->FailOnRelease = true;

  LogCapture log;
  delete box;
  EXPECT_EQ(shared->RefControlCount(), 0);
  const TBaseList& styles = ostrel::skin::GlobalSkinMaterialStyleList();
  for (int i = 0; i < styles.Count(); ++i) EXPECT_NE(styles.GetItem(i), own) << "the self-owned material was freed";
  bool found = false;
  for (const QString& line : log.Lines()) {
    if (line.contains(QStringLiteral(" Exception:properties release failed Unit:BriselUI Method:uSkinFireMonkeyControl "
                                     "Pos:Box TSkinTestBox FreeAndNil(FProperties);"))) {
      found = true;
    }
  }
  EXPECT_TRUE(found) << log.Lines().join(u'\n').toStdString();
  shared->DrawCaptionParam()->SetAlpha(3);  // nobody left to tell
}

TEST_F(SkinControlTest, CompanionsRefuseAControlWithoutTheSkinInterface) {
  TControl plain;
  try {
    TSkinControlProperties properties(&plain);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("This Component Do not Support ISkinComponent Interface"));
  }
  TSkinTestBoxType type;
  EXPECT_THROW(type.Bind(&plain), Exception);
  EXPECT_EQ(type.SkinControl(), nullptr);
}

TEST_F(SkinControlTest, AnUnpairedEndOfSuppressionLeavesTheCountAtZero) {
  ostrel::skin::EndSuppressRepaint();
  EXPECT_EQ(ostrel::skin::RepaintSuppressCount(), 0);
  TSkinTestBox* box = NewBox();
  {
    ostrel::skin::ScopedRepaintSuppression suppression;
    box->InvalidateCount = 0;
    box->SkinControlType()->InvalidateControl();
    EXPECT_EQ(box->InvalidateCount, 0);
  }
  box->SkinControlType()->InvalidateControl();
  EXPECT_EQ(box->InvalidateCount, 1);
}

// --- painted children ----------------------------------------------------------------------------------------

namespace {

// A parent that paints its children and is asked to repaint them.
class TTestPaintingParent : public TSkinTestBox, public IDirectUIParent {
  Q_OBJECT

 public:
  using TSkinTestBox::TSkinTestBox;
  void InvalidateChild(TControl* AChild, IDirectUIControl* AChildIntf) override {
    Asked.push_back(AChild);
    EXPECT_EQ(AChildIntf, SkinControlIntfOf(AChild));
  }
  std::vector<TControl*> Asked;
};

}  // namespace

TEST_F(SkinControlTest, AChildOfAPaintingParentAsksTheParentInsteadOfTheHost) {
  auto* parent = new TTestPaintingParent(&FOwner);
  TSkinTestBox* child = NewBox();
  child->SetParent(parent);
  child->Invalidate();
  EXPECT_EQ(parent->Asked, (std::vector<TControl*>{child}));
  TTestPaintingParent other(&FOwner);
  child->SetDirectUIParentIntf(&other);
  child->Invalidate();
  EXPECT_EQ(other.Asked, (std::vector<TControl*>{child})) << "a painting parent set directly wins";
  child->SetDirectUIParentIntf(nullptr);
}

TEST_F(SkinControlTest, DrawChildControlsPaintsVisibleChildrenAtTheirPlaceWithTheirOwnOrTheParentsStates) {
  TSkinTestBox* parent = NewBox();
  parent->SetSize(200, 100);
  TSkinTestBox* own = NewBox();
  TSkinTestBox* passive = NewBox();
  TSkinTestBox* hidden = NewBox();
  TSkinTestBox* outside = NewBox();
  struct Placed {
    TSkinTestBox* box;
    TRectF bounds;
  };
  for (const Placed& p : {Placed{own, {10, 10, 40, 20}}, Placed{passive, {60, 10, 40, 20}},
                          Placed{hidden, {110, 10, 40, 20}}, Placed{outside, {300, 10, 40, 20}}}) {
    p.box->SetParent(parent);
    p.box->SetBounds(p.bounds.x(), p.bounds.y(), p.bounds.width(), p.bounds.height());
    p.box->TestMaterial()->SetIsTransparent(false);
    p.box->TestMaterial()->BackColor()->SetIsFill(true);
  }
  passive->SetHitTest(false);
  hidden->SetVisible(false);
  parent->SetIsMouseOver(true);
  own->SetIsMouseDown(true);

  paint_record::RecordingPaintDevice device;
  {
    QPainter painter(&device);
    TDrawCanvas& canvas = *parent->Canvas();
    canvas.Prepare(&painter);
    TPaintData paintData;
    paintData.IsDrawInteractiveState = true;
    parent->SkinControlType()->DrawChildControls(canvas, TRectF(5, 5, 200, 100), TRectF(0, 0, 205, 105), paintData);
    canvas.UnPrepare();
  }
  std::vector<QRectF> filled;
  for (const paint_record::Op& op : device.Ops()) {
    if (op.Kind != OpKind::Text) filled.push_back(op.Rect);
  }
  ASSERT_EQ(filled.size(), 2u) << "the hidden child and the one outside the visible rectangle are left out";
  EXPECT_EQ(filled[0], QRectF(15, 15, 40, 20));
  EXPECT_EQ(filled[1], QRectF(65, 15, 40, 20));
  EXPECT_EQ(own->TestMaterial()->BackColor()->StaticEffectStates(), TDPEffectStates{TDPEffectState::dpstMouseDown});
  EXPECT_EQ(passive->TestMaterial()->BackColor()->StaticEffectStates(), TDPEffectStates{TDPEffectState::dpstMouseOver})
      << "a child without hit testing shows its parent's states";
  EXPECT_FALSE(passive->SkinControlType()->IsUseCurrentEffectStates()) << "only for the duration of its paint";
}

TEST_F(SkinControlTest, PointerInputReachesPaintedChildrenInTheirOwnCoordinates) {
  TSkinTestBox* parent = NewBox();
  parent->SetSize(200, 100);
  TSkinTestBox* row = NewBox(QStringLiteral("Row"));
  row->SetParent(parent);
  row->SetBounds(10, 10, 150, 50);
  TSkinTestBox* button = NewBox(QStringLiteral("RowButton"));
  button->SetParent(row);
  button->SetBounds(100, 5, 40, 40);
  TPointF pressedAt(-1, -1);
  button->SetOnCustomMouseDown([&](TObject*, TMouseButton, TShiftState, float X, float Y) { pressedAt = TPointF(X, Y); });
  int clicks = 0;
  button->SetOnClick([&](TObject*) { ++clicks; });
  int rowEnters = 0;
  row->SetOnCustomMouseEnter([&](TObject*) { ++rowEnters; });
  TSkinControlType* type = parent->SkinControlType();

  type->DirectUIMouseMove({}, 20, 20);
  EXPECT_TRUE(row->IsMouseOver());
  EXPECT_EQ(rowEnters, 1);
  type->DirectUIMouseMove({}, 21, 20);
  EXPECT_EQ(rowEnters, 1) << "entered once";

  LogCapture log;
  type->DirectUIMouseDown(TMouseButton::mbLeft, {}, 115, 20);
  EXPECT_TRUE(type->EventProcessedByChild);
  EXPECT_TRUE(button->IsMouseDown());
  EXPECT_EQ(pressedAt, TPointF(5, 5)) << "the point less the row's and the button's places";
  type->DirectUIMouseUp(TMouseButton::mbLeft, {}, 115, 20, true);
  EXPECT_TRUE(type->EventClickedByChild);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->IsMouseDown());
  EXPECT_TRUE(LogHas(log, QStringLiteral("ProcessMouseUpDirectUIControls 当前点击 RowButton")));

  // Released elsewhere, the pressed child is released without a click.
  type->DirectUIMouseDown(TMouseButton::mbLeft, {}, 115, 20);
  type->DirectUIMouseUp(TMouseButton::mbLeft, {}, 190, 90, true);
  EXPECT_FALSE(button->IsMouseDown());
  EXPECT_FALSE(type->EventProcessedByChild);
  EXPECT_EQ(clicks, 1);

  type->DirectUIMouseLeave();
  EXPECT_FALSE(row->IsMouseOver());
}

#include "uSkinFireMonkeyControl_test.moc"
