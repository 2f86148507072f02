// A whole run of the checker, its two families side by side.
#include "checker/write_report.hpp"

#include <exception>
#include <thread>

namespace install::check {

ReportOutcome WriteCheckReport(IFiles& files, const std::string& scriptPath, const CheckOptions& options,
                               ReportWriter::Style style, std::FILE* stream) {
    ReportWriter writer(style, scriptPath, stream);
    if (!options.windows9x || !options.windowsNt) {
        CheckScript(files, scriptPath, options, writer);
    } else {
        CheckOptions first = options;
        first.windowsNt = false;
        CheckOptions second = options;
        second.windows9x = false;
        ReportWriter later(style, scriptPath);
        std::exception_ptr failure;
        std::thread worker([&] {
            try {
                CheckScript(files, scriptPath, second, later);
            } catch (...) {
                failure = std::current_exception();
            }
        });
        bool readable = false;
        try {
            readable = CheckScript(files, scriptPath, first, writer);
        } catch (...) {
            worker.join();
            throw;
        }
        worker.join();
        if (failure) {
            std::rethrow_exception(failure);
        }
        // A script that cannot be read is said to be so once, as when the
        // families are checked one after the other.
        if (readable) {
            writer.Absorb(later);
        }
    }
    const bool written = writer.Finish();
    return {written, writer.Counts().ExitStatus()};
}

}  // namespace install::check
