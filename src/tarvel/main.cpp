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

} // namespace

int main(int argc, char *argv[])
{
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
