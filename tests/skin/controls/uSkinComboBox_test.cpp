// The skinned combo box: a new box, text, value and help text, the state
// pictures through a recording device, the skin on the host style's part and
// the host's own look, the click-without-movement rule inside a scroll box,
// language, page data, item binding, stored forms and refusals.

#include "skin/base/uQtDrawCanvas.h"
#include "skin/controls/uSkinComboBoxType.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/HostClasses.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/RecordingPaintDevice.h"
#include "tests/support/SkinTestFamily.h"

#include <QComboBox>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using paint_record::Op;
using paint_record::OpKind;

namespace {

QImage Solid(int AWidth, int AHeight, QColor AColor) {
  QImage image(AWidth, AHeight, QImage::Format_ARGB32);
  image.fill(AColor);
  return image;
}

// A scroll box as the combo box's ancestor search sees one.
class TTestScrollBox : public TSkinTestBox, public ISkinScrollBox {
  Q_OBJECT

 public:
  using TSkinTestBox::TSkinTestBox;
  bool IsVertScrollBarShown() const override { return true; }
};

class ComboBoxTest : public testing::Test {
 protected:
  ComboBoxTest() { host_test::App(); }

  void SetUp() override {
    ostrel::host::RegisterHostClasses();
    test_support::StartSkinTestFamily();
    ostrel::skin::StartSkinLibrary({&ostrel::skin::RegisterSkinCoreFamily, &RegisterSkinComboBoxFamily});
  }

  TSkinFMXComboBox* NewBox(TComponent* AOwner = nullptr) {
    auto* box = new TSkinFMXComboBox(AOwner != nullptr ? AOwner : &FOwner);
    box->SetSize(200, 30);
    return box;
  }

  // The pictures of the drive selector, told apart by their heights: normal
  // 30, hover 29, focused 28, disabled 27, arrow 10 at the right edge; the selected text
  // larger than the help text.
  static void Dress(TSkinFMXComboBox& ABox) {
    TSkinComboBoxDefaultMaterial* m = ABox.Material();
    m->NormalPicture()->SetImage(Solid(40, 30, Qt::red));
    m->HoverPicture()->SetImage(Solid(40, 29, Qt::green));
    m->FocusedPicture()->SetImage(Solid(40, 28, Qt::blue));
    m->DisabledPicture()->SetImage(Solid(40, 27, Qt::gray));
    m->ArrowPicture()->SetImage(Solid(10, 10, Qt::white));
    m->DrawArrowPictureParam()->SetPictureHorzAlign(TPictureHorzAlign::phaRight);
    m->DrawArrowPictureParam()->SetPictureVertAlign(TPictureVertAlign::pvaCenter);
    m->DrawPictureParam()->SetIsStretch(true);
    m->DrawTextParam()->SetFontSize(14);
    m->DrawHelpTextParam()->SetFontSize(10);
  }

  // One paint of the box's control type with the given states.
  static std::vector<Op> Record(TSkinFMXComboBox& ABox, TDPEffectStates AStates = {}, bool AInteractive = true,
                                bool ADirectUI = false) {
    paint_record::RecordingPaintDevice device;
    QPainter painter(&device);
    TQtDrawCanvas canvas;
    canvas.Prepare(&painter);
    TSkinControlType* type = ABox.SkinControlType();
    type->SetIsUseCurrentEffectStates(true);
    type->SetCurrentEffectStates(AStates);
    TPaintData data;
    data.IsDrawInteractiveState = AInteractive;
    data.IsInDrawDirectUI = ADirectUI;
    type->Paint(canvas, type->GetPaintCurrentUseMaterial(), ABox.LocalRect(), data);
    type->SetIsUseCurrentEffectStates(false);
    canvas.UnPrepare();
    painter.end();
    return device.Ops();
  }

  // Which state picture the first image op drew.
  static const char* StatePicture(const std::vector<Op>& AOps) {
    for (const Op& op : AOps) {
      if (op.Kind != OpKind::Image) continue;
      switch (static_cast<int>(op.Source.height())) {
        case 30:
          return "normal";
        case 29:
          return "hover";
        case 28:
          return "focused";
        case 27:
          return "disabled";
        default:
          return "?";
      }
    }
    return "none";
  }

  static std::vector<QString> Texts(const std::vector<Op>& AOps) {
    std::vector<QString> texts;
    for (const Op& op : AOps) {
      if (op.Kind == OpKind::Text) texts.push_back(op.Text);
    }
    return texts;
  }

