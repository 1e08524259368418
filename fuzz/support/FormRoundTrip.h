#pragma once
// What every stored form must survive: refused with EFormError, leaving no
// component alive, or read into a tree that ADraw paints without fault and
// whose written form reads back and writes again to the very same text.

#include "skin/host/Form.h"
#include "skin/host/FormReader.h"
#include "skin/host/FormWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

[[noreturn]] inline void AbortWithForm(const char* AWhat, const QString& AText) {
  std::fprintf(stderr, "%s\n%s\n", AWhat, AText.toUtf8().constData());
  std::abort();
}

template <class F>
void CheckFormRoundTrip(const std::uint8_t* AData, std::size_t ASize, F&& ADraw) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(AData), static_cast<qsizetype>(ASize));
  TForm root;
  try {
    ostrel::host::ReadComponentInto(root, text);
  } catch (const ostrel::host::EFormError&) {
    if (root.ComponentCount() != 0) AbortWithForm("a refused form left components alive", text);
    return;
  }
  ADraw(static_cast<const TComponent&>(root));
  const QString first = ostrel::host::WriteComponent(root);
  TForm again;
  try {
    ostrel::host::ReadComponentInto(again, first);
  } catch (const ostrel::host::EFormError& e) {
    AbortWithForm(e.what(), first);
  }
  if (ostrel::host::WriteComponent(again) != first) AbortWithForm("writing is not stable", first);
}

}  // namespace fuzz_support
