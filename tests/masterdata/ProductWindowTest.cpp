// The products window TFPRODAZIEND driven offscreen.
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include "foundation/Tables.h"
#include "masterdata/DriveWindow.h"
#include "masterdata/Products.h"
#include "masterdata/TFPRODAZIEND.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

namespace {
QString pictureOfSize(const QString& path, qint64 size, Qt::GlobalColor color = Qt::red)
{
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(color);
    EXPECT_TRUE(img.save(path, "BMP"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(size - f.size(), '\0'));
    f.close();
    return path;
}
QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class ProductWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto table = [&](const char* name, std::initializer_list<QStringList> rows, int flags = 0) {
            if (flags)
                writeStructure(t.ctx, QString::fromLatin1(name), QStringLiteral("T"), 1,
                               {{21, QStringLiteral("C")}, {100, QStringLiteral("D")}, {1, QStringLiteral("N")}});
            else
                writeStructure(t.ctx, QString::fromLatin1(name), QStringLiteral("T"), 1,
                               {{21, QStringLiteral("C")}, {100, QStringLiteral("D")}});
            for (const QStringList& r : rows)
                appendRow(t.ctx, QString::fromLatin1(name), r);
        };
        table("T018", {{"1", "Vino senza DOP/IGP"}, {"3D", "Vino DOP"}, {"41", "Vino importato"}});
        table("T019", {{"CI", "Zona C I"}});
        table("T005", {{"FR", "Francia"}});
        table("TA20", {{"W200-22042110-00-S117", "Vino fermo fino a 13"}, {"W200-22042110-00-S118", "Vino fermo oltre 13"}});
        table("T010", {{"BO", "Bottiglia", "S"}, {"CT", "Cisterna", "N"}}, 1);
        table("T020", {{"00", "Nessuna operazione"}, {"01", "Arricchito"}, {"05", "Altro trattamento"}});
        writeStructure(t.ctx, QStringLiteral("PRAZ"), QStringLiteral("Prodotti"), 1, {{20, QStringLiteral("Codice")}});
        pictureOfSize(defaultPhotoPath(t.ctx), 1000, Qt::white);
        t.ctx.FromMenu = true;
        // A listing or code editor opened by a failing rule is closed at once.
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (QWidget* m = QApplication::activeModalWidget())
                m->close();
        });
        closer.start(20);
    }
    void fill(QWidget* w, const char* code, const char* ta20 = "W2002204211000S118", const char* strength = "14,5")
    {
        typeAndEnter(w, "LE0", QString::fromLatin1(code));
        typeAndEnter(w, "LE1", QStringLiteral("Barolo riserva"));
        typeAndEnter(w, "LE2", QStringLiteral("3D"));
        typeAndEnter(w, "LE21", QStringLiteral("CERT-1 EB-2"));
        typeAndEnter(w, "LE22", QStringLiteral("Valoritalia"));
        typeAndEnter(w, "LE3", QStringLiteral("CI"));
        typeAndEnter(w, "R10", QString::fromLatin1(strength));
        typeAndEnter(w, "ME4", QString::fromLatin1(ta20));
        typeAndEnter(w, "LE5", QStringLiteral("N"));
        typeAndEnter(w, "R11", QStringLiteral("0,75"));
        typeAndEnter(w, "R12", QStringLiteral("1,35"));
        typeAndEnter(w, "I10", QStringLiteral("6"));
        typeAndEnter(w, "LE6", QStringLiteral("BO"));
    }
    QList<QByteArray> rows() { return records(tablePath(t.ctx, QStringLiteral("PRAZ"), ".TAB")); }
    QString datiGen(const char* name) { return QDir(t.ctx.DatiGenFolder).filePath(QString::fromLatin1(name)); }
    TestContext t;
    QTimer closer;
};

