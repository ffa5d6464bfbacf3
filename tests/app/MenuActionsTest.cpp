#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtEndian>

#include "foundation/AddressFile.h"
#include "app/MenuActions.h"
#include "foundation/RecordFile.h"
#include "foundation/TableRecord.h"
#include "ui/WindowRegistry.h"
#include "support/Fakes.h"

using namespace vt;

namespace {
// A context whose company, paths and web addresses are all filled in, with one address of code 2
// in each address file.
struct Configured {
    test::TestContext t;
    QStringList log; // windows opened, addresses opened ("url:"), programs started ("run:")

    explicit Configured(const QString& companyType = QStringLiteral("1"))
    {
        // The data files are made once and copied into each fresh folder (copies are cheap,
        // atomic rewrites are not).
        static QTemporaryDir made;
        static const bool ready = [] {
            const QDir d(made.path());
            TRecTabella app = blankRow();
            for (int i = 0; i < 4; ++i)
                app.Fld[i] = QStringLiteral("C:\\FV\\P%1").arg(i);
            PadRow(app);
            RecordFile(d.filePath(QStringLiteral("APPL.CFG")), TRecTabella::Size).rewriteSingle(encodeRow(app));
            TRecTabella web = blankRow();
            for (int i = 0; i < 8; ++i)
                web.Fld[i] = QStringLiteral("https://w%1.example").arg(i);
            PadRow(web);
            RecordFile(d.filePath(QStringLiteral("WEB.CFG")), TRecTabella::Size).rewriteSingle(encodeRow(web));
            test::FakeMessenger m;
            TRecIndirizzo a = blankCompany();
            a.DENOM1 = QStringLiteral("Primo");
            InsertAddress(d.filePath(QStringLiteral("INDIRIZZI_D.DAT")), a, m);
            a.DENOM1 = QStringLiteral("Secondo");
            InsertAddress(d.filePath(QStringLiteral("INDIRIZZI_D.DAT")), a, m);
            return true;
        }();
        (void)ready;
        const QDir d(made.path());
        auto bytes = [&](const char* name) {
            QFile f(d.filePath(QString::fromLatin1(name)));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        };
        auto put = [&](const char* name, const QByteArray& content) {
            QFile f(t.ctx.datiGen(QString::fromLatin1(name)));
            f.open(QIODevice::WriteOnly);
            f.write(content);
        };
        put("APPL.CFG", bytes("APPL.CFG"));
        put("WEB.CFG", bytes("WEB.CFG"));
        for (const char* f : {"INDIRIZZI_D.DAT", "INDIRIZZI_T.DAT", "INDIRIZZI_G.DAT", "INDIRIZZI_F.DAT"})
            put(f, bytes("INDIRIZZI_D.DAT"));
        TRecAzienda company = blankCompany();
        company.TIPOIN = companyType;
        put("UTENTE.001", encodeCompany(company));
        t.shell.onStart = [this](const QString& p) { log << QStringLiteral("run:") + p; };
        t.ctx.OpCode = QLatin1Char('?');
    }

    // Pickers choose: address 2, e-AD 5 of 2026, register record 3 of 2026.
    bool open(const QString& name)
    {
        log << name;
        if (name == QLatin1String("TFLISTVIEW"))
            t.ctx.PickedCode = 2;
        if (name == QLatin1String("TFSCEGLIDAA")) {
            t.ctx.PickedEad = 5;
            t.ctx.SelectedYear = QStringLiteral("2026");
        }
        if (name == QLatin1String("TFSCEGLIMOVIMENTO")) {
            t.ctx.PickedMovement = 3;
            t.ctx.SelectedYear = QStringLiteral("2026");
        }
        return true;
    }

