// libFuzzer target over the install script reader: text mode, sections, gate
// lines, disk prompts, field splitting and path variables. Every input is read
// as a script and held against a model of its text taken whole (no streaming,
// no line buffer) and against what every line, field and composed path must
// keep whatever the bytes. A broken rule prints what broke and aborts, which
// libFuzzer saves as a crash.
//
// Input layout: two settings bytes, then the script's bytes.
//   byte 0: bits 0-2 option mask (LAN, modem, manual); bit 3 sets every
//           option bit above those three as well; bits 4-5 platform id (0-3);
//           bit 6 disk prompts on; bit 7 the file fails to read partway.
//   byte 1: bits 0-3 the answers to successive disk prompts (prompt k opens
//           the gate when bit k % 4 is set); bits 4-7 shift the directory
//           lengths of the long context and the short-read chunk sizes. With
//           byte 0 bit 7 it also places the read failure.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/fields.hpp"
#include "engine/install_context.hpp"
#include "engine/path_expansion.hpp"
#include "engine/script_reader.hpp"
#include "engine/text_mode.hpp"
#include "tests/fake/fake_system.hpp"

namespace {

using install::ContextDirectory;
using install::ExpandedPath;
using install::FieldCursor;
using install::InstallContext;
using install::LetterMap;
using install::ScriptLine;
using install::ScriptReader;
using install::StepId;

constexpr const char* kScriptPath = "C:\\WINDOWS\\SETUP.INP";
constexpr const char* kMissingPath = "C:\\WINDOWS\\MISSING.INP";
constexpr std::size_t kMaxLine = install::kMaxPieceChars;
constexpr std::size_t kShortest = 3;

// Text in C escapes, for failure reports.
std::string Show(std::string_view text) {
    std::string shown = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            shown += '\\';
            shown += c;
        } else if (u >= 0x20 && u < 0x7F) {
            shown += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", u);
            shown += escape;
        }
    }
    return shown + "\"";
}

[[noreturn]] void Fail(const char* rule, const std::string& detail) {
    std::fprintf(stderr, "script_fuzz: broken: %s\n  %s\n", rule, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

// detail is only built when the rule is broken.
#define FUZZ_CHECK(rule, detail)      \
    do {                              \
        if (!(rule)) {                \
            Fail(#rule, (detail));    \
        }                             \
    } while (0)

bool Contains(std::string_view set, char c) {
    return set.find(c) != std::string_view::npos;
}

// ---------------------------------------------------------------------------
// The model: the script's text taken whole.

// What the reader should see of the file: its bytes up to a Ctrl-Z, with each
// CR LF pair read as one LF.
std::string TextOf(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\x1A') {
            break;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            text += '\n';
            ++i;
            continue;
        }
        text += c;
    }
    return text;
}

struct Piece {
    std::string text;  // up to its first NUL
    bool endedLine;    // its raw characters ended with an LF
    int lineNumber;
};

// The text cut as a 256-byte line buffer takes it: a piece runs through the
// next LF, or 255 characters, or the end of the text, whichever comes first.
std::vector<Piece> PiecesOf(const std::string& text) {
    std::vector<Piece> pieces;
    int lineNumber = 1;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lf = text.find('\n', at);
        std::size_t length = lf == std::string::npos ? text.size() - at : lf - at + 1;
        length = std::min(length, kMaxLine);
        const std::string raw = text.substr(at, length);
        const bool ended = raw.back() == '\n';
        pieces.push_back({raw.substr(0, raw.find('\0')), ended, lineNumber});
        if (ended) {
            ++lineNumber;
        }
        at += length;
    }
    return pieces;
}

struct Handed {
    ScriptLine::Kind kind;
    std::string text;
    int lineNumber;
};

struct SectionRun {
    bool found = false;
    std::vector<Handed> lines;
};

// Whether the k-th disk prompt of a section is confirmed (opens the gate).
bool PromptAnswer(std::uint8_t answers, std::size_t k) {
    return ((answers >> (k % 4)) & 1) != 0;
}

