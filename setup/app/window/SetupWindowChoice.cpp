#include "setup/app/window/SetupWindowChoice.h"

#include "setup/app/window/MainFormWindow.h"

#include <algorithm>
#include <exception>

namespace ostrel::app {

namespace {

// A reader's message may span lines and end a sentence; the program says it
// in one line, as part of a sentence of its own.
std::string OneLine(std::string AText) {
  std::ranges::replace_if(AText, [](char c) { return c == '\n' || c == '\r'; }, ' ');
  while (!AText.empty() && (AText.back() == '.' || AText.back() == ' ')) AText.pop_back();
  return AText;
}

}  // namespace

CreatedWindow CreateSetupWindow(platform::ISystem& system, ResourceFinder resources) {
  const auto form = resources ? resources("TMAINFORM") : std::nullopt;
  if (!form) return {nullptr, "its stored form is missing or damaged"};
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(form->data()), static_cast<qsizetype>(form->size()));
  try {
    return {std::make_unique<MainFormWindow>(text, resources, [&system] { system.ExitProcess(0); }), {}};
  } catch (const std::exception& error) {
    return {nullptr, OneLine("its stored form does not read: " + std::string(error.what()))};
  }
}

}  // namespace ostrel::app
