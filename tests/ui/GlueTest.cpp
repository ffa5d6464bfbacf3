// The shared window glue: edits, Enter, the untouched guard, leave checks, confirm, coded field.
#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "ui/CodedField.h"
#include "ui/Edits.h"
#include "ui/FlowEntryForm.h"
#include "ui/FormChecks.h"

using namespace vt;
using namespace vt::test;

TEST(RegroupDecimal, GroupsTheIntegerPartOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"1", "1"},
        {"123", "123"},
        {"1234", "1.234"},
        {"1234567", "1.234.567"},
        {"1.2345", "12.345"},        // points typed elsewhere move to their place
        {"-1234", "-1.234"},
        {"1234,5678", "1.234,5678"}, // the decimals are never grouped
        {",5", ",5"},
        {"-,5", "-,5"},
        {"12.345.678,9", "12.345.678,9"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(regroupDecimal(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

namespace {
QString typed(QLineEdit& e, const QString& keys)
{
    for (QChar c : keys)
        QTest::keyClicks(&e, QString(c));
    return e.text();
}
} // namespace

TEST(DecimalEdit, TypingRegroupsAndRefusesOtherKeys)
{
    FakeMessenger m;
    struct Case {
        const char* keys;
        const char* text;
        int beeps;
    };
    const Case cases[] = {
        {"1234567", "1.234.567", 0},
        {"1234.5", "1.234,5", 0}, // "." becomes ","
        {"12,3,4", "12,34", 1},   // a second comma is refused
        {"-12-3", "-123", 1},     // a minus only first
        {"1-2", "12", 1},
        {"12a", "12", 1},
        {"0,25", "0,25", 0},
    };
    for (const auto& c : cases) {
        DecimalEdit e(m);
        m.beeps = 0;
        EXPECT_EQ(typed(e, QString::fromLatin1(c.keys)), QString::fromLatin1(c.text)) << c.keys;
        EXPECT_EQ(m.beeps, c.beeps) << c.keys;
    }
}

TEST(DecimalEdit, BackspaceRegroupsAndKeepsTheCursor)
{
    FakeMessenger m;
    DecimalEdit e(m);
    typed(e, QStringLiteral("1234567"));
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text(), QStringLiteral("123.456"));
    e.setCursorPosition(1); // after "1"
    QTest::keyClicks(&e, QStringLiteral("9"));
    EXPECT_EQ(e.text(), QStringLiteral("1.923.456"));
    EXPECT_EQ(e.cursorPosition(), 3); // still right after the typed 9
}

TEST(DecimalEdit, DecimalsLimit)
{
    FakeMessenger m;
    DecimalEdit e(m);
    e.setDecimals(2);
    EXPECT_EQ(typed(e, QStringLiteral("1,234")), QStringLiteral("1,23"));
    EXPECT_EQ(m.beeps, 1);
}

TEST(IntegerEdit, DigitsOnlyAndMinusFirstWhenAllowed)
{
    FakeMessenger m;
    IntegerEdit e(m);
    EXPECT_EQ(typed(e, QStringLiteral("1a2.3-")), QStringLiteral("123"));
    EXPECT_EQ(m.beeps, 3);
    IntegerEdit s(m);
    s.setAllowMinus(true);
    EXPECT_EQ(typed(s, QStringLiteral("-1-")), QStringLiteral("-1"));
}

TEST(TextEdits, CaseForcingLengthAndCodePage)
{
    QLineEdit up, low;
    setupText(&up, 5, TextCase::Upper);
    setupText(&low, 3, TextCase::Lower);
    QTest::keyClicks(&up, QStringLiteral("it075000"));
    QTest::keyClicks(&low, QStringLiteral("IT"));
    EXPECT_EQ(up.text(), QStringLiteral("IT075"));
    EXPECT_EQ(low.text(), QStringLiteral("it"));
    QLineEdit any;
    setupText(&any, 10);
    auto type = [&](const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(&any, &press);
    };
    type(QStringLiteral("Citt"));
    type(QStringLiteral("à"));
    type(QString(QChar(0x4E2D))); // not in Windows-1252: refused
    EXPECT_EQ(any.text(), QStringLiteral("Città"));
}

TEST(DateEdit, MaskAndValidity)
{
    DateEdit d;
    EXPECT_TRUE(d.isBlank());
    EXPECT_FALSE(d.date().isValid());
    QTest::keyClicks(&d, QStringLiteral("09122026"));
    EXPECT_EQ(d.text(), QStringLiteral("09/12/2026"));
    EXPECT_EQ(d.date(), QDate(2026, 12, 9));
    d.setText(QStringLiteral("31/02/2026"));
    EXPECT_FALSE(d.date().isValid());
    d.setDate(QDate(2050, 1, 1));
    EXPECT_EQ(d.text(), QStringLiteral("01/01/2050"));
}

namespace {
// A small form: three edits and BCONF; A must not be empty when left.
struct Form {
    explicit Form(Messenger& m) : checks(&dlg, m)
    {
        auto* f = new QFormLayout(&dlg);
        for (auto [e, n] : {std::pair{&a, "A"}, std::pair{&b, "B"}, std::pair{&c, "C"}}) {
            *e = new QLineEdit(&dlg);
            (*e)->setObjectName(QString::fromLatin1(n));
            f->addRow(QString::fromLatin1(n), *e);
        }
        conf = new QPushButton(QStringLiteral("&CONFERMA"), &dlg);
        conf->setObjectName(QStringLiteral("BCONF"));
        f->addRow(conf);
        checks.attach();
        checks.onLeave(a, [this] { return checkA(); });
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        a->setFocus();
        QApplication::processEvents();
    }
    CheckResult checkA() const
    {
        return a->text().isEmpty() ? CheckResult::fail(QStringLiteral("VUOTO"), QStringLiteral("A"))
                                   : CheckResult::pass();
    }
    QDialog dlg;
    FormChecks checks;
    QLineEdit *a = nullptr, *b = nullptr, *c = nullptr;
    QPushButton* conf = nullptr;
};
} // namespace

TEST(FormChecks, EnterMovesToTheNextField)
{
    FakeMessenger m;
    Form f(m);
    QTest::keyClicks(f.a, QStringLiteral("x"));
    QTest::keyClick(f.a, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.b);
    QTest::keyClick(f.b, Qt::Key_Enter);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.c);
    EXPECT_TRUE(m.infos.isEmpty());
}

TEST(FormChecks, UntouchedWindowSkipsLeaveChecks)
{
    FakeMessenger m;
    Form f(m);
    QTest::keyClick(f.a, Qt::Key_Return); // nothing typed yet: A is empty but not checked
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.b);
    EXPECT_TRUE(m.infos.isEmpty());

    QTest::keyClicks(f.b, QStringLiteral("y")); // now touched
    f.a->setFocus();
    QApplication::processEvents();
    QTest::keyClick(f.a, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(m.infos, QStringList{QStringLiteral("VUOTO")});
    EXPECT_EQ(QApplication::focusWidget(), f.a); // focus back on the faulty field
}

TEST(FormChecks, ConfirmRunsChecksInOrderAndStopsAtTheFirstFailure)
{
    FakeMessenger m;
    Form f(m);
    QStringList ran;
    auto mk = [&](const char* name, bool ok, const char* msg) {
        return CheckFn([&ran, name, ok, msg] {
            ran << QString::fromLatin1(name);
            return ok ? CheckResult::pass() : CheckResult::fail(QString::fromLatin1(msg), QString::fromLatin1(name));
        });
    };
    // Untouched windows are checked on confirmation too: nothing is written unchecked.
    EXPECT_FALSE(f.checks.confirm({mk("A", true, ""), mk("B", false, "B ERRATO"), mk("C", false, "C ERRATO")}));
    EXPECT_EQ(ran, (QStringList{"A", "B"}));
    EXPECT_EQ(m.infos, QStringList{QStringLiteral("B ERRATO")});
    EXPECT_EQ(QApplication::focusWidget(), f.b);
    // A check without a message only moves the focus.
    EXPECT_FALSE(f.checks.confirm({mk("C", false, "")}));
    EXPECT_EQ(m.infos.size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), f.c);
    EXPECT_TRUE(f.checks.confirm({mk("A", true, ""), mk("B", true, "")}));
}

