// The frame every installation step runs in: its status button, its log
// banner, the staged script, and the way it ends.
#pragma once

#include <optional>
#include <string>

#include "engine/install_context.hpp"
#include "engine/install_log.hpp"
#include "engine/script_reader.hpp"
#include "engine/status_operations.hpp"
#include "engine/system/system.hpp"

namespace install {

inline constexpr int kStepSucceeded = 0;
inline constexpr int kStepFailed = 1;

// What a step hands the frame; the progress page is behind status.
struct StepEnvironment {
    const InstallContext& context;
    System& system;
    IStatusOperations& status;
};

enum class SuccessText {
    Ok,           // "%s [OK]"
    OkWithCount,  // "%s [OK] (%d file(s) copied)"
    BareLabel,    // "%s": the next step on the button reads it back
};

struct StepTraits {
    StepId step;
    int button;
    const char* banner;
    SuccessText success;
    bool disableWhenScriptMissing;
    bool keepsCurrentDirectory;
};

const StepTraits& TraitsOf(StepId step);

class StepFrame {
public:
    // Enables the button, reads its label, shows "[In Progress]",
    // remembers the current directory where the step needs it, and opens
    // the log with the step's banner.
    StepFrame(StepId step, StepEnvironment& environment);
    StepFrame(const StepFrame&) = delete;
    StepFrame& operator=(const StepFrame&) = delete;
    ~StepFrame();

    const std::string& Label() const { return label_; }
    InstallLog& Log() { return log_; }
    ScriptReader& Script() { return script_; }
    const InstallContext& Context() const { return environment_.context; }
    StepEnvironment& Environment() { return environment_; }

    // Opens the staged script. When it does not open, ends the step on the
    // frame's failure path and returns false; the step then returns
    // kStepFailed.
    bool OpenScript();

    // The next line of the step's section, finding the section on the
    // first call; nullopt at the end of the section or when it is missing.
    std::optional<ScriptLine> NextLine();

    // Ends the step before its script was read: logLine goes to the log
    // when it is open, the log is closed and the button shows its failure
    // text (and is disabled again where the step does so).
    int Abandon(const std::string& logLine);

    // Puts a text on the step's button while it works.
    void ShowStatus(const std::string& text);

    // Closes the script and the log, restores the current directory where
    // the step keeps it, and sets the final status text. copied is the file
    // count of the file copy step.
    int Finish(bool succeeded, int copied = 0);

private:
    const StepTraits& traits_;
    StepEnvironment& environment_;
    std::string label_;
    const char* section_;
    std::string savedDirectory_;
    InstallLog log_;
    ScriptReader script_;
    bool sectionSearched_ = false;
    bool sectionFound_ = false;
};

}  // namespace install
