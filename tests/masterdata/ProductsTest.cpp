// The product rules, the stored row and the photo files.
#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include "foundation/IoError.h"
#include "foundation/Tables.h"
#include "masterdata/DriveWindow.h"
#include "masterdata/Products.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

TEST(ProductRules, StrengthAndAdditionalCode)
{
    const std::pair<const char*, bool> strengths[] = {{"7", true}, {"6,99999", false},
                                                      {"", false}, {"12,5", true}, {"-8", false}};
    for (const auto& [text, ok] : strengths) {
        const CheckResult r = CheckStrength(QString::fromLatin1(text));
        EXPECT_EQ(r.ok, ok) << text;
        if (!ok) {
            EXPECT_EQ(r.message, QStringLiteral("GRADO ALCOLICO BASSO"));
            EXPECT_EQ(r.focus, QStringLiteral("R10"));
        }
    }
    struct Case {
        const char* code;
        double strength;
        bool warns;
    };
    const Case cadd[] = {
        {"W200-22042110-00-S118", 14, false},
        {"W200-22042110-00-S118", 12, true},
        {"W200-22042110-00-S118", 13, true},     // not above 13
        {"W200-22042110-00-S118", 13.01, false},
        {"W200-22042110-00-S118", 15, false},
        {"W200-22042110-00-S118", 15.5, true},
        {"W200-22042110-00-S117", 13.5, true},
        {"W200-22042110-00-S117", 13, false},
        {"W200-22042110-00-S117", 9, false},
        {"W300-22041000-00-0000", 30, false},
    };
    for (const Case& c : cadd) {
        const auto w = CaddWarning(QString::fromLatin1(c.code), c.strength);
        EXPECT_EQ(w.has_value(), c.warns) << c.code << " " << c.strength;
        if (w) {
            EXPECT_EQ(*w, QStringLiteral("VERIFICA IL CODICE CADD PER IL GRADO"));
        }
    }
}

TEST(ProductRules, PackagingAgreesWithBulkOrPackaged)
{
    struct Case {
        const char* flag;
        const char* le5;
        const char* message; // "" passes
    };
    const Case cases[] = {
        {"S", "S", "SE IL PRODOTTO E' SFUSO L'IMBALLAGGIO NON PUO' ESSERE NUMERABILE"},
        {"S", "N", ""},
        {"N", "N", "SE IL PRODOTTO E' CONDIZIONATO L'IMBALLAGGIO DEVE ESSERE NUMERABILE"},
        {"N", "S", ""},
        {"", "S", ""},
        {"", "N", ""},
    };
    for (const Case& c : cases) {
        const CheckResult r = CheckPackaging(QString::fromLatin1(c.flag), bulkKindOf(QString::fromLatin1(c.le5)));
        EXPECT_EQ(r.message, QString::fromLatin1(c.message)) << c.flag << c.le5;
        EXPECT_EQ(r.ok, *c.message == 0);
        if (!r.ok) {
            EXPECT_EQ(r.focus, QStringLiteral("LE6"));
        }
    }
    EXPECT_EQ(bulkKindOf(QStringLiteral("N")), BulkKind::Packaged);
    EXPECT_EQ(bulkKindOf(QStringLiteral("S")), BulkKind::Bulk);
    EXPECT_EQ(bulkKindOf(QStringLiteral("X")), BulkKind::Invalid);
    EXPECT_EQ(bulkKindOf(QString()), BulkKind::Invalid);
    EXPECT_EQ(bulkDescription(BulkKind::Packaged), QStringLiteral("Condizionato"));
    EXPECT_EQ(bulkDescription(BulkKind::Bulk), QStringLiteral("Sfuso"));
    EXPECT_EQ(bulkDescription(BulkKind::Invalid), QStringLiteral("S o N"));
}

TEST(ProductRules, VolumeWeightAndUnitsAboveZero)
{
    EXPECT_TRUE(CheckVolume(QStringLiteral("0,75")).ok);
    EXPECT_EQ(CheckVolume(QStringLiteral("0")).message, QStringLiteral("IL VOLUME DEVE ESSERE MAGGIORE DI ZERO"));
    EXPECT_EQ(CheckVolume(QString()).focus, QStringLiteral("R11"));
    EXPECT_TRUE(CheckWeight(QStringLiteral("1,3")).ok);
    EXPECT_EQ(CheckWeight(QStringLiteral("-1")).message, QStringLiteral("IL PESO DEVE ESSERE MAGGIORE DI ZERO"));
    EXPECT_EQ(CheckWeight(QStringLiteral("0,000001")).focus, QStringLiteral("R12")); // 0 with 5 decimals
    EXPECT_TRUE(CheckUnits(QStringLiteral("6")).ok);
    EXPECT_EQ(CheckUnits(QStringLiteral("0")).message, QStringLiteral("IL NUMERO DEVE ESSERE MAGGIORE DI ZERO"));
    EXPECT_EQ(CheckUnits(QStringLiteral("-6")).focus, QStringLiteral("I10"));
}

