// Decoders of the register files: movements (yyyy.RGM and the movement work files) and guarantee
// records (yyyy.GAR, RIPORTI.GAR, GARANZIA.DAT), where the five amounts carry their guarantee
// names.
#include <QMap>

#include "Inspect.h"
#include "foundation/Dates.h"
#include "foundation/RegisterRecord.h"

namespace {
using namespace vt;

const QMap<QString, QString> kGuaranteeNames = {
    {QStringLiteral("litri"), QStringLiteral("impegnato")},
    {QStringLiteral("grado"), QStringLiteral("svincolato")},
    {QStringLiteral("volumeConfezione"), QStringLiteral("nuovaCauzione")},
    {QStringLiteral("aliquota"), QStringLiteral("riscattata")},
    {QStringLiteral("garanzia"), QStringLiteral("disponibile")},
};

QJsonObject registerRecord(const QByteArray& rec, bool guarantee)
{
    TRecMovimento r = decodeRegisterRecord(rec);
    TrimRegisterRecord(r);
    const QJsonObject in = recordToJson(r);
    QJsonObject o;
    for (auto it = in.begin(); it != in.end(); ++it)
        o.insert(guarantee ? kGuaranteeNames.value(it.key(), it.key()) : it.key(), it.value());
    for (const char* name : {"data", "dataFlusso", "dataDocumento", "dataCollegata"}) {
        const double v = o.value(QLatin1String(name)).toDouble();
        o.insert(QLatin1String(name) + QStringLiteral("_data"), v == 0 ? QString() : dates::ddmmyyyy(v));
    }
    return o;
}

inspect::Register movements{{QStringLiteral("register movements"),
                             QRegularExpression(QStringLiteral("(^\\d{4}\\.RGM$)|(^(CARICHI|SCARICHI|RIENTRI)\\.DAT$)|(^CANCELLA\\.MOV$)")),
                             TRecMovimento::Size, [](const QByteArray& rec, const QString&) { return registerRecord(rec, false); }}};
inspect::Register guarantees{{QStringLiteral("register guarantees"),
                              QRegularExpression(QStringLiteral("(^\\d{4}\\.GAR$)|(^GARANZIA\\.DAT$)")), TRecMovimento::Size,
                              [](const QByteArray& rec, const QString&) { return registerRecord(rec, true); }}};
inspect::Register carryOvers{{QStringLiteral("guarantee carry-overs"), QRegularExpression(QStringLiteral("^RIPORTI\\.GAR$")),
                              TRecMovimento::Size, [](const QByteArray& rec, const QString&) {
                                  QJsonObject o = registerRecord(rec, true);
                                  o.insert(QStringLiteral("anno"), o.value(QStringLiteral("numero")));
                                  return o;
                              }}};
} // namespace
