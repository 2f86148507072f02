// The installation log.
#include "engine/install_log.hpp"

#include "engine/text_mode.hpp"

namespace install {

std::string LogPathIn(const std::string& windowsDir) {
    return windowsDir + "\\INSTLOG.TXT";
}

void StartInstallLog(IFiles& files, const std::string& logPath) {
    if (auto file = files.Open(logPath, FileMode::Create)) {
        WriteText(*file, kLogHeader);
    }
}

bool InstallLog::OpenForAppend(IFiles& files, const std::string& logPath) {
    file_ = files.Open(logPath, FileMode::Append);
    return IsOpen();
}

void InstallLog::Write(std::string_view text) {
    if (file_) {
        WriteText(*file_, text);
    }
}

}  // namespace install