// A step's section as the grammar has it: it starts after the first header
// holding the name, ends at the next header; short lines and comments count
// for nothing; "#L", "#M", "#O" set the gate from the option bits; disk
// prompts are handed out whatever the gate, entries only while it is open.
SectionRun ModelSection(const std::vector<Piece>& pieces, std::string_view name,
                        std::uint32_t optionMask, bool diskPrompts, std::uint8_t answers) {
    SectionRun run;
    std::size_t i = 0;
    for (; i < pieces.size(); ++i) {
        const std::string& t = pieces[i].text;
        if (t.size() >= kShortest && t[0] == '[' && t.find(name) != std::string::npos) {
            run.found = true;
            ++i;
            break;
        }
    }
    if (!run.found) {
        return run;
    }
    bool gate = true;
    std::size_t prompts = 0;
    for (; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        const std::string& t = piece.text;
        if (t.size() < kShortest || t[0] == ';') {
            continue;
        }
        if (t[0] == '[') {
            break;
        }
        if (t[0] == '#') {
            if (t[1] == 'L') {
                gate = (optionMask & 1) != 0;
            } else if (t[1] == 'M') {
                gate = (optionMask & 2) != 0;
            } else if (t[1] == 'O') {
                gate = (optionMask & 4) != 0;
            }
            continue;
        }
        if (t[0] == '(' && diskPrompts) {
            run.lines.push_back({ScriptLine::Kind::DiskPrompt, t, piece.lineNumber});
            gate = PromptAnswer(answers, prompts++);
            continue;
        }
        if (gate) {
            run.lines.push_back({ScriptLine::Kind::Entry, t, piece.lineNumber});
        }
    }
    return run;
}

// ---------------------------------------------------------------------------
// A file that hands its bytes out in short, uneven reads.

class ChunkedFile : public install::IFile {
public:
    ChunkedFile(std::string_view bytes, std::optional<std::size_t> failAfter,
                std::vector<std::size_t> chunks)
        : bytes_(bytes), failAfter_(failAfter), chunks_(std::move(chunks)) {}

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        FUZZ_CHECK(!finished_, "the text was read on after the file had reported its end");
        if (failAfter_ && position_ >= *failAfter_) {
            finished_ = true;
            return -1;
        }
        std::size_t count = std::min(size, chunks_[reads_++ % chunks_.size()]);
        count = std::min(count, bytes_.size() - position_);
        if (failAfter_) {
            count = std::min(count, *failAfter_ - position_);
        }
        if (count == 0) {
            finished_ = true;
            return 0;
        }
        std::copy_n(bytes_.data() + position_, count, buffer);
        position_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

    bool Write(const char*, std::size_t) override { return false; }

private:
    std::string_view bytes_;
    std::optional<std::size_t> failAfter_;
    std::vector<std::size_t> chunks_;
    std::size_t position_ = 0;
    std::size_t reads_ = 0;
    bool finished_ = false;
};

// Reads the whole text piece by piece and holds it against the model.
void CheckPieces(install::IFile& file, const std::vector<Piece>& expected, const char* how) {
    install::TextReader reader(file);
    std::string piece;
    std::size_t n = 0;
    while (reader.ReadPiece(piece)) {
        FUZZ_CHECK(n < expected.size(),
                   std::string(how) + ": a piece beyond the text's end: " + Show(piece));
        FUZZ_CHECK(piece == expected[n].text,
                   std::string(how) + ": piece " + std::to_string(n) + " " + Show(piece) +
                       ", expected " + Show(expected[n].text));
        FUZZ_CHECK(reader.LastPieceEndedLine() == expected[n].endedLine,
                   std::string(how) + ": piece " + std::to_string(n) + " " + Show(piece) +
                       " line end flag " + std::to_string(reader.LastPieceEndedLine()));
        FUZZ_CHECK(piece.size() <= kMaxLine, std::string(how) + ": piece of " +
                                                 std::to_string(piece.size()) + " characters");
        ++n;
    }
    FUZZ_CHECK(n == expected.size(), std::string(how) + ": " + std::to_string(n) +
                                         " pieces, expected " +
                                         std::to_string(expected.size()));
    // The end of the text is for good, even with bytes left after a Ctrl-Z.
    FUZZ_CHECK(!reader.ReadPiece(piece), std::string(how) + ": a piece after the end: " +
                                             Show(piece));
    FUZZ_CHECK(reader.Get() == -1, std::string(how) + ": a character after the end");
}

