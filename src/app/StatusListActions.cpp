#include "StatusListActions.h"

#include "base/AtomicTextFile.h"
#include "base/TextFile.h"
#include "model/AppContext.h"
#include "ports/FileDialogs.h"
#include "ports/LinePrinter.h"
#include "ports/Prompter.h"

#include <QFile>

namespace Tarvel {

namespace {
const QString ToolbarLocation = QStringLiteral("frmList, tbrist_ButtonClick");
}

StatusListActions::StatusListActions(AppContext &ctx)
    : m_ctx(ctx)
{ }

void StatusListActions::buttonClick(int position)
{
    switch (position) {
    case Open:
        open();
        break;
    case Save:
        save();
        break;
    case Print:
        print();
        break;
    case Clear:
        clear();
        break;
    default:
        break;
    }
}

void StatusListActions::writeFile(const QString &path)
{
    AtomicTextFile::write(path, m_ctx.statusList.fileLines());
}

void StatusListActions::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TrappedError(file.exists() ? Err::PathFileAccess : Err::FileNotFound, file.errorString());
    m_ctx.statusList.setLines(TextFile::decodeLines(file.readAll()));
}

void StatusListActions::open()
{
    m_ctx.trap(ToolbarLocation, [&] {
        if (!m_ctx.fileDialogs())
            return;
        FileDialogRequest request;
        request.mode = FileDialogRequest::Open;
        request.filter = QStringLiteral("qxl (*.qxl)|*.qxl");
        request.initialDir = m_ctx.paths().programDir();
        request.fileMustExist = true;
        const QString path = m_ctx.fileDialogs()->chooseFile(request);
        if (path.isEmpty())
            return;
        m_ctx.statusList.clear();
        readFile(path);
        m_ctx.statusList.setActivity(path);
    });
}

void StatusListActions::save()
{
    m_ctx.trap(ToolbarLocation, [&] {
        if (!m_ctx.fileDialogs())
            return;
        FileDialogRequest request;
        request.mode = FileDialogRequest::Save;
        request.filter = QStringLiteral("list files (*.qxl)|*.qxl");
        request.initialDir = m_ctx.paths().programDir();
        request.confirmOverwrite = true;
        QString path = m_ctx.fileDialogs()->chooseFile(request);
        if (path.isEmpty())
            return;
        // As for configurations: a name without the extension would not
        // show in the list's own Open dialog.
        if (!path.endsWith(QLatin1String(".qxl"), Qt::CaseInsensitive))
            path += QLatin1String(".qxl");
        writeFile(path);
        m_ctx.statusList.setActivity(path);
    });
}

void StatusListActions::print()
{
    m_ctx.trap(ToolbarLocation, [&] {
        LinePrinter *printer = m_ctx.printer();
        if (!printer || !printer->begin())
            return;
        printer->printLine(m_ctx.state.strConfigPath + QStringLiteral(", ") + TextFile::generalDate());
        for (const QString &line : m_ctx.statusList.lines())
            printer->printLine(line);
        printer->end();
    });
}

void StatusListActions::clear()
{
    m_ctx.trap(ToolbarLocation, [&] {
        const int answer = m_ctx.prompter().msgBox(QStringLiteral("Are you sure you want to clear the list?"),
            Msg::YesNo | Msg::Question, QStringLiteral("Confirmation Needed"));
        if (answer == Msg::Yes)
            m_ctx.statusList.clear();
    });
}

void StatusListActions::close()
{
    m_ctx.trap(QStringLiteral("frmList, cmdClose_Click"), [&] { m_ctx.statusList.hide(); });
}

bool StatusListActions::queryUnload()
{
    bool unload = true;
    m_ctx.trap(QStringLiteral("frmList, Form_Load"), [&] {
        if (m_ctx.statusList.lines().isEmpty())
            return;
        const int answer = m_ctx.prompter().msgBox(
            QStringLiteral("This will clear the list.\rYou may save the list by choosing cancel and selecting 'save' on"
                           " the toolbar.\rOr choose OK to continue."),
            Msg::OKCancel | Msg::Question, QStringLiteral("Are you sure?"));
        unload = answer != Msg::Cancel;
    });
    if (unload) {
        // Unloading the window discards its lines; the model starts afresh
        // the next time the window is used.
        m_ctx.statusList.clear();
        m_ctx.statusList.setCaption(StatusList::DefaultCaption);
        m_ctx.statusList.hide();
    }
    return unload;
}

} // namespace Tarvel
