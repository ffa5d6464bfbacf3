// Line numbers, groups of records and safe marking: before/after register files written by hand
// from the record layout.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "register/RegisterFixture.h"
#include "register/store/RegisterStore.h"

using namespace vt;
using namespace vt::test;

namespace {

QDate D(int d, int m, int y = 2027)
{
    return QDate(y, m, d);
}

double serial(const QDate& d)
{
    return dates::fromDate(d);
}

TRecMovimento recordOf(const RegisterLine& l)
{
    return decodeRegisterRecord(registerLineBytes(l));
}

QString summary(const QByteArray& bytes)
{
    QStringList out;
    for (int at = 0; at + 520 <= bytes.size(); at += 520) {
        const TRecMovimento r = decodeRegisterRecord(bytes.mid(at, 520));
        out << QStringLiteral("%1/%2 %3 '%4%5%6' ->%7 flow %8 l.%9")
                   .arg(r.numero)
                   .arg(r.progressivo)
                   .arg(dates::ddmmyyyy(r.data), r.tipoMovimento, r.operazione, r.stato)
                   .arg(r.collegato)
                   .arg(r.numeroFlusso)
                   .arg(r.litri);
    }
    return out.join(QLatin1Char('\n'));
}

class RegisterLines : public ::testing::Test {
protected:
    QString rgm(int year = 2027) { return registerfiles::movements(t.ctx, year); }
    QString gar(int year = 2027) { return registerfiles::guarantees(t.ctx, year); }
    TRecMovimento rec(std::int32_t numero, const QString& path)
    {
        auto r = findRegisterRecord(path, numero);
        return r ? *r : TRecMovimento {};
    }

    // The file holds exactly the hand-written lines.
    void expectFile(const QString& path, const QList<RegisterLine>& lines, const std::string& what)
    {
        const QByteArray got = fileBytes(path), want = registerFileBytes(lines);
        EXPECT_TRUE(got == want) << what << "\n got:\n"
                                 << summary(got).toStdString() << "\n want:\n"
                                 << summary(want).toStdString();
    }

    // Runs the action expecting the refusal, and the files untouched.
    void expectRefused(
        const std::function<void()>& act, const char* message, const QStringList& files, const std::string& what)
    {
        QList<QByteArray> before;
        for (const QString& f : files)
            before << fileBytes(f);
        try {
            act();
            ADD_FAILURE() << what << ": accepted";
        } catch (const IoError& e) {
            EXPECT_EQ(e.text(), QString::fromLatin1(message)) << what;
        }
        for (qsizetype i = 0; i < files.size(); ++i)
            EXPECT_TRUE(fileBytes(files[i]) == before[i]) << what << ": " << files[i].toStdString() << " changed";
    }

    TestContext t;
};

} // namespace

