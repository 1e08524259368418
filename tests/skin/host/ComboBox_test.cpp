// The host combo box: items and selection, keyboard, both drop-down kinds,
// style parts a skin takes over, loading and storing, and its place in the
// form's pointer routing.

#include "skin/host/ComboBox.h"
#include "skin/host/ComboPopup.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"
#include "skin/host/HostClasses.h"
#include "skin/host/PopupPlacement.h"
#include "tests/skin/host/HostTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>

#include <memory>

using ostrel::host::PlacePopup;

namespace {

void Key(QWidget* AWidget, int AKey, Qt::KeyboardModifiers AModifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, AKey, AModifiers);
  QCoreApplication::sendEvent(AWidget, &press);
  QKeyEvent release(QEvent::KeyRelease, AKey, AModifiers);
  QCoreApplication::sendEvent(AWidget, &release);
}

void ClickRow(QListView& AList, int ARow) {
  const QPoint at = AList.visualRect(AList.model()->index(ARow, 0)).center();
  QWidget* viewport = AList.viewport();
  QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &release);
}

class ComboBoxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    host_test::App();
    ostrel::host::RegisterHostClasses();
  }

  void SetUp() override {
    form = std::make_unique<TForm>();
    form->SetClientSize(300, 200);
    form->Show();
    back = new TControl(form.get());
    back->SetBounds(0, 0, 300, 200);
    back->SetParent(form.get());
    back->SetOnMouseDown([this](TObject*, TMouseButton, TShiftState, float, float) { ++backDowns; });
    box = new TComboBox(form.get());
    box->SetBounds(20, 20, 200, 30);
    box->SetParent(back);
    box->SetOnChange([this](TObject*) { ++changes; });
    box->SetOnPopup([this](TObject*) { ++popups; });
    box->SetOnClosePopup([this](TObject*) { ++closes; });
  }

  void TearDown() override {
    box = nullptr;
    form.reset();
  }

  std::unique_ptr<TForm> form;
  TControl* back = nullptr;
  TComboBox* box = nullptr;
  int backDowns = 0;
  int changes = 0;
  int popups = 0;
  int closes = 0;
};

}  // namespace

TEST_F(ComboBoxTest, ItemsAndSelection) {
  TComboBox fresh;
  EXPECT_EQ(fresh.LocalRect(), QRectF(0, 0, 100, 22));
  EXPECT_EQ(fresh.ItemIndex(), -1);
  EXPECT_EQ(fresh.SelectedText(), QString());

  EXPECT_EQ(box->AddItem("C:\\"), 0);
  EXPECT_EQ(box->AddItem("D:\\"), 1);
  EXPECT_EQ(box->ItemIndex(), -1) << "adding never selects";
  EXPECT_EQ(changes, 0);

  box->SetItemIndex(1);
  EXPECT_EQ(box->SelectedText(), QStringLiteral("D:\\"));
  EXPECT_EQ(changes, 1);
  box->SetItemIndex(1);
  EXPECT_EQ(changes, 1) << "no change, no event";

  box->SetItemText(1, "E:\\Games");
  EXPECT_EQ(box->SelectedText(), QStringLiteral("E:\\Games"));
  EXPECT_THROW(box->SetItemText(2, "x"), Exception);
  EXPECT_EQ(box->ItemText(5), QString());

  for (const int outside : {-2, 2, 99}) {
    SCOPED_TRACE(outside);
    box->SetItemIndex(0);
    box->SetItemIndex(outside);
    EXPECT_EQ(box->ItemIndex(), -1) << "an index outside the list selects nothing";
  }

  changes = 0;
  box->SetItemIndex(0);
  box->SetItems({"X", "Y", "Z"});
  EXPECT_EQ(box->Items(), (QStringList{"X", "Y", "Z"}));
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(changes, 2) << "selected, then cleared by the new list";
}

