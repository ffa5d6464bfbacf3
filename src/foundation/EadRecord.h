#pragma once
// The e-AD records: TRecEad, the 2688-byte header of an e-AD (yyyy_815_A.DAT) that the
// cancellation, the change of destination and the report of receipt reuse with their own meanings
// of some fields, and TRecDettaglio, the 2128-byte line record (transport and product lines of the
// yearly files and of the work files, and the lines of the received e-AD and of the report of
// receipt).
//
// Text members hold the field as it stands: stored form (space-padded to the full width, as in
// the files) or working form (trimmed). decode* gives the stored form exactly as read; encode*
// writes a padded copy.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

#include "foundation/RecordCodec.h"

namespace vt {

// A run of bytes that belongs to no field; written as zeros.
struct Filler {
    int offset;
    int size;
};

struct TRecEad {
    static constexpr int Size = 2688;

    std::int32_t progressivo = 0;      // 0    key within the yearly file (report/change number elsewhere)
    QString LINGUA;                    // 4    s[2]  language of descriptions and notes (T001)
    QString riferimentoLocale;         // 7    s[22] local reference number
    QString riservato;                 // 30   s[22] blank in an e-AD
    std::int32_t progressivoRif = 0;   // 56   progressive of the e-AD this record belongs to
    double dataFlusso = 0;             // 64   flow date; 0 = not yet in a flow
    std::int32_t numeroFlusso = 0;     // 72   flow number in its day; 0 = none
    QString stato;                     // 76   s[1]  state (EadState)
    QString ARC;                       // 78   s[21]
    QString TIPMES;                    // 100  s[1]  message type (cancellation: MOTANN)
    QString TIPDES;                    // 102  s[1]
    std::int32_t unitaDurata = 0;      // 104  0 days, 1 hours
    std::int32_t durata = 0;           // 108
    QString RESTRA;                    // 112  s[1]
    QString INVDIF;                    // 114  s[1]  "S" fallback procedure, "N" otherwise
    QString accisaSpeditore;           // 116  s[18] consignor excise number
    QString denominazioneSpeditore;    // 135  s[100]
    QString indirizzoSpeditore;        // 236  s[65]
    QString civicoSpeditore;           // 302  s[11]
    QString capSpeditore;              // 314  s[10]
    QString cittaSpeditore;            // 325  s[50]
    QString SEDELS;                    // 376  s[3]
    QString COIDLS;                    // 380  s[18]
    QString DENLSP;                    // 399  s[100]
    QString INDLSP;                    // 500  s[65]
    QString NUCLSP;                    // 566  s[11]
    QString CAPLSP;                    // 578  s[10]
    QString CITLSP;                    // 589  s[50]
    QString UFFSPE;                    // 640  s[8]
    QString ufficioCompetente;         // 649  s[8]  second copy of UFFSPE
    QString COIDDE;                    // 658  s[18]
    QString DENDES;                    // 677  s[100]
    QString INDDES;                    // 778  s[65]
    QString NUCDES;                    // 844  s[11]
    QString CAPDES;                    // 856  s[10]
    QString CITDES;                    // 867  s[50]
    QString LINDES;                    // 918  s[2]
    QString STAMEM;                    // 921  s[2]
    QString CERESE;                    // 924  s[100]
    QString COIDLD;                    // 1025 s[18]
    QString DENLDE;                    // 1044 s[100]
    QString INDLDE;                    // 1145 s[65]
    QString NUCLDE;                    // 1211 s[11]
    QString CAPLDE;                    // 1223 s[10]
    QString CITLDE;                    // 1234 s[50]
    QString LINLDE;                    // 1285 s[2]
    QString uffesp;                    // 1288 s[8]  customs office of export
    QString MODTRA;                    // 1297 s[2]
    QString INFTRA;                    // 1300 s[100]
    QString PIAZTR;                    // 1401 s[18]
    QString DENAZT;                    // 1420 s[100]
    QString INDAZT;                    // 1521 s[65]
    QString NUCAZT;                    // 1587 s[11]
    QString CAPAZT;                    // 1599 s[10]
    QString CITAZT;                    // 1610 s[50]
    QString LINAZT;                    // 1661 s[2]
    QString secondoId;                 // 1664 s[18]  second address: blank in an e-AD
    QString secondoDenominazione;      // 1683 s[100]
    QString secondoIndirizzo;          // 1784 s[65]
    QString secondoCivico;             // 1850 s[11]
    QString secondoCap;                // 1862 s[10]
    QString secondoCitta;              // 1873 s[50]
    QString secondoLingua;             // 1924 s[2]
    QString NUMFAT;                    // 1927 s[35]
    double DATFAT = 0;                 // 1968
    QString tipoSpeditore;             // 1976 s[1]  "1" warehouse keeper, "2" registered consignor
    double DATSPE = 0;                 // 1984 date of dispatch
    QString ORASPE;                    // 1992 s[5]
    QString TIPGAR;                    // 1998 s[4]
    QString GARSPE;                    // 2003 s[17]
    QString TGASPE;                    // 2021 s[1]
    double IMGASP = 0;                 // 2024
    QString GARDES;                    // 2032 s[17]
    QString TGADES;                    // 2050 s[1]
    double IMGADE = 0;                 // 2056
    QString GARTRA;                    // 2064 s[17]
    QString TGATRA;                    // 2082 s[1]
    double IMGATR = 0;                 // 2088
    QString GARPRO;                    // 2096 s[17]
    QString TGAPRO;                    // 2114 s[1]
    double IMGPRO = 0;                 // 2120
    QString CATRAG;                    // 2128 s[13]
    QString PITRAG;                    // 2142 s[18]
    QString DENTRG;                    // 2161 s[100] (cancellation: reason description)
    QString INDTRG;                    // 2262 s[65]
    QString NUCTRG;                    // 2328 s[11]
    QString CAPTRG;                    // 2340 s[10]
    QString CITTRG;                    // 2351 s[50]
    QString LINTRG;                    // 2402 s[2]
    QString CAPROG;                    // 2405 s[13]
    QString PIPROG;                    // 2419 s[18]
    QString DENPRG;                    // 2438 s[100] (cancellation: NOTMOT)
    QString INDPRG;                    // 2539 s[65]
    QString NUCPRG;                    // 2605 s[11]
    QString CAPPRG;                    // 2617 s[10]
    QString CITPRG;                    // 2628 s[50]
    QString LINPRG;                    // 2679 s[2]

