#pragma once

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
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

    // The command behind option index (0..6); nullptr leaves it disabled.
    // before runs first (the open option sets the main window's tag).
    void setCommand(int index, QAction *action, std::function<void()> before = {});
    QRadioButton *option(int index) const { return m_options.at(size_t(index)); }
    QCheckBox *repeatBox() const { return m_repeat; }

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

    AppContext &m_ctx;
    std::array<QRadioButton *, OptionCount> m_options {};
    std::array<QPointer<QAction>, OptionCount> m_actions {};
    std::array<std::function<void()>, OptionCount> m_before {};
    QCheckBox *m_repeat = nullptr;
};

} // namespace Tarvel
