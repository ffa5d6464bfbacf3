#include "register/store/RegisterStore.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

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

// What the register order and numbering look at, read straight from the stored bytes: a year of
// records is placed without decoding every text of every record.
struct Key {
    std::int32_t numero = 0;
    std::int32_t collegato = 0;
    std::int32_t progressivo = 0;
    std::int32_t numeroFlusso = 0;
    std::int32_t progressivoDettaglio = 0;
    double day = 0;
    char stato = ' ';
    char registro = ' ';
    char operazione = ' ';
    char tipoMovimento = ' ';
};

char codeChar(const QByteArray& b, int off)
{
    return static_cast<unsigned char>(b.at(off)) >= 1 ? b.at(off + 1) : ' ';
}

char codeChar(const QString& s)
{
    const QString t = s.trimmed();
    return t.isEmpty() ? ' ' : t.at(0).toLatin1();
}

Key keyOf(const QByteArray& b)
{
    static const int oNumero = offsetOf("numero"), oCollegato = offsetOf("collegato"),
                     oProgressivo = offsetOf("progressivo"), oFlusso = offsetOf("numeroFlusso"),
                     oDettaglio = offsetOf("progressivoDettaglio"), oData = offsetOf("data"),
                     oStato = offsetOf("stato"), oRegistro = offsetOf("registro"), oOperazione = offsetOf("operazione"),
                     oTipo = offsetOf("tipoMovimento");
    Key k;
    k.numero = codec::getI32(b, oNumero);
    k.collegato = codec::getI32(b, oCollegato);
    k.progressivo = codec::getI32(b, oProgressivo);
    k.numeroFlusso = codec::getI32(b, oFlusso);
    k.progressivoDettaglio = codec::getI32(b, oDettaglio);
    k.day = registerDay(codec::getF64(b, oData));
    k.stato = codeChar(b, oStato);
    k.registro = codeChar(b, oRegistro);
    k.operazione = codeChar(b, oOperazione);
    k.tipoMovimento = codeChar(b, oTipo);
    return k;
}

Key keyOf(const TRecMovimento& r)
{
    Key k;
    k.numero = r.numero;
    k.collegato = r.collegato;
    k.progressivo = r.progressivo;
    k.numeroFlusso = r.numeroFlusso;
    k.progressivoDettaglio = r.progressivoDettaglio;
    k.day = registerDay(r.data);
    k.stato = codeChar(r.stato);
    k.registro = codeChar(r.registro);
    k.operazione = codeChar(r.operazione);
    k.tipoMovimento = codeChar(r.tipoMovimento);
    return k;
}

// A guarantee day that a new record of the same day overwrites: unsent, active, a plain insertion
// -- never the cancellation or the replacement of a guarantee rectification.
bool isPlainUnsentGuaranteeDay(const Key& r)
{
    return r.registro == 'F' && r.numeroFlusso == 0 && r.stato == ' ' && r.operazione == 'I';
}

// Register order (see the header): the index before which N goes, or the plain unsent guarantee
// record of N's day that N replaces.
template <class Records> qsizetype positionIn(const Records& records, const Key& n, bool* replaces)
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
        } else if (n.registro == 'F' && n.operazione == 'I' && n.stato == ' ' && isPlainUnsentGuaranteeDay(r)) {
            if (replaces)
                *replaces = true;
            return i;
        }
    }
    return records.size();
}

// The one numbering rule of the register (see nextRegisterNumbers).
template <class Records> RegisterNumbers nextNumbersOf(const Records& records)
{
    std::int32_t numero = 0, progressivo = 0;
    for (const auto& r : records) {
        const Key k = keyOf(r);
        numero = std::max(numero, k.numero);
        progressivo = std::max(progressivo, k.progressivo);
    }
    return { nextRecordNumber(numero), nextRecordNumber(progressivo) };
}

bool isSent(const TRecMovimento& r)
{
    return r.numeroFlusso > 0;
}

bool typeIn(const TRecMovimento& r, std::initializer_list<const char*> types)
{
    const QString t = r.tipoDocumento.trimmed();
    for (const char* x : types)
        if (t == QLatin1String(x))
            return true;
    return false;
}

bool isInsertion(const TRecMovimento& r)
{
    return codeIs(r.operazione, RegisterOperation::Insert);
}

