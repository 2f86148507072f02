// Reading the staged install script for one step: its lines, the step's
// section and the option gate.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/system/files.hpp"
#include "engine/text_mode.hpp"

namespace install {

enum class StepId { Directories, Files, Folders, Links, Registry, Programs };

// The section a step reads: platform 2 selects the Windows NT name, any
// other value the Windows 95/98 name.
const char* SectionName(StepId step, std::uint32_t platformId);

// Longest piece of a line judged at once: a 256-byte buffer less its NUL.
inline constexpr std::size_t kMaxPieceChars = 255;

struct ScriptLine {
    enum class Kind { Entry, DiskPrompt };
    Kind kind;
    std::string text;  // the piece as read, its LF included
    int lineNumber;    // 1-based line of the file the piece starts on
};

class ScriptReader {
public:
    // optionMask feeds the gate lines; diskPrompts says whether "(" lines
    // are disk prompts (the file copy step) or plain entries.
    ScriptReader(IFiles& files, std::uint32_t optionMask, bool diskPrompts);

    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }

    // Reads from the start of the file to the first header that contains
    // name (case-sensitive substring); false at end of file.
    bool FindSection(std::string_view name);

    // The next line of the section the step acts on, or nullopt at the end
    // of the section. Short lines and comments are skipped, gate lines set
    // the gate, entries are skipped while the gate is closed; disk prompts
    // are given whatever the gate.
    std::optional<ScriptLine> NextLine();

    bool GateOpen() const { return gateOpen_; }
    // A confirmed disk prompt opens the option gate again.
    void SetGate(bool open) { gateOpen_ = open; }

    void Close();

private:
    bool ReadLine(std::string& piece, int& lineNumber);

    IFiles& files_;
    std::uint32_t optionMask_;
    bool diskPrompts_;
    std::unique_ptr<IFile> file_;
    std::unique_ptr<TextReader> text_;
    bool gateOpen_ = true;
    bool sectionEnded_ = false;
    int nextLineNumber_ = 1;
};

// How a line that counts is judged by its first character.
enum class LineKind { Short, Comment, Header, Gate, DiskPrompt, Entry };
LineKind ClassifyLine(std::string_view piece, bool diskPrompts);

// The option bit a gate letter reads: L, M, O; 0 for any other character.
std::uint32_t OptionBitForLetter(char letter);

// The gate's state after a gate line: letters L, M and O read their option
// bit; any other second character leaves the gate as it was.
bool ApplyGateLine(std::string_view line, std::uint32_t optionMask, bool gateOpen);

}  // namespace install
