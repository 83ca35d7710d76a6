#pragma once

#include "app/DiagnosticsFile.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace Tarvel {

class AppContext;

// frmAbout: the version of the program and of the catalogue, the drives
// the catalogue supports, the system information and the diagnostics file.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    // `panels` gives the main window's status-bar texts for the
    // diagnostics file at the moment it is written.
    using PanelTexts = std::function<DiagnosticsFile::Captions()>;
    AboutWindow(AppContext &ctx, PanelTexts panels, QWidget *parent = nullptr);

    QListWidget *driveList() const { return m_drives; }
    QLabel *versionLabel() const { return m_version; }
    QLabel *dbVersionLabel() const { return m_dbVersion; }

    // cmdDiagnostics_Click and cmdSysInfo_Click.
    void writeDiagnostics();
    void showSystemInfo();
    // Replaces starting the desktop's tool (tests; none found: built-in).
    void setToolStarter(std::function<bool(const QStringList &)> starter) { m_startTool = std::move(starter); }

private:
    void load();
    void showSummary();

    AppContext &m_ctx;
    PanelTexts m_panels;
    std::function<bool(const QStringList &)> m_startTool;
    QLabel *m_version;
    QPlainTextEdit *m_copyright;
    QLabel *m_platform;
    QListWidget *m_drives;
    QLabel *m_dbVersion;
};

} // namespace Tarvel
