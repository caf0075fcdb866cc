#include <gtest/gtest.h>

#include <QCoreApplication>

#include "DesktopSession.h"

namespace {

// A window manager, so that minimizing and closing requests are honoured
// as on a user's desktop.
class TWindowManagerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        FManager = std::make_unique<TBackgroundProgram>(QStringLiteral("openbox"), QStringList{});
        Pause(500);
    }
    void TearDown() override { FManager.reset(); }

private:
    std::unique_ptr<TBackgroundProgram> FManager;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TWindowManagerEnvironment);
    return RUN_ALL_TESTS();
}
