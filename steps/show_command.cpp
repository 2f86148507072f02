// The show-command table of the program launch step.
#include "steps/show_command.hpp"

namespace install {

namespace {

struct ShowRow {
    std::string_view name;
    int command;
};

// Scripts rely on these numbers as they are: "SW_SHOW" carries 8 (shown
// without being activated), not the platform's SW_SHOW.
constexpr ShowRow kShowCommands[] = {
    {"SW_HIDE", 0},
    {"SW_MAXIMIZE", 3},
    {"SW_MINIMIZE", 6},
    {"SW_SHOW", 8},
};

constexpr int kNoRow = 6;

}  // namespace

namespace {

const ShowRow* RowFor(std::string_view field) {
    for (const auto& row : kShowCommands) {
        if (row.name.find(field) != std::string_view::npos) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

int ShowCommandFor(std::string_view field) {
    const ShowRow* row = RowFor(field);
    return row ? row->command : kNoRow;
}

std::string_view ShowRowFor(std::string_view field) {
    const ShowRow* row = RowFor(field);
    return row ? row->name : std::string_view();
}

}  // namespace install
