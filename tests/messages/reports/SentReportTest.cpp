// The report of sent messages: lines written by hand from the layout for each of the four kinds,
// the period, and the yearly files read but never created.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "messages/reports/SentReport.h"
#include "support/Fakes.h"

// Readable QString values in failure reports.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

using namespace vt;
using namespace vt::test;

namespace {

const QString Arc = QStringLiteral("26ITQXY00012345678901");

// An e-AD to a Munich consignee sent in flow 3 of 10/12/2026, dispatched on 09/12/2026.
TRecEad sent(double flowDate, int flowNumber, const QString& state)
{
    TRecEad r = blankEad();
    r.progressivo = 1;
    r.dataFlusso = flowDate;
    r.numeroFlusso = flowNumber;
    r.stato = state;
    r.ARC = Arc;
    r.NUMFAT = QStringLiteral("F123/2026-ABCDEFGHIJ");
    r.DATSPE = dates::fromDate(QDate(2026, 12, 9));
    r.COIDDE = QStringLiteral("DE00XYZ00456Y");
    r.DENDES = QStringLiteral("Weinhaus Müller GmbH");
    eadToStoredForm(r);
    return r;
}

double day(int d, int m = 12)
{
    return dates::fromDate(QDate(2026, m, d));
}

const QString Title815 = "  MESSAGGI IE815 INVIATI DAL 01/12/2026  AL 10/12/2026 RIFERITI ALLE SPEDIZIONI DEL 2026";
const QStringList Head815 = {
    QString(110, '-'),
    "|FLUSSO INVIATO|  STATO   |        N° ARC       |   DATA   |    NUMERO     |                                 |",
    "|   DATA   | N°| E.M.C.S. |                     |SPEDIZIONE|   DOCUMENTO   |           DESTINATARIO          |",
    "|----------|---|----------|---------------------|----------|---------------|---------------------------------|"};

} // namespace

TEST(SentReport, Ie815RowsOfThePeriodWithTheirStates)
{
    const QList<TRecEad> records = {
        sent(day(10), 3, "I"), sent(day(1), 12, "0"), sent(day(30, 11), 1, "I"), // the last is before the period
        sent(day(5), 2, " "),  sent(0, 0, " "),                                   // built, never sent; never built
    };
    const QStringList lines = sentReportLines(SentKind::IE815, "2026", QDate(2026, 12, 1), QDate(2026, 12, 10), records);
    const QString party = QStringLiteral("DE00XYZ00456Y Weinhaus Müller Gmb"); // cut to 33
    QStringList expected = {Title815, " "};
    expected << Head815;
    expected << "|10/12/2026| 3 |INVIATO   |" + Arc + "|09/12/2026|F123/2026-ABCDE|" + party + "|";
    expected << "|01/12/2026|12 |CANCELLATO|" + Arc + "|09/12/2026|F123/2026-ABCDE|" + party + "|";
    expected << "|05/12/2026| 2 |          |" + Arc + "|09/12/2026|F123/2026-ABCDE|" + party + "|";
    expected << Head815.last();
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines[4].size(), 110);
}

TEST(SentReport, AnEmptyPeriodShowsTheHeadAndTheSeparatorTwice)
{
    const QStringList lines = sentReportLines(SentKind::IE813, "2026", QDate(2026, 12, 1), QDate(2026, 12, 10), {});
    QStringList expected = {"  MESSAGGI IE813 INVIATI DAL 01/12/2026  AL 10/12/2026 RIFERITI ALLE SPEDIZIONI DEL 2026", " "};
    expected << Head815 << Head815.last();
    EXPECT_EQ(lines, expected);
}

TEST(SentReport, Ie810FitsTheReasonTo26Characters)
{
    TRecEad longReason = sent(day(9), 1, "I");
    longReason.MOTANN() = "4";
    longReason.descrizioneMotivo() = QStringLiteral("La circolazione non è iniziata alla data di spedizione").leftJustified(100);
    TRecEad shortReason = sent(day(9), 2, "I");
    shortReason.MOTANN() = "0";
    shortReason.descrizioneMotivo() = QStringLiteral("Altro").leftJustified(100);
    // A cancellation whose IE810 was built but never sent is no sent message.
    TRecEad unsent = sent(day(9), 3, " ");
    const QStringList lines = sentReportLines(SentKind::IE810, "2026", QDate(2026, 12, 9), QDate(2026, 12, 9),
                                              {longReason, shortReason, unsent});
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[2], QString(110, '-'));
    EXPECT_EQ(lines[3], "|FLUSSO INVIATO|   MOTIVO ANNULLAMENTO    |        N° ARC       |   DATA   |                                 |");
    const QString party = QStringLiteral("DE00XYZ00456Y Weinhaus Müller Gmb");
    EXPECT_EQ(lines[6], "|09/12/2026| 1 |4 La circolazione non è in|" + Arc + "|09/12/2026|" + party + "|");
    // A short reason is padded to the column, so every row lines up with the head.
    EXPECT_EQ(lines[7], "|09/12/2026| 2 |0 Altro" + QString(19, ' ') + "|" + Arc + "|09/12/2026|" + party + "|");
    EXPECT_EQ(lines[6].size(), 110);
    EXPECT_EQ(lines[7].size(), 110);
    EXPECT_EQ(lines[8], "|----------|---|--------------------------|---------------------|----------|---------------------------------|");
}

