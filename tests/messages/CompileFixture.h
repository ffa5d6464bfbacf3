#pragma once
// The compilation window's test fixture: a company of kind "1" with its paths and web addresses,
// three company products (packaged still wine, packaged sparkling wine, bulk wine), a German
// excise-rate record, the menu driver that answers each modal window as it comes, and the keys a
// user types into whatever has the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/MenuActions.h"
#include "foundation/DeliveredData.h"
#include "foundation/RecordFile.h"
#include "support/Fakes.h"
#include "ui/WindowRegistry.h"

// Readable QString values in failure reports.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace vt::test {

inline TRecTabella productRow(std::int32_t num, const QString& code, const QString& text, const QString& category,
                       const QString& ta20, const QString& bulk, const QString& package, const QString& treatments,
                       double strength, double volume, double weight, int perPackage)
{
    TRecTabella p = blankRow();
    TrimRow(p);
    p.Num = num;
    p.Fld[0] = code;
    p.Fld[1] = text;
    p.Fld[2] = category;
    p.Fld[3] = "CII";
    p.Fld[4] = ta20;
    p.Fld[5] = bulk;
    p.Fld[6] = package;
    p.Fld[7] = treatments;
    p.Ext[1] = "IT/PDO/0001";
    p.Ext[2] = "Valoritalia";
    p.ValA[0] = strength;
    p.ValA[1] = volume;
    p.ValA[2] = weight;
    p.Dim[0] = perPackage;
    PadRow(p);
    return p;
}

struct CompileWindow : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;

    void SetUp() override
    {
        initDeliveredResources();
        installDeliveredData(ctx);
        TRecAzienda company = blankCompany();
        trimCompany(company);
        company.TIPOIN = "1";
        company.CACCI1 = company.CACCI2 = "IT00FIT00012S";
        company.DENOM1 = company.DENOM2 = "Cantina del Chianti srl";
        company.INDIR1 = "Via Roma";
        company.NUMCI1 = "1";
        company.C_A_P1 = "50100";
        company.CITTA1 = "FIRENZE";
        company.INDIR2 = "Via del Vino";
        company.NUMCI2 = "7";
        company.C_A_P2 = "50022";
        company.CITTA2 = "GREVE IN CHIANTI";
        company.CODUTE = "ABCD";
        company.UFFDO1 = "IT066000";
        company.UFFDO2 = "IT066100";
        company.SEZDOG = "066100";
        company.PARIVA = "01234567890";
        company.CONGAR = "GAR00012345";
        company.CAUESO = "C";
        RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).replaceAll({encodeCompany(company)});
        TRecTabella paths = blankRow();
        for (int i = 0; i < 4; ++i)
            paths.Fld[i] = t.path(QStringLiteral("fv%1/").arg(i));
        PadRow(paths);
        RecordFile(ctx.datiGen("APPL.CFG"), TRecTabella::Size).replaceAll({encodeRow(paths)});
        TRecTabella web = blankRow();
        for (int i = 0; i < 7; ++i)
            web.Fld[i] = QStringLiteral("https://example.invalid/%1").arg(i);
        PadRow(web);
        RecordFile(ctx.datiGen("WEB.CFG"), TRecTabella::Size).replaceAll({encodeRow(web)});

        // Three company products, in code order.
        RecordFile(ctx.datiGen("PRAZ.TAB"), TRecTabella::Size)
            .replaceAll({encodeRow(productRow(1, "CHIANTI75", "Chianti DOCG 2024", "1D", "W200-22042131-00-0000", "N",
                                              "CT", "01", 13.5, 0.75, 1.3, 6)),
                         encodeRow(productRow(3, "PROSECCO", "Prosecco DOC", "2I", "W300-22041015-00-0000", "N", "CT",
                                              "", 11, 0.75, 1.2, 6)),
                         encodeRow(productRow(2, "SFUSO", "Rosso sfuso", "1", "W200-22042131-00-0000", "S", "1A", "",
                                              12, 0, 0, 0))});
        // German excise: still wine 0-15 % vol at 10, sparkling 8,5-22 % vol at 136 euro/hl.
        TRecTabella de = blankRow();
        TrimRow(de);
        de.Fld[0] = "DE";
        de.ValA[0] = 0;
        de.ValB[0] = 15;
        de.ValC[0] = 10;
        de.ValA[6] = 8.5;
        de.ValB[6] = 22;
        de.ValC[6] = 136;
        de.Num = 1;
        PadRow(de);
        RecordFile(ctx.datiGen("ACCISE.TAB"), TRecTabella::Size).replaceAll({encodeRow(de)});
    }

    // Runs a menu action while `act` drives each modal window as it comes (a window not
    // expected is left with Esc, so that the test can never hang).
    void runMenu(const char* action, const std::function<bool(QWidget*)>& act)
    {
        const MenuItem* item = findMenuItem(QString::fromLatin1(action));
        ASSERT_TRUE(item);
        bool acting = false;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || acting)
                return;
            if (QApplication::activeWindow() != modal) {
                QApplication::setActiveWindow(modal); // offscreen windows are not activated by themselves
                return;
            }
            acting = true;
            if (!act(modal)) {
                ADD_FAILURE() << "unexpected window " << modal->objectName().toStdString();
                QTest::keyClick(modal, Qt::Key_Escape);
            }
            acting = false;
        });
        driver.start(10);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the windows did not close";
            while (QWidget* m = QApplication::activeModalWidget())
                static_cast<QDialog*>(m)->reject();
        });
        guard.start(60000);
        runMenuAction(*item, ctx, [this](const QString& name) { return openWindow(name, ctx, nullptr); });
    }
};

