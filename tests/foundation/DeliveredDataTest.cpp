// The delivered tables: their structures and rows as installed on a first start, and the rule
// that a start never touches a file that is already there.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>

#include "foundation/DeliveredData.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Startup.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "support/Fakes.h"

namespace vt {
namespace {

using test::TestContext;

// The catalogue: name, title, search fields, sizes of fields 0..2 (0 = no such field), number of
// listing columns, whether rows are delivered.
struct Expected {
    const char* name;
    const char* title;
    int search;
    int dim0, dim1, dim2;
    int columns;
    bool rows;
};

// clang-format off
const Expected kCatalogue[] = {
    {"T001", "Lingue", 1, 2, 50, 0, 2, true},
    {"T004", "Stati", 1, 2, 50, 0, 2, true},
    {"T005", "Paesi di Importazione", 1, 2, 60, 0, 2, true},
    {"T007", "Tipi Garanti", 1, 4, 120, 0, 2, true},
    {"T008", "Modalità di Trasporto", 1, 2, 50, 0, 2, true},
    {"T009", "Mezzi di Trasporto", 1, 2, 50, 0, 2, true},
    {"T010", "Imballaggi", 1, 2, 100, 1, 3, true},
    {"T011", "Motivi Cancellazione", 1, 1, 100, 0, 2, true},
    {"T015", "Tipi di Destinazione", 1, 1, 100, 0, 2, true},
    {"T016", "Organizzatori del Trasporto", 1, 1, 50, 0, 2, true},
    {"T018", "Categorie del Vino", 1, 2, 100, 0, 2, true},
    {"T019", "Zone di Coltivazione del Vino", 1, 7, 50, 0, 2, true},
    {"T020", "Trattamenti del Vino", 1, 2, 150, 0, 2, true},
    {"T023", "Esiti di Ricezione", 1, 2, 100, 0, 2, true},
    {"T025", "Motivi Insoddisfazione", 1, 1, 100, 0, 2, true},
    {"T027", "Motivazioni di Rigetto", 1, 1, 100, 0, 2, true},
    {"TA03", "Uffici Doganali", 1, 8, 60, 0, 2, true},
    {"TA05", "Tipi di Documento", 1, 3, 100, 0, 2, true},
    {"TA20", "Prodotti Alcoli", 1, 21, 250, 0, 4, true},
    {"TA21C", "Causali per il Carico", 1, 3, 100, 0, 2, true},
    {"TA21S", "Causali per lo Scarico", 1, 3, 100, 0, 2, true},
    {"PRAZ", "Prodotti Aziendali", 1, 20, 80, 2, 6, false},
    {"ACCISE", "Tabella delle Accise nei Paesi dell'Unione Europea", 1, 2, 0, 0, 13, false},
    {"PROTOCOLLI", "Protocollo dei Registri dei movimenti", 1, 10, 1, 200, 5, false},
    {"INDIRIZZI_D", "Destinatari DAA", 1, 100, 0, 0, 6, false},
    {"INDIRIZZI_T", "Aziende di Trasporto", 1, 100, 0, 0, 5, false},
    {"INDIRIZZI_G", "Garanti", 1, 100, 0, 0, 7, false},
    {"INDIRIZZI_F", "Fornitori con DAA", 1, 100, 0, 0, 6, false},
};
// clang-format on

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList codes(const QString& tabPath)
{
    QStringList out;
    for (const TRecTabella& r : ReadRows(tabPath))
        out << r.Fld[0];
    return out;
}

// One first start shared by the tests that only read what it installed.
class InstalledData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        t = new TestContext;
        runStartup(t->ctx, t->path(QStringLiteral("start")), t->path(QStringLiteral("temp")));
    }
    static void TearDownTestSuite()
    {
        delete t;
        t = nullptr;
    }
    static QString dati(const QString& name) { return t->ctx.datiGen(name); }
    static TestContext* t;
};
TestContext* InstalledData::t = nullptr;

TEST_F(InstalledData, DeliversExactlyTheCatalogue)
{
    QStringList delivered, expected;
    for (const DeliveredTable& d : deliveredTables())
        delivered << d.name;
    for (const Expected& e : kCatalogue)
        expected << QString::fromLatin1(e.name);
    delivered.sort();
    expected.sort();
    EXPECT_EQ(delivered, expected);
}

