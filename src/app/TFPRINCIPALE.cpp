#include "app/TFPRINCIPALE.h"

#include <QStatusBar>

namespace vt {

TFPRINCIPALE::TFPRINCIPALE(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFPRINCIPALE"));
    setWindowTitle(QStringLiteral("Telematizzazione dei movimenti di vino intracomunitari"));
    statusBar()->showMessage(ctx_.StartFolder);
}

} // namespace vt
