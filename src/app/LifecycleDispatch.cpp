#include "app/LifecycleDispatch.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/NotAvailable.h"
#include "foundation/IoError.h"
#include "messages/EadLifecycle.h"
#include "messages/TFSCEGLIDAA.h"
#include "ui/WindowRegistry.h"

namespace vt {

QString lifecycleWindow(QChar mode)
{
    switch (mode.unicode()) {
    case 'I': return QStringLiteral("TFCREAFIRMAINVIAIE815");
    case '9': return QStringLiteral("TFCREAFIRMAINVIAIE810");
    case 'f': return QStringLiteral("TFCREAFIRMAINVIAIE813");
    case 'R': case 'C': case 'A': case 'X': case 'x': case 'a': case 'd': case 'e':
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
        const QString missing = loadChosenRecords(ctx);
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
