// LoadStringA over the string table of the resources.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(LoadString, CopiesAtMostOneLessThanTheBufferAndTerminates) {
    struct Case {
        UINT id;
        int bufferMax;
        int expectedLength;
        const char* expected;
    };
    const Case cases[] = {
        {1, 64, 19, "Ostrel Screen Saver"},
        {1, 20, 19, "Ostrel Screen Saver"},
        {1, 19, 18, "Ostrel Screen Save"},
        {1, 7, 6, "Ostrel"},
        {1, 1, 0, ""},
        {2, 64, 0, ""},       // the same block, no such string
        {17, 64, 0, ""},      // a block that does not exist
        {70000, 64, 0, ""},   // beyond 16-bit ids
    };
    for (const Case& c : cases) {
        char buffer[80];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), c.id, buffer, c.bufferMax), c.expectedLength) << c.id;
        EXPECT_STREQ(buffer, c.expected) << c.id << " " << c.bufferMax;
        EXPECT_EQ(buffer[c.bufferMax], '#') << "wrote past the buffer";
    }
}

TEST(LoadString, RefusesMissingBuffers) {
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 1, nullptr, 10), 0);
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 1, buffer, 0), 0);
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 1, buffer, -3), 0);
    EXPECT_EQ(buffer[0], '#');
}

}  // namespace
