#pragma once

#include "app/CommSettingsModel.h"

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;

namespace Tarvel {

class AppContext;

// frmCommSettings: renders the connection settings model and forwards the
// user's choices to it. Modeless; it deletes itself when closed.
class CommSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CommSettingsDialog(AppContext &ctx, QWidget *parent = nullptr);

    CommSettingsModel &model() { return m_model; }
    QComboBox *serverList() const { return m_opc; }
    QComboBox *portList() const { return m_port; }
    QComboBox *deviceList() const { return m_device; }
    QComboBox *speedList() const { return m_speed; }
    QComboBox *protocolList() const { return m_protocol; }
    QLineEdit *addressBox() const { return m_address; }
    QPushButton *connectButton() const { return m_connect; }
    QPushButton *disconnectButton() const { return m_disconnect; }
    QPushButton *closeButton() const { return m_close; }

private:
    void build();
    void fill();
    void showDevice();
    void chooseServer(int index);
    void showRoute();
    void pointPort();
    QComboBox *addList(const QString &label, bool editable);
    void refuseTyping(QComboBox *list, QString (CommSettingsModel::*lastChosen)(const QString &) const);

    CommSettingsModel m_model;
    QComboBox *m_opc = nullptr;
    QComboBox *m_port = nullptr;
    QComboBox *m_device = nullptr; // where the chosen Com name leads
    QComboBox *m_speed = nullptr;
    QComboBox *m_protocol = nullptr;
    QLineEdit *m_ethernet = nullptr;
    QLineEdit *m_address = nullptr;
    QPushButton *m_connect = nullptr;
    QPushButton *m_disconnect = nullptr;
    QPushButton *m_close = nullptr;
    QFormLayout *m_form = nullptr;
};

} // namespace Tarvel