bool isConclusion(const TRecMovimento& r)
{
    return (isInsertion(r) && typeIn(r, { "ROR", "FBR" }) && codeIs(r.tipoMovimento, QStringLiteral("A"))) ||
        codeIs(r.operazione, RegisterOperation::Conclusion);
}

bool isChangeOfDestination(const TRecMovimento& r)
{
    return isInsertion(r) && typeIn(r, { "COD" }) && codeIs(r.tipoMovimento, QStringLiteral("A"));
}

bool isGuaranteeDay(const TRecMovimento& r)
{
    return isInsertion(r) && codeIs(r.registro, QStringLiteral("F"));
}

// The canonical form two records are compared in: texts trimmed then padded, the day only.
QByteArray comparable(TRecMovimento r, bool sendDataAside)
{
    TrimRegisterRecord(r);
    PadRegisterRecord(r);
    r.data = registerDay(r.data);
    if (sendDataAside) {
        r.dataFlusso = 0;
        r.numeroFlusso = 0;
    }
    try {
        return encodeRegisterRecord(r);
    } catch (...) {
        return {}; // a text no register file can hold matches nothing
    }
}

// Indexes of the records carrying `numero`.
QList<qsizetype> indexesOf(const QList<QByteArray>& records, std::int32_t numero)
{
    QList<qsizetype> out;
    for (qsizetype i = 0; i < records.size(); ++i)
        if (RecordFile::numberOf(records[i]) == numero)
            out << i;
    return out;
}

// The record O read earlier, found again in the file among the records carrying its `numero` (whole
// record compared), and the message refusing it (empty when it may be worked on). Raises IoError
// when it is gone or changed; a record that changed into one the action may not work on is refused
// for that reason.
using Refusal = std::function<QString(const TRecMovimento&)>;
qsizetype locate(
    const QList<QByteArray>& records, const TRecMovimento& old, const Refusal& refusalOf, bool sendDataAside = true)
{
    const QList<qsizetype> carrying = indexesOf(records, old.numero);
    if (carrying.isEmpty())
        throw IoError(QString::fromLatin1(MsgRecordGone));
    const QByteArray wanted = comparable(old, sendDataAside);
    for (qsizetype i : carrying) {
        const TRecMovimento r = decodeRegisterRecord(records[i]);
        if (comparable(r, sendDataAside) != wanted)
            continue;
        const QString refusal = refusalOf(r);
        if (!refusal.isEmpty())
            throw IoError(refusal);
        return i;
    }
    const QString refusal = refusalOf(decodeRegisterRecord(records[carrying.front()]));
    throw IoError(refusal.isEmpty() ? QString::fromLatin1(MsgRecordChanged) : refusal);
}

qsizetype locate(const QList<QByteArray>& records, const TRecMovimento& old, RecordNeed need)
{
    return locate(records, old, [need](const TRecMovimento& r) { return refusalFor(&r, need); });
}

// What deletion allows: an active insertion or conclusion, not yet sent (an unsent cancellation or
// replacement is undone with its rectification, never deleted alone).
QString deletionRefusal(const TRecMovimento& r)
{
    if (codeIs(r.stato, RegisterState::Superseded))
        return QString::fromLatin1(MsgRecordSuperseded);
    if (!codeIs(r.stato, RegisterState::Active) ||
        !(isInsertion(r) || codeIs(r.operazione, RegisterOperation::Conclusion)))
        return QString::fromLatin1(MsgRecordNotInsertion);
    if (isSent(r))
        return QString::fromLatin1(MsgRecordAlreadySent);
    return {};
}

// True when a record outside `numero`'s own records links to it, or one of its records links to
// another record (here or, through its linked date, in another year's file).
bool isLinked(const QList<QByteArray>& records, std::int32_t numero)
{
    static const int oDataCollegata = offsetOf("dataCollegata");
    for (const QByteArray& b : records) {
        const Key k = keyOf(b);
        if (k.numero == numero && (k.collegato != 0 || codec::getF64(b, oDataCollegata) != 0))
            return true;
        if (k.numero != numero && k.collegato == numero)
            return true;
    }
    return false;
}