TEST(ProductRules, TheCategoryDecidesWhatIsShown)
{
    struct Case {
        const char* category;
        bool body, country;
        const char* label; // "" none
    };
    const Case cases[] = {
        {"1", false, false, ""},
        {"2C", false, false, "Annata"},
        {"3D", true, false, "n.Cert.+n.E-Bacchus"},
        {"3I", true, false, "N° IGP E-Bacchus"},
        {"2V", false, false, "Vino varietale"},
        {"2W", false, false, "Annata-Vino varietale"},
        {"41", false, true, ""},
        {"4C", false, true, "Annata"},
        {"3", true, false, ""},
        {"", false, false, ""},
    };
    for (const Case& c : cases) {
        const CategoryView v = categoryView(QString::fromUtf8(c.category));
        EXPECT_EQ(v.certificationBody, c.body) << c.category;
        EXPECT_EQ(v.importCountry, c.country) << c.category;
        EXPECT_EQ(v.attestationLabel.value_or(QString()), QString::fromUtf8(c.label)) << c.category;
    }
}

TEST(ProductRules, Treatments)
{
    const QStringList ticked{QStringLiteral("01 Il prodotto è stato arricchito"), QStringLiteral("05 Altro")};
    EXPECT_EQ(treatmentsField(ticked), QStringLiteral("01-05-"));
    EXPECT_EQ(treatmentsField({}), QString());
    EXPECT_TRUE(treatmentTicked(QStringLiteral("05 Altro"), QStringLiteral("01-05-")));
    EXPECT_TRUE(treatmentTicked(QStringLiteral("01 x"), QStringLiteral("01-05-")));
    EXPECT_FALSE(treatmentTicked(QStringLiteral("10 x"), QStringLiteral("01-05-")));
    EXPECT_FALSE(treatmentTicked(QStringLiteral("15 x"), QStringLiteral("11-51-"))); // no match across codes
    EXPECT_FALSE(treatmentTicked(QStringLiteral("02 x"), QString()));
}

namespace {
ProductForm packagedForm()
{
    ProductForm f;
    f.code = QStringLiteral("BAROLO");
    f.description = QStringLiteral("Barolo DOCG 2019");
    f.category = QStringLiteral("3D");
    f.zone = QStringLiteral("CI");
    f.ta20 = QStringLiteral("W200-22042110-00-S118");
    f.bulk = QStringLiteral("N");
    f.packaging = QStringLiteral("BO");
    f.treatments = QStringLiteral("01-05-");
    f.country = QStringLiteral("FR"); // not a category 4 product: not stored
    f.attestation = QStringLiteral("2019");
    f.certificationBody = QStringLiteral("Valoritalia");
    f.photoExtension = QStringLiteral(".png");
    f.strength = QStringLiteral("14,5");
    f.volume = QStringLiteral("0,75");
    f.weight = QStringLiteral("1,35");
    f.units = QStringLiteral("6");
    return f;
}
} // namespace

TEST(ProductRow, StoredFieldByField)
{
    TestContext t;
    writeStructure(t.ctx, QStringLiteral("PRAZ"), QStringLiteral("Prodotti"), 1, {{20, QStringLiteral("Codice")}});
    appendRow(t.ctx, QStringLiteral("PRAZ"), {QStringLiteral("ZIBIBBO")});
    BuildProductRow(packagedForm(), t.ctx.EditRow);
    EXPECT_EQ(SaveProduct(t.ctx, std::nullopt), 2);
    const QList<QByteArray> rows = records(tablePath(t.ctx, QStringLiteral("PRAZ"), ".TAB"));
    ASSERT_EQ(rows.size(), 2);
    const QByteArray& r = rows[0]; // BAROLO sorts before ZIBIBBO
    EXPECT_EQ(RecordFile::numberOf(r), 2);
    EXPECT_EQ(fld(r, 0), QStringLiteral("BAROLO").leftJustified(250));
    EXPECT_EQ(fld(r, 1).trimmed(), QStringLiteral("Barolo DOCG 2019"));
    EXPECT_EQ(fld(r, 2).trimmed(), QStringLiteral("3D"));
    EXPECT_EQ(fld(r, 3).trimmed(), QStringLiteral("CI"));
    EXPECT_EQ(fld(r, 4).trimmed(), QStringLiteral("W200-22042110-00-S118"));
    EXPECT_EQ(fld(r, 5).trimmed(), QStringLiteral("N"));
    EXPECT_EQ(fld(r, 6).trimmed(), QStringLiteral("BO"));
    EXPECT_EQ(fld(r, 7).trimmed(), QStringLiteral("01-05-"));
    EXPECT_EQ(fld(r, 8).trimmed(), QString());
    EXPECT_EQ(fld(r, 9).trimmed(), QStringLiteral(".png"));
    EXPECT_EQ(ext(r, 0).trimmed(), QStringLiteral("PRAZ"));
    EXPECT_EQ(ext(r, 1).trimmed(), QStringLiteral("2019"));
    EXPECT_EQ(ext(r, 2).trimmed(), QStringLiteral("Valoritalia"));
    EXPECT_EQ(dim(r, 0), 6);
    EXPECT_EQ(valA(r, 0), 14.5);
    EXPECT_EQ(valA(r, 1), 0.75);
    EXPECT_EQ(valA(r, 2), 1.35);
}

