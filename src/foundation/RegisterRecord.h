#pragma once
// The 520-byte register record. One record type serves the movement register (yyyy.RGM), the
// guarantee register (yyyy.GAR), the yearly carry-overs (RIPORTI.GAR), the register work files
// and the register work records of a report of receipt. In a guarantee record the five doubles
// at 112..144 carry the guarantee meaning: the accessors below give them their guarantee names.
//
// Text members hold the field as it stands: stored form (space-padded to the full width, as in
// the register files) or working form (trimmed). decodeRegisterRecord gives the stored form
// exactly as read; encodeRegisterRecord writes a padded copy.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

#include "foundation/EadRecord.h" // Filler
#include "foundation/RecordCodec.h"

namespace vt {

struct TRecMovimento {
    static constexpr int Size = 520;

    std::int32_t numero = 0;              // 0    unique in its yearly file
    std::int32_t collegato = 0;           // 4    linked record; 0 = none
    double dataFlusso = 0;                // 8    date of the flow that carried it; 0 = not sent
    std::int32_t numeroFlusso = 0;        // 16   flow number in its day; 0 = not sent
    QString stato;                        // 20   s[1]  RegisterState
    double data = 0;                      // 24   movement date (whole day) / guarantee day
    QString registro;                     // 32   s[1]  "C" loads/unloads, "F" guarantees
    QString operazione;                   // 34   s[1]  RegisterOperation
    QString tipoDestinazione;             // 36   s[1]  T015
    QString ufficioDogana;                // 38   s[8]
    QString annoProtocollo;               // 47   s[4]
    QString numeroProtocollo;             // 52   s[10]
    std::int32_t progressivo = 0;         // 64   register line within the year
    QString prodottoAziendale;            // 68   s[20] company product (PRAZ)
    QString codiceProdotto;               // 89   s[21] product code (TA20)
    double litri = 0;                     // 112  guarantee: impegnato
    double grado = 0;                     // 120  guarantee: svincolato
    double volumeConfezione = 0;          // 128  guarantee: nuovaCauzione
    double aliquota = 0;                  // 136  guarantee: riscattata
    double garanzia = 0;                  // 144  guarantee: disponibile
    QString stoccaggio;                   // 152  s[1]  "S" bulk, "N" packaged
    std::int32_t confezioni = 0;          // 156
    QString tipoDocumento;                // 160  s[3]  TA05
    QString numeroDocumento;              // 164  s[21] the ARC for e-AD documents
    double dataDocumento = 0;             // 192
    QString paese;                        // 200  s[2]  T004; "EX" for exports
    QString controparte;                  // 203  s[16] guarantee: co-guarantor's fiscal code
    QString tipoMovimento;                // 220  s[1]  "C" load, "S" unload, "A" annotation
    QString causale;                      // 222  s[3]  TA21C / TA21S
    QString nota;                         // 226  s[250]
    double dataCollegata = 0;             // 480  date of the linked record; 0 = none
    QString riferimentoLocale;            // 488  s[22]
    std::int32_t progressivoEad = 0;      // 512
    std::int32_t progressivoDettaglio = 0; // 516

    // Guarantee meanings of the doubles at 112..144.
    double& impegnato() { return litri; }
    double impegnato() const { return litri; }
    double& svincolato() { return grado; }
    double svincolato() const { return grado; }
    double& nuovaCauzione() { return volumeConfezione; }
    double nuovaCauzione() const { return volumeConfezione; }
    double& riscattata() { return aliquota; }
    double riscattata() const { return aliquota; }
    double& disponibile() { return garanzia; }
    double disponibile() const { return garanzia; }

    static std::span<const Field<TRecMovimento>> fields();
    static std::span<const Filler> fillers();
};

// A guarantee record is the same record.
using TRecGaranzia = TRecMovimento;

// All numbers and dates 0; every text field its full width of spaces.
void BlankRegisterRecord(TRecMovimento& r);
TRecMovimento blankRegisterRecord();
// Every text field trimmed (working form) / right-padded to its full width (stored form).
void TrimRegisterRecord(TRecMovimento& r);
void PadRegisterRecord(TRecMovimento& r);

// Bytes of a padded copy; throws EncodingError for a text Windows-1252 cannot hold.
QByteArray encodeRegisterRecord(const TRecMovimento& r);
// The record exactly as stored (not trimmed).
TRecMovimento decodeRegisterRecord(const QByteArray& bytes);

// States (`stato`).
namespace RegisterState {
inline const QString Active = QStringLiteral(" ");
inline const QString Superseded = QStringLiteral("C");
inline const QString Replacement = QStringLiteral("R");
inline const QString AlreadyRegistered = QStringLiteral("X"); // work files only
} // namespace RegisterState

// Operations (`operazione`).
namespace RegisterOperation {
inline const QString Insert = QStringLiteral("I");
inline const QString Cancellation = QStringLiteral("C");
inline const QString Conclusion = QStringLiteral("A");
inline const QString ConclusionCancelled = QStringLiteral("D");
} // namespace RegisterOperation

// Trimmed comparisons of the one-character codes, whatever form the record is in.
inline bool codeIs(const QString& field, const QString& code)
{
    return field.trimmed() == code.trimmed();
}

} // namespace vt
