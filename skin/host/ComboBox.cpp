#include "skin/host/ComboBox.h"

#include "skin/host/ComboPopup.h"
#include "skin/host/Form.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>

namespace ostrel::host {

// The Qt combo box behind a TComboBox: it keeps items, selection and keyboard,
// and leaves painting and the drop-down to its control.
class ComboBoxWidget final : public QComboBox {
 public:
  explicit ComboBoxWidget(TComboBox& AOwner) : FOwner(&AOwner) {
    // Only what the control paints shows; the form shines through elsewhere.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
  }

  // The control is going; nothing may reach it any more.
  void Detach() { FOwner = nullptr; }

  QStyleOptionComboBox StyleOption() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return option;
  }

  void showPopup() override {
    if (FOwner != nullptr) FOwner->DropDown();
  }
  void hidePopup() override {
    if (FOwner != nullptr) {
      FOwner->CloseDropDown();
    } else {
      QComboBox::hidePopup();
    }
  }
  void ShowNativePopup() { QComboBox::showPopup(); }
  void HideNativePopup() { QComboBox::hidePopup(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (FOwner == nullptr) return;
    QPainter painter(this);
    FOwner->PaintFace(painter);
  }
  void focusInEvent(QFocusEvent* AEvent) override {
    QComboBox::focusInEvent(AEvent);
    if (FOwner != nullptr) FOwner->HostFocused();
  }

 private:
  TComboBox* FOwner;
};

namespace {

// The frame and the arrow: the whole control.
class ComboBackground final : public TStyleObject {
 public:
  ComboBackground(TComboBox& AControl, ComboBoxWidget& ABox)
      : TStyleObject(AControl, QStringLiteral("background")), FBox(ABox) {}
  TRectF BoundsRect() const override { return Control().LocalRect(); }

 protected:
  void DrawHostLook(QPainter& ACanvas) const override {
    const QStyleOptionComboBox option = FBox.StyleOption();
    FBox.style()->drawComplexControl(QStyle::CC_ComboBox, &option, &ACanvas, &FBox);
  }

 private:
  ComboBoxWidget& FBox;
};

// The selected item's text inside the frame.
class ComboContent final : public TStyleObject {
 public:
  ComboContent(TComboBox& AControl, ComboBoxWidget& ABox)
      : TStyleObject(AControl, QStringLiteral("content")), FBox(ABox) {}
  TRectF BoundsRect() const override {
    const QStyleOptionComboBox option = FBox.StyleOption();
    return FBox.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &FBox);
  }

 protected:
  void DrawHostLook(QPainter& ACanvas) const override {
    const QStyleOptionComboBox option = FBox.StyleOption();
    FBox.style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &ACanvas, &FBox);
  }

 private:
  ComboBoxWidget& FBox;
};

const QString kOnChange = QStringLiteral("OnChange");
const QString kOnPopup = QStringLiteral("OnPopup");
const QString kOnClosePopup = QStringLiteral("OnClosePopup");

}  // namespace

}  // namespace ostrel::host

using ostrel::host::ComboBoxWidget;

TComboBox::TComboBox(TComponent* AOwner) : TWidgetProxy(AOwner) {
  EventTable().Add(ostrel::host::kOnChange, FOnChange);
  EventTable().Add(ostrel::host::kOnPopup, FOnPopup);
  EventTable().Add(ostrel::host::kOnClosePopup, FOnClosePopup);
  auto box = std::make_unique<ComboBoxWidget>(*this);
  FBox = box.get();
  FNativeDelegate = new ostrel::host::RowHeightDelegate(box.get());
  box->setMaxVisibleItems(FDropDownCount);
  QObject::connect(box.get(), &QComboBox::currentIndexChanged, this, [this] { SelectionChanged(); });
  SetWidget(std::move(box));
  SetCanFocus(true);
  SetSize(100, 22);
}

TComboBox::~TComboBox() {
  FPopup.reset();
  FStyleObjects.clear();
  if (FBox) {
    QObject::disconnect(FBox, nullptr, this, nullptr);
    FBox->Detach();
  }
}

// --- items and selection --------------------------------------------------------

QStringList TComboBox::Items() const {
  QStringList items;
  for (int i = 0; i < Count(); ++i) items.append(FBox->itemText(i));
  return items;
}

