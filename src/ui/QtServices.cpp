#include "ui/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace vt {

namespace {
QWidget* parentWindow()
{
    return QApplication::activeWindow();
}
QString title()
{
    return QApplication::applicationDisplayName();
}
} // namespace

void QtMessenger::info(const QString& text)
{
    QMessageBox::information(parentWindow(), title(), text);
}

bool QtMessenger::askYesNo(const QString& text)
{
    return QMessageBox::question(parentWindow(), title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

bool QtMessenger::askOkCancel(const QString& text)
{
    return QMessageBox::question(parentWindow(), title(), text, QMessageBox::Ok | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Ok;
}

void QtMessenger::beep()
{
    QApplication::beep();
}

QDate SystemClock::today() const
{
    return QDate::currentDate();
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

bool QtShell::openUrl(const QString& address)
{
    QUrl url = QUrl::fromUserInput(address.trimmed());
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShell::startProgram(const QString& program)
{
    // As the system's "open" would: a program is started directly, never through a command
    // shell, so spaces or shell characters in the path are harmless; any other existing path (a
    // document, a script that is not executable, a folder) goes to its default handler.
    const QString path = program.trimmed();
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    if (info.isFile() && info.isExecutable())
        return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

QString QtFileDialogs::openFile(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), caption, folder, filter);
}

QString QtFileDialogs::openPicture(const QString& caption, const QString& folder)
{
    return QFileDialog::getOpenFileName(parentWindow(), caption, folder,
                                        QStringLiteral("Immagini (*.bmp *.BMP *.jpg *.jpeg *.png)"));
}

QString QtFileDialogs::chooseFolder(const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(parentWindow(), caption, folder);
}

} // namespace vt
