#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

#include <QTest>

#include "app/TFPRINCIPALE.h"
#include "foundation/Tables.h"
#include "foundation/RecordFile.h"
#include "support/Fakes.h"

using namespace vt;

namespace {
// Every entry of a menu bar, in order: "|" between entries of the bar, "Submenu > -" for a
// separator, "Submenu > Caption [ACTION] (Tag)" for an item; hidden items end with " hidden".
QStringList walk(QMenuBar* bar)
{
    QStringList out;
    for (QAction* top : bar->actions()) {
        if (top->isSeparator()) {
            out << QStringLiteral("|");
            continue;
        }
        if (QMenu* m = top->menu()) {
            for (QAction* a : m->actions()) {
                if (a->isSeparator()) {
                    out << m->title() + QStringLiteral(" > -");
                    continue;
                }
                QString line = m->title() + QStringLiteral(" > ") + a->text() + QStringLiteral(" [") + a->objectName()
                    + QStringLiteral("]");
                if (a->data().isValid())
                    line += QStringLiteral(" (%1)").arg(a->data().toInt());
                if (!a->isVisible())
                    line += QStringLiteral(" hidden");
                out << line;
            }
        } else {
            out << top->text() + QStringLiteral(" [") + top->objectName() + QStringLiteral("]");
        }
    }
    return out;
}

const QStringList generale = {
    "&Dati Aziendali > &Protocollo Registro Dogana [APROTOCOLLO]",
    "&Dati Aziendali > &Vini dell'Azienda [AVINI]",
    "&Dati Aziendali > &Dati dell'Azienda [AAZIENDA]",
    "&Dati Aziendali > &Altre Sedi Autorizzate (002...) [AALTRESEDI]",
    "|",
    "I&ndirizzario > &Inserisce Destinatari DAA [AINSDEST]",
    "I&ndirizzario > &Modifica Destinatari DAA [AMODDESTIN]",
    "I&ndirizzario > &Cancella Destinatari DAA [ACANCDESTIN] (0)",
    "I&ndirizzario > -",
    "I&ndirizzario > I&nserisce Aziende di Trasporto [AINSTRASP] (1)",
    "I&ndirizzario > M&odifica Aziende di Trasporto [AMODTRASP] (1)",
    "I&ndirizzario > C&ancella Aziende di Trasporto [ACANCTRASP] (1)",
    "I&ndirizzario > -",
    "I&ndirizzario > Inse&risce Garanti [AINSGARANTI] (2)",
    "I&ndirizzario > Modi&fica Garanti [AMODGARANTI] (2)",
    "I&ndirizzario > Canc&ella Garanti [ACANCGARANTI] (2)",
    "I&ndirizzario > -",
    "I&ndirizzario > In&serisce Fornitori con DAA [AINSFORNITORI] (3)",
    "I&ndirizzario > Mo&difica Fornitori con DAA [AMODFORNITORI] (3)",
    "I&ndirizzario > Cance&lla Fornitori con DAA [ACANCFORNITORI] (3)",
    "|",
    "&Codici e Tabelle > Prodotti Alcoli  (TA20) [ATA20]",
    "&Codici e Tabelle > Tabella Acci&se [AACCISE]",
    "&Codici e Tabelle > &Lingue  (T001) [AT001] (1)",
    "&Codici e Tabelle > S&tati  (T004) [AT004] (4)",
    "&Codici e Tabelle > Paesi di Importazione  (T&005) [AT005] (105)",
    "&Codici e Tabelle > T&ipi Garanti  (T007) [AT007] (7)",
    "&Codici e Tabelle > &Modalità di Trasporto  (T008) [AT008] (8)",
    "&Codici e Tabelle > M&ezzi di Trasporto  (T009) [AT009] (9)",
    "&Codici e Tabelle > Im&ballaggi  (T010) [AT010] (10)",
    "&Codici e Tabelle > M&otivi Cancellazione  (T011) [AT011] (11)",
    "&Codici e Tabelle > Ti&pi di Destinazione  (T015) [AT015] (15)",
    "&Codici e Tabelle > O&rganizzatori del Trasporto  (T016) [AT016] (16)",
    "&Codici e Tabelle > &Categorie del Vino  (T018) [AT018] (18)",
    "&Codici e Tabelle > &Zone di Coltivazione del Vino  (T019) [AT019] (19)",
    "&Codici e Tabelle > Tr&attamenti del Vino  (T020) [AT020] (20)",
    "&Codici e Tabelle > Esiti &di Ricezione  (T023) [AT023] (23)",
    "&Codici e Tabelle > Moti&vi Insoddisfazione  (T025) [AT025] (25)",
    "&Codici e Tabelle > Motivazioni di Ri&getto  (T027) [AT027] (27)",
    "&Codici e Tabelle > &Uffici Doganali  (TA03) [ATA03] (3)",
    "&Codici e Tabelle > Tipi di Docume&nto  (TA05) [ATA05] (205)",
    "&Codici e Tabelle > Causali per il Carico (TA&21 c) [ATA21C] (121)",
    "&Codici e Tabelle > Causali per lo Scarico (TA2&1 s) [ATA21S] (221)",
    "|",
    "C&onfigurazione > &Percorsi per le Applicazioni [APERAPPL]",
    "C&onfigurazione > &Indirizzi Web [AWEB]",
    "C&onfigurazione > ASTRUTAB [ASTRUTAB] hidden",
    "|",
    "Co&pie dei Dati > &Salva una copia dei dati [ASALVADATI]",
    "Co&pie dei Dati > &Ripristina una copia dei dati [ARIPRISTINADATI]",
    "|",
    "&Info [AINFO]",
};

const QStringList ead = {
    "&e-AD (IE815) > &Compila e-AD  [ACOMPIE815]",
    "&e-AD (IE815) > R&egistra l'ARC dell'e-AD [AREGARC] (1)",
    "&e-AD (IE815) > &Modifica e-AD  [AMODIE815]",
    "&e-AD (IE815) > &Duplica e-AD [ADUPLIE815]",
    "&e-AD (IE815) > C&ancella e-AD [ACANCIE815] (3)",
    "&e-AD (IE815) > -",
    "&e-AD (IE815) > C&rea, Firma e Invia IE815 [AINVIAIE815] (4)",
    "&e-AD (IE815) > R&icerca IE815 inviati [ARICIE815] (1)",
    "&e-AD (IE815) > A&zzera i dati di invio di un IE815  [AANNIE815] (6)",
    "&e-AD (IE815) > -",
    "&e-AD (IE815) > &Storia di un e-AD [ASTORIAEAD]",
    "|",
    "&Annulla e-AD (IE810) > &Annulla un e-AD inviato [AINS810] (7)",
    "&Annulla e-AD (IE810) > &Cancella l'annullamento di un e-AD [ACANCANNeAD] (8)",
    "&Annulla e-AD (IE810) > -",
    "&Annulla e-AD (IE810) > C&rea, Firma e Invia IE810 [ACRFIIN_810] (9)",
    "&Annulla e-AD (IE810) > R&icerca IE810 inviati [ARICIE810] (2)",
    "&Annulla e-AD (IE810) > A&zzera i dati di invio di un IE810 [AAZZIE810] (11)",
    "|",
    "&Cambio di Destinazione (IE813) > &Cambio di Destinazione [ACAMBIODEST]",
    "&Cambio di Destinazione (IE813) > &Annulla Cambio Destinazione [AANNCAMBDEST] (10)",
    "&Cambio di Destinazione (IE813) > -",
    "&Cambio di Destinazione (IE813) > C&rea, Firma e Invia IE813 [ACRFIIN_813] (13)",
    "&Cambio di Destinazione (IE813) > R&icerca IE813 inviati [ARIC813] (3)",
    "&Cambio di Destinazione (IE813) > A&zzera i dati di invio di un IE813 [AAZZIN_813] (12)",
    "|",
    "&Nota di Ricezione (IE818) > C&ompila la Nota di Ricezione [ACOMP_IE818]",
    "&Nota di Ricezione (IE818) > &Cancella Nota di Ricezione NON inviata [ACANC_IE818] (14)",
    "&Nota di Ricezione (IE818) > -",
    "&Nota di Ricezione (IE818) > C&rea, Firma e Invia IE818 [ACREAFIIN_1E818]",
    "&Nota di Ricezione (IE818) > R&icerca Note di Ricezione inviate [ARIC_IE818] (4)",
    "&Nota di Ricezione (IE818) > &Azzera i dati di invio di un IE818 [AAZZRIF_IE818] (16)",
    "|",
    "C&ollegamenti > Ba&nca Dati SEED [ASEED] (0)",
    "C&ollegamenti > Pagina iniziale Agenzia delle Dogane [ADOGANE] (7)",
    "C&ollegamenti > Ban&ca Dati Uffici Doganali [AUFFICI] (1)",
    "C&ollegamenti > -",
    "C&ollegamenti > Amb&iente E.M.C.S. REALE [AEMCSREALE] (4)",
    "C&ollegamenti > A&mbiente E.D.I. REALE [AEDIREALE] (3)",
    "C&ollegamenti > -",
    "C&ollegamenti > &Esegue FirmaVerifica [AFIRMAVERIFICA] (100)",
    "C&ollegamenti > -",
    "C&ollegamenti > &Ambiente E.D.I. di PROVA [AEDIPROVA] (5)",
    "C&ollegamenti > Am&biente E.M.C.S. di PROVA [AEMCSPROVA] (6)",
};

const QStringList registro = {
    "&e-AD emessi > &Richiama e-AD inviati [ARICHEAD] (10)",
    "&e-AD emessi > -",
    "&e-AD emessi > &Inserisce scarico [AINSSCARICO] (11)",
    "&e-AD emessi > &Modifica scarico [AMODSCARICO] (12)",
    "&e-AD emessi > &Cancella scarico [ACANCSCARICO] (13)",
    "&e-AD emessi > Ric&erche negli scarichi [ARICSCARICHI] (14)",
    "&e-AD emessi > -",
    "&e-AD emessi > Re&ttifica: annulla scarico [ARETTSCARICO] (16)",
    "&e-AD emessi > Retti&fica: modifica scarico [Action2] (17)",
    "&e-AD emessi > C&ancella rettifica non inviata [ACANCRETTSCAR] (18)",
    "|",
    "&Conclusione e-AD emessi > &Conclusione e-AD emesso (ex rientro 3^copia) [ANOTARIC] (31)",
    "&Conclusione e-AD emessi > &Modifica conclusione e-AD emesso [Action18] (32)",
    "&Conclusione e-AD emessi > Ca&ncella conclusione e-AD emesso [ACANCNOTARIC] (23)",
    "&Conclusione e-AD emessi > &Ricerca dichiarazioni di conclusione [ARICNOTERICEZ] (24)",
    "&Conclusione e-AD emessi > -",
    "&Conclusione e-AD emessi > R&ettifica: annulla dichiarazione di conclusione [Action3] (26)",
    "&Conclusione e-AD emessi > C&ancella rettifica non inviata [ACANCRETTNOTARIC] (28)",
    "|",
    "C&ambio destinazione > Cam&bio di destinazione intero e-AD [Action11] (33)",
    "C&ambio destinazione > -",
    "C&ambio destinazione > Camb&io di destinazione parziale [Action19] (34)",
    "C&ambio destinazione > &Modifica cambio di destinazione [Action12] (35)",
    "C&ambio destinazione > &Cancella cambio di destinazione [Action13] (36)",
    "C&ambio destinazione > &Ricerca cambi di destinazione [Action14] (37)",
    "C&ambio destinazione > -",
    "C&ambio destinazione > R&ettifica: Annulla cambio di destinazione [Action15] (38)",
    "C&ambio destinazione > C&ancella rettifica non inviata [Action17] (39)",
    "|",
    "&Garanzie > &Inserisce garanzia [AINSGARANZIA]",
    "&Garanzie > &Modifica garanzia [AMODGARANZIA] (2)",
    "&Garanzie > &Cancella garanzia [ACANCGAR] (2)",
    "&Garanzie > &Ricerche [ARICGAR] (3)",
    "&Garanzie > Riepilogo annuale [Action21]",
    "&Garanzie > -",
    "&Garanzie > Re&ttifica: annulla garanzia [Action4] (3)",
    "&Garanzie > R&ettifica: modifica garanzia [ARETTGAR] (4)",
    "&Garanzie > C&ancella rettifica non inviata [ACANCRETT] (22)",
    "|",
    "e-A&D ricevuti > &Richiama e-AD Ricevuti [ARICEVUTI]",
    "e-A&D ricevuti > -",
    "e-A&D ricevuti > &Inserisce carico [AINSCARICO] (1)",
    "e-A&D ricevuti > &Modifica carico [AMODCARICO] (2)",
    "e-A&D ricevuti > &Cancella carico [ACANCCARICO] (3)",
    "e-A&D ricevuti > Ric&erche nei carichi [ARICCARICHI] (4)",
    "e-A&D ricevuti > -",
    "e-A&D ricevuti > Re&ttifica: annulla carico [ARETTCARICO] (6)",
    "e-A&D ricevuti > Retti&fica: modifica carico [Action1] (7)",
    "e-A&D ricevuti > C&ancella rettifica non inviata [ACANCRETTIFICA] (8)",
    "|",
    "&Flussi per la dogana > &Crea, firma ed invia il flusso per la dogana [ACREAFIRINVFLUSSO]",
    "&Flussi per la dogana > &Azzera i dati di invio di un flusso [AAZZDATIFLUSSO]",
    "&Flussi per la dogana > &Ricerca carichi inviati [ARICCARICHIINVIATI] (34)",
    "&Flussi per la dogana > Ricerca scaric&hi inviati [ARICSCARICHIINVIATI] (44)",
    "&Flussi per la dogana > Ricerca cambi &di destinazione inviati [Action16] (40)",
    "&Flussi per la dogana > R&icerca dichiarazioni di conclusione inviate [ARICNOTERIC] (54)",
    "&Flussi per la dogana > Ric&erca garanzie inviate [ARICGARINVIATE] (64)",
    "&Flussi per la dogana > -",
    "&Flussi per la dogana > &Pagina iniziale Agenzia delle Dogane [ADOGANE] (7)",
    "&Flussi per la dogana > Am&biente E.D.I. REALE [AEDIREALE] (3)",
    "&Flussi per la dogana > E&segue FirmaVerifica [AFIRMAVERIFICA] (100)",
    "&Flussi per la dogana > A&mbiente E.D.I. di PROVA [AEDIPROVA] (5)",
    "|",
    "&Registri > &Registro movimenti garanzie [Action5]",
    "&Registri > R&egistro carichi e scarichi [Action6] (0)",
    "&Registri > Re&gistro solo carichi [Action7] (1)",
    "&Registri > Reg&istro solo scarichi [Action8] (2)",
    "&Registri > &Distinta mensile e-AD [Action20]",
};
} // namespace

