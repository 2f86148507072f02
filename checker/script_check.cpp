// The script checker.
#include "checker/script_check.hpp"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string_view>
#include <vector>

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

std::string_view WithoutLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
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

std::string_view FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

// Every directory a path variable can name.
constexpr ContextDirectory kContextDirectories[] = {
    &InstallContext::windowsDir,  &InstallContext::systemDir,       &InstallContext::desktopDir,
    &InstallContext::programsDir, &InstallContext::userProgramsDir, &InstallContext::sourceRoot,
    &InstallContext::sourceDir,   &InstallContext::systemRoot,
};

// The longest directory a path variable can name in context.
std::size_t LongestDirectory(const InstallContext& context) {
    std::size_t longest = 0;
    for (const ContextDirectory directory : kContextDirectories) {
        longest = std::max(longest, (context.*directory).size());
    }
    return longest;
}

// The folder a directory entry makes, into path.
void JoinPath(std::string_view parent, std::string_view name, std::string& path) {
    if (name.size() >= 2 && (name[1] == ':' || name[0] == '\\')) {
        path.assign(name);
        return;
    }
    path.assign(parent);
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    path.append(name);
}

// The folders the directory step creates, by their shown paths. The steps
// run in order, so all are known before the file copy step first asks: they
// are kept end to end in one text, each ended by a NUL (no line's text holds
// one), and their hashes are sorted once then. A script can have hundreds
// of thousands of them, so their memory is kept from one family to the next.
class CreatedFolders {
public:
    void Clear() {
        text_.clear();
        keys_.clear();
        sorted_ = true;
    }

    void Add(std::string_view folder) {
        keys_.push_back({std::hash<std::string_view>()(folder), text_.size()});
        text_.append(folder);
        text_.push_back('\0');
        sorted_ = false;
    }

    bool Contains(std::string_view folder) {
        if (!sorted_) {
            std::sort(keys_.begin(), keys_.end());
            sorted_ = true;
        }
        const std::size_t hash = std::hash<std::string_view>()(folder);
        for (auto key = std::lower_bound(keys_.begin(), keys_.end(), Key{hash, 0});
             key != keys_.end() && key->hash == hash; ++key) {
            if (std::string_view(text_.c_str() + key->offset) == folder) {
                return true;
            }
        }
        return false;
    }

private:
    struct Key {
        std::size_t hash;
        std::size_t offset;
        auto operator<=>(const Key&) const = default;
    };
    std::string text_;
    std::vector<Key> keys_;
    bool sorted_ = true;
};

