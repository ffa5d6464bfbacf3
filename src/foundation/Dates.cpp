#include "foundation/Dates.h"

#include <cmath>

namespace vt::dates {

namespace {
const QDate epoch(1899, 12, 30);
}

double fromDate(const QDate& d)
{
    return d.isValid() ? static_cast<double>(epoch.daysTo(d)) : 0.0;
}

double fromDateTime(const QDateTime& dt)
{
    if (!dt.isValid())
        return 0.0;
    return fromDate(dt.date()) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

QDate toDate(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return {};
    QDate d = epoch.addDays(static_cast<qint64>(std::floor(value)));
    if (!d.isValid() || d.year() < 1 || d.year() > 9999)
        return {};
    return d;
}

QDateTime toDateTime(double value)
{
    QDate d = toDate(value);
    if (!d.isValid())
        return {};
    double frac = value - std::floor(value);
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::llround(frac * 86400000.0)) % 86400000));
}

QString ddmmyyyy(double value)
{
    QDate d = toDate(value);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString yyyymmdd(double value)
{
    QDate d = toDate(value);
    return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("00000000");
}

QDate parseDdmmyyyy(const QString& text)
{
    return QDate::fromString(text.trimmed(), QStringLiteral("dd/MM/yyyy"));
}

} // namespace vt::dates
