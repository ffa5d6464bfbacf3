#include <gtest/gtest.h>

#include <vector>

#include "foundation/RegisterRecord.h"

using namespace vt;

namespace {
struct Expected {
    const char* name;
    int offset;
    char kind; // 'i' int32, 'd' double, 't' text
    int width;
};

// Copied from the register record layout table.
const std::vector<Expected> kRegister = {
    {"numero", 0, 'i', 0},
    {"collegato", 4, 'i', 0},
    {"dataFlusso", 8, 'd', 0},
    {"numeroFlusso", 16, 'i', 0},
    {"stato", 20, 't', 1},
    {"data", 24, 'd', 0},
    {"registro", 32, 't', 1},
    {"operazione", 34, 't', 1},
    {"tipoDestinazione", 36, 't', 1},
    {"ufficioDogana", 38, 't', 8},
    {"annoProtocollo", 47, 't', 4},
    {"numeroProtocollo", 52, 't', 10},
    {"progressivo", 64, 'i', 0},
    {"prodottoAziendale", 68, 't', 20},
    {"codiceProdotto", 89, 't', 21},
    {"litri", 112, 'd', 0},
    {"grado", 120, 'd', 0},
    {"volumeConfezione", 128, 'd', 0},
    {"aliquota", 136, 'd', 0},
    {"garanzia", 144, 'd', 0},
    {"stoccaggio", 152, 't', 1},
    {"confezioni", 156, 'i', 0},
    {"tipoDocumento", 160, 't', 3},
    {"numeroDocumento", 164, 't', 21},
    {"dataDocumento", 192, 'd', 0},
    {"paese", 200, 't', 2},
    {"controparte", 203, 't', 16},
    {"tipoMovimento", 220, 't', 1},
    {"causale", 222, 't', 3},
    {"nota", 226, 't', 250},
    {"dataCollegata", 480, 'd', 0},
    {"riferimentoLocale", 488, 't', 22},
    {"progressivoEad", 512, 'i', 0},
    {"progressivoDettaglio", 516, 'i', 0},
};

void putText(QByteArray& img, int off, int width, const char* text)
{
    img[off] = char(width);
    int i = 0;
    for (; text[i]; ++i)
        img[off + 1 + i] = text[i];
    for (; i < width; ++i)
        img[off + 1 + i] = ' ';
}

void putBytes(QByteArray& img, int off, std::initializer_list<unsigned char> bytes)
{
    for (unsigned char b : bytes)
        img[off++] = char(b);
}
} // namespace

TEST(RegisterRecord, LayoutMatchesTheTableAndEveryByteHasOneOwner)
{
    EXPECT_EQ(TRecMovimento::Size, 520);
    auto fields = TRecMovimento::fields();
    ASSERT_EQ(fields.size(), kRegister.size());
    for (size_t i = 0; i < kRegister.size(); ++i) {
        const auto& e = kRegister[i];
        EXPECT_STREQ(fields[i].name, e.name);
        EXPECT_EQ(fields[i].offset, e.offset) << e.name;
        const FieldKind kind = e.kind == 'i' ? FieldKind::Int32 : e.kind == 'd' ? FieldKind::Double : FieldKind::Text;
        EXPECT_EQ(fields[i].kind, kind) << e.name;
        if (e.kind == 't')
            EXPECT_EQ(fields[i].width, e.width) << e.name;
    }
    std::vector<int> owner(520, 0);
    for (const auto& f : fields)
        for (int b = f.offset; b < f.offset + f.byteSize(); ++b)
            ++owner[b];
    for (const auto& g : TRecMovimento::fillers())
        for (int b = g.offset; b < g.offset + g.size; ++b)
            ++owner[b];
    for (int b = 0; b < 520; ++b)
        EXPECT_EQ(owner[b], 1) << "byte " << b;
}

