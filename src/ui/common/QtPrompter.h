#pragma once

#include "ports/Prompter.h"

#include <QMessageBox>

class QWidget;

namespace Tarvel {

// The program's message boxes as modal Qt message boxes over a parent window.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr);

    int msgBox(const QString &text, int style, const QString &title) override;
    // The window the boxes are modal to; none until the main window exists.
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    // Buttons, icon, default button, text and title for a classic style;
    // kept apart from exec() so the mapping can be checked without a user.
    static void configure(QMessageBox &box, const QString &text, int style, const QString &title);
    static int answerFor(QMessageBox::StandardButton button);

private:
    QWidget *m_parent;
};

} // namespace Tarvel
