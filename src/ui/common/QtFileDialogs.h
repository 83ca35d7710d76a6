#pragma once

#include "ports/FileDialogs.h"

class QFileDialog;
class QWidget;

namespace Tarvel {

// The common file dialog as Qt's own (non-native) QFileDialog, so it looks
// and behaves the same on every desktop.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent = nullptr);

    QString chooseFile(const FileDialogRequest &request) override;

    // "desc (*.x)|*.x|desc2 (*.y;*.z)|*.y;*.z" -> "desc (*.x);;desc2 (*.y *.z)"
    static QString toQtFilter(const QString &classic);
    // Applies a request to a dialog; apart from exec() so it can be checked.
    static void configure(QFileDialog &dialog, const FileDialogRequest &request);

private:
    QWidget *m_parent;
};

} // namespace Tarvel
