#include "messages/transmission/Transmission.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include "foundation/IoError.h"
#include "foundation/Text.h"
#include "messages/flows/FlowName.h"
#include "messages/transmission/soap/GsoapCustomsService.h"

namespace vt::transmit {

namespace {

void writeDetails(const QString& path, const QStringList& lines)
{
    QSaveFile f(path);
    const QByteArray bytes = outcome::detailsBytes(lines);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw IoError(QStringLiteral("IMPOSSIBILE SCRIVERE %1: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
}

} // namespace

QString connectionError()
{
    return QStringLiteral("Errore di connessione, verifica la disponibilità del sito delle dogane");
}

QString putAnswer(const QString& answer)
{
    return QStringLiteral("risposta del webservice: ") + answer;
}

QString attemptFailed(int attempt)
{
    return QStringLiteral("Tentativo di connessione N. %1, verifica la disponibilità del sito delle dogane").arg(attempt);
}

QString flowFilePath(const AppContext& ctx)
{
    return flow::pathIn(ctx.AppConfig.Fld[1], ctx.Transmit.flowName);
}

QString signedFilePath(const AppContext& ctx)
{
    return flow::pathIn(ctx.AppConfig.Fld[2], flow::signedName(ctx.Transmit.flowName));
}

QString detailsPath(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("DETTAGLI.TXT"));
}

QString attachmentPath(const AppContext& ctx)
{
    return ctx.temp(QStringLiteral("ESITO.ALLEGATO"));
}

CustomsService& service(AppContext& ctx)
{
    static GsoapCustomsService soapClient;
    return ctx.Customs ? *ctx.Customs : soapClient;
}

bool validHost(const QString& host)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?(:([0-9]{1,5}))?$"));
    const auto m = re.match(host);
    if (!m.hasMatch())
        return false;
    if (m.capturedLength(3) > 0) { // the digits after the colon
        const int port = m.captured(3).toInt();
        return port >= 1 && port <= 65535;
    }
    return true;
}

Endpoint endpointFor(const AppContext& ctx, bool real)
{
    Endpoint e;
    const QString host = trimField(ctx.WebConfig.Fld[real ? 8 : 9]);
    const QString env = real ? QStringLiteral("REALE") : QStringLiteral("PROVA");
    if (host.isEmpty())
        e.problem = QStringLiteral("NON E' STATO INDICATO L'INDIRIZZO DEL SERVIZIO TELEMATICO FILE (%1) "
                                   "NEGLI INDIRIZZI WEB")
                        .arg(env);
    else if (!validHost(host))
        e.problem = QStringLiteral("L'INDIRIZZO DEL SERVIZIO TELEMATICO FILE (%1) NON E' VALIDO: %2 "
                                   "(INDICARE host OPPURE host:porta)")
                        .arg(env, host);
    e.endpoint = CustomsEndpoint{host, ctx.CustomsCaFile, ctx.TempFolder};
    return e;
}

QByteArray readSigned(const QString& signedPath)
{
    QFile f(signedPath);
    if (!f.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("IMPOSSIBILE LEGGERE %1: %2").arg(QDir::toNativeSeparators(signedPath), f.errorString()));
    return f.readAll();
}

PutResult put(CustomsService& service, const CustomsEndpoint& endpoint, const QByteArray& bytes, const QString& name)
{
    PutResult r;
    const CustomsReply reply = service.put(endpoint, bytes, name);
    if (!reply.ok) {
        r.connectionFailed = true;
        r.answer = QStringLiteral("ERRORE");
    } else {
        r.answer = reply.text;
    }
    r.succeeded = takenInCharge(r.answer);
    return r;
}

bool takenInCharge(const QString& answer)
{
    // A word of its own: "insuccesso" says the opposite.
    static const QRegularExpression word(QStringLiteral("(?<!\\w)successo(?!\\w)"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::UseUnicodePropertiesOption);
    return word.match(answer).hasMatch();
}

void prepareOutcome(const AppContext& ctx)
{
    {
        const QString att = attachmentPath(ctx);
        if (QFile::exists(att) && !QFile::remove(att))
            throw IoError(QStringLiteral("IMPOSSIBILE CANCELLARE %1").arg(QDir::toNativeSeparators(att)));
    }
    writeDetails(detailsPath(ctx), outcome::notReceivedDetails());
}

bool getAttempt(CustomsService& service, const CustomsEndpoint& endpoint, const QString& outcomeName,
                const QString& attachmentPath)
{
    return service.get(endpoint, outcomeName, attachmentPath).ok;
}

outcome::Outcome finishOutcome(const AppContext& ctx)
{
    QFile att(attachmentPath(ctx));
    if (!att.exists())
        return outcome::Outcome{outcome::negative(), outcome::notReceivedDetails()};
    if (!att.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("IMPOSSIBILE LEGGERE %1: %2").arg(QDir::toNativeSeparators(att.fileName()), att.errorString()));
    outcome::Outcome o = outcome::parse(att.readAll(), ctx.Transmit.kind);
    writeDetails(detailsPath(ctx), o.details);
    return o;
}

} // namespace vt::transmit
