#include "AboutWindow.h"

#include "app/AboutInfo.h"
#include "app/SystemSummary.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "ui/common/AppIcons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>

namespace Tarvel {

namespace {

bool startDetached(const QStringList &command)
{
    return !command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1));
}

} // namespace

AboutWindow::AboutWindow(AppContext &ctx, PanelTexts panels, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_panels(std::move(panels))
    , m_startTool(startDetached)
    , m_version(new QLabel(this))
    , m_copyright(new QPlainTextEdit(this))
    , m_platform(new QLabel(this))
    , m_drives(new QListWidget(this))
    , m_dbVersion(new QLabel(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    m_version->setObjectName(QStringLiteral("lblVersion"));
    m_copyright->setObjectName(QStringLiteral("txtCopyright"));
    m_copyright->setReadOnly(true);
    m_copyright->setMaximumHeight(70);
    m_platform->setObjectName(QStringLiteral("lblPlatform"));
    m_drives->setObjectName(QStringLiteral("lstDrives"));
    m_dbVersion->setObjectName(QStringLiteral("lblDBVER"));

    auto *title = new QLabel(QStringLiteral("<b>Tarvel</b>"), this);
    auto *supported = new QLabel(QStringLiteral("Supported Drives:"), this);
    supported->setObjectName(QStringLiteral("lblSuportedDrives"));
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    QPushButton *sysInfo = buttons->addButton(QStringLiteral("&System Info..."), QDialogButtonBox::ActionRole);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    QPushButton *diags = buttons->addButton(QStringLiteral("Diagnostics"), QDialogButtonBox::ActionRole);
    diags->setObjectName(QStringLiteral("cmdDiagnostics"));
    connect(ok, &QPushButton::clicked, this,
        [this] { m_ctx.trap(QStringLiteral("frmAbout, cmdOK_Click"), [&] { accept(); }); });
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::showSystemInfo);
    connect(diags, &QPushButton::clicked, this, &AboutWindow::writeDiagnostics);

    auto *layout = new QGridLayout(this);
    layout->addWidget(title, 0, 0);
    layout->addWidget(m_version, 1, 0);
    layout->addWidget(m_platform, 2, 0);
    layout->addWidget(m_copyright, 3, 0);
    layout->addWidget(supported, 4, 0);
    layout->addWidget(m_drives, 5, 0);
    layout->addWidget(m_dbVersion, 6, 0);
    layout->addWidget(buttons, 7, 0);
    resize(460, 480);
    load();
}

// Form_Load
void AboutWindow::load()
{
    setWindowTitle(QStringLiteral(" About Tarvel"));
    setWindowIcon(AppIcons::application());
    m_version->setText(AboutInfo::versionCaption());
    m_copyright->setPlainText(AboutInfo::legalNotice());
    m_platform->setText(AboutInfo::platformText());
    m_ctx.trap(QStringLiteral("frmAbout, Form_Load"), [&] {
        const AboutInfo::CatalogueInfo info = AboutInfo::readCatalogue(m_ctx);
        m_drives->addItems(info.drives);
        m_dbVersion->setText(info.dbVersion);
    });
}

void AboutWindow::writeDiagnostics()
{
    m_ctx.trap(QStringLiteral("frmAbout, cmdDiagnostics_Click"), [&] {
        const DiagnosticsFile file(m_ctx);
        if (m_ctx.prompter().msgBox(file.confirmText(), Msg::OKCancel | Msg::Information, DiagnosticsFile::Title)
            != Msg::OK)
            return;
        DiagnosticsFile::Captions captions = m_panels ? m_panels() : DiagnosticsFile::Captions {};
        captions.version = m_version->text();
        captions.dbVersion = m_dbVersion->text();
        file.write(captions);
        m_ctx.prompter().msgBox(DiagnosticsFile::DoneText, Msg::Information, DiagnosticsFile::Title);
    });
}

// The desktop's own tool when one is installed, else the built-in summary.
void AboutWindow::showSystemInfo()
{
    m_ctx.trap(QStringLiteral("frmAbout, cmdSysInfo_Click"), [&] {
        const QStringList tool = SystemSummary::desktopTool();
        if (tool.isEmpty() || !m_startTool(tool))
            showSummary();
    });
}

void AboutWindow::showSummary()
{
    auto *window = new QDialog(this);
    window->setObjectName(QStringLiteral("frmSystemSummary"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("System Information"));
    auto *text = new QPlainTextEdit(window);
    text->setObjectName(QStringLiteral("txtSummary"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setPlainText(SystemSummary::lines(m_ctx.paths()).join(u'\n'));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(text);
    layout->addWidget(buttons);
    window->resize(640, 400);
    window->show();
}

} // namespace Tarvel
