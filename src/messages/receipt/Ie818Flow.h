#pragma once
// The IE818 flow file: a header line, then for every report of receipt put into the flow one "J"
// record (the report and its first line with differences) followed by one "K" record for each
// further line, in the agency's tab-separated layout.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/CompanyRecord.h"
#include "foundation/EadRecord.h"

namespace vt {

struct Ie818Report {
    TRecEad header;               // the report (yyyy_818_J.DAT), stored or working form
    QList<TRecDettaglio> lines;   // its lines (yyyy_818_K.DAT), in file order
};

struct Ie818Source {
    QList<Ie818Report> reports;   // in flow order
    TRecAzienda company;          // the company (head office) record
    QString flowName;             // e.g. ABCD1209.C03
    double flowDate = 0;          // day count
};

// Where each report stands in the flow: the number of its J line and how many lines it has
// (J + K), counted from 1 after the header line.
struct Ie818Placement {
    std::int32_t report = 0;
    int firstLine = 0;
    int lineCount = 0;
};

QStringList ie818Lines(const Ie818Source& source, QList<Ie818Placement>* placements = nullptr);
// The whole file: Windows-1252, every line ended by CR LF. Throws EncodingError.
QByteArray ie818FlowBytes(const Ie818Source& source, QList<Ie818Placement>* placements = nullptr);

// "IE818" + company excise number + five blanks + ARC (21) + flow date yyyymmdd.
QString ie818Prefix(const TRecAzienda& company, const QString& arc, double flowDate);

} // namespace vt