// ---------------------------------------------------------------------------
// Fields.

// Walks a line with one separator set and checks that the fields and the
// separators between them make up the whole line: fields are non-empty runs
// of non-separators, as long as they can be, and nothing else is skipped.
std::vector<std::string_view> WalkFields(std::string_view line, std::string_view separators) {
    std::vector<std::string_view> fields;
    FieldCursor cursor(line);
    std::size_t previousEnd = 0;
    while (const auto field = cursor.Next(separators)) {
        FUZZ_CHECK(!field->empty(), "an empty field in " + Show(line));
        FUZZ_CHECK(field->data() >= line.data() &&
                       field->data() + field->size() <= line.data() + line.size(),
                   "a field outside its line " + Show(line));
        const std::size_t start = static_cast<std::size_t>(field->data() - line.data());
        const std::size_t end = start + field->size();
        FUZZ_CHECK(start >= previousEnd, "fields out of order in " + Show(line));
        for (std::size_t i = previousEnd; i < start; ++i) {
            FUZZ_CHECK(Contains(separators, line[i]),
                       "a non-separator skipped at " + std::to_string(i) + " in " + Show(line) +
                           " with separators " + Show(separators));
        }
        for (const char c : *field) {
            FUZZ_CHECK(!Contains(separators, c), "field " + Show(*field) +
                                                     " holds a separator of " +
                                                     Show(separators));
        }
        FUZZ_CHECK(end == line.size() || Contains(separators, line[end]),
                   "field " + Show(*field) + " stops short in " + Show(line));
        FUZZ_CHECK(fields.size() < line.size(), "more fields than characters in " + Show(line));
        fields.push_back(*field);
        previousEnd = end;
    }
    for (std::size_t i = previousEnd; i < line.size(); ++i) {
        FUZZ_CHECK(Contains(separators, line[i]), "text left unread at " + std::to_string(i) +
                                                      " in " + Show(line));
    }
    FUZZ_CHECK(cursor.Rest().empty(), "the cursor kept text after its last field");
    return fields;
}

void CheckSplit(std::string_view line, std::size_t count, std::string_view leading,
                const std::vector<std::string_view>& walked,
                std::unordered_set<std::string>& fields) {
    const auto split = install::SplitFields(line, count, leading);
    const auto what = [&] {
        return "SplitFields(" + Show(line) + ", " + std::to_string(count) + ", " + Show(leading) +
               ")";
    };
    // Every field but the last is taken exactly as the walk with the leading
    // separators takes it. The last starts past the separator that ended the
    // one before it and is the first run of characters other than ",\r\n"
    // there; with no such run, or too few fields before it, there is no split.
    std::optional<std::string_view> last;
    if (walked.size() + 1 >= count) {
        const std::string_view before = walked[count - 2];
        const std::size_t from = std::min(
            line.size(), static_cast<std::size_t>(before.data() - line.data()) + before.size() + 1);
        const std::size_t start = line.find_first_not_of(install::kLastFieldSeparators, from);
        if (start != std::string_view::npos) {
            const std::size_t end = line.find_first_of(install::kLastFieldSeparators, start);
            last = line.substr(start, end == std::string_view::npos ? end : end - start);
        }
    }
    FUZZ_CHECK(split.has_value() == last.has_value(),
               what() + (split ? " split a line with too few fields"
                               : " found too few fields in a line of " +
                                     std::to_string(walked.size())));
    if (!split) {
        return;
    }
    FUZZ_CHECK(split->size() == count, what() + " gave " + std::to_string(split->size()));
    std::size_t searchFrom = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& field = (*split)[i];
        const bool isLast = i + 1 == count;
        const std::string_view separators = isLast ? install::kLastFieldSeparators : leading;
        FUZZ_CHECK(!field.empty(), what() + " field " + std::to_string(i) + " is empty");
        for (const char c : field) {
            FUZZ_CHECK(!Contains(separators, c), what() + " field " + std::to_string(i) + " " +
                                                     Show(field) + " holds a separator");
        }
        const std::size_t at = line.find(field, searchFrom);
        FUZZ_CHECK(at != std::string_view::npos,
                   what() + " field " + std::to_string(i) + " " + Show(field) +
                       " is not the line's text in order");
        searchFrom = at + field.size();
        const std::string_view expected = isLast ? *last : walked[i];
        FUZZ_CHECK(field == expected, what() + " field " + std::to_string(i) + " " +
                                          Show(field) + ", expected " + Show(expected));
        fields.insert(field);
    }
}

