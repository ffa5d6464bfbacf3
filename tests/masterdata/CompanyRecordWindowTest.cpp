// The company windows driven offscreen: every check of the head office at once, in order, and
// the records of the head office and of another premises compared with their layout byte by byte.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "masterdata/Company.h"
#include "masterdata/TFALTRESEDI.h"
#include "masterdata/TFDATIAZIENDA.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "DriveWindow.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

namespace {

struct Slot {
    int offset;
    int width;
    const char* text;
};

// The 608-byte record written by hand from the layout: number 0, every text slot as its length
// byte (the full width: slots are stored padded) and its characters padded with spaces, the
// three filler bytes zero.
QByteArray recordImage(std::initializer_list<Slot> fields)
{
    QByteArray r(608, '\0');
    for (const Slot& s : fields) {
        QByteArray text(s.text);
        EXPECT_LE(text.size(), s.width) << s.offset;
        r[s.offset] = char(s.width);
        r.replace(s.offset + 1, s.width, text + QByteArray(s.width - text.size(), ' '));
    }
    return r;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Compares slot by slot, so that a failure names the slot.
void expectSameRecord(const QByteArray& actual, const QByteArray& expected)
{
    ASSERT_EQ(actual.size(), 608);
    const int starts[] = {0, 4, 23, 42, 143, 244, 256, 273, 339, 405, 417, 429, 440, 451, 502, 553, 558, 567, 576,
                          583, 601, 603, 605, 608};
    for (size_t i = 0; i + 1 < std::size(starts); ++i) {
        const int from = starts[i], len = starts[i + 1] - starts[i];
        EXPECT_EQ(actual.mid(from, len), expected.mid(from, len)) << "slot at offset " << from;
    }
}

class CompanyRecordWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeStructure(t.ctx, QStringLiteral("TA03"), QStringLiteral("Uffici Doganali"), 1,
                       {{8, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}});
        appendRow(t.ctx, QStringLiteral("TA03"), {QStringLiteral("IT075000"), QStringLiteral("UFFICIO DI ROMA")});
        appendRow(t.ctx, QStringLiteral("TA03"), {QStringLiteral("IT088000"), QStringLiteral("UFFICIO DI ASTI")});
        WriteCompanyFile(t.ctx, QStringLiteral("001"), blankCompany()); // as the first start leaves it
    }
    QString datiGen(const char* name) const { return t.ctx.datiGen(QString::fromLatin1(name)); }
    TestContext t;
};

} // namespace

TEST_F(CompanyRecordWindows, HeadOfficeStoredSlotBySlot)
{
    TFDATIAZIENDA w(t.ctx);
    ASSERT_TRUE(w.loaded());
    showActive(&w);
    QTest::mouseClick(get<QRadioButton>(&w, "RTIPOIN1"), Qt::LeftButton);
    const std::pair<const char*, const char*> typed[] = {
        {"CACCI1", "it00abx123456"}, {"CODUTE", "ab12"}, {"DENOM1", "cantina del borgo"},
        {"PARIVA", "12345678903"}, {"CODFIS", "rssmra80a01h501u"}, {"INDIR1", "via roma"},
        {"NUMCI1", "12/a"}, {"C_A_P1", "00100"}, {"CITTA1", "roma"}, {"UFFDO1", "it075000"},
        {"CONGAR", "G-77"}, {"CAUESO", "e"}, {"INDIR2", "strada vecchia"}, {"NUMCI2", "3"},
        {"C_A_P2", "00118"}, {"CITTA2", "ciampino"},
    };
    for (const auto& [field, text] : typed)
        typeAndEnter(&w, field, QString::fromLatin1(text));
    click(&w, "BCONF");
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();
    EXPECT_EQ(w.result(), QDialog::Accepted);

    const QByteArray expected = recordImage({
        {4, 18, "IT00ABX123456"},      // excise number
        {23, 18, "IT00ABX123456"},     // again
        {42, 100, "Cantina del borgo"}, // name, first letter capitalised
        {143, 100, "Cantina del borgo"},
        {244, 11, "12345678903"},
        {256, 16, "RSSMRA80A01H501U"},
        {273, 65, "Via roma"},         // registered address
        {339, 65, "Strada vecchia"},   // dispatch place 001
        {405, 11, "12/a"},
        {417, 11, "3"},
        {429, 10, "00100"},
        {440, 10, "00118"},
        {451, 50, "ROMA"},
        {502, 50, "Ciampino"},
        {553, 4, "AB12"},              // user code
        {558, 8, "IT075000"},          // customs office
        {567, 8, "IT075100"},          // export office derived from it
        {576, 6, "075000"},            // section derived from it
        {583, 17, "G-77"},
        {601, 1, "E"},
        {603, 1, "2"},                 // registered consignor/consignee
    });
    expectSameRecord(fileBytes(datiGen("UTENTE.001")), expected);

    // Opened again: the stored office with its description.
    TFDATIAZIENDA again(t.ctx);
    ASSERT_TRUE(again.loaded());
    EXPECT_EQ(get<QLineEdit>(&again, "UFFDO1")->text(), QStringLiteral("IT075000"));
    EXPECT_EQ(get<QLineEdit>(&again, "DUFFDOG")->text(), QStringLiteral("UFFICIO DI ROMA"));
}