  static const Op* TextOp(const std::vector<Op>& AOps) {
    for (const Op& op : AOps) {
      if (op.Kind == OpKind::Text) return &op;
    }
    return nullptr;
  }

  TComponent FOwner;
};

TEST_F(ComboBoxTest, ANewBoxHasNoSelectionAndShowsItsHelpText) {
  auto* box = new TSkinFMXComboBox(&FOwner);
  EXPECT_EQ(box->Width(), 100);
  EXPECT_EQ(box->Height(), 22);
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(box->GetText(), QString());
  EXPECT_EQ(box->Value(), QString());
  EXPECT_EQ(box->Prop()->GetComponentClassify(), QStringLiteral("SkinComboBox"));
  EXPECT_TRUE(TControlTypeClass::Of<TSkinComboBoxDefaultType>().IsClassOf(box->SkinControlType()));
  ASSERT_NE(box->Material(), nullptr);
  EXPECT_EQ(box->CurrentUseMaterialToDefault(), box->Material());
  EXPECT_TRUE(box->Material()->HasMouseDownEffect());
  EXPECT_TRUE(box->Material()->HasMouseOverEffect());
  EXPECT_EQ(box->Material()->DrawHelpTextParam()->FontColor(), 0xFF808080u);

  box->Prop()->SetHelpText(QStringLiteral("Choose a drive"));
  const std::vector<Op> ops = Record(*box);
  EXPECT_EQ(Texts(ops), std::vector<QString>{QStringLiteral("Choose a drive")});
  ASSERT_NE(TextOp(ops), nullptr);
  EXPECT_EQ(TextOp(ops)->Pen, QColor(0x80, 0x80, 0x80));
}

TEST_F(ComboBoxTest, ASelectionHidesTheHelpTextAndShowsTheItemWithTheTextParameter) {
  TSkinFMXComboBox* box = NewBox();
  Dress(*box);
  box->Prop()->SetHelpText(QStringLiteral("Choose a drive"));
  box->SetItems({QStringLiteral("C:\\"), QStringLiteral("D:\\")});
  const std::vector<Op> help = Record(*box);
  box->SetItemIndex(1);
  const std::vector<Op> chosen = Record(*box);
  EXPECT_EQ(Texts(chosen), std::vector<QString>{QStringLiteral("D:\\")});
  ASSERT_NE(TextOp(help), nullptr);
  EXPECT_GT(TextOp(chosen)->FontPixels, TextOp(help)->FontPixels) << "the text parameter, not the help one";

  // Drawn as part of a list item, the item's text is shown instead, and help while it is empty.
  EXPECT_EQ(Texts(Record(*box, {}, true, true)), std::vector<QString>{QStringLiteral("Choose a drive")});
  box->BindingItemText(QStringLiteral("E:\\"));
  EXPECT_EQ(Texts(Record(*box, {}, true, true)), std::vector<QString>{QStringLiteral("E:\\")});
  box->BindingItemValue(QVariant(7));
  EXPECT_EQ(box->Prop()->DrawText(), QStringLiteral("7"));
}

TEST_F(ComboBoxTest, TextAndValueSelectTheirItemOrNothing) {
  TSkinFMXComboBox* box = NewBox();
  box->SetItems({QStringLiteral("C:\\"), QStringLiteral("D:\\"), QStringLiteral("E:\\")});
  box->SetValues({QStringLiteral("c"), QStringLiteral("d")});
  box->SetText(QStringLiteral("D:\\"));
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(box->Value(), QStringLiteral("d"));
  box->SetText(QStringLiteral("Z:\\"));
  EXPECT_EQ(box->ItemIndex(), -1) << "a text that is no item clears the selection";
  EXPECT_EQ(box->Value(), QString());
  box->SetValue(QStringLiteral("c"));
  EXPECT_EQ(box->GetText(), QStringLiteral("C:\\"));
  box->SetValue(QStringLiteral("x"));
  EXPECT_EQ(box->ItemIndex(), -1);

  // The third item has no value: reading it is an error, posting falls back to the text.
  box->SetItemIndex(2);
  EXPECT_THROW(box->Value(), Exception);
  EXPECT_EQ(box->GetPostValue(QString()).toString(), QStringLiteral("E:\\"));
  box->SetItemIndex(0);
  EXPECT_EQ(box->GetPostValue(QString()).toString(), QStringLiteral("c"));
  box->SetControlValue(QStringLiteral("d"), QString());
  EXPECT_EQ(box->ItemIndex(), 1) << "by value when no caption matches";
  box->SetControlValue(QStringLiteral("E:\\"), QString());
  EXPECT_EQ(box->ItemIndex(), -1) << "by caption, then by value, which finds none";
}

TEST_F(ComboBoxTest, TheStatePictureFollowsDisabledFocusAndHover) {
  TSkinFMXComboBox* box = NewBox();
  Dress(*box);
  using S = TDPEffectState;
  struct Row {
    const char* Name;
    TDPEffectStates States;
    bool Interactive;
    const char* Picture;
  };
  const Row rows[] = {
      {"nothing", {}, true, "normal"},
      {"pressed has no picture of its own", {S::dpstMouseDown}, true, "normal"},
      {"hovered", {S::dpstMouseOver}, true, "hover"},
      {"focus wins over hover", {S::dpstMouseOver, S::dpstFocused}, true, "focused"},
      {"painted by another, hover and focus do not show", {S::dpstMouseOver, S::dpstFocused}, false, "normal"},
      {"disabled", {S::dpstDisabled}, true, "disabled"},
      {"disabled, painted by another", {S::dpstDisabled}, false, "disabled"},
  };
  for (const Row& row : rows) EXPECT_STREQ(StatePicture(Record(*box, row.States, row.Interactive)), row.Picture) << row.Name;

  // A disabled box with no disabled picture shows its normal one, as do hover and focus without theirs.
  box->Material()->DisabledPicture()->ClearPicture();
  box->Material()->FocusedPicture()->ClearPicture();
  EXPECT_STREQ(StatePicture(Record(*box, {S::dpstDisabled})), "normal");
  EXPECT_STREQ(StatePicture(Record(*box, {S::dpstFocused})), "normal");

  // A real disabled box paints disabled through its own states.
  box->Material()->DisabledPicture()->SetImage(Solid(40, 27, Qt::gray));
  box->SetEnabled(false);
  TSkinControlType* type = box->SkinControlType();
  EXPECT_EQ(type->GetCurrentEffectStates(), TDPEffectStates{S::dpstDisabled});
}

TEST_F(ComboBoxTest, TheArrowIsPlacedByItsParameterOverTheStatePicture) {
  TSkinFMXComboBox* box = NewBox();
  Dress(*box);
  std::vector<Op> images;
  for (const Op& op : Record(*box)) {
    if (op.Kind == OpKind::Image) images.push_back(op);
  }
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[1].Rect, QRectF(190, 10, 10, 10));
}