// Modify of an unsent record: within its year it keeps `numero` and `progressivo` (and its links)
// and is re-placed by date; into another year it takes that file's numbers and the unsent lines
// after it close the gap; a linked record, or one followed by sent lines, cannot change year.
TEST_F(RegisterLines, ModifyKeepsTheLineNumber)
{
    const QList<RegisterLine> year = { loadLine(1, 1, D(3, 3), 100).sent(1), loadLine(2, 2, D(5, 3), 200),
        unloadLine(3, 3, D(5, 3), 50), loadLine(4, 4, D(8, 3), 300) };
    const QList<RegisterLine> next = { loadLine(1, 1, D(10, 1, 2028), 7) };
    struct Case {
        const char* what;
        QList<RegisterLine> before;
        std::int32_t numero;
        QDate newDay;
        double litres;
        QList<RegisterLine> after, afterNext;
        const char* refusal;
    };
    const std::vector<Case> cases = {
        { "same day, new litres", year, 2, D(5, 3), 250, { year[0], loadLine(2, 2, D(5, 3), 250), year[2], year[3] },
            next, nullptr },
        { "later day: placed by date, numbers kept", year, 2, D(9, 3), 200,
            { year[0], year[2], year[3], loadLine(2, 2, D(9, 3), 200) }, next, nullptr },
        { "earlier day, before a sent line: numbers kept", year, 4, D(1, 3), 300,
            { loadLine(4, 4, D(1, 3), 300), year[0], year[1], year[2] }, next, nullptr },
        { "last line into the next year: that file's numbers", year, 4, D(2, 1, 2028), 300,
            { year[0], year[1], year[2] }, { loadLine(2, 2, D(2, 1, 2028), 300), next[0] }, nullptr },
        { "a middle line into the next year: the unsent lines after it close the "
          "gap",
            year, 2, D(2, 1, 2028), 200, { year[0], unloadLine(3, 2, D(5, 3), 50), loadLine(4, 3, D(8, 3), 300) },
            { loadLine(2, 2, D(2, 1, 2028), 200), next[0] }, nullptr },
        { "linked unload, within its year: links kept",
            { unloadLine(1, 1, D(5, 3), 50).linked(2, D(6, 3)), annotationLine(2, 2, D(6, 3), 50).linked(1, D(5, 3)) },
            1, D(4, 3), 60,
            { unloadLine(1, 1, D(4, 3), 60).linked(2, D(6, 3)), annotationLine(2, 2, D(6, 3), 50).linked(1, D(5, 3)) },
            next, nullptr },
        { "linked unload into the next year: refused",
            { unloadLine(1, 1, D(5, 3), 50).linked(2, D(6, 3)), annotationLine(2, 2, D(6, 3), 50).linked(1, D(5, 3)) },
            1, D(4, 1, 2028), 50, {}, {}, MsgRecordLinked },
        { "line followed by a sent line, into the next year: refused",
            { loadLine(1, 1, D(5, 3), 10), loadLine(2, 2, D(6, 3), 20).sent(1) }, 1, D(4, 1, 2028), 10, {}, {},
            MsgLineFollowedBySent },
        { "sent line: refused", year, 1, D(3, 3), 1, {}, {}, MsgRecordAlreadySent },
    };
    for (const Case& c : cases) {
        writeRegisterFile(rgm(2027), c.before);
        writeRegisterFile(rgm(2028), next);
        const TRecMovimento old = rec(c.numero, rgm());
        // The window's composition: a copy of O with numbers, links and send data reset.
        TRecMovimento n = old;
        n.numero = n.progressivo = n.collegato = 0;
        n.data = serial(c.newDay) + 0.75; // typed at 18:00: the day counts
        n.litri = c.litres;
        const QString target = rgm(registerYear(n.data));
        if (c.refusal) {
            expectRefused([&] { ModifyRegisterRecord(old, rgm(), n, target, t.messenger); }, c.refusal,
                { rgm(2027), rgm(2028) }, c.what);
            continue;
        }
        ModifyRegisterRecord(old, rgm(), n, target, t.messenger);
        expectFile(rgm(2027), c.after, c.what);
        expectFile(rgm(2028), c.afterNext, c.what);
    }
}

// A stale copy (another workstation changed the record after it was picked) is refused.
TEST_F(RegisterLines, ModifyAndDeleteOfAStaleRecordAreRefused)
{
    writeRegisterFile(rgm(), { loadLine(1, 1, D(5, 3), 10), loadLine(2, 2, D(6, 3), 20) });
    TRecMovimento stale = rec(2, rgm());
    stale.litri = 25;
    expectRefused(
        [&] { ModifyRegisterRecord(stale, rgm(), stale, rgm(), t.messenger); }, MsgRecordChanged, { rgm() }, "modify");
    expectRefused([&] { DeleteRegisterRecord(stale, rgm(), t.messenger); }, MsgRecordChanged, { rgm() }, "delete");
}

