#include "messages/ead/EadLifecycle.h"

#include <functional>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"
#include "messages/change/Ie813Send.h"
#include "messages/ead/Summary.h"

namespace vt {

namespace {

constexpr int HeaderSize = TRecEad::Size;
constexpr int LineSize = TRecDettaglio::Size;
constexpr int LineProgressive = 4; // offset of the e-AD progressive in a line

QString stateOf(const TRecEad& r)
{
    return padField(r.stato, 1);
}

bool unsent(const QString& state)
{
    return state.compare(QLatin1String("0")) < 0; // " "
}

bool sentOrNot(const QString& state)
{
    return state == EadState::Compiled || state == EadState::Accepted;
}

// The state in words, for the refusals.
QString stateWords(const QString& state)
{
    if (state == EadState::Accepted) return QStringLiteral("INVIATO");
    if (state == EadState::Cancelled) return QStringLiteral("ANNULLATO");
    if (state == EadState::Completed) return QStringLiteral("COMPLETATO");
    if (state == EadState::Refused) return QStringLiteral("RIFIUTATO");
    if (state == EadState::PartlyRefused) return QStringLiteral("PARZIALMENTE RIFIUTATO");
    if (unsent(state)) return QStringLiteral("NON INVIATO");
    return state;
}

IoError eadGone(std::int32_t progressive, const QString& year)
{
    return IoError(QStringLiteral("L'e-AD N. %1 DEL %2 NON E' PIU' PRESENTE (UN'ALTRA POSTAZIONE LO HA CANCELLATO?): "
                                  "NESSUNA MODIFICA EFFETTUATA")
                       .arg(progressive)
                       .arg(year));
}

IoError eadChanged(std::int32_t progressive, const QString& state)
{
    return IoError(QStringLiteral("L'e-AD N. %1 E' ORA NELLO STATO \"%2\" (UN'ALTRA POSTAZIONE LO HA MODIFICATO?): "
                                  "NESSUNA MODIFICA EFFETTUATA")
                       .arg(progressive)
                       .arg(stateWords(state)));
}

IoError cancellationGone(std::int32_t progressive, const QString& year)
{
    return IoError(QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 DEL %2 NON E' PIU' PRESENTE (UN'ALTRA POSTAZIONE "
                                  "LO HA CANCELLATO?): NESSUNA MODIFICA EFFETTUATA")
                       .arg(progressive)
                       .arg(year));
}

IoError cancellationChanged(std::int32_t progressive, const QString& state)
{
    return IoError(QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 E' ORA NELLO STATO \"%2\" (UN'ALTRA POSTAZIONE "
                                  "LO HA MODIFICATO?): NESSUNA MODIFICA EFFETTUATA")
                       .arg(progressive)
                       .arg(stateWords(state)));
}

IoError changeGone(std::int32_t number, const QString& year)
{
    return IoError(QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 DEL %2 NON E' PIU' PRESENTE (UN'ALTRA POSTAZIONE "
                                  "LO HA CANCELLATO?): NESSUNA MODIFICA EFFETTUATA")
                       .arg(number)
                       .arg(year));
}

IoError changeChanged(std::int32_t number, const QString& state)
{
    return IoError(QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 E' ORA NELLO STATO \"%2\" (UN'ALTRA POSTAZIONE "
                                  "LO HA MODIFICATO?): NESSUNA MODIFICA EFFETTUATA")
                       .arg(number)
                       .arg(stateWords(state)));
}

bool hasArc(const TRecEad& r)
{
    return checkArc(trimField(r.ARC)).ok;
}

QString noArcToCancel(std::int32_t progressive)
{
    return QStringLiteral("L'e-AD N. %1 NON HA IL NUMERO DI ARC: NON E' STATO ACCETTATO DAL SISTEMA TELEMATICO E "
                          "NON PUO' ESSERE ANNULLATO")
        .arg(progressive);
}

qsizetype indexOfNumber(const QList<QByteArray>& records, std::int32_t number)
{
    for (qsizetype i = 0; i < records.size(); ++i)
        if (RecordFile::numberOf(records[i]) == number)
            return i;
    return -1;
}

// An in-place change of one header under the lock of its file; `change` checks the record as it
// is now and raises IoError (nothing written) when it no longer fits.
void changeInPlace(AppContext& ctx, const QString& path, std::int32_t number, const IoError& gone,
                   const std::function<void(TRecEad&)>& change)
{
    if (!updateHeaderInPlace(ctx, path, number, change))
        throw gone;
}

} // namespace

namespace cancelfiles {
QString cancellations(const AppContext& ctx, const QString& year)
{
    return ctx.registri(year + QStringLiteral("_810.DAT"));
}
} // namespace cancelfiles

