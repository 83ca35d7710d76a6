#pragma once

#include <span>

namespace Tarvel {

// The commands of the main window. Code addresses a command by this enum;
// its item name ("mnuUpload") is only what the window calls its menu item
// and what the error log shows.
enum class Command {
    NewMenu,
    NewDetailed,
    NewWizard,
    Open,
    Save,
    SaveAs,
    Close,
    Exit,
    AutoDetect,
    Connect,
    Disconnect,
    Upload,
    Download,
    BlockTransfer,
    Detail,
    Schematic,
    Trend,
    Pid,
    Keypad,
    CurrentConfig,
    Stats,
    Compare,
    PrintConfig,
    Faults,
    StatusList,
    Update,
    QuickInfo,
    StartMenu,
    Cascade,
    Contents,
    Index,
    Search,
    About,
    CompareDrive,
    BackupBeforeDownload,
    RestoreBackup,
    CompareFile,
    RecentMenu,
    Undo,
    Redo,
    FindParameter,
    AllParameters,
    BusMonitor,
};
constexpr size_t CommandCount = size_t(Command::BusMonitor) + 1;

// One menu item: the menu it is in (a menu name, or the item name of a
// submenu), its item name, caption and key sequence. Listed in menu order;
// a submenu's own entry comes before its items.
struct MenuEntry
{
    Command command;
    const char *menu;
    const char *name;
    const char *caption;
    const char *shortcut;
    bool submenu = false;
};

// One toolbar position: its key, the command it runs and its tool tip; a
// null key is a separator. Further keys may run the same command (the New
// button's drop-down entries).
struct ToolEntry
{
    const char *key;
    Command command;
    const char *tip;
};

struct MenuBarEntry
{
    const char *name;
    const char *caption;
};

class CommandTable
{
public:
    static std::span<const MenuEntry> menuItems();
    static std::span<const ToolEntry> toolbar();
    // The drop-down entries of the New button.
    static std::span<const ToolEntry> newDropDown();
    // The menu bar in order.
    static std::span<const MenuBarEntry> menuBar();
    static const MenuEntry &entry(Command command);
};

} // namespace Tarvel