TEST(FormChecks, LeavingForConfirmDoesNotCheckTwice)
{
    FakeMessenger m;
    Form f(m);
    QTest::keyClicks(f.b, QStringLiteral("y"));
    f.a->setFocus();
    QApplication::processEvents();
    f.conf->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(m.infos.isEmpty());
}

class CodedFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("TA03"), QStringLiteral("Uffici Doganali"), 1,
                       {{8, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        appendRow(t.ctx, QStringLiteral("TA03"), {QStringLiteral("IT075000"), QStringLiteral("UFFICIO DI PROVA")});
    }
    TestContext t;
};

TEST_F(CodedFieldTest, LookupShowsTheDescriptionOrCodiceNonValido)
{
    QWidget host;
    auto* f = new CodedField(t.ctx, QStringLiteral("TA03"), {"UFFDO1", "DUFFDOG", "BUFFDOG", "BNUFFDOG"}, 8, &host);
    EXPECT_EQ(host.findChild<QLineEdit*>("UFFDO1"), f->edit());
    EXPECT_EQ(host.findChild<QLineEdit*>("DUFFDOG"), f->companion());
    EXPECT_EQ(host.findChild<QToolButton*>("BUFFDOG")->toolTip(), QStringLiteral("mostra la tabella"));
    EXPECT_EQ(host.findChild<QToolButton*>("BNUFFDOG")->toolTip(), QStringLiteral("Inserisce Nuovo Codice"));
    EXPECT_TRUE(f->companion()->isReadOnly());

    QTest::keyClicks(f->edit(), QStringLiteral("it075000"));
    EXPECT_EQ(f->code(), QStringLiteral("IT075000")); // upper case forced
    EXPECT_TRUE(f->lookup());
    EXPECT_EQ(f->companion()->text(), QStringLiteral("UFFICIO DI PROVA"));
    f->setCode(QStringLiteral("IT999999"));
    EXPECT_FALSE(f->lookup());
    EXPECT_EQ(f->companion()->text(), QStringLiteral("CODICE NON VALIDO"));
}

