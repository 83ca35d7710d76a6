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

// One element of the field arrays txtP, cmbP and lblP of the detailed editor.
// Setters notify the form, which the window renders from.
class FieldBase
{
public:
    FieldBase(EditorForm *form, int index, FieldKind kind);
    int index() const { return m_index; }

protected:
    void notify();

    EditorForm *m_form;
    int m_index;
    FieldKind m_kind;
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
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);
    int tabIndex() const { return m_tabIndex; }
    void setTabIndex(int tabIndex);

private:
    QString m_text;
    QString m_toolTip;
    bool m_visible = false;
    bool m_enabled = true;
    bool m_tabStop = true;
    int m_tabIndex = 0;
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
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool tabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);
    int tabIndex() const { return m_tabIndex; }
    void setTabIndex(int tabIndex);

private:
    QString m_text;
    QStringList m_list;
    int m_listIndex = -1;
    bool m_visible = false;
    bool m_enabled = true;
    bool m_tabStop = true;
    int m_tabIndex = 0;
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
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    const QString &toolTipText() const { return m_toolTip; }
    void setToolTipText(const QString &text);

private:
    QString m_caption;
    quint32 m_foreColor = Colour::GrayText;
    bool m_visible = true;
    QString m_toolTip;
};

} // namespace Tarvel
