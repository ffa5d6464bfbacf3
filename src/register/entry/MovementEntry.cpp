#include "register/entry/MovementEntry.h"

#include <cmath>

#include "foundation/AddressFile.h"
#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "register/store/RegisterStore.h"

namespace vt {

MovementMode movementModeOf(const AppContext& ctx)
{
    if (ctx.FromEad)
        return MovementMode::Prepared;
    if (ctx.RectifyCancel)
        return MovementMode::RectifyCancel;
    if (ctx.RectifyModify)
        return MovementMode::RectifyModify;
    if (ctx.ModifyMode)
        return MovementMode::Modify;
    return MovementMode::Insert;
}

bool isRectification(MovementMode m)
{
    return m == MovementMode::RectifyCancel || m == MovementMode::RectifyModify;
}

QString movementCaption(MovementMode mode, bool loadSide)
{
    switch (mode) {
    case MovementMode::RectifyCancel:
        return loadSide ? QStringLiteral("RETTIFICA: cancella un carico già inviato al sistema telematico")
                        : QStringLiteral("RETTIFICA: cancella uno scarico già inviato al sistema telematico");
    case MovementMode::RectifyModify:
        return loadSide ? QStringLiteral("RETTIFICA: modifica un carico già inviato al sistema telematico")
                        : QStringLiteral("RETTIFICA: modifica uno scarico già inviato al sistema telematico");
    default:
        return loadSide ? QStringLiteral("Movimento di CARICO") : QStringLiteral("Movimento di SCARICO");
    }
}

QString movementBanner(MovementMode mode, bool loadSide)
{
    if (isRectification(mode))
        return movementCaption(mode, loadSide);
    return loadSide ? QStringLiteral("CARICO") : QStringLiteral("SCARICO");
}

std::optional<Protocol> protocolInForce(const AppContext& ctx, const QDate& movementDate)
{
    if (!movementDate.isValid())
        return std::nullopt;
    const double day = dates::fromDate(movementDate);
    std::optional<Protocol> found;
    for (const TRecTabella& row : ReadRows(tablePath(ctx, QStringLiteral("PROTOCOLLI"), ".TAB"))) {
        if (row.ValA[1] == 0 || registerDay(row.ValA[1]) > day)
            continue;
        const QDate protocolDate = dates::toDate(row.ValA[0]);
        found = Protocol{protocolDate.isValid() ? QString::number(protocolDate.year()) : QString(),
                         trimField(row.Fld[0]), row};
    }
    return found;
}

bool eadBlockShown(const QString& t)
{
    static const QStringList types{QStringLiteral("EAD"), QStringLiteral("FBE"), QStringLiteral("ROR"),
                                   QStringLiteral("FBR"), QStringLiteral("COD"), QStringLiteral("FBC")};
    return types.contains(t.trimmed());
}

bool eadProgressiveFixed(const QString& t)
{
    return t.trimmed() == QLatin1String("EAD") || t.trimmed() == QLatin1String("FBE");
}

Guarantee committedGuarantee(const AppContext& ctx, const QString& country, const QString& productCode,
                             double grado, double litri)
{
    Guarantee g;
    const QString c = country.trimmed();
    const QString p = productCode.trimmed();
    if (c == QLatin1String("EX"))
        return g;
    const bool still = p.startsWith(QLatin1String("W200"));
    const bool sparkling = p.startsWith(QLatin1String("W300"));
    if (!still && !sparkling)
        return g;
    for (const TRecTabella& row : ReadRows(tablePath(ctx, QStringLiteral("ACCISE"), ".TAB"))) {
        if (trimField(row.Fld[0]) != c)
            continue;
        const int bands[2] = {still ? 0 : 5, still ? 1 : 6};
        bool anyRate = false;
        for (int b : bands) {
            if (row.ValC[b] > 0)
                anyRate = true;
            if (row.ValA[b] <= grado && grado <= row.ValB[b] && (row.ValC[b] > 0 || row.ValB[b] > 0)) {
                double rate = row.ValC[b];
                double amount = litri * rate / 1000.0;
                RoundTo(amount, 2);
                RoundTo(rate, 2);
                g.garanzia = amount;
                g.aliquota = rate;
                return g;
            }
        }
        // A row whose bands all have excise 0 means no excise: nothing to warn about.
        if (anyRate)
            g.warning = MsgNoRateBand;
        return g;
    }
    return g;
}

namespace {
CheckResult failAt(const char* field, const QString& message = {})
{
    return CheckResult::fail(message, QString::fromLatin1(field));
}

bool hasControl(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 32 || c.unicode() == 127)
            return true;
    return false;
}
} // namespace

