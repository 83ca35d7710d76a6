#pragma once

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QPushButton;
class QRadioButton;

namespace Tarvel {

class AppContext;

// frmStartup, the project navigator: pick an action and press Go. Each
// option runs a main-window command and follows that command's enabled
// state; "Close Project Navigator" closes the dialog.
class NavigatorDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int OptionCount = 7;
    static constexpr int CloseOption = 3;

    NavigatorDialog(AppContext &ctx, QWidget *parent = nullptr);

    // The command behind option index (0..6); an option without one stays
    // disabled.
    // The option runs the command; with a gate it can be chosen only while
    // the gate (the command's menu item) is enabled.
    void setCommand(int index, std::function<void()> run, QAction *gate = nullptr);
    QRadioButton *option(int index) const { return m_options.at(size_t(index)); }
    QCheckBox *repeatBox() const { return m_repeat; }
    // "Diags": opens the trace viewer; never made visible.
    QPushButton *diagsButton() const { return m_diags; }

    // cmdClose: performs the first selected option in index order.
    void go();
    void setShowAtStart(bool show);

Q_SIGNALS:
    // chkRepeat wrote QuickScreen; the main window checks its menu item.
    void showAtStartChanged(bool show);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildOptions();
    void repeatClicked();
    void syncEnabled();
    bool available(int index) const;

    AppContext &m_ctx;
    std::array<QRadioButton *, OptionCount> m_options {};
    std::array<QPointer<QAction>, OptionCount> m_gates {};
    std::array<std::function<void()>, OptionCount> m_run {};
    QCheckBox *m_repeat = nullptr;
    QPushButton *m_diags = nullptr;
};

} // namespace Tarvel
