// The search windows driven as a clerk does: the dates proposed, a wrong date
// refused without a preview, a search printed to the preview and saved as PDF
// from it, the window left open.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "foundation/Dates.h"
#include "foundation/RegisterRecord.h"
#include "register/searches/TFRICREGC.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"
#include "ui/Edits.h"

using namespace vt;
using namespace vt::test;

namespace {

// Acts on every print preview that opens: optionally saves it as PDF, then
// closes it.
struct PreviewWatch {
    int seen = 0;
    bool save = false;
    QTimer poll;
    PreviewWatch()
    {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            ++seen;
            if (save)
                if (auto* a = preview->findChild<QAction*>(QStringLiteral("SALVAPDF")))
                    a->trigger();
            preview->reject();
        });
        poll.start(20);
    }
};

void retype(QLineEdit* e, const char* text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, QString::fromLatin1(text));
}

} // namespace

TEST(SearchWindow, ConfirmPrintsThePreviewSavesPdfAndStaysOpen)
{
    TestContext t; // today 09/12/2026
    TRecMovimento r = blankRegisterRecord();
    r.numero = 1;
    r.progressivo = 1;
    r.data = dates::fromDate(QDate(2026, 1, 10));
    r.operazione = QStringLiteral("I");
    r.tipoMovimento = QStringLiteral("S");
    r.controparte = QStringLiteral("DE00XYZ00002Y");
    r.dataFlusso = dates::fromDate(QDate(2026, 1, 11));
    r.numeroFlusso = 1;
    QFile f(registerfiles::movements(t.ctx, 2026));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(encodeRegisterRecord(r));
    f.close();

    t.ctx.OpCode = QLatin1Char('s');
    TFRICREGC w(t.ctx);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ricerca scarichi inviati"));
    EXPECT_EQ(w.MDADA->text(), QStringLiteral("01/01/2026"));
    EXPECT_EQ(w.MDAAL->text(), QStringLiteral("09/12/2026"));
    EXPECT_TRUE(w.MDADA->hasFocus());

    PreviewWatch watch;
    // A year before 2000: Alt+C straight from the field opens no preview; the
    // focus stays.
    retype(w.MDADA, "01011999");
    QTest::keyClick(w.MDADA, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(watch.seen, 0);
    EXPECT_TRUE(w.MDADA->hasFocus());

    retype(w.MDADA, "01012026");
    QTest::keyClicks(w.MITDES, QStringLiteral("de00xyz00002y"));
    EXPECT_EQ(w.MITDES->text(), QStringLiteral("DE00XYZ00002Y"));
    const QString folder = t.path(QStringLiteral("pdf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    t.dialogs.answers << folder;
    watch.save = true;
    QTimer::singleShot(0, [&] { w.BCONF->click(); });
    QTest::qWait(600);
    EXPECT_EQ(watch.seen, 1);
    EXPECT_EQ(w.selected().size(), 1);
    EXPECT_EQ(w.search().counterpart, QStringLiteral("DE00XYZ00002Y   "));
    const QStringList saved = QDir(folder).entryList({QStringLiteral("REGISTRO_FISCALE_*.pdf")});
    ASSERT_EQ(saved.size(), 1);
    EXPECT_GT(QFileInfo(QDir(folder).filePath(saved[0])).size(), 0);
    EXPECT_EQ(t.dialogs.captions, QStringList{QStringLiteral("Salva PDF: cartella del file")});
    // The window stays for another search: the filter emptied, the focus on the
    // first date.
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.MITDES->text().isEmpty());
    EXPECT_EQ(w.focusWidget(), w.MDADA);
    EXPECT_FALSE(QFile::exists(registerfiles::movements(t.ctx, 2025))); // read, not created
}

TEST(SearchWindow, GuaranteeSearchHasNoCounterpart)
{
    TestContext t;
    t.ctx.OpCode = QLatin1Char('g');
    TFRICREGF w(t.ctx);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.objectName(), QStringLiteral("TFRICREGF"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ricerca garanzie inviate"));
    EXPECT_EQ(w.MITDES, nullptr);
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("MITDES")), nullptr);
    PreviewWatch watch;
    QTimer::singleShot(0, [&] { w.BCONF->click(); });
    QTest::qWait(400);
    EXPECT_EQ(watch.seen, 1);
    EXPECT_TRUE(w.selected().isEmpty());
}
