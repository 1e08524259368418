#pragma once
// Where the setup says, in one line each, why it took a turn a user may
// wonder about or why it did not succeed: standard error, each line starting
// "OstrelSetup: ". The setup keeps no log file.

#include <string_view>

namespace ostrel::setup {

// Writes "OstrelSetup: " + line + a line end in one piece, so lines from two
// threads never interleave.
void WriteDiagnostic(std::string_view line);

}  // namespace ostrel::setup
