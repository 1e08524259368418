#include "skin/host/HostClasses.h"

#include "skin/host/Action.h"
#include "skin/host/ClassRegistry.h"
#include "skin/host/ComboBox.h"
#include "skin/host/Control.h"
#include "skin/host/Form.h"
#include "skin/host/GlowEffect.h"
#include "skin/host/Timer.h"
#include "skin/host/WidgetProxy.h"

namespace ostrel::host {

void RegisterHostClasses() {
  RegisterClass<TForm>();
  RegisterClass<TControl>();
  RegisterClass<TTimer>();
  RegisterClass<TGlowEffect>();
  RegisterClass<TWidgetProxy>();
  RegisterClass<TBasicAction>();
  RegisterClass<TComboBox>();
}

}  // namespace ostrel::host
