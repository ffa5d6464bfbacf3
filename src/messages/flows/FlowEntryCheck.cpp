#include "messages/flows/FlowEntryCheck.h"

#include <QFileInfo>

#include <algorithm>

#include "foundation/AppContext.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/flows/FlowName.h"

namespace vt {

int proposedFlowNumber(const AppContext& ctx, const QDate& date)
{
    // A flow written without signing waits in the folder of files to sign: its number is taken
    // too, or the next flow of the day would be written over it.
    const QString userCode = trimField(ctx.CompanyRecord.CODUTE);
    return std::max(flow::proposedNumber(ctx.AppConfig.Fld[2], userCode, date),
                    flow::proposedNumber(ctx.AppConfig.Fld[1], userCode, date));
}

FlowEntryCheck checkFlowEntry(const AppContext& ctx, const QDate& flowDate, const QString& numberText,
                              const FlowDateRule& dateRule)
{
    FlowEntryCheck c;
    bool ok = false;
    const int number = numberText.trimmed().toInt(&ok);
    if (!ok || number < 1) {
        c.verdict = CheckResult::fail(QString(), QStringLiteral("NUMFLU"));
        return c;
    }
    if (number > flow::MaxNumber) {
        c.verdict = CheckResult::fail(QString::fromUtf8(FlowNumberRange), QStringLiteral("NUMFLU"));
        return c;
    }
    if (!flowDate.isValid()) {
        c.verdict = CheckResult::fail(QString(), QStringLiteral("DATFLU"));
        return c;
    }
    const QString userCode = trimField(ctx.CompanyRecord.CODUTE);
    const QString problem = flow::userCodeProblem(userCode);
    if (!problem.isEmpty()) {
        c.verdict = CheckResult::fail(problem, QStringLiteral("DATFLU"));
        return c;
    }
    c.entry.date = flowDate;
    c.entry.number = number;
    c.entry.name = flow::flowName(userCode, flowDate, number);
    if (dateRule) {
        const QString broken = dateRule(flowDate);
        if (!broken.isEmpty()) {
            c.warnings << broken;
            c.warningFocus = QStringLiteral("DATFLU");
        }
    }
    if (QFileInfo::exists(flow::pathIn(ctx.AppConfig.Fld[2], flow::signedName(c.entry.name)))) {
        c.warnings << QString::fromUtf8(SignedFileReplaced);
        c.entry.replaceSigned = true;
    }
    return c;
}

void removeReplacedSigned(const AppContext& ctx, const FlowEntry& entry)
{
    if (entry.replaceSigned)
        removeFile(flow::pathIn(ctx.AppConfig.Fld[2], flow::signedName(entry.name)));
}

} // namespace vt
