// Splitting entries into fields.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/fields.hpp"

namespace install {
namespace {

using Fields = std::optional<std::vector<std::string>>;

TEST(SplitFields, TakesFieldsByTheSeparatorRules) {
    // line, number of fields, separators of the leading fields, fields (nullopt: too few)
    const struct {
        std::string line;
        std::size_t count;
        std::string leading;
        Fields fields;
    } cases[] = {
        {"A,B", 2, ",", std::vector<std::string>{"A", "B"}},
        {"A,,B", 2, ",", std::vector<std::string>{"A", "B"}},
        {",A,B", 2, ",", std::vector<std::string>{"A", "B"}},
        {"A,B,C", 2, ",", std::vector<std::string>{"A", "B"}},
        {"A, B", 2, ",", std::vector<std::string>{"A", " B"}},
        {"A,", 2, ",", std::nullopt},
        {"A", 2, ",", std::nullopt},
        {"A\n", 2, ",", std::nullopt},                 // the first field runs over the LF
        {"A,B\n", 2, ",", std::vector<std::string>{"A", "B"}},
        {"A,B\r\n", 2, ",", std::vector<std::string>{"A", "B"}},
        {"A,\r\n", 2, ",", std::nullopt},
        {"A,\nB", 2, ",", std::vector<std::string>{"A", "B"}},  // separators run together
        {"A B,C D E\n", 2, ",", std::vector<std::string>{"A B", "C D E"}},
        {"R,K,N,T,D1,D2\n", 5, ",", std::vector<std::string>{"R", "K", "N", "T", "D1"}},
        {"R,K,N,T\n", 5, ",", std::nullopt},
        {"T,L,Desc,more\n", 3, ",", std::vector<std::string>{"T", "L", "Desc"}},
        // The program folder step ends both its fields at CR and LF too.
        {"%P%,Network Card\n", 2, ",\r\n", std::vector<std::string>{"%P%", "Network Card"}},
        {"%P%\n,Name\n", 2, ",\r\n", std::vector<std::string>{"%P%", "Name"}},
        {"%P%\n", 2, ",\r\n", std::nullopt},
        {"", 2, ",", std::nullopt},
        {",,,", 2, ",", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitFields(c.line, c.count, c.leading), c.fields)
            << "line: " << testing::PrintToString(c.line);
    }
}

TEST(FieldCursor, UsesUpTheSeparatorThatEndsAField) {
    // A disk prompt: the message ends at "(" or ",", the path at "," or ")".
    FieldCursor cursor("(Insert disk 2,%A%\\DISK2.TAG,#M)\n");
    EXPECT_EQ(cursor.Next("(,"), "Insert disk 2");
    EXPECT_EQ(cursor.Next(",)"), "%A%\\DISK2.TAG");
    EXPECT_EQ(cursor.Next(",)"), "#M");
    EXPECT_EQ(cursor.Next(",)"), "\n");
    EXPECT_EQ(cursor.Next(",)\n"), std::nullopt);
}

}  // namespace
}  // namespace install
