// Anchors the test support library; its helpers are header-only.
#include "tests/support/LogCapture.h"
#include "tests/support/QtPrinters.h"