void TComboBox::SetItems(const QStringList& AValue) {
  const int before = FBox->currentIndex();
  {
    const QSignalBlocker quiet(FBox.data());
    FBox->clear();
    FBox->addItems(AValue);
    // Qt selects the first item added to an empty box; a new list starts without a selection.
    FBox->setCurrentIndex(-1);
  }
  Repaint();
  if (before != -1) SelectionChanged();
}

int TComboBox::Count() const { return FBox->count(); }

QString TComboBox::ItemText(int AIndex) const {
  return AIndex >= 0 && AIndex < Count() ? FBox->itemText(AIndex) : QString();
}

void TComboBox::SetItemText(int AIndex, const QString& AText) {
  if (AIndex < 0 || AIndex >= Count()) {
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(AIndex));
  }
  FBox->setItemText(AIndex, AText);
  Repaint();
}

int TComboBox::AddItem(const QString& AText) {
  {
    const QSignalBlocker quiet(FBox.data());
    const int selected = FBox->currentIndex();
    FBox->addItem(AText);
    FBox->setCurrentIndex(selected);
  }
  Repaint();
  return Count() - 1;
}

void TComboBox::ClearItems() { SetItems({}); }

int TComboBox::ItemIndex() const { return IsLoading() ? FPendingItemIndex : FBox->currentIndex(); }

void TComboBox::SetItemIndex(int AValue) {
  if (IsLoading()) {
    FPendingItemIndex = AValue;
    return;
  }
  if (AValue < -1 || AValue >= Count()) AValue = -1;
  FBox->setCurrentIndex(AValue);
}

QString TComboBox::SelectedText() const { return ItemText(FBox->currentIndex()); }

void TComboBox::SelectionChanged() {
  if (IsLoading()) return;
  Repaint();
  DoChange();
}

void TComboBox::DoChange() {
  if (FOnChange) FOnChange(this);
}

// --- drop-down ----------------------------------------------------------------------

void TComboBox::SetItemHeight(float AValue) {
  FItemHeight = std::isfinite(AValue) && AValue > 0 ? AValue : 0.0f;
}

void TComboBox::SetDropDownCount(int AValue) {
  FDropDownCount = std::max(AValue, 1);
  FBox->setMaxVisibleItems(FDropDownCount);
}

void TComboBox::SetDropDownKind(TDropDownKind AValue) {
  if (AValue == FDropDownKind) return;
  CloseDropDown();
  FDropDownKind = AValue;
}

int TComboBox::RowHeight() const { return static_cast<int>(std::ceil(FItemHeight)); }

void TComboBox::ApplyRowHeight() {
  if (RowHeight() <= 0 && FBox->itemDelegate() != FNativeDelegate) return;
  FNativeDelegate->SetRowHeight(RowHeight());
  if (FBox->itemDelegate() != FNativeDelegate) FBox->setItemDelegate(FNativeDelegate);
}

void TComboBox::DropDown() {
  if (DroppedDown() || Count() == 0 || !Visible() || !AbsoluteEnabled()) return;
  TForm* form = Form();
  if (form == nullptr) return;
  if (FDropDownKind == TDropDownKind::Native) {
    ApplyRowHeight();
    FBox->ShowNativePopup();
    // Qt gives no signal when its list closes by itself (a click beside it).
    if (QWidget* list = FBox->view()->window(); list != nullptr && list != FBox) list->installEventFilter(this);
  } else {
    OpenCustomPopup();
  }
  FPopupOpen = DroppedDown();
  if (!FPopupOpen) return;
  form->HandOffPointerPress();
  if (FOnPopup) FOnPopup(this);
}

void TComboBox::OpenCustomPopup() {
  if (!FPopup) {
    FPopup = std::make_unique<ostrel::host::ComboPopup>(*FBox);
    FPopup->OnChosen = [this](int ARow) { SetItemIndex(ARow); };
    FPopup->OnClosed = [this] { PopupClosed(); };
  }
  const TRectF target(LocalToScreen(TPointF(0, 0)), LocalToScreen(TPointF(Width(), Height())));
  FPopup->Open(target, FPlacement, RowHeight(), FDropDownCount);
}

