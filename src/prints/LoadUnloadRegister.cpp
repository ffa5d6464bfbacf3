#include "prints/LoadUnloadRegister.h"

#include <algorithm>
#include <cmath>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/NumberFormat.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "register/store/RegisterStore.h"

namespace vt {

namespace {

bool is(const QString& field, const char* code) { return field.trimmed() == QLatin1String(code); }

PageFont times(int size, bool bold = false, bool strike = false)
{
    PageFont f;
    f.name = QStringLiteral("TIMES NEW ROMAN");
    f.pointSize = size;
    f.bold = bold;
    f.strikeOut = strike;
    return f;
}

int px(double v) { return int(std::lround(v)); }

QString day(double value) { return value < 1 ? QString() : dates::ddmmyyyy(value); }

QString number(double value, int decimals) { return FormatNumber(value, 0, qint16(decimals)).trimmed(); }

// The units of a page, measured on the 8-point font.
struct Units {
    double c8 = 1, lh8 = 1, centre = 0, x0 = 0, x1 = 0, bottom = 0;
    int x(double c) const { return px(x0 + c * c8); }
};

Units measure(PageSurface& s)
{
    s.setFont(times(8));
    Units u;
    u.c8 = s.textWidth(QStringLiteral("E"));
    u.lh8 = std::max(1, s.textHeight(QStringLiteral("E")));
    u.centre = s.pageWidth() / 2.0;
    u.x0 = u.centre - 73 * u.c8;
    u.x1 = u.centre + 74 * u.c8;
    u.bottom = s.pageHeight() - 8 * u.lh8;
    return u;
}

class Layout {
public:
    Layout(PageSurface& s, const RegisterPrint& p) : s_(s), p_(p), counter_(p.pageCounter) {}

    void run(const QList<TRecMovimento>& records)
    {
        s_.begin(PageOrientation::Landscape);
        u_ = measure(s_);
        s_.setPenWidth(std::max(1, px(u_.lh8 / 16)));
        pageStart();
        if (p_.mode == RegisterPrintMode::HeadingsOnly) {
            completePage();
            s_.end();
            return;
        }
        for (const TRecMovimento& r : records) {
            if (y_ > u_.bottom) {
                completePage();
                s_.newPage();
                pageStart();
            }
            const bool struck = is(r.stato, "C") || is(r.operazione, "C") || is(r.operazione, "D");
            s_.setFont(times(8, false, struck));
            y_ += u_.lh8;
            row(r, px(y_));
            last_ = y_ + u_.lh8 / 5;
            s_.line(px(u_.x0), px(last_), px(u_.x1), px(last_));
        }
        completePage();
        s_.end();
    }

private:
    void pageStart()
    {
        s_.setFont(times(8));
        y_ = 21 * u_.lh8;
        last_ = 21 * u_.lh8;
    }

    void row(const TRecMovimento& r, int y)
    {
        if (r.progressivo >= 1)
            s_.textCentredOnLine(u_.x(2), y, QString::number(r.progressivo));
        s_.textCentredOnLine(u_.x(8.5), y, day(r.data));
        s_.textCentredOnLine(u_.x(22), y, r.codiceProdotto.trimmed());
        s_.textCentredOnLine(u_.x(33), y, r.tipoDocumento.trimmed());
        s_.textCentredOnLine(u_.x(39.5), y, day(r.dataDocumento));
        // The document number as stored, its spaces kept, then the e-AD numbers.
        s_.textCentredOnLine(u_.x(58), y,
                             r.numeroDocumento.leftJustified(21, QLatin1Char(' '), true) + QLatin1Char('-') +
                                 QStringLiteral("%1").arg(r.progressivoEad, 2, 10, QLatin1Char('0')) +
                                 QLatin1Char('-') +
                                 QStringLiteral("%1").arg(r.progressivoDettaglio, 3, 10, QLatin1Char('0')));
        if (r.dataCollegata > dates::fromDate(QDate(2000, 1, 1)) &&
            (is(r.tipoMovimento, "S") || is(r.tipoDocumento, "COD")))
            s_.textCentredOnLine(u_.x(76.5), y, day(r.dataCollegata));
        if (!is(r.tipoMovimento, "A"))
            s_.textCentredOnLine(u_.x(82.8), y, r.tipoMovimento.trimmed());
        s_.textCentredOnLine(u_.x(85.8), y, r.paese.trimmed());
        s_.textCentredOnLine(u_.x(95.3), y, r.controparte.trimmed());
        if (is(r.operazione, "C") || is(r.operazione, "I")) {
            s_.textOnLine(u_.x(103.8), y, r.stoccaggio.trimmed());
            s_.textRightOnLine(u_.x(111.8), y, number(r.volumeConfezione, 3));
            s_.textRightOnLine(u_.x(117.8), y, QString::number(r.confezioni));
            s_.textRightOnLine(u_.x(129.3), y, number(r.litri, 5));
            double grado = r.grado;
            RoundTo(grado, 5);
            s_.textRightOnLine(u_.x(133.6), y, number(grado, 0));
            s_.textCentredOnLine(u_.x(136.6), y, r.causale.trimmed());
        }
        s_.textRightOnLine(u_.x(146.1), y, number(r.garanzia, 2));
    }

