#pragma once

namespace ostrel::host {

// Lets stored forms create the host layer's own classes by name: TForm,
// TControl, TTimer, TGlowEffect, TWidgetProxy, TBasicAction, TComboBox.
void RegisterHostClasses();

}  // namespace ostrel::host
