#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace Tarvel {

class AppContext;
class TabConfigWindow;

// frmWizardMain, the quick-start wizard: seven steps, each one parameter
// group worked in the detailed editor narrowed to that group with its
// quick-start items marked. A finished step's box turns green. While the
// wizard is open the main window's New and Detail entries are locked, so
// the configuration it works on cannot be replaced under it.
class WizardWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int StepCount = 7;
    static constexpr int PidStep = 5;

    struct Hooks
    {
        // Locks (false) or frees (true) mnuDetail, mnuNew and the toolbar
        // buttons New, Detail, Schematic and Wizard.
        std::function<void(bool)> setEntriesEnabled;
        // The main window's Save command.
        std::function<void()> save;
    };

    WizardWindow(AppContext &ctx, TabConfigWindow &editor, Hooks hooks, QWidget *parent = nullptr);
    ~WizardWindow() override;

    // The group of each step: P0, P1, P2, P3, P4, P7, P8.
    static int stepGroup(int k);

    QPushButton *stepButton(int k) const { return m_buttons.at(size_t(k)); }
    QLabel *stepLabel(int k) const { return m_labels.at(size_t(k)); }
    bool isStepDone(int k) const { return m_done.at(size_t(k)); }
    QColor boxColour(int k) const;
    QPushButton *saveButton() const { return m_save; }
    QPushButton *closeButton() const { return m_close; }
    bool isUnloaded() const { return m_unloaded; }

    // cmdWizard_Click(k) / lblWizard_Click(k)
    void startStep(int k);
    // The editor's cmdWiz_Click(k).
    void endStep(int k);
    // cmdClose_Click: offers to save, then unloads.
    void clickClose();

Q_SIGNALS:
    // Form_Unload ran; the window goes away.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSteps();
    void formLoad();
    void formUnload();
    void startSteps(int k);
    void setAllGroupTabs(bool enabled);
    void closeSteps();
    QWidget *frame();

    AppContext &m_ctx;
    TabConfigWindow &m_editor;
    Hooks m_hooks;
    std::array<QPushButton *, StepCount> m_buttons {};
    std::array<QLabel *, StepCount> m_labels {};
    std::array<QFrame *, StepCount> m_boxes {};
    std::array<bool, StepCount> m_done {};
    QPushButton *m_save = nullptr;
    QPushButton *m_close = nullptr;
    bool m_unloaded = false;
};

} // namespace Tarvel