LifecycleTexts lifecycleTexts(QChar mode)
{
    const QString resetFlow = QStringLiteral("Saranno AZZERATI i dati: DATA DEL FLUSSO, NUMERO DEL FLUSSO");
    switch (mode.unicode()) {
    case 'A':
        return {QStringLiteral("Cancella i Riferimenti di un flusso IE815 inviato"),
                QStringLiteral("Saranno AZZERATI i dati: DATA DEL FLUSSO, NUMERO DEL FLUSSO e NUMERO ARC")};
    case 'C':
        return {QStringLiteral("Cancella e-AD NON INVIATO"), QStringLiteral("L'e-AD VERRA' CANCELLATO !")};
    case 'R':
        return {QStringLiteral("REGISTRA IL NUMERO DI ARC ATTRIBUITO ALL'e-AD"), QString()};
    case 'X':
        return {QStringLiteral("Annulla un e-AD ACCETTATO dal Sistema Telematico Doganale"),
                QStringLiteral("L'annullamento di un e-AD già ACCETTATO è possibile entro le ore 24 del giorno di "
                               "spedizione.")};
    case 'x':
        return {QStringLiteral("Cancella L'ANNULLAMENTO NON INVIATO DI UN e-AD"),
                QStringLiteral("L'ANNULLAMENTO DELL'e-AD VERRA' CANCELLATO !")};
    case 'a':
        return {QStringLiteral("Cancella i Riferimenti di un flusso IE810 inviato"), resetFlow};
    case 'd':
        return {QStringLiteral("Cancella IL CAMBIO DI DESTINAZIONE NON INVIATO"),
                QStringLiteral("IL CAMBIO DI DESTINAZIONE VERRA' CANCELLATO !")};
    case 'e':
        return {QStringLiteral("Cancella i Riferimenti di un flusso IE813 inviato"), resetFlow};
    case 'N':
        return {QStringLiteral("Cancella LA NOTA DI RICEZIONE NON INVIATA"),
                QStringLiteral("LA NOTA DI RICEZIONE VERRA' CANCELLATA !")};
    case 'n':
        return {QStringLiteral("Cancella i Riferimenti di un flusso IE818 inviato"), resetFlow};
    default:
        return {};
    }
}

QString lifecycleDoneMessage(QChar mode, std::int32_t number)
{
    switch (mode.unicode()) {
    case 'R': return QStringLiteral("ARC REGISTRATO: L'e-AD N. %1 RISULTA ACCETTATO").arg(number);
    case 'A': return QStringLiteral("DATI DI INVIO DELL'e-AD N. %1 AZZERATI").arg(number);
    case 'C': return QStringLiteral("L'e-AD N. %1 E' STATO CANCELLATO").arg(number);
    case 'x': return QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 E' STATO CANCELLATO").arg(number);
    case 'a': return QStringLiteral("DATI DI INVIO DELL'IE810 DELL'e-AD N. %1 AZZERATI").arg(number);
    case 'd': return QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 E' STATO CANCELLATO").arg(number);
    case 'e': return QStringLiteral("DATI DI INVIO DEL CAMBIO DI DESTINAZIONE N. %1 AZZERATI").arg(number);
    default: return {};
    }
}

void emptyLifecycleWorkFiles(const AppContext& ctx)
{
    for (const char* name : {"TRASPORTO.DAT", "PRODOTTI.DAT", "DETTAGLI.818"})
        RecordFile(ctx.temp(QString::fromLatin1(name)), TRecDettaglio::Size).clear();
}

