#include "HelpDesk.h"

#include "Manual.h"

#include <QApplication>
#include <QKeyEvent>

namespace Tarvel {

namespace {

bool isF1(QEvent *event)
{
    const auto *key = static_cast<QKeyEvent *>(event);
    return key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

HelpDesk::HelpDesk(QObject *parent)
    : QObject(parent)
{ }

HelpDesk::~HelpDesk()
{
    delete m_main.data();
}

void HelpDesk::installContextHelp()
{
    qApp->installEventFilter(this);
}

HelpWindow *HelpDesk::show(const QString &page, HelpWindow::Tab tab)
{
    HelpWindow *window = nullptr;
    if (QWidget *modal = QApplication::activeModalWidget()) {
        window = m_last && m_last->parentWidget() == modal ? m_last.data() : new HelpWindow(modal);
        window->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        if (!m_main)
            m_main = new HelpWindow;
        window = m_main;
    }
    window->showPage(page, tab);
    window->show();
    window->raise();
    window->activateWindow();
    m_last = window;
    return window;
}

// F1 would be the Contents command's shortcut; claimed here first, it opens
// the page of the window it was pressed in.
bool HelpDesk::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && isF1(event)) {
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress || !isF1(event))
        return QObject::eventFilter(watched, event);
    // The key goes to the focus widget; before that, to the window of the
    // window system, which is no widget.
    const QWidget *where = qobject_cast<QWidget *>(watched);
    if (!where)
        where = QApplication::focusWidget();
    if (!where)
        where = QApplication::activeWindow();
    show(Manual::pageFor(where));
    return true;
}

} // namespace Tarvel