class ComboBoxFormTest : public ComboBoxTest {
 protected:
  void SetUp() override {
    ComboBoxTest::SetUp();
    FForm.SetClientSize(300, 200);
    FForm.Show();
  }

  TSkinFMXComboBox* Placed(TComponent* AParent, float AY) {
    TSkinFMXComboBox* box = NewBox(&FForm);
    box->SetParent(AParent);
    box->SetBounds(20, AY, 200, 30);
    box->SetItems({QStringLiteral("C:\\"), QStringLiteral("D:\\")});
    box->SetDropDownKind(TDropDownKind::Custom);
    return box;
  }

  TForm FForm;
};

TEST_F(ComboBoxFormTest, TheSkinPaintsOnTheHostStylesBackgroundAndStripsTheHostLook) {
  TSkinFMXComboBox* box = Placed(&FForm, 20);
  Dress(*box);
  const QImage image = FForm.RenderToImage();
  ASSERT_NE(box->StyleObjBackground(), nullptr);
  EXPECT_FALSE(box->StyleObjBackground()->HostDrawing());
  EXPECT_FALSE(box->FindStyleResource(QStringLiteral("content"))->HostDrawing());
  EXPECT_EQ(image.pixelColor(120, 35), QColor(Qt::red)) << "the normal picture stretched over the box";
  EXPECT_EQ(image.pixelColor(214, 35), QColor(Qt::white)) << "the arrow on top";

  // The host's own look: the skin draws nothing, and the box looks like a plain host combo box.
  box->SetIsUseDefaultStyle(true);
  EXPECT_EQ(box->StyleObjBackground(), nullptr);
  EXPECT_TRUE(box->FindStyleResource(QStringLiteral("background"))->HostDrawing());
  box->SetItemIndex(1);
  auto* plain = new TComboBox(&FForm);
  plain->SetParent(&FForm);
  plain->SetBounds(20, 120, 200, 30);
  plain->SetItems({QStringLiteral("C:\\"), QStringLiteral("D:\\")});
  plain->SetItemIndex(1);
  const QImage both = FForm.RenderToImage();
  EXPECT_EQ(both.copy(20, 20, 200, 30), both.copy(20, 120, 200, 30));
  EXPECT_NE(both.pixelColor(120, 35), QColor(Qt::red));

  box->SetIsUseDefaultStyle(false);
  ASSERT_NE(box->StyleObjBackground(), nullptr) << "the skin is back";
  EXPECT_EQ(FForm.RenderToImage().pixelColor(120, 35), QColor(Qt::red));
}

