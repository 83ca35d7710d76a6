#include "TransferTestSupport.h"

#include "model/EditorForm.h"

#include <algorithm>

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

QString commFailureEnd(LinkFixture &fixture, const QString &caption, const QString &where, int code, int maxCode)
{
    const StatusList &list = fixture.ctx().statusList;
    const QString last = list.lines().value(list.lines().size() - 1);
    if (!last.startsWith(QStringLiteral("Operation aborted due to comm error ")))
        return QStringLiteral("last line: ") + last;
    if (list.caption() != caption || list.status() != QStringLiteral(" ") || list.barVisible())
        return QStringLiteral("list left as '%1' '%2'").arg(list.caption(), list.status());
    const QString text = QStringLiteral(
        "A communication problem has been encountered.\rPlease correct the problem and restart the operation.");
    const QList<ScriptedPrompter::Message> &messages = fixture.prompter().messages();
    if (std::none_of(messages.cbegin(), messages.cend(), [&](const ScriptedPrompter::Message &m) {
            return m.title == QStringLiteral("Error") && m.text == text && m.style == int(Msg::Critical);
        }))
        return QStringLiteral("no communication error message among ") + fixture.prompter().titles().join(u',');
    if (fixture.link().serialOpen())
        return QStringLiteral("link left open");
    // The last switch of each pair turns the timer back on and the pointer back.
    const QStringList &calls = fixture.hooks.calls;
    if (calls.lastIndexOf(QStringLiteral("poll on")) < std::max(0, int(calls.lastIndexOf(QStringLiteral("poll off"))))
        || calls.lastIndexOf(QStringLiteral("idle")) < std::max(0, int(calls.lastIndexOf(QStringLiteral("busy")))))
        return QStringLiteral("timers: ") + calls.join(u',');
    const QStringList log = fixture.errorLogLines();
    const QString prefix = QStringLiteral("Mod1 retuned , status code , ");
    const QString suffix = QStringLiteral(",  in %1.").arg(where);
    QStringList entries;
    for (const QString &line : log) {
        if (logEntry(line).startsWith(prefix) && line.endsWith(suffix))
            entries << line;
    }
    if (entries.size() != 1)
        return QStringLiteral("log: ") + log.join(u'|');
    bool number = false;
    const int status = logEntry(entries.first()).section(QStringLiteral(", "), 2, 2).toInt(&number);
    if (!number || status < code || status > std::max(code, maxCode))
        return QStringLiteral("status code in ") + entries.first();
    return {};
}

} // namespace Tarvel::Test
