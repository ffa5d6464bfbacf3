// What the table-row editors share, driven offscreen: Enter from the key goes on to the next
// field, "Cancella" asks first, a refusal without a message shows its reason in the status line;
// the product window does not trap a user in the packaged fields; the service addresses.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "masterdata/Products.h"
#include "masterdata/Settings.h"
#include "masterdata/TFCODICI.h"
#include "masterdata/TFCODICI_NC.h"
#include "masterdata/TFINDWEB.h"
#include "masterdata/TFPRODAZIEND.h"
#include "masterdata/TFPROTREGISTRI.h"
#include "masterdata/TFTABACCISE.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "ui/Edits.h"
#include "DriveWindow.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

namespace {
void table(const AppContext& ctx, const char* name, std::initializer_list<QStringList> rows, int width = 21)
{
    writeStructure(ctx, QString::fromLatin1(name), QStringLiteral("T"), 1,
                   {{width, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}, {1, QStringLiteral("F")}});
    for (const QStringList& r : rows)
        appendRow(ctx, QString::fromLatin1(name), r);
}
} // namespace

TEST(TableRowEditors, EnterInTheKeyGoesOnToTheNextFieldNotToTheListButton)
{
    TestContext t;
    table(t.ctx, "T004", {{"DE", "Germania"}}, 2);
    writeStructure(t.ctx, QStringLiteral("ACCISE"), QStringLiteral("Accise"), 1, {{2, QStringLiteral("N")}});
    writeStructure(t.ctx, QStringLiteral("PROTOCOLLI"), QStringLiteral("Protocolli"), 1, {{10, QStringLiteral("P")}});
    table(t.ctx, "T015", {}, 2);
    t.ctx.TableName = QStringLiteral("T015");
    struct Case {
        std::unique_ptr<QDialog> window;
        const char* key;
        const char* typed;
        const char* next;
    };
    Case cases[] = {
        {std::make_unique<TFTABACCISE>(t.ctx), "LE0", "de", "R10"},
        {std::make_unique<TFPROTREGISTRI>(t.ctx), "LE0", "P1", "R10"},
        {std::make_unique<TFCODICI>(t.ctx), "LE1", "9", "LE2"},
    };
    for (Case& c : cases) {
        showActive(c.window.get());
        typeAndEnter(c.window.get(), c.key, QString::fromLatin1(c.typed));
        EXPECT_EQ(QApplication::focusWidget(), get(c.window.get(), c.next)) << c.window->objectName().toStdString();
        c.window->close();
    }
}