void TComboBox::CloseDropDown() {
  if (FPopup && FPopup->isVisible()) FPopup->hide();
  if (FBox && FBox->view()->isVisible()) FBox->HideNativePopup();
  PopupClosed();
}

void TComboBox::PopupClosed() {
  if (!FPopupOpen) return;
  FPopupOpen = false;
  // The keys go back to the box, as after any list closes.
  if (QGraphicsProxyWidget* proxy = Proxy(); proxy != nullptr && IsFocused()) proxy->setFocus(Qt::PopupFocusReason);
  if (FOnClosePopup) FOnClosePopup(this);
}

bool TComboBox::DroppedDown() const {
  if (FPopup && FPopup->isVisible()) return true;
  return FBox && FBox->view()->isVisible();
}

bool TComboBox::eventFilter(QObject* AWatched, QEvent* AEvent) {
  if (AEvent->type() == QEvent::Hide && FBox && AWatched == FBox->view()->window()) PopupClosed();
  return TWidgetProxy::eventFilter(AWatched, AEvent);
}

QComboBox* TComboBox::HostWidget() const { return FBox.data(); }

QWidget* TComboBox::DropDownWindow() const {
  if (FPopup) return FPopup.get();
  return FBox && FBox->view()->window() != FBox ? FBox->view()->window() : nullptr;
}

// --- style --------------------------------------------------------------------------

void TComboBox::ApplyStyleLookup() {
  if (FStyleApplied || !FBox) return;
  FStyleObjects.push_back(std::make_unique<ostrel::host::ComboBackground>(*this, *FBox));
  FStyleObjects.push_back(std::make_unique<ostrel::host::ComboContent>(*this, *FBox));
  FStyleApplied = true;
  ApplyStyle();
  Repaint();
}

void TComboBox::NeedStyleLookup() {
  if (!FStyleApplied) return;
  FreeStyle();
  FStyleObjects.clear();
  FStyleApplied = false;
  Repaint();
}

TStyleObject* TComboBox::FindStyleResource(const QString& AStyleName) const {
  for (const auto& part : FStyleObjects) {
    if (part->StyleName().compare(AStyleName, Qt::CaseInsensitive) == 0) return part.get();
  }
  return nullptr;
}

void TComboBox::ApplyStyle() {}

void TComboBox::FreeStyle() {}

void TComboBox::PaintFace(QPainter& ACanvas) {
  ApplyStyleLookup();
  const qreal opacity = AbsoluteOpacity();
  for (const auto& part : FStyleObjects) part->Paint(ACanvas, opacity);
}

// --- focus, state, loading ------------------------------------------------------------

void TComboBox::HostFocused() {
  if (!IsFocused()) SetFocus();
}

void TComboBox::DoEnter() {
  TWidgetProxy::DoEnter();
  if (QGraphicsProxyWidget* proxy = Proxy()) proxy->setFocus(Qt::OtherFocusReason);
}

void TComboBox::DoExit() {
  TWidgetProxy::DoExit();
  CloseDropDown();
  if (QGraphicsProxyWidget* proxy = Proxy(); proxy != nullptr && proxy->hasFocus()) proxy->clearFocus();
}

void TComboBox::AbsoluteChanged() {
  TWidgetProxy::AbsoluteChanged();
  if (!AbsoluteEnabled()) CloseDropDown();
}

void TComboBox::Loaded() {
  TWidgetProxy::Loaded();
  {
    // The stored selection is part of loading: it raises no OnChange.
    const QSignalBlocker quiet(FBox.data());
    SetItemIndex(FPendingItemIndex);
  }
  FPendingItemIndex = -1;
  ApplyStyleLookup();
}

void TComboBox::SetOnChange(TNotifyEvent AValue) {
  FOnChange = std::move(AValue);
  EventTable().Forget(ostrel::host::kOnChange);
}

void TComboBox::SetOnPopup(TNotifyEvent AValue) {
  FOnPopup = std::move(AValue);
  EventTable().Forget(ostrel::host::kOnPopup);
}

void TComboBox::SetOnClosePopup(TNotifyEvent AValue) {
  FOnClosePopup = std::move(AValue);
  EventTable().Forget(ostrel::host::kOnClosePopup);
}
