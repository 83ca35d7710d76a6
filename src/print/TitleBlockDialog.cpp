#include "TitleBlockDialog.h"

#include "model/AppContext.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

TitleBlockDialog::TitleBlockDialog(AppContext &ctx, std::function<void()> updatePreviews, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_updatePreviews(std::move(updatePreviews))
    , m_company(new QLineEdit(this))
    , m_project(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmPreviewBlockInput"));
    setWindowTitle(QStringLiteral("  Title Block Information"));
    m_company->setObjectName(QStringLiteral("txtInput0"));
    m_project->setObjectName(QStringLiteral("txtInput1"));
    m_company->setMinimumWidth(320);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Company:"), this));
    layout->addWidget(m_company);
    layout->addWidget(new QLabel(QStringLiteral("Project:"), this));
    layout->addWidget(m_project);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(buttons);
    connect(okButton, &QPushButton::clicked, this, &TitleBlockDialog::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_ctx.trap(QStringLiteral("frmPreviewBlockInput, Form_Load()"), [&] {
        if (!m_ctx.state.titleCompany.isEmpty())
            m_company->setText(m_ctx.state.titleCompany);
        if (!m_ctx.state.titleProject.isEmpty())
            m_project->setText(m_ctx.state.titleProject);
    });
}

void TitleBlockDialog::ok()
{
    m_ctx.trap(QStringLiteral("frmPreviewBlockInput, cmdOK_Click()"), [&] {
        m_ctx.state.titleCompany = m_company->text();
        m_ctx.state.titleProject = m_project->text();
        if (m_updatePreviews)
            m_updatePreviews();
    });
    accept();
}

} // namespace Tarvel
