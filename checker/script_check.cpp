// The script checker.
#include "checker/script_check.hpp"

#include <algorithm>
#include <set>
#include <string_view>

#include "engine/format.hpp"
#include "engine/install_context.hpp"
#include "engine/path_expansion.hpp"
#include "engine/script_reader.hpp"
#include "steps/copy_expand_file.hpp"
#include "steps/disk_prompt.hpp"
#include "steps/entry_layout.hpp"
#include "steps/registry_data.hpp"
#include "steps/show_command.hpp"
#include "steps/write_registry_value.hpp"

namespace install::check {

namespace {

constexpr StepId kSteps[] = {StepId::Directories, StepId::Files,    StepId::Folders,
                             StepId::Links,       StepId::Registry, StepId::Programs};

const char* StepTitle(StepId step) {
    switch (step) {
        case StepId::Directories:
            return "directory step";
        case StepId::Files:
            return "file copy step";
        case StepId::Folders:
            return "program folder step";
        case StepId::Links:
            return "shortcut step";
        case StepId::Registry:
            return "registry step";
        case StepId::Programs:
            return "program launch step";
    }
    return "step";
}

// Directories as placeholders, for showing composed paths.
InstallContext PlaceholderContext(std::uint32_t platformId, std::uint32_t mask) {
    InstallContext context;
    context.optionMask = mask;
    context.platformId = platformId;
    context.windowsDir = "<windowsDir>";
    context.systemDir = "<systemDir>";
    context.desktopDir = "<desktopDir>";
    context.programsDir = "<programsDir>";
    context.userProgramsDir = platformId == kPlatformWindowsNt ? "<userProgramsDir>" : "<programsDir>";
    context.sourceRoot = "<sourceRoot>";
    context.sourceDir = "<sourceDir>";
    context.systemRoot = "<systemRoot>";
    return context;
}

// Typical directories of each family, for judging a path's length.
InstallContext TypicalContext(std::uint32_t platformId, std::uint32_t mask) {
    InstallContext context;
    context.optionMask = mask;
    context.platformId = platformId;
    if (platformId == kPlatformWindowsNt) {
        context.windowsDir = "C:\\WINNT";
        context.systemDir = "C:\\WINNT\\system32";
        context.desktopDir = "C:\\WINNT\\Profiles\\All Users\\Desktop";
        context.programsDir = "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs";
        context.userProgramsDir = "C:\\WINNT\\Profiles\\Administrator\\Start Menu\\Programs";
    } else {
        context.windowsDir = "C:\\WINDOWS";
        context.systemDir = "C:\\WINDOWS\\SYSTEM";
        context.desktopDir = "C:\\WINDOWS\\Desktop";
        context.programsDir = "C:\\WINDOWS\\Start Menu\\Programs";
        context.userProgramsDir = context.programsDir;
    }
    context.sourceRoot = "D:";
    context.sourceDir = "D:";
    context.systemRoot = "C:";
    return context;
}

std::string WithoutLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

bool IsPlainDecimal(std::string_view text) {
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        text.remove_prefix(1);
    }
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool BlankBeforeMarker(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first != 0 && first != std::string_view::npos &&
           (text[first] == ';' || text[first] == '[' || text[first] == '#');
}

// A path variable keeps only the text up to its next "%": anything after
// that is lost.
bool DropsText(std::string_view field) {
    if (field.empty() || field[0] != '%') {
        return false;
    }
    const std::size_t name = field.find_first_not_of('%');
    const std::size_t afterName = name == std::string_view::npos ? name : field.find('%', name);
    const std::size_t remainder = afterName == std::string_view::npos ? afterName : field.find_first_not_of('%', afterName);
    const std::size_t afterRemainder = remainder == std::string_view::npos ? remainder : field.find('%', remainder);
    return afterRemainder != std::string_view::npos && field.find_first_not_of('%', afterRemainder) != std::string_view::npos;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string JoinPath(const std::string& parent, const std::string& name) {
    if (name.size() >= 2 && (name[1] == ':' || name[0] == '\\')) {
        return name;
    }
    if (!parent.empty() && parent.back() == '\\') {
        return parent + name;
    }
    return parent + "\\" + name;
}

// One walk of one step's section in one family.
class SectionWalk : public IReaderObserver {
public:
    SectionWalk(CheckReport& report, IFiles& files, const CheckOptions& options, const char* family,
                std::uint32_t platformId, StepId step, std::set<std::string>& createdFolders)
        : report_(report),
          files_(files),
          options_(options),
          family_(family),
          step_(step),
          section_(SectionName(step, platformId)),
          shown_(PlaceholderContext(platformId, options.optionMask)),
          typical_(TypicalContext(platformId, options.optionMask)),
          createdFolders_(createdFolders) {}

    // False when the script cannot be read.
    bool Run(const std::string& scriptPath) {
        ScriptReader reader(files_, options_.optionMask, step_ == StepId::Files);
        reader.SetObserver(this);
        if (!reader.Open(scriptPath)) {
            return false;
        }
        if (!reader.FindSection(section_)) {
            Add(Severity::Note, 0, "section-missing", Format("no [%s] section: the %s has nothing to do", section_, StepTitle(step_)));
            return true;
        }
        DiskGate diskGate;
        while (const auto line = reader.NextLine()) {
            if (line->kind == ScriptLine::Kind::DiskPrompt) {
                OnDiskPrompt(*line, reader, diskGate);
            } else if (!diskGate.IsOpen()) {
                Add(Severity::Note, line->lineNumber, "entry-skipped",
                    "skipped: a refused disk prompt closed the disk gate");
            } else {
                OnEntry(*line);
            }
        }
        // Whatever follows is never read by this step, a second section of
        // the same name included.
        duplicateSearch_ = true;
        while (reader.FindSection(section_)) {
        }
        return true;
    }

    void OnLine(const ReaderEvent& event) override {
        if (event.part > 0) {
            Add(Severity::Warning, event.lineNumber, "long-line",
                Format("the line is longer than 255 characters: from character %d on it is read as a line of its own",
                       event.part * 255 + 1));
        }
        const std::string text = WithoutLineEnd(event.text);
        switch (event.kind) {
            case ReaderEvent::Kind::Header:
                if (duplicateSearch_) {
                    Add(Severity::Warning, event.lineNumber, "duplicate-section",
                        Format("a second section for [%s]: it is never read", section_));
                    break;
                }
                Add(Severity::Note, event.lineNumber, "header", Format("section header, read by the %s", StepTitle(step_)));
                if (text != Format("[%s]", section_)) {
                    Add(Severity::Warning, event.lineNumber, "inexact-header",
                        Format("\"%s\" is taken as the header of [%s] because it contains the name", text.c_str(), section_));
                }
                break;
            case ReaderEvent::Kind::SectionEnd:
                Add(Severity::Note, event.lineNumber, "section-end", "a header: the section ends here");
                if (text.find(section_) != std::string::npos) {
                    Add(Severity::Warning, event.lineNumber, "duplicate-section",
                        Format("a second section for [%s]: it is never read", section_));
                }
                break;
            case ReaderEvent::Kind::Ignored:
                Add(Severity::Note, event.lineNumber, "ignored",
                    event.text.size() < 3 ? "ignored: too short" : "ignored: comment");
                break;
            case ReaderEvent::Kind::Gate:
                Add(Severity::Note, event.lineNumber, "gate",
                    Format("gate line: the option gate is now %s", event.gateOpen ? "open" : "closed"));
                break;
            case ReaderEvent::Kind::Skipped:
                CheckBlank(event.lineNumber, text);
                Add(Severity::Note, event.lineNumber, "entry-skipped", "skipped: the option gate is closed");
                break;
            case ReaderEvent::Kind::Handed:
                CheckBlank(event.lineNumber, text);
                break;
        }
    }

private:
    void Add(Severity severity, int line, const char* kind, std::string message) {
        report_.findings.push_back({severity, family_, section_, line, kind, std::move(message)});
    }

    void CheckBlank(int line, const std::string& text) {
        if (BlankBeforeMarker(text)) {
            Add(Severity::Warning, line, "blank-before-marker",
                "the line begins with a blank, so it is an entry, not a comment, header or gate line");
        }
    }

    void OnDiskPrompt(const ScriptLine& line, ScriptReader& reader, DiskGate& diskGate) {
        diskGate.Close();
        const DiskPromptLine read = ReadDiskPrompt(line.text, options_.optionMask);
        if (!read.prompt) {
            Add(Severity::Note, line.lineNumber, "disk-prompt-refused",
                Format("disk prompt refused: %s; the entries after it are skipped until another prompt is accepted",
                       read.refusal.c_str()));
            return;
        }
        const ExpandedPath check = ExpandPathField(read.prompt->checkPath, kDiskCheckMap, shown_);
        Add(Severity::Note, line.lineNumber, "disk-prompt-accepted",
            Format("disk prompt \"%s\", checked by %s", read.prompt->message.c_str(), check.path.c_str()));
        if (read.prompt->runsToLineEnd) {
            Add(Severity::Warning, line.lineNumber, "check-path-to-line-end",
                "the check path has no closing \",\" or \")\": it runs to the line end");
        }
        diskGate.Confirm(reader);
    }

    void OnEntry(const ScriptLine& line) {
        const EntryLayout& layout = EntryLayoutOf(step_);
        const auto entry = ReadEntry(step_, line.text, shown_);
        if (!entry) {
            Add(Severity::Note, line.lineNumber, "entry-skipped",
                Format("skipped: too few fields (the %s needs %d)", StepTitle(step_), static_cast<int>(layout.fieldCount)));
            return;
        }
        std::string described;
        for (std::size_t i = 0; i < entry->fields.size(); ++i) {
            described += Format("%s%s \"%s\"", i ? ", " : "", layout.names[i], entry->fields[i].c_str());
            if (layout.maps[i] && entry->paths[i].path != entry->fields[i]) {
                described += Format(" = %s", entry->paths[i].path.c_str());
            }
        }
        Add(Severity::Note, line.lineNumber, "entry", "entry: " + described);
        for (std::size_t i = 0; i < entry->fields.size(); ++i) {
            if (layout.maps[i] && DropsText(entry->fields[i])) {
                Add(Severity::Warning, line.lineNumber, "dropped-text",
                    Format("%s \"%s\": the text after its third \"%%\" is dropped", layout.names[i],
                           entry->fields[i].c_str()));
            }
        }
        if (const auto typical = ReadEntry(step_, line.text, typical_); typical && typical->TooLong()) {
            Add(Severity::Warning, line.lineNumber, "path-too-long",
                "a composed path is longer than 259 characters with typical directories: the entry would fail");
        }
        switch (step_) {
            case StepId::Directories:
                createdFolders_.insert(JoinPath(entry->paths[0].path, entry->fields[1]));
                break;
            case StepId::Files:
                CheckCopy(line.lineNumber, *entry);
                break;
            case StepId::Registry:
                CheckRegistry(line.lineNumber, *entry);
                break;
            case StepId::Programs:
                CheckShow(line.lineNumber, entry->fields[2]);
                break;
            default:
                break;
        }
    }

    bool IsContextDirectory(const std::string& folder) const {
        for (const std::string* directory :
             {&shown_.windowsDir, &shown_.systemDir, &shown_.desktopDir, &shown_.programsDir,
              &shown_.userProgramsDir, &shown_.sourceRoot, &shown_.sourceDir, &shown_.systemRoot}) {
            if (folder == *directory) {
                return true;
            }
        }
        return false;
    }

    void CheckCopy(int line, const Entry& entry) {
        const std::string folder = FolderOf(entry.paths[1].path);
        if (!folder.empty() && !IsContextDirectory(folder) && !createdFolders_.count(folder)) {
            Add(Severity::Warning, line, "destination-folder",
                Format("no earlier directory entry creates %s: the copy fails unless it exists", folder.c_str()));
        }
        if (!options_.diskFolder || entry.fields[0].empty() || entry.fields[0][0] != '%') {
            return;
        }
        // Sources on the installation disk: the folder the program starts
        // from and its root are both the disk folder given.
        const ContextDirectory chosen =
            SelectDirectory(kCopySourceMap, entry.fields[0].size() > 1 ? entry.fields[0][1] : '\0');
        if (chosen != &InstallContext::sourceDir && chosen != &InstallContext::sourceRoot) {
            return;
        }
        const std::string& shown = entry.paths[0].path;
        const std::string onDisk = *options_.diskFolder + shown.substr((shown_.*chosen).size());
        if (!files_.Exists(onDisk)) {
            Add(Severity::Error, line, "missing-source", Format("the source file %s is not on the disk", onDisk.c_str()));
        } else if (onDisk.back() == '_' && !DeclaredExpandedSize(files_, onDisk)) {
            Add(Severity::Error, line, "bad-compressed-file",
                Format("%s ends in \"_\" but is not a compressed file", onDisk.c_str()));
        }
    }

    void CheckRegistry(int line, const Entry& entry) {
        if (!FindRootKey(entry.fields[0])) {
            Add(Severity::Warning, line, "unknown-root-key", Format("\"%s\" is not a root key name", entry.fields[0].c_str()));
        }
        if (!FindValueType(entry.fields[3])) {
            Add(Severity::Warning, line, "unknown-value-type", Format("\"%s\" is not a value type name", entry.fields[3].c_str()));
        }
        if (entry.fields[3] == "REG_DWORD" && !IsPlainDecimal(entry.fields[4])) {
            Add(Severity::Warning, line, "dword-not-decimal",
                Format("REG_DWORD data \"%s\" is not a plain decimal number: it stores %u", entry.fields[4].c_str(),
                       DwordFromText(entry.fields[4])));
        }
    }

    void CheckShow(int line, const std::string& field) {
        const std::string_view row = ShowRowFor(field);
        if (row.empty()) {
            Add(Severity::Warning, line, "show-no-row",
                Format("show \"%s\" selects no show command: the program starts minimised", field.c_str()));
        } else if (row != field) {
            Add(Severity::Warning, line, "show-partial",
                Format("show \"%s\" selects %.*s by part of its name", field.c_str(), static_cast<int>(row.size()),
                       row.data()));
        }
    }

    CheckReport& report_;
    IFiles& files_;
    const CheckOptions& options_;
    std::string family_;
    StepId step_;
    const char* section_;
    InstallContext shown_;
    InstallContext typical_;
    std::set<std::string>& createdFolders_;
    bool duplicateSearch_ = false;
};

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Note:
            return "note";
        case Severity::Warning:
            return "warning";
        case Severity::Error:
            return "error";
    }
    return "note";
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += Format("\\u%04x", static_cast<unsigned char>(c));
                } else if (static_cast<unsigned char>(c) >= 0x80) {
                    // Script bytes are in the system's code page: show them as
                    // the Latin-1 characters of the same number.
                    out += Format("\\u%04x", static_cast<unsigned char>(c));
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

}  // namespace

int CheckReport::ExitStatus() const {
    int status = 0;
    for (const auto& finding : findings) {
        if (finding.severity == Severity::Error) {
            return 2;
        }
        if (finding.severity == Severity::Warning) {
            status = 1;
        }
    }
    return status;
}

CheckReport CheckScript(IFiles& files, const std::string& scriptPath, const CheckOptions& options) {
    CheckReport report;
    const struct {
        bool wanted;
        const char* family;
        std::uint32_t platformId;
    } families[] = {{options.windows9x, "9x", 1}, {options.windowsNt, "nt", kPlatformWindowsNt}};
    for (const auto& family : families) {
        if (!family.wanted) {
            continue;
        }
        std::set<std::string> createdFolders;
        for (const StepId step : kSteps) {
            SectionWalk walk(report, files, options, family.family, family.platformId, step, createdFolders);
            if (!walk.Run(scriptPath)) {
                report.findings.push_back({Severity::Error, "", "", 0, "unreadable",
                                           Format("cannot open %s for reading", scriptPath.c_str())});
                return report;
            }
        }
    }
    return report;
}

std::string FormatForPeople(const CheckReport& report, const std::string& scriptPath) {
    std::string out;
    std::string family;
    std::string section;
    int warnings = 0;
    int errors = 0;
    for (const auto& finding : report.findings) {
        if (finding.family != family && !finding.family.empty()) {
            family = finding.family;
            section.clear();
            out += Format("%s, %s:\n", scriptPath.c_str(),
                          family == "nt" ? "Windows NT (platform 2)" : "Windows 95/98 (platform 1)");
        }
        if (finding.section != section && !finding.section.empty()) {
            section = finding.section;
            out += Format("  [%s]\n", section.c_str());
        }
        const std::string where = finding.line > 0 ? Format("line %d: ", finding.line) : std::string();
        out += Format("    %s%s%s\n", finding.severity == Severity::Note ? "" : SeverityName(finding.severity),
                      finding.severity == Severity::Note ? "" : ": ", (where + finding.message).c_str());
        warnings += finding.severity == Severity::Warning;
        errors += finding.severity == Severity::Error;
    }
    out += Format("%d warning(s), %d error(s)\n", warnings, errors);
    return out;
}

std::string FormatAsJsonLines(const CheckReport& report) {
    std::string out;
    for (const auto& finding : report.findings) {
        out += Format("{\"severity\":%s,\"family\":%s,\"section\":%s,\"line\":%d,\"kind\":%s,\"message\":%s}\n",
                      JsonString(SeverityName(finding.severity)).c_str(), JsonString(finding.family).c_str(),
                      JsonString(finding.section).c_str(), finding.line, JsonString(finding.kind).c_str(),
                      JsonString(finding.message).c_str());
    }
    return out;
}

}  // namespace install::check
