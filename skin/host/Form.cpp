#include "skin/host/Form.h"

#include "skin/host/Accessibility.h"
#include "skin/host/Control.h"
#include "skin/host/ControlItem.h"
#include "skin/host/FormWindow.h"
#include "skin/host/PointerRouter.h"
#include "skin/host/TabOrder.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QToolTip>
#include <QWindow>

namespace {

Qt::CursorShape ShapeOf(TCursor ACursor) {
  switch (ACursor) {
    case TCursor::crCross:
      return Qt::CrossCursor;
    case TCursor::crIBeam:
      return Qt::IBeamCursor;
    case TCursor::crSizeNESW:
      return Qt::SizeBDiagCursor;
    case TCursor::crSizeNS:
      return Qt::SizeVerCursor;
    case TCursor::crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case TCursor::crSizeWE:
      return Qt::SizeHorCursor;
    case TCursor::crUpArrow:
      return Qt::UpArrowCursor;
    case TCursor::crHourGlass:
      return Qt::WaitCursor;
    case TCursor::crNo:
      return Qt::ForbiddenCursor;
    case TCursor::crHandPoint:
      return Qt::PointingHandCursor;
    case TCursor::crSizeAll:
      return Qt::SizeAllCursor;
    case TCursor::crDefault:
    case TCursor::crArrow:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

TForm::TForm(TComponent* AOwner)
    : TComponent(AOwner),
      FScene(std::make_unique<ostrel::host::FormScene>(*this)),
      FView(std::make_unique<ostrel::host::FormView>(*this, *FScene)),
      FRouter(std::make_unique<ostrel::host::PointerRouter>(*this)) {
  FEvents.Add(QStringLiteral("OnCreate"), FOnCreate);
  ostrel::host::InstallAccessibility();
  FScene->setItemIndexMethod(QGraphicsScene::NoIndex);
  SetClientSize(FClientWidth, FClientHeight);
  UpdateWindowFlags();
}

TForm::~TForm() {
  // Controls go first, while the scene they are drawn in still exists; the
  // scene must never free an item itself.
  Destroying();
  DestroyComponents();
  while (!FControls.isEmpty()) FControls.last()->SetParent(nullptr);
  FView.reset();
}

void TForm::SetCaption(const QString& AValue) {
  FCaption = AValue;
  FView->setWindowTitle(AValue);
}

void TForm::SetClientSize(int AWidth, int AHeight) {
  FClientWidth = std::max(AWidth, 0);
  FClientHeight = std::max(AHeight, 0);
  FScene->setSceneRect(0, 0, FClientWidth, FClientHeight);
  FView->resize(FClientWidth, FClientHeight);
  KeepSizeUnlessSizeable();
  Realign();
}

void TForm::KeepSizeUnlessSizeable() {
  // Only a sizeable border lets a user resize the window. Without the window
  // system knowing, a tiling window manager stretches a fixed window over its
  // tile and a maximize key blows it up, the client area drawn in a corner of
  // a transparent expanse that swallows the clicks meant for what lies behind.
  if (FBorderStyle == TFormBorderStyle::Sizeable) {
    FView->setMinimumSize(0, 0);
    FView->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    FView->setFixedSize(FClientWidth, FClientHeight);
  }
}

void TForm::SetLeft(int AValue) {
  FLeft = AValue;
  if (FPlaced) FView->move(FLeft, FTop);
}

void TForm::SetTop(int AValue) {
  FTop = AValue;
  if (FPlaced) FView->move(FLeft, FTop);
}

void TForm::SetBorderStyle(TFormBorderStyle AValue) {
  FBorderStyle = AValue;
  KeepSizeUnlessSizeable();
  UpdateWindowFlags();
}

void TForm::SetFormStyle(TFormStyle AValue) {
  FFormStyle = AValue;
  UpdateWindowFlags();
}

void TForm::SetTransparency(bool AValue) {
  FTransparency = AValue;
  UpdateWindowFlags();
}

void TForm::UpdateWindowFlags() {
  const bool wasVisible = FView->isVisible();
  Qt::WindowFlags flags = Qt::Window;
  // A transparent window shows only what its controls draw, so the system's
  // frame and title bar have no place on it either.
  if (FBorderStyle == TFormBorderStyle::None || FTransparency) flags |= Qt::FramelessWindowHint;
  if (FFormStyle == TFormStyle::StayOnTop) flags |= Qt::WindowStaysOnTopHint;
  FView->setWindowFlags(flags);
  FView->setAttribute(Qt::WA_TranslucentBackground, FTransparency);
  FView->viewport()->setAttribute(Qt::WA_TranslucentBackground, FTransparency);
  FView->viewport()->setAutoFillBackground(!FTransparency);
  if (wasVisible) FView->show();
}

void TForm::SetStyleBook(TComponent* AValue) { FStyleBook.Set(AValue); }

void TForm::Notification(TComponent* AComponent, TOperation AOperation) {
  TComponent::Notification(AComponent, AOperation);
  FStyleBook.Removed(AComponent, AOperation);
}

TControl* TForm::ObjectAtPoint(const TPointF& APoint) const { return FRouter->ObjectAtPoint(APoint); }

TControl* TForm::Hovered() const { return FRouter->Hovered(); }

TControl* TForm::Captured() const { return FRouter->Captured(); }

void TForm::InsertControl(TControl* AControl) {
  FControls.append(AControl);
  FScene->addItem(AControl->Item());
}

void TForm::RemoveControl(TControl* AControl) { FControls.removeOne(AControl); }

void TForm::ForgetControls(TControl* AControl) {
  FRouter->Forget(AControl);
  if (FFocused != nullptr && (FFocused == AControl || AControl->IsAncestorOf(FFocused))) FFocused = nullptr;
}

void TForm::SetFocusedControl(TControl* AControl) {
  if (AControl == FFocused) return;
  QPointer<TControl> old = FFocused;
  QPointer<TControl> next = AControl;
  FFocused = AControl;
  if (old) old->DoExit();
  if (next && FFocused == next) {
    next->DoEnter();
    if (next && FFocused == next) ostrel::host::NotifyAccessibleFocus(*next);
  }
}

void TForm::MoveFocusOnFrom(TControl& AControl) { SetFocusedControl(ostrel::host::NextInTabOrder(*this, AControl)); }

void TForm::SetFocusShown(bool AValue) {
  if (AValue == FFocusShown) return;
  FFocusShown = AValue;
  if (FFocused != nullptr) FFocused->FocusShownChanged();
}

void TForm::HoverChanged(TControl* AControl) {
  QWidget* viewport = FView->viewport();
  TCursor cursor = TCursor::crDefault;
  for (const TControl* c = AControl; c != nullptr && cursor == TCursor::crDefault; c = c->ParentControl()) {
    cursor = c->Cursor();
  }
  if (cursor == TCursor::crDefault) {
    viewport->unsetCursor();
  } else {
    viewport->setCursor(ShapeOf(cursor));
  }
  if (AControl == nullptr || !AControl->ShowHint()) QToolTip::hideText();
}

void TForm::DoCreate() {
  if (FCreated) return;
  FCreated = true;
  if (FOnCreate) FOnCreate(this);
}

void TForm::PlaceWindow() {
  if (FPlaced) return;
  FPlaced = true;
  if (FPosition == TFormPosition::ScreenCenter) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      FLeft = area.x() + (area.width() - FClientWidth) / 2;
      FTop = area.y() + (area.height() - FClientHeight) / 2;
    }
  }
  FView->move(FLeft, FTop);
}

void TForm::Show() {
  DoCreate();
  PlaceWindow();
  FView->show();
}

void TForm::Hide() { FView->hide(); }

bool TForm::Visible() const { return FView->isVisible(); }

bool TForm::BeginSystemMove() {
  QWindow* window = FView->windowHandle();
  return window != nullptr && window->startSystemMove();
}

bool TForm::StartWindowDrag() {
  if (!FView->isVisible()) return false;
  if (!BeginSystemMove()) BeginSelfDrag();
  FRouter->HandOffPress();
  return true;
}

void TForm::BeginSelfDrag() {
  FSelfDrag = SelfDrag{true, FLastPressScreen, FView->pos()};
  // The pointer may leave the window faster than the window follows it.
  FView->viewport()->grabMouse();
}

bool TForm::SelfDragMove(const QPointF& AScreenPoint) {
  if (!FSelfDrag.Active) return false;
  const QPointF delta = AScreenPoint - FSelfDrag.PointerStart;
  FLeft = FSelfDrag.WindowStart.x() + qRound(delta.x());
  FTop = FSelfDrag.WindowStart.y() + qRound(delta.y());
  FView->move(FLeft, FTop);
  return true;
}

bool TForm::SelfDragRelease(Qt::MouseButtons AStillHeld) {
  if (!FSelfDrag.Active) return false;
  if (AStillHeld == Qt::NoButton) {
    FSelfDrag.Active = false;
    FView->viewport()->releaseMouse();
  }
  return true;
}

QList<TControl*> TForm::TabOrderList() const { return ostrel::host::TabOrderOf(*this); }

bool TForm::SelectNextControl(bool AForward) {
  const QList<TControl*> order = TabOrderList();
  if (order.isEmpty()) return false;
  const qsizetype at = FFocused != nullptr ? order.indexOf(FFocused) : -1;
  qsizetype next = 0;
  if (at < 0) {
    next = AForward ? 0 : order.size() - 1;
  } else {
    next = (at + (AForward ? 1 : order.size() - 1)) % order.size();
  }
  order[next]->SetFocus();
  return FFocused == order[next];
}

bool TForm::KeyDown(int AKey, QChar AKeyChar, TShiftState AShift, bool AAutoRepeat) {
  SetFocusShown(true);
  const bool modified = AShift.Contains(TShiftStateItem::ssCtrl) || AShift.Contains(TShiftStateItem::ssAlt) ||
                        AShift.Contains(TShiftStateItem::ssCommand);
  if (!modified && (AKey == Qt::Key_Tab || AKey == Qt::Key_Backtab)) {
    const bool backwards = AKey == Qt::Key_Backtab || AShift.Contains(TShiftStateItem::ssShift);
    return SelectNextControl(!backwards);
  }
  if (AAutoRepeat || FFocused == nullptr) return false;
  int key = AKey;
  FFocused->KeyDown(key, AKeyChar, AShift);
  return key == 0;
}

bool TForm::KeyUp(int AKey, QChar AKeyChar, TShiftState AShift, bool AAutoRepeat) {
  if (AAutoRepeat || FFocused == nullptr) return false;
  int key = AKey;
  FFocused->KeyUp(key, AKeyChar, AShift);
  return key == 0;
}

void TForm::HandOffPointerPress() { FRouter->HandOffPress(); }

TPointF TForm::ClientToScreen(const TPointF& APoint) const {
  return FView->viewport()->mapToGlobal(FView->mapFromScene(0, 0)) + APoint;
}

TPointF TForm::ScreenToClient(const TPointF& APoint) const {
  return APoint - QPointF(FView->viewport()->mapToGlobal(FView->mapFromScene(0, 0)));
}

void TForm::Invalidate() { FScene->update(); }

void TForm::Realign() {
  if (IsLoading() || IsDestroying() || FRealigning) return;
  FRealigning = true;
  ostrel::host::AlignControls(FControls, TRectF(0, 0, FClientWidth, FClientHeight));
  FRealigning = false;
}

void TForm::Loaded() {
  TComponent::Loaded();
  Realign();
}

QGraphicsView* TForm::View() const { return FView.get(); }

QGraphicsScene* TForm::Scene() const { return FScene.get(); }

QImage TForm::RenderToImage() const {
  QImage image(std::max(FClientWidth, 1), std::max(FClientHeight, 1), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  const QRectF client(0, 0, FClientWidth, FClientHeight);
  FScene->render(&painter, client, client);
  return image;
}