    void completePage()
    {
        if (p_.mode != RegisterPrintMode::MovementsOnly)
            for (int sheet = 1; sheet <= p_.sheets; ++sheet) {
                if (sheet > 1)
                    s_.newPage();
                heading();
            }
        if (p_.mode != RegisterPrintMode::HeadingsOnly)
            grid();
    }

    void heading()
    {
        s_.setFont(times(14, true));
        const double top = 2.0 * s_.textHeight(QStringLiteral("E"));
        s_.textCentredOnLine(px(u_.centre), px(top), QStringLiteral("DEPOSITI FISCALI DI VINO"));

        s_.setFont(times(10));
        const double c10 = s_.textWidth(QStringLiteral("E"));
        const double lh10 = s_.textHeight(QStringLiteral("E"));
        if (counter_ >= 0) {
            ++counter_;
            s_.textOnLine(px(u_.x1 - 15 * c10), px(top),
                          QStringLiteral("PAG.  ") + QStringLiteral("%1").arg(counter_, 2, 10, QLatin1Char('0')));
        }
        s_.setFont(times(10, true));
        const double titleLine = top + 1.5 * lh10;
        s_.textCentredOnLine(px(u_.centre), px(titleLine),
                             registerPrintTitle(p_.kind) + QStringLiteral(" DEI MOVIMENTI DI VINO INTRACOMUNITARI"));
        s_.setFont(times(10));
        const double t = titleLine + 2 * lh10;
        s_.textOnLine(px(u_.x0 + c10), px(t), QStringLiteral("RILASCIATO DALL'UFFICIO:"));
        s_.textOnLine(px(u_.centre + 2 * c10), px(t), QStringLiteral("ALLA DITTA:"));
        s_.setFont(times(10, true));
        const QStringList office = wrapOfficeText(s_, p_.office, px(u_.centre - u_.x0 - c10));
        for (int k = 1; k <= office.size(); ++k)
            s_.textOnLine(px(u_.x0 + 0.5 * c10), px(t + k * lh10), office[k - 1]);
        s_.rectangle(px(u_.x0), px(t + lh10 / 5), px(u_.centre), px(t + 4.3 * lh10));
        const TRecAzienda& a = p_.company;
        const QString company[]{trimField(a.DENOM1), trimField(a.INDIR1) + QStringLiteral(", ") + trimField(a.NUMCI1),
                                trimField(a.C_A_P1) + QLatin1Char(' ') + trimField(a.CITTA1),
                                QStringLiteral("CODICE ACCISA: ") + trimField(a.CACCI1)};
        for (int k = 1; k <= 4; ++k)
            s_.textOnLine(px(u_.centre + 1.3 * c10), px(t + k * lh10), company[k - 1]);
        s_.rectangle(px(u_.centre + c10), px(t + lh10 / 5), px(u_.x1), px(t + 4.3 * lh10));
    }

