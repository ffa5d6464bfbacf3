#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "messages/flows/FlowName.h"

using namespace vt;

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(FlowName, NameHasUserCodeMonthDayAndTwoDigitNumber)
{
    EXPECT_EQ(flow::flowName("ABCD", QDate(2026, 12, 9), 3), "ABCD1209.C03");
    EXPECT_EQ(flow::flowName("XYZW", QDate(2027, 1, 1), 10), "XYZW0101.C10");
    EXPECT_EQ(flow::flowName("AB12", QDate(2026, 3, 15), 99), "AB120315.C99");
}

TEST(FlowName, NoValidNumberGivesErrore)
{
    for (int n : {0, -1, 100})
        EXPECT_EQ(flow::flowName("ABCD", QDate(2026, 12, 9), n), "ERRORE") << n;
    EXPECT_EQ(flow::flowName("ABCD", QDate(), 3), "ERRORE");
}

TEST(FlowName, OutcomeNameHasJInTheTenthPlace)
{
    EXPECT_EQ(flow::outcomeName(flow::signedName("ABCD1209.C03")), "ABCD1209.J03.p7m");
    EXPECT_EQ(flow::outcomeName("XYZW0101.C10.p7m"), "XYZW0101.J10.p7m");
}

TEST(FlowName, HostileUserCodesAreRefusedWithAMessage)
{
    const QStringList hostile = {"../x", "..\\A", "A/BC", "A\\BC", "..", "AB.C", "A:BC", "A*BC",
                                 "AB C", "", "ABC", "ABCDE", QString("AB") + QChar(0) + "C",
                                 QString::fromUtf8("ABÇD"), "A<>B", "A|BC", "A\"BC"};
    for (const QString& code : hostile) {
        EXPECT_FALSE(flow::userCodeProblem(code).isEmpty()) << code.toStdString();
        EXPECT_EQ(flow::flowName(code, QDate(2026, 12, 9), 1), "ERRORE") << code.toStdString();
    }
    EXPECT_TRUE(flow::userCodeProblem("ABCD").isEmpty());
    EXPECT_TRUE(flow::userCodeProblem("a1b2").isEmpty());
    EXPECT_TRUE(flow::userCodeProblem("../x").contains("CODICE UTENTE"));
}

TEST(FlowName, ProposedNumberFollowsTheSignedFilesOfTheDay)
{
    QTemporaryDir dir;
    const QDate day(2026, 12, 9);
    EXPECT_EQ(flow::proposedNumber(dir.path(), "ABCD", day), 1);

    touch(dir.filePath("ABCD1209.C01.p7m"));
    touch(dir.filePath("ABCD1209.C02.p7m"));
    EXPECT_EQ(flow::proposedNumber(dir.path(), "ABCD", day), 3);

    // Other days, other users and outcome files do not count.
    touch(dir.filePath("ABCD1208.C40.p7m"));
    touch(dir.filePath("ABCD1210.C50.p7m"));
    touch(dir.filePath("WXYZ1209.C60.p7m"));
    touch(dir.filePath("ABCD1209.J70.p7m"));
    EXPECT_EQ(flow::proposedNumber(dir.path(), "ABCD", day), 3);

    // The number stops at the first non-digit; no digit counts 0; case is ignored.
    touch(dir.filePath("abcd1209.c7x.p7m"));
    touch(dir.filePath("ABCD1209.Cxx"));
    EXPECT_EQ(flow::proposedNumber(dir.path(), "ABCD", day), 8);
    touch(dir.filePath("ABCD1209.C12.p7m"));
    EXPECT_EQ(flow::proposedNumber(dir.path(), "ABCD", day), 13);
}

TEST(FlowName, ConfiguredFoldersAcceptEitherSeparator)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("firmati"));
    touch(dir.filePath("firmati/ABCD1209.C04.p7m"));
    const QString withBackslash = QString(dir.path()).replace('/', '\\') + "\\firmati\\";
    EXPECT_EQ(flow::proposedNumber(withBackslash, "ABCD", QDate(2026, 12, 9)), 5);
    EXPECT_EQ(flow::proposedNumber("  " + dir.path() + "/firmati/ ", "ABCD", QDate(2026, 12, 9)), 5);
    EXPECT_EQ(flow::pathIn(dir.path() + "/firmati/", "X.p7m"), dir.path() + "/firmati/X.p7m");
}
