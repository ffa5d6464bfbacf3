#pragma once
// The e-AD lifecycle dispatcher, run by the menu actions of the e-AD page after StartupCheck with
// OpCode set: work files emptied, the e-AD chooser, the chosen e-AD loaded, then the window of
// the mode. Mode "I" (create, sign and send the IE815) opens TFCREAFIRMAINVIAIE815; the other
// modes do nothing yet.
#include <QWidget>

#include "foundation/AppContext.h"

namespace vt {

void runLifecycle(AppContext& ctx, QWidget* parent);

} // namespace vt
