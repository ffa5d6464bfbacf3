// Reactivation of a flow's records and deletion of unsent records, as
// before/after tables of the register file: numero, state, operation, link,
// flow number.
#include <gtest/gtest.h>

#include <QFile>

#include "foundation/Dates.h"
#include "register/store/RegisterStore.h"
#include "register/undo/RegisterUndo.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

double day(int d, int m = 12, int y = 2026)
{
    return dates::fromDate(QDate(y, m, d));
}

// One record as the tables below write it.
struct Row {
    int numero;
    char stato;      // ' ', 'C', 'R'
    char operazione; // 'I', 'C'
    int collegato;
    int flowDay; // 0 = unsent, else the day of December the flow was made
    int flow;
    char kind = 'S'; // tipoMovimento, or 'F' for a guarantee day
};

TRecMovimento make(const Row& r)
{
    TRecMovimento m = blankRegisterRecord();
    m.numero = r.numero;
    m.progressivo = r.numero;
    m.stato = QString(QChar(r.stato));
    m.operazione = QString(QChar(r.operazione));
    m.collegato = r.collegato;
    m.data = day(1);
    if (r.flowDay) {
        m.dataFlusso = day(r.flowDay);
        m.numeroFlusso = r.flow;
    }
    if (r.kind == 'F') {
        m.registro = "F";
    } else {
        m.registro = "C";
        m.tipoMovimento = QString(QChar(r.kind));
        m.tipoDocumento = "DAA";
        m.litri = 100 * r.numero;
    }
    PadRegisterRecord(m);
    return m;
}

QString describe(const TRecMovimento& m)
{
    return QStringLiteral("%1 '%2' %3 ->%4 flow %5/%6")
        .arg(m.numero)
        .arg(m.stato.trimmed())
        .arg(m.operazione.trimmed())
        .arg(m.collegato)
        .arg(m.numeroFlusso ? dates::toDate(m.dataFlusso).day() : 0)
        .arg(m.numeroFlusso);
}

QStringList describe(const QList<Row>& rows)
{
    QStringList out;
    for (const Row& r : rows)
        out << describe(make(r));
    return out;
}

struct Undo : ::testing::Test {
    TestContext t;
    QString rgm, gar;

    void SetUp() override
    {
        QDir().mkpath(t.ctx.RegistriFolder);
        rgm = registerfiles::movements(t.ctx, 2026);
        gar = registerfiles::guarantees(t.ctx, 2026);
    }

    void write(const QString& path, const QList<Row>& rows)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const Row& r : rows)
            f.write(encodeRegisterRecord(make(r)));
    }

    QStringList file(const QString& path)
    {
        QStringList out;
        for (const TRecMovimento& m : readRegister(path))
            out << describe(m);
        return out;
    }
};

} // namespace

TEST_F(Undo, ReactivationResetsOnlyTheRecordsOfThatFlowStillAsListed)
{
    write(rgm,
        {{1, ' ', 'I', 0, 9, 3}, {2, ' ', 'I', 0, 9, 2}, {3, ' ', 'I', 0, 8, 3}, {4, ' ', 'I', 0, 0, 0},
            {5, ' ', 'I', 0, 9, 3}});
    write(gar, {{1, ' ', 'I', 0, 9, 3, 'F'}, {2, ' ', 'I', 0, 8, 3, 'F'}});
    const UndoList list = buildReactivationList(t.ctx, 2026, QDate(2026, 12, 9), 3);
    ASSERT_EQ(list.records.size(), 3); // movements 1 and 5, guarantee day 1
    EXPECT_EQ(list.lines.size(), 3);

    // Movement 5 is rectified on another workstation after the list was built.
    write(rgm,
        {{1, ' ', 'I', 0, 9, 3}, {2, ' ', 'I', 0, 9, 2}, {3, ' ', 'I', 0, 8, 3}, {4, ' ', 'I', 0, 0, 0},
            {5, 'C', 'I', 0, 9, 3}});
    const UndoResult r = reactivateRecords(t.ctx, 2026, list.records, QDate(2026, 12, 9), 3);
    EXPECT_EQ(r.done, 2);
    ASSERT_EQ(r.refused.size(), 1);
    EXPECT_TRUE(r.refused[0].startsWith("IL MOVIMENTO N. 5 DEL 01/12/2026"));
    EXPECT_EQ(file(rgm),
        describe({{1, ' ', 'I', 0, 0, 0}, {2, ' ', 'I', 0, 9, 2}, {3, ' ', 'I', 0, 8, 3}, {4, ' ', 'I', 0, 0, 0},
            {5, 'C', 'I', 0, 9, 3}}));
    EXPECT_EQ(file(gar), describe({{1, ' ', 'I', 0, 0, 0, 'F'}, {2, ' ', 'I', 0, 8, 3, 'F'}}));
}

TEST_F(Undo, LastFlowOfTheDayIsProposed)
{
    write(rgm, {{1, ' ', 'I', 0, 9, 1}, {2, ' ', 'I', 0, 9, 2}});
    EXPECT_EQ(lastFlowNumber(t.ctx, QDate(2026, 12, 9)), 2);
    EXPECT_EQ(lastFlowNumber(t.ctx, QDate(2026, 12, 10)), 0);
}

