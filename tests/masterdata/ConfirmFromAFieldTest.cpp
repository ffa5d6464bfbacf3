// CONFERMA reached straight from a field whose leave behaviour has not run yet: by a click on
// BCONF and by Alt+C (which moves no focus at all). One table over every window and field with
// leave behaviour: the derived values, loads, warnings and copies happen first, and what is
// stored is what the fields show after them.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "foundation/AddressFile.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "masterdata/AddressBook.h"
#include "masterdata/Company.h"
#include "masterdata/Products.h"
#include "masterdata/Settings.h"
#include "masterdata/TFALTRESEDI.h"
#include "masterdata/TFCODICI.h"
#include "masterdata/TFCODICI_NC.h"
#include "masterdata/TFDATIAZIENDA.h"
#include "masterdata/TFINDWEB.h"
#include "masterdata/TFINSDESTINATARI.h"
#include "masterdata/TFINSINDIRIZZO.h"
#include "masterdata/TFMODINDIRIZZO.h"
#include "masterdata/TFPRODAZIEND.h"
#include "masterdata/TFPROTREGISTRI.h"
#include "masterdata/TFTABACCISE.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"
#include "DriveWindow.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

namespace {

enum class Path { Click, AltC };
const char* pathName(Path p) { return p == Path::Click ? "click" : "Alt+C"; }

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// A stored text slot of a 608-byte record, trimmed.
QString slotText(const QByteArray& r, int offset)
{
    return QString::fromLatin1(r.mid(offset + 1, static_cast<unsigned char>(r[offset]))).trimmed();
}

void table(const AppContext& ctx, const char* name, std::initializer_list<QStringList> rows, int width = 21)
{
    writeStructure(ctx, QString::fromLatin1(name), QStringLiteral("T"), 1,
                   {{width, QStringLiteral("Codice")}, {100, QStringLiteral("Descrizione")}, {1, QStringLiteral("F")}});
    for (const QStringList& r : rows)
        appendRow(ctx, QString::fromLatin1(name), r);
}

// The company of every case: a tax warehouse whose record passes every check.
TRecAzienda headOffice()
{
    TRecAzienda h = blankCompany();
    trimCompany(h);
    h.TIPOIN = QStringLiteral("1");
    h.CACCI1 = h.CACCI2 = QStringLiteral("IT00RMV123456");
    h.DENOM1 = h.DENOM2 = QStringLiteral("Cantina Prova");
    h.PARIVA = QStringLiteral("12345678903");
    h.INDIR1 = h.INDIR2 = QStringLiteral("Via Roma");
    h.NUMCI1 = h.NUMCI2 = QStringLiteral("1");
    h.C_A_P1 = h.C_A_P2 = QStringLiteral("00100");
    h.CITTA1 = h.CITTA2 = QStringLiteral("ROMA");
    h.CODUTE = QStringLiteral("AB12");
    h.UFFDO1 = QStringLiteral("IT075000");
    h.UFFDO2 = QStringLiteral("IT075100");
    h.SEZDOG = QStringLiteral("075000");
    h.CAUESO = QStringLiteral("C");
    return h;
}

TRecIndirizzo address(const char* name, const char* excise, const char* vat)
{
    TRecIndirizzo r = blankCompany();
    trimCompany(r);
    r.DENOM1 = QString::fromLatin1(name);
    r.CACCI1 = QString::fromLatin1(excise);
    r.CACCI2 = QString::fromLatin1(vat);
    r.INDIR1 = QStringLiteral("Via Roma");
    r.NUMCI1 = QStringLiteral("1");
    r.C_A_P1 = QStringLiteral("00100");
    r.CITTA1 = QStringLiteral("ROMA");
    r.SEZDOG = QStringLiteral("it");
    r.TIPOIN = QStringLiteral("2");
    return r;
}

struct Scene {
    TestContext t;
    QTimer closer; // a listing opened by a failing lookup is closed at once
    int closed = 0;
    Scene()
    {
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                ++closed;
                m->close();
            }
        });
        closer.start(20);
        t.ctx.FromMenu = true;
        table(t.ctx, "TA03", {{"IT075000", "UFFICIO DI ROMA"}, {"IT088000", "UFFICIO DI ASTI"}}, 8);
        table(t.ctx, "T015", {{"1", "tipo 1"}, {"2", "tipo 2"}, {"4", "tipo 4"}}, 1);
        table(t.ctx, "T001", {{"de", "tedesco"}, {"en", "inglese"}, {"fr", "francese"}, {"it", "italiano"}}, 2);
        table(t.ctx, "T004", {{"DE", "Germania"}, {"FR", "Francia"}}, 2);
        WriteCompanyFile(t.ctx, QStringLiteral("001"), headOffice());
        t.ctx.CompanyRecord = headOffice();
    }
    QString datiGen(const char* name) const { return t.ctx.datiGen(QString::fromLatin1(name)); }
    QString tab(const char* name) const { return tablePath(t.ctx, QString::fromLatin1(name), ".TAB"); }
};