TEST_F(CodedFieldTest, WithoutANewButtonThereIsNone)
{
    CodedField f(t.ctx, QStringLiteral("TA03"), {"UFFDO2", "DUFFDO2", "BUFFDO2", ""}, 8);
    EXPECT_EQ(f.newButton(), nullptr);
    EXPECT_EQ(f.findChildren<QToolButton*>().size(), 1);
}

namespace {
// A form whose field A has a leave behaviour that derives B (and counts its runs), with a
// confirmation that records what B shows when BCONF's clicked handler runs.
struct DerivingForm {
    explicit DerivingForm(Messenger& m) : checks(&dlg, m)
    {
        auto* f = new QFormLayout(&dlg);
        for (auto [e, n] : {std::pair{&a, "A"}, std::pair{&b, "B"}, std::pair{&c, "C"}}) {
            *e = new QLineEdit(&dlg);
            (*e)->setObjectName(QString::fromLatin1(n));
            f->addRow(QString::fromLatin1(n), *e);
        }
        conf = new QPushButton(QStringLiteral("&CONFERMA"), &dlg);
        conf->setObjectName(QStringLiteral("BCONF"));
        conf->setAutoDefault(false);
        f->addRow(conf);
        checks.attach();
        checks.onLeave(a, [this] {
            ++leaves;
            if (a->text() == QLatin1String("bad"))
                return CheckResult::fail(QStringLiteral("A ERRATO"), QStringLiteral("A"));
            b->setText(a->text().toUpper());
            return CheckResult::pass();
        });
        QObject::connect(conf, &QPushButton::clicked, [this] { confirmed << b->text(); });
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        a->setFocus();
        QApplication::processEvents();
    }
    void typeInA(const QString& text)
    {
        a->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(a, text);
    }
    QDialog dlg;
    FormChecks checks;
    QLineEdit *a = nullptr, *b = nullptr, *c = nullptr;
    QPushButton* conf = nullptr;
    int leaves = 0;
    QStringList confirmed;
};
void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}
} // namespace

TEST(FormChecks, EveryWayOfConfirmingRunsTheLeftFieldsBehaviourFirst)
{
    enum class Way { Click, AltC, TabThenSpace, TabThenEnter };
    for (Way way : {Way::Click, Way::AltC, Way::TabThenSpace, Way::TabThenEnter}) {
        FakeMessenger m;
        DerivingForm f(m);
        f.typeInA(QStringLiteral("x1"));
        switch (way) {
        case Way::Click:
            f.conf->setFocus(Qt::MouseFocusReason);
            settle();
            QTest::mouseClick(f.conf, Qt::LeftButton);
            break;
        case Way::AltC:
            QTest::keyClick(f.a, Qt::Key_C, Qt::AltModifier);
            break;
        case Way::TabThenSpace:
        case Way::TabThenEnter:
            f.conf->setFocus(Qt::TabFocusReason);
            settle();
            EXPECT_EQ(f.leaves, 0) << int(way); // reaching the button runs nothing yet
            if (way == Way::TabThenSpace)
                QTest::keyClick(f.conf, Qt::Key_Space);
            else
                QTest::keyClick(f.conf, Qt::Key_Return);
            break;
        }
        settle();
        EXPECT_EQ(f.leaves, 1) << int(way);
        EXPECT_EQ(f.confirmed, QStringList{QStringLiteral("X1")}) << int(way); // the derived value
        EXPECT_TRUE(m.infos.isEmpty()) << int(way);
    }
}