// Takes the records at `indexes` out of the file and closes the gap they leave in the line numbers:
// every later line moves down. Refused when a later line was already sent (its number is with
// customs and cannot change).
void removeLines(QList<QByteArray>& records, QList<qsizetype> indexes)
{
    static const int oProgressivo = offsetOf("progressivo");
    QList<std::int32_t> freed;
    for (qsizetype i : indexes)
        if (const std::int32_t p = keyOf(records[i]).progressivo; p > 0)
            freed << p;
    std::sort(indexes.begin(), indexes.end());
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        records.removeAt(*it);
    if (freed.isEmpty())
        return;
    const std::int32_t lowest = *std::min_element(freed.begin(), freed.end());
    for (const QByteArray& b : records) {
        const Key k = keyOf(b);
        if (k.progressivo > lowest && k.numeroFlusso > 0)
            throw IoError(QString::fromLatin1(MsgLineFollowedBySent));
    }
    for (QByteArray& b : records) {
        const std::int32_t p = keyOf(b).progressivo;
        if (p <= lowest)
            continue;
        const auto below = std::count_if(freed.begin(), freed.end(), [&](std::int32_t f) { return f < p; });
        codec::putI32(b, oProgressivo, p - static_cast<std::int32_t>(below));
    }
}

// Where a record placed after `anchor` goes: after the last record carrying that number and the
// unsent rectification records (cancellation, replacement) already following it.
qsizetype positionAfter(const QList<QByteArray>& records, std::int32_t anchor)
{
    const QList<qsizetype> carrying = indexesOf(records, anchor);
    if (carrying.isEmpty())
        throw IoError(QString::fromLatin1(MsgRecordGone));
    qsizetype at = carrying.back() + 1;
    while (at < records.size()) {
        const Key k = keyOf(records[at]);
        const bool rectification = k.operazione == 'C' || k.operazione == 'D' || k.stato == 'R';
        if (k.collegato != anchor || k.numeroFlusso != 0 || !rectification)
            break;
        ++at;
    }
    return at;
}

// Places the group in the raw records (see PlaceRegisterGroup).
QList<TRecMovimento> placeGroup(QList<QByteArray>& records, const QList<GroupRecord>& group, GroupNumbering numbering)
{
    QList<TRecMovimento> written;
    std::int32_t shared = 0;
    for (GroupRecord g : group) {
        TRecMovimento& n = g.record;
        PadRegisterRecord(n);
        n.data = registerDay(n.data);
        bool replaces = false;
        const qsizetype at = g.after != 0 ? positionAfter(records, g.after) : positionIn(records, keyOf(n), &replaces);
        if (replaces) {
            // The same day's guarantee, changed: it keeps the replaced record's numbers.
            const Key r = keyOf(records[at]);
            if (n.numero != 0 && n.numero != r.numero)
                throw IoError(QString::fromLatin1(MsgGuaranteeDayTaken));
            n.numero = r.numero;
            n.progressivo = r.progressivo;
        }
        const RegisterNumbers next = nextNumbersOf(records);
        if (n.numero == 0) {
            if (numbering == GroupNumbering::Shared) {
                if (shared == 0)
                    shared = next.numero;
                n.numero = shared;
            } else {
                n.numero = next.numero;
            }
        }
        if (n.progressivo == 0)
            n.progressivo = next.progressivo;
        const QByteArray bytes = encodeRegisterRecord(n); // an unencodable text stops here, before any write
        if (replaces)
            records[at] = bytes;
        else
            records.insert(at, bytes);
        written << n;
    }
    return written;
}

TRecMovimento placeOne(QList<QByteArray>& records, const TRecMovimento& n)
{
    return placeGroup(records, { GroupRecord { n, 0 } }, GroupNumbering::OnePerRecord).front();
}