// ---------------------------------------------------------------------------
// Path variables.

const LetterMap* const kMaps[] = {
    &install::kDirectoryParentMap, &install::kCopySourceMap, &install::kCopyDestinationMap,
    &install::kDiskCheckMap,       &install::kLinkTargetMap, &install::kLinkFileMap,
    &install::kLaunchCommandMap,
};

// The second run of characters other than "%" in a field: the text that
// follows the variable's name.
std::string_view SecondRun(std::string_view field) {
    std::size_t at = 0;
    for (int run = 0; run < 2; ++run) {
        const std::size_t start = field.find_first_not_of('%', at);
        if (start == std::string_view::npos) {
            return {};
        }
        std::size_t end = field.find('%', start);
        if (end == std::string_view::npos) {
            end = field.size();
        }
        if (run == 1) {
            return field.substr(start, end - start);
        }
        at = end;
    }
    return {};
}

void CheckExpansion(std::string_view field, const LetterMap& map, const InstallContext& context,
                    const char* contextName) {
    const ExpandedPath expanded = install::ExpandPathField(field, map, context);
    const auto what = [&] {
        return std::string("ExpandPathField(") + Show(field) + ", " + map.name + ", " +
               contextName + ") = " + Show(expanded.path);
    };
    FUZZ_CHECK(expanded.tooLong == (expanded.path.size() > install::kMaxPathChars),
               what() + " of " + std::to_string(expanded.path.size()) + " characters, tooLong " +
                   std::to_string(expanded.tooLong));
    if (field.empty() || field[0] != '%') {
        FUZZ_CHECK(expanded.path == field, what() + " changed a plain field");
        return;
    }
    const char letter = field.size() > 1 ? field[1] : '\0';
    const std::string& directory = context.*install::SelectDirectory(map, letter);
    FUZZ_CHECK(expanded.path.size() >= directory.size() &&
                   expanded.path.compare(0, directory.size(), directory) == 0,
               what() + " does not start with its directory " + Show(directory));
    const std::string_view remainder = std::string_view(expanded.path).substr(directory.size());
    FUZZ_CHECK(field.find(remainder) != std::string_view::npos,
               what() + ": remainder " + Show(remainder) + " is not the field's text");
    FUZZ_CHECK(remainder.find('%') == std::string_view::npos,
               what() + ": remainder " + Show(remainder) + " holds a %");
    FUZZ_CHECK(remainder == SecondRun(field),
               what() + ": remainder " + Show(remainder) + ", the field's text after its name is " +
                   Show(SecondRun(field)));
}

// A directory of exactly length characters, its text telling it apart.
std::string Directory(std::size_t length, char fill) {
    std::string text = "C:\\";
    while (text.size() < length) {
        text += text.size() % 9 == 8 ? '\\' : fill;
    }
    text.resize(length);
    return text;
}

struct NamedContext {
    const char* name;
    InstallContext context;
};

