#include "foundation/CompanyRecord.h"

namespace vt {

namespace {
using R = TRecAzienda;
constexpr std::array<Field<R>, 22> kFields{{
    VT_I32(R, number, 0),
    VT_TXT(R, CACCI1, 4, 18),
    VT_TXT(R, CACCI2, 23, 18),
    VT_TXT(R, DENOM1, 42, 100),
    VT_TXT(R, DENOM2, 143, 100),
    VT_TXT(R, PARIVA, 244, 11),
    VT_TXT(R, CODFIS, 256, 16),
    VT_TXT(R, INDIR1, 273, 65),
    VT_TXT(R, INDIR2, 339, 65),
    VT_TXT(R, NUMCI1, 405, 11),
    VT_TXT(R, NUMCI2, 417, 11),
    VT_TXT(R, C_A_P1, 429, 10),
    VT_TXT(R, C_A_P2, 440, 10),
    VT_TXT(R, CITTA1, 451, 50),
    VT_TXT(R, CITTA2, 502, 50),
    VT_TXT(R, CODUTE, 553, 4),
    VT_TXT(R, UFFDO1, 558, 8),
    VT_TXT(R, UFFDO2, 567, 8),
    VT_TXT(R, SEZDOG, 576, 6),
    VT_TXT(R, CONGAR, 583, 17),
    VT_TXT(R, CAUESO, 601, 1),
    VT_TXT(R, TIPOIN, 603, 1),
}};
} // namespace

std::span<const Field<TRecAzienda>> TRecAzienda::fields()
{
    return kFields;
}

TRecAzienda blankCompany()
{
    return blankRecord<TRecAzienda>();
}

void padCompany(TRecAzienda& r)
{
    padRecord(r);
}

void trimCompany(TRecAzienda& r)
{
    trimRecord(r);
}

QByteArray encodeCompany(const TRecAzienda& r)
{
    TRecAzienda copy = r;
    padRecord(copy);
    return encodeRecord(copy);
}

TRecAzienda decodeCompany(const QByteArray& bytes)
{
    TRecAzienda r = decodeRecord<TRecAzienda>(bytes);
    trimRecord(r);
    return r;
}

} // namespace vt
