// A second copy of the program, as far as a data file is concerned:
//   insert PATH COUNT NAME  - inserts COUNT records keyed NAME-i, in order, under the marker lock
//   rewrite PATH RECORDS    - rewrites the file over and over, alternately all 'A' and all 'B'
//   restore START ZIP ASIDE STEP - restores the copy ZIP into START, stopping for good (printing
//                             "at STEP" and sleeping) when it reaches STEP; "-" never stops
//   modify START TEMP       - modifies the one e-AD of the start folder over and over, one
//                             generation after the other, printing "saved G" after each save
#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <cstdio>

#include "EadGenerations.h"
#include "foundation/IoError.h"
#include "foundation/RecordFile.h"
#include "foundation/Services.h"
#include "foundation/Text.h"
#include "masterdata/health/DataCopy.h"
#include "messages/ead/EadStore.h"
#include "support/Fakes.h"

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

class SystemClock : public vt::Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Load, change into the next generation, save as a modification: what the compilation window does.
[[noreturn]] void modifyForever(const QString& start, const QString& temp)
{
    namespace gen = vt::test::generations;
    PatientUser user;
    SystemClock clock;
    vt::test::FakeShell shell;
    vt::test::FakeFileDialogs dialogs;
    vt::AppContext ctx(vt::Services{user, clock, shell, dialogs});
    ctx.setFolders(start, temp);
    ctx.CompanyRecord.CACCI1 = QStringLiteral("IT00FIT00012S");
    std::fprintf(stdout, "ready\n");
    std::fflush(stdout);
    for (;;) {
        QString year;
        vt::TRecEad inHand;
        for (const QString& y : {QStringLiteral("2026"), QStringLiteral("2027")}) {
            const QList<vt::TRecEad> headers = vt::readHeaders(vt::eadfiles::headers(ctx, y));
            if (!headers.isEmpty() && vt::loadEad(ctx, y, headers.first().progressivo, inHand)) {
                year = y;
                break;
            }
        }
        if (year.isEmpty())
            throw vt::IoError(QStringLiteral("no e-AD to modify"));
        const int g = vt::trimField(inHand.NUMFAT).mid(4).toInt() + 1;
        vt::test::writeWorkFiles(ctx, gen::transportLines(g), gen::productLines(g));
        vt::saveEad(ctx, gen::header(g), QString(), &inHand);
        std::fprintf(stdout, "saved %d\n", g);
        std::fflush(stdout);
    }
}
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
        } else if (a[1] == QLatin1String("restore") && a.size() >= 6) {
            PatientUser user;
            const std::string stopAt = a[5].toStdString();
            vt::health::restoreStepHook() = [stopAt](const char* step) {
                if (stopAt != step)
                    return;
                std::fprintf(stdout, "at %s\n", step);
                std::fflush(stdout);
                for (;;)
                    QThread::sleep(10);
            };
            std::fprintf(stdout, "ready\n");
            std::fflush(stdout);
            vt::health::restoreCopy(a[2], a[3], a[4], QDateTime::currentDateTime(), user);
            std::fprintf(stdout, "restored\n");
            std::fflush(stdout);
        } else if (a[1] == QLatin1String("modify")) {
            modifyForever(a[2], a[3]);
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
