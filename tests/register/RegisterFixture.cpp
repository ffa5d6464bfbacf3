#include "register/RegisterFixture.h"

#include <QFile>

#include <cstring>

#include "foundation/CompanyRecord.h"
#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "register/store/RegisterStore.h"
#include "support/CodeTableFixture.h"
#include "support/TableFixtures.h"

namespace vt::test {

void prepareRegisterData(TestContext& t)
{
    AppContext& ctx = t.ctx;
    TRecAzienda company = blankCompany();
    company.TIPOIN = QStringLiteral("1");
    company.DENOM1 = QStringLiteral("CANTINA DI PROVA");
    company.UFFDO1 = QStringLiteral("IT000100");
    writeStartupFiles(ctx, company, {"C:\\FV\\P0", "C:\\FV\\P1", "C:\\FV\\P2", "C:\\FV\\P3"});

    auto codes = [&](const char* table, int width, std::initializer_list<std::pair<const char*, const char*>> rows) {
        writeStructure(ctx, QString::fromLatin1(table), QString::fromLatin1(table), 1,
                       {{width, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        for (const auto& [code, text] : rows)
            appendRow(ctx, QString::fromLatin1(table), {QString::fromLatin1(code), QString::fromUtf8(text)});
    };
    codes("TA05", 3, {{"COD", "cambio di destinazione"}, {"DAA", "documento amministrativo"}, {"EAD", "e-AD"},
                      {"ROR", "nota di ricezione"}});
    codes("TA20", 21, {{"W200-22042138-00-0000", "vino fermo"}, {"W300-22041000-00-0000", "vino spumante"}});
    codes("T004", 2, {{"DE", "Germania"}, {"EX", "esportazione"}, {"FR", "Francia"}, {"IT", "Italia"}});
    codes("TA21C", 3, {{"C1", "acquisto"}});
    codes("TA21S", 3, {{"S1", "vendita"}});

    writeStructure(ctx, QStringLiteral("PRAZ"), QStringLiteral("Prodotti"), 1,
                   {{20, QStringLiteral("Codice")}, {80, QStringLiteral("Descrizione")}});
    TRecTabella praz = tableRow(1, {kProduct, QStringLiteral("Rosso della casa"), QStringLiteral("1"), QString(), kWine,
                                    QStringLiteral("N"), QStringLiteral("BO"), QString(), QString(), QStringLiteral(".bmp")});
    praz.Ext[0] = QStringLiteral("PRAZ");
    praz.ValA[0] = 12.5;
    praz.ValA[1] = 0.75;
    writeTable(ctx, QStringLiteral("PRAZ"), nullptr, {praz});

    // Germany: still wine 1,2 to 15 % vol at 100 €/hl; sparkling 8,5 to 22 at 136.
    writeStructure(ctx, QStringLiteral("ACCISE"), QStringLiteral("Accise"), 1, {{2, QStringLiteral("Nazione")}});
    TRecTabella de = tableRow(1, {QStringLiteral("DE")});
    de.Ext[0] = QStringLiteral("ACCISE");
    de.ValA[0] = 1.2, de.ValB[0] = 15, de.ValC[0] = 100;
    de.ValA[5] = 8.5, de.ValB[5] = 22, de.ValC[5] = 136;
    TRecTabella fr = tableRow(2, {QStringLiteral("FR")});
    fr.Ext[0] = QStringLiteral("ACCISE");
    fr.ValA[0] = 1.2, fr.ValB[0] = 15, fr.ValC[0] = 3.9; // nothing above 15 % vol
    writeTable(ctx, QStringLiteral("ACCISE"), nullptr, {de, fr});

    writeStructure(ctx, QStringLiteral("PROTOCOLLI"), QStringLiteral("Protocolli"), 1, {{10, QStringLiteral("Numero")}});
    TRecTabella p = tableRow(1, {QStringLiteral("AB123"), QStringLiteral("S")});
    p.Ext[0] = QStringLiteral("PROTOCOLLI");
    p.ValA[0] = dates::fromDate(QDate(2019, 12, 1));
    p.ValA[1] = dates::fromDate(QDate(2020, 1, 1));
    TRecTabella q = tableRow(2, {QStringLiteral("CD456"), QStringLiteral("S"),
                                 QStringLiteral("VIDIMAZIONE CARICO E SCARICO N. 12"),
                                 QStringLiteral("VIDIMAZIONE GARANZIE N. 7")});
    q.Ext[0] = QStringLiteral("PROTOCOLLI");
    q.ValA[0] = dates::fromDate(QDate(2026, 11, 20));
    q.ValA[1] = dates::fromDate(QDate(2026, 12, 1));
    writeTable(ctx, QStringLiteral("PROTOCOLLI"), nullptr, {p, q});
}


RegisterLine& RegisterLine::sent(std::int32_t flow, QDate on)
{
    numeroFlusso = flow;
    flowDay = on.isValid() ? on : day;
    return *this;
}

RegisterLine& RegisterLine::linked(std::int32_t to, QDate on)
{
    collegato = to;
    linkedDay = on;
    return *this;
}

RegisterLine& RegisterLine::document(const char* type, const char* number, std::int32_t ead, std::int32_t line)
{
    tipoDocumento = type;
    numeroDocumento = number;
    progressivoEad = ead;
    progressivoDettaglio = line;
    return *this;
}

namespace {
RegisterLine line(std::int32_t numero, std::int32_t progressivo, QDate day, double litri, char kind)
{
    RegisterLine l;
    l.numero = numero;
    l.progressivo = progressivo;
    l.day = day;
    l.litri = litri;
    l.tipoMovimento = kind;
    return l;
}

void putI32(QByteArray& b, int off, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[off + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
}

void putF64(QByteArray& b, int off, double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i)
        b[off + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

// s[N]: the length byte N, then the text padded with spaces to N characters.
void putText(QByteArray& b, int off, int width, const QByteArray& text)
{
    b[off] = static_cast<char>(width);
    for (int i = 0; i < width; ++i)
        b[off + 1 + i] = i < text.size() ? text[i] : ' ';
}

double serial(const QDate& d)
{
    return d.isValid() ? static_cast<double>(QDate(1899, 12, 30).daysTo(d)) : 0;
}
} // namespace

RegisterLine loadLine(std::int32_t numero, std::int32_t progressivo, QDate day, double litri)
{
    return line(numero, progressivo, day, litri, 'C');
}

RegisterLine unloadLine(std::int32_t numero, std::int32_t progressivo, QDate day, double litri)
{
    return line(numero, progressivo, day, litri, 'S');
}

RegisterLine annotationLine(std::int32_t numero, std::int32_t progressivo, QDate day, double litri)
{
    RegisterLine l = line(numero, progressivo, day, litri, 'A');
    l.tipoDocumento = "ROR";
    return l;
}

RegisterLine guaranteeLine(std::int32_t numero, std::int32_t progressivo, QDate day, double impegnato)
{
    RegisterLine l = line(numero, progressivo, day, impegnato, ' ');
    l.registro = 'F';
    l.tipoDocumento = "";
    return l;
}

QByteArray registerLineBytes(const RegisterLine& l)
{
    QByteArray b(520, '\0');
    putI32(b, 0, l.numero);
    putI32(b, 4, l.collegato);
    putF64(b, 8, serial(l.flowDay));
    putI32(b, 16, l.numeroFlusso);
    putText(b, 20, 1, QByteArray(1, l.stato));
    putF64(b, 24, serial(l.day));
    putText(b, 32, 1, QByteArray(1, l.registro));
    putText(b, 34, 1, QByteArray(1, l.operazione));
    putText(b, 36, 1, {}); // tipoDestinazione
    putText(b, 38, 8, {}); // ufficioDogana
    putText(b, 47, 4, {}); // annoProtocollo
    putText(b, 52, 10, {}); // numeroProtocollo
    putI32(b, 64, l.progressivo);
    putText(b, 68, 20, {}); // prodottoAziendale
    putText(b, 89, 21, {}); // codiceProdotto
    putF64(b, 112, l.litri);
    putText(b, 152, 1, {}); // stoccaggio
    putText(b, 160, 3, l.tipoDocumento);
    putText(b, 164, 21, l.numeroDocumento);
    putText(b, 200, 2, {}); // paese
    putText(b, 203, 16, {}); // controparte
    putText(b, 220, 1, QByteArray(1, l.tipoMovimento));
    putText(b, 222, 3, {}); // causale
    putText(b, 226, 250, l.nota);
    putF64(b, 480, serial(l.linkedDay));
    putText(b, 488, 22, {}); // riferimentoLocale
    putI32(b, 512, l.progressivoEad);
    putI32(b, 516, l.progressivoDettaglio);
    return b;
}

QByteArray registerFileBytes(const QList<RegisterLine>& lines)
{
    QByteArray out;
    for (const RegisterLine& l : lines)
        out += registerLineBytes(l);
    return out;
}

void writeRegisterFile(const QString& path, const QList<RegisterLine>& lines)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(registerFileBytes(lines));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void markSent(const QString& path, const QList<std::int32_t>& numbers, double flowDate, std::int32_t flowNumber,
    Messenger& messenger)
{
    FlowRecords flow;
    const bool guarantees = path.endsWith(QStringLiteral(".GAR"), Qt::CaseInsensitive);
    QList<TRecMovimento> records;
    for (std::int32_t n : numbers)
        records << findRegisterRecords(path, n);
    if (guarantees) {
        flow.guaranteesPath = path;
        flow.guarantees = records;
    } else {
        flow.movementsPath = path;
        flow.movements = records;
    }
    MarkRegisterSent(flow, flowDate, flowNumber, messenger);
}

} // namespace vt::test