std::vector<NamedContext> MakeContexts(unsigned shift) {
    std::vector<NamedContext> contexts(3);

    contexts[0].name = "short";
    InstallContext& plain = contexts[0].context;
    plain.windowsDir = "C:\\WINDOWS";
    plain.systemDir = "C:\\WINDOWS\\SYSTEM";
    plain.desktopDir = "C:\\WINDOWS\\Desktop";
    plain.programsDir = "C:\\WINDOWS\\Start Menu\\Programs";
    plain.userProgramsDir = "C:\\WINDOWS\\Profiles\\user\\Start Menu\\Programs";
    plain.sourceRoot = "D:\\";
    plain.sourceDir = "D:\\SETUP";
    plain.systemRoot = "C:\\";

    // Every directory near the longest a path may be, so that short
    // remainders land on both sides of the limit.
    static constexpr std::size_t kLong[] = {259, 258, 257, 256, 255, 254, 252, 250, 245, 240};
    constexpr std::size_t n = sizeof kLong / sizeof kLong[0];
    contexts[1].name = "long";
    InstallContext& deep = contexts[1].context;
    deep.windowsDir = Directory(kLong[(shift + 0) % n], 'w');
    deep.systemDir = Directory(kLong[(shift + 1) % n], 's');
    deep.desktopDir = Directory(kLong[(shift + 2) % n], 'd');
    deep.programsDir = Directory(kLong[(shift + 3) % n], 'p');
    deep.userProgramsDir = Directory(kLong[(shift + 4) % n], 'u');
    deep.sourceRoot = Directory(kLong[(shift + 5) % n], 'a');
    deep.sourceDir = Directory(kLong[(shift + 6) % n], 'c');
    deep.systemRoot = Directory(kLong[(shift + 7) % n], 'r');

    // Empty and one-character directories, and one already over the limit.
    contexts[2].name = "edge";
    InstallContext& edge = contexts[2].context;
    edge.windowsDir = "";
    edge.systemDir = Directory(260, 's');
    edge.desktopDir = "D";
    edge.programsDir = Directory(259, 'p');
    edge.userProgramsDir = "";
    edge.sourceRoot = "";
    edge.sourceDir = Directory(200, 'c');
    edge.systemRoot = "C";
    return contexts;
}

// ---------------------------------------------------------------------------
// One handed-out line: its fields and their paths.

// expanded holds the fields already expanded for this input.
void CheckLineFields(const std::string& line, bool prompt,
                     const std::vector<NamedContext>& contexts,
                     std::unordered_set<std::string>& expanded) {
    std::vector<std::string_view> separatorSets = {install::kFieldSeparators,
                                                   install::kLastFieldSeparators};
    if (prompt) {
        separatorSets.push_back("(,");
    }
    std::unordered_set<std::string> fields;
    for (const std::string_view separators : separatorSets) {
        const auto walked = WalkFields(line, separators);
        for (const std::size_t count : {2, 3, 5}) {
            CheckSplit(line, count, separators, walked, fields);
        }
        for (const std::string_view field : walked) {
            fields.emplace(field);
        }
    }
    for (const std::string& field : fields) {
        if (!expanded.insert(field).second) {
            continue;
        }
        for (const LetterMap* map : kMaps) {
            for (const NamedContext& named : contexts) {
                CheckExpansion(field, *map, named.context, named.name);
            }
        }
    }
}

struct Settings {
    std::uint32_t optionMask = 0;
    std::uint32_t platformId = 0;
    bool diskPrompts = false;
    std::optional<std::size_t> failAfter;
    std::uint8_t answers = 0;
    unsigned shift = 0;
};

constexpr StepId kSteps[] = {StepId::Directories, StepId::Files,    StepId::Folders,
                             StepId::Links,       StepId::Registry, StepId::Programs};

std::string Describe(const Handed& line) {
    return std::string(line.kind == ScriptLine::Kind::DiskPrompt ? "prompt " : "entry ") +
           std::to_string(line.lineNumber) + " " + Show(line.text);
}

