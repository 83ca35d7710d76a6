#pragma once

#include <QString>

namespace Tarvel {

// Message box styles and answers, with the classic values so that the
// buttons, icon and default button combine as the messages are written.
namespace Msg {
enum Style : int {
    OKOnly = 0,
    OKCancel = 1,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
};
enum Answer : int { OK = 1, Cancel = 2, Yes = 6, No = 7 };

constexpr int buttons(int style)
{
    return style & 0x7;
}
constexpr int icon(int style)
{
    return style & 0x70;
}
} // namespace Msg

// Every message box of the program goes through this, so the GUI shows a
// real dialog while tests and the command-line tool script the answers and
// read the exact texts. Lines inside a text are joined by a single CR.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual int msgBox(const QString &text, int style, const QString &title) = 0;
};

} // namespace Tarvel