TEST(TableRowEditors, CancellaAsksFirstAndNoKeepsTheRow)
{
    TestContext t;
    table(t.ctx, "T015", {{"1", "uno"}, {"2", "due"}}, 2);
    t.ctx.TableName = QStringLiteral("T015");
    TFCODICI w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE1", QStringLiteral("2"));
    t.messenger.defaultAnswer = false; // the user answers No (the default button)
    click(&w, "BCANCELLA");
    EXPECT_EQ(t.messenger.questions, QStringList{QStringLiteral("CONFERMI LA CANCELLAZIONE DI 2 ?")});
    EXPECT_EQ(records(tablePath(t.ctx, QStringLiteral("T015"), ".TAB")).size(), 2);
    EXPECT_TRUE(get<QLabel>(&w, "LMODCANC")->isVisible()); // still modifying the row

    t.messenger.answers.push_back(true);
    click(&w, "BCANCELLA");
    const auto rows = records(tablePath(t.ctx, QStringLiteral("T015"), ".TAB"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(fld(rows[0], 0).trimmed(), QStringLiteral("1"));
}

TEST(TableRowEditors, ARefusalWithoutAMessageShowsItsReasonInTheStatusLine)
{
    TestContext t;
    writeStructure(t.ctx, QStringLiteral("TA20"), QStringLiteral("TA20"), 1, {{21, QStringLiteral("C")}});
    TFCODICI_NC w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "ME0", QStringLiteral("W100"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "ME0"));
    EXPECT_TRUE(t.messenger.infos.isEmpty()); // no message box
    EXPECT_EQ(get<QLabel>(&w, "LSTATO")->text(), QStringLiteral("IL CODICE DEVE INIZIARE CON W200 O W300"));
    QTest::keyClick(get(&w, "ME0"), Qt::Key_Home);
    QTest::keyClicks(get(&w, "ME0"), QStringLiteral("W"));
    EXPECT_TRUE(get<QLabel>(&w, "LSTATO")->text().isEmpty()); // typing again clears it
}

// A clerk who changes their mind about a packaged product walks through its empty volume and
// weight and goes back to the flag from the units: nothing stops them, no window opens.
TEST(ProductWindowFields, LeavingTheVolumeEmptyDoesNotTrapTheUser)
{
    TestContext t;
    table(t.ctx, "T010", {{"BO", "Bottiglia", "S"}, {"CT", "Cisterna", "N"}}, 2);
    table(t.ctx, "T020", {});
    writeStructure(t.ctx, QStringLiteral("PRAZ"), QStringLiteral("Prodotti"), 1, {{20, QStringLiteral("Codice")}});
    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    QTimer guard; // a window opened on the way is a failure, closed so that the test goes on
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* m = QApplication::activeModalWidget(); m && m != &w) {
            ADD_FAILURE() << "window opened: " << m->metaObject()->className();
            m->close();
        }
    });
    guard.start(200);
    t.messenger.infos.clear(); // no default picture in this folder
    typeAndEnter(&w, "LE0", QStringLiteral("SFUSO1"));
    typeAndEnter(&w, "LE5", QStringLiteral("N"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "R11"));
    // Through volume and weight without filling them: no message, the focus moves on.
    for (const char* f : {"R11", "R12"}) {
        get(&w, f)->setFocus();
        QApplication::processEvents();
        QTest::keyClick(get(&w, f), Qt::Key_Return);
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_NE(QApplication::focusWidget(), get(&w, f)) << f;
    }
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "I10"));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    // Back to the flag from the units: a bulk product hides them and goes on to the packaging.
    typeAndEnter(&w, "LE5", QStringLiteral("S"));
    EXPECT_FALSE(get(&w, "R11")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE6"));
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
}

TEST(ServiceAddresses, APortOutsideOneToSixtyFiveThousandIsRefusedByTheWindow)
{
    const std::pair<const char*, bool> cases[] = {
        {"127.0.0.1:99999", false}, {"host:0", false},        {"host:00000", false}, {"host:65536", false},
        {"127.0.0.1:1", true},      {"host:65535", true},     {"127.0.0.1", true},   {"host:443", true},
    };
    for (const auto& [text, ok] : cases) {
        EXPECT_EQ(CheckServiceHost(QString::fromLatin1(text), QStringLiteral("LE8")).ok, ok) << text;
        TestContext t;
        TFINDWEB w(t.ctx);
        showActive(&w);
        typeAndEnter(&w, "LE9", QString::fromLatin1(text));
        click(&w, "BCONF");
        EXPECT_EQ(w.isVisible(), !ok) << text; // saved and closed only with a good port
        EXPECT_EQ(t.messenger.infos.isEmpty(), ok) << text;
        if (!ok) {
            EXPECT_EQ(t.messenger.infos.first(), MsgBadServiceHost) << text;
            EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE9")) << text;
        }
    }
}

TEST(ServiceAddresses, TheFieldsShowWhatTheyExpect)
{
    TestContext t;
    TFINDWEB w(t.ctx);
    EXPECT_EQ(get(&w, "LE8")->placeholderText(), QStringLiteral("host:porta  (es. servizio.dogane.example:443)"));
    EXPECT_EQ(get(&w, "LE9")->placeholderText(), get(&w, "LE8")->placeholderText());
    for (const char* f : {"LE0", "LE3", "LE7"})
        EXPECT_TRUE(get(&w, f)->placeholderText().startsWith(QStringLiteral("https://"))) << f;
}
