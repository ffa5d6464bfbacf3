// The load/unload register of a year of 10,000 movements laid out whole: on the
// recording surface of the print tests (the layout alone) and into a PDF file
// (layout, font shaping and the PDF writer), against a plain read of the yearly
// file -- the floor the print cannot go below. Each reports pages per second.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "prints/LoadUnloadRegister.h"
#include "register/store/RegisterStore.h"
#include "support/RecordingSurface.h"
#include "ui/PrintText.h"

namespace {
constexpr int kYear = 10000;

vt::TRecMovimento movement(int n)
{
    vt::TRecMovimento r = vt::blankRegisterRecord();
    r.numero = n;
    r.progressivo = n;
    r.registro = QStringLiteral("C");
    r.operazione = n % 50 == 0 ? QStringLiteral("C") : QStringLiteral("I");
    r.stato = n % 50 == 49 ? QStringLiteral("C") : QStringLiteral(" ");
    r.tipoMovimento = n % 3 == 0 ? QStringLiteral("S") : QStringLiteral("C");
    r.data = vt::dates::fromDate(QDate(2027, 1, 1).addDays((n - 1) * 365 / kYear));
    r.tipoDocumento = n % 3 == 0 ? QStringLiteral("EAD") : QStringLiteral("DAA");
    r.numeroDocumento = QStringLiteral("27ITA%1").arg(n, 8, 10, QLatin1Char('0'));
    r.progressivoEad = 1;
    r.progressivoDettaglio = 1 + n % 4;
    r.codiceProdotto = QStringLiteral("W200-22042138-00-0000");
    r.paese = QStringLiteral("DE");
    r.controparte = QStringLiteral("DE00XYZ00002Y");
    r.stoccaggio = QStringLiteral("N");
    r.volumeConfezione = 0.75;
    r.confezioni = 1200;
    r.litri = 900 + n % 100;
    r.grado = 12.5;
    r.causale = QStringLiteral("V");
    r.garanzia = 1234.5;
    r.nota = QStringLiteral("movimento di prova");
    return r;
}

class Nobody : public vt::Messenger, public vt::Clock, public vt::Shell, public vt::FileDialogs {
public:
    void info(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    bool askOkCancel(const QString&) override { return true; }
    void beep() override {}
    QDate today() const override { return QDate(2027, 12, 31); }
    QDateTime now() const override { return QDateTime(today(), QTime(12, 0)); }
    bool openUrl(const QString&) override { return false; }
    bool startProgram(const QString&) override { return false; }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString openPicture(const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

struct Year {
    QTemporaryDir dir;
    Nobody nobody;
    vt::AppContext ctx{vt::Services{nobody, nobody, nobody, nobody}};
    vt::RegisterPrint print;
    Year()
    {
        ctx.setFolders(dir.filePath(QStringLiteral("start")), dir.filePath(QStringLiteral("temp")));
        QFile f(vt::registerfiles::movements(ctx, 2027));
        f.open(QIODevice::WriteOnly);
        for (int n = 1; n <= kYear; ++n)
            f.write(vt::encodeRegisterRecord(movement(n)));
        print.kind = QLatin1Char('T');
        print.from = QDate(2027, 1, 1);
        print.to = QDate(2027, 12, 31);
        print.office = QStringLiteral("UFFICIO DELLE DOGANE DI VERONA");
        print.company.DENOM1 = QStringLiteral("CANTINA ROSSI S.R.L.");
    }
};

Year& year()
{
    static Year y;
    return y;
}

void RegisterPrintPlainRead(benchmark::State& state)
{
    const QString path = vt::registerfiles::movements(year().ctx, 2027);
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QByteArray all = f.readAll();
        benchmark::DoNotOptimize(all.data());
    }
}

void RegisterPrintRecording(benchmark::State& state)
{
    Year& y = year();
    int pages = 0;
    for (auto _ : state) {
        vt::test::RecordingSurface s;
        vt::PrintLoadUnloadRegister(s, y.print, vt::registerPrintRecords(y.ctx, y.print));
        pages = s.pages;
        benchmark::DoNotOptimize(s.texts.data());
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] =
        benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// Forwards to the PDF surface and counts its pages.
class Counting : public vt::PageSurface {
public:
    explicit Counting(vt::PageSurface& s) : s_(s) {}
    int pages = 0;
    void begin(vt::PageOrientation o) override
    {
        s_.begin(o);
        pages = 1;
    }
    void newPage() override
    {
        s_.newPage();
        ++pages;
    }
    void end() override { s_.end(); }
    int pageWidth() const override { return s_.pageWidth(); }
    int pageHeight() const override { return s_.pageHeight(); }
    void setFont(const vt::PageFont& f) override { s_.setFont(f); }
    vt::PageFont font() const override { return s_.font(); }
    void setPenWidth(int w) override { s_.setPenWidth(w); }
    int textWidth(const QString& t) const override { return s_.textWidth(t); }
    int textHeight(const QString& t) const override { return s_.textHeight(t); }
    int textAscent() const override { return s_.textAscent(); }
    void text(int x, int y, const QString& t) override { s_.text(x, y, t); }
    void textCentred(int x, int y, const QString& t) override { s_.textCentred(x, y, t); }
    void textRight(int x, int y, const QString& t) override { s_.textRight(x, y, t); }
    void line(int x1, int y1, int x2, int y2) override { s_.line(x1, y1, x2, y2); }

private:
    vt::PageSurface& s_;
};

void RegisterPrintPdf(benchmark::State& state)
{
    Year& y = year();
    const QString path = y.dir.filePath(QStringLiteral("registro.pdf"));
    int pages = 0;
    for (auto _ : state) {
        vt::writePagesPdf(path, QStringLiteral("REGISTRO FISCALE"), [&](vt::PageSurface& s) {
            Counting c(s);
            vt::PrintLoadUnloadRegister(c, y.print, vt::registerPrintRecords(y.ctx, y.print));
            pages = c.pages;
        });
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] =
        benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = double(QFile(path).size()) / 1e6;
}

BENCHMARK(RegisterPrintPlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(RegisterPrintRecording)->Unit(benchmark::kMillisecond);
BENCHMARK(RegisterPrintPdf)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