struct Case {
    const char* window;
    const char* field;
    const char* typed;
    std::function<std::unique_ptr<QDialog>(Scene&)> open;
    std::function<void(Scene&, QDialog&)> prepare; // fields set before the field is typed in
    std::function<void(Scene&, QDialog&, const std::string& where)> expect;
};

// Types into the field (the window becomes touched) and confirms without leaving it.
void typeThenConfirm(QDialog& w, const char* field, const QString& text, Path path)
{
    auto* e = get(&w, field);
    e->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    e->selectAll();
    QTest::keyClicks(e, text);
    QApplication::processEvents();
    if (path == Path::Click) {
        click(&w, "BCONF");
    } else {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
        QApplication::processEvents();
    }
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

std::unique_ptr<QDialog> companyWindow(Scene& r)
{
    return std::make_unique<TFDATIAZIENDA>(r.t.ctx);
}
std::unique_ptr<QDialog> premisesWindow(Scene& r)
{
    return std::make_unique<TFALTRESEDI>(r.t.ctx);
}
std::unique_ptr<QDialog> consigneeWindow(Scene& r)
{
    InsertAddress(r.datiGen("INDIRIZZI_D.DAT"), address("Weinhaus Berg", "DE12345678901", ""), r.t.messenger);
    return std::make_unique<TFINSDESTINATARI>(r.t.ctx);
}
std::unique_ptr<QDialog> addressWindow(Scene& r, const char* file)
{
    InsertAddress(r.datiGen(file), address("Trasporti Rossi", "IT00TOA000001", "01234567890"), r.t.messenger);
    r.t.ctx.TableName = QString::fromLatin1(file).left(11);
    return std::make_unique<TFINSINDIRIZZO>(r.t.ctx);
}

// A consignee of type 2 with every required field filled, the identifier still to be typed.
void consigneeOfType(QDialog& w, const char* type)
{
    get(&w, "TIPOIN")->setFocus();
    QTest::keyClicks(get(&w, "TIPOIN"), QString::fromLatin1(type));
    QTest::keyClick(get(&w, "TIPOIN"), Qt::Key_Return);
    QApplication::processEvents();
    get(&w, "CACCI1")->setText(QStringLiteral("FR12345678901"));
    get(&w, "DENOM1")->setText(QStringLiteral("Maison Blanche"));
    get(&w, "INDIR1")->setText(QStringLiteral("Rue Haute"));
    get(&w, "NUMCI1")->setText(QStringLiteral("3"));
    get(&w, "C_A_P1")->setText(QStringLiteral("75001"));
    get(&w, "CITTA1")->setText(QStringLiteral("PARIS"));
}
void otherAddress(QDialog& w)
{
    get(&w, "CACCI2")->setText(QStringLiteral("09876543210"));
    get(&w, "CACCI1")->setText(QStringLiteral("IT00TOA000099"));
    get(&w, "DENOM1")->setText(QStringLiteral("Autotrasporti Bianchi"));
    get(&w, "INDIR1")->setText(QStringLiteral("Via Po"));
    get(&w, "NUMCI1")->setText(QStringLiteral("7"));
    get(&w, "C_A_P1")->setText(QStringLiteral("10100"));
    get(&w, "CITTA1")->setText(QStringLiteral("TORINO"));
    get(&w, "CAUESO")->setText(QStringLiteral("C"));
    get(&w, "CONGAR")->setText(QStringLiteral("CG-1"));
}

QList<TRecIndirizzo> addressesIn(const QString& path)
{
    QList<TRecIndirizzo> out;
    for (const QByteArray& r : RecordFile(path, 608).readAll())
        out.append(decodeCompany(r));
    return out;
}
TRecIndirizzo named(const QList<TRecIndirizzo>& all, const char* name)
{
    for (const TRecIndirizzo& r : all)
        if (r.DENOM1 == QLatin1String(name))
            return r;
    ADD_FAILURE() << "no record named " << name;
    return blankCompany();
}

const QString kDupExcise = QStringLiteral("ATTENZIONE CODICE D'ACCISA GIA' PRESENTE IN ARCHIVIO !");
const QString kDupName = QStringLiteral("ATTENZIONE DENOMINAZIONE GIA' PRESENTE IN ARCHIVIO !");
const QString kDupVat = QStringLiteral("ATTENZIONE PARTITA IVA GIA' PRESENTE IN ARCHIVIO !");

} // namespace

