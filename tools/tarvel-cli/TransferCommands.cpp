#include "TransferCommands.h"

#include "CliSession.h"
#include "CliTransferWindows.h"
#include "LinkOptions.h"
#include "catalogue/Catalogue.h"
#include "comm/ComSetTable.h"
#include "comm/CommLink.h"
#include "comm/PortAccess.h"
#include "comm/SerialLinkMonitor.h"
#include "ethernet/EthernetRoute.h"
#include "files/FileDifferences.h"
#include "transfer/DriveComparison.h"

#include <QDir>
#include <QFileInfo>

namespace Tarvel {

namespace {

const QString ConnectLocation = QStringLiteral("tarvel-cli, connect");

// The link word of a command whose other words are `others`: the word
// after them, or --port; empty when neither was given.
std::optional<QString> linkWordAfter(CliSession &s, int others, const QString &synopsis)
{
    const QStringList args = s.args();
    const bool asWord = args.size() == others + 1;
    const bool asOption = s.isSet(PortOption) || LinkOptions::ethernet(s.parser());
    if (args.size() < others || args.size() > others + 1 || asWord == asOption) {
        s.usageError(QStringLiteral("%1 takes %2").arg(s.commandName(), synopsis));
        return std::nullopt;
    }
    return asWord ? args.last() : s.value(PortOption);
}

} // namespace

std::optional<SerialLinkSettings> TransferCommands::linkSettings(CliSession &s, const QString &linkWord)
{
    if (LinkOptions::ethernet(s.parser())) {
        // The route's own settings come from the server's definition file.
        if (!s.isSet(DeviceOption) || s.isSet(PortOption)) {
            s.usageError(QStringLiteral("--opc needs --device CHANNEL.DEVICE and no serial port"));
            return std::nullopt;
        }
        return SerialLinkSettings();
    }
    AppContext &ctx = s.ctx();
    ComSetTable defaults;
    if (!ctx.trap(ConnectLocation, [&] { defaults = ComSetTable::read(*connectDB(ctx)); })) {
        s.cannotRun(QStringLiteral("the catalogue's link settings could not be read"));
        return std::nullopt;
    }
    QString error;
    std::optional<SerialLinkSettings> settings = LinkOptions::fromParser(s.parser(), defaults, &error);
    if (settings && !LinkOptions::parsePort(linkWord, *settings, &error))
        settings.reset();
    if (!settings)
        s.usageError(error);
    return settings;
}

// The connection dialog's Ethernet connect: the server must be browsable
// and list the device; the route's first values must say that the module
// reaches the drive.
bool TransferCommands::connectEthernet(CliSession &s)
{
    AppContext &ctx = s.ctx();
    EthernetRoute *route = ctx.ethernet();
    const QString progId = s.value(OpcOption);
    const QString device = s.value(DeviceOption);
    QStringList devices;
    QString error;
    if (route->browser().getDevices(progId, &devices, &error, true) != DeviceBrowser::Browsed) {
        s.err() << error << Qt::endl;
        return false;
    }
    if (!devices.contains(device)) {
        s.err() << QStringLiteral("server %1 has no device %2").arg(progId, device) << Qt::endl;
        return false;
    }
    route->setServerProgID(progId);
    ctx.trap(ConnectLocation, [&] { route->connectDevice(device); });
    // On the route the poll is the module's word on its link: ST00.18.
    return ctx.link().linkOpen() && pollOnce(s);
}

// The commands rely on the identity and run state the main window's polling
// would have read by now; a link that does not answer is closed with the
// polling's message.
bool TransferCommands::pollOnce(CliSession &s)
{
    AppContext &ctx = s.ctx();
    bool polled = false;
    ctx.trap(ConnectLocation, [&] { polled = SerialLinkMonitor(ctx).pollDrive(); });
    if (!polled) {
        s.closeLink();
        ctx.prompter().msgBox(QStringLiteral("Communication with the drive has been lost.\rPlease correct the problem "
                                             "and try again."),
            Msg::Critical, QStringLiteral("Communication Error"));
    }
    return polled;
}

bool TransferCommands::connect(CliSession &s, const SerialLinkSettings &settings)
{
    if (LinkOptions::ethernet(s.parser()))
        return connectEthernet(s);
    AppContext &ctx = s.ctx();
    CommLink &link = ctx.link();
    int code = ModbusMaster::NotStarted;
    std::optional<PortAccess::Message> portFailure;
    const bool ran = ctx.trap(ConnectLocation, [&] {
        try {
            code = link.openSerial(settings);
        } catch (const TrappedError &e) {
            portFailure = PortAccess::forError(e);
            if (!portFailure)
                throw;
        }
    });
    if (!ran)
        return false;
    // The texts of the connection dialog; the result says what went wrong.
    if (portFailure) {
        ctx.prompter().msgBox(portFailure->text, Msg::Exclamation, portFailure->title);
        return false;
    }
    if (code != ModbusMaster::Success) {
        link.closeConnection();
        ctx.prompter().msgBox(
            QStringLiteral("Drive not found. Please check your settings. (%1)").arg(ModbusMaster::resultText(code)),
            Msg::Exclamation, QStringLiteral("Drive Not Found."));
        return false;
    }
    if (!pollOnce(s))
        return false;
    ctx.state.strConnected = QStringLiteral("False");
    link.setBlockTransfer(s.isSet(BlockOption));
    return true;
}

int TransferCommands::upload(CliSession &s)
{
    const std::optional<QString> linkWord = linkWordAfter(s, 0, QStringLiteral("one link and -o FILE.qxc"));
    if (!linkWord)
        return ExitCannotRun;
    if (!s.isSet(OutOption))
        return s.usageError(QStringLiteral("upload needs -o FILE.qxc to save the uploaded configuration to"));
    const QString target = CliSession::absolutePath(s.value(OutOption));
    // Found out before the upload, not when its result has nowhere to go.
    if (!QFileInfo(target).dir().exists())
        return s.cannotRun(QStringLiteral("no folder for %1").arg(s.value(OutOption)));
    const std::optional<SerialLinkSettings> settings = linkSettings(s, *linkWord);
    if (!settings)
        return ExitCannotRun;
    if (!connect(s, *settings)) {
        s.finish();
        return ExitCannotRun;
    }
    CliTransferWindows windows(s, target, *linkWord);
    UploadOperation operation(s.ctx(), windows);
    const UploadOperation::Outcome outcome = operation.run();
    s.closeLink();
    if (operation.replacedValues() > 0)
        s.problem(QStringLiteral("values read from the drive were out of range and replaced by their defaults: %1")
                      .arg(operation.replacedValues()));
    if (outcome == UploadOperation::Outcome::Completed && !windows.saved())
        s.problem(QStringLiteral("the uploaded configuration was not saved to %1").arg(s.value(OutOption)));
    return uploadExit(outcome, s.finish());
}

int TransferCommands::download(CliSession &s)
{
    const std::optional<QString> linkWord = linkWordAfter(s, 1, QStringLiteral("a configuration file and one link"));
    if (!linkWord)
        return ExitCannotRun;
    const std::optional<SerialLinkSettings> settings = linkSettings(s, *linkWord);
    if (!settings)
        return ExitCannotRun;
    // A file whose values the open had to replace is not what the user
    // meant to write into the drive.
    if (!s.openConfig(s.args().first())) {
        s.finish();
        return ExitCannotRun;
    }
    if (s.ctx().state.blnConfigChanged) {
        s.problem(QStringLiteral("nothing was downloaded; correct the file first"));
        s.finish();
        return ExitCannotRun;
    }
    if (!connect(s, *settings)) {
        s.finish();
        return ExitCannotRun;
    }
    CliTransferWindows windows(s, QString(), *linkWord);
    DownloadOperation operation(s.ctx(), windows);
    operation.setBackupBeforeDownload(!s.isSet(NoBackupOption));
    const DownloadOperation::Outcome outcome = operation.run();
    s.closeLink();
    s.finish(); // echoes what was logged; the outcome decides the status
    return downloadExit(outcome);
}

int TransferCommands::uploadExit(UploadOperation::Outcome outcome, int finished)
{
    // Values the drive held out of range, or a save that failed, leave a
    // finished upload with problems.
    return outcome == UploadOperation::Outcome::Completed ? finished : ExitCannotRun;
}

// Not the session's tally: the confirmation question carries the warning
// icon, so every download would count as one with problems.
int TransferCommands::downloadExit(DownloadOperation::Outcome outcome)
{
    switch (outcome) {
    case DownloadOperation::Outcome::Verified:
        return ExitOk;
    case DownloadOperation::Outcome::VerifyFailed:
        return ExitProblems;
    default:
        return ExitCannotRun;
    }
}

} // namespace Tarvel

