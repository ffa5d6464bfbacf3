// Attachments written by hand from the outcome layouts: message layout lines start with "I" and
// carry the verdict at 51; the register layout has the "ALCOAV" file record with its verdict at 43.
#include <gtest/gtest.h>

#include "messages/transmission/OutcomeParser.h"

using namespace vt;
using namespace vt::outcome;

namespace {

// A line with text placed at 1-based positions, blanks elsewhere.
QByteArray line(std::initializer_list<std::pair<int, const char*>> pieces)
{
    QByteArray l;
    for (const auto& [pos, text] : pieces) {
        if (l.size() < pos - 1)
            l.append(QByteArray(pos - 1 - l.size(), ' '));
        l.replace(pos - 1, qstrlen(text), text);
    }
    return l;
}

} // namespace

TEST(OutcomeParser, PositiveIE815GivesTheArcFrom52To72)
{
    //                    1   5                                         46  50 51                  72
    const QByteArray positiveLine = line({{1, "IE815IT00ABC00001X     LRN-2026-0001"},
                                          {46, "A0001P26ITB0000000000123457"},
                                          {112, "MESSAGGIO ACCETTATO"}});
    ASSERT_EQ(positiveLine.mid(50, 1), "P");
    const QByteArray att = "testata ignorata\r\n" + positiveLine + "\r\n";
    Outcome o = parse(att, FlowKind::IE815);
    EXPECT_EQ(o.result, "26ITB0000000000123457");
    EXPECT_EQ(o.details, (QStringList{"ARC ATTRIBUITO:  26ITB0000000000123457", "   *** ESITO POSITIVO *** ",
                                      "IE815", "TIPO RECORD:    A", "N° PROGRESSIVO: 0001",
                                      "NOTE:           MESSAGGIO ACCETTATO"}));
}

TEST(OutcomeParser, PositiveOtherMessagesGiveEsitoPositivo)
{
    const QByteArray att = line({{1, "IE810"}, {46, "D0001P"}}) + "\n";
    for (FlowKind k : {FlowKind::IE810, FlowKind::IE813, FlowKind::IE818}) {
        Outcome o = parse(att, k);
        EXPECT_EQ(o.result, "ESITO POSITIVO");
        EXPECT_EQ(o.details.first(), "   *** ESITO POSITIVO *** ");
        EXPECT_EQ(o.details.last(), "NOTE:           "); // the line ends before 112
    }
}

TEST(OutcomeParser, NoLineStartingWithILeavesNegativeAndNoDetails)
{
    for (const QByteArray& att : {QByteArray(), QByteArray("XE815 qualcosa\r\n \r\nESITO\r\n"),
                                 QByteArray(" IE815" + QByteArray(60, 'P'))}) {
        Outcome o = parse(att, FlowKind::IE815);
        EXPECT_EQ(o.result, "ESITO NEGATIVO");
        EXPECT_TRUE(o.details.isEmpty());
    }
}

TEST(OutcomeParser, NegativeLineShowsEveryLabelledPiece)
{
    const QByteArray neg = line({{1, "IE815"},
                                 {46, "A0002N"},
                                 {52, "B"},
                                 {53, "003"},
                                 {56, "C"},
                                 {57, "004"},
                                 {60, "0005"},
                                 {64, "QUANTITA'"},
                                 {114, "E"},
                                 {115, "123"},
                                 {118, "VALORE NON AMMESSO"}});
    Outcome o = parse(neg + "\r\n", FlowKind::IE815);
    EXPECT_EQ(o.result, "ESITO NEGATIVO");
    EXPECT_EQ(o.details,
              (QStringList{"   ///// ESITO NEGATIVO \\\\\\\\\\ ", "IE815", "TIPO RECORD:    A",
                           "N° PROGRESSIVO: 0002", "T. RECORD SEC.  B", "N° PROGRESSIVO: 003",
                           "TIPO ITERAZIONE C", "N° PROGRESSIVO: 004", "N° PROGR. RIGA: 0005",
                           "DESCR. CAMPO:   QUANTITA'                                         ",
                           "TIPO D'ERRORE:  E", "NUMERO ERRORE:  123", "DESCRIZ. ERRORE VALORE NON AMMESSO"}));
    // A negative line after a positive one keeps the ARC found.
    const QByteArray pos = line({{1, "IE815"}, {46, "A0001P26ITB0000000000123457"}});
    EXPECT_EQ(parse(pos + "\r\n" + neg, FlowKind::IE815).result, "26ITB0000000000123457");
}

