#include "EditorFields.h"

#include "EditorForm.h"

namespace Tarvel {

FieldBase::FieldBase(EditorForm *form, int index, FieldKind kind, bool visible)
    : m_form(form)
    , m_index(index)
    , m_kind(kind)
    , m_visible(visible)
{ }

void FieldBase::notify()
{
    m_form->fieldChanged(m_kind, m_index);
}

namespace {
// Each setter notifies only on a real change, so a window rendering the
// form repaints what moved and nothing else.
template<class T> bool assign(T &member, const T &value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}
} // namespace

void FieldBase::setVisible(bool visible)
{
    if (assign(m_visible, visible))
        notify();
}
void FieldBase::setEnabled(bool enabled)
{
    if (assign(m_enabled, enabled))
        notify();
}
void FieldBase::setTabStop(bool tabStop)
{
    if (assign(m_tabStop, tabStop))
        notify();
}
void FieldBase::setTabIndex(int tabIndex)
{
    if (assign(m_tabIndex, tabIndex))
        notify();
}

TextBoxField::TextBoxField(EditorForm *form, int index)
    : FieldBase(form, index, FieldKind::Text, false)
{ }

void TextBoxField::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    notify();
    m_form->textEdited(m_index);
}

void TextBoxField::setToolTipText(const QString &text)
{
    if (assign(m_toolTip, text))
        notify();
}

ComboField::ComboField(EditorForm *form, int index)
    : FieldBase(form, index, FieldKind::List, false)
{ }

void ComboField::setText(const QString &text)
{
    const int found = int(m_list.indexOf(text));
    if (m_text == text && m_listIndex == found)
        return;
    m_text = text;
    m_listIndex = found;
    notify();
}

void ComboField::setListIndex(int index)
{
    setText(index >= 0 && index < m_list.size() ? m_list.at(index) : QString());
}

void ComboField::addItem(const QString &entry)
{
    m_list.append(entry);
    if (m_listIndex < 0 && entry == m_text)
        m_listIndex = int(m_list.size()) - 1;
    notify();
}

void ComboField::clear()
{
    if (m_list.isEmpty() && m_text.isEmpty())
        return;
    m_list.clear();
    m_text.clear();
    m_listIndex = -1;
    notify();
}

LabelField::LabelField(EditorForm *form, int index)
    : FieldBase(form, index, FieldKind::Label, true)
{ }

void LabelField::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        notify();
}
void LabelField::setForeColor(quint32 colour)
{
    if (assign(m_foreColor, colour))
        notify();
}
void LabelField::setToolTipText(const QString &text)
{
    if (assign(m_toolTip, text))
        notify();
}

} // namespace Tarvel
