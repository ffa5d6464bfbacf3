#include "app/LifecycleDispatch.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/NotAvailable.h"
#include "foundation/IoError.h"
#include "messages/EadLifecycle.h"
#include "messages/ReceiptLifecycle.h"
#include "messages/TFSCEGLIDAA.h"
#include "ui/WindowRegistry.h"

namespace vt {

QString lifecycleWindow(QChar mode)
{
    switch (mode.unicode()) {
    case 'I': return QStringLiteral("TFCREAFIRMAINVIAIE815");
    case '9': return QStringLiteral("TFCREAFIRMAINVIAIE810");
    case 'f': return QStringLiteral("TFCREAFIRMAINVIAIE813");
    case 'R': case 'C': case 'A': case 'X': case 'x': case 'a': case 'd': case 'e': case 'N': case 'n':
        return QStringLiteral("TFINS_MOD_CANC_ARC");
    default: return {};
    }
}

void runLifecycle(AppContext& ctx, QWidget* parent)
{
    const QString window = lifecycleWindow(ctx.OpCode);
    if (window.isEmpty()) {
        tellNotAvailable(ctx);
        return;
    }
    try {
        emptyLifecycleWorkFiles(ctx);
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
        return;
    }
    ctx.PickedEad = -1;
    {
        TFSCEGLIDAA chooser(ctx, parent);
        chooser.adjustSize();
        if (QScreen* screen = QGuiApplication::primaryScreen())
            chooser.move(screen->availableGeometry().center() - chooser.rect().center());
        chooser.exec();
    }
    if (ctx.PickedEad < 0)
        return;
    try {
        // A report of receipt: its header into MessageRecord, its lines into DETTAGLI.818, its summary.
        const bool receipt = ctx.OpCode == QLatin1Char('N') || ctx.OpCode == QLatin1Char('n');
        const QString missing = !receipt ? loadChosenRecords(ctx)
                                : loadChosenReceipt(ctx) ? QString()
                                                         : receiptActionMessage(ReceiptAction::NotFound, ctx.PickedEad);
        if (!missing.isEmpty()) {
            ctx.messenger().info(missing);
            return;
        }
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
        return;
    }
    if (!openWindow(window, ctx, parent))
        tellNotAvailable(ctx);
}

} // namespace vt