TEST_F(ComboBoxTest, KeyboardMovesTheSelectionAndOpensTheList) {
  box->SetItems({"A", "B", "C"});
  box->SetDropDownKind(TDropDownKind::Custom);
  QComboBox* host = box->HostWidget();
  Key(host, Qt::Key_Down);
  EXPECT_EQ(box->ItemIndex(), 0);
  Key(host, Qt::Key_End);
  EXPECT_EQ(box->ItemIndex(), 2);
  Key(host, Qt::Key_Up);
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(changes, 3);

  Key(host, Qt::Key_Down, Qt::AltModifier);
  EXPECT_TRUE(box->DroppedDown());
  EXPECT_EQ(popups, 1);
  auto& list = static_cast<ostrel::host::ComboPopup*>(box->DropDownWindow())->List();
  EXPECT_EQ(list.currentIndex().row(), 1) << "the list opens on the selected item";
  Key(&list, Qt::Key_Down);
  Key(&list, Qt::Key_Return);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(closes, 1);

  Key(host, Qt::Key_F4);
  Key(&list, Qt::Key_Up);
  Key(&list, Qt::Key_Escape);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(box->ItemIndex(), 2) << "Escape leaves the selection";
  EXPECT_EQ(closes, 2);
}

TEST_F(ComboBoxTest, AfterAPressTheWindowsKeysReachTheBox) {
  box->SetItems({"A", "B", "C"});
  // The press opens the list; closing it gives the keys back to the box.
  host_test::Press(*form, {50, 35});
  host_test::Release(*form, {50, 35});
  box->CloseDropDown();
  ASSERT_TRUE(box->IsFocused());
  Key(form->View(), Qt::Key_Down);
  Key(form->View(), Qt::Key_Down);
  EXPECT_EQ(box->ItemIndex(), 1);
}

TEST_F(ComboBoxTest, CustomDropDownIsPlacedWithItsRowHeightAndAClickChoosesARow) {
  box->SetItems({"A", "B", "C"});
  box->SetDropDownKind(TDropDownKind::Custom);
  box->SetPlacement(TPlacement::Center);
  box->SetItemHeight(30);
  box->Position()->SetY(100);

  // A press on the box opens the list and ends there: the list has the pointer now.
  host_test::Press(*form, {50, 115});
  ASSERT_TRUE(box->DroppedDown());
  EXPECT_EQ(form->Captured(), nullptr);
  EXPECT_FALSE(box->Pressed());
  EXPECT_EQ(backDowns, 0);
  EXPECT_TRUE(box->IsFocused());

  auto* popup = static_cast<ostrel::host::ComboPopup*>(box->DropDownWindow());
  QListView& list = popup->List();
  EXPECT_EQ(list.visualRect(list.model()->index(0, 0)).height(), 30);
  const QRectF target(box->LocalToScreen({0, 0}), box->LocalToScreen({200, 30}));
  ASSERT_EQ(target.top(), form->ClientToScreen({0, 100}).y());
  EXPECT_EQ(popup->width(), 200);
  EXPECT_EQ(popup->height(), 3 * 30 + 2 * popup->frameWidth());
  EXPECT_NEAR(popup->geometry().center().y(), target.center().y(), 1.0) << "centred on the box";
  EXPECT_NEAR(popup->x(), target.x(), 1.0);

  ClickRow(list, 2);
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(closes, 1);
}

TEST(PopupPlacement, OpensOnItsSideFlipsWhenItMustAndStaysOnTheScreen) {
  const QRectF screen(0, 0, 800, 600);
  const QSizeF size(200, 90);
  struct Case {
    const char* what;
    QRectF target;
    TPlacement placement;
    QRectF expected;
  };
  const Case cases[] = {
      {"below", {100, 100, 200, 30}, TPlacement::Bottom, {100, 130, 200, 90}},
      {"above", {100, 100, 200, 30}, TPlacement::Top, {100, 10, 200, 90}},
      {"right", {100, 100, 200, 30}, TPlacement::Right, {300, 100, 200, 90}},
      {"left", {300, 100, 200, 30}, TPlacement::Left, {100, 100, 200, 90}},
      {"centred on the target", {100, 100, 200, 30}, TPlacement::Center, {100, 70, 200, 90}},
      {"below, centred", {100, 100, 100, 30}, TPlacement::BottomCenter, {50, 130, 200, 90}},
      {"below at the screen's bottom flips above", {100, 560, 200, 30}, TPlacement::Bottom, {100, 470, 200, 90}},
      {"above at the top flips below", {100, 20, 200, 30}, TPlacement::Top, {100, 50, 200, 90}},
      {"right at the edge flips left", {650, 100, 100, 30}, TPlacement::Right, {450, 100, 200, 90}},
      {"centred past the bottom is moved up", {100, 580, 200, 30}, TPlacement::Center, {100, 510, 200, 90}},
      {"past the right edge is moved in", {700, 100, 200, 30}, TPlacement::Bottom, {600, 130, 200, 90}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PlacePopup(c.target, size, c.placement, screen), c.expected);
  }
  // Neither side fits: it stays below and keeps the screen's top edge when taller.
  EXPECT_EQ(PlacePopup({0, 250, 100, 30}, {100, 700}, TPlacement::Bottom, screen), QRectF(0, 0, 100, 700));
}

