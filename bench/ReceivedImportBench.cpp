// Importing received e-AD documents (1,000 files of 10 lines each) into XML.DAT / XML.ITE,
// against Qt's QXmlStreamReader merely reading the same files as the yardstick.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "BenchServices.h"
#include "foundation/AppContext.h"
#include "messages/receipt/ReceivedImport.h"

namespace {

using vtbench::FixedDay;
using vtbench::NoDialogs;
using vtbench::NoShell;
using vtbench::Quiet;


QByteArray document(int n)
{
    QByteArray x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ie:IE801 xmlns:ie=\"urn:ie801\"><ie:Body><ie:EADESADContainer>\n";
    x += "<ie:ConsigneeTrader><ie:Traderid>IT00ABC00123X</ie:Traderid><ie:TraderName>Cantina Rossi</ie:TraderName>"
         "<ie:City>Verona</ie:City></ie:ConsigneeTrader>\n";
    x += "<ie:ExciseMovement><ie:AdministrativeReferenceCode>26FRA" + QByteArray::number(n).rightJustified(14, '0')
         + "A1</ie:AdministrativeReferenceCode><ie:DateAndTimeOfValidationOfEad>2026-12-01T10:15:00"
           "</ie:DateAndTimeOfValidationOfEad></ie:ExciseMovement>\n";
    x += "<ie:ConsignorTrader><ie:TraderExciseNumber>FR0AB1234567E</ie:TraderExciseNumber><ie:TraderName>Chateau "
         "Lafleur</ie:TraderName><ie:StreetName>Route des Vignes</ie:StreetName><ie:StreetNumber>12</ie:StreetNumber>"
         "<ie:Postcode>33500</ie:Postcode><ie:City>Pomerol</ie:City></ie:ConsignorTrader>\n";
    x += "<ie:EadEsad><ie:LocalReferenceNumber>LRN-1</ie:LocalReferenceNumber><ie:SequenceNumber>1</ie:SequenceNumber>"
         "</ie:EadEsad>\n";
    for (int l = 1; l <= 10; ++l)
        x += "<ie:BodyEadEsad><ie:BodyRecordUniqueReference>" + QByteArray::number(l)
             + "</ie:BodyRecordUniqueReference><ie:ExciseProductCode>W200</ie:ExciseProductCode><ie:CnCode>22042138"
               "</ie:CnCode><ie:Quantity>1000.000</ie:Quantity><ie:AlcoholicStrengthByVolumeInPercentage>12.50"
               "</ie:AlcoholicStrengthByVolumeInPercentage><ie:CommercialDescription>Vino rosso</ie:CommercialDescription>"
               "<ie:BrandNameOfProducts>Lafleur</ie:BrandNameOfProducts><ie:Package><ie:KindOfPackages>BO"
               "</ie:KindOfPackages><ie:NumberOfPackages>100</ie:NumberOfPackages></ie:Package></ie:BodyEadEsad>\n";
    x += "</ie:EADESADContainer></ie:Body></ie:IE801>\n";
    return x;
}

struct Folder {
    QTemporaryDir dir;
    QString download;
    QStringList files;
    Folder()
    {
        download = QDir(dir.path()).filePath(QStringLiteral("download"));
        QDir().mkpath(download);
        for (int n = 1; n <= 1000; ++n) {
            const QString path = QDir(download).filePath(QStringLiteral("26FRA%1A1.xml").arg(n, 14, 10, QLatin1Char('0')));
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(document(n));
            files << path;
        }
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void QtReaderOnly(benchmark::State& state)
{
    Folder& f = folder();
    for (auto _ : state) {
        qint64 tokens = 0;
        for (const QString& path : QDir(f.download).entryList(QDir::Files, QDir::Name)) {
            QFile file(QDir(f.download).filePath(path));
            file.open(QIODevice::ReadOnly);
            QXmlStreamReader xr(file.readAll());
            while (!xr.atEnd()) {
                xr.readNext();
                ++tokens;
            }
        }
        benchmark::DoNotOptimize(tokens);
    }
}

void ImportReceived(benchmark::State& state)
{
    Folder& f = folder();
    Quiet quiet;
    FixedDay today{QDate(2026, 12, 9)};
    NoShell shell;
    NoDialogs dialogs;
    vt::AppContext ctx(vt::Services{quiet, today, shell, dialogs});
    ctx.setFolders(QDir(f.dir.path()).filePath(QStringLiteral("start")), QDir(f.dir.path()).filePath(QStringLiteral("temp")));
    ctx.AppConfig.Fld[3] = f.download;
    for (auto _ : state) {
        const vt::ImportResult r = vt::importReceivedEads(ctx, QStringLiteral("2026"));
        if (r.imported != 1000)
            state.SkipWithError("not every document was imported");
    }
}

BENCHMARK(QtReaderOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportReceived)->Unit(benchmark::kMillisecond);

} // namespace