CheckResult checkMovementDate(const QString&, const QDate& parsed)
{
    return parsed.isValid() ? CheckResult::pass() : failAt("DATMOV", MsgInvalidDate);
}

CheckResult checkDocumentType(bool found, const QString& code, bool loadSide)
{
    if (!found)
        return failAt("TIPDOC");
    const QString c = code.trimmed();
    // Said in words: a refusal in silence leaves the clerk typing the next fields into this one.
    if (loadSide && (c == QLatin1String("COD") || c == QLatin1String("EAD")))
        return failAt("TIPDOC", MsgLoadDocumentType);
    return CheckResult::pass();
}

CheckResult checkDocumentNumber(const QString& numdoc, bool shown)
{
    if (shown && numdoc.trimmed().isEmpty())
        return failAt("NUMDOC");
    return checkPlainText(numdoc, QStringLiteral("NUMDOC"));
}

CheckResult checkEadProgressive(const QString& nprdaa, bool shown)
{
    return !shown || ParseInteger(nprdaa) > 0 ? CheckResult::pass() : failAt("NPRDAA");
}

CheckResult checkDocumentDate(const QDate& parsed)
{
    return parsed.isValid() ? CheckResult::pass() : failAt("DATDOC", MsgInvalidDate);
}

QString documentDateWarning(const QDate& document, const QDate& movement)
{
    return document.isValid() && movement.isValid() && document > movement ? MsgDocumentAfterMovement : QString();
}

CheckResult checkLocalReference(const QString& nilodd, bool shown)
{
    if (shown && nilodd.trimmed().isEmpty())
        return failAt("NILODD");
    return checkPlainText(nilodd, QStringLiteral("NILODD"));
}

CheckResult checkLineNumber(const QString& numcpr, bool shown)
{
    return !shown || ParseInteger(numcpr) > 0 ? CheckResult::pass() : failAt("NUMCPR");
}

CheckResult checkStorage(const QString& tipsto)
{
    const QString t = tipsto.trimmed();
    return t == QLatin1String("S") || t == QLatin1String("N") ? CheckResult::pass() : failAt("TIPSTO");
}

CheckResult checkCompanyProduct(const QString& prodaz, bool found)
{
    return prodaz.trimmed().isEmpty() || found ? CheckResult::pass() : failAt("PRODAZ");
}

CheckResult checkProductCode(bool found, const QString& code)
{
    const QString c = code.trimmed();
    if (found && (c.startsWith(QLatin1String("W200")) || c.startsWith(QLatin1String("W300"))))
        return CheckResult::pass();
    return failAt("PRODDO");
}

CheckResult checkPackages(const QString& numcon)
{
    const double n = ParseDecimal(numcon, 0);
    if (n <= 0)
        return failAt("NUMCON", QStringLiteral("quantità obbligatoria per prodotto condizionato"));
    if (n > 9999999)
        return failAt("NUMCON", QStringLiteral("quantità MASSIMA: 9.999.999"));
    return CheckResult::pass();
}

