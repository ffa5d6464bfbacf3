#include "messages/ead/EadDuplicate.h"

#include "foundation/AppContext.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/ead/EadCompile.h"
#include "messages/ead/EadStore.h"

namespace vt {

namespace {

// Work-file lines of the source: position in field 0, no owner, no flow line
// number.
QList<QByteArray> asWorkLines(const QList<QByteArray>& lines)
{
    QList<QByteArray> out;
    std::int32_t n = 0;
    for (QByteArray l : lines) {
        codec::putI32(l, 0, ++n);
        codec::putI32(l, 4, 0);
        codec::putI32(l, 8, 0); // the flow numbers the product lines again
        out << l;
    }
    return out;
}

} // namespace

void loadDuplicateSource(AppContext& ctx)
{
    const QString year = ctx.SelectedYear;
    const std::int32_t progressive = ctx.PickedEad;
    std::optional<TRecEad> source;
    QList<QByteArray> transport, products;
    {
        // Under the lock a save of this year is finished or not begun: never a
        // header without all its lines.
        const QString headers = eadfiles::headers(ctx, year);
        FileLock lock(headers, ctx.messenger());
        source = findHeader(headers, progressive);
        if (source) {
            auto mine = [progressive](const QString& path) {
                QList<QByteArray> out;
                for (const QByteArray& l : RecordFile(path, TRecDettaglio::Size).readAll())
                    if (codec::getI32(l, 4) == progressive)
                        out << l;
                return out;
            };
            transport = mine(eadfiles::transport(ctx, year));
            products = mine(eadfiles::products(ctx, year));
        }
    }
    if (!source) {
        ctx.PickedEad = -1;
        startNewEad(ctx);
        ctx.messenger().info(MsgDuplicateGone);
        return;
    }
    RecordFile(eadfiles::transportWork(ctx), TRecDettaglio::Size).replaceAll(asWorkLines(transport));
    RecordFile(eadfiles::productWork(ctx), TRecDettaglio::Size).replaceAll(asWorkLines(products));
    ctx.EadHeader = *source;
    ctx.OldEad = blankEad();
}

EadForm duplicateForm(const TRecEad& source, const TRecAzienda& company, const QDate& today)
{
    EadForm f = formFromHeader(source);
    const EadForm fresh = newEadForm(company, today);
    for (const char* name : {"DATFAT", "DATSPE", "ORASPE", "INVDIF"})
        f[QLatin1String(name)] = fresh[QLatin1String(name)];
    f["NILODD"].clear();
    f.panels.nilodd = false;
    // The place of dispatch follows the company as it is now when its kind has
    // changed.
    if (f.panels.dispatch != fresh.panels.dispatch) {
        f.panels.dispatch = fresh.panels.dispatch;
        for (const char* name : {"SEDELS", "COIDLS", "DENLSP", "INDLSP", "NUCLSP", "CAPLSP", "CITLSP"})
            f[QLatin1String(name)] = fresh[QLatin1String(name)];
    }
    return f;
}

CheckResult checkDuplicatePage(AppContext& ctx, const EadForm& f, int page)
{
    const CodeCheck valid = tableCodeCheck(ctx);
    if (page == 1) {
        if (!f.panels.consignee)
            return CheckResult::pass();
        const QString id = trimField(f["COIDDE"]);
        const QString name = trimField(f["DENDES"]);
        QList<QByteArray> book;
        try {
            book = RecordFile(ctx.datiGen(QStringLiteral("INDIRIZZI_D.DAT")), TRecAzienda::Size).readAll();
        } catch (const IoError& e) {
            return CheckResult::fail(e.text(), QStringLiteral("COIDDE"));
        }
        for (const QByteArray& bytes : book) {
            const TRecAzienda a = decodeCompany(bytes);
            if (id.isEmpty() ? trimField(a.DENOM1).compare(name, Qt::CaseInsensitive) == 0 : trimField(a.CACCI1) == id)
                return CheckResult::pass();
        }
        return CheckResult::fail(MsgConsigneeGone, id.isEmpty() ? QStringLiteral("DENDES") : QStringLiteral("COIDDE"));
    }
    if (page == 2) {
        int n = 0;
        for (const TRecDettaglio& l : readLines(eadfiles::transportWork(ctx))) {
            ++n;
            if (!valid(QStringLiteral("T009"), trimField(l.UNITRA())))
                return CheckResult::fail(MsgTransportCodeGone.arg(n).arg(trimField(l.UNITRA())),
                                         QStringLiteral("NDETRA"));
        }
    }
    if (page == 3) {
        int n = 0;
        for (const TRecDettaglio& l : readLines(eadfiles::productWork(ctx))) {
            ++n;
            const std::pair<const char*, QString> codes[] = {
                {"PRAZ", trimField(l.COAZPR)}, {"TA20", trimField(l.META20)}, {"T010", trimField(l.CODIMB)}};
            for (const auto& [table, code] : codes)
                if (!valid(QLatin1String(table), code))
                    return CheckResult::fail(MsgProductGone.arg(n).arg(code), QStringLiteral("NDETPR"));
        }
    }
    return CheckResult::pass();
}

} // namespace vt