// The keys of the script go to whatever has the focus, as they would from a keyboard.
inline void key(int k)
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_TRUE(w) << "nothing has the focus";
    QTest::keyClick(w, static_cast<Qt::Key>(k));
    QApplication::processEvents();
    QApplication::processEvents();
}
inline void type(const QString& text)
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_TRUE(w);
    QTest::keyClicks(w, text);
    QApplication::processEvents();
}
// With VT_SHOT_DIR set, a picture of the window in front goes there (to look at the pages).
inline void shot(const char* name)
{
    const QString folder = qEnvironmentVariable("VT_SHOT_DIR");
    QWidget* w = QApplication::activeModalWidget();
    if (folder.isEmpty() || !w)
        return;
    QDir().mkpath(folder);
    w->grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

inline void enter(const QString& text = {}, const char* expected = nullptr)
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_TRUE(w);
    if (expected)
        EXPECT_EQ(w->objectName(), QLatin1String(expected));
    if (!text.isEmpty())
        type(text);
    key(Qt::Key_Return);
}


// The keys of a clerk, from the field named first (each checks that it has the focus).
// Page 1 from NUMFAT: a registered consignee in Germany, up to its language.
inline void keysRegisteredConsignee(const QString& invoice)
{
    enter(invoice, "NUMFAT");
    enter({}, "DATFAT");
    enter("2", "TIPDES");
    enter("DE00123456789", "COIDDE");
    enter("Weinhaus Mueller GmbH", "DENDES");
    enter("Hauptstrasse", "INDDES");
    enter("12", "NUCDES");
    enter("80331", "CAPDES");
    enter("MUENCHEN", "CITDES");
    enter("de", "LINDES");
}
// Page 2 from MODTRA: road transport for `days` days, no fallback document, today at 23:00.
inline void keysTransportTerms(const QString& days)
{
    enter("3", "MODTRA");
    enter({}, "RGIORNI");
    enter(days, "DURGIO");
    enter({}, "INVDIF");
    enter({}, "DATSPE");
    enter({}, "ORASPE");
}
// One transport line from NDETRA, confirmed with Enter on "Conferma il dettaglio".
inline void keysTransportLine(const QString& plate, const QString& seal = {}, const QString& sealInfo = {},
                              const QString& more = {})
{
    enter({}, "NDETRA");
    enter("2", "UNITRA");
    enter(plate, "IDUNTR");
    enter(seal, "SIGTRA");
    enter(sealInfo, "INSITR");
    enter(more, "INAGTR");
    enter({}, "BCONFTRA");
}
// No further line: an empty unit moves on to "Dettagli Finiti" (not pressed).
inline void keysTransportLinesDone()
{
    enter({}, "NDETRA");
    enter({}, "UNITRA");
}

} // namespace vt::test