CheckResult checkPackageVolume(const QString& doubl3)
{
    const double v = ParseDecimal(doubl3, 5);
    if (v < 0.000001)
        return failAt("DOUBL3", QStringLiteral("valore obbligatorio per prodotto condizionato"));
    if (v > 999.99999)
        return failAt("DOUBL3", QStringLiteral("valore MASSIMO: 999,99999"));
    return CheckResult::pass();
}

CheckResult checkStrengthValue(const QString& doubl2)
{
    return ParseDecimal(doubl2, 5) > 99.99999 ? failAt("DOUBL2", QStringLiteral("valore MASSIMO: 99,99999"))
                                               : CheckResult::pass();
}

CheckResult checkLitres(const QString& doubl1)
{
    const double l = ParseDecimal(doubl1, 5);
    if (l < 0.000001)
        return failAt("DOUBL1", QStringLiteral("quantità obbligatoria"));
    if (l > 99999999999.99999)
        return failAt("DOUBL1", QStringLiteral("quantità MASSIMA: 99.999.999.999,99999"));
    return CheckResult::pass();
}

CheckResult checkGuaranteeAmount(const QString& doubl5)
{
    return ParseDecimal(doubl5, 2) > 999999999999.99
               ? failAt("DOUBL5", QStringLiteral("quantità MASSIMA: 999.999.999.999,99"))
               : CheckResult::pass();
}

CheckResult checkPlainText(const QString& text, const QString& focus)
{
    return hasControl(text) ? CheckResult::fail(MsgControlCharacters, focus) : CheckResult::pass();
}

Counterpart checkCounterpart(AppContext& ctx, const QString& mitdes, bool loadSide, const QString& tipoDocumento,
                             const QString& destinationType)
{
    Counterpart out;
    const QString m = mitdes.trimmed();
    const QString t = destinationType.trimmed();
    const QString doc = tipoDocumento.trimmed();
    if (!m.isEmpty()) {
        out.check = checkPlainText(m, QStringLiteral("MITDES"));
        if (t == QLatin1String("8")) {
            out.replaceWith = UnknownDestination;
        } else if (t == QLatin1String("5") || t == QLatin1String("6")) {
            out.description = MsgOfficeCode;
        } else {
            // A new movement (no destination type) looks the counterpart up as well.
            const QString file = ctx.datiGen(loadSide ? QStringLiteral("INDIRIZZI_F.DAT") : QStringLiteral("INDIRIZZI_D.DAT"));
            TRecIndirizzo search = blankCompany();
            search.CACCI1 = m;
            auto found = FindAddress(AddressSearch::Excise, search, file);
            if (!found) {
                search = blankCompany();
                search.CACCI2 = m;
                found = FindAddress(AddressSearch::Slot23, search, file);
            }
            if (found)
                out.description = trimField(found->DENOM1) + QLatin1Char(' ') + trimField(found->CITTA1);
        }
        return out;
    }
    if (loadSide) {
        if (doc == QLatin1String("ROR") || doc == QLatin1String("NUL") || doc == QLatin1String("FBR"))
            out.check = CheckResult::fail(MsgSenderMandatory, QStringLiteral("MITDES"));
        return out;
    }
    if (doc == QLatin1String("EAD") || doc == QLatin1String("ROR") || doc == QLatin1String("FBR") ||
        doc == QLatin1String("COD")) {
        if (t == QLatin1String("8"))
            out.replaceWith = UnknownDestination;
        else if (t >= QLatin1String("1") && t <= QLatin1String("4") && t.size() == 1)
            out.check = CheckResult::fail(MsgConsigneeMandatory, QStringLiteral("MITDES"));
        else if (t == QLatin1String("5") || t == QLatin1String("6"))
            out.check = CheckResult::fail(MsgOfficeMandatory, QStringLiteral("MITDES"));
    }
    return out;
}

