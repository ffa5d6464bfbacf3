#include "app/LifecycleDispatch.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/MenuActions.h"
#include "foundation/IoError.h"
#include "messages/EadLifecycle.h"
#include "messages/TFCREAFIRMAINVIAIE815.h"
#include "messages/TFSCEGLIDAA.h"

namespace vt {

void runLifecycle(AppContext& ctx, QWidget* parent)
{
    if (ctx.OpCode != QLatin1Char('I')) {
        ctx.messenger().info(QString::fromLatin1(MsgNotAvailable)); // a mode without its handler yet
        return;
    }
    try {
        emptyLifecycleWorkFiles(ctx);
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
        return;
    }
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
        // A header no longer in its file (another workstation deleted it) ends the action.
        if (!loadChosenEad(ctx))
            return;
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
        return;
    }
    TFCREAFIRMAINVIAIE815 window(ctx, parent);
    window.exec();
}

} // namespace vt