TEST_F(Undo, DeletingUnsentMovements)
{
    struct Case {
        const char* story;
        QChar mode;
        QList<Row> before;
        QList<int> listed; // numeri offered
        QList<int> ticked; // numeri chosen
        QList<Row> after;
        int refused;
    };
    const QList<Case> cases = {
        {"an unsent unload goes; loads, sent and superseded records are not "
         "offered",
            'S', {{1, ' ', 'I', 0, 0, 0, 'C'}, {2, ' ', 'I', 0, 0, 0}, {3, ' ', 'I', 0, 5, 1}, {4, 'C', 'I', 0, 5, 1}},
            {2}, {2}, {{1, ' ', 'I', 0, 0, 0, 'C'}, {3, ' ', 'I', 0, 5, 1}, {4, 'C', 'I', 0, 5, 1}}, 0},
        {"a concluded unload (linked to its conclusion) stays", 'S',
            {{1, ' ', 'I', 2, 0, 0}, {2, ' ', 'A', 1, 0, 0, 'A'}}, {1}, {1},
            {{1, ' ', 'I', 2, 0, 0}, {2, ' ', 'A', 1, 0, 0, 'A'}}, 1},
        {"undoing a modify rectification: its cancellation and replacement go, "
         "the rectified record is active "
         "again, the other records stay",
            's',
            {{1, 'C', 'I', 0, 2, 1}, {7, ' ', 'I', 0, 0, 0}, {8, ' ', 'C', 1, 0, 0}, {9, 'R', 'I', 1, 0, 0},
                {10, 'R', 'I', 4, 0, 0}},
            {8}, {8}, {{1, ' ', 'I', 0, 2, 1}, {7, ' ', 'I', 0, 0, 0}, {10, 'R', 'I', 4, 0, 0}}, 0},
        {"undoing a cancel rectification (no replacement)", 'c',
            {{1, 'C', 'I', 0, 2, 1, 'C'}, {2, ' ', 'C', 1, 0, 0, 'C'}, {3, ' ', 'I', 0, 0, 0, 'C'}}, {2}, {2},
            {{1, ' ', 'I', 0, 2, 1, 'C'}, {3, ' ', 'I', 0, 0, 0, 'C'}}, 0},
        {"a rectification whose replacement was sent is not undone", 's',
            {{1, 'C', 'I', 0, 2, 1}, {2, ' ', 'C', 1, 0, 0}, {3, 'R', 'I', 1, 4, 1}}, {2}, {2},
            {{1, 'C', 'I', 0, 2, 1}, {2, ' ', 'C', 1, 0, 0}, {3, 'R', 'I', 1, 4, 1}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        write(rgm, c.before);
        const UndoList list = buildDeletionList(t.ctx, c.mode, 2026);
        QList<int> listed;
        QList<TRecMovimento> chosen;
        for (const TRecMovimento& r : list.records) {
            listed << r.numero;
            if (c.ticked.contains(r.numero))
                chosen << r;
        }
        EXPECT_EQ(listed, c.listed);
        const UndoResult r = deleteRecords(t.ctx, c.mode, 2026, chosen);
        EXPECT_EQ(r.refused.size(), c.refused) << r.refused.join("|").toStdString();
        EXPECT_EQ(file(rgm), describe(c.after));
    }
}

TEST_F(Undo, DeletingGuaranteeDaysAndTheirRectifications)
{
    write(gar, {{1, 'C', 'I', 0, 2, 1, 'F'}, {2, ' ', 'C', 1, 0, 0, 'F'}, {3, ' ', 'I', 0, 0, 0, 'F'}});
    const UndoList days = buildDeletionList(t.ctx, 'F', 2026);
    ASSERT_EQ(days.records.size(), 1);
    EXPECT_EQ(days.lines[0],
        "01/12/2026 |impegno: 0,00 |svincolo: 0,00 |nuova: "
        "0,00 |scaduta: 0,00 |disponibile: 0,00 |");
    const UndoList rects = buildDeletionList(t.ctx, 'f', 2026);
    ASSERT_EQ(rects.records.size(), 1);
    EXPECT_EQ(deleteRecords(t.ctx, 'f', 2026, rects.records).done, 1);
    EXPECT_EQ(deleteRecords(t.ctx, 'F', 2026, days.records).done, 1);
    EXPECT_EQ(file(gar), describe({{1, ' ', 'I', 0, 2, 1, 'F'}}));
}

TEST_F(Undo, ARecordChangedSinceTheListIsLeftAlone)
{
    write(rgm, {{1, ' ', 'I', 0, 0, 0}});
    const UndoList list = buildDeletionList(t.ctx, 'S', 2026);
    write(rgm, {{1, ' ', 'I', 0, 9, 1}}); // sent meanwhile
    const UndoResult r = deleteRecords(t.ctx, 'S', 2026, list.records);
    EXPECT_EQ(r.done, 0);
    EXPECT_EQ(r.refused.size(), 1);
    EXPECT_EQ(file(rgm), describe({{1, ' ', 'I', 0, 9, 1}}));
    EXPECT_FALSE(confirmsUndo("si"));
    EXPECT_TRUE(confirmsUndo("SI"));
}
