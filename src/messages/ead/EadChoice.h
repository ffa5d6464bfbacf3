#pragma once
// The list of the e-AD chooser: the records of the file of a mode (e-ADs, cancellations, changes
// of destination) for one year, with the filter and columns of that mode. The list is written to
// TempFolder/TABELLA.TXT in the listing format (a row line, "@" + key, one tab line per further
// column) and read back from it.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/Check.h"

namespace vt {

struct AppContext;

struct ChoiceRow {
    std::int32_t key = 0;  // the progressive of the record
    QStringList columns;
};

struct ChoiceList {
    QStringList titles;    // column titles
    QList<ChoiceRow> rows; // in file order
};

// The chooser's window title for a mode ("I": "CREA, FIRMA e INVIA FLUSSO IE815"); empty for an
// unknown mode.
QString chooserTitle(QChar mode);

// The file of a mode for the year (yyyy_815_A.DAT, yyyy_810.DAT, yyyy_813.DAT); empty when the
// mode lists nothing.
QString choiceFile(const AppContext& ctx, QChar mode, const QString& year);

// Builds the list of the mode for the year, writes TABELLA.TXT and reads it back. A missing file
// gives an empty list. Throws IoError.
ChoiceList buildChoiceList(const AppContext& ctx, QChar mode, const QString& year);

// The listing format, Windows-1252 with CR LF.
QByteArray listingBytes(const QList<ChoiceRow>& rows);
QList<ChoiceRow> parseListing(const QByteArray& bytes);

// Column widths in characters: the longest entry, at least 5.
QList<int> columnWidths(const ChoiceList& list);

// Rows sorted by the text of one column, ordinal comparison, ascending (equal texts keep order).
void sortChoiceRows(QList<ChoiceRow>& rows, int column);

// LANNO: four digits between 2008 and 2060, otherwise the focus stays in the field.
CheckResult checkChoiceYear(const QString& year);

} // namespace vt
