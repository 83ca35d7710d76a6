#include "Command.h"

#include <iterator>

namespace Tarvel {

namespace {

constexpr MenuBarEntry MenuBar[] = {
    {"mnuFile", "&File"},
    {"mnuEdit", "&Edit"},
    {"mnuComm", "&Drive"},
    {"mnuConfig", "&View"},
    {"mnuUtilities", "&Utilities"},
    {"mnuWindow", "&Window"},
    {"mnuHelp", "&Help"},
};

using C = Command;
constexpr MenuEntry MenuItems[] = {
    {C::NewMenu, "mnuFile", "mnuNew", "New", nullptr, true},
    {C::NewDetailed, "mnuNew", "mnuNewDetailed", "Detailed Configuration", "Ctrl+N"},
    {C::NewWizard, "mnuNew", "mnuNewWizard", "Quick Start Configuration", nullptr},
    {C::Open, "mnuFile", "mnuOpenDetailed", "Open Configuration", "Ctrl+O"},
    {C::Save, "mnuFile", "mnuSave", "Save", "Ctrl+S"},
    {C::SaveAs, "mnuFile", "mnuSaveAs", "Save As", "Ctrl+Shift+S"},
    {C::Close, "mnuFile", "mnuClose", "Close Configuration", "Ctrl+W"},
    {C::Exit, "mnuFile", "mnuExit", "E&xit", "Ctrl+Q"},
    {C::AutoDetect, "mnuComm", "mnuAutoDetect", "Auto Detect", nullptr},
    {C::Connect, "mnuComm", "mnuConnect", "Connect", nullptr},
    {C::Disconnect, "mnuComm", "mnuDisconnect", "Disconnect", nullptr},
    {C::Upload, "mnuComm", "mnuUpload", "Upload", nullptr},
    {C::Download, "mnuComm", "mnuDownload", "Download", nullptr},
    {C::BlockTransfer, "mnuComm", "mnuBlockTransfer", "Block Transfers", nullptr},
    {C::Detail, "mnuConfig", "mnuDetail", "Detailed", nullptr},
    {C::Schematic, "mnuConfig", "mnuSchematic", "Schematic", nullptr},
    {C::Trend, "mnuUtilities", "mnuTrend", "Trend", nullptr},
    {C::Pid, "mnuUtilities", "mnuPID", "PID Tuning", nullptr},
    {C::Keypad, "mnuUtilities", "mnuKeypad", "Maintenance Keypad", nullptr},
    {C::CurrentConfig, "mnuUtilities", "mnuCurrentConfig", "Current Config", nullptr, true},
    {C::Stats, "mnuCurrentConfig", "mnuStats", "Display Config Information", nullptr},
    {C::Compare, "mnuCurrentConfig", "mnuCompare", "Compare Current Config -> Defaults", nullptr},
    {C::PrintConfig, "mnuCurrentConfig", "mnuPrintConfig", "Print Current Config", nullptr},
    {C::Faults, "mnuUtilities", "mnuFaults", "Display Drive Faults", nullptr},
    {C::StatusList, "mnuUtilities", "mnuStatusList", "Show Status List Viewer", nullptr},
    {C::Update, "mnuUtilities", "mnuUpdate", "Change Drive Rating", nullptr},
    {C::QuickInfo, "mnuUtilities", "mnuQuickInfo", "Open Project Navigator", nullptr},
    {C::StartMenu, "mnuUtilities", "mnuStartMenu", "Show Project Navigator At Program Start", nullptr},
    {C::Cascade, "mnuWindow", "mnuCascade", "Cascade", nullptr},
    {C::Contents, "mnuHelp", "mnuContents", "Contents", "F1"},
    {C::Index, "mnuHelp", "mnuIndex", "Index", nullptr},
    {C::Search, "mnuHelp", "mnuSearch", "Search", nullptr},
    {C::About, "mnuHelp", "mnuAbout", "About", nullptr},
    {C::CompareDrive, "mnuComm", "mnuCompareDrive", "Compare With Drive", nullptr},
    {C::BackupBeforeDownload, "mnuComm", "mnuBackupBeforeDownload", "Back Up Before Download", nullptr},
    {C::RestoreBackup, "mnuComm", "mnuRestoreBackup", "Restore Last Backup", nullptr},
    {C::CompareFile, "mnuFile", "mnuCompareFile", "Compare With File...", nullptr},
    {C::RecentMenu, "mnuFile", "mnuRecent", "Recent Files", nullptr, true},
    {C::Undo, "mnuEdit", "mnuUndo", "Undo", "Ctrl+Z"},
    {C::Redo, "mnuEdit", "mnuRedo", "Redo", "Ctrl+Shift+Z"},
    {C::FindParameter, "mnuEdit", "mnuFind", "Find Parameter", "Ctrl+F"},
    {C::AllParameters, "mnuConfig", "mnuAllParameters", "All Parameters", nullptr},
    {C::BusMonitor, "mnuComm", "mnuBusMonitor", "Bus Monitor", nullptr},
};

// Positions 1..18; separators at 4, 6, 10, 14 and 17.
constexpr ToolEntry Toolbar[] = {
    {"New", C::NewMenu, "Start a new configuration."},
    {"Open", C::Open, "Loads an existing config file into memory."},
    {"Save", C::Save, "Saves info in memory to file."},
    {nullptr, C::NewMenu, nullptr},
    {"Trend", C::Trend, "Trends"},
    {nullptr, C::NewMenu, nullptr},
    {"Detail", C::Detail, "Detailed Config"},
    {"Schematic", C::Schematic, "Schematic View"},
    {"Wizard", C::NewWizard, "Quick Start Configuration"},
    {nullptr, C::NewMenu, nullptr},
    {"AutoDetect", C::AutoDetect, "Auto Detect Drive"},
    {"Connect", C::Connect, "Go Online"},
    {"Disconnect", C::Disconnect, "Go Offline"},
    {nullptr, C::NewMenu, nullptr},
    {"Upload", C::Upload, "Upload"},
    {"Download", C::Download, "Download"},
    {nullptr, C::NewMenu, nullptr},
    {"Help", C::Contents, "F1 for Context Sensitive Help"},
};

constexpr ToolEntry NewDropDown[] = {
    {"NewDetail", C::NewDetailed, "Configuration"},
    {"NewWizard", C::NewWizard, "Quick Start"},
};

// The items stand in the order of the enum, so a command is its position.
constexpr bool inCommandOrder()
{
    for (size_t i = 0; i < std::size(MenuItems); ++i)
        if (size_t(MenuItems[i].command) != i)
            return false;
    return true;
}
static_assert(inCommandOrder() && std::size(MenuItems) == CommandCount);

} // namespace

std::span<const MenuBarEntry> CommandTable::menuBar()
{
    return MenuBar;
}

std::span<const MenuEntry> CommandTable::menuItems()
{
    return MenuItems;
}

std::span<const ToolEntry> CommandTable::toolbar()
{
    return Toolbar;
}

std::span<const ToolEntry> CommandTable::newDropDown()
{
    return NewDropDown;
}

const MenuEntry &CommandTable::entry(Command command)
{
    return MenuItems[size_t(command)];
}

} // namespace Tarvel
