#include "BenchProgram.h"

#include "base/NumberText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

namespace Tarvel {

BenchProgram::BenchProgram(int argc, char *argv[])
{
    const QString source = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QCoreApplication::applicationDirPath() + QStringLiteral("/Data/QX.qxd");
    QDir(m_dir.path()).mkpath(QStringLiteral("Data"));
    QDir(m_dir.path()).mkpath(QStringLiteral("Configs"));
    if (!QFile::copy(source, m_dir.filePath(QStringLiteral("Data/QX.qxd")))) {
        m_error = QStringLiteral("no catalogue at ") + source;
        return;
    }
    m_ctx = std::make_unique<AppContext>(ProgramPaths(m_dir.path()), &m_prompter);
    m_ctx->pacing.setMode(Pacing::Fast);
    m_link = std::make_unique<CommLink>(m_ctx->state);
    m_ctx->attachLink(m_link.get());
}

void BenchProgram::moveValuesAway(AppContext &ctx)
{
    for (int i : EditorForm::fieldIndices()) {
        TextBoxField &box = ctx.editor.txtP(i);
        if (ctx.params.blnTextShown[i] && box.enabled() && !ctx.params.varMax[i].isNull())
            box.setText(NumberText::variant(ctx.params.varMax[i]));
    }
}

void BenchProgram::printMedian(
    QTextStream &out, const QString &name, int nameWidth, const QVector<double> &sortedMs, double targetMs)
{
    const double median = sortedMs.at(sortedMs.size() / 2);
    out << QStringLiteral("  %1 median %2 ms (best %3, worst %4); target %5 ms: ratio %6\n")
               .arg(name.leftJustified(nameWidth))
               .arg(median, 8, 'f', 2)
               .arg(sortedMs.first(), 0, 'f', 2)
               .arg(sortedMs.last(), 0, 'f', 2)
               .arg(targetMs, 0, 'f', 0)
               .arg(median / targetMs, 0, 'f', 3);
}

} // namespace Tarvel
