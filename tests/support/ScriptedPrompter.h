#pragma once

#include "ports/Prompter.h"

#include <QList>
#include <QQueue>

#include <functional>

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
    // Called for each message as it is shown, e.g. to print it.
    void setObserver(std::function<void(const Message &)> observer) { m_observer = std::move(observer); }

    const QList<Message> &messages() const { return m_messages; }
    QStringList titles() const;
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
    QQueue<int> m_answers;
    bool m_yes = false;
    std::function<void(const Message &)> m_observer;
};

} // namespace Tarvel
