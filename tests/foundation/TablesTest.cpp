#include <gtest/gtest.h>

#include <cstring>

#include <QFile>

#include "ui/WindowRegistry.h"
#include "foundation/Tables.h"
#include "support/Fakes.h"
#include "support/TableFixtures.h"

using namespace vt;
using namespace vt::test;

TEST(TRecTabella, SizeAndEveryOffset)
{
    EXPECT_EQ(TRecTabella::Size, 5304);
    std::map<QString, int> at;
    for (const auto& f : TRecTabella::fields())
        at[QString::fromLatin1(f.name)] = f.offset;
    EXPECT_EQ(at.size(), 61u);
    EXPECT_EQ(at["Num"], 0);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(at[QStringLiteral("Fld[%1]").arg(i)], 4 + 251 * i);
        EXPECT_EQ(at[QStringLiteral("Ext[%1]").arg(i)], 2514 + 251 * i);
        EXPECT_EQ(at[QStringLiteral("Dim[%1]").arg(i)], 5024 + 4 * i);
        EXPECT_EQ(at[QStringLiteral("ValA[%1]").arg(i)], 5064 + 8 * i);
        EXPECT_EQ(at[QStringLiteral("ValB[%1]").arg(i)], 5144 + 8 * i);
        EXPECT_EQ(at[QStringLiteral("ValC[%1]").arg(i)], 5224 + 8 * i);
    }
}

TEST(TRecTabella, HandBuiltImageRoundTrip)
{
    QByteArray img(5304, ' ');
    auto text = [&](int off, const char* s) {
        img[off] = char(250);
        std::memcpy(img.data() + off + 1, s, std::strlen(s));
    };
    auto i32 = [&](int off, qint32 v) { std::memcpy(img.data() + off, &v, 4); };
    auto f64 = [&](int off, double v) { std::memcpy(img.data() + off, &v, 8); };
    i32(0, 17);
    for (int i = 0; i < 10; ++i) {
        text(4 + 251 * i, "");
        text(2514 + 251 * i, "");
    }
    for (int off = 5024; off < 5304; ++off)
        img[off] = 0;
    text(4, "IT");
    text(4 + 251, "Italia");
    text(2514 + 251 * 9, "ULTIMO");
    i32(5024 + 4 * 9, 250);
    f64(5064, 1.5);
    f64(5144 + 8 * 3, -2.25);
    f64(5224 + 8 * 9, 1e10);
    const TRecTabella r = decodeRow(img);
    EXPECT_EQ(r.Num, 17);
    EXPECT_EQ(r.Fld[0].trimmed(), QStringLiteral("IT"));
    EXPECT_EQ(r.Fld[1].trimmed(), QStringLiteral("Italia"));
    EXPECT_EQ(r.Ext[9].trimmed(), QStringLiteral("ULTIMO"));
    EXPECT_EQ(r.Dim[9], 250);
    EXPECT_EQ(r.ValA[0], 1.5);
    EXPECT_EQ(r.ValB[3], -2.25);
    EXPECT_EQ(r.ValC[9], 1e10);
    EXPECT_EQ(encodeRow(r), img);
}

namespace {
struct TablesTest : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    bool find(const QString& table, const QString& f0, const QString& f1 = {})
    {
        TRecTabella s = blankRow();
        s.Fld[0] = f0;
        s.Fld[1] = f1;
        PadRow(s);
        return FindRowByKey(ctx, s, table);
    }
};
} // namespace

