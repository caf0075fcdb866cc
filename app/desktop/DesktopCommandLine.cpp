#include "DesktopCommandLine.h"

#include <cstdio>

#include <QCommandLineParser>

#ifndef LINKRAKE_VERSION
#error "LINKRAKE_VERSION must give the program's version"
#endif

namespace {

const char* const HelpText = "Usage: linkrake [--minimized]\n"
                             "       linkrake --open-shortcut FILE...\n"
                             "Harvest URLs from text and manage them as a list.\n"
                             "\n"
                             "  --minimized         start in the notification area (waits up to 30 s for\n"
                             "                      one to appear, then minimizes to the task bar)\n"
                             "  --open-shortcut     open the URL of each Internet shortcut FILE (*.url)\n"
                             "                      in the default browser, without the main window\n"
                             "  -h, --help          show this help and exit\n"
                             "  -v, --version       show the version and exit\n"
                             "\n"
                             "One copy runs per workspace folder: a second start brings the running\n"
                             "copy's window back (with --minimized it leaves it as it is).\n";

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The toolkit's own options (a session manager restarts the program with
// -session) are read again by the application object; here they only pass.
void AddToolkitOptions(QCommandLineParser& parser)
{
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "session", "style",
          "stylesheet", "qwindowgeometry", "qwindowtitle", "qwindowicon"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    QCommandLineOption reverse(QStringLiteral("reverse"));
    reverse.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(reverse);
}

}  // namespace

std::optional<int> ParseDesktopCommandLine(const QStringList& arguments, TDesktopCommand& command)
{
    QCommandLineParser parser;
    // The toolkit spells its options with one dash.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption minimized(QStringLiteral("minimized"));
    const QCommandLineOption openShortcut(QStringLiteral("open-shortcut"));
    parser.addOptions({help, version, minimized, openShortcut});
    AddToolkitOptions(parser);

    if (!parser.parse(arguments)) {
        Print(stderr, QStringLiteral("linkrake: %1\nTry 'linkrake --help'.\n").arg(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        Print(stdout, QString::fromLatin1(HelpText));
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("linkrake " LINKRAKE_VERSION "\n"));
        return 0;
    }
    command.Minimized = parser.isSet(minimized);
    command.OpenShortcuts = parser.isSet(openShortcut);
    command.Files = parser.positionalArguments();
    command.DisplayChosen =
        parser.isSet(QStringLiteral("platform")) || parser.isSet(QStringLiteral("display"));
    if (command.OpenShortcuts && command.Files.isEmpty()) {
        Print(stderr,
              QStringLiteral("linkrake: --open-shortcut needs at least one FILE\nTry 'linkrake --help'.\n"));
        return 2;
    }
    if (!command.OpenShortcuts && !command.Files.isEmpty()) {
        Print(stderr, QStringLiteral("linkrake: unexpected argument '%1'\nTry 'linkrake --help'.\n")
                          .arg(command.Files.first()));
        return 2;
    }
    return std::nullopt;
}
