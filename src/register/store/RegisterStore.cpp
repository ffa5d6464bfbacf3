#include "register/store/RegisterStore.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/FileGroup.h"
#include "foundation/FileLock.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"

namespace vt {

namespace {
constexpr int kSize = TRecMovimento::Size;

int offsetOf(const char* name)
{
    for (const auto& f : TRecMovimento::fields())
        if (std::strcmp(f.name, name) == 0)
            return f.offset;
    return -1;
}

// What the register order and numbering look at, read straight from the stored bytes: a year
// of records is placed without decoding every text of every record.
struct Key {
    std::int32_t numero = 0;
    std::int32_t progressivo = 0;
    std::int32_t numeroFlusso = 0;
    std::int32_t progressivoDettaglio = 0;
    double day = 0;
    char registro = ' ';
    char tipoMovimento = ' ';
};

char codeChar(const QByteArray& b, int off)
{
    return static_cast<unsigned char>(b.at(off)) >= 1 ? b.at(off + 1) : ' ';
}

Key keyOf(const QByteArray& b)
{
    static const int oNumero = offsetOf("numero"), oProgressivo = offsetOf("progressivo"),
                     oFlusso = offsetOf("numeroFlusso"), oDettaglio = offsetOf("progressivoDettaglio"),
                     oData = offsetOf("data"), oRegistro = offsetOf("registro"), oTipo = offsetOf("tipoMovimento");
    Key k;
    k.numero = codec::getI32(b, oNumero);
    k.progressivo = codec::getI32(b, oProgressivo);
    k.numeroFlusso = codec::getI32(b, oFlusso);
    k.progressivoDettaglio = codec::getI32(b, oDettaglio);
    k.day = registerDay(codec::getF64(b, oData));
    k.registro = codeChar(b, oRegistro);
    k.tipoMovimento = codeChar(b, oTipo);
    return k;
}

Key keyOf(const TRecMovimento& r)
{
    Key k;
    k.numero = r.numero;
    k.progressivo = r.progressivo;
    k.numeroFlusso = r.numeroFlusso;
    k.progressivoDettaglio = r.progressivoDettaglio;
    k.day = registerDay(r.data);
    const QString reg = r.registro.trimmed(), kind = r.tipoMovimento.trimmed();
    k.registro = reg.isEmpty() ? ' ' : reg.at(0).toLatin1();
    k.tipoMovimento = kind.isEmpty() ? ' ' : kind.at(0).toLatin1();
    return k;
}

// Register order (see the header): the index before which N goes, or the unsent guarantee record
// of N's day that N replaces.
template <class Records>
qsizetype positionIn(const Records& records, const Key& n, bool* replaces)
{
    if (replaces)
        *replaces = false;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const Key r = keyOf(records[i]);
        if (r.day > n.day)
            return i;
        if (r.day != n.day)
            continue;
        if (n.registro == 'C') {
            if ((r.tipoMovimento == n.tipoMovimento && r.progressivoDettaglio > n.progressivoDettaglio) ||
                (n.tipoMovimento == 'C' && (r.tipoMovimento == 'A' || r.tipoMovimento == 'S')) ||
                (n.tipoMovimento == 'S' && r.tipoMovimento == 'A'))
                return i;
        } else if (n.registro == 'F' && r.registro == 'F' && r.numeroFlusso == 0) {
            if (replaces)
                *replaces = true;
            return i;
        }
    }
    return records.size();
}

template <class Records>
std::int32_t largestNumero(const Records& records)
{
    std::int32_t max = 0;
    for (const auto& r : records)
        max = std::max(max, keyOf(r).numero);
    return max;
}

template <class Records>
std::int32_t nextProgressivoOf(const Records& records)
{
    std::int32_t max = 0;
    for (const auto& r : records)
        max = std::max(max, keyOf(r).progressivo);
    return nextRecordNumber(max);
}

qsizetype indexOfNumero(const QList<QByteArray>& records, std::int32_t numero)
{
    for (qsizetype i = 0; i < records.size(); ++i)
        if (RecordFile::numberOf(records[i]) == numero)
            return i;
    return -1;
}

bool isSent(const TRecMovimento& r)
{
    return r.numeroFlusso > 0;
}

// The refusal for a record that an action may not work on; empty when it may.
QString refusalFor(const TRecMovimento* r, RecordNeed need)
{
    if (!r)
        return QString::fromLatin1(MsgRecordGone);
    if (codeIs(r->stato, RegisterState::Superseded))
        return QString::fromLatin1(MsgRecordSuperseded);
    if (!codeIs(r->operazione, RegisterOperation::Insert))
        return QString::fromLatin1(MsgRecordNotInsertion);
    if (need == RecordNeed::Unsent && isSent(*r))
        return QString::fromLatin1(MsgRecordAlreadySent);
    if (need == RecordNeed::Sent && !isSent(*r))
        return QString::fromLatin1(MsgRecordNotSent);
    return {};
}

// The record at index of the raw list, checked for the need; raises IoError with the refusal.
TRecMovimento recordFor(const QList<QByteArray>& records, std::int32_t numero, RecordNeed need, qsizetype* at)
{
    *at = indexOfNumero(records, numero);
    std::optional<TRecMovimento> r;
    if (*at >= 0)
        r = decodeRegisterRecord(records[*at]);
    const QString refusal = refusalFor(r ? &*r : nullptr, need);
    if (!refusal.isEmpty())
        throw IoError(refusal);
    return *r;
}

// Numbers N (when unnumbered) and places it in the records; returns what was written.
TRecMovimento placeRecord(QList<QByteArray>& records, TRecMovimento n)
{
    PadRegisterRecord(n);
    n.data = registerDay(n.data);
    if (n.numero == 0) {
        n.numero = nextRecordNumber(largestNumero(records));
        n.progressivo = nextProgressivoOf(records);
    }
    const QByteArray bytes = encodeRegisterRecord(n); // an unencodable text stops here, before any write
    bool replaces = false;
    const qsizetype at = positionIn(records, keyOf(n), &replaces);
    if (replaces)
        records[at] = bytes;
    else
        records.insert(at, bytes);
    return n;
}
} // namespace

