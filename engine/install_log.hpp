// The installation log, INSTLOG.TXT: started by the preparation step, then
// opened for appending by each step and written only while open.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/system/files.hpp"

namespace install {

inline constexpr const char* kLogHeader = "Installation Log\n";

// Where the log lives: INSTLOG.TXT in the Windows directory (given without
// its trailing backslash).
std::string LogPathIn(const std::string& windowsDir);

// Creates the log, emptying an earlier one, and writes its first line.
// A log that cannot be created is passed over without a word.
void StartInstallLog(IFiles& files, const std::string& logPath);

class InstallLog {
public:
    // Opens the log for appending; a log that does not open stays closed.
    bool OpenForAppend(IFiles& files, const std::string& logPath);
    bool IsOpen() const { return file_ != nullptr; }
    // Writes text, its LFs as CR LF, when the log is open.
    void Write(std::string_view text);
    void Close() { file_.reset(); }

private:
    std::unique_ptr<IFile> file_;
};

}  // namespace install
