#pragma once

#include "EditorLayout.h"
#include "FieldFocus.h"

#include <QHash>
#include <QWidget>

#include <functional>

#include <array>
#include <vector>

class QComboBox;
class QCompleter;
class QStringListModel;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;

namespace Tarvel {

class AppContext;
class EditorForm;
class FieldEvents;
class PageTabs;

// frmTabConfig, the detailed editor: one tab per parameter group, sub-tabs
// by index range, and per parameter the label lblP, the value box txtP and
// for list parameters the choice list cmbP. It renders the context's
// EditorForm, where the configuration lives, and reports what the user does
// to it: typing and list choices go into the form, entering and leaving a
// field go to the entry checks (FieldEvents).
//
// Created once and afterwards only hidden and shown, as a plain widget the
// main window wraps in an MDI sub-window. The Done button and the close box
// hide it; in wizard mode (Tag "2") the close box ends the wizard step whose
// done button is showing.
class TabConfigWindow : public QWidget, private FieldFocus::Host
{
    Q_OBJECT
public:
    static constexpr int WizButtonCount = 8;

    explicit TabConfigWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~TabConfigWindow() override;

    // The entry checks; none means fields are entered and left unchecked.
    void setFieldEvents(FieldEvents *events);
    FieldEvents *fieldEvents() const;

    // Shows or hides the window, or the MDI sub-window around it. Hiding
    // first leaves the field being edited; false when its entry was
    // refused, and the window then stays.
    void showEditor();
    bool hideEditor();
    // While the main window closes, the close box really closes this one.
    void setMainClosing(bool closing) { m_mainClosing = closing; }
    // Runs the leave checks of the field being edited as if it were left
    // (before a save or a download that reads the fields); the field stays
    // in use. False when the entry was refused.
    bool commitFocusedField();

    // Wizard steps. k = 0..7: "Done w/ P0.xx" .. "Done w/ P9.xx".
    QPushButton *wizButton(int k) const;
    void setWizButtonVisible(int k, bool visible);
    // cmdWiz_Click(k): ends the step; wizardStepDone(k) tells the wizard.
    void clickWizButton(int k);
    void setCloseButtonVisible(bool visible);
    void setGroupTabEnabled(int group, bool enabled);
    bool isGroupTabEnabled(int group) const;
    // Brings a group (and a sub-tab of it, or the one it shows) to the
    // front. False when leaving the field being edited was refused.
    bool selectGroup(int group, int subTab = -1);
    // Enables a picture button (cmdMatrix, cmdTruthMatrix, cmdDiagram) with
    // the screen it opens; those screens live in the layers above.
    void setPictureAction(const QString &name, std::function<void()> action);
    int currentGroup() const;
    int currentSubTab(int group) const;
    void setQuickStartDotsVisible(int group, bool visible);
    void setQuickStartLegendVisible(bool visible);

    // The widgets that draw a field, null where the field has none.
    QLineEdit *valueBox(int index) const;
    QComboBox *choiceList(int index) const;
    QLabel *label(int index) const;
    QList<QLabel *> quickStartDots(int group) const { return m_dots.value(group); }

    // The search field (Ctrl+F): a parameter number or words of a name
    // list the matches; choosing one goes to its field.
    QLineEdit *searchField() const { return m_search; }
    void focusSearch();
    // The matches of a search as the list offers them ("P1.03 Accel ...").
    QStringList searchMatches(const QString &text) const;
    // Brings the parameter's tab and inner tab to the front and gives its
    // field the focus; false when the drive lacks it or leaving the field
    // being edited was refused.
    bool goToParameter(int index);

Q_SIGNALS:
    void wizardStepDone(int k);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        QLabel *dot = nullptr;
        QLabel *label = nullptr;
        QLineEdit *text = nullptr;
        QComboBox *list = nullptr;
        TabPos pos;
        quint32 colour = 0xFFFFFFFFu; // none applied yet
    };

    // FieldFocus::Host
    QWidget *fieldWidget(FieldFocus::Field field) const override;
    FieldFocus::Field fieldAt(const QWidget *widget) const override;
    void showField(int index) override;
    void fieldEntered(FieldFocus::Field field) override;
    QList<QWidget *> stops() const override;

    void buildSearch();
    void searchEdited(const QString &text);
    void searchChosen(const QString &match);
    void buildTabs();
    void buildRows();
    void addRow(int index, QWidget *page);
    void addPictureButtons();
    void buildButtons();
    void buildLayout();
    void connectModel();

    void syncField(FieldKind kind, int index);
    void syncText(int index);
    void syncList(int index);
    void syncListItems(QComboBox *list, const QStringList &items);
    void syncLabel(int index);
    void setShown(QWidget *widget, bool shown);
    void setUsable(QWidget *widget, bool enabled, bool tabStop);
    QColor labelColour(quint32 colour) const;

    void restoreTabStops();
    void alignValueColumn();
    void showTabs(TabPos pos);
    void userSelectsTabs(TabPos pos, const QString &location);
    void labelHovered(int index);
    void listActivated(int index, int position);
    void textEdited(int index, const QString &text);
    QWidget *frame();

    AppContext &m_ctx;
    EditorForm &m_form;
    FieldFocus *m_focus;
    PageTabs *m_groups = nullptr;
    std::array<PageTabs *, EditorLayout::GroupCount> m_subTabs {};
    std::vector<Row> m_rows;
    QHash<const QWidget *, FieldFocus::Field> m_fieldOf;
    QHash<int, QList<QLabel *>> m_dots;
    std::array<QPushButton *, WizButtonCount> m_wiz {};
    QPushButton *m_close = nullptr;
    QLineEdit *m_search = nullptr;
    QCompleter *m_completer = nullptr;
    QStringListModel *m_matches = nullptr;
    QLabel *m_label10 = nullptr;
    QLabel *m_dotQuickStart = nullptr;
    QLabel *m_lblQuickStart = nullptr;
    int m_rowHeight = 0;
    bool m_mainClosing = false;
};

} // namespace Tarvel
