#include "support/EadFixtures.h"

#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadStore.h"

namespace vt::test {

TRecEad sampleEadHeader(const QDate& dispatch)
{
    TRecEad h = blankEad();
    eadToWorkingForm(h);
    h.LINGUA = QStringLiteral("it");
    h.TIPMES = QStringLiteral("1");
    h.TIPDES = QStringLiteral("1");
    h.unitaDurata = 0;
    h.durata = 2;
    h.RESTRA = QStringLiteral("1");
    h.INVDIF = QStringLiteral("N");
    h.accisaSpeditore = QStringLiteral("IT00FIT00012S");
    h.denominazioneSpeditore = QStringLiteral("CANTINA DEL CHIANTI SRL");
    h.indirizzoSpeditore = QStringLiteral("VIA DEL VINO");
    h.civicoSpeditore = QStringLiteral("7");
    h.capSpeditore = QStringLiteral("50022");
    h.cittaSpeditore = QStringLiteral("GREVE IN CHIANTI");
    h.SEDELS = QStringLiteral("001");
    h.COIDLS = h.accisaSpeditore;
    h.DENLSP = h.denominazioneSpeditore;
    h.INDLSP = h.indirizzoSpeditore;
    h.NUCLSP = h.civicoSpeditore;
    h.CAPLSP = h.capSpeditore;
    h.CITLSP = h.cittaSpeditore;
    h.UFFSPE = QStringLiteral("IT066100");
    h.ufficioCompetente = h.UFFSPE;
    h.COIDDE = QStringLiteral("DE00123456789");
    h.DENDES = QStringLiteral("WEINHAUS MÜLLER GMBH");
    h.INDDES = QStringLiteral("HAUPTSTRASSE");
    h.NUCDES = QStringLiteral("12");
    h.CAPDES = QStringLiteral("80331");
    h.CITDES = QStringLiteral("MÜNCHEN");
    h.LINDES = QStringLiteral("de");
    h.MODTRA = QStringLiteral("3");
    h.NUMFAT = QStringLiteral("FT/125");
    h.DATFAT = dates::fromDate(dispatch);
    h.tipoSpeditore = QStringLiteral("1");
    h.DATSPE = dates::fromDate(dispatch);
    h.ORASPE = QStringLiteral("23:00");
    h.TIPGAR = QStringLiteral("1");
    h.GARSPE = QStringLiteral("GAR00012345");
    h.TGASPE = QStringLiteral("C");
    h.IMGASP = 125.5;
    return h;
}

TRecDettaglio sampleTransportLine(int n)
{
    TRecDettaglio l = blankLine();
    lineToWorkingForm(l);
    l.numero = n;
    l.UNITRA() = QStringLiteral("1");
    l.SIGTRA() = QStringLiteral("SIGILLO %1").arg(n);
    l.INSITR() = QStringLiteral("SIGILLI INTEGRI %1").arg(n);
    l.IDUNTR() = QStringLiteral("AB12%1 CD").arg(n);
    l.INAGTR() = QStringLiteral("NOTA TRASPORTO %1").arg(n);
    return l;
}

TRecDettaglio sampleProductLine(int n)
{
    TRecDettaglio l = blankLine();
    lineToWorkingForm(l);
    l.numero = n;
    l.categoria = QStringLiteral("1");
    l.CODIMB = QStringLiteral("CT");
    l.zona = QStringLiteral("C01");
    l.COAZPR = QStringLiteral("PRAZ0%1").arg(n);
    l.LEDEPR = QStringLiteral("CHIANTI CLASSICO %1").arg(n);
    l.META20 = QStringLiteral("W200-22042138-00-0000");
    l.trattamenti = QStringLiteral("1");
    l.NUMIMB = 20;
    l.NUMCON = 120;
    l.VOLCON = 0.75;
    l.TOTLIT = 90;
    l.GRADOA = 13.5;
    l.PNETTO = 90;
    l.PLORDO = 150;
    return l;
}

void writeWorkFiles(const AppContext& ctx, const QList<TRecDettaglio>& transport,
                    const QList<TRecDettaglio>& products)
{
    auto write = [](const QString& path, const QList<TRecDettaglio>& lines) {
        QList<QByteArray> records;
        for (const auto& l : lines)
            records << encodeLine(l);
        RecordFile(path, TRecDettaglio::Size).replaceAll(records);
    };
    write(ctx.temp(QStringLiteral("TRASPORTO.DAT")), transport);
    write(ctx.temp(QStringLiteral("PRODOTTI.DAT")), products);
}

void writeWorkFiles(const AppContext& ctx, int nTransport, int mProducts)
{
    QList<TRecDettaglio> t, p;
    for (int i = 1; i <= nTransport; ++i)
        t << sampleTransportLine(i);
    for (int i = 1; i <= mProducts; ++i)
        p << sampleProductLine(i);
    writeWorkFiles(ctx, t, p);
}

TRecEad saveSampleEad(AppContext& ctx, int nTransport, int mProducts, const QDate& dispatch)
{
    writeWorkFiles(ctx, nTransport, mProducts);
    return saveEad(ctx, sampleEadHeader(dispatch), QString());
}

QList<TRecDettaglio> readLineFile(const QString& path)
{
    QList<TRecDettaglio> out;
    for (const QByteArray& rec : RecordFile(path, TRecDettaglio::Size).readAll())
        out << decodeLine(rec);
    return out;
}

QList<TRecEad> readHeaderFile(const QString& path)
{
    QList<TRecEad> out;
    for (const QByteArray& rec : RecordFile(path, TRecEad::Size).readAll())
        out << decodeEad(rec);
    return out;
}

} // namespace vt::test
