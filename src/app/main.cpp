#include <QApplication>
#include <QDir>

#include "app/TFPRINCIPALE.h"
#include "foundation/Startup.h"
#include "ui/QtServices.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Telematizzazione dei movimenti di vino intracomunitari"));
    vt::QtMessenger messenger;
    vt::SystemClock clock;
    vt::QtShell shell;
    vt::QtFileDialogs dialogs;
    vt::AppContext ctx(vt::Services{messenger, clock, shell, dialogs});
    try {
        vt::runStartup(ctx, QDir::currentPath(), vt::AppContext::defaultTempFolder());
    } catch (const vt::IoError& e) {
        messenger.info(e.text());
    }
    vt::TFPRINCIPALE w(ctx);
    w.show();
    return app.exec();
}