    void grid()
    {
        s_.setFont(times(8));
        const double s = 18 * u_.lh8;
        const double lh = u_.lh8;
        s_.line(px(u_.x0), px(s), px(u_.x1), px(s));
        s_.line(u_.x(31), px(s + lh), u_.x(134.5), px(s + lh));
        s_.line(px(u_.x0), px(s + 3 * lh), px(u_.x1), px(s + 3 * lh));
        const int down = px(last_);
        for (double c : {0.0, 4.0, 13.0, 31.0, 81.0, 103.0, 119.0, 134.5, 138.5})
            s_.line(u_.x(c), px(s), u_.x(c), down);
        s_.line(px(u_.x1), px(s), px(u_.x1), down);
        for (double c : {35.0, 44.0, 72.0, 84.0, 87.0, 106.0, 113.0, 130.0})
            s_.line(u_.x(c), px(s + lh), u_.x(c), down);

        s_.setFont(times(6));
        const char k = p_.kind.toLatin1();
        const QString country = k == 'C'   ? QStringLiteral("Prov.")
                                : k == 'S' ? QStringLiteral("Dest.")
                                           : QStringLiteral("Paese");
        const QString party = k == 'C'   ? QStringLiteral("Mittente")
                              : k == 'S' ? QStringLiteral("Destinatario")
                                         : QStringLiteral("Mittente/Destinatario");
        const std::pair<double, QString> line1[]{
            {2, QStringLiteral("Nr.")},
            {8.5, QStringLiteral("Data")},
            {56, QStringLiteral("Documenti d'accompagnamento delle movimentazioni")},
            {91.5, QStringLiteral("Movimentazioni")},
            {110.5, QStringLiteral("Stoccaggio")},
            {127.5, QStringLiteral("Quantità")}};
        const std::pair<double, QString> line2[]{{2, QStringLiteral("Op.")},
                                                 {8.5, QStringLiteral("Operazione")},
                                                 {22, QStringLiteral("Codice prodotto")},
                                                 {33, QStringLiteral("Tipo")},
                                                 {39.5, QStringLiteral("Data di")},
                                                 {58, QStringLiteral("Numero identificativo")},
                                                 {76.5, QStringLiteral("Data nota")},
                                                 {82.5, QStringLiteral("Tipo")},
                                                 {85.5, country},
                                                 {95, party},
                                                 {104.5, QStringLiteral("Tipo")},
                                                 {110, QStringLiteral("Volume")},
                                                 {116, QStringLiteral("Numero")},
                                                 {125, QStringLiteral("Litri idrati")},
                                                 {132.5, QStringLiteral("Grado")},
                                                 {136.5, QStringLiteral("Cau-")},
                                                 {142.5, QStringLiteral("Garanzia")}};
        const std::pair<double, QString> line3[]{{39.5, QStringLiteral("emissione")},
                                                 {76.5, QStringLiteral("di ricezione")},
                                                 {136.5, QStringLiteral("sale")}};
        for (const auto& [x, text] : line1)
            s_.textCentredOnLine(u_.x(x), px(s + 0.8 * lh), text);
        for (const auto& [x, text] : line2)
            s_.textCentredOnLine(u_.x(x), px(s + 2 * lh), text);
        for (const auto& [x, text] : line3)
            s_.textCentredOnLine(u_.x(x), px(s + 2.8 * lh), text);
    }

