#include "search/ByteSearch.h"

#include <gtest/gtest.h>
#include <string>

namespace qb {
namespace {

// The result as an offset, -1 for none, compared with std::string::find at
// every offset and length around the 16-byte steps.
long offsetOf(const std::string& haystack, std::size_t from, std::size_t to,
              const std::string& needle) {
    const char* found = findBytes(haystack.data() + from, haystack.data() + to, needle);
    return found ? long(found - haystack.data()) : -1;
}

TEST(ByteSearchTest, AgreesWithAPlainSearchEverywhere) {
    for (const std::string needle : {"x", "xy", "xyz", "xaax", "x0123456789abcdefy", "xx"}) {
        for (std::size_t length = 0; length < 70; ++length) {
            for (std::size_t at = 0; at + needle.size() <= length; ++at) {
                std::string haystack(length, 'a');
                haystack.replace(at, needle.size(), needle);
                // A near miss before it: the first and last bytes alone.
                if (needle.size() > 2 && at >= needle.size()) {
                    haystack[0] = needle.front();
                    haystack[needle.size() - 1] = needle.back();
                }
                SCOPED_TRACE(needle + " in " + haystack);
                EXPECT_EQ(offsetOf(haystack, 0, length, needle), long(haystack.find(needle)));
                // Never past the end it is given.
                EXPECT_EQ(offsetOf(haystack, 0, at + needle.size() - 1, needle),
                          long(haystack.substr(0, at + needle.size() - 1).find(needle)));
            }
            EXPECT_EQ(offsetOf(std::string(length, 'a'), 0, length, needle), -1);
        }
    }
}

TEST(ByteSearchTest, StartsWhereItIsTold) {
    const std::string haystack = "abc abc abc";
    EXPECT_EQ(offsetOf(haystack, 1, haystack.size(), "abc"), 4);
    EXPECT_EQ(offsetOf(haystack, 9, haystack.size(), "abc"), -1);
}

} // namespace
} // namespace qb
