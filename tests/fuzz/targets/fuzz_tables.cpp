// Table files (.TAB rows and .STR structure, TRecTabella records of 5304 bytes) made of arbitrary
// bytes, read and changed through the table engine: a file whose length is not a whole number of
// records is refused with IoError and left as it is; whole records decode into their fields, and
// an insert followed by the delete of the inserted row gives back the same bytes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <sanitizer/common_interface_defs.h>

#include <cmath>
#include <cstring>

#include "FuzzCheck.h"
#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "foundation/Tables.h"

using namespace vt;

namespace {

constexpr int kSize = TRecTabella::Size;

class QuietMessenger : public Messenger {
public:
    void info(const QString&) override {}
    bool askYesNo(const QString&) override { return true; }
    bool askOkCancel(const QString&) override { return true; }
    void beep() override {}
};
class NoClock : public Clock {
public:
    QDate today() const override { return QDate(2026, 1, 2); }
    QDateTime now() const override { return QDateTime(today(), QTime(10, 0)); }
};
class NoShell : public Shell {
public:
    bool openUrl(const QString&) override { return false; }
    bool startProgram(const QString&) override { return false; }
};
class NoDialogs : public FileDialogs {
public:
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString openPicture(const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

// The files live in memory where it can be had: every rewrite is synced to disk otherwise.
QString scratchTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.absoluteFilePath() : QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("vt-fuzz-tables-XXXXXX"));
}

struct World {
    QTemporaryDir dir{scratchTemplate()};
    QuietMessenger messenger;
    NoClock clock;
    NoShell shell;
    NoDialogs dialogs;
    AppContext ctx{Services{messenger, clock, shell, dialogs}};
    QString tab;
    QString str;

    World()
    {
        FUZZ_CHECK(dir.isValid(), "no temporary folder");
        ctx.setFolders(dir.filePath(QStringLiteral("start")), dir.filePath(QStringLiteral("temp")));
        tab = tablePath(ctx, QStringLiteral("T999"), ".TAB");
        str = tablePath(ctx, QStringLiteral("T999"), ".STR");
    }
};

World& world()
{
    static World w;
    return w;
}

// A run that ends on a sanitizer report or a broken property still removes its folder.
void removeScratch()
{
    world().dir.remove();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(), path);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly), path);
    return f.readAll();
}

void removeIfThere(const QString& path)
{
    if (QFile::exists(path))
        FUZZ_CHECK(QFile::remove(path), path);
}

std::int32_t i32At(const QByteArray& b, qsizetype off)
{
    return qFromLittleEndian<qint32>(b.constData() + off);
}

bool sameBits(double a, const QByteArray& b, qsizetype off)
{
    return std::memcmp(&a, b.constData() + off, 8) == 0;
}

// Runs op, which must refuse the damaged file with IoError and leave it untouched.
template <class Op>
void expectRefused(World& w, const QByteArray& content, const char* what, Op op)
{
    bool refused = false;
    try {
        op();
    } catch (const IoError&) {
        refused = true;
    }
    FUZZ_CHECK(refused, QStringLiteral("%1 accepted a file of %2 bytes").arg(what).arg(content.size()));
    FUZZ_CHECK(readFile(w.tab) == content, QStringLiteral("%1 changed a damaged file").arg(what));
    FUZZ_CHECK(!QFile::exists(w.tab + QLatin1Char('$')), QStringLiteral("%1 left its lock behind").arg(what));
}

// A text field as stored: one length byte, 250 characters.
void checkText(const QString& value, const QByteArray& rec, int off, const char* what)
{
    FUZZ_CHECK(value.size() <= TRecTabella::Width, what);
    if (!value.isEmpty()) {
        FUZZ_CHECK(value.front().unicode() > 32 && value.back().unicode() > 32, what); // trimmed
    }
    // A field of plain printable ASCII reads back as those characters.
    const int len = static_cast<unsigned char>(rec.at(off));
    if (len > TRecTabella::Width)
        return;
    const QByteArray chars = rec.mid(off + 1, len);
    for (char c : chars)
        if (c < 33 || c > 126)
            return;
    FUZZ_CHECK(value == QString::fromLatin1(chars), what);
}

void checkDecoded(const TRecTabella& row, const QByteArray& rec)
{
    FUZZ_CHECK(row.Num == i32At(rec, 0), "Num");
    for (int i = 0; i < 10; ++i) {
        checkText(row.Fld[i], rec, 4 + 251 * i, "Fld");
        checkText(row.Ext[i], rec, 2514 + 251 * i, "Ext");
        FUZZ_CHECK(row.Dim[i] == i32At(rec, 5024 + 4 * i), "Dim");
        FUZZ_CHECK(sameBits(row.ValA[i], rec, 5064 + 8 * i), "ValA");
        FUZZ_CHECK(sameBits(row.ValB[i], rec, 5144 + 8 * i), "ValB");
        FUZZ_CHECK(sameBits(row.ValC[i], rec, 5224 + 8 * i), "ValC");
    }
}

