#include "skin/controls/uSkinLibraryStart.h"

#include "skin/base/uSkinRegManager.h"

namespace ostrel::skin {

void StartSkinControls() {
  // Table order: button, label, panel, switch bar, progress bar, image, combo box.
  StartSkinLibrary({
      &RegisterSkinCoreFamily,
  });
}

}  // namespace ostrel::skin
