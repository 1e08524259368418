#include "skin/controls/uSkinLibraryStart.h"

#include "skin/base/uSkinRegManager.h"
#include "skin/controls/uSkinButtonGroupType.h"
#include "skin/controls/uSkinButtonType.h"
#include "skin/controls/uSkinComboBoxType.h"
#include "skin/controls/uSkinImageType.h"
#include "skin/controls/uSkinLabelType.h"
#include "skin/controls/uSkinPanelType.h"
#include "skin/controls/uSkinProgressBarType.h"
#include "skin/controls/uSkinSwitchBarType.h"

namespace ostrel::skin {

void StartSkinControls() {
  // Table order: button, button group, label, panel, switch bar, progress bar, image, combo box.
  StartSkinLibrary({
      &RegisterSkinCoreFamily,
      &RegisterSkinButtonFamily,
      &RegisterSkinButtonGroupFamily,
      &RegisterSkinLabelFamily,
      &RegisterSkinPanelFamily,
      &RegisterSkinSwitchBarFamily,
      &RegisterSkinProgressBarFamily,
      &RegisterSkinImageFamily,
      &RegisterSkinComboBoxFamily,
  });
}

}  // namespace ostrel::skin