    void run(const MenuItem& item)
    {
        runMenuAction(item, t.ctx, [this](const QString& n) { return open(n); });
        for (const QString& u : t.shell.urls)
            log << QStringLiteral("url:") + u;
    }
};

struct Row {
    const char* action;
    const char* caption; // only where one action name has two captions
    char op;             // '?' = OpCode left alone
    const char* log;
};

const Row rows[] = {
    {"APROTOCOLLO", nullptr, '?', "TFPROTREGISTRI"},
    {"AVINI", nullptr, '?', "TFPRODAZIEND"},
    {"AAZIENDA", nullptr, '?', "TFDATIAZIENDA"},
    {"AALTRESEDI", nullptr, '?', "TFALTRESEDI"},
    {"AINSDEST", nullptr, '?', "TFINSDESTINATARI"},
    {"AMODDESTIN", nullptr, '?', "TFLISTVIEW,TFMODDESTINATARI"},
    {"ACANCDESTIN", nullptr, '?', "TFLISTVIEW,TFCANCDESTIN"},
    {"AINSTRASP", nullptr, '?', "TFINSINDIRIZZO"},
    {"AMODTRASP", nullptr, '?', "TFLISTVIEW,TFMODINDIRIZZO"},
    {"ACANCTRASP", nullptr, '?', "TFLISTVIEW,TFCANCDESTIN"},
    {"AINSGARANTI", nullptr, '?', "TFINSINDIRIZZO"},
    {"AMODGARANTI", nullptr, '?', "TFLISTVIEW,TFMODINDIRIZZO"},
    {"ACANCGARANTI", nullptr, '?', "TFLISTVIEW,TFCANCDESTIN"},
    {"AINSFORNITORI", nullptr, '?', "TFINSINDIRIZZO"},
    {"AMODFORNITORI", nullptr, '?', "TFLISTVIEW,TFMODINDIRIZZO"},
    {"ACANCFORNITORI", nullptr, '?', "TFLISTVIEW,TFCANCDESTIN"},
    {"ATA20", nullptr, '?', "TFCODICI_NC"},
    {"AACCISE", nullptr, '?', "TFTABACCISE"},
    {"AT001", nullptr, '?', "TFCODICI"}, {"AT004", nullptr, '?', "TFCODICI"},
    {"AT005", nullptr, '?', "TFCODICI"}, {"AT007", nullptr, '?', "TFCODICI"},
    {"AT008", nullptr, '?', "TFCODICI"}, {"AT009", nullptr, '?', "TFCODICI"},
    {"AT010", nullptr, '?', "TFCODICI"}, {"AT011", nullptr, '?', "TFCODICI"},
    {"AT015", nullptr, '?', "TFCODICI"}, {"AT016", nullptr, '?', "TFCODICI"},
    {"AT018", nullptr, '?', "TFCODICI"}, {"AT019", nullptr, '?', "TFCODICI"},
    {"AT020", nullptr, '?', "TFCODICI"}, {"AT023", nullptr, '?', "TFCODICI"},
    {"AT025", nullptr, '?', "TFCODICI"}, {"AT027", nullptr, '?', "TFCODICI"},
    {"ATA03", nullptr, '?', "TFCODICI"}, {"ATA05", nullptr, '?', "TFCODICI"},
    {"ATA21C", nullptr, '?', "TFCODICI"}, {"ATA21S", nullptr, '?', "TFCODICI"},
    {"APERAPPL", nullptr, '?', "TFPERCORSI"},
    {"AWEB", nullptr, '?', "TFINDWEB"},
    {"ASTRUTAB", nullptr, '?', "TFSTRUTAB"},
    {"ASALVADATI", nullptr, '?', "TFSALVADATI"},
    {"ARIPRISTINADATI", nullptr, '?', "TFRIPRISTINADATI"},
    {"AINFO", nullptr, '?', "TFINFO"},

    {"ACOMPIE815", nullptr, '?', "TFCOMPIE815"},
    {"AREGARC", nullptr, 'R', "LIFECYCLE"},
    {"AMODIE815", nullptr, 'M', "TFSCEGLIDAA,LOADEAD,TFCOMPIE815"},
    {"ADUPLIE815", nullptr, 'U', "TFSCEGLIDAA,LOADDUPLICATE,TFCOMPIE815"},
    {"ASTORIAEAD", nullptr, 'S', "TFSTORIAEAD"},
    {"ACANCIE815", nullptr, 'C', "LIFECYCLE"},
    {"AINVIAIE815", nullptr, 'I', "LIFECYCLE"},
    {"ARICIE815", nullptr, '1', "TFRICIE815"},
    {"AANNIE815", nullptr, 'A', "LIFECYCLE"},
    {"AINS810", nullptr, 'X', "LIFECYCLE"},
    {"ACANCANNeAD", nullptr, 'x', "LIFECYCLE"},
    {"ACRFIIN_810", nullptr, '9', "LIFECYCLE"},
    {"ARICIE810", nullptr, '2', "TFRICIE815"},
    {"AAZZIE810", nullptr, 'a', "LIFECYCLE"},
    {"ACAMBIODEST", nullptr, 'D', "TFSCEGLIDAA,LOADEAD,TFCOMPIE813"},
    {"AANNCAMBDEST", nullptr, 'd', "LIFECYCLE"},
    {"ACRFIIN_813", nullptr, 'f', "LIFECYCLE"},
    {"ARIC813", nullptr, '3', "TFRICIE815"},
    {"AAZZIN_813", nullptr, 'e', "LIFECYCLE"},
    {"ACOMP_IE818", nullptr, '?', "TFPREPIE818"},
    {"ACANC_IE818", nullptr, 'N', "LIFECYCLE"},
    {"ACREAFIIN_1E818", nullptr, '?', "TFCREAFIRMAINVIAIE818"},
    {"ARIC_IE818", nullptr, '4', "TFRICIE815"},
    {"AAZZRIF_IE818", nullptr, 'n', "LIFECYCLE"},
    {"ASEED", nullptr, '?', "url:https://w0.example"},
    {"ADOGANE", "Pagina iniziale Agenzia delle Dogane", '?', "url:https://w7.example"},
    {"AUFFICI", nullptr, '?', "url:https://w1.example"},
    {"AEMCSREALE", nullptr, '?', "url:https://w4.example"},
    {"AEDIREALE", "A&mbiente E.D.I. REALE", '?', "url:https://w3.example"},
    {"AFIRMAVERIFICA", "&Esegue FirmaVerifica", '?', "run:C:\\FV\\P0"},
    {"AEDIPROVA", "&Ambiente E.D.I. di PROVA", '?', "url:https://w5.example"},
    {"AEMCSPROVA", nullptr, '?', "url:https://w6.example"},

    {"ARICHEAD", nullptr, '?', "TFPREPSCAR815"},
    {"AINSSCARICO", nullptr, '?', "TFMOVIMENTI"},
    {"AMODSCARICO", nullptr, 'm', "TFSCEGLIMOVIMENTO,TFMOVIMENTI"},
    {"ACANCSCARICO", nullptr, 'S', "TFCANCMOVIM"},
    {"ARICSCARICHI", nullptr, 'S', "TFRICREGC"},
    {"ARETTSCARICO", nullptr, 'F', "TFSCEGLIMOVIMENTO,TFMOVIMENTI"},
    {"Action2", nullptr, 'f', "TFSCEGLIMOVIMENTO,TFMOVIMENTI"},
    {"ACANCRETTSCAR", nullptr, 's', "TFCANCMOVIM"},
    {"ANOTARIC", nullptr, 'A', "TFSCEGLIMOVIMENTO,TFNOTARICEZ"},
    {"Action18", nullptr, 'a', "TFSCEGLIMOVIMENTO,TFNOTARICEZ"},
    {"ACANCNOTARIC", nullptr, 'A', "TFCANCMOVIM"},
    {"ARICNOTERICEZ", nullptr, 'A', "TFRICREGC"},
    {"Action3", nullptr, 'G', "TFSCEGLIMOVIMENTO,TFNOTARICEZ"},
    {"ACANCRETTNOTARIC", nullptr, 'a', "TFCANCMOVIM"},
    {"Action11", nullptr, 'D', "TFSCEGLIMOVIMENTO,TFCODCOMPLETO"},
    {"Action19", nullptr, 'K', "TFSCEGLIMOVIMENTO,TFCODPARZIALE"},
    {"Action12", nullptr, 'k', "TFSCEGLIMOVIMENTO,TFCODPARZIALE"},
    {"Action13", nullptr, 'D', "TFCANCMOVIM"},
    {"Action14", nullptr, 'D', "TFRICREGC"},
    {"Action15", nullptr, 'd', "TFSCEGLIMOVIMENTO,TFCODCOMPLETO"},
    {"Action17", nullptr, 'd', "TFCANCMOVIM"},
    {"AINSGARANZIA", nullptr, '?', "TFPREPGARANZIA"},
    {"AMODGARANZIA", nullptr, 'H', "TFSCEGLIMOVIMENTO,TFGARANZIA"},
    {"ACANCGAR", nullptr, 'F', "TFCANCMOVIM"},
    {"ARICGAR", nullptr, 'G', "TFRICREGF"},
    {"Action21", nullptr, '?', "TFSTARIEPILOGO"},
    {"Action4", nullptr, 'J', "TFSCEGLIMOVIMENTO,TFGARANZIA"},
    {"ARETTGAR", nullptr, 'j', "TFSCEGLIMOVIMENTO,TFGARANZIA"},
    {"ACANCRETT", nullptr, 'f', "TFCANCMOVIM"},
    {"ARICEVUTI", nullptr, '?', "TFPREPCAR818"},
    {"AINSCARICO", nullptr, '?', "TFMOVIMENTI"},
    {"AMODCARICO", nullptr, 'M', "TFSCEGLIMOVIMENTO,TFMOVIMENTI"},
    {"ACANCCARICO", nullptr, 'C', "TFCANCMOVIM"},
    {"ARICCARICHI", nullptr, 'C', "TFRICREGC"},
    {"ARETTCARICO", nullptr, 'E', "TFSCEGLIMOVIMENTO,TFMOVIMENTI"},
    {"Action1", nullptr, 'e', "TFSCEGLIMOVIMENTO,TFMOVIMENTI"},
    {"ACANCRETTIFICA", nullptr, 'c', "TFCANCMOVIM"},
    {"ACREAFIRINVFLUSSO", nullptr, '?', "TFCREAFIRMAINVIAREGISTRO"},
    {"AAZZDATIFLUSSO", nullptr, '?', "TFCANCFLUSSO"},
    {"ARICCARICHIINVIATI", nullptr, 'c', "TFRICREGC"},
    {"ARICSCARICHIINVIATI", nullptr, 's', "TFRICREGC"},
    {"Action16", nullptr, 'd', "TFRICREGC"},
    {"ARICNOTERIC", nullptr, 'a', "TFRICREGC"},
    {"ARICGARINVIATE", nullptr, 'g', "TFRICREGF"},
    {"ADOGANE", "&Pagina iniziale Agenzia delle Dogane", '?', "url:https://w7.example"},
    {"AEDIREALE", "Am&biente E.D.I. REALE", '?', "url:https://w3.example"},
    {"AFIRMAVERIFICA", "E&segue FirmaVerifica", '?', "run:C:\\FV\\P0"},
    {"AEDIPROVA", "A&mbiente E.D.I. di PROVA", '?', "url:https://w5.example"},
    {"Action5", nullptr, '?', "TFSTAREGGARANZIE"},
    {"Action6", nullptr, 'T', "TFSTAREGCARSCA"},
    {"Action7", nullptr, 'C', "TFSTAREGCARSCA"},
    {"Action8", nullptr, 'S', "TFSTAREGCARSCA"},
    {"Action20", nullptr, '?', "TFSTADISTINTA"},
};

const MenuItem& itemOf(const char* action, const char* caption = nullptr)
{
    const MenuItem* m = findMenuItem(QString::fromLatin1(action), caption ? QString::fromUtf8(caption) : QString());
    if (!m)
        throw std::runtime_error(std::string("no menu item ") + action);
    return *m;
}
} // namespace

