// Outcome attachments of arbitrary bytes, read in both layouts: no crash, no undefined behaviour,
// a result that is one of the defined ones, and details that the program can write and read back.
#include "FuzzCheck.h"
#include "messages/transmission/OutcomeParser.h"

using namespace vt;
using namespace vt::outcome;

namespace {

void checkDetailsFile(const Outcome& o)
{
    const QByteArray file = detailsBytes(o.details);
    FUZZ_CHECK(o.details.isEmpty() || file.endsWith("\r\n"), "details file without final line end");
    FUZZ_CHECK(splitLines(file).size() == o.details.size(), "details file lines differ from the details");
}

void checkMessageLayout(const QByteArray& attachment, const QStringList& lines, FlowKind kind)
{
    const Outcome o = parse(attachment, kind);
    FUZZ_CHECK(o.result == parseMessageLayout(attachment, kind).result, "parse chose another layout");
    int expectedDetails = 0;
    QString expected = negative();
    QString arc;
    bool positiveLine = false;
    for (const QString& l : lines) {
        if (!l.startsWith(QLatin1Char('I')))
            continue;
        if (l.mid(50, 1) == QLatin1String("P")) {
            positiveLine = true;
            expectedDetails += kind == FlowKind::IE815 ? 6 : 5;
            if (kind == FlowKind::IE815 && arc.isEmpty() && wellFormedArc(l.mid(51, 21)))
                arc = l.mid(51, 21); // the first well-formed ARC stays
            expected = arc.isEmpty() ? positive() : arc;
        } else {
            expectedDetails += 13;
        }
    }
    FUZZ_CHECK(o.result == expected, QStringLiteral("result [%1] instead of [%2]").arg(o.result, expected));
    FUZZ_CHECK(o.positive == positiveLine, "a positive line not seen as positive");
    FUZZ_CHECK(o.arc == arc, QStringLiteral("ARC [%1] instead of [%2]").arg(o.arc, arc));
    FUZZ_CHECK(o.details.size() == expectedDetails, QStringLiteral("%1 detail lines").arg(o.details.size()));
    if (kind == FlowKind::IE815) {
        FUZZ_CHECK(o.arc.isEmpty() || wellFormedArc(o.arc), o.arc);
        checkDetailsFile(o); // the other kinds write the same lines, less the ARC
    }
}

void checkRegisterLayout(const QByteArray& attachment, const QStringList& lines)
{
    const Outcome o = parse(attachment, FlowKind::Register);
    const bool fileRecord = std::any_of(lines.begin(), lines.end(),
                                        [](const QString& l) { return l.contains(QLatin1String("ALCOAV")); });
    FUZZ_CHECK(o.result == negative() || o.result == positive() || o.result == QLatin1String("ESITO NEGATIVO - SCARTATO"),
               o.result);
    if (!fileRecord) {
        FUZZ_CHECK(o.result == negative() && o.details.isEmpty(), "a verdict without a file record");
    } else {
        FUZZ_CHECK(o.details.size() >= 3, "a file record without its three detail lines");
    }
    // Never more than the file record's three lines plus two per following line.
    FUZZ_CHECK(o.details.size() <= 3 * lines.size() + 2 * lines.size(), "details grow faster than the lines");
    checkDetailsFile(o);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray attachment = bytesOf(data, size);
    const QStringList lines = splitLines(attachment);
    FUZZ_CHECK(lines.size() <= attachment.count('\n') + 1, "more lines than line ends");
    for (FlowKind kind : {FlowKind::IE815, FlowKind::IE810, FlowKind::IE813, FlowKind::IE818})
        checkMessageLayout(attachment, lines, kind);
    checkRegisterLayout(attachment, lines);
    return 0;
}
