// Loads arbitrary bytes as a binary tree document. Whatever loads must save
// to exactly DocBufSize bytes and reload to the same bytes; whatever fails
// must fail with the library's error and leave the earlier tree as it was.

#include "skin/base/uBinaryTreeDoc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
  TBTDOC20 doc;
  doc.TopNode()->AddChildNode_WideString("earlier", {}, "tree");
  const QByteArray before = doc.Save();
  try {
    doc.Load(std::as_bytes(std::span(AData, ASize)));
  } catch (const EBinaryTreeDocError&) {
    if (doc.Save() != before) std::abort();
    return 0;
  }
  const QByteArray saved = doc.Save();
  if (static_cast<std::size_t>(saved.size()) != doc.DocBufSize()) std::abort();
  TBTDOC20 again;
  again.Load(saved);
  if (again.Save() != saved) std::abort();
  static_cast<void>(doc.FindNodeByName(QStringLiteral("NONAME"), true));
  return 0;
}
