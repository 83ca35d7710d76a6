#include "BenchProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

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
}

} // namespace Tarvel
