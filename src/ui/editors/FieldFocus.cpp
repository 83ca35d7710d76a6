#include "FieldFocus.h"

#include "base/Logging.h"
#include "model/AppContext.h"
#include "model/FieldEvents.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace Tarvel {

// Focus moves the editor makes itself (tab switches, giving the focus back
// to a refused field) are no moves of the user's.
struct FieldFocus::Quiet
{
    explicit Quiet(FieldFocus &focus)
        : m_focus(focus)
    {
        ++m_focus.m_quiet;
    }
    ~Quiet() { --m_focus.m_quiet; }
    Quiet(const Quiet &) = delete;
    Quiet &operator=(const Quiet &) = delete;
    FieldFocus &m_focus;
};

FieldFocus::FieldFocus(AppContext &ctx, Host &host, QWidget *window)
    : QObject(window)
    , m_ctx(ctx)
    , m_host(host)
    , m_window(window)
{
    connect(qApp, &QApplication::focusChanged, this, &FieldFocus::qtFocusChanged);
    connect(&ctx.editor, &EditorForm::focusRequested, this, &FieldFocus::focusRequested);
}

void FieldFocus::watch(QWidget *widget)
{
    widget->installEventFilter(this);
}

void FieldFocus::release(QWidget *widget)
{
    // A new load or a rule replaces its value: its refusal no longer stands.
    if (m_refused && m_host.fieldWidget(m_refused->field) == widget)
        m_refused.reset();
    if (m_current.valid() && m_host.fieldWidget(m_current) == widget)
        m_current = Field {};
    if (widget->hasFocus()) {
        const Quiet quiet(*this);
        m_window->setFocus(Qt::OtherFocusReason);
    }
}

bool FieldFocus::inEditor(const QWidget *widget) const
{
    return widget && (widget == m_window || m_window->isAncestorOf(widget));
}

void FieldFocus::qtFocusChanged(QWidget *old, QWidget *now)
{
    Q_UNUSED(old)
    // A message box or popup list borrowing the focus, another window or
    // the application taking it, and anything during a leave are not moves
    // between fields.
    if (m_quiet > 0 || m_leaving || !inEditor(now))
        return;
    const Field to = m_host.fieldAt(now);
    if (to == m_current || (!to.valid() && !m_current.valid()))
        return;
    qCDebug(lcUi) << "focus to" << now << "from field" << m_current.index;
    if (m_current.valid()) {
        const Field left = std::exchange(m_current, Field {});
        if (const std::optional<Field> back = runLeave(left)) {
            refused(*back, now);
            return;
        }
    }
    // A rule run by the leave may have disabled or hidden the field that
    // was clicked; then the focus went on elsewhere.
    const Field here = m_host.fieldAt(QApplication::focusWidget());
    if (here.valid())
        focusField(here);
}

void FieldFocus::focusRequested(FieldKind kind, int index)
{
    const Field field {kind == FieldKind::List ? FieldKind::List : FieldKind::Text, index};
    QWidget *widget = m_host.fieldWidget(field);
    if (!widget)
        return;
    if (m_leaving) {
        // The checks refuse the entry being left: the focus goes back there
        // once the leave has run to its end.
        m_requested = field;
        return;
    }
    if (!m_window->isVisible()) {
        // Taken up as an ordinary entry when the window is shown again.
        const Quiet quiet(*this);
        m_host.showField(index);
        widget->setFocus(Qt::OtherFocusReason);
        return;
    }
    moveTo(field);
}

