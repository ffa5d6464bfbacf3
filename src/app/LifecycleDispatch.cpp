#include "app/LifecycleDispatch.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/MenuActions.h"
#include "app/NotAvailable.h"
#include "foundation/IoError.h"
#include "messages/EadLifecycle.h"
#include "messages/ReceiptLifecycle.h"
#include "messages/TFSCEGLIDAA.h"
#include "ui/WindowRegistry.h"

namespace vt {

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
        const bool receipt = ctx.OpCode == QLatin1Char('N') || ctx.OpCode == QLatin1Char('n');
        const QString missing = !receipt ? loadChosenRecords(ctx)
                                : loadChosenReceipt(ctx)
                                    ? QString()
                                    : QStringLiteral("LA NOTA DI RICEZIONE N. %1 DEL %2 NON E' PIU' PRESENTE "
                                                     "(UN'ALTRA POSTAZIONE L'HA CANCELLATA?)")
                                          .arg(ctx.PickedEad)
                                          .arg(ctx.SelectedYear);
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