TEST(TFPRINCIPALE, ThreePagesWithEveryMenuItemInOrder)
{
    test::TestContext t;
    TFPRINCIPALE w(t.ctx);
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Dati Generali"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("     e-AD     "));
    EXPECT_EQ(pages->tabText(2), QStringLiteral("    Registro    "));
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(pages->widget(0)->objectName(), QStringLiteral("TabSheet1"));

    const std::pair<const char*, const QStringList*> bars[] = {
        {"MENU_GENERALE", &generale}, {"MENU_EAD", &ead}, {"MENU_REGISTRO", &registro}};
    for (auto [name, expected] : bars) {
        auto* bar = w.findChild<QMenuBar*>(QString::fromLatin1(name));
        ASSERT_NE(bar, nullptr) << name;
        const QStringList got = walk(bar);
        EXPECT_EQ(got.size(), expected->size()) << name;
        for (int i = 0; i < std::min(got.size(), expected->size()); ++i)
            EXPECT_EQ(got[i], (*expected)[i]) << name << " entry " << i;
    }
}

TEST(TFPRINCIPALE, HintsShortcutSizeAndStatusBar)
{
    test::TestContext t;
    TFPRINCIPALE w(t.ctx);
    auto* regarc = w.findChild<QAction*>(QStringLiteral("AREGARC"));
    ASSERT_NE(regarc, nullptr);
    EXPECT_EQ(regarc->toolTip(), QStringLiteral("Registra il numero ARC attribuito dal Servizio Telematico Doganale"));
    auto* ins810 = w.findChild<QAction*>(QStringLiteral("AINS810"));
    ASSERT_NE(ins810, nullptr);
    EXPECT_EQ(ins810->toolTip(), QStringLiteral("L'annullamento è possibile entro le ore 24 del giorno della spedizione"));

    auto* bar = w.findChild<QMenuBar*>(QStringLiteral("MENU_EAD"));
    EXPECT_EQ(bar->actions().first()->shortcut(), QKeySequence(Qt::Key_F1));

    EXPECT_EQ(w.size(), QSize(800, 600));
    EXPECT_EQ(w.minimumSize(), QSize(560, 420));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Telematizzazione dei movimenti di vino intracomunitari"));
    auto* status = w.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    ASSERT_NE(status, nullptr);
    auto* folder = status->findChild<QLabel*>(QStringLiteral("LSTARTFOLDER"));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->text(), QDir::toNativeSeparators(t.ctx.StartFolder));
    EXPECT_EQ(TFPRINCIPALE::ToolTipMs, 7000);
}

