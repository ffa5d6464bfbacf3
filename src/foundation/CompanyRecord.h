#pragma once
// The 608-byte company/address record: UTENTE.nnn (company and premises) and INDIRIZZI_x.DAT
// (address book). The slots are the same in every file; their meanings depend on the file.
#include <QString>

#include <array>
#include <cstdint>
#include <span>

#include "foundation/RecordCodec.h"

namespace vt {

struct TRecAzienda {
    static constexpr int Size = 608;

    std::int32_t number = 0; // 0 in company files; the code in address files
    QString CACCI1;          // 4   string[18]
    QString CACCI2;          // 23  string[18]
    QString DENOM1;          // 42  string[100]
    QString DENOM2;          // 143 string[100] (address book: also the exemption certificate)
    QString PARIVA;          // 244 string[11]
    QString CODFIS;          // 256 string[16]
    QString INDIR1;          // 273 string[65]
    QString INDIR2;          // 339 string[65]
    QString NUMCI1;          // 405 string[11]
    QString NUMCI2;          // 417 string[11]
    QString C_A_P1;          // 429 string[10]
    QString C_A_P2;          // 440 string[10]
    QString CITTA1;          // 451 string[50]
    QString CITTA2;          // 502 string[50]
    QString CODUTE;          // 553 string[4]  user code; premises number; member state
    QString UFFDO1;          // 558 string[8]
    QString UFFDO2;          // 567 string[8]
    QString SEZDOG;          // 576 string[6]  customs section; language of an address
    QString CONGAR;          // 583 string[17]
    QString CAUESO;          // 601 string[1]
    QString TIPOIN;          // 603 string[1]  authorisation type; consignee type
    // 605..607 filler

    static std::span<const Field<TRecAzienda>> fields();
};

using TRecIndirizzo = TRecAzienda;

// Blank: number 0 and every text slot filled with spaces to its width.
TRecAzienda blankCompany();
void padCompany(TRecAzienda& r);
void trimCompany(TRecAzienda& r);
QByteArray encodeCompany(const TRecAzienda& r); // pads a copy first (stored form)
TRecAzienda decodeCompany(const QByteArray& bytes); // trimmed (working form)

} // namespace vt
