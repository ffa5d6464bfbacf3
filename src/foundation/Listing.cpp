#include "foundation/Listing.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "foundation/AppContext.h"
#include "foundation/CompanyRecord.h"
#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"

namespace vt {

QList<int> Listing::shownColumns() const
{
    QList<int> shown;
    for (int c = 0; c < kListingColumns; ++c)
        if (widths[c] > 0)
            shown << c;
    return shown;
}

int Listing::shownWidth(int column) const
{
    return std::max(widths[column], kListingMinWidth);
}

QString Listing::titleOfShown(int n) const
{
    return n < columnTitles.size() ? columnTitles.at(n) : QString();
}

int Listing::columnWidth(int n) const
{
    const QList<int> shown = shownColumns();
    if (n < 0 || n >= shown.size())
        return 0;
    return std::max(shownWidth(shown[n]), int(titleOfShown(n).size()));
}

namespace {

// Widths measured from the data: the longest text met in each column. A column the source
// defines is shown even when all its values are empty, so that the titles stay on their columns.
void measure(Listing& l, int columns, const QList<int>& fixed = {})
{
    for (int c = 0; c < columns && c < kListingColumns; ++c) {
        if (c < fixed.size() && fixed[c] > 0) {
            l.widths[c] = fixed[c];
            continue;
        }
        int w = 1;
        for (const ListingItem& it : l.items)
            if (c < it.columns.size())
                w = std::max(w, int(it.columns[c].size()));
        l.widths[c] = std::max(w, c < fixed.size() ? -fixed[c] : 0); // negative fixed = "at least"
    }
}

QString date(double value)
{
    return dates::ddmmyyyy(value);
}

QString joined(const QString& a, const QString& b)
{
    return a + QLatin1Char(' ') + b;
}

void listTable(Listing& l, const TRecTabella& structure, const QString& name, const QList<TRecTabella>& rows)
{
    int columns = 0;
    QList<int> fixed;
    for (const TRecTabella& r : rows) {
        ListingItem it;
        it.number = r.Num;
        it.columns << r.Fld[0];
        if (name == QLatin1String("PROTOCOLLI")) {
            it.columns << date(r.ValA[0]) << r.Fld[1] << date(r.ValA[1]) << r.Fld[2];
        } else if (name == QLatin1String("ACCISE")) {
            for (int i : {0, 1, 5, 6})
                for (double v : {r.ValA[i], r.ValB[i], r.ValC[i]})
                    it.columns << FormatNumber(v, 2, 3);
        } else if (name == QLatin1String("PRAZ")) {
            it.columns << r.Fld[1] << FormatNumber(r.ValA[0], 2, 5) << FormatNumber(r.ValA[1], 2, 5) << r.Fld[6]
                       << QString::number(r.Dim[0]);
        } else if (name == QLatin1String("TA20")) {
            it.columns << r.Fld[1] << date(r.ValA[0]) << date(r.ValA[1]);
        } else {
            for (int i = 1; i < 10; ++i)
                if (structure.Dim[i] > 0)
                    it.columns << r.Fld[i];
        }
        l.items << it;
    }
    if (name == QLatin1String("PROTOCOLLI")) {
        columns = 5;
        fixed = {10, 10, 6, 10, 0};
    } else if (name == QLatin1String("ACCISE")) {
        columns = 13;
        fixed = QList<int>(13, 8);
    } else if (name == QLatin1String("PRAZ")) {
        columns = 6;
        fixed = {0, 0, 9, 9, 5, 5};
    } else if (name == QLatin1String("TA20")) {
        columns = 4;
        fixed = {0, 0, 10, 10};
    } else {
        columns = 1;
        for (int i = 1; i < 10; ++i)
            if (structure.Dim[i] > 0)
                ++columns;
    }
    measure(l, columns, fixed);
}

void listAddresses(Listing& l, const QString& name, const QList<QByteArray>& records)
{
    const qsizetype at = name.indexOf(QLatin1String("INDIRIZZI_")) + 10;
    const QChar kind = at < name.size() ? name.at(at) : QChar();
    for (const QByteArray& bytes : records) {
        const TRecIndirizzo a = decodeCompany(bytes); // trimmed
        ListingItem it;
        it.number = a.number;
        it.columns << a.DENOM1;
        if (kind == QLatin1Char('D')) {
            QString place = a.TIPOIN == QLatin1String("5")   ? a.CODUTE
                            : a.TIPOIN == QLatin1String("1") ? a.CACCI2
                                                             : QString();
            for (const QString& s : {a.DENOM2, a.INDIR2, a.NUMCI2, a.C_A_P2, a.CITTA2, a.SEZDOG})
                place = joined(place, s);
            it.columns << a.TIPOIN << a.CACCI1 << joined(a.INDIR1, a.NUMCI1) << joined(a.CITTA1, a.C_A_P1) << place;
        } else if (kind == QLatin1Char('T')) {
            it.columns << a.CACCI2 << joined(a.INDIR1, a.NUMCI1) << joined(a.CITTA1, a.C_A_P1) << a.SEZDOG;
        } else {
            it.columns << a.CACCI1 << a.CACCI2 << joined(a.INDIR1, a.NUMCI1) << joined(a.CITTA1, a.C_A_P1);
            if (kind == QLatin1Char('G'))
                it.columns << joined(a.CAUESO, a.CONGAR);
            it.columns << a.SEZDOG;
        }
        l.items << it;
    }
    // Negative entries mean "at least", positive ones are fixed.
    if (kind == QLatin1Char('D'))
        measure(l, 6, {0, 5, 0, 0, 0, 0});
    else if (kind == QLatin1Char('T'))
        measure(l, 5, {0, -5, 0, 0, 6});
    else if (kind == QLatin1Char('G'))
        measure(l, 7, {0, -5, 0, 0, 0, 0, 6});
    else
        measure(l, 6, {0, -5, 0, 0, 0, 6});
}

QString oneLine(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}

} // namespace

Listing BuildListing(const AppContext& ctx, const QString& table)
{
    Listing l;
    const QString name = table.trimmed();
    const auto structure = ReadStructure(ctx, name);
    if (!structure)
        return l;
    const bool addresses = name.contains(QLatin1String("INDIRIZZI_"));
    const QString dataPath = tablePath(ctx, name, addresses ? ".DAT" : ".TAB");
    if (!QFileInfo::exists(dataPath))
        return l;
    l.title = trimField(structure->Ext[1]);
    l.columnTitles = trimField(structure->Ext[2]).split(QLatin1Char(';'));
    for (QString& t : l.columnTitles)
        t = t.trimmed();
    if (addresses)
        listAddresses(l, name, RecordFile(dataPath, TRecAzienda::Size).readAll());
    else
        listTable(l, *structure, name, ReadRows(dataPath));
    return l;
}

void WriteListingFile(const QString& path, const QList<ListingItem>& items)
{
    QString text;
    for (const ListingItem& it : items) {
        for (int c = 0; c < it.columns.size(); ++c) {
            if (c > 0)
                text += QLatin1Char('\t');
            text += oneLine(it.columns[c]) + QLatin1String("\r\n");
            if (c == 0)
                text += QLatin1Char('@') + QString::number(it.number) + QLatin1String("\r\n");
        }
    }
    QByteArray bytes;
    if (!toCp1252(text, bytes))
        for (QChar c : nonCp1252Chars(text))
            text.replace(c, QLatin1Char('?'));
    toCp1252(text, bytes);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw IoError(QStringLiteral("Impossibile scrivere il file %1: %2").arg(path, f.errorString()));
}

QList<ListingItem> ReadListingFile(const QString& path)
{
    QList<ListingItem> items;
    QFile f(path);
    if (!f.exists())
        return items;
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("Impossibile leggere il file %1: %2").arg(path, f.errorString()));
    const QString text = fromCp1252(f.readAll());
    QStringList lines = text.split(QLatin1String("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('@'))) {
            if (!items.isEmpty()) {
                bool ok = false;
                const int n = line.mid(1, 20).trimmed().toInt(&ok);
                items.last().number = ok ? n : 0;
            }
        } else if (line.startsWith(QLatin1Char('\t'))) {
            if (!items.isEmpty())
                items.last().columns << line.mid(1);
        } else {
            ListingItem it;
            it.columns << line;
            items << it;
        }
    }
    return items;
}

Listing OpenListing(AppContext& ctx)
{
    const QString path = ctx.temp(QStringLiteral("TABELLA.TXT"));
    WriteListingFile(path, {});
    ctx.PickedCode = -1;
    Listing l = BuildListing(ctx, ctx.TableName);
    WriteListingFile(path, l.items);
    return l;
}

void SortListing(Listing& listing, int column)
{
    static const QString none;
    auto text = [column](const ListingItem& it) -> const QString& {
        return column < it.columns.size() ? it.columns[column] : none;
    };
    std::stable_sort(listing.items.begin(), listing.items.end(),
                     [&](const ListingItem& a, const ListingItem& b) { return text(a) < text(b); });
}

} // namespace vt
