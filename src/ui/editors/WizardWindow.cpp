#include "WizardWindow.h"

#include "EditorLayout.h"
#include "TabConfigWindow.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "ui/common/AppIcons.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

constexpr int StepGroups[WizardWindow::StepCount] = {0, 1, 2, 3, 4, 7, 8};
const char *const StepNames[WizardWindow::StepCount] = {
    "P0.xx - Motor",
    "P1.xx - Ramps",
    "P2.xx - Volts / Hertz",
    "P3.xx - Digital",
    "P4.xx - Analog",
    "P7.xx - PID",
    "P8.xx - Display",
};
// A finished step: colour value 65280.
const QColor Green(0, 255, 0);

} // namespace

WizardWindow::WizardWindow(AppContext &ctx, TabConfigWindow &editor, Hooks hooks, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_editor(editor)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("frmWizardMain"));
    setWindowTitle(QStringLiteral("  Quick Start"));
    setWindowIcon(AppIcons::application());
    buildSteps();
    connect(&m_editor, &TabConfigWindow::wizardStepDone, this, &WizardWindow::endStep);
    m_ctx.trap(QStringLiteral("frmWizardMain, Form_Load"), [&] { formLoad(); });
}

WizardWindow::~WizardWindow() = default;

int WizardWindow::stepGroup(int k)
{
    return k >= 0 && k < StepCount ? StepGroups[k] : -1;
}