TEST(FormChecks, AFailingLeaveStopsTheConfirmationWithItsMessage)
{
    for (bool altC : {false, true}) {
        FakeMessenger m;
        DerivingForm f(m);
        f.typeInA(QStringLiteral("bad"));
        if (altC) {
            QTest::keyClick(f.a, Qt::Key_C, Qt::AltModifier);
        } else {
            f.conf->setFocus(Qt::MouseFocusReason);
            settle();
            QTest::mouseClick(f.conf, Qt::LeftButton);
        }
        settle();
        EXPECT_EQ(m.infos, QStringList{QStringLiteral("A ERRATO")}) << altC;
        EXPECT_TRUE(f.confirmed.isEmpty()) << altC;
        EXPECT_EQ(QApplication::focusWidget(), f.a) << altC;
    }
}

TEST(FormChecks, LeftForTheButtonThenBackToAnotherFieldStillRunsTheBehaviour)
{
    FakeMessenger m;
    DerivingForm f(m);
    f.typeInA(QStringLiteral("y"));
    f.conf->setFocus(Qt::TabFocusReason);
    settle();
    EXPECT_EQ(f.leaves, 0);
    f.c->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_EQ(f.leaves, 1);
    EXPECT_EQ(f.b->text(), QStringLiteral("Y"));
    // Confirming now has nothing pending: the behaviour does not run twice.
    f.conf->setFocus(Qt::MouseFocusReason);
    settle();
    QTest::mouseClick(f.conf, Qt::LeftButton);
    settle();
    EXPECT_EQ(f.leaves, 1);
    EXPECT_EQ(f.confirmed, QStringList{QStringLiteral("Y")});
}

TEST(FormChecks, AnUntouchedWindowConfirmsWithoutLeaveBehaviour)
{
    FakeMessenger m;
    DerivingForm f(m);
    f.a->setText(QStringLiteral("bad")); // shown, not typed
    QTest::keyClick(f.a, Qt::Key_C, Qt::AltModifier);
    settle();
    EXPECT_EQ(f.leaves, 0);
    EXPECT_EQ(f.confirmed.size(), 1);
}

TEST(FormChecks, ConfirmAllShowsEveryMessageAndFocusesTheLastFailure)
{
    FakeMessenger m;
    Form f(m);
    QStringList ran;
    auto mk = [&](const char* name, bool ok, const char* msg) {
        return CheckFn([&ran, name, ok, msg] {
            ran << QString::fromLatin1(name);
            return ok ? CheckResult::pass() : CheckResult::fail(QString::fromLatin1(msg), QString::fromLatin1(name));
        });
    };
    EXPECT_FALSE(f.checks.confirmAll({mk("A", false, "A ERRATO"), mk("B", true, ""), mk("C", false, ""),
                                      mk("B", false, "B ERRATO")}));
    EXPECT_EQ(ran, (QStringList{"A", "B", "C", "B"}));
    EXPECT_EQ(m.infos, (QStringList{"A ERRATO", "B ERRATO"}));
    EXPECT_EQ(QApplication::focusWidget(), f.b);
    EXPECT_TRUE(f.checks.confirmAll({mk("A", true, "")}));
}

