#pragma once

#include <QString>

namespace Tarvel {

class AppContext;

// ValidateUpload: the range check of one value read from the drive. Like the
// check of a value read from a file, but a value above the maximum is
// reported after the maximum, and the drive's own node address is never
// reported as different from the default.
class UploadValidation
{
public:
    explicit UploadValidation(AppContext &ctx);

    // False when the value was out of range and its default put in its place.
    bool validateUpload(int index, const QString &value);

private:
    AppContext &m_ctx;
};

} // namespace Tarvel
