#pragma once
// Searches of the register by a range of dates, printed as a ruled landscape
// list.
//
// TFRICREGC searches the movement files (yyyy.RGM) in eight modes -- loads "C",
// unloads "S", conclusions "A", changes of destination "D" by the date of the
// movement, and the same four in lower case among the records already sent, by
// the date of their flow -- and may keep only one counterpart. TFRICREGF
// searches the guarantee files (yyyy.GAR) by the guarantee day "G" or by the
// flow date "g". Every state is listed, superseded records included, years
// ascending and file order within a year. A sent search also reads the year
// before the first date, so the December records sent in a January flow are
// found. Nothing is written: a missing yearly file reads as empty and is not
// created.
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

#include "foundation/Check.h"
#include "foundation/RegisterRecord.h"
#include "prints/PageSurface.h"

namespace vt {

struct AppContext;

struct SearchMode {
    QChar op;
    QString title;   // the window caption and the first words of the printed title
    bool guarantees; // TFRICREGF: the guarantee files
    bool byFlowDate; // the sent modes: compared on `dataFlusso`
    QChar kind;      // 'C', 'S', 'A', 'D' (movements) or 'G' (guarantees)
    bool loads() const { return kind == QLatin1Char('C'); }
};

// The mode of an OpCode; none for a code that is not a search.
std::optional<SearchMode> searchModeOf(QChar op);

struct RegisterSearch {
    QDate from, to;
    QString counterpart; // the filter: blank, or 16 characters compared with the
                         // stored `controparte`
};

// The checks of the search fields, in order; a failure names the field (MDADA,
// MDAAL) and shows no message box. On success the search holds the dates and
// the padded filter.
CheckResult checkRegisterSearch(const QString& fromText, const QString& toText, const QString& counterpart,
                                RegisterSearch& out);

// Whether a record meets the mode's condition and the counterpart filter (not
// the dates).
bool searchSelects(const SearchMode& mode, const TRecMovimento& r, const QString& counterpart);

// The selected records, in the order they are listed.
QList<TRecMovimento> searchRegister(const AppContext& ctx, const SearchMode& mode, const RegisterSearch& search);

// The printed title: caption + " dal " + first + " al " + last (+ " - " +
// filter, movements).
QString searchTitle(const SearchMode& mode, const RegisterSearch& search);

// Lays out the list, begin to end (one page with the title and the empty
// heading box when nothing is selected).
void PrintRegisterSearch(PageSurface& surface, const SearchMode& mode, const RegisterSearch& search,
                         const QList<TRecMovimento>& records);

// The address book a counterpart is picked from: suppliers for the loads,
// consignees otherwise.
QString searchAddressBook(const SearchMode& mode);

} // namespace vt
