#include <QApplication>
#include <QDir>

#include "app/TFPRINCIPALE.h"
#include "foundation/Startup.h"
#include "masterdata/health/DataCopy.h"
#include "ui/QtServices.h"
#include "ui/Widgets.h"

// The start folder is the current directory: the data folders DATI_GEN and REGISTRI live below it.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The name is not set as the display name: Qt would append it to every window's caption.
    QApplication::setApplicationName(QString::fromLatin1(vt::AppTitle));
    vt::applyLocale();
    vt::loadItalianTranslations(); // without them the standard dialogs stay in English
    vt::installAltKeyGuard();
    vt::QtMessenger messenger;
    vt::SystemClock clock;
    vt::QtShell shell;
    vt::QtFileDialogs dialogs;
    vt::AppContext ctx(vt::Services{messenger, clock, shell, dialogs});
    try {
        // A restore that a crash interrupted is finished (or dropped) before anything reads the data.
        vt::health::completeInterruptedRestore(QDir::currentPath());
        vt::runStartup(ctx, QDir::currentPath(), vt::AppContext::defaultTempFolder());
    } catch (const vt::IoError& e) {
        // A folder or the company file that cannot be made: the rest of the start-up is skipped.
        messenger.info(e.text());
    }
    vt::TFPRINCIPALE w(ctx);
    w.show();
    return app.exec();
}
