#pragma once
// The guarantee days: their preparation from the movement register, and the window's work without
// widgets - the record a mode starts from, the checks of the confirmation in their order, and the
// write through the register store.
//
// Modes: 'I' a day prepared from the movements, 'i' a new deposit, 'H' modify an unsent day,
// 'J' / 'j' cancel / modify a sent day by a rectification.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/Check.h"
#include "foundation/RegisterRecord.h"
#include "register/guarantees/GuaranteeBalance.h"

namespace vt {

struct AppContext;

// ---- Preparation ----

// Markers of a prepared day (kept in `numeroFlusso` of the daily totals).
enum GuaranteeDayMarker { NoSentDay = 0, SentDayMatches = 1, SentDayDiffers = 2 };

struct GuaranteePreparation {
    QList<TRecGaranzia> days; // daily totals in date order; `numeroFlusso` is the marker
    QStringList toRectify;    // "ATTENZIONE LA GARANZIA DEL dd/mm/yyyy VA RETTIFICATA", in date order
};
// The days of a year that commit or release guarantee, each compared with its sent guarantee
// record; a sent day whose movements were all cancelled since is to be rectified too.
GuaranteePreparation prepareGuaranteeDays(const AppContext& ctx, int year);
QString toRectifyMessage(double day);
inline const char* const NoMoreGuarantees = "Non ci sono altre garanzie da e-AD - premi \"OK\" per NUOVE cauzioni ";

// ---- The window's work ----

QString guaranteeCaption(QChar mode);
bool isGuaranteeRectification(QChar mode);

// What the fields show.
struct GuaranteeFields {
    QDate DATMOV;
    QString DOUBL1, DOUBL2, DOUBL3, DOUBL4; // impegnato, svincolato, nuovaCauzione, riscattata
    QString MITDES, ANNOTA;
};

// The fields a mode starts from: the day and amounts of O; for 'I' the day's unsent record (its
// deposits, co-guarantor and note) when there is one, so that nothing typed before is lost.
GuaranteeFields startingFields(QChar mode, const TRecGaranzia& o, const GuaranteeDay& day);
// For 'i', on leaving the day: the day's unsent record brings its deposits, co-guarantor and note.
bool loadUnsentOfDay(const GuaranteeDay& day, GuaranteeFields& f);

// The amounts of the fields with the day's totals (for 'I', 'i', 'H' those of the movements).
struct GuaranteeComposition {
    CheckResult verdict;
    TRecGaranzia record; // N, stored form, `numero` 0
};
// The checks, in order: the day (a date; in 'I', 'i', 'H' no sent record of that day; in 'H' no
// other record of that day), the four amounts (not negative), the note of a rectification.
GuaranteeComposition composeGuarantee(QChar mode, const TRecGaranzia& o, const GuaranteeDay& day,
    const GuaranteeFields& f, const QList<TRecGaranzia>& dayRecords);

// The guarantee records of the day (any state), to check 'H' against.
QList<TRecGaranzia> guaranteeRecordsOf(const AppContext& ctx, double day);

// Writes N as the mode says (insert replacing the day's unsent record, modify, rectification),
// then brings the balance of the year's later unsent days up to date. Returns the messages for
// later sent days whose balance no longer holds. Throws IoError.
QStringList saveGuarantee(AppContext& ctx, QChar mode, const TRecGaranzia& o, const TRecGaranzia& n);

// Rewrites the `disponibile` of every unsent guarantee day of the year that no longer holds;
// returns one message per sent day whose stored balance no longer holds. Throws IoError.
QStringList refreshGuaranteeBalances(AppContext& ctx, int year);

inline const char* const GuaranteeAlreadyEntered = "ATTENZIONE GARANZIA GIA` INSERITA !";

} // namespace vt
