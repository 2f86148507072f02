// The script checker: walks an install script the way every step reads it,
// for each platform family, and says what each line does and what is
// almost surely a mistake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/system/files.hpp"

namespace install::check {

enum class Severity { Note, Warning, Error };

// One finding as the checker hands it over; its texts last only for the
// call that carries it.
struct FindingView {
    Severity severity;
    std::string_view family;   // "9x", "nt", or empty for the whole script
    std::string_view section;  // the section read, or empty
    int line;                  // 0 where no line is meant
    std::string_view kind;     // what the line is, or what is wrong
    std::string_view message;
};

// Takes the findings one by one, in the order of the report.
class IFindingSink {
public:
    IFindingSink() = default;
    IFindingSink(const IFindingSink&) = delete;
    IFindingSink& operator=(const IFindingSink&) = delete;
    virtual ~IFindingSink() = default;

    virtual void Add(const FindingView& finding) = 0;
};

struct CheckOptions {
    bool windows9x = true;
    bool windowsNt = true;
    std::uint32_t optionMask = 4;
    // The installation disk's folder, to look for the files the script
    // copies from it.
    std::optional<std::string> diskFolder;
};

// Walks the script and hands every finding to sink as it is made, so that
// a large script's report never has to be held whole. False when the script
// could not be read (the sink has been told).
bool CheckScript(IFiles& files, const std::string& scriptPath, const CheckOptions& options, IFindingSink& sink);

// The verdict on the findings seen so far: 0 clean, 1 warnings only, 2
// errors.
class Verdict {
public:
    void Count(Severity severity);
    void Add(const Verdict& other);
    int ExitStatus() const;
    int Warnings() const { return warnings_; }
    int Errors() const { return errors_; }

private:
    int warnings_ = 0;
    int errors_ = 0;
};

struct Finding {
    Severity severity;
    std::string family;
    std::string section;
    int line;
    std::string kind;
    std::string message;
};

// The findings kept whole, for callers that look at them one by one.
struct CheckReport {
    std::vector<Finding> findings;

    int ExitStatus() const;
};

CheckReport CheckScript(IFiles& files, const std::string& scriptPath, const CheckOptions& options);

}  // namespace install::check
