// The code editors driven offscreen: TFCODICI, TFCODICI_NC, TFSTRUTAB and the new-code flow.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

#include <gtest/gtest.h>

#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "masterdata/TFCODICI.h"
#include "masterdata/TFCODICI_NC.h"
#include "masterdata/TFSTRUTAB.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"

using namespace vt;
using namespace vt::test;

namespace {
template <class W = QLineEdit>
W* get(QWidget* w, const char* name)
{
    W* c = w->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}
void showActive(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QApplication::processEvents();
}
void typeAndEnter(QWidget* w, const char* name, const QString& text)
{
    auto* e = get(w, name);
    e->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
}
void click(QWidget* w, const char* name)
{
    auto* b = get<QPushButton>(w, name);
    b->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}
QList<std::pair<QString, int>> rowsOf(const QString& path)
{
    QList<std::pair<QString, int>> out;
    for (const QByteArray& r : RecordFile(path, 5304).readAll())
        out.append({QString::fromLatin1(r.mid(5, static_cast<unsigned char>(r[4]))).trimmed(), RecordFile::numberOf(r)});
    return out;
}
using Rows = QList<std::pair<QString, int>>;
} // namespace

class CodeEditorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("T015"), QStringLiteral("Tipi di Destinazione"), 1,
                       {{2, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}, {1, QStringLiteral("Flag A")}});
        appendRow(t.ctx, QStringLiteral("T015"), {QStringLiteral("1"), QStringLiteral("uno"), QStringLiteral("S")});
        appendRow(t.ctx, QStringLiteral("T015"), {QStringLiteral("2"), QStringLiteral("due"), QStringLiteral("N")});
        appendRow(t.ctx, QStringLiteral("T015"), {QStringLiteral("3"), QStringLiteral("tre"), QStringLiteral("N")});
        t.ctx.TableName = QStringLiteral("T015");
    }
    QString tab(const char* table = "T015") const { return tablePath(t.ctx, QString::fromLatin1(table), ".TAB"); }
    TestContext t;
};

TEST_F(CodeEditorWindow, BuiltFromTheStructure)
{
    TFCODICI w(t.ctx);
    ASSERT_TRUE(w.ready());
    showActive(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tipi di Destinazione"));
    EXPECT_EQ(get(&w, "LE1")->maxLength(), 2);
    EXPECT_TRUE(get(&w, "LE3")->isVisible());   // Dim[2] = 1
    EXPECT_FALSE(get(&w, "LE4")->isVisible());  // Dim[3] = 0
    EXPECT_FALSE(get<QLabel>(&w, "LMODCANC")->isVisible());
    EXPECT_FALSE(get<QPushButton>(&w, "BCANCELLA")->isVisible());
    EXPECT_EQ(get<QPushButton>(&w, "BCONF")->text(), QStringLiteral("&CONFERMA"));
    EXPECT_EQ(get<QPushButton>(&w, "BCANCELLA")->text(), QStringLiteral("Cance&lla"));
}

TEST_F(CodeEditorWindow, ModifyKeepsTheOrderAndGetsANewNumber)
{
    TFCODICI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE1", QStringLiteral("2"));
    EXPECT_TRUE(get<QLabel>(&w, "LMODCANC")->isVisible());
    EXPECT_TRUE(get<QPushButton>(&w, "BCANCELLA")->isVisible());
    EXPECT_EQ(get(&w, "LE2")->text(), QStringLiteral("due"));
    get(&w, "LE2")->setText(QStringLiteral("due bis"));
    click(&w, "BCONF");
    EXPECT_EQ(rowsOf(tab()), (Rows{{"1", 1}, {"2", 4}, {"3", 3}}));
    EXPECT_TRUE(t.messenger.infos.isEmpty());
    EXPECT_TRUE(get(&w, "LE1")->text().isEmpty()); // reset for the next row
    EXPECT_FALSE(get<QLabel>(&w, "LMODCANC")->isVisible());
}

TEST_F(CodeEditorWindow, ChangingToAnExistingCodeIsRefused)
{
    TFCODICI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE1", QStringLiteral("2"));
    get(&w, "LE1")->setText(QStringLiteral("3"));
    click(&w, "BCONF");
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("CODICE GIA` UTILIZZATO")});
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE1"));
    EXPECT_EQ(rowsOf(tab()), (Rows{{"1", 1}, {"2", 2}, {"3", 3}}));
}