TEST(MenuActions, EveryItemSetsItsOperationCodeAndOpensItsWindows)
{
    int items = 0;
    for (const MenuItem& m : menuItems())
        items += m.kind == MenuKind::Item;
    EXPECT_EQ(items, int(std::size(rows)));

    for (const Row& r : rows) {
        Configured c;
        const MenuItem& item = itemOf(r.action, r.caption);
        c.run(item);
        EXPECT_EQ(c.t.ctx.OpCode, QLatin1Char(r.op)) << r.action;
        EXPECT_EQ(c.log.join(QLatin1Char(',')), QString::fromLatin1(r.log)) << r.action;
        EXPECT_TRUE(c.t.messenger.all.isEmpty()) << r.action << ": " << c.t.messenger.all.join('|').toStdString();
        if (item.tag != NoTag) {
            EXPECT_EQ(c.t.ctx.ActionTag, item.tag) << r.action;
        }
    }
}

TEST(MenuActions, SameCaptionOnDifferentSubmenusSetsDifferentCodes)
{
    QString codes;
    for (const MenuItem& m : menuItems())
        if (m.kind == MenuKind::Item && m.captionText() == QLatin1String("C&ancella rettifica non inviata")) {
            Configured c;
            c.run(m);
            codes += c.t.ctx.OpCode;
            EXPECT_EQ(c.log, QStringList{QStringLiteral("TFCANCMOVIM")});
        }
    EXPECT_EQ(codes, QStringLiteral("sadfc"));
}

