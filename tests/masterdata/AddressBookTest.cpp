// The address book logic: consignee types, language, required fields, records built from the
// fields, duplicate warnings and the modification that keeps the code.
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "foundation/AddressFile.h"
#include "foundation/RecordFile.h"
#include "masterdata/AddressBook.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {
// A text slot as stored: length byte, then the characters padded with spaces to the width.
QByteArray stored(const char* text, int width)
{
    QByteArray s(text);
    s = s.leftJustified(width, ' ');
    return char(width) + s;
}

TRecIndirizzo named(const char* name)
{
    TRecIndirizzo r = blankCompany();
    r.DENOM1 = QString::fromLatin1(name);
    return r;
}

QStringList namesIn(const QString& path)
{
    QStringList out;
    for (const QByteArray& r : RecordFile(path, 608).readAll())
        out << QStringLiteral("%1:%2").arg(RecordFile::numberOf(r)).arg(QString::fromLatin1(r.mid(43, 100)).trimmed());
    return out;
}
} // namespace

TEST(ConsigneeTypes, EachTypeShowsItsFields)
{
    struct Case {
        const char* type;
        const char* label;
        bool identifier, placeExcise, place, exemption;
    };
    const Case cases[] = {
        {"1", "Identificativo = Codice di Accisa: Authorized warehouse keeper", true, true, true, false},
        {"2", "Identificativo = Codice di Accisa: Registered consignee", true, false, false, false},
        {"3", "Identificativo = Codice di Accisa: Temporary Authorisation", true, false, false, false},
        {"4", "Identificativo = Codice di Accisa", true, false, true, false},
        {"5", "Identificativo", false, false, false, true},
        {"6", "Identificativo = Partita IVA del Rappresentante presso l'ufficio esportazione", true, false, false, false},
        {"", "Identificativo", true, false, false, false},
    };
    for (const Case& c : cases) {
        const ConsigneeLayout l = ConsigneeTypeLayout(QString::fromLatin1(c.type));
        EXPECT_EQ(l.identifierLabel, QString::fromLatin1(c.label)) << c.type;
        EXPECT_EQ(l.identifier, c.identifier) << c.type;
        EXPECT_EQ(l.placeExcise, c.placeExcise) << c.type;
        EXPECT_EQ(l.place, c.place) << c.type;
        EXPECT_EQ(l.exemption, c.exemption) << c.type;
    }
    EXPECT_EQ(AcceptedConsigneeType(QStringLiteral("8")), QString());
    EXPECT_EQ(AcceptedConsigneeType(QStringLiteral("3")), QStringLiteral("3"));
}

TEST(ConsigneeTypes, LanguageFromTheExciseNumber)
{
    EXPECT_EQ(LanguageFromExcise(QStringLiteral("GB00000000001")), QStringLiteral("en"));
    EXPECT_EQ(LanguageFromExcise(QStringLiteral("IT00RMV000001")), QStringLiteral("it"));
    EXPECT_EQ(LanguageFromExcise(QStringLiteral("DE12345678901")), QStringLiteral("de"));
    EXPECT_EQ(LanguageFromExcise(QString()), QString());
}

TEST(AddressTitles, ByKindAndWindow)
{
    EXPECT_EQ(AddressWindowTitle(AddressKind::Consignee, AddressAction::Insert), QStringLiteral("Inserisce Destinario DAA"));
    EXPECT_EQ(AddressWindowTitle(AddressKind::Consignee, AddressAction::Modify), QStringLiteral("Modifica Destinario DAA"));
    EXPECT_EQ(AddressWindowTitle(AddressKind::Consignee, AddressAction::Delete), QStringLiteral("Cancella Destinatario DAA"));
    EXPECT_EQ(AddressWindowTitle(KindOfAddressFile(QStringLiteral("INDIRIZZI_T")), AddressAction::Insert),
              QStringLiteral("Inserisce Azienda di Trasporto"));
    EXPECT_EQ(AddressWindowTitle(KindOfAddressFile(QStringLiteral("INDIRIZZI_G")), AddressAction::Modify),
              QStringLiteral("Modifica Garante"));
    EXPECT_EQ(AddressWindowTitle(KindOfAddressFile(QStringLiteral("INDIRIZZI_F")), AddressAction::Insert),
              QStringLiteral("Inserisce Fornitore per importazioni con DAA"));
    EXPECT_EQ(AddressWindowTitle(KindOfAddressFile(QStringLiteral("INDIRIZZI_F")), AddressAction::Delete),
              QStringLiteral("Cancella Fornitore con DAA"));
}

