#pragma once
// The window's fonts: the named gothic faces where present, else the
// proportional and fixed-pitch Japanese gothics this desktop has, all at a
// character height of 12 pixels.
#include <QFont>

struct TFormFonts {
    QFont Proportional;
    QFont Fixed;
};

TFormFonts MainWindowFonts();
