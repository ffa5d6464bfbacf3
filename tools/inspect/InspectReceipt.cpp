// Decoder of the register work records of the reports of receipt (yyyy_818_RGM.DAT): the 520-byte
// register record with its field names, dates also shown as dd/mm/yyyy.
#include "Inspect.h"
#include "foundation/Dates.h"
#include "foundation/RegisterRecord.h"

namespace {
using namespace vt;

inspect::Register receiptLoads{
    {QStringLiteral("report of receipt register work record"), QRegularExpression(QStringLiteral("^\\d{4}_818_RGM\\.DAT$")),
     TRecMovimento::Size, [](const QByteArray& rec, const QString&) {
         TRecMovimento r = decodeRegisterRecord(rec);
         TrimRegisterRecord(r);
         QJsonObject o = recordToJson(r);
         for (const char* name : {"data", "dataDocumento", "dataFlusso"})
             o.insert(QLatin1String(name) + QStringLiteral("_data"),
                      dates::ddmmyyyy(o.value(QLatin1String(name)).toDouble()));
         return o;
     }}};
} // namespace
