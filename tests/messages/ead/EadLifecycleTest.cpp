// What the lifecycle operations do to the files, mode by mode: the state before, the files after
// (bytes of the changed fields at their layout offsets), and the refusals when the record chosen
// is gone or its state no longer fits - nothing is changed then.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <functional>

#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/ead/EadStore.h"
#include "messages/change/Ie813Send.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

const QString Arc = QStringLiteral("26ITQXY00012345678901"); // 21 characters
const QString Gone = QStringLiteral("-");                      // no such record after the operation

// s[N] at offset: the length byte, then the characters.
QByteArray text(const QString& value, int width)
{
    return QByteArray(1, char(width)) + value.leftJustified(width, ' ').toLatin1();
}

struct Lifecycle : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    std::int32_t other = 0;  // an e-AD no operation may touch
    std::int32_t target = 0; // the e-AD chosen

    void SetUp() override
    {
        ctx.WorkYear = "2026";
        other = saveSampleEad(ctx, 2, 1).progressivo;
        target = saveSampleEad(ctx, 1, 2).progressivo;
        setEad(target, "I", Arc);
    }
    void TearDown() override { FileGroup::beforeReplace() = nullptr; }

    QString headers() const { return eadfiles::headers(ctx, "2026"); }
    QString cancellations() const { return cancelfiles::cancellations(ctx, "2026"); }

    void setEad(std::int32_t p, const QString& state, const QString& arc, double flowDate = 0, int flowNumber = 0)
    {
        ASSERT_TRUE(updateEadInPlace(ctx, "2026", p, [&](TRecEad& h) {
            h.stato = state;
            h.ARC = arc;
            h.dataFlusso = flowDate;
            h.numeroFlusso = flowNumber;
        }));
    }

    // A cancellation record of e-AD p, as the lifecycle writes it, in a given state.
    void addCancellation(std::int32_t p, const QString& state)
    {
        TRecEad c = *findHeader(headers(), p);
        c.stato = state;
        c.MOTANN() = "1";
        c.dataFlusso = state == "I" ? dates::fromDate(QDate(2026, 12, 9)) : 0;
        c.numeroFlusso = state == "I" ? 4 : 0;
        RecordFile(cancellations(), TRecEad::Size).append(encodeEad(c));
    }

    QByteArray eadBytes(std::int32_t p) const
    {
        return RecordFile(headers(), TRecEad::Size).findByNumber(p).value_or(QByteArray());
    }
    QByteArray cancellationBytes(std::int32_t p) const
    {
        return RecordFile(cancellations(), TRecEad::Size).findByNumber(p).value_or(QByteArray());
    }
    static QString stateIn(const QByteArray& record) { return record.isEmpty() ? Gone : QString(QChar(record[77])); }

    // Every data file of the year, as bytes (the marker files of the locks are never left behind).
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> out;
        for (QDirIterator it(ctx.RegistriFolder, QDir::Files); it.hasNext();) {
            QFile f(it.next());
            f.open(QIODevice::ReadOnly);
            out[it.fileName()] = f.readAll();
        }
        return out;
    }

    void act(char mode, std::int32_t p)
    {
        switch (mode) {
        case 'R': registerArc(ctx, "2026", p, Arc); break;
        case 'A': resetIe815SendData(ctx, "2026", p); break;
        case 'C': deleteUnsentEad(ctx, "2026", p); break;
        case 'X': prepareCancellation(ctx, "2026", p, {"0", "Altro", "Merce rispedita", "it"}); break;
        case 'x': withdrawCancellation(ctx, "2026", p); break;
        case 'a': resetIe810SendData(ctx, "2026", p); break;
        default: FAIL() << mode;
        }
    }
};

} // namespace

