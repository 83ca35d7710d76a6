#include "NavigatorDialog.h"

#include "app/Startup.h"
#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

struct Option
{
    int index;
    const char *caption;
    bool visible;
};

// Top to bottom as shown.
constexpr Option Options[] = {
    {0, "Start New Configuration", true},
    {4, "Open Existing Configuration", true},
    {2, "Quick Start Configuration", true},
    {6, "Upload Settings From Drive", true},
    {3, "Close Project Navigator", true},
    {1, "New Schematic Config", true},
    {5, "Open Schematic Config", true},
};

} // namespace

NavigatorDialog::NavigatorDialog(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(QStringLiteral("  Project Navigator"));
    setWindowIcon(AppIcons::application());
    setModal(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select An Action:"), this));
    buildOptions();
    auto *frame = new QGroupBox(this);
    auto *frameLayout = new QVBoxLayout(frame);
    for (const Option &o : Options)
        frameLayout->addWidget(m_options.at(size_t(o.index)));
    layout->addWidget(frame);

    m_repeat = new QCheckBox(QStringLiteral("Show this dialog each time the program starts."), this);
    m_repeat->setObjectName(QStringLiteral("chkRepeat"));
    connect(m_repeat, &QCheckBox::clicked, this, &NavigatorDialog::repeatClicked);
    layout->addWidget(m_repeat);

    auto *goButton = new QPushButton(QStringLiteral("Go"), this);
    goButton->setObjectName(QStringLiteral("cmdClose"));
    goButton->setDefault(true);
    connect(goButton, &QPushButton::clicked, this, &NavigatorDialog::go);
    layout->addWidget(goButton, 0, Qt::AlignRight);
    m_diags = new QPushButton(QStringLiteral("Diags"), this);
    m_diags->setObjectName(QStringLiteral("cmdDiags"));
    m_diags->setVisible(false);

    m_options.at(CloseOption)->setChecked(true);
    syncEnabled();
}

void NavigatorDialog::buildOptions()
{
    for (const Option &o : Options) {
        auto *button = new QRadioButton(QString::fromLatin1(o.caption), this);
        button->setObjectName(QStringLiteral("optConfig%1").arg(o.index));
        button->setVisible(o.visible);
        m_options.at(size_t(o.index)) = button;
    }
}

void NavigatorDialog::setCommand(int index, std::function<void()> run, QAction *gate)
{
    m_run.at(size_t(index)) = std::move(run);
    m_gates.at(size_t(index)) = gate;
    if (gate)
        connect(gate, &QAction::changed, this, &NavigatorDialog::syncEnabled);
    syncEnabled();
}

// An option without a command, or whose gate is closed, cannot be chosen;
// the close option always can.
bool NavigatorDialog::available(int i) const
{
    const QAction *gate = m_gates.at(size_t(i));
    return m_run.at(size_t(i)) && (!gate || gate->isEnabled());
}

void NavigatorDialog::syncEnabled()
{
    for (int i = 0; i < OptionCount; ++i)
        if (i != CloseOption)
            m_options.at(size_t(i))->setEnabled(available(i));
}

void NavigatorDialog::showEvent(QShowEvent *event)
{
    m_options.at(CloseOption)->setChecked(true);
    QDialog::showEvent(event);
}

void NavigatorDialog::go()
{
    m_ctx.trap(QStringLiteral("frmStartup, cmdClose_Click"), [&] {
        for (int i = 0; i < OptionCount; ++i) {
            if (!m_options.at(size_t(i))->isChecked())
                continue;
            if (i == CloseOption) {
                close();
                return;
            }
            if (available(i))
                m_run.at(size_t(i))();
            return;
        }
    });
}

void NavigatorDialog::setShowAtStart(bool show)
{
    m_repeat->setChecked(show);
}

void NavigatorDialog::repeatClicked()
{
    const bool show = m_repeat->isChecked();
    if (Startup(m_ctx).writeQuickScreen(show, QStringLiteral("frmStartup, chkRepeat")))
        Q_EMIT showAtStartChanged(show);
}

} // namespace Tarvel
