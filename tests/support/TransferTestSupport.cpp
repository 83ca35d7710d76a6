#include "TransferTestSupport.h"

#include "base/NumberText.h"
#include "model/EditorForm.h"

#include <algorithm>
#include <cmath>

namespace Tarvel::Test {

QStringList editorSnapshot(const AppContext &ctx)
{
    QStringList out;
    for (int i : EditorForm::fieldIndices()) {
        if (ctx.editor.hasTxtP(i))
            out << QStringLiteral("txtP(%1)=%2").arg(i).arg(ctx.editor.txtP(i).text());
        if (ctx.editor.hasCmbP(i))
            out << QStringLiteral("cmbP(%1)=%2").arg(i).arg(ctx.editor.cmbP(i).text());
    }
    return out;
}

QVector<TransferRow> driveRows(AppContext &ctx)
{
    const AppState saved = ctx.state;
    ctx.state.strSeries = QStringLiteral("02");
    ctx.state.strModel = QStringLiteral("05");
    ctx.state.strRev = QStringLiteral("120");
    const QVector<TransferRow> rows = TransferRows::load(ctx);
    ctx.state = saved;
    return rows;
}

QString logEntry(const QString &line)
{
    return line.section(QStringLiteral(" - "), 1);
}

qint16 nonDefaultRegister(const AppContext &ctx, const TransferRow &row)
{
    const ParamTables &t = ctx.params;
    const int i = row.parameter;
    const double def = t.varDefault[i].toDouble();
    const double step = row.resolution;
    const double up = def + step;
    const double value = up <= t.varMax[i].toDouble() ? up : def - step;
    return qint16(std::lround(value / step));
}

QString commFailureEnd(AppContext &ctx, const ScriptedPrompter &prompter, const QStringList &hookCalls,
    const QStringList &newLog, const QString &caption, const QString &where, int *code)
{
    const QStringList lines = ctx.statusList.lines();
    if (lines.isEmpty() || !lines.last().startsWith(QStringLiteral("Operation aborted due to comm error ")))
        return QStringLiteral("last line: ") + lines.value(lines.size() - 1);
    if (ctx.statusList.caption() != caption || ctx.statusList.status() != QStringLiteral(" ")
        || ctx.statusList.barVisible())
        return QStringLiteral("list left as '%1' '%2'").arg(ctx.statusList.caption(), ctx.statusList.status());
    const QList<ScriptedPrompter::Message> &messages = prompter.messages();
    const auto error = std::find_if(messages.cbegin(), messages.cend(),
        [](const ScriptedPrompter::Message &m) { return m.title == QStringLiteral("Error"); });
    if (error == messages.cend()
        || error->text
            != QStringLiteral("A communication problem has been encountered.\r"
                              "Please correct the problem and restart the operation.")
        || error->style != int(Msg::Critical))
        return QStringLiteral("no communication error message among ") + prompter.titles().join(u',');
    if (ctx.link().serialOpen())
        return QStringLiteral("link left open");
    if (hookCalls.lastIndexOf(QStringLiteral("poll on")) < hookCalls.lastIndexOf(QStringLiteral("poll off"))
        || !hookCalls.contains(QStringLiteral("poll on")) || hookCalls.lastIndexOf(QStringLiteral("idle")) < 0
        || hookCalls.lastIndexOf(QStringLiteral("idle")) < hookCalls.lastIndexOf(QStringLiteral("busy")))
        return QStringLiteral("timers: ") + hookCalls.join(u',');
    const QString prefix = QStringLiteral("Mod1 retuned , status code , ");
    const QString suffix = QStringLiteral(",  in %1.").arg(where);
    QStringList entries;
    for (const QString &line : newLog) {
        if (logEntry(line).startsWith(prefix) && line.endsWith(suffix))
            entries << line;
    }
    if (entries.size() != 1)
        return QStringLiteral("log: ") + newLog.join(u'|');
    bool number = false;
    const int status = logEntry(entries.first()).section(QStringLiteral(", "), 2, 2).toInt(&number);
    if (!number || status == 0)
        return QStringLiteral("status code in ") + entries.first();
    if (code)
        *code = status;
    return {};
}

} // namespace Tarvel::Test
