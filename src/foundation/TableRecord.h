#pragma once
// TRecTabella: the 5304-byte record of every self-describing table (NAME.STR structure record,
// NAME.TAB rows) and of the configuration files APPL.CFG and WEB.CFG.
#include <QString>

#include <array>
#include <cstdint>
#include <span>

#include "foundation/RecordCodec.h"

namespace vt {

struct TRecTabella {
    static constexpr int Size = 5304;
    static constexpr int Width = 250;

    std::int32_t Num = 0;                // 0
    std::array<QString, 10> Fld;         // 4 + 251*i
    std::array<QString, 10> Ext;         // 2514 + 251*i
    std::array<std::int32_t, 10> Dim{};  // 5024 + 4*i
    std::array<double, 10> ValA{};       // 5064 + 8*i
    std::array<double, 10> ValB{};       // 5144 + 8*i
    std::array<double, 10> ValC{};       // 5224 + 8*i

    static std::span<const Field<TRecTabella>> fields();
};

// Num 0, every Fld/Ext 250 spaces, every Dim and Val 0.
void BlankRow(TRecTabella& row);
TRecTabella blankRow();
void TrimRow(TRecTabella& row);
void PadRow(TRecTabella& row);

QByteArray encodeRow(const TRecTabella& row); // as it stands (callers pad first where stored form is due)
TRecTabella decodeRow(const QByteArray& bytes); // as stored, untrimmed

} // namespace vt
