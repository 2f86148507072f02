// Reading the staged install script: lines, sections and the option gate.
#include "engine/script_reader.hpp"

#include "engine/install_context.hpp"

namespace install {

namespace {

struct SectionNames {
    const char* windows9x;
    const char* windowsNt;
};

// Indexed by StepId.
constexpr SectionNames kSectionNames[] = {
    {"Win9X Dirs", "WinNT Dirs"},       {"Win9X Files", "WinNT Files"},
    {"Win9X Folders", "WinNT Folders"}, {"Win9X Links", "WinNT Links"},
    {"Win9X Regs", "WinNT Regs"},       {"Win9X Exes", "WinNT Exes"},
};

// Lines shorter than this, their LF counted, are ignored everywhere.
constexpr std::size_t kShortestLine = 3;

}  // namespace

const char* SectionName(StepId step, std::uint32_t platformId) {
    const SectionNames& names = kSectionNames[static_cast<int>(step)];
    return platformId == kPlatformWindowsNt ? names.windowsNt : names.windows9x;
}

LineKind ClassifyLine(std::string_view piece, bool diskPrompts) {
    if (piece.size() < kShortestLine) {
        return LineKind::Short;
    }
    switch (piece[0]) {
        case ';':
            return LineKind::Comment;
        case '[':
            return LineKind::Header;
        case '#':
            return LineKind::Gate;
        case '(':
            return diskPrompts ? LineKind::DiskPrompt : LineKind::Entry;
        default:
            return LineKind::Entry;
    }
}

std::uint32_t OptionBitForLetter(char letter) {
    switch (letter) {
        case 'L':
            return OPTION_LAN;
        case 'M':
            return OPTION_MODEM;
        case 'O':
            return OPTION_MANUAL;
        default:
            return 0;
    }
}

bool ApplyGateLine(std::string_view line, std::uint32_t optionMask, bool gateOpen) {
    const std::uint32_t bit = line.size() < 2 ? 0 : OptionBitForLetter(line[1]);
    return bit == 0 ? gateOpen : (optionMask & bit) != 0;
}

ScriptReader::ScriptReader(IFiles& files, std::uint32_t optionMask, bool diskPrompts)
    : files_(files), optionMask_(optionMask), diskPrompts_(diskPrompts) {}

bool ScriptReader::Open(const std::string& path) {
    Close();
    file_ = files_.Open(path, FileMode::Read);
    if (!file_) {
        return false;
    }
    text_ = std::make_unique<TextReader>(*file_);
    gateOpen_ = true;
    sectionEnded_ = false;
    nextLineNumber_ = 1;
    part_ = nextPart_ = 0;
    return true;
}

void ScriptReader::Close() {
    text_.reset();
    file_.reset();
}

bool ScriptReader::ReadLine(std::string& piece, int& lineNumber) {
    if (!text_ || !text_->ReadPiece(piece)) {
        return false;
    }
    lineNumber = nextLineNumber_;
    part_ = nextPart_;
    if (text_->LastPieceEndedLine()) {
        ++nextLineNumber_;
        nextPart_ = 0;
    } else {
        ++nextPart_;
    }
    return true;
}

void ScriptReader::PassOverLinesWithout(char mark) {
    if (!text_) {
        return;
    }
    if (const std::size_t lines = text_->SkipLinesWithout(mark); lines > 0) {
        nextLineNumber_ += static_cast<int>(lines);
        nextPart_ = 0;
    }
}

void ScriptReader::Report(ReaderEvent::Kind kind, std::string_view text, int lineNumber) {
    if (observer_) {
        observer_->OnLine(ReaderEvent{kind, text, lineNumber, gateOpen_, part_});
    }
}

bool ScriptReader::FindSection(std::string_view name) {
    std::string piece;
    int lineNumber = 0;
    for (;;) {
        // Only a piece that begins with "[" can be a header: lines without
        // one are passed over unread.
        PassOverLinesWithout('[');
        if (!ReadLine(piece, lineNumber)) {
            break;
        }
        if (ClassifyLine(piece, diskPrompts_) == LineKind::Header && piece.find(name) != std::string::npos) {
            gateOpen_ = true;
            sectionEnded_ = false;
            Report(ReaderEvent::Kind::Header, piece, lineNumber);
            return true;
        }
    }
    sectionEnded_ = true;
    return false;
}

std::optional<ScriptLine> ScriptReader::NextLine() {
    std::string piece;
    int lineNumber = 0;
    while (!sectionEnded_ && ReadLine(piece, lineNumber)) {
        switch (ClassifyLine(piece, diskPrompts_)) {
            case LineKind::Short:
            case LineKind::Comment:
                Report(ReaderEvent::Kind::Ignored, piece, lineNumber);
                break;
            case LineKind::Header:
                sectionEnded_ = true;
                Report(ReaderEvent::Kind::SectionEnd, piece, lineNumber);
                break;
            case LineKind::Gate:
                gateOpen_ = ApplyGateLine(piece, optionMask_, gateOpen_);
                Report(ReaderEvent::Kind::Gate, piece, lineNumber);
                break;
            case LineKind::DiskPrompt:
                Report(ReaderEvent::Kind::Handed, piece, lineNumber);
                return ScriptLine{ScriptLine::Kind::DiskPrompt, std::move(piece), lineNumber};
            case LineKind::Entry:
                if (gateOpen_) {
                    Report(ReaderEvent::Kind::Handed, piece, lineNumber);
                    return ScriptLine{ScriptLine::Kind::Entry, std::move(piece), lineNumber};
                }
                Report(ReaderEvent::Kind::Skipped, piece, lineNumber);
                break;
        }
    }
    sectionEnded_ = true;
    return std::nullopt;
}

}  // namespace install
