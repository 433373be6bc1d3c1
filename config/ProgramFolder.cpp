#include "config/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::optional<std::string> ChooseProgramFolder(const std::string& currentFolder,
                                               const char* xdgDataHome, const char* home) {
    std::error_code error;
    if (!currentFolder.empty() && fs::is_regular_file(fs::path(currentFolder) / "init", error)) {
        return currentFolder;
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
    return folder.string();
}

bool ProvideLanguageSet(const std::string& programFolder, const std::string& languageSet) {
    std::error_code error;
    const fs::path target = fs::path(programFolder) / "jazyk";
    if (fs::exists(target, error)) {
        return true;
    }
    if (!fs::is_directory(languageSet, error)) {
        return false;
    }
    fs::copy(languageSet, target, fs::copy_options::recursive, error);
    return !error;
}
