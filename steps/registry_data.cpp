// Registry data conversion of the registry step.
#include "steps/registry_data.hpp"

namespace install {

std::uint32_t DwordFromText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    return negative ? 0u - value : value;
}

std::string RegistryData(std::string_view type, std::string_view text) {
    if (type == "REG_DWORD") {
        const std::uint32_t value = DwordFromText(text);
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return bytes;
    }
    std::string bytes(text);
    // String values are stored with their terminator, as readers of the
    // registry expect.
    if (type == "REG_SZ" || type == "REG_EXPAND_SZ") {
        bytes.push_back('\0');
    } else if (type == "REG_MULTI_SZ") {
        bytes.append(2, '\0');
    }
    return bytes;
}

}  // namespace install
