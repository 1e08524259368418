#include "skin/controls/uSkinLibraryStart.h"

#include "skin/base/uSkinRegManager.h"
#include "skin/controls/uSkinButtonType.h"
#include "skin/controls/uSkinImageType.h"
#include "skin/controls/uSkinLabelType.h"
#include "skin/controls/uSkinPanelType.h"

namespace ostrel::skin {

void StartSkinControls() {
  // Table order: button, label, panel, switch bar, progress bar, image, combo box.
  StartSkinLibrary({
      &RegisterSkinCoreFamily,
      &RegisterSkinButtonFamily,
      &RegisterSkinLabelFamily,
      &RegisterSkinPanelFamily,
      &RegisterSkinImageFamily,
  });
}

}  // namespace ostrel::skin