namespace Tarvel {

int TransferCommands::diff(CliSession &s)
{
    const QStringList args = s.args();
    // A second word that names a configuration file compares two files;
    // anything else is the link to a drive.
    if (args.size() == 2 && !s.isSet(PortOption) && args.at(1).endsWith(QStringLiteral(".qxc"), Qt::CaseInsensitive))
        return diffFiles(s, args.at(0), args.at(1));
    return diffDrive(s);
}

int TransferCommands::diffFiles(CliSession &s, const QString &first, const QString &second)
{
    AppContext &ctx = s.ctx();
    std::optional<QVector<ParamDifference>> found;
    QString why;
    ctx.trap(QStringLiteral("tarvel-cli, diff"), [&] {
        const std::optional<ConfigValues> a = ConfigFile::readValues(CliSession::absolutePath(first), &why);
        const std::optional<ConfigValues> b
            = a ? ConfigFile::readValues(CliSession::absolutePath(second), &why) : std::nullopt;
        if (!a || !b)
            return;
        found = FileDifferences(ctx).compare(*a, *b);
        if (!found)
            why = QStringLiteral("a file names a drive the catalogue does not have");
    });
    if (!found) {
        s.finish();
        return s.cannotRun(why.isEmpty() ? QStringLiteral("the files could not be read") : why);
    }
    for (const ParamDifference &d : *found)
        s.out() << FileDifferences::line(d, QStringLiteral("A"), QStringLiteral("B")) << '\n';
    s.finish();
    return found->isEmpty() ? ExitOk : ExitProblems;
}

int TransferCommands::diffDrive(CliSession &s)
{
    const std::optional<QString> linkWord = linkWordAfter(s, 1, QStringLiteral("two files, or a file and one link"));
    if (!linkWord)
        return ExitCannotRun;
    const std::optional<SerialLinkSettings> settings = linkSettings(s, *linkWord);
    if (!settings)
        return ExitCannotRun;
    if (!s.openConfig(s.args().first()) || !connect(s, *settings)) {
        s.finish();
        return ExitCannotRun;
    }
    CliTransferWindows windows(s, QString(), *linkWord);
    const DriveComparison::Outcome outcome = DriveComparison(s.ctx(), windows).run();
    s.closeLink();
    s.finish();
    switch (outcome) {
    case DriveComparison::Outcome::Same:
        return ExitOk;
    case DriveComparison::Outcome::Differs:
        return ExitProblems;
    default:
        return ExitCannotRun;
    }
}

} // namespace Tarvel
