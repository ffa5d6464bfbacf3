#include <gtest/gtest.h>

#include <QFile>

#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

QString sp(int n)
{
    return QString(n, QLatin1Char(' '));
}

QStringList section(const QStringList& lines, const QString& heading)
{
    const qsizetype at = lines.indexOf(heading);
    if (at < 0)
        return {QStringLiteral("<no heading>")};
    qsizetype end = at + 1;
    while (end < lines.size() && !lines[end].startsWith(QStringLiteral("-----")))
        ++end;
    return lines.mid(at + 1, end - at - 1);
}

const QString kTransportHeading = QStringLiteral("---------------------------- DETTAGLI DEL TRASPORTO -----------------------");
const QString kProductHeading = QStringLiteral("---------------------------- PRODOTTI DEL DAA ----------------------------");
const QString kGuaranteeHeading = QStringLiteral("----------------------------- GARANTI ACCISE -----------------------------");

} // namespace

TEST(Summary, GeneralNumberFormat)
{
    const std::vector<std::pair<double, const char*>> cases = {
        {12.5, "12,5"},        {750, "750"},         {0.75, "0,75"},
        {0, "0"},              {-3.25, "-3,25"},     {1234567.125, "1234567,125"},
        {0.1 + 0.2, "0,3"},    {90.0, "90"},         {40.0 / 3.0, "13,3333333333333"},
        {0.001, "0,001"},      {1e15, "1E15"},       {0.000001, "1E-6"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(generalNumber(value), QString::fromUtf8(text)) << value;
}

// The lifecycle writer works on the stored header: padded values, and the cut rules keep the
// columns where they belong.
TEST(Summary, StoredEadWithoutTransportCompanyWrittenLineByLine)
{
    TestContext t;
    t.ctx.CompanyRecord.CACCI1 = QStringLiteral("IT00FIT00012S");
    TRecEad saved = saveSampleEad(t.ctx, 1, 1);
    TRecEad h;
    ASSERT_TRUE(loadEad(t.ctx, "2026", saved.progressivo, h));

    const QStringList expected = {
        "   Tipo Messaggio: 1 - Fattura n. FT/125" + sp(29) + " del 09/12/2026",
        "Tipo Destinatario: 1   - Ufficio Doganale Competente: IT066100",
        "------------------------------ DESTINATARIO ------------------------------",
        "   Identificativo: DE00123456789" + sp(5),
        QStringLiteral("    Denominazione: WEINHAUS MÜLLER GMBH") + sp(80),
        "        Indirizzo: HAUPTSTRASSE - n. 12" + sp(9),
        QStringLiteral("         Località: MÜNCHEN - CAP 80331") + sp(5),
        "           Lingua: de",
        "--------------------------- DATI DEL TRASPORTO ---------------------------",
        "     Responsabile: 1",
        QStringLiteral("         Modalità: 3   - Nota: ") + sp(100),
        "           Durata: GIORNI: 2",
        "Inizio Spedizione: 09/12/2026 - alle ore 23:00 - Invio differito ? N",
        kTransportHeading,
        " Dettaglio Numero: 1 ------------ ",
        "Id. Comm. Sigilli: SIGILLO 1",
        "Infor. su Sigilli: SIGILLI INTEGRI 1",
        QStringLiteral("  Unità Trasporto: 1 - Identificativo: AB121 CD"),
        "  Altre Informaz.: NOTA TRASPORTO 1",
        kProductHeading,
        " Dettaglio Numero: 1 ------------ ",
        " Codice Aziendale: PRAZ01 - CHIANTI CLASSICO 1",
        "  Codice Prodotto: W200-22042138-00-0000 - Categ. Vino: 1 - Zona Coltivazione: C01 ",
        " Trattamenti Vino: 1",
        "   N. Contenitori: 120 - Volume Unitario: 0,75",
        "     Totale Litri: 90 - Grado Alcolico: 13,5",
        "       Peso Netto: 90 - Peso Lordo: 150",
        " Tipo Imballaggio: CT - Numero Imballaggi: 20",
        "Id. Comm. Sigilli: ",
        "Infor. su Sigilli: ",
        "         * ",
        kGuaranteeHeading,
        "     Tipo Garante: 1   ",
        " Conto Gar. Sped.: GAR00012345" + sp(6) + " - C - Garanzia: 125,5",
    };
    const QStringList lines = writeEadSummary(t.ctx, h);
    ASSERT_EQ(lines.size(), expected.size()) << lines.join('\n').toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;

    // The file: Windows-1252, CR LF after every line.
    QFile f(eadSummaryPath(t.ctx));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("   Tipo Messaggio: 1 - Fattura n. FT/125"));
    EXPECT_TRUE(bytes.contains("\r\n         Localit\xE0: M\xDCNCHEN - CAP 80331     \r\n"));
    EXPECT_TRUE(bytes.endsWith(" - C - Garanzia: 125,5\r\n"));
    EXPECT_EQ(readTextFile(eadSummaryPath(t.ctx)).split("\r\n").first(), expected.first());
}

TEST(Summary, HeadingsOfTransportAndProductsStayWithoutLinesOrWorkFiles)
{
    TestContext t;
    TRecEad h = sampleEadHeader();
    h.DENDES.clear();
    const QStringList lines = writeEadSummary(t.ctx, h); // the work files do not exist
    const qsizetype at = lines.indexOf(kTransportHeading);
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines[at + 1], kProductHeading);
    EXPECT_EQ(lines[at + 2], kGuaranteeHeading);
    EXPECT_FALSE(lines.contains("------------------------------ DESTINATARIO ------------------------------"));
    EXPECT_EQ(lines[2], "--------------------------- DATI DEL TRASPORTO ---------------------------");
}

