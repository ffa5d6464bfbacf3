#include "messages/ead/Summary.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cmath>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/ead/EadStore.h"

namespace vt {

namespace {

// Builds a line piece by piece; cut(n) keeps the first n characters of what is there so far.
class Line {
public:
    explicit Line(const QString& start = QString()) : text_(start) {}
    Line& add(const QString& piece)
    {
        text_ += piece;
        return *this;
    }
    Line& cut(int n)
    {
        text_.truncate(n);
        return *this;
    }
    Line& add(const QString& piece, int cutAt) { return add(piece).cut(cutAt); }
    operator QString() const { return text_; }

private:
    QString text_;
};

QString ddmmyyyy(double date)
{
    return dates::ddmmyyyy(date);
}

// The five lines of an address block (consignee, place of delivery, transport company uses its own
// first two lines).
void addressLines(QStringList& out, const QString& street, const QString& number, const QString& city,
                  const QString& postcode, const QString& language)
{
    out << Line("        Indirizzo: ").add(trimField(street)).add(" - n. ").add(number);
    out << Line(QStringLiteral("         Località: ")).add(trimField(city)).add(" - CAP ").add(postcode);
    out << Line("           Lingua: ").add(language, 21);
}

void guaranteePieces(Line& line, const QString& account, const QString& kind, double amount)
{
    line.add(account, 36).add(" - ", 39).add(kind, 40).add(" - Garanzia: ", 53).add(generalNumber(amount));
}

} // namespace

bool notBlank(const QString& text)
{
    return QString::compare(text, QStringLiteral("!"), Qt::CaseSensitive) > 0;
}

QString generalNumber(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    if (value == 0)
        return QStringLiteral("0");
    const double magnitude = std::fabs(value);
    QString text;
    if (magnitude >= 1e15 || magnitude < 1e-5) {
        // Scientific form: mantissa without trailing zeros, "E", signed exponent ("1,5E-7", "2E15").
        QString s = QString::number(value, 'e', 14);
        const qsizetype e = s.indexOf(QLatin1Char('e'));
        QString mantissa = s.left(e);
        const int exponent = s.mid(e + 1).toInt();
        if (mantissa.contains(QLatin1Char('.'))) {
            while (mantissa.endsWith(QLatin1Char('0')))
                mantissa.chop(1);
            if (mantissa.endsWith(QLatin1Char('.')))
                mantissa.chop(1);
        }
        text = mantissa + QLatin1Char('E') + QString::number(exponent);
    } else {
        // 15 significant digits in fixed form.
        const int intDigits = magnitude >= 1 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 0;
        int decimals = std::max(0, 15 - intDigits);
        if (magnitude < 1) {
            // Leading zeros after the point do not count as significant digits.
            decimals = 15 + static_cast<int>(-std::floor(std::log10(magnitude))) - 1;
        }
        text = QString::number(value, 'f', decimals);
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
    }
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

SummaryBlocks blocksFromHeader(const TRecEad& h)
{
    SummaryBlocks b;
    b.consignee = notBlank(h.DENDES);
    b.exportOffice = false;
    b.placeOfDelivery = notBlank(h.DENLDE);
    b.exemption = notBlank(h.STAMEM);
    b.transportCompany = notBlank(h.DENAZT);
    return b;
}

QStringList eadSummaryLines(const TRecEad& h, const QList<TRecDettaglio>& transport,
                            const QList<TRecDettaglio>& products, const SummaryBlocks& blocks)
{
    QStringList out;
    out << Line("   Tipo Messaggio: ")
               .add(h.TIPMES, 20)
               .add(" - Fattura n. ", 34)
               .add(h.NUMFAT, 69)
               .add(" del ", 74)
               .add(ddmmyyyy(h.DATFAT));
    out << Line("Tipo Destinatario: ")
               .add(h.TIPDES, 20)
               .add("   - Ufficio Doganale Competente: ", 54)
               .add(h.UFFSPE, 62);

    if (blocks.consignee) {
        out << QStringLiteral("------------------------------ DESTINATARIO ------------------------------");
        out << Line("   Identificativo: ").add(h.COIDDE, 37);
        out << Line("    Denominazione: ").add(h.DENDES, 119);
        addressLines(out, h.INDDES, h.NUCDES, h.CITDES, h.CAPDES, h.LINDES);
    }
    if (blocks.exportOffice)
        out << Line("   Ufficio export: ").add(h.uffesp, 27);
    if (blocks.placeOfDelivery) {
        out << QStringLiteral("--------------------------- LUOGO DESTINAZIONE ---------------------------");
        out << Line("   Identificativo: ").add(h.COIDLD, 37);
        out << Line("    Denominazione: ").add(h.DENLDE, 119);
        addressLines(out, h.INDLDE, h.NUCLDE, h.CITLDE, h.CAPLDE, h.LINLDE);
    }
    if (blocks.exemption) {
        out << Line("Certif. Esenzione: ").add(h.CERESE, 119);
        out << Line("     Stato membro: ").add(h.STAMEM, 21);
    }

    out << QStringLiteral("--------------------------- DATI DEL TRASPORTO ---------------------------");
    out << Line("     Responsabile: ").add(h.RESTRA, 20);
    out << Line(QStringLiteral("         Modalità: ")).add(h.MODTRA, 21).add("  - Nota: ", 31).add(h.INFTRA, 131);
    out << Line("           Durata: ")
               .add(h.unitaDurata == 1 ? QStringLiteral("ORE: ") : QStringLiteral("GIORNI: "))
               .add(QString::number(h.durata));
    out << Line("Inizio Spedizione: ")
               .add(ddmmyyyy(h.DATSPE))
               .add(" - alle ore ")
               .add(h.ORASPE)
               .add(" - Invio differito ? ")
               .add(h.INVDIF);
    if (blocks.transportCompany) {
        out << QStringLiteral("--------------------------- AZIENDA DI TRASPORTO -------------------------");
        out << Line("   Partita I.V.A.: ").add(h.PIAZTR, 37);
        out << Line("    Denominazione: ").add(h.DENAZT);
        addressLines(out, h.INDAZT, h.NUCAZT, h.CITAZT, h.CAPAZT, h.LINAZT);
    }

    out << QStringLiteral("---------------------------- DETTAGLI DEL TRASPORTO -----------------------");
    int n = 0;
    for (TRecDettaglio l : transport) {
        lineToWorkingForm(l);
        out << Line(" Dettaglio Numero: ").add(QString::number(++n)).add(" ------------ ");
        out << Line("Id. Comm. Sigilli: ").add(l.SIGTRA());
        out << Line("Infor. su Sigilli: ").add(l.INSITR());
        out << Line(QStringLiteral("  Unità Trasporto: ")).add(l.UNITRA(), 21).add(" - Identificativo: ", 40).add(l.IDUNTR());
        out << Line("  Altre Informaz.: ").add(l.INAGTR());
    }

    out << QStringLiteral("---------------------------- PRODOTTI DEL DAA ----------------------------");
    n = 0;
    for (TRecDettaglio l : products) {
        lineToWorkingForm(l);
        out << Line(" Dettaglio Numero: ").add(QString::number(++n)).add(" ------------ ");
        out << Line(" Codice Aziendale: ").add(l.COAZPR).add(" - ").add(l.LEDEPR);
        const QString country = QString::compare(l.paeseImportazione, QStringLiteral("  ")) > 0
            ? QStringLiteral(" - Paese Importazione: ") + l.paeseImportazione
            : QStringLiteral(" ");
        out << Line("  Codice Prodotto: ")
                   .add(l.META20)
                   .add(" - Categ. Vino: ")
                   .add(l.categoria)
                   .add(" - Zona Coltivazione: ")
                   .add(l.zona)
                   .add(country);
        if (notBlank(l.trattamenti))
            out << Line(" Trattamenti Vino: ").add(l.trattamenti);
        if (l.NUMCON > 0)
            out << Line("   N. Contenitori: ").add(generalNumber(l.NUMCON)).add(" - Volume Unitario: ").add(generalNumber(l.VOLCON));
        out << Line("     Totale Litri: ").add(generalNumber(l.TOTLIT)).add(" - Grado Alcolico: ").add(generalNumber(l.GRADOA));
        out << Line("       Peso Netto: ").add(generalNumber(l.PNETTO)).add(" - Peso Lordo: ").add(generalNumber(l.PLORDO));
        out << Line(" Tipo Imballaggio: ")
                   .add(l.CODIMB, 21)
                   .add(l.NUMIMB > 0 ? QStringLiteral(" - Numero Imballaggi: ") + QString::number(l.NUMIMB)
                                     : QStringLiteral(" "));
        out << Line("Id. Comm. Sigilli: ").add(l.SIGIMB);
        out << Line("Infor. su Sigilli: ").add(l.INSIIM);
        out << QStringLiteral("         * ");
    }

    out << QStringLiteral("----------------------------- GARANTI ACCISE -----------------------------");
    out << Line("     Tipo Garante: ").add(h.TIPGAR, 23);
    const QString& g = h.TIPGAR;
    if (g.contains(QLatin1Char('1'))) {
        Line line(" Conto Gar. Sped.: ");
        guaranteePieces(line, h.GARSPE, h.TGASPE, h.IMGASP);
        out << line;
    }
    if (g.contains(QLatin1Char('4'))) {
        Line line(" Conto Gar. Dest.: ");
        guaranteePieces(line, h.GARDES, h.TGADES, h.IMGADE);
        out << line;
    }
    if (g.contains(QLatin1Char('2'))) {
        out << QStringLiteral("------------------------- TRASPORTATORE GARANTE --------------------------");
        out << Line("    Codice Accisa: ").add(h.CATRAG, 32);
        out << Line("   Partita I.V.A.: ").add(h.PITRAG, 37);
        out << Line("    Denominazione: ").add(h.DENTRG);
        addressLines(out, h.INDTRG, h.NUCTRG, h.CITTRG, h.CAPTRG, h.LINTRG);
        Line line("   Conto Garanzia: ");
        guaranteePieces(line, h.GARTRA, h.TGATRA, h.IMGATR);
        out << line;
    }
    if (g.contains(QLatin1Char('3'))) {
        out << QStringLiteral("-------------------- PROPRIETARIO DELLE MERCI GARANTE --------------------");
        out << Line("    Codice Accisa: ").add(h.CAPROG, 32);
        out << Line("   Partita I.V.A.: ").add(h.PIPROG, 37);
        out << Line("    Denominazione: ").add(h.DENPRG);
        addressLines(out, h.INDPRG, h.NUCPRG, h.CITPRG, h.CAPPRG, h.LINPRG);
        Line line("   Conto Garanzia: ");
        guaranteePieces(line, h.GARPRO, h.TGAPRO, h.IMGPRO);
        out << line;
    }
    return out;
}

QString eadSummaryPath(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("RIEPILOGO.RTF"));
}

QString cancellationSummaryPath(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("IE810.RTF"));
}

