// Widget tests run headless, with the scriptable fake desktop under the
// clipboard detector and the tray icon.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/dummy/DummyPlatform.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Linkrake Professional"));
    static TDummyPlatform desktop;
    SetCurrentPlatform(&desktop);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
