#pragma once
// Opens the windows behind menu actions by their names ("TFDATIAZIENDA", ...). The main window
// sets the shared state, runs the preparation of the action, then calls openWindow. Each
// subsystem adds its windows in WindowWiring.cpp.
#include <QString>
#include <QWidget>

#include <functional>
#include <map>

#include "foundation/AppContext.h"

namespace vt {

using WindowOpener = std::function<void(AppContext& ctx, QWidget* parent)>;
using WindowRegistry = std::map<QString, WindowOpener>;

// Fills the registry with every window built so far.
void wireWindows(WindowRegistry& registry);

// Shows the named window modally; false when that window does not exist yet.
bool openWindow(const QString& name, AppContext& ctx, QWidget* parent);
// Whether the named window has been wired (the menu says "Funzione non ancora disponibile" otherwise).
bool windowRegistered(const QString& name);

// The code editor for ctx.TableName, shown over the active window: TFCODICI_NC for the wine
// product codes (TA20), TFCODICI for every other table. Installed as the OpenCodeTable opener.
void openCodeEditor(AppContext& ctx);

} // namespace vt
