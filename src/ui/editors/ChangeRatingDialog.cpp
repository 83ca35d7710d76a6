#include "ChangeRatingDialog.h"

#include "ui/common/AppIcons.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

ChangeRatingDialog::ChangeRatingDialog(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_model(ctx)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(ChangeRatingModel::Caption);
    setWindowIcon(AppIcons::application());
    setModal(true);
    m_model.setCloseDialog([this] { done(m_updating ? QDialog::Accepted : QDialog::Rejected); });
    m_model.load();
    buildWidgets();
    buildLayout();
}

ChangeRatingDialog::~ChangeRatingDialog() = default;

void ChangeRatingDialog::buildWidgets()
{
    m_label = new QLabel(ChangeRatingModel::LabelText, this);
    m_label->setObjectName(QStringLiteral("lblUpdate"));
    m_label->setWordWrap(true);
    m_label->setTextFormat(Qt::PlainText);

    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("cmbDrives"));
    m_drives->setToolTip(ChangeRatingModel::ToolTip);
    m_drives->addItems(m_model.lines());
    m_drives->setCurrentIndex(m_model.currentIndex());
    // Connected after the first line is shown: only the user's choice is
    // checked for a demotion.
    connect(m_drives, &QComboBox::currentIndexChanged, this, [this](int index) { m_model.choose(index); });

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_ok->setEnabled(m_model.okEnabled());
    connect(m_ok, &QPushButton::clicked, this, &ChangeRatingDialog::accept);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &ChangeRatingDialog::reject);
}

void ChangeRatingDialog::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_drives);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void ChangeRatingDialog::accept()
{
    if (!m_model.okEnabled() || m_updating)
        return;
    m_updating = true;
    m_model.accept();
    m_updating = false;
}

void ChangeRatingDialog::reject()
{
    // While the update runs the dialog is already on its way out.
    if (m_updating)
        return;
    m_model.cancel();
}

void ChangeRatingDialog::done(int result)
{
    m_model.queryUnload();
    QDialog::done(result);
}

} // namespace Tarvel