bool FieldFocus::moveTo(Field field)
{
    if (field.valid() && field == m_current) {
        const Quiet quiet(*this);
        m_host.showField(field.index);
        m_host.fieldWidget(field)->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (!leaveCurrent())
        return false;
    focusField(field);
    return true;
}

bool FieldFocus::leaveCurrent()
{
    if (!m_current.valid())
        return true;
    const Field left = std::exchange(m_current, Field {});
    if (const std::optional<Field> back = runLeave(left)) {
        refused(*back, nullptr);
        return false;
    }
    return true;
}

void FieldFocus::step(QWidget *from, bool forward)
{
    // The leave runs first: its rules may enable or disable fields, and the
    // walk goes to what is a stop afterwards.
    const QList<QWidget *> before = m_host.stops();
    if (!leaveCurrent())
        return;
    QWidget *next = nextStop(from, before, forward);
    if (!next)
        return;
    const Field field = m_host.fieldAt(next);
    if (field.valid()) {
        focusField(field);
        return;
    }
    const Quiet quiet(*this);
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

QWidget *FieldFocus::nextStop(QWidget *from, const QList<QWidget *> &before, bool forward) const
{
    const QList<QWidget *> after = m_host.stops();
    const qsizetype n = after.size();
    if (n == 0)
        return nullptr;
    const qsizetype pos = after.indexOf(from);
    if (pos >= 0)
        return after[(pos + (forward ? 1 : n - 1)) % n];
    // The field left stopped being a stop (its own rule disabled it): go on
    // from where it stood.
    const qsizetype was = before.indexOf(from);
    const qsizetype m = before.size();
    for (qsizetype k = 1; was >= 0 && k < m; ++k) {
        QWidget *w = before[(was + (forward ? k : m - k)) % m];
        if (after.contains(w))
            return w;
    }
    // From a tab strip or the window itself: the first stop on screen.
    for (qsizetype k = 0; k < n; ++k) {
        QWidget *w = after[forward ? k : n - 1 - k];
        if (w->isVisible())
            return w;
    }
    return forward ? after.first() : after.last();
}

// What the user may have changed in a field: its text, and for a list the
// entry chosen (taken into the text by the leave).
QString FieldFocus::valueOf(Field field) const
{
    const QString text = m_ctx.editor.txtP(field.index).text();
    if (field.kind == FieldKind::List)
        return text + u'/' + QString::number(m_ctx.editor.cmbP(field.index).listIndex());
    return text;
}

std::optional<FieldFocus::Field> FieldFocus::runLeave(Field field)
{
    // A refusal returns the focus once. Left again unchanged, the field is
    // not judged again: a rule that keeps its value (two sources that
    // clash) would refuse again, and the focus moves of the message box and
    // of another window in front would refuse it without end.
    const bool judged = m_refused && m_refused->field == field && m_refused->value == valueOf(field);
    m_refused.reset();
    if (judged)
        return std::nullopt;
    const bool text = field.kind == FieldKind::Text;
    m_leaving = true;
    m_requested.reset();
    m_ctx.trap(
        text ? QStringLiteral("frmTabConfig, txtP_LostFocus") : QStringLiteral("frmTabConfig, cmbP_LostFocus"), [&] {
            if (!m_events)
                return;
            if (text)
                m_events->leaveValueBox(field.index);
            else
                m_events->leaveChoiceList(field.index);
        });
    m_leaving = false;
    return std::exchange(m_requested, std::nullopt);
}

void FieldFocus::enter(Field field)
{
    const bool text = field.kind == FieldKind::Text;
    m_ctx.trap(
        text ? QStringLiteral("frmTabConfig, txtP_GotFocus") : QStringLiteral("frmTabConfig, cmbP_GotFocus"), [&] {
            if (text && m_events)
                m_events->enterValueBox(field.index);
            m_host.fieldEntered(field);
        });
}

void FieldFocus::focusField(Field field)
{
    QWidget *widget = m_host.fieldWidget(field);
    if (!widget)
        return;
    {
        const Quiet quiet(*this);
        m_host.showField(field.index);
        widget->setFocus(Qt::OtherFocusReason);
    }
    // Focus moved by code shows no focus frame on a list (the styles draw it
    // only after keyboard moves); a field with the focus must show it, or a
    // key press changes a value the user does not see selected.
    widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    widget->update();
    m_current = field;
    enter(field);
}

void FieldFocus::refused(Field back, QWidget *clicked)
{
    m_refused = Refusal {back, valueOf(back)};
    // A message box has usually just closed. Without a window manager to
    // hand the activation back, the field would have the focus only on
    // paper; the editor's window takes it back itself.
    if (m_window->isVisible() && !m_window->isActiveWindow() && !QApplication::activeModalWidget())
        m_window->activateWindow();
    focusField(back);
    // The press that moved the focus is still on its way to the widget
    // clicked; it must not push a button or open a list now.
    m_swallowPress = clicked;
    if (clicked)
        QTimer::singleShot(0, this, [this] { m_swallowPress = nullptr; });
}

bool FieldFocus::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return m_swallowPress && watched == m_swallowPress;
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    bool forward = true;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        forward = !(key->modifiers() & Qt::ShiftModifier) || key->key() != Qt::Key_Tab;
        break;
    case Qt::Key_Backtab:
        forward = false;
        break;
    default:
        return false;
    }
    // The form sees keys before its controls: Enter walks like Tab.
    auto *from = qobject_cast<QWidget *>(watched);
    m_ctx.trap(QStringLiteral("frmTabConfig, Form_KeyDown"), [&] { step(from, forward); });
    return true;
}

} // namespace Tarvel