namespace registerfiles {
QString movements(const AppContext& ctx, int year)
{
    return ctx.registri(QStringLiteral("%1.RGM").arg(year, 4, 10, QLatin1Char('0')));
}

QString guarantees(const AppContext& ctx, int year)
{
    return ctx.registri(QStringLiteral("%1.GAR").arg(year, 4, 10, QLatin1Char('0')));
}

QString carryOvers(const AppContext& ctx)
{
    return ctx.registri(QStringLiteral("RIPORTI.GAR"));
}

QString work(const AppContext& ctx, const char* name)
{
    return ctx.temp(QString::fromLatin1(name));
}
} // namespace registerfiles

double registerDay(double date)
{
    // Cut, never round: 17:00 of 31 December stays in December (and in its year's file).
    return std::floor(date);
}

int registerYear(double date)
{
    const QDate d = dates::toDate(registerDay(date));
    return d.isValid() ? d.year() : 0;
}

QList<TRecMovimento> readRegister(const QString& path)
{
    QList<TRecMovimento> out;
    for (const QByteArray& b : RecordFile(path, kSize).readAll())
        out << decodeRegisterRecord(b);
    return out;
}

std::optional<TRecMovimento> findRegisterRecord(const QString& path, std::int32_t numero)
{
    if (auto raw = RecordFile(path, kSize).findByNumber(numero))
        return decodeRegisterRecord(*raw);
    return std::nullopt;
}

std::int32_t nextProgressivo(const QList<TRecMovimento>& records)
{
    return nextProgressivoOf(records);
}

qsizetype registerPosition(const QList<TRecMovimento>& records, const TRecMovimento& n, bool* replaces)
{
    return positionIn(records, keyOf(n), replaces);
}

TRecMovimento InsertRegisterRecord(TRecMovimento n, const QString& path, Messenger& messenger)
{
    // One file, one atomic replacement: nothing to put back on failure, so no group is needed.
    FileLock lock(path, messenger);
    RecordFile file(path, kSize);
    QList<QByteArray> records = file.readAll();
    const TRecMovimento written = placeRecord(records, n);
    file.replaceAll(records);
    return written;
}

bool DeleteRegisterRecord(std::int32_t numero, const QString& path, Messenger& messenger)
{
    bool found = false;
    FileGroup group({path}, &messenger);
    group.run([&](FileGroup& g) {
        QList<QByteArray> raw = g.read(path, kSize);
        for (qsizetype i = 0; i < raw.size(); ++i)
            if (RecordFile::numberOf(raw[i]) == numero) {
                raw.removeAt(i);
                found = true;
                break;
            }
        if (found)
            g.replace(path, kSize, raw);
    });
    return found;
}

bool isPickedRecordRefusal(const QString& message)
{
    for (const char* m : {MsgRecordGone, MsgRecordSuperseded, MsgRecordAlreadySent, MsgRecordNotSent, MsgRecordNotInsertion})
        if (message == QString::fromLatin1(m))
            return true;
    return false;
}

PickedRecord rereadForAction(const QString& path, std::int32_t numero, RecordNeed need)
{
    PickedRecord out;
    const auto r = findRegisterRecord(path, numero);
    out.refusal = refusalFor(r ? &*r : nullptr, need);
    if (out.refusal.isEmpty())
        out.record = r;
    return out;
}

