#pragma once

#include "ports/Prompter.h"

#include <QList>
#include <QQueue>

namespace Tarvel {

// A prompter that records every message and answers from a script: queued
// answers first, then a fixed answer for questions (No unless told Yes).
class ScriptedPrompter : public Prompter
{
public:
    struct Message
    {
        QString text;
        int style = 0;
        QString title;
    };

    int msgBox(const QString &text, int style, const QString &title) override;

    void enqueue(int answer) { m_answers.enqueue(answer); }
    void setAnswerYes(bool yes) { m_yes = yes; }

    const QList<Message> &messages() const { return m_messages; }
    QStringList titles() const;
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
    QQueue<int> m_answers;
    bool m_yes = false;
};

} // namespace Tarvel
