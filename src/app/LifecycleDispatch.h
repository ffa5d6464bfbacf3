#pragma once
// The e-AD lifecycle dispatcher, run by the lifecycle menu actions of the e-AD page after
// StartupCheck with OpCode set from the action's Tag: the work files emptied, the chooser with the
// mode's title, file and list, WorkYear := the chosen year, the chosen records loaded (for "a", "x"
// and "9" the cancellation and its summary IE810.RTF, then the e-AD and its lines; for "d", "e", "f"
// the change of destination and its summary; for "N", "n" the report of receipt, its lines and its
// summary), then the window of the mode: TFCREAFIRMAINVIAIE815 for "I", TFCREAFIRMAINVIAIE810 for
// "9", TFCREAFIRMAINVIAIE813 for "f", TFINS_MOD_CANC_ARC for the others. A chosen record that is no
// longer in its file is reported and ends the action.
#include <QWidget>

#include "foundation/AppContext.h"

namespace vt {

// The window of a lifecycle mode; empty for a mode that has none.
QString lifecycleWindow(QChar mode);

void runLifecycle(AppContext& ctx, QWidget* parent);

} // namespace vt
