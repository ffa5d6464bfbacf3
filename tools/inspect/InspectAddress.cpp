// Decoder of the address files INDIRIZZI_D/T/G/F.DAT: each slot under the name of the window
// field that fills it in that file, with its meaning in "_meaning". Slots that the file does not
// use are shown only when they are not blank.
#include <QJsonObject>

#include "Inspect.h"
#include "foundation/CompanyRecord.h"

namespace {
using namespace vt;

struct Slot {
    const char* name;
    const char* meaning;
};

QJsonObject decodeAddress(const QByteArray& rec, const QString& fileName)
{
    TRecIndirizzo r = decodeCompany(rec);
    const QJsonObject all = recordToJson(r);
    const bool consignee = fileName.contains(QLatin1String("_D."));
    const bool guarantor = fileName.contains(QLatin1String("_G."));
    const bool transporter = fileName.contains(QLatin1String("_T."));

    QJsonObject o;
    QJsonObject meaning;
    auto put = [&](const char* member, const QString& as, const QString& what) {
        o.insert(as, all.value(QString::fromLatin1(member)));
        meaning.insert(as, what);
    };
    put("number", QStringLiteral("codice"), QStringLiteral("code, unique in the file"));
    QStringList used{QStringLiteral("number")};
    auto use = [&](const char* member, const char* as, const char* what) {
        put(member, QString::fromLatin1(as), QString::fromLatin1(what));
        used << QString::fromLatin1(member);
    };
    if (consignee) {
        const bool exemption = r.TIPOIN == QLatin1String("5");
        use("TIPOIN", "TIPOIN", "type of consignee (T015)");
        use("CACCI1", "CACCI1", exemption ? "identifier (blank for type 5)" : "excise number or other identifier");
        use("CACCI2", "CACCI2", "excise number of the place of destination (type 1)");
        use("DENOM1", "DENOM1", "name");
        if (exemption)
            use("DENOM2", "ESENZIONE", "exemption certificate (type 5)");
        else
            use("DENOM2", "DENOM2", "name of the place of destination (types 1 and 4)");
        use("INDIR1", "INDIR1", "street");
        use("NUMCI1", "NUMCI1", "street number");
        use("C_A_P1", "C_A_P1", "postcode");
        use("CITTA1", "CITTA1", "city");
        use("INDIR2", "INDIR2", "street of the place of destination");
        use("NUMCI2", "NUMCI2", "street number of the place of destination");
        use("C_A_P2", "C_A_P2", "postcode of the place of destination");
        use("CITTA2", "CITTA2", "city of the place of destination");
        use("CODUTE", "CODUTE", "member state (T004, type 5)");
        use("SEZDOG", "SEZDOG", "language of the descriptions (T001)");
    } else {
        use("CACCI1", "CACCI1", transporter ? "excise number (blank for transport companies)" : "excise number");
        use("CACCI2", "CACCI2", "VAT number (Partita IVA)");
        use("DENOM1", "DENOM1", "name");
        use("INDIR1", "INDIR1", "street");
        use("NUMCI1", "NUMCI1", "street number");
        use("C_A_P1", "C_A_P1", "postcode");
        use("CITTA1", "CITTA1", "city");
        use("SEZDOG", "SEZDOG", "language of the descriptions (T001)");
        if (guarantor) {
            use("CONGAR", "CONGAR", "guarantee account");
            use("CAUESO", "CAUESO", "C security deposit, E exemption");
        }
    }
    for (auto it = all.begin(); it != all.end(); ++it)
        if (!used.contains(it.key()) && !it.value().toString().isEmpty())
            put(it.key().toLatin1().constData(), it.key(), QStringLiteral("not used in this file"));
    o.insert(QStringLiteral("_meaning"), meaning);
    o.insert(QStringLiteral("_bytes"), rec.size());
    return o;
}

inspect::Register address{{QStringLiteral("address"), QRegularExpression(QStringLiteral("^INDIRIZZI_[DTGF]\\.DAT$")),
                           TRecAzienda::Size, decodeAddress}};
} // namespace
