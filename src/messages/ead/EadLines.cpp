#include "messages/ead/EadLines.h"

#include <cmath>

#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/ead/EadForm.h"
#include "messages/ead/EadStore.h"
#include "messages/ead/Summary.h"

namespace vt {

namespace {
QString t(const QString& s)
{
    return trimField(s);
}

QString numberText(double v)
{
    return generalNumber(v);
}
} // namespace

QList<TRecDettaglio> listWorkLines(const QString& workFile)
{
    renumberWorkFile(workFile);
    QList<TRecDettaglio> lines = readLines(workFile);
    for (TRecDettaglio& l : lines)
        lineToWorkingForm(l);
    return lines;
}

int putWorkLine(const QString& workFile, int n, TRecDettaglio line)
{
    RecordFile file(workFile, TRecDettaglio::Size);
    QList<QByteArray> records = file.readAll();
    lineToStoredForm(line);
    for (QByteArray& r : records)
        if (RecordFile::numberOf(r) == n) {
            line.numero = n;
            r = encodeLine(line);
            file.replaceAll(records);
            return n;
        }
    line.numero = static_cast<std::int32_t>(records.size() + 1);
    records << encodeLine(line);
    file.replaceAll(records);
    return line.numero;
}

// ---- transport -------------------------------------------------------------------------------

QString transportEntry(const TRecDettaglio& l, int n)
{
    return QStringLiteral("n. ") + QString::number(n) + QStringLiteral(": UT=") + t(l.UNITRA()) + QStringLiteral(" Id.UT=")
        + t(l.IDUNTR()) + QLatin1Char(' ') + t(l.INAGTR()) + QLatin1Char(' ') + t(l.SIGTRA()) + QLatin1Char(' ')
        + t(l.INSITR());
}

TransportLineFields transportFields(const TRecDettaglio& l)
{
    return {t(l.UNITRA()), t(l.IDUNTR()), t(l.SIGTRA()), t(l.INSITR()), t(l.INAGTR())};
}

CheckResult buildTransportLine(const TransportLineFields& f, TRecDettaglio& line)
{
    line = blankLine();
    lineToWorkingForm(line);
    line.UNITRA() = t(f.UNITRA);
    line.IDUNTR() = t(f.IDUNTR);
    line.SIGTRA() = t(f.SIGTRA);
    line.INSITR() = t(f.INSITR);
    line.INAGTR() = t(f.INAGTR);
    if (isMissing(f.IDUNTR))
        return CheckResult::fail(MsgTransportUnitId, QStringLiteral("IDUNTR"));
    return CheckResult::pass();
}

// ---- products --------------------------------------------------------------------------------

QString productEntry(const TRecDettaglio& l, int n)
{
    return QStringLiteral("n. ") + QString::number(n) + QStringLiteral(" = ") + t(l.COAZPR) + QStringLiteral(" Litri:")
        + numberText(l.TOTLIT) + QLatin1Char(' ') + t(l.LEDEPR) + QStringLiteral(" Gradi:") + numberText(l.GRADOA)
        + QLatin1Char(' ') + t(l.META20);
}

ProductLineFields productFields(const TRecDettaglio& l)
{
    ProductLineFields f;
    f.COAZPR = t(l.COAZPR);
    f.LEDEPR = t(l.LEDEPR);
    f.META20 = t(l.META20);
    f.NUMCON = numberText(l.NUMCON);
    f.VOLCON = numberText(l.VOLCON);
    f.TOTLIT = numberText(l.TOTLIT);
    f.GRADOA = numberText(l.GRADOA);
    f.PNETTO = numberText(l.PNETTO);
    f.PLORDO = numberText(l.PLORDO);
    f.CODIMB = t(l.CODIMB);
    f.NUMIMB = QString::number(l.NUMIMB);
    f.SIGIMB = t(l.SIGIMB);
    f.INSIIM = t(l.INSIIM);
    f.DESCOM = t(l.DESCOM);
    f.packaged = l.NUMCON > 0;
    return f;
}

ProductDefaults productDefaults(const TRecTabella& p)
{
    ProductDefaults d;
    d.LEDEPR = t(p.Fld[1]);
    d.META20 = t(p.Fld[4]);
    d.VOLCON = numberText(p.ValA[1]);
    d.GRADOA = numberText(p.ValA[0]);
    d.CODIMB = t(p.Fld[6]);
    d.packaged = t(p.Fld[5]) == QLatin1String("N");
    return d;
}

QStringList productMemo(const TRecTabella& p, const QList<TRecTabella>& treatments)
{
    QStringList memo;
    memo << QStringLiteral("categoria ") + t(p.Fld[2]) + QStringLiteral(" - zona ") + t(p.Fld[3]);
    const QString codes = p.Fld[7];
    QStringList found;
    for (const TRecTabella& row : treatments) {
        const QString code = t(row.Fld[0]);
        if (!code.isEmpty() && codes.contains(code))
            found << code + QLatin1Char(' ') + t(row.Fld[1]);
    }
    if (found.isEmpty()) {
        memo << MsgNoTreatments;
    } else {
        memo << QStringLiteral("Trattamenti del vino:");
        memo << found;
    }
    return memo;
}

ContainerQuantities quantitiesFromContainers(const QString& numcon, const QString& volcon, const TRecTabella& p)
{
    const double containers = ParseDecimal(numcon, 3);
    const double unit = ParseDecimal(volcon, 3);
    double litres = containers * unit;
    RoundTo(litres, 5);
    double gross = containers * p.ValA[2];
    RoundTo(gross, 5);
    ContainerQuantities q{numberText(litres), numberText(litres), numberText(gross), std::nullopt};
    const std::int32_t perPackage = p.Dim[0];
    if (perPackage > 0) {
        const double whole = std::floor(containers);
        const auto count = static_cast<long long>(whole);
        long long packages = count / perPackage;
        if (count % perPackage != 0 || whole != containers)
            ++packages;
        q.NUMIMB = QString::number(packages);
    }
    return q;
}

void weightsFromLitres(ProductLineFields& f)
{
    auto empty = [](const QString& s) { return s.isEmpty() || QString::compare(s, QStringLiteral("0")) <= 0; };
    if (empty(f.PNETTO))
        f.PNETTO = f.TOTLIT;
    if (empty(f.PLORDO))
        f.PLORDO = f.TOTLIT;
}

bool adjustGrossWeight(ProductLineFields& f)
{
    const double net = ParseDecimal(f.PNETTO, 2);
    const double gross = ParseDecimal(f.PLORDO, 2);
    if (gross < net) {
        f.PLORDO = f.PNETTO;
        return true;
    }
    return false;
}

QString certificationSentence(const QString& category, const QString& attestation, const QString& body)
{
    const QString a = t(attestation), b = t(body);
    const QChar kind = category.size() >= 2 ? category.at(1) : QChar();
    const QString regulation = QStringLiteral(", a norma dell'articolo 118 septvicies del regolamento (CE) n.1234/2007");
    QString s;
    switch (kind.unicode()) {
    case 'C':
        s = QStringLiteral("Il presente documento vale quale certificazione dell'annata di raccolta ") + a + regulation;
        break;
    case 'D':
        s = QStringLiteral("Il presente documento vale quale attestato di denominazione di origine protetta, N. ") + a
            + QStringLiteral(" del registro E-Bacchus. Organismo di certificazione: ") + b;
        break;
    case 'I':
        s = QStringLiteral("Il presente documento vale quale attestato di indicazione geografica protetta, N. ") + a
            + QStringLiteral(" del registro E-Bacchus. Organismo di certificazione: ") + b;
        break;
    case 'V':
        s = QStringLiteral("Il presente documento vale quale certificazione della varietà di uve di vino ") + a + regulation;
        break;
    case 'W':
        s = QStringLiteral("Il presente documento vale quale certificazione dell'annata di raccolta e della varietà: ") + a
            + regulation;
        break;
    default:
        return {};
    }
    return s.left(250);
}

CheckResult buildProductLine(ProductLineFields& f, const TRecTabella& p, TRecDettaglio& line)
{
    adjustGrossWeight(f);
    line = blankLine();
    lineToWorkingForm(line);
    line.categoria = t(p.Fld[2]).left(1);
    line.zona = t(p.Fld[3]);
    line.paeseImportazione = t(p.Fld[8]);
    line.trattamenti = t(p.Fld[7]);
    line.CODIMB = t(f.CODIMB);
    line.COAZPR = t(f.COAZPR);
    line.LEDEPR = t(f.LEDEPR);
    line.META20 = t(f.META20);
    line.SIGIMB = t(f.SIGIMB);
    line.INSIIM = t(f.INSIIM);
    line.certificazione = certificationSentence(t(p.Fld[2]), p.Ext[1], p.Ext[2]);
    line.NUMCON = ParseDecimal(f.NUMCON, 5);
    line.VOLCON = ParseDecimal(f.VOLCON, 5);
    line.TOTLIT = ParseDecimal(f.TOTLIT, 3);
    line.GRADOA = ParseDecimal(f.GRADOA, 2);
    line.PNETTO = ParseDecimal(f.PNETTO, 2);
    line.PLORDO = ParseDecimal(f.PLORDO, 2);
    QString focus;
    auto require = [&](bool ok, const char* name) {
        if (!ok)
            focus = QLatin1String(name);
    };
    require(line.TOTLIT != 0, "TOTLIT");
    require(line.GRADOA != 0, "GRADOA");
    require(line.PNETTO != 0, "PNETTO");
    require(line.PLORDO != 0, "PLORDO");
    if (f.packaged) {
        line.NUMIMB = ParseInteger(f.NUMIMB);
        require(line.NUMIMB != 0, "NUMIMB");
        line.DESCOM = t(f.DESCOM);
    } else {
        line.NUMIMB = 0;
        line.NUMCON = 0;
        line.VOLCON = 0;
        line.DESCOM = QStringLiteral(" ");
    }
    if (!focus.isEmpty())
        return CheckResult::fail(MsgRequiredField, focus);
    return CheckResult::pass();
}

double exciseAmount(const std::optional<TRecTabella>& rates, const QList<TRecDettaglio>& products)
{
    if (!rates)
        return 0;
    double total = 0;
    for (const TRecDettaglio& l : products) {
        const QString kind = t(l.META20).left(4);
        int first = -1;
        if (kind == QLatin1String("W200"))
            first = 0;
        else if (kind == QLatin1String("W300"))
            first = 5;
        if (first < 0)
            continue;
        for (int i = first; i < first + 2; ++i) {
            if (rates->ValA[i] <= l.GRADOA && l.GRADOA <= rates->ValB[i]) {
                double part = l.TOTLIT * rates->ValC[i] / 1000.0;
                RoundTo(part, 2);
                total += part;
                break;
            }
        }
    }
    RoundTo(total, 2);
    return total;
}

} // namespace vt
