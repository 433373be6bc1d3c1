#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/CourseExport.h"

// The command line of brumlo-export: its arguments (without the program name) read into export
// options; an error is one line that names the bad argument. `help` asks for the usage only.
struct ExportArguments {
    std::optional<ExportOptions> options;
    std::string error;
    bool help = false;
};
ExportArguments ParseExportArguments(const std::vector<std::string>& arguments);

// The usage text of the command.
std::string ExportUsage();
