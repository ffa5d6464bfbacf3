#pragma once
// The register flow: the unsent movements and guarantee days of a year gathered
// into the flow file that the customs agency receives, and the records marked
// with the flow date and number.
//
// The list offers every unsent record of the year (movements in file order,
// then guarantee days in file order) and names the days whose guarantee
// commitments or releases have no guarantee record. What travels together is
// ticked together and marked together: records sharing a `numero`, a
// rectification's cancellation and replacement, the lines of one conclusion or
// change of destination. A replacement never goes without its cancellation.
//
// The flow file is written first; the records are marked afterwards in one
// change over the movement and guarantee files, and only when each of them is
// still exactly as it was offered. When the marking is refused or fails, the
// flow file is removed again: nothing is marked that is not in the file and
// nothing is in a file that is not marked.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/CompanyRecord.h"
#include "foundation/RegisterRecord.h"

namespace vt {

struct AppContext;

// Line 2 closes with the number of data lines plus one (movements + guarantee
// days + 1).
inline constexpr int RegisterFlowClosingExtra = 1;

// The flow file's lines (without CR LF) for the records in flow order, stored
// form. Every byte is fixed by the agency's register layout; a TAB, CR or LF
// left in a stored text goes out as a space.
QStringList registerFlowLines(const TRecAzienda& company, const QString& flowName, const QList<TRecMovimento>& records);
// The same lines in Windows-1252, each ended by CR LF. Throws EncodingError.
QByteArray registerFlowBytes(const TRecAzienda& company, const QString& flowName, const QList<TRecMovimento>& records);

// The list of a year's unsent records.
struct RegisterFlowList {
    int year = 0;
    QList<TRecMovimento> records;       // offered, in list order (stored form)
    QStringList lines;                  // one list line per record
    QList<double> missingGuaranteeDays; // days needing a guarantee record without
                                        // one, in date order
    // The items that travel with item i (i included), in list order.
    QList<int> groupOf(int i) const;
    QList<QList<int>> groups; // for each item, its group
};
RegisterFlowList buildRegisterFlowList(const AppContext& ctx, int year);

// The list line of one record.
QString registerListLine(const TRecMovimento& r);
// "ATTENZIONE MANCA LA GARANZIA DEL dd/mm/yyyy"
QString missingGuaranteeMessage(double day);

inline const char* const NothingSelected = "NON E' STATO SELEZIONATO ALCUN MESSAGGIO";

struct RegisterFlowRequest {
    int year = 0;
    QList<TRecMovimento> records; // the ticked records as offered, in list order (whole groups)
    QDate flowDate;
    int flowNumber = 0;
    QString flowName;
    bool replaceSigned = false;
};

struct RegisterFlowWritten {
    QString flowPath;
    int movements = 0;
    int guaranteeDays = 0;
};

// The request for the ticked items of the list: every ticked item brings its
// whole group.
RegisterFlowRequest registerFlowRequest(const RegisterFlowList& list, const QList<int>& ticked);

// Why a flow date and number cannot be used for a new register flow (empty when
// they can): a register record of the year before, the year or the year after
// already carries them, or a flow of that name waits in the folder of files to
// sign.
QString registerFlowNumberTaken(const AppContext& ctx, const QDate& flowDate, int flowNumber);
// The number proposed for a date: the shared proposal, past every number
// register records carry.
int proposedRegisterFlowNumber(const AppContext& ctx, const QDate& flowDate);

// Writes the flow of the request and marks its records. Throws IoError (a
// record changed or gone since the list was built, a character the code page
// cannot hold, a file that cannot be written); then the register and the folder
// of files to sign are as they were.
RegisterFlowWritten writeRegisterFlow(AppContext& ctx, const RegisterFlowRequest& request);

// Told after the transmission window closes when the real environment refused
// the flow.
inline const char* const RegisterFlowRefused = "IL FLUSSO E' STATO SCARTATO DAL SISTEMA TELEMATICO: I RECORD RESTANO "
                                               "CONTRASSEGNATI COME INVIATI. "
                                               "DOPO AVER CORRETTO GLI ERRORI USARE \"Azzera i dati di invio di un "
                                               "flusso\" PER RIMETTERLI NELL'ELENCO";

} // namespace vt