TEST_F(CompanyRecordWindows, OtherPremisesStoredSlotBySlot)
{
    TRecAzienda h = blankCompany();
    trimCompany(h);
    h.TIPOIN = QStringLiteral("1");
    h.CACCI1 = h.CACCI2 = QStringLiteral("IT00RMV123456");
    h.DENOM1 = h.DENOM2 = QStringLiteral("Cantina Prova");
    h.INDIR1 = QStringLiteral("Via Roma");
    h.CITTA1 = QStringLiteral("ROMA");
    h.UFFDO1 = QStringLiteral("IT075000");
    WriteCompanyFile(t.ctx, QStringLiteral("001"), h);
    t.ctx.CompanyRecord = h;

    TFALTRESEDI w(t.ctx);
    showActive(&w);
    const std::pair<const char*, const char*> typed[] = {
        {"SEDE", "005"}, {"CACCI2", "it00asv654321"}, {"DENOM2", "magazzino nord"},
        {"INDIR2", "strada del porto"}, {"NUMCI2", "7/b"}, {"C_A_P2", "14100"}, {"CITTA2", "asti"},
        {"UFFDO1", "it088000"},
    };
    for (const auto& [field, text] : typed)
        typeAndEnter(&w, field, QString::fromLatin1(text));
    click(&w, "BCONF");
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();

    const QByteArray expected = recordImage({
        {4, 18, ""},  {23, 18, "IT00ASV654321"}, {42, 100, ""}, {143, 100, "Magazzino nord"},
        {244, 11, ""}, {256, 16, ""}, {273, 65, ""}, {339, 65, "Strada del porto"}, {405, 11, ""},
        {417, 11, "7/b"}, {429, 10, ""}, {440, 10, "14100"}, {451, 50, ""}, {502, 50, "ASTI"},
        {553, 4, "005"}, {558, 8, "IT088000"}, {567, 8, "IT088100"}, {576, 6, "088000"},
        {583, 17, ""}, {601, 1, ""}, {603, 1, ""},
    });
    expectSameRecord(fileBytes(datiGen("UTENTE.005")), expected);
}

TEST_F(CompanyRecordWindows, HeadOfficeConfirmationShowsEveryFailingCheckInOrder)
{
    TFDATIAZIENDA w(t.ctx);
    showActive(&w);
    const QByteArray before = fileBytes(datiGen("UTENTE.001"));
    // Five faults at once: excise number, deposit flag, an address, the name, the customs office.
    get(&w, "CACCI1")->setText(QStringLiteral("IT00ABC123456"));
    get(&w, "CAUESO")->setText(QStringLiteral("X"));
    get(&w, "INDIR1")->setText(QStringLiteral("Via Roma"));
    get(&w, "NUMCI1")->setText(QStringLiteral("1"));
    get(&w, "C_A_P1")->setText(QStringLiteral("00100"));
    get(&w, "CITTA1")->setText(QStringLiteral("ROMA"));
    get(&w, "INDIR2")->setText(QStringLiteral("Via Roma"));
    get(&w, "NUMCI2")->clear();
    get(&w, "C_A_P2")->setText(QStringLiteral("00100"));
    get(&w, "CITTA2")->setText(QStringLiteral("ROMA"));
    get(&w, "DENOM1")->clear();
    get(&w, "UFFDO1")->setText(QStringLiteral("IT999999"));
    click(&w, "BCONF");
    EXPECT_EQ(t.messenger.infos, (QStringList{
                                     QStringLiteral("ATTENZIONE CODICE D'ACCISA ERRATO"),
                                     QStringLiteral("DIGITA: C per cauzione, E pe esonero"),
                                     QStringLiteral("DIGITARE ALMENO UN CARATTERE"), // the addresses
                                     QStringLiteral("DIGITARE ALMENO UN CARATTERE"), // the name
                                 }));
    EXPECT_EQ(get(&w, "DUFFDOG")->text(), QStringLiteral("CODICE NON VALIDO"));
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "UFFDO1")); // the last failing field
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_EQ(fileBytes(datiGen("UTENTE.001")), before);

    // Only the deposit flag wrong: its message alone, the focus on it.
    t.messenger.infos.clear();
    get(&w, "CACCI1")->setText(QStringLiteral("IT00ABV123456"));
    get(&w, "NUMCI2")->setText(QStringLiteral("1"));
    get(&w, "DENOM1")->setText(QStringLiteral("Cantina"));
    get(&w, "UFFDO1")->setText(QStringLiteral("IT075000"));
    click(&w, "BCONF");
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("DIGITA: C per cauzione, E pe esonero")});
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "CAUESO"));
    EXPECT_EQ(fileBytes(datiGen("UTENTE.001")), before);
}
