#include "messages/ead/Ie815Flow.h"

#include "foundation/FieldAccess.h"
#include "foundation/Text.h"
#include "messages/ead/EadForm.h"
#include "messages/flows/FlowText.h"

namespace vt {

namespace {

// The flow is written from the record layouts (offsets of TRecEad and TRecDettaglio), so that
// "as stored" and "trimmed" are read exactly as the layout tables state them.
template <class R>
QString stored(const R& r, int offset) { return storedAt(r, offset); }
template <class R>
QString trimmed(const R& r, int offset) { return trimmedAt(r, offset); }

// TRecEad offsets.
namespace H {
constexpr int LINGUA = 4, LocalReference = 7, TIPMES = 100, TIPDES = 102, DurationUnit = 104, Duration = 108,
              RESTRA = 112, INVDIF = 114, ConsignorExcise = 116, ConsignorName = 135, ConsignorStreet = 236,
              ConsignorNumber = 302, ConsignorPostcode = 314, ConsignorCity = 325, Premises = 376, COIDLS = 380,
              DENLSP = 399, INDLSP = 500, NUCLSP = 566, CAPLSP = 578, CITLSP = 589, UFFSPE = 640,
              CompetentOffice = 649, COIDDE = 658, DENDES = 677, INDDES = 778, NUCDES = 844, CAPDES = 856,
              CITDES = 867, LINDES = 918, STAMEM = 921, CERESE = 924, COIDLD = 1025, DENLDE = 1044,
              INDLDE = 1145, NUCLDE = 1211, CAPLDE = 1223, CITLDE = 1234, LINLDE = 1285, uffesp = 1288,
              MODTRA = 1297, INFTRA = 1300, PIAZTR = 1401, DENAZT = 1420, INDAZT = 1521, NUCAZT = 1587,
              CAPAZT = 1599, CITAZT = 1610, LINAZT = 1661, NUMFAT = 1927, DATFAT = 1968, ConsignorKind = 1976,
              DATSPE = 1984, ORASPE = 1992, TIPGAR = 1998, GARSPE = 2003, TGASPE = 2021, IMGASP = 2024,
              GARDES = 2032, TGADES = 2050, IMGADE = 2056, GARTRA = 2064, TGATRA = 2082, IMGATR = 2088,
              GARPRO = 2096, TGAPRO = 2114, IMGPRO = 2120, CATRAG = 2128, CAPROG = 2405;
} // namespace H

// TRecDettaglio offsets (transport line / product line).
namespace L {
constexpr int Category = 12, UNITRA_CODIMB = 14, ImportCountry = 17, Zone = 39, SIGTRA = 56, INSITR_LEDEPR = 307,
              IDUNTR_META20 = 558, INAGTR_SIGIMB = 809, INSIIM = 1060, Treatments = 1311, Certification = 1562,
              DESCOM = 1813, NUMIMB = 2064, TOTLIT = 2088, GRADOA = 2096, PNETTO = 2104, PLORDO = 2112;
} // namespace L

// A descriptive text and the e-AD language, or two empty fields when the text is blank.
void textWithLanguage(flow::FieldLine& line, const QString& text, const QString& language)
{
    if (flow::given(text))
        line.add(trimField(text)).add(language);
    else
        line.empty(2);
}

// Characters from..to (counted from 1) of a text, as far as it reaches.
QString chars(const QString& text, int from, int to)
{
    return text.mid(from - 1, to - from + 1);
}

void addProductFields(flow::FieldLine& line, const TRecDettaglio& p, const QString& language,
                      const std::optional<QList<TRecTabella>>& treatments)
{
    const QString code = stored(p, L::IDUNTR_META20); // META20: EEEE-NNNNNNNN-CC-ZZZZ
    line.add(chars(code, 1, 4));
    line.add(chars(code, 6, 13));
    line.add(flow::number(doubleAt(p, L::TOTLIT), 3));
    line.add(flow::number(doubleAt(p, L::PLORDO), 2));
    line.add(flow::number(doubleAt(p, L::PNETTO), 2));
    line.empty();
    line.add(flow::number(doubleAt(p, L::GRADOA), 2).left(6));
    line.empty(3);
    line.add(QStringLiteral("0"));
    textWithLanguage(line, trimmed(p, L::Certification), language);
    line.empty();
    line.add(trimField(chars(code, 15, 16)));
    line.add(chars(code, 18, 21));
    line.add(QString(5, QLatin1Char(' ')));
    textWithLanguage(line, trimmed(p, L::DESCOM), language);
    textWithLanguage(line, trimmed(p, L::INSITR_LEDEPR), language);
    line.add(QStringLiteral("001")).add(QStringLiteral("M")).add(QStringLiteral("001"));
    line.add(stored(p, L::UNITRA_CODIMB));
    const std::int32_t packages = int32At(p, L::NUMIMB);
    line.add(packages >= 1 ? QString::number(packages) : QString());
    line.add(trimmed(p, L::INAGTR_SIGIMB));
    textWithLanguage(line, trimmed(p, L::INSIIM), language);
    const QString category = stored(p, L::Category);
    line.add(category);
    line.add(trimmed(p, L::Zone));
    if (category == QLatin1String("4"))
        line.add(stored(p, L::ImportCountry)).empty(2);
    else
        line.empty(3);
    if (!treatments)
        return; // T020 could not be opened: the fields end here
    const QString lineCodes = stored(p, L::Treatments);
    QStringList found;
    for (const TRecTabella& row : *treatments) {
        const QString treatment = trimField(row.Fld[0]);
        // A row without a code would match every line: it is not a treatment.
        if (!treatment.isEmpty() && lineCodes.contains(treatment))
            found << treatment;
    }
    line.add(flow::digits(found.size(), 3));
    for (int i = 0; i < found.size(); ++i)
        line.add(QStringLiteral("O")).add(flow::digits(i + 1, 3)).add(found[i]);
}

QString recordA(const Ie815Source& s, const QString& prefix)
{
    const TRecEad& h = s.header;
    const QString language = stored(h, H::LINGUA);
    const QString tipmes = stored(h, H::TIPMES);
    const QString tipdes = stored(h, H::TIPDES);
    const QString restra = stored(h, H::RESTRA);
    const QString kind = stored(h, H::ConsignorKind);
    const QString tipgar = trimmed(h, H::TIPGAR);
    const QString modtra = trimmed(h, H::MODTRA);
    auto tipdesIn = [&](const char* codes) { return tipdes.size() == 1 && QByteArray(codes).contains(tipdes.at(0).toLatin1()); };

    flow::FieldLine line(prefix);
    line.add(QStringLiteral("A")).add(QStringLiteral("0001")).add(QStringLiteral("0001")).add(QStringLiteral("00"));
    line.add(flow::digits(std::max<qsizetype>(s.products.size() - 1, 0), 3));
    line.add(tipmes).add(tipdes);
    line.add(int32At(h, H::DurationUnit) == 1 ? QStringLiteral("H") : QStringLiteral("D"));
    line.add(flow::digits(int32At(h, H::Duration), 2));
    line.add(restra);
    line.add(stored(h, H::INVDIF) == QLatin1String("N") ? QStringLiteral("0") : QStringLiteral("1"));

    // 12-18 consignor
    line.add(stored(h, H::ConsignorExcise));
    for (int off : {H::ConsignorName, H::ConsignorStreet, H::ConsignorNumber, H::ConsignorPostcode, H::ConsignorCity})
        line.add(trimmed(h, off));
    line.add(language);
    // 19-25 place of dispatch, for an authorised warehouse keeper
    if (kind == QLatin1String("1")) {
        line.add(stored(h, H::COIDLS));
        for (int off : {H::DENLSP, H::INDLSP, H::NUCLSP, H::CAPLSP, H::CITLSP})
            line.add(trimmed(h, off));
        line.add(language);
    } else {
        line.empty(7);
    }
    // 26-27 offices
    line.add(kind == QLatin1String("2") ? trimmed(h, H::UFFSPE) : QString());
    line.add(trimmed(h, H::CompetentOffice));
    // 28 consignee identification
    line.add(tipmes == QLatin1String("1") && tipdesIn("12346") ? stored(h, H::COIDDE) : QString());
    // 29-35 consignee
    if (tipmes != QLatin1String("2") && tipdes != QLatin1String("8")) {
        for (int off : {H::DENDES, H::INDDES, H::NUCDES, H::CAPDES, H::CITDES, H::LINDES})
            line.add(trimmed(h, off));
        line.empty();
    } else {
        line.empty(7);
    }
    // 36-37 exemption
    if (tipdes == QLatin1String("5"))
        line.add(stored(h, H::STAMEM)).add(trimmed(h, H::CERESE));
    else
        line.empty(2);
    // 38-44 place of delivery
    if (tipdesIn("14")) {
        line.add(tipdes == QLatin1String("4") ? QString() : stored(h, H::COIDLD));
        for (int off : {H::DENLDE, H::INDLDE, H::NUCLDE, H::CAPLDE, H::CITLDE, H::LINLDE})
            line.add(trimmed(h, off));
    } else {
        line.empty(7);
    }
    // 45 office of export
    line.add(tipdes == QLatin1String("6") ? stored(h, H::uffesp) : QString());
    // 46-48 transport mode
    line.add(modtra);
    if (modtra.startsWith(QLatin1Char('0')))
        line.add(trimmed(h, H::INFTRA)).add(language);
    else
        line.empty(2);
    // 49-55 transport company
    if (restra == QLatin1String("3") || restra == QLatin1String("4")) {
        for (int off : {H::PIAZTR, H::DENAZT, H::INDAZT, H::NUCAZT, H::CAPAZT, H::CITAZT, H::LINAZT})
            line.add(trimmed(h, off));
    } else {
        line.empty(7);
    }
    line.empty(7); // 56-62
    // 63-68 document, consignor kind, dispatch, guarantor type
    line.add(trimmed(h, H::NUMFAT));
    line.add(flow::date(doubleAt(h, H::DATFAT)));
    line.add(kind);
    line.add(flow::date(doubleAt(h, H::DATSPE)));
    // hh:mm; an e-AD saved with a one-digit hour or minute ("9:30") is written 093000 all the same.
    const QString time = normalTime(stored(h, H::ORASPE).trimmed());
    line.add(time.left(2) + time.mid(3, 2) + QStringLiteral("00"));
    line.add(tipgar);
    // 69-80 guarantees of consignor, transporter, owner, consignee
    struct Guarantee { QChar digit; int account, kind, amount; };
    for (const Guarantee& g : {Guarantee{QLatin1Char('1'), H::GARSPE, H::TGASPE, H::IMGASP},
                               Guarantee{QLatin1Char('2'), H::GARTRA, H::TGATRA, H::IMGATR},
                               Guarantee{QLatin1Char('3'), H::GARPRO, H::TGAPRO, H::IMGPRO},
                               Guarantee{QLatin1Char('4'), H::GARDES, H::TGADES, H::IMGADE}}) {
        if (tipgar.contains(g.digit))
            line.add(trimmed(h, g.account)).add(trimmed(h, g.kind)).add(flow::number(doubleAt(h, g.amount), 2));
        else
            line.empty(3);
    }
    // 81 and the guarantor groups of transporter and owner
    const bool transporter = tipgar.contains(QLatin1Char('2'));
    const bool owner = tipgar.contains(QLatin1Char('3'));
    line.add(QStringLiteral("00") + QString::number(int(transporter) + int(owner)));
    int group = 0;
    for (auto [present, base] : {std::pair{transporter, H::CATRAG}, std::pair{owner, H::CAPROG}}) {
        if (!present)
            continue;
        const TRecEad& r = h;
        // excise number s[13], then VAT number, name, street, number, postcode, city, language
        const int offsets[] = {base + 14, base + 33, base + 134, base + 200, base + 212, base + 223, base + 274};
        line.add(QStringLiteral("H")).add(QStringLiteral("00") + QString::number(++group));
        line.add(stored(r, base));
        for (int off : offsets)
            line.add(trimmed(r, off));
    }
    line.add(QStringLiteral("000"));
    // transport groups
    line.add(flow::digits(s.transport.size(), 3));
    int ordinal = 0;
    for (const TRecDettaglio& t : s.transport) {
        line.add(QStringLiteral("I")).add(flow::digits(++ordinal, 3));
        line.add(stored(t, L::UNITRA_CODIMB));
        line.add(trimmed(t, L::IDUNTR_META20));
        line.add(trimmed(t, L::SIGTRA));
        textWithLanguage(line, trimmed(t, L::INSITR_LEDEPR), language);
        textWithLanguage(line, trimmed(t, L::INAGTR_SIGIMB), language);
    }
    line.add(QStringLiteral("000"));
    line.add(QStringLiteral("001"));
    if (!s.products.isEmpty())
        addProductFields(line, s.products.first(), language, s.treatments);
    return line.text();
}

} // namespace

QStringList ie815Lines(const Ie815Source& s)
{
    const QString prefix =
        flow::recordPrefix(QStringLiteral("IE815"), s.company, stored(s.header, H::LocalReference), 22, s.flowDate);
    QStringList lines;
    lines << flow::headerLine(s.company, s.flowName, stored(s.header, H::Premises), int(s.products.size()) + 1);
    lines << recordA(s, prefix);
    const QString language = stored(s.header, H::LINGUA);
    for (qsizetype i = 1; i < s.products.size(); ++i) {
        flow::FieldLine line(prefix);
        line.add(QStringLiteral("C")).add(flow::digits(i + 1, 4)).add(flow::digits(i + 1, 3));
        addProductFields(line, s.products[i], language, s.treatments);
        lines << line.text();
    }
    return lines;
}

QByteArray ie815FlowBytes(const Ie815Source& source)
{
    return flow::fileBytes(ie815Lines(source));
}

} // namespace vt
