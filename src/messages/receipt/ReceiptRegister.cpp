#include "messages/receipt/ReceiptRegister.h"

#include "foundation/FieldAccess.h"
#include "foundation/Text.h"

namespace vt {

QList<TRecMovimento> receiptRegisterWork(const TRecEad& report, const QList<TRecDettaglio>& app,
                                         const QList<TRecDettaglio>& lines)
{
    const QString excise = trimmedAt(report, 116);
    QList<TRecMovimento> out;
    for (const TRecDettaglio& l : app) {
        const std::int32_t lineNumber = int32At(l, 8);
        double refused = 0;
        for (const TRecDettaglio& k : lines)
            if (int32At(k, 8) == lineNumber && doubleAt(k, 2080) > 0.0009)
                refused = doubleAt(k, 2080);
        const double litres = doubleAt(l, 2088);
        const std::int32_t packages = int32At(l, 2064);

        TRecMovimento r = blankRegisterRecord();
        r.numero = report.progressivo;
        r.data = doubleAt(report, 2120);
        r.codiceProdotto = storedAt(l, 558).left(21);
        r.litri = litres - refused;
        r.grado = doubleAt(l, 2096);
        // The volume of one package is the e-AD's: a refusal leaves fewer litres, not smaller packages.
        r.volumeConfezione = packages > 0 ? litres / packages : 0.0;
        r.stoccaggio = packages > 0 ? QStringLiteral("N") : QStringLiteral("S");
        r.confezioni = packages;
        r.numeroDocumento = storedAt(report, 78);
        r.dataDocumento = doubleAt(report, 2088);
        r.paese = excise.left(2);
        r.controparte = excise.left(16);
        r.riferimentoLocale = storedAt(report, 7);
        r.progressivoEad = int32At(report, 56);
        r.progressivoDettaglio = lineNumber;
        PadRegisterRecord(r);
        out << r;
    }
    return out;
}

QList<QByteArray> receiptRegisterRecords(const TRecEad& report, const QList<TRecDettaglio>& app,
                                         const QList<TRecDettaglio>& lines)
{
    QList<QByteArray> out;
    for (const TRecMovimento& r : receiptRegisterWork(report, app, lines))
        out << encodeRegisterRecord(r);
    return out;
}

} // namespace vt
