// Where the program finds its configuration: the program folder, the INIs folder and the files in
// it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// The folder of the running program file (from /proc/self/exe; the current folder when that
// cannot be read).
std::filesystem::path ProgramFolder();

// The program folder as the configuration stores it: with a trailing separator.
std::string ProgramFolderText();

// The INIs folder: `override_folder` when it is not empty (the --inis option of the command-line
// tool and the program), else the environment variable CORVANE_INIS when it is set and not
// empty, else "INIs" in the program folder.
std::filesystem::path InisFolder(std::string_view override_folder = {});

// The file `name` in `folder`. Files copied from Windows may differ in letter case from the
// names the configuration gives ("corvane.ini", "ESPAÑOL.INI"), so when no file has exactly that
// name, a file whose name matches without regard to case is taken. When none matches, the exact
// path is returned (it does not exist).
std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& folder,
                                           std::string_view name);

// The configuration files in the INIs folder and the section of the main settings file.
inline constexpr const char* kMainIniName = "Corvane.ini";
inline constexpr const char* kMainSection = "Corvane";
inline constexpr const char* kVarIniName = "Var.ini";
inline constexpr const char* kInstructionIniName = "asm_inst.ini";

// The text shown at start-up when the INIs folder is missing (a fixed English text).
inline constexpr const char* kInisFolderMissing =
    "INIs directory not found!\r\nCreate a directory called INIs and move all the ini files to "
    "that directory.";

}  // namespace corvane
