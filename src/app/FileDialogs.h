#pragma once

#include <QString>

namespace Tarvel {

struct FileDialogRequest
{
    enum Mode { Open, Save };
    Mode mode = Open;
    QString title;
    QString filter; // classic form: "list files (*.qxl)|*.qxl"
    QString initialDir;
    bool fileMustExist = false;
    bool confirmOverwrite = false;
};

// The common file dialog. An empty answer means the user cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString chooseFile(const FileDialogRequest &request) = 0;
};

// The printer dialog and the printer, as the status list uses them: a
// document of text lines. begin() returns false when the user cancels.
class LinePrinter
{
public:
    virtual ~LinePrinter() = default;
    virtual bool begin() = 0;
    virtual void printLine(const QString &line) = 0;
    virtual void end() = 0;
};

} // namespace Tarvel
