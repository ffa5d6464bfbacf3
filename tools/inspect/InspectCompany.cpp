#include "Inspect.h"
#include "foundation/CompanyRecord.h"

#include <algorithm>
#include <map>

namespace {
using namespace vt;

using Meanings = std::map<const char*, const char*>;

// What each slot holds, by file. Slots not listed are blank in that file.
const Meanings headOffice = {
    {"number", "0"},
    {"CACCI1", "excise number"},
    {"CACCI2", "excise number again"},
    {"DENOM1", "company name"},
    {"DENOM2", "company name again"},
    {"PARIVA", "VAT number"},
    {"CODFIS", "fiscal code"},
    {"INDIR1", "registered address: street"},
    {"INDIR2", "dispatch place 001: street"},
    {"NUMCI1", "registered address: street number"},
    {"NUMCI2", "dispatch place: street number"},
    {"C_A_P1", "registered address: postcode"},
    {"C_A_P2", "dispatch place: postcode"},
    {"CITTA1", "registered address: city"},
    {"CITTA2", "dispatch place: city"},
    {"CODUTE", "user code of the customs telematic system"},
    {"UFFDO1", "customs office (TA03)"},
    {"UFFDO2", "customs office for exports"},
    {"SEZDOG", "customs section"},
    {"CONGAR", "guarantee account code"},
    {"CAUESO", "C security deposit, E exemption"},
    {"TIPOIN", "authorisation type: 1 tax warehouse, 2 registered consignor/consignee"},
};
const Meanings premises = {
    {"number", "0"},
    {"CACCI2", "excise number of the premises"},
    {"DENOM2", "name of the premises"},
    {"INDIR2", "street"},
    {"NUMCI2", "street number"},
    {"C_A_P2", "postcode"},
    {"CITTA2", "city"},
    {"CODUTE", "premises number (002...)"},
    {"UFFDO1", "customs office"},
    {"UFFDO2", "customs office for exports"},
    {"SEZDOG", "customs section"},
};
const Meanings consignee = {
    {"number", "code"},
    {"CACCI1", "excise number or other identifier"},
    {"CACCI2", "excise number of the place of destination (type 1)"},
    {"DENOM1", "name"},
    {"DENOM2", "type 5: exemption certificate; types 1 and 4: name of the place of destination"},
    {"INDIR1", "street"},
    {"INDIR2", "street of the place of destination"},
    {"NUMCI1", "street number"},
    {"NUMCI2", "street number of the place of destination"},
    {"C_A_P1", "postcode"},
    {"C_A_P2", "postcode of the place of destination"},
    {"CITTA1", "city"},
    {"CITTA2", "city of the place of destination"},
    {"CODUTE", "type 5: member state (T004)"},
    {"SEZDOG", "language of the descriptions (T001)"},
    {"TIPOIN", "type of consignee (T015)"},
};
const Meanings otherAddress = {
    {"number", "code"},
    {"CACCI1", "excise number"},
    {"CACCI2", "VAT number"},
    {"DENOM1", "name"},
    {"INDIR1", "street"},
    {"NUMCI1", "street number"},
    {"C_A_P1", "postcode"},
    {"CITTA1", "city"},
    {"SEZDOG", "language of the descriptions"},
    {"CONGAR", "guarantors: guarantee account"},
    {"CAUESO", "guarantors: C security deposit, E exemption"},
};

std::pair<const char*, const Meanings*> roleOf(const QString& fileName)
{
    if (fileName == QLatin1String("UTENTE.001"))
        return {"company head office", &headOffice};
    if (fileName.startsWith(QLatin1String("UTENTE.")))
        return {"company premises", &premises};
    if (fileName == QLatin1String("INDIRIZZI_D.DAT"))
        return {"consignee", &consignee};
    if (fileName == QLatin1String("INDIRIZZI_T.DAT"))
        return {"transport company", &otherAddress};
    if (fileName == QLatin1String("INDIRIZZI_G.DAT"))
        return {"guarantor", &otherAddress};
    return {"supplier", &otherAddress};
}

QJsonObject withMeanings(const QByteArray& rec, const QString& fileName)
{
    TRecAzienda r = decodeRecord<TRecAzienda>(rec);
    trimRecord(r);
    QJsonObject o = recordToJson(r);
    const auto [role, meanings] = roleOf(fileName);
    o.insert(QStringLiteral("_role"), QString::fromLatin1(role));
    QJsonObject m;
    for (const auto& f : TRecAzienda::fields()) {
        auto it = std::find_if(meanings->begin(), meanings->end(),
                               [&](const auto& e) { return qstrcmp(e.first, f.name) == 0; });
        m.insert(QString::fromLatin1(f.name), it != meanings->end() ? QString::fromLatin1(it->second) : QStringLiteral("blank"));
    }
    o.insert(QStringLiteral("_meaning"), m);
    return o;
}

inspect::Register company{{QStringLiteral("company"), QRegularExpression(QStringLiteral("^UTENTE\\.\\d{3}$")),
                           TRecAzienda::Size, withMeanings}};
inspect::Register address{{QStringLiteral("address"),
                           QRegularExpression(QStringLiteral("^INDIRIZZI_[DTGF]\\.DAT$")), TRecAzienda::Size,
                           withMeanings}};
} // namespace
