#pragma once
// The data delivered with the program, compiled in as resources (data/data.qrc): the code tables
// and the structures of the other tables (":/tables/NAME.str.txt" and ":/tables/NAME.csv"),
// the placeholder product picture (":/delivered/DEFAULT.bmp") and the page pictures of the main
// window (":/pictures/generale.png", ":/pictures/ead.png", ":/pictures/registro.png").
//
// A structure definition is a small key=value text, one key a line, "#" starting a comment:
//   name=T010                     table name (Ext[0])
//   title=Imballaggi              title of the editor and of the listing (Ext[1])
//   search=1                      number of search fields (Num)
//   columns=CODICE;IMBALLAGGIO;   column names of the listing, each followed by ";" (Ext[2])
//   field2=1;Numerabile S/N       size (Dim[2]) and label (Fld[2]) of field 2, for fields 0 to 9
//   valid_from=01/01/2010         optional: ValA[0] of every delivered row (TA20)
//   valid_to=01/01/2050           optional: ValA[1] of every delivered row (TA20)
// The rows of a code table are UTF-8 lines "code;description;flags" in the import format of the
// structure editor (up to ten fields separated by ";", fields 2 and 3 being S/N flags).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

struct DeliveredTable {
    QString name;
    TRecTabella structure;   // stored form, as written to NAME.STR
    bool hasRows = false;    // a code table (NAME.TAB delivered too); otherwise only the structure
    QList<TRecTabella> rows; // working form, in delivered order, Num 0
};

// Makes the compiled-in resources available (needed once, because they live in a static library).
void initDeliveredResources();

// The structure record described by a definition text. Throws IoError naming source and line
// for a malformed definition.
TRecTabella parseStructureDefinition(const QString& text, const QString& source);
// Validity period of the delivered rows (valid_from / valid_to), when the definition gives one.
std::optional<std::pair<double, double>> parseValidity(const QString& text, const QString& source);

// The rows of an import-format text for a table of the given structure: one row per non-empty
// line, trimmed fields in Fld[0..9], fields 2 and 3 as S/N flags (empty -> "N", "X" -> "S"),
// Ext[0] the table name. Only the fields the structure defines (Dim > 0) are kept, each cut to
// its size; a character Windows-1252 cannot hold becomes "?".
QList<TRecTabella> parseImportRows(const QString& text, const TRecTabella& structure);

// The names of the delivered tables, in name order; whether a table's rows are delivered.
QStringList deliveredTableNames();
bool deliversRows(const QString& name);
// Every delivered table, in name order, and one by name.
QList<DeliveredTable> deliveredTables();
std::optional<DeliveredTable> deliveredTable(const QString& name);

// The records of NAME.TAB as a run of InsertRow calls in delivered order would leave them:
// numbered 1, 2, ... in delivered order, stored form, sorted by Fld[0] (stored form, stable).
QList<QByteArray> tableFileRecords(const DeliveredTable& table);

// The placeholder picture installed as DatiGenFolder/DEFAULT.bmp.
QByteArray defaultPicture();

// Writes into DatiGenFolder every delivered file that is missing there: NAME.STR (one structure
// record), NAME.TAB of the code tables (under the table's lock) and DEFAULT.bmp. A file that
// exists is never overwritten or merged. Returns the names of the files written. Throws IoError.
QStringList installDeliveredData(AppContext& ctx);

} // namespace vt
