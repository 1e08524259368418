// Loads arbitrary bytes as a binary tree document and every class node of it
// into a text and a picture parameter, and feeds the bytes as a font
// description text. Nothing may crash or raise; what a parameter took from a
// document must save to a document that loads back to the same one.

#include "fuzz/support/DocRoundTrip.h"
#include "skin/base/uBinaryTreeDoc.h"
#include "skin/base/uDrawPictureParam.h"
#include "skin/base/uDrawTextParam.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
  TDrawFont font;
  font.LoadFromString(QString::fromUtf8(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize)));
  TDrawFont again;
  again.LoadFromString(font.SaveToString());
  if (again.SaveToString() != font.SaveToString()) std::abort();

  TBTDOC20 doc;
  try {
    doc.Load(std::as_bytes(std::span(AData, ASize)));
  } catch (const EBinaryTreeDocError&) {
    return 0;
  }
  for (TBTNode20* node : doc.TopNode()->ChildNodes()) {
    if (TBTNode20_Class* asClass = node->ConvertNode_Class()) {
      fuzz_support::CheckDocRoundTrip<TDrawTextParam>(asClass);
      fuzz_support::CheckDocRoundTrip<TDrawPictureParam>(asClass);
    }
  }
  return 0;
}
