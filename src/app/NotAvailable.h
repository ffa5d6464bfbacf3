#pragma once
// The answer of a menu action whose window is not part of the program yet: it says so instead of
// doing nothing.
#include "foundation/AppContext.h"

namespace vt {

inline const char* const MsgNotAvailableYet = "Funzione non ancora disponibile";

inline void tellNotAvailable(const AppContext& ctx)
{
    ctx.messenger().info(QString::fromUtf8(MsgNotAvailableYet));
}

} // namespace vt