TEST_F(CodeEditorWindow, InvalidFlagKeepsTheFocusAndWritesNothing)
{
    TFCODICI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE1", QStringLiteral("4"));
    typeAndEnter(&w, "LE2", QStringLiteral("quattro"));
    get(&w, "LE3")->setText(QStringLiteral("X"));
    click(&w, "BCONF");
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE3"));
    EXPECT_EQ(rowsOf(tab()).size(), 3);
    get(&w, "LE3")->setText(QStringLiteral("s")); // forced upper case
    click(&w, "BCONF");
    EXPECT_EQ(rowsOf(tab()), (Rows{{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}}));
}

TEST_F(CodeEditorWindow, DeleteInModifyMode)
{
    TFCODICI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE1", QStringLiteral("1"));
    t.messenger.answers.push_back(true); // "Sì" to the question before deleting
    click(&w, "BCANCELLA");
    EXPECT_EQ(rowsOf(tab()), (Rows{{"2", 2}, {"3", 3}}));
}

TEST_F(CodeEditorWindow, ExistingCodeConfirmedStraightAwayIsNotDuplicated)
{
    TFCODICI w(t.ctx);
    showActive(&w);
    get(&w, "LE1")->setText(QStringLiteral("3"));
    get(&w, "LE2")->setText(QStringLiteral("altro"));
    click(&w, "BCONF"); // switches to modification and shows the stored row
    EXPECT_EQ(rowsOf(tab()).size(), 3);
    EXPECT_TRUE(get<QLabel>(&w, "LMODCANC")->isVisible());
    EXPECT_EQ(get(&w, "LE2")->text(), QStringLiteral("tre"));
}

TEST_F(CodeEditorWindow, LanguagesAreLowerCase)
{
    writeStructure(t.ctx, QStringLiteral("T001"), QStringLiteral("Lingue"), 1,
                   {{2, QStringLiteral("Codice")}, {50, QStringLiteral("Descrizione")}});
    t.ctx.TableName = QStringLiteral("T001");
    TFCODICI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE1", QStringLiteral("IT"));
    EXPECT_EQ(get(&w, "LE1")->text(), QStringLiteral("it"));
}

TEST_F(CodeEditorWindow, MissingStructureClosesWithAMessage)
{
    t.ctx.TableName = QStringLiteral("T999");
    TFCODICI w(t.ctx);
    EXPECT_FALSE(w.ready());
    EXPECT_EQ(w.exec(), QDialog::Rejected);
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("STRUTTURA DELLA TABELLA MANCANTE")});
}

TEST_F(CodeEditorWindow, NewCodeFromACodedField)
{
    QWidget host;
    auto* f = new CodedField(t.ctx, QStringLiteral("T015"), {"TIPDES", "DTIPDES", "BTIPDES", "BNTIPDES"}, 2, &host);
    showActive(&host);
    t.ctx.TableName = QStringLiteral("INDIRIZZI_D");
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* ed = qobject_cast<TFCODICI*>(QApplication::activeModalWidget());
        ASSERT_NE(ed, nullptr);
        seen = true;
        showActive(ed);
        typeAndEnter(ed, "LE1", QStringLiteral("9"));
        typeAndEnter(ed, "LE2", QStringLiteral("nove"));
        typeAndEnter(ed, "LE3", QStringLiteral("N"));
        click(ed, "BCONF"); // new-code mode: closes after this row
    });
    QTest::mouseClick(get<QToolButton>(&host, "BNTIPDES"), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(f->code(), QStringLiteral("9"));
    EXPECT_EQ(f->companion()->text(), QStringLiteral("nove"));
    EXPECT_EQ(t.ctx.TableName, QStringLiteral("INDIRIZZI_D")); // the caller's table is kept
    EXPECT_FALSE(t.ctx.NewCodeMode);
    EXPECT_EQ(rowsOf(tab()).size(), 4);
}

