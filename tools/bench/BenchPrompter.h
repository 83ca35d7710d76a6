#pragma once

#include "ports/Prompter.h"

#include <QStringList>

namespace Tarvel {

// The answers a user gives to a timed transfer: Yes to go on, No to saving
// the upload (the save is no part of the transfer). Critical boxes are kept
// as failures for the benchmark to report.
class BenchPrompter : public Prompter
{
public:
    int msgBox(const QString &text, int style, const QString &title) override
    {
        if (Msg::icon(style) == Msg::Critical)
            failures << title + QStringLiteral(": ") + QString(text).replace(u'\r', u' ');
        if (Msg::buttons(style) != Msg::YesNo)
            return Msg::OK;
        return title == QLatin1String("Upload Status") ? Msg::No : Msg::Yes;
    }
    QStringList failures;
};

} // namespace Tarvel
