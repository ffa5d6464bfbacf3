#pragma once
// The services a benchmark's context needs: nobody answers, nothing is opened, the day is fixed.
#include <QDate>
#include <QDateTime>

#include "foundation/Services.h"

namespace vtbench {

class Quiet : public vt::Messenger {
public:
    void info(const QString&) override { }
    bool askYesNo(const QString&) override { return true; }
    bool askOkCancel(const QString&) override { return true; }
    void beep() override { }
};

class FixedDay : public vt::Clock {
public:
    explicit FixedDay(QDate day) : day_(day) { }
    QDate today() const override { return day_; }
    QDateTime now() const override { return QDateTime(day_, QTime(10, 0)); }

private:
    QDate day_;
};

class NoShell : public vt::Shell {
public:
    bool openUrl(const QString&) override { return false; }
    bool startProgram(const QString&) override { return false; }
};

class NoDialogs : public vt::FileDialogs {
public:
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString openPicture(const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

} // namespace vtbench
