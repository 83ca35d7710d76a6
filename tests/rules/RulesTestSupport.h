#pragma once

#include "TestSupport.h"

#include "base/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "rules/EntryChecks.h"

#include <QRegularExpression>
#include <QTest>

namespace Tarvel::Test {

// A catalogue drive ("03/06/104") loaded as a new configuration and edited
// the way a user does, written one line per scenario.
// Steps, separated by "; ":
//   t i text   type text into txtP(i) and leave it
//   c i n      choose entry n of cmbP(i) and leave the list
//   l i text   leave cmbP(i) showing a text that is not in its list
//   s i text   put a text into txtP(i) without checks, as a file load does
//   v i x      Validate(x, i);  d i 0|1  Dependent flag
// Expectations, separated by "; ":
//   i=text  Li=text  i:on  i:off  Li:on  Li:off  redi  blacki
//   maxi=x  mini=x  lasti=text  focus=Ti  focus=Li  changed  unchanged
//   trace text   (a line of the diagnostics trace, which is on, ends so)
// Messages read "<icon>Title|Text": ! exclamation, i information, x critical.
class EditScript
{
public:
    explicit EditScript(const QString &drive)
    {
        const QStringList key = drive.split(u'/');
        m_loaded = ParamLoader(ctx()).getParamData(ctx().editor, QStringLiteral("qryTabParams"),
            u'\'' + key.at(0) + u'\'', u'\'' + key.at(1) + u'\'', u'\'' + key.at(2) + u'\'');
        ctx().state.blnConfigChanged = false;
        ctx().state.blnDiagsTrace = true;
    }

    bool loaded() const { return m_loaded; }
    AppContext &ctx() { return m_program.ctx(); }
    EntryChecks &checks() { return m_checks; }
    TempProgram &program() { return m_program; }

    void run(const QString &steps)
    {
        for (const QString &step : steps.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
            const QStringList p = step.split(u' ');
            const int i = p.at(1).toInt();
            const QString arg = p.mid(2).join(u' ');
            const QChar op = p.at(0).at(0);
            if (op == u't')
                m_checks.typeValue(i, arg);
            else if (op == u'c')
                m_checks.chooseEntry(i, arg.toInt());
            else if (op == u'l')
                leaveListShowing(i, arg);
            else if (op == u's')
                ctx().editor.txtP(i).setText(arg);
            else if (op == u'v')
                m_checks.validate(arg.toFloat(), i);
            else if (op == u'd')
                ctx().params.blnDependent[i] = arg == QLatin1String("1");
        }
    }

    // The expectations that do not hold, each with what was found.
    QStringList mismatches(const QString &expect)
    {
        static const QRegularExpression token(QStringLiteral(R"(^(\D*)(\d+)(?:([=:])(.*))?$)"));
        QStringList out;
        for (const QString &e : expect.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
            if (e.startsWith(QLatin1String("trace "))) {
                if (!traced(e.mid(6)))
                    out << e;
                continue;
            }
            const QRegularExpressionMatch m = token.match(e);
            const bool focus = e.startsWith(QLatin1String("focus="));
            const bool valued = focus || (m.hasMatch() && !m.captured(3).isEmpty());
            const QString found = focus ? focusText()
                : m.hasMatch()          ? actual(m.captured(1), m.captured(2).toInt(), m.captured(3))
                                        : actual(e, 0, QString());
            const QString wanted = focus ? e.mid(6) : valued ? m.captured(4) : QStringLiteral("yes");
            if (found != wanted)
                out << e + QStringLiteral(" (found ") + found + u')';
        }
        return out;
    }

    QStringList messages()
    {
        QStringList out;
        for (const ScriptedPrompter::Message &m : m_program.prompter().messages()) {
            const int icon = Msg::icon(m.style);
            const QChar mark = icon == Msg::Exclamation ? u'!' : icon == Msg::Information ? u'i' : u'x';
            out << mark + m.title + u'|' + m.text;
        }
        return out;
    }

private:
    void leaveListShowing(int i, const QString &text)
    {
        ctx().editor.cmbP(i).setText(text);
        m_checks.leaveChoiceList(i);
    }

    bool traced(const QString &text)
    {
        const QStringList &lines = ctx().trace.lines();
        return std::any_of(lines.cbegin(), lines.cend(), [&](const QString &l) { return l.endsWith(" - " + text); });
    }

    QString focusText()
    {
        const EditorForm &f = ctx().editor;
        return (f.focusKind() == FieldKind::List ? u'L' : u'T') + QString::number(f.focusIndex());
    }

    QString actual(const QString &what, int i, const QString &sep)
    {
        const EditorForm &f = ctx().editor;
        const ParamTables &t = ctx().params;
        const auto yes = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
        if (what == QLatin1String("changed") || what == QLatin1String("unchanged"))
            return yes(ctx().state.blnConfigChanged == (what == QLatin1String("changed")));
        if (what == QLatin1String("red") || what == QLatin1String("black"))
            return yes(f.lblP(i).foreColor() == (what == QLatin1String("red") ? Colour::Red : Colour::Black));
        if (what == QLatin1String("max") || what == QLatin1String("min"))
            return NumberText::variant(what == QLatin1String("max") ? t.varMax[i] : t.varMin[i]);
        if (what == QLatin1String("last"))
            return t.varLastChance[i].toString();
        if (sep == QLatin1String(":"))
            return (what == QLatin1String("L") ? f.cmbP(i).enabled() : f.txtP(i).enabled()) ? QStringLiteral("on")
                                                                                            : QStringLiteral("off");
        return what == QLatin1String("L") ? f.cmbP(i).text() : f.txtP(i).text();
    }

    TempProgram m_program;
    EntryChecks m_checks {m_program.ctx()};
    bool m_loaded = false;
};

// The columns of an edit-script table: the drive, the steps, the expected
// field states and the messages shown on the way.
inline void editScriptColumns()
{
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expect");
    QTest::addColumn<QStringList>("messages");
}

inline void row(const char *name, const QString &drive, const QString &steps, const QString &expect,
    const QStringList &messages = {})
{
    QTest::newRow(name) << drive << steps << expect << messages;
}

// Runs the current row of such a table.
inline void runEditScriptRow()
{
    QFETCH(QString, drive);
    QFETCH(QString, steps);
    QFETCH(QString, expect);
    QFETCH(QStringList, messages);
    EditScript script(drive);
    QVERIFY(script.loaded());
    script.run(steps);
    QCOMPARE(script.mismatches(expect).join("; "), QString());
    QCOMPARE(script.messages(), messages);
}

} // namespace Tarvel::Test
