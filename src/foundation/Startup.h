#pragma once
#include "foundation/AppContext.h"

namespace vt {

// Start-up of the main window: folders created when missing, and a blank UTENTE.001 on the very
// first start (otherwise its first record is read into CurrentAddress), and the delivered tables
// and pictures installed where missing (installDeliveredData). Throws IoError; a folder that
// cannot be created stops it before anything else is touched.
void runStartup(AppContext& ctx, const QString& startFolder, const QString& tempFolder);

// The program's title: the main window's caption and the title of its message boxes.
inline constexpr const char* AppTitle = "Telematizzazione dei movimenti di vino intracomunitari";

// Date and time formats of everything the program shows, parses or stores as text.
inline constexpr const char* ShortDateFormat = "dd/MM/yyyy";
inline constexpr const char* ShortTimeFormat = "HH:mm:ss";
// Makes the Italian conventions (comma decimals, point grouping) the process-wide default.
void applyLocale();

// The about box line: "ultimo aggiornamento: " and the date of the program file.
QString lastUpdateText(const QString& programPath);

} // namespace vt
