#include "skin/host/ComboPopup.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ostrel::host {

QSize RowHeightDelegate::sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const {
  QSize size = QStyledItemDelegate::sizeHint(AOption, AIndex);
  if (FRowHeight > 0) size.setHeight(FRowHeight);
  return size;
}

ComboPopup::ComboPopup(QComboBox& ABox)
    : QFrame(nullptr, Qt::Popup | Qt::FramelessWindowHint),
      FBox(ABox),
      FList(new QListView(this)),
      FDelegate(new RowHeightDelegate(this)) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
  layout->addWidget(FList);
  FList->setModel(ABox.model());
  FList->setModelColumn(ABox.modelColumn());
  FList->setItemDelegate(FDelegate);
  FList->setUniformItemSizes(true);
  FList->setFrameShape(QFrame::NoFrame);
  FList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FList->setSelectionMode(QAbstractItemView::SingleSelection);
  // The row under the pointer is the current one, as in a menu.
  FList->setMouseTracking(true);
  QObject::connect(FList, &QListView::entered, FList, [this](const QModelIndex& AIndex) {
    FList->setCurrentIndex(AIndex);
  });
  QObject::connect(FList, &QListView::clicked, this, [this](const QModelIndex& AIndex) { Choose(AIndex); });
  FList->installEventFilter(this);
  setFocusProxy(FList);
}

ComboPopup::~ComboPopup() {
  // Closing now must not reach an owner that is going away with this popup.
  OnClosed = nullptr;
  OnChosen = nullptr;
}

void ComboPopup::Open(const QRectF& ATarget, TPlacement APlacement, int ARowHeight, int AVisibleRows) {
  FDelegate->SetRowHeight(std::max(ARowHeight, 0));
  FList->reset();
  const int count = FList->model()->rowCount(FList->rootIndex());
  const int rows = std::clamp(count, 1, std::max(AVisibleRows, 1));
  const int rowHeight = ARowHeight > 0 ? ARowHeight : std::max(FList->sizeHintForRow(0), 1);
  const QSizeF size(ATarget.width(), rows * rowHeight + 2 * frameWidth());
  const QScreen* screen = QGuiApplication::screenAt(ATarget.center().toPoint());
  if (screen == nullptr) screen = FBox.screen();
  const QRectF area = screen != nullptr ? QRectF(screen->availableGeometry()) : ATarget.united(QRectF(ATarget.topLeft(), size));
  const QRectF place = PlacePopup(ATarget, size, APlacement, area);
  setGeometry(QRect(static_cast<int>(std::lround(place.x())), static_cast<int>(std::lround(place.y())),
                    static_cast<int>(std::lround(place.width())), static_cast<int>(std::lround(place.height()))));
  const QModelIndex current = FList->model()->index(FBox.currentIndex(), FBox.modelColumn(), FList->rootIndex());
  FList->setCurrentIndex(current);
  if (current.isValid()) FList->scrollTo(current, QAbstractItemView::PositionAtCenter);
  show();
  FList->setFocus(Qt::PopupFocusReason);
}

bool ComboPopup::eventFilter(QObject* AWatched, QEvent* AEvent) {
  if (AWatched == FList && AEvent->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(AEvent);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        Choose(FList->currentIndex());
        return true;
      case Qt::Key_Escape:
      case Qt::Key_F4:
        hide();
        return true;
      case Qt::Key_Up:
        if (key->modifiers().testFlag(Qt::AltModifier)) {
          hide();
          return true;
        }
        break;
      default:
        break;
    }
  }
  return QFrame::eventFilter(AWatched, AEvent);
}

void ComboPopup::hideEvent(QHideEvent* AEvent) {
  QFrame::hideEvent(AEvent);
  if (OnClosed) OnClosed();
}

void ComboPopup::Choose(const QModelIndex& AIndex) {
  if (!AIndex.isValid()) return;
  const int row = AIndex.row();
  // A handler may free the combo box, and this popup with it.
  const QPointer<ComboPopup> self(this);
  if (OnChosen) OnChosen(row);
  if (self) hide();
}

}  // namespace ostrel::host
