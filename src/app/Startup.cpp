#include "Startup.h"

#include "model/AppContext.h"
#include "base/Logging.h"
#include "catalogue/Catalogue.h"

namespace Tarvel {

Startup::Startup(AppContext &ctx)
    : m_ctx(ctx)
{ }

std::optional<bool> Startup::readQuickScreen(const QString &location)
{
    std::unique_ptr<Catalogue> catalogue;
    if (!m_ctx.trap(QStringLiteral("basMain, ConnectDB()"), [&] { catalogue = connectDB(m_ctx); }))
        return std::nullopt;
    std::optional<bool> quickScreen;
    m_ctx.trap(location, [&] {
        RecordSet rs = catalogue->query(custInfoQuery());
        quickScreen = rs.field(QStringLiteral("QuickScreen")).toBool();
    });
    return quickScreen;
}

bool Startup::writeQuickScreen(bool show, const QString &location)
{
    return m_ctx.trap(location, [&] {
        std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
        RecordSet rs = catalogue->query(custInfoQuery());
        rs.current(); // the record must exist to be updated
        catalogue->execute(
            QStringLiteral("UPDATE tblCustInfo SET QuickScreen = %1 WHERE RecNum = 1").arg(show ? 1 : 0));
    });
}

void Startup::main(StartupWindows &windows)
{
    AppState &s = m_ctx.state;
    m_ctx.trap(QStringLiteral("basMain, Main()"), [&] {
        s.helpFile = m_ctx.paths().helpFile();
        s.strConfigPath = QStringLiteral(" ");
        s.strConfigName = QStringLiteral(" ");

        const std::optional<bool> quickScreen = readQuickScreen();

        windows.loadDetailedEditor();
        m_ctx.editor.setTag(QStringLiteral("0"));
        windows.showMainWindow();

        // Without the record (catalogue missing) Main ends here: the main
        // window stays up, without navigator and splash.
        if (!quickScreen)
            throw TrappedError(Err::ObjectNotSet);
        if (*quickScreen)
            windows.showNavigator();

        windows.showSplash();
        s.blnConfigChanged = false;
        s.blnStepDone = false;
        s.strConnected = QStringLiteral("False");
        s.blnDiagsTrace = false;
        qCInfo(lcApp) << "started in" << m_ctx.paths().programDir();
    });
}

} // namespace Tarvel
