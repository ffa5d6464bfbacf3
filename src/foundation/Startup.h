#pragma once
#include "foundation/AppContext.h"

namespace vt {

// Start-up of the main window: folders created when missing, and a blank UTENTE.001 on the very
// first start (otherwise its first record is read into CurrentAddress), and the delivered tables
// and pictures installed where missing (installDeliveredData). Throws IoError.
void runStartup(AppContext& ctx, const QString& startFolder, const QString& tempFolder);

} // namespace vt
