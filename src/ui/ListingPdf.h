#pragma once
// A printed listing saved as a PDF file: the same pages the print preview
// shows, drawn with QPdfWriter, fonts embedded. The file is written whole or
// not at all.
#include <QString>

#include "foundation/Listing.h"

class QWidget;

namespace vt {

struct AppContext;

inline const QString MsgPdfSaved = QStringLiteral("PDF SALVATO: ");
inline const QString MsgPdfNotSaved = QStringLiteral("IMPOSSIBILE SALVARE IL PDF ");

// Writes the listing's pages to `path`; false (nothing left behind) when the
// file cannot be written.
bool writeListingPdf(const Listing& listing, const QString& path);

// "Salva PDF": asks where (proposed: `fileName` in the start folder), writes
// the PDF and says where it went or why it could not. True when written.
bool saveListingPdf(AppContext& ctx, const Listing& listing, const QString& fileName);

} // namespace vt