class Ta20Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("TA20"), QStringLiteral("Prodotti Alcoli"), 1,
                       {{21, QStringLiteral("Codice")}, {250, QStringLiteral("Descrizione")}});
        t.ctx.TableName = QStringLiteral("TA20");
    }
    TestContext t;
};

TEST_F(Ta20Window, PrefixW100IsRefusedAndW200Stored)
{
    TFCODICI_NC w(t.ctx);
    showActive(&w);
    EXPECT_EQ(get<DateEdit>(&w, "MDALLA")->text(), QStringLiteral("09/12/2026")); // today (fake clock)
    EXPECT_EQ(get<DateEdit>(&w, "MALLA")->text(), QStringLiteral("01/01/2050"));
    auto* me0 = get(&w, "ME0");
    me0->setFocus();
    QTest::keyClicks(me0, QStringLiteral("w1002204211100a000"));
    get<QPlainTextEdit>(&w, "Memo1")->setPlainText(QStringLiteral("Vino rosso"));
    click(&w, "BCONF");
    EXPECT_EQ(QApplication::focusWidget(), me0);
    EXPECT_EQ(RecordFile(tablePath(t.ctx, "TA20", ".TAB"), 5304).count(), 0);

    me0->clear();
    me0->setCursorPosition(0);
    QTest::keyClicks(me0, QStringLiteral("w2002204211100a000"));
    EXPECT_EQ(me0->text(), QStringLiteral("W200-22042111-00-A000"));
    click(&w, "BCONF");
    const auto recs = RecordFile(tablePath(t.ctx, "TA20", ".TAB"), 5304).readAll();
    ASSERT_EQ(recs.size(), 1);
    EXPECT_EQ(QString::fromLatin1(recs[0].mid(5, 21)), QStringLiteral("W200-22042111-00-A000"));
    EXPECT_EQ(QString::fromLatin1(recs[0].mid(5 + 251, 10)), QStringLiteral("Vino rosso"));
    EXPECT_EQ(qFromLittleEndian<double>(recs[0].constData() + 5064), dates::fromDate(QDate(2026, 12, 9)));
    EXPECT_EQ(qFromLittleEndian<double>(recs[0].constData() + 5072), dates::fromDate(QDate(2050, 1, 1)));
    EXPECT_EQ(QString::fromLatin1(recs[0].mid(2515, 4)), QStringLiteral("TA20"));
}

TEST_F(Ta20Window, NewCodeButtonOfAWineCodeFieldOpensTheWineCodeEditor)
{
    QWidget host;
    auto* f = new CodedField(t.ctx, QStringLiteral("TA20"), {"ME4", "DME4", "BME4", "BNME4"}, 21, &host);
    showActive(&host);
    t.ctx.TableName = QStringLiteral("PRODAZIEND");
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* ed = qobject_cast<TFCODICI_NC*>(QApplication::activeModalWidget());
        ASSERT_NE(ed, nullptr); // chosen by the table: TA20 has its own editor
        seen = true;
        showActive(ed);
        auto* me0 = get(ed, "ME0");
        me0->setFocus();
        QTest::keyClicks(me0, QStringLiteral("w3002204211100a000"));
        get<QPlainTextEdit>(ed, "Memo1")->setPlainText(QStringLiteral("Vino bianco"));
        click(ed, "BCONF");
    });
    QTest::mouseClick(get<QToolButton>(&host, "BNME4"), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(f->code(), QStringLiteral("W300-22042111-00-A000"));
    EXPECT_EQ(f->companion()->text(), QStringLiteral("Vino bianco"));
    EXPECT_EQ(t.ctx.TableName, QStringLiteral("PRODAZIEND"));
    EXPECT_FALSE(t.ctx.NewCodeMode);
    EXPECT_EQ(RecordFile(tablePath(t.ctx, "TA20", ".TAB"), 5304).count(), 1);
}

