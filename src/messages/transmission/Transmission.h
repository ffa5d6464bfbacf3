#pragma once
// The steps of a flow's transmission, used by the transmission window: the paths involved, the
// endpoint of an environment, put of the signed file, the get attempts and the outcome details.
// The service calls block and touch no shared state, so the window runs them off its thread; the
// messages are the window's to show, in order.
#include <QString>

#include "foundation/AppContext.h"
#include "foundation/CustomsService.h"
#include "messages/transmission/OutcomeParser.h"

namespace vt::transmit {

// Messages of the transmission.
QString connectionError();                // "Errore di connessione, ..."
QString putAnswer(const QString& answer); // "risposta del webservice: " + answer
QString attemptFailed(int attempt);       // "Tentativo di connessione N. " + attempt + ", ..."

// Paths of the flow in ctx.Transmit.
QString flowFilePath(const AppContext& ctx);   // folder of files to sign + flow name
QString signedFilePath(const AppContext& ctx); // folder of signed files + flow name + ".p7m"
QString detailsPath(const AppContext& ctx);    // TempFolder/DETTAGLI.TXT
QString attachmentPath(const AppContext& ctx); // TempFolder/ESITO.ALLEGATO (the program's own name)

// The service in ctx, or the gSOAP client.
CustomsService& service(AppContext& ctx);

// The endpoint of the real (WEB.CFG Fld[8]) or test (Fld[9]) environment; problem says why there
// is none (empty or malformed host), and no call is made then.
struct Endpoint {
    CustomsEndpoint endpoint;
    QString problem;
};
Endpoint endpointFor(const AppContext& ctx, bool real);
// "host" or "host:port": letters, digits, dots and dashes, an optional port 1-65535.
bool validHost(const QString& host);

// put of the signed file's bytes under its file name. Blocking; no messages.
struct PutResult {
    bool connectionFailed = false; // the call failed: the answer is "ERRORE"
    QString answer;
    bool succeeded = false;        // the answer contains the word "successo"
};
// The answer of put says the file was taken in charge: "successo" as a word of its own, in any
// case ("insuccesso" is a failure).
bool takenInCharge(const QString& answer);
// Throws IoError when the signed file cannot be read.
QByteArray readSigned(const QString& signedPath);
PutResult put(CustomsService& service, const CustomsEndpoint& endpoint, const QByteArray& bytes, const QString& name);

// Before the get attempts: the left-over attachment deleted and DETTAGLI.TXT holding the two
// lines saying no details arrived. Throws IoError.
void prepareOutcome(const AppContext& ctx);
// One get attempt of the outcome name; true when the service answered. Blocking; no messages.
bool getAttempt(CustomsService& service, const CustomsEndpoint& endpoint, const QString& outcomeName,
                const QString& attachmentPath);
// After the attempts: with an attachment, DETTAGLI.TXT rewritten from it. Returns the result and
// the details now in DETTAGLI.TXT. Throws IoError.
outcome::Outcome finishOutcome(const AppContext& ctx);

inline constexpr int GetAttempts = 3;

} // namespace vt::transmit
