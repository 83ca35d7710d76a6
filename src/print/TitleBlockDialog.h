#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;

namespace Tarvel {

class AppContext;

// frmPreviewBlockInput: the company and project of the title block. The
// texts are kept for the run and offered again; OK hands them to the open
// previews.
class TitleBlockDialog : public QDialog
{
    Q_OBJECT
public:
    TitleBlockDialog(AppContext &ctx, std::function<void()> updatePreviews, QWidget *parent = nullptr);

    QLineEdit *input(int index) const { return index == 0 ? m_company : m_project; }

private:
    void ok();

    AppContext &m_ctx;
    std::function<void()> m_updatePreviews;
    QLineEdit *m_company;
    QLineEdit *m_project;
};

} // namespace Tarvel