TEST_F(InstalledData, EveryStructureRecordDecodesAsDefined)
{
    for (const Expected& e : kCatalogue) {
        SCOPED_TRACE(e.name);
        const QString name = QString::fromLatin1(e.name);
        const QByteArray bytes = fileBytes(dati(name + QStringLiteral(".STR")));
        ASSERT_EQ(bytes.size(), TRecTabella::Size); // exactly one record
        TRecTabella s = decodeRow(bytes);
        // Stored padded: every text has its full length byte.
        EXPECT_EQ(quint8(bytes[2514]), 250);
        EXPECT_EQ(quint8(bytes[2514 + 251]), 250);
        TrimRow(s);
        EXPECT_EQ(s.Num, e.search);
        EXPECT_EQ(s.Ext[0], name);
        EXPECT_EQ(s.Ext[1], QString::fromUtf8(e.title));
        EXPECT_EQ(s.Dim[0], e.dim0);
        EXPECT_EQ(s.Dim[1], e.dim1);
        EXPECT_EQ(s.Dim[2], e.dim2);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(s.Dim[i] > 0, !s.Fld[i].isEmpty()) << "label and size of field " << i;
            EXPECT_EQ(s.ValA[i], 0.0);
        }
        // Column names, each followed by ";": one per listing column.
        EXPECT_TRUE(s.Ext[2].endsWith(QLatin1Char(';')));
        EXPECT_EQ(s.Ext[2].count(QLatin1Char(';')), e.columns);
        EXPECT_FALSE(s.Ext[2].contains(QStringLiteral(";;")));
        if (e.rows) { // a generic listing shows Fld[0] and every further field that exists
            int shown = 1;
            for (int i = 1; i < 10; ++i)
                shown += s.Dim[i] > 0;
            if (name != QLatin1String("TA20")) { // TA20 lists its two dates besides
                EXPECT_EQ(shown, e.columns);
            }
        }
        EXPECT_EQ(QFile::exists(dati(name + QStringLiteral(".TAB"))), e.rows);
    }
}

TEST_F(InstalledData, StructureRecordBytesAtTheirOffsets)
{
    const QByteArray b = fileBytes(dati(QStringLiteral("T008.STR")));
    ASSERT_EQ(b.size(), 5304);
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData()), 1);                 // Num
    EXPECT_EQ(b.mid(2515, 4), QByteArray("T008"));                          // Ext[0]
    EXPECT_EQ(b.mid(2766, 21), QByteArray("Modalit\xE0 di Trasporto"));     // Ext[1], Windows-1252
    EXPECT_EQ(b.mid(3017, 29), QByteArray("CODICE;MODALIT\xC0 DI TRASPORTO;"));
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 5024), 2);          // Dim[0]
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 5028), 50);         // Dim[1]
    EXPECT_EQ(qFromLittleEndian<qint32>(b.constData() + 5032), 0);          // Dim[2]
    EXPECT_EQ(b.mid(5, 6), QByteArray("Codice"));                           // Fld[0] label
}

TEST_F(InstalledData, EveryRowFitsItsFieldsAndIsFoundByItsKey)
{
    for (const Expected& e : kCatalogue) {
        if (!e.rows)
            continue;
        SCOPED_TRACE(e.name);
        const QString name = QString::fromLatin1(e.name);
        const TRecTabella s = *ReadStructure(t->ctx, name);
        const QString tab = dati(name + QStringLiteral(".TAB"));
        const QList<QByteArray> records = RecordFile(tab, TRecTabella::Size).readAll();
        ASSERT_FALSE(records.isEmpty());
        const auto delivered = deliveredTable(name);
        ASSERT_TRUE(delivered);
        EXPECT_EQ(records.size(), delivered->rows.size());

        QSet<int> numbers;
        QByteArray previousKey;
        for (const QByteArray& rec : records) {
            // Ascending order of Fld[0] in stored form, as InsertRow keeps it.
            const QByteArray key = rec.mid(4, 251);
            EXPECT_LE(previousKey, key);
            previousKey = key;

            TRecTabella row = decodeRow(rec);
            EXPECT_EQ(row.Fld[0].size(), 250) << "stored padded";
            TrimRow(row);
            numbers.insert(row.Num);
            EXPECT_FALSE(row.Fld[0].isEmpty());
            EXPECT_EQ(row.Ext[0], name);
            for (int i = 0; i < 10; ++i)
                EXPECT_LE(row.Fld[i].size(), s.Dim[i]) << row.Fld[0].toStdString() << " field " << i;

            TRecTabella search = blankRow();
            search.Fld[0] = row.Fld[0];
            PadRow(search);
            ASSERT_TRUE(FindRowByKey(t->ctx, search, name)) << row.Fld[0].toStdString();
            EXPECT_EQ(t->ctx.FoundRow.Num, row.Num) << "duplicate code " << row.Fld[0].toStdString();
        }
        EXPECT_EQ(numbers.size(), records.size());
        EXPECT_EQ(*std::min_element(numbers.begin(), numbers.end()), 1);
        EXPECT_EQ(*std::max_element(numbers.begin(), numbers.end()), records.size());
    }
    EXPECT_TRUE(t->messenger.all.isEmpty()) << t->messenger.all.join(QLatin1Char('|')).toStdString();
}