TEST(MenuActions, CodeTablesSetTheirTableAndLeaveTheNewCodeModeOff)
{
    const std::pair<const char*, const char*> tables[] = {{"AT001", "T001"}, {"AT005", "T005"}, {"ATA21C", "TA21C"},
                                                          {"ATA21S", "TA21S"}, {"ATA20", "TA20"}};
    for (auto [action, table] : tables) {
        Configured c;
        c.t.ctx.NewCodeMode = true;
        c.t.ctx.FromMenu = false;
        c.run(itemOf(action));
        EXPECT_EQ(c.t.ctx.TableName, QString::fromLatin1(table));
        EXPECT_FALSE(c.t.ctx.NewCodeMode);
        EXPECT_EQ(c.t.ctx.FromMenu, qstrcmp(action, "ATA20") == 0) << action;
    }
}

TEST(MenuActions, MovementSequenceClearsTheFlagsAndLoadsThePickedRecord)
{
    Configured c;
    // 2026.RGM with records numbered 1, 3, 4 (numero is the first field).
    QList<QByteArray> recs;
    for (int n : {1, 3, 4}) {
        QByteArray r(520, '\0');
        qToLittleEndian<qint32>(n, r.data());
        r[100] = char('A' + n);
        recs << r;
    }
    RecordFile(c.t.ctx.registri(QStringLiteral("2026.RGM")), 520).replaceAll(recs);
    c.t.ctx.FromEad = c.t.ctx.FromMenu = c.t.ctx.ModifyMode = c.t.ctx.RectifyModify = true;
    c.run(itemOf("ARETTCARICO"));
    EXPECT_FALSE(c.t.ctx.FromEad);
    EXPECT_FALSE(c.t.ctx.FromMenu);
    EXPECT_FALSE(c.t.ctx.ModifyMode);
    EXPECT_FALSE(c.t.ctx.RectifyModify);
    EXPECT_TRUE(c.t.ctx.RectifyCancel);
    EXPECT_TRUE(c.t.ctx.LoadSide);
    EXPECT_EQ(c.t.ctx.MovementRecord, recs[1]);

    // The guarantee sequence leaves FromEad alone; a missing .GAR still opens the window.
    Configured g;
    g.t.ctx.FromEad = true;
    g.run(itemOf("AMODGARANZIA"));
    EXPECT_TRUE(g.t.ctx.FromEad);
    EXPECT_TRUE(g.t.ctx.ModifyMode);
    EXPECT_EQ(g.log.last(), QStringLiteral("TFGARANZIA"));
}

