#include "app/WindowRegistry.h"

// Window headers, one line per window.

namespace vt {

void wireWindows(WindowRegistry& r)
{
    // One entry per window, e.g.
    //   r["TFDATIAZIENDA"] = [](AppContext& c, QWidget* p) { TFDATIAZIENDA w(c, p); w.exec(); };
    (void)r;
}

bool openWindow(const QString& name, AppContext& ctx, QWidget* parent)
{
    static const WindowRegistry registry = [] {
        WindowRegistry r;
        wireWindows(r);
        return r;
    }();
    auto it = registry.find(name);
    if (it == registry.end())
        return false;
    it->second(ctx, parent);
    return true;
}

} // namespace vt
