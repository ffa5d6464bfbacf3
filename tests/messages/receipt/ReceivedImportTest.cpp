// Importing received e-AD documents from the download folder into XML.DAT and XML.ITE: elements by
// local name whatever the prefix, values as the element's text, untrusted files refused with a
// message naming them, already-reported e-ADs left out, files in name order.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "messages/receipt/ReceivedEadParser.h"
#include "messages/receipt/ReceivedImport.h"
#include "support/Fakes.h"
#include "support/ReceivedEadFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

// Fields of a stored record read at their byte offsets, as the layout tables give them.
QString textAt(const QByteArray& r, int offset)
{
    return QString::fromLatin1(r.mid(offset + 1, static_cast<unsigned char>(r[offset])));
}
qint32 intAt(const QByteArray& r, int offset)
{
    return codec::getI32(r, offset);
}
double doubleAt(const QByteArray& r, int offset)
{
    return codec::getF64(r, offset);
}

struct ReceivedImport : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString download;

    void SetUp() override
    {
        download = t.path("emcs/download");
        QDir().mkpath(download);
        ctx.AppConfig.Fld[3] = QDir::toNativeSeparators(download) + "\\";
    }

    void put(const QString& name, const QByteArray& bytes)
    {
        QFile f(QDir(download).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QList<QByteArray> headers() { return RecordFile(receiptfiles::xmlHeaders(ctx), TRecEad::Size).readAll(); }
    QList<QByteArray> lines() { return RecordFile(receiptfiles::xmlLines(ctx), TRecDettaglio::Size).readAll(); }
};

// One row of the table: a document and what its header must hold.
struct DocCase {
    const char* story;
    ReceivedEadDraft draft;
    QString arc, excise, name, street, number, postcode, city, lrn;
    qint32 sequence;
};

ReceivedEadDraft withPrefix(const QString& prefix)
{
    ReceivedEadDraft s;
    s.prefix = prefix;
    return s;
}

ReceivedEadDraft traderNamedCity()
{
    ReceivedEadDraft s;
    s.consignorName = QStringLiteral("Cantina City");
    s.consigneeName = QStringLiteral("TraderExciseNumber Srl");
    return s;
}

ReceivedEadDraft missingStreetNumber()
{
    ReceivedEadDraft s;
    s.consignorNumber = QString();
    s.localReference = QString();
    return s;
}

TEST_F(ReceivedImport, HeaderFieldsByLocalNameWhateverThePrefix)
{
    const QList<DocCase> cases = {
        {"prefix ie: as the customs system writes it", withPrefix("ie"), "26FRA00000000000001A1", "FR0AB1234567E",
         "Chateau Lafleur SARL", "Route des Vignes", "12", "33500", "Pomerol", "LRN-FR-2026-0001", 1},
        {"no prefix (default namespace)", withPrefix(""), "26FRA00000000000001A1", "FR0AB1234567E",
         "Chateau Lafleur SARL", "Route des Vignes", "12", "33500", "Pomerol", "LRN-FR-2026-0001", 1},
        {"another, longer prefix", withPrefix("emcs"), "26FRA00000000000001A1", "FR0AB1234567E",
         "Chateau Lafleur SARL", "Route des Vignes", "12", "33500", "Pomerol", "LRN-FR-2026-0001", 1},
        {"a trader whose name holds an element name", traderNamedCity(), "26FRA00000000000001A1", "FR0AB1234567E",
         "Cantina City", "Route des Vignes", "12", "33500", "Pomerol", "LRN-FR-2026-0001", 1},
        {"missing elements leave their fields blank", missingStreetNumber(), "26FRA00000000000001A1", "FR0AB1234567E",
         "Chateau Lafleur SARL", "Route des Vignes", "", "33500", "Pomerol", "", 1},
    };
    for (const DocCase& c : cases) {
        SCOPED_TRACE(c.story);
        const ReceivedEad doc = parseReceivedEad(receivedEadXml(c.draft));
        ASSERT_TRUE(doc.ok) << doc.problem.toStdString();
        TRecEad h = doc.header;
        eadToStoredForm(h);
        const QByteArray r = encodeEad(h);
        EXPECT_EQ(textAt(r, 78), c.arc.leftJustified(21));
        EXPECT_EQ(textAt(r, 116), c.excise.leftJustified(18));
        EXPECT_EQ(textAt(r, 135), c.name.leftJustified(100));
        EXPECT_EQ(textAt(r, 236), c.street.leftJustified(65));
        EXPECT_EQ(textAt(r, 302), c.number.leftJustified(11));
        EXPECT_EQ(textAt(r, 314), c.postcode.leftJustified(10));
        EXPECT_EQ(textAt(r, 325), c.city.leftJustified(50));
        EXPECT_EQ(textAt(r, 7), c.lrn.leftJustified(22));
        EXPECT_EQ(intAt(r, 56), c.sequence);
        EXPECT_EQ(dates::toDate(doubleAt(r, 2088)), QDate(2026, 12, 1));
        EXPECT_FALSE(doc.charactersReplaced);
    }
}

// Later versions of the message name the validation date DateAndTimeOfValidationOfEadEsad.
TEST_F(ReceivedImport, ValidationDateUnderItsLongerName)
{
    const QByteArray xml = receivedEadXml(ReceivedEadDraft{}).replace("DateAndTimeOfValidationOfEad>",
                                                                      "DateAndTimeOfValidationOfEadEsad>");
    ASSERT_TRUE(xml.contains("ie:DateAndTimeOfValidationOfEadEsad>2026-12-01"));
    const ReceivedEad doc = parseReceivedEad(xml);
    ASSERT_TRUE(doc.ok) << doc.problem.toStdString();
    EXPECT_EQ(dates::toDate(doc.header.IMGATR), QDate(2026, 12, 1));
}

// A tab or a line break inside a value would split a field of the flows: it becomes a blank.
TEST_F(ReceivedImport, LineBreaksAndTabsInsideValuesBecomeBlanks)
{
    ReceivedEadDraft s;
    s.localReference = "LRN\t2026\n0001";
    s.consignorName = "Chateau\r\nLafleur";
    const ReceivedEad doc = parseReceivedEad(receivedEadXml(s));
    ASSERT_TRUE(doc.ok) << doc.problem.toStdString();
    EXPECT_EQ(doc.header.riferimentoLocale, "LRN 2026 0001");
    EXPECT_EQ(doc.header.denominazioneSpeditore, "Chateau Lafleur"); // the document's CR LF is one line break
}

TEST_F(ReceivedImport, RefusedDocumentsNameTheirProblem)
{
    struct Bad {
        const char* story;
        QByteArray xml;
        const char* problem; // a piece of the message
    };
    ReceivedEadDraft shortArc;
    shortArc.arc = "26FRA0000000001";
    ReceivedEadDraft oddArc;
    oddArc.arc = "26FRA0000000000\t001A1";
    ReceivedEadDraft badDate;
    badDate.validation = "2026-13-45T00:00:00";
    ReceivedEadDraft badRef;
    badRef.lines = {sampleReceivedLine(1)};
    badRef.lines[0].reference = "1000";
    ReceivedEadDraft zeroRef;
    zeroRef.lines = {sampleReceivedLine(1)};
    zeroRef.lines[0].reference = "0";
    ReceivedEadDraft twice;
    twice.lines = {sampleReceivedLine(1), sampleReceivedLine(1)};
    ReceivedEadDraft noLines;
    noLines.lines.clear();
    ReceivedEadDraft negative;
    negative.lines = {sampleReceivedLine(1), sampleReceivedLine(2)};
    negative.lines[1].quantity = "-50.000";
    ReceivedEadDraft negativePackages;
    negativePackages.lines = {sampleReceivedLine(1)};
    negativePackages.lines[0].packages = "-3";
    ReceivedEadDraft badSequence;
    badSequence.sequence = "uno";
    const QByteArray good = receivedEadXml(ReceivedEadDraft{});
    QByteArray deep = "<?xml version=\"1.0\"?>\n";
    for (int i = 0; i < 100; ++i)
        deep += "<a>";
    const QList<Bad> cases = {
        {"truncated", good.left(good.size() / 2), "NON VALIDO O INCOMPLETO"},
        {"malformed", QByteArray(good).replace("</ie:City>", "</ie:Town>"), "NON VALIDO O INCOMPLETO"},
        {"ARC of 15 characters", receivedEadXml(shortArc), "ARC DI 15 CARATTERI"},
        {"ARC with a tab", receivedEadXml(oddArc), "ARC CON CARATTERI NON AMMESSI"},
        {"validation date that is no date", receivedEadXml(badDate), "DATA DI CONVALIDA"},
        {"body reference 1000", receivedEadXml(badRef), "RIFERIMENTO DI RIGA NON VALIDO"},
        {"body reference 0", receivedEadXml(zeroRef), "RIFERIMENTO DI RIGA NON VALIDO"},
        {"body reference repeated", receivedEadXml(twice), "RIPETUTO"},
        {"no body line", receivedEadXml(noLines), "NESSUNA RIGA"},
        {"sequence number that is no number", receivedEadXml(badSequence), "NUMERO PROGRESSIVO"},
        {"negative quantity", receivedEadXml(negative), "QUANTITA' NEGATIVA ALLA RIGA 2"},
        {"negative packages", receivedEadXml(negativePackages), "NUMERO DI COLLI NEGATIVO ALLA RIGA 1"},
        {"nested too deep", deep, "LIVELLI"},
        {"a DTD with an external entity",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><x>&e;</x>", "DTD"},
        {"larger than the cap", QByteArray(MaxDocumentBytes + 1, ' '), "TROPPO GRANDE"},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.story);
        const ReceivedEad doc = parseReceivedEad(c.xml);
        EXPECT_FALSE(doc.ok);
        EXPECT_TRUE(doc.problem.contains(QLatin1String(c.problem))) << doc.problem.toStdString();
        EXPECT_TRUE(doc.lines.isEmpty());
    }
}

TEST_F(ReceivedImport, CharactersOutsideTheCodePageLoseTheirAccentOrBecomeAQuestionMark)
{
    ReceivedEadDraft s;
    s.consignorName = QStringLiteral("Winiarnia Łódź Győr Åsa");       // Ł has no plain form, ő becomes o
    s.consignorCity = QStringLiteral("Θεσσαλονίκη");                   // Greek: question marks
    s.lines[0].description = QStringLiteral("Vin rouge à Château");     // held by Windows-1252: kept
    const ReceivedEad doc = parseReceivedEad(receivedEadXml(s));
    ASSERT_TRUE(doc.ok) << doc.problem.toStdString();
    EXPECT_TRUE(doc.charactersReplaced);
    EXPECT_EQ(doc.header.denominazioneSpeditore, QStringLiteral("Winiarnia ?ódz Gyor Åsa"));
    EXPECT_EQ(doc.header.cittaSpeditore, QString(11, QLatin1Char('?')));
    EXPECT_EQ(doc.lines[0].SIGIMB, QStringLiteral("Vin rouge à Château"));
}

TEST_F(ReceivedImport, BodyLinesWithTheirKeyQuantitiesAndMessageNumbers)
{
    ReceivedEadDraft one;
    one.arc = "26FRA00000000000001A1";
    one.lines = {sampleReceivedLine(1), sampleReceivedLine(2), sampleReceivedLine(3)};
    one.lines[0].quantity = "1234.500";
    one.lines[0].cadd = "B000";
    one.lines[1].packages = "0";
    ReceivedEadDraft two;
    two.arc = "26FRA00000000000002A1";
    two.lines = {sampleReceivedLine(1)};
    put("26FRA00000000000002A1.xml", receivedEadXml(two)); // written first, imported second
    put("26FRA00000000000001A1.xml", receivedEadXml(one));

    const ImportResult r = importReceivedEads(ctx, "2026");
    EXPECT_EQ(r.imported, 2);
    EXPECT_TRUE(r.messages.isEmpty());
    const QList<QByteArray> h = headers();
    ASSERT_EQ(h.size(), 2);
    EXPECT_EQ(intAt(h[0], 0), 1);
    EXPECT_EQ(textAt(h[0], 78), "26FRA00000000000001A1");
    EXPECT_EQ(intAt(h[1], 0), 2);
    EXPECT_EQ(textAt(h[1], 78), "26FRA00000000000002A1");
    EXPECT_EQ(textAt(h[0], 76), " ");
    EXPECT_EQ(doubleAt(h[0], 64), 0.0);
    EXPECT_EQ(intAt(h[0], 72), 0);

    const QList<QByteArray> l = lines();
    ASSERT_EQ(l.size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(intAt(l[i], 0), 1);
        EXPECT_EQ(intAt(l[i], 4), 1);
        EXPECT_EQ(intAt(l[i], 8), i + 1);
    }
    EXPECT_EQ(intAt(l[3], 0), 2);
    EXPECT_EQ(doubleAt(l[0], 2088), 1234.5);
    EXPECT_EQ(doubleAt(l[0], 2096), 12.5);
    EXPECT_EQ(intAt(l[0], 2064), 10);
    EXPECT_EQ(intAt(l[1], 2064), 0);
    EXPECT_EQ(textAt(l[0], 23), "W200");
    EXPECT_EQ(textAt(l[0], 28), "B000");
    EXPECT_EQ(textAt(l[1], 28), "    ");
    EXPECT_EQ(textAt(l[0], 47), "22042138");
    EXPECT_EQ(textAt(l[0], 14), "  ");
    EXPECT_EQ(textAt(l[0], 558), QStringLiteral("W200-22042138-  -B000").leftJustified(250));
    EXPECT_EQ(textAt(l[1], 558), QStringLiteral("W200-22042138-  -    ").leftJustified(250));
    EXPECT_EQ(textAt(l[0], 307), QStringLiteral("Chateau Lafleur").leftJustified(250));
    EXPECT_EQ(textAt(l[0], 809), QStringLiteral("Vino rosso riga 1").leftJustified(250));
}

TEST_F(ReceivedImport, FolderRulesYearDeclarationAlreadyReportedAndBadFiles)
{
    ReceivedEadDraft a;
    a.arc = "26FRA00000000000001A1";
    ReceivedEadDraft b;
    b.arc = "26FRA00000000000002A1";
    ReceivedEadDraft renamed;  // already reported under its own ARC, in a file named otherwise
    renamed.arc = "26FRA00000000000003A1";
    ReceivedEadDraft noDecl;
    noDecl.arc = "26FRA00000000000004A1";
    noDecl.declaration = false;
    ReceivedEadDraft lastYear;
    lastYear.arc = "25FRA00000000000009A1";
    put("26FRA00000000000001A1.xml", receivedEadXml(a));
    put("26FRA00000000000002A1.xml", receivedEadXml(b));
    put("26_copia_scaricata.xml", receivedEadXml(renamed));
    put("26FRA00000000000004A1.xml", receivedEadXml(noDecl));
    put("25FRA00000000000009A1.xml", receivedEadXml(lastYear));
    put("26ZZ_rotto.xml", "<?xml version=\"1.0\"?>\n<ie:IE801 xmlns:ie=\"x\"><ie:Body>");

    // Reports of receipt already stored for the second and third e-AD.
    for (const QString& arc : {QStringLiteral("26FRA00000000000002A1"), QStringLiteral("26FRA00000000000003A1")}) {
        TRecEad j = blankEad();
        j.progressivo = arc.endsWith("2A1") ? 1 : 2;
        j.ARC = arc;
        RecordFile(receiptfiles::reports(ctx, "2026"), TRecEad::Size).append(encodeEad(j));
    }

    const ImportResult r = importReceivedEads(ctx, "2026");
    EXPECT_EQ(r.imported, 1);
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].contains("26ZZ_rotto.xml")) << r.messages[0].toStdString();
    const QList<QByteArray> h = headers();
    ASSERT_EQ(h.size(), 1);
    EXPECT_EQ(textAt(h[0], 78), "26FRA00000000000001A1");
}

