// The reactivation and deletion windows driven as a clerk does: "SI" acts, "si" does nothing,
// abandoning does nothing, and the menu items reach them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/MenuActions.h"
#include "foundation/Dates.h"
#include "register/store/RegisterStore.h"
#include "register/undo/TFCANCFLUSSO.h"
#include "register/undo/TFCANCMOVIM.h"
#include "ui/UndoListForm.h"
#include "ui/Edits.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"

using namespace vt;
using namespace vt::test;

namespace {

double day(int d)
{
    return dates::fromDate(QDate(2026, 12, d));
}

TRecMovimento unload(int numero, int flowDay = 0, int flow = 0)
{
    TRecMovimento r = blankRegisterRecord();
    r.numero = numero;
    r.progressivo = numero;
    r.data = day(1);
    r.registro = "C";
    r.operazione = "I";
    r.tipoMovimento = "S";
    r.tipoDocumento = "DAA";
    r.numeroDocumento = QString("DOC%1").arg(numero);
    r.litri = 100;
    if (flowDay) {
        r.dataFlusso = day(flowDay);
        r.numeroFlusso = flow;
    }
    PadRegisterRecord(r);
    return r;
}

struct UndoWindows : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString rgm;

    void SetUp() override
    {
        QDir().mkpath(ctx.RegistriFolder);
        rgm = registerfiles::movements(ctx, 2026);
        ctx.WorkYear = "2026";
    }

    void write(const QList<TRecMovimento>& records)
    {
        QFile f(rgm);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const TRecMovimento& r : records)
            f.write(encodeRegisterRecord(r));
    }

    static void typeConfirmation(UndoListForm* form, const char* text)
    {
        form->ECONF->setFocus();
        QTest::keyClicks(form->ECONF, text);
        QTest::keyClick(form->ECONF, Qt::Key_Return);
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(UndoWindows, ReactivationProposesTheLastFlowOfTodayAndActsOnlyOnSI)
{
    write({unload(1, 9, 1), unload(2, 9, 2), unload(3, 9, 2), unload(4)});
    TFCANCFLUSSO w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "RIATTIVA I RECORD ASSOCIATI AD UN FLUSSO");
    EXPECT_EQ(w.MDARI->text(), "09/12/2026");
    EXPECT_EQ(w.INUCO->text(), "2") << "the last flow of the day";
    ASSERT_EQ(w.form->list->count(), 2);
    EXPECT_TRUE(w.form->list->hasFocus());
    EXPECT_EQ(w.form->list->item(0)->checkState(), Qt::Unchecked);

    // Another number typed and left: the list follows it.
    w.INUCO->setFocus();
    w.INUCO->selectAll();
    QTest::keyClicks(w.INUCO, "1");
    QTest::keyClick(w.INUCO, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_EQ(w.form->list->count(), 1);

    QTest::mouseClick(w.form->BTUTTI, Qt::LeftButton);
    typeConfirmation(w.form, "si");
    EXPECT_TRUE(w.isVisible()) << "lower case does nothing";
    EXPECT_TRUE(w.form->list->hasFocus());
    EXPECT_EQ(readRegister(rgm)[0].numeroFlusso, 1);

    typeConfirmation(w.form, "SI");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const QList<TRecMovimento> after = readRegister(rgm);
    EXPECT_EQ(after[0].numeroFlusso, 0);
    EXPECT_EQ(after[0].dataFlusso, 0);
    EXPECT_EQ(after[1].numeroFlusso, 2);
    EXPECT_EQ(after[2].numeroFlusso, 2);
}

TEST_F(UndoWindows, DeletionFromTheMenuAndAbandonHalfWay)
{
    write({unload(1), unload(2), unload(3, 5, 1)});
    ModalDriver driver;
    int visits = 0;
    driver.on["TFCANCMOVIM"] = [&](QWidget* modal, int) {
        auto* w = static_cast<TFCANCMOVIM*>(modal);
        ++visits;
        EXPECT_EQ(w->windowTitle(), "Cancella i movimenti di scarico non ancora inviati al servizio telematico");
        EXPECT_EQ(w->form->list->count(), 2);
        EXPECT_TRUE(w->form->ECONF->hasFocus());
        w->form->list->item(1)->setCheckState(Qt::Checked);
        if (visits == 1) { // typed "SI" and then thought better of it
            QTest::keyClicks(w->form->ECONF, "SI");
            QTest::mouseClick(w->form->BABBANDONA, Qt::LeftButton);
            return;
        }
        typeConfirmation(w->form, "SI");
    };
    runMenuItem(ctx, "ACANCSCARICO");
    EXPECT_EQ(readRegister(rgm).size(), 3);
    runMenuItem(ctx, "ACANCSCARICO");
    EXPECT_FALSE(driver.timedOut);
    const QList<TRecMovimento> after = readRegister(rgm);
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(after[0].numero, 1);
    EXPECT_EQ(after[1].numero, 3);
}

TEST_F(UndoWindows, ConclusionModesAreNotOfferedYet)
{
    runMenuItem(ctx, "ACANCNOTARIC");
    EXPECT_EQ(t.messenger.infos, QStringList{"Funzione non ancora disponibile"});
}
