// The register drawn into a PDF file and read back with the poppler tools: its
// pages, its text and its embedded serif face.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "foundation/Dates.h"
#include "foundation/RegisterRecord.h"
#include "prints/LoadUnloadRegister.h"
#include "ui/PrintText.h"

using namespace vt;

namespace {
QString runTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

TEST(RegisterPdf, PagesTextAndEmbeddedFonts)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils not installed (scripts/bootstrap installs them)";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registro.pdf"));
    RegisterPrint print;
    print.kind = QLatin1Char('S');
    print.from = QDate(2026, 3, 1);
    print.to = QDate(2026, 3, 31);
    print.office = QStringLiteral("UFFICIO DELLE DOGANE DI VERONA - SEZIONE "
                                  "OPERATIVA TERRITORIALE DI SAN BONIFACIO");
    print.company.DENOM1 = QStringLiteral("CANTINA ROSSI S.R.L.");
    print.company.CACCI1 = QStringLiteral("IT00VRB00001A");
    QList<TRecMovimento> rows;
    for (int i = 1; i <= 60; ++i) {
        TRecMovimento r = blankRegisterRecord();
        r.progressivo = i;
        r.data = dates::fromDate(QDate(2026, 3, 2));
        r.operazione = QStringLiteral("I");
        r.tipoMovimento = QStringLiteral("S");
        r.tipoDocumento = QStringLiteral("EAD");
        r.numeroDocumento = QStringLiteral("26ITA%1").arg(i, 4, 10, QLatin1Char('0'));
        r.controparte = QStringLiteral("DE00XYZ00002Y");
        r.litri = 1000 + i;
        r.garanzia = 12.5;
        PadRegisterRecord(r);
        rows << r;
    }
    ASSERT_TRUE(writePagesPdf(path, QStringLiteral("REGISTRO FISCALE"),
                              [&](PageSurface& s) { PrintLoadUnloadRegister(s, print, rows); }));

    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("REGISTRO FISCALE")));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595"))))
        << info.toStdString();

    const QString page1 = runTool(QStringLiteral("pdftotext"),
                                  {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                   QStringLiteral("-layout"), path, QStringLiteral("-")});
    const QString page2 = runTool(QStringLiteral("pdftotext"),
                                  {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2"),
                                   QStringLiteral("-layout"), path, QStringLiteral("-")});
    for (const QString& page : {page1, page2}) {
        EXPECT_TRUE(page.contains(QStringLiteral("DEPOSITI FISCALI DI VINO")));
        EXPECT_TRUE(page.contains(QStringLiteral("REGISTRO DI SCARICO DEI MOVIMENTI DI VINO INTRACOMUNITARI")));
        EXPECT_TRUE(page.contains(QStringLiteral("CODICE ACCISA: IT00VRB00001A")));
        EXPECT_TRUE(page.contains(QStringLiteral("Numero identificativo")));
    }
    EXPECT_TRUE(page1.contains(QStringLiteral("26ITA0001")));
    EXPECT_TRUE(page1.contains(QStringLiteral("1.001,00000")));
    EXPECT_FALSE(page1.contains(QStringLiteral("26ITA0060")));
    EXPECT_TRUE(page2.contains(QStringLiteral("26ITA0060")));
    EXPECT_TRUE(page2.contains(QStringLiteral("1.060,00000")));
    EXPECT_FALSE(page2.contains(QStringLiteral("26ITA0001")));

    const QString fonts = runTool(QStringLiteral("pdffonts"), {path});
    EXPECT_TRUE(fonts.contains(QStringLiteral("Serif"))) << fonts.toStdString();
    for (const QString& line : fonts.split(QLatin1Char('\n')).mid(2))
        if (!line.trimmed().isEmpty()) { // every face embedded
            EXPECT_TRUE(line.contains(QRegularExpression(QStringLiteral("\\byes\\s+(yes|no)\\s+(yes|no)\\s+\\d+"))))
                << line.toStdString();
        }
}

TEST(RegisterPdf, AFileThatCannotBeWrittenIsTold)
{
    EXPECT_FALSE(writePagesPdf(QStringLiteral("/nonexistent-folder/x.pdf"), QStringLiteral("REGISTRO FISCALE"),
                               [](PageSurface& s) {
                                   s.begin(PageOrientation::Landscape);
                                   s.end();
                               }));
}
