// qxsim: a simulated QX drive for testing the drive link without hardware.
// See `qxsim --help` for the options and the register conventions.
#include "PtyPort.h"
#include "SerialLink.h"
#include "SignalBridge.h"
#include "SimDrive.h"
#include "SimLogging.h"
#include "SimOptions.h"
#include "SimServer.h"
#include "TcpLink.h"

#include "base/ProgramPaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

using namespace Tarvel;
using namespace Tarvel::Sim;

namespace {

constexpr int UsageError = 2;
constexpr int StartError = 3;

QString defaultCatalogue()
{
    const QString beside = ProgramPaths(QCoreApplication::applicationDirPath()).catalogue();
    if (QFileInfo::exists(beside))
        return beside;
    return ProgramPaths(ProgramPaths::resolve(QCoreApplication::applicationDirPath())).catalogue();
}

int fail(const QString &message, int code)
{
    QTextStream(stderr) << "qxsim: " << message << "\n";
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SimOptions options;
    QString message;
    switch (options.parse(app.arguments(), &message)) {
    case SimOptions::Parse::Help:
        QTextStream(stdout) << message;
        return 0;
    case SimOptions::Parse::Error:
        return fail(message + QStringLiteral("\nTry 'qxsim --help'."), UsageError);
    case SimOptions::Parse::Ok:
        break;
    }
    if (options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("tarvel.sim=true"));

    const QString catalogue = options.catalogue.isEmpty() ? defaultCatalogue() : options.catalogue;
    std::vector<std::unique_ptr<SimDrive>> drives;
    QList<SimServer *> servers;
    for (int unit : std::as_const(options.units)) {
        drives.push_back(SimDrive::create(catalogue, options, unit, &message));
        if (!drives.back())
            return fail(message, StartError);
        servers << &drives.back()->server();
    }

    SignalBridge signalBridge;
    QObject::connect(&signalBridge, &SignalBridge::signalled, &app, [](int number) {
        qCInfo(lcSim) << "signal" << number << "- stopping";
        QCoreApplication::quit();
    });

    PtyPort port;
    std::unique_ptr<SerialLink> serial;
    std::unique_ptr<TcpLink> tcp;
    QString where;
    if (options.usesTcp()) {
        tcp = std::make_unique<TcpLink>(servers, options);
        if (!tcp->listen(&message))
            return fail(message, StartError);
        where = tcp->address();
    } else {
        if (!port.open(options.ptyLink, &message))
            return fail(message, StartError);
        serial = std::make_unique<SerialLink>(*servers.front(), options, port);
        where = options.ptyLink;
    }
    qCInfo(lcSim).noquote() << "drive" << options.drive.toString() << "with" << drives.front()->parameterCount()
                            << "parameters, units" << options.units << "on" << where;
    // One line, flushed at once: whoever started us waits for it.
    std::fputs(qPrintable(QStringLiteral("ready %1\n").arg(where)), stdout);
    std::fflush(stdout);
    return app.exec();
}