QString loadChosenRecords(AppContext& ctx)
{
    ctx.WorkYear = ctx.SelectedYear;
    const QString& year = ctx.WorkYear;
    const std::int32_t picked = ctx.PickedEad;
    const char mode = ctx.OpCode.toLatin1();
    if (mode == 'd' || mode == 'e' || mode == 'f') {
        const std::optional<TRecEad> change = findHeader(changefiles::changes(ctx, year), picked);
        if (!change)
            return QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 DEL %2 NON E' PIU' PRESENTE "
                                  "(UN'ALTRA POSTAZIONE LO HA CANCELLATO?)")
                .arg(picked)
                .arg(year);
        // Only a change not sent can be deleted: the one customs holds is kept (its send data can
        // be reset first, should it really have to go).
        if (mode == 'd' && !unsent(stateOf(*change)))
            return QStringLiteral("IL CAMBIO DI DESTINAZIONE N. %1 E' GIA' STATO INVIATO E NON PUO' ESSERE CANCELLATO")
                .arg(picked);
        ctx.MessageRecord = *change;
        // Its details go into the work file, so that its summary shows them.
        QList<QByteArray> details;
        for (const QByteArray& d : RecordFile(changefiles::details(ctx, year), LineSize).readAll())
            if (codec::getI32(d, LineProgressive) == picked)
                details << d;
        RecordFile(eadfiles::transportWork(ctx), LineSize).replaceAll(details);
        writeChangeSummary(ctx, *change);
        return {};
    }
    if (mode == 'a' || mode == 'x' || mode == '9') {
        const std::optional<TRecEad> cancellation = findHeader(cancelfiles::cancellations(ctx, year), picked);
        if (!cancellation)
            return QStringLiteral("L'ANNULLAMENTO DELL'e-AD N. %1 DEL %2 NON E' PIU' PRESENTE "
                                  "(UN'ALTRA POSTAZIONE LO HA CANCELLATO?)")
                .arg(picked)
                .arg(year);
        ctx.MessageRecord = *cancellation;
        writeCancellationSummary(ctx, *cancellation);
    }
    TRecEad header = blankEad();
    if (!loadEad(ctx, year, picked, header)) {
        // A cancellation whose e-AD is gone can still be withdrawn or reset: it is a copy of the
        // e-AD header and stands in for it.
        if (mode != 'x' && mode != 'a')
            return QStringLiteral("L'e-AD N. %1 DEL %2 NON E' PIU' PRESENTE (UN'ALTRA POSTAZIONE LO HA CANCELLATO?)")
                .arg(picked)
                .arg(year);
        header = ctx.MessageRecord;
    }
    // An e-AD the customs system never accepted has no ARC for its IE810: refused before the
    // clerk types the reason.
    if (mode == 'X' && !hasArc(header))
        return noArcToCancel(picked);
    ctx.EadHeader = header;
    ctx.OldEad = header;
    if (mode == 'I' || mode == '9')
        writeEadSummary(ctx, ctx.EadHeader);
    return {};
}

CheckResult checkArc(const QString& arc)
{
    const QString text = trimField(arc);
    if (text.size() != 21 || text.contains(QLatin1Char(' ')))
        return CheckResult::fail(QString::fromUtf8(ArcNotValid), QStringLiteral("NUMARC"));
    return CheckResult::pass();
}

CheckResult checkCancellationNote(const QString& reasonCode, const QString& note)
{
    if (trimField(reasonCode).startsWith(QLatin1Char('0')) && trimField(note).isEmpty())
        return CheckResult::fail(QString::fromUtf8(NoteRequired), QStringLiteral("NOTMOT"));
    return CheckResult::pass();
}

void registerArc(AppContext& ctx, const QString& year, std::int32_t progressive, const QString& arc)
{
    if (const CheckResult c = checkArc(arc); !c)
        throw IoError(c.message);
    changeInPlace(ctx, eadfiles::headers(ctx, year), progressive, eadGone(progressive, year), [&](TRecEad& h) {
        if (!sentOrNot(stateOf(h)))
            throw eadChanged(progressive, stateOf(h));
        h.ARC = padField(trimField(arc), 21);
        h.stato = EadState::Accepted;
    });
}

void resetIe815SendData(AppContext& ctx, const QString& year, std::int32_t progressive)
{
    changeInPlace(ctx, eadfiles::headers(ctx, year), progressive, eadGone(progressive, year), [&](TRecEad& h) {
        if (!sentOrNot(stateOf(h)))
            throw eadChanged(progressive, stateOf(h));
        h.dataFlusso = 0;
        h.numeroFlusso = 0;
        h.ARC = QString(21, QLatin1Char(' '));
        h.stato = EadState::Compiled;
    });
}

void deleteUnsentEad(AppContext& ctx, const QString& year, std::int32_t progressive)
{
    const QString headersPath = eadfiles::headers(ctx, year);
    const QString transportPath = eadfiles::transport(ctx, year);
    const QString productsPath = eadfiles::products(ctx, year);
    FileGroup group({headersPath, transportPath, productsPath}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> headers = g.read(headersPath, HeaderSize);
        const qsizetype index = indexOfNumber(headers, progressive);
        if (index < 0)
            throw eadGone(progressive, year);
        const QString state = stateOf(decodeEad(headers[index]));
        if (!unsent(state))
            throw eadChanged(progressive, state);
        // The header goes first, then its lines.
        headers.removeAt(index);
        g.replace(headersPath, HeaderSize, headers);
        for (const QString& path : {transportPath, productsPath}) {
            const QList<QByteArray> lines = g.read(path, LineSize);
            QList<QByteArray> kept;
            for (const QByteArray& line : lines)
                if (codec::getI32(line, LineProgressive) != progressive)
                    kept << line;
            if (kept.size() != lines.size())
                g.replace(path, LineSize, kept);
        }
    });
}