TEST(FormChecks, ACharacterTheCodePageCannotHoldIsRefusedNamingTheFieldByItsLabel)
{
    FakeMessenger m;
    QDialog dlg;
    auto* form = new QFormLayout(&dlg);
    auto* city = new QLineEdit(&dlg);
    city->setObjectName(QStringLiteral("CITTA1"));
    setupText(city, 50, TextCase::Upper);
    auto* label = new QLabel(QStringLiteral("Citt&à"), &dlg);
    label->setBuddy(city);
    form->addRow(label, city);
    auto* memo = new QPlainTextEdit(&dlg);
    memo->setObjectName(QStringLiteral("Memo1"));
    auto* memoLabel = new QLabel(QStringLiteral("Descrizione:"), &dlg);
    memoLabel->setBuddy(memo);
    form->addRow(memoLabel, memo);
    FormChecks checks(&dlg, m);
    checks.attach();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    city->setFocus();
    settle();

    auto type = [](QWidget* w, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
    };
    type(city, QStringLiteral("a"));
    type(city, QString(QChar(0x20AC))); // the euro sign is in the code page
    type(city, QString(QChar(0x0141))); // Ł is not
    EXPECT_EQ(city->text(), QStringLiteral("A€"));
    EXPECT_EQ(m.infos, QStringList{QStringLiteral("IL CAMPO \"Città\" NON PUO' CONTENERE IL CARATTERE \"Ł\"")});

    memo->setFocus();
    settle();
    type(memo, QString(QChar(0x4E2D)));
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_EQ(m.infos.last(), QStringLiteral("IL CAMPO \"Descrizione\" NON PUO' CONTENERE IL CARATTERE \"中\""));

    // Pasted text is refused as a whole, with the same message.
    m.infos.clear();
    city->setFocus();
    settle();
    city->selectAll();
    city->insert(QStringLiteral("ŁÓDŹ"));
    settle();
    EXPECT_EQ(city->text(), QStringLiteral("A€"));
    EXPECT_EQ(m.infos, QStringList{QStringLiteral("IL CAMPO \"Città\" NON PUO' CONTENERE IL CARATTERE \"ŁŹ\"")});
}

// The flow windows hand the flow to the signing program inside their confirmation, and that
// hand-off lets pending events through: a second click or Alt+C arriving then must not start a
// second confirmation (a second flow, a second transmission window).
TEST(FlowEntryConfirm, OneConfirmationAtATime)
{
    TestContext t;
    QDialog window;
    auto* form = new FlowEntryForm(t.ctx, &window);
    (new QVBoxLayout(&window))->addWidget(form);
    int runs = 0;
    QObject::connect(form, &FlowEntryForm::confirmRequested, [&] {
        ++runs;
        QTest::mouseClick(form->BCONF, Qt::LeftButton);            // a click that arrives meanwhile
        QTest::keyClick(form->NUMFLU, Qt::Key_C, Qt::AltModifier); // and Alt+C (a delayed click)
        QTest::qWait(300);                                         // the hand-off lets them through
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    form->start(); // today's date
    QTest::mouseClick(form->BCONF, Qt::LeftButton);
    QTest::qWait(300);
    EXPECT_EQ(runs, 1);
    // Once it is over, the next one runs.
    form->NUMFLU->setFocus();
    QTest::keyClick(form->NUMFLU, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(runs, 2);
}

// Enter leaves the flow date for the number, which is then proposed for that day, in every flow
// window (whether or not the window itself moves on with Enter).
TEST(FlowEntryConfirm, EnterOnTheDateProposesTheNumber)
{
    TestContext t;
    QDialog window;
    auto* form = new FlowEntryForm(t.ctx, &window);
    (new QVBoxLayout(&window))->addWidget(form);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    form->start();
    QApplication::processEvents();
    ASSERT_TRUE(form->DATFLU->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_TRUE(form->NUMFLU->hasFocus());
    EXPECT_EQ(form->NUMFLU->text(), "1");
    // Typing a number replaces the proposed one (never "1" + "3" = 13).
    QTest::keyClicks(form->NUMFLU, "3");
    EXPECT_EQ(form->NUMFLU->text(), "3");
}

// Alt with a key that is nobody's shortcut types nothing into the field (the runner installs the
// guard as the application does); Alt with a button's letter still presses it, and AltGr
// (Ctrl+Alt on some systems) still types.
TEST(AltKeys, OnlyShortcutsAnswerAlt)
{
    QDialog window;
    auto* field = new QLineEdit(QStringLiteral("10/12/2026"), &window);
    auto* button = new QPushButton(QStringLiteral("&CONFERMA"), &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    layout->addWidget(button);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    field->setCursorPosition(0);
    for (Qt::Key k : {Qt::Key_3, Qt::Key_X, Qt::Key_Space})
        QTest::keyClick(field, k, Qt::AltModifier);
    EXPECT_EQ(field->text(), "10/12/2026");
    QTest::keyClick(field, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(300); // a mnemonic clicks a moment later
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(field->text(), "10/12/2026");
    QTest::keyClick(field, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(field->text(), "@10/12/2026");
}
