#pragma once
// The answer of a menu action whose window is not part of the program yet: it says so instead of
// doing nothing.
#include "app/MenuActions.h"
#include "foundation/AppContext.h"

namespace vt {

inline void tellNotAvailable(const AppContext& ctx)
{
    ctx.messenger().info(QString::fromLatin1(MsgNotAvailable));
}

} // namespace vt