// Groups: a conclusion's lines share one `numero` and take consecutive line numbers; loads and
// unloads of a group each take their own; every record lands by the ordering rule of its day. A
// sent conclusion rectified: every line carrying its `numero` is cancelled, and the cancellation
// records follow the last of them, repeating their line numbers.
TEST_F(RegisterLines, GroupsArePlacedByTheOrderingRuleAndActedOnTogether)
{
    const RegisterLine load1 = loadLine(1, 1, D(5, 3), 100).sent(1);
    const RegisterLine unload2 = unloadLine(2, 2, D(5, 3), 40).document("EAD", "27ITARC1", 1, 1).sent(1);
    const RegisterLine note3 = annotationLine(3, 3, D(5, 3), 10).document("ROR", "27ITOTHER", 1, 0).sent(1);
    const RegisterLine load4 = loadLine(4, 4, D(6, 3), 30);
    writeRegisterFile(rgm(), { load1, unload2, note3, load4 });

    const RegisterLine line1 = annotationLine(5, 5, D(5, 3), 25).document("ROR", "27ITARC1", 1, 1).linked(2, D(5, 3));
    const RegisterLine line2 = annotationLine(5, 6, D(5, 3), 15).document("ROR", "27ITARC1", 1, 2).linked(2, D(5, 3));
    {
        RegisterLine a = line1, b = line2;
        a.numero = b.numero = a.progressivo = b.progressivo = 0;
        FileGroup group({ rgm() }, &t.messenger);
        group.run([&](FileGroup& g) {
            const QList<TRecMovimento> written =
                PlaceRegisterGroup(g, rgm(), { { recordOf(b), 0 }, { recordOf(a), 0 } }, GroupNumbering::Shared);
            ASSERT_EQ(written.size(), 2);
            EXPECT_EQ(written[0].progressivo, 5); // numbered in group order
        });
    }
    // Line 2 of the conclusion was given first: numbered first (5), placed after line 1 by the
    // product line rule.
    RegisterLine b5 = line2, a6 = line1;
    b5.progressivo = 5;
    a6.progressivo = 6;
    expectFile(rgm(), { load1, unload2, note3, a6, b5, load4 }, "conclusion lines: one numero, after the day's note");

    const RegisterLine load6 = loadLine(6, 7, D(5, 3), 1);
    const RegisterLine unload7 = unloadLine(7, 8, D(5, 3), 2);
    {
        RegisterLine l = load6, u = unload7;
        l.numero = u.numero = l.progressivo = u.progressivo = 0;
        FileGroup group({ rgm() }, &t.messenger);
        group.run([&](FileGroup& g) {
            PlaceRegisterGroup(g, rgm(), { { recordOf(l), 0 }, { recordOf(u), 0 } }, GroupNumbering::OnePerRecord);
        });
    }
    // The new unload has no product line number: it goes before the day's e-AD unload of line 1.
    expectFile(rgm(), { load1, load6, unload7, unload2, note3, a6, b5, load4 }, "a load and an unload of the same day");

    // The conclusion is sent, then cancelled by a rectification: both lines act together.
    markSent(rgm(), { 5 }, serial(D(7, 3)), 2, t.messenger);
    RegisterLine a6s = a6, b5s = b5;
    a6s.sent(2, D(7, 3));
    b5s.sent(2, D(7, 3));
    TRecMovimento note = blankRegisterRecord();
    note.nota = QStringLiteral("conclusione errata");
    // One replacement cannot stand for several lines.
    expectRefused(
        [&] {
            RectifyRegisterRecord(
                rec(5, rgm()), rgm(), RectifyKind::Modify, note, t.messenger, RecordNeed::SentConclusion);
        },
        MsgRectifySeveralLines, { rgm() }, "modify rectification of a conclusion");
    const RectifyResult r =
        RectifyRegisterRecord(rec(5, rgm()), rgm(), RectifyKind::Cancel, note, t.messenger, RecordNeed::SentConclusion);
    ASSERT_EQ(r.cancellations.size(), 2);
    RegisterLine ca = a6, cb = b5;
    ca.numero = cb.numero = 8;
    ca.op('C').linked(5, D(5, 3)).note("conclusione errata");
    cb.op('C').linked(5, D(5, 3)).note("conclusione errata");
    expectFile(rgm(), { load1, load6, unload7, unload2, note3, a6s.state('C'), b5s.state('C'), ca, cb, load4 },
        "conclusion cancelled: both lines superseded, two cancellations "
        "sharing one numero");
}