    // The cancellation (yyyy_810.DAT) keeps its reason, description and note in these fields.
    QString& MOTANN() { return TIPMES; }
    const QString& MOTANN() const { return TIPMES; }
    QString& descrizioneMotivo() { return DENTRG; }
    const QString& descrizioneMotivo() const { return DENTRG; }
    QString& NOTMOT() { return DENPRG; }
    const QString& NOTMOT() const { return DENPRG; }

    static std::span<const Field<TRecEad>> fields();
    static std::span<const Filler> fillers();
};

struct TRecDettaglio {
    static constexpr int Size = 2128;

    // Members carry the product-line names; a transport line uses the same slots under the names
    // of the accessors below (UNITRA, SIGTRA, INSITR, IDUNTR, INAGTR).
    std::int32_t numero = 0;          // 0    line number (work file) or serial (yearly file)
    std::int32_t progressivo = 0;     // 4    progressive of the e-AD (yearly file); 0 in the work file
    std::int32_t rigaProdotto = 0;    // 8    product line number within the e-AD (set by the flow)
    QString categoria;                // 12   s[1]  wine category
    QString CODIMB;                   // 14   s[2]  package type (T010); transport: UNITRA (T009)
    QString paeseImportazione;        // 17   s[2]  country of import (T005)
    QString riservato20;              // 20   s[2]
    QString codiceAccisa;             // 23   s[4]  blank in an e-AD; excise product code of a received line
    QString codiceCadd;               // 28   s[4]  blank in an e-AD; CADD code of a received line
    QString riservato33;              // 33   s[5]
    QString zona;                     // 39   s[7]  wine-growing zone (T019)
    QString codiceNC;                 // 47   s[8]  blank in an e-AD; CN code of a received line
    QString COAZPR;                   // 56   s[250] company product code; transport: SIGTRA
    QString LEDEPR;                   // 307  s[250] product description; transport: INSITR
    QString META20;                   // 558  s[250] product code (TA20); transport: IDUNTR
    QString SIGIMB;                   // 809  s[250] seal identification; transport: INAGTR
    QString INSIIM;                   // 1060 s[250] information on the seals
    QString trattamenti;              // 1311 s[250] treatment codes (T020)
    QString certificazione;           // 1562 s[250] certification sentence
    QString DESCOM;                   // 1813 s[250] commercial designation of a bulk product
    std::int32_t NUMIMB = 0;          // 2064 number of packages
    double NUMCON = 0;                // 2072 number of containers
    double VOLCON = 0;                // 2080 unit volume, litres
    double TOTLIT = 0;                // 2088 total litres
    double GRADOA = 0;                // 2096 alcoholic strength
    double PNETTO = 0;                // 2104 net weight, kg
    double PLORDO = 0;                // 2112 gross weight, kg
    double riservato2120 = 0;         // 2120 0

    QString& UNITRA() { return CODIMB; }
    const QString& UNITRA() const { return CODIMB; }
    QString& SIGTRA() { return COAZPR; }
    const QString& SIGTRA() const { return COAZPR; }
    QString& INSITR() { return LEDEPR; }
    const QString& INSITR() const { return LEDEPR; }
    QString& IDUNTR() { return META20; }
    const QString& IDUNTR() const { return META20; }
    QString& INAGTR() { return SIGIMB; }
    const QString& INAGTR() const { return SIGIMB; }

    static std::span<const Field<TRecDettaglio>> fields();
    static std::span<const Filler> fillers();
};

// Clear: every text field blank (its width in spaces), every number 0.
void clearEad(TRecEad& r);
void clearLine(TRecDettaglio& r);
TRecEad blankEad();
TRecDettaglio blankLine();

// Stored form (every text field padded with spaces to its width) / working form (trimmed).
void eadToStoredForm(TRecEad& r);
void eadToWorkingForm(TRecEad& r);
void lineToStoredForm(TRecDettaglio& r);
void lineToWorkingForm(TRecDettaglio& r);

// Bytes of a padded copy; throws EncodingError for a text Windows-1252 cannot hold.
QByteArray encodeEad(const TRecEad& r);
QByteArray encodeLine(const TRecDettaglio& r);
// The record exactly as stored (not trimmed).
TRecEad decodeEad(const QByteArray& bytes);
TRecDettaglio decodeLine(const QByteArray& bytes);

// States of an e-AD (offset 76).
namespace EadState {
inline const QString Compiled = QStringLiteral(" ");
inline const QString Accepted = QStringLiteral("I");
inline const QString Cancelled = QStringLiteral("0");
inline const QString Completed = QStringLiteral("C");
inline const QString Refused = QStringLiteral("3");
inline const QString PartlyRefused = QStringLiteral("4");
} // namespace EadState

} // namespace vt
