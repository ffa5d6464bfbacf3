#include "register/undo/RegisterUndo.h"

#include <algorithm>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "register/flow/RegisterFlow.h"
#include "register/store/RegisterStore.h"

namespace vt {

namespace {

constexpr int kSize = TRecMovimento::Size;

bool isGuarantee(const TRecMovimento& r)
{
    return codeIs(r.registro, QStringLiteral("F"));
}

bool sameRecord(const QByteArray& stored, const TRecMovimento& listed)
{
    return encodeRegisterRecord(decodeRegisterRecord(stored)) == encodeRegisterRecord(listed);
}

qsizetype indexOf(const QList<QByteArray>& records, std::int32_t numero)
{
    for (qsizetype i = 0; i < records.size(); ++i)
        if (RecordFile::numberOf(records[i]) == numero)
            return i;
    return -1;
}

QString what(const TRecMovimento& r)
{
    return QStringLiteral("%1 N. %2 DEL %3")
        .arg(isGuarantee(r) ? QStringLiteral("LA GARANZIA") : QStringLiteral("IL MOVIMENTO"))
        .arg(r.numero)
        .arg(dates::ddmmyyyy(r.data));
}

QString changedElsewhere(const TRecMovimento& r)
{
    return what(r) +
        QStringLiteral(" E' STATO MODIFICATO, INVIATO O CANCELLATO "
                       "NEL FRATTEMPO: NON E' STATO TOCCATO");
}

QString amount(double v, int width = 0, int decimals = 2)
{
    return FormatNumber(v, width, qint16(decimals)).trimmed();
}

QString deletionLine(QChar mode, const TRecMovimento& r)
{
    const QString date = dates::ddmmyyyy(r.data);
    if (mode.toUpper() == QLatin1Char('F'))
        return date + QStringLiteral(" |impegno: ") + amount(r.impegnato()) + QStringLiteral(" |svincolo: ") +
            amount(r.svincolato()) + QStringLiteral(" |nuova: ") + amount(r.nuovaCauzione()) +
            QStringLiteral(" |scaduta: ") + amount(r.riscattata()) + QStringLiteral(" |disponibile: ") +
            amount(r.disponibile()) + QStringLiteral(" |");
    return date + QStringLiteral(" doc. ") + r.numeroDocumento + QStringLiteral(" - ") +
        QString::number(r.progressivoEad) + QStringLiteral(" del ") + dates::ddmmyyyy(r.dataDocumento) +
        (mode.toUpper() == QLatin1Char('C') ? QStringLiteral(" mitt. ") : QStringLiteral(" dest. ")) + r.controparte +
        QLatin1Char(' ') + r.paese + QStringLiteral(" lt. ") + FormatNumber(r.litri, 6, 3);
}

bool listedFor(QChar mode, const TRecMovimento& r)
{
    if (r.dataFlusso != 0 || r.numeroFlusso != 0 || codeIs(r.stato, RegisterState::Superseded))
        return false;
    const bool rectification = mode.isLower();
    if (!codeIs(r.operazione, rectification ? RegisterOperation::Cancellation : RegisterOperation::Insert))
        return false;
    switch (mode.toUpper().toLatin1()) {
    case 'C':
        return codeIs(r.registro, QStringLiteral("C")) && codeIs(r.tipoMovimento, QStringLiteral("C"));
    case 'S':
        return codeIs(r.registro, QStringLiteral("C")) && codeIs(r.tipoMovimento, QStringLiteral("S"));
    case 'F':
        return isGuarantee(r);
    default:
        return false;
    }
}

QString registerPath(const AppContext& ctx, QChar mode, int year)
{
    return mode.toUpper() == QLatin1Char('F') ? registerfiles::guarantees(ctx, year)
                                              : registerfiles::movements(ctx, year);
}

} // namespace

UndoList buildReactivationList(const AppContext& ctx, int year, const QDate& flowDate, int flowNumber)
{
    UndoList list;
    list.year = year;
    const double day = dates::fromDate(flowDate);
    for (const QString& path : {registerfiles::movements(ctx, year), registerfiles::guarantees(ctx, year)})
        for (const TRecMovimento& r : readRegister(path))
            if (r.numeroFlusso == flowNumber && flowNumber != 0 && registerDay(r.dataFlusso) == day) {
                list.records << r;
                list.lines << registerListLine(r);
            }
    return list;
}

int lastFlowNumber(const AppContext& ctx, const QDate& flowDate)
{
    return proposedRegisterFlowNumber(ctx, flowDate) - 1;
}

UndoResult reactivateRecords(
    AppContext& ctx, int year, const QList<TRecMovimento>& chosen, const QDate& flowDate, int flowNumber)
{
    UndoResult result;
    const QString paths[2] = {registerfiles::movements(ctx, year), registerfiles::guarantees(ctx, year)};
    const double day = dates::fromDate(flowDate);
    FileGroup group({paths[0], paths[1]}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> files[2] = {g.read(paths[0], kSize), g.read(paths[1], kSize)};
        bool touched[2] = {false, false};
        for (const TRecMovimento& listed : chosen) {
            const int f = isGuarantee(listed) ? 1 : 0;
            const qsizetype at = indexOf(files[f], listed.numero);
            // Only a record that still carries this flow and is otherwise as listed.
            if (at < 0 || !sameRecord(files[f][at], listed) || listed.numeroFlusso != flowNumber ||
                registerDay(listed.dataFlusso) != day) {
                result.refused << changedElsewhere(listed);
                continue;
            }
            TRecMovimento r = decodeRegisterRecord(files[f][at]);
            r.dataFlusso = 0;
            r.numeroFlusso = 0;
            files[f][at] = encodeRegisterRecord(r);
            touched[f] = true;
            ++result.done;
        }
        for (int f = 0; f < 2; ++f)
            if (touched[f])
                g.replace(paths[f], kSize, files[f]);
    });
    return result;
}

