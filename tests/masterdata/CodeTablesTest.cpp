// Code-table maintenance logic: flag and TA20 checks, modify as delete + insert, CSV import.
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "masterdata/CodeTables.h"
#include "masterdata/CsvImport.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
// Code (trimmed Fld[0] read straight from the bytes: length byte at 4, characters from 5) and
// number (int32 at 0) of every record of a .TAB, in file order.
QList<std::pair<QString, int>> rowsOf(const QString& path)
{
    QList<std::pair<QString, int>> out;
    for (const QByteArray& r : RecordFile(path, 5304).readAll()) {
        const int len = static_cast<unsigned char>(r[4]);
        out.append({QString::fromLatin1(r.mid(5, len)).trimmed(), RecordFile::numberOf(r)});
    }
    return out;
}
QString field(const QByteArray& r, int offset)
{
    const int len = static_cast<unsigned char>(r[offset]);
    return QString::fromLatin1(r.mid(offset + 1, len)).trimmed();
}
} // namespace

TEST(CodeTableChecks, YesNoFlags)
{
    struct Case { const char* le3; bool s3; const char* le4; bool s4; bool ok; const char* focus; };
    const Case cases[] = {
        {"", false, "", false, true, ""},   // no flags on this table
        {"S", true, "", false, true, ""},
        {"N", true, "S", true, true, ""},
        {"X", true, "S", true, false, "LE3"},
        {"", true, "", false, false, "LE3"},
        {"S", true, "Y", true, false, "LE4"},
        {"SI", true, "NO", true, true, ""}, // the first character decides
    };
    for (const auto& c : cases) {
        CheckResult r = CheckYesNoFlags(QString::fromLatin1(c.le3), c.s3, QString::fromLatin1(c.le4), c.s4);
        EXPECT_EQ(r.ok, c.ok) << c.le3 << "/" << c.le4;
        EXPECT_EQ(r.focus, QString::fromLatin1(c.focus));
        EXPECT_TRUE(r.message.isEmpty()); // these only move the focus
    }
}

TEST(CodeTableChecks, Ta20PrefixAndValidity)
{
    EXPECT_TRUE(CheckTa20Prefix(QStringLiteral("W200-22042111-00-0000")).ok);
    EXPECT_TRUE(CheckTa20Prefix(QStringLiteral("W300-22042111-00-0000")).ok);
    for (const char* bad : {"W100-22042111-00-0000", "W400-22042111-00-0000", "", "W20"}) {
        CheckResult r = CheckTa20Prefix(QString::fromLatin1(bad));
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ(r.focus, QStringLiteral("ME0"));
    }
    EXPECT_TRUE(CheckValidity(QDate(2026, 1, 1), QDate(2026, 1, 1)).ok);
    EXPECT_EQ(CheckValidity(QDate(2026, 1, 2), QDate(2026, 1, 1)).focus, QStringLiteral("MALLA"));
    EXPECT_EQ(CheckValidity(QDate(), QDate(2026, 1, 1)).focus, QStringLiteral("MDALLA"));
    EXPECT_EQ(CheckValidity(QDate(2026, 1, 1), QDate()).focus, QStringLiteral("MALLA"));
}

class CodeTableFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("T015"), QStringLiteral("Tipi di Destinazione"), 1,
                       {{2, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        appendRow(t.ctx, QStringLiteral("T015"), {QStringLiteral("AAA"), QStringLiteral("primo")});
        appendRow(t.ctx, QStringLiteral("T015"), {QStringLiteral("BBB"), QStringLiteral("secondo")});
        appendRow(t.ctx, QStringLiteral("T015"), {QStringLiteral("CCC"), QStringLiteral("terzo")});
    }
    QString tab() const { return tablePath(t.ctx, QStringLiteral("T015"), ".TAB"); }
    void edit(const QString& code, const QString& description)
    {
        t.ctx.EditRow = blankRow();
        t.ctx.EditRow.Fld[0] = code;
        t.ctx.EditRow.Fld[1] = description;
        t.ctx.EditRow.Ext[0] = QStringLiteral("T015");
    }
    TestContext t;
};

TEST_F(CodeTableFiles, ModifyKeepsTheOrderAndGivesANewNumber)
{
    edit(QStringLiteral("BBB"), QStringLiteral("secondo bis"));
    EXPECT_EQ(SaveCodeRow(t.ctx, QStringLiteral("T015"), 2), 4);
    EXPECT_EQ(rowsOf(tab()), (QList<std::pair<QString, int>>{{"AAA", 1}, {"BBB", 4}, {"CCC", 3}}));
    EXPECT_EQ(FindCode(t.ctx, QStringLiteral("T015"), QStringLiteral("BBB"))->Fld[1], QStringLiteral("secondo bis"));
}

TEST_F(CodeTableFiles, ModifyToAFreeCodeMovesTheRow)
{
    edit(QStringLiteral("ZZZ"), QStringLiteral("ultimo"));
    EXPECT_TRUE(CheckCodeFree(t.ctx, QStringLiteral("T015"), QStringLiteral("ZZZ"), QStringLiteral("AAA"), true,
                              QStringLiteral("LE1")).ok);
    SaveCodeRow(t.ctx, QStringLiteral("T015"), 1);
    EXPECT_EQ(rowsOf(tab()), (QList<std::pair<QString, int>>{{"BBB", 2}, {"CCC", 3}, {"ZZZ", 4}}));
}

