#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class EditorForm;

enum class FieldKind { Text, List, Label };

// Classic colour values: labels are red (255) when a value differs from its
// default, black (0) otherwise, and drawn in the system grey-text colour
// when the drive does not use the parameter.
namespace Colour {
constexpr quint32 Black = 0;
constexpr quint32 Red = 255;
constexpr quint32 GrayText = 0x80000011;
} // namespace Colour

// One element of the field arrays txtP, cmbP and lblP of the detailed editor,
// with what every kind has: shown, editable, its place in the tab order.
// Setters notify the form, which the window renders from.
class FieldBase
{
public:
    FieldBase(EditorForm *form, int index, FieldKind kind, bool visible);
    int index() const { return m_index; }

    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);
    int tabIndex() const { return m_tabIndex; }
    void setTabIndex(int tabIndex);

protected:
    void notify();

    EditorForm *m_form;
    int m_index;
    FieldKind m_kind;

private:
    bool m_visible;
    bool m_enabled = true;
    bool m_tabStop = true;
    int m_tabIndex = 0;
};

// txtP(i): the value as text.
class TextBoxField : public FieldBase
{
public:
    TextBoxField(EditorForm *form, int index);

    const QString &text() const { return m_text; }
    void setText(const QString &text);
    const QString &toolTipText() const { return m_toolTip; }
    void setToolTipText(const QString &text);

private:
    QString m_text;
    QString m_toolTip;
};

// cmbP(i): the entries of a choice-list parameter.
class ComboField : public FieldBase
{
public:
    ComboField(EditorForm *form, int index);

    const QString &text() const { return m_text; }
    void setText(const QString &text);
    const QStringList &list() const { return m_list; }
    int listCount() const { return int(m_list.size()); }
    int listIndex() const { return m_listIndex; }
    void setListIndex(int index);
    void addItem(const QString &entry);
    void clear();

private:
    QString m_text;
    QStringList m_list;
    int m_listIndex = -1;
};

// lblP(i): the parameter caption.
class LabelField : public FieldBase
{
public:
    LabelField(EditorForm *form, int index);

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    quint32 foreColor() const { return m_foreColor; }
    void setForeColor(quint32 colour);
    const QString &toolTipText() const { return m_toolTip; }
    void setToolTipText(const QString &text);

private:
    QString m_caption;
    quint32 m_foreColor = Colour::GrayText;
    QString m_toolTip;
};

} // namespace Tarvel