bool deletionModeBuilt(QChar mode)
{
    return QStringLiteral("CScsFf").contains(mode);
}

QString deletionCaption(QChar mode)
{
    switch (mode.toLatin1()) {
    case 'C':
        return QStringLiteral("Cancella i movimenti di carico non ancora inviati "
                              "al servizio telematico");
    case 'S':
        return QStringLiteral("Cancella i movimenti di scarico non ancora inviati "
                              "al servizio telematico");
    case 'c':
        return QStringLiteral("Cancella le rettifiche dei carichi non ancora "
                              "inviate al servizio telematico");
    case 's':
        return QStringLiteral("Cancella le rettifiche degli scarichi non ancora "
                              "inviate al servizio telematico");
    case 'F':
        return QStringLiteral("Cancella le garanzie non ancora inviate al servizio telematico");
    case 'f':
        return QStringLiteral("Cancella le rettifiche delle garanzie non ancora "
                              "inviate al servizio telematico");
    default:
        return QStringLiteral("CANCELLA I MOVIMENTI NON INVIATI");
    }
}

UndoList buildDeletionList(const AppContext& ctx, QChar mode, int year)
{
    UndoList list;
    list.year = year;
    if (!deletionModeBuilt(mode))
        return list;
    for (const TRecMovimento& r : readRegister(registerPath(ctx, mode, year)))
        if (listedFor(mode, r)) {
            list.records << r;
            list.lines << deletionLine(mode, r);
        }
    return list;
}

UndoResult deleteRecords(AppContext& ctx, QChar mode, int year, const QList<TRecMovimento>& chosen)
{
    UndoResult result;
    if (!deletionModeBuilt(mode))
        return result;
    const QString path = registerPath(ctx, mode, year);
    FileGroup group({path}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> records = g.read(path, kSize);
        bool touched = false;
        for (const TRecMovimento& listed : chosen) {
            const qsizetype at = indexOf(records, listed.numero);
            if (at < 0 || !sameRecord(records[at], listed) || !listedFor(mode, listed)) {
                result.refused << changedElsewhere(listed);
                continue;
            }
            if (mode.isUpper()) {
                // A record another one points at (a concluded unload, a rectified
                // record) or the replacement of a rectification goes only with what it
                // belongs to.
                const bool linkedTo = std::any_of(records.cbegin(), records.cend(), [&](const QByteArray& b) {
                    const TRecMovimento o = decodeRegisterRecord(b);
                    return o.numero != listed.numero && o.collegato == listed.numero &&
                        !codeIs(o.stato, RegisterState::Superseded);
                });
                if (linkedTo || listed.collegato != 0 || codeIs(listed.stato, RegisterState::Replacement)) {
                    result.refused << what(listed) +
                            QStringLiteral(" E' COLLEGATO AD ALTRI RECORD "
                                           "(CONCLUSIONE O RETTIFICA): NON E' "
                                           "STATO CANCELLATO");
                    continue;
                }
                records.removeAt(at);
            } else {
                // The unsent rectification: its cancellation record, the replacement
                // made with it (the next number, same link, state "R") and the
                // rectified record active again.
                const qsizetype rectified = indexOf(records, listed.collegato);
                const qsizetype replacement = indexOf(records, listed.numero + 1);
                std::optional<TRecMovimento> repl;
                if (replacement >= 0) {
                    const TRecMovimento r = decodeRegisterRecord(records[replacement]);
                    if (r.collegato == listed.collegato && codeIs(r.stato, RegisterState::Replacement))
                        repl = r;
                }
                TRecMovimento old;
                if (rectified >= 0)
                    old = decodeRegisterRecord(records[rectified]);
                if (rectified < 0 || !codeIs(old.stato, RegisterState::Superseded)) {
                    result.refused << what(listed) + QStringLiteral(": IL RECORD RETTIFICATO NON E' PIU' NEL REGISTRO");
                    continue;
                }
                if (repl && (repl->numeroFlusso != 0 || repl->dataFlusso != 0)) {
                    result.refused << what(listed) +
                            QStringLiteral(": LA SOSTITUZIONE E' GIA' STATA INVIATA, "
                                           "LA RETTIFICA NON PUO' "
                                           "ESSERE CANCELLATA");
                    continue;
                }
                const bool replLinked = repl && std::any_of(records.cbegin(), records.cend(), [&](const QByteArray& b) {
                    const TRecMovimento o = decodeRegisterRecord(b);
                    return o.collegato == repl->numero && !codeIs(o.stato, RegisterState::Superseded);
                });
                if (replLinked) {
                    result.refused << what(listed) +
                            QStringLiteral(": LA SOSTITUZIONE E' COLLEGATA AD ALTRI "
                                           "RECORD, LA RETTIFICA NON "
                                           "PUO' ESSERE CANCELLATA");
                    continue;
                }
                old.stato = RegisterState::Active;
                records[rectified] = encodeRegisterRecord(old);
                // Highest position first, so the other index still holds.
                QList<qsizetype> gone{at};
                if (repl)
                    gone << replacement;
                std::sort(gone.begin(), gone.end(), std::greater<>());
                for (qsizetype i : gone)
                    records.removeAt(i);
            }
            touched = true;
            ++result.done;
        }
        if (touched)
            g.replace(path, kSize, records);
    });
    return result;
}

} // namespace vt
