// Decoders of the e-AD record files: headers (TRecEad) and lines (TRecDettaglio), with the field
// names of each file where the same slot means something else there.
#include <QMap>

#include "Inspect.h"
#include "foundation/Dates.h"
#include "foundation/EadRecord.h"

namespace {
using namespace vt;
using Names = QMap<QString, QString>; // member name -> name in this file

QJsonObject renamed(const QJsonObject& in, const Names& names)
{
    if (names.isEmpty())
        return in;
    QJsonObject out;
    for (auto it = in.begin(); it != in.end(); ++it)
        out.insert(names.value(it.key(), it.key()), it.value());
    return out;
}

// Date fields also shown as dd/mm/yyyy, next to their day count.
void addDates(QJsonObject& o, const QStringList& dateFields)
{
    for (const QString& name : dateFields)
        if (o.contains(name))
            o.insert(name + QStringLiteral("_data"), dates::ddmmyyyy(o.value(name).toDouble()));
}

inspect::Decoder header(const QString& kind, const QString& pattern, const Names& names, const QStringList& dateFields)
{
    return {kind, QRegularExpression(pattern), TRecEad::Size, [names, dateFields](const QByteArray& rec, const QString&) {
                TRecEad r = decodeEad(rec);
                eadToWorkingForm(r);
                QJsonObject o = renamed(recordToJson(r), names);
                addDates(o, dateFields);
                return o;
            }};
}

inspect::Decoder lines(const QString& kind, const QString& pattern, const Names& names)
{
    return {kind, QRegularExpression(pattern), TRecDettaglio::Size, [names](const QByteArray& rec, const QString&) {
                TRecDettaglio r = decodeLine(rec);
                lineToWorkingForm(r);
                return renamed(recordToJson(r), names);
            }};
}

const QStringList kEadDates = {QStringLiteral("dataFlusso"), QStringLiteral("DATFAT"), QStringLiteral("DATSPE")};

const Names kTransport = {
    {"CODIMB", "UNITRA"}, {"COAZPR", "SIGTRA"}, {"LEDEPR", "INSITR"}, {"META20", "IDUNTR"}, {"SIGIMB", "INAGTR"},
};

const Names kCancellation = {
    {"LINGUA", "linguaNota"},
    {"TIPMES", "MOTANN"},
    {"DENTRG", "descrizioneMotivo"},
    {"DENPRG", "NOTMOT"},
};

const Names kChange = {
    {"progressivo", "numeroCambio"},
    {"progressivoRif", "eadCambiato"},
    {"UFFSPE", "ufficioDestinazione"},
    {"ufficioCompetente", "ufficioDestinazione2"},
    {"tipoSpeditore", "tipoAutorizzazione"},
};

const Names kChangeLines = {
    {"progressivo", "numeroCambio"},
    {"CODIMB", "UNITRA"},
    {"COAZPR", "SIGTRA"},
    {"LEDEPR", "INSITR"},
    {"META20", "IDUNTR"},
    {"SIGIMB", "INAGTR"},
};

const Names kReport = {
    {"progressivo", "numeroNota"},
    {"LINGUA", "lingua"},
    {"progressivoRif", "numeroSequenzaEad"},
    {"stato", "statoInvio"},
    {"uffesp", "ufficioDestinazione"},
    {"secondoDenominazione", "nota201_300"},
    {"IMGATR", "dataValidazione"},
    {"IMGPRO", "dataArrivo"},
    {"DENTRG", "nota101_200"},
    {"DENPRG", "nota1_100"},
    {"LINPRG", "esitoRicezione"},
};

const Names kReportLines = {
    {"numero", "numeroNota"},
    {"progressivo", "numeroNota2"},
    {"rigaProdotto", "rigaEad"},
    {"categoria", "indicatore"},
    {"codiceAccisa", "codiceProdottoAccisa"},
    {"zona", "motivi"},
    {"COAZPR", "notaRiga"},
    {"LEDEPR", "marca"},
    {"META20", "ProductKey"},
    {"SIGIMB", "descrizioneCommerciale"},
    {"NUMIMB", "confezioni"},
    {"NUMCON", "differenza"},
    {"VOLCON", "quantitaRifiutata"},
    {"TOTLIT", "quantitaEad"},
    {"GRADOA", "gradoAlcolico"},
};

const Names kReceived = {
    {"progressivo", "MessageNumber"},
    {"riferimentoLocale", "LocalReferenceNumber"},
    {"progressivoRif", "SequenceNumber"},
    {"ARC", "AdministrativeReferenceCode"},
    {"IMGATR", "DateAndTimeOfValidationOfEad"},
};

const Names kReceivedLines = {
    {"numero", "MessageNumber"},
    {"progressivo", "MessageNumber2"},
    {"rigaProdotto", "BodyRecordUniqueReference"},
    {"codiceAccisa", "ExciseProductCode"},
    {"codiceCadd", "CaddCode"},
    {"codiceNC", "CnCode"},
    {"LEDEPR", "BrandNameOfProducts"},
    {"META20", "ProductKey"},
    {"SIGIMB", "CommercialDescription"},
    {"NUMIMB", "NumberOfPackages"},
    {"TOTLIT", "Quantity"},
    {"GRADOA", "AlcoholicStrength"},
};

inspect::Register eadHeaders{header("e-AD header", "^\\d{4}_815_A\\.DAT$", {}, kEadDates)};
inspect::Register eadTransport{lines("e-AD transport line", "^(\\d{4}_815_I|TRASPORTO)\\.DAT$", kTransport)};
inspect::Register eadProducts{lines("e-AD product line", "^(\\d{4}_815_C|PRODOTTI)\\.DAT$", {})};
inspect::Register cancellations{header("cancellation (IE810)", "^\\d{4}_810\\.DAT$", kCancellation, kEadDates)};
inspect::Register changes{header("change of destination (IE813)", "^\\d{4}_813\\.DAT$", kChange, kEadDates)};
inspect::Register changeLines{lines("change of destination transport line", "^\\d{4}_813_P\\.DAT$", kChangeLines)};
inspect::Register reports{header("report of receipt (IE818)", "^\\d{4}_818_J\\.DAT$", kReport,
                                 {"dataFlusso", "dataValidazione", "dataArrivo"})};
inspect::Register reportLines{lines("report of receipt line", "^(\\d{4}_818_K\\.DAT|DETTAGLI\\.818)$", kReportLines)};
inspect::Register received{header("received e-AD", "^XML\\.DAT$", kReceived, {"DateAndTimeOfValidationOfEad"})};
inspect::Register receivedLines{lines("received e-AD line", "^XML\\.ITE$", kReceivedLines)};
} // namespace
