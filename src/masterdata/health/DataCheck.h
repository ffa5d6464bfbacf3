#pragma once
// The health check of a data folder: reads every record file below a start
// folder (DATI_GEN, REGISTRI and, when given, the temporary folder) and lists
// what is wrong with them: damaged files and records, e-AD lines and messages
// that lost their e-AD, register files out of order or with broken numbering
// and links, guarantee balances that do not add up, and what an interrupted
// change left behind (lock markers, temporaries, journals, an interrupted
// restore). It only reads: it changes nothing and takes no lock.
#include <QJsonObject>
#include <QList>
#include <QString>

namespace vt::health {

enum class Severity { Error, Warning };

struct Finding {
  Severity severity = Severity::Error;
  QString kind; // stable identifier, e.g. "progressivo-buco"
  QString
      file; // relative to the start folder (or the temporary folder's own name)
  qint64 record =
      -1;       // record index in the file (from 0); -1 for the whole file
  QString text; // Italian, for people
};

struct CheckReport {
  QList<Finding> findings;
  int files = 0;      // record files read
  qint64 records = 0; // records read
  int errors() const;
  int warnings() const;
};

// Checks startFolder (its DATI_GEN and REGISTRI) and, when tempFolder is not
// empty, that folder.
CheckReport checkFolder(const QString &startFolder,
                        const QString &tempFolder = {});

// One line per finding, then a summary line.
QString toText(const CheckReport &report);
QJsonObject toJson(const CheckReport &report);

} // namespace vt::health
