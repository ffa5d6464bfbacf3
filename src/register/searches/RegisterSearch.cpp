#include "register/searches/RegisterSearch.h"

#include <algorithm>
#include <cmath>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/NumberFormat.h"
#include "foundation/Text.h"
#include "register/entry/MovementChoice.h" // flowShortName
#include "register/store/RegisterStore.h"

namespace vt {

namespace {
constexpr int CounterpartWidth = 16;

bool is(const QString& field, const char* code) { return field.trimmed() == QLatin1String(code); }

// "dd/mm/yyyy" typed in a date field: the date, and the year from characters 7
// to 10.
struct TypedDate {
    QDate date;
    int year = 0;
};
TypedDate typedDate(const QString& text) { return {dates::parseDdmmyyyy(text), text.mid(6, 4).toInt()}; }

QString day(double value) { return value < 1 ? QString() : dates::ddmmyyyy(value); }

QString number(double value, int decimals) { return FormatNumber(value, 0, qint16(decimals)).trimmed(); }

QString flowColumn(const TRecMovimento& r)
{
    const QString name = r.dataFlusso > 1000 ? flowShortName(r.dataFlusso, r.numeroFlusso) : QString();
    return name.isEmpty() ? QStringLiteral(" ") : name;
}

QString documentNumber(const TRecMovimento& r)
{
    return r.numeroDocumento.leftJustified(21, QLatin1Char(' '), true) + QLatin1Char('-') +
           QStringLiteral("%1").arg(r.progressivoEad, 2, 10, QLatin1Char('0')) + QLatin1Char('-') +
           QStringLiteral("%1").arg(r.progressivoDettaglio, 3, 10, QLatin1Char('0'));
}

bool struckOut(const SearchMode& mode, const TRecMovimento& r)
{
    if (is(r.stato, "C") || is(r.operazione, "C"))
        return true;
    return !mode.guarantees && is(r.operazione, "D");
}

// Positions: x in units of the body font's "E" from the left edge of the table,
// y in its line heights from the top of the page.
struct Grid {
    PageSurface& s;
    double left = 0, e = 1, lh = 1;
    int x(double ex) const { return int(std::lround(left + ex * e)); }
    int y(double lines) const { return int(std::lround(lines * lh)); }
};

const PageFont bodyFont(int size, bool strike = false)
{
    PageFont f;
    f.name = QStringLiteral("TIMES NEW ROMAN");
    f.pointSize = size;
    f.strikeOut = strike;
    return f;
}
} // namespace

std::optional<SearchMode> searchModeOf(QChar op)
{
    static const QList<SearchMode> modes{
        {QLatin1Char('C'), QStringLiteral("Ricerca nei carichi"), false, false, QLatin1Char('C')},
        {QLatin1Char('S'), QStringLiteral("Ricerca negli scarichi"), false, false, QLatin1Char('S')},
        {QLatin1Char('A'), QStringLiteral("Ricerca nelle dichiarazioni di conclusione"), false, false,
         QLatin1Char('A')},
        {QLatin1Char('D'), QStringLiteral("Ricerca cambi di destinazione"), false, false, QLatin1Char('D')},
        {QLatin1Char('c'), QStringLiteral("Ricerca carichi inviati"), false, true, QLatin1Char('C')},
        {QLatin1Char('s'), QStringLiteral("Ricerca scarichi inviati"), false, true, QLatin1Char('S')},
        {QLatin1Char('a'), QStringLiteral("Ricerca dichiarazioni di conclusione inviate"), false, true,
         QLatin1Char('A')},
        {QLatin1Char('d'), QStringLiteral("Ricerca cambi di destinazione inviati"), false, true, QLatin1Char('D')},
        {QLatin1Char('G'), QStringLiteral("Ricerca nel registro delle garanzie"), true, false, QLatin1Char('G')},
        {QLatin1Char('g'), QStringLiteral("Ricerca garanzie inviate"), true, true, QLatin1Char('G')},
    };
    for (const SearchMode& m : modes)
        if (m.op == op)
            return m;
    return std::nullopt;
}

CheckResult checkRegisterSearch(const QString& fromText, const QString& toText, const QString& counterpart,
                                RegisterSearch& out)
{
    const TypedDate from = typedDate(fromText);
    if (!from.date.isValid())
        return CheckResult::quiet(QStringLiteral("LA DATA INIZIALE NON E' VALIDA"), QStringLiteral("MDADA"));
    if (from.year < 2000 || from.year > 2100)
        return CheckResult::quiet(QStringLiteral("L'ANNO DEVE ESSERE TRA IL 2000 E IL 2100"), QStringLiteral("MDADA"));
    const TypedDate to = typedDate(toText);
    if (!to.date.isValid())
        return CheckResult::quiet(QStringLiteral("LA DATA FINALE NON E' VALIDA"), QStringLiteral("MDAAL"));
    if (to.year < 2000 || to.year > 2100)
        return CheckResult::quiet(QStringLiteral("L'ANNO DEVE ESSERE TRA IL 2000 E IL 2100"), QStringLiteral("MDAAL"));
    if (to.date < from.date)
        return CheckResult::quiet(QStringLiteral("LA DATA FINALE E' ANTERIORE ALLA DATA INIZIALE"),
                                  QStringLiteral("MDAAL"));
    out.from = from.date;
    out.to = to.date;
    out.counterpart = counterpart.left(CounterpartWidth).leftJustified(CounterpartWidth, QLatin1Char(' '));
    return CheckResult::pass();
}

bool searchSelects(const SearchMode& mode, const TRecMovimento& r, const QString& counterpart)
{
    if (mode.guarantees)
        return true;
    bool kind = false;
    switch (mode.kind.toLatin1()) {
    case 'C': kind = is(r.tipoMovimento, "C"); break;
    case 'S': kind = is(r.tipoMovimento, "S"); break;
    case 'A':
        kind = (is(r.tipoMovimento, "A") && r.tipoDocumento == QLatin1String("ROR")) || is(r.operazione, "A") ||
               is(r.operazione, "D");
        break;
    case 'D': kind = is(r.tipoMovimento, "A") && r.tipoDocumento == QLatin1String("COD"); break;
    default: break;
    }
    if (!kind)
        return false;
    // A blank filter (its first character below "!") keeps every counterpart.
    if (counterpart.isEmpty() || counterpart.at(0) < QLatin1Char('!'))
        return true;
    return r.controparte.leftJustified(CounterpartWidth, QLatin1Char(' '), true) ==
           counterpart.leftJustified(CounterpartWidth, QLatin1Char(' '), true);
}

QList<TRecMovimento> searchRegister(const AppContext& ctx, const SearchMode& mode, const RegisterSearch& search)
{
    QList<TRecMovimento> out;
    if (!search.from.isValid() || !search.to.isValid())
        return out;
    const double first = dates::fromDate(search.from);
    const double last = dates::fromDate(search.to);
    // A flow of January may carry the records of December: the sent modes read
    // the year before.
    const int firstYear = search.from.year() - (mode.byFlowDate ? 1 : 0);
    for (int year = firstYear; year <= search.to.year(); ++year) {
        const QString path =
            mode.guarantees ? registerfiles::guarantees(ctx, year) : registerfiles::movements(ctx, year);
        for (const TRecMovimento& r : readRegister(path)) {
            const double compared = std::floor(mode.byFlowDate ? r.dataFlusso : r.data);
            if (compared < first || compared > last)
                continue;
            if (searchSelects(mode, r, search.counterpart))
                out << r;
        }
    }
    return out;
}

QString searchTitle(const SearchMode& mode, const RegisterSearch& search)
{
    QString t = mode.title + QStringLiteral(" dal ") + search.from.toString(QStringLiteral("dd/MM/yyyy")) +
                QStringLiteral(" al ") + search.to.toString(QStringLiteral("dd/MM/yyyy"));
    if (!mode.guarantees)
        t += QStringLiteral(" - ") + search.counterpart.trimmed();
    return t;
}

QString searchAddressBook(const SearchMode& mode)
{
    return mode.loads() ? QStringLiteral("INDIRIZZI_F") : QStringLiteral("INDIRIZZI_D");
}

namespace {

void movementHeading(const Grid& g, const SearchMode& mode, double bottom)
{
    PageSurface& s = g.s;
    s.line(g.x(0), g.y(5), g.x(149), g.y(5));
    s.line(g.x(31), g.y(6), g.x(131), g.y(6));
    s.line(g.x(0), g.y(8), g.x(149), g.y(8));
    const int end = int(std::lround(bottom));
    for (double c : {0.0, 4.0, 13.0, 31.0, 81.0, 100.0, 115.5, 131.0, 135.0, 142.0, 149.0})
        s.line(g.x(c), g.y(5), g.x(c), end);
    for (double c : {35.0, 44.0, 72.0, 84.0, 102.5, 109.5, 126.5})
        s.line(g.x(c), g.y(6), g.x(c), end);

    s.setFont(bodyFont(6));
    struct H {
        double x;
        const char* text;
    };
    const bool conclusions = mode.kind == QLatin1Char('A');
    const H line1[]{{2, "Nr."},
                    {8.5, "Data"},
                    {56, "Documenti d'accompagnamento delle movimentazioni"},
                    {90.5, "Movimentazioni"},
                    {106.5, "Stoccaggio"},
                    {123.5, "Quantità"}};
    const H line2[]{{2, "Op."},
                    {8.5, conclusions ? "validazione" : "Operazione"},
                    {22, "Codice prodotto"},
                    {33, "Tipo"},
                    {39.5, "Data di"},
                    {58, "Numero identificativo"},
                    {76.5, "Data nota"},
                    {82.5, mode.loads() ? "Prov." : "Dest."},
                    {92, mode.loads() ? "Mittente" : "Destinatario"},
                    {101.5, "Tipo"},
                    {106, "Volume"},
                    {112, "Numero"},
                    {121, "Litri idrati"},
                    {128.5, "Grado"},
                    {133, "Cau-"},
                    {138.5, "Garanzia"},
                    {146, "Nome"}};
    const H line3[]{{39.5, "emissione"}, {76.5, "di ricezione"}, {133, "sale"}, {146, "flusso"}};
    for (const H& h : line1)
        s.textCentredOnLine(g.x(h.x), g.y(5.8), QString::fromUtf8(h.text));
    for (const H& h : line2)
        s.textCentredOnLine(g.x(h.x), g.y(7), QString::fromUtf8(h.text));
    for (const H& h : line3)
        s.textCentredOnLine(g.x(h.x), g.y(7.8), QString::fromUtf8(h.text));
}

void movementRow(const Grid& g, const SearchMode& mode, const TRecMovimento& r, int y)
{
    PageSurface& s = g.s;
    if (r.progressivo >= 1)
        s.textCentredOnLine(g.x(2), y, QString::number(r.progressivo));
    s.textCentredOnLine(g.x(8.5), y, day(r.data));
    s.textCentredOnLine(g.x(22), y, r.codiceProdotto);
    s.textCentredOnLine(g.x(33), y, r.tipoDocumento.trimmed());
    s.textCentredOnLine(g.x(39.5), y, day(r.dataDocumento));
    s.textCentredOnLine(g.x(58), y, documentNumber(r));
    const bool linkedDate = mode.kind == QLatin1Char('D') || mode.kind == QLatin1Char('S');
    if (linkedDate && r.dataCollegata > dates::fromDate(QDate(2000, 1, 1)))
        s.textCentredOnLine(g.x(76.5), y, day(r.dataCollegata));
    s.textCentredOnLine(g.x(82.5), y, r.paese.trimmed());
    s.textCentredOnLine(g.x(92), y, r.controparte.trimmed());
    if (!is(r.operazione, "A") && !is(r.operazione, "D")) {
        s.textOnLine(g.x(100.5), y, r.stoccaggio.trimmed());
        s.textRightOnLine(g.x(108.5), y, number(r.volumeConfezione, 3));
        s.textRightOnLine(g.x(114.5), y, QString::number(r.confezioni));
        s.textRightOnLine(g.x(126.5), y, number(r.litri, 5));
        double grado = r.grado;
        RoundTo(grado, 5);
        s.textRightOnLine(g.x(130.5), y, number(grado, 0));
        s.textCentredOnLine(g.x(133), y, r.causale.trimmed());
    }
    s.textRightOnLine(g.x(141.5), y, number(r.garanzia, 2));
    s.textOnLine(g.x(142.5), y, flowColumn(r));
}

void guaranteeHeading(const Grid& g, double bottom)
{
    PageSurface& s = g.s;
    s.line(g.x(0), g.y(5), g.x(80), g.y(5));
    s.line(g.x(0), g.y(6.1), g.x(80), g.y(6.1));
    const int end = int(std::lround(bottom));
    for (double c : {0.0, 10.0, 22.0, 34.0, 46.0, 58.0, 70.0, 80.0})
        s.line(g.x(c), g.y(5), g.x(c), end);
    s.setFont(bodyFont(10));
    const std::pair<double, const char*> heads[]{
        {5, "Data"},         {16, "Impegnata"}, {28, "Svincolata"}, {40, "Nuove cauzioni"}, {52, "Cauzioni scadute"},
        {64, "Disponibile"}, {75, "Flusso"}};
    for (const auto& [x, text] : heads)
        s.textCentredOnLine(g.x(x), g.y(5.8), QString::fromUtf8(text));
}

void guaranteeRow(const Grid& g, const TRecMovimento& r, int y)
{
    PageSurface& s = g.s;
    s.textCentredOnLine(g.x(4.5), y, day(r.data));
    s.textRightOnLine(g.x(20.5), y, number(r.impegnato(), 2));
    s.textRightOnLine(g.x(32.5), y, number(r.svincolato(), 2));
    s.textRightOnLine(g.x(44.5), y, number(r.nuovaCauzione(), 2));
    s.textRightOnLine(g.x(56.5), y, number(r.riscattata(), 2));
    s.textRightOnLine(g.x(68.5), y, number(r.disponibile(), 2));
    s.textOnLine(g.x(71.5), y, flowColumn(r));
}

} // namespace

void PrintRegisterSearch(PageSurface& s, const SearchMode& mode, const RegisterSearch& search,
                         const QList<TRecMovimento>& records)
{
    s.begin(PageOrientation::Landscape);
    const int body = mode.guarantees ? 10 : 8;
    s.setFont(bodyFont(body));
    Grid g{s};
    g.e = s.textWidth(QStringLiteral("E"));
    g.lh = std::max(1, s.textHeight(QStringLiteral("E")));
    const double width = mode.guarantees ? 80 : 149;
    g.left = s.pageWidth() / 2.0 - width * g.e / 2.0;
    s.setPenWidth(std::max(1, int(g.lh) / 16));

    const double start = mode.guarantees ? 6 : 8;
    const double headingBottom = mode.guarantees ? 6.1 : 8;
    const double limit = s.pageHeight() - 8 * g.lh;
    const QString title = searchTitle(mode, search);
    double line = start * g.lh;
    double lastRule = headingBottom * g.lh;

    auto finishPage = [&] {
        PageFont t = bodyFont(12);
        t.bold = true;
        s.setFont(t);
        s.textCentredOnLine(s.pageWidth() / 2, 2 * s.textHeight(title), title);
        if (mode.guarantees)
            guaranteeHeading(g, lastRule);
        else
            movementHeading(g, mode, lastRule);
    };

    for (const TRecMovimento& r : records) {
        if (line > limit) {
            finishPage();
            s.newPage();
            line = start * g.lh;
            lastRule = headingBottom * g.lh;
        }
        line += g.lh;
        const int y = int(std::lround(line));
        s.setFont(bodyFont(body, struckOut(mode, r)));
        if (mode.guarantees)
            guaranteeRow(g, r, y);
        else
            movementRow(g, mode, r, y);
        lastRule = line + g.lh / 5;
        const int rule = int(std::lround(lastRule));
        s.line(g.x(0), rule, g.x(width), rule);
    }
    finishPage();
    s.end();
}

} // namespace vt
