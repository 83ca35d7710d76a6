#pragma once

#include "HelpWindow.h"

#include <QObject>
#include <QPointer>

namespace Tarvel {

// Opens the manual: one help window for the program, and while a modal
// dialog is up a window of that dialog's own (a window beside a modal
// dialog could not be used). Installed on the application, it turns F1 in
// any window into the manual's page for that window.
class HelpDesk : public QObject
{
    Q_OBJECT
public:
    explicit HelpDesk(QObject *parent = nullptr);
    ~HelpDesk() override;

    void installContextHelp();
    HelpWindow *show(const QString &page, HelpWindow::Tab tab = HelpWindow::Contents);
    // The window last shown; none before the first.
    HelpWindow *window() const { return m_last; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<HelpWindow> m_main;
    QPointer<HelpWindow> m_last;
};

} // namespace Tarvel
