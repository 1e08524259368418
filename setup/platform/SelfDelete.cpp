#include "setup/platform/SelfDelete.h"

namespace ostrel::platform {

std::string SelfDeleteBatchText() {
  const std::string file = "\"%" + std::string(kSelfDeleteVariable) + "%\"";
  // Delayed expansion, when the user's settings turn it on, would read '!'
  // in the path; the local scope turns it off for this file alone.
  return "@setlocal DisableDelayedExpansion\r\n"
         "@set /a tries=0\r\n"
         ":try\r\n"
         "@del " + file + " >nul 2>&1\r\n"
         "@if not exist " + file + " goto done\r\n"
         "@set /a tries+=1\r\n"
         "@if %tries% geq " + std::to_string(kSelfDeleteTries) + " goto done\r\n"
         "@ping -n 2 127.0.0.1 >nul 2>&1\r\n"
         "@goto try\r\n"
         ":done\r\n"
         "@del \"%~f0\"";
}

}  // namespace ostrel::platform
