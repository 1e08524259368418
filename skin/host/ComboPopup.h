#pragma once
// The drop-down window of a combo box with a custom drop-down: a top-level
// popup holding Qt's own list view over the combo box's model, so the
// keyboard, the pointer and accessibility work as in any Qt list. Being a
// window of its own, it may reach beyond the form's window.

#include "skin/host/PopupPlacement.h"

#include <QFrame>
#include <QStyledItemDelegate>

#include <functional>

class QComboBox;
class QListView;

namespace ostrel::host {

// Rows of a fixed height; the style's own height while that is 0.
class RowHeightDelegate final : public QStyledItemDelegate {
 public:
  explicit RowHeightDelegate(QObject* AParent) : QStyledItemDelegate(AParent) {}
  void SetRowHeight(int AHeight) { FRowHeight = AHeight; }
  QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override;

 private:
  int FRowHeight = 0;
};

class ComboPopup final : public QFrame {
 public:
  explicit ComboPopup(QComboBox& ABox);
  ~ComboPopup() override;

  // Shows the box's items with its current one selected: at most AVisibleRows
  // rows of ARowHeight (the style's height for 0), as wide as ATarget, placed
  // against ATarget (screen coordinates) and kept on its screen.
  void Open(const QRectF& ATarget, TPlacement APlacement, int ARowHeight, int AVisibleRows);
  QListView& List() const { return *FList; }

  // The row the user took (click, Enter); the popup closes after it.
  std::function<void(int ARow)> OnChosen;
  // The popup closed, for whatever reason.
  std::function<void()> OnClosed;

 protected:
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
  void hideEvent(QHideEvent* AEvent) override;

 private:
  void Choose(const QModelIndex& AIndex);

  QComboBox& FBox;
  QListView* FList;             // child widget
  RowHeightDelegate* FDelegate;  // child object
};

}  // namespace ostrel::host
