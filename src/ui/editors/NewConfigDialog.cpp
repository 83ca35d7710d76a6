#include "NewConfigDialog.h"

#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace Tarvel {

NewConfigDialog::NewConfigDialog(AppContext &ctx, const QString &tag, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_model(ctx, tag)
{
    setObjectName(QStringLiteral("frmNewConfigDialog"));
    setWindowTitle(QStringLiteral("  New Config"));
    setWindowIcon(AppIcons::application());
    setModal(true);
    m_model.load();
    buildWidgets();
    buildLayout();
    setFolder(m_model.folder());
    resize(560, 520);
}

NewConfigDialog::~NewConfigDialog() = default;

void NewConfigDialog::buildWidgets()
{
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("cmbDrives"));
    m_drives->setToolTip(QStringLiteral("Select a drive model and rev. from the list."));
    m_drives->addItems(m_model.driveTexts());
    m_drives->setCurrentIndex(m_model.driveIndex());
    // The choice is the configuration's identity as soon as it is made;
    // Cancel puts the previous one back.
    connect(m_drives, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.setDriveIndex(index);
        m_model.driveListLeft();
    });

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtConfigName"));
    connect(m_name, &QLineEdit::textChanged, this, [this](const QString &text) { m_model.setName(text); });

    m_fsModel = new QFileSystemModel(this);
    m_fsModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_fsModel->setRootPath(QString());
    m_folders = new QTreeView(this);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setModel(m_fsModel);
    for (int column = 1; column < m_fsModel->columnCount(); ++column)
        m_folders->hideColumn(column);
    m_folders->header()->hide();
    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this, &NewConfigDialog::folderChosen);
    // The model reads folders in the background: the chosen one can only be
    // shown once its parents are read.
    connect(m_fsModel, &QFileSystemModel::directoryLoaded, this, [this](const QString &dir) {
        if (m_model.folder().startsWith(dir))
            showFolder(m_model.folder());
    });
    m_folderText = new QLabel(this);
    m_folderText->setObjectName(QStringLiteral("lblFolder"));
    m_folderText->setTextFormat(Qt::PlainText);

    m_browse = new QPushButton(QStringLiteral("Browse"), this);
    m_browse->setObjectName(QStringLiteral("cmdBrowse"));
    m_browse->setAutoDefault(false);
    connect(m_browse, &QPushButton::clicked, this, &NewConfigDialog::browseClicked);
    // Enter anywhere in the dialog is OK.
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &NewConfigDialog::accept);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &NewConfigDialog::reject);
}

void NewConfigDialog::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    auto *driveLabel = new QLabel(QStringLiteral("QX Series Drive:"), this);
    driveLabel->setObjectName(QStringLiteral("lblDriveType"));
    layout->addWidget(driveLabel);
    layout->addWidget(m_drives);
    auto *nameLabel = new QLabel(QStringLiteral("New configuration name:"), this);
    nameLabel->setObjectName(QStringLiteral("lblConfigName"));
    layout->addWidget(nameLabel);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(m_browse);
    layout->addLayout(nameRow);
    auto *pathLabel
        = new QLabel(QStringLiteral("Select a path to where you want to store your drive configuration:"), this);
    pathLabel->setObjectName(QStringLiteral("lblPath"));
    pathLabel->setWordWrap(true);
    layout->addWidget(pathLabel);
    layout->addWidget(m_folders, 1);
    layout->addWidget(m_folderText);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
}

void NewConfigDialog::setFolder(const QString &folder)
{
    m_model.setFolder(folder);
    m_folderText->setText(QDir::toNativeSeparators(folder));
    showFolder(folder);
}

// Opens the tree at the folder and selects it. The view must hear of the
// new current index (a blocked selection model would leave it at the top).
void NewConfigDialog::showFolder(const QString &folder)
{
    const QModelIndex index = m_fsModel->index(folder);
    if (!index.isValid())
        return;
    m_showingFolder = true;
    m_folders->setCurrentIndex(index);
    m_folders->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_showingFolder = false;
}

void NewConfigDialog::folderChosen()
{
    if (m_showingFolder)
        return;
    const QString path = m_fsModel->filePath(m_folders->currentIndex());
    if (path.isEmpty())
        return;
    m_model.setFolder(path);
    m_folderText->setText(QDir::toNativeSeparators(path));
}

void NewConfigDialog::browseClicked()
{
    m_model.browse();
    if (m_name->text() != m_model.name())
        m_name->setText(m_model.name());
}

void NewConfigDialog::accept()
{
    m_model.setName(m_name->text());
    if (m_model.accept()) {
        QDialog::accept();
        return;
    }
    showFocusRequest();
}

void NewConfigDialog::showFocusRequest()
{
    switch (m_model.focusRequest()) {
    case NewConfigDialogModel::Focus::Name:
        m_name->setFocus();
        break;
    case NewConfigDialogModel::Focus::Drives:
        m_drives->setFocus();
        break;
    case NewConfigDialogModel::Focus::None:
        break;
    }
}

void NewConfigDialog::reject()
{
    m_model.cancel();
    QDialog::reject();
}

} // namespace Tarvel