TEST_F(InstalledData, DeliveredTextsAreAllWindows1252)
{
    for (const Expected& e : kCatalogue) {
        SCOPED_TRACE(e.name);
        for (const char* ext : {".str.txt", ".csv"}) {
            QFile f(QStringLiteral(":/tables/") + QString::fromLatin1(e.name) + QString::fromLatin1(ext));
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(f.readAll());
            EXPECT_TRUE(nonCp1252Chars(text).isEmpty()) << nonCp1252Chars(text).toStdString();
            EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << "not UTF-8";
        }
    }
}

TEST_F(InstalledData, LanguagesAreLowerCase)
{
    const QStringList c = codes(dati(QStringLiteral("T001.TAB")));
    EXPECT_TRUE(c.contains(QStringLiteral("it")));
    EXPECT_TRUE(c.contains(QStringLiteral("en")));
    for (const QString& code : c)
        EXPECT_EQ(code, code.toLower());
    TRecTabella search = blankRow();
    search.Fld[0] = QStringLiteral("IT");
    PadRow(search);
    EXPECT_FALSE(FindRowByKey(t->ctx, search, QStringLiteral("T001")));
}

TEST_F(InstalledData, PackagingRowsCarryTheNumerableFlag)
{
    QMap<QString, QString> flag;
    for (const TRecTabella& r : ReadRows(dati(QStringLiteral("T010.TAB")))) {
        EXPECT_TRUE(r.Fld[2] == QLatin1String("S") || r.Fld[2] == QLatin1String("N")) << r.Fld[0].toStdString();
        flag[r.Fld[0]] = r.Fld[2];
    }
    EXPECT_EQ(flag.value(QStringLiteral("VL")), QStringLiteral("N")); // bulk liquid
    EXPECT_EQ(flag.value(QStringLiteral("BO")), QStringLiteral("S")); // bottle
    EXPECT_EQ(flag.value(QStringLiteral("CT")), QStringLiteral("S")); // carton
    EXPECT_EQ(flag.values().count(QStringLiteral("N")), 7);
}

TEST_F(InstalledData, CodesTheProgramItselfReliesOnArePresent)
{
    struct Need {
        const char* table;
        QStringList codes;
    };
    const Need needs[] = {
        {"TA05", {"EAD", "FBE", "DAA", "COD", "FBC", "ROR", "FBR", "NUL"}},
        {"TA21C", {"107"}},
        {"TA21S", {"016"}},
        {"T004", {"IT", "FR", "DE", "EX"}},
        {"T018", {"1", "2C", "2V", "2W", "3D", "3I", "4", "5"}},
        {"T020", {"00", "01", "06", "12"}},
        {"T023", {"1", "2", "3", "4", "21", "22", "23"}},
        {"TA03", {"IT014000", "IT079100"}},
    };
    for (const Need& n : needs) {
        const QStringList present = codes(dati(QString::fromLatin1(n.table) + QStringLiteral(".TAB")));
        for (const QString& c : n.codes)
            EXPECT_TRUE(present.contains(c)) << n.table << " lacks " << c.toStdString();
    }
    // Destination types: only the one-character codes of duty-suspended movements.
    EXPECT_EQ(codes(dati(QStringLiteral("T015.TAB"))), QStringList({"1", "2", "3", "4", "5", "6", "8"}));
}

