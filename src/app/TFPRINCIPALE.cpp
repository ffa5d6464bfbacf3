#include "app/TFPRINCIPALE.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

#include "foundation/Startup.h"
#include "ui/WindowRegistry.h"

namespace vt {

namespace {
// Keeps every tool tip of the program on screen for ToolTipMs.
class ToolTipDuration : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        auto* help = static_cast<QHelpEvent*>(event);
        QString tip = w->toolTip();
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            QAction* a = menu->actionAt(help->pos());
            tip = a && menu->toolTipsVisible() && a->toolTip() != QString(a->text()).remove(QLatin1Char('&'))
                ? a->toolTip()
                : QString();
            if (tip.isEmpty()) {
                QToolTip::hideText();
                return true;
            }
        }
        if (tip.isEmpty())
            return false;
        QToolTip::showText(help->globalPos(), tip, w, {}, TFPRINCIPALE::ToolTipMs);
        return true;
    }
};
} // namespace

TFPRINCIPALE::TFPRINCIPALE(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFPRINCIPALE"));
    setWindowTitle(QString::fromLatin1(AppTitle));
    open_ = [this](const QString& name) { return openWindow(name, ctx_, this); };
    available_ = [](const QString& name) { return windowRegistered(name); };

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(pages_);
    for (int p = 0; p < 3; ++p)
        buildPage(p);
    pages_->setCurrentIndex(0);

    // The start folder is a permanent part of the status bar: menu hints and notes are shown
    // beside it, never over it.
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(status);
    startFolder_ = new QLabel(QDir::toNativeSeparators(ctx_.StartFolder), status);
    startFolder_->setObjectName(QStringLiteral("LSTARTFOLDER"));
    startFolder_->setToolTip(QStringLiteral("Cartella di avvio"));
    status->addPermanentWidget(startFolder_);

    // The windows' short notes through the context (data saved, a flow left unsigned); a longer
    // note stays longer.
    ctx_.NoteListener = [status](const QString& text) {
        status->showMessage(text, std::max(SavedNoteMs, int(text.size()) * 100));
    };

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        ctx_.ScreenWidthLimit = screen->size().width() - 50;
        ctx_.ScreenHeightLimit = screen->size().height() - 100;
    }
    setMinimumSize(560, 420);
    resize(800, 600);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    qApp->installEventFilter(new ToolTipDuration(this));
}

TFPRINCIPALE::~TFPRINCIPALE()
{
    ctx_.NoteListener = nullptr; // the context outlives the status bar
}

void TFPRINCIPALE::buildPage(int p)
{
    const MenuPage& info = menuPages()[p];
    auto* sheet = new QWidget;
    sheet->setObjectName(QString::fromLatin1(info.sheet));
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QMenuBar(sheet);
    bar->setObjectName(QString::fromLatin1(info.menuBar));
    bar->setNativeMenuBar(false);
    layout->addWidget(bar);
    layout->addStretch(1);

    // The picture is decoration: drawn only when the program carries it.
    auto* picture = new QLabel(sheet);
    picture->setObjectName(QString::fromLatin1(info.picture));
    picture->setScaledContents(true);
    const QPixmap pixmap(QString::fromLatin1(info.resource));
    if (!pixmap.isNull())
        picture->setPixmap(pixmap);
    picture->lower();

    QMenu* menu = nullptr;
    const char* current = nullptr;
    bool first = true;
    for (const MenuItem& item : menuItems()) {
        if (item.page != p)
            continue;
        const bool newEntry = !item.submenu || !current || qstrcmp(current, item.submenu) != 0;
        if (newEntry) {
            if (!first)
                bar->addSeparator();
            first = false;
            current = item.submenu;
            menu = nullptr;
            if (item.submenu) {
                menu = bar->addMenu(item.submenuText());
                menu->setToolTipsVisible(true);
                if (qstrcmp(item.submenu, F1Submenu) == 0) {
                    QAction* own = menu->menuAction();
                    own->setShortcut(QKeySequence(Qt::Key_F1));
                    connect(own, &QAction::triggered, bar, [bar, own] { bar->setActiveAction(own); });
                }
            }
        }
        if (item.kind == MenuKind::Separator) {
            if (menu)
                menu->addSeparator();
            continue;
        }
        auto* action = new QAction(item.captionText(), this);
        action->setObjectName(QString::fromLatin1(item.action));
        if (item.tag != NoTag)
            action->setData(item.tag);
        if (item.hint) {
            action->setToolTip(QString::fromUtf8(item.hint));
            action->setStatusTip(QString::fromUtf8(item.hint));
        }
        action->setVisible(item.visible);
        const MenuItem* it = &item;
        connect(action, &QAction::triggered, this, [this, it] { runMenuAction(*it, ctx_, open_, available_); });
        if (menu)
            menu->addAction(action);
        else
            bar->addAction(action);
    }

    sheets_[p] = sheet;
    menuBars_[p] = bar;
    pictures_[p] = picture;
    pages_->addTab(sheet, QString::fromLatin1(info.caption));
}

void TFPRINCIPALE::placePictures()
{
    const QRect control = pages_->geometry();
    for (int p = 0; p < 3; ++p) {
        // The page's own coordinates: the page control's offset is already that of the page.
        const PictureRect r = pictureRect(control.width(), control.height(), menuBars_[p]->sizeHint().height(),
                                          sheets_[p]->height(), 0, 0);
        pictures_[p]->setGeometry(r.left, r.top, r.width, r.height);
        pictures_[p]->lower();
    }
}

void TFPRINCIPALE::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    placePictures();
}

void TFPRINCIPALE::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    placePictures();
}

} // namespace vt
