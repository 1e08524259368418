#pragma once
// TComboBox: the host's drop-down list control. Qt's own QComboBox, proxied
// into the form, keeps the items and the selection and handles the keyboard
// (arrows, Home/End, type-ahead, Alt+Down / F4 / Space to open) and
// accessibility; this class publishes them to stored forms and adds what the
// skin needs:
//
// - the drop-down: Native is QComboBox's own popup (embedded in the form's
//   scene); Custom is a popup window of its own with Qt's list view over the
//   same items, rows ItemHeight high, placed by Placement against the control,
//   so it may reach beyond the form's window;
// - style application: the host look comes in parts (TStyleObject) named
//   "background" (frame and arrow) and "content" (the selected item's text),
//   built when the style is applied and freed with it. ApplyStyle runs after
//   they are built, FreeStyle before they go; a skin strips a part's host
//   drawing there and paints it through the part's OnPaint.
//
// The control applies its opacity itself (the proxy stays at 1): the host
// look is drawn at AbsoluteOpacity, a skin's OnPaint applies it like a
// control's own Paint does.

#include "skin/host/PopupPlacement.h"
#include "skin/host/StyleObject.h"
#include "skin/host/WidgetProxy.h"

#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QComboBox;

namespace ostrel::host {
class ComboBoxWidget;
class ComboPopup;
class RowHeightDelegate;
}  // namespace ostrel::host

class TComboBox : public TWidgetProxy {
  Q_OBJECT
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
  Q_PROPERTY(float ItemHeight READ ItemHeight WRITE SetItemHeight)
  Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
  Q_PROPERTY(TDropDownKind DropDownKind READ DropDownKind WRITE SetDropDownKind)
  Q_PROPERTY(TPlacement Placement READ Placement WRITE SetPlacement)

 public:
  enum class TDropDownKind : std::uint8_t { Custom, Native };
  Q_ENUM(TDropDownKind)

  explicit TComboBox(TComponent* AOwner = nullptr);
  ~TComboBox() override;

  // --- items and selection ------------------------------------------------
  QStringList Items() const;
  // Replaces the items; the selection is cleared.
  void SetItems(const QStringList& AValue);
  int Count() const;
  // Empty outside the list.
  QString ItemText(int AIndex) const;
  // Raises an Exception for an index outside the list.
  void SetItemText(int AIndex, const QString& AText);
  // Appends; the selection stays as it is. Returns the new item's index.
  int AddItem(const QString& AText);
  void ClearItems();

  // -1: no selection. An index outside the list selects nothing; one read
  // from a stored form applies once the form has loaded, so its place in the
  // text does not matter.
  int ItemIndex() const;
  void SetItemIndex(int AValue);
  // The selected item's text, empty without a selection.
  QString SelectedText() const;

  // --- drop-down ------------------------------------------------------------
  // Row height of the drop-down; 0 takes the style's.
  float ItemHeight() const { return FItemHeight; }
  void SetItemHeight(float AValue);
  // Rows the drop-down shows before it scrolls (at least 1).
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int AValue);
  TDropDownKind DropDownKind() const { return FDropDownKind; }
  void SetDropDownKind(TDropDownKind AValue);
  TPlacement Placement() const { return FPlacement; }
  void SetPlacement(TPlacement AValue) { FPlacement = AValue; }

  // Opens the list (nothing without items, form, visibility or enabledness).
  // The press that opened it ends at once: the list has the pointer now.
  void DropDown();
  void CloseDropDown();
  bool DroppedDown() const;

  // --- style ------------------------------------------------------------------
  // Builds the style parts and runs ApplyStyle, unless they exist. Loading and
  // the first paint apply the style on their own.
  void ApplyStyleLookup();
  // Frees the style (FreeStyle first) so the next use applies it afresh.
  void NeedStyleLookup();
  bool StyleApplied() const { return FStyleApplied; }
  // A part of the applied style by its style name; none before the style is applied.
  TStyleObject* FindStyleResource(const QString& AStyleName) const;
  const std::vector<std::unique_ptr<TStyleObject>>& StyleObjects() const { return FStyleObjects; }

  // The Qt combo box behind the control, and the drop-down's window when one
  // was made (the custom popup, or QComboBox's own list).
  QComboBox* HostWidget() const;
  QWidget* DropDownWindow() const;

  // --- events -------------------------------------------------------------------
  // The selection changed (by the user or in code; not while loading).
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue);
  const TNotifyEvent& OnPopup() const { return FOnPopup; }
  void SetOnPopup(TNotifyEvent AValue);
  const TNotifyEvent& OnClosePopup() const { return FOnClosePopup; }
  void SetOnClosePopup(TNotifyEvent AValue);

  void Loaded() override;

 protected:
  virtual void ApplyStyle();
  virtual void FreeStyle();
  virtual void DoChange();

  void DoEnter() override;
  void DoExit() override;
  void AbsoluteChanged() override;
  qreal ProxyOpacity() const override { return 1.0; }
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

 private:
  friend class ostrel::host::ComboBoxWidget;

  void PaintFace(QPainter& ACanvas);
  void SelectionChanged();
  void HostFocused();
  void OpenCustomPopup();
  void PopupClosed();
  void ApplyRowHeight();
  int RowHeight() const;

  QPointer<ostrel::host::ComboBoxWidget> FBox;
  std::unique_ptr<ostrel::host::ComboPopup> FPopup;
  ostrel::host::RowHeightDelegate* FNativeDelegate = nullptr;  // owned by the Qt combo box
  std::vector<std::unique_ptr<TStyleObject>> FStyleObjects;
  bool FStyleApplied = false;
  bool FPopupOpen = false;
  int FPendingItemIndex = -1;
  float FItemHeight = 0.0f;
  int FDropDownCount = 8;
  TDropDownKind FDropDownKind = TDropDownKind::Native;
  TPlacement FPlacement = TPlacement::Bottom;

  TNotifyEvent FOnChange;
  TNotifyEvent FOnPopup;
  TNotifyEvent FOnClosePopup;
};

using TDropDownKind = TComboBox::TDropDownKind;
