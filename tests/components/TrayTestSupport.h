#pragma once
// Shared set-up for the tray icon tests: a fresh fake platform, a form, and
// a log of the events an icon raises.

#include "TrayIcon.h"
#include "platform/dummy/DummyPlatform.h"

#include <QApplication>
#include <QPixmap>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

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
    std::vector<std::string> log;  // e.g. "down R 640,470", "click", "dblclick"

    ~TrayTest() override
    {
        form.reset();  // icons and the callback window go while the fake is installed
        QApplication::setWindowIcon(QIcon());
    }

    TTrayIcon* ShownIcon(QObject* owner = nullptr)
    {
        auto* icon = new TTrayIcon(owner ? owner : form.get());
        icon->SetIcon(SolidIcon(Qt::red));
        icon->SetVisible(true);
        return icon;
    }
    void Mouse(TTrayIcon* icon, UINT message)
    {
        platform->MouseOnIcon(static_cast<UINT>(icon->IconId()), message);
    }

    void LogEvents(TTrayIcon* icon, bool withMouseUp = true)
    {
        auto mouse = [this](const char* what) {
            return [this, what](QObject*, TMouseButton button, TShiftState shift, int x, int y) {
                static const char names[] = "LRM";
                const char name = names[static_cast<int>(button)];
                const unsigned expectedShift = name == 'L' ? ssLeft : name == 'R' ? ssRight : ssMiddle;
                log.push_back(std::string(what) + " " + name + (shift == expectedShift ? "" : " wrong-shift")
                              + " " + std::to_string(x) + "," + std::to_string(y));
            };
        };
        icon->OnMouseDown = mouse("down");
        if (withMouseUp)
            icon->OnMouseUp = mouse("up");
        icon->OnMouseMove = [this](QObject*, TShiftState shift, int x, int y) {
            log.push_back("move " + std::to_string(shift) + " " + std::to_string(x) + ","
                          + std::to_string(y));
        };
        icon->OnClick = [this](QObject*) { log.push_back("click"); };
        icon->OnDblClick = [this](QObject*) { log.push_back("dblclick"); };
    }
};

using Log = std::vector<std::string>;
