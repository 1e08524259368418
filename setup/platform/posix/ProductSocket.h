#pragma once
// Where the POSIX product keeps its running-product signal.

#include <string>
#include <string_view>

namespace ostrel::platform {

struct ProductSocketName {
  // A file system path, or a name in the abstract namespace (no file).
  std::string name;
  bool abstract = false;
};

// "<product>-<uid>.sock" in $XDG_RUNTIME_DIR; "<product>-<uid>" in the
// abstract namespace when that is unset, not absolute, or too long for a
// socket address.
ProductSocketName ProductSocketNameFor(std::string_view product);

}  // namespace ostrel::platform
