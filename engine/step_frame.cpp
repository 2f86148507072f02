// The common frame of the six installation steps.
#include "engine/step_frame.hpp"

#include "engine/format.hpp"

namespace install {

namespace {

// Indexed by StepId.
constexpr StepTraits kStepTraits[] = {
    {StepId::Directories, kDirectoryButton, "\n##CREATE INSTALLATION DIRECTORY##\n\n",
     SuccessText::Ok, true, true},
    {StepId::Files, kFileCopyButton, "\n##COPY INSTALLATION FILE##\n\n",
     SuccessText::OkWithCount, true, false},
    {StepId::Folders, kDatabaseButton, "\n##CREATE PROGRAM FOLDER##\n\n",
     SuccessText::BareLabel, true, true},
    {StepId::Links, kDatabaseButton, "\n##UPDATE SHORTCUT##\n\n", SuccessText::Ok, false,
     false},
    {StepId::Registry, kManualButton, "\n##UPDATE REGISTRY##\n\n", SuccessText::BareLabel,
     false, false},
    {StepId::Programs, kManualButton, "\n##INITIALIZE DIAGNOSTICS##\n\n", SuccessText::Ok,
     false, false},
};

}  // namespace

const StepTraits& TraitsOf(StepId step) {
    return kStepTraits[static_cast<int>(step)];
}

StepFrame::StepFrame(StepId step, StepEnvironment& environment)
    : traits_(TraitsOf(step)),
      environment_(environment),
      section_(SectionName(step, environment.context.platformId)),
      script_(environment.system.files, environment.context.optionMask,
              step == StepId::Files) {
    IStatusOperations& status = environment_.status;
    status.EnableStatusButton(traits_.button, true);
    label_ = status.ReadStatusLabel(traits_.button);
    status.SetStatusText(traits_.button, Format("%s [In Progress]", label_.c_str()));
    if (traits_.keepsCurrentDirectory) {
        savedDirectory_ = environment_.system.directories.CurrentDirectory();
    }
    if (log_.OpenForAppend(environment_.system.files, environment_.context.logPath)) {
        log_.Write(traits_.banner);
    }
}

StepFrame::~StepFrame() {
    script_.Close();
    log_.Close();
}

bool StepFrame::OpenScript() {
    if (script_.Open(environment_.context.scriptPath)) {
        return true;
    }
    Abandon(Format("ERROR : Cannot open input file %s\n", environment_.context.scriptPath.c_str()));
    return false;
}

std::optional<ScriptLine> StepFrame::NextLine() {
    if (!sectionSearched_) {
        sectionSearched_ = true;
        sectionFound_ = script_.FindSection(section_);
    }
    return sectionFound_ ? script_.NextLine() : std::nullopt;
}

int StepFrame::Abandon(const std::string& logLine) {
    log_.Write(logLine);
    log_.Close();
    ShowStatus(Format("%s [FAIL]", label_.c_str()));
    if (traits_.disableWhenScriptMissing) {
        environment_.status.EnableStatusButton(traits_.button, false);
    }
    return kStepFailed;
}

void StepFrame::ShowStatus(const std::string& text) {
    environment_.status.SetStatusText(traits_.button, text);
}

int StepFrame::Finish(bool succeeded, int copied) {
    script_.Close();
    log_.Close();
    if (traits_.keepsCurrentDirectory) {
        environment_.system.directories.ChangeCurrentDirectory(savedDirectory_);
    }
    if (!succeeded) {
        ShowStatus(Format("%s [FAIL]", label_.c_str()));
        return kStepFailed;
    }
    switch (traits_.success) {
        case SuccessText::Ok:
            ShowStatus(Format("%s [OK]", label_.c_str()));
            break;
        case SuccessText::OkWithCount:
            ShowStatus(Format("%s [OK] (%d file(s) copied)", label_.c_str(), copied));
            break;
        case SuccessText::BareLabel:
            ShowStatus(label_);
            break;
    }
    return kStepSucceeded;
}

}  // namespace install
