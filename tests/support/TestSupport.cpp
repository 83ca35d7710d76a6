#include "TestSupport.h"

#include "base/TextFile.h"

#include <QDir>
#include <QFile>

namespace Tarvel::Test {

QString builtCatalogue()
{
    return QStringLiteral(TARVEL_TEST_CATALOGUE);
}

TempProgram::TempProgram(bool withCatalogue)
{
    QDir dir(m_dir.path());
    dir.mkpath(QStringLiteral("Data"));
    dir.mkpath(QStringLiteral("Configs"));
    if (withCatalogue)
        QFile::copy(builtCatalogue(), dir.filePath(QStringLiteral("Data/QX.qxd")));
    m_ctx = std::make_unique<AppContext>(ProgramPaths(m_dir.path()), &m_prompter);
    m_ctx->pacing.setMode(Pacing::Fast);
    m_link = std::make_unique<CommLink>(m_ctx->state);
    m_ctx->attachLink(m_link.get());
    m_ethernet = std::make_unique<EthernetRoute>(*m_ctx);
}

QStringList TempProgram::errorLogLines() const
{
    QFile file(m_dir.filePath(QStringLiteral("Data/Error.Log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return TextFile::decodeLines(file.readAll());
}

} // namespace Tarvel::Test
