#pragma once
// The compilation window's test fixture: a company of kind "1" with its paths and web addresses,
// three company products (packaged still wine, packaged sparkling wine, bulk wine), a German
// excise-rate record, the menu driver that answers each modal window as it comes, and the keys a
// user types into whatever has the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <functional>

#include "app/MenuActions.h"
#include "foundation/DeliveredData.h"
#include "foundation/RecordFile.h"
#include "support/Fakes.h"
#include "support/ModalDriver.h"
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

// A record image built from the layout tables: text fields as a length byte and the text padded
// with spaces to the width, numbers little-endian, everything else zero.
struct Image {
    QByteArray b;
    explicit Image(int size) : b(size, '\0') {}
    void s(int offset, int width, const QByteArray& text = {})
    {
        b[offset] = static_cast<char>(width);
        b.replace(offset + 1, width, text.leftJustified(width, ' ', true));
    }
    void i(int offset, qint32 v) { qToLittleEndian(v, b.data() + offset); }
    void d(int offset, double v) { qToLittleEndian(v, b.data() + offset); }
};

inline double day(int y, int m, int d)
{
    return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

// Every text field of the header, blank; the values are set after.
inline Image blankHeaderImage()
{
    Image h(2688);
    const std::pair<int, int> texts[] = {
        {4, 2},     {7, 22},    {30, 22},   {76, 1},    {78, 21},   {100, 1},   {102, 1},   {112, 1},   {114, 1},
        {116, 18},  {135, 100}, {236, 65},  {302, 11},  {314, 10},  {325, 50},  {376, 3},   {380, 18},  {399, 100},
        {500, 65},  {566, 11},  {578, 10},  {589, 50},  {640, 8},   {649, 8},   {658, 18},  {677, 100}, {778, 65},
        {844, 11},  {856, 10},  {867, 50},  {918, 2},   {921, 2},   {924, 100}, {1025, 18}, {1044, 100}, {1145, 65},
        {1211, 11}, {1223, 10}, {1234, 50}, {1285, 2},  {1288, 8},  {1297, 2},  {1300, 100}, {1401, 18}, {1420, 100},
        {1521, 65}, {1587, 11}, {1599, 10}, {1610, 50}, {1661, 2},  {1664, 18}, {1683, 100}, {1784, 65}, {1850, 11},
        {1862, 10}, {1873, 50}, {1924, 2},  {1927, 35}, {1976, 1},  {1992, 5},  {1998, 4},  {2003, 17}, {2021, 1},
        {2032, 17}, {2050, 1},  {2064, 17}, {2082, 1},  {2096, 17}, {2114, 1},  {2128, 13}, {2142, 18}, {2161, 100},
        {2262, 65}, {2328, 11}, {2340, 10}, {2351, 50}, {2402, 2},  {2405, 13}, {2419, 18}, {2438, 100}, {2539, 65},
        {2605, 11}, {2617, 10}, {2628, 50}, {2679, 2}};
    for (auto [offset, width] : texts)
        h.s(offset, width);
    return h;
}

// The fixture's company as the consignor in a header image: its excise number, name and head
// office (Via Roma 1, 50100 FIRENZE).
inline void companyAsConsignor(Image& h)
{
    h.s(116, 18, "IT00FIT00012S");
    h.s(135, 100, "Cantina del Chianti srl");
    h.s(236, 65, "Via Roma");
    h.s(302, 11, "1");
    h.s(314, 10, "50100");
    h.s(325, 50, "FIRENZE");
}

inline Image blankLineImage()
{
    Image l(2128);
    const std::pair<int, int> texts[] = {{12, 1},   {14, 2},   {17, 2},   {20, 2},    {23, 4},    {28, 4},
                                         {33, 5},   {39, 7},   {47, 8},   {56, 250},  {307, 250}, {558, 250},
                                         {809, 250}, {1060, 250}, {1311, 250}, {1562, 250}, {1813, 250}};
    for (auto [offset, width] : texts)
        l.s(offset, width);
    return l;
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
        runMenuItem(ctx, action);
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
// The cursor into the field named (a line edit of window), its text selected, and text typed over it.
inline void typeOver(QWidget* window, const char* name, const QString& text)
{
    auto* e = window->findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_TRUE(e) << name;
    e->setFocus();
    e->selectAll();
    type(text);
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
    if (expected) {
        EXPECT_EQ(w->objectName(), QLatin1String(expected));
    }
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
    enter(days, "DURGIO");
    enter({}, "RGIORNI");
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