// Marking a flow: movements and guarantee days in one change; refused, nothing marked, when any
// record changed since the flow was listed or is already marked; records sharing a `numero` are
// marked together; the reactivation puts the files back byte for byte.
TEST_F(RegisterLines, MarkingIsOneCheckedChangeOfBothFiles)
{
    const QList<RegisterLine> moves = { loadLine(1, 1, D(5, 3), 100), unloadLine(2, 2, D(5, 3), 40),
        annotationLine(3, 3, D(6, 3), 25).document("ROR", "27ITARC1", 1, 1),
        annotationLine(3, 4, D(6, 3), 15).document("ROR", "27ITARC1", 1, 2) };
    const QList<RegisterLine> days = { guaranteeLine(1, 1, D(5, 3), 4) };
    writeRegisterFile(rgm(), moves);
    writeRegisterFile(gar(), days);
    // The flow lists every record; of the conclusion it names one line.
    const FlowRecords flow { rgm(), { rec(1, rgm()), rec(2, rgm()), rec(3, rgm()) }, gar(), { rec(1, gar()) } };

    // Another workstation changes the unload meanwhile.
    QList<RegisterLine> changed = moves;
    changed[1].litres(45);
    writeRegisterFile(rgm(), changed);
    expectRefused([&] { MarkRegisterSent(flow, serial(D(7, 3)), 3, t.messenger); }, MsgFlowRecordsChanged,
        { rgm(), gar() }, "one record changed");

    writeRegisterFile(rgm(), moves);
    MarkRegisterSent(flow, serial(D(7, 3)), 3, t.messenger);
    QList<RegisterLine> sentMoves = moves, sentDays = days;
    for (RegisterLine& l : sentMoves)
        l.sent(3, D(7, 3));
    sentDays[0].sent(3, D(7, 3));
    expectFile(rgm(), sentMoves, "marked, both conclusion lines");
    expectFile(gar(), sentDays, "guarantee day marked");

    expectRefused([&] { MarkRegisterSent(flow, serial(D(8, 3)), 1, t.messenger); }, MsgFlowRecordsChanged,
        { rgm(), gar() }, "already marked");

    const FlowRecords sent { rgm(), { rec(1, rgm()), rec(2, rgm()), rec(3, rgm()) }, gar(), { rec(1, gar()) } };
    ResetRegisterSendData(sent, t.messenger);
    expectFile(rgm(), moves, "reactivated");
    expectFile(gar(), days, "reactivated");
    expectRefused([&] { ResetRegisterSendData(sent, t.messenger); }, MsgFlowRecordsChanged, { rgm(), gar() },
        "reactivated twice");
}

// Deletion: only unsent, active, unchanged records nobody links to; every record carrying the
// `numero` goes; the unsent lines after them close the gap; a line followed by a sent one stays.
TEST_F(RegisterLines, DeletionOfUnsentRecordsOnly)
{
    const QList<RegisterLine> before = { loadLine(1, 1, D(5, 3), 10).sent(1), loadLine(2, 2, D(5, 3), 20),
        unloadLine(3, 3, D(6, 3), 30).linked(4, D(7, 3)), annotationLine(4, 4, D(7, 3), 30).linked(3, D(6, 3)),
        annotationLine(5, 5, D(8, 3), 1).document("ROR", "X", 1, 1),
        annotationLine(5, 6, D(8, 3), 2).document("ROR", "X", 1, 2) };
    writeRegisterFile(rgm(), before);
    expectRefused(
        [&] { DeleteRegisterRecord(rec(3, rgm()), rgm(), t.messenger); }, MsgRecordLinked, { rgm() }, "linked unload");
    expectRefused([&] { DeleteRegisterRecord(rec(4, rgm()), rgm(), t.messenger); }, MsgRecordLinked, { rgm() },
        "linked conclusion");
    expectRefused(
        [&] { DeleteRegisterRecord(rec(1, rgm()), rgm(), t.messenger); }, MsgRecordAlreadySent, { rgm() }, "sent load");

    EXPECT_EQ(DeleteRegisterRecord(rec(2, rgm()), rgm(), t.messenger), 1);
    QList<RegisterLine> after = { before[0], unloadLine(3, 2, D(6, 3), 30).linked(4, D(7, 3)),
        annotationLine(4, 3, D(7, 3), 30).linked(3, D(6, 3)),
        annotationLine(5, 4, D(8, 3), 1).document("ROR", "X", 1, 1),
        annotationLine(5, 5, D(8, 3), 2).document("ROR", "X", 1, 2) };
    expectFile(rgm(), after, "load 2 deleted, the lines after it move down");

    EXPECT_EQ(DeleteRegisterRecord(rec(5, rgm()), rgm(), t.messenger), 2);
    after.removeLast();
    after.removeLast();
    expectFile(rgm(), after, "both lines carrying numero 5 deleted");

    writeRegisterFile(rgm(), { loadLine(1, 1, D(5, 3), 10), loadLine(2, 2, D(6, 3), 20).sent(1) });
    expectRefused([&] { DeleteRegisterRecord(rec(1, rgm()), rgm(), t.messenger); }, MsgLineFollowedBySent, { rgm() },
        "followed by a sent line");
}

