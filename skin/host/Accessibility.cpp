#include "skin/host/Accessibility.h"

#include "skin/host/ComboBox.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/FormWindow.h"
#include "skin/host/TabOrder.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QWindow>

namespace ostrel::host {

namespace {

QAccessible::Role QtRoleOf(TAccessibleRole ARole) {
  switch (ARole) {
    // A switch is a toggle button to the platforms' screen-reader interfaces:
    // a button that can be checked.
    case TAccessibleRole::Button:
    case TAccessibleRole::Switch:
      return QAccessible::Button;
    case TAccessibleRole::ComboBox:
      return QAccessible::ComboBox;
    case TAccessibleRole::Label:
      return QAccessible::StaticText;
    case TAccessibleRole::Image:
      return QAccessible::Graphic;
    case TAccessibleRole::ProgressBar:
      return QAccessible::ProgressBar;
    case TAccessibleRole::Panel:
      return QAccessible::Grouping;
    case TAccessibleRole::None:
      break;
  }
  return QAccessible::NoRole;
}

bool Declared(const TControl& AControl) { return AControl.AccessibleRole() != TAccessibleRole::None; }

// The nodes below a list of controls: the shown ones with a role, and in
// place of a shown one without a role, the nodes below it.
void CollectNodes(const QList<TControl*>& AControls, QList<TControl*>& AOut) {
  for (TControl* c : AControls) {
    if (!c->Visible()) continue;
    if (Declared(*c)) {
      AOut.append(c);
    } else {
      CollectNodes(c->Controls(), AOut);
    }
  }
}

// In reading order: the tab order's rule, so a screen reader reads the
// window in the order Tab walks it.
QList<TControl*> NodesBelow(const QList<TControl*>& AControls) {
  QList<TControl*> nodes;
  CollectNodes(AControls, nodes);
  QList<TabCandidate> candidates;
  candidates.reserve(nodes.size());
  for (TControl* node : nodes) candidates.append({node, node->TabOrder(), node->AbsoluteRect()});
  return ArrangeInTabOrder(std::move(candidates));
}

// Paint order: later ones lie above earlier ones.
QList<TControl*> NodesBelowInPaintOrder(const QList<TControl*>& AControls) {
  QList<TControl*> nodes;
  CollectNodes(AControls, nodes);
  return nodes;
}

QAccessibleInterface* InterfaceAt(const QList<TControl*>& ANodes, int AIndex) {
  if (AIndex < 0 || AIndex >= ANodes.size()) return nullptr;
  return QAccessible::queryAccessibleInterface(ANodes[AIndex]);
}

int IndexIn(const QList<TControl*>& ANodes, const QAccessibleInterface* AChild) {
  if (AChild == nullptr) return -1;
  return static_cast<int>(ANodes.indexOf(qobject_cast<TControl*>(AChild->object())));
}

// The top-most node at a screen point; ANodes in paint order.
QAccessibleInterface* NodeAt(const QList<TControl*>& ANodes, int AX, int AY) {
  for (qsizetype i = ANodes.size() - 1; i >= 0; --i) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(ANodes[i]);
    if (node != nullptr && node->rect().contains(AX, AY)) return node;
  }
  return nullptr;
}

class ControlAccessible final : public QAccessibleObject, public QAccessibleActionInterface {
 public:
  explicit ControlAccessible(TControl& AControl) : QAccessibleObject(&AControl) {}

  QWindow* window() const override {
    const TForm* form = Control().Form();
    return form != nullptr ? form->View()->windowHandle() : nullptr;
  }

  QAccessibleInterface* parent() const override {
    for (TControl* p = Control().ParentControl(); p != nullptr; p = p->ParentControl()) {
      if (Declared(*p)) return QAccessible::queryAccessibleInterface(p);
    }
    const TForm* form = Control().Form();
    return form != nullptr ? QAccessible::queryAccessibleInterface(form->View()) : nullptr;
  }

  int childCount() const override { return static_cast<int>(NodesBelow(Control().Controls()).size()); }
  QAccessibleInterface* child(int AIndex) const override {
    return InterfaceAt(NodesBelow(Control().Controls()), AIndex);
  }
  int indexOfChild(const QAccessibleInterface* AChild) const override {
    return IndexIn(NodesBelow(Control().Controls()), AChild);
  }
  QAccessibleInterface* childAt(int AX, int AY) const override {
    return NodeAt(NodesBelowInPaintOrder(Control().Controls()), AX, AY);
  }

  QString text(QAccessible::Text AText) const override {
    const TControl& control = Control();
    switch (AText) {
      case QAccessible::Name:
        return control.AccessibleName();
      case QAccessible::Value:
        if (const std::optional<bool> checked = control.AccessibleChecked()) {
          return *checked ? QStringLiteral("on") : QStringLiteral("off");
        }
        return control.AccessibleValue();
      case QAccessible::Description:
        return control.Hint() != control.AccessibleName() ? control.Hint() : QString();
      default:
        return {};
    }
  }

  QAccessible::Role role() const override { return QtRoleOf(Control().AccessibleRole()); }

