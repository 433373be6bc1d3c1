#pragma once

#include <optional>
#include <string>

// Where the program keeps its files ("init", "initt", "historie", "kurz", the language files).
// A current directory that already holds an "init" wins: started from a terminal in a folder of
// one's own, the program goes on using it as it always has. Otherwise the folder is the user's
// data folder: $XDG_DATA_HOME/brumlo, or ~/.local/share/brumlo when that is not set (or not an
// absolute path). The folder is created when missing; nothing when it cannot be.
struct ProgramFolderChoice {
    std::string path;
    // The folder is the data folder the program keeps for itself, not a folder of the user's.
    bool ownDataFolder = false;
};
std::optional<ProgramFolderChoice> ChooseProgramFolder(const std::string& currentFolder,
                                                       const char* xdgDataHome, const char* home);

// Copies the language files of `languageSet` into "jazyk" of `programFolder`, unless the user has
// a "jazyk" there already. False when it was missing and could not be made.
bool ProvideLanguageSet(const std::string& programFolder, const std::string& languageSet);

// The program folder chosen as above; the shipped language set `languageSet` is copied only into
// the data folder the program keeps for itself, never into a folder of the user's that merely
// holds an "init". Any thread; called once at start-up.
std::optional<std::string> SetUpProgramFolder(const std::string& currentFolder,
                                              const char* xdgDataHome, const char* home,
                                              const std::string& languageSet);
