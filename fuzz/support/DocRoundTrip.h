#pragma once
// What every object that stores itself in a document must survive: loaded
// from any class node, stored, loaded into a fresh object and stored again,
// it gives the same bytes both times.

#include "skin/base/uBinaryTreeDoc.h"

#include <cstdlib>

namespace fuzz_support {

// AInspect sees the object loaded from ANode before it is stored.
template <class T, class F>
void CheckDocRoundTrip(TBTNode20_Class* ANode, F&& AInspect) {
  T first;
  first.LoadFromDocNode(ANode);
  AInspect(first);
  TBTDOC20 once;
  first.SaveToDocNode(once.TopNode()->AddChildNode_Class(QStringLiteral("BinaryObject")));
  const QByteArray saved = once.Save();

  T second;
  second.LoadFromDocNode(once.TopNode()->ChildNodes().GetItems(0)->ConvertNode_Class());
  TBTDOC20 twice;
  second.SaveToDocNode(twice.TopNode()->AddChildNode_Class(QStringLiteral("BinaryObject")));
  if (twice.Save() != saved) std::abort();
}

template <class T>
void CheckDocRoundTrip(TBTNode20_Class* ANode) {
  CheckDocRoundTrip<T>(ANode, [](const T&) {});
}

}  // namespace fuzz_support