TEST(Summary, ProductWithoutContainersOrPackagesAndWithCountryOfImport)
{
    TRecDettaglio p = sampleProductLine(1);
    p.NUMCON = 0;
    p.VOLCON = 0;
    p.NUMIMB = 0;
    p.CODIMB = QStringLiteral("VA");
    p.paeseImportazione = QStringLiteral("FR");
    p.trattamenti.clear();
    p.TOTLIT = 1234.5;
    p.GRADOA = 12;
    p.PNETTO = 1250.25;
    p.PLORDO = 1300;
    lineToStoredForm(p);
    const QStringList lines = eadSummaryLines(sampleEadHeader(), {}, {p}, {});
    EXPECT_EQ(section(lines, kProductHeading),
              (QStringList{
                  " Dettaglio Numero: 1 ------------ ",
                  " Codice Aziendale: PRAZ01 - CHIANTI CLASSICO 1",
                  "  Codice Prodotto: W200-22042138-00-0000 - Categ. Vino: 1 - Zona Coltivazione: C01 - Paese "
                  "Importazione: FR",
                  "     Totale Litri: 1234,5 - Grado Alcolico: 12",
                  "       Peso Netto: 1250,25 - Peso Lordo: 1300",
                  " Tipo Imballaggio: VA ",
                  "Id. Comm. Sigilli: ",
                  "Infor. su Sigilli: ",
                  "         * ",
              }));
}

TEST(Summary, TransportCompanyBlockWhenPresent)
{
    TRecEad h = sampleEadHeader();
    h.RESTRA = QStringLiteral("3");
    h.PIAZTR = QStringLiteral("01234567890");
    h.DENAZT = QStringLiteral("TRASPORTI ROSSI SPA");
    h.INDAZT = QStringLiteral("VIA ROMA");
    h.NUCAZT = QStringLiteral("1");
    h.CITAZT = QStringLiteral("FIRENZE");
    h.CAPAZT = QStringLiteral("50100");
    h.LINAZT = QStringLiteral("it");
    const QStringList lines = eadSummaryLines(h, {}, {}, blocksFromHeader(h));
    EXPECT_EQ(section(lines, "--------------------------- AZIENDA DI TRASPORTO -------------------------"),
              (QStringList{
                  "   Partita I.V.A.: 01234567890",
                  "    Denominazione: TRASPORTI ROSSI SPA",
                  "        Indirizzo: VIA ROMA - n. 1",
                  QStringLiteral("         Località: FIRENZE - CAP 50100"),
                  "           Lingua: it",
              }));
}

// The compilation window passes its visible panels; the export office line is its own.
TEST(Summary, CompilationWindowPanelsDecideTheBlocks)
{
    TRecEad h = sampleEadHeader();
    h.uffesp = QStringLiteral("IT123456");
    h.STAMEM = QStringLiteral("FR");
    h.CERESE = QStringLiteral("CERT-9");
    SummaryBlocks b;
    b.consignee = false;
    b.exportOffice = true;
    b.exemption = true;
    const QStringList lines = eadSummaryLines(h, {}, {}, b);
    EXPECT_EQ(lines.mid(2, 3), (QStringList{"   Ufficio export: IT123456", "Certif. Esenzione: CERT-9",
                                            "     Stato membro: FR"}));
    EXPECT_FALSE(blocksFromHeader(h).exportOffice);
    EXPECT_TRUE(blocksFromHeader(h).exemption);
}

