#include "platform/Twips.h"

#include <QApplication>
#include <QStandardPaths>
#include <gmock/gmock.h>

// Every test program runs on the offscreen platform with its own configuration
// and state folders, so no test reads or writes the user's settings.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    setClassicFont();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