TEST(ProductRow, BulkProductStoresNoPackagedValues)
{
    ProductForm f = packagedForm();
    f.bulk = QStringLiteral("S");
    f.category = QStringLiteral("41");
    TRecTabella row;
    BuildProductRow(f, row);
    EXPECT_EQ(row.Fld[5], QStringLiteral("S"));
    EXPECT_EQ(row.ValA[1], 0.0);
    EXPECT_EQ(row.ValA[2], 0.0);
    EXPECT_EQ(row.Dim[0], 0);
    EXPECT_EQ(row.Fld[8], QStringLiteral("FR"));
    EXPECT_EQ(row.Ext[1], QString()); // category 41 has no attestation
    EXPECT_EQ(row.Ext[2], QString());
}

namespace {
// A picture file of exactly size bytes: a readable bitmap padded at the end.
QString pictureOfSize(const QString& path, qint64 size)
{
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    EXPECT_TRUE(img.save(path, "BMP"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(size - f.size(), '\0'));
    f.close();
    EXPECT_EQ(QFileInfo(path).size(), size);
    return path;
}
} // namespace

TEST(ProductPhoto, AtMost100KilobytesAndAPicture)
{
    TestContext t;
    EXPECT_EQ(CheckPhotoFile(pictureOfSize(t.path(QStringLiteral("a.bmp")), 102400)), PhotoVerdict::Ok);
    EXPECT_EQ(CheckPhotoFile(pictureOfSize(t.path(QStringLiteral("b.bmp")), 102401)), PhotoVerdict::TooLarge);
    EXPECT_EQ(CheckPhotoFile(pictureOfSize(t.path(QStringLiteral("c.bmp")), 102528)), PhotoVerdict::TooLarge);
    QFile junk(t.path(QStringLiteral("d.bmp")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_EQ(CheckPhotoFile(junk.fileName()), PhotoVerdict::Invalid);
    EXPECT_EQ(CheckPhotoFile(t.path(QStringLiteral("missing.bmp"))), PhotoVerdict::Invalid);
}

TEST(ProductPhoto, StoredUnderTheNewNumberAndTheOldOneRemoved)
{
    TestContext t;
    const QString source = pictureOfSize(t.path(QStringLiteral("chosen.bmp")), 500);
    StoreProductPhoto(t.ctx, source, 3, QStringLiteral(".bmp"), QString());
    const QString three = QDir(t.ctx.DatiGenFolder).filePath(QStringLiteral("3.bmp"));
    ASSERT_TRUE(QFile::exists(three));
    EXPECT_TRUE(QFile::exists(source)); // the chosen file is copied, not moved

    // Renumbered 3 -> 7, the picture shown being its stored photo.
    StoreProductPhoto(t.ctx, three, 7, QStringLiteral(".bmp"), three);
    EXPECT_TRUE(QFile::exists(QDir(t.ctx.DatiGenFolder).filePath(QStringLiteral("7.bmp"))));
    EXPECT_FALSE(QFile::exists(three));

    // Renumbered onto its own number: the photo stays.
    const QString seven = photoPath(t.ctx, 7, QStringLiteral(".bmp"));
    StoreProductPhoto(t.ctx, seven, 7, QStringLiteral(".bmp"), seven);
    EXPECT_TRUE(QFile::exists(seven));

    // No picture to store.
    EXPECT_THROW(StoreProductPhoto(t.ctx, QString(), 8, QStringLiteral(".bmp"), QString()), IoError);
}

TEST(ProductPhoto, DeletingAProductRemovesItsPhoto)
{
    TestContext t;
    writeStructure(t.ctx, QStringLiteral("PRAZ"), QStringLiteral("Prodotti"), 1, {{20, QStringLiteral("Codice")}});
    const int n = appendRow(t.ctx, QStringLiteral("PRAZ"), {QStringLiteral("A")});
    const QString photo = pictureOfSize(photoPath(t.ctx, n, QStringLiteral(".bmp")), 300);
    DeleteProduct(t.ctx, n, QStringLiteral(".bmp"));
    EXPECT_FALSE(QFile::exists(photo));
    EXPECT_TRUE(records(tablePath(t.ctx, QStringLiteral("PRAZ"), ".TAB")).isEmpty());
}
