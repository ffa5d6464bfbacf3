#pragma once
// Replacing a file so that a crash leaves the old content or the new one, never a torn file:
// the new content goes into a temporary file beside the target, is flushed to the device, and is
// then renamed over the target. A temporary is named the target's name + ".~NUOVO~" + sixteen
// random lower-case hex digits (2024.RGM.~NUOVO~3f0a9c1b2d4e5f67): a name nobody types.
//
// A crash before the rename leaves the temporary behind; whoever next holds the target's lock
// removes it (removeLeftovers). Only names of exactly that form are ever removed: a person's copy
// beside the file (2024.RGM.BACKUP, 2024.RGM.COPIA1) is left alone.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace vt::atomicfile {

// Writes `content` into a fresh temporary beside `target` and flushes it to the device; returns
// the temporary's path. Raises IoError (and leaves no temporary) when it cannot.
QString writeTemporary(const QString& target, const QByteArray& content);
// The same, the content given as pieces written one after the other (no copy of the whole).
QString writeTemporary(const QString& target, const QList<QByteArrayView>& pieces);

// Renames `temporary` over `target`, replacing it. A refusal that may pass (another program
// reading the target on a system that forbids replacing an open file) is retried briefly.
// Raises IoError when it keeps failing.
void moveOver(const QString& temporary, const QString& target);

// Writes `content` as the whole new content of `target`: writeTemporary, then moveOver.
void replace(const QString& target, const QByteArray& content);
void replace(const QString& target, const QList<QByteArrayView>& pieces);

// Flushes the entries of a folder (a rename or a removal) to the device where the system allows it.
void syncFolder(const QString& folder);

// Writes a small file and flushes it to the device; raises IoError when it cannot.
void writeFlushed(const QString& path, const QByteArray& content);

// Whether `name` (a bare file name) is a temporary of the file named `target` (a bare file name).
bool isTemporaryOf(const QString& name, const QString& target);
// The bare name of the file whose temporary `name` (a bare file name) is; empty when `name` is not
// a temporary.
QString temporaryTarget(const QString& name);

// Removes the temporaries left beside `target` by interrupted rewrites. Only for a caller that
// holds the target's lock: nobody else can be writing one then.
void removeLeftovers(const QString& target);

} // namespace vt::atomicfile
