// The compilation window driven by keys and clicks the way a clerk does it, off the tidy path: a
// tab clicked while a field is being typed, a premises number that is not one, a transport company
// chosen with Enter, product lines confirmed one after the other, pasted text in number fields.
// Any modal window that opens (a picker) is noted and closed, so that no test can hang on it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "messages/EadForm.h"
#include "messages/EadStore.h"
#include "messages/TFCOMPIE815.h"
#include "support/EadFixtures.h"
#include "CompileFixture.h"

using namespace vt;
using namespace vt::test;

namespace {

struct CompileKeys : CompileWindow {
    QStringList modals; // windows that opened over the compilation
    QTimer closer;
    std::unique_ptr<TFCOMPIE815> w;

    void open()
    {
        ctx.CompanyRecord = decodeCompany(*RecordFile(ctx.datiGen("UTENTE.001"), TRecAzienda::Size).readFirst());
        ctx.ModifyMode = false;
        startNewEad(ctx);
        w = std::make_unique<TFCOMPIE815>(ctx);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (m && m != w.get()) {
                modals << m->objectName();
                static_cast<QDialog*>(m)->reject();
            }
        });
        closer.start(10);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void TearDown() override
    {
        closer.stop();
        w.reset();
    }

    template <class T = QWidget>
    T* field(const char* name)
    {
        T* f = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(f) << name;
        return f;
    }
    QString focused() const
    {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }
    int page() { return field<QTabWidget>("PCCOMPEAD")->currentIndex(); }
    void clickTab(int index)
    {
        QTabBar* bar = field<QTabWidget>("PCCOMPEAD")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        QApplication::processEvents();
        QApplication::processEvents();
    }
    // Page 1 of a registered consignee in Germany, by keys from NUMFAT, on to page 2.
    void page1()
    {
        enter("FT/1", "NUMFAT");
        enter({}, "DATFAT");
        enter("2", "TIPDES");
        enter("DE00123456789", "COIDDE");
        enter("Weinhaus", "DENDES");
        enter("Hauptstrasse", "INDDES");
        enter("12", "NUCDES");
        enter("80331", "CAPDES");
        enter("MUENCHEN", "CITDES");
        enter("de", "LINDES");
    }
    // Page 2 with one transport line, by keys from RESTRA, on to page 3.
    void page2()
    {
        enter("1", "RESTRA");
        enter("3", "MODTRA");
        enter({}, "RGIORNI");
        enter("2", "DURGIO");
        enter({}, "INVDIF");
        enter({}, "DATSPE");
        enter({}, "ORASPE");
        enter({}, "NDETRA");
        enter("2", "UNITRA");
        enter("FI123AB", "IDUNTR");
        enter({}, "SIGTRA");
        enter({}, "INSITR");
        enter({}, "INAGTR");
        enter({}, "BCONFTRA");
        enter({}, "NDETRA");
        enter({}, "UNITRA");
        enter({}, "BFINTRA");
    }
};

} // namespace

TEST_F(CompileKeys, ConfirmedProductLineLeavesNoDescriptionBehind)
{
    open();
    page1();
    enter({}, "BPAG2");
    page2();
    ASSERT_EQ(page(), 2);
    for (int line = 1; line <= 2; ++line) {
        enter({}, "NDETPR");
        enter("CHIANTI75", "COAZPR");
        EXPECT_EQ(field<QLineEdit>("DCODIMB")->text(), "Cartone");
        for (const char* f : {"LEDEPR", "META20"})
            enter({}, f);
        enter("12", "NUMCON");
        for (const char* f : {"VOLCON", "TOTLIT", "GRADOA", "PNETTO", "PLORDO", "CODIMB", "NUMIMB", "SIGIMB", "INSIIM",
                              "DESCOM"})
            enter({}, f);
        enter({}, "BCONFPR");
        // The list is shown again: every line field and every companion is empty.
        EXPECT_EQ(field<QListWidget>("MDEPRO")->count(), line);
        EXPECT_EQ(focused(), "NDETPR");
        for (const char* f : {"COAZPR", "DCOAZPR", "LEDEPR", "META20", "DMETA20", "CODIMB", "DCODIMB", "NUMCON",
                              "TOTLIT", "NUMIMB", "MCODAZ"}) {
            QWidget* wdg = field(f);
            const QString text = qobject_cast<QLineEdit*>(wdg) ? static_cast<QLineEdit*>(wdg)->text()
                                                               : wdg->property("plainText").toString();
            EXPECT_EQ(text, "") << f << " after line " << line;
        }
    }
    // Line 1 called back by its number shows its packaging with its description.
    enter("1", "NDETPR");
    EXPECT_EQ(field<QLineEdit>("CODIMB")->text(), "CT");
    EXPECT_EQ(field<QLineEdit>("DCODIMB")->text(), "Cartone");
    EXPECT_TRUE(field("BCANPR")->isVisible());
    EXPECT_TRUE(modals.isEmpty()) << modals.join(",").toStdString();
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
}

TEST_F(CompileKeys, PremisesNumberIsRefusedOnLeavingAndWhenATabIsClicked)
{
    open();
    page1();
    auto* sedels = field<QLineEdit>("SEDELS");
    // Typed and a tab clicked at once: the field is never left, the page check refuses it.
    sedels->setFocus(Qt::MouseFocusReason);
    sedels->selectAll();
    type("ABC");
    clickTab(1);
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(t.messenger.infos, QStringList{MsgSedels});
    EXPECT_EQ(focused(), "SEDELS");
    // Left with Enter: a premises without its file, then a path, keep the focus with the message.
    for (const char* bad : {"003", "..\\UTENTE", "1"}) {
        t.messenger.infos.clear();
        sedels->selectAll();
        enter(bad, "SEDELS");
        EXPECT_EQ(t.messenger.infos, QStringList{MsgSedels}) << bad;
        EXPECT_EQ(focused(), "SEDELS") << bad;
    }
    t.messenger.infos.clear();
    sedels->selectAll();
    enter("001", "SEDELS");
    EXPECT_EQ(focused(), "COIDLS");
    EXPECT_EQ(field<QLineEdit>("COIDLS")->text(), "IT00FIT00012S");
    clickTab(1);
    EXPECT_EQ(page(), 1);
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    EXPECT_TRUE(modals.isEmpty()) << modals.join(",").toStdString();
}

TEST_F(CompileKeys, TransportCompanyChosenWithEnterOpensNoPicker)
{
    open();
    page1();
    enter({}, "BPAG2");
    ASSERT_EQ(page(), 1);
    enter("3", "RESTRA");
    EXPECT_EQ(focused(), "PIAZTR");
    EXPECT_TRUE(field("PAZIENDADITRASPORTO")->isVisible());
    EXPECT_TRUE(modals.isEmpty()) << modals.join(",").toStdString();
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
}

TEST_F(CompileKeys, PastedTextInNumberFieldsKeepsOnlyANumber)
{
    open();
    page1();
    enter({}, "BPAG2");
    auto* durgio = field<QLineEdit>("DURGIO");
    durgio->setFocus(Qt::MouseFocusReason);
    QApplication::clipboard()->setText("x9");
    QTest::keyClick(durgio, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(durgio->text(), "");
    QApplication::clipboard()->setText("12");
    QTest::keyClick(durgio, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(durgio->text(), "12");
}