// Reads one step's section with the reader and checks each line it hands out.
void CheckSection(install::fake::FakeSystem& system, ScriptReader& reader, StepId step,
                  const Settings& settings, const std::vector<Piece>& pieces,
                  std::size_t fileSize, const std::vector<NamedContext>& contexts,
                  std::unordered_set<std::string>& linesChecked,
                  std::unordered_set<std::string>& fieldsExpanded) {
    const char* name = install::SectionName(step, settings.platformId);
    FUZZ_CHECK(name != nullptr && *name != '\0', "a step without a section name");
    const std::string section = "section " + Show(name);

    FUZZ_CHECK(reader.Open(kScriptPath), section + ": the script did not open");
    FUZZ_CHECK(reader.IsOpen(), section + ": not open after Open");
    FUZZ_CHECK(system.files.openCount == 1,
               section + ": " + std::to_string(system.files.openCount) + " files open");

    SectionRun got;
    got.found = reader.FindSection(name);
    std::size_t handedChars = 0;
    std::size_t prompts = 0;
    while (auto line = reader.NextLine()) {
        const Handed handed{line->kind, line->text, line->lineNumber};
        const auto what = [&] { return section + ": " + Describe(handed); };
        FUZZ_CHECK(got.found, what() + " handed out although the section was not found");
        FUZZ_CHECK(line->text.size() >= kShortest && line->text.size() <= kMaxLine,
                   what() + " of " + std::to_string(line->text.size()) + " characters");
        FUZZ_CHECK(line->text.find('\0') == std::string::npos, what() + " holds a NUL");
        const char first = line->text[0];
        if (line->kind == ScriptLine::Kind::DiskPrompt) {
            FUZZ_CHECK(settings.diskPrompts && first == '(', what() + " is no disk prompt");
        } else {
            FUZZ_CHECK(first != ';' && first != '[' && first != '#' &&
                           !(settings.diskPrompts && first == '('),
                       what() + " is no entry");
            FUZZ_CHECK(reader.GateOpen(), what() + " handed out through a closed gate");
        }
        if (!got.lines.empty()) {
            const Handed& previous = got.lines.back();
            FUZZ_CHECK(line->lineNumber >= previous.lineNumber,
                       what() + " after line " + std::to_string(previous.lineNumber));
            const bool previousEnded =
                !previous.text.empty() && previous.text.back() == '\n';
            FUZZ_CHECK(!previousEnded || line->lineNumber > previous.lineNumber,
                       what() + " numbered as the line that ended before it");
        } else {
            FUZZ_CHECK(line->lineNumber >= 1, what() + " numbered below 1");
        }
        handedChars += line->text.size();
        FUZZ_CHECK(handedChars <= fileSize, what() + ": " + std::to_string(handedChars) +
                                                " characters handed out from a file of " +
                                                std::to_string(fileSize));
        FUZZ_CHECK(got.lines.size() < pieces.size(), what() + ": more lines than the text holds");

        if (linesChecked.insert(line->text).second) {
            CheckLineFields(line->text, line->kind == ScriptLine::Kind::DiskPrompt, contexts,
                            fieldsExpanded);
        }
        if (line->kind == ScriptLine::Kind::DiskPrompt) {
            reader.SetGate(PromptAnswer(settings.answers, prompts++));
        }
        got.lines.push_back(handed);
    }
    FUZZ_CHECK(!reader.NextLine(), section + ": a line after the section's end");

    const SectionRun expected = ModelSection(pieces, name, settings.optionMask,
                                             settings.diskPrompts, settings.answers);
    FUZZ_CHECK(got.found == expected.found,
               section + ": found " + std::to_string(got.found) + ", expected " +
                   std::to_string(expected.found));
    const std::size_t common = std::min(got.lines.size(), expected.lines.size());
    for (std::size_t i = 0; i < common; ++i) {
        const Handed& a = got.lines[i];
        const Handed& b = expected.lines[i];
        FUZZ_CHECK(a.kind == b.kind && a.text == b.text && a.lineNumber == b.lineNumber,
                   section + ": line " + std::to_string(i) + " " + Describe(a) +
                       ", expected " + Describe(b));
    }
    FUZZ_CHECK(got.lines.size() == expected.lines.size(),
               section + ": " + std::to_string(got.lines.size()) + " lines, expected " +
                   std::to_string(expected.lines.size()) +
                   (got.lines.size() > common ? "; first extra " + Describe(got.lines[common])
                                              : "; first missing " +
                                                    Describe(expected.lines[common])));

    reader.Close();
    FUZZ_CHECK(!reader.IsOpen(), section + ": open after Close");
    FUZZ_CHECK(system.files.openCount == 0,
               section + ": " + std::to_string(system.files.openCount) +
                   " files open after Close");
}