TRecMovimento ModifyRegisterRecord(std::int32_t oldNumero, const QString& oldPath, TRecMovimento n,
                                   const QString& newPath, Messenger& messenger)
{
    TRecMovimento written;
    QStringList paths{oldPath};
    const bool sameFile = QDir::cleanPath(oldPath) == QDir::cleanPath(newPath);
    if (!sameFile)
        paths << newPath;
    FileGroup group(paths, &messenger);
    group.run([&](FileGroup& g) {
        QList<QByteArray> oldRecords = g.read(oldPath, kSize);
        qsizetype at = -1;
        const TRecMovimento old = recordFor(oldRecords, oldNumero, RecordNeed::Unsent, &at);
        PadRegisterRecord(n);
        n.data = registerDay(n.data);

        if (codeIs(old.stato, RegisterState::Replacement)) {
            // The replacement of a rectification stays what it is: the line it replaces, linked
            // to the rectified record, right after its cancellation record.
            if (!sameFile || n.data != registerDay(old.data))
                throw IoError(QStringLiteral("LA DATA DI UNA RETTIFICA NON PUO' ESSERE CAMBIATA"));
            n.numero = old.numero;
            n.collegato = old.collegato;
            n.stato = old.stato;
            n.progressivo = old.progressivo;
            n.operazione = old.operazione;
            n.dataFlusso = 0;
            n.numeroFlusso = 0;
            oldRecords[at] = encodeRegisterRecord(n);
            g.replace(oldPath, kSize, oldRecords);
            written = n;
            return;
        }

        oldRecords.removeAt(at);
        n.numero = 0;
        if (sameFile) {
            written = placeRecord(oldRecords, n);
            g.replace(oldPath, kSize, oldRecords);
        } else {
            QList<QByteArray> newRecords = g.read(newPath, kSize);
            written = placeRecord(newRecords, n);
            // The record arrives in its new file before it leaves the old one.
            g.replace(newPath, kSize, newRecords);
            g.replace(oldPath, kSize, oldRecords);
        }
    });
    return written;
}

RectifyResult RectifyRegisterRecord(std::int32_t oldNumero, const QString& path, RectifyKind kind,
                                    TRecMovimento n, Messenger& messenger)
{
    RectifyResult result;
    FileGroup group({path}, &messenger);
    group.run([&](FileGroup& g) {
        QList<QByteArray> records = g.read(path, kSize);
        qsizetype at = -1;
        const TRecMovimento original = recordFor(records, oldNumero, RecordNeed::Sent, &at);
        PadRegisterRecord(n);
        const std::int32_t max = largestNumero(records);

        TRecMovimento superseded = original;
        superseded.stato = RegisterState::Superseded;

        TRecMovimento c = original;
        c.numero = nextRecordNumber(max, path);
        c.collegato = original.numero;
        c.stato = RegisterState::Active;
        c.dataFlusso = 0;
        c.numeroFlusso = 0;
        c.operazione = RegisterOperation::Cancellation;
        c.progressivo = original.progressivo;
        c.nota = n.nota;
        PadRegisterRecord(c);
        result.cancellation = c;

        QList<QByteArray> added{encodeRegisterRecord(c)};
        if (kind == RectifyKind::Modify) {
            TRecMovimento r = n;
            r.numero = nextRecordNumber(c.numero, path);
            r.collegato = original.numero;
            r.stato = RegisterState::Replacement;
            r.operazione = RegisterOperation::Insert;
            r.progressivo = original.progressivo;
            r.dataFlusso = 0;
            r.numeroFlusso = 0;
            // The date of a rectified line cannot change: it replaces that day's line.
            r.data = registerDay(original.data);
            added << encodeRegisterRecord(r);
            result.replacement = r;
        }
        records[at] = encodeRegisterRecord(superseded);
        for (qsizetype i = 0; i < added.size(); ++i)
            records.insert(at + 1 + i, added[i]);
        g.replace(path, kSize, records);
    });
    return result;
}

namespace {
void setSendData(const QString& path, const QList<std::int32_t>& numbers, double flowDate, std::int32_t flowNumber,
                 Messenger& messenger)
{
    FileGroup group({path}, &messenger);
    group.run([&](FileGroup& g) {
        QList<QByteArray> raw = g.read(path, kSize);
        bool changed = false;
        for (QByteArray& b : raw)
            if (numbers.contains(RecordFile::numberOf(b))) {
                TRecMovimento r = decodeRegisterRecord(b);
                r.dataFlusso = flowDate;
                r.numeroFlusso = flowNumber;
                b = encodeRegisterRecord(r);
                changed = true;
            }
        if (changed)
            g.replace(path, kSize, raw);
    });
}
} // namespace

void MarkRegisterSent(const QString& path, const QList<std::int32_t>& numbers, double flowDate,
                      std::int32_t flowNumber, Messenger& messenger)
{
    setSendData(path, numbers, flowDate, flowNumber, messenger);
}

void ResetRegisterSendData(const QString& path, const QList<std::int32_t>& numbers, Messenger& messenger)
{
    setSendData(path, numbers, 0, 0, messenger);
}

} // namespace vt
