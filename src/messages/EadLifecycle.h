#pragma once
// The file work of the e-AD lifecycle dispatcher, around the chooser: the work files emptied
// before it, the chosen e-AD loaded after it.
#include "foundation/AppContext.h"

namespace vt {

// TempFolder\TRASPORTO.DAT, PRODOTTI.DAT and DETTAGLI.818 emptied (created when missing).
void emptyLifecycleWorkFiles(const AppContext& ctx);

// After a choice: WorkYear := SelectedYear; the header PickedEad of that year into EadHeader (a copy
// in OldEad) with its lines into the work files; for mode "I" the e-AD summary RIEPILOGO.RTF
// written. False (nothing loaded) when the header is not in its file. Throws IoError.
bool loadChosenEad(AppContext& ctx);

} // namespace vt