TEST(MenuActions, NewMovementMarksTheRecordAndSetsTheSide)
{
    for (auto [action, load] : {std::pair{"AINSCARICO", true}, std::pair{"AINSSCARICO", false}}) {
        Configured c;
        c.t.ctx.LoadSide = !load;
        c.t.ctx.RectifyCancel = true;
        c.run(itemOf(action));
        EXPECT_EQ(c.t.ctx.LoadSide, load);
        EXPECT_FALSE(c.t.ctx.RectifyCancel);
        EXPECT_EQ(c.t.ctx.MovementRecord.size(), 520);
        EXPECT_EQ(c.t.ctx.MovementRecord.mid(36, 2), QByteArray("\x01" "1", 2));
    }
}

TEST(MenuActions, LeavingAPickerEndsTheActionSilently)
{
    for (const char* action : {"AMODDESTIN", "AMODIE815", "AMODCARICO", "AMODGARANZIA"}) {
        Configured c;
        runMenuAction(itemOf(action), c.t.ctx, [&](const QString& n) { c.log << n; return true; });
        EXPECT_EQ(c.log.size(), 1) << action;
        EXPECT_TRUE(c.t.messenger.all.isEmpty());
    }
}

TEST(MenuActions, AddressPickOpensTheWindowOnlyForAnExistingCodeAndLeavesTheRecord)
{
    Configured c;
    c.run(itemOf("AMODGARANTI"));
    EXPECT_EQ(c.t.ctx.TableName, QStringLiteral("INDIRIZZI_G"));
    EXPECT_EQ(c.t.ctx.FoundAddress.number, 2);
    EXPECT_EQ(c.t.ctx.FoundAddress.DENOM1, QStringLiteral("Secondo"));

    Configured missing;
    runMenuAction(itemOf("AMODGARANTI"), missing.t.ctx, [&](const QString& n) {
        missing.log << n;
        missing.t.ctx.PickedCode = 9;
        return true;
    });
    EXPECT_EQ(missing.log, QStringList{QStringLiteral("TFLISTVIEW")});
}

