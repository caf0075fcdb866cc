// Eight web servers on 127.0.0.1 to 127.0.0.8 for the link checker's
// benchmark: every path answers 200 with a short body after a short delay,
// as a nearby host would. Prints each server's base address, one a line,
// and serves until standard input closes.
#include <cstdio>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "ScriptedWebServer.h"

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int delay = argc > 1 ? std::atoi(argv[1]) : 10;
    std::vector<std::unique_ptr<TScriptedWebServer>> servers;
    for (int n = 1; n <= 8; ++n) {
        servers.push_back(
            std::make_unique<TScriptedWebServer>(QHostAddress(QStringLiteral("127.0.0.%1").arg(n))));
        servers.back()->Default.Delayed(delay);
        std::printf("%s\n", servers.back()->Base().toUtf8().constData());
    }
    std::fflush(stdout);
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&] {
        char byte;
        if (std::fread(&byte, 1, 1, stdin) != 1)
            application.quit();
    });
    return QCoreApplication::exec();
}