// Every mode on the states it may meet: the e-AD and cancellation states after, or the refusal.
TEST_F(Lifecycle, EachModeOnEachState)
{
    struct Case {
        char mode;
        QString eadBefore;
        bool arc;
        QString cancellationBefore; // Gone: none
        const char* refusal;        // nullptr: done
        QString eadAfter;
        QString cancellationAfter;
    };
    const std::vector<Case> cases = {
        {'R', " ", false, Gone, nullptr, "I", Gone},
        {'R', "I", true, Gone, nullptr, "I", Gone},
        {'R', "0", true, " ", "NELLO STATO \"ANNULLATO\"", {}, {}},
        {'R', "C", true, Gone, "NELLO STATO \"COMPLETATO\"", {}, {}},
        {'A', " ", false, Gone, nullptr, " ", Gone},
        {'A', "I", true, Gone, nullptr, " ", Gone},
        {'A', "0", true, " ", "NELLO STATO \"ANNULLATO\"", {}, {}},
        {'C', " ", false, Gone, nullptr, Gone, Gone},
        {'C', "I", true, Gone, "NELLO STATO \"INVIATO\"", {}, {}},
        {'C', "0", true, " ", "NELLO STATO \"ANNULLATO\"", {}, {}},
        {'X', "I", true, Gone, nullptr, "0", " "},
        {'X', " ", false, Gone, "NON HA IL NUMERO DI ARC", {}, {}},  // never accepted: its IE810 would carry blanks
        {'X', "I", false, Gone, "NON HA IL NUMERO DI ARC", {}, {}},
        {'X', "0", true, " ", "NELLO STATO \"ANNULLATO\"", {}, {}},
        {'X', "I", true, "I", "ESISTE GIA' UN ANNULLAMENTO", {}, {}},
        {'x', "0", true, " ", nullptr, "I", Gone},
        {'x', "0", false, " ", nullptr, " ", Gone}, // back to accepted only with an ARC
        {'x', "0", true, "I", "NELLO STATO \"INVIATO\"", {}, {}},
        {'x', "0", true, Gone, "NON E' PIU' PRESENTE", {}, {}},
        {'a', "0", true, "I", nullptr, "0", " "},
        {'a', "0", true, " ", nullptr, "0", " "},
        {'a', "0", true, Gone, "NON E' PIU' PRESENTE", {}, {}},
    };
    for (const Case& c : cases) {
        const std::string story = std::string(1, c.mode) + " on e-AD \"" + c.eadBefore.toStdString() + "\"" +
                                  (c.arc ? " with ARC" : "") + ", cancellation \"" + c.cancellationBefore.toStdString() + "\"";
        QDir(ctx.RegistriFolder).removeRecursively();
        QDir().mkpath(ctx.RegistriFolder);
        other = saveSampleEad(ctx, 2, 1).progressivo;
        target = saveSampleEad(ctx, 1, 2).progressivo;
        setEad(target, c.eadBefore, c.arc ? Arc : QString(), dates::fromDate(QDate(2026, 12, 9)), 2);
        if (c.cancellationBefore != Gone)
            addCancellation(target, c.cancellationBefore);
        const auto before = files();
        const QByteArray otherBefore = eadBytes(other);

        try {
            act(c.mode, target);
            EXPECT_EQ(c.refusal, nullptr) << story << ": not refused";
        } catch (const IoError& e) {
            ASSERT_NE(c.refusal, nullptr) << story << ": " << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(c.refusal)) << story << ": " << e.text().toStdString();
            EXPECT_EQ(files(), before) << story << ": files changed by a refusal";
            continue;
        }
        EXPECT_EQ(stateIn(eadBytes(target)), c.eadAfter) << story;
        EXPECT_EQ(stateIn(cancellationBytes(target)), c.cancellationAfter) << story;
        EXPECT_EQ(eadBytes(other), otherBefore) << story;
    }
}

TEST_F(Lifecycle, ARecordNoLongerThereIsRefusedInEveryMode)
{
    const auto before = files();
    for (char mode : {'R', 'A', 'C', 'X', 'x', 'a'}) {
        try {
            act(mode, 99);
            ADD_FAILURE() << mode << ": not refused";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.text().contains("N. 99 DEL 2026 NON E' PIU' PRESENTE")) << mode << ": " << e.text().toStdString();
        }
        EXPECT_EQ(files(), before) << mode;
    }
}

TEST_F(Lifecycle, RegisteringTheArcStoresItAndStateI)
{
    setEad(target, " ", QString());
    registerArc(ctx, "2026", target, Arc);
    const QByteArray h = eadBytes(target);
    EXPECT_EQ(h.mid(76, 2), text("I", 1));
    EXPECT_EQ(h.mid(78, 22), text(Arc, 21));
}