TEST(MenuActions, AnEadLoadThatFailsOpensNoWindow)
{
    Configured c;
    runMenuAction(itemOf("ACAMBIODEST"), c.t.ctx, [&](const QString& n) {
        c.log << n;
        if (n == QLatin1String("TFSCEGLIDAA"))
            c.t.ctx.PickedEad = 4;
        if (n == QLatin1String("LOADEAD"))
            c.t.ctx.PickedEad = -1; // header not found
        return true;
    });
    EXPECT_EQ(c.log, (QStringList{QStringLiteral("TFSCEGLIDAA"), QStringLiteral("LOADEAD")}));
}

TEST(MenuActions, OtherPremisesDependOnTheAuthorisationType)
{
    struct Case {
        const char* type; // nullptr: no UTENTE.001
        QStringList messages;
        QStringList log;
    };
    const Case cases[] = {
        {"1", {}, {QStringLiteral("TFALTRESEDI")}},
        {"2", {QStringLiteral("SEZIONE RISERVATA AI DEPOSITI FISCALI")}, {}},
        {"", {QStringLiteral("NON SONO STATI COMPILATI I DATI AZIENDALI")}, {}},
        {nullptr, {QStringLiteral("NON SONO STATI COMPILATI I DATI AZIENDALI")}, {}},
    };
    for (const Case& k : cases) {
        Configured c(QString::fromLatin1(k.type ? k.type : ""));
        if (!k.type)
            QFile::remove(c.t.ctx.datiGen(QStringLiteral("UTENTE.001")));
        c.run(itemOf("AALTRESEDI"));
        EXPECT_EQ(c.t.messenger.infos, k.messages) << (k.type ? k.type : "missing");
        EXPECT_EQ(c.log, k.log);
    }
}

TEST(MenuActions, WorkFilesAreEmptiedBeforeCompilingAndYearIsSet)
{
    Configured c;
    RecordFile(c.t.ctx.temp(QStringLiteral("PRODOTTI.DAT")), 2128).append(QByteArray(2128, 'p'));
    c.run(itemOf("ACOMPIE815"));
    EXPECT_EQ(QFileInfo(c.t.ctx.temp(QStringLiteral("PRODOTTI.DAT"))).size(), 0);
    EXPECT_TRUE(QFile::exists(c.t.ctx.temp(QStringLiteral("TRASPORTO.DAT"))));

    Configured y;
    y.t.clock.current = QDateTime(QDate(2027, 1, 2), QTime(9, 0));
    y.run(itemOf("ACREAFIRINVFLUSSO"));
    EXPECT_EQ(y.t.ctx.WorkYear, QStringLiteral("2027"));
}

TEST(MenuActions, LinksNeedTheCheckAndSayWhenTheyCannotOpen)
{
    test::TestContext empty;
    runMenuAction(itemOf("ASEED"), empty.ctx, [](const QString&) { return true; });
    EXPECT_TRUE(empty.shell.urls.isEmpty());
    EXPECT_EQ(empty.messenger.infos.size(), 3);

    // Address 7 is not among those the check requires: a blank one says where to set it.
    Configured c;
    TRecTabella web = blankRow();
    for (int i = 0; i < 7; ++i)
        web.Fld[i] = QStringLiteral("https://w%1.example").arg(i);
    PadRow(web);
    RecordFile(c.t.ctx.datiGen(QStringLiteral("WEB.CFG")), TRecTabella::Size).rewriteSingle(encodeRow(web));
    c.run(itemOf("ADOGANE"));
    EXPECT_TRUE(c.t.shell.urls.isEmpty());
    EXPECT_EQ(c.t.messenger.infos, QStringList{QString::fromLatin1(MsgLinkNotSet)});

    // The system refuses the address or the program: the user is told which.
    Configured refused;
    refused.t.shell.answer = false;
    refused.run(itemOf("AUFFICI"));
    refused.run(itemOf("AFIRMAVERIFICA", "&Esegue FirmaVerifica"));
    EXPECT_EQ(refused.t.messenger.infos,
              (QStringList{QString::fromLatin1(MsgLinkFailed) + QStringLiteral("https://w1.example"),
                           QString::fromLatin1(MsgLinkFailed) + QStringLiteral("C:\\FV\\P0")}));
}