TRecEad prepareCancellation(AppContext& ctx, const QString& year, std::int32_t progressive,
                            const CancellationReason& reason)
{
    const QString headersPath = eadfiles::headers(ctx, year);
    const QString cancellationsPath = cancelfiles::cancellations(ctx, year);
    TRecEad cancellation;
    FileGroup group({headersPath, cancellationsPath}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> headers = g.read(headersPath, HeaderSize);
        const qsizetype index = indexOfNumber(headers, progressive);
        if (index < 0)
            throw eadGone(progressive, year);
        TRecEad ead = decodeEad(headers[index]);
        if (!sentOrNot(stateOf(ead)))
            throw eadChanged(progressive, stateOf(ead));
        if (!hasArc(ead))
            throw IoError(noArcToCancel(progressive));
        QList<QByteArray> cancellations = g.read(cancellationsPath, HeaderSize);
        if (indexOfNumber(cancellations, progressive) >= 0)
            throw IoError(QStringLiteral("ESISTE GIA' UN ANNULLAMENTO DELL'e-AD N. %1").arg(progressive));

        cancellation = ead;
        cancellation.LINGUA = reason.language;
        cancellation.dataFlusso = 0;
        cancellation.numeroFlusso = 0;
        cancellation.stato = EadState::Compiled;
        cancellation.MOTANN() = reason.code;
        cancellation.descrizioneMotivo() = reason.description;
        cancellation.NOTMOT() = reason.note;
        eadToWorkingForm(cancellation);
        eadToStoredForm(cancellation);
        cancellations << encodeEad(cancellation); // a text the code page cannot hold stops here
        ead.stato = EadState::Cancelled;
        headers[index] = encodeEad(ead);
        // The cancellation before the state that points to it: should the second write never
        // happen, the e-AD is still accepted and its cancellation can be withdrawn.
        g.replace(cancellationsPath, HeaderSize, cancellations);
        g.replace(headersPath, HeaderSize, headers);
    });
    return cancellation;
}

void withdrawCancellation(AppContext& ctx, const QString& year, std::int32_t progressive)
{
    const QString headersPath = eadfiles::headers(ctx, year);
    const QString cancellationsPath = cancelfiles::cancellations(ctx, year);
    FileGroup group({headersPath, cancellationsPath}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> cancellations = g.read(cancellationsPath, HeaderSize);
        const qsizetype index = indexOfNumber(cancellations, progressive);
        if (index < 0)
            throw cancellationGone(progressive, year);
        const QString state = stateOf(decodeEad(cancellations[index]));
        if (!unsent(state))
            throw cancellationChanged(progressive, state);
        QList<QByteArray> headers = g.read(headersPath, HeaderSize);
        const qsizetype eadIndex = indexOfNumber(headers, progressive);
        cancellations.removeAt(index);
        g.replace(cancellationsPath, HeaderSize, cancellations);
        // The e-AD goes back to accepted when it has its ARC, otherwise to not sent. An e-AD that
        // is not (or no longer) cancelled is left as it is.
        if (eadIndex >= 0) {
            TRecEad ead = decodeEad(headers[eadIndex]);
            if (stateOf(ead) == EadState::Cancelled) {
                ead.stato = hasArc(ead) ? EadState::Accepted : EadState::Compiled;
                headers[eadIndex] = encodeEad(ead);
                g.replace(headersPath, HeaderSize, headers);
            }
        }
    });
}

void resetIe810SendData(AppContext& ctx, const QString& year, std::int32_t progressive)
{
    changeInPlace(ctx, cancelfiles::cancellations(ctx, year), progressive, cancellationGone(progressive, year),
                  [&](TRecEad& c) {
                      if (!sentOrNot(stateOf(c)))
                          throw cancellationChanged(progressive, stateOf(c));
                      c.dataFlusso = 0;
                      c.numeroFlusso = 0;
                      c.stato = EadState::Compiled;
                  });
}

void deleteUnsentChange(AppContext& ctx, const QString& year, std::int32_t number)
{
    const QString changesPath = changefiles::changes(ctx, year);
    const QString detailsPath = changefiles::details(ctx, year);
    FileGroup group({changesPath, detailsPath}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> changes = g.read(changesPath, HeaderSize);
        const qsizetype index = indexOfNumber(changes, number);
        if (index < 0)
            throw changeGone(number, year);
        const QString state = stateOf(decodeEad(changes[index]));
        if (!unsent(state))
            throw changeChanged(number, state);
        changes.removeAt(index);
        g.replace(changesPath, HeaderSize, changes);
        const QList<QByteArray> details = g.read(detailsPath, LineSize);
        QList<QByteArray> kept;
        for (const QByteArray& d : details)
            if (codec::getI32(d, LineProgressive) != number)
                kept << d;
        if (kept.size() != details.size())
            g.replace(detailsPath, LineSize, kept);
    });
}

