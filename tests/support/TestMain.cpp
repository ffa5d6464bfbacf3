// Test runner: a QApplication on the offscreen platform, so window tests drive real windows.
#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include "ui/Widgets.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    vt::installAltKeyGuard(); // as the application does
    return RUN_ALL_TESTS();
}
