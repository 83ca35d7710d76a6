#pragma once

#include "ports/Prompter.h"

#include <QTextStream>

namespace Tarvel {

// Message boxes of the command-line tool: each one becomes the line
// "MSG <title>: <text>" with every CR of the text written as the two
// characters \r, so one box is always one line. Questions are answered Yes
// (or OK) only when the user said so with --yes.
class CliPrompter : public Prompter
{
public:
    CliPrompter(QTextStream &out, bool answerYes);

    int msgBox(const QString &text, int style, const QString &title) override;

    // A box with the critical or exclamation icon: a refusal or an error.
    bool problemShown() const { return m_problems > 0; }
    int problemCount() const { return m_problems; }

    static QString line(const QString &text, const QString &title);
    static int answer(int style, bool answerYes);

private:
    QTextStream &m_out;
    bool m_yes;
    int m_problems = 0;
};

} // namespace Tarvel