TEST_F(Lifecycle, TheArcMustBe21CharactersWithoutBlanks)
{
    struct Case {
        QString arc;
        bool ok;
    };
    for (const Case& c : {Case{Arc, true}, Case{"  " + Arc + " ", true}, Case{"", false}, Case{"26ITQXY", false},
                          Case{Arc.left(20), false}, Case{"26ITQXY000 2345678901", false}}) {
        const CheckResult r = checkArc(c.arc);
        EXPECT_EQ(r.ok, c.ok) << c.arc.toStdString();
        if (!r.ok) {
            EXPECT_EQ(r.message, "IL NUMERO DI ARC DEVE ESSERE DI 21 CARATTERI SENZA SPAZI");
            EXPECT_EQ(r.focus, "NUMARC");
        }
    }
    setEad(target, " ", QString());
    const auto before = files();
    EXPECT_THROW(registerArc(ctx, "2026", target, "26ITQXY"), IoError);
    EXPECT_EQ(files(), before) << "a short ARC is never padded and stored";
}

TEST_F(Lifecycle, ResettingTheIe815SendDataClearsFlowDateNumberAndArc)
{
    setEad(target, "I", Arc, dates::fromDate(QDate(2026, 12, 9)), 5);
    resetIe815SendData(ctx, "2026", target);
    const QByteArray h = eadBytes(target);
    EXPECT_EQ(codec::getF64(h, 64), 0.0);
    EXPECT_EQ(codec::getI32(h, 72), 0);
    EXPECT_EQ(h.mid(76, 2), text(" ", 1));
    EXPECT_EQ(h.mid(78, 22), text(QString(), 21));
}

TEST_F(Lifecycle, DeletingAnUnsentEadRemovesItsLinesFromBothFiles)
{
    setEad(target, " ", QString());
    deleteUnsentEad(ctx, "2026", target);
    EXPECT_TRUE(eadBytes(target).isEmpty());
    ASSERT_FALSE(eadBytes(other).isEmpty());
    for (const QString& path : {eadfiles::transport(ctx, "2026"), eadfiles::products(ctx, "2026")}) {
        const QList<TRecDettaglio> lines = readLineFile(path);
        EXPECT_FALSE(lines.isEmpty()) << path.toStdString();
        for (const TRecDettaglio& l : lines)
            EXPECT_EQ(l.progressivo, other) << path.toStdString();
    }
    EXPECT_EQ(readLineFile(eadfiles::transport(ctx, "2026")).size(), 2);
    EXPECT_EQ(readLineFile(eadfiles::products(ctx, "2026")).size(), 1);
}

TEST_F(Lifecycle, CancellingWritesTheCancellationRecord)
{
    const QByteArray ead = eadBytes(target);
    const TRecEad stored = prepareCancellation(ctx, "2026", target, {"0", "Altro", "Merce rispedita", "en"});
    EXPECT_EQ(eadBytes(target).mid(76, 2), text("0", 1));

    const QByteArray c = cancellationBytes(target);
    ASSERT_EQ(c.size(), TRecEad::Size);
    EXPECT_EQ(codec::getI32(c, 0), target);
    EXPECT_EQ(c.mid(4, 3), text("en", 2));                     // LINGUA: language of the note
    EXPECT_EQ(codec::getF64(c, 64), 0.0);                      // flow date
    EXPECT_EQ(codec::getI32(c, 72), 0);                        // flow number
    EXPECT_EQ(c.mid(76, 2), text(" ", 1));                     // not sent
    EXPECT_EQ(c.mid(78, 22), text(Arc, 21));                   // the e-AD's ARC
    EXPECT_EQ(c.mid(100, 2), text("0", 1));                    // MOTANN
    EXPECT_EQ(c.mid(2161, 101), text("Altro", 100));           // reason description
    EXPECT_EQ(c.mid(2438, 101), text("Merce rispedita", 100)); // NOTMOT
    // Every other field keeps the e-AD's value: premises, consignee, dates.
    EXPECT_EQ(c.mid(376, 4), ead.mid(376, 4));
    EXPECT_EQ(c.mid(658, 260), ead.mid(658, 260));
    EXPECT_EQ(c.mid(1984, 8), ead.mid(1984, 8));
    EXPECT_EQ(stored.progressivo, target);
}

TEST_F(Lifecycle, TwoCancellationsAndTheWithdrawalOfTheFirst)
{
    setEad(other, "I", "26ITQXY00012345678902");
    prepareCancellation(ctx, "2026", other, {"1", "Errore di digitazione", "", "it"});
    prepareCancellation(ctx, "2026", target, {"2", "Transazione commerciale interrotta", "", "it"});
    ASSERT_EQ(readHeaderFile(cancellations()).size(), 2);

    withdrawCancellation(ctx, "2026", other);
    const QList<TRecEad> left = readHeaderFile(cancellations());
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].progressivo, target);
    EXPECT_EQ(stateIn(eadBytes(other)), "I");
    EXPECT_EQ(stateIn(eadBytes(target)), "0");
}