TEST_F(TablesTest, KeyLookupsWithOneAndTwoSearchFields)
{
    auto s1 = structureRecord("T004", 1, "Stati", "Codice;Descrizione", {2, 50});
    writeTable(ctx, "T004", &s1, {tableRow(1, {"FR", "Francia"}), tableRow(2, {"IT", "Italia"})});
    EXPECT_TRUE(find("T004", "IT", "qualunque"));
    EXPECT_EQ(ctx.FoundRow.Fld[1].trimmed(), QStringLiteral("Italia"));
    EXPECT_TRUE(find("T004", "IT   ")); // trailing spaces
    EXPECT_FALSE(find("T004", "it"));   // exact comparison

    auto s2 = structureRecord("ACCISE", 2, "Aliquote", "Stato;Prodotto", {2, 10});
    writeTable(ctx, "ACCISE", &s2, {tableRow(1, {"IT", "A"}), tableRow(2, {"IT", "B"})});
    EXPECT_TRUE(find("ACCISE", "IT", "B"));
    EXPECT_EQ(ctx.FoundRow.Num, 2);
    EXPECT_FALSE(find("ACCISE", "IT", "C"));
    EXPECT_TRUE(t.messenger.infos.isEmpty());

    EXPECT_FALSE(find("T999", "IT"));
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("STRUTTURA DEL FILE MANCANTE")});
}

TEST_F(TablesTest, ModifyIsDeleteThenInsertWithANewNumberAtTheSamePlace)
{
    auto s = structureRecord("T010", 1, "Imballaggi", "Codice", {2, 50});
    writeTable(ctx, "T010", &s,
               {tableRow(1, {"BA", "Barile"}), tableRow(2, {"BO", "Bottiglia"}), tableRow(3, {"CT", "Cartone"})});
    const QString path = tablePath(ctx, "T010", ".TAB");
    ASSERT_TRUE(FindRowByNumber(ctx, 2, path));
    EXPECT_EQ(ctx.FoundRow.Fld[1], QStringLiteral("Bottiglia")); // trimmed
    ctx.EditRow = ctx.FoundRow;
    ctx.EditRow.Fld[1] = QStringLiteral("Bottiglia di vetro");
    ctx.EditRow.Num = 0;
    ASSERT_TRUE(DeleteRow(ctx, 2, path));
    EXPECT_EQ(InsertRow(ctx, path), 4);
    const auto rows = ReadRows(path);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].Fld[0], QStringLiteral("BO"));
    EXPECT_EQ(rows[1].Num, 4);
    EXPECT_EQ(rows[1].Fld[1], QStringLiteral("Bottiglia di vetro"));
    EXPECT_FALSE(QFile::exists(path + "$"));
}

// Every written or deleted row is reported through the context (the main window shows
// "Dati salvati"); a lookup, or a delete that finds nothing, is not.
TEST_F(TablesTest, WritesAreReportedAsSaved)
{
    int saved = 0;
    ctx.NoteListener = [&](const QString&) { ++saved; };
    auto s = structureRecord("T010", 1, "Imballaggi", "Codice", {2, 50});
    writeTable(ctx, "T010", &s, {tableRow(1, {"BA", "Barile"})});
    const QString path = tablePath(ctx, "T010", ".TAB");
    EXPECT_TRUE(find("T010", "BA"));
    EXPECT_TRUE(FindRowByNumber(ctx, 1, path));
    EXPECT_EQ(saved, 0);
    ctx.EditRow = tableRow(0, {"CT", "Cartone"});
    InsertRow(ctx, path);
    EXPECT_EQ(saved, 1);
    EXPECT_FALSE(DeleteRow(ctx, 99, path));
    EXPECT_EQ(saved, 1);
    EXPECT_TRUE(DeleteRow(ctx, 1, path));
    EXPECT_EQ(saved, 2);
}

TEST_F(TablesTest, OpenCodeTableSetsTheModeAndCallsTheInstalledOpener)
{
    int calls = 0;
    SetCodeTableOpener([&](AppContext& c) {
        ++calls;
        EXPECT_TRUE(c.NewCodeMode);
    });
    OpenCodeTable(ctx, true);
    EXPECT_EQ(calls, 1);
    SetCodeTableOpener({});
    OpenCodeTable(ctx, false); // nothing installed: nothing opens
    EXPECT_FALSE(ctx.NewCodeMode);
    // Put back what the windows layer installs.
    SetCodeTableOpener(openCodeEditor);
}