TEST_F(ComboBoxTest, NativeDropDownTakesThePointerAloneWhileOpen) {
  box->SetItems({"A", "B", "C"});
  box->SetItemHeight(30);
  box->DropDown();
  ASSERT_TRUE(box->DroppedDown());
  EXPECT_EQ(popups, 1);
  QWidget* list = box->DropDownWindow();
  ASSERT_NE(list, nullptr);
  QGraphicsProxyWidget* embedded = list->graphicsProxyWidget();
  ASSERT_NE(embedded, nullptr) << "Qt embeds the list in the form's scene";
  EXPECT_EQ(box->HostWidget()->view()->sizeHintForRow(0), 30);

  const QPointF inList = embedded->sceneBoundingRect().center();
  host_test::Press(*form, inList);
  host_test::Release(*form, inList);
  EXPECT_EQ(backDowns, 0) << "a click in the list never reaches the control beneath it";

  box->CloseDropDown();
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(closes, 1);
}

TEST_F(ComboBoxTest, ADisabledOrHiddenBoxNeitherOpensNorKeepsItsListOpen) {
  box->SetItems({"A", "B"});
  box->SetDropDownKind(TDropDownKind::Custom);
  box->DropDown();
  ASSERT_TRUE(box->DroppedDown());
  back->SetVisible(false);
  EXPECT_FALSE(box->DroppedDown()) << "the list window goes with its hidden box";
  back->SetVisible(true);
  box->DropDown();
  ASSERT_TRUE(box->DroppedDown());
  back->SetEnabled(false);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_FALSE(box->HostWidget()->isEnabled());

  box->DropDown();
  host_test::Press(*form, {50, 35});
  host_test::Release(*form, {50, 35});
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(backDowns, 0);
  EXPECT_EQ(popups, 2);
}

namespace {

// Stands in for a skin: it strips the host look and paints the background itself.
class TSkinnedBox : public TComboBox {
 public:
  using TComboBox::TComboBox;
  ~TSkinnedBox() override { FBackground = nullptr; }

  TStyleObject* FBackground = nullptr;
  int applied = 0;
  int freed = 0;
  qreal paintOpacity = -1;

 protected:
  void ApplyStyle() override {
    ++applied;
    FBackground = FindStyleResource(QStringLiteral("background"));
    FBackground->SetHostDrawing(false);
    FindStyleResource(QStringLiteral("content"))->SetHostDrawing(false);
    FBackground->SetOnPaint([this](TObject*, QPainter* ACanvas, const TRectF& ARect) {
      paintOpacity = ACanvas->opacity();
      ACanvas->fillRect(ARect.adjusted(10, 5, -10, -5), QColor(0xFF, 0, 0));
    });
  }
  void FreeStyle() override {
    ++freed;
    FBackground = nullptr;
  }
};

}  // namespace