// The start folder stays in the status bar while menu hints come and go, and a window that has
// written its data leaves a short "Dati salvati" note beside it.
TEST(TFPRINCIPALE, StatusBarKeepsTheStartFolderBesideHintsAndTheSavedNote)
{
    test::TestContext t;
    TFPRINCIPALE w(t.ctx);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* status = w.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    auto* folder = status->findChild<QLabel*>(QStringLiteral("LSTARTFOLDER"));
    ASSERT_NE(folder, nullptr);
    const QString start = QDir::toNativeSeparators(t.ctx.StartFolder);

    // Hovering an item with a hint shows the hint; the folder is still there and visible.
    auto* regarc = w.findChild<QAction*>(QStringLiteral("AREGARC"));
    regarc->showStatusText(&w);
    EXPECT_EQ(status->currentMessage(), regarc->statusTip());
    EXPECT_TRUE(folder->isVisible());
    EXPECT_EQ(folder->text(), start);
    status->clearMessage();

    // The table engine reports a written row; so does any window through the context.
    TRecTabella row = blankRow();
    row.Fld[0] = QStringLiteral("XX");
    t.ctx.EditRow = row;
    InsertRow(t.ctx, t.ctx.datiGen(QStringLiteral("T001.TAB")));
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Dati salvati"));
    EXPECT_EQ(folder->text(), start);
    EXPECT_TRUE(folder->isVisible());
    status->clearMessage();
    t.ctx.reportSaved();
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Dati salvati"));
    w.grab().save(QDir::temp().filePath(QStringLiteral("TFPRINCIPALE-status.png")));
    // The note goes away by itself.
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->currentMessage().isEmpty(); }, TFPRINCIPALE::SavedNoteMs + 2000));
    EXPECT_EQ(folder->text(), start);
}