TEST(RequiredFields, TheLastEmptyFieldInWindowOrderGetsTheFocus)
{
    AddressFields full;
    full.TIPOIN = QStringLiteral("1");
    for (QString* s : {&full.CACCI1, &full.CACCI2, &full.DENOM1, &full.INDIR1, &full.NUMCI1, &full.C_A_P1, &full.CITTA1,
                       &full.DENOM2, &full.INDIR2, &full.NUMCI2, &full.C_A_P2, &full.CITTA2, &full.CONGAR})
        *s = QStringLiteral("x");
    EXPECT_TRUE(CheckRequiredAddressFields(AddressKind::Consignee, full).ok);

    struct Case {
        AddressKind kind;
        const char* type;
        std::vector<QString AddressFields::*> empty;
        const char* focus; // "" = passes
    };
    using F = AddressFields;
    const Case cases[] = {
        {AddressKind::Consignee, "1", {&F::CITTA1}, "CITTA1"},
        {AddressKind::Consignee, "1", {&F::CITTA1, &F::DENOM1}, "DENOM1"},        // name comes after city
        {AddressKind::Consignee, "1", {&F::CACCI2, &F::DENOM1}, "CACCI2"},        // the place excise is last
        {AddressKind::Consignee, "1", {&F::CITTA2, &F::INDIR1}, "CITTA2"},
        {AddressKind::Consignee, "4", {&F::CACCI2}, ""},                          // hidden for type 4
        {AddressKind::Consignee, "4", {&F::DENOM2}, "DENOM2"},
        {AddressKind::Consignee, "2", {&F::DENOM2, &F::CITTA2}, ""},              // no place for type 2
        {AddressKind::Consignee, "5", {&F::CACCI1, &F::ESENZIONE, &F::CODUTE}, ""}, // identifier hidden
        {AddressKind::Consignee, "2", {&F::CACCI1}, "CACCI1"},
        {AddressKind::Transporter, "", {&F::CACCI1}, ""},                         // hidden for transporters
        {AddressKind::Transporter, "", {&F::CACCI2, &F::CITTA1}, "CACCI2"},
        {AddressKind::Supplier, "", {&F::CACCI1}, "CACCI1"},
        {AddressKind::Supplier, "", {&F::CONGAR}, ""},
        {AddressKind::Guarantor, "", {&F::CONGAR}, "CONGAR"},
        {AddressKind::Guarantor, "", {&F::CONGAR, &F::CITTA1}, "CITTA1"},
    };
    for (const Case& c : cases) {
        AddressFields f = full;
        f.TIPOIN = c.kind == AddressKind::Consignee ? QString::fromLatin1(c.type) : QString();
        for (auto m : c.empty)
            f.*m = QStringLiteral("  ");
        const CheckResult r = CheckRequiredAddressFields(c.kind, f);
        EXPECT_EQ(r.ok, QByteArray(c.focus).isEmpty()) << int(c.kind) << c.type << c.focus;
        EXPECT_EQ(r.focus, QString::fromLatin1(c.focus)) << int(c.kind) << c.type;
        EXPECT_TRUE(r.message.isEmpty()); // no box: the reason goes to the window's status line
        EXPECT_EQ(r.note, r.ok ? QString() : QStringLiteral("CAMPO OBBLIGATORIO NON COMPILATO"));
    }
}

TEST(DepositOrExemption, OnlyCOrE)
{
    EXPECT_TRUE(CheckDepositOrExemption(QStringLiteral("C")).ok);
    EXPECT_TRUE(CheckDepositOrExemption(QStringLiteral("E")).ok);
    for (const char* bad : {"", "X", " "}) {
        const CheckResult r = CheckDepositOrExemption(QString::fromLatin1(bad));
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ(r.message, QStringLiteral("DIGITA: C per cauzione, E pe esonero"));
        EXPECT_EQ(r.focus, QStringLiteral("CAUESO"));
    }
}

