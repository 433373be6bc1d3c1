#include "config/ProgramFolder.h"

#include <filesystem>

#include <system_error>
#include "config/CProgramFiles.h"

namespace fs = std::filesystem;

std::optional<ProgramFolderChoice> ChooseProgramFolder(const std::string& currentFolder,
                                                       const char* xdgDataHome, const char* home) {
    std::error_code error;
    if (!currentFolder.empty() &&
        fs::is_regular_file(CProgramFiles(currentFolder).Settings(), error)) {
        return ProgramFolderChoice{currentFolder, false};
    }
    fs::path data;
    if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute()) {
        data = xdgDataHome;
    } else if (home != nullptr && fs::path(home).is_absolute()) {
        data = fs::path(home) / ".local" / "share";
    } else {
        return std::nullopt;
    }
    const fs::path folder = data / "brumlo";
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) {
        return std::nullopt;
    }
    return ProgramFolderChoice{folder.string(), true};
}

bool ProvideLanguageSet(const std::string& programFolder, const std::string& languageSet) {
    std::error_code error;
    const fs::path target = fs::path(programFolder) / CProgramFiles::kLanguageFolder;
    if (fs::exists(target, error)) {
        return true;
    }
    if (!fs::is_directory(languageSet, error)) {
        return false;
    }
    fs::copy(languageSet, target, fs::copy_options::recursive, error);
    return !error;
}

std::optional<std::string> SetUpProgramFolder(const std::string& currentFolder,
                                              const char* xdgDataHome, const char* home,
                                              const std::string& languageSet) {
    const std::optional<ProgramFolderChoice> choice =
        ChooseProgramFolder(currentFolder, xdgDataHome, home);
    if (!choice) {
        return std::nullopt;
    }
    if (choice->ownDataFolder) {
        ProvideLanguageSet(choice->path, languageSet);
    }
    return choice->path;
}
