// DrawTextA on a window's GDI surface: measuring, prefixes, alignment,
// clipping and backgrounds.
#include "tests/about/about_test_support.h"

#include <gtest/gtest.h>

using namespace about_test;

namespace {

class DrawTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        window = MakeWhiteParent(200, 60);
        PaintNow(window);
        dc = GetDC(window);
        SetTextColor(dc, 0x00000000);
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override { ReleaseDC(window, dc); }

    RECT Measure(const char* text, UINT format = 0) {
        RECT r{10, 10, 10, 10};
        DrawTextA(dc, text, -1, &r, format | DT_CALCRECT);
        return r;
    }

    headless::Frame Read() {
        headless::Frame frame;
        EXPECT_TRUE(headless::ReadWindowSurface(window, &frame));
        return frame;
    }

    HWND window = nullptr;
    HDC dc = nullptr;
};

TEST_F(DrawTextTest, MeasuresWithoutDrawing) {
    RECT r = Measure("Exit", DT_SINGLELINE);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_GT(r.right - r.left, 12);
    EXPECT_LT(r.right - r.left, 40);
    EXPECT_EQ(r.bottom - r.top, 13);  // the GUI font: 8 points at 96 dpi
    EXPECT_FALSE(BoxOf(Read(), IsNotWhite).found);
}

TEST_F(DrawTextTest, PrefixesAreTakenOutOfTheText) {
    struct Case {
        const char* text;
        UINT format;
        const char* sameWidthAs;
    };
    const Case cases[] = {
        {"&Exit", 0, "Exit"},
        {"E&xit", DT_SINGLELINE, "Exit"},
        {"a&&b", 0, "a&b"},
        {"ab&", 0, "ab"},
        {"&Exit", DT_NOPREFIX, "&Exit"},
    };
    for (const Case& c : cases) {
        RECT with = Measure(c.text, c.format);
        RECT plain = Measure(c.sameWidthAs, DT_NOPREFIX);
        EXPECT_EQ(with.right - with.left, plain.right - plain.left) << c.text;
    }
}