// Flow data set or cleared on the records of one file of a flow; raises IoError when any record is
// not found again as it was read.
void setSendData(QList<QByteArray>& records, const QList<TRecMovimento>& flow, bool marking, double flowDate,
    std::int32_t flowNumber)
{
    const auto refuse = [] { throw IoError(QString::fromLatin1(MsgFlowRecordsChanged)); };
    QSet<std::int32_t> numbers;
    for (const TRecMovimento& wanted : flow) {
        const QByteArray w = comparable(wanted, false);
        const QList<qsizetype> carrying = indexesOf(records, wanted.numero);
        const bool found = std::any_of(carrying.begin(), carrying.end(),
            [&](qsizetype i) { return comparable(decodeRegisterRecord(records[i]), false) == w; });
        if (!found || (marking && isSent(wanted)) || (!marking && !isSent(wanted)))
            refuse();
        numbers << wanted.numero;
    }
    for (QByteArray& b : records) {
        if (!numbers.contains(RecordFile::numberOf(b)))
            continue;
        TRecMovimento r = decodeRegisterRecord(b);
        if (marking == isSent(r)) // a record of the same number not in the state the flow expects
            refuse();
        r.dataFlusso = marking ? flowDate : 0;
        r.numeroFlusso = marking ? flowNumber : 0;
        b = encodeRegisterRecord(r);
    }
}