// One walk of one step's section in one family.
class SectionWalk : public IReaderObserver {
public:
    SectionWalk(IFindingSink& sink, IFiles& files, const CheckOptions& options, const char* family,
                std::uint32_t platformId, StepId step, CreatedFolders& createdFolders)
        : sink_(sink),
          files_(files),
          options_(options),
          family_(family),
          step_(step),
          section_(SectionName(step, platformId)),
          shown_(PlaceholderContext(platformId, options.optionMask)),
          typical_(TypicalContext(platformId, options.optionMask)),
          longestTypical_(LongestDirectory(typical_)),
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
        const std::string_view text = WithoutLineEnd(event.text);
        switch (event.kind) {
            case ReaderEvent::Kind::Header:
                if (duplicateSearch_) {
                    Add(Severity::Warning, event.lineNumber, "duplicate-section",
                        Format("a second section for [%s]: it is never read", section_));
                    break;
                }
                Add(Severity::Note, event.lineNumber, "header", Format("section header, read by the %s", StepTitle(step_)));
                if (!IsExactHeader(text)) {
                    Add(Severity::Warning, event.lineNumber, "inexact-header",
                        Format("\"%.*s\" is taken as the header of [%s] because it contains the name",
                               static_cast<int>(text.size()), text.data(), section_));
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
    void Add(Severity severity, int line, std::string_view kind, std::string_view message) {
        sink_.Add({severity, family_, section_, line, kind, message});
    }

    bool IsExactHeader(std::string_view text) const {
        const std::string_view name = section_;
        return text.size() == name.size() + 2 && text.front() == '[' && text.back() == ']' &&
               text.substr(1, name.size()) == name;
    }

    void CheckBlank(int line, std::string_view text) {
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
        if (!ReadEntryInto(step_, line.text, shown_, entry_)) {
            Add(Severity::Note, line.lineNumber, "entry-skipped",
                Format("skipped: too few fields (the %s needs %d)", StepTitle(step_), static_cast<int>(layout.fieldCount)));
            return;
        }
        // Every entry gets this note: it is built in place, not formatted.
        message_.assign("entry: ");
        for (std::size_t i = 0; i < entry_.fields.size(); ++i) {
            if (i > 0) {
                message_ += ", ";
            }
            message_ += layout.names[i];
            message_ += " \"";
            message_ += entry_.fields[i];
            message_ += '"';
            if (layout.maps[i] && entry_.paths[i].path != entry_.fields[i]) {
                message_ += " = ";
                message_ += entry_.paths[i].path;
            }
        }
        Add(Severity::Note, line.lineNumber, "entry", message_);
        for (std::size_t i = 0; i < entry_.fields.size(); ++i) {
            if (layout.maps[i] && entry_.paths[i].droppedText) {
                Add(Severity::Warning, line.lineNumber, "dropped-text",
                    Format("%s \"%s\": the text after its third \"%%\" is dropped", layout.names[i],
                           entry_.fields[i].c_str()));
            }
        }
        // A composed path is a directory and part of the line, so only a
        // line this long can make one too long.
        if (line.text.size() + longestTypical_ > kMaxPathChars) {
            if (ReadEntryInto(step_, line.text, typical_, typicalEntry_) && typicalEntry_.TooLong()) {
                Add(Severity::Warning, line.lineNumber, "path-too-long",
                    "a composed path is longer than 259 characters with typical directories: the entry would fail");
            }
        }
        switch (step_) {
            case StepId::Directories:
                JoinPath(entry_.paths[0].path, entry_.fields[1], folder_);
                createdFolders_.Add(folder_);
                break;
            case StepId::Files:
                CheckCopy(line.lineNumber, entry_);
                break;
            case StepId::Registry:
                CheckRegistry(line.lineNumber, entry_);
                break;
            case StepId::Programs:
                CheckShow(line.lineNumber, entry_.fields[2]);
                break;
            default:
                break;
        }
    }

    bool IsContextDirectory(std::string_view folder) const {
        return std::any_of(std::begin(kContextDirectories), std::end(kContextDirectories),
                           [&](ContextDirectory directory) { return folder == shown_.*directory; });
    }

    // Files of one folder mostly come one after another: the last answer
    // is kept.
    bool IsCreated(std::string_view folder) {
        if (folder != lastFolder_) {
            lastFolder_.assign(folder);
            lastFolderCreated_ = createdFolders_.Contains(folder);
        }
        return lastFolderCreated_;
    }

    void CheckCopy(int line, const Entry& entry) {
        const std::string_view folder = FolderOf(entry.paths[1].path);
        if (!folder.empty() && !IsContextDirectory(folder) && !IsCreated(folder)) {
            Add(Severity::Warning, line, "destination-folder",
                Format("no earlier directory entry creates %.*s: the copy fails unless it exists",
                       static_cast<int>(folder.size()), folder.data()));
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

    IFindingSink& sink_;
    IFiles& files_;
    const CheckOptions& options_;
    const char* family_;
    StepId step_;
    const char* section_;
    InstallContext shown_;
    InstallContext typical_;
    std::size_t longestTypical_;
    CreatedFolders& createdFolders_;
    bool duplicateSearch_ = false;
    // Kept from entry to entry for the room they have.
    std::string message_;
    Entry entry_;
    Entry typicalEntry_;
    std::string folder_;
    std::string lastFolder_;
    bool lastFolderCreated_ = false;
};

}  // namespace

void Verdict::Count(Severity severity) {
    warnings_ += severity == Severity::Warning;
    errors_ += severity == Severity::Error;
}

void Verdict::Add(const Verdict& other) {
    warnings_ += other.warnings_;
    errors_ += other.errors_;
}

int Verdict::ExitStatus() const {
    return errors_ > 0 ? 2 : warnings_ > 0 ? 1 : 0;
}

int CheckReport::ExitStatus() const {
    Verdict verdict;
    for (const auto& finding : findings) {
        verdict.Count(finding.severity);
    }
    return verdict.ExitStatus();
}

bool CheckScript(IFiles& files, const std::string& scriptPath, const CheckOptions& options, IFindingSink& sink) {
    const struct {
        bool wanted;
        const char* family;
        std::uint32_t platformId;
    } families[] = {{options.windows9x, "9x", 1}, {options.windowsNt, "nt", kPlatformWindowsNt}};
    CreatedFolders createdFolders;
    for (const auto& family : families) {
        if (!family.wanted) {
            continue;
        }
        createdFolders.Clear();
        for (const StepId step : kSteps) {
            SectionWalk walk(sink, files, options, family.family, family.platformId, step, createdFolders);
            if (!walk.Run(scriptPath)) {
                const std::string message = Format("cannot open %s for reading", scriptPath.c_str());
                sink.Add({Severity::Error, "", "", 0, "unreadable", message});
                return false;
            }
        }
    }
    return true;
}

namespace {

class Collector : public IFindingSink {
public:
    explicit Collector(CheckReport& report) : report_(report) {}

    void Add(const FindingView& finding) override {
        report_.findings.push_back({finding.severity, std::string(finding.family), std::string(finding.section),
                                    finding.line, std::string(finding.kind), std::string(finding.message)});
    }

private:
    CheckReport& report_;
};

}  // namespace

CheckReport CheckScript(IFiles& files, const std::string& scriptPath, const CheckOptions& options) {
    CheckReport report;
    Collector collector(report);
    CheckScript(files, scriptPath, options, collector);
    return report;
}

}  // namespace install::check
