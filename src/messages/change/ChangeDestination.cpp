#include "messages/change/ChangeDestination.h"

#include <algorithm>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "foundation/NumberFormat.h"
#include "messages/ead/EadCompile.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/ead/EadStore.h"
#include "messages/change/Ie813Send.h"
#include "messages/ead/Summary.h"

namespace vt {

namespace {
constexpr int kHeaderSize = TRecEad::Size;
constexpr int kLineSize = TRecDettaglio::Size;
} // namespace

CheckResult checkChangeableEad(const TRecEad& ead)
{
    const QString state = padField(ead.stato, 1);
    if (state != EadState::Compiled && state != EadState::Accepted)
        return CheckResult::fail(MsgChangeEadGone, {});
    if (!checkArc(ead.ARC).ok)
        return CheckResult::fail(MsgChangeWithoutArc, {});
    return CheckResult::pass();
}

void loadChangeDestinationEad(AppContext& ctx)
{
    TRecEad ead;
    if (!loadEad(ctx, ctx.SelectedYear, ctx.PickedEad, ead)) {
        ctx.PickedEad = -1;
        startNewEad(ctx);
        ctx.messenger().info(MsgChangeEadGone);
        return;
    }
    // Only the transport lines belong to a change.
    RecordFile(eadfiles::productWork(ctx), kLineSize).clear();
    const CheckResult r = checkChangeableEad(ead);
    if (!r.ok) {
        ctx.PickedEad = -1;
        startNewEad(ctx);
        ctx.messenger().info(r.message);
        return;
    }
    ctx.EadHeader = ead;
    ctx.OldEad = ead;
    ctx.WorkYear = ctx.SelectedYear;
}

QString changeMessageType(const TRecEad& ead)
{
    return trimField(ead.TIPMES) == QLatin1String("2") ? QStringLiteral("2") : QStringLiteral("1");
}

void changePanels(EadPanels& p)
{
    p.dispatch = false;
    p.exemption = false;
    p.nilodd = false;
    p.guarantor2 = p.guarantor3 = false;
}

EadForm changeFormFromEad(const TRecEad& ead)
{
    EadForm f = formFromHeader(ead);
    f["TIPMES"] = changeMessageType(ead);
    // Nothing of the dispatch, the exemption, the fallback procedure or the guarantees is shown.
    for (const char* n : {"SEDELS", "COIDLS", "DENLSP", "INDLSP", "NUCLSP", "CAPLSP", "CITLSP", "CERESE", "STAMEM",
                          "INVDIF", "NILODD", "DATSPE", "ORASPE"})
        f[QLatin1String(n)].clear();
    applyConsigneeView(consigneeView(f["TIPDES"], f["TIPMES"]), f);
    changePanels(f.panels);
    return f;
}

void copyCompanyReturn(const TRecAzienda& company, EadForm& f)
{
    TRecAzienda c = company;
    trimCompany(c);
    f["TIPDES"] = c.TIPOIN;
    applyConsigneeView(consigneeView(f["TIPDES"], f["TIPMES"]), f);
    changePanels(f.panels);
    f["COIDDE"] = c.CACCI1;
    f["DENDES"] = c.DENOM1;
    f["INDDES"] = c.INDIR1;
    f["NUCDES"] = c.NUMCI1;
    f["CAPDES"] = c.C_A_P1;
    f["CITDES"] = c.CITTA1;
    f["LINDES"] = QStringLiteral("it");
    f["COIDLD"] = c.CACCI2.isEmpty() ? c.CACCI1 : c.CACCI2;
    f["DENLDE"] = c.DENOM2.isEmpty() ? c.DENOM1 : c.DENOM2;
    f["INDLDE"] = c.INDIR2;
    f["NUCLDE"] = c.NUMCI2;
    f["CAPLDE"] = c.C_A_P2;
    f["CITLDE"] = c.CITTA2;
    f["LINLDE"] = QStringLiteral("it");
}

CheckResult checkChangePage1(EadForm& f, const CodeCheck& valid)
{
    // The compilation's page-1 rules; a change shows no place of dispatch and no exemption, and
    // its message type is the e-AD's.
    // The layout follows the codes as they stand, whether or not the window applied it yet.
    applyConsigneeView(consigneeView(f["TIPDES"], f["TIPMES"]), f);
    changePanels(f.panels);
    const CheckResult r = checkPage1(f, valid);
    // An export names its office of export: the IE813 carries it, and customs refuse it blank.
    if (r.ok && f.panels.exportOffice && isMissing(f["uffesp"]))
        return CheckResult::fail(MsgRequiredField, QStringLiteral("uffesp"));
    return r;
}

CheckResult checkChangePage2(EadForm& f, const CodeCheck& valid, int transportLines)
{
    PageCheck c;
    c.require(transportLines > 0, "NDETRA");
    // Journey time: 0 fails without a message, a value out of range with the range message.
    const char* duration = f.panels.hours ? "DURORE" : "DURGIO";
    const CheckResult range = f.panels.hours ? checkHours(f["DURORE"]) : checkDays(f["DURGIO"]);
    c.require(range.ok, duration, range.message);
    c.require(ParseInteger(f[QLatin1String(duration)]) != 0, duration);
    checkTransportArrangement(c, f, valid);
    return c.result();
}

TRecEad changeRecordFromForm(const EadForm& form, const TRecEad& ead, const TRecAzienda& company)
{
    EadForm f = form;
    changePanels(f.panels);
    TRecEad h = blankEad();
    eadToWorkingForm(h);
    page1ToHeader(f, company, h);
    page2ToHeader(f, h);
    // What a change does not carry, whatever the form holds.
    h.TIPMES.clear();
    h.ORASPE.clear();
    h.INVDIF.clear();
    h.progressivo = 0;
    h.riferimentoLocale.clear();
    h.dataFlusso = 0;
    h.numeroFlusso = 0;
    h.stato = EadState::Compiled;
    // From the e-AD it changes.
    h.progressivoRif = ead.progressivo;
    h.ARC = trimField(ead.ARC);
    h.DATSPE = ead.DATSPE;
    h.SEDELS = trimField(ead.SEDELS);
    return h;
}

QString changeDetailEntry(const TRecDettaglio& l, int n)
{
    return QStringLiteral("n. ") + QString::number(n) + QStringLiteral(" = ") + trimField(l.UNITRA()) +
           QLatin1Char(' ') + trimField(l.IDUNTR()) + QLatin1Char(' ') + trimField(l.INAGTR()) + QLatin1Char(' ') +
           trimField(l.SIGTRA()) + QLatin1Char(' ') + trimField(l.INSITR());
}

QStringList changeScreenSummary(const EadForm& f, const TRecEad& c, const QList<TRecDettaglio>& details)
{
    // The lines of the stored change's summary, with what the window adds: the message type in
    // the first line, the consignee heading of the compilation and the office of export.
    QStringList out = changeSummaryLines(c, details);
    out[0] = QStringLiteral("   Tipo Messaggio: ") + trimField(f["TIPMES"]) + QStringLiteral(" - ") + out[0];
    // Which e-AD is changed: the clerk confirms knowing it.
    out.prepend(QStringLiteral("   e-AD cambiato: ARC ") + trimField(c.ARC) + QStringLiteral(" - spedito il ") +
                dates::ddmmyyyy(c.DATSPE));
    const qsizetype consignee =
        out.indexOf(QStringLiteral("--------------------------- NUOVO DESTINATARIO ---------------------------"));
    if (consignee >= 0)
        out[consignee] = QStringLiteral("------------------------------ DESTINATARIO ------------------------------");
    if (f.panels.exportOffice) {
        qsizetype at = out.indexOf(QStringLiteral("--------------------------- LUOGO DESTINAZIONE ---------------------------"));
        if (at < 0)
            at = out.indexOf(QStringLiteral("--------------------------- DATI DEL TRASPORTO ---------------------------"));
        out.insert(at, QStringLiteral("   Ufficio export: ") + trimField(c.uffesp));
    }
    return out;
}

TRecEad saveChange(AppContext& ctx, const TRecEad& change, const QString& year)
{
    const QList<QByteArray> work = RecordFile(eadfiles::transportWork(ctx), kLineSize).readAll();
    if (work.isEmpty())
        throw IoError(QStringLiteral("IL CAMBIO DI DESTINAZIONE NON HA DETTAGLI DEL TRASPORTO: NON E' STATO SALVATO"));
    TRecEad stored = change;
    eadToStoredForm(stored);
    // A text the code page cannot hold is refused before any file is touched.
    (void)encodeEad(stored);

    const QString changesPath = changefiles::changes(ctx, year);
    const QString detailsPath = changefiles::details(ctx, year);
    const QString eadsPath = eadfiles::headers(ctx, year);
    FileGroup group({changesPath, detailsPath, eadsPath}, &ctx.messenger());
    group.run([&](FileGroup& g) {
        // The e-AD as its file holds it now, under its lock: another workstation may have
        // cancelled it, reset its send data or registered another ARC since it was picked.
        const QList<QByteArray> eads = g.read(eadsPath, kHeaderSize);
        const auto ead = std::find_if(eads.cbegin(), eads.cend(), [&](const QByteArray& r) {
            return RecordFile::numberOf(r) == change.progressivoRif;
        });
        if (ead == eads.cend())
            throw IoError(MsgChangeEadGone);
        const TRecEad now = decodeEad(*ead);
        const CheckResult changeable = checkChangeableEad(now);
        if (!changeable.ok)
            throw IoError(changeable.message);
        if (trimField(now.ARC) != trimField(change.ARC))
            throw IoError(MsgEadChangedElsewhere);
        QList<QByteArray> changes = g.read(changesPath, kHeaderSize);
        const std::int32_t number = nextRecordNumber(largestRecordNumber(changes), changesPath);
        // The details before the change that owns them.
        g.replace(detailsPath, kLineSize, withOwnedLines(g.read(detailsPath, kLineSize), work, number));
        stored.progressivo = number;
        changes << encodeEad(stored);
        g.replace(changesPath, kHeaderSize, changes);
    });
    ctx.reportSaved();
    return stored;
}

ChangeOutcome confirmChange(AppContext& ctx, EadForm& form)
{
    ChangeOutcome out;
    changePanels(form.panels);
    const CodeCheck valid = tableCodeCheck(ctx);
    out.result = checkChangePage1(form, valid);
    if (!out.result.ok) {
        out.page = 1;
        return out;
    }
    out.result = checkChangePage2(form, valid, transportLineCount(ctx));
    if (!out.result.ok) {
        out.page = 2;
        return out;
    }
    out.result = checkChangeableEad(ctx.EadHeader);
    if (!out.result.ok)
        return out;
    // The e-AD and its changes are filed under the year of its date of dispatch.
    const QString year = yearOfDate(ctx.EadHeader.DATSPE);
    if (year.isEmpty()) {
        out.result = CheckResult::fail(
            QStringLiteral("LA DATA DI SPEDIZIONE DELL'e-AD NON E' VALIDA: IL CAMBIO DI DESTINAZIONE NON E' STATO SALVATO"),
            {});
        return out;
    }
    const TRecEad change = changeRecordFromForm(form, ctx.EadHeader, ctx.CompanyRecord);
    out.summary = changeScreenSummary(form, change, readLines(eadfiles::transportWork(ctx)));
    writeTextLines(eadSummaryPath(ctx), out.summary);
    const TRecEad stored = saveChange(ctx, change, year);
    ctx.MessageRecord = stored;
    ctx.WorkYear = year;
    out.saved = true;
    return out;
}

} // namespace vt