TEST(TFPRINCIPALE, TheContextOutlivesTheMainWindowWithoutItsListener)
{
    test::TestContext t;
    {
        TFPRINCIPALE w(t.ctx);
        EXPECT_TRUE(bool(t.ctx.NoteListener));
    }
    EXPECT_FALSE(bool(t.ctx.NoteListener));
    t.ctx.reportSaved(); // nobody listens: nothing happens
}

TEST(TFPRINCIPALE, AnItemWhoseWindowIsNotBuiltSaysSo)
{
    test::TestContext t;
    TFPRINCIPALE w(t.ctx);
    QStringList opened;
    w.setWindowOpener([&](const QString& name) { opened << name; return true; },
                      [](const QString& name) { return name != QLatin1String("TFRICIE815"); });
    w.findChild<QAction*>(QStringLiteral("ARICIE815"))->trigger();
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("Funzione non ancora disponibile")});
    EXPECT_TRUE(opened.isEmpty());
}

TEST(TFPRINCIPALE, PicturesFollowTheResizingRule)
{
    // W = 700, H = 500, menu bar 20, page 470, control at (3, 4):
    // width 700 - 70 = 630, height 500 - 50 - 20 = 430, left 35 + 3, top 20 + 4.
    const PictureRect r = pictureRect(700, 500, 20, 470, 3, 4);
    EXPECT_EQ(r.width, 630);
    EXPECT_EQ(r.height, 430);
    EXPECT_EQ(r.left, 38);
    EXPECT_EQ(r.top, 24);
    // Integer division truncates: 567 div 10 = 56, (567 - 511) div 2 = 28.
    const PictureRect odd = pictureRect(567, 431, 21, 400, 0, 0);
    EXPECT_EQ(odd.width, 511);
    EXPECT_EQ(odd.height, 431 - 43 - 21);
    EXPECT_EQ(odd.left, 28);
    EXPECT_EQ(odd.top, (400 - 367) / 2);

    test::TestContext t;
    TFPRINCIPALE w(t.ctx);
    w.show();
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    auto* picture = w.findChild<QLabel*>(QStringLiteral("Imagegenerale"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), pages->width() - pages->width() / 10);
}

