#include "app/MenuActions.h"
#include "app/LifecycleDispatch.h"
#include "app/NotAvailable.h"

#include <QtEndian>

#include "foundation/AddressFile.h"
#include "foundation/AppContext.h"
#include "foundation/CompanyRecord.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "masterdata/StartupCheck.h"

namespace vt {

namespace {
constexpr int EadLineSize = 2128;  // transport and product lines (TRASPORTO.DAT, PRODOTTI.DAT)
constexpr int RegisterSize = 520;  // register movements (.RGM) and guarantees (.GAR)

void applyFlags(const MenuItem& item, AppContext& ctx)
{
    const unsigned f = item.flags;
    if (f & SetFromMenu) ctx.FromMenu = true;
    if (f & ClearFromMenu) ctx.FromMenu = false;
    if (f & SetModifyMode) ctx.ModifyMode = true;
    if (f & ClearModifyMode) ctx.ModifyMode = false;
    if (f & SetLoadSide) ctx.LoadSide = true;
    if (f & ClearLoadSide) ctx.LoadSide = false;
    if (f & SetRectifyCancel) ctx.RectifyCancel = true;
    if (f & SetRectifyModify) ctx.RectifyModify = true;
    if (f & ClearNewCodeMode) ctx.NewCodeMode = false;
    if (f & WorkYearNow) ctx.WorkYear = QString::number(ctx.clock().today().year());
}

// Opens a window of the action; one that does not exist yet says so, and the action ends.
bool openOrSay(AppContext& ctx, const OpenWindowFn& open, const QString& name)
{
    if (open(name))
        return true;
    tellNotAvailable(ctx);
    return false;
}

void emptyWorkFile(AppContext& ctx, const char* name)
{
    RecordFile(ctx.temp(QString::fromLatin1(name)), EadLineSize).clear();
}

// Authorisation type of UTENTE.001: "1" tax warehouse, "2" registered consignor/consignee.
void otherPremises(const MenuItem& item, AppContext& ctx, const OpenWindowFn& open)
{
    const auto first = RecordFile(ctx.datiGen(QStringLiteral("UTENTE.001")), TRecAzienda::Size).readFirst();
    const QString type = first ? decodeCompany(*first).TIPOIN : QString();
    if (type == QLatin1String("1")) {
        ctx.CompanyRecord = decodeCompany(*first); // the head office, shown and copied by the window
        openOrSay(ctx, open, QString::fromLatin1(item.window));
    } else if (type == QLatin1String("2")) {
        ctx.messenger().info(QString::fromLatin1(MsgReservedToWarehouses));
    } else {
        ctx.messenger().info(QString::fromLatin1(MsgNoCompany));
    }
}

void addressPick(const MenuItem& item, AppContext& ctx, const OpenWindowFn& open)
{
    ctx.PickedCode = -1;
    if (!openOrSay(ctx, open, QStringLiteral("TFLISTVIEW")) || ctx.PickedCode < 0)
        return;
    ctx.CurrentAddress.number = ctx.PickedCode;
    const auto found = FindAddress(AddressSearch::Code, ctx.CurrentAddress, ctx.datiGen(ctx.TableName + QStringLiteral(".DAT")));
    if (!found)
        return;
    ctx.FoundAddress = *found;
    openOrSay(ctx, open, QString::fromLatin1(item.window));
}

// e-AD picker, then the loader; false when nothing was picked or the e-AD cannot be loaded.
bool pickAndLoadEad(AppContext& ctx, const OpenWindowFn& open)
{
    ctx.PickedEad = -1;
    if (!openOrSay(ctx, open, QStringLiteral("TFSCEGLIDAA")) || ctx.PickedEad < 0)
        return false;
    return openOrSay(ctx, open, QString::fromLatin1(EadLoader)) && ctx.PickedEad >= 0;
}

// Movement and guarantee sequences: picker, then the picked record of the year into the movement
// record buffer. A missing file is skipped; the window opens even when the record is not there.
bool pickRegisterRecord(AppContext& ctx, const OpenWindowFn& open, const QString& extension)
{
    ctx.PickedMovement = -1;
    if (!openOrSay(ctx, open, QStringLiteral("TFSCEGLIMOVIMENTO")) || ctx.PickedMovement < 0)
        return false;
    RecordFile file(ctx.registri(ctx.SelectedYear + extension), RegisterSize);
    if (auto rec = file.findByNumber(ctx.PickedMovement))
        ctx.MovementRecord = *rec;
    return true;
}

// A link whose address is blank, or that the system does not open, says so instead of nothing.
void link(const MenuItem& item, AppContext& ctx)
{
    if (item.tag == 100) {
        const QString program = ctx.AppConfig.Fld[0].trimmed();
        if (program.isEmpty())
            ctx.messenger().info(QString::fromLatin1(MsgProgramNotSet));
        else if (!ctx.shell().startProgram(program))
            ctx.messenger().info(QString::fromLatin1(MsgLinkFailed) + program);
        return;
    }
    const QString address = item.tag >= 0 && item.tag < int(ctx.WebConfig.Fld.size())
        ? ctx.WebConfig.Fld[item.tag].trimmed()
        : QString();
    if (address.isEmpty())
        ctx.messenger().info(QString::fromLatin1(MsgLinkNotSet));
    else if (!ctx.shell().openUrl(address))
        ctx.messenger().info(QString::fromLatin1(MsgLinkFailed) + address);
}

void clearMovementFlags(AppContext& ctx, bool alsoFromEad)
{
    if (alsoFromEad)
        ctx.FromEad = false;
    ctx.FromMenu = false;
    ctx.ModifyMode = false;
    ctx.RectifyModify = false;
    ctx.RectifyCancel = false;
}

void run(const MenuItem& item, AppContext& ctx, const OpenWindowFn& open)
{
    using S = MenuSequence;
    if (item.tag != NoTag)
        ctx.ActionTag = item.tag;

    // The movement and guarantee sequences start from cleared flags, then set their own.
    if (item.sequence == S::NewMovement || item.sequence == S::Movement)
        clearMovementFlags(ctx, true);
    else if (item.sequence == S::Guarantee)
        clearMovementFlags(ctx, false);

    if (item.opCode)
        ctx.OpCode = QLatin1Char(item.opCode);
    if (item.sequence == S::Lifecycle)
        ctx.OpCode = QLatin1Char(lifecycleOpCode(item.tag));
    applyFlags(item, ctx);
    if (item.tableName)
        ctx.TableName = QString::fromLatin1(item.tableName);

    if (item.sequence == S::NewMovement) {
        // The one-character field at byte 36 of the movement record (string[1]) := "1".
        ctx.MovementRecord.resize(RegisterSize, '\0');
        ctx.MovementRecord[36] = 1;
        ctx.MovementRecord[37] = '1';
        ctx.LoadSide = item.tag == 1;
    }

    if (item.startupCheck && !StartupCheck(ctx))
        return;

    const QString window = item.window ? QString::fromLatin1(item.window) : QString();
    switch (item.sequence) {
    case S::Show:
    case S::NewMovement:
    case S::Lifecycle:
        openOrSay(ctx, open, window);
        return;
    case S::AltreSedi:
        otherPremises(item, ctx, open);
        return;
    case S::AddressPick:
        addressPick(item, ctx, open);
        return;
    case S::CompileEad:
        emptyWorkFile(ctx, "TRASPORTO.DAT");
        emptyWorkFile(ctx, "PRODOTTI.DAT");
        openOrSay(ctx, open, window);
        return;
    case S::ModifyEad:
        emptyWorkFile(ctx, "TRASPORTO.DAT");
        emptyWorkFile(ctx, "PRODOTTI.DAT");
        if (pickAndLoadEad(ctx, open))
            openOrSay(ctx, open, window);
        return;
    case S::DuplicateEad: {
        emptyWorkFile(ctx, "TRASPORTO.DAT");
        emptyWorkFile(ctx, "PRODOTTI.DAT");
        ctx.PickedEad = -1;
        if (!openOrSay(ctx, open, QStringLiteral("TFSCEGLIDAA")) || ctx.PickedEad < 0)
            return;
        if (!openOrSay(ctx, open, QString::fromLatin1(DuplicateLoader)) || ctx.PickedEad < 0)
            return;
        // Only this opening of the compilation is a duplicate, also when it ends by an error.
        struct Reset {
            AppContext& c;
            ~Reset() { c.DuplicateEad = false; }
        } reset{ctx};
        ctx.DuplicateEad = true;
        openOrSay(ctx, open, window);
        return;
    }
    case S::ChangeDestination:
        emptyWorkFile(ctx, "TRASPORTO.DAT");
        if (pickAndLoadEad(ctx, open))
            openOrSay(ctx, open, window);
        return;
    case S::Movement:
        if (pickRegisterRecord(ctx, open, QStringLiteral(".RGM")))
            openOrSay(ctx, open, movementWindow(ctx.OpCode));
        return;
    case S::Guarantee:
        if (pickRegisterRecord(ctx, open, QStringLiteral(".GAR")))
            openOrSay(ctx, open, window);
        return;
    case S::Link:
        link(item, ctx);
        return;
    }
}
} // namespace

char lifecycleOpCode(int tag)
{
    switch (tag) {
    case 1: return 'R';
    case 3: return 'C';
    case 4: return 'I';
    case 6: return 'A';
    case 7: return 'X';
    case 8: return 'x';
    case 9: return '9';
    case 10: return 'd';
    case 11: return 'a';
    case 12: return 'e';
    case 13: return 'f';
    case 14: return 'N';
    case 16: return 'n';
    default: return 0;
    }
}

QStringList windowsOfAction(const MenuItem& item)
{
    using S = MenuSequence;
    const QString window = item.window ? QString::fromLatin1(item.window) : QString();
    const QString loader = QString::fromLatin1(EadLoader);
    switch (item.sequence) {
    case S::Show:
    case S::NewMovement:
    case S::AltreSedi:
    case S::CompileEad:
        return {window};
    case S::AddressPick:
        return {QStringLiteral("TFLISTVIEW"), window};
    case S::Lifecycle:
        return {window, lifecycleWindow(QLatin1Char(lifecycleOpCode(item.tag)))};
    case S::ModifyEad:
    case S::ChangeDestination:
        return {QStringLiteral("TFSCEGLIDAA"), loader, window};
    case S::DuplicateEad:
        return {QStringLiteral("TFSCEGLIDAA"), QString::fromLatin1(DuplicateLoader), window};
    case S::Movement:
        return {QStringLiteral("TFSCEGLIMOVIMENTO"), movementWindow(QLatin1Char(item.opCode))};
    case S::Guarantee:
        return {QStringLiteral("TFSCEGLIMOVIMENTO"), window};
    case S::Link:
        return {};
    }
    return {};
}

QString movementWindow(QChar op)
{
    switch (op.toLatin1()) {
    case 'M': case 'E': case 'e': case 'm': case 'F': case 'f': return QStringLiteral("TFMOVIMENTI");
    case 'A': case 'a': case 'G': return QStringLiteral("TFNOTARICEZ");
    case 'D': case 'd': return QStringLiteral("TFCODCOMPLETO");
    case 'K': case 'k': return QStringLiteral("TFCODPARZIALE");
    default: return {};
    }
}

const MenuItem* findMenuItem(const QString& action, const QString& caption)
{
    for (const MenuItem& m : menuItems())
        if (m.kind == MenuKind::Item && QLatin1String(m.action) == action
            && (caption.isNull() || m.captionText() == caption))
            return &m;
    return nullptr;
}

void runMenuAction(const MenuItem& item, AppContext& ctx, const OpenWindowFn& open, const WindowAvailableFn& available)
{
    if (available) {
        for (const QString& name : windowsOfAction(item))
            if (!available(name)) {
                tellNotAvailable(ctx);
                return;
            }
    }
    try {
        run(item, ctx, open);
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
    }
}

} // namespace vt