TEST_F(DrawTextTest, LinesStackUnlessSingleLine) {
    EXPECT_EQ(Measure("a\nb").bottom - 10, 26);
    EXPECT_EQ(Measure("a\r\nb").bottom - 10, 26);
    EXPECT_EQ(Measure("a\nb", DT_SINGLELINE).bottom - 10, 13);
    RECT narrow{0, 0, 30, 0};
    DrawTextA(dc, "one two three", -1, &narrow, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(narrow.bottom, 39);
}

TEST_F(DrawTextTest, PrefixUnderlinesOnlyItsCharacter) {
    RECT r{0, 0, 200, 60};
    DrawTextA(dc, "&MMMM", -1, &r, DT_SINGLELINE);
    headless::Frame frame = Read();
    Box all = BoxOf(frame, IsNotWhite);
    ASSERT_TRUE(all.found);
    // The lowest row of ink is the underline, under the first M only.
    int row = all.bottom - 1;
    int inked = 0;
    for (int x = 0; x < frame.width; ++x) {
        inked += IsNotWhite(frame.Pixel(x, row)) ? 1 : 0;
    }
    int mWidth = Measure("M").right - 10;
    EXPECT_EQ(inked, mWidth);
    EXPECT_LT(inked * 3, all.right - all.left);
}

TEST_F(DrawTextTest, AlignsInTheRectangle) {
    struct Case {
        UINT format;
        int expectLeft;   // -1: do not check
        int expectRight;  // -1: do not check
        bool middle;
    };
    const Case cases[] = {
        {DT_SINGLELINE, 0, -1, false},
        {DT_SINGLELINE | DT_RIGHT, -1, 200, false},
        {DT_SINGLELINE | DT_CENTER | DT_VCENTER, -1, -1, true},
        {DT_SINGLELINE | DT_BOTTOM, -1, -1, false},
    };
    for (const Case& c : cases) {
        PaintNow(window);
        RECT r{0, 0, 200, 60};
        int height = DrawTextA(dc, "Wide", -1, &r, c.format);
        Box ink = BoxOf(Read(), IsNotWhite);
        ASSERT_TRUE(ink.found);
        if (c.expectLeft >= 0) {
            EXPECT_LE(ink.left, c.expectLeft + 1);
        }
        if (c.expectRight >= 0) {
            EXPECT_GE(ink.right, c.expectRight - 2);
        }
        if (c.middle) {
            EXPECT_NEAR((ink.left + ink.right) / 2, 100, 2);
            EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, 3);
            EXPECT_EQ(height, (60 - 13) / 2 + 13);  // from the top down to the text's bottom
        }
        if ((c.format & DT_BOTTOM) != 0) {
            EXPECT_GE(ink.bottom, 60 - 4);
        }
    }
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessNoClip) {
    RECT r{0, 0, 8, 60};
    DrawTextA(dc, "Wide text", -1, &r, DT_SINGLELINE);
    EXPECT_LE(BoxOf(Read(), IsNotWhite).right, 8);
    PaintNow(window);
    DrawTextA(dc, "Wide text", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(BoxOf(Read(), IsNotWhite).right, 20);
}

TEST_F(DrawTextTest, OpaqueModeFillsTheTextCell) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, 0x00C0C0C0);
    RECT r{0, 0, 200, 60};
    DrawTextA(dc, "Exit", -1, &r, DT_SINGLELINE);
    RECT size = Measure("Exit", DT_SINGLELINE);
    int width = size.right - size.left;
    headless::Frame frame = Read();
    // The top row of the cell holds no ink: only the background, as wide as
    // the text advances (glyphs may reach a little beyond).
    for (int x = 0; x < width + 4; ++x) {
        const uint8_t* p = frame.Pixel(x, 0);
        EXPECT_EQ(p[0], x < width ? 0xC0 : 0xFF) << x;
    }
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(frame.Pixel(0, y)[0], y < 13 ? 0xC0 : 0xFF) << y;
    }
}

TEST_F(DrawTextTest, UnderlinedFontUnderlinesEverything) {
    LOGFONTA font{};
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    font.lfUnderline = TRUE;
    HFONT underlined = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(dc, underlined);
    EXPECT_NE(previous, nullptr);
    RECT r{0, 0, 200, 60};
    DrawTextA(dc, "MMMM", -1, &r, DT_SINGLELINE);
    headless::Frame frame = Read();
    Box ink = BoxOf(frame, IsNotWhite);
    for (int x = ink.left; x < ink.right; ++x) {
        EXPECT_TRUE(IsNotWhite(frame.Pixel(x, ink.bottom - 1))) << x;
    }
    EXPECT_EQ(SelectObject(dc, previous), underlined);
    DeleteObject(underlined);
}

TEST_F(DrawTextTest, BadArgumentsDrawNothing) {
    RECT r{0, 0, 200, 60};
    EXPECT_EQ(DrawTextA(nullptr, "x", -1, &r, 0), 0);
    EXPECT_EQ(DrawTextA(reinterpret_cast<HDC>(0x7777), "x", -1, &r, 0), 0);
    EXPECT_EQ(DrawTextA(dc, nullptr, -1, &r, 0), 0);
    EXPECT_EQ(DrawTextA(dc, "x", -1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(dc, "x", -5, &r, 0), 0);
    EXPECT_EQ(DrawTextA(dc, "", -1, &r, 0), 0);
    EXPECT_FALSE(BoxOf(Read(), IsNotWhite).found);
    // A count shorter than the string draws only that much.
    RECT one = Measure("W");
    RECT counted{10, 10, 10, 10};
    DrawTextA(dc, "Wide", 1, &counted, DT_CALCRECT);
    EXPECT_EQ(counted.right, one.right);
}

}  // namespace