TEST_F(Lifecycle, ResettingTheIe810SendDataClearsItsFlowDateAndNumber)
{
    setEad(target, "0", Arc);
    addCancellation(target, "I");
    resetIe810SendData(ctx, "2026", target);
    const QByteArray c = cancellationBytes(target);
    EXPECT_EQ(codec::getF64(c, 64), 0.0);
    EXPECT_EQ(codec::getI32(c, 72), 0);
    EXPECT_EQ(c.mid(76, 2), text(" ", 1));
    EXPECT_EQ(stateIn(eadBytes(target)), "0") << "the e-AD stays cancelled";
}

// A failure part-way through a change of two files leaves both as they were.
TEST_F(Lifecycle, AFailureBetweenTheTwoFilesLeavesBothAsTheyWere)
{
    struct Case {
        char mode;
        QString ead;
        QString cancellation;
    };
    for (const Case& c : {Case{'X', "I", Gone}, Case{'x', "0", " "}, Case{'C', " ", Gone}}) {
        setEad(target, c.ead, Arc);
        QFile::remove(cancellations());
        if (c.cancellation != Gone)
            addCancellation(target, c.cancellation);
        const auto before = files();
        int replacements = 0;
        FileGroup::beforeReplace() = [&](const QString&) {
            if (++replacements == 2)
                throw IoError("DISCO PIENO");
        };
        EXPECT_THROW(act(c.mode, target), IoError) << c.mode;
        FileGroup::beforeReplace() = nullptr;
        EXPECT_EQ(replacements, 2) << c.mode;
        EXPECT_EQ(files(), before) << c.mode;
    }
}

TEST(LifecycleChecks, TheNoteIsRequiredForReasonZero)
{
    EXPECT_FALSE(checkCancellationNote("0", "  ").ok);
    EXPECT_EQ(checkCancellationNote("0", "").message, "NOTA OBBLIGATORIA");
    EXPECT_EQ(checkCancellationNote("0", "").focus, "NOTMOT");
    EXPECT_TRUE(checkCancellationNote("0", "Merce rispedita").ok);
    EXPECT_TRUE(checkCancellationNote("1", "").ok);
}

namespace {
// A change of destination numbered `number` of the target e-AD, in a state, with n details.
void addChange(AppContext& ctx, std::int32_t number, const QString& state, int details)
{
    TRecEad c = blankEad();
    c.progressivo = number;
    c.progressivoRif = 2;
    c.stato = state;
    c.ARC = Arc;
    c.dataFlusso = dates::fromDate(QDate(2026, 12, 10));
    c.numeroFlusso = 3;
    c.NUMFAT = "F77/2026";
    c.DENDES = "Enoteca Bianchi";
    RecordFile(changefiles::changes(ctx, "2026"), TRecEad::Size).append(encodeEad(c));
    for (int i = 1; i <= details; ++i) {
        TRecDettaglio d = blankLine();
        d.numero = i;
        d.progressivo = number;
        d.UNITRA() = "1";
        d.IDUNTR() = QStringLiteral("AB%1").arg(number * 10 + i);
        RecordFile(changefiles::details(ctx, "2026"), TRecDettaglio::Size).append(encodeLine(d));
    }
}
} // namespace

TEST_F(Lifecycle, ChangesOfDestinationAreDeletedWhileUnsentAndReset)
{
    addChange(ctx, 1, " ", 2);
    addChange(ctx, 2, "I", 1);
    deleteUnsentChange(ctx, "2026", 1);
    const QList<TRecEad> changes = readHeaderFile(changefiles::changes(ctx, "2026"));
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0].progressivo, 2);
    const QList<TRecDettaglio> details = readLineFile(changefiles::details(ctx, "2026"));
    ASSERT_EQ(details.size(), 1);
    EXPECT_EQ(details[0].progressivo, 2);

    // A sent change is never deleted; a change no longer there is reported.
    const auto before = files();
    try {
        deleteUnsentChange(ctx, "2026", 2);
        ADD_FAILURE() << "a sent change deleted";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().contains("NELLO STATO \"INVIATO\"")) << e.text().toStdString();
    }
    EXPECT_THROW(resetIe813SendData(ctx, "2026", 1), IoError);
    EXPECT_EQ(files(), before);

    resetIe813SendData(ctx, "2026", 2);
    const QByteArray c = RecordFile(changefiles::changes(ctx, "2026"), TRecEad::Size).findByNumber(2).value();
    EXPECT_EQ(codec::getF64(c, 64), 0.0);
    EXPECT_EQ(codec::getI32(c, 72), 0);
    EXPECT_EQ(c.mid(76, 2), text(" ", 1));
}

