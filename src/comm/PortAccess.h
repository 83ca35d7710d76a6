#pragma once

#include <QString>

#include <optional>

namespace Tarvel {

class TrappedError;

// Why a serial port could not be opened, in the words the user needs:
// missing or held by another program ("Com Error"), or present but not
// open to this user, with the group to join and how.
class PortAccess
{
public:
    struct Message
    {
        QString title;
        QString text;
    };

    static const QString DeniedTitle; // "Com Port Permission"

    // The device exists but this user may not open it (EACCES).
    static bool denied(const QString &path);
    // "Permission denied on /dev/ttyUSB0.\rIt belongs to the group dialout ..."
    static QString deniedText(const QString &path);
    // The message for an error raised while opening a port (380, or 70 with
    // the device path as description); none for any other error.
    static std::optional<Message> forError(const TrappedError &error);
};

} // namespace Tarvel
