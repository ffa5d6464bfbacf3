// The Qt message boxes and standard dialogs as the user sees them: the program's title as their
// caption, the CR line breaks of its messages as real line breaks, and Qt's own buttons in Italian.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include "foundation/Startup.h"
#include "ui/QtServices.h"

using namespace vt;

namespace {
// Runs `look` on the message box the next call shows, then presses its button `press`.
void onNextBox(std::function<void(QMessageBox*)> look, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [look, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box";
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
            return;
        }
        look(box);
        if (QAbstractButton* b = box->button(press))
            b->click();
        else
            box->close();
    });
}

QString plain(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// Qt's Italian catalogue, removed again at the end of the test so the others see what they expect.
struct Italian {
    QTranslator* translator = loadItalianTranslations();
    ~Italian()
    {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
};
} // namespace

TEST(QtMessenger, CarriageReturnsBecomeLineBreaks)
{
    const std::pair<const char*, const char*> cases[] = {
        {"IL FILE E' IN USO\r\rRIPROVARE?", "IL FILE E' IN USO\n\nRIPROVARE?"},
        {"UNA\rDUE", "UNA\nDUE"},
        {"UNA\r\nDUE", "UNA\nDUE"},
        {"UNA\nDUE", "UNA\nDUE"},
        {"NESSUNA RIGA", "NESSUNA RIGA"},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(QtMessenger::boxText(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;

    // The box really shows them on separate lines, under the program's title and nothing more.
    QtMessenger m;
    QString text, title;
    onNextBox([&](QMessageBox* b) { text = b->text(); title = b->windowTitle(); }, QMessageBox::Ok);
    m.info(QStringLiteral("FILE BLOCCATO DA UN ALTRO UTENTE\r\rATTENDERE"));
    EXPECT_EQ(text, QStringLiteral("FILE BLOCCATO DA UN ALTRO UTENTE\n\nATTENDERE"));
    EXPECT_EQ(title, QString::fromLatin1(AppTitle));
}

TEST(QtMessenger, YesNoButtonsAreItalianAndNoIsTheDefault)
{
    Italian it;
    ASSERT_NE(it.translator, nullptr) << "Qt's Italian translations are not installed";
    QtMessenger m;
    QString yes, no, defaultButton;
    onNextBox(
        [&](QMessageBox* b) {
            yes = plain(b->button(QMessageBox::Yes)->text());
            no = plain(b->button(QMessageBox::No)->text());
            defaultButton = plain(b->defaultButton()->text());
            b->grab().save(QDir::temp().filePath(QStringLiteral("QMessageBox-yesno.png")));
        },
        QMessageBox::Yes);
    EXPECT_TRUE(m.askYesNo(QStringLiteral("CONFERMI LA CANCELLAZIONE?")));
    EXPECT_EQ(yes, QString::fromUtf8("Sì"));
    EXPECT_EQ(no, QStringLiteral("No"));
    EXPECT_EQ(defaultButton, QStringLiteral("No"));

    onNextBox([](QMessageBox*) {}, QMessageBox::No);
    EXPECT_FALSE(m.askYesNo(QStringLiteral("CONFERMI?")));
}

TEST(QtMessenger, FileChooserSpeaksItalian)
{
    Italian it;
    ASSERT_NE(it.translator, nullptr);
    QFileDialog d(nullptr, QStringLiteral("Scegli il file"), QDir::tempPath());
    d.setOption(QFileDialog::DontUseNativeDialog);
    auto* box = d.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    QStringList texts;
    for (QAbstractButton* b : box->buttons())
        texts << plain(b->text());
    EXPECT_TRUE(texts.contains(QStringLiteral("Annulla"))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Apri"))) << texts.join('|').toStdString();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Scegli il file"));
    d.resize(700, 450);
    d.show();
    d.grab().save(QDir::temp().filePath(QStringLiteral("QFileDialog.png")));
    d.hide();
}