TEST_F(ComboBoxFormTest, InsideAScrollBoxADragScrollsAndOnlyAClickWithoutMovementOpensTheList) {
  auto* scrollBox = new TTestScrollBox(&FForm);
  scrollBox->SetParent(&FForm);
  scrollBox->SetBounds(0, 0, 300, 200);
  TSkinFMXComboBox* inside = Placed(scrollBox, 20);
  TSkinFMXComboBox* outside = Placed(&FForm, 150);
  EXPECT_FALSE(inside->WidgetTakesPointer());
  EXPECT_TRUE(outside->WidgetTakesPointer());

  host_test::Press(FForm, {60, 35});
  host_test::Move(FForm, {60, 55}, Qt::LeftButton);
  host_test::Release(FForm, {60, 55});
  EXPECT_FALSE(inside->DroppedDown()) << "a drag is the scroll box's";

  host_test::Press(FForm, {60, 35});
  host_test::Move(FForm, {63, 37}, Qt::LeftButton);
  host_test::Release(FForm, {63, 37});
  EXPECT_TRUE(inside->DroppedDown()) << "a click without movement opens the list";
  inside->CloseDropDown();

  host_test::Press(FForm, {60, 165});
  EXPECT_TRUE(outside->DroppedDown()) << "elsewhere the host opens its list on the press";
  host_test::Release(FForm, {60, 165});
  outside->CloseDropDown();
}

TEST_F(ComboBoxFormTest, AClickFiresOnClickAndAStayClick) {
  TSkinFMXComboBox* box = Placed(&FForm, 20);
  box->SetItems({});
  std::vector<QString> events;
  box->SetOnClick([&](TObject*) { events.push_back(QStringLiteral("click")); });
  box->SetOnStayClick([&](TObject*) { events.push_back(QStringLiteral("stay")); });
  host_test::Move(FForm, {60, 35});
  EXPECT_TRUE(box->GetIsMouseOver());
  host_test::Press(FForm, {60, 35});
  host_test::Release(FForm, {60, 35});
  EXPECT_EQ(events, (std::vector<QString>{QStringLiteral("click"), QStringLiteral("stay")}));
}

TEST_F(ComboBoxTest, ItemsAndHelpTextAreRecordedAndTranslated) {
  TSkinFMXComboBox* box = NewBox();
  box->SetName(QStringLiteral("Drive"));
  box->SetItems({QStringLiteral("Local disk"), QString(), QStringLiteral("Network")});
  box->Prop()->SetHelpText(QStringLiteral("Choose"));
  TLang lang;
  box->RecordControlLangIndex(QStringLiteral("Main."), &lang, QStringLiteral("en"));
  EXPECT_EQ(lang.GetString(QStringLiteral("Main.Drive.Items[0]"), QStringLiteral("en")), QStringLiteral("Local disk"));
  EXPECT_EQ(lang.GetString(QStringLiteral("Main.Drive.Items[2]"), QStringLiteral("en")), QStringLiteral("Network"));
  EXPECT_EQ(lang.GetString(QStringLiteral("Main.Drive.HelpText"), QStringLiteral("en")), QStringLiteral("Choose"));

  lang.SetString(QStringLiteral("Main.Drive.Items[0]"), QStringLiteral("fr"), QStringLiteral("Disque local"));
  lang.SetString(QStringLiteral("Main.Drive.HelpText"), QStringLiteral("fr"), QStringLiteral("Choisir"));
  box->TranslateControlLang(QStringLiteral("Main."), &lang, QStringLiteral("fr"));
  EXPECT_EQ(box->Items(), (QStringList{QStringLiteral("Disque local"), QString(), QStringLiteral("Network")}));
  EXPECT_EQ(box->Prop()->HelpText(), QStringLiteral("Choisir"));
}