  QAccessible::State state() const override {
    const TControl& control = Control();
    QAccessible::State state;
    state.disabled = !control.AbsoluteEnabled();
    state.focusable = control.CanFocus();
    state.focused = control.IsFocused();
    state.invisible = !control.IsShowing();
    state.hotTracked = control.IsMouseOver();
    state.pressed = control.Pressed() || control.KeyPressed();
    if (const std::optional<bool> checked = control.AccessibleChecked()) {
      state.checkable = true;
      state.checked = *checked;
    }
    if (const auto* combo = qobject_cast<const TComboBox*>(&control)) {
      state.expandable = true;
      state.expanded = combo->DroppedDown();
    }
    return state;
  }

  QRect rect() const override {
    const TControl& control = Control();
    if (control.Form() == nullptr) return {};
    const TPointF topLeft = control.LocalToScreen(TPointF(0, 0));
    return QRectF(topLeft, TSizeF(control.Width(), control.Height())).toAlignedRect();
  }

  void* interface_cast(QAccessible::InterfaceType AType) override {
    if (AType == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  QStringList actionNames() const override {
    const TControl& control = Control();
    QStringList names;
    switch (control.AccessibleRole()) {
      case TAccessibleRole::Button:
        names << pressAction();
        break;
      case TAccessibleRole::Switch:
        names << toggleAction();
        break;
      case TAccessibleRole::ComboBox:
        names << showMenuAction();
        break;
      default:
        break;
    }
    if (control.CanFocus()) names << setFocusAction();
    return names;
  }

  void doAction(const QString& AAction) override {
    TControl& control = Control();
    if (AAction == setFocusAction()) {
      control.SetFocus();
      // Moved without the pointer, like Tab: whoever watches must see where.
      if (TForm* form = control.Form(); form != nullptr && form->FocusedControl() == &control) {
        form->SetFocusShown(true);
      }
    } else if (AAction == showMenuAction()) {
      if (auto* combo = qobject_cast<TComboBox*>(&control)) combo->DropDown();
    } else if (AAction == pressAction() || AAction == toggleAction()) {
      control.KeyClick();
    }
  }

  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  TControl& Control() const { return *static_cast<TControl*>(object()); }
};

class FormAccessible final : public QAccessibleWidget {
 public:
  explicit FormAccessible(FormView& AView) : QAccessibleWidget(&AView, QAccessible::Window), FView(AView) {}

  int childCount() const override { return static_cast<int>(Nodes().size()); }
  QAccessibleInterface* child(int AIndex) const override { return InterfaceAt(Nodes(), AIndex); }
  int indexOfChild(const QAccessibleInterface* AChild) const override { return IndexIn(Nodes(), AChild); }
  QAccessibleInterface* childAt(int AX, int AY) const override {
    return NodeAt(NodesBelowInPaintOrder(FView.Form().Controls()), AX, AY);
  }

  QAccessibleInterface* focusChild() const override {
    TControl* focused = FView.Form().FocusedControl();
    if (focused == nullptr || !Declared(*focused)) return nullptr;
    return QAccessible::queryAccessibleInterface(focused);
  }

  QString text(QAccessible::Text AText) const override {
    if (AText == QAccessible::Name) return FView.Form().Caption();
    return QAccessibleWidget::text(AText);
  }

 private:
  QList<TControl*> Nodes() const { return NodesBelow(FView.Form().Controls()); }

  FormView& FView;
};

QAccessibleInterface* CreateInterface(const QString&, QObject* AObject) {
  if (auto* view = dynamic_cast<FormView*>(AObject)) return new FormAccessible(*view);
  if (auto* control = qobject_cast<TControl*>(AObject)) return new ControlAccessible(*control);
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&CreateInterface);
    return true;
  }();
  (void)installed;
}

namespace {

// UI thread only, like every control.
ScopedAccessibleEventSink::Sink gSink;

bool Listened(const TControl& AControl) { return (gSink || QAccessible::isActive()) && Declared(AControl); }

void Send(QAccessibleEvent& AEvent) {
  if (gSink) {
    gSink(AEvent);
  } else {
    QAccessible::updateAccessibility(&AEvent);
  }
}

}  // namespace

ScopedAccessibleEventSink::ScopedAccessibleEventSink(Sink ASink) : FPrevious(std::move(gSink)) {
  gSink = std::move(ASink);
}

ScopedAccessibleEventSink::~ScopedAccessibleEventSink() { gSink = std::move(FPrevious); }

void NotifyAccessibleFocus(TControl& AControl) {
  if (!Listened(AControl)) return;
  QAccessibleEvent event(&AControl, QAccessible::Focus);
  Send(event);
}

void NotifyAccessibleStateChanged(TControl& AControl) {
  if (!Listened(AControl)) return;
  QAccessible::State changed;
  changed.checked = true;
  changed.pressed = true;
  QAccessibleStateChangeEvent state(&AControl, changed);
  Send(state);
  QAccessibleValueChangeEvent value(&AControl, AControl.AccessibleValue());
  Send(value);
}

void NotifyAccessibleNameChanged(TControl& AControl) {
  if (!Listened(AControl)) return;
  QAccessibleEvent event(&AControl, QAccessible::NameChanged);
  Send(event);
}

}  // namespace ostrel::host