TEST_F(ProductWindow, EntersAPackagedProductWithTreatmentsAndPhoto)
{
    TFPRODAZIEND w(t.ctx);
    ASSERT_TRUE(w.ready());
    showActive(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Prodotti Aziendali"));
    EXPECT_EQ(get(&w, "LE5")->text(), QStringLiteral("N"));
    EXPECT_EQ(get(&w, "DLE5")->text(), QStringLiteral("Condizionato"));
    EXPECT_FALSE(get(&w, "LE21")->isVisible());
    EXPECT_FALSE(get(&w, "LE7")->isVisible());
    fill(&w, "BAROLO");
    EXPECT_TRUE(get(&w, "LE22")->isVisible());
    EXPECT_TRUE(get(&w, "LE21")->isVisible());
    EXPECT_EQ(get(&w, "DME4")->text(), QStringLiteral("Vino fermo oltre 13"));
    EXPECT_EQ(get(&w, "DLE6")->text(), QStringLiteral("Bottiglia"));

    auto* list = get<QListWidget>(&w, "CBOX");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("01 Arricchito"));
    list->item(2)->setCheckState(Qt::Checked);
    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_EQ(get(&w, "DCBOX")->text(), QStringLiteral("01 Arricchito - 05 Altro trattamento - "));

    const QString chosen = pictureOfSize(t.path(QStringLiteral("barolo.bmp")), 102400);
    t.dialogs.answers = {chosen};
    click(&w, "BIMMAGINE");
    EXPECT_EQ(get<QLabel>(&w, "Image1")->width(), 230); // 115 high, twice as wide as the 20 x 10 picture
    click(&w, "BCONF");
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();

    const QList<QByteArray> r = rows();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(RecordFile::numberOf(r[0]), 1);
    EXPECT_EQ(fld(r[0], 0).trimmed(), QStringLiteral("BAROLO"));
    EXPECT_EQ(fld(r[0], 2).trimmed(), QStringLiteral("3D"));
    EXPECT_EQ(fld(r[0], 4).trimmed(), QStringLiteral("W200-22042110-00-S118"));
    EXPECT_EQ(fld(r[0], 7).trimmed(), QStringLiteral("01-05-"));
    EXPECT_EQ(fld(r[0], 9).trimmed(), QStringLiteral(".bmp"));
    EXPECT_EQ(ext(r[0], 1).trimmed(), QStringLiteral("CERT-1 EB-2"));
    EXPECT_EQ(ext(r[0], 2).trimmed(), QStringLiteral("Valoritalia"));
    EXPECT_EQ(valA(r[0], 0), 14.5);
    EXPECT_EQ(valA(r[0], 1), 0.75);
    EXPECT_EQ(valA(r[0], 2), 1.35);
    EXPECT_EQ(dim(r[0], 0), 6);
    EXPECT_EQ(bytesOf(datiGen("1.bmp")), bytesOf(chosen));
    EXPECT_TRUE(get(&w, "LE0")->text().isEmpty()); // from the menu: ready for the next product
    EXPECT_TRUE(w.isVisible());
}

TEST_F(ProductWindow, APhotoOverOneHundredKilobytesIsRefused)
{
    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    fill(&w, "DOLCETTO");
    t.dialogs.answers = {pictureOfSize(t.path(QStringLiteral("big.bmp")), 102528)};
    click(&w, "BIMMAGINE");
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("LA DIMENSIONE DELLA FOTO DEVE ESSERE INFERIORE A 100 KB")});
    click(&w, "BCONF");
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(bytesOf(datiGen("1.bmp")), bytesOf(defaultPhotoPath(t.ctx))); // the picture shown: the default
}

TEST_F(ProductWindow, ModifyingRenumbersAndMovesThePhoto)
{
    {
        TFPRODAZIEND w(t.ctx);
        showActive(&w);
        fill(&w, "ARNEIS");
        get<QListWidget>(&w, "CBOX")->item(2)->setCheckState(Qt::Checked);
        t.dialogs.answers = {pictureOfSize(t.path(QStringLiteral("a.bmp")), 700, Qt::blue)};
        click(&w, "BIMMAGINE");
        click(&w, "BCONF");
        fill(&w, "BAROLO");
        click(&w, "BCONF");
    }
    ASSERT_EQ(rows().size(), 2);
    const QByteArray photo = bytesOf(datiGen("1.bmp"));

    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    typeAndEnter(&w, "LE0", QStringLiteral("ARNEIS"));
    EXPECT_TRUE(get<QLabel>(&w, "LMODCANC")->isVisible());
    EXPECT_TRUE(get<QPushButton>(&w, "BCANCELLA")->isVisible());
    EXPECT_EQ(get(&w, "LE1")->text(), QStringLiteral("Barolo riserva"));
    EXPECT_EQ(get(&w, "R10")->text(), QStringLiteral("14,50"));
    EXPECT_EQ(get(&w, "R11")->text(), QStringLiteral("0,75000"));
    EXPECT_EQ(get(&w, "I10")->text(), QStringLiteral("6"));
    EXPECT_EQ(get(&w, "LE21")->text(), QStringLiteral("CERT-1 EB-2"));
    EXPECT_EQ(get<QListWidget>(&w, "CBOX")->item(2)->checkState(), Qt::Checked);
    EXPECT_EQ(get<QListWidget>(&w, "CBOX")->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(get(&w, "DCBOX")->text(), QStringLiteral("05 Altro trattamento - "));
    typeAndEnter(&w, "LE1", QStringLiteral("Arneis"));
    click(&w, "BCONF");
    EXPECT_TRUE(t.messenger.infos.isEmpty()) << t.messenger.infos.join(" | ").toStdString();

    const QList<QByteArray> r = rows();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(fld(r[0], 0).trimmed(), QStringLiteral("ARNEIS"));
    EXPECT_EQ(RecordFile::numberOf(r[0]), 3);
    EXPECT_EQ(fld(r[0], 1).trimmed(), QStringLiteral("Arneis"));
    EXPECT_EQ(fld(r[0], 7).trimmed(), QStringLiteral("05-"));
    EXPECT_EQ(bytesOf(datiGen("3.bmp")), photo);   // saved under the new number
    EXPECT_FALSE(QFile::exists(datiGen("1.bmp"))); // the old one is gone
    EXPECT_TRUE(QFile::exists(datiGen("2.bmp")));  // the other product keeps its own

    typeAndEnter(&w, "LE0", QStringLiteral("BAROLO"));
    t.messenger.answers.push_back(true); // "Sì" to the question before deleting
    click(&w, "BCANCELLA");
    EXPECT_EQ(rows().size(), 1);
    EXPECT_FALSE(QFile::exists(datiGen("2.bmp")));
    EXPECT_FALSE(get<QPushButton>(&w, "BCANCELLA")->isVisible());
}

TEST_F(ProductWindow, ABulkProductCannotHaveANumerablePackaging)
{
    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    fill(&w, "SFUSO");
    typeAndEnter(&w, "LE5", QStringLiteral("S"));
    EXPECT_EQ(get(&w, "DLE5")->text(), QStringLiteral("Sfuso"));
    EXPECT_FALSE(get(&w, "R11")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE6"));
    typeAndEnter(&w, "LE6", QStringLiteral("BO"));
    EXPECT_EQ(t.messenger.infos.value(0), MsgBulkNumerable);
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE6"));
    click(&w, "BCONF");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(t.messenger.infos.last(), MsgBulkNumerable);

    typeAndEnter(&w, "LE6", QStringLiteral("CT"));
    click(&w, "BCONF");
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(fld(rows()[0], 5).trimmed(), QStringLiteral("S"));
    EXPECT_EQ(valA(rows()[0], 1), 0.0); // no volume for a bulk product
    EXPECT_EQ(dim(rows()[0], 0), 0);
}

TEST_F(ProductWindow, APackagedProductNeedsANumerablePackagingAndPositiveValues)
{
    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    fill(&w, "X");
    typeAndEnter(&w, "LE6", QStringLiteral("CT"));
    EXPECT_EQ(t.messenger.infos.value(0), MsgPackagedNotNumerable);
    typeAndEnter(&w, "LE6", QStringLiteral("BO"));
    typeAndEnter(&w, "I10", QStringLiteral("0"));
    EXPECT_EQ(t.messenger.infos.size(), 1); // the units are checked on confirming, not on leaving
    click(&w, "BCONF");
    EXPECT_EQ(t.messenger.infos.value(1), MsgUnitsNotPositive);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "I10"));
}

