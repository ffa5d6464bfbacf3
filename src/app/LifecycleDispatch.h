#pragma once
// The e-AD lifecycle dispatcher, run by the lifecycle menu actions of the e-AD page after
// StartupCheck with OpCode set from the action's Tag: the work files emptied, the chooser with the
// mode's title, file and list, WorkYear := the chosen year, the chosen records loaded (for "a", "x"
// and "9" the cancellation and its summary IE810.RTF, then the e-AD and its lines; for "d", "e", "f"
// the change of destination and its summary), then the window of the mode: TFCREAFIRMAINVIAIE815
// for "I", TFCREAFIRMAINVIAIE810 for "9", TFCREAFIRMAINVIAIE813 for "f", TFINS_MOD_CANC_ARC for the
// others. A chosen record that is no longer in its file is reported and ends the action. The modes
// of the reports of receipt ("N", "n") say that they are not available yet.
#include <QWidget>

#include "foundation/AppContext.h"

namespace vt {

void runLifecycle(AppContext& ctx, QWidget* parent);

// The window the dispatcher opens for a mode once its records are loaded; empty for a mode it does
// not serve (yet).
QString lifecycleWindow(QChar mode);

} // namespace vt