TEST(TFPRINCIPALE, AltreSediForACompanyOfType2OpensNothing)
{
    test::TestContext t;
    TRecAzienda company = blankCompany();
    company.TIPOIN = QStringLiteral("2");
    RecordFile(t.ctx.datiGen(QStringLiteral("UTENTE.001")), TRecAzienda::Size).rewriteSingle(encodeCompany(company));
    TFPRINCIPALE w(t.ctx);
    QStringList opened;
    w.setWindowOpener([&](const QString& name) { opened << name; return true; });
    w.findChild<QAction*>(QStringLiteral("AALTRESEDI"))->trigger();
    EXPECT_EQ(t.messenger.infos, QStringList{QStringLiteral("SEZIONE RISERVATA AI DEPOSITI FISCALI")});
    EXPECT_TRUE(opened.isEmpty());
}

TEST(TFPRINCIPALE, AnEadActionInAnEmptyFolderStopsAtTheCheck)
{
    test::TestContext t;
    TFPRINCIPALE w(t.ctx);
    QStringList opened;
    w.setWindowOpener([&](const QString& name) { opened << name; return true; });
    w.findChild<QAction*>(QStringLiteral("ACOMPIE815"))->trigger();
    EXPECT_EQ(t.messenger.infos.size(), 3);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(QFile::exists(t.ctx.temp(QStringLiteral("TRASPORTO.DAT"))));
}
