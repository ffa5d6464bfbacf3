#pragma once
// The list of the register picker TFSCEGLIMOVIMENTO: the records of a year that the mode in
// OpCode may act on, with the columns of that mode. Superseded records are never listed, nor are
// records of another operation than the one the mode works on. The conclusion and change-of-
// destination modes gather their candidates per document and e-AD progressive through the work
// file RIENTRI.DAT. The list travels through TempFolder/TABELLA.TXT in the listing format.
#include <QString>

#include "messages/ead/EadChoice.h"

namespace vt {

struct AppContext;

// Caption of the picker for a mode; empty for a mode without a list.
QString movementChooserTitle(QChar mode);
// The register file the mode lists (.RGM, or .GAR for the guarantee modes); empty when none.
QString movementChoiceFile(const AppContext& ctx, QChar mode, const QString& year);
// "0315.C01": the flow name without its user-code prefix; empty when not sent.
QString flowShortName(double flowDate, int flowNumber);

// Builds the list of the mode for the year, writes TABELLA.TXT (and RIENTRI.DAT where the mode
// uses it) and reads it back. A missing file gives an empty list. Throws IoError.
ChoiceList buildMovementChoice(const AppContext& ctx, QChar mode, const QString& year);

} // namespace vt
