#include "DiagnosticsCommand.h"

#include "CliOptions.h"
#include "CliSession.h"
#include "TransferCommands.h"
#include "app/AboutInfo.h"
#include "app/CommSettingsModel.h"
#include "app/DiagnosticsFile.h"
#include "app/PollDisplay.h"
#include "app/PollTimers.h"
#include "comm/SerialLinkMonitor.h"

#include <QDir>
#include <QFileInfo>

namespace Tarvel {

namespace {

// The status-bar panels as the main window's timers would leave them.
class PanelRecorder : public PollDisplay
{
public:
    QString panels[5];
    void setPanelText(int panel, const QString &text) override { panels[panel] = text; }
    void setConnectedPicture(bool) override { }
    void setCommandEnabled(Command, bool) override { }
};

const QString Location = QStringLiteral("tarvel-cli, diagnostics");

} // namespace

int DiagnosticsCommand::run(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() > 1 || (args.size() == 1 && s.isSet(PortOption)))
        return s.usageError(QStringLiteral("diagnostics takes at most one link: a word or --port"));
    AppContext &ctx = s.ctx();
    const QString target = s.isSet(OutOption) ? CliSession::absolutePath(s.value(OutOption)) : ctx.paths().diagsLog();
    if (!QFileInfo(target).dir().exists())
        return s.cannotRun(QStringLiteral("no folder for %1").arg(target));
    if (s.isSet(ConfigOption) && !s.openConfig(s.value(ConfigOption))) {
        s.finish();
        return ExitCannotRun;
    }
    const QString linkWord = args.isEmpty() ? s.value(PortOption) : args.first();
    if (!linkWord.isEmpty()) {
        const std::optional<SerialLinkSettings> settings = TransferCommands::linkSettings(s, linkWord);
        if (!settings)
            return ExitCannotRun;
        if (!TransferCommands::connect(s, *settings)) {
            s.finish();
            return ExitCannotRun;
        }
        // The connection panel as the connection dialog leaves it.
        ctx.link().setPanel4Text(CommSettingsModel::connectedPanelText(
            settings->nodeAddress, settings->framingWord(), settings->portSettings));
    }

    SerialLinkMonitor monitor(ctx);
    PanelRecorder display;
    PollTimers poll(ctx, display);
    poll.setLinkMonitor(&monitor);
    poll.mainTick();
    poll.twoSecondTick();
    DiagnosticsFile::Captions captions;
    captions.version = AboutInfo::versionCaption();
    ctx.trap(Location, [&] { captions.dbVersion = AboutInfo::readCatalogue(ctx).dbVersion; });
    captions.configPanel = display.panels[1];
    captions.drivePanel = display.panels[2];
    captions.connectionPanel = ctx.link().panel4Text();
    const bool written = ctx.trap(Location, [&] { DiagnosticsFile(ctx).write(captions, target); });
    if (ctx.link().linkOpen())
        ctx.link().closeConnection();
    if (!written) {
        s.finish();
        return ExitCannotRun;
    }
    s.out() << QStringLiteral("Diagnostics written to ") << QDir::toNativeSeparators(target) << Qt::endl;
    return s.finish();
}

} // namespace Tarvel