    PageSurface& s_;
    const RegisterPrint& p_;
    Units u_;
    int counter_;
    double y_ = 0, last_ = 0;
};

} // namespace

QString registerPrintTitle(QChar kind)
{
    switch (kind.toLatin1()) {
    case 'C': return QStringLiteral("REGISTRO DI CARICO");
    case 'S': return QStringLiteral("REGISTRO DI SCARICO");
    default: return QStringLiteral("REGISTRO DI CARICO E SCARICO");
    }
}

QString registerPrintHint(RegisterPrintMode mode, const QString& title)
{
    switch (mode) {
    case RegisterPrintMode::Complete:
        return QStringLiteral("Stampa il ") + title + QStringLiteral(" COMPRESE LE INTESTAZIONI");
    case RegisterPrintMode::MovementsOnly: return QStringLiteral("Stampa SOLO I MOVIMENTI sui fogli già intestati");
    case RegisterPrintMode::HeadingsOnly: return QStringLiteral("Stampa solo le INTESTAZIONI sui fogli da vidimare");
    }
    return {};
}

QString registerPrintPrompt(RegisterPrintMode mode)
{
    switch (mode) {
    case RegisterPrintMode::Complete:
        return QStringLiteral("INSERIRE NELLA STAMPANTE I FOGLI VIDIMATI SENZA INTESTAZIONE");
    case RegisterPrintMode::MovementsOnly:
        return QStringLiteral("INSERIRE NELLA STAMPANTE I FOGLI VIDIMATI e "
                              "INTESTATI in POSIZIONE CORRETTA");
    case RegisterPrintMode::HeadingsOnly:
        return QStringLiteral("INSERIRE NELLA STAMPANTE I FOGLI IN BIANCO DA VIDIMARE ");
    }
    return {};
}

bool registerKindSelects(QChar kind, const TRecMovimento& r)
{
    switch (kind.toLatin1()) {
    case 'C': return is(r.tipoMovimento, "C");
    case 'S': return !is(r.tipoMovimento, "C");
    default: return true;
    }
}

QString registerOffice(const AppContext& ctx, const QDate& from)
{
    QString office;
    if (!from.isValid())
        return office;
    const double day = dates::fromDate(from);
    for (const TRecTabella& row : ReadRows(tablePath(ctx, QStringLiteral("PROTOCOLLI"), ".TAB")))
        if (row.ValA[1] != 0 && std::floor(row.ValA[1]) <= day)
            office = trimField(row.Fld[2]);
    return office;
}

CheckResult checkRegisterPrint(RegisterPrintMode mode, const QString& fromText, const QString& toText,
                               const QString& firstPageText, const QString& sheetsText, RegisterPrint& out)
{
    const QDate from = dates::parseDdmmyyyy(fromText);
    if (!from.isValid())
        return CheckResult::quiet(QStringLiteral("LA DATA INIZIALE NON E' VALIDA"), QStringLiteral("MDADA"));
    const int year = fromText.mid(6, 4).toInt();
    if (year < 2000 || year > 2100)
        return CheckResult::quiet(QStringLiteral("L'ANNO DEVE ESSERE TRA IL 2000 E IL 2100"), QStringLiteral("MDADA"));
    const QDate to = dates::parseDdmmyyyy(toText);
    if (!to.isValid())
        return CheckResult::quiet(QStringLiteral("LA DATA FINALE NON E' VALIDA"), QStringLiteral("MDAAL"));
    if (toText.mid(6, 4).toInt() != year)
        return CheckResult::quiet(QStringLiteral("IL PERIODO DEVE ESSERE NELLO STESSO ANNO"), QStringLiteral("MDAAL"));
    if (to < from)
        return CheckResult::quiet(QStringLiteral("LA DATA FINALE E' ANTERIORE ALLA DATA INIZIALE"),
                                  QStringLiteral("MDAAL"));
    int counter = -1;
    int sheets = 1;
    if (mode == RegisterPrintMode::HeadingsOnly) {
        counter = ParseInteger(firstPageText) - 1;
        if (counter < 0)
            counter = -1;
        sheets = ParseInteger(sheetsText);
        if (sheets < 1 || sheets > MaxSheets)
            return CheckResult::quiet(QStringLiteral("I FOGLI DA STAMPARE DEVONO ESSERE DA 1 A %1").arg(MaxSheets),
                                      QStringLiteral("MFOGLI"));
    }
    out.mode = mode;
    out.from = from;
    out.to = to;
    out.pageCounter = counter;
    out.sheets = sheets;
    return CheckResult::pass();
}

QList<TRecMovimento> registerPrintRecords(const AppContext& ctx, const RegisterPrint& print)
{
    QList<TRecMovimento> out;
    if (!print.from.isValid() || !print.to.isValid())
        return out;
    const double first = dates::fromDate(print.from);
    const double last = dates::fromDate(print.to);
    for (const TRecMovimento& r : readRegister(registerfiles::movements(ctx, print.from.year()))) {
        const double d = std::floor(r.data);
        if (d >= first && d <= last && registerKindSelects(print.kind, r))
            out << r;
    }
    return out;
}

QStringList wrapOfficeText(PageSurface& s, const QString& text, int width)
{
    QStringList lines;
    QString current;
    auto fits = [&](const QString& t) { return s.textWidth(t) <= width; };
    for (QString word : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (fits(joined)) {
            current = joined;
            continue;
        }
        if (!current.isEmpty())
            lines << current;
        // A word wider than the box is cut where the box ends.
        while (!fits(word) && word.size() > 1) {
            int n = int(word.size()) - 1;
            while (n > 1 && !fits(word.left(n)))
                --n;
            lines << word.left(n);
            word = word.mid(n);
        }
        current = word;
    }
    if (!current.isEmpty())
        lines << current;
    return lines.mid(0, 4);
}

void PrintLoadUnloadRegister(PageSurface& surface, const RegisterPrint& print, const QList<TRecMovimento>& records)
{
    Layout(surface, print).run(records);
}

} // namespace vt
