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

} // namespace Tarvel
