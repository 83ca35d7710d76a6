#pragma once

namespace Tarvel {

class AppContext;

// LogicCheck: after a download, every parameter is read back from the drive
// and compared with the configuration.
class DownloadVerification
{
public:
    explicit DownloadVerification(AppContext &ctx);

    // True when every value agrees; false when any differs (each listed in
    // the status list) or the link failed (the failure end done).
    bool logicCheck();

    // The configuration's value of a parameter in register units, as the
    // drive must hold it.
    static double configuredRegister(const AppContext &ctx, int index);

private:
    AppContext &m_ctx;
};

} // namespace Tarvel
