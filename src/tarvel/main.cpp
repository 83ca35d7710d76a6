// tarvel: the desktop program.
#include "app/InstanceChannel.h"
#include "base/InstanceGuard.h"
#include "base/ProgramPaths.h"
#include "comm/CommLink.h"
#include "ethernet/EthernetRoute.h"
#include "model/AppContext.h"
#include "ui/common/AppIcons.h"
#include "ui/main/Shell.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

const char HelpText[] = R"(Usage: tarvel [--help] [--version] [FILE.qxc]
Configure and commission QX AC drives (series QX1, QX2, QX3): build a drive's
parameter set offline, check every value against the drive catalogue and the
rules between parameters, save and open configuration files (.qxc), and read
from and write to a drive over Modbus (RTU or ASCII on a serial port, or a
Modbus/TCP gateway).

FILE.qxc is opened at start; when Tarvel already runs for the same program
folder, the file is opened in that window instead. The program needs a
display (or xvfb-run -a).
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

// --version and --help answer without a display, so scripts and package
// checks can ask them anywhere.
int answerWithoutWindow(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "--version" || word == "-v") {
            QTextStream(stdout) << "tarvel " << TARVEL_VERSION << "\n";
            return 0;
        }
        if (word == "--help" || word == "-h") {
            QTextStream(stdout) << HelpText;
            return 0;
        }
    }
    return -1;
}

// The configuration file named on the command line (a double-click on a
// .qxc file), if any; absolute, as a running copy elsewhere may open it.
QString fileArgument(const QStringList &arguments)
{
    for (const QString &word : arguments.mid(1)) {
        if (!word.startsWith(u'-'))
            return QFileInfo(word).absoluteFilePath();
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int answered = answerWithoutWindow(argc, argv); answered >= 0)
        return answered;
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
    // Lets the desktop match the windows to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarvel.Tarvel"));

    const Tarvel::ProgramPaths paths(Tarvel::ProgramPaths::resolve(QApplication::applicationDirPath()));
    const QString file = fileArgument(QApplication::arguments());
    Tarvel::InstanceGuard guard(paths.programDir());
    Tarvel::InstanceChannel channel(paths.programDir());
    if (!guard.tryAcquire()) {
        // The running copy opens the file; only a start without one is
        // told that a copy runs (and brings that copy forward).
        if (channel.send(file) && !file.isEmpty())
            return 0;
        QMessageBox::information(
            nullptr, QApplication::applicationName(), Tarvel::InstanceGuard::refusalText().replace(u'\r', u'\n'));
        return 0;
    }

    Tarvel::AppContext ctx(paths, nullptr);
    Tarvel::CommLink link(ctx.state);
    ctx.attachLink(&link);
    Tarvel::EthernetRoute ethernet(ctx);
    Tarvel::Shell shell(ctx);
    shell.start();
    channel.listen();
    QObject::connect(&channel, &Tarvel::InstanceChannel::activationRequested, &app,
        [&shell](const QString &path) { shell.activate(path); });
    if (!file.isEmpty())
        QTimer::singleShot(0, &app, [&shell, file] { shell.activate(file); });
    return app.exec();
}
