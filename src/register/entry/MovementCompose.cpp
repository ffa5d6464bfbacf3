#include "register/entry/MovementCompose.h"

#include "foundation/Dates.h"
#include "foundation/NumberFormat.h"

namespace vt {

Composition composeMovement(AppContext& ctx, MovementMode mode, const TRecMovimento& old, bool loadSide,
                            const MovementFields& f)
{
    Composition out;
    QString firstFailure;
    // A failure after which the sequence goes on.
    auto soft = [&](const CheckResult& r) {
        if (r)
            return;
        if (!r.message.isEmpty())
            out.messages << r.message;
        if (firstFailure.isEmpty())
            firstFailure = r.focus;
    };
    // A failure that ends the sequence; an earlier one keeps the focus.
    auto hard = [&](const CheckResult& r) {
        if (r)
            return true;
        if (!r.message.isEmpty())
            out.messages << r.message;
        out.focus = firstFailure.isEmpty() ? r.focus : firstFailure;
        return false;
    };

    TRecMovimento n = movementBase(ctx, mode, old, loadSide, f.ANNOTA);
    if (isRectification(mode) && f.ANNOTA.trimmed().isEmpty())
        soft(CheckResult::fail(MsgNoteMandatory, QStringLiteral("ANNOTA")));
    soft(checkPlainText(f.ANNOTA, QStringLiteral("ANNOTA")));
    if (mode == MovementMode::RectifyCancel) {
        // The cancellation repeats the sent record as it stands, and the window shows that record
        // read-only: only the note is the user's. A code withdrawn from a table since the record
        // was sent must not make it impossible to cancel.
        if (!firstFailure.isEmpty()) {
            out.focus = firstFailure;
            return out;
        }
        out.record = n;
        out.ok = true;
        return out;
    }

    if (!hard(checkMovementDate({}, f.DATMOV)))
        return out;
    const auto protocol = protocolInForce(ctx, f.DATMOV);
    if (!protocol) {
        // The form stays as typed: the date is corrected, or a protocol entered, and nothing is lost.
        out.messages << MsgNoProtocol;
        out.focus = QStringLiteral("DATMOV");
        return out;
    }
    n.data = dates::fromDate(f.DATMOV);
    n.annoProtocollo = protocol->anno;
    n.numeroProtocollo = protocol->numero;
    // An unknown company product is not stored: the field is optional, but not free text.
    if (!hard(checkCompanyProduct(f.PRODAZ, f.prodazFound)))
        return out;
    n.prodottoAziendale = f.PRODAZ.trimmed();

    const bool ead = eadBlockShown(f.TIPDOC);
    if (!hard(checkDocumentType(f.tipdocFound, f.TIPDOC, loadSide)) ||
        !hard(checkDocumentNumber(f.NUMDOC, !f.numdocHidden)) || !hard(checkEadProgressive(f.NPRDAA, ead)) ||
        !hard(checkDocumentDate(f.DATDOC)))
        return out;
    const QString late = documentDateWarning(f.DATDOC, f.DATMOV);
    if (!late.isEmpty())
        out.messages << late;
    if (!hard(checkLocalReference(f.NILODD, ead)) || !hard(checkLineNumber(f.NUMCPR, ead)) ||
        !hard(checkStorage(f.TIPSTO)) || !hard(checkProductCode(f.proddoFound, f.PRODDO)))
        return out;
    n.tipoDocumento = f.TIPDOC.trimmed();
    n.numeroDocumento = f.NUMDOC.trimmed();
    n.progressivoEad = ead ? ParseInteger(f.NPRDAA) : 0;
    n.dataDocumento = dates::fromDate(f.DATDOC);
    n.riferimentoLocale = ead ? f.NILODD.trimmed() : QStringLiteral(" ");
    n.progressivoDettaglio = ead ? ParseInteger(f.NUMCPR) : 0;
    n.stoccaggio = f.TIPSTO.trimmed();
    n.codiceProdotto = f.PRODDO.trimmed();

    if (n.stoccaggio == QLatin1String("N")) {
        const CheckResult volume = checkPackageVolume(f.DOUBL3);
        soft(volume);
        if (volume)
            soft(checkPackages(f.NUMCON));
        n.confezioni = ParseInteger(f.NUMCON);
        n.volumeConfezione = ParseDecimal(f.DOUBL3, 5);
    } else {
        n.confezioni = 0;
        n.volumeConfezione = 0;
    }
    if (!hard(checkStrengthValue(f.DOUBL2)) || !hard(checkLitres(f.DOUBL1)) ||
        !hard(f.codpaeFound ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("CODPAE"))))
        return out;
    n.grado = ParseDecimal(f.DOUBL2, 5);
    n.litri = ParseDecimal(f.DOUBL1, 5);
    n.paese = f.CODPAE.trimmed();

    n.garanzia = 0;
    n.aliquota = 0;
    if (!loadSide) {
        const CheckResult amount = checkGuaranteeAmount(f.DOUBL5);
        soft(amount);
        n.garanzia = ParseDecimal(f.DOUBL5, 2);
        if (amount)
            n.aliquota = committedGuarantee(ctx, n.paese, n.codiceProdotto, n.grado, n.litri).aliquota;
    }

    const Counterpart who = checkCounterpart(ctx, f.MITDES, loadSide, n.tipoDocumento, old.tipoDestinazione);
    out.MITDES = who.replaceWith;
    out.DMITDES = who.description;
    if (!hard(who.check) ||
        !hard(f.caumovFound ? CheckResult::pass() : CheckResult::fail({}, QStringLiteral("CAUMOV"))))
        return out;
    n.controparte = (who.replaceWith ? *who.replaceWith : f.MITDES).trimmed();
    n.causale = f.CAUMOV.trimmed();
    n.nota = f.ANNOTA;

    if (!firstFailure.isEmpty()) {
        out.focus = firstFailure;
        return out;
    }
    // A modify or a rectification finds its own record in the file: that one is no duplicate.
    const bool ownRecord = mode == MovementMode::Modify || isRectification(mode);
    if (isDuplicateMovement(ctx, n, ownRecord ? &old : nullptr))
        out.messages << MsgDuplicate;
    out.record = n;
    out.ok = true;
    return out;
}

} // namespace vt
