#pragma once

#include <QString>

namespace Tarvel {

class AppContext;

// The status list's toolbar and close box: open, save, print and clear the
// lines through the file and printer dialogs and message boxes of the
// context, each under the common trap.
class StatusListActions
{
public:
    explicit StatusListActions(AppContext &ctx);

    enum Button { Open = 1, Save = 2, Print = 3, Separator = 4, Clear = 5 };
    // tbrList_ButtonClick by button position.
    void buttonClick(int position);

    void open();
    void save();
    void print();
    void clear();
    // cmdClose: hides the window, keeping the lines.
    void close();
    // The close box: true when the window may unload (its lines are lost).
    bool queryUnload();

    // Writes the list file; raises a trapped error when it cannot.
    void writeFile(const QString &path);
    // Reads a list file into the list; raises a trapped error when it cannot.
    void readFile(const QString &path);

private:
    AppContext &m_ctx;
};

} // namespace Tarvel
