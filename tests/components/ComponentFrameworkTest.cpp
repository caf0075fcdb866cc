#include "ComponentFramework.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class Recorder : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<QObject*> removed;
    std::vector<std::string> steps;

protected:
    void Notification(QObject* gone) override { removed.push_back(gone); }
    void ReadState() override { steps.push_back(Loading() ? "read-while-loading" : "read"); }
    void Loaded() override { steps.push_back(Loading() ? "loaded-while-loading" : "loaded"); }
};

}  // namespace

TEST(ComponentFramework, RemovalIsToldOnceAndOnlyToLiveWatchers)
{
    QObject owner;
    Recorder watcher(nullptr);
    auto* referenced = new TComponent(&owner);
    watcher.FreeNotification(referenced);
    watcher.FreeNotification(referenced);  // asking twice must not double the notice
    {
        Recorder gone(nullptr);
        gone.FreeNotification(referenced);
    }
    QObject* address = referenced;
    delete referenced;  // must not reach the watcher that is already gone
    EXPECT_EQ(watcher.removed, std::vector<QObject*>{address});
    EXPECT_TRUE(owner.children().isEmpty());
}

TEST(ComponentFramework, LoadingPhaseRunsHooksInOrder)
{
    Recorder component(nullptr);
    component.BeginLoading();
    EXPECT_TRUE(component.Loading());
    component.EndLoading();
    EXPECT_FALSE(component.Loading());
    EXPECT_EQ(component.steps, (std::vector<std::string>{"read-while-loading", "loaded"}));
}