void damagedFile(World& w, const QByteArray& content)
{
    writeFile(w.tab, content);
    expectRefused(w, content, "ReadRows", [&] { ReadRows(w.tab); });
    expectRefused(w, content, "FindRowByNumber", [&] { FindRowByNumber(w.ctx, 1, w.tab); });
    expectRefused(w, content, "DeleteRow", [&] { DeleteRow(w.ctx, 1, w.tab); });
    expectRefused(w, content, "InsertRow", [&] {
        w.ctx.EditRow = blankRow();
        w.ctx.EditRow.Fld[0] = QStringLiteral("ZZ");
        InsertRow(w.ctx, w.tab);
    });
    // The structure record is read first: a sound one leads to the damaged rows.
    if (content.size() >= kSize) {
        writeFile(w.str, content.left(kSize));
        expectRefused(w, content, "FindRowByKey", [&] { FindRowByKey(w.ctx, blankRow(), QStringLiteral("T999")); });
    }
}

void soundFile(World& w, const QByteArray& content)
{
    writeFile(w.tab, content);
    const qsizetype n = content.size() / kSize;

    const QList<TRecTabella> rows = ReadRows(w.tab);
    FUZZ_CHECK(rows.size() == n, "row count");
    for (qsizetype i = 0; i < n; ++i)
        checkDecoded(rows[i], content.mid(i * kSize, kSize));

    // By number: the first row carrying it (the engine scans in file order).
    for (qsizetype i = 0; i < std::min<qsizetype>(n, 3); ++i) {
        const std::int32_t num = i32At(content, i * kSize);
        FUZZ_CHECK(FindRowByNumber(w.ctx, num, w.tab), "FindRowByNumber misses a row");
        FUZZ_CHECK(w.ctx.FoundRow.Num == num, "FindRowByNumber found another number");
    }

    // By key, with the structure taken from the file itself (any Num, also negative or huge).
    if (n > 0) {
        writeFile(w.str, content.left(kSize));
        TRecTabella search = rows.last();
        PadRow(search);
        try {
            FindRowByKey(w.ctx, search, QStringLiteral("T999"));
        } catch (const EncodingError&) {
            // a decoded character the code page cannot hold back: refused, nothing read
        }
    } else {
        removeIfThere(w.str);
        FUZZ_CHECK(!FindRowByKey(w.ctx, blankRow(), QStringLiteral("T999")), "no structure, yet found");
    }

    // A row modified in an editor goes in with Num 0 and gets the largest number + 1; deleting
    // that number gives back the file as it was.
    w.ctx.EditRow = n > 0 ? rows.first() : blankRow();
    w.ctx.EditRow.Num = 0;
    std::int32_t largest = 0;
    for (qsizetype i = 0; i < n; ++i)
        largest = std::max(largest, i32At(content, i * kSize));
    std::int32_t added = 0;
    try {
        added = InsertRow(w.ctx, w.tab);
    } catch (const EncodingError&) {
        FUZZ_CHECK(readFile(w.tab) == content, "a refused row changed the file");
        return;
    } catch (const IoError& e) {
        // Only a file whose numbers are used up may refuse a new row.
        FUZZ_CHECK(largest == std::numeric_limits<std::int32_t>::max(), e.text());
        FUZZ_CHECK(readFile(w.tab) == content, "a refused row changed the file");
        return;
    }
    FUZZ_CHECK(largest < std::numeric_limits<std::int32_t>::max(), "a number past the largest 32-bit one");
    FUZZ_CHECK(added == largest + 1, QStringLiteral("new row number %1 after %2").arg(added).arg(largest));
    const QByteArray grown = readFile(w.tab);
    FUZZ_CHECK(grown.size() == content.size() + kSize, "insert did not add one record");
    FUZZ_CHECK(!QFile::exists(w.tab + QLatin1Char('$')), "insert left its lock behind");
    FUZZ_CHECK(DeleteRow(w.ctx, added, w.tab), "the inserted row is not there");
    FUZZ_CHECK(readFile(w.tab) == content, "insert then delete did not restore the file");
    FUZZ_CHECK(!QFile::exists(w.tab + QLatin1Char('$')), "delete left its lock behind");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    World& w = world();
    if (!fuzzCleanup) {
        fuzzCleanup = removeScratch;
        __sanitizer_set_death_callback(removeScratch);
    }
    const QByteArray content = bytesOf(data, size);
    removeIfThere(w.str);
    if (content.size() % kSize != 0) {
        damagedFile(w, content);
        return 0;
    }
    soundFile(w, content);
    // The same rows cut short, as a copy interrupted or a disk that filled up would leave them.
    if (!content.isEmpty()) {
        const qsizetype cut = 1 + (static_cast<unsigned char>(content.at(content.size() - 1)) % 97);
        removeIfThere(w.str);
        damagedFile(w, content.left(content.size() - cut));
    }
    return 0;
}
