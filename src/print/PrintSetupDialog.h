#pragma once

#include "PageComposer.h"

#include <QDialog>

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QVBoxLayout;

namespace Tarvel {

class AppContext;

// frmPrintSetup: printer, layout method, margins, header and footer of the
// calling preview's sheets, shown live on the print-preview control, then
// printed (to a printer, or to a PDF file chosen through the file dialog).
// The layout is the caller's and keeps the choices after the dialog.
class PrintSetupDialog : public QDialog
{
    Q_OBJECT
public:
    PrintSetupDialog(AppContext &ctx, PrintLayout &layout, QList<const SchematicSheet *> sheets, const QString &tag,
        QWidget *parent = nullptr);
    ~PrintSetupDialog() override;

    QString tag() const { return m_tag; }
    QString statusText() const;
    QPrintPreviewWidget *previewControl() const { return m_preview; }

private:
    void buildPrinterRow(QVBoxLayout *column);
    void buildMargins(QVBoxLayout *column);
    void buildMethods(QVBoxLayout *column);
    void buildButtons(QVBoxLayout *column);
    void printerChosen(const QString &name);
    void getMargins();
    void setEpState();
    void showPageCounts();
    void methodChosen();
    void chooseFont(QFont &font, const QString &handler);
    void print();
    bool printToPrinter(const PageComposer &composer, const PageComposer::Proceed &proceed);
    void setPrinting(bool printing);
    void setStatus(const QString &text);
    PageComposer composer() const;

    AppContext &m_ctx;
    PrintLayout &m_layout;
    QList<const SchematicSheet *> m_sheets;
    QString m_tag;
    std::unique_ptr<QPrinter> m_printer;
    bool m_loading = true;
    bool m_cancelled = false;

    QComboBox *m_choose = nullptr;
    QLineEdit *m_header = nullptr;
    QLineEdit *m_footer = nullptr;
    QButtonGroup *m_unit = nullptr;
    std::array<QDoubleSpinBox *, 4> m_margins {};
    QButtonGroup *m_method = nullptr;
    QSpinBox *m_zoom = nullptr;
    QGroupBox *m_pages = nullptr;
    QSpinBox *m_across = nullptr;
    QSpinBox *m_down = nullptr;
    QLabel *m_neededAcross = nullptr;
    QLabel *m_neededDown = nullptr;
    QCheckBox *m_proportional = nullptr;
    QCheckBox *m_breakJob = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_exit = nullptr;
    QStatusBar *m_status = nullptr;
    QPrintPreviewWidget *m_preview = nullptr;
};

} // namespace Tarvel
