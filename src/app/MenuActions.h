#pragma once
// What a menu action of the main window does: sets the shared state, runs StartupCheck where the
// menu table says so, runs its preparation sequence and shows its window. The windows are reached
// through a callback, so the whole sequence runs (and is tested) without widgets.
#include <QString>
#include <QStringList>

#include <functional>

#include "foundation/MenuTable.h"

namespace vt {

struct AppContext;

// Shows the named window modally; false when that window does not exist (yet).
using OpenWindowFn = std::function<bool(const QString& name)>;
// Whether the named window (or dispatcher, loader) exists, without opening it.
using WindowAvailableFn = std::function<bool(const QString& name)>;

// Names reached through the callback besides the windows themselves:
//  "LIFECYCLE" - the e-AD lifecycle dispatcher, run with OpCode set;
//  "LOADEAD"   - loads the picked e-AD (SelectedYear, PickedEad) into the e-AD buffers and work
//                files (OpCode 'M': transport and product lines; 'D': transport lines only);
//                it leaves PickedEad negative when the e-AD cannot be found.
inline constexpr const char* LifecycleDispatcher = "LIFECYCLE";
inline constexpr const char* EadLoader = "LOADEAD";
//  "LOADDUPLICATE" - copies the picked e-AD (any state) into EadHeader and its lines into the work
//                files as the source of a duplicate; PickedEad negative when it is gone.
inline constexpr const char* DuplicateLoader = "LOADDUPLICATE";

// Runs one menu action. I/O failures are shown through the messenger and end the action.
// An action that needs a window not built yet says MsgNotAvailable and does nothing else: before
// anything else when `available` is given (every name of windowsOfAction is asked), and in any
// case when opening one of its windows answers false.
void runMenuAction(const MenuItem& item, AppContext& ctx, const OpenWindowFn& open,
                   const WindowAvailableFn& available = {});

// The names an action opens through the callback, in the order it may open them (pickers,
// loaders, the dispatcher and the window of its mode); empty for the links.
QStringList windowsOfAction(const MenuItem& item);

// The first item of the table with that action name (and caption, when given); nullptr if none.
const MenuItem* findMenuItem(const QString& action, const QString& caption = {});

// OpCode of a lifecycle action, from its Tag; 0 for a Tag that is not one.
char lifecycleOpCode(int tag);
// Window of the movement sequence for an OpCode; empty for a code that has none.
QString movementWindow(QChar op);

inline constexpr const char* MsgReservedToWarehouses = "SEZIONE RISERVATA AI DEPOSITI FISCALI";
inline constexpr const char* MsgNotAvailable = "Funzione non ancora disponibile";
// A link whose address (or signing program) is not configured, or that the system would not open.
inline constexpr const char* MsgLinkNotSet = "INDIRIZZO WEB NON IMPOSTATO: inserirlo in Configurazione - Indirizzi Web";
inline constexpr const char* MsgProgramNotSet =
    "PROGRAMMA DI FIRMA NON IMPOSTATO: inserirlo in Configurazione - Percorsi per le Applicazioni";
inline constexpr const char* MsgLinkFailed = "IMPOSSIBILE APRIRE: ";

} // namespace vt
