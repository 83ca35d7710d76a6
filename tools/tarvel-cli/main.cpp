// tarvel-cli: the configuration commands of Tarvel on the command line.
#include "CliApp.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

// Printing lays out text, which takes the GUI library; without a display it
// runs on the off-screen platform. The other commands start faster without.
std::unique_ptr<QCoreApplication> makeApp(int &argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!Tarvel::CliApp::drawsPages(arguments))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApp(argc, argv);
    // The same names as the desktop program, so both find the same
    // per-user program folder and settings.
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Tarvel::CliApp(out, err).run(QCoreApplication::arguments());
}
