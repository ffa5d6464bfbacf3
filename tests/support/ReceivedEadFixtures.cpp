#include "support/ReceivedEadFixtures.h"

namespace vt::test {

namespace {

QString escaped(const QString& s)
{
    QString e = s;
    e.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    e.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    e.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return e;
}

} // namespace

QByteArray receivedEadXml(const ReceivedEadDraft& s)
{
    const QString p = s.prefix.isEmpty() ? QString() : s.prefix + QLatin1Char(':');
    auto el = [&p](const QString& name, const QString& value) {
        return value.isNull() ? QString() : QStringLiteral("<%1%2>%3</%1%2>").arg(p, name, escaped(value));
    };
    QString x;
    if (s.declaration)
        x += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    const QString ns = QStringLiteral("urn:publicid:-:EC:DGTAXUD:EMCS:PHASE4:IE801:V3.13");
    x += s.prefix.isEmpty() ? QStringLiteral("<IE801 xmlns=\"%1\">\n").arg(ns)
                            : QStringLiteral("<%1IE801 xmlns:%2=\"%3\">\n").arg(p, s.prefix, ns);
    x += QStringLiteral("  <%1Header>%2%3</%1Header>\n")
             .arg(p, el(QStringLiteral("MessageSender"), QStringLiteral("NDEA.FR")),
                  el(QStringLiteral("DateOfPreparation"), QStringLiteral("2026-12-01")));
    x += QStringLiteral("  <%1Body><%1EADESADContainer>\n").arg(p);
    x += QStringLiteral("    <%1ConsigneeTrader language=\"it\">%2%3%4</%1ConsigneeTrader>\n")
             .arg(p, el(QStringLiteral("Traderid"), s.consigneeId), el(QStringLiteral("TraderName"), s.consigneeName),
                  el(QStringLiteral("City"), s.consigneeCity));
    x += QStringLiteral("    <%1ExciseMovement>%2%3</%1ExciseMovement>\n")
             .arg(p, el(QStringLiteral("AdministrativeReferenceCode"), s.arc),
                  el(QStringLiteral("DateAndTimeOfValidationOfEad"), s.validation));
    x += QStringLiteral("    <%1ConsignorTrader language=\"fr\">\n      %2\n      %3\n      %4\n      %5\n      %6\n      %7\n    </%1ConsignorTrader>\n")
             .arg(p, el(QStringLiteral("TraderExciseNumber"), s.consignorExcise),
                  el(QStringLiteral("TraderName"), s.consignorName), el(QStringLiteral("StreetName"), s.consignorStreet),
                  el(QStringLiteral("StreetNumber"), s.consignorNumber),
                  el(QStringLiteral("Postcode"), s.consignorPostcode), el(QStringLiteral("City"), s.consignorCity));
    x += s.extraAfterConsignor;
    x += QStringLiteral("    <%1EadEsad>%2%3%4</%1EadEsad>\n")
             .arg(p, el(QStringLiteral("LocalReferenceNumber"), s.localReference),
                  el(QStringLiteral("InvoiceNumber"), QStringLiteral("FA-778")),
                  el(QStringLiteral("SequenceNumber"), s.sequence));
    for (const ReceivedLineDraft& l : s.lines) {
        x += QStringLiteral("    <%1BodyEadEsad>\n").arg(p);
        x += QStringLiteral("      ") + el(QStringLiteral("BodyRecordUniqueReference"), l.reference) + QLatin1Char('\n');
        x += QStringLiteral("      ") + el(QStringLiteral("ExciseProductCode"), l.exciseProduct) + QLatin1Char('\n');
        x += QStringLiteral("      ") + el(QStringLiteral("CnCode"), l.cn) + QLatin1Char('\n');
        if (!l.cadd.isEmpty())
            x += QStringLiteral("      ") + el(QStringLiteral("CaddCode"), l.cadd) + QLatin1Char('\n');
        x += QStringLiteral("      ") + el(QStringLiteral("Quantity"), l.quantity) + QLatin1Char('\n');
        x += QStringLiteral("      ") + el(QStringLiteral("AlcoholicStrengthByVolumeInPercentage"), l.strength) + QLatin1Char('\n');
        x += QStringLiteral("      ") + el(QStringLiteral("CommercialDescription"), l.description) + QLatin1Char('\n');
        x += QStringLiteral("      ") + el(QStringLiteral("BrandNameOfProducts"), l.brand) + QLatin1Char('\n');
        x += QStringLiteral("      <%1Package>%2%3</%1Package>\n")
                 .arg(p, el(QStringLiteral("KindOfPackages"), QStringLiteral("BO")),
                      el(QStringLiteral("NumberOfPackages"), l.packages));
        x += QStringLiteral("    </%1BodyEadEsad>\n").arg(p);
    }
    x += QStringLiteral("  </%1EADESADContainer></%1Body>\n").arg(p);
    x += s.prefix.isEmpty() ? QStringLiteral("</IE801>\n") : QStringLiteral("</%1IE801>\n").arg(p);
    return x.toUtf8();
}

ReceivedLineDraft sampleReceivedLine(int n)
{
    ReceivedLineDraft l;
    l.reference = QString::number(n);
    l.quantity = QStringLiteral("%1.000").arg(n * 100);
    l.packages = QString::number(n * 10);
    l.description = QStringLiteral("Vino rosso riga %1").arg(n);
    return l;
}

} // namespace vt::test
