// Received e-AD documents of arbitrary bytes: no crash, no undefined behaviour, no runaway memory;
// a document is either refused with a reason and no lines, or read into a header and lines that
// can be written to their files as they are (ARC of 21 characters, line references 1-999 each
// once, every text held by Windows-1252).
#include "FuzzCheck.h"
#include "foundation/EadRecord.h"
#include "foundation/Text.h"
#include "messages/receipt/ReceivedEadParser.h"

#include <set>

using namespace vt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ReceivedEad doc = parseReceivedEad(bytesOf(data, size));
    if (!doc.ok) {
        FUZZ_CHECK(!doc.problem.isEmpty(), "refused without a reason");
        FUZZ_CHECK(doc.lines.isEmpty(), "refused with lines");
        return 0;
    }
    FUZZ_CHECK(doc.problem.isEmpty(), doc.problem);
    FUZZ_CHECK(trimField(doc.header.ARC).size() == 21, doc.header.ARC);
    FUZZ_CHECK(!doc.lines.isEmpty(), "accepted without lines");
    FUZZ_CHECK(doc.header.IMGATR != 0, "accepted without validation date");
    std::set<int> references;
    for (const TRecDettaglio& l : doc.lines) {
        FUZZ_CHECK(l.rigaProdotto >= 1 && l.rigaProdotto <= 999, QString::number(l.rigaProdotto));
        FUZZ_CHECK(references.insert(l.rigaProdotto).second, "repeated line reference");
        TRecDettaglio stored = l;
        lineToStoredForm(stored);
        try {
            const QByteArray bytes = encodeLine(stored);
            FUZZ_CHECK(bytes.size() == TRecDettaglio::Size, "line size");
        } catch (const EncodingError& e) {
            FUZZ_CHECK(false, e.text());
        }
    }
    TRecEad header = doc.header;
    eadToStoredForm(header);
    try {
        FUZZ_CHECK(encodeEad(header).size() == TRecEad::Size, "header size");
    } catch (const EncodingError& e) {
        FUZZ_CHECK(false, e.text());
    }
    return 0;
}
