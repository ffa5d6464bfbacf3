// The "I&ndirizzario" menu end to end: each action, the address-pick sequence and the real
// windows reached by name, driven while they are shown modally.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/WindowRegistry.h"
#include "foundation/AddressFile.h"
#include "app/MenuActions.h"
#include "foundation/MenuTable.h"
#include "foundation/RecordFile.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
QStringList names(const QString& path)
{
    QStringList out;
    for (const QByteArray& r : RecordFile(path, 608).readAll())
        out << QStringLiteral("%1:%2").arg(RecordFile::numberOf(r)).arg(decodeCompany(r).DENOM1);
    return out;
}

TRecIndirizzo address(const char* name)
{
    TRecIndirizzo r = blankCompany();
    r.DENOM1 = QString::fromLatin1(name);
    r.CACCI1 = QStringLiteral("IT00RMV000001");
    r.CACCI2 = QStringLiteral("01234567890");
    r.INDIR1 = QStringLiteral("Via Roma");
    r.NUMCI1 = QStringLiteral("1");
    r.C_A_P1 = QStringLiteral("00100");
    r.CITTA1 = QStringLiteral("ROMA");
    r.SEZDOG = QStringLiteral("it");
    r.TIPOIN = QStringLiteral("2");
    r.CAUESO = QStringLiteral("C");
    r.CONGAR = QStringLiteral("CG");
    return r;
}

void type(QWidget* w, const char* name, const QString& text)
{
    auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(e, nullptr) << name;
    e->setFocus();
    QApplication::processEvents();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
}

void click(QWidget* w, const char* name)
{
    auto* b = w->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(b, nullptr) << name;
    b->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}

struct MenuRun {
    QStringList opened;       // windows asked for, in order
    QStringList shown;        // objectNames of the modal windows actually driven
};

// Runs the action: the listing answers with pickedCode; every other window is opened through
// the registry and, once modal, handed to drive.
MenuRun runAction(AppContext& ctx, const char* action, std::int32_t pickedCode, const std::function<void(QWidget*)>& drive)
{
    MenuRun run;
    const MenuItem* item = findMenuItem(QString::fromLatin1(action));
    EXPECT_NE(item, nullptr) << action;
    if (!item)
        return run;
    runMenuAction(*item, ctx, [&](const QString& name) {
        run.opened << name;
        if (name == QLatin1String("TFLISTVIEW")) {
            ctx.PickedCode = pickedCode;
            return true;
        }
        QTimer::singleShot(0, [&] {
            QWidget* w = QApplication::activeModalWidget();
            ASSERT_NE(w, nullptr);
            run.shown << w->objectName();
            drive(w);
            if (w->isVisible())
                w->close();
        });
        return openWindow(name, ctx, nullptr);
    });
    return run;
}
} // namespace

class AddressMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("T001"), QStringLiteral("Lingue"), 1,
                       {{2, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        appendRow(t.ctx, QStringLiteral("T001"), {QStringLiteral("it"), QStringLiteral("italiano")});
        writeStructure(t.ctx, QStringLiteral("T015"), QStringLiteral("Tipi"), 1,
                       {{1, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        appendRow(t.ctx, QStringLiteral("T015"), {QStringLiteral("2"), QStringLiteral("destinatario registrato")});
    }
    QString file(const char* name) const { return t.ctx.datiGen(QString::fromLatin1(name) + QStringLiteral(".DAT")); }
    TestContext t;
};

TEST_F(AddressMenu, EveryItemReachesARegisteredWindowOfItsFile)
{
    WindowRegistry registry;
    wireWindows(registry);
    struct Case {
        const char* action;
        const char* window;
        const char* table; // "" = not set by the action
    };
    const Case cases[] = {
        {"AINSDEST", "TFINSDESTINATARI", ""},          {"AMODDESTIN", "TFMODDESTINATARI", "INDIRIZZI_D"},
        {"ACANCDESTIN", "TFCANCDESTIN", "INDIRIZZI_D"}, {"AINSTRASP", "TFINSINDIRIZZO", "INDIRIZZI_T"},
        {"AMODTRASP", "TFMODINDIRIZZO", "INDIRIZZI_T"}, {"ACANCTRASP", "TFCANCDESTIN", "INDIRIZZI_T"},
        {"AINSGARANTI", "TFINSINDIRIZZO", "INDIRIZZI_G"}, {"AMODGARANTI", "TFMODINDIRIZZO", "INDIRIZZI_G"},
        {"ACANCGARANTI", "TFCANCDESTIN", "INDIRIZZI_G"}, {"AINSFORNITORI", "TFINSINDIRIZZO", "INDIRIZZI_F"},
        {"AMODFORNITORI", "TFMODINDIRIZZO", "INDIRIZZI_F"}, {"ACANCFORNITORI", "TFCANCDESTIN", "INDIRIZZI_F"},
    };
    for (const Case& c : cases) {
        const MenuItem* item = findMenuItem(QString::fromLatin1(c.action));
        ASSERT_NE(item, nullptr) << c.action;
        EXPECT_EQ(item->submenuText(), QStringLiteral("I&ndirizzario")) << c.action;
        EXPECT_EQ(QString::fromLatin1(item->window), QString::fromLatin1(c.window)) << c.action;
        EXPECT_EQ(QString::fromLatin1(item->tableName ? item->tableName : ""), QString::fromLatin1(c.table)) << c.action;
        EXPECT_TRUE(registry.count(QString::fromLatin1(c.window))) << c.window;
    }
}

TEST_F(AddressMenu, ModifyConsigneeFromTheMenuKeepsTheCode)
{
    for (const char* n : {"Alfa", "Beta"})
        InsertAddress(file("INDIRIZZI_D"), address(n), t.messenger);
    const MenuRun run = runAction(t.ctx, "AMODDESTIN", 1, [](QWidget* w) {
        EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("DENOM1"))->text(), QStringLiteral("Alfa"));
        type(w, "DENOM1", QStringLiteral("Zeta"));
        click(w, "BCONF");
    });
    EXPECT_EQ(run.opened, (QStringList{"TFLISTVIEW", "TFMODDESTINATARI"}));
    EXPECT_EQ(run.shown, QStringList{"TFMODDESTINATARI"});
    EXPECT_EQ(names(file("INDIRIZZI_D")), (QStringList{"2:Beta", "1:Zeta"}));
}

TEST_F(AddressMenu, NoChoiceOrAMissingCodeOpensNothing)
{
    InsertAddress(file("INDIRIZZI_T"), address("Alfa"), t.messenger);
    auto fail = [](QWidget*) { ADD_FAILURE() << "no window expected"; };
    EXPECT_EQ(runAction(t.ctx, "AMODTRASP", -1, fail).opened, QStringList{"TFLISTVIEW"});
    EXPECT_EQ(runAction(t.ctx, "ACANCTRASP", 7, fail).opened, QStringList{"TFLISTVIEW"});
    EXPECT_TRUE(t.messenger.infos.isEmpty());
}

TEST_F(AddressMenu, DeleteGuarantorFromTheMenu)
{
    for (const char* n : {"Alfa", "Beta"})
        InsertAddress(file("INDIRIZZI_G"), address(n), t.messenger);
    const MenuRun run = runAction(t.ctx, "ACANCGARANTI", 2, [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Cancella Garante"));
        type(w, "SINO", QStringLiteral("SI"));
    });
    EXPECT_EQ(run.shown, QStringList{"TFCANCDESTIN"});
    EXPECT_EQ(names(file("INDIRIZZI_G")), QStringList{"1:Alfa"});
}

TEST_F(AddressMenu, InsertSupplierFromTheMenuStaysOpenForTheNext)
{
    const MenuRun run = runAction(t.ctx, "AINSFORNITORI", -1, [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Inserisce Fornitore per importazioni con DAA"));
        for (const char* n : {"Primo", "Secondo"}) {
            type(w, "CACCI2", QStringLiteral("01234567890"));
            type(w, "CACCI1", QStringLiteral("DE00000000001"));
            type(w, "DENOM1", QString::fromLatin1(n));
            type(w, "INDIR1", QStringLiteral("Hauptstrasse"));
            type(w, "NUMCI1", QStringLiteral("5"));
            type(w, "C_A_P1", QStringLiteral("10115"));
            type(w, "CITTA1", QStringLiteral("Berlin"));
            click(w, "BCONF");
            EXPECT_TRUE(w->isVisible());
        }
        click(w, "BABBANDONA");
    });
    EXPECT_EQ(run.shown, QStringList{"TFINSINDIRIZZO"});
    EXPECT_EQ(names(file("INDIRIZZI_F")), (QStringList{"1:Primo", "2:Secondo"}));
    // The second one is warned that its VAT and excise numbers are already stored.
    EXPECT_EQ(t.messenger.infos, (QStringList{"ATTENZIONE PARTITA IVA GIA' PRESENTE IN ARCHIVIO !",
                                              "ATTENZIONE CODICE D'ACCISA GIA' PRESENTE IN ARCHIVIO !"}));
}
