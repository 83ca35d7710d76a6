#pragma once

#include <QString>

namespace Tarvel {

class AppContext;

// How a drive transfer ends when a transaction fails: the main window
// usable again with its polling, the link closed (what is on the line can
// no longer be trusted), the status list told, the user told, the log
// written. The upload, the read-only refresh and the download check end
// this way, each with its own caption and log entry.
class CommFailureEnd
{
public:
    struct Ending
    {
        // The status list caption left behind.
        QString caption;
        // The error-log entry: field 1, field 2 and field 3 around the
        // link's result code.
        QString logField1;
        QString logField2;
        QString logField3;
        // Whether the main window was disabled by the operation.
        bool enableMain = true;
    };

    static Ending serialRead(const QString &routine);

    CommFailureEnd(AppContext &ctx, Ending ending);

    void finish(int resultCode);

private:
    AppContext &m_ctx;
    Ending m_ending;
};

} // namespace Tarvel