TEST(Summary, GuarantorsByDigitOfTheGuarantorType)
{
    TRecEad h = sampleEadHeader();
    h.GARSPE = QStringLiteral("GAR1");
    h.TGASPE = QStringLiteral("C");
    h.IMGASP = 10;
    h.GARDES = QStringLiteral("GAR4");
    h.TGADES = QStringLiteral("E");
    h.IMGADE = 0;
    h.CATRAG = QStringLiteral("IT00TRA000001");
    h.PITRAG = QStringLiteral("01234567890");
    h.DENTRG = QStringLiteral("TRASPORTI ROSSI SPA");
    h.INDTRG = QStringLiteral("VIA ROMA");
    h.NUCTRG = QStringLiteral("1");
    h.CITTRG = QStringLiteral("FIRENZE");
    h.CAPTRG = QStringLiteral("50100");
    h.LINTRG = QStringLiteral("it");
    h.GARTRA = QStringLiteral("GAR2");
    h.TGATRA = QStringLiteral("E");
    h.IMGATR = 0.5;
    h.CAPROG = QStringLiteral("IT00OWN000003");
    h.PIPROG = QStringLiteral("09876543210");
    h.DENPRG = QStringLiteral("VINI BIANCHI SRL");
    h.INDPRG = QStringLiteral("PIAZZA GARIBALDI");
    h.NUCPRG = QStringLiteral("3B");
    h.CITPRG = QStringLiteral("SIENA");
    h.CAPPRG = QStringLiteral("53100");
    h.LINPRG = QStringLiteral("it");
    h.GARPRO = QStringLiteral("GAR3");
    h.TGAPRO = QStringLiteral("C");
    h.IMGPRO = 1500.75;

    const QStringList consignor = {" Conto Gar. Sped.: GAR1 - C - Garanzia: 10"};
    const QStringList consignee = {" Conto Gar. Dest.: GAR4 - E - Garanzia: 0"};
    const QStringList transporter = {
        "------------------------- TRASPORTATORE GARANTE --------------------------",
        "    Codice Accisa: IT00TRA000001",
        "   Partita I.V.A.: 01234567890",
        "    Denominazione: TRASPORTI ROSSI SPA",
        "        Indirizzo: VIA ROMA - n. 1",
        QStringLiteral("         Località: FIRENZE - CAP 50100"),
        "           Lingua: it",
        "   Conto Garanzia: GAR2 - E - Garanzia: 0,5",
    };
    const QStringList owner = {
        "-------------------- PROPRIETARIO DELLE MERCI GARANTE --------------------",
        "    Codice Accisa: IT00OWN000003",
        "   Partita I.V.A.: 09876543210",
        "    Denominazione: VINI BIANCHI SRL",
        "        Indirizzo: PIAZZA GARIBALDI - n. 3B",
        QStringLiteral("         Località: SIENA - CAP 53100"),
        "           Lingua: it",
        "   Conto Garanzia: GAR3 - C - Garanzia: 1500,75",
    };
    const std::vector<std::pair<QString, QStringList>> cases = {
        {"1", consignor},
        {"2", transporter},
        {"3", owner},
        {"4", consignee},
        {"12", consignor + transporter},
        // Whatever the order of the digits, the blocks come consignor, consignee, transporter, owner.
        {"4321", consignor + consignee + transporter + owner},
        {"", {}},
    };
    for (const auto& [type, blocks] : cases) {
        h.TIPGAR = type;
        const QStringList lines = eadSummaryLines(h, {}, {}, blocksFromHeader(h));
        const qsizetype at = lines.indexOf(kGuaranteeHeading);
        ASSERT_GE(at, 0);
        EXPECT_EQ(lines[at + 1], "     Tipo Garante: " + type) << type.toStdString();
        EXPECT_EQ(lines.mid(at + 2), blocks) << type.toStdString();
    }
}

TEST(Summary, CancellationSummaryLines)
{
    TestContext t;
    TRecEad c = blankEad(); // a cancellation record as stored
    c.LINGUA = QStringLiteral("it");
    c.MOTANN() = QStringLiteral("0");
    c.descrizioneMotivo() = QStringLiteral("ALTRO").leftJustified(100);
    c.NOTMOT() = QStringLiteral("MERCE NON PARTITA").leftJustified(100);
    const QStringList lines = writeCancellationSummary(t.ctx, c);
    EXPECT_EQ(lines, (QStringList{"Motivo: 0 ALTRO", "  Nota: MERCE NON PARTITA" + sp(83), "Lingua: it"}));
    QFile f(cancellationSummaryPath(t.ctx));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), ("Motivo: 0 ALTRO\r\n  Nota: MERCE NON PARTITA" + sp(83) + "\r\nLingua: it\r\n").toLatin1());
}
