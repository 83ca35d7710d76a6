// tarvel-cli: the configuration commands of Tarvel on the command line.
#include "CliApp.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The same names as the desktop program, so both find the same
    // per-user program folder and settings.
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Tarvel::CliApp(out, err).run(QCoreApplication::arguments());
}