TEST(ConfirmStraightFromAField, TheFieldsLeaveBehaviourRunsFirstInEveryWindow)
{
    const Case cases[] = {
        // ---- head office: a new customs office derives the export office and the section
        {"TFDATIAZIENDA", "UFFDO1", "it088000", companyWindow, nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             const QByteArray rec = fileBytes(r.datiGen("UTENTE.001"));
             EXPECT_EQ(slotText(rec, 558), QStringLiteral("IT088000")) << where;
             EXPECT_EQ(slotText(rec, 567), QStringLiteral("IT088100")) << where;
             EXPECT_EQ(slotText(rec, 576), QStringLiteral("088000")) << where;
             EXPECT_EQ(w.result(), QDialog::Accepted) << where;
         }},
        // leaving the city copies the registered address into the empty dispatch place
        {"TFDATIAZIENDA", "CITTA1", "asti", companyWindow,
         [](Scene&, QDialog& w) {
             for (const char* f : {"INDIR2", "NUMCI2", "C_A_P2", "CITTA2"})
                 get(&w, f)->clear();
         },
         [](Scene& r, QDialog&, const std::string& where) {
             const QByteArray rec = fileBytes(r.datiGen("UTENTE.001"));
             EXPECT_EQ(slotText(rec, 339), QStringLiteral("Via Roma")) << where;
             EXPECT_EQ(slotText(rec, 502), QStringLiteral("ASTI")) << where;
             EXPECT_TRUE(r.t.messenger.infos.isEmpty()) << where << r.t.messenger.infos.join('|').toStdString();
         }},
        // the fiscal-code and VAT warnings are shown, and the record is written all the same
        {"TFDATIAZIENDA", "CODFIS", "RSSMRA80A01H501A", companyWindow, nullptr,
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{QStringLiteral("ATTENZIONE CODICE FISCALE ERRATO")}) << where;
             EXPECT_EQ(slotText(fileBytes(r.datiGen("UTENTE.001")), 256), QStringLiteral("RSSMRA80A01H501A")) << where;
         }},
        {"TFDATIAZIENDA", "PARIVA", "12345678901", companyWindow, nullptr,
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{QStringLiteral("ATTENZIONE PARTITA I.V.A. ERRATA")}) << where;
             EXPECT_EQ(slotText(fileBytes(r.datiGen("UTENTE.001")), 244), QStringLiteral("12345678901")) << where;
         }},
        // a wrong excise number or deposit flag speaks once and nothing is written
        {"TFDATIAZIENDA", "CACCI1", "it00rmc123456", companyWindow, nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{QStringLiteral("ATTENZIONE CODICE D'ACCISA ERRATO")}) << where;
             EXPECT_EQ(slotText(fileBytes(r.datiGen("UTENTE.001")), 4), QStringLiteral("IT00RMV123456")) << where;
             EXPECT_EQ(QApplication::focusWidget(), get(&w, "CACCI1")) << where;
         }},
        {"TFDATIAZIENDA", "CAUESO", "x", companyWindow, nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{QStringLiteral("DIGITA: C per cauzione, E pe esonero")}) << where;
             EXPECT_EQ(slotText(fileBytes(r.datiGen("UTENTE.001")), 601), QStringLiteral("C")) << where;
             EXPECT_EQ(QApplication::focusWidget(), get(&w, "CAUESO")) << where;
         }},
        {"TFDATIAZIENDA", "DENOM1", "cantina nuova", companyWindow, nullptr,
         [](Scene& r, QDialog&, const std::string& where) {
             const QByteArray rec = fileBytes(r.datiGen("UTENTE.001"));
             EXPECT_EQ(slotText(rec, 42), QStringLiteral("Cantina nuova")) << where;
             EXPECT_EQ(slotText(rec, 143), QStringLiteral("Cantina nuova")) << where;
         }},

        // ---- other premises: the number of an existing premises loads it, never overwrites it
        {"TFALTRESEDI", "SEDE", "002",
         [](Scene& r) {
             TRecAzienda p = blankCompany();
             trimCompany(p);
             p.CODUTE = QStringLiteral("002");
             p.CACCI2 = QStringLiteral("IT00ASV654321");
             p.DENOM2 = QStringLiteral("Magazzino Nord");
             p.INDIR2 = QStringLiteral("Strada del Porto");
             p.NUMCI2 = QStringLiteral("7");
             p.C_A_P2 = QStringLiteral("14100");
             p.CITTA2 = QStringLiteral("ASTI");
             p.UFFDO1 = QStringLiteral("IT088000");
             p.UFFDO2 = QStringLiteral("IT088100");
             p.SEZDOG = QStringLiteral("088000");
             WriteCompanyFile(r.t.ctx, QStringLiteral("002"), p);
             WriteCompanyFile(r.t.ctx, QStringLiteral("003"), p);
             return premisesWindow(r); // proposes 004, prefilled with the head office
         },
         [](Scene& r, QDialog&) { r.t.messenger.infos.clear(); },
         [](Scene& r, QDialog& w, const std::string& where) {
             const QByteArray rec = fileBytes(r.datiGen("UTENTE.002"));
             EXPECT_EQ(slotText(rec, 143), QStringLiteral("Magazzino Nord")) << where;
             EXPECT_EQ(slotText(rec, 23), QStringLiteral("IT00ASV654321")) << where;
             EXPECT_EQ(get(&w, "DENOM2")->text(), QStringLiteral("Magazzino Nord")) << where; // shown first
             EXPECT_FALSE(QFile::exists(r.datiGen("UTENTE.004"))) << where;
         }},
        {"TFALTRESEDI", "UFFDO1", "it088000", premisesWindow,
         [](Scene&, QDialog& w) { get(&w, "CACCI2")->setText(QStringLiteral("IT00ASV654321")); },
         [](Scene& r, QDialog&, const std::string& where) {
             const QByteArray rec = fileBytes(r.datiGen("UTENTE.002"));
             EXPECT_EQ(slotText(rec, 558), QStringLiteral("IT088000")) << where;
             EXPECT_EQ(slotText(rec, 567), QStringLiteral("IT088100")) << where;
             EXPECT_EQ(slotText(rec, 576), QStringLiteral("088000")) << where;
         }},
        {"TFALTRESEDI", "CACCI2", "it00asx654321", premisesWindow, nullptr,
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{QStringLiteral("ATTENZIONE CODICE D'ACCISA ERRATO")}) << where;
             EXPECT_FALSE(QFile::exists(r.datiGen("UTENTE.002"))) << where;
         }},
        {"TFALTRESEDI", "DENOM2", "deposito sud", premisesWindow,
         [](Scene&, QDialog& w) { get(&w, "CACCI2")->setText(QStringLiteral("IT00ASV654321")); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(slotText(fileBytes(r.datiGen("UTENTE.002")), 143), QStringLiteral("Deposito sud")) << where;
         }},

        // ---- consignees: language from the excise number, duplicate warnings, copy of the place
        {"TFINSDESTINATARI", "CACCI1", "DE12345678901", consigneeWindow,
         [](Scene&, QDialog& w) { consigneeOfType(w, "2"); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{kDupExcise}) << where;
             const auto all = addressesIn(r.datiGen("INDIRIZZI_D.DAT"));
             ASSERT_EQ(all.size(), 2) << where;
             EXPECT_EQ(named(all, "Maison Blanche").SEZDOG, QStringLiteral("de")) << where; // from the excise number
         }},
        {"TFINSDESTINATARI", "CACCI1", "GB12345678901", consigneeWindow,
         [](Scene&, QDialog& w) { consigneeOfType(w, "2"); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_TRUE(r.t.messenger.infos.isEmpty()) << where;
             const auto all = addressesIn(r.datiGen("INDIRIZZI_D.DAT"));
             ASSERT_EQ(all.size(), 2) << where;
             EXPECT_EQ(named(all, "Maison Blanche").SEZDOG, QStringLiteral("en")) << where;
         }},
        {"TFINSDESTINATARI", "DENOM1", "weinhaus berg", consigneeWindow,
         [](Scene&, QDialog& w) { consigneeOfType(w, "2"); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{kDupName}) << where;
             EXPECT_EQ(addressesIn(r.datiGen("INDIRIZZI_D.DAT")).size(), 2) << where; // a warning only
         }},
        {"TFINSDESTINATARI", "CITTA1", "lyon", consigneeWindow,
         [](Scene&, QDialog& w) { consigneeOfType(w, "1"); },
         [](Scene& r, QDialog&, const std::string& where) {
             const auto all = addressesIn(r.datiGen("INDIRIZZI_D.DAT"));
             ASSERT_EQ(all.size(), 2) << where;
             const TRecIndirizzo c = named(all, "Maison Blanche");
             EXPECT_EQ(c.DENOM2, QStringLiteral("Maison Blanche")) << where; // copied into the place
             EXPECT_EQ(c.CITTA2, QStringLiteral("LYON")) << where;
             EXPECT_EQ(c.INDIR2, QStringLiteral("Rue Haute")) << where;
             EXPECT_EQ(c.CACCI2, QStringLiteral("FR12345678901")) << where;
         }},
        {"TFINSDESTINATARI", "SEZDOG", "xx", consigneeWindow,
         [](Scene&, QDialog& w) { consigneeOfType(w, "2"); },
         [](Scene& r, QDialog& w, const std::string& where) {
             EXPECT_GE(r.closed, 1) << where; // the language listing was offered
             EXPECT_EQ(get(&w, "DSEZDOG")->text(), QStringLiteral("CODICE NON VALIDO")) << where;
             EXPECT_EQ(addressesIn(r.datiGen("INDIRIZZI_D.DAT")).size(), 1) << where;
         }},

        // ---- transporters, guarantors, suppliers: the duplicate warnings
        {"TFINSINDIRIZZO", "CACCI2", "01234567890", [](Scene& r) { return addressWindow(r, "INDIRIZZI_G.DAT"); },
         [](Scene&, QDialog& w) { otherAddress(w); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{kDupVat}) << where;
             EXPECT_EQ(addressesIn(r.datiGen("INDIRIZZI_G.DAT")).size(), 2) << where;
         }},
        {"TFINSINDIRIZZO", "CACCI1", "IT00TOA000001", [](Scene& r) { return addressWindow(r, "INDIRIZZI_F.DAT"); },
         [](Scene&, QDialog& w) { otherAddress(w); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{kDupExcise}) << where;
             EXPECT_EQ(addressesIn(r.datiGen("INDIRIZZI_F.DAT")).size(), 2) << where;
         }},
        {"TFINSINDIRIZZO", "DENOM1", "TRASPORTI ROSSI", [](Scene& r) { return addressWindow(r, "INDIRIZZI_T.DAT"); },
         [](Scene&, QDialog& w) { otherAddress(w); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{kDupName}) << where;
             EXPECT_EQ(addressesIn(r.datiGen("INDIRIZZI_T.DAT")).size(), 2) << where;
         }},
        {"TFINSINDIRIZZO", "CAUESO", "x", [](Scene& r) { return addressWindow(r, "INDIRIZZI_G.DAT"); },
         [](Scene&, QDialog& w) { otherAddress(w); },
         [](Scene& r, QDialog&, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{QStringLiteral("DIGITA: C per cauzione, E pe esonero")}) << where;
             EXPECT_EQ(addressesIn(r.datiGen("INDIRIZZI_G.DAT")).size(), 1) << where;
         }},

        // ---- table rows: an existing key shows its row before anything is saved again
        {"TFCODICI", "LE1", "2",
         [](Scene& r) -> std::unique_ptr<QDialog> {
             r.t.ctx.TableName = QStringLiteral("T015");
             return std::make_unique<TFCODICI>(r.t.ctx);
         },
         [](Scene&, QDialog& w) { get(&w, "LE2")->setText(QStringLiteral("altro")); },
         [](Scene& r, QDialog& w, const std::string& where) {
             const auto rows = records(r.tab("T015"));
             ASSERT_EQ(rows.size(), 3) << where;
             EXPECT_EQ(RecordFile::numberOf(rows[1]), 2) << where; // not saved again
             EXPECT_EQ(get(&w, "LE2")->text(), QStringLiteral("tipo 2")) << where;
             EXPECT_TRUE(get<QLabel>(&w, "LMODCANC")->isVisible()) << where;
         }},
        {"TFCODICI", "LE3", "x",
         [](Scene& r) -> std::unique_ptr<QDialog> {
             r.t.ctx.TableName = QStringLiteral("T015");
             return std::make_unique<TFCODICI>(r.t.ctx);
         },
         [](Scene&, QDialog& w) {
             get(&w, "LE1")->setText(QStringLiteral("9"));
             get(&w, "LE2")->setText(QStringLiteral("nove"));
         },
         [](Scene& r, QDialog& w, const std::string& where) {
             EXPECT_EQ(records(r.tab("T015")).size(), 3) << where;
             EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE3")) << where;
         }},
        {"TFCODICI_NC", "ME0", "W20022042110XXS117",
         [](Scene& r) -> std::unique_ptr<QDialog> {
             table(r.t.ctx, "TA20", {{"W200-22042110-XX-S117", "Vino fermo"}});
             r.t.ctx.TableName = QStringLiteral("TA20");
             return std::make_unique<TFCODICI_NC>(r.t.ctx);
         },
         nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             const auto rows = records(r.tab("TA20"));
             ASSERT_EQ(rows.size(), 1) << where;
             EXPECT_EQ(RecordFile::numberOf(rows[0]), 1) << where;
             EXPECT_EQ(get<QPlainTextEdit>(&w, "Memo1")->toPlainText(), QStringLiteral("Vino fermo")) << where;
         }},
        {"TFTABACCISE", "LE0", "de",
         [](Scene& r) -> std::unique_ptr<QDialog> {
             writeStructure(r.t.ctx, QStringLiteral("ACCISE"), QStringLiteral("Accise"), 1, {{2, QStringLiteral("N")}});
             TRecTabella row = blankRow();
             TrimRow(row);
             row.Fld[0] = QStringLiteral("DE");
             row.ValA[0] = 5;
             row.ValB[0] = 15;
             row.ValC[0] = 20;
             r.t.ctx.EditRow = row;
             SaveOrderedRow(r.t.ctx, r.tab("ACCISE"), std::nullopt, orderByCode());
             return std::make_unique<TFTABACCISE>(r.t.ctx);
         },
         nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             const auto rows = records(r.tab("ACCISE"));
             ASSERT_EQ(rows.size(), 1) << where;
             EXPECT_EQ(RecordFile::numberOf(rows[0]), 1) << where;
             EXPECT_EQ(get(&w, "R30")->text(), QStringLiteral("20,00")) << where;
         }},
        {"TFPROTREGISTRI", "LE0", "p1",
         [](Scene& r) -> std::unique_ptr<QDialog> {
             writeStructure(r.t.ctx, QStringLiteral("PROTOCOLLI"), QStringLiteral("Protocolli"), 1,
                            {{10, QStringLiteral("Protocollo")}});
             appendRow(r.t.ctx, QStringLiteral("PROTOCOLLI"), {QStringLiteral("P1"), QStringLiteral("S"), QStringLiteral("ASTI")});
             r.t.ctx.TableName = QStringLiteral("PROTOCOLLI");
             return std::make_unique<TFPROTREGISTRI>(r.t.ctx);
         },
         nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             EXPECT_EQ(records(r.tab("PROTOCOLLI")).size(), 1) << where;
             EXPECT_TRUE(w.isVisible()) << where;
             EXPECT_EQ(get(&w, "LE2")->text(), QStringLiteral("ASTI")) << where;
         }},
        {"TFPROTREGISTRI", "le1", "x",
         [](Scene& r) -> std::unique_ptr<QDialog> {
             writeStructure(r.t.ctx, QStringLiteral("PROTOCOLLI"), QStringLiteral("Protocolli"), 1,
                            {{10, QStringLiteral("Protocollo")}});
             r.t.ctx.TableName = QStringLiteral("PROTOCOLLI");
             return std::make_unique<TFPROTREGISTRI>(r.t.ctx);
         },
         [](Scene&, QDialog& w) { get(&w, "LE0")->setText(QStringLiteral("P9")); },
         [](Scene& r, QDialog& w, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{MsgTypeBulkOrPackaged}) << where;
             EXPECT_TRUE(records(r.tab("PROTOCOLLI")).isEmpty()) << where;
             EXPECT_EQ(QApplication::focusWidget(), get(&w, "le1")) << where;
         }},
        {"TFPRODAZIEND", "LE0", "barolo",
         [](Scene& r) -> std::unique_ptr<QDialog> {
             writeStructure(r.t.ctx, QStringLiteral("PRAZ"), QStringLiteral("Prodotti"), 1, {{20, QStringLiteral("Codice")}});
             appendRow(r.t.ctx, QStringLiteral("PRAZ"), {QStringLiteral("BAROLO"), QStringLiteral("Barolo riserva")});
             return std::make_unique<TFPRODAZIEND>(r.t.ctx);
         },
         nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             const auto rows = records(r.tab("PRAZ"));
             ASSERT_EQ(rows.size(), 1) << where;
             EXPECT_EQ(RecordFile::numberOf(rows[0]), 1) << where;
             EXPECT_EQ(get(&w, "LE1")->text(), QStringLiteral("Barolo riserva")) << where;
         }},

        // ---- service addresses
        {"TFINDWEB", "LE8", "host:99999",
         [](Scene& r) -> std::unique_ptr<QDialog> { return std::make_unique<TFINDWEB>(r.t.ctx); },
         nullptr,
         [](Scene& r, QDialog& w, const std::string& where) {
             EXPECT_EQ(r.t.messenger.infos, QStringList{MsgBadServiceHost}) << where;
             EXPECT_TRUE(w.isVisible()) << where;
             EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE8")) << where;
         }},
    };

    for (const Case& c : cases) {
        for (Path path : {Path::Click, Path::AltC}) {
            const std::string where = std::string(c.window) + "." + c.field + " by " + pathName(path);
            Scene r;
            std::unique_ptr<QDialog> w = c.open(r);
            ASSERT_NE(w, nullptr) << where;
            showActive(w.get());
            if (c.prepare)
                c.prepare(r, *w);
            r.t.messenger.infos.clear();
            typeThenConfirm(*w, c.field, QString::fromLatin1(c.typed), path);
            c.expect(r, *w, where);
            w->close();
        }
    }
}