void WizardWindow::buildSteps()
{
    auto *grid = new QGridLayout;
    for (int k = 0; k < StepCount; ++k) {
        auto *box = new QFrame(this);
        box->setObjectName(QStringLiteral("boxWiz_%1").arg(k));
        box->setFrameShape(QFrame::Box);
        box->setFixedSize(18, 18);
        box->setAutoFillBackground(true);
        m_boxes[size_t(k)] = box;

        auto *button = new QPushButton(QString::number(k + 1), this);
        button->setObjectName(QStringLiteral("cmdWizard_%1").arg(k));
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        connect(button, &QPushButton::clicked, this,
            [this, k] { m_ctx.trap(QStringLiteral("frmWizardMain, cmdWizard_Click"), [&] { startSteps(k); }); });
        m_buttons[size_t(k)] = button;

        auto *label = new QLabel(QString::fromLatin1(StepNames[k]), this);
        label->setObjectName(QStringLiteral("lblWizard_%1").arg(k));
        label->setProperty("step", k);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        m_labels[size_t(k)] = label;

        grid->addWidget(box, k, 0);
        grid->addWidget(button, k, 1);
        grid->addWidget(label, k, 2);
    }
    grid->setColumnStretch(2, 1);

    m_save = new QPushButton(QStringLiteral("Save"), this);
    m_save->setObjectName(QStringLiteral("cmdSave"));
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_ctx.trap(QStringLiteral("frmWizardMain, cmdSave_Click"), [&] {
            if (m_hooks.save)
                m_hooks.save();
        });
    });
    m_close = new QPushButton(QStringLiteral("Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    connect(m_close, &QPushButton::clicked, this, &WizardWindow::clickClose);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void WizardWindow::formLoad()
{
    if (m_hooks.setEntriesEnabled)
        m_hooks.setEntriesEnabled(false);
    // A model whose list text has "1" at the seventh character has no PID
    // loop, so the PID step is not offered.
    const bool pid = m_ctx.editor.cmbP(ParamTables::ModelIndex).text().mid(6, 1) != QLatin1String("1");
    m_labels[PidStep]->setEnabled(pid);
    m_buttons[PidStep]->setEnabled(pid);
}

QColor WizardWindow::boxColour(int k) const
{
    return m_boxes.at(size_t(k))->palette().color(QPalette::Window);
}

QWidget *WizardWindow::frame()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    return sub ? static_cast<QWidget *>(sub) : this;
}

bool WizardWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const QVariant step = watched->property("step");
        auto *label = qobject_cast<QLabel *>(watched);
        if (step.isValid() && label && label->isEnabled()
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            const int k = step.toInt();
            m_ctx.trap(QStringLiteral("frmWizardMain, lblWizard_Click"), [&] { startSteps(k); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WizardWindow::startStep(int k)
{
    m_ctx.trap(QStringLiteral("frmWizardMain, cmdWizard_Click"), [&] { startSteps(k); });
}

// The groups of the other steps are locked too, so the user stays in the
// step's group until its Done button (group 10 included: no other group
// belongs to the step).
void WizardWindow::setAllGroupTabs(bool enabled)
{
    for (int g = 0; g < EditorLayout::GroupCount; ++g)
        m_editor.setGroupTabEnabled(g, enabled);
}

void WizardWindow::startSteps(int k)
{
    const int group = stepGroup(k);
    if (group < 0)
        throw TrappedError(Err::NoSuchControlElement, QStringLiteral("Control array element %1 doesn't exist").arg(k));
    setAllGroupTabs(false);
    for (int b = 0; b < TabConfigWindow::WizButtonCount; ++b)
        m_editor.setWizButtonVisible(b, false);
    m_editor.showEditor();
    m_ctx.pause(0.125);
    m_editor.setGroupTabEnabled(group, true);
    m_editor.selectGroup(group, k == 1 ? 0 : -1);
    m_editor.setQuickStartDotsVisible(group, true);
    m_editor.setWizButtonVisible(k, true);
    m_editor.setCloseButtonVisible(false);
    m_editor.setQuickStartLegendVisible(true);
    m_close->setEnabled(false);
    frame()->setEnabled(false);
}

// Runs inside the editor's trap for cmdWiz_Click.
void WizardWindow::endStep(int k)
{
    const int group = stepGroup(k);
    if (group < 0 || m_unloaded)
        return;
    m_editor.setWizButtonVisible(k, false);
    frame()->setEnabled(true);
    m_done[size_t(k)] = true;
    QPalette palette = m_boxes[size_t(k)]->palette();
    palette.setColor(QPalette::Window, Green);
    m_boxes[size_t(k)]->setPalette(palette);
    m_editor.setCloseButtonVisible(true);
    m_editor.setQuickStartLegendVisible(false);
    m_editor.setQuickStartDotsVisible(group, false);
    setAllGroupTabs(true);
    m_close->setEnabled(true);
    QWidget *f = frame();
    if (auto *sub = qobject_cast<QMdiSubWindow *>(f); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    f->raise();
}

void WizardWindow::clickClose()
{
    m_ctx.trap(QStringLiteral("frmMainWizard, cmdClose_Clsik()"), [&] { closeSteps(); });
    if (m_unloaded)
        frame()->close();
}

void WizardWindow::closeSteps()
{
    if (m_ctx.state.blnConfigChanged
        && m_ctx.prompter().msgBox(QStringLiteral("You have unsaved data. Would you like to save now?"),
               Msg::YesNo | Msg::Question, QStringLiteral("Unsaved Drive Config Data Exists"))
            == Msg::Yes
        && m_hooks.save)
        m_hooks.save();
    m_ctx.trap(QStringLiteral("frmWizardMain, Form_Unload"), [&] { formUnload(); });
    m_unloaded = true;
}

void WizardWindow::formUnload()
{
    if (m_hooks.setEntriesEnabled)
        m_hooks.setEntriesEnabled(true);
    m_editor.setQuickStartLegendVisible(false);
    for (int k = 0; k < StepCount; ++k)
        m_editor.setQuickStartDotsVisible(stepGroup(k), false);
    setAllGroupTabs(true);
    m_ctx.editor.setTag(QStringLiteral("1"));
    Q_EMIT unloaded();
}

// The close box is the Close button: unsaved work is offered for saving
// before the wizard goes.
void WizardWindow::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded)
        m_ctx.trap(QStringLiteral("frmMainWizard, cmdClose_Clsik()"), [&] { closeSteps(); });
    if (m_unloaded)
        event->accept();
    else
        event->ignore();
}

} // namespace Tarvel
