#include "foundation/RegisterRecord.h"

#include <array>

namespace vt {

namespace {
using M = TRecMovimento;
constexpr std::array<Field<M>, 34> kFields{{
    VT_I32(M, numero, 0),
    VT_I32(M, collegato, 4),
    VT_F64(M, dataFlusso, 8),
    VT_I32(M, numeroFlusso, 16),
    VT_TXT(M, stato, 20, 1),
    VT_F64(M, data, 24),
    VT_TXT(M, registro, 32, 1),
    VT_TXT(M, operazione, 34, 1),
    VT_TXT(M, tipoDestinazione, 36, 1),
    VT_TXT(M, ufficioDogana, 38, 8),
    VT_TXT(M, annoProtocollo, 47, 4),
    VT_TXT(M, numeroProtocollo, 52, 10),
    VT_I32(M, progressivo, 64),
    VT_TXT(M, prodottoAziendale, 68, 20),
    VT_TXT(M, codiceProdotto, 89, 21),
    VT_F64(M, litri, 112),
    VT_F64(M, grado, 120),
    VT_F64(M, volumeConfezione, 128),
    VT_F64(M, aliquota, 136),
    VT_F64(M, garanzia, 144),
    VT_TXT(M, stoccaggio, 152, 1),
    VT_I32(M, confezioni, 156),
    VT_TXT(M, tipoDocumento, 160, 3),
    VT_TXT(M, numeroDocumento, 164, 21),
    VT_F64(M, dataDocumento, 192),
    VT_TXT(M, paese, 200, 2),
    VT_TXT(M, controparte, 203, 16),
    VT_TXT(M, tipoMovimento, 220, 1),
    VT_TXT(M, causale, 222, 3),
    VT_TXT(M, nota, 226, 250),
    VT_F64(M, dataCollegata, 480),
    VT_TXT(M, riferimentoLocale, 488, 22),
    VT_I32(M, progressivoEad, 512),
    VT_I32(M, progressivoDettaglio, 516),
}};

// Alignment gaps: a number after a text field starts at its natural boundary.
constexpr std::array<Filler, 7> kFillers{{
    {22, 2}, {63, 1}, {111, 1}, {154, 2}, {186, 6}, {477, 3}, {511, 1},
}};
} // namespace

std::span<const Field<TRecMovimento>> TRecMovimento::fields()
{
    return kFields;
}

std::span<const Filler> TRecMovimento::fillers()
{
    return kFillers;
}

void BlankRegisterRecord(TRecMovimento& r)
{
    r = blankRecord<TRecMovimento>();
}

TRecMovimento blankRegisterRecord()
{
    return blankRecord<TRecMovimento>();
}

void TrimRegisterRecord(TRecMovimento& r)
{
    trimRecord(r);
}

void PadRegisterRecord(TRecMovimento& r)
{
    padRecord(r);
}

QByteArray encodeRegisterRecord(const TRecMovimento& r)
{
    TRecMovimento copy = r;
    padRecord(copy);
    return encodeRecord(copy);
}

TRecMovimento decodeRegisterRecord(const QByteArray& bytes)
{
    return decodeRecord<TRecMovimento>(bytes);
}

} // namespace vt