TEST(AddressRecord, TypeFiveConsigneeStoredByTheLayout)
{
    AddressFields f;
    f.TIPOIN = QStringLiteral("5");
    f.CACCI1 = QStringLiteral("IT00ABC");  // hidden: not stored
    f.DENOM1 = QStringLiteral("ambasciata di Francia");
    f.ESENZIONE = QStringLiteral("CERT 123 FR");
    f.DENOM2 = QStringLiteral("stale");    // hidden for type 5
    f.INDIR1 = QStringLiteral("Via Roma");
    f.NUMCI1 = QStringLiteral("1");
    f.C_A_P1 = QStringLiteral("00100");
    f.CITTA1 = QStringLiteral("ROMA");
    f.CODUTE = QStringLiteral("FR");
    f.SEZDOG = QStringLiteral("it");
    const QByteArray bytes = encodeCompany(BuildAddressRecord(AddressKind::Consignee, f, true));
    ASSERT_EQ(bytes.size(), 608);
    EXPECT_EQ(bytes.mid(0, 4), QByteArray(4, '\0'));                       // code 0 until inserted
    EXPECT_EQ(bytes.mid(4, 19), stored("", 18));                           // identifier: a space
    EXPECT_EQ(bytes.mid(23, 19), stored("", 18));
    EXPECT_EQ(bytes.mid(42, 101), stored("Ambasciata di Francia", 100));   // first letter capitalised
    EXPECT_EQ(bytes.mid(143, 101), stored("CERT 123 FR", 100));            // the exemption certificate
    EXPECT_EQ(bytes.mid(273, 66), stored("Via Roma", 65));
    EXPECT_EQ(bytes.mid(339, 66), stored("", 65));
    EXPECT_EQ(bytes.mid(451, 51), stored("ROMA", 50));
    EXPECT_EQ(bytes.mid(553, 5), stored("FR", 4));                         // member state
    EXPECT_EQ(bytes.mid(576, 7), stored("it", 6));
    EXPECT_EQ(bytes.mid(603, 2), stored("5", 1));

    // A member state that failed its lookup is not stored.
    EXPECT_EQ(encodeCompany(BuildAddressRecord(AddressKind::Consignee, f, false)).mid(553, 5), stored("", 4));
}

TEST(AddressRecord, GuarantorKeepsTheGuaranteeAndTransporterNoExcise)
{
    AddressFields f;
    f.CACCI1 = QStringLiteral("IT00RMV000001");
    f.CACCI2 = QStringLiteral("01234567890");
    f.DENOM1 = QStringLiteral("banca");
    f.CAUESO = QStringLiteral("E");
    f.CONGAR = QStringLiteral("CG123");
    f.SEZDOG = QStringLiteral("it");
    const QByteArray g = encodeCompany(BuildAddressRecord(AddressKind::Guarantor, f, false));
    EXPECT_EQ(g.mid(4, 19), stored("IT00RMV000001", 18));
    EXPECT_EQ(g.mid(23, 19), stored("01234567890", 18));
    EXPECT_EQ(g.mid(583, 18), stored("CG123", 17));
    EXPECT_EQ(g.mid(601, 2), stored("E", 1));
    EXPECT_EQ(g.mid(603, 2), stored("", 1));

    const QByteArray t = encodeCompany(BuildAddressRecord(AddressKind::Transporter, f, false));
    EXPECT_EQ(t.mid(4, 19), stored("", 18));
    EXPECT_EQ(t.mid(583, 18), stored("", 17));
    EXPECT_EQ(t.mid(601, 2), stored("", 1));

    // Filled back into the fields from the record.
    const AddressFields back = FieldsFromRecord(AddressKind::Guarantor, decodeCompany(g));
    EXPECT_EQ(back.DENOM1, QStringLiteral("Banca"));
    EXPECT_EQ(back.CONGAR, QStringLiteral("CG123"));
    EXPECT_EQ(back.CAUESO, QStringLiteral("E"));
}

TEST(AddressRecord, ExemptionComesBackIntoItsField)
{
    TRecIndirizzo r = blankCompany();
    r.TIPOIN = QStringLiteral("5");
    r.DENOM2 = QStringLiteral("CERT 9");
    AddressFields f = FieldsFromRecord(AddressKind::Consignee, r);
    EXPECT_EQ(f.ESENZIONE, QStringLiteral("CERT 9"));
    EXPECT_TRUE(f.DENOM2.isEmpty());
    r.TIPOIN = QStringLiteral("1");
    f = FieldsFromRecord(AddressKind::Consignee, r);
    EXPECT_EQ(f.DENOM2, QStringLiteral("CERT 9"));
    EXPECT_TRUE(f.ESENZIONE.isEmpty());
}

