#include "app/TFINFO.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "foundation/Startup.h"

namespace vt {

TFINFO::TFINFO(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFINFO"));
    setWindowTitle(QStringLiteral("Info"));

    auto* title = new QLabel(QStringLiteral("Telematizzazione dei movimenti di vino intracomunitari"), this);
    title->setObjectName(QStringLiteral("LTITOLO"));
    title->setAlignment(Qt::AlignCenter);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    title->setFont(f);

    auto* update = new QLabel(lastUpdateText(QCoreApplication::applicationFilePath()), this);
    update->setObjectName(QStringLiteral("LAGGIORNAMENTO"));
    update->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(16);
    layout->addWidget(title);
    layout->addWidget(update);
    setFixedSize(sizeHint());
}

void TFINFO::mousePressEvent(QMouseEvent* e)
{
    QDialog::mousePressEvent(e);
    accept();
}

} // namespace vt
