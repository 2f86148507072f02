// The script checker: walks an install script the way every step reads it,
// for each platform family, and says what each line does and what is
// almost surely a mistake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/system/files.hpp"

namespace install::check {

enum class Severity { Note, Warning, Error };

struct Finding {
    Severity severity;
    std::string family;   // "9x", "nt", or empty for the whole script
    std::string section;  // the section read, or empty
    int line;             // 0 where no line is meant
    std::string kind;     // what the line is, or what is wrong
    std::string message;
};

struct CheckOptions {
    bool windows9x = true;
    bool windowsNt = true;
    std::uint32_t optionMask = 4;
    // The installation disk's folder, to look for the files the script
    // copies from it.
    std::optional<std::string> diskFolder;
};

struct CheckReport {
    std::vector<Finding> findings;

    // 0 clean, 1 warnings only, 2 errors.
    int ExitStatus() const;
};

CheckReport CheckScript(IFiles& files, const std::string& scriptPath, const CheckOptions& options);

// The report as people read it, and as JSON lines.
std::string FormatForPeople(const CheckReport& report, const std::string& scriptPath);
std::string FormatAsJsonLines(const CheckReport& report);

}  // namespace install::check