// Every item of the three pages either opens something (a window, a picker, an address, the
// signing program) or says that its window is not built yet; none does nothing. The windows are
// those wired into the program at this moment, so the test holds while windows are being added.
TEST(MenuActions, EveryItemOpensSomethingOrSaysItIsNotAvailable)
{
    const QString notAvailable = QString::fromLatin1(MsgNotAvailable);
    int said = 0, opened = 0;
    for (const MenuItem& item : menuItems()) {
        if (item.kind != MenuKind::Item)
            continue;
        Configured c;
        runMenuAction(
            item, c.t.ctx,
            [&](const QString& n) {
                if (!windowRegistered(n))
                    return false;
                return c.open(n); // logged and "chosen", not shown
            },
            [](const QString& n) { return windowRegistered(n); });
        for (const QString& u : c.t.shell.urls)
            c.log << QStringLiteral("url:") + u;

        bool allBuilt = true;
        for (const QString& n : windowsOfAction(item))
            allBuilt = allBuilt && windowRegistered(n);
        const QString what = QString::fromLatin1(item.action) + QLatin1Char(' ') + item.captionText();
        if (allBuilt) {
            EXPECT_FALSE(c.log.isEmpty()) << what.toStdString();
            EXPECT_FALSE(c.t.messenger.infos.contains(notAvailable)) << what.toStdString();
            ++opened;
        } else {
            EXPECT_TRUE(c.log.isEmpty()) << what.toStdString();
            EXPECT_EQ(c.t.messenger.all, QStringList{notAvailable}) << what.toStdString();
            ++said;
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_EQ(opened + said, int(std::size(rows)));
}

TEST(MenuActions, AMissingWindowIsToldBeforeTheCheckAndThePicker)
{
    // In an empty folder the check would fail with its messages: the missing window comes first.
    test::TestContext t;
    QStringList log;
    runMenuAction(
        itemOf("AMODSCARICO"), t.ctx, [&](const QString& n) { log << n; return true; },
        [](const QString& n) { return n != QLatin1String("TFMOVIMENTI"); });
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(t.messenger.all, QStringList{QString::fromLatin1(MsgNotAvailable)});

    // A lifecycle mode whose window is missing says so although the dispatcher exists.
    test::TestContext l;
    runMenuAction(
        itemOf("AREGARC"), l.ctx, [&](const QString& n) { log << n; return true; },
        [](const QString& n) { return n != QLatin1String("TFINS_MOD_CANC_ARC"); });
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(l.messenger.all, QStringList{QString::fromLatin1(MsgNotAvailable)});
}

TEST(MenuActions, AWindowThatCannotBeOpenedSaysSoOnce)
{
    // Without the advance question, a window missing at the end of the sequence says so once.
    Configured c;
    runMenuAction(itemOf("AMODCARICO"), c.t.ctx, [&](const QString& n) {
        if (n == QLatin1String("TFMOVIMENTI"))
            return false;
        return c.open(n);
    });
    EXPECT_EQ(c.log, QStringList{QStringLiteral("TFSCEGLIMOVIMENTO")});
    EXPECT_EQ(c.t.messenger.all, QStringList{QString::fromLatin1(MsgNotAvailable)});

    // A picker that is missing ends the action with the same message, not in silence.
    Configured p;
    runMenuAction(itemOf("AMODIE815"), p.t.ctx, [&](const QString& n) {
        return n == QLatin1String("TFSCEGLIDAA") ? false : p.open(n);
    });
    EXPECT_TRUE(p.log.isEmpty());
    EXPECT_EQ(p.t.messenger.all, QStringList{QString::fromLatin1(MsgNotAvailable)});
}

TEST(MenuActions, ADamagedFileEndsTheActionWithItsMessage)
{
    Configured c;
    QFile f(c.t.ctx.datiGen(QStringLiteral("INDIRIZZI_T.DAT")));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("xyz");
    f.close();
    c.run(itemOf("AMODTRASP"));
    ASSERT_EQ(c.t.messenger.infos.size(), 1);
    EXPECT_TRUE(c.t.messenger.infos[0].contains(QStringLiteral("DANNEGGIATO")));
    EXPECT_EQ(c.log, QStringList{QStringLiteral("TFLISTVIEW")});
}
