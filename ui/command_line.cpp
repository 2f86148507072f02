// The program's command line: its arguments and the unattended switch.
#include "ui/command_line.hpp"

namespace install {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Where the arguments begin: just past the program path.
std::size_t ArgumentsStart(std::string_view commandLine) {
    if (commandLine.empty() || commandLine.front() != '"') {
        const std::size_t blank = commandLine.find_first_of(" \t");
        return blank == std::string_view::npos ? commandLine.size() : blank;
    }
    const std::size_t path = commandLine.find_first_not_of('"');
    if (path == std::string_view::npos) {
        return commandLine.size();
    }
    const std::size_t closing = commandLine.find('"', path);
    return closing == std::string_view::npos ? commandLine.size() : closing + 1;
}

}  // namespace

std::vector<std::string> CommandLineArguments(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string argument;
    // An argument may be nothing but a pair of quotes; it still counts.
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = ArgumentsStart(commandLine); i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (IsBlank(c) && !quoted) {
            if (inArgument) {
                arguments.push_back(std::move(argument));
                argument.clear();
                inArgument = false;
            }
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

bool IsUnattendedRun(std::string_view commandLine) {
    for (const std::string& argument : CommandLineArguments(commandLine)) {
        if (argument == "/S" || argument == "/s") {
            return true;
        }
    }
    return false;
}

}  // namespace install