TEST(RegisterRecord, HandBuiltUnloadImageDecodesAndEncodesToTheSameBytes)
{
    // An unload of 225 litres at 12.5 % vol on 17/11/2027, protocol 2027/AB123, progressive 7,
    // rectifying record 3, sent in flow 12 of 18/11/2027.
    QByteArray img(520, '\0');
    for (const auto& e : kRegister)
        if (e.kind == 't')
            putText(img, e.offset, e.width, "");
    img[0] = 9;                                                   // numero 9
    img[4] = 3;                                                   // collegato 3
    putBytes(img, 8, {0, 0, 0, 0, 0xA0, 0xCE, 0xE6, 0x40});      // 46709.0 = 18/11/2027
    img[16] = 12;                                                 // flow 12
    putText(img, 20, 1, "R");
    putBytes(img, 24, {0, 0, 0, 0, 0x80, 0xCE, 0xE6, 0x40});     // 46708.0 = 17/11/2027
    putText(img, 32, 1, "C");
    putText(img, 34, 1, "I");
    putText(img, 36, 1, "1");
    putText(img, 38, 8, "IT00ABCD");
    putText(img, 47, 4, "2027");
    putText(img, 52, 10, "AB123");
    putBytes(img, 64, {7, 0, 0, 0});                             // progressivo 7
    putText(img, 68, 20, "ROSSO01");
    putText(img, 89, 21, "W200-22042138-00-0000");
    putBytes(img, 112, {0, 0, 0, 0, 0, 0x20, 0x6C, 0x40});       // 225.0
    putBytes(img, 120, {0, 0, 0, 0, 0, 0, 0x29, 0x40});          // 12.5
    putBytes(img, 128, {0, 0, 0, 0, 0, 0, 0xE8, 0x3F});          // 0.75
    putBytes(img, 136, {0, 0, 0, 0, 0, 0, 0, 0});                // 0
    putBytes(img, 144, {0, 0, 0, 0, 0, 0x40, 0x5F, 0x40});       // 125.0
    putText(img, 152, 1, "N");
    putBytes(img, 156, {0x2C, 0x01, 0, 0});                      // 300 packages
    putText(img, 160, 3, "DAA");
    putText(img, 164, 21, "12/B");
    putBytes(img, 192, {0, 0, 0, 0, 0x80, 0xCE, 0xE6, 0x40});
    putText(img, 200, 2, "DE");
    putText(img, 203, 16, "DE00012345678");
    putText(img, 220, 1, "S");
    putText(img, 222, 3, "S1");
    putText(img, 226, 250, "consegna al cliente M\xFC" "ller");     // "ü" in Windows-1252
    putText(img, 488, 22, "");
    putBytes(img, 516, {2, 0, 0, 0});                            // product line 2

    TRecMovimento r = decodeRegisterRecord(img);
    EXPECT_EQ(r.numero, 9);
    EXPECT_EQ(r.collegato, 3);
    EXPECT_EQ(r.dataFlusso, 46709.0);
    EXPECT_EQ(r.numeroFlusso, 12);
    EXPECT_EQ(r.stato, QStringLiteral("R"));
    EXPECT_EQ(r.data, 46708.0);
    EXPECT_EQ(r.numeroProtocollo, QStringLiteral("AB123     "));
    EXPECT_EQ(r.progressivo, 7);
    EXPECT_EQ(r.litri, 225.0);
    EXPECT_EQ(r.grado, 12.5);
    EXPECT_EQ(r.volumeConfezione, 0.75);
    EXPECT_EQ(r.garanzia, 125.0);
    EXPECT_EQ(r.disponibile(), 125.0); // the guarantee name of the same bytes
    EXPECT_EQ(r.confezioni, 300);
    EXPECT_EQ(r.tipoDocumento, QStringLiteral("DAA"));
    EXPECT_EQ(r.controparte, QStringLiteral("DE00012345678   "));
    EXPECT_EQ(r.nota.trimmed(), QStringLiteral("consegna al cliente Müller"));
    EXPECT_EQ(r.progressivoDettaglio, 2);
    EXPECT_EQ(encodeRegisterRecord(r), img);

    // Working form trims; encoding pads again to the same bytes.
    TrimRegisterRecord(r);
    EXPECT_EQ(r.numeroProtocollo, QStringLiteral("AB123"));
    EXPECT_EQ(r.riferimentoLocale, QString());
    EXPECT_EQ(encodeRegisterRecord(r), img);
}

TEST(RegisterRecord, BlankRecordIsAllSpacesAndZeros)
{
    TRecGaranzia g;
    g.numero = 4;
    g.impegnato() = 10;
    g.nota = QStringLiteral("x");
    BlankRegisterRecord(g);
    EXPECT_EQ(g.numero, 0);
    EXPECT_EQ(g.impegnato(), 0.0);
    EXPECT_EQ(g.nota, QString(250, QLatin1Char(' ')));
    EXPECT_EQ(g.stato, QStringLiteral(" "));

    const QByteArray bytes = encodeRegisterRecord(g);
    ASSERT_EQ(bytes.size(), 520);
    for (const auto& e : kRegister) {
        if (e.kind == 't') {
            EXPECT_EQ(static_cast<unsigned char>(bytes[e.offset]), e.width) << e.name;
            EXPECT_EQ(bytes.mid(e.offset + 1, e.width), QByteArray(e.width, ' ')) << e.name;
        } else {
            EXPECT_EQ(bytes.mid(e.offset, e.kind == 'i' ? 4 : 8), QByteArray(e.kind == 'i' ? 4 : 8, '\0')) << e.name;
        }
    }
    for (const auto& g2 : TRecMovimento::fillers())
        EXPECT_EQ(bytes.mid(g2.offset, g2.size), QByteArray(g2.size, '\0'));
}

TEST(RegisterRecord, TooLongTextIsCutToItsWidthAndUnencodableTextIsRefused)
{
    TRecMovimento r = blankRegisterRecord();
    r.causale = QStringLiteral("ABCDE");
    QByteArray bytes = encodeRegisterRecord(r);
    EXPECT_EQ(bytes.mid(222, 4), QByteArray("\x03" "ABC"));
    r.nota = QStringLiteral("漢字");
    EXPECT_THROW(encodeRegisterRecord(r), EncodingError);
}