TEST(SentReport, Ie818ShowsTheOutcomeTheDateOfReceiptAndTheSender)
{
    TRecEad report = blankEad();
    report.dataFlusso = day(10);
    report.numeroFlusso = 7;
    report.ARC = Arc;
    report.LINPRG = "21";                           // outcome of receipt (offset 2679)
    report.IMGPRO = day(8);                         // date of receipt (offset 2120)
    report.accisaSpeditore = "FR00ABC00999Z";       // sender (offset 116)
    report.denominazioneSpeditore = "Domaine du Sud";
    report.stato = "I";
    eadToStoredForm(report);
    TRecEad unsent = report; // its flow built, its transmission abandoned
    unsent.stato = " ";
    const QStringList lines =
        sentReportLines(SentKind::IE818, "2026", QDate(2026, 12, 1), QDate(2026, 12, 31), {report, unsent});
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "  MESSAGGI IE818 INVIATI DAL 01/12/2026  AL 31/12/2026 RIFERITI ALLE SPEDIZIONI DEL 2026");
    EXPECT_EQ(lines[2], QString(89, '-'));
    EXPECT_EQ(lines[6], "|10/12/2026| 7 |  21 |" + Arc + "|08/12/2026|FR00ABC00999Z Domaine du Sud" + QString(5, ' ') + "|");
    EXPECT_EQ(lines[6].size(), 89);
    EXPECT_EQ(lines[7], "|----------|---|-----|---------------------|----------|---------------------------------|");
}

TEST(SentReport, TheYearAndThePeriodChecks)
{
    EXPECT_TRUE(checkReportYear("2026").ok);
    for (const char* year : {"", "207", "2007", "2061", "20a6"})
        EXPECT_EQ(checkReportYear(year).focus, "LANNO") << year;
    EXPECT_TRUE(checkReportPeriod(QDate(2026, 12, 1), QDate(2026, 12, 1)).ok);
    EXPECT_EQ(checkReportPeriod(QDate(), QDate(2026, 12, 1)).focus, "DALLA");
    EXPECT_EQ(checkReportPeriod(QDate(2026, 12, 2), QDate(2026, 12, 1)).focus, "ALLA");
    EXPECT_EQ(sentKindOf('2'), SentKind::IE810);
    EXPECT_EQ(sentReportCaption(SentKind::IE818), "Ricerca dei flussi IE818 inviati");
}

TEST(SentReport, TheReportFileIsWrittenAndNoYearlyFileIsCreated)
{
    TestContext t;
    for (const char* year : {"2026", "", "1999"}) {
        const QStringList lines = writeSentReport(t.ctx, SentKind::IE810, year, QDate(2026, 12, 1), QDate(2026, 12, 10));
        EXPECT_EQ(lines.size(), 7) << year;
    }
    EXPECT_TRUE(QDir(t.ctx.RegistriFolder).isEmpty()) << QDir(t.ctx.RegistriFolder).entryList().join(",").toStdString();

    RecordFile(t.ctx.registri("2026_815_A.DAT"), TRecEad::Size).append(encodeEad(sent(day(10), 3, "I")));
    writeSentReport(t.ctx, SentKind::IE815, "2026", QDate(2026, 12, 1), QDate(2026, 12, 10));
    QFile report(sentReportPath(t.ctx));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QByteArray bytes = report.readAll();
    EXPECT_TRUE(bytes.startsWith(Title815.toLatin1() + "\r\n \r\n" + QByteArray(110, '-') + "\r\n|FLUSSO INVIATO|"));
    EXPECT_TRUE(bytes.contains("|10/12/2026| 3 |INVIATO   |" + Arc.toLatin1() + "|09/12/2026|F123/2026-ABCDE|DE00XYZ00456Y Weinhaus M\xfcller Gmb|\r\n"));
}