// A guarantee day replaces the plain unsent record of its day and keeps its numbers; the
// cancellation and the replacement of a guarantee rectification are never overwritten.
TEST_F(RegisterLines, GuaranteeDayReplacementSparesRectifications)
{
    const RegisterLine sent1 = guaranteeLine(1, 1, D(3, 3), 10).sent(1);
    writeRegisterFile(gar(), { sent1, guaranteeLine(2, 2, D(4, 3), 20) });

    InsertRegisterRecord(recordOf(guaranteeLine(0, 0, D(4, 3), 21)), gar(), t.messenger);
    expectFile(gar(), { sent1, guaranteeLine(2, 2, D(4, 3), 21) }, "unsent day replaced, numbers kept");

    TRecMovimento n = recordOf(guaranteeLine(0, 0, D(3, 3), 12));
    n.nota = QStringLiteral("importo errato");
    RectifyRegisterRecord(rec(1, gar()), gar(), RectifyKind::Modify, n, t.messenger, RecordNeed::SentGuarantee);
    RegisterLine superseded = sent1, cancel = sent1, replacement = guaranteeLine(4, 1, D(3, 3), 12);
    superseded.state('C');
    cancel.numero = 3;
    cancel.numeroFlusso = 0;
    cancel.flowDay = {};
    cancel.op('C').linked(1).note("importo errato");
    replacement.state('R').linked(1).note("importo errato");
    const QList<RegisterLine> rectified = { superseded, cancel, replacement, guaranteeLine(2, 2, D(4, 3), 21) };
    expectFile(gar(), rectified, "guarantee rectification");

    InsertRegisterRecord(recordOf(guaranteeLine(0, 0, D(3, 3), 13)), gar(), t.messenger);
    expectFile(gar(), { superseded, cancel, replacement, guaranteeLine(5, 3, D(3, 3), 13), rectified[3] },
        "a new record of that day follows the rectification, overwriting "
        "nothing");

    // A modify that would overwrite another unsent record of its new day is refused.
    const TRecMovimento other = rec(2, gar());
    TRecMovimento moved = other;
    moved.data = serial(D(3, 3));
    expectRefused([&] { ModifyRegisterRecord(other, gar(), moved, gar(), t.messenger); }, MsgGuaranteeDayTaken,
        { gar() }, "guarantee day moved onto a day with an unsent record");
}

