#pragma once
#include <QPointer>
#include <QWidget>

#include "foundation/Services.h"

class QTranslator;

namespace vt {

// Qt implementations of the injected services.
class QtMessenger : public Messenger {
public:
    // The text as a message box shows it: the CR (CR LF, CR CR) line breaks of the program's
    // messages become line breaks.
    static QString boxText(const QString& text);

    void info(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool askOkCancel(const QString& text) override;
    void beep() override;
};

class SystemClock : public Clock {
public:
    QDate today() const override;
    QDateTime now() const override;
};

class QtShell : public Shell {
public:
    bool openUrl(const QString& address) override;
    bool startProgram(const QString& program) override;
};

class QtFileDialogs : public FileDialogs {
public:
    QString openFile(const QString& caption, const QString& folder, const QString& filter) override;
    QString openPicture(const QString& caption, const QString& folder) override;
    QString chooseFolder(const QString& caption, const QString& folder) override;
    QString saveFile(const QString& caption, const QString& proposed, const QString& filter) override;
};

// Loads Qt's own Italian translations (buttons of the standard dialogs, file chooser, print
// preview) into the application; returns the installed translator, owned by the application, or
// nullptr when they are not installed.
QTranslator* loadItalianTranslations();

} // namespace vt
