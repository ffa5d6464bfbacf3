#pragma once
// The IE810 flow file of one cancellation: the header line and one "D" record carrying the ARC of
// the cancelled e-AD, the reason, the note and the note's language.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "foundation/CompanyRecord.h"
#include "foundation/EadRecord.h"

namespace vt {

struct Ie810Source {
    TRecEad cancellation; // the cancellation record (yyyy_810.DAT), stored or working form
    TRecAzienda company;  // the company (head office) record as loaded
    QString flowName;     // e.g. ABCD1209.C03
    double flowDate = 0;  // day count
};

// The two lines of the flow, without line ends.
QStringList ie810Lines(const Ie810Source& source);
// The whole file: Windows-1252, every line ended by CR LF. Throws EncodingError.
QByteArray ie810FlowBytes(const Ie810Source& source);

} // namespace vt
