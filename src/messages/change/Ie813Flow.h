#pragma once
// The IE813 flow file of one change of destination: the header line and one "E" record carrying
// the ARC of the e-AD, the new destination, the transport data and the transport details.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/CompanyRecord.h"
#include "foundation/EadRecord.h"

namespace vt {

struct Ie813Source {
    TRecEad change;                // the change record (yyyy_813.DAT), stored or working form
    QList<TRecDettaglio> details;  // its transport details (yyyy_813_P.DAT), in file order
    TRecAzienda company;           // the company (head office) record as loaded
    QString flowName;              // e.g. ABCD1209.C03
    double flowDate = 0;           // day count
};

// The two lines of the flow, without line ends.
//
// Where the change window requires data for a destination type and the IE815 writes them for that
// type, the IE813 writes them too: the consignee's identification for type "6" (the representative
// at the office of export), and the place of delivery for type "4" (without identification).
QStringList ie813Lines(const Ie813Source& source);
// The whole file: Windows-1252, every line ended by CR LF. Throws EncodingError.
QByteArray ie813FlowBytes(const Ie813Source& source);

} // namespace vt
