#include <gtest/gtest.h>

#include "foundation/RecordFile.h"
#include "foundation/TableRecord.h"
#include "masterdata/StartupCheck.h"
#include "support/Fakes.h"

using namespace vt;

namespace {
void writeCompany(test::TestContext& t, const QString& type)
{
    TRecAzienda r = blankCompany();
    r.DENOM1 = QStringLiteral("Cantina Sociale");
    r.TIPOIN = type;
    RecordFile(t.ctx.datiGen(QStringLiteral("UTENTE.001")), TRecAzienda::Size).rewriteSingle(encodeCompany(r));
}

void writeConfig(test::TestContext& t, const QString& name, const QStringList& texts)
{
    TRecTabella row = blankRow();
    for (int i = 0; i < texts.size(); ++i)
        row.Fld[i] = texts[i];
    PadRow(row);
    RecordFile(t.ctx.datiGen(name), TRecTabella::Size).rewriteSingle(encodeRow(row));
}

const QStringList appPaths = {QStringLiteral("C:\\FV\\FirmaVerifica.exe"), QStringLiteral("C:\\FV\\dafirmare\\"),
                              QStringLiteral("C:\\FV\\firmati\\"), QStringLiteral("C:\\EMCS\\")};
const QStringList webSeven = {QStringLiteral("https://seed.example"), QStringLiteral("https://uffici.example"),
                              QStringLiteral("https://accise.example"), QStringLiteral("https://edi.example"),
                              QStringLiteral("https://emcs.example"), QStringLiteral("https://prova.example"),
                              QStringLiteral("https://emcsprova.example")};
} // namespace

TEST(StartupCheck, EmptyFolderShowsTheThreeMessagesInOrder)
{
    test::TestContext t;
    EXPECT_FALSE(StartupCheck(t.ctx));
    EXPECT_EQ(t.messenger.infos, (QStringList{QStringLiteral("NON SONO STATI COMPILATI I DATI AZIENDALI"),
                                              QStringLiteral("NON SONO STATI INDICATI I PERCORSI DELLE APPLICAZIONI"),
                                              QStringLiteral("NON SONO STATI INDICATI I PERCORSI WEB")}));
    // Readers never create the files they miss.
    EXPECT_FALSE(QFile::exists(t.ctx.datiGen(QStringLiteral("APPL.CFG"))));
}

TEST(StartupCheck, CompleteDataPassesAndLoadsTheContextTrimmed)
{
    test::TestContext t;
    writeCompany(t, QStringLiteral("1"));
    writeConfig(t, QStringLiteral("APPL.CFG"), appPaths);
    writeConfig(t, QStringLiteral("WEB.CFG"), webSeven); // address 7 blank: optional
    EXPECT_TRUE(StartupCheck(t.ctx));
    EXPECT_TRUE(t.messenger.all.isEmpty());
    EXPECT_EQ(t.ctx.CompanyRecord.DENOM1, QStringLiteral("Cantina Sociale"));
    EXPECT_EQ(t.ctx.AppConfig.Fld[2], QStringLiteral("C:\\FV\\firmati\\"));
    EXPECT_EQ(t.ctx.WebConfig.Fld[6], QStringLiteral("https://emcsprova.example"));
    EXPECT_EQ(t.ctx.WebConfig.Fld[7], QString());
}

TEST(StartupCheck, EachMissingPieceGivesOnlyItsMessage)
{
    struct Case {
        const char* what;
        QString type;
        QStringList app, web;
        QString message;
    };
    QStringList appNoDownload = appPaths;
    appNoDownload[3] = QStringLiteral("   ");
    QStringList webNoSix = webSeven;
    webNoSix[6] = QString();
    const Case cases[] = {
        {"type 3 is no authorisation", QStringLiteral("3"), appPaths, webSeven, QString::fromLatin1(MsgNoCompany)},
        {"type 2 is valid, download folder blank", QStringLiteral("2"), appNoDownload, webSeven,
         QString::fromLatin1(MsgNoAppPaths)},
        {"address 6 blank", QStringLiteral("1"), appPaths, webNoSix, QString::fromLatin1(MsgNoWebPaths)},
    };
    for (const Case& c : cases) {
        test::TestContext t;
        writeCompany(t, c.type);
        writeConfig(t, QStringLiteral("APPL.CFG"), c.app);
        writeConfig(t, QStringLiteral("WEB.CFG"), c.web);
        EXPECT_FALSE(StartupCheck(t.ctx)) << c.what;
        EXPECT_EQ(t.messenger.infos, QStringList{c.message}) << c.what;
    }
}

TEST(StartupCheck, DamagedConfigurationIsReportedNotTreatedAsBlank)
{
    test::TestContext t;
    writeCompany(t, QStringLiteral("1"));
    QFile f(t.ctx.datiGen(QStringLiteral("APPL.CFG")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();
    EXPECT_THROW(StartupCheck(t.ctx), IoError);
    EXPECT_EQ(QFileInfo(f.fileName()).size(), 100);
}
