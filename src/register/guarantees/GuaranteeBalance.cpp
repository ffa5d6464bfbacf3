#include "register/guarantees/GuaranteeBalance.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#include "foundation/AppContext.h"
#include "foundation/FileGroup.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "register/store/RegisterStore.h"

namespace vt {

namespace {

bool oneOf(const QString& code, std::initializer_list<const char*> codes)
{
    for (const char* c : codes)
        if (codeIs(code, QString::fromLatin1(c)))
            return true;
    return false;
}

// The oldest year with a movement or guarantee file, or `upTo` when there is
// none before it.
int oldestYear(const AppContext& ctx, int upTo)
{
    static const QRegularExpression yearly(
        QStringLiteral("^(\\d{4})\\.(RGM|GAR)$"), QRegularExpression::CaseInsensitiveOption);
    int oldest = upTo;
    for (const QString& name : QDir(ctx.RegistriFolder).entryList(QDir::Files)) {
        const auto m = yearly.match(name);
        if (m.hasMatch())
            oldest = std::min(oldest, m.captured(1).toInt());
    }
    return oldest;
}

// What a year changes in the balance: deposits less redemptions, released less
// committed.
double yearMovement(const AppContext& ctx, int year)
{
    double a = 0;
    for (const TRecGaranzia& g : readRegister(registerfiles::guarantees(ctx, year)))
        if (guaranteeDayCounts(g))
            a += g.nuovaCauzione() - g.riscattata();
    for (const TRecMovimento& m : readRegister(registerfiles::movements(ctx, year))) {
        if (commitsGuarantee(m))
            a -= m.garanzia;
        else if (releasesGuarantee(m))
            a += m.garanzia;
    }
    return a;
}

// The balance at the start of `year`; with a writer, the carry-overs of the
// years before it are written back.
double balanceAtStart(const AppContext& ctx, int year, AppContext* writer)
{
    const int oldest = oldestYear(ctx, year);
    double a = storedCarryOver(ctx, oldest - 1).value_or(0);
    if (oldest >= year || !writer) {
        for (int y = oldest; y < year; ++y)
            a += yearMovement(ctx, y);
        return a;
    }
    QList<std::pair<int, double>> carried;
    for (int y = oldest; y < year; ++y) {
        a += yearMovement(ctx, y);
        carried << std::pair{y, a};
    }
    const QString path = registerfiles::carryOvers(ctx);
    FileGroup group({path}, &writer->messenger());
    group.run([&](FileGroup& g) {
        QList<QByteArray> records = g.read(path, TRecGaranzia::Size);
        bool changed = false;
        for (const auto& [y, balance] : carried) {
            auto at = std::find_if(
                records.begin(), records.end(), [y = y](const QByteArray& b) { return RecordFile::numberOf(b) == y; });
            TRecGaranzia r = blankRegisterRecord();
            if (at != records.end())
                r = decodeRegisterRecord(*at);
            if (at != records.end() && r.disponibile() == balance)
                continue;
            r.numero = y;
            r.registro = QStringLiteral("F");
            r.disponibile() = balance;
            if (at != records.end())
                *at = encodeRegisterRecord(r);
            else
                records << encodeRegisterRecord(r);
            changed = true;
        }
        if (changed)
            g.replace(path, TRecGaranzia::Size, records);
    });
    return a;
}

} // namespace

bool commitsGuarantee(const TRecMovimento& r)
{
    return oneOf(r.tipoDocumento, {"EAD", "FBE", "DAA", "COD", "FBC"}) &&
        codeIs(r.operazione, RegisterOperation::Insert) && !codeIs(r.stato, RegisterState::Superseded);
}

bool releasesGuarantee(const TRecMovimento& r)
{
    if (codeIs(r.stato, RegisterState::Superseded))
        return false;
    return (oneOf(r.tipoDocumento, {"ROR", "FBR"}) && codeIs(r.operazione, RegisterOperation::Insert) &&
               codeIs(r.tipoMovimento, QStringLiteral("A"))) ||
        codeIs(r.operazione, RegisterOperation::Conclusion);
}

bool guaranteeDayCounts(const TRecGaranzia& g)
{
    return codeIs(g.operazione, RegisterOperation::Insert) && !codeIs(g.stato, RegisterState::Superseded);
}

std::optional<double> storedCarryOver(const AppContext& ctx, int year)
{
    for (const TRecGaranzia& r : readRegister(registerfiles::carryOvers(ctx)))
        if (r.numero == year)
            return r.disponibile();
    return std::nullopt;
}

GuaranteeDay guaranteeDay(AppContext& ctx, double date)
{
    GuaranteeDay d;
    d.day = registerDay(date);
    const int year = registerYear(d.day);
    if (year <= 0)
        throw IoError(QStringLiteral("DATA NON VALIDA"));
    double a = balanceAtStart(ctx, year, &ctx);
    for (const TRecGaranzia& g : readRegister(registerfiles::guarantees(ctx, year))) {
        const double gd = registerDay(g.data);
        if (gd == d.day) {
            if (g.numeroFlusso == 0 && !codeIs(g.stato, RegisterState::Superseded))
                d.unsent = g;
            if (guaranteeDayCounts(g) && g.numeroFlusso > 0)
                d.sentExists = true;
        } else if (gd < d.day && guaranteeDayCounts(g)) {
            a += g.nuovaCauzione() - g.riscattata();
        }
    }
    for (const TRecMovimento& m : readRegister(registerfiles::movements(ctx, year))) {
        const double md = registerDay(m.data);
        if (commitsGuarantee(m)) {
            if (md < d.day)
                a -= m.garanzia;
            else if (md == d.day)
                d.impegnato += m.garanzia;
        } else if (releasesGuarantee(m)) {
            if (md < d.day)
                a += m.garanzia;
            else if (md == d.day)
                d.svincolato += m.garanzia;
        }
    }
    d.before = a;
    return d;
}

QList<std::pair<std::int32_t, double>> recomputedBalances(const AppContext& ctx, int year)
{
    return recomputedBalances(ctx, year, readRegister(registerfiles::guarantees(ctx, year)),
        readRegister(registerfiles::movements(ctx, year)));
}

QList<std::pair<std::int32_t, double>> recomputedBalances(
    const AppContext& ctx, int year, const QList<TRecGaranzia>& days, QList<TRecMovimento> movements)
{
    double a = balanceAtStart(ctx, year, nullptr);
    // Days in order: every movement and deposit up to and including a day is in
    // its balance.
    QList<double> ordered;
    for (const TRecGaranzia& g : days)
        ordered << registerDay(g.data);
    std::sort(ordered.begin(), ordered.end());
    ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
    QHash<double, double> balanceAfter;
    qsizetype mi = 0;
    std::stable_sort(movements.begin(), movements.end(),
        [](const TRecMovimento& x, const TRecMovimento& y) { return registerDay(x.data) < registerDay(y.data); });
    for (double day : ordered) {
        for (; mi < movements.size() && registerDay(movements[mi].data) <= day; ++mi) {
            if (commitsGuarantee(movements[mi]))
                a -= movements[mi].garanzia;
            else if (releasesGuarantee(movements[mi]))
                a += movements[mi].garanzia;
        }
        for (const TRecGaranzia& g : days)
            if (registerDay(g.data) == day && guaranteeDayCounts(g))
                a += g.nuovaCauzione() - g.riscattata();
        balanceAfter.insert(day, a);
    }
    QList<std::pair<std::int32_t, double>> out;
    for (const TRecGaranzia& g : days)
        out << std::pair{g.numero, balanceAfter.value(registerDay(g.data))};
    return out;
}

double recomputedBalance(const QList<std::pair<std::int32_t, double>>& balances, std::int32_t numero)
{
    for (const auto& [n, balance] : balances)
        if (n == numero)
            return balance;
    return 0;
}

QHash<double, DayTotals> movementTotalsByDay(const AppContext& ctx, int year)
{
    QHash<double, DayTotals> totals;
    for (const TRecMovimento& m : readRegister(registerfiles::movements(ctx, year))) {
        if (commitsGuarantee(m))
            totals[registerDay(m.data)].impegnato += m.garanzia;
        else if (releasesGuarantee(m))
            totals[registerDay(m.data)].svincolato += m.garanzia;
    }
    return totals;
}

bool sameAmount(double a, double b)
{
    RoundTo(a, 2);
    RoundTo(b, 2);
    return std::abs(a - b) <= 0.001;
}

} // namespace vt
