#pragma once

#include "model/EditorFields.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <optional>

class QWidget;

namespace Tarvel {

class AppContext;
class FieldEvents;

// Decides when a field of the detailed editor is entered and left, and
// calls the entry checks exactly once for each.
//
// Qt's focus events are not the field's: a message box shown while a field
// is left takes the focus and gives it back, a tab switch moves it, a
// popup list borrows it. So the editor keeps its own current field and
// turns only real moves into enter and leave calls: focus changes inside
// the editor while no leave is running, the keyboard walk, and focus
// requests from the checks. Going to another window and back is no move:
// the field stays current and is left when the user moves on inside the
// editor (or the editor hides), so an operation started from elsewhere is
// never interrupted by the field's checks. A leave that asks for the focus
// back (a refused entry) wins over the move that caused it.
class FieldFocus : public QObject
{
    Q_OBJECT
public:
    struct Field
    {
        FieldKind kind = FieldKind::Text;
        int index = -1;
        bool valid() const { return index >= 0; }
        bool operator==(const Field &) const = default;
    };

    // What the focus logic needs from the window that draws the fields.
    class Host
    {
    public:
        virtual ~Host() = default;
        virtual QWidget *fieldWidget(Field field) const = 0;
        // The field a widget draws; invalid for any other widget.
        virtual Field fieldAt(const QWidget *widget) const = 0;
        // Bring the field's tabs to the front so it can take the focus.
        virtual void showField(int index) = 0;
        // After the checks have seen the field entered: tabs by range, tab
        // stops, selection.
        virtual void fieldEntered(Field field) = 0;
        // Every widget the keyboard walk stops at, in walking order.
        virtual QList<QWidget *> stops() const = 0;
    };

    FieldFocus(AppContext &ctx, Host &host, QWidget *window);

    void setEvents(FieldEvents *events) { m_events = events; }
    FieldEvents *events() const { return m_events; }
    Field current() const { return m_current; }

    // Tab, Shift+Tab and Enter from a widget of the editor.
    void step(QWidget *from, bool forward);
    // Runs the leave of the current field, e.g. before the window hides.
    // False when the entry was refused; the focus is then back on it.
    bool leaveCurrent();
    // Moves the focus to a field as the code asks, leaving the current one.
    bool moveTo(Field field);
    // Watches a field or button of the editor: keys and refused clicks.
    void watch(QWidget *widget);
    // The window is about to hide or disable a field by code (a new load, a
    // rule): the field is dropped without its checks, which would judge a
    // value that is being replaced, and the focus is parked on the window.
    void release(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Quiet;

    void qtFocusChanged(QWidget *old, QWidget *now);
    void focusRequested(FieldKind kind, int index);
    std::optional<Field> runLeave(Field field);
    QString valueOf(Field field) const;
    void enter(Field field);
    void focusField(Field field);
    void refused(Field back, QWidget *clicked);
    QWidget *nextStop(QWidget *from, const QList<QWidget *> &before, bool forward) const;
    bool inEditor(const QWidget *widget) const;

    AppContext &m_ctx;
    Host &m_host;
    QWidget *m_window;
    FieldEvents *m_events = nullptr;
    Field m_current;
    bool m_leaving = false;
    int m_quiet = 0;
    std::optional<Field> m_requested;
    // The field last refused and its value then.
    struct Refusal
    {
        Field field;
        QString value;
    };
    std::optional<Refusal> m_refused;
    QPointer<QWidget> m_swallowPress;
};

} // namespace Tarvel