TEST_F(InstalledData, WineProductCodesHaveTheirFormAndValidity)
{
    const QRegularExpression form(QStringLiteral("^W[23]00-[0-9]{8}-00-0000$"));
    const QList<TRecTabella> rows = ReadRows(dati(QStringLiteral("TA20.TAB")));
    EXPECT_EQ(rows.size(), 143); // the W200 and W300 pairs of the CN correspondence
    bool sawStill = false, sawSparkling = false;
    for (const TRecTabella& r : rows) {
        EXPECT_TRUE(form.match(r.Fld[0]).hasMatch()) << r.Fld[0].toStdString();
        EXPECT_FALSE(r.Fld[1].isEmpty());
        EXPECT_EQ(r.ValA[0], 40179.0); // 01/01/2010
        EXPECT_EQ(r.ValA[1], 54789.0); // 01/01/2050
        sawStill |= r.Fld[0].startsWith(QLatin1String("W200-2204"));
        sawSparkling |= r.Fld[0] == QLatin1String("W300-22041015-00-0000");
    }
    EXPECT_TRUE(sawStill);
    EXPECT_TRUE(sawSparkling);
}

// The descriptions a clerk reads in the packaging and wine-product listings are Italian.
TEST_F(InstalledData, PackagingAndWineProductDescriptionsAreItalian)
{
    struct Row {
        const char* table;
        const char* code;
        const char* description;
    };
    const Row rows[] = {
        {"T010", "BO", "Bottiglia, non protetta, cilindrica"},
        {"T010", "CT", "Cartone"},
        {"T010", "VL", "Rinfusa, liquido"},
        {"TA20", "W300-22041015-00-0000", "Prosecco a denominazione di origine protetta (DOP)"},
        {"TA20", "W200-22042138-00-0000",
         "Vini bianchi DOP, titolo alcolometrico volumico effettivo <= 15 % vol, prodotti in altre regioni "
         "dell'UE, in recipienti <= 2 l"},
    };
    for (const Row& r : rows) {
        TRecTabella search = blankRow();
        search.Fld[0] = QString::fromLatin1(r.code);
        PadRow(search);
        ASSERT_TRUE(FindRowByKey(t->ctx, search, QString::fromLatin1(r.table))) << r.code;
        TrimRow(t->ctx.FoundRow);
        EXPECT_EQ(t->ctx.FoundRow.Fld[1], QString::fromUtf8(r.description)) << r.code;
    }
    // No English description is left in either list.
    for (const char* table : {"T010", "TA20"})
        for (const TRecTabella& r : ReadRows(dati(QString::fromLatin1(table) + QStringLiteral(".TAB"))))
            for (const char* english : {"with a", "Bag,", "Drum,", "Bottle", "Other "})
                EXPECT_FALSE(r.Fld[1].contains(QLatin1String(english))) << table << " " << r.Fld[1].toStdString();
}

