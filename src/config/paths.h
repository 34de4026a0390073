// Where the program finds its configuration: the program folder, the INIs folder and the files in
// it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// The folder of the running program file (the current folder when the system does not tell).
std::filesystem::path ProgramFolder();

// The program folder as the configuration stores it: with a trailing separator.
std::string ProgramFolderText();

// The INIs folder: `override_folder` when it is not empty (the --inis option of the command-line
// tool and the program), else the environment variable CORVANE_INIS when it is set and not
// empty, else "INIs" in the program folder when it exists there (a build tree or a program
// unpacked into one folder), else, for an installed program whose shipped INIs are in
// ../share/corvane/INIs, the user's own INIs folder (UserInisFolder()) made ready from the
// shipped one; else "INIs" in the program folder (which does not exist: the start-up check
// reports it).
std::filesystem::path InisFolder(std::string_view override_folder = {});

// The shipped INIs folder of an installed program: ../share/corvane/INIs from the program folder.
std::filesystem::path SharedInisFolder();

// The user's INIs folder of an installed program: $XDG_CONFIG_HOME/corvane/INIs, or
// ~/.config/corvane/INIs when XDG_CONFIG_HOME is not set. Empty when neither it nor HOME is set.
std::filesystem::path UserInisFolder();

// Makes `user` ready from the shipped folder `shared`: creates it, copies every shipped file it
// does not have, and copies again a shipped file that is newer than the user's copy, except the
// settings file Corvane.ini, which is copied only when missing (it holds the user's settings).
// False when the folder cannot be created; files that cannot be copied are left as they are.
bool PrepareUserInisFolder(const std::filesystem::path& shared, const std::filesystem::path& user);

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