// What each action needs of the record it works on.
TEST(RecordNeeds, RefusalsByKindAndSendState)
{
    auto r = [](const char* doc, char kind, char op, int flow, char stato = ' ', char reg = 'C', double linked = 0) {
        TRecMovimento m = blankRegisterRecord();
        m.tipoDocumento = QString::fromLatin1(doc);
        m.tipoMovimento = QString(QChar::fromLatin1(kind));
        m.operazione = QString(QChar::fromLatin1(op));
        m.stato = QString(QChar::fromLatin1(stato));
        m.registro = QString(QChar::fromLatin1(reg));
        m.numeroFlusso = flow;
        m.dataCollegata = linked;
        return m;
    };
    struct Case {
        const char* what;
        TRecMovimento record;
        RecordNeed need;
        const char* refusal; // nullptr: accepted
    };
    const std::vector<Case> cases = {
        { "unsent load to modify", r("DAA", 'C', 'I', 0), RecordNeed::Unsent, nullptr },
        { "cancellation record to modify", r("DAA", 'C', 'C', 0), RecordNeed::Unsent, MsgRecordNotInsertion },
        { "superseded to rectify", r("DAA", 'S', 'I', 1, 'C'), RecordNeed::Sent, MsgRecordSuperseded },
        { "ROR conclusion, unsent", r("ROR", 'A', 'I', 0), RecordNeed::UnsentConclusion, nullptr },
        { "DAA conclusion, sent", r("DAA", 'A', 'A', 2), RecordNeed::SentConclusion, nullptr },
        { "DAA conclusion not yet sent, to rectify", r("DAA", ' ', 'A', 0), RecordNeed::SentConclusion,
            MsgRecordNotSent },
        { "an unload is no conclusion", r("EAD", 'S', 'I', 0), RecordNeed::UnsentConclusion, MsgRecordWrongKind },
        { "sent e-AD unload to conclude", r("EAD", 'S', 'I', 1), RecordNeed::Concludable, nullptr },
        { "already concluded", r("EAD", 'S', 'I', 1, ' ', 'C', 46000), RecordNeed::Concludable, MsgRecordConcluded },
        { "unsent e-AD unload to conclude", r("EAD", 'S', 'I', 0), RecordNeed::Concludable, MsgRecordNotSent },
        { "a load cannot be concluded", r("ROR", 'C', 'I', 1), RecordNeed::Concludable, MsgRecordWrongKind },
        { "FBC line to redirect", r("FBC", 'S', 'I', 1), RecordNeed::Redirectable, nullptr },
        { "DAA cannot be redirected", r("DAA", 'S', 'I', 1), RecordNeed::Redirectable, MsgRecordWrongKind },
        { "change of destination, unsent", r("COD", 'A', 'I', 0), RecordNeed::UnsentChange, nullptr },
        { "change of destination, sent", r("COD", 'A', 'I', 4), RecordNeed::SentChange, nullptr },
        { "guarantee day, unsent", r("", ' ', 'I', 0, ' ', 'F'), RecordNeed::UnsentGuarantee, nullptr },
        { "guarantee cancellation", r("", ' ', 'C', 0, ' ', 'F'), RecordNeed::UnsentGuarantee, MsgRecordWrongKind },
        { "movement is no guarantee", r("DAA", 'C', 'I', 1), RecordNeed::SentGuarantee, MsgRecordWrongKind },
    };
    for (const Case& c : cases)
        EXPECT_EQ(refusalFor(&c.record, c.need), c.refusal ? QString::fromLatin1(c.refusal) : QString()) << c.what;
    EXPECT_EQ(refusalFor(nullptr, RecordNeed::Unsent), QString::fromLatin1(MsgRecordGone));
}

// A link into another year's file names the record by `numero` and by its e-AD line.
TEST(RecordNeeds, ALinkIntoAnotherYearMatchesTheEadLineToo)
{
    const TRecMovimento unload = recordOf(unloadLine(7, 7, D(30, 12), 100).document("EAD", "27ITARC1", 1, 2));
    const TRecMovimento conclusion
        = recordOf(annotationLine(1, 1, D(3, 1, 2028), 100).document("ROR", "27ITARC1", 1, 2).linked(7, D(30, 12)));
    EXPECT_TRUE(isLinkedRecord(conclusion, unload));
    struct Case {
        const char* what;
        RegisterLine other;
    };
    const std::vector<Case> others = {
        { "another e-AD with the same numero", unloadLine(7, 7, D(30, 12), 100).document("EAD", "27ITARC9", 1, 2) },
        { "another product line", unloadLine(7, 7, D(30, 12), 100).document("EAD", "27ITARC1", 1, 1) },
        { "another e-AD progressive", unloadLine(7, 7, D(30, 12), 100).document("COD", "27ITARC1", 2, 2) },
        { "another numero", unloadLine(8, 8, D(30, 12), 100).document("EAD", "27ITARC1", 1, 2) },
    };
    for (const Case& c : others)
        EXPECT_FALSE(isLinkedRecord(conclusion, recordOf(c.other))) << c.what;
}
