// A second copy of the program, as far as a data file is concerned:
//   insert PATH COUNT NAME  - inserts COUNT records keyed NAME-i, in order, under the marker lock
//   rewrite PATH RECORDS    - rewrites the file over and over, alternately all 'A' and all 'B'
#include <QCoreApplication>
#include <QThread>

#include <cstdio>

#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Services.h"

namespace {
constexpr int Size = 64;

// The person at the other workstation: presses OK on every wait, never overrides.
class PatientUser : public vt::Messenger {
public:
    void info(const QString&) override { QThread::usleep(200); }
    bool askYesNo(const QString&) override { return false; }
    bool askOkCancel(const QString&) override { return false; }
    void beep() override {}
};
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 4)
        return 2;
    try {
        if (a[1] == QLatin1String("insert")) {
            PatientUser user;
            vt::RecordFile f(a[2], Size, &user);
            const int count = a[3].toInt();
            for (int i = 0; i < count; ++i) {
                QByteArray r(Size, ' ');
                vt::RecordFile::setNumber(r, 0);
                const QByteArray key = QStringLiteral("%1-%2").arg(a[4]).arg(i, 5, 10, QLatin1Char('0')).toLatin1();
                r.replace(4, key.size(), key);
                f.insertInOrder(r, [](const QByteArray& x) { return x.mid(4, 20); });
            }
        } else if (a[1] == QLatin1String("rewrite")) {
            vt::RecordFile f(a[2], Size);
            const int records = a[3].toInt();
            std::fprintf(stdout, "ready\n");
            std::fflush(stdout);
            for (int round = 0;; ++round) {
                const QByteArray one(Size, round % 2 ? 'B' : 'A');
                f.replaceAll(QList<QByteArray>(records, one));
            }
        }
    } catch (const vt::IoError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