Settings ReadSettings(const std::uint8_t* data, std::size_t size, std::size_t scriptSize) {
    const std::uint8_t b0 = size > 0 ? data[0] : 0;
    const std::uint8_t b1 = size > 1 ? data[1] : 0;
    Settings settings;
    settings.optionMask = b0 & 7u;
    if ((b0 & 0x08) != 0) {
        settings.optionMask |= ~std::uint32_t{7};
    }
    settings.platformId = (b0 >> 4) & 3u;
    settings.diskPrompts = (b0 & 0x40) != 0;
    if ((b0 & 0x80) != 0) {
        settings.failAfter = scriptSize * b1 / 255;
    }
    settings.answers = b1 & 0x0F;
    settings.shift = b1 >> 4;
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t header = std::min<std::size_t>(size, 2);
    const std::string_view bytes(reinterpret_cast<const char*>(data) + header, size - header);
    const Settings settings = ReadSettings(data, size, bytes.size());

    const std::string_view readable =
        settings.failAfter ? bytes.substr(0, *settings.failAfter) : bytes;
    const std::vector<Piece> pieces = PiecesOf(TextOf(readable));

    // Text mode alone, first through reads as short and uneven as a file may
    // give them, then through the in-memory system's whole reads.
    static constexpr std::size_t kChunkSizes[] = {1, 2, 3, 7, 64, 255, 256, 4095, 4096, 5000};
    constexpr std::size_t chunkCount = sizeof kChunkSizes / sizeof kChunkSizes[0];
    std::vector<std::size_t> chunks;
    for (std::size_t i = 0; i < 4; ++i) {
        chunks.push_back(kChunkSizes[(settings.shift + 3 * i) % chunkCount]);
    }
    {
        ChunkedFile file(bytes, settings.failAfter, chunks);
        CheckPieces(file, pieces, "short reads");
    }

    install::fake::FakeSystem system;
    system.files.files[kScriptPath] = std::string(bytes);
    if (settings.failAfter) {
        system.files.failReadAfter[kScriptPath] = *settings.failAfter;
    }
    {
        auto file = system.files.Open(kScriptPath, install::FileMode::Read);
        FUZZ_CHECK(file != nullptr, "the script did not open");
        CheckPieces(*file, pieces, "whole reads");
    }
    FUZZ_CHECK(system.files.openCount == 0, "the script stayed open");

    const std::vector<NamedContext> contexts = MakeContexts(settings.shift);
    std::unordered_set<std::string> linesChecked;
    std::unordered_set<std::string> fieldsExpanded;
    // One reader for every step in turn: opening it again must start afresh.
    ScriptReader reader(system.files, settings.optionMask, settings.diskPrompts);
    for (const StepId step : kSteps) {
        CheckSection(system, reader, step, settings, pieces, bytes.size(), contexts,
                     linesChecked, fieldsExpanded);
    }

    // Opening a missing script leaves nothing open, the one read before
    // included, and nothing to read.
    FUZZ_CHECK(reader.Open(kScriptPath), "the script did not open again");
    FUZZ_CHECK(!reader.Open(kMissingPath), "a missing script opened");
    FUZZ_CHECK(!reader.IsOpen(), "open after a failed Open");
    FUZZ_CHECK(system.files.openCount == 0,
               std::to_string(system.files.openCount) + " files open after a failed Open");
    FUZZ_CHECK(!reader.FindSection(install::SectionName(StepId::Files, settings.platformId)),
               "a section found in a missing script");
    FUZZ_CHECK(!reader.NextLine(), "a line read from a missing script");
    return 0;
}
