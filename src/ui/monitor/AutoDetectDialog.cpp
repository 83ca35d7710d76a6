#include "AutoDetectDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

AutoDetectDialog::AutoDetectDialog(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_search(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(AutoDetectSearch::Caption);
    build();
}

void AutoDetectDialog::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    m_port = new QComboBox(this);
    m_port->addItems(m_search.ports());
    m_port->setPlaceholderText(AutoDetectSearch::NoPortText);
    m_port->setCurrentIndex(-1);
    form->addRow(QStringLiteral("Select a port:"), m_port);
    // The quick search tries the common settings first with short
    // time-outs; unticked, the search is the full one.
    m_quick = new QCheckBox(QStringLiteral("Quick"), this);
    m_quick->setToolTip(QStringLiteral("Common settings first (19200 and 9600 baud, even parity), nodes 1 to 247,\n"
                                       "time-outs of a few frame times: minutes instead of hours."));
    form->addRow(QString(), m_quick);
    m_status = new QListWidget(this);
    m_status->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
    form->addRow(QStringLiteral("Status:"), m_status);
    m_state = new QLabel(QStringLiteral(" "), this);
    layout->addWidget(m_state);

    auto *buttons = new QDialogButtonBox(this);
    m_detect = buttons->addButton(QStringLiteral("Detect"), QDialogButtonBox::ActionRole);
    m_cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::ActionRole);
    m_close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(m_port, &QComboBox::activated, &m_search, &AutoDetectSearch::choosePort);
    connect(m_quick, &QCheckBox::toggled, &m_search, &AutoDetectSearch::setQuick);
    connect(m_detect, &QPushButton::clicked, this, &AutoDetectDialog::detect);
    connect(m_cancel, &QPushButton::clicked, &m_search, &AutoDetectSearch::cancel);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    connect(&m_search, &AutoDetectSearch::changed, this, &AutoDetectDialog::render);
    connect(&m_search, &AutoDetectSearch::portFocusRequested, m_port, qOverload<>(&QWidget::setFocus));
}

void AutoDetectDialog::render()
{
    // Only the lines added since the last change go in (at the top, the
    // newest first): the quick search adds one every few milliseconds, and
    // filling the whole list each time would cost more than the tries.
    const QStringList &lines = m_search.statusLines();
    if (lines.size() < m_status->count())
        m_status->clear();
    m_status->insertItems(0, lines.first(lines.size() - m_status->count()));
    m_state->setText(m_search.state());
    m_detect->setEnabled(!m_search.isSearching());
    m_quick->setEnabled(!m_search.isSearching());
}

void AutoDetectDialog::detect()
{
    m_detect->setEnabled(false);
    m_search.detect();
    // Closed while the search ran: the window could not go from inside
    // its own handler, it goes now.
    if (m_closeAfterSearch) {
        deleteLater();
        return;
    }
    render();
}

void AutoDetectDialog::closeEvent(QCloseEvent *event)
{
    m_search.close();
    if (!m_search.isSearching()) {
        QDialog::closeEvent(event);
        return;
    }
    m_closeAfterSearch = true;
    hide();
    event->ignore();
}

} // namespace Tarvel
