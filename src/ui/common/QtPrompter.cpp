#include "QtPrompter.h"

namespace Tarvel {

namespace {

QList<QMessageBox::StandardButton> buttonsFor(int style)
{
    switch (Msg::buttons(style)) {
    case Msg::OKCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case Msg::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    default:
        return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconFor(int style)
{
    switch (Msg::icon(style)) {
    case Msg::Critical:
        return QMessageBox::Critical;
    case Msg::Question:
        return QMessageBox::Question;
    case Msg::Exclamation:
        return QMessageBox::Warning;
    case Msg::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtPrompter::QtPrompter(QWidget *parent)
    : m_parent(parent)
{ }

void QtPrompter::configure(QMessageBox &box, const QString &text, int style, const QString &title)
{
    // The messages join their lines with a lone CR, which a label does not
    // break on.
    box.setText(QString(text).replace(u'\r', u'\n'));
    box.setTextFormat(Qt::PlainText);
    box.setWindowTitle(title);
    box.setIcon(iconFor(style));
    const QList<QMessageBox::StandardButton> buttons = buttonsFor(style);
    QMessageBox::StandardButtons set;
    for (QMessageBox::StandardButton b : buttons)
        set |= b;
    box.setStandardButtons(set);
    const bool second = (style & Msg::DefaultButton2) && buttons.size() > 1;
    box.setDefaultButton(buttons.at(second ? 1 : 0));
}

int QtPrompter::answerFor(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return Msg::Cancel;
    case QMessageBox::Yes:
        return Msg::Yes;
    case QMessageBox::No:
        return Msg::No;
    default:
        return Msg::OK;
    }
}

int QtPrompter::msgBox(const QString &text, int style, const QString &title)
{
    QMessageBox box(m_parent);
    configure(box, text, style, title);
    const int clicked = box.exec();
    // Escape on an OK-only box still answers OK; on the others QMessageBox
    // picks Cancel or No, the classic answers for a dismissed box.
    return answerFor(static_cast<QMessageBox::StandardButton>(clicked));
}

} // namespace Tarvel
