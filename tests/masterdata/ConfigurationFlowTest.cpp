// From an empty folder to a configuration that the start-up check accepts, through the windows
// that enter the paths and the web addresses.
#include <QDir>

#include <gtest/gtest.h>

#include "foundation/CompanyRecord.h"
#include "app/MenuActions.h"
#include "foundation/RecordFile.h"
#include "masterdata/DriveWindow.h"
#include "masterdata/StartupCheck.h"
#include "masterdata/TFINDWEB.h"
#include "masterdata/TFPERCORSI.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

TEST(ConfigurationFromAnEmptyFolder, TheSettingsWindowsFillWhatTheCheckAsksFor)
{
    TestContext t;
    QStringList opened;
    const auto open = [&](const QString& name) {
        opened << name;
        return true;
    };
    const MenuItem* compile = findMenuItem(QStringLiteral("ACOMPIE815"));
    const MenuItem* registerFlow = findMenuItem(QStringLiteral("ACREAFIRINVFLUSSO"));
    ASSERT_NE(compile, nullptr);
    ASSERT_NE(registerFlow, nullptr);

    runMenuAction(*compile, t.ctx, open);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(t.messenger.infos, (QStringList{QStringLiteral("NON SONO STATI COMPILATI I DATI AZIENDALI"),
                                              QStringLiteral("NON SONO STATI INDICATI I PERCORSI DELLE APPLICAZIONI"),
                                              QStringLiteral("NON SONO STATI INDICATI I PERCORSI WEB")}));

    // The company data, as their own window stores them.
    TRecAzienda company = blankCompany();
    company.TIPOIN = QStringLiteral("1");
    company.DENOM1 = QStringLiteral("Cantina Sociale");
    RecordFile(t.ctx.datiGen(QStringLiteral("UTENTE.001")), TRecAzienda::Size).rewriteSingle(encodeCompany(company));

    {
        TFPERCORSI w(t.ctx);
        showActive(&w);
        t.dialogs.answers = {QStringLiteral("C:\\Programmi\\FirmaVerifica\\FirmaVerifica.exe"), QStringLiteral("/srv/emcs")};
        click(&w, "BLE0");
        click(&w, "BLE3");
        click(&w, "BCONF");
    }
    {
        TFINDWEB w(t.ctx);
        showActive(&w);
        for (int i = 0; i < 7; ++i) // address 7 left blank: it is optional
            typeAndEnter(&w, QStringLiteral("LE%1").arg(i).toLatin1().constData(),
                         QStringLiteral("https://indirizzo%1.example/").arg(i));
        click(&w, "BCONF");
    }
    t.messenger.infos.clear();
    EXPECT_TRUE(StartupCheck(t.ctx));
    EXPECT_EQ(t.ctx.AppConfig.Fld[1], QStringLiteral("C:\\Programmi\\FirmaVerifica\\dafirmare\\"));
    EXPECT_EQ(t.ctx.WebConfig.Fld[6], QStringLiteral("https://indirizzo6.example/"));

    runMenuAction(*compile, t.ctx, open);
    runMenuAction(*registerFlow, t.ctx, open);
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(opened, (QStringList{QStringLiteral("TFCOMPIE815"), QStringLiteral("TFCREAFIRMAINVIAREGISTRO")}));

    // The links now reach the configured addresses and program.
    runMenuAction(*findMenuItem(QStringLiteral("AEMCSPROVA")), t.ctx, open);
    runMenuAction(*findMenuItem(QStringLiteral("AFIRMAVERIFICA")), t.ctx, open);
    EXPECT_EQ(t.shell.urls, QStringList{QStringLiteral("https://indirizzo6.example/")});
    EXPECT_EQ(t.shell.programs, QStringList{QStringLiteral("C:\\Programmi\\FirmaVerifica\\FirmaVerifica.exe")});
}