// A document addressed to another consignee is imported, with a message naming file and consignee.
TEST_F(ReceivedImport, DocumentForAnotherConsigneeIsSaid)
{
    ctx.CompanyRecord.CACCI1 = "IT00ABC00123X";
    ReceivedEadDraft ours;
    ReceivedEadDraft theirs;
    theirs.arc = "26FRA00000000000002A1";
    theirs.consigneeId = "IT00MIV00555K";
    theirs.consigneeName = "Enoteca Bianchi";
    put("26FRA00000000000001A1.xml", receivedEadXml(ours));
    put("26FRA00000000000002A1.xml", receivedEadXml(theirs));
    const ImportResult r = importReceivedEads(ctx, "2026");
    EXPECT_EQ(r.imported, 2);
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith("IL FILE 26FRA00000000000002A1.xml E' DESTINATO A IT00MIV00555K "
                                         "Enoteca Bianchi, NON A IT00ABC00123X"))
        << r.messages[0].toStdString();
}

TEST_F(ReceivedImport, NothingToImportLeavesEmptyScratchFilesAndCreatesTheStore)
{
    // A download folder that is not there is said, not taken for an empty one.
    const QString configured = ctx.AppConfig.Fld[3];
    ctx.AppConfig.Fld[3] = t.path("emcs/nowhere/");
    try {
        importReceivedEads(ctx, "2026");
        ADD_FAILURE() << "a missing folder was taken for an empty one";
    } catch (const IoError& e) {
        EXPECT_TRUE(e.text().contains("NON ESISTE")) << e.text().toStdString();
    }
    ctx.AppConfig.Fld[3] = configured;

    const ImportResult r = importReceivedEads(ctx, "2026");
    EXPECT_EQ(r.imported, 0);
    EXPECT_TRUE(QFile::exists(receiptfiles::reports(ctx, "2026")));
    EXPECT_TRUE(QFile::exists(receiptfiles::xmlHeaders(ctx)));
    EXPECT_TRUE(headers().isEmpty());
    EXPECT_TRUE(lines().isEmpty());
}

} // namespace