TEST_F(CodeTableFiles, ChangingToAnExistingCodeIsRefused)
{
    CheckResult r = CheckCodeFree(t.ctx, QStringLiteral("T015"), QStringLiteral("CCC"), QStringLiteral("BBB"), true,
                                  QStringLiteral("LE1"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("CODICE GIA` UTILIZZATO"));
    EXPECT_EQ(r.focus, QStringLiteral("LE1"));
    // The same code again is no change.
    EXPECT_TRUE(CheckCodeFree(t.ctx, QStringLiteral("T015"), QStringLiteral("BBB"), QStringLiteral("BBB"), true,
                              QStringLiteral("LE1")).ok);
}

TEST_F(CodeTableFiles, NewRowGoesInCodeOrderWithTheNextNumber)
{
    edit(QStringLiteral("ABB"), QStringLiteral("nuovo"));
    EXPECT_EQ(SaveCodeRow(t.ctx, QStringLiteral("T015"), std::nullopt), 4);
    EXPECT_EQ(rowsOf(tab()), (QList<std::pair<QString, int>>{{"AAA", 1}, {"ABB", 4}, {"BBB", 2}, {"CCC", 3}}));
}

class CsvImportTest : public CodeTableFiles {
protected:
    void writeCsv(const QByteArray& bytes)
    {
        QFile f(QDir(t.ctx.DatiGenFolder).filePath(QStringLiteral("T015.CSV")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(CsvImportTest, FlagsSkippedLinesAndCodeOrder)
{
    // Windows-1252: 0xE0 is "à". A line starting with a space is skipped; an empty line is a row.
    writeCsv("ZZ;Citt\xE0;X;\r\n"
             " commento;x\r\n"
             "ABC;descrizione;;X\r\n"
             "\r\n"
             "!nota\r\n"
             "MM;d; ;Y\r\n");
    EXPECT_EQ(ImportCsv(t.ctx, QStringLiteral("T015")), 4);

    const QList<QByteArray> recs = RecordFile(tab(), 5304).readAll();
    ASSERT_EQ(recs.size(), 4);
    // Code order (stored form): the empty code first; numbers in file order.
    const struct { int num; const char* code; const char* f1; const char* f2; const char* f3; } want[] = {
        {3, "", "", "N", "N"},
        {2, "ABC", "descrizione", "N", "S"},
        {4, "MM", "d", "N", "Y"},
        {1, "ZZ", "Citt\xE0", "S", "N"},
    };
    for (int i = 0; i < 4; ++i) {
        const QByteArray& r = recs[i];
        EXPECT_EQ(RecordFile::numberOf(r), want[i].num) << i;
        EXPECT_EQ(static_cast<unsigned char>(r[4]), 250); // stored padded
        EXPECT_EQ(field(r, 4), QString::fromLatin1(want[i].code)) << i;
        EXPECT_EQ(field(r, 4 + 251), QString::fromLatin1(want[i].f1)) << i;
        EXPECT_EQ(field(r, 4 + 502), QString::fromLatin1(want[i].f2)) << i;
        EXPECT_EQ(field(r, 4 + 753), QString::fromLatin1(want[i].f3)) << i;
        EXPECT_EQ(field(r, 2514), QStringLiteral("T015")) << i; // Ext[0]
    }
    EXPECT_EQ(t.messenger.infos, QStringList{});
}

TEST_F(CsvImportTest, MissingFileLeavesTheTableUntouched)
{
    const QByteArray before = RecordFile(tab(), 5304).readAll().join();
    try {
        ImportCsv(t.ctx, QStringLiteral("T015"));
        FAIL() << "no error for a missing file";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("T015.CSV"))) << e.text().toStdString();
    }
    EXPECT_EQ(RecordFile(tab(), 5304).readAll().join(), before);
}

TEST_F(CsvImportTest, AnOverlongFieldStopsBeforeAnythingIsReplaced)
{
    writeCsv("AB;ok\r\nCD;" + QByteArray(251, 'x') + "\r\n");
    const QByteArray before = RecordFile(tab(), 5304).readAll().join();
    EXPECT_THROW(ImportCsv(t.ctx, QStringLiteral("T015")), IoError);
    EXPECT_EQ(RecordFile(tab(), 5304).readAll().join(), before);
}

TEST_F(CodeTableFiles, StructureRoundTrip)
{
    StructureForm f;
    f.name = QStringLiteral("TX01");
    f.title = QStringLiteral("Prova");
    f.fieldNames = QStringLiteral("CODICE;DESCRIZIONE;");
    f.searchFields = QStringLiteral("1");
    f.dims[0] = QStringLiteral("3");
    f.dims[1] = QStringLiteral("100");
    f.labels[0] = QStringLiteral("Codice");
    f.labels[1] = QStringLiteral("Descrizione");
    SaveStructure(t.ctx, f);
    const QList<QByteArray> recs = RecordFile(tablePath(t.ctx, QStringLiteral("TX01"), ".STR"), 5304).readAll();
    ASSERT_EQ(recs.size(), 1);
    const QByteArray& r = recs[0];
    EXPECT_EQ(RecordFile::numberOf(r), 1);
    EXPECT_EQ(field(r, 2514), QStringLiteral("TX01"));
    EXPECT_EQ(field(r, 2514 + 251), QStringLiteral("Prova"));
    EXPECT_EQ(field(r, 2514 + 502), QStringLiteral("CODICE;DESCRIZIONE;"));
    EXPECT_EQ(qFromLittleEndian<qint32>(r.constData() + 5024), 3);
    EXPECT_EQ(qFromLittleEndian<qint32>(r.constData() + 5028), 100);
    EXPECT_EQ(qFromLittleEndian<qint32>(r.constData() + 5032), 0);
    EXPECT_EQ(field(r, 4 + 251), QStringLiteral("Descrizione"));
    auto back = LoadStructure(t.ctx, QStringLiteral("TX01"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->dims[1], QStringLiteral("100"));
    EXPECT_EQ(back->labels[0], QStringLiteral("Codice"));
}
