#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

namespace vt {

// Everything that touches the person or the outside world goes through these interfaces:
// Qt implementations live in ui/, fakes in tests/support/.

class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void info(const QString& text) = 0;          // information box with OK
    virtual bool askYesNo(const QString& text) = 0;      // true for Yes
    virtual bool askOkCancel(const QString& text) = 0;   // true for OK
    virtual void beep() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Both answer whether the address or program was started; no command shell is involved.
    virtual bool openUrl(const QString& address) = 0;
    virtual bool startProgram(const QString& program) = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Each returns the chosen path, or an empty string when the user gave up.
    virtual QString openFile(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString openPicture(const QString& caption, const QString& folder) = 0;
    virtual QString chooseFolder(const QString& caption, const QString& folder) = 0;
    // A file to write (a list saved as PDF): `proposed` is the path offered.
    virtual QString saveFile(const QString& caption, const QString& proposed, const QString& filter)
    {
        (void)caption, (void)proposed, (void)filter;
        return {};
    }
};

} // namespace vt
