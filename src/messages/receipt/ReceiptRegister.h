#pragma once
// The register work records of a report of receipt (<arrival year>_818_RGM.DAT): one 520-byte
// register record per line of the received e-AD, from which the loads of the register are
// prepared later.
#include <QByteArray>
#include <QList>

#include "foundation/EadRecord.h"
#include "foundation/RegisterRecord.h"

namespace vt {

inline constexpr int RegisterWorkSize = TRecMovimento::Size;

// One record per e-AD line (app, in order), numbered with the report: the line's litres less the
// quantity refused in the report's line of the same number (lines), the package volume from the
// e-AD quantity, the ARC, the validation date, the consignor as counterpart.
QList<TRecMovimento> receiptRegisterWork(const TRecEad& report, const QList<TRecDettaglio>& app,
                                         const QList<TRecDettaglio>& lines);
// The same records as stored.
QList<QByteArray> receiptRegisterRecords(const TRecEad& report, const QList<TRecDettaglio>& app,
                                         const QList<TRecDettaglio>& lines);

} // namespace vt