TEST(OutcomeParser, RegisterFileRecordVerdictAndSignalLines)
{
    struct Case {
        const char* verdict;
        QString result;
    };
    for (const Case& c : {Case{"0", "ESITO POSITIVO"}, Case{"1", "ESITO NEGATIVO - SCARTATO"}}) {
        // 1-6 ALCOAV, 28-42 registration number, 43 verdict, 44.. text.
        const QByteArray file = line({{1, "ALCOAVIT00ABC00001X00000000"}, {28, "000000000004711"}, {43, c.verdict},
                                      {44, "ELABORATO"}});
        const QByteArray att = "intestazione\r\n" + file + "\r\n SPRIMA SEGNALAZIONE\r\n EERRORE DI RIGA\r\n"
                               " XALTRO\r\nNON CONSIDERATA\r\n";
        Outcome o = parse(att, FlowKind::Register);
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.details, (QStringList{"N° REGISTRAZIONE DEL FILE: 000000000004711", c.result, "ELABORATO",
                                          " SPRIMA SEGNALAZIONE",
                                          "ACCETTATO CON SEGNALAZIONI: PRIMA SEGNALAZIONE",
                                          "ERRORE SCARTATO: ERRORE DI RIGA"}));
    }
}

TEST(OutcomeParser, RegisterSignalLinesBeforeTheFileRecordAreIgnored)
{
    const QByteArray att = " SPRIMA\r\n" + line({{1, "ALCOAV"}, {28, "000000000000001"}, {43, "0"}});
    Outcome o = parse(att, FlowKind::Register);
    EXPECT_EQ(o.result, "ESITO POSITIVO");
    EXPECT_EQ(o.details, (QStringList{"N° REGISTRAZIONE DEL FILE: 000000000000001", "ESITO POSITIVO", ""}));
    EXPECT_EQ(parse(" SPRIMA\r\nIE815 ...\r\n", FlowKind::Register).result, "ESITO NEGATIVO");
}

TEST(OutcomeParser, DetailsAreWindows1252WithCrLf)
{
    EXPECT_EQ(detailsBytes({"N° 1", "x"}), QByteArray("N\xB0 1\r\nx\r\n"));
    EXPECT_EQ(splitLines(QByteArray("N\xB0 1\r\nb\nc")), (QStringList{"N° 1", "b", "c"}));
}

// Several records answered positively: the ARC is the first well-formed one (21 letters and
// digits), and a later line with a blank or cut ARC neither replaces it nor makes the outcome
// negative.
TEST(OutcomeParser, ALaterPositiveLineNeverReplacesAWellFormedArc)
{
    const char* arc = "26ITB0000000000123457";
    auto positiveWith = [](const char* from52) { return line({{1, "IE815"}, {46, "A0001P"}, {52, from52}}) + "\r\n"; };
    const QByteArray good = positiveWith(arc);
    const QByteArray blank = positiveWith("                     ");
    const QByteArray cut = line({{1, "IE815"}, {46, "C0002P26ITB00"}}) + "\r\n"; // the line ends at 59
    const QByteArray none = line({{1, "IE815"}, {46, "C0003P"}}) + "\r\n";      // ends at 51
    const QByteArray other = positiveWith("26ITC9999999999999990");
    struct Case {
        const char* what;
        QByteArray attachment;
        QString result, arc;
    };
    const std::vector<Case> cases = {
        {"valid, then blank", good + blank, arc, arc},
        {"valid, then cut", good + cut, arc, arc},
        {"valid, then no ARC at all", good + none, arc, arc},
        {"blank, then valid", blank + good, arc, arc},
        {"valid, then another valid", good + other, arc, arc},
        {"only a blank ARC", blank, "ESITO POSITIVO", ""},
        {"only a cut ARC", cut + none, "ESITO POSITIVO", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome o = parse(c.attachment, FlowKind::IE815);
        EXPECT_TRUE(o.positive);
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.arc, c.arc);
        // Every positive line is still reported; a blank or cut ARC never as "ARC ATTRIBUITO".
        EXPECT_EQ(o.details.filter("*** ESITO POSITIVO ***").size(), c.attachment.count("\r\n"));
        for (const QString& d : o.details.filter("ARC ATTRIBUITO:"))
            EXPECT_TRUE(d == "ARC ATTRIBUITO:  " + QString(arc) || d == "ARC ATTRIBUITO:  26ITC9999999999999990")
                << d.toStdString();
    }
    EXPECT_FALSE(parse(line({{1, "IE815"}, {46, "A0001N"}}), FlowKind::IE815).positive);
}
