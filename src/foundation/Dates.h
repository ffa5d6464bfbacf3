#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

namespace vt::dates {

// Dates in records are doubles counting days from 30/12/1899; the fraction is the time of day.
double fromDate(const QDate& d);
double fromDateTime(const QDateTime& dt);
QDate toDate(double value);          // invalid for a value that is not a representable date
QDateTime toDateTime(double value);

QString ddmmyyyy(double value);      // "dd/MM/yyyy"; "" for a date that cannot be written
QString yyyymmdd(double value);      // "yyyyMMdd"; "00000000" for a date that cannot be written
QDate parseDdmmyyyy(const QString& text); // invalid for anything that is not a real date

} // namespace vt::dates
