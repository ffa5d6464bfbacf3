#pragma once
// Received e-AD documents (IE801-like XML) as the customs system delivers them to the consignee,
// built field by field so that a test states what the document holds.
#include <QByteArray>
#include <QList>
#include <QString>

namespace vt::test {

struct ReceivedLineDraft {
    QString reference = QStringLiteral("1");
    QString exciseProduct = QStringLiteral("W200");
    QString cn = QStringLiteral("22042138");
    QString cadd;                                   // absent when empty
    QString quantity = QStringLiteral("1000.000");
    QString strength = QStringLiteral("12.50");
    QString description = QStringLiteral("Vino rosso Bordeaux AOC");
    QString brand = QStringLiteral("Chateau Lafleur");
    QString packages = QStringLiteral("0");
};

struct ReceivedEadDraft {
    QString prefix = QStringLiteral("ie");         // empty: default namespace, no prefix
    QString arc = QStringLiteral("26FRA00000000000001A1");
    QString validation = QStringLiteral("2026-12-01T10:15:00");
    QString localReference = QStringLiteral("LRN-FR-2026-0001");
    QString sequence = QStringLiteral("1");
    // The consignee block comes first in the document, as in the customs system's layout.
    QString consigneeId = QStringLiteral("IT00ABC00123X");
    QString consigneeName = QStringLiteral("Cantina Rossi S.r.l.");
    QString consigneeCity = QStringLiteral("Verona");
    QString consignorExcise = QStringLiteral("FR0AB1234567E");
    QString consignorName = QStringLiteral("Chateau Lafleur SARL");
    QString consignorStreet = QStringLiteral("Route des Vignes");
    QString consignorNumber = QStringLiteral("12");
    QString consignorPostcode = QStringLiteral("33500");
    QString consignorCity = QStringLiteral("Pomerol");
    QList<ReceivedLineDraft> lines = {ReceivedLineDraft{}};
    bool declaration = true;                        // the first line holds <?xml ... ?>
    QString extraAfterConsignor;                    // raw XML put after the consignor block
};

// The document as UTF-8 bytes.
QByteArray receivedEadXml(const ReceivedEadDraft& draft);

// Line n (1-based) of a sample e-AD: reference n, quantity n * 100 litres, n * 10 packages.
ReceivedLineDraft sampleReceivedLine(int n);

} // namespace vt::test
