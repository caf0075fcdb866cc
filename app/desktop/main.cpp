// The desktop program: the application titled "Linkrake Professional", its
// main window, and the event loop until that window closes.
#include <QApplication>

#include "Form1Artwork.h"
#include "Form1Builder.h"
#include "Form1U.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Linkrake Professional"));
    QApplication::setApplicationDisplayName(QStringLiteral("Linkrake Professional"));
    QApplication::setWindowIcon(MainIcon());
    // Dialogs and message boxes share the window's font.
    QApplication::setFont(Form1Fonts().Proportional);

    TForm1 form;
    form.show();
    return application.exec();
}
