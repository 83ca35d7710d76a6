#include "CommSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace Tarvel {

CommSettingsDialog::CommSettingsDialog(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_model(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(CommSettingsModel::Caption);
    build();
    m_model.load();
    fill();
}

QComboBox *CommSettingsDialog::addList(const QString &label, bool editable)
{
    auto *list = new QComboBox(this);
    list->setEditable(editable);
    list->setInsertPolicy(QComboBox::NoInsert);
    m_form->addRow(label, list);
    return list;
}

void CommSettingsDialog::build()
{
    auto *layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    layout->addLayout(m_form);
    m_opc = addList(QStringLiteral("OPC Server:"), false);
    m_port = addList(m_model.portLabel(), false);
    // A Com name can lead to any device of this machine (a USB adapter's
    // /dev/ttyUSB0); the choice is kept for later starts.
    m_device = addList(QStringLiteral("Com Port Device:"), true);
    m_device->setToolTip(QStringLiteral("The serial device this Com port leads to, kept in the settings."));
    m_speed = addList(QStringLiteral("Baud Rate:"), true);
    m_protocol = addList(QStringLiteral("Protocol:"), true);
    // Shown in place of the protocol list for an OPC device.
    m_ethernet = new QLineEdit(QStringLiteral("Ethernet"), this);
    m_ethernet->setReadOnly(true);
    m_ethernet->hide();
    layout->addWidget(m_ethernet);
    m_address = new QLineEdit(this);
    m_form->addRow(QStringLiteral("Node Address Of Drive:"), m_address);

    auto *buttons = new QDialogButtonBox(this);
    m_connect = buttons->addButton(QStringLiteral("Connect"), QDialogButtonBox::ActionRole);
    m_disconnect = buttons->addButton(QStringLiteral("Disconnect"), QDialogButtonBox::ActionRole);
    m_close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(m_opc, &QComboBox::activated, this, &CommSettingsDialog::chooseServer);
    connect(m_port, &QComboBox::activated, &m_model, &CommSettingsModel::choosePort);
    connect(m_port, &QComboBox::activated, this, &CommSettingsDialog::showDevice);
    connect(m_port, &QComboBox::activated, this, &CommSettingsDialog::showRoute);
    connect(m_device, &QComboBox::activated, this, &CommSettingsDialog::pointPort);
    connect(m_device->lineEdit(), &QLineEdit::editingFinished, this, &CommSettingsDialog::pointPort);
    connect(m_speed, &QComboBox::activated, &m_model, &CommSettingsModel::chooseSpeed);
    connect(m_protocol, &QComboBox::activated, &m_model, &CommSettingsModel::chooseProtocol);
    connect(m_address, &QLineEdit::textChanged, &m_model, &CommSettingsModel::setAddress);
    refuseTyping(m_speed, &CommSettingsModel::typedSpeed);
    refuseTyping(m_protocol, &CommSettingsModel::typedProtocol);
    connect(m_connect, &QPushButton::clicked, &m_model, &CommSettingsModel::connectLink);
    connect(m_disconnect, &QPushButton::clicked, &m_model, &CommSettingsModel::disconnectLink);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
}

void CommSettingsDialog::refuseTyping(QComboBox *list, QString (CommSettingsModel::*lastChosen)(const QString &) const)
{
    // Only listed values may be used: a typed text is replaced at once by
    // the entry chosen last.
    connect(list->lineEdit(), &QLineEdit::textEdited, this, [this, list, lastChosen](const QString &typed) {
        const QSignalBlocker block(list->lineEdit());
        list->setEditText((m_model.*lastChosen)(typed));
    });
}

void CommSettingsDialog::showDevice()
{
    const QSignalBlocker block(m_device);
    m_device->clear();
    m_device->addItems(m_model.devicePaths());
    m_device->setEditText(m_model.comTarget());
    m_device->setEnabled(m_model.isComEntry(m_model.portIndex()));
}

// A new server choice fills the lists again, its devices after the ports.
void CommSettingsDialog::chooseServer(int index)
{
    m_model.chooseServer(index);
    const QSignalBlocker blockPort(m_port);
    const QSignalBlocker blockSpeed(m_speed);
    const QSignalBlocker blockProtocol(m_protocol);
    m_port->clear();
    m_port->addItems(m_model.ports());
    m_port->setCurrentIndex(m_model.portIndex());
    m_speed->setCurrentIndex(m_model.speedIndex());
    m_protocol->setCurrentIndex(m_model.protocolIndex());
    if (auto *label = qobject_cast<QLabel *>(m_form->labelForField(m_port)))
        label->setText(m_model.portLabel());
    showDevice();
    showRoute();
}

// An Ethernet device has no serial settings: "Ethernet" stands in place of
// the protocol list, and speed and node address are not used.
void CommSettingsDialog::showRoute()
{
    const bool ethernet = m_model.isOpcEntry(m_model.portIndex());
    m_protocol->setVisible(!ethernet);
    m_ethernet->setVisible(ethernet);
    m_speed->setEnabled(!ethernet);
    m_address->setEnabled(!ethernet);
}

void CommSettingsDialog::pointPort()
{
    const QString device = m_device->currentText().trimmed();
    if (!m_model.isComEntry(m_model.portIndex()) || device == m_model.comTarget())
        return;
    m_model.pointComPort(device);
    const QSignalBlocker block(m_port);
    for (int i = 0; i < m_port->count(); ++i)
        m_port->setItemText(i, m_model.ports().value(i));
    showDevice();
}

void CommSettingsDialog::fill()
{
    const QSignalBlocker blockPort(m_port);
    const QSignalBlocker blockSpeed(m_speed);
    const QSignalBlocker blockProtocol(m_protocol);
    m_opc->addItems(m_model.opcServers());
    m_opc->setCurrentIndex(m_model.serverIndex());
    m_port->addItems(m_model.ports());
    m_port->setCurrentIndex(m_model.portIndex());
    m_speed->addItems(m_model.speeds());
    m_speed->setCurrentIndex(m_model.speedIndex());
    m_protocol->addItems(m_model.protocols());
    m_protocol->setCurrentIndex(m_model.protocolIndex());
    m_address->setText(m_model.txtAddress());
    showDevice();
}

} // namespace Tarvel
