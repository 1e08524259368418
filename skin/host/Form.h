#pragma once
// TForm: a top-level window holding a tree of controls. The form owns its
// components (they are its Qt children); the window is a QGraphicsView whose
// scene coordinates are the form's client coordinates, one to one.

#include "skin/host/Component.h"
#include "skin/host/Events.h"
#include "skin/host/Types.h"

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <memory>

class QGraphicsScene;
class QGraphicsView;
class QImage;
class TControl;

namespace ostrel::host {
class FormScene;
class FormView;
class PointerRouter;
}  // namespace ostrel::host

class TForm : public TComponent, public IEventProperties {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
  Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
  Q_PROPERTY(int Left READ Left WRITE SetLeft)
  Q_PROPERTY(int Top READ Top WRITE SetTop)
  Q_PROPERTY(TFormPosition Position READ Position WRITE SetPosition)
  Q_PROPERTY(TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_PROPERTY(TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
  Q_PROPERTY(bool Transparency READ Transparency WRITE SetTransparency)
  Q_PROPERTY(TComponent* StyleBook READ StyleBook WRITE SetStyleBook)

 public:
  enum class TFormPosition : std::uint8_t { Designed, ScreenCenter };
  Q_ENUM(TFormPosition)
  enum class TFormBorderStyle : std::uint8_t { None, Single, Sizeable };
  Q_ENUM(TFormBorderStyle)
  enum class TFormStyle : std::uint8_t { Normal, StayOnTop };
  Q_ENUM(TFormStyle)

  explicit TForm(TComponent* AOwner = nullptr);
  ~TForm() override;

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& AValue);
  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }
  void SetClientWidth(int AValue) { SetClientSize(AValue, FClientHeight); }
  void SetClientHeight(int AValue) { SetClientSize(FClientWidth, AValue); }
  void SetClientSize(int AWidth, int AHeight);
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  void SetLeft(int AValue);
  void SetTop(int AValue);
  TFormPosition Position() const { return FPosition; }
  void SetPosition(TFormPosition AValue) { FPosition = AValue; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle AValue);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle AValue);
  bool Transparency() const { return FTransparency; }
  void SetTransparency(bool AValue);
  TComponent* StyleBook() const { return FStyleBook.Get(); }
  void SetStyleBook(TComponent* AValue);

  // The controls at the top of the form's tree, in paint order.
  const QList<TControl*>& Controls() const { return FControls; }
  // The top-most visible, hit-testable control at APoint (client coordinates).
  // A disabled one is found too: it swallows the input, so nothing beneath gets it.
  TControl* ObjectAtPoint(const TPointF& APoint) const;
  TControl* FocusedControl() const { return FFocused; }
  // Whether the focused control draws its focus. A key the window gets shows
  // it and a pointer press hides it again: whoever works the keyboard must see
  // where the keys go, whoever clicked sees where the pointer is.
  bool FocusShown() const { return FFocusShown; }
  void SetFocusShown(bool AValue);
  TControl* Hovered() const;
  TControl* Captured() const;

  // Runs OnCreate once; Show does it first when nobody did.
  void DoCreate();
  void Show();
  void Hide();
  bool Visible() const;
  // Hands the window to the system's window move while a button is held. The
  // press that asked for it ends at once, without a click: the window system
  // keeps the release to itself.
  bool StartWindowDrag();
  // Something outside the controls took the pointer (a popup a control
  // opened): the press in progress ends without a click, as for a window drag.
  void HandOffPointerPress();
  // A window drag the form runs itself, where the window system offers none
  // (an X server without a window manager): the window follows the pointer
  // until the button is released.
  bool SelfDragging() const { return FSelfDrag.Active; }

  // --- keyboard -----------------------------------------------------------------
  // The controls Tab reaches now, in tab order (see TabOrder.h).
  QList<TControl*> TabOrderList() const;
  // Focuses the next (or, backwards, the previous) control in tab order,
  // wrapping around at the ends; false when no control can take the focus.
  bool SelectNextControl(bool AForward);
  // A key the window got (Qt key code): Tab and Shift+Tab move the focus, other
  // keys go to the focused control. True when something used the key. A key
  // the system repeats while it is held is used by no one.
  bool KeyDown(int AKey, QChar AKeyChar, TShiftState AShift, bool AAutoRepeat = false);
  bool KeyUp(int AKey, QChar AKeyChar, TShiftState AShift, bool AAutoRepeat = false);

  TPointF ClientToScreen(const TPointF& APoint) const;
  TPointF ScreenToClient(const TPointF& APoint) const;
  void Invalidate();
  void Realign();

  QGraphicsView* View() const;
  QGraphicsScene* Scene() const;
  // Renders the client area (without the system's window) into an image of
  // the client size, transparent where nothing is drawn.
  QImage RenderToImage() const;

  const TNotifyEvent& OnCreate() const { return FOnCreate; }
  void SetOnCreate(TNotifyEvent AValue) {
    FOnCreate = std::move(AValue);
    FEvents.Forget(QStringLiteral("OnCreate"));
  }

  QStringList EventNames() const override { return FEvents.Names(); }
  bool SetEventHandler(const QString& AEvent, const TEventHandlerRef& AHandler) override {
    return FEvents.Bind(AEvent, AHandler);
  }
  QString EventHandlerName(const QString& AEvent) const override { return FEvents.HandlerName(AEvent); }

  void Loaded() override;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  // Asks the window system to move the window with the pointer; false when it cannot.
  virtual bool BeginSystemMove();

 private:
  friend class TControl;
  friend class ostrel::host::PointerRouter;
  friend class ostrel::host::FormView;

  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // AControl and its children leave the form: it forgets pointer and focus state about them.
  void ForgetControls(TControl* AControl);
  void SetFocusedControl(TControl* AControl);
  // The focused AControl can take the focus no more: the control Tab reaches
  // after it takes it, or none when no other control can.
  void MoveFocusOnFrom(TControl& AControl);
  void HoverChanged(TControl* AControl);
  void UpdateWindowFlags();
  // Tells the window system whether the user may resize the window.
  void KeepSizeUnlessSizeable();
  void PlaceWindow();
  void BeginSelfDrag();
  // Follows the pointer (screen coordinates) during a self-run drag; the
  // release ends it. False when no such drag runs.
  bool SelfDragMove(const QPointF& AScreenPoint);
  bool SelfDragRelease(Qt::MouseButtons AStillHeld);

  struct SelfDrag {
    bool Active = false;
    QPointF PointerStart;  // screen
    QPoint WindowStart;
  };

  std::unique_ptr<ostrel::host::FormScene> FScene;
  std::unique_ptr<ostrel::host::FormView> FView;
  std::unique_ptr<ostrel::host::PointerRouter> FRouter;
  QList<TControl*> FControls;
  TControl* FFocused = nullptr;
  bool FFocusShown = false;
  SelfDrag FSelfDrag;
  // Where the pointer was pressed last, in screen coordinates.
  QPointF FLastPressScreen;
  ostrel::host::WatchedComponent<TComponent> FStyleBook{*this};

  QString FCaption;
  int FClientWidth = 640;
  int FClientHeight = 480;
  int FLeft = 0;
  int FTop = 0;
  TFormPosition FPosition = TFormPosition::Designed;
  TFormBorderStyle FBorderStyle = TFormBorderStyle::Sizeable;
  TFormStyle FFormStyle = TFormStyle::Normal;
  bool FTransparency = false;
  bool FCreated = false;
  bool FPlaced = false;
  bool FRealigning = false;

  TNotifyEvent FOnCreate;
  ostrel::host::TEventTable FEvents;
};

using TFormPosition = TForm::TFormPosition;
using TFormBorderStyle = TForm::TFormBorderStyle;
using TFormStyle = TForm::TFormStyle;
