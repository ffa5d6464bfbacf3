#pragma once
// The IE815 flow file of one e-AD: a header line, record "A" (the e-AD and its first product) and
// one record "C" for every further product, in the agency's tab-separated layout.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "foundation/CompanyRecord.h"
#include "foundation/TableRecord.h"
#include "foundation/EadRecord.h"

namespace vt {

struct Ie815Source {
    TRecEad header;                  // the e-AD header, stored or working form (the writer pads/trims)
    QList<TRecDettaglio> transport;  // its transport lines, in file order
    QList<TRecDettaglio> products;   // its product lines, in file order (at least one)
    TRecAzienda company;             // the company (head office) record
    // The rows of T020.TAB in file order; nothing when the table cannot be opened, in which case
    // the product fields end without the treatments.
    std::optional<QList<TRecTabella>> treatments;
    QString flowName;                // e.g. ABCD1209.C03
    double flowDate = 0;             // day count
};

// The lines of the flow, without line ends.
QStringList ie815Lines(const Ie815Source& source);
// The whole file: Windows-1252, every line ended by CR LF. Throws EncodingError.
QByteArray ie815FlowBytes(const Ie815Source& source);

} // namespace vt
