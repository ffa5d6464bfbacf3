#pragma once
// The listing of a table or address file: what TFLISTVIEW shows and prints, and the work file
// TempFolder/TABELLA.TXT through which lists travel between windows.
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace vt {

struct AppContext;

constexpr int kListingColumns = 13;
constexpr int kListingMinWidth = 5;

struct ListingItem {
    QStringList columns;    // column 0 first
    std::int32_t number = 0; // row number of a table, code of an address
};

struct Listing {
    QString title;                            // Ext[1] of the structure record, trimmed
    QStringList columnTitles;                 // Ext[2] split at ";"
    std::array<int, kListingColumns> widths{}; // characters; 0 = column not shown
    QList<ListingItem> items;

    // Indexes of the shown columns (width > 0), in order.
    QList<int> shownColumns() const;
    // The shown width of a column: at least kListingMinWidth.
    int shownWidth(int column) const;
    // Title of the n-th shown column (empty when Ext[2] names fewer).
    QString titleOfShown(int n) const;
    // Width in characters of the n-th shown column, on screen and in print: the wider of its
    // data (shownWidth) and its title, so that a title never runs into the next column.
    int columnWidth(int n) const;
};

// Builds the listing of the source named by table (a table in DatiGenFolder, or an address file
// when the name contains "INDIRIZZI_"). A missing structure or data file gives an empty listing.
// Throws IoError when a file cannot be read.
Listing BuildListing(const AppContext& ctx, const QString& table);

// TABELLA.TXT: per item its first column line, its "@" number line, then one tab line per
// further column; Windows-1252, CR LF. Throws IoError when it cannot be written.
void WriteListingFile(const QString& path, const QList<ListingItem>& items);
// Reads the three kinds of line back into items. A missing file has none.
QList<ListingItem> ReadListingFile(const QString& path);

// What the window does on opening: empties TempFolder/TABELLA.TXT, builds the listing of
// ctx.TableName, writes the file and returns the listing.
Listing OpenListing(AppContext& ctx);

// Sorts the items by the texts of one column, ascending, comparing character codes.
void SortListing(Listing& listing, int column);

} // namespace vt
