#include "app/LifecycleDispatch.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "app/NotAvailable.h"
#include "foundation/IoError.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/receipt/ReceiptLifecycle.h"
#include "messages/ead/TFSCEGLIDAA.h"
#include "ui/WindowRegistry.h"

namespace vt {

namespace {
// Keeps the chooser centred on the screen and within it: it sizes itself to its columns when its
// list is built, after it has been shown.
class KeepCentred : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Resize)
            if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow())
                centre(w);
        return false;
    }
    static void centre(QWidget* w)
    {
        QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        const QRect area = screen->availableGeometry();
        const QSize frame = w->frameGeometry().size() - w->size();
        const QSize most = area.size() - frame;
        if (w->width() > most.width() || w->height() > most.height()) {
            w->resize(std::min(w->width(), most.width()), std::min(w->height(), most.height()));
            return; // the resize comes back here
        }
        const QPoint topLeft = area.center() - QPoint(w->frameGeometry().width() / 2, w->frameGeometry().height() / 2);
        w->move(std::max(topLeft.x(), area.left()), std::max(topLeft.y(), area.top()));
    }
};
} // namespace

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
        KeepCentred keepCentred;
        chooser.installEventFilter(&keepCentred);
        KeepCentred::centre(&chooser);
        chooser.exec();
        chooser.removeEventFilter(&keepCentred);
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
