#pragma once
// The program's own pictures, kept as resources (drawn by art/draw-art.sh).
#include <QIcon>
#include <QImage>

QIcon MainIcon();        // 32 × 32, 16 colours
QIcon TrayIconImage();   // 16 × 16, 16 colours
QImage MascotPicture();  // 90 × 102, 24 bits, on the transparent grey D9D9D9
