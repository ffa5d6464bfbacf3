#include "foundation/TableRecord.h"

namespace vt {

namespace {
using R = TRecTabella;
#define VT_TEN_TXT(m, base)                                                                                        \
    VT_TXT(R, m[0], base, 250), VT_TXT(R, m[1], base + 251, 250), VT_TXT(R, m[2], base + 502, 250),                \
        VT_TXT(R, m[3], base + 753, 250), VT_TXT(R, m[4], base + 1004, 250), VT_TXT(R, m[5], base + 1255, 250),    \
        VT_TXT(R, m[6], base + 1506, 250), VT_TXT(R, m[7], base + 1757, 250), VT_TXT(R, m[8], base + 2008, 250),   \
        VT_TXT(R, m[9], base + 2259, 250)
#define VT_TEN(MAC, m, base, step)                                                                                 \
    MAC(R, m[0], base), MAC(R, m[1], base + step), MAC(R, m[2], base + 2 * step), MAC(R, m[3], base + 3 * step),   \
        MAC(R, m[4], base + 4 * step), MAC(R, m[5], base + 5 * step), MAC(R, m[6], base + 6 * step),               \
        MAC(R, m[7], base + 7 * step), MAC(R, m[8], base + 8 * step), MAC(R, m[9], base + 9 * step)

constexpr std::array<Field<R>, 61> kFields{{
    VT_I32(R, Num, 0),
    VT_TEN_TXT(Fld, 4),
    VT_TEN_TXT(Ext, 2514),
    VT_TEN(VT_I32, Dim, 5024, 4),
    VT_TEN(VT_F64, ValA, 5064, 8),
    VT_TEN(VT_F64, ValB, 5144, 8),
    VT_TEN(VT_F64, ValC, 5224, 8),
}};
} // namespace

std::span<const Field<TRecTabella>> TRecTabella::fields()
{
    return kFields;
}

void BlankRow(TRecTabella& row)
{
    row = blankRecord<TRecTabella>();
}

TRecTabella blankRow()
{
    return blankRecord<TRecTabella>();
}

void TrimRow(TRecTabella& row)
{
    trimRecord(row);
}

void PadRow(TRecTabella& row)
{
    padRecord(row);
}

QByteArray encodeRow(const TRecTabella& row)
{
    return encodeRecord(row);
}

TRecTabella decodeRow(const QByteArray& bytes)
{
    return decodeRecord<TRecTabella>(bytes);
}

} // namespace vt
