#include "ui/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QTranslator>
#include <QUrl>

#include "foundation/Startup.h"

namespace vt {

namespace {
QWidget* parentWindow()
{
    return QApplication::activeWindow();
}
QString title()
{
    return QString::fromLatin1(AppTitle);
}
} // namespace

QString QtMessenger::boxText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void QtMessenger::info(const QString& text)
{
    QMessageBox::information(parentWindow(), title(), boxText(text));
}

bool QtMessenger::askYesNo(const QString& text)
{
    return QMessageBox::question(parentWindow(), title(), boxText(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Yes;
}

bool QtMessenger::askOkCancel(const QString& text)
{
    return QMessageBox::question(parentWindow(), title(), boxText(text), QMessageBox::Ok | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Ok;
}

void QtMessenger::beep()
{
    QApplication::beep();
}

QTranslator* loadItalianTranslations()
{
    // Qt's catalogues where Qt keeps them, or in "translations" beside the program (a copy
    // installed with it on Windows).
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(italian, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator))
            return translator;
        delete translator;
    }
    return nullptr;
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

QString QtFileDialogs::saveFile(const QString& caption, const QString& proposed, const QString& filter)
{
    return QFileDialog::getSaveFileName(parentWindow(), caption, proposed, filter);
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
