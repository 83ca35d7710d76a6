// tarvel: the desktop program.
#include "comm/CommLink.h"
#include "model/AppContext.h"
#include "base/InstanceGuard.h"
#include "base/ProgramPaths.h"
#include "ui/common/AppIcons.h"
#include "ui/main/Shell.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

const char HelpText[] = R"(Usage: tarvel [--help] [--version]
Configure and commission QX AC drives (series QX1, QX2, QX3): build a drive's
parameter set offline, check every value against the drive catalogue and the
rules between parameters, save and open configuration files (.qxc), and read
from and write to a drive over Modbus (RTU or ASCII on a serial port, or a
Modbus/TCP gateway).

The program takes no other arguments; it needs a display (or xvfb-run -a).
The user manual is in the program: Help > Contents, or F1 in any window.

Options:
  -h, --help     this help
  -v, --version  the program's version

Environment:
  TARVEL_HOME    the program folder (Data/QX.qxd catalogue, Data/Error.Log,
                 Data/Diags.Log, Configs/); by default the executable's folder
                 when it holds a writable Data/, else ~/.local/share/Tarvel/Tarvel
  TARVEL_PORTS   devices of the link settings' ports "Com 1".."Com 6", separated
                 by ':' (first is Com 1); a tcp://host:port entry reaches a
                 Modbus/TCP gateway. Default /dev/ttyS0../dev/ttyS5
  TARVEL_PACING  "classic" makes waits that only let the window repaint last
                 their full fixed time; by default they end at once
  QT_LOGGING_RULES  e.g. "tarvel.*.debug=true" logs each subsystem's details

Serial ports belong to the group dialout: a user outside it cannot open them
(sudo usermod -aG dialout $USER, then log in again).

See also: tarvel-cli(1) for the same operations without windows, qxsim(1)
for a simulated drive.
)";

// --help and --version are answered without a display; Qt's own options
// (-platform, -style ...) go on to the application object.
bool answeredArguments(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help") {
            QTextStream(stdout) << HelpText;
            return true;
        }
        if (arg == "-v" || arg == "--version") {
            QTextStream(stdout) << "tarvel " TARVEL_VERSION "\n";
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredArguments(argc, argv))
        return 0;
    if (!hasDisplay()) {
        QTextStream(stderr) << "tarvel: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                               "Start it under a virtual display, for example:\n"
                               "  xvfb-run -a "
                            << argv[0] << "\n";
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tarvel"));
    QApplication::setApplicationName(QStringLiteral("Tarvel"));
    QApplication::setApplicationVersion(QStringLiteral(TARVEL_VERSION));
    QApplication::setWindowIcon(Tarvel::AppIcons::application());

    const Tarvel::ProgramPaths paths(Tarvel::ProgramPaths::resolve(QApplication::applicationDirPath()));
    Tarvel::InstanceGuard guard(paths.programDir());
    if (!guard.tryAcquire()) {
        QMessageBox::information(
            nullptr, QApplication::applicationName(), Tarvel::InstanceGuard::refusalText().replace(u'\r', u'\n'));
        return 0;
    }

    Tarvel::AppContext ctx(paths, nullptr);
    Tarvel::CommLink link(ctx.state);
    ctx.attachLink(&link);
    Tarvel::Shell shell(ctx);
    shell.start();
    return app.exec();
}