TEST_F(ComboBoxTest, ASkinTakesOverTheBackgroundPartAndPaintsAlone) {
  auto* skinned = new TSkinnedBox(form.get());
  skinned->SetBounds(20, 100, 100, 30);
  skinned->SetParent(form.get());
  skinned->SetOpacity(0.5f);
  EXPECT_EQ(skinned->FindStyleResource(QStringLiteral("background")), nullptr) << "not applied yet";

  const QImage image = form->RenderToImage();
  ASSERT_EQ(skinned->applied, 1) << "the first paint applies the style";
  EXPECT_EQ(skinned->paintOpacity, 1.0) << "the skin applies the opacity itself";
  EXPECT_DOUBLE_EQ(skinned->Proxy()->opacity(), 1.0);
  EXPECT_EQ(image.pixelColor(70, 115), QColor(0xFF, 0, 0));
  EXPECT_EQ(image.pixelColor(22, 102).alpha(), 0) << "the host look and the widget's background are gone";

  skinned->NeedStyleLookup();
  EXPECT_EQ(skinned->freed, 1);
  EXPECT_EQ(skinned->FBackground, nullptr);
  EXPECT_FALSE(skinned->StyleApplied());
  skinned->ApplyStyleLookup();
  EXPECT_EQ(skinned->applied, 2);
  ASSERT_NE(skinned->FBackground, nullptr);
  EXPECT_EQ(skinned->FBackground->BoundsRect(), QRectF(0, 0, 100, 30));
  EXPECT_EQ(skinned->FindStyleResource(QStringLiteral("Content"))->StyleName(), QStringLiteral("content"));
}

TEST_F(ComboBoxTest, WithoutASkinTheHostLookIsDrawn) {
  box->SetItems({"A"});
  box->SetItemIndex(0);
  const QImage image = form->RenderToImage();
  bool drawn = false;
  for (int x = 21; x < 219 && !drawn; ++x) drawn = image.pixelColor(x, 35) != image.pixelColor(5, 5);
  EXPECT_TRUE(drawn);
  EXPECT_NE(box->FindStyleResource(QStringLiteral("background")), nullptr);
  EXPECT_TRUE(box->FindStyleResource(QStringLiteral("content"))->HostDrawing());
}

namespace {

class TComboTestForm : public TForm {
  Q_OBJECT

 public:
  explicit TComboTestForm(TComponent* AOwner = nullptr) : TForm(AOwner) {}
  Q_INVOKABLE void DriveChange(TObject*) { ++changes; }
  int changes = 0;
};

}  // namespace

TEST(ComboBoxForm, StoredValuesReadBackAndWriteTheSameText) {
  host_test::App();
  ostrel::host::RegisterHostClasses();
  ostrel::host::RegisterClass<TComboTestForm>();
  const QString text = QStringLiteral(
      "object ComboTestForm: TComboTestForm\n"
      "  object Drive: TComboBox\n"
      "    ItemIndex = 1\n"
      "    Items = (\n"
      "      'C:\\'\n"
      "      'D:\\')\n"
      "    ItemHeight = 30\n"
      "    DropDownKind = Custom\n"
      "    Placement = Center\n"
      "    Width = 464\n"
      "    Height = 30\n"
      "    OnChange = DriveChange\n"
      "  end\n"
      "end\n");
  TComboTestForm form;
  ostrel::host::ReadComponentInto(form, text);
  auto* drive = qobject_cast<TComboBox*>(form.FindComponent(QStringLiteral("Drive")));
  ASSERT_NE(drive, nullptr);
  EXPECT_EQ(drive->Items(), (QStringList{"C:\\", "D:\\"}));
  EXPECT_EQ(drive->ItemIndex(), 1) << "the index applies once the items are in, whatever the order";
  EXPECT_EQ(drive->ItemHeight(), 30.0f);
  EXPECT_EQ(drive->DropDownKind(), TDropDownKind::Custom);
  EXPECT_EQ(drive->Placement(), TPlacement::Center);
  EXPECT_EQ(form.changes, 0) << "loading raises no change";
  EXPECT_TRUE(drive->StyleApplied());

  const QString written = ostrel::host::WriteComponent(form);
  EXPECT_TRUE(written.contains(QStringLiteral("    DropDownKind = Custom\n"))) << written.toStdString();
  TComboTestForm second;
  ostrel::host::ReadComponentInto(second, written);
  EXPECT_EQ(ostrel::host::WriteComponent(second), written);

  drive->SetItemIndex(0);
  EXPECT_EQ(form.changes, 1);

  // An index past the list selects nothing.
  TComboTestForm third;
  QString past = text;
  past.replace(QStringLiteral("ItemIndex = 1"), QStringLiteral("ItemIndex = 7"));
  ostrel::host::ReadComponentInto(third, past);
  EXPECT_EQ(qobject_cast<TComboBox*>(third.FindComponent(QStringLiteral("Drive")))->ItemIndex(), -1);
}

#include "ComboBox_test.moc"
