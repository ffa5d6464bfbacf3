#include "register/RegisterFixture.h"

#include "foundation/CompanyRecord.h"
#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
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
    TRecTabella q = tableRow(2, {QStringLiteral("CD456"), QStringLiteral("S")});
    q.Ext[0] = QStringLiteral("PROTOCOLLI");
    q.ValA[0] = dates::fromDate(QDate(2026, 11, 20));
    q.ValA[1] = dates::fromDate(QDate(2026, 12, 1));
    writeTable(ctx, QStringLiteral("PROTOCOLLI"), nullptr, {p, q});
}

} // namespace vt::test
