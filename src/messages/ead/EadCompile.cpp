#include "messages/ead/EadCompile.h"

#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/Settings.h"
#include "messages/ead/EadDuplicate.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"

namespace vt {

void loadPickedEad(AppContext& ctx)
{
    TRecEad header;
    if (!loadEad(ctx, ctx.SelectedYear, ctx.PickedEad, header) || padField(header.stato, 1) != EadState::Compiled) {
        ctx.PickedEad = -1;
        startNewEad(ctx);
        ctx.messenger().info(MsgEadGone);
        return;
    }
    if (ctx.OpCode == QLatin1Char('D'))
        RecordFile(eadfiles::productWork(ctx), TRecDettaglio::Size).clear();
    ctx.EadHeader = header;
    ctx.OldEad = header;
    ctx.WorkYear = ctx.SelectedYear;
}

CodeCheck tableCodeCheck(AppContext& ctx)
{
    return [&ctx](const QString& table, const QString& code) {
        if (trimField(code).isEmpty())
            return false;
        if (table == kPremisesTable)
            return checkSedels(ctx, code).ok;
        try {
            return LookupCode(ctx, table, code).has_value();
        } catch (const IoError&) {
            return false;
        }
    };
}

int transportLineCount(const AppContext& ctx)
{
    return static_cast<int>(RecordFile(eadfiles::transportWork(ctx), TRecDettaglio::Size).count());
}

int productLineCount(const AppContext& ctx)
{
    return static_cast<int>(RecordFile(eadfiles::productWork(ctx), TRecDettaglio::Size).count());
}

double compilationExcise(AppContext& ctx, const QString& coidde)
{
    const QString country = trimField(coidde).left(2);
    if (country.size() < 2)
        return 0;
    QList<TRecDettaglio> lines = readLines(eadfiles::productWork(ctx));
    for (TRecDettaglio& l : lines)
        lineToWorkingForm(l);
    return exciseAmount(FindTableRow(ctx, QStringLiteral("ACCISE"), country), lines);
}

QStringList compilationSummary(const AppContext& ctx, const EadForm& form)
{
    const TRecEad header = headerFromForm(form, ctx.CompanyRecord);
    return eadSummaryLines(header, readLines(eadfiles::transportWork(ctx)), readLines(eadfiles::productWork(ctx)),
                           summaryBlocks(form));
}

AllPagesVerdict checkCompilation(AppContext& ctx, EadForm& form, bool duplicate)
{
    AllPagesVerdict v = checkAllPages(form, tableCodeCheck(ctx), transportLineCount(ctx), productLineCount(ctx),
                                      ctx.clock().today());
    // A duplicate's own checks of a page come after that page's, before the later pages'.
    const int failed = v.page == 0 ? 5 : v.page;
    for (int page = 1; duplicate && page < failed && page <= 3; ++page)
        if (const CheckResult r = checkDuplicatePage(ctx, form, page); !r.ok)
            return AllPagesVerdict{page, r};
    return v;
}

CompileOutcome confirmCompilation(AppContext& ctx, EadForm& form, bool modify, bool duplicate)
{
    CompileOutcome out;
    out.verdict = checkCompilation(ctx, form, duplicate);
    if (out.verdict.page != 0)
        return out;
    const TRecEad header = headerFromForm(form, ctx.CompanyRecord);
    out.summary = compilationSummary(ctx, form);
    writeTextLines(eadSummaryPath(ctx), out.summary);
    const QString fallback = form.panels.nilodd ? trimField(form["NILODD"]) : QString();
    ctx.EadHeader = saveEad(ctx, header, fallback, modify ? &ctx.OldEad : nullptr);
    return out;
}

} // namespace vt