TEST(ChangeSummary, TheStoredChangeWithItsDetails)
{
    TRecEad c = blankEad();
    c.NUMFAT = "F77/2026";
    c.DATFAT = dates::fromDate(QDate(2026, 12, 10));
    c.TIPDES = "8";
    c.UFFSPE = "IT083100";
    c.RESTRA = "1";
    c.MODTRA = "3";
    c.unitaDurata = 1;
    c.durata = 5;
    eadToStoredForm(c);
    TRecDettaglio d = blankLine();
    d.UNITRA() = "1";
    d.IDUNTR() = "AB123CD";
    d.SIGTRA() = "SIG-1";
    const QStringList lines = changeSummaryLines(c, {d});
    EXPECT_EQ(lines, (QStringList{
                         "Fattura n. F77/2026 del 10/12/2026",
                         "Tipo Destinatario: 8   - Ufficio Doganale Competente: IT083100",
                         "--------------------------- DATI DEL TRASPORTO ---------------------------",
                         "     Responsabile: 1",
                         "         Modalità: 3  - Nota: ",
                         "           Durata: ORE: 5",
                         "---------------------------- DETTAGLI DEL TRASPORTO -----------------------",
                         " Dettaglio Numero: 1 ------------ ",
                         "Id. Comm. Sigilli: SIG-1",
                         "Infor. su Sigilli: ",
                         "  Unità Trasporto: 1 - Identificativo: AB123CD",
                         "  Altre Informaz.: ",
                     }));
}

// What the dispatcher leaves in hand after a choice: an e-AD without ARC is not offered for a
// cancellation, and a cancellation whose e-AD is gone can still be withdrawn or reset.
TEST_F(Lifecycle, TheChosenRecordsInHand)
{
    auto choose = [&](char mode, std::int32_t p) {
        ctx.OpCode = QLatin1Char(mode);
        ctx.PickedEad = p;
        ctx.SelectedYear = "2026";
        return loadChosenRecords(ctx);
    };
    EXPECT_EQ(choose('X', target), "");
    EXPECT_EQ(ctx.EadHeader.progressivo, target);
    for (const QString& arc : {QString(), QStringLiteral("26ITQXY0001234567890")}) {
        setEad(other, " ", arc);
        const QString refused = choose('X', other);
        EXPECT_TRUE(refused.contains("NON HA IL NUMERO DI ARC")) << refused.toStdString();
    }

    // The e-AD of an unsent cancellation deleted elsewhere.
    setEad(target, "0", Arc);
    addCancellation(target, " ");
    RecordFile(headers(), TRecEad::Size).deleteByNumber(target);
    for (char mode : {'x', 'a'}) {
        EXPECT_EQ(choose(mode, target), "") << mode;
        EXPECT_EQ(ctx.EadHeader.progressivo, target) << mode;
        EXPECT_EQ(ctx.MessageRecord.progressivo, target) << mode;
    }
    EXPECT_TRUE(choose('9', target).contains("NON E' PIU' PRESENTE"));
    withdrawCancellation(ctx, "2026", target);
    EXPECT_EQ(cancellationBytes(target), QByteArray());
    EXPECT_EQ(eadBytes(other).size(), TRecEad::Size) << "the other e-AD untouched";
}

// "Annulla Cambio Destinazione" lists sent changes too; a sent one is refused before its window.
TEST_F(Lifecycle, ASentChangeIsNotOfferedForDeletion)
{
    TRecEad change = blankEad();
    change.progressivo = 1;
    change.progressivoRif = target;
    change.ARC = Arc;
    change.stato = "I";
    RecordFile(changefiles::changes(ctx, "2026"), TRecEad::Size).append(encodeEad(change));
    ctx.OpCode = 'd';
    ctx.PickedEad = 1;
    ctx.SelectedYear = "2026";
    EXPECT_EQ(loadChosenRecords(ctx), "IL CAMBIO DI DESTINAZIONE N. 1 E' GIA' STATO INVIATO E NON PUO' ESSERE CANCELLATO");
    ctx.OpCode = 'e'; // its send data can be reset
    EXPECT_EQ(loadChosenRecords(ctx), "");
    EXPECT_EQ(ctx.MessageRecord.progressivo, 1);
}
