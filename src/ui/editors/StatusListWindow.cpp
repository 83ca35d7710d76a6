#include "StatusListWindow.h"

#include "LedBar.h"
#include "model/AppContext.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace Tarvel {

StatusListWindow::StatusListWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_model(ctx.statusList)
    , m_actions(ctx)
    , m_toolbar(new QToolBar(this))
    , m_log(new QListWidget(this))
    , m_status(new QLabel(this))
    , m_bar(new LedBar(this))
    , m_close(new QPushButton(tr("Close"), this))
{
    setObjectName(QStringLiteral("frmList"));
    setMinimumSize(520, 360);
    buildToolbar();
    buildLayout();
    connectModel();
    setWindowTitle(m_model.caption());
    m_status->setText(m_model.status());
    m_bar->setMaximum(StatusList::MaxPosition);
    m_bar->setValue(m_model.position());
    m_bar->setVisible(m_model.barVisible());
    reloadLines();
}

void StatusListWindow::buildToolbar()
{
    m_toolbar->setObjectName(QStringLiteral("tbrList"));
    m_toolbar->setMovable(false);
    struct Button
    {
        StatusListActions::Button position;
        QStyle::StandardPixmap icon;
        QString text;
    };
    const Button buttons[] = {
        {StatusListActions::Open, QStyle::SP_DialogOpenButton, tr("Open")},
        {StatusListActions::Save, QStyle::SP_DialogSaveButton, tr("Save")},
        {StatusListActions::Print, QStyle::SP_FileDialogDetailedView, tr("Print")},
        {StatusListActions::Clear, QStyle::SP_TrashIcon, tr("Clear")},
    };
    for (const Button &b : buttons) {
        // Position 4 is the separator between Print and Clear.
        if (b.position == StatusListActions::Clear)
            m_toolbar->addSeparator();
        QAction *action = m_toolbar->addAction(style()->standardIcon(b.icon), b.text);
        action->setObjectName(QStringLiteral("tbrList_") + b.text);
        action->setToolTip(b.text);
        action->setData(static_cast<int>(b.position));
        const int position = b.position;
        connect(action, &QAction::triggered, this, [this, position] { m_actions.buttonClick(position); });
    }
}

void StatusListWindow::buildLayout()
{
    m_log->setObjectName(QStringLiteral("lstLog"));
    m_log->setSelectionMode(QAbstractItemView::SingleSelection);
    // Thousands of lines arrive during long operations; uniform rows keep
    // adding and scrolling cheap.
    m_log->setUniformItemSizes(true);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_bar->setObjectName(QStringLiteral("ledBar"));
    m_close->setObjectName(QStringLiteral("cmdClose"));
    connect(m_close, &QPushButton::clicked, this, [this] { m_actions.close(); });

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_log, 1);
    layout->addWidget(m_bar);
    layout->addLayout(bottom);
}

void StatusListWindow::connectModel()
{
    connect(&m_model, &StatusList::lineAdded, this, &StatusListWindow::addLine);
    connect(&m_model, &StatusList::linesReset, this, &StatusListWindow::reloadLines);
    connect(&m_model, &StatusList::captionChanged, this, &QWidget::setWindowTitle);
    connect(&m_model, &StatusList::statusChanged, m_status, &QLabel::setText);
    connect(&m_model, &StatusList::positionChanged, m_bar, &LedBar::setValue);
    connect(&m_model, &StatusList::barVisibleChanged, m_bar, &QWidget::setVisible);
}

void StatusListWindow::addLine(const QString &line)
{
    m_log->addItem(line);
    // The newest line is what the user is waiting for.
    m_log->scrollToBottom();
}

void StatusListWindow::reloadLines()
{
    m_log->clear();
    m_log->addItems(m_model.lines());
    m_log->scrollToBottom();
}

void StatusListWindow::closeEvent(QCloseEvent *event)
{
    if (m_actions.queryUnload())
        event->accept();
    else
        event->ignore();
}

} // namespace Tarvel
