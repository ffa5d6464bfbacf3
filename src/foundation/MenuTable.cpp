#include "foundation/MenuTable.h"

#include <array>

namespace vt {

namespace {
using S = MenuSequence;

constexpr MenuItem item(int page, const char* sub, const char* caption, const char* action, int tag, char op,
                        unsigned flags, const char* table, bool check, S seq, const char* window,
                        const char* hint = nullptr, bool visible = true)
{
    return MenuItem{page, sub, MenuKind::Item, caption, action, tag, op, flags, table, check, seq, window, hint, visible};
}

constexpr MenuItem sep(int page, const char* sub)
{
    return MenuItem{page, sub, MenuKind::Separator, nullptr, nullptr, NoTag, 0, 0, nullptr, false, S::Show, nullptr};
}

// Page "Dati Generali": never guarded by StartupCheck.
constexpr const char* DA = "&Dati Aziendali";
constexpr const char* IN = "I&ndirizzario";
constexpr const char* CT = "&Codici e Tabelle";
constexpr const char* CF = "C&onfigurazione";
constexpr const char* CD = "Co&pie dei Dati";

constexpr MenuItem codeTable(const char* caption, const char* action, int tag, const char* table)
{
    return item(0, CT, caption, action, tag, 0, ClearNewCodeMode, table, false, S::Show, "TFCODICI");
}

// Page "e-AD".
constexpr const char* E815 = "&e-AD (IE815)";
constexpr const char* E810 = "&Annulla e-AD (IE810)";
constexpr const char* E813 = "&Cambio di Destinazione (IE813)";
constexpr const char* E818 = "&Nota di Ricezione (IE818)";
constexpr const char* ECOL = "C&ollegamenti";

constexpr MenuItem lifecycle(const char* sub, const char* caption, const char* action, int tag,
                             const char* hint = nullptr)
{
    return item(1, sub, caption, action, tag, 0, 0, nullptr, true, S::Lifecycle, "LIFECYCLE", hint);
}

constexpr MenuItem link(int page, const char* sub, const char* caption, const char* action, int tag)
{
    return item(page, sub, caption, action, tag, 0, 0, nullptr, true, S::Link, nullptr);
}

// Page "Registro".
constexpr const char* REM = "&e-AD emessi";
constexpr const char* RCO = "&Conclusione e-AD emessi";
constexpr const char* RCD = "C&ambio destinazione";
constexpr const char* RGA = "&Garanzie";
constexpr const char* RRI = "e-A&D ricevuti";
constexpr const char* RFL = "&Flussi per la dogana";
constexpr const char* RRE = "&Registri";

constexpr MenuItem movement(const char* sub, const char* caption, const char* action, int tag, char op,
                            unsigned flags)
{
    return item(2, sub, caption, action, tag, op, flags, nullptr, true, S::Movement, nullptr);
}

constexpr MenuItem guarantee(const char* caption, const char* action, int tag, char op, unsigned flags)
{
    return item(2, RGA, caption, action, tag, op, flags, nullptr, true, S::Guarantee, "TFGARANZIA");
}

constexpr MenuItem show2(const char* sub, const char* caption, const char* action, int tag, char op,
                         const char* window, bool check = false, unsigned flags = 0)
{
    return item(2, sub, caption, action, tag, op, flags, nullptr, check, S::Show, window);
}

constexpr auto kItems = std::to_array<MenuItem>({
    // ---- Dati Generali ----
    item(0, DA, "&Protocollo Registro Dogana", "APROTOCOLLO", NoTag, 0, 0, "PROTOCOLLI", false, S::Show, "TFPROTREGISTRI"),
    item(0, DA, "&Vini dell'Azienda", "AVINI", NoTag, 0, SetFromMenu, nullptr, false, S::Show, "TFPRODAZIEND"),
    item(0, DA, "&Dati dell'Azienda", "AAZIENDA", NoTag, 0, 0, nullptr, false, S::Show, "TFDATIAZIENDA"),
    item(0, DA, "&Altre Sedi Autorizzate (002...)", "AALTRESEDI", NoTag, 0, 0, nullptr, false, S::AltreSedi, "TFALTRESEDI"),

    item(0, IN, "&Inserisce Destinatari DAA", "AINSDEST", NoTag, 0, SetFromMenu, nullptr, false, S::Show, "TFINSDESTINATARI"),
    item(0, IN, "&Modifica Destinatari DAA", "AMODDESTIN", NoTag, 0, 0, "INDIRIZZI_D", false, S::AddressPick, "TFMODDESTINATARI"),
    item(0, IN, "&Cancella Destinatari DAA", "ACANCDESTIN", 0, 0, 0, "INDIRIZZI_D", false, S::AddressPick, "TFCANCDESTIN"),
    sep(0, IN),
    item(0, IN, "I&nserisce Aziende di Trasporto", "AINSTRASP", 1, 0, SetFromMenu, "INDIRIZZI_T", false, S::Show, "TFINSINDIRIZZO"),
    item(0, IN, "M&odifica Aziende di Trasporto", "AMODTRASP", 1, 0, 0, "INDIRIZZI_T", false, S::AddressPick, "TFMODINDIRIZZO"),
    item(0, IN, "C&ancella Aziende di Trasporto", "ACANCTRASP", 1, 0, 0, "INDIRIZZI_T", false, S::AddressPick, "TFCANCDESTIN"),
    sep(0, IN),
    item(0, IN, "Inse&risce Garanti", "AINSGARANTI", 2, 0, SetFromMenu, "INDIRIZZI_G", false, S::Show, "TFINSINDIRIZZO"),
    item(0, IN, "Modi&fica Garanti", "AMODGARANTI", 2, 0, 0, "INDIRIZZI_G", false, S::AddressPick, "TFMODINDIRIZZO"),
    item(0, IN, "Canc&ella Garanti", "ACANCGARANTI", 2, 0, 0, "INDIRIZZI_G", false, S::AddressPick, "TFCANCDESTIN"),
    sep(0, IN),
    item(0, IN, "In&serisce Fornitori con DAA", "AINSFORNITORI", 3, 0, SetFromMenu, "INDIRIZZI_F", false, S::Show, "TFINSINDIRIZZO"),
    item(0, IN, "Mo&difica Fornitori con DAA", "AMODFORNITORI", 3, 0, 0, "INDIRIZZI_F", false, S::AddressPick, "TFMODINDIRIZZO"),
    item(0, IN, "Cance&lla Fornitori con DAA", "ACANCFORNITORI", 3, 0, 0, "INDIRIZZI_F", false, S::AddressPick, "TFCANCDESTIN"),

    item(0, CT, "Prodotti Alcoli  (TA20)", "ATA20", NoTag, 0, SetFromMenu | ClearNewCodeMode, "TA20", false, S::Show, "TFCODICI_NC"),
    item(0, CT, "Tabella Acci&se", "AACCISE", NoTag, 0, 0, nullptr, false, S::Show, "TFTABACCISE"),
    codeTable("&Lingue  (T001)", "AT001", 1, "T001"),
    codeTable("S&tati  (T004)", "AT004", 4, "T004"),
    codeTable("Paesi di Importazione  (T&005)", "AT005", 105, "T005"),
    codeTable("T&ipi Garanti  (T007)", "AT007", 7, "T007"),
    codeTable("&Modalità di Trasporto  (T008)", "AT008", 8, "T008"),
    codeTable("M&ezzi di Trasporto  (T009)", "AT009", 9, "T009"),
    codeTable("Im&ballaggi  (T010)", "AT010", 10, "T010"),
    codeTable("M&otivi Cancellazione  (T011)", "AT011", 11, "T011"),
    codeTable("Ti&pi di Destinazione  (T015)", "AT015", 15, "T015"),
    codeTable("O&rganizzatori del Trasporto  (T016)", "AT016", 16, "T016"),
    codeTable("&Categorie del Vino  (T018)", "AT018", 18, "T018"),
    codeTable("&Zone di Coltivazione del Vino  (T019)", "AT019", 19, "T019"),
    codeTable("Tr&attamenti del Vino  (T020)", "AT020", 20, "T020"),
    codeTable("Esiti &di Ricezione  (T023)", "AT023", 23, "T023"),
    codeTable("Moti&vi Insoddisfazione  (T025)", "AT025", 25, "T025"),
    codeTable("Motivazioni di Ri&getto  (T027)", "AT027", 27, "T027"),
    codeTable("&Uffici Doganali  (TA03)", "ATA03", 3, "TA03"),
    codeTable("Tipi di Docume&nto  (TA05)", "ATA05", 205, "TA05"),
    codeTable("Causali per il Carico (TA&21 c)", "ATA21C", 121, "TA21C"),
    codeTable("Causali per lo Scarico (TA2&1 s)", "ATA21S", 221, "TA21S"),

    item(0, CF, "&Percorsi per le Applicazioni", "APERAPPL", NoTag, 0, 0, nullptr, false, S::Show, "TFPERCORSI"),
    item(0, CF, "&Indirizzi Web", "AWEB", NoTag, 0, 0, nullptr, false, S::Show, "TFINDWEB"),
    item(0, CF, "ASTRUTAB", "ASTRUTAB", NoTag, 0, 0, nullptr, false, S::Show, "TFSTRUTAB", nullptr, false),

    item(0, CD, "&Salva una copia dei dati", "ASALVADATI", NoTag, 0, 0, nullptr, false, S::Show, "TFSALVADATI"),
    item(0, CD, "&Ripristina una copia dei dati", "ARIPRISTINADATI", NoTag, 0, 0, nullptr, false, S::Show, "TFRIPRISTINADATI"),

    item(0, nullptr, "&Info", "AINFO", NoTag, 0, 0, nullptr, false, S::Show, "TFINFO"),

    // ---- e-AD ----
    item(1, E815, "&Compila e-AD ", "ACOMPIE815", NoTag, 0, ClearFromMenu | ClearModifyMode, nullptr, true, S::CompileEad, "TFCOMPIE815"),
    lifecycle(E815, "R&egistra l'ARC dell'e-AD", "AREGARC", 1,
              "Registra il numero ARC attribuito dal Servizio Telematico Doganale"),
    item(1, E815, "&Modifica e-AD ", "AMODIE815", NoTag, 'M', ClearFromMenu | SetModifyMode, nullptr, true, S::ModifyEad, "TFCOMPIE815"),
    item(1, E815, "&Duplica e-AD", "ADUPLIE815", NoTag, 'U', ClearFromMenu | ClearModifyMode, nullptr, true, S::DuplicateEad, "TFCOMPIE815",
         "Compila un nuovo e-AD copiando i dati di un e-AD gia` compilato"),
    lifecycle(E815, "C&ancella e-AD", "ACANCIE815", 3),
    sep(1, E815),
    lifecycle(E815, "C&rea, Firma e Invia IE815", "AINVIAIE815", 4),
    item(1, E815, "R&icerca IE815 inviati", "ARICIE815", 1, '1', 0, nullptr, false, S::Show, "TFRICIE815"),
    lifecycle(E815, "A&zzera i dati di invio di un IE815 ", "AANNIE815", 6),
    sep(1, E815),
    item(1, E815, "&Storia di un e-AD", "ASTORIAEAD", NoTag, 'S', 0, nullptr, true, S::Show, "TFSTORIAEAD",
         "Tutti gli eventi di un e-AD: flussi, annullamento, cambi di destinazione, registro, garanzie"),

    lifecycle(E810, "&Annulla un e-AD inviato", "AINS810", 7,
              "L'annullamento è possibile entro le ore 24 del giorno della spedizione"),
    lifecycle(E810, "&Cancella l'annullamento di un e-AD", "ACANCANNeAD", 8),
    sep(1, E810),
    lifecycle(E810, "C&rea, Firma e Invia IE810", "ACRFIIN_810", 9),
    item(1, E810, "R&icerca IE810 inviati", "ARICIE810", 2, '2', 0, nullptr, false, S::Show, "TFRICIE815"),
    lifecycle(E810, "A&zzera i dati di invio di un IE810", "AAZZIE810", 11),

    item(1, E813, "&Cambio di Destinazione", "ACAMBIODEST", NoTag, 'D', ClearFromMenu, nullptr, true, S::ChangeDestination, "TFCOMPIE813"),
    lifecycle(E813, "&Annulla Cambio Destinazione", "AANNCAMBDEST", 10),
    sep(1, E813),
    lifecycle(E813, "C&rea, Firma e Invia IE813", "ACRFIIN_813", 13),
    item(1, E813, "R&icerca IE813 inviati", "ARIC813", 3, '3', 0, nullptr, false, S::Show, "TFRICIE815"),
    lifecycle(E813, "A&zzera i dati di invio di un IE813", "AAZZIN_813", 12),

    item(1, E818, "C&ompila la Nota di Ricezione", "ACOMP_IE818", NoTag, 0, 0, nullptr, true, S::Show, "TFPREPIE818"),
    lifecycle(E818, "&Cancella Nota di Ricezione NON inviata", "ACANC_IE818", 14),
    sep(1, E818),
    item(1, E818, "C&rea, Firma e Invia IE818", "ACREAFIIN_1E818", NoTag, 0, WorkYearNow, nullptr, true, S::Show, "TFCREAFIRMAINVIAIE818"),
    item(1, E818, "R&icerca Note di Ricezione inviate", "ARIC_IE818", 4, '4', 0, nullptr, false, S::Show, "TFRICIE815"),
    lifecycle(E818, "&Azzera i dati di invio di un IE818", "AAZZRIF_IE818", 16),

    link(1, ECOL, "Ba&nca Dati SEED", "ASEED", 0),
    link(1, ECOL, "Pagina iniziale Agenzia delle Dogane", "ADOGANE", 7),
    link(1, ECOL, "Ban&ca Dati Uffici Doganali", "AUFFICI", 1),
    sep(1, ECOL),
    link(1, ECOL, "Amb&iente E.M.C.S. REALE", "AEMCSREALE", 4),
    link(1, ECOL, "A&mbiente E.D.I. REALE", "AEDIREALE", 3),
    sep(1, ECOL),
    link(1, ECOL, "&Esegue FirmaVerifica", "AFIRMAVERIFICA", 100),
    sep(1, ECOL),
    link(1, ECOL, "&Ambiente E.D.I. di PROVA", "AEDIPROVA", 5),
    link(1, ECOL, "Am&biente E.M.C.S. di PROVA", "AEMCSPROVA", 6),

    // ---- Registro ----
    show2(REM, "&Richiama e-AD inviati", "ARICHEAD", 10, 0, "TFPREPSCAR815"),
    sep(2, REM),
    item(2, REM, "&Inserisce scarico", "AINSSCARICO", 11, 0, 0, nullptr, true, S::NewMovement, "TFMOVIMENTI"),
    movement(REM, "&Modifica scarico", "AMODSCARICO", 12, 'm', ClearLoadSide | SetModifyMode),
    show2(REM, "&Cancella scarico", "ACANCSCARICO", 13, 'S', "TFCANCMOVIM"),
    show2(REM, "Ric&erche negli scarichi", "ARICSCARICHI", 14, 'S', "TFRICREGC"),
    sep(2, REM),
    movement(REM, "Re&ttifica: annulla scarico", "ARETTSCARICO", 16, 'F', ClearLoadSide | SetRectifyCancel),
    movement(REM, "Retti&fica: modifica scarico", "Action2", 17, 'f', ClearLoadSide | SetRectifyModify),
    show2(REM, "C&ancella rettifica non inviata", "ACANCRETTSCAR", 18, 's', "TFCANCMOVIM"),

    movement(RCO, "&Conclusione e-AD emesso (ex rientro 3^copia)", "ANOTARIC", 31, 'A', 0),
    movement(RCO, "&Modifica conclusione e-AD emesso", "Action18", 32, 'a', 0),
    show2(RCO, "Ca&ncella conclusione e-AD emesso", "ACANCNOTARIC", 23, 'A', "TFCANCMOVIM"),
    show2(RCO, "&Ricerca dichiarazioni di conclusione", "ARICNOTERICEZ", 24, 'A', "TFRICREGC"),
    sep(2, RCO),
    movement(RCO, "R&ettifica: annulla dichiarazione di conclusione", "Action3", 26, 'G', 0),
    show2(RCO, "C&ancella rettifica non inviata", "ACANCRETTNOTARIC", 28, 'a', "TFCANCMOVIM"),

    movement(RCD, "Cam&bio di destinazione intero e-AD", "Action11", 33, 'D', 0),
    sep(2, RCD),
    movement(RCD, "Camb&io di destinazione parziale", "Action19", 34, 'K', 0),
    movement(RCD, "&Modifica cambio di destinazione", "Action12", 35, 'k', 0),
    show2(RCD, "&Cancella cambio di destinazione", "Action13", 36, 'D', "TFCANCMOVIM"),
    show2(RCD, "&Ricerca cambi di destinazione", "Action14", 37, 'D', "TFRICREGC"),
    sep(2, RCD),
    movement(RCD, "R&ettifica: Annulla cambio di destinazione", "Action15", 38, 'd', 0),
    show2(RCD, "C&ancella rettifica non inviata", "Action17", 39, 'd', "TFCANCMOVIM"),

    show2(RGA, "&Inserisce garanzia", "AINSGARANZIA", NoTag, 0, "TFPREPGARANZIA"),
    guarantee("&Modifica garanzia", "AMODGARANZIA", 2, 'H', SetModifyMode),
    show2(RGA, "&Cancella garanzia", "ACANCGAR", 2, 'F', "TFCANCMOVIM"),
    show2(RGA, "&Ricerche", "ARICGAR", 3, 'G', "TFRICREGF"),
    show2(RGA, "Riepilogo annuale", "Action21", NoTag, 0, "TFSTARIEPILOGO", true),
    sep(2, RGA),
    guarantee("Re&ttifica: annulla garanzia", "Action4", 3, 'J', SetRectifyCancel),
    guarantee("R&ettifica: modifica garanzia", "ARETTGAR", 4, 'j', SetRectifyModify),
    show2(RGA, "C&ancella rettifica non inviata", "ACANCRETT", 22, 'f', "TFCANCMOVIM"),

    show2(RRI, "&Richiama e-AD Ricevuti", "ARICEVUTI", NoTag, 0, "TFPREPCAR818"),
    sep(2, RRI),
    item(2, RRI, "&Inserisce carico", "AINSCARICO", 1, 0, 0, nullptr, true, S::NewMovement, "TFMOVIMENTI"),
    movement(RRI, "&Modifica carico", "AMODCARICO", 2, 'M', SetLoadSide | SetModifyMode),
    show2(RRI, "&Cancella carico", "ACANCCARICO", 3, 'C', "TFCANCMOVIM"),
    show2(RRI, "Ric&erche nei carichi", "ARICCARICHI", 4, 'C', "TFRICREGC"),
    sep(2, RRI),
    movement(RRI, "Re&ttifica: annulla carico", "ARETTCARICO", 6, 'E', SetLoadSide | SetRectifyCancel),
    movement(RRI, "Retti&fica: modifica carico", "Action1", 7, 'e', SetLoadSide | SetRectifyModify),
    show2(RRI, "C&ancella rettifica non inviata", "ACANCRETTIFICA", 8, 'c', "TFCANCMOVIM"),

    show2(RFL, "&Crea, firma ed invia il flusso per la dogana", "ACREAFIRINVFLUSSO", NoTag, 0, "TFCREAFIRMAINVIAREGISTRO", true, WorkYearNow),
    show2(RFL, "&Azzera i dati di invio di un flusso", "AAZZDATIFLUSSO", NoTag, 0, "TFCANCFLUSSO", true, WorkYearNow),
    show2(RFL, "&Ricerca carichi inviati", "ARICCARICHIINVIATI", 34, 'c', "TFRICREGC"),
    show2(RFL, "Ricerca scaric&hi inviati", "ARICSCARICHIINVIATI", 44, 's', "TFRICREGC"),
    show2(RFL, "Ricerca cambi &di destinazione inviati", "Action16", 40, 'd', "TFRICREGC"),
    show2(RFL, "R&icerca dichiarazioni di conclusione inviate", "ARICNOTERIC", 54, 'a', "TFRICREGC"),
    show2(RFL, "Ric&erca garanzie inviate", "ARICGARINVIATE", 64, 'g', "TFRICREGF"),
    sep(2, RFL),
    link(2, RFL, "&Pagina iniziale Agenzia delle Dogane", "ADOGANE", 7),
    link(2, RFL, "Am&biente E.D.I. REALE", "AEDIREALE", 3),
    link(2, RFL, "E&segue FirmaVerifica", "AFIRMAVERIFICA", 100),
    link(2, RFL, "A&mbiente E.D.I. di PROVA", "AEDIPROVA", 5),

    show2(RRE, "&Registro movimenti garanzie", "Action5", NoTag, 0, "TFSTAREGGARANZIE", true),
    show2(RRE, "R&egistro carichi e scarichi", "Action6", 0, 'T', "TFSTAREGCARSCA", true),
    show2(RRE, "Re&gistro solo carichi", "Action7", 1, 'C', "TFSTAREGCARSCA", true),
    show2(RRE, "Reg&istro solo scarichi", "Action8", 2, 'S', "TFSTAREGCARSCA", true),
    show2(RRE, "&Distinta mensile e-AD", "Action20", NoTag, 0, "TFSTADISTINTA", true),
});

constexpr auto kPages = std::to_array<MenuPage>({
    {"Dati Generali", "TabSheet1", "MENU_GENERALE", "Imagegenerale", ":/pictures/generale.png"},
    {"     e-AD     ", "TabSheet2", "MENU_EAD", "Imageead", ":/pictures/ead.png"},
    {"    Registro    ", "TabSheet3", "MENU_REGISTRO", "Imageregistro", ":/pictures/registro.png"},
});
} // namespace

std::span<const MenuItem> menuItems()
{
    return kItems;
}

std::span<const MenuPage> menuPages()
{
    return kPages;
}

} // namespace vt