bool isDuplicateMovement(const AppContext& ctx, const TRecMovimento& candidate, const TRecMovimento* self)
{
    TRecMovimento n = candidate;
    PadRegisterRecord(n);
    const int year = registerYear(n.data);
    if (year == 0)
        return false;
    const double day = registerDay(n.data);
    const bool selfHere = self && self->numero > 0 && registerYear(self->data) == year;
    for (const TRecMovimento& r : readRegister(registerfiles::movements(ctx, year))) {
        if (codeIs(r.stato, RegisterState::Superseded) || (selfHere && r.numero == self->numero))
            continue;
        if (registerDay(r.data) == day && r.tipoDocumento == n.tipoDocumento && r.causale == n.causale &&
            r.numeroDocumento == n.numeroDocumento && r.dataDocumento == n.dataDocumento &&
            r.progressivoEad == n.progressivoEad && r.riferimentoLocale == n.riferimentoLocale &&
            r.progressivoDettaglio == n.progressivoDettaglio && r.codiceProdotto == n.codiceProdotto &&
            r.stoccaggio == n.stoccaggio && r.confezioni == n.confezioni && r.paese == n.paese &&
            r.controparte == n.controparte && r.operazione == n.operazione &&
            std::fabs(r.litri - n.litri) < 0.000009)
            return true;
    }
    return false;
}

TRecMovimento movementBase(const AppContext& ctx, MovementMode mode, const TRecMovimento& old, bool loadSide,
                           const QString& note)
{
    TRecMovimento n = mode == MovementMode::Insert ? blankRegisterRecord() : old;
    n.numero = 0;
    n.collegato = 0;
    n.dataFlusso = 0;
    n.numeroFlusso = 0;
    n.stato = RegisterState::Active;
    n.progressivo = 0;
    n.registro = QStringLiteral("C");
    n.operazione = RegisterOperation::Insert;
    n.ufficioDogana = ctx.CompanyRecord.UFFDO1.trimmed();
    n.tipoMovimento = loadSide ? QStringLiteral("C") : QStringLiteral("S");
    n.nota = note;
    return n;
}

TRecMovimento writeMovement(AppContext& ctx, MovementMode mode, const TRecMovimento& old, const TRecMovimento& n)
{
    Messenger& m = ctx.messenger();
    const QString target = registerfiles::movements(ctx, registerYear(n.data));
    const QString origin = registerfiles::movements(ctx, registerYear(old.data));
    switch (mode) {
    case MovementMode::Insert:
    case MovementMode::Prepared:
        return InsertRegisterRecord(n, target, m);
    case MovementMode::Modify:
        return ModifyRegisterRecord(old, origin, n, target, m);
    case MovementMode::RectifyCancel:
        return RectifyRegisterRecord(old, origin, RectifyKind::Cancel, n, m).cancellation();
    case MovementMode::RectifyModify:
        return *RectifyRegisterRecord(old, origin, RectifyKind::Modify, n, m).replacement;
    }
    return n;
}

std::optional<TRecMovimento> rereadPickedMovement(AppContext& ctx, MovementMode mode)
{
    const QString path = ctx.registri(ctx.SelectedYear + QStringLiteral(".RGM"));
    PickedRecord picked;
    {
        FileLock lock(path, ctx.messenger());
        picked = rereadForAction(path, ctx.PickedMovement,
                                 isRectification(mode) ? RecordNeed::Sent : RecordNeed::Unsent);
    }
    if (picked.record && picked.record->tipoMovimento.trimmed() != (ctx.LoadSide ? QLatin1String("C") : QLatin1String("S")))
        picked = {std::nullopt, QString::fromLatin1(ctx.LoadSide ? "IL MOVIMENTO SCELTO NON E' UN CARICO"
                                                                 : "IL MOVIMENTO SCELTO NON E' UNO SCARICO")};
    if (!picked.record) {
        ctx.messenger().info(picked.refusal);
        return std::nullopt;
    }
    ctx.MovementRecord = encodeRegisterRecord(*picked.record);
    return picked.record;
}

} // namespace vt
