#include "PictureBox.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPixmap>

TPictureBox::TPictureBox(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TPictureBox::SetTransparentPicture(const QImage& image)
{
    if (image.isNull()) {
        clear();
        return;
    }
    QPixmap picture = QPixmap::fromImage(image);
    const QRgb ground = image.pixel(0, image.height() - 1);
    picture.setMask(QBitmap::fromImage(image.createMaskFromColor(ground, Qt::MaskInColor)));
    setPixmap(picture);
}

void TPictureBox::mousePressEvent(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
}

void TPictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    if (click)
        emit Clicked();
}

void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    FPressed = false;
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}
