#include "skin/host/TabOrder.h"

#include "skin/host/Control.h"
#include "skin/host/Form.h"

#include <algorithm>

namespace ostrel::host {

namespace {

bool ByTop(const TabCandidate& A, const TabCandidate& B) { return A.Rect.top() < B.Rect.top(); }
bool ByLeft(const TabCandidate& A, const TabCandidate& B) { return A.Rect.left() < B.Rect.left(); }

void CollectReachable(const QList<TControl*>& AControls, QList<TabCandidate>& AOut) {
  for (TControl* c : AControls) {
    if (!c->Visible()) continue;
    if (c->CanFocus() && c->TabStop() && c->AbsoluteEnabled() && c->IsShowing()) {
      AOut.append(TabCandidate{c, c->TabOrder(), c->AbsoluteRect()});
    }
    CollectReachable(c->Controls(), AOut);
  }
}

}  // namespace

QList<TControl*> ArrangeInTabOrder(QList<TabCandidate> ACandidates) {
  const auto positional = std::stable_partition(ACandidates.begin(), ACandidates.end(),
                                                [](const TabCandidate& c) { return c.Order >= 0; });
  std::stable_sort(ACandidates.begin(), positional,
                   [](const TabCandidate& A, const TabCandidate& B) { return A.Order < B.Order; });
  std::stable_sort(positional, ACandidates.end(), ByTop);
  for (auto row = positional; row != ACandidates.end();) {
    const TRectF& first = row->Rect;
    const auto end = std::find_if(row + 1, ACandidates.end(), [&first](const TabCandidate& c) {
      return !(c.Rect.center().y() < first.bottom());
    });
    std::stable_sort(row, end, ByLeft);
    row = end;
  }
  QList<TControl*> order;
  order.reserve(ACandidates.size());
  for (const TabCandidate& c : ACandidates) order.append(c.Control);
  return order;
}

QList<TControl*> TabOrderOf(const TForm& AForm) {
  QList<TabCandidate> candidates;
  CollectReachable(AForm.Controls(), candidates);
  return ArrangeInTabOrder(std::move(candidates));
}

TControl* NextInTabOrder(const TForm& AForm, TControl& AFrom) {
  QList<TabCandidate> candidates;
  CollectReachable(AForm.Controls(), candidates);
  if (std::none_of(candidates.cbegin(), candidates.cend(), [&AFrom](const TabCandidate& c) {
        return c.Control == &AFrom;
      })) {
    candidates.append(TabCandidate{&AFrom, AFrom.TabOrder(), AFrom.AbsoluteRect()});
  }
  const QList<TControl*> order = ArrangeInTabOrder(std::move(candidates));
  if (order.size() < 2) return nullptr;
  return order[(order.indexOf(&AFrom) + 1) % order.size()];
}

}  // namespace ostrel::host
