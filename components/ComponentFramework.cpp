#include "ComponentFramework.h"

TComponent::TComponent(QObject* owner) : QObject(owner)
{ }

TComponent::~TComponent()
{
    for (const auto& connection : std::as_const(watched_))
        disconnect(connection);
}

void TComponent::FreeNotification(QObject* referenced)
{
    if (!referenced || referenced == this || watched_.contains(referenced))
        return;
    watched_.insert(referenced, connect(referenced, &QObject::destroyed, this, [this](QObject* removed) {
                        watched_.remove(removed);
                        Notification(removed);
                    }));
}

void TComponent::BeginLoading()
{
    loading_ = true;
    ReadState();
}

void TComponent::EndLoading()
{
    loading_ = false;
    Loaded();
}

void TComponent::Notification(QObject*)
{ }
void TComponent::ReadState()
{ }
void TComponent::Loaded()
{ }
