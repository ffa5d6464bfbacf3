#pragma once
// Flow names and numbers, shared by every flow kind (IE815, IE810, IE813, IE818, register).
//
// A flow is named by the company's user code + MMDD of the flow date + ".C" + the flow number as
// two digits (ABCD1209.C03); its signed file adds ".p7m"; the customs service answers it under the
// same name with "J" in place of "C" (ABCD1209.J03.p7m). Numbers run from 1 to 99 per flow date,
// and a flow counts once its signed file exists.
#include <QDate>
#include <QString>

#include <optional>

#include "foundation/Transmission.h"

namespace vt {

namespace flow {

inline constexpr int MaxNumber = 99;

// The name used while no valid number has been entered.
QString errorName(); // "ERRORE"

// Why a user code cannot name a flow file (empty when it can). The name becomes a path inside the
// folders of files to sign and signed files, so only four plain letters and digits are accepted:
// separators, "..", dots, blanks and characters a file name cannot hold are refused.
QString userCodeProblem(const QString& userCode);

// The 12-character flow name, or "ERRORE" when the number is outside 1..99, the date is invalid or
// the user code is refused.
QString flowName(const QString& userCode, const QDate& date, int number);

// The signed file's name: flow name + ".p7m".
QString signedName(const QString& flowName);

// The name under which the outcome is asked: the signed file's name with its 10th character
// replaced by "J" (ABCD1209.C03.p7m -> ABCD1209.J03.p7m).
QString outcomeName(const QString& signedFileName);

// 1 + the highest flow number among the files of signedFolder named userCode + MMDD + ".C*"
// (the number read from the 11th and 12th characters, stopping at the first non-digit; no digit
// counts 0); 1 when there is none. The comparison ignores case, as the users' file system does.
int proposedNumber(const QString& signedFolder, const QString& userCode, const QDate& date);

// A folder as configured (APPL.CFG), trimmed, with "\" or "/" separators, ending or not with one:
// the same folder in Qt's form, without trailing separator.
QString configuredFolder(const QString& configured);

// The path of name inside a configured folder.
QString pathIn(const QString& configuredFolder, const QString& name);

} // namespace flow
} // namespace vt
