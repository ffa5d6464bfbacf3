#pragma once
// Test fakes of the injected services, and a context over a temporary folder.
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>

#include "foundation/AppContext.h"

namespace vt::test {

// Records every text it is shown; answers questions from a script (default: No).
class FakeMessenger : public Messenger {
public:
    void info(const QString& text) override;
    bool askYesNo(const QString& text) override;
    bool askOkCancel(const QString& text) override;
    void beep() override { ++beeps; }

    QStringList infos;      // information boxes, in order
    QStringList questions;  // questions asked, in order
    QStringList all;        // both, in order
    std::deque<bool> answers;
    bool defaultAnswer = false;
    int beeps = 0;
    std::function<void(const QString&)> onInfo; // e.g. to act while a message is "shown"
};

class FakeClock : public Clock {
public:
    QDate today() const override { return current.date(); }
    QDateTime now() const override { return current; }
    QDateTime current{QDate(2026, 12, 9), QTime(10, 30, 0)};
};

class FakeShell : public Shell {
public:
    bool openUrl(const QString& address) override { urls << address; return answer; }
    bool startProgram(const QString& program) override { programs << program; if (onStart) onStart(program); return answer; }
    QStringList urls, programs;
    bool answer = true;
    std::function<void(const QString&)> onStart;
};

class FakeFileDialogs : public FileDialogs {
public:
    QString openFile(const QString& c, const QString&, const QString&) override { captions << c; return next(); }
    QString openPicture(const QString& c, const QString&) override { captions << c; return next(); }
    QString chooseFolder(const QString& c, const QString&) override { captions << c; return next(); }
    QString saveFile(const QString& c, const QString&, const QString&) override { captions << c; return next(); }
    QStringList answers, captions;

private:
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

// A context whose start folder and temporary folder are fresh temporary folders, with fakes.
struct TestContext {
    TestContext();
    QTemporaryDir dir;
    FakeMessenger messenger;
    FakeClock clock;
    FakeShell shell;
    FakeFileDialogs dialogs;
    AppContext ctx;
    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
};

} // namespace vt::test
