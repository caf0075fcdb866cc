#pragma once
// A picture that reports clicks and double clicks. The first click of a
// double click arrives as a click before the double click.
#include <QLabel>

class TPictureBox : public QLabel {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

    // The picture is drawn unscaled at the top-left; pixels of the colour of
    // its bottom-left pixel are left out.
    void SetTransparentPicture(const QImage& image);

signals:
    void Clicked();
    void DoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool FPressed = false;
};
