// The guarantee windows driven from the menu: the preparation opens the day, the deposit entered
// before is there, CONFERMA straight from an amount writes the day with its balance; Esc half-way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "foundation/Dates.h"
#include "register/guarantees/TFGARANZIA.h"
#include "register/guarantees/TFPREPGARANZIA.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
#include "ui/Edits.h"

using namespace vt;
using namespace vt::test;

namespace {

double day(int d)
{
    return dates::fromDate(QDate(2026, 12, d));
}

struct GuaranteeWindows : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;

    void SetUp() override { QDir().mkpath(ctx.RegistriFolder); }

    void write(const QString& path, const QList<TRecMovimento>& records)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const TRecMovimento& r : records)
            f.write(encodeRegisterRecord(r));
    }

    // An e-AD unload of the 9th commits 93,75; the day already has an unsent record with a
    // deposit of 500,00 entered earlier.
    void dayWithDeposit()
    {
        TRecMovimento u = blankRegisterRecord();
        u.numero = 1;
        u.data = day(9);
        u.registro = "C";
        u.operazione = "I";
        u.tipoMovimento = "S";
        u.tipoDocumento = "EAD";
        u.garanzia = 93.75;
        PadRegisterRecord(u);
        write(registerfiles::movements(ctx, 2026), {u});
        TRecGaranzia g = blankRegisterRecord();
        g.numero = 1;
        g.data = day(9);
        g.registro = "F";
        g.operazione = "I";
        g.nuovaCauzione() = 500;
        g.nota = "versamento";
        PadRegisterRecord(g);
        write(registerfiles::guarantees(ctx, 2026), {g});
    }
};

} // namespace

TEST_F(GuaranteeWindows, PreparedDayKeepsItsDepositAndIsConfirmedStraightFromAnAmount)
{
    dayWithDeposit();
    t.messenger.defaultAnswer = false; // no new deposit at the end
    ModalDriver driver;
    driver.on["TFPREPGARANZIA"] = [](QWidget* modal, int) {
        QTest::mouseClick(modal->findChild<QPushButton*>("BCONF"), Qt::LeftButton);
    };
    driver.on["TFGARANZIA"] = [&](QWidget* modal, int) {
        auto* w = static_cast<TFGARANZIA*>(modal);
        EXPECT_EQ(w->windowTitle(), "Inserisce garanzia sulla circolazione");
        EXPECT_EQ(w->DATMOV->text(), "09/12/2026");
        EXPECT_TRUE(w->DATMOV->isReadOnly());
        EXPECT_EQ(w->DOUBL1->text(), "93,75");
        EXPECT_EQ(w->DOUBL3->text(), "500,00") << "the deposit entered before is kept";
        EXPECT_EQ(w->ANNOTA->text(), "versamento");
        EXPECT_EQ(w->DOUBL5->text(), "406,25");
        w->grab().save(QDir::temp().filePath("TFGARANZIA.png"));
        w->DOUBL3->setFocus();
        w->DOUBL3->selectAll();
        QTest::keyClicks(w->DOUBL3, "600");
        QTest::keyClick(w->DOUBL3, Qt::Key_C, Qt::AltModifier);
        QTest::qWait(250);
    };
    runMenuItem(ctx, "AINSGARANZIA");
    EXPECT_FALSE(driver.timedOut);
    EXPECT_EQ(driver.seen, (QStringList{"TFPREPGARANZIA", "TFGARANZIA"}));
    EXPECT_EQ(
        t.messenger.questions, QStringList{"Non ci sono altre garanzie da e-AD - premi \"OK\" per NUOVE cauzioni "});
    const QList<TRecGaranzia> after = readRegister(registerfiles::guarantees(ctx, 2026));
    ASSERT_EQ(after.size(), 1);
    EXPECT_DOUBLE_EQ(after[0].impegnato(), 93.75);
    EXPECT_DOUBLE_EQ(after[0].nuovaCauzione(), 600);
    EXPECT_DOUBLE_EQ(after[0].disponibile(), 506.25);
    EXPECT_EQ(after[0].nota.trimmed(), "versamento");
}

TEST_F(GuaranteeWindows, EscHalfWayAsksBeforeLosingWhatWasTyped)
{
    ctx.OpCode = 'i';
    TRecGaranzia o = blankRegisterRecord();
    o.data = day(9);
    ctx.MovementRecord = encodeRegisterRecord(o);
    TFGARANZIA w(ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(w.DATMOV->hasFocus());
    w.DOUBL3->setFocus();
    w.DOUBL3->selectAll();
    QTest::keyClicks(w.DOUBL3, "1000");
    EXPECT_EQ(w.DOUBL3->text(), "1.000");
    t.messenger.answers = {false};
    QTest::keyClick(w.DOUBL3, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(t.messenger.questions, QStringList{MsgAbandonGuarantee});
    t.messenger.answers = {true};
    QTest::keyClick(w.DOUBL3, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(readRegister(registerfiles::guarantees(ctx, 2026)).isEmpty());
}
