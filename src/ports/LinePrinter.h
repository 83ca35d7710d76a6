#pragma once

class QString;

namespace Tarvel {

// The printer dialog and the printer, as the status list uses them: a
// document of text lines. begin() returns false when the user cancels.
class LinePrinter
{
public:
    virtual ~LinePrinter() = default;
    virtual bool begin() = 0;
    virtual void printLine(const QString &line) = 0;
    virtual void end() = 0;
};

} // namespace Tarvel
