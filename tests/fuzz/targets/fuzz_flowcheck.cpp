// The customs stand-in's check of a received flow, on arbitrary flow text and on valid flows
// changed in one byte: no crash, no undefined behaviour, and an outcome the program reads with
// the verdict the check gave.
#include "FlowCheck.h"
#include "FuzzCheck.h"
#include "messages/transmission/OutcomeParser.h"

using namespace vt;

namespace {

const QString kArc = QStringLiteral("26ITABCDEFGHIJKLMNOP4");

FlowKind kindOf(const QString& code)
{
    if (code == QLatin1String("IE810"))
        return FlowKind::IE810;
    if (code == QLatin1String("IE813"))
        return FlowKind::IE813;
    if (code == QLatin1String("IE818"))
        return FlowKind::IE818;
    if (code == QLatin1String("ALCOAV"))
        return FlowKind::Register;
    return FlowKind::IE815;
}

standin::FlowCheck checkAndAnswer(const QByteArray& flow)
{
    const standin::FlowCheck c = standin::checkFlow(flow);
    FUZZ_CHECK(c.records >= 0, "negative record count");
    FUZZ_CHECK(!c.valid() || c.records >= 1, "a valid flow without records");
    FUZZ_CHECK(c.code.isEmpty() || flow.contains(c.code.toLatin1()), c.code);

    const QByteArray answer = standin::outcomeFor(c, [] { return kArc; });
    FUZZ_CHECK(answer.isEmpty() || answer.endsWith("\r\n"), "outcome without final line end");
    const vt::outcome::Outcome o = vt::outcome::parse(answer, kindOf(c.code));
    QString expected;
    if (c.code == QLatin1String("ALCOAV"))
        expected = c.valid() ? vt::outcome::positive() : QStringLiteral("ESITO NEGATIVO - SCARTATO");
    else if (c.valid())
        expected = c.code == QLatin1String("IE815") ? kArc : vt::outcome::positive();
    else
        expected = vt::outcome::negative();
    FUZZ_CHECK(o.result == expected,
               QStringLiteral("code [%1] valid %2: the program reads [%3]").arg(c.code).arg(c.valid()).arg(o.result));
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray flow = bytesOf(data, size);
    const standin::FlowCheck c = checkAndAnswer(flow);
    if (!c.valid() || size < 4)
        return 0;
    // A valid flow changed in one byte, at up to 32 places spread over it.
    const size_t step = std::max<size_t>(1, size / 32);
    for (size_t pos = data[0] % step; pos < size; pos += step) {
        QByteArray changed = flow;
        changed[qsizetype(pos)] = char(data[pos] ^ (1 + data[(pos + 1) % size] % 255));
        FUZZ_CHECK(changed != flow, "no change");
        checkAndAnswer(changed);
        // The line end at the very end and the line count of the header are always checked.
        if (pos == size - 1)
            FUZZ_CHECK(!standin::checkFlow(changed).valid(), "the last line end changed, yet valid");
    }
    return 0;
}
