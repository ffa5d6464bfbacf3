#include "Inspect.h"
#include "foundation/CompanyRecord.h"

namespace {
using namespace vt;

// Meaning of each slot, by file: company (head office / premises) or address book.
QJsonObject withMeanings(const QByteArray& rec, const QString& fileName)
{
    TRecAzienda r = decodeRecord<TRecAzienda>(rec);
    trimRecord(r);
    QJsonObject o = recordToJson(r);
    o.insert(QStringLiteral("_bytes"), rec.size());
    Q_UNUSED(fileName);
    return o;
}

inspect::Register company{{QStringLiteral("company"), QRegularExpression(QStringLiteral("^UTENTE\\.\\d{3}$")),
                           TRecAzienda::Size, withMeanings}};
inspect::Register address{{QStringLiteral("address"),
                           QRegularExpression(QStringLiteral("^INDIRIZZI_[DTGF]\\.DAT$")), TRecAzienda::Size,
                           withMeanings}};
} // namespace
