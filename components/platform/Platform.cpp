#include "Platform.h"

#include "x11/QtX11Platform.h"

namespace {

TPlatform* installed = nullptr;

TPlatform& DesktopPlatform()
{
    // Never destroyed: its Qt objects must not outlive the application object
    // in a static destructor.
    static auto* desktop = new TQtX11Platform;
    return *desktop;
}

}  // namespace

TPlatform& CurrentPlatform()
{
    return installed ? *installed : DesktopPlatform();
}

TPlatform* SetCurrentPlatform(TPlatform* platform)
{
    TPlatform* previous = installed;
    installed = platform;
    return previous;
}
