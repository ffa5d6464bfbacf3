#pragma once
// The e-AD compilation as a whole, without its window: loading the e-AD picked for modification,
// the code lookups the page checks use, and the confirmation (every page checked afresh, then the
// summary file and the e-AD saved through the store).
#include <QString>
#include <QStringList>

#include <optional>

#include "foundation/AppContext.h"
#include "messages/ead/EadForm.h"

namespace vt {

// The loader of the "Modifica e-AD" and change-of-destination sequences: the e-AD picked in the
// chooser (SelectedYear, PickedEad) into EadHeader and OldEad and its lines into the work files
// (OpCode 'D': the transport lines only). PickedEad becomes -1 when the e-AD is gone or no longer
// in state " " (another workstation may have sent or deleted it), with a message.
void loadPickedEad(AppContext& ctx);
inline const QString MsgEadGone =
    QStringLiteral("L'e-AD SCELTO NON E` PIU` PRESENTE O E` GIA` STATO INVIATO DA UN'ALTRA POSTAZIONE");

// Code lookups through the table files; an unreadable table counts as "not a code".
CodeCheck tableCodeCheck(AppContext& ctx);

// The numbers of lines in the work files.
int transportLineCount(const AppContext& ctx);
int productLineCount(const AppContext& ctx);

// The confirmation. Runs every page check on the form as it stands (the form may be changed by
// the checks, as the pages would be); when one fails nothing is written and the verdict says which
// page and field. Otherwise builds the header, writes RIEPILOGO.RTF and saves the e-AD (modify mode:
// replacing OldEad); EadHeader becomes the saved header. IoError passes through (nothing saved).
// A duplicate (EadDuplicate.h) runs its own checks after each page's.
struct CompileOutcome {
    AllPagesVerdict verdict;   // page 0: saved
    QStringList summary;       // the summary lines written
};
// Every page check in order (a duplicate's own after each page's): what confirmation and the summary
// page run.
AllPagesVerdict checkCompilation(AppContext& ctx, EadForm& form, bool duplicate);
CompileOutcome confirmCompilation(AppContext& ctx, EadForm& form, bool modify, bool duplicate = false);

// The excise amount of the product lines in PRODOTTI.DAT for the consignee's country (the first
// two characters of COIDDE), from the ACCISE table; 0 without a rate record.
double compilationExcise(AppContext& ctx, const QString& coidde);

// The summary of the form and the work files, as the summary page shows it.
QStringList compilationSummary(const AppContext& ctx, const EadForm& form);

} // namespace vt
