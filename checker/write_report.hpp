// A whole run of the checker as inpcheck makes it: the script checked and
// its report written to a stream.
#pragma once

#include <cstdio>
#include <string>

#include "checker/report_writer.hpp"
#include "checker/script_check.hpp"

namespace install::check {

struct ReportOutcome {
    bool written;    // false when the stream did not take the whole report
    int exitStatus;  // the verdict's
};

// With both families wanted, the second is checked on a thread of its own
// while the first's report is written, and its report is kept until then:
// a large script takes about half the time on a machine with two cores.
// files is then used from two threads at once, so each Open must stand on
// its own, as the platforms' do.
ReportOutcome WriteCheckReport(IFiles& files, const std::string& scriptPath, const CheckOptions& options,
                               ReportWriter::Style style, std::FILE* stream);

}  // namespace install::check