TEST_F(ComboBoxTest, APageFieldSettingFillsItemsAndValuesWithoutASelection) {
  TSkinFMXComboBox* box = NewBox();
  box->SetItems({QStringLiteral("old")});
  box->SetItemIndex(0);
  TFieldControlSetting setting;
  setting.OptionsValue = QStringLiteral("m,f");
  setting.OptionsCaption = QStringLiteral("Male,Female");
  EXPECT_TRUE(box->LoadFromFieldControlSetting(&setting));
  EXPECT_EQ(box->Items(), (QStringList{QStringLiteral("Male"), QStringLiteral("Female")}));
  EXPECT_EQ(box->Values(), (QStringList{QStringLiteral("m"), QStringLiteral("f")}));
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(box->GetPostValue(QString()).toString(), QString());
  TObject other;
  EXPECT_FALSE(box->LoadFromFieldControlSetting(&other));
}

TEST_F(ComboBoxTest, AStoredFormIsReadBackAndAnIndexPastTheListSelectsNothing) {
  const QString text = QStringLiteral(
      "object Form1: TForm\n"
      "  object Drive: TSkinFMXComboBox\n"
      "    Width = 464\n"
      "    Height = 30\n"
      "    Items = (\n"
      "      'C:\\'\n"
      "      'D:\\')\n"
      "    ItemIndex = 5\n"
      "    ItemHeight = 30\n"
      "    DropDownKind = Custom\n"
      "    Placement = Center\n"
      "    Values = (\n"
      "      'c'\n"
      "      'd')\n"
      "    Properties.HelpText = 'Choose a drive'\n"
      "    SelfOwnMaterial.DrawTextParam.FontSize = 14\n"
      "  end\n"
      "  object Other: TSkinFMXComboBox\n"
      "    Items = (\n"
      "      'A')\n"
      "    ItemIndex = 0\n"
      "    ComboBoxProperties.HelpText = 'either name'\n"
      "    IsUseDefaultStyle = True\n"
      "  end\n"
      "end\n");
  std::unique_ptr<TComponent> form = ostrel::host::ReadComponent(text);
  auto* drive = dynamic_cast<TSkinFMXComboBox*>(form->FindComponent(QStringLiteral("Drive")));
  ASSERT_NE(drive, nullptr);
  EXPECT_EQ(drive->Width(), 464);
  EXPECT_EQ(drive->ItemIndex(), -1);
  EXPECT_EQ(drive->Values(), (QStringList{QStringLiteral("c"), QStringLiteral("d")}));
  EXPECT_EQ(drive->Prop()->HelpText(), QStringLiteral("Choose a drive"));
  EXPECT_EQ(drive->Material()->DrawTextParam()->FontSize(), 14);
  EXPECT_EQ(drive->DropDownKind(), TDropDownKind::Custom);
  ASSERT_NE(drive->StyleObjBackground(), nullptr) << "the style is applied once loaded";
  auto* other = dynamic_cast<TSkinFMXComboBox*>(form->FindComponent(QStringLiteral("Other")));
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->GetText(), QStringLiteral("A"));
  EXPECT_EQ(other->Prop()->HelpText(), QStringLiteral("either name"));
  EXPECT_TRUE(other->IsUseDefaultStyle());
  EXPECT_EQ(other->StyleObjBackground(), nullptr);

  const QString written = ostrel::host::WriteComponent(*form);
  EXPECT_FALSE(written.contains(QStringLiteral("ComboBoxProperties"))) << written.toStdString();
  EXPECT_TRUE(written.contains(QStringLiteral("Properties.HelpText = 'either name'"))) << written.toStdString();
  std::unique_ptr<TComponent> again = ostrel::host::ReadComponent(written);
  EXPECT_EQ(ostrel::host::WriteComponent(*again), written);
}

TEST_F(ComboBoxTest, WithoutTheComboBoxInterfaceTheFamilyRefuses) {
  TSkinTestBox box(&FOwner);
  const QString message = QStringLiteral("This Component Do not Support ISkinComboBox Interface");
  try {
    TComboBoxProperties properties(&box);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), message);
  }
  TSkinComboBoxDefaultType type;
  try {
    type.Bind(&box);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace

#include "uSkinComboBox_test.moc"
