#pragma once
#include <QString>

namespace vt {

struct AppContext;
struct TRecTabella;

// The precondition of every e-AD and register action: the company data entered (authorisation
// type "1" or "2" in UTENTE.001), the four paths of APPL.CFG and the first seven web addresses of
// WEB.CFG filled in. Reloads ctx.CompanyRecord, ctx.AppConfig and ctx.WebConfig (trimmed) and
// shows every applicable message, in that order, before answering. Throws IoError for a damaged
// or unreadable file.
bool StartupCheck(AppContext& ctx);

// The first record of a one-record configuration file (APPL.CFG, WEB.CFG), trimmed; a blank row
// when the file is missing or empty.
TRecTabella readConfig(const QString& path);

inline constexpr const char* MsgNoCompany = "NON SONO STATI COMPILATI I DATI AZIENDALI";
inline constexpr const char* MsgNoAppPaths = "NON SONO STATI INDICATI I PERCORSI DELLE APPLICAZIONI";
inline constexpr const char* MsgNoWebPaths = "NON SONO STATI INDICATI I PERCORSI WEB";

} // namespace vt
