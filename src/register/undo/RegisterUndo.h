#pragma once
// Undoing register work that customs has not acquired: the records a flow
// carried made unsent again (reactivation), and unsent records deleted -
// movements, guarantee days, and unsent rectifications, which give the
// rectified record back its active state.
//
// Both work on records the user picked from a list built earlier: each is read
// again under the lock and acted on only when it is still exactly as it was
// listed; the others are named in the result and left alone. Every action is
// one change over the files it touches.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/RegisterRecord.h"

namespace vt {

struct AppContext;

struct UndoList {
    int year = 0;
    QList<TRecMovimento> records; // in list order, stored form
    QStringList lines;
};

struct UndoResult {
    int done = 0;
    QStringList refused; // one message per record left alone
};

// ---- Reactivation ----

// The records of the year's movement and guarantee files that carry the flow
// (date, number).
UndoList buildReactivationList(const AppContext& ctx, int year, const QDate& flowDate, int flowNumber);
// The last flow of a date: the number a new flow would be given, less one (0:
// none).
int lastFlowNumber(const AppContext& ctx, const QDate& flowDate);
// Resets the flow date and number of the chosen records that still carry that
// flow and are otherwise unchanged. Throws IoError.
UndoResult reactivateRecords(
    AppContext& ctx, int year, const QList<TRecMovimento>& chosen, const QDate& flowDate, int flowNumber);

// ---- Deletion ----

// The modes of deletion built here: 'C' loads, 'S' unloads, 'F' guarantee days;
// 'c', 's', 'f' the unsent rectifications of each.
bool deletionModeBuilt(QChar mode);
QString deletionCaption(QChar mode);
UndoList buildDeletionList(const AppContext& ctx, QChar mode, int year);
// Deletes the chosen records, or undoes the chosen rectifications. Throws
// IoError.
UndoResult deleteRecords(AppContext& ctx, QChar mode, int year, const QList<TRecMovimento>& chosen);

// The confirmation: only "SI" acts.
inline bool confirmsUndo(const QString& typed)
{
    return typed == QLatin1String("SI");
}

} // namespace vt
