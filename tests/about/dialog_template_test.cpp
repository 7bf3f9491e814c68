// Reading the about box's template and refusing damaged ones.
#include "platform/core/dialog.h"
#include "platform/core/dialog_template.h"
#include "platform/core/resources.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<BYTE> AboutTemplateBytes() {
    layer::ResourceData resource;
    EXPECT_TRUE(layer::FindResourceData(OSTREL_RT_DIALOG, MAKEINTRESOURCEA(2003), &resource));
    return std::vector<BYTE>(resource.data, resource.data + resource.size);
}

const char* ClassOf(const layer::DialogItemTemplate& item) {
    return item.windowClass.isOrdinal ? layer::PredefinedClassName(item.windowClass.ordinal)
                                      : item.windowClass.text.c_str();
}

TEST(DialogTemplate, AboutTemplateReadsAsWritten) {
    std::vector<BYTE> bytes = AboutTemplateBytes();
    layer::DialogTemplate t;
    ASSERT_TRUE(layer::ParseDialogTemplate(bytes.data(), bytes.size(), &t));
    EXPECT_EQ(t.style, 0x80800040u);
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, -20);
    EXPECT_EQ(t.y, -20);
    EXPECT_EQ(t.cx, 218);
    EXPECT_EQ(t.cy, 192);
    EXPECT_EQ(t.title, "");
    EXPECT_TRUE(t.menu.text.empty() && !t.menu.isOrdinal);
    EXPECT_TRUE(t.windowClass.text.empty() && !t.windowClass.isOrdinal);
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.weight, 400);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charSet, 1);
    EXPECT_EQ(t.typeface, "MS Sans Serif");

    struct Item {
        DWORD id;
        const char* className;
        DWORD style;
        DWORD exStyle;
        short x, y, cx, cy;
    };
    const Item expected[] = {
        {1007, "Static", 0x50020000, WS_EX_TRANSPARENT, 39, 161, 141, 11},
        {2003, "Static", 0x5000000E, 0, 0, 0, 218, 192},
        {IDOK, "Button", 0x50010001, 0, 82, 175, 57, 17},
    };
    ASSERT_EQ(t.items.size(), std::size(expected));
    for (size_t i = 0; i < t.items.size(); ++i) {
        const layer::DialogItemTemplate& item = t.items[i];
        const Item& e = expected[i];
        EXPECT_EQ(item.id, e.id);
        ASSERT_NE(ClassOf(item), nullptr) << i;
        EXPECT_STRCASEEQ(ClassOf(item), e.className);
        EXPECT_EQ(item.style, e.style) << i;
        EXPECT_EQ(item.exStyle, e.exStyle) << i;
        EXPECT_EQ(item.x, e.x) << i;
        EXPECT_EQ(item.y, e.y) << i;
        EXPECT_EQ(item.cx, e.cx) << i;
        EXPECT_EQ(item.cy, e.cy) << i;
    }
    EXPECT_FALSE(t.items[0].title.isOrdinal);
    EXPECT_EQ(t.items[0].title.text, "");
    EXPECT_TRUE(t.items[1].title.isOrdinal);
    EXPECT_EQ(t.items[1].title.ordinal, 117);
    EXPECT_EQ(t.items[2].title.text, "Exit");
}

// Every cut of the template is refused, never read past.
TEST(DialogTemplate, TruncatedTemplatesAreRefused) {
    std::vector<BYTE> bytes = AboutTemplateBytes();
    for (size_t size = 0; size < bytes.size(); ++size) {
        // A copy of exactly `size` bytes, so that a read past it is caught.
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size));
        layer::DialogTemplate t;
        // The last item's extra count is the only field that may be missing
        // at the very end; anything shorter than that is malformed.
        EXPECT_FALSE(layer::ParseDialogTemplate(cut.data(), cut.size(), &t)) << size;
    }
    layer::DialogTemplate t;
    EXPECT_FALSE(layer::ParseDialogTemplate(nullptr, 100, &t));
}

TEST(DialogTemplate, DamagedHeadersAreRefused) {
    struct Damage {
        const char* what;
        size_t offset;
        WORD value;
    };
    const Damage cases[] = {
        {"version 0", 0, 0},
        {"version 2", 0, 2},
        {"plain template signature", 2, 0},
        {"more items than bytes", 16, 0xFFFF},
    };
    for (const Damage& d : cases) {
        std::vector<BYTE> bytes = AboutTemplateBytes();
        bytes[d.offset] = LOBYTE(d.value);
        bytes[d.offset + 1] = LOBYTE(d.value >> 8);
        layer::DialogTemplate t;
        EXPECT_FALSE(layer::ParseDialogTemplate(bytes.data(), bytes.size(), &t)) << d.what;
    }
}

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {-20, 6, 4, -30},  {-20, 13, 8, -33}, {175, 13, 8, 284}, {57, 6, 4, 86},  {17, 13, 8, 28},
        {218, 6, 4, 327},  {192, 13, 8, 312}, {5, 3, -2, -8},    {-5, 3, -2, 8},  {7, 1, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(layer::RoundedMulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

}  // namespace
