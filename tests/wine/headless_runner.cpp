// A test program, not part of the utility: runs the start sequence and the
// six installation steps on the real system, on the script staged in the
// Windows directory, with no wizard. The current directory is the source
// disk folder, as for the utility itself.
//
//   headless_runner.exe [--options=<mask>] [--answers=<id>,<id>...] [--output=<file>]
//
//   --options  the option mask (decimal or 0x hex); 4 when not given
//   --answers  the answers of the message boxes, in order (1 OK, 2 Cancel);
//              a box asked for when none is left is answered Cancel and the
//              program exits with 4
//   --output   where the record goes (see RecordingStatus::Lines), followed
//              by "result <n>"; standard output when not given
//
// Exit code: the installation's result (0 all steps succeeded, 1 a step
// failed), 2 for a bad command line, 3 when the record cannot be written,
// 4 when the answers ran out.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/install_context.hpp"
#include "engine/start_sequence.hpp"
#include "platform/win32/win32_system.hpp"
#include "steps/installation_steps.hpp"
#include "tests/wine/recording_status.hpp"

namespace {

using install::wine_test::RecordingStatus;

struct Options {
    std::uint32_t optionMask = install::OPTION_MANUAL;
    std::vector<int> answers;
    std::optional<std::string> output;
};

std::optional<long long> ParseNumber(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

std::optional<std::vector<int>> ParseAnswers(const std::string& list) {
    std::vector<int> answers;
    std::size_t from = 0;
    while (from < list.size()) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string::npos) {
            comma = list.size();
        }
        const auto answer = ParseNumber(list.substr(from, comma - from));
        if (!answer) {
            return std::nullopt;
        }
        answers.push_back(static_cast<int>(*answer));
        from = comma + 1;
    }
    return answers;
}

std::optional<Options> ParseCommandLine(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto valueOf = [&](const std::string& prefix) -> std::optional<std::string> {
            if (argument.compare(0, prefix.size(), prefix) == 0) {
                return argument.substr(prefix.size());
            }
            return std::nullopt;
        };
        if (const auto mask = valueOf("--options=")) {
            const auto value = ParseNumber(*mask);
            if (!value || *value < 0 || *value > 0xFFFFFFFFLL) {
                return std::nullopt;
            }
            options.optionMask = static_cast<std::uint32_t>(*value);
        } else if (const auto list = valueOf("--answers=")) {
            auto answers = ParseAnswers(*list);
            if (!answers) {
                return std::nullopt;
            }
            options.answers = std::move(*answers);
        } else if (const auto output = valueOf("--output=")) {
            options.output = *output;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = ParseCommandLine(argc, argv);
    if (!options) {
        std::fputs("usage: headless_runner [--options=<mask>] [--answers=<id>,<id>...] "
                   "[--output=<file>]\n",
                   stderr);
        return 2;
    }

    install::win32::Win32System system;
    install::InstallContext context;
    context.optionMask = options->optionMask;
    RecordingStatus status(options->answers);
    const int result =
        install::RunStartSequence(context, system.Seam(), status, install::kInstallationSteps);

    std::FILE* out = options->output ? std::fopen(options->output->c_str(), "wb") : stdout;
    if (out == nullptr) {
        std::fprintf(stderr, "headless run: cannot write %s\n", options->output->c_str());
        return 3;
    }
    for (const std::string& line : status.Lines()) {
        std::fprintf(out, "%s\n", line.c_str());
    }
    std::fprintf(out, "result %d\n", result);
    const bool written = std::fflush(out) == 0 && (out == stdout || std::fclose(out) == 0);
    if (!written) {
        std::fputs("headless run: the record could not be written\n", stderr);
        return 3;
    }
    if (status.AnswersRanOut()) {
        return 4;
    }
    if (status.AnswersLeft() > 0) {
        std::fprintf(stderr, "headless run: %zu answer(s) left unused\n", status.AnswersLeft());
    }
    return result;
}
