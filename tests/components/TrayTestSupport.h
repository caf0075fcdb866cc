#pragma once
// Shared set-up for the tray icon tests: a fresh fake platform and a form.

#include "TrayIcon.h"
#include "platform/dummy/DummyPlatform.h"

#include <QApplication>
#include <QPixmap>
#include <gtest/gtest.h>
#include <memory>

inline QIcon SolidIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

class TrayTest : public ::testing::Test {
protected:
    TDummyPlatformScope platform;
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();

    ~TrayTest() override
    {
        form.reset();   // icons and the callback window go while the fake is installed
        QApplication::setWindowIcon(QIcon());
    }

    TTrayIcon* NewIcon()
    {
        auto* icon = new TTrayIcon(form.get());
        icon->SetIcon(SolidIcon(Qt::red));
        return icon;
    }
    TTrayIcon* ShownIcon()
    {
        TTrayIcon* icon = NewIcon();
        icon->SetVisible(true);
        return icon;
    }
    void Mouse(TTrayIcon* icon, UINT message) { platform->MouseOnIcon(icon->IconId(), message); }
};