void resetIe813SendData(AppContext& ctx, const QString& year, std::int32_t number)
{
    changeInPlace(ctx, changefiles::changes(ctx, year), number, changeGone(number, year), [&](TRecEad& c) {
        if (!sentOrNot(stateOf(c)))
            throw changeChanged(number, stateOf(c));
        c.dataFlusso = 0;
        c.numeroFlusso = 0;
        c.stato = EadState::Compiled;
    });
}

QStringList changeSummaryLines(const TRecEad& c, const QList<TRecDettaglio>& details)
{
    auto t = [](const QString& s) { return trimField(s); };
    QStringList out;
    auto addressLines = [&](const QString& id, const QString& name, const QString& street, const QString& number,
                            const QString& city, const QString& postcode, const QString& language) {
        if (!id.isNull())
            out << QStringLiteral("   Identificativo: ") + t(id);
        out << QStringLiteral("    Denominazione: ") + t(name);
        out << QStringLiteral("        Indirizzo: ") + t(street) + QStringLiteral(" - n. ") + t(number);
        out << QStringLiteral("         Località: ") + t(city) + QStringLiteral(" - CAP ") + t(postcode);
        out << QStringLiteral("           Lingua: ") + t(language);
    };
    out << QStringLiteral("Fattura n. ") + t(c.NUMFAT) + QStringLiteral(" del ") + dates::ddmmyyyy(c.DATFAT);
    out << QStringLiteral("Tipo Destinatario: ") + t(c.TIPDES) + QStringLiteral("   - Ufficio Doganale Competente: ") +
               t(c.UFFSPE);
    if (!t(c.DENDES).isEmpty()) {
        out << QStringLiteral("--------------------------- NUOVO DESTINATARIO ---------------------------");
        addressLines(c.COIDDE, c.DENDES, c.INDDES, c.NUCDES, c.CITDES, c.CAPDES, c.LINDES);
    }
    if (!t(c.DENLDE).isEmpty()) {
        out << QStringLiteral("--------------------------- LUOGO DESTINAZIONE ---------------------------");
        addressLines(c.COIDLD, c.DENLDE, c.INDLDE, c.NUCLDE, c.CITLDE, c.CAPLDE, c.LINLDE);
    }
    out << QStringLiteral("--------------------------- DATI DEL TRASPORTO ---------------------------");
    out << QStringLiteral("     Responsabile: ") + t(c.RESTRA);
    out << QStringLiteral("         Modalità: ") + t(c.MODTRA) + QStringLiteral("  - Nota: ") + t(c.INFTRA);
    out << QStringLiteral("           Durata: ") + (c.unitaDurata == 0 ? QStringLiteral("GIORNI: ") : QStringLiteral("ORE: ")) +
               QString::number(c.durata);
    if (!t(c.DENAZT).isEmpty()) {
        out << QStringLiteral("--------------------------- AZIENDA DI TRASPORTO -------------------------");
        out << QStringLiteral("   Partita I.V.A.: ") + t(c.PIAZTR);
        addressLines(QString(), c.DENAZT, c.INDAZT, c.NUCAZT, c.CITAZT, c.CAPAZT, c.LINAZT);
    }
    out << QStringLiteral("---------------------------- DETTAGLI DEL TRASPORTO -----------------------");
    int n = 0;
    for (const TRecDettaglio& d : details) {
        out << QStringLiteral(" Dettaglio Numero: ") + QString::number(++n) + QStringLiteral(" ------------ ");
        out << QStringLiteral("Id. Comm. Sigilli: ") + t(d.SIGTRA());
        out << QStringLiteral("Infor. su Sigilli: ") + t(d.INSITR());
        out << QStringLiteral("  Unità Trasporto: ") + t(d.UNITRA()) + QStringLiteral(" - Identificativo: ") + t(d.IDUNTR());
        out << QStringLiteral("  Altre Informaz.: ") + t(d.INAGTR());
    }
    return out;
}

QStringList writeChangeSummary(const AppContext& ctx, const TRecEad& change)
{
    const QStringList lines = changeSummaryLines(change, readLines(eadfiles::transportWork(ctx)));
    writeTextLines(eadSummaryPath(ctx), lines);
    return lines;
}

} // namespace vt