TEST_F(InstalledData, PlaceholderPictureIsInstalled)
{
    const QByteArray bmp = fileBytes(dati(QStringLiteral("DEFAULT.bmp")));
    ASSERT_GT(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_LT(bmp.size(), 102528); // within the product photo limit
    for (const char* page : {"generale", "ead", "registro"}) {
        QFile f(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(page)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page;
        EXPECT_EQ(f.read(4), QByteArray("\x89PNG"));
        EXPECT_LT(f.size(), 100 * 1024);
    }
}

TEST(DeliveredDataStart, NoMarkerFileIsLeftBehind)
{
    TestContext t;
    const QStringList written = installDeliveredData(t.ctx);
    EXPECT_TRUE(written.contains(QStringLiteral("TA03.TAB")));
    EXPECT_TRUE(written.contains(QStringLiteral("INDIRIZZI_D.STR")));
    EXPECT_FALSE(written.contains(QStringLiteral("INDIRIZZI_D.TAB")));
    EXPECT_TRUE(written.contains(QStringLiteral("DEFAULT.bmp")));
    for (const QString& f : QDir(t.ctx.DatiGenFolder).entryList(QDir::Files))
        EXPECT_FALSE(f.endsWith(QLatin1Char('$'))) << f.toStdString();
}

TEST(DeliveredDataStart, ASecondStartNeverTouchesExistingFiles)
{
    TestContext t;
    const QString start = t.path(QStringLiteral("start")), temp = t.path(QStringLiteral("temp"));
    runStartup(t.ctx, start, temp);
    const QString t015 = t.ctx.datiGen(QStringLiteral("T015.TAB"));
    const QString t004 = t.ctx.datiGen(QStringLiteral("T004.TAB"));
    const QString t010s = t.ctx.datiGen(QStringLiteral("T010.STR"));
    const QString praz = t.ctx.datiGen(QStringLiteral("PRAZ.STR"));
    const QString bmp = t.ctx.datiGen(QStringLiteral("DEFAULT.bmp"));
    const QByteArray originalT004 = fileBytes(t004), originalT010s = fileBytes(t010s);

    // The user removes a destination type and adds one of his own, retitles PRAZ, replaces the
    // picture, and two files go missing.
    ASSERT_TRUE(LookupCode(t.ctx, QStringLiteral("T015"), QStringLiteral("6")));
    ASSERT_TRUE(DeleteRow(t.ctx, t.ctx.FoundRow.Num, t015));
    t.ctx.EditRow = blankRow();
    t.ctx.EditRow.Fld[0] = QStringLiteral("7");
    t.ctx.EditRow.Fld[1] = QStringLiteral("Destinazione dell'utente");
    InsertRow(t.ctx, t015);
    TRecTabella s = *ReadStructure(t.ctx, QStringLiteral("PRAZ"));
    s.Ext[1] = padField(QStringLiteral("I miei vini"), 250);
    RecordFile(praz, TRecTabella::Size).rewriteSingle(encodeRow(s));
    {
        QFile f(bmp);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("my own picture");
    }
    const QByteArray userT015 = fileBytes(t015), userPraz = fileBytes(praz);
    removeFile(t004);
    removeFile(t010s);

    runStartup(t.ctx, start, temp);

    EXPECT_EQ(fileBytes(t015), userT015);
    EXPECT_EQ(codes(t015), QStringList({"1", "2", "3", "4", "5", "7", "8"}));
    EXPECT_EQ(fileBytes(praz), userPraz);
    EXPECT_EQ(fileBytes(bmp), QByteArray("my own picture"));
    EXPECT_EQ(fileBytes(t004), originalT004);   // missing files come back as delivered
    EXPECT_EQ(fileBytes(t010s), originalT010s);
}

TEST(DeliveredDataStart, AnEmptiedTableStaysEmpty)
{
    TestContext t;
    const QString tab = t.ctx.datiGen(QStringLiteral("T027.TAB"));
    RecordFile(tab, TRecTabella::Size).clear();
    installDeliveredData(t.ctx);
    EXPECT_EQ(QFileInfo(tab).size(), 0);
    EXPECT_EQ(QFileInfo(t.ctx.datiGen(QStringLiteral("T027.STR"))).size(), 5304);
}

TEST(DeliveredDataStart, AnUnwritableDataFolderIsReported)
{
    TestContext t;
    // A data folder below a plain file cannot hold anything.
    const QString file = t.path(QStringLiteral("plain"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    t.ctx.DatiGenFolder = file + QStringLiteral("/DATI_GEN");
    EXPECT_THROW(installDeliveredData(t.ctx), IoError);
}

// Parsing of the definitions and rows.

TEST(DeliveredDataParse, StructureDefinition)
{
    const QString text = QStringLiteral("# comment\n"
                                        "name=XY1\n"
                                        "title=Titolo è\n"
                                        "search=2\n"
                                        "columns=A;B\n"
                                        "field0=3;Codice\n"
                                        "field1 = 20 ; Descrizione\n"
                                        "field9=1;Ultimo\n");
    TRecTabella s = parseStructureDefinition(text, QStringLiteral("XY1.str.txt"));
    EXPECT_EQ(s.Ext[0].size(), 250); // stored form
    TrimRow(s);
    EXPECT_EQ(s.Num, 2);
    EXPECT_EQ(s.Ext[0], QStringLiteral("XY1"));
    EXPECT_EQ(s.Ext[1], QStringLiteral("Titolo è"));
    EXPECT_EQ(s.Ext[2], QStringLiteral("A;B;"));
    EXPECT_EQ(s.Dim[0], 3);
    EXPECT_EQ(s.Fld[1], QStringLiteral("Descrizione"));
    EXPECT_EQ(s.Dim[1], 20);
    EXPECT_EQ(s.Dim[9], 1);
    EXPECT_EQ(s.Dim[5], 0);
    EXPECT_FALSE(parseValidity(text, QStringLiteral("XY1")));
}

TEST(DeliveredDataParse, MalformedDefinitionsAreRefused)
{
    const char* bad[] = {
        "name=A\nsearch=1\n",                           // no field 0
        "name=A\nsearch=1\nfield0=0;Codice\n",          // size 0
        "name=A\nsearch=1\nfield0=251;Codice\n",        // larger than a field
        "name=A\nsearch=1\nfield0=3\n",                 // no label
        "name=A\nsearch=x\nfield0=3;Codice\n",          // search not a number
        "name=A\nsearch=1\nfield0=3;Codice\ncolour=1\n", // unknown key
        "name=A\nsearch=1\nfield0=3;Codice\nvalid_from=31/02/2010\n",
        "name=A\nsearch=1\nfield0=3;Codice\njust a line\n",
    };
    for (const char* text : bad)
        EXPECT_THROW(parseStructureDefinition(QString::fromUtf8(text), QStringLiteral("A")), IoError) << text;
    EXPECT_THROW(parseValidity(QStringLiteral("valid_from=01/01/2050\nvalid_to=01/01/2010\n"), QStringLiteral("A")),
                 IoError);
}

TEST(DeliveredDataParse, ImportRowsFollowTheImportRules)
{
    const TRecTabella s = parseStructureDefinition(
        QStringLiteral("name=XY\nsearch=1\nfield0=3;C\nfield1=10;D\nfield2=1;F1\nfield3=1;F2\n"), QStringLiteral("XY"));
    const QString csv = QStringLiteral("ABC;descrizione lunga;X;\r\n"
                                       "\n"
                                       " SKIPPED;line starting with a space\n"
                                       "LONGCODE;d\xE8 \u20AC \u0151;N;S;extra;fields\n" // è and € fit, ő does not
                                       "Z\n");
    const QList<TRecTabella> rows = parseImportRows(csv, s);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].Fld[0], QStringLiteral("ABC"));
    EXPECT_EQ(rows[0].Fld[1], QStringLiteral("descrizion")); // cut to 10
    EXPECT_EQ(rows[0].Fld[2], QStringLiteral("S"));
    EXPECT_EQ(rows[0].Fld[3], QStringLiteral("N"));
    EXPECT_EQ(rows[0].Ext[0], QStringLiteral("XY"));
    EXPECT_EQ(rows[0].Num, 0);
    EXPECT_EQ(rows[1].Fld[0], QStringLiteral("LON"));
    EXPECT_EQ(rows[1].Fld[1], QStringLiteral("d\xE8 \u20AC ?"));
    EXPECT_EQ(rows[1].Fld[4], QString()); // no field 4 in this table
    EXPECT_EQ(rows[2].Fld[0], QStringLiteral("Z"));
    EXPECT_EQ(rows[2].Fld[1], QString());
    EXPECT_EQ(rows[2].Fld[2], QStringLiteral("N"));
}

TEST(DeliveredDataParse, TableRecordsAreNumberedInDeliveredOrderAndSortedByCode)
{
    DeliveredTable t;
    t.name = QStringLiteral("XY");
    t.hasRows = true;
    for (const char* code : {"B", "A", "B", "a", "10", "9"}) {
        TRecTabella r = blankRow();
        TrimRow(r);
        r.Fld[0] = QString::fromLatin1(code);
        r.Fld[1] = QStringLiteral("row %1").arg(t.rows.size() + 1);
        t.rows.append(r);
    }
    QStringList order;
    for (const QByteArray& rec : tableFileRecords(t)) {
        TRecTabella r = decodeRow(rec);
        TrimRow(r);
        order << r.Fld[0] + QLatin1Char('/') + QString::number(r.Num);
    }
    // Byte order of the padded codes; equal codes keep their delivered order.
    EXPECT_EQ(order, QStringList({"10/5", "9/6", "A/2", "B/1", "B/3", "a/4"}));
}

} // namespace
} // namespace vt
