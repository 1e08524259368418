#include "setup/core/Diagnostics.h"

#include <cstdio>
#include <string>

namespace ostrel::setup {

void WriteDiagnostic(std::string_view line) {
  std::string text = "OstrelSetup: ";
  text += line;
  text += '\n';
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace ostrel::setup
