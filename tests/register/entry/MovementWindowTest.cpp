#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include "register/RegisterFixture.h"
#include "app/MenuActions.h"
#include "foundation/Dates.h"
#include "foundation/Tables.h"
#include "masterdata/DriveWindow.h"
#include "register/entry/MovementEntry.h"
#include "register/store/RegisterStore.h"
#include "register/entry/TFMOVIMENTI.h"
#include "register/entry/TFSCEGLIMOVIMENTO.h"
#include "support/CodeTableFixture.h"
#include "ui/WindowRegistry.h"

using namespace vt;
using namespace vt::test;

namespace {

QString focusName()
{
    QApplication::processEvents();
    QWidget* f = QApplication::focusWidget();
    return f ? f->objectName() : QStringLiteral("<none>");
}

QLineEdit* edit(QWidget* w, const char* name)
{
    auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(e, nullptr) << name;
    return e;
}

// Types into the field that has the focus, checks it is the one expected, and presses Enter.
void typeHere(QWidget* w, const char* expected, const QString& text)
{
    QApplication::processEvents();
    QWidget* f = QApplication::focusWidget();
    ASSERT_NE(f, nullptr) << expected;
    ASSERT_EQ(f->objectName().toStdString(), std::string(expected));
    if (auto* e = qobject_cast<QLineEdit*>(f); e && !text.isEmpty()) {
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    QTest::keyClick(f, Qt::Key_Return);
    QApplication::processEvents();
    (void)w;
}

using drive::typeAndEnter;

// Types each field in turn (Enter after each), then clicks CONFERMA as a mouse does.
void fillAndConfirm(QWidget* w, std::initializer_list<std::pair<const char*, QString>> fields)
{
    for (const auto& [name, text] : fields)
        typeAndEnter(w, name, text);
    auto* conf = w->findChild<QPushButton*>(QStringLiteral("BCONF"));
    ASSERT_NE(conf, nullptr);
    conf->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(conf, Qt::LeftButton);
    QApplication::processEvents();
}

// Clicks a button of the window that opens another window modally; `inner` drives that window
// once it is shown (and it is closed if it is still open afterwards), so nothing can hang.
void clickOpening(QWidget* w, const char* button, const std::function<void(QWidget*)>& inner)
{
    QObject guard;
    bool driven = false;
    QTimer::singleShot(0, &guard, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || m == w)
            return;
        driven = true;
        QApplication::setActiveWindow(m);
        QApplication::processEvents();
        inner(m);
        if (m->isVisible())
            m->close();
    });
    auto* b = w->findChild<QAbstractButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
    QApplication::setActiveWindow(w); // back to the window, as when the other one closes on screen
    QApplication::processEvents();
    EXPECT_TRUE(driven) << button;
}

// With the keyboard, from the date: a movement of 10/12/2026 on the document DAA `number` of
// `date`, product ROSSO01.
void typeDaaHead(QWidget* w, const QString& number, const QString& date)
{
    typeHere(w, "DATMOV", QStringLiteral("10122026"));
    typeHere(w, "TIPDOC", QStringLiteral("DAA"));
    typeHere(w, "NUMDOC", number);
    typeHere(w, "DATDOC", date);
    typeHere(w, "PRODAZ", QStringLiteral("ROSSO01"));
}

void altC(QWidget* w)
{
    QTest::keyClick(w, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(250); // the button's press animation
    QApplication::processEvents();
}

double day(int d, int m, int y)
{
    return dates::fromDate(QDate(y, m, d));
}

class MovementWindow : public ::testing::Test {
protected:
    void SetUp() override { prepareRegisterData(t); }

    // Runs a menu action; the movement picker answers with the given number of the year, and the
    // movement window is handed to drive once it is shown. Returns the windows asked for.
    QStringList runAction(const char* action, std::int32_t picked, const std::function<void(QWidget*)>& drive)
    {
        QStringList opened;
        QObject guard; // a window that never opens leaves no driver behind
        const MenuItem* item = findMenuItem(QString::fromLatin1(action));
        EXPECT_NE(item, nullptr) << action;
        if (!item)
            return opened;
        runMenuAction(*item, t.ctx, [&](const QString& name) {
            opened << name;
            if (name == QLatin1String("TFSCEGLIMOVIMENTO")) {
                t.ctx.SelectedYear = QStringLiteral("2026");
                t.ctx.PickedMovement = picked;
                return true;
            }
            QTimer::singleShot(0, &guard, [&] {
                QWidget* w = QApplication::activeModalWidget();
                if (!w)
                    return;
                QApplication::setActiveWindow(w);
                QApplication::processEvents();
                drive(w);
                if (w->isVisible())
                    w->close();
            });
            return openWindow(name, t.ctx, nullptr);
        });
        return opened;
    }

    QList<TRecMovimento> year2026() { return readRegister(registerfiles::movements(t.ctx, 2026)); }

    TRecMovimento unload(double date, double litres, int numeroFlusso = 0)
    {
        TRecMovimento r = blankRegisterRecord();
        r.registro = QStringLiteral("C");
        r.operazione = QStringLiteral("I");
        r.tipoMovimento = QStringLiteral("S");
        r.data = date;
        r.dataDocumento = date;
        r.tipoDocumento = QStringLiteral("DAA");
        r.numeroDocumento = QStringLiteral("77/A");
        r.prodottoAziendale = kProduct;
        r.codiceProdotto = kWine;
        r.stoccaggio = QStringLiteral("S");
        r.grado = 12.5;
        r.litri = litres;
        r.paese = QStringLiteral("DE");
        r.controparte = QStringLiteral("DE00098765432");
        r.causale = QStringLiteral("S1");
        const TRecMovimento w = InsertRegisterRecord(r, registerfiles::movements(t.ctx, 2026), t.messenger);
        if (numeroFlusso)
            markSent(registerfiles::movements(t.ctx, 2026), {w.numero}, date, numeroFlusso, t.messenger);
        return w;
    }

    TestContext t;
};

} // namespace