TEST_F(ProductWindow, TheAdditionalCodeWarnsButDoesNotStop)
{
    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    fill(&w, "BASSO", "W2002204211000S118", "12");
    EXPECT_EQ(t.messenger.infos, QStringList{MsgCheckCadd});
    click(&w, "BCONF");
    EXPECT_EQ(t.messenger.infos, QStringList(2, MsgCheckCadd));
    EXPECT_EQ(rows().size(), 1);
}

TEST_F(ProductWindow, AnImportedWineNeedsItsCountry)
{
    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    fill(&w, "IMPORT");
    typeAndEnter(&w, "LE2", QStringLiteral("41"));
    EXPECT_TRUE(get(&w, "LE7")->isVisible());
    EXPECT_FALSE(get(&w, "LE21")->isVisible());
    EXPECT_FALSE(get(&w, "LE22")->isVisible());
    click(&w, "BCONF");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE7"));
    EXPECT_EQ(get(&w, "DLE7")->text(), QStringLiteral("CODICE NON VALIDO"));

    typeAndEnter(&w, "LE7", QStringLiteral("FR"));
    EXPECT_EQ(get(&w, "DLE7")->text(), QStringLiteral("Francia"));
    typeAndEnter(&w, "LE2", QStringLiteral("1")); // another category empties the country
    EXPECT_FALSE(get(&w, "LE7")->isVisible());
    EXPECT_TRUE(get(&w, "LE7")->text().isEmpty());
    typeAndEnter(&w, "LE2", QStringLiteral("41"));
    typeAndEnter(&w, "LE7", QStringLiteral("FR"));
    click(&w, "BCONF");
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(fld(rows()[0], 8).trimmed(), QStringLiteral("FR"));
}

TEST_F(ProductWindow, OpenedByAnotherWindowItClosesWithTheProductInEditRow)
{
    t.ctx.FromMenu = false;
    TFPRODAZIEND w(t.ctx);
    showActive(&w);
    click(&w, "BCONF"); // untouched: back to the code
    EXPECT_EQ(QApplication::focusWidget(), get(&w, "LE0"));
    fill(&w, "NUOVO");
    click(&w, "BCONF");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(t.ctx.EditRow.Fld[0], QStringLiteral("NUOVO"));
    EXPECT_EQ(t.ctx.EditRow.Num, 1);
}

TEST(ProductWindowSetup, MissingStructureCloses)
{
    TestContext t;
    TFPRODAZIEND w(t.ctx);
    EXPECT_FALSE(w.ready());
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("STRUTTURA DELLA TABELLA MANCANTE")});
}