void changeFlow(const FlowRecords& flow, bool marking, double flowDate, std::int32_t flowNumber, Messenger& messenger)
{
    QStringList paths;
    if (!flow.movements.isEmpty())
        paths << flow.movementsPath;
    if (!flow.guarantees.isEmpty())
        paths << flow.guaranteesPath;
    if (paths.isEmpty())
        return;
    FileGroup group(paths, &messenger);
    group.run([&](FileGroup& g) {
        if (!flow.movements.isEmpty()) {
            QList<QByteArray> records = g.read(flow.movementsPath, kSize);
            setSendData(records, flow.movements, marking, flowDate, flowNumber);
            g.replace(flow.movementsPath, kSize, records);
        }
        if (!flow.guarantees.isEmpty()) {
            QList<QByteArray> records = g.read(flow.guaranteesPath, kSize);
            setSendData(records, flow.guarantees, marking, flowDate, flowNumber);
            g.replace(flow.guaranteesPath, kSize, records);
        }
    });
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

QList<TRecMovimento> findRegisterRecords(const QString& path, std::int32_t numero)
{
    QList<TRecMovimento> out;
    for (const QByteArray& b : RecordFile(path, kSize).readAll())
        if (RecordFile::numberOf(b) == numero)
            out << decodeRegisterRecord(b);
    return out;
}

bool sameRegisterRecord(const TRecMovimento& a, const TRecMovimento& b, bool sendDataAside)
{
    const QByteArray x = comparable(a, sendDataAside);
    return !x.isEmpty() && x == comparable(b, sendDataAside);
}

bool isLinkedRecord(const TRecMovimento& from, const TRecMovimento& to)
{
    return from.collegato != 0 && to.numero == from.collegato &&
        from.numeroDocumento.trimmed() == to.numeroDocumento.trimmed() && from.progressivoEad == to.progressivoEad &&
        from.progressivoDettaglio == to.progressivoDettaglio;
}

RegisterNumbers nextRegisterNumbers(const QList<TRecMovimento>& records)
{
    return nextNumbersOf(records);
}

std::int32_t nextProgressivo(const QList<TRecMovimento>& records)
{
    return nextNumbersOf(records).progressivo;
}

qsizetype registerPosition(const QList<TRecMovimento>& records, const TRecMovimento& n, bool* replaces)
{
    return positionIn(records, keyOf(n), replaces);
}

TRecMovimento InsertRegisterRecord(TRecMovimento n, const QString& path, Messenger& messenger)
{
    if (n.numero == 0)
        n.progressivo = 0; // a new record takes a new line number
    TRecMovimento written;
    FileGroup group({ path }, &messenger);
    group.run([&](FileGroup& g) {
        written = PlaceRegisterGroup(g, path, { GroupRecord { n, 0 } }, GroupNumbering::OnePerRecord).front();
    });
    return written;
}

QList<TRecMovimento> PlaceRegisterGroup(
    FileGroup& group, const QString& path, const QList<GroupRecord>& records, GroupNumbering numbering)
{
    QList<QByteArray> raw = group.read(path, kSize);
    QList<TRecMovimento> written = placeGroup(raw, records, numbering);
    if (!written.isEmpty())
        group.replace(path, kSize, raw);
    return written;
}

QString refusalFor(const TRecMovimento* r, RecordNeed need)
{
    if (!r)
        return QString::fromLatin1(MsgRecordGone);
    if (codeIs(r->stato, RegisterState::Superseded))
        return QString::fromLatin1(MsgRecordSuperseded);

    bool kind = false, wantSent = false;
    switch (need) {
    case RecordNeed::Unsent:
    case RecordNeed::Sent:
        if (!isInsertion(*r))
            return QString::fromLatin1(MsgRecordNotInsertion);
        kind = true;
        wantSent = need == RecordNeed::Sent;
        break;
    case RecordNeed::UnsentConclusion:
    case RecordNeed::SentConclusion:
        kind = isConclusion(*r);
        wantSent = need == RecordNeed::SentConclusion;
        break;
    case RecordNeed::Concludable:
        kind = isInsertion(*r) && typeIn(*r, { "EAD", "DAA", "COD" });
        wantSent = true;
        break;
    case RecordNeed::Redirectable:
        kind = isInsertion(*r) && typeIn(*r, { "EAD", "FBE", "FBC", "COD" });
        wantSent = true;
        break;
    case RecordNeed::UnsentChange:
    case RecordNeed::SentChange:
        kind = isChangeOfDestination(*r);
        wantSent = need == RecordNeed::SentChange;
        break;
    case RecordNeed::UnsentGuarantee:
    case RecordNeed::SentGuarantee:
        kind = isGuaranteeDay(*r);
        wantSent = need == RecordNeed::SentGuarantee;
        break;
    }
    if (!kind)
        return QString::fromLatin1(MsgRecordWrongKind);
    if (!wantSent && isSent(*r))
        return QString::fromLatin1(MsgRecordAlreadySent);
    if (wantSent && !isSent(*r))
        return QString::fromLatin1(MsgRecordNotSent);
    if ((need == RecordNeed::Concludable || need == RecordNeed::Redirectable) && r->dataCollegata != 0)
        return QString::fromLatin1(MsgRecordConcluded);
    return {};
}

bool isPickedRecordRefusal(const QString& message)
{
    for (const char* m : { MsgRecordGone, MsgRecordSuperseded, MsgRecordAlreadySent, MsgRecordNotSent,
             MsgRecordNotInsertion, MsgRecordWrongKind, MsgRecordConcluded, MsgRecordChanged })
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

TRecMovimento ModifyRegisterRecord(const TRecMovimento& oldAsRead, const QString& oldPath, TRecMovimento n,
    const QString& newPath, Messenger& messenger)
{
    TRecMovimento written;
    QStringList paths { oldPath };
    const bool sameFile = QDir::cleanPath(oldPath) == QDir::cleanPath(newPath);
    if (!sameFile)
        paths << newPath;
    FileGroup group(paths, &messenger);
    group.run([&](FileGroup& g) {
        QList<QByteArray> oldRecords = g.read(oldPath, kSize);
        const qsizetype at = locate(oldRecords, oldAsRead, RecordNeed::Unsent);
        const TRecMovimento old = decodeRegisterRecord(oldRecords[at]);
        PadRegisterRecord(n);
        n.data = registerDay(n.data);
        n.dataFlusso = 0;
        n.numeroFlusso = 0;

        if (sameFile) {
            // Same file: the same line, changed -- its numbers, state and links stay.
            const bool replacement = codeIs(old.stato, RegisterState::Replacement);
            if (replacement && n.data != registerDay(old.data))
                throw IoError(QString::fromLatin1(MsgRectifyDayFixed));
            n.numero = old.numero;
            n.progressivo = old.progressivo;
            n.collegato = old.collegato;
            n.dataCollegata = old.dataCollegata;
            n.stato = old.stato;
            n.operazione = old.operazione;
            oldRecords.removeAt(at);
            if (replacement) {
                // It stays right after its cancellation record.
                written = n;
                oldRecords.insert(at, encodeRegisterRecord(n));
            } else {
                written = placeOne(oldRecords, n);
            }
            g.replace(oldPath, kSize, oldRecords);
            return;
        }

        if (codeIs(old.stato, RegisterState::Replacement))
            throw IoError(QString::fromLatin1(MsgRectifyDayFixed));
        if (isLinked(oldRecords, old.numero))
            throw IoError(QString::fromLatin1(MsgRecordLinked));
        removeLines(oldRecords, { at });
        QList<QByteArray> newRecords = g.read(newPath, kSize);
        n.numero = 0;
        n.progressivo = 0;
        n.collegato = 0;
        n.dataCollegata = 0;
        written = placeOne(newRecords, n);
        // The record arrives in its new file before it leaves the old one.
        g.replace(newPath, kSize, newRecords);
        g.replace(oldPath, kSize, oldRecords);
    });
    return written;
}

int DeleteRegisterRecord(const TRecMovimento& oldAsRead, const QString& path, Messenger& messenger)
{
    int removed = 0;
    FileGroup group({ path }, &messenger);
    group.run([&](FileGroup& g) {
        QList<QByteArray> records = g.read(path, kSize);
        locate(records, oldAsRead, deletionRefusal, false);
        const QList<qsizetype> carrying = indexesOf(records, oldAsRead.numero);
        for (qsizetype i : carrying)
            if (const QString refusal = deletionRefusal(decodeRegisterRecord(records[i])); !refusal.isEmpty())
                throw IoError(refusal);
        if (isLinked(records, oldAsRead.numero))
            throw IoError(QString::fromLatin1(MsgRecordLinked));
        removeLines(records, carrying);
        removed = static_cast<int>(carrying.size());
        g.replace(path, kSize, records);
    });
    return removed;
}

RectifyResult RectifyRegisterRecord(const TRecMovimento& oldAsRead, const QString& path, RectifyKind kind,
    TRecMovimento n, Messenger& messenger, RecordNeed need)
{
    RectifyResult result;
    FileGroup group({ path }, &messenger);
    group.run([&](FileGroup& g) {
        QList<QByteArray> records = g.read(path, kSize);
        locate(records, oldAsRead, need);
        const QList<qsizetype> carrying = indexesOf(records, oldAsRead.numero);
        if (kind == RectifyKind::Modify && carrying.size() > 1)
            throw IoError(QString::fromLatin1(MsgRectifySeveralLines));
        PadRegisterRecord(n);

        QList<GroupRecord> added;
        for (qsizetype i : carrying) {
            const TRecMovimento original = decodeRegisterRecord(records[i]);
            const QString refusal = refusalFor(&original, need);
            if (!refusal.isEmpty())
                throw IoError(refusal);
            TRecMovimento superseded = original;
            superseded.stato = RegisterState::Superseded;
            records[i] = encodeRegisterRecord(superseded);

            TRecMovimento c = original;
            c.numero = 0;
            c.collegato = original.numero;
            c.stato = RegisterState::Active;
            c.dataFlusso = 0;
            c.numeroFlusso = 0;
            // A DAA conclusion is cancelled by a "D"; every other line by a "C".
            c.operazione = codeIs(original.operazione, RegisterOperation::Conclusion)
                ? RegisterOperation::ConclusionCancelled
                : RegisterOperation::Cancellation;
            c.progressivo = original.progressivo;
            c.nota = n.nota;
            added << GroupRecord { c, original.numero };
        }
        const QList<TRecMovimento> cancellations = placeGroup(records, added, GroupNumbering::Shared);
        result.cancellations = cancellations;

        if (kind == RectifyKind::Modify) {
            const TRecMovimento original = decodeRegisterRecord(records[carrying.front()]);
            TRecMovimento r = n;
            r.numero = 0;
            r.collegato = original.numero;
            r.stato = RegisterState::Replacement;
            r.operazione = RegisterOperation::Insert;
            r.progressivo = original.progressivo;
            r.dataFlusso = 0;
            r.numeroFlusso = 0;
            // The date of a rectified line cannot change: it replaces that day's line.
            r.data = registerDay(original.data);
            result.replacement =
                placeGroup(records, { GroupRecord { r, original.numero } }, GroupNumbering::OnePerRecord).front();
        }
        g.replace(path, kSize, records);
    });
    return result;
}

void MarkRegisterSent(const FlowRecords& flow, double flowDate, std::int32_t flowNumber, Messenger& messenger)
{
    changeFlow(flow, true, flowDate, flowNumber, messenger);
}

void ResetRegisterSendData(const FlowRecords& flow, Messenger& messenger)
{
    changeFlow(flow, false, 0, 0, messenger);
}

} // namespace vt