TEST(AddressDuplicates, NameIgnoresCaseExciseAndVatAreExact)
{
    TestContext t;
    const QString path = t.path(QStringLiteral("INDIRIZZI_G.DAT"));
    EXPECT_TRUE(DuplicateNameWarning(path, QStringLiteral("rossi srl")).isEmpty()); // missing file
    EXPECT_TRUE(QFile::exists(path));                                                // created empty
    TRecIndirizzo r = named("ROSSI SRL");
    r.CACCI1 = QStringLiteral("IT00RMV000001");
    r.CACCI2 = QStringLiteral("01234567890");
    InsertAddress(path, r, t.messenger);

    EXPECT_EQ(DuplicateNameWarning(path, QStringLiteral("rossi srl")), QStringLiteral("ATTENZIONE DENOMINAZIONE GIA' PRESENTE IN ARCHIVIO !"));
    EXPECT_TRUE(DuplicateNameWarning(path, QStringLiteral("rossi sr")).isEmpty());
    EXPECT_EQ(DuplicateExciseWarning(path, QStringLiteral("IT00RMV000001")), QStringLiteral("ATTENZIONE CODICE D'ACCISA GIA' PRESENTE IN ARCHIVIO !"));
    EXPECT_TRUE(DuplicateExciseWarning(path, QStringLiteral("IT00RMV000002")).isEmpty());
    EXPECT_TRUE(DuplicateExciseWarning(path, QString()).isEmpty());
    EXPECT_EQ(DuplicateVatWarning(path, QStringLiteral("01234567890")), QStringLiteral("ATTENZIONE PARTITA IVA GIA' PRESENTE IN ARCHIVIO !"));
    EXPECT_TRUE(DuplicateVatWarning(path, QStringLiteral("01234567891")).isEmpty());
}

TEST(ReplaceAddressTest, KeepsTheCodeAndMovesToTheNewNamePosition)
{
    TestContext t;
    const QString path = t.path(QStringLiteral("INDIRIZZI_D.DAT"));
    for (const char* n : {"Alfa", "Beta", "Gamma"})
        InsertAddress(path, named(n), t.messenger);
    ASSERT_EQ(namesIn(path), (QStringList{"1:Alfa", "2:Beta", "3:Gamma"}));

    EXPECT_EQ(ReplaceAddress(path, 1, named("Zeta"), t.messenger), 1);
    EXPECT_EQ(namesIn(path), (QStringList{"2:Beta", "3:Gamma", "1:Zeta"}));
    EXPECT_EQ(ReplaceAddress(path, 3, named("Aaa"), t.messenger), 3);
    EXPECT_EQ(namesIn(path), (QStringList{"3:Aaa", "2:Beta", "1:Zeta"}));
    EXPECT_FALSE(QFile::exists(path + QLatin1Char('$'))); // the lock is released
    // A new insertion still gets the highest code + 1.
    EXPECT_EQ(InsertAddress(path, named("Delta"), t.messenger), 4);
}

TEST(ReplaceAddressTest, ADamagedFileIsLeftAsItWas)
{
    TestContext t;
    const QString path = t.path(QStringLiteral("INDIRIZZI_D.DAT"));
    InsertAddress(path, named("Alfa"), t.messenger);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("xyz");
    f.close();
    const qint64 size = QFileInfo(path).size();
    EXPECT_ANY_THROW(ReplaceAddress(path, 1, named("Beta"), t.messenger));
    EXPECT_EQ(QFileInfo(path).size(), size);
    EXPECT_FALSE(QFile::exists(path + QLatin1Char('$')));
}

TEST(DeleteMemo, ConsigneeShowsThePlaceOfDestination)
{
    TRecIndirizzo r = blankCompany();
    r.CACCI1 = QStringLiteral("IT00RMV000001");
    r.CACCI2 = QStringLiteral("IT00RMV000009");
    r.DENOM1 = QStringLiteral("Rossi srl");
    r.DENOM2 = QStringLiteral("Magazzino");
    r.INDIR1 = QStringLiteral("Via Roma");
    r.NUMCI1 = QStringLiteral("1");
    r.C_A_P1 = QStringLiteral("00100");
    r.CITTA1 = QStringLiteral("ROMA");
    r.INDIR2 = QStringLiteral("Via Po");
    r.NUMCI2 = QStringLiteral("2");
    r.C_A_P2 = QStringLiteral("10100");
    r.CITTA2 = QStringLiteral("TORINO");
    r.SEZDOG = QStringLiteral("it");
    EXPECT_EQ(DeleteMemoLines(AddressKind::Consignee, r),
              (QStringList{"IT00RMV000001", "", "Rossi srl", "Via Roma 1", "00100 ROMA", "", " Magazzino", "IT00RMV000009",
                           "Via Po 2", "10100 TORINO", " ", "it"}));
    EXPECT_EQ(DeleteMemoLines(AddressKind::Guarantor, r).size(), 8);
}
