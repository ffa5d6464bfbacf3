#pragma once
// The guarantee arithmetic shared by the guarantee window, its preparation, the
// register flow and the prints: which movements commit or release guarantee,
// the balance available before a day and the yearly carry-over.
//
// The balance is always recomputed from the oldest year that has register
// files, seeded by the carry-over of the year before it (RIPORTI.GAR, 0 when
// there is none): an earlier movement or guarantee changed since never leaves a
// stale balance. The carry-over of every year passed on the way is written back
// to RIPORTI.GAR under its lock.
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

#include "foundation/RegisterRecord.h"

namespace vt {

struct AppContext;

// A movement commits its `garanzia` (EAD, FBE, DAA, COD, FBC inserted, not
// superseded) or releases it (a report of receipt recorded as annotation, or a
// conclusion), never both.
bool commitsGuarantee(const TRecMovimento& r);
bool releasesGuarantee(const TRecMovimento& r);
// A guarantee day that counts: inserted ("I"), not superseded.
bool guaranteeDayCounts(const TRecGaranzia& g);

struct GuaranteeDay {
    double day = 0;
    double before = 0;                  // the balance available before the day
    double impegnato = 0;               // committed by the day's movements
    double svincolato = 0;              // released by the day's movements
    bool sentExists = false;            // a sent guarantee record of the day counts
    std::optional<TRecGaranzia> unsent; // the day's unsent guarantee record, when there is one
    // The balance after the day with these deposits.
    double after(double nuovaCauzione, double riscattata) const
    {
        return before - impegnato + svincolato + nuovaCauzione - riscattata;
    }
};

// The balance of the day (time of day cut) and the day's totals. Writes the
// carry-overs of the years before the day's year into RIPORTI.GAR. Throws
// IoError.
GuaranteeDay guaranteeDay(AppContext& ctx, double day);

// The carry-over stored for a year (the balance at its end), if any.
std::optional<double> storedCarryOver(const AppContext& ctx, int year);

// The balance after every guarantee day of a year's guarantee records (by
// `numero`), as it holds today: what each record's `disponibile` must be.
// Reads only. Throws IoError.
QList<std::pair<std::int32_t, double>> recomputedBalances(const AppContext& ctx, int year);
// The same over the year's records already read (in file order).
QList<std::pair<std::int32_t, double>> recomputedBalances(
    const AppContext& ctx, int year, const QList<TRecGaranzia>& days, QList<TRecMovimento> movements);
// The same for one record (0 when it is not in the list).
double recomputedBalance(const QList<std::pair<std::int32_t, double>>& balances, std::int32_t numero);

// The amounts committed and released by the movements of each day of a year.
struct DayTotals {
    double impegnato = 0;
    double svincolato = 0;
};
QHash<double, DayTotals> movementTotalsByDay(const AppContext& ctx, int year);

// Two amounts that agree to the thousandth, once rounded to cents.
bool sameAmount(double a, double b);

} // namespace vt
