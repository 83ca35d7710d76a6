#include "DriveMonitorCommands.h"

#include "CliOptions.h"
#include "CliSession.h"
#include "LinkOptions.h"
#include "TransferCommands.h"
#include "monitor/FaultHistory.h"
#include "monitor/KeypadModel.h"

namespace Tarvel {

namespace {

void closeLink(CliSession &s)
{
    if (s.ctx().link().linkOpen())
        s.ctx().link().closeConnection();
}

struct KeypadAction
{
    const char *word;
    const char *written; // what the output says was written
};

constexpr KeypadAction Actions[] = {
    {"run", "Run command written (P9.27 = 1)."},
    {"stop", "Stop command written (P9.27 = 0)."},
    {"forward", "Direction command written (P9.28 = 0)."},
    {"reverse", "Direction command written (P9.28 = 1)."},
    {"frequency", "Frequency command written (P9.26 = %1 Hz)."},
};

const KeypadAction *findAction(const QString &word)
{
    for (const KeypadAction &a : Actions)
        if (word == QLatin1String(a.word))
            return &a;
    return nullptr;
}

} // namespace

QString DriveMonitorCommands::faultLine(int record, int code)
{
    const std::optional<QString> text = FaultHistory::faultText(code);
    return FaultHistory::captions().at(record) + u' '
        + (text ? *text : QStringLiteral("Unknown fault code %1").arg(code));
}

std::optional<QString> DriveMonitorCommands::takeLink(CliSession &s, QStringList &words)
{
    if (s.isSet(PortOption) || LinkOptions::ethernet(s.parser()))
        return s.value(PortOption);
    if (words.isEmpty()) {
        s.usageError(QStringLiteral("%1 needs the link: a device path or \"Com N\"").arg(s.commandName()));
        return std::nullopt;
    }
    return words.takeFirst();
}

int DriveMonitorCommands::faults(CliSession &s)
{
    QStringList words = s.args();
    const std::optional<QString> link = takeLink(s, words);
    if (!link)
        return ExitCannotRun;
    if (!words.isEmpty())
        return s.usageError(QStringLiteral("faults takes one link"));
    const std::optional<SerialLinkSettings> settings = TransferCommands::linkSettings(s, *link);
    if (!settings)
        return ExitCannotRun;
    if (!TransferCommands::connect(s, *settings)) {
        s.finish();
        return ExitCannotRun;
    }
    FaultHistory history(s.ctx());
    const FaultHistory::Outcome outcome = history.read();
    closeLink(s);
    if (outcome != FaultHistory::Outcome::Read) {
        s.problem(QStringLiteral("the fault records could not be read"));
        s.finish();
        return ExitCannotRun;
    }
    for (int i = 0; i < FaultHistory::RecordCount; ++i)
        s.out() << faultLine(i, history.codes().at(i)) << Qt::endl;
    s.finish();
    return ExitOk;
}

int DriveMonitorCommands::keypad(CliSession &s)
{
    QStringList words = s.args();
    const std::optional<QString> link = takeLink(s, words);
    if (!link)
        return ExitCannotRun;
    const KeypadAction *action = words.isEmpty() ? nullptr : findAction(words.first());
    const bool frequency = action && QLatin1String(action->word) == QLatin1String("frequency");
    bool numeric = false;
    const double hz = frequency && words.size() == 2 ? words.at(1).toDouble(&numeric) : 0;
    if (!action || words.size() != (frequency ? 2 : 1) || (frequency && !numeric))
        return s.usageError(QStringLiteral("keypad takes one of run, stop, forward, reverse, frequency HZ"));
    const std::optional<SerialLinkSettings> settings = TransferCommands::linkSettings(s, *link);
    if (!settings)
        return ExitCannotRun;
    // The keypad's own warning; --yes answers it, without it nothing is sent.
    if (!KeypadModel::confirmOpen(s.ctx())) {
        s.finish();
        return ExitCannotRun;
    }
    if (!TransferCommands::connect(s, *settings)) {
        s.finish();
        return ExitCannotRun;
    }
    KeypadModel keypad(s.ctx());
    const QString word = QLatin1String(action->word);
    KeypadModel::Outcome outcome = KeypadModel::Outcome::Failed;
    if (word == u"run")
        outcome = keypad.run();
    else if (word == u"stop")
        outcome = keypad.stop();
    else if (word == u"forward" || word == u"reverse")
        outcome = keypad.setDirection(word == u"reverse");
    else if (keypad.readKnobMaximum())
        outcome = keypad.setFrequency(hz);
    closeLink(s);

    switch (outcome) {
    case KeypadModel::Outcome::Written:
        s.out() << (word == u"frequency" ? QString::fromLatin1(action->written).arg(hz, 0, 'f', 1)
                                         : QString::fromLatin1(action->written))
                << Qt::endl;
        s.finish();
        return ExitOk;
    case KeypadModel::Outcome::Unchanged:
        s.out() << QStringLiteral("The direction is already %1; nothing written.").arg(word) << Qt::endl;
        s.finish();
        return ExitOk;
    case KeypadModel::Outcome::Refused:
        if (word == u"frequency")
            s.problem(QStringLiteral("%1 Hz is outside the knob's range 0 to %2 Hz; nothing written")
                          .arg(hz)
                          .arg(keypad.knobMaximum()));
        else if (word != u"run")
            s.problem(QStringLiteral("the drive is changing direction; nothing written"));
        s.finish();
        return ExitProblems;
    case KeypadModel::Outcome::Failed:
        break;
    }
    s.problem(QStringLiteral("the drive did not take the command"));
    s.finish();
    return ExitCannotRun;
}

} // namespace Tarvel
