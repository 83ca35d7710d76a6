// qxsim: a simulated QX drive for testing the drive link without hardware.
// See `qxsim --help` for the options and the register conventions.
#include "DriveModel.h"
#include "DriveSlave.h"
#include "PtyPort.h"
#include "RegisterMap.h"
#include "SerialLink.h"
#include "SignalBridge.h"
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

// The drive keeps its own link settings in group 9; they show what it was
// started with (changes written to them are stored, but the link keeps these).
void recordLinkSettings(RegisterMap &params, const SimOptions &options)
{
    params.store(905, qint16(options.node));
    if (const std::optional<int> code = options.speedCode())
        params.store(900, qint16(*code));
    if (const std::optional<int> code = options.protocolCode())
        params.store(901, qint16(*code));
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
    std::optional<RegisterMap> params = RegisterMap::load(catalogue, options.drive, &message);
    if (!params)
        return fail(message, StartError);
    recordLinkSettings(*params, options);
    DriveModel model(*params, options.reportedIdentity());
    model.setFaultHistory(options.faultHistory);
    model.setPresentFault(options.activeFault);
    for (const SimOptions::FaultAt &f : options.faultsAt)
        model.scheduleFault(f.runSeconds, f.code);
    DriveSlave slave(*params, model, options.rangeCheck);
    slave.setFailingRegisters(options.exceptionAt);
    slave.setIgnoredWrites(options.ignoreWriteAt);
    slave.setRefuseBlocks(options.refuseBlocks);
    SimServer server(slave, options);

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
        tcp = std::make_unique<TcpLink>(server, options);
        if (!tcp->listen(&message))
            return fail(message, StartError);
        where = tcp->address();
    } else {
        if (!port.open(options.ptyLink, &message))
            return fail(message, StartError);
        serial = std::make_unique<SerialLink>(server, options, port);
        where = options.ptyLink;
    }
    qCInfo(lcSim).noquote() << "drive" << options.drive.toString() << "with" << params->size() << "parameters, node"
                            << options.node << "on" << where;
    // One line, flushed at once: whoever started us waits for it.
    std::fputs(qPrintable(QStringLiteral("ready %1\n").arg(where)), stdout);
    std::fflush(stdout);
    return app.exec();
}