QStringList writeEadSummary(const AppContext& ctx, const TRecEad& header)
{
    const QStringList lines = eadSummaryLines(header, readLines(eadfiles::transportWork(ctx)),
                                              readLines(eadfiles::productWork(ctx)), blocksFromHeader(header));
    writeTextLines(eadSummaryPath(ctx), lines);
    return lines;
}

QStringList cancellationSummaryLines(const TRecEad& c)
{
    QStringList out;
    out << Line("Motivo: ").add(c.MOTANN(), 9).add(" ", 10).add(trimField(c.descrizioneMotivo()));
    out << Line("  Nota: ").add(c.NOTMOT(), 108);
    out << Line("Lingua: ").add(c.LINGUA, 10);
    return out;
}

QStringList writeCancellationSummary(const AppContext& ctx, const TRecEad& cancellation)
{
    const QStringList lines = cancellationSummaryLines(cancellation);
    writeTextLines(cancellationSummaryPath(ctx), lines);
    return lines;
}

void writeTextLines(const QString& path, const QStringList& lines)
{
    QByteArray content;
    for (const QString& line : lines) {
        QByteArray bytes;
        if (!toCp1252(line, bytes))
            throw EncodingError(QStringLiteral("RIEPILOGO"), line);
        content += bytes;
        content += "\r\n";
    }
    QSaveFile f(path);
    auto failure = [&] {
        return IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
    };
    if (!f.open(QIODevice::WriteOnly))
        throw failure();
    if (f.write(content) != content.size()) {
        IoError e = failure();
        f.cancelWriting();
        throw e;
    }
    if (!f.commit())
        throw failure();
}

QString readTextFile(const QString& path)
{
    QFile f(path);
    if (!f.exists())
        return {};
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("ERRORE DI LETTURA/SCRITTURA SUL FILE %1: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
    return fromCp1252(f.readAll());
}

} // namespace vt
