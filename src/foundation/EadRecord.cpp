#include "foundation/EadRecord.h"

#include <array>

namespace vt {

namespace {
using E = TRecEad;
constexpr std::array<Field<E>, 97> kEadFields{{
    VT_I32(E, progressivo, 0),
    VT_TXT(E, LINGUA, 4, 2),
    VT_TXT(E, riferimentoLocale, 7, 22),
    VT_TXT(E, riservato, 30, 22),
    VT_I32(E, progressivoRif, 56),
    VT_F64(E, dataFlusso, 64),
    VT_I32(E, numeroFlusso, 72),
    VT_TXT(E, stato, 76, 1),
    VT_TXT(E, ARC, 78, 21),
    VT_TXT(E, TIPMES, 100, 1),
    VT_TXT(E, TIPDES, 102, 1),
    VT_I32(E, unitaDurata, 104),
    VT_I32(E, durata, 108),
    VT_TXT(E, RESTRA, 112, 1),
    VT_TXT(E, INVDIF, 114, 1),
    VT_TXT(E, accisaSpeditore, 116, 18),
    VT_TXT(E, denominazioneSpeditore, 135, 100),
    VT_TXT(E, indirizzoSpeditore, 236, 65),
    VT_TXT(E, civicoSpeditore, 302, 11),
    VT_TXT(E, capSpeditore, 314, 10),
    VT_TXT(E, cittaSpeditore, 325, 50),
    VT_TXT(E, SEDELS, 376, 3),
    VT_TXT(E, COIDLS, 380, 18),
    VT_TXT(E, DENLSP, 399, 100),
    VT_TXT(E, INDLSP, 500, 65),
    VT_TXT(E, NUCLSP, 566, 11),
    VT_TXT(E, CAPLSP, 578, 10),
    VT_TXT(E, CITLSP, 589, 50),
    VT_TXT(E, UFFSPE, 640, 8),
    VT_TXT(E, ufficioCompetente, 649, 8),
    VT_TXT(E, COIDDE, 658, 18),
    VT_TXT(E, DENDES, 677, 100),
    VT_TXT(E, INDDES, 778, 65),
    VT_TXT(E, NUCDES, 844, 11),
    VT_TXT(E, CAPDES, 856, 10),
    VT_TXT(E, CITDES, 867, 50),
    VT_TXT(E, LINDES, 918, 2),
    VT_TXT(E, STAMEM, 921, 2),
    VT_TXT(E, CERESE, 924, 100),
    VT_TXT(E, COIDLD, 1025, 18),
    VT_TXT(E, DENLDE, 1044, 100),
    VT_TXT(E, INDLDE, 1145, 65),
    VT_TXT(E, NUCLDE, 1211, 11),
    VT_TXT(E, CAPLDE, 1223, 10),
    VT_TXT(E, CITLDE, 1234, 50),
    VT_TXT(E, LINLDE, 1285, 2),
    VT_TXT(E, uffesp, 1288, 8),
    VT_TXT(E, MODTRA, 1297, 2),
    VT_TXT(E, INFTRA, 1300, 100),
    VT_TXT(E, PIAZTR, 1401, 18),
    VT_TXT(E, DENAZT, 1420, 100),
    VT_TXT(E, INDAZT, 1521, 65),
    VT_TXT(E, NUCAZT, 1587, 11),
    VT_TXT(E, CAPAZT, 1599, 10),
    VT_TXT(E, CITAZT, 1610, 50),
    VT_TXT(E, LINAZT, 1661, 2),
    VT_TXT(E, secondoId, 1664, 18),
    VT_TXT(E, secondoDenominazione, 1683, 100),
    VT_TXT(E, secondoIndirizzo, 1784, 65),
    VT_TXT(E, secondoCivico, 1850, 11),
    VT_TXT(E, secondoCap, 1862, 10),
    VT_TXT(E, secondoCitta, 1873, 50),
    VT_TXT(E, secondoLingua, 1924, 2),
    VT_TXT(E, NUMFAT, 1927, 35),
    VT_F64(E, DATFAT, 1968),
    VT_TXT(E, tipoSpeditore, 1976, 1),
    VT_F64(E, DATSPE, 1984),
    VT_TXT(E, ORASPE, 1992, 5),
    VT_TXT(E, TIPGAR, 1998, 4),
    VT_TXT(E, GARSPE, 2003, 17),
    VT_TXT(E, TGASPE, 2021, 1),
    VT_F64(E, IMGASP, 2024),
    VT_TXT(E, GARDES, 2032, 17),
    VT_TXT(E, TGADES, 2050, 1),
    VT_F64(E, IMGADE, 2056),
    VT_TXT(E, GARTRA, 2064, 17),
    VT_TXT(E, TGATRA, 2082, 1),
    VT_F64(E, IMGATR, 2088),
    VT_TXT(E, GARPRO, 2096, 17),
    VT_TXT(E, TGAPRO, 2114, 1),
    VT_F64(E, IMGPRO, 2120),
    VT_TXT(E, CATRAG, 2128, 13),
    VT_TXT(E, PITRAG, 2142, 18),
    VT_TXT(E, DENTRG, 2161, 100),
    VT_TXT(E, INDTRG, 2262, 65),
    VT_TXT(E, NUCTRG, 2328, 11),
    VT_TXT(E, CAPTRG, 2340, 10),
    VT_TXT(E, CITTRG, 2351, 50),
    VT_TXT(E, LINTRG, 2402, 2),
    VT_TXT(E, CAPROG, 2405, 13),
    VT_TXT(E, PIPROG, 2419, 18),
    VT_TXT(E, DENPRG, 2438, 100),
    VT_TXT(E, INDPRG, 2539, 65),
    VT_TXT(E, NUCPRG, 2605, 11),
    VT_TXT(E, CAPPRG, 2617, 10),
    VT_TXT(E, CITPRG, 2628, 50),
    VT_TXT(E, LINPRG, 2679, 2),
}};

// Alignment gaps of the header: a double or int32 after a text field starts at its natural
// boundary; the record ends on an 8-byte boundary.
constexpr std::array<Filler, 9> kEadFillers{{
    {53, 3}, {60, 4}, {1963, 5}, {1978, 6}, {2023, 1}, {2052, 4}, {2084, 4}, {2116, 4}, {2682, 6},
}};

using D = TRecDettaglio;
constexpr std::array<Field<D>, 28> kLineFields{{
    VT_I32(D, numero, 0),
    VT_I32(D, progressivo, 4),
    VT_I32(D, rigaProdotto, 8),
    VT_TXT(D, categoria, 12, 1),
    VT_TXT(D, CODIMB, 14, 2),
    VT_TXT(D, paeseImportazione, 17, 2),
    VT_TXT(D, riservato20, 20, 2),
    VT_TXT(D, codiceAccisa, 23, 4),
    VT_TXT(D, codiceCadd, 28, 4),
    VT_TXT(D, riservato33, 33, 5),
    VT_TXT(D, zona, 39, 7),
    VT_TXT(D, codiceNC, 47, 8),
    VT_TXT(D, COAZPR, 56, 250),
    VT_TXT(D, LEDEPR, 307, 250),
    VT_TXT(D, META20, 558, 250),
    VT_TXT(D, SIGIMB, 809, 250),
    VT_TXT(D, INSIIM, 1060, 250),
    VT_TXT(D, trattamenti, 1311, 250),
    VT_TXT(D, certificazione, 1562, 250),
    VT_TXT(D, DESCOM, 1813, 250),
    VT_I32(D, NUMIMB, 2064),
    VT_F64(D, NUMCON, 2072),
    VT_F64(D, VOLCON, 2080),
    VT_F64(D, TOTLIT, 2088),
    VT_F64(D, GRADOA, 2096),
    VT_F64(D, PNETTO, 2104),
    VT_F64(D, PLORDO, 2112),
    VT_F64(D, riservato2120, 2120),
}};

constexpr std::array<Filler, 1> kLineFillers{{{2068, 4}}};
} // namespace

std::span<const Field<TRecEad>> TRecEad::fields()
{
    return kEadFields;
}

std::span<const Filler> TRecEad::fillers()
{
    return kEadFillers;
}

std::span<const Field<TRecDettaglio>> TRecDettaglio::fields()
{
    return kLineFields;
}

std::span<const Filler> TRecDettaglio::fillers()
{
    return kLineFillers;
}

void clearEad(TRecEad& r)
{
    r = blankRecord<TRecEad>();
}

void clearLine(TRecDettaglio& r)
{
    r = blankRecord<TRecDettaglio>();
}

TRecEad blankEad()
{
    return blankRecord<TRecEad>();
}

TRecDettaglio blankLine()
{
    return blankRecord<TRecDettaglio>();
}

void eadToStoredForm(TRecEad& r)
{
    padRecord(r);
}

void eadToWorkingForm(TRecEad& r)
{
    trimRecord(r);
}

void lineToStoredForm(TRecDettaglio& r)
{
    padRecord(r);
}

void lineToWorkingForm(TRecDettaglio& r)
{
    trimRecord(r);
}

QByteArray encodeEad(const TRecEad& r)
{
    TRecEad copy = r;
    padRecord(copy);
    return encodeRecord(copy);
}

QByteArray encodeLine(const TRecDettaglio& r)
{
    TRecDettaglio copy = r;
    padRecord(copy);
    return encodeRecord(copy);
}

TRecEad decodeEad(const QByteArray& bytes)
{
    return decodeRecord<TRecEad>(bytes);
}

TRecDettaglio decodeLine(const QByteArray& bytes)
{
    return decodeRecord<TRecDettaglio>(bytes);
}

} // namespace vt