TEST_F(Ta20Window, EndBeforeStartIsRefused)
{
    TFCODICI_NC w(t.ctx);
    showActive(&w);
    QTest::keyClicks(get(&w, "ME0"), QStringLiteral("w3002204211100a000"));
    get<DateEdit>(&w, "MALLA")->setText(QStringLiteral("01/01/2020"));
    click(&w, "BCONF");
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "MALLA"));
    EXPECT_EQ(RecordFile(tablePath(t.ctx, "TA20", ".TAB"), 5304).count(), 0);
}

TEST_F(CodeEditorWindow, StructureEditorAndCsvImport)
{
    TFSTRUTAB w(t.ctx);
    showActive(&w);
    EXPECT_EQ(get<QPushButton>(&w, "BIMPORT")->text(), QStringLiteral("&Importa CSV"));
    auto* grid = get<QTableWidget>(&w, "GRIGLIA");
    EXPECT_EQ(grid->verticalHeaderItem(9)->text(), QStringLiteral("C 10"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("ETICHETTA CAMPO"));

    // An existing structure is shown when its name is left.
    typeAndEnter(&w, "E02250", QStringLiteral("t015"));
    EXPECT_EQ(get(&w, "E12250")->text(), QStringLiteral("Tipi di Destinazione"));
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("100"));
    EXPECT_EQ(grid->item(2, 1)->text(), QStringLiteral("Flag A"));

    // A missing .CSV: a clear message, the table untouched.
    click(&w, "BIMPORT");
    ASSERT_EQ(t.messenger.infos.size(), 1);
    EXPECT_TRUE(t.messenger.infos[0].contains(QStringLiteral("T015.CSV")));
    EXPECT_EQ(rowsOf(tab()).size(), 3);

    QFile csv(QDir(t.ctx.DatiGenFolder).filePath(QStringLiteral("T015.CSV")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("B;bi;X\r\n A;skipped\r\nA;a;\r\n");
    csv.close();
    get(&w, "E02250")->setText(QStringLiteral("T015"));
    click(&w, "BIMPORT");
    EXPECT_EQ(rowsOf(tab()), (Rows{{"A", 2}, {"B", 1}}));
    EXPECT_TRUE(get(&w, "E02250")->text().isEmpty()); // the form is cleared
}

TEST_F(CodeEditorWindow, StructureEditorWritesTheStructure)
{
    TFSTRUTAB w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "E02250", QStringLiteral("TNEW"));
    get(&w, "E12250")->setText(QStringLiteral("Nuova"));
    get(&w, "E22250")->setText(QStringLiteral("COD;DES;"));
    QTest::keyClicks(get<IntegerEdit>(&w, "ICHIAVE"), QStringLiteral("x1"));
    EXPECT_EQ(t.messenger.beeps, 1);
    auto* grid = get<QTableWidget>(&w, "GRIGLIA");
    grid->item(0, 0)->setText(QStringLiteral("4"));
    grid->item(0, 1)->setText(QStringLiteral("Codice"));
    click(&w, "BCONF");
    auto s = ReadStructure(t.ctx, QStringLiteral("TNEW"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Num, 1);
    EXPECT_EQ(s->Dim[0], 4);
    EXPECT_EQ(s->Fld[0].trimmed(), QStringLiteral("Codice"));
    EXPECT_EQ(s->Ext[1].trimmed(), QStringLiteral("Nuova"));
}