// From the menu, with the keyboard only: a packaged load (litres from packages x volume) confirmed
// with Alt+C, then an unload whose guarantee comes from the excise band, confirmed by a click
// straight from the last field.
TEST_F(MovementWindow, KeyboardInsertOfALoadAndAnUnloadFromTheMenu)
{
    QStringList notes;
    t.ctx.NoteListener = [&notes](const QString& text) { notes << text; };
    const QStringList loadRun = runAction("AINSCARICO", -1, [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Movimento di CARICO"));
        EXPECT_EQ(edit(w, "DATMOV")->text(), QStringLiteral("09/12/2026"));
        typeDaaHead(w, QStringLiteral("12/B"), QStringLiteral("09122026"));
        EXPECT_EQ(edit(w, "TIPSTO")->text(), QStringLiteral("N"));
        EXPECT_EQ(edit(w, "PRODDO")->text(), kWine);
        typeHere(w, "TIPSTO", {});
        typeHere(w, "PRODDO", {});
        typeHere(w, "NUMCON", QStringLiteral("12"));
        typeHere(w, "DOUBL3", QStringLiteral("0,75"));
        EXPECT_EQ(edit(w, "DOUBL1")->text(), QStringLiteral("9"));
        typeHere(w, "DOUBL2", {});
        typeHere(w, "DOUBL1", {});
        typeHere(w, "CODPAE", QStringLiteral("FR"));
        typeHere(w, "MITDES", QStringLiteral("FR00012345678"));
        typeHere(w, "CAUMOV", QStringLiteral("C1"));
        QApplication::processEvents();
        edit(w, "ANNOTA")->setFocus();
        QTest::keyClicks(edit(w, "ANNOTA"), QStringLiteral("prima prova"));
        altC(w);
        // The insertion window stays open for the next movement, dates kept, the rest cleared.
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(edit(w, "DATMOV")->text(), QStringLiteral("10/12/2026"));
        EXPECT_TRUE(edit(w, "NUMDOC")->text().isEmpty());
        EXPECT_EQ(focusName(), QStringLiteral("DATMOV"));
        for (const char* companion : {"DTIPDOC", "DPRODAZ", "DPRODDO", "DCAUMOV"})
            EXPECT_TRUE(edit(w, companion)->text().isEmpty()) << companion; // no stale "CODICE NON VALIDO"
        // The next movement's date is typed straight over the one kept.
        QTest::keyClicks(edit(w, "DATMOV"), QStringLiteral("11122026"));
        EXPECT_EQ(edit(w, "DATMOV")->text(), QStringLiteral("11/12/2026"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(loadRun, QStringList{QStringLiteral("TFMOVIMENTI")});
    EXPECT_EQ(t.messenger.infos, QStringList());

    runAction("AINSSCARICO", -1, [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Movimento di SCARICO"));
        typeDaaHead(w, QStringLiteral("13/B"), QStringLiteral("10122026"));
        typeHere(w, "TIPSTO", QStringLiteral("S"));
        typeHere(w, "PRODDO", {});
        typeHere(w, "DOUBL2", {});
        typeHere(w, "DOUBL1", QStringLiteral("1000"));
        typeHere(w, "CODPAE", QStringLiteral("DE"));
        EXPECT_EQ(edit(w, "DOUBL5")->text(), QStringLiteral("100,00"));
        typeHere(w, "DOUBL5", {});
        typeHere(w, "MITDES", QStringLiteral("DE00098765432"));
        QApplication::processEvents();
        auto* cau = edit(w, "CAUMOV");
        cau->setFocus();
        QTest::keyClicks(cau, QStringLiteral("S1"));
        auto* conf = w->findChild<QPushButton*>(QStringLiteral("BCONF"));
        conf->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(conf, Qt::LeftButton);
        QApplication::processEvents();
        for (const char* companion : {"DTIPDOC", "DPRODAZ", "DPRODDO", "DCAUMOV"})
            EXPECT_TRUE(edit(w, companion)->text().isEmpty()) << companion;
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(t.messenger.infos, QStringList());

    const QList<TRecMovimento> file = year2026();
    ASSERT_EQ(file.size(), 2);
    const TRecMovimento& load = file[0];
    EXPECT_EQ(load.numero, 1);
    EXPECT_EQ(load.progressivo, 1);
    EXPECT_EQ(load.data, day(10, 12, 2026));
    EXPECT_EQ(load.registro, QStringLiteral("C"));
    EXPECT_EQ(load.operazione, QStringLiteral("I"));
    EXPECT_EQ(load.tipoMovimento, QStringLiteral("C"));
    EXPECT_EQ(load.ufficioDogana, QStringLiteral("IT000100"));
    EXPECT_EQ(load.annoProtocollo, QStringLiteral("2026"));
    EXPECT_EQ(load.numeroProtocollo.trimmed(), QStringLiteral("CD456"));
    EXPECT_EQ(load.prodottoAziendale.trimmed(), kProduct);
    EXPECT_EQ(load.codiceProdotto, kWine);
    EXPECT_EQ(load.stoccaggio, QStringLiteral("N"));
    EXPECT_EQ(load.confezioni, 12);
    EXPECT_EQ(load.volumeConfezione, 0.75);
    EXPECT_EQ(load.litri, 9.0);
    EXPECT_EQ(load.grado, 12.5);
    EXPECT_EQ(load.paese, QStringLiteral("FR"));
    EXPECT_EQ(load.controparte.trimmed(), QStringLiteral("FR00012345678"));
    EXPECT_EQ(load.causale.trimmed(), QStringLiteral("C1"));
    EXPECT_EQ(load.nota.trimmed(), QStringLiteral("prima prova"));
    EXPECT_EQ(load.numeroDocumento.trimmed(), QStringLiteral("12/B"));
    EXPECT_EQ(load.dataDocumento, day(9, 12, 2026));
    EXPECT_EQ(load.garanzia, 0.0);

    const TRecMovimento& out = file[1];
    EXPECT_EQ(out.numero, 2);
    EXPECT_EQ(out.progressivo, 2);
    EXPECT_EQ(out.tipoMovimento, QStringLiteral("S"));
    EXPECT_EQ(out.stoccaggio, QStringLiteral("S"));
    EXPECT_EQ(out.confezioni, 0);
    EXPECT_EQ(out.litri, 1000.0);
    EXPECT_EQ(out.garanzia, 100.0);
    EXPECT_EQ(out.aliquota, 100.0);
    EXPECT_EQ(out.causale.trimmed(), QStringLiteral("S1"));
    EXPECT_EQ(out.controparte.trimmed(), QStringLiteral("DE00098765432"));
    EXPECT_EQ(notes, QStringList(2, QStringLiteral("Dati salvati"))); // one per movement written
    t.ctx.NoteListener = nullptr;
}

// A failing check that lets the sequence go on still stops the write; so does Alt+C straight
// from a field whose leave behaviour has not run yet (the litres come from it).
TEST_F(MovementWindow, NothingIsWrittenWhileAContinuingCheckFails)
{
    runAction("AINSCARICO", -1, [&](QWidget* w) {
        typeDaaHead(w, QStringLiteral("12/B"), QStringLiteral("09122026"));
        typeHere(w, "TIPSTO", {});
        typeHere(w, "PRODDO", {});
        typeHere(w, "NUMCON", QStringLiteral("12"));
        // The volume is left empty: "valore obbligatorio per prodotto condizionato".
        edit(w, "DOUBL1")->setText(QStringLiteral("9"));
        edit(w, "MITDES")->setText(QStringLiteral("FR00012345678"));
        edit(w, "CAUMOV")->setText(QStringLiteral("C1"));
        edit(w, "CODPAE")->setText(QStringLiteral("FR"));
        edit(w, "DOUBL3")->setFocus();
        altC(w);
        EXPECT_TRUE(t.messenger.infos.contains(QStringLiteral("valore obbligatorio per prodotto condizionato")));
        EXPECT_EQ(focusName(), QStringLiteral("DOUBL3"));
        EXPECT_TRUE(year2026().isEmpty());

        // Typing the volume and confirming straight from it: its leave behaviour gives the litres.
        QTest::keyClicks(edit(w, "DOUBL3"), QStringLiteral("2"));
        altC(w);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    ASSERT_EQ(year2026().size(), 1);
    EXPECT_EQ(year2026()[0].litri, 24.0);
}

// A sent unload rectified from the menu: the note is mandatory every time CONFERMA is entered;
// then the superseded record, its cancellation and (for a modify) the replacement are written.
TEST_F(MovementWindow, RectificationsFromTheMenuNeedANoteAndChainTheRecords)
{
    const TRecMovimento sent = unload(day(5, 12, 2026), 500, 3);
    runAction("ARETTSCARICO", sent.numero, [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("RETTIFICA: cancella uno scarico già inviato al sistema telematico"));
        EXPECT_EQ(focusName(), QStringLiteral("ANNOTA"));
        EXPECT_TRUE(edit(w, "DOUBL1")->isReadOnly());
        QTest::keyClicks(edit(w, "ANNOTA"), QStringLiteral(" "));
        altC(w);
        altC(w);
        EXPECT_EQ(t.messenger.infos.count(MsgNoteMandatory), 2);
        EXPECT_EQ(year2026().size(), 1);
        QTest::keyClicks(edit(w, "ANNOTA"), QStringLiteral("spedizione annullata"));
        altC(w);
        EXPECT_FALSE(w->isVisible());
    });
    QList<TRecMovimento> file = year2026();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(file[0].stato, QStringLiteral("C"));
    EXPECT_EQ(file[1].operazione, QStringLiteral("C"));
    EXPECT_EQ(file[1].collegato, sent.numero);
    EXPECT_EQ(file[1].progressivo, sent.progressivo);
    EXPECT_EQ(file[1].nota.trimmed(), QStringLiteral("spedizione annullata"));

    // The same record cannot be rectified again: the window refuses it and does not open.
    t.messenger.infos.clear();
    const QStringList again = runAction("ARETTSCARICO", sent.numero, [&](QWidget* w) {
        ADD_FAILURE() << "opened: " << w->objectName().toStdString();
    });
    EXPECT_EQ(t.messenger.infos, QStringList{QString::fromLatin1(MsgRecordSuperseded)});
    EXPECT_EQ(year2026().size(), 2);

    // Modify-rectify another sent unload: the replacement carries the new litres, keeps the line.
    const TRecMovimento other = unload(day(6, 12, 2026), 300, 4);
    runAction("Action2", other.numero, [&](QWidget* w) {
        EXPECT_EQ(focusName(), QStringLiteral("TIPDOC"));
        EXPECT_TRUE(edit(w, "DATMOV")->isReadOnly());
        edit(w, "DOUBL1")->setFocus();
        edit(w, "DOUBL1")->selectAll();
        QTest::keyClicks(edit(w, "DOUBL1"), QStringLiteral("250"));
        QTest::keyClick(edit(w, "DOUBL1"), Qt::Key_Return);
        QApplication::processEvents();
        edit(w, "ANNOTA")->setFocus();
        QTest::keyClicks(edit(w, "ANNOTA"), QStringLiteral("litri errati"));
        altC(w);
    });
    file = year2026();
    ASSERT_EQ(file.size(), 5);
    EXPECT_EQ(file[2].numero, other.numero);
    EXPECT_EQ(file[2].stato, QStringLiteral("C"));
    EXPECT_EQ(file[3].operazione, QStringLiteral("C"));
    EXPECT_EQ(file[3].litri, 300.0);
    EXPECT_EQ(file[4].stato, QStringLiteral("R"));
    EXPECT_EQ(file[4].collegato, other.numero);
    EXPECT_EQ(file[4].progressivo, other.progressivo);
    EXPECT_EQ(file[4].litri, 250.0);
    EXPECT_EQ(file[4].garanzia, 25.0); // 250 l at 100 €/hl
}

// The modify window never opens on a record another workstation has sent meanwhile.
TEST_F(MovementWindow, ModifyRefusesARecordSentSinceItWasPicked)
{
    const TRecMovimento r = unload(day(5, 12, 2026), 500);
    markSent(registerfiles::movements(t.ctx, 2026), {r.numero}, day(6, 12, 2026), 1, t.messenger);
    runAction("AMODSCARICO", r.numero, [&](QWidget* w) { ADD_FAILURE() << w->objectName().toStdString(); });
    EXPECT_EQ(t.messenger.infos, QStringList{QString::fromLatin1(MsgRecordAlreadySent)});

    // An unsent one opens, and its modify rewrites it as one change: same numbers, same place.
    const TRecMovimento u = unload(day(7, 12, 2026), 100);
    t.messenger.infos.clear();
    runAction("AMODSCARICO", u.numero, [&](QWidget* w) {
        EXPECT_EQ(focusName(), QStringLiteral("DATMOV"));
        auto* litres = edit(w, "DOUBL1");
        litres->setFocus();
        litres->selectAll();
        QTest::keyClicks(litres, QStringLiteral("120"));
        altC(w);
        EXPECT_FALSE(w->isVisible());
    });
    QList<TRecMovimento> file = year2026();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(file[1].litri, 120.0);
    EXPECT_EQ(file[1].numero, u.numero); // the same line, changed
    EXPECT_EQ(file[1].progressivo, 2);
    EXPECT_EQ(file[1].garanzia, 12.0);

    // Sent by another workstation while the window is open: the confirmation is refused and the
    // window closes; the file is as the other workstation left it.
    t.messenger.infos.clear();
    const std::int32_t open = file[1].numero;
    runAction("AMODSCARICO", open, [&](QWidget* w) {
        markSent(registerfiles::movements(t.ctx, 2026), {open}, day(8, 12, 2026), 2, t.messenger);
        auto* litres = edit(w, "DOUBL1");
        litres->setFocus();
        litres->selectAll();
        QTest::keyClicks(litres, QStringLiteral("130"));
        altC(w);
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_EQ(t.messenger.infos, QStringList{QString::fromLatin1(MsgRecordAlreadySent)});
    file = year2026();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(file[1].litri, 120.0);
    EXPECT_EQ(file[1].numeroFlusso, 2);
}

// No excise band holds the strength: guarantee and rate 0, with a warning.
TEST_F(MovementWindow, NoRateBandGivesZeroGuaranteeWithAWarning)
{
    const Guarantee none = committedGuarantee(t.ctx, QStringLiteral("FR"), kWine, 16, 1000);
    EXPECT_EQ(none.garanzia, 0.0);
    EXPECT_EQ(none.aliquota, 0.0);
    EXPECT_EQ(none.warning, MsgNoRateBand);
    const Guarantee de = committedGuarantee(t.ctx, QStringLiteral("DE"), kWine, 12, 1000);
    EXPECT_EQ(de.garanzia, 100.0);
    EXPECT_TRUE(de.warning.isEmpty());
    EXPECT_EQ(committedGuarantee(t.ctx, QStringLiteral("EX"), kWine, 12, 1000).garanzia, 0.0);
    EXPECT_EQ(committedGuarantee(t.ctx, QStringLiteral("IT"), kWine, 12, 1000).warning, QString()); // no row
}

// The picker lists only what the mode may act on, and returns the chosen record's number.
TEST_F(MovementWindow, PickerOffersOnlyInsertionsOfTheModeAndReturnsTheNumber)
{
    const TRecMovimento a = unload(day(1, 12, 2026), 10);
    const TRecMovimento b = unload(day(2, 12, 2026), 20, 1);
    unload(day(3, 12, 2026), 30);
    RectifyRegisterRecord(b, registerfiles::movements(t.ctx, 2026), RectifyKind::Modify,
                          [&] { TRecMovimento n = b; n.litri = 21; n.nota = QStringLiteral("x"); return n; }(), t.messenger);
    // Unsent unloads of operation "I": a, the third one and the replacement; not the cancellation.
    ChoiceList list = buildMovementChoice(t.ctx, QLatin1Char('m'), QStringLiteral("2026"));
    QList<int> numbers;
    for (const auto& row : list.rows)
        numbers << row.key;
    EXPECT_EQ(numbers, (QList<int>{a.numero, 5, 3}));
    EXPECT_EQ(list.titles.last(), QStringLiteral("GARANZIA"));
    // Sent unloads: none left (b is superseded).
    EXPECT_TRUE(buildMovementChoice(t.ctx, QLatin1Char('F'), QStringLiteral("2026")).rows.isEmpty());

    t.ctx.OpCode = QLatin1Char('m');
    TFSCEGLIMOVIMENTO picker(t.ctx);
    picker.show();
    QApplication::setActiveWindow(&picker);
    QApplication::processEvents();
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("MODIFICA UN MOVIMENTO DI SCARICO"));
    auto* year = edit(&picker, "LANNO");
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("2026"));
    QTest::keyClick(year, Qt::Key_Return);
    QApplication::processEvents();
    auto* lista = picker.findChild<QTreeWidget*>(QStringLiteral("LISTA"));
    ASSERT_EQ(lista->topLevelItemCount(), 3);
    EXPECT_EQ(lista->currentItem(), lista->topLevelItem(2)); // the last one
    QTest::keyClick(lista, Qt::Key_Return);
    EXPECT_EQ(t.ctx.PickedMovement, 3);
    EXPECT_EQ(t.ctx.SelectedYear, QStringLiteral("2026"));
}

// A consignee, a supplier and a product entered from the movement window with the "Inserisce
// Nuovo" buttons come back into their fields; an insertion abandoned leaves the field as it was.
TEST_F(MovementWindow, NewAddressOrProductEnteredFromTheWindowComesBackIntoTheField)
{
    // What the address and product windows need besides the register data.
    auto table = [&](const char* name, int width, std::initializer_list<QStringList> rows) {
        writeStructure(t.ctx, QString::fromLatin1(name), QStringLiteral("T"), 1,
                       {{width, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        for (const QStringList& r : rows)
            appendRow(t.ctx, QString::fromLatin1(name), r);
    };
    table("T015", 1, {{"1", "deposito fiscale"}, {"8", "destinazione ignota"}});
    table("T001", 2, {{"de", "tedesco"}, {"en", "inglese"}, {"it", "italiano"}});
    table("T018", 2, {{"3D", "Vino DOP"}});
    table("T019", 2, {{"CI", "Zona C I"}});
    writeStructure(t.ctx, QStringLiteral("T010"), QStringLiteral("T"), 1,
                   {{2, QStringLiteral("C")}, {100, QStringLiteral("D")}, {1, QStringLiteral("N")}});
    appendRow(t.ctx, QStringLiteral("T010"), {QStringLiteral("BO"), QStringLiteral("Bottiglia"), QStringLiteral("S")});
    table("T020", 2, {{"00", "Nessuna operazione"}});
    QImage photo(20, 10, QImage::Format_RGB32);
    photo.fill(Qt::white);
    ASSERT_TRUE(photo.save(t.ctx.datiGen(QStringLiteral("DEFAULT.bmp")), "BMP"));

    runAction("AINSSCARICO", -1, [&](QWidget* w) {
        typeHere(w, "DATMOV", QStringLiteral("10122026"));
        typeHere(w, "TIPDOC", QStringLiteral("DAA"));
        typeHere(w, "NUMDOC", QStringLiteral("21/C"));
        typeHere(w, "DATDOC", QStringLiteral("10122026"));

        // A new product: the product window closes with it, and it fills the product fields.
        clickOpening(w, "BNPRODAZ", [&](QWidget* p) {
            EXPECT_EQ(p->objectName(), QStringLiteral("TFPRODAZIEND"));
            fillAndConfirm(p, {{"LE0", QStringLiteral("BIANCO02")}, {"LE1", QStringLiteral("Bianco secco")},
                               {"LE2", QStringLiteral("3D")}, {"LE21", QStringLiteral("CERT-1")},
                               {"LE22", QStringLiteral("Valoritalia")}, {"LE3", QStringLiteral("CI")},
                               {"R10", QStringLiteral("11,5")}, {"ME4", QStringLiteral("W20022042138000000")},
                               {"LE5", QStringLiteral("N")}, {"R11", QStringLiteral("0,75")},
                               {"R12", QStringLiteral("1,35")}, {"I10", QStringLiteral("6")},
                               {"LE6", QStringLiteral("BO")}});
            EXPECT_FALSE(p->isVisible()) << t.messenger.infos.join('|').toStdString();
        });
        EXPECT_EQ(edit(w, "PRODAZ")->text(), QStringLiteral("BIANCO02"));
        EXPECT_EQ(edit(w, "DPRODAZ")->text(), QStringLiteral("Bianco secco"));
        EXPECT_EQ(edit(w, "TIPSTO")->text(), QStringLiteral("N"));
        EXPECT_EQ(edit(w, "PRODDO")->text(), kWine);
        EXPECT_EQ(edit(w, "DOUBL2")->text(), QStringLiteral("11,50"));
        EXPECT_EQ(focusName(), QStringLiteral("PRODAZ"));

        typeAndEnter(w, "NUMCON", QStringLiteral("600"));
        typeAndEnter(w, "DOUBL3", QStringLiteral("0,75"));
        EXPECT_EQ(edit(w, "DOUBL1")->text(), QStringLiteral("450"));
        typeAndEnter(w, "CODPAE", QStringLiteral("DE"));
        EXPECT_EQ(edit(w, "DOUBL5")->text(), QStringLiteral("45,00"));

        // An insertion abandoned changes nothing.
        edit(w, "MITDES")->setText(QStringLiteral("DE00098765432"));
        clickOpening(w, "BNMITDES", [](QWidget* a) { QTest::keyClick(a, Qt::Key_Escape); });
        EXPECT_EQ(edit(w, "MITDES")->text(), QStringLiteral("DE00098765432"));

        // A new consignee: its excise number comes back, with its name and city beside it.
        clickOpening(w, "BNMITDES", [&](QWidget* a) {
            EXPECT_EQ(a->objectName(), QStringLiteral("TFINSDESTINATARI"));
            fillAndConfirm(a, {{"TIPOIN", QStringLiteral("1")}, {"CACCI1", QStringLiteral("GB00000000001")},
                               {"DENOM1", QStringLiteral("Weinhaus ltd")}, {"INDIR1", QStringLiteral("High Street")},
                               {"NUMCI1", QStringLiteral("12")}, {"C_A_P1", QStringLiteral("10001")},
                               {"CITTA1", QStringLiteral("london")}});
            EXPECT_FALSE(a->isVisible()) << t.messenger.infos.join('|').toStdString();
        });
        EXPECT_EQ(edit(w, "MITDES")->text(), QStringLiteral("GB00000000001"));
        EXPECT_EQ(edit(w, "DMITDES")->text(), QStringLiteral("Weinhaus ltd LONDON"));
        EXPECT_EQ(focusName(), QStringLiteral("MITDES"));

        typeAndEnter(w, "MITDES", {});
        auto* cau = edit(w, "CAUMOV");
        cau->setFocus();
        QTest::keyClicks(cau, QStringLiteral("S1"));
        altC(w);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(t.messenger.infos, QStringList());
    QList<TRecMovimento> file = year2026();
    ASSERT_EQ(file.size(), 1);
    EXPECT_EQ(file[0].prodottoAziendale.trimmed(), QStringLiteral("BIANCO02"));
    EXPECT_EQ(file[0].stoccaggio, QStringLiteral("N"));
    EXPECT_EQ(file[0].confezioni, 600);
    EXPECT_EQ(file[0].litri, 450.0);
    EXPECT_EQ(file[0].grado, 11.5);
    EXPECT_EQ(file[0].garanzia, 45.0);
    EXPECT_EQ(file[0].controparte.trimmed(), QStringLiteral("GB00000000001"));

    // A load: the supplier insertion window on INDIRIZZI_F; the supplier's excise number comes back.
    runAction("AINSCARICO", -1, [&](QWidget* w) {
        clickOpening(w, "BNMITDES", [&](QWidget* a) {
            EXPECT_EQ(a->objectName(), QStringLiteral("TFINSINDIRIZZO"));
            EXPECT_EQ(a->windowTitle(), QStringLiteral("Inserisce Fornitore per importazioni con DAA"));
            fillAndConfirm(a, {{"CACCI2", QStringLiteral("01234567890")}, {"CACCI1", QStringLiteral("FR00000000001")},
                               {"DENOM1", QStringLiteral("Cave du Sud")}, {"INDIR1", QStringLiteral("Rue Basse")},
                               {"NUMCI1", QStringLiteral("3")}, {"C_A_P1", QStringLiteral("13001")},
                               {"CITTA1", QStringLiteral("marseille")}});
            EXPECT_FALSE(a->isVisible()) << focusName().toStdString();
        });
        EXPECT_EQ(edit(w, "MITDES")->text(), QStringLiteral("FR00000000001"));
        EXPECT_EQ(edit(w, "DMITDES")->text(), QStringLiteral("Cave du Sud MARSEILLE"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(year2026().size(), 1);
}

// Modifying the replacement of a rectification from the menu keeps it what it is: state "R", its
// link, its number and line; and a record is no duplicate of itself.
TEST_F(MovementWindow, ModifyOfAReplacementKeepsStateLinkAndLineAndIsNoDuplicateOfItself)
{
    const TRecMovimento sent = unload(day(5, 12, 2026), 500, 3);
    const TRecMovimento later = unload(day(8, 12, 2026), 80);
    TRecMovimento n = sent;
    n.litri = 450;
    n.nota = QStringLiteral("litri errati");
    const RectifyResult r =
        RectifyRegisterRecord(sent, registerfiles::movements(t.ctx, 2026), RectifyKind::Modify, n, t.messenger);
    ASSERT_TRUE(r.replacement);

    runAction("AMODSCARICO", r.replacement->numero, [&](QWidget* w) {
        EXPECT_TRUE(edit(w, "DATMOV")->isReadOnly());
        EXPECT_EQ(focusName(), QStringLiteral("TIPDOC")); // not the date that cannot change
        edit(w, "DOUBL1")->setFocus();
        edit(w, "DOUBL1")->selectAll();
        QTest::keyClicks(edit(w, "DOUBL1"), QStringLiteral("420"));
        altC(w);
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_EQ(t.messenger.infos, QStringList());
    QList<TRecMovimento> file = year2026();
    ASSERT_EQ(file.size(), 4);
    EXPECT_EQ(file[2].numero, r.replacement->numero);
    EXPECT_EQ(file[2].stato, QStringLiteral("R"));
    EXPECT_EQ(file[2].collegato, sent.numero);
    EXPECT_EQ(file[2].progressivo, sent.progressivo);
    EXPECT_EQ(file[2].litri, 420.0);
    EXPECT_EQ(file[2].nota.trimmed(), QStringLiteral("litri errati"));

    // An unsent movement confirmed unchanged: no "already in memory" warning about itself.
    runAction("AMODSCARICO", later.numero, [&](QWidget* w) {
        edit(w, "ANNOTA")->setFocus();
        QTest::keyClicks(edit(w, "ANNOTA"), QStringLiteral("x"));
        altC(w);
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_EQ(t.messenger.infos, QStringList());
    file = year2026();
    ASSERT_EQ(file.size(), 4);
    EXPECT_EQ(file[3].litri, 80.0);
    EXPECT_EQ(file[3].nota.trimmed(), QStringLiteral("x"));
}

// Confirming straight from a field runs its leave behaviour once: a warning it gives is shown once.
TEST_F(MovementWindow, ConfirmingFromAFieldRunsItsLeaveBehaviourOnce)
{
    runAction("AINSSCARICO", -1, [&](QWidget* w) {
        typeDaaHead(w, QStringLiteral("13/B"), QStringLiteral("10122026"));
        typeHere(w, "TIPSTO", QStringLiteral("S"));
        edit(w, "DOUBL2")->setText(QStringLiteral("16"));
        edit(w, "CODPAE")->setText(QStringLiteral("FR"));
        edit(w, "MITDES")->setText(QStringLiteral("FR00012345678"));
        edit(w, "CAUMOV")->setText(QStringLiteral("S1"));
        auto* litres = edit(w, "DOUBL1");
        litres->setFocus();
        QTest::keyClicks(litres, QStringLiteral("1000"));
        altC(w);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(t.messenger.infos.count(MsgNoRateBand), 1) << t.messenger.infos.join('|').toStdString();
    ASSERT_EQ(year2026().size(), 1);
    EXPECT_EQ(year2026()[0].garanzia, 0.0);
}

// The picker shows the current year's list from the start; a double click chooses the row it
// lands on, not the last one; a year with nothing to list says so.
TEST_F(MovementWindow, PickerListsTheYearAtOnceAndADoubleClickChoosesItsRow)
{
    const TRecMovimento a = unload(day(1, 12, 2026), 10);
    unload(day(2, 12, 2026), 20);
    unload(day(3, 12, 2026), 30);
    t.ctx.OpCode = QLatin1Char('m');
    TFSCEGLIMOVIMENTO picker(t.ctx);
    picker.show();
    QApplication::setActiveWindow(&picker);
    QApplication::processEvents();
    auto* lista = picker.findChild<QTreeWidget*>(QStringLiteral("LISTA"));
    ASSERT_EQ(lista->topLevelItemCount(), 3);
    EXPECT_EQ(focusName(), QStringLiteral("LANNO"));
    EXPECT_FALSE(picker.findChild<QLabel*>(QStringLiteral("LNESSUNO"))->isVisible());
    EXPECT_GE(picker.width(), picker.fontMetrics().horizontalAdvance(picker.windowTitle()));

    const QRect first = lista->visualItemRect(lista->topLevelItem(0));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, first.center());
    QApplication::processEvents();
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(t.ctx.PickedMovement, a.numero);
    EXPECT_EQ(t.ctx.SelectedYear, QStringLiteral("2026"));

    TFSCEGLIMOVIMENTO empty(t.ctx);
    t.ctx.OpCode = QLatin1Char('F'); // nothing sent
    empty.show();
    QApplication::processEvents();
    EXPECT_EQ(empty.findChild<QTreeWidget*>(QStringLiteral("LISTA"))->topLevelItemCount(), 0);
    EXPECT_TRUE(empty.findChild<QLabel*>(QStringLiteral("LNESSUNO"))->isVisible());
    QTest::keyClick(&empty, Qt::Key_Escape);
    EXPECT_EQ(t.ctx.PickedMovement, -1);
}

// A sent unload whose reason has since left the table can still be cancelled: the cancellation
// repeats the record as it stands and only the note is typed. A modify-rectification of it must
// have a valid reason.
TEST_F(MovementWindow, CancellingASentRecordDoesNotDependOnTodaysCodeTables)
{
    // A listing opened by a check would wait for a choice: it is closed, and counted.
    int listings = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (m && m->objectName() == QLatin1String("TFLISTVIEW")) {
            ++listings;
            m->close();
        }
    });
    closer.start(50);
    const TRecMovimento sent = unload(day(5, 12, 2026), 500, 3);
    QFile::remove(tablePath(t.ctx, QStringLiteral("TA21S"), ".TAB"));
    appendRow(t.ctx, QStringLiteral("TA21S"), {QStringLiteral("S2"), QStringLiteral("reso")});

    runAction("Action2", sent.numero, [&](QWidget* w) {
        edit(w, "ANNOTA")->setFocus();
        QTest::keyClicks(edit(w, "ANNOTA"), QStringLiteral("causale errata"));
        altC(w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(focusName(), QStringLiteral("CAUMOV"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(year2026().size(), 1);

    listings = 0;
    runAction("ARETTSCARICO", sent.numero, [&](QWidget* w) {
        EXPECT_EQ(focusName(), QStringLiteral("ANNOTA"));
        QTest::keyClicks(edit(w, "ANNOTA"), QStringLiteral("spedizione annullata"));
        altC(w);
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_EQ(listings, 0);
    const QList<TRecMovimento> file = year2026();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(file[0].stato, QStringLiteral("C"));
    EXPECT_EQ(file[1].operazione, QStringLiteral("C"));
    EXPECT_EQ(file[1].causale.trimmed(), QStringLiteral("S1"));
    EXPECT_EQ(file[1].nota.trimmed(), QStringLiteral("spedizione annullata"));
}

// The company product may be left out: no "CODICE NON VALIDO" beside an empty one; an unknown
// one keeps the focus.
TEST_F(MovementWindow, AnEmptyCompanyProductIsNoErrorAnUnknownOneIs)
{
    runAction("AINSCARICO", -1, [&](QWidget* w) {
        typeAndEnter(w, "PRODAZ", QString());
        EXPECT_TRUE(edit(w, "DPRODAZ")->text().isEmpty());
        EXPECT_EQ(focusName(), QStringLiteral("TIPSTO"));
        typeAndEnter(w, "PRODAZ", QStringLiteral("NESSUNO"));
        EXPECT_EQ(focusName(), QStringLiteral("PRODAZ"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_TRUE(year2026().isEmpty());
}

// The field checks run when a field is left, not only on confirming: a failure keeps the focus,
// a document dated after the movement is accepted with a warning.
TEST_F(MovementWindow, LeavingAFieldRunsItsCheck)
{
    runAction("AINSSCARICO", -1, [&](QWidget* w) {
        typeHere(w, "DATMOV", QStringLiteral("10122026"));
        typeHere(w, "TIPDOC", QStringLiteral("EAD"));
        EXPECT_EQ(focusName(), QStringLiteral("NUMDOC"));
        QTest::keyClick(edit(w, "NUMDOC"), Qt::Key_Return); // empty: stays
        QApplication::processEvents();
        EXPECT_EQ(focusName(), QStringLiteral("NUMDOC"));
        typeHere(w, "NUMDOC", QStringLiteral("26ITABCDEFGHIJ1234567"));
        typeHere(w, "DATDOC", QStringLiteral("11122026"));
        EXPECT_EQ(t.messenger.infos, QStringList{MsgDocumentAfterMovement});
        EXPECT_EQ(focusName(), QStringLiteral("NILODD"));
        QTest::keyClick(edit(w, "NILODD"), Qt::Key_Return); // empty: stays
        QApplication::processEvents();
        EXPECT_EQ(focusName(), QStringLiteral("NILODD"));

        t.messenger.infos.clear();
        auto* who = edit(w, "MITDES");
        who->setFocus();
        QTest::keyClicks(who, QStringLiteral("X"));
        QTest::keyClick(who, Qt::Key_Backspace);
        QTest::keyClick(who, Qt::Key_Return); // an e-AD to a tax warehouse needs its consignee
        QApplication::processEvents();
        EXPECT_EQ(t.messenger.infos, QStringList{MsgConsigneeMandatory});
        EXPECT_EQ(focusName(), QStringLiteral("MITDES"));
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_TRUE(year2026().isEmpty());
}

// The picker is two text lines high per row, at least 300 pixels, within the screen limit.
TEST_F(MovementWindow, PickerHeightFollowsItsRowsWithinTheLimit)
{
    t.ctx.OpCode = QLatin1Char('m');
    t.ctx.ScreenHeightLimit = 500;
    unload(day(1, 12, 2026), 10);
    TFSCEGLIMOVIMENTO few(t.ctx);
    few.show();
    QApplication::processEvents();
    EXPECT_EQ(few.height(), 300);
    few.reject();

    for (int i = 0; i < 39; ++i)
        unload(day(2, 12, 2026), 11 + i);
    TFSCEGLIMOVIMENTO many(t.ctx);
    many.show();
    QApplication::processEvents();
    EXPECT_EQ(many.findChild<QTreeWidget*>(QStringLiteral("LISTA"))->topLevelItemCount(), 40);
    EXPECT_EQ(many.height(), 500);
    many.reject();
}

// The buttons beside a field take no focus: F4 on a coded field opens its table, Shift+F4 its
// new-code editor, and F4 / Shift+F4 on the counterpart its address book and a new address.
TEST_F(MovementWindow, FunctionKeysOpenTheListsOfTheFieldInHand)
{
    runAction("AINSSCARICO", -1, [&](QWidget* w) {
        auto opens = [&](const char* field, QKeyCombination keys) {
            QString name;
            QObject guard;
            QTimer::singleShot(0, &guard, [&] {
                QWidget* m = QApplication::activeModalWidget();
                if (!m || m == w)
                    return;
                name = m->objectName();
                m->close();
            });
            QLineEdit* e = edit(w, field);
            e->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(e, keys.key(), keys.keyboardModifiers());
            QApplication::setActiveWindow(w);
            QApplication::processEvents();
            return name;
        };
        EXPECT_EQ(opens("TIPDOC", Qt::Key_F4), QStringLiteral("TFLISTVIEW"));
        EXPECT_EQ(opens("CAUMOV", Qt::Key_F4), QStringLiteral("TFLISTVIEW"));
        EXPECT_FALSE(opens("TIPDOC", Qt::SHIFT | Qt::Key_F4).isEmpty());
        EXPECT_FALSE(opens("MITDES", Qt::Key_F4).isEmpty());
        EXPECT_FALSE(opens("MITDES", Qt::SHIFT | Qt::Key_F4).isEmpty());
        EXPECT_TRUE(edit(w, "TIPDOC")->toolTip().contains(QStringLiteral("F4")));
    });
}

// A movement typed whole for a date no register protocol covers: the message, and the form stays
// as typed with the cursor on the date, so that the clerk corrects it and confirms again.
TEST_F(MovementWindow, NoProtocolForTheDateKeepsTheTypedMovement)
{
    runAction("AINSSCARICO", -1, [&](QWidget* w) {
        typeHere(w, "DATMOV", QStringLiteral("31122019"));
        typeHere(w, "TIPDOC", QStringLiteral("DAA"));
        typeHere(w, "NUMDOC", QStringLiteral("21/C"));
        typeHere(w, "DATDOC", QStringLiteral("31122019"));
        typeHere(w, "PRODAZ", QStringLiteral("ROSSO01"));
        typeHere(w, "TIPSTO", QStringLiteral("S"));
        edit(w, "DOUBL1")->setText(QStringLiteral("100"));
        edit(w, "CODPAE")->setText(QStringLiteral("FR"));
        edit(w, "MITDES")->setText(QStringLiteral("FR00012345678"));
        edit(w, "CAUMOV")->setText(QStringLiteral("S1"));
        altC(w);
        EXPECT_TRUE(t.messenger.infos.contains(MsgNoProtocol)) << t.messenger.infos.join('|').toStdString();
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(focusName(), QStringLiteral("DATMOV"));
        EXPECT_EQ(edit(w, "NUMDOC")->text(), QStringLiteral("21/C"));
        EXPECT_EQ(edit(w, "CAUMOV")->text(), QStringLiteral("S1"));
        // Corrected, it is written.
        t.messenger.infos.clear();
        edit(w, "DATMOV")->setText(QStringLiteral("10/12/2026"));
        edit(w, "DATDOC")->setText(QStringLiteral("10/12/2026"));
        altC(w);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    ASSERT_EQ(year2026().size(), 1);
    EXPECT_EQ(year2026()[0].numeroDocumento.trimmed(), QStringLiteral("21/C"));
}

// Three loads entered through the window; the second's date is then changed to a later day. The
// line keeps its number: the file reads lines 1, 3, 2 in date order and no number is missing. The
// new date is typed and confirmed with Alt+C straight from the date field.
TEST_F(MovementWindow, ModifyOfTheDateKeepsTheLineNumber)
{
    runAction("AINSCARICO", -1, [&](QWidget* w) {
        for (const char* date : { "07122026", "08122026", "09122026" }) {
            typeHere(w, "DATMOV", QString::fromLatin1(date));
            typeHere(w, "TIPDOC", QStringLiteral("DAA"));
            typeHere(w, "NUMDOC", QStringLiteral("L-") + QString::fromLatin1(date).left(2));
            typeHere(w, "DATDOC", QString::fromLatin1(date));
            typeHere(w, "PRODAZ", QStringLiteral("ROSSO01"));
            typeHere(w, "TIPSTO", QStringLiteral("S"));
            typeHere(w, "PRODDO", {});
            typeHere(w, "DOUBL2", {});
            typeHere(w, "DOUBL1", QStringLiteral("100"));
            typeHere(w, "CODPAE", QStringLiteral("FR"));
            typeHere(w, "MITDES", QStringLiteral("FR00012345678"));
            QApplication::processEvents();
            edit(w, "CAUMOV")->setFocus();
            QTest::keyClicks(edit(w, "CAUMOV"), QStringLiteral("C1"));
            altC(w);
            ASSERT_TRUE(w->isVisible());
        }
        QTest::keyClick(w, Qt::Key_Escape);
    });
    ASSERT_EQ(year2026().size(), 3);
    const TRecMovimento second = year2026()[1];
    EXPECT_EQ(second.progressivo, 2);

    t.messenger.infos.clear();
    runAction("AMODCARICO", second.numero, [&](QWidget* w) {
        EXPECT_EQ(focusName(), QStringLiteral("DATMOV"));
        auto* date = edit(w, "DATMOV");
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("11122026"));
        altC(w);
        EXPECT_FALSE(w->isVisible());
    });
    EXPECT_EQ(t.messenger.infos, QStringList());
    QList<std::int32_t> lines;
    QList<double> days;
    for (const TRecMovimento& r : year2026()) {
        lines << r.progressivo;
        days << r.data;
    }
    EXPECT_EQ(lines, (QList<std::int32_t> { 1, 3, 2 }));
    EXPECT_EQ(days, (QList<double> { day(7, 12, 2026), day(9, 12, 2026), day(11, 12, 2026) }));
    EXPECT_EQ(year2026()[2].numero, second.numero);
}
