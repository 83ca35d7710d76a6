#pragma once

#include "comm/CommLink.h"
#include "ethernet/EthernetRoute.h"
#include "model/AppContext.h"
#include "ports/FileDialogs.h"
#include "support/ScriptedPrompter.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace Tarvel::Test {

// A program directory of its own for one test: Data/ with a copy of the
// built catalogue (so tests may write QuickScreen), Configs/, and a context
// over it whose message boxes are scripted.
class TempProgram
{
public:
    explicit TempProgram(bool withCatalogue = true);

    QString dir() const { return m_dir.path(); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    AppContext &ctx() { return *m_ctx; }
    ScriptedPrompter &prompter() { return m_prompter; }
    // The lines of Data/Error.Log, empty when there is none.
    QStringList errorLogLines() const;

private:
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<AppContext> m_ctx;
    std::unique_ptr<CommLink> m_link;
    std::unique_ptr<EthernetRoute> m_ethernet;
};

// Answers the file dialog from a script and keeps the requests it saw.
class ScriptedFileDialogs : public FileDialogs
{
public:
    QString answer;
    QList<FileDialogRequest> requests;
    QString chooseFile(const FileDialogRequest &request) override
    {
        requests << request;
        return answer;
    }
};

// The catalogue the build produced, for read-only queries.
QString builtCatalogue();

// A column of the current data row, where a statement (QFETCH) cannot stand.
template<class T> T cell(const char *name)
{
    return *static_cast<T *>(QTest::qData(name, qMetaTypeId<T>()));
}

} // namespace Tarvel::Test
