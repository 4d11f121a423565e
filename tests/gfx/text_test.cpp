// The built-in font and the two text operations: placement by the layout
// flags, clipping, background modes, and that the game's texts fit.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "gfx/font.h"
#include "gfx/golden.h"
#include "gfx/surface.h"

namespace kolvane::gfx {
namespace {

using kolvane::testing::matchesGolden;

constexpr Color kGrey(128, 128, 128);

void frame(Surface& s, const Rect& r) {
    const Pen old = s.selectPen(createPen(PenStyle::kSolid, 1, kGrey));
    s.moveTo(r.left - 1, r.top - 1);
    s.lineTo(r.right, r.top - 1);
    s.lineTo(r.right, r.bottom);
    s.lineTo(r.left - 1, r.bottom);
    s.lineTo(r.left - 1, r.top - 1);
    s.selectPen(old);
}

void drawIn(Surface& s, const char* text, const Rect& r, unsigned flags) {
    frame(s, r);
    s.drawText(text, static_cast<std::int32_t>(std::strlen(text)), r, flags);
}

bool sameImage(const Surface& a, const Surface& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    return std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

Surface whiteTextSurface(std::int32_t w, std::int32_t h) {
    Surface s(w, h);
    s.setBkMode(BkMode::kTransparent);
    s.setTextColor(kWhite);
    return s;
}

TEST(FontGlyphs, PrintableGlyphsAreDistinctInkedAndKeepTheBlankColumn) {
    std::set<std::vector<std::uint8_t>> seen;
    for (int c = 33; c <= 126; ++c) {
        const std::uint8_t* g = font::glyph(static_cast<char>(c));
        const std::vector<std::uint8_t> rows(g, g + font::kCellHeight);
        int ink = 0;
        for (std::uint8_t row : rows) {
            EXPECT_EQ(row & 0xC1, 0) << "character " << char(c) << " leaves its 6-pixel cell";
            ink += row != 0 ? 1 : 0;
        }
        EXPECT_GT(ink, 0) << char(c);
        EXPECT_TRUE(seen.insert(rows).second) << char(c) << " looks like another character";
        EXPECT_EQ(g[0] | g[1], 0) << char(c);  // the two top rows stay clear
    }
    const std::uint8_t* space = font::glyph(' ');
    for (int r = 0; r < font::kCellHeight; ++r) EXPECT_EQ(space[r], 0);
}

TEST(FontGlyphs, CharactersOutsideAsciiDrawAsQuestionMarks) {
    EXPECT_EQ(font::glyph('\x01'), font::glyph('?'));
    EXPECT_EQ(font::glyph('\x7f'), font::glyph('?'));
    EXPECT_EQ(font::glyph('\xe9'), font::glyph('?'));
    EXPECT_NE(font::glyph('A'), font::glyph('?'));
}

TEST(FontGlyphs, CapitalsShareHeightAndBaseline) {
    for (char c = 'A'; c <= 'Z'; ++c) {
        const std::uint8_t* g = font::glyph(c);
        EXPECT_EQ(g[2], 0) << c;
        EXPECT_NE(g[3], 0) << c;
        EXPECT_NE(g[9], 0) << c;
        EXPECT_EQ(g[10] | g[11], 0) << c;
    }
    for (char c : std::string("gjpqy")) EXPECT_NE(font::glyph(c)[10], 0) << c;  // descenders
}

TEST(FontSheet, EveryCharacterAndTheGameTexts) {
    Surface s = whiteTextSurface(300, 290);
    std::string all;
    for (int c = 32; c <= 126; ++c) all += static_cast<char>(c);
    for (int line = 0; line < 3; ++line) {
        const std::string part = all.substr(line * 32, 32);
        s.textOut(2, 2 + line * 14, part.c_str(), static_cast<std::int32_t>(part.size()));
    }
    const char* texts[] = {"Score 12345  Lives 3  Level 2",
                           "Missiles 10  Special: Missileburst",
                           "Spreadfire Teleport Superbullet Repulsor",
                           "Arrow keys move, [left] + [right] to brake",
                           "[Space] to shoot, [x] for secondary fire",
                           "Game over",
                           "Press 's' to start",
                           "Tesselmor",
                           "Temporary invincibility",
                           "Marksmanship Award: +750 pts",
                           "Dead  ?  -5 0123456789",
                           "the quick brown fox jumps over the lazy dog",
                           "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG"};
    std::int32_t y = 48;
    for (const char* t : texts) {
        s.textOut(2, y, t, static_cast<std::int32_t>(std::strlen(t)));
        y += 14;
    }
    // The capsule: a "?" on a white disc, as the power-up draws it.
    s.selectPen(Pen{});
    s.selectBrush(kWhiteBrush);
    s.ellipse(270, 250, 290, 270);
    s.setTextColor(kBlack);
    s.textOut(276, 253, "?", 1);
    EXPECT_TRUE(matchesGolden(s, "font_sheet"));
}

TEST(DrawText, EachFlagCombinationAndClipping) {
    Surface s = whiteTextSurface(200, 140);
    drawIn(s, "Flags 0", {4, 4, 96, 30}, 0);
    drawIn(s, "Single", {104, 4, 196, 30}, kDtSingleLine);
    drawIn(s, "VCenter", {4, 36, 96, 62}, kDtSingleLine | kDtVCenter);
    drawIn(s, "Centred", {104, 36, 196, 62}, kDtSingleLine | kDtVCenter | kDtCenter);
    drawIn(s, "Center", {4, 68, 96, 94}, kDtCenter);
    drawIn(s, "NoSingle", {104, 68, 196, 94}, kDtVCenter);  // no vertical centring
    drawIn(s, "Clipped on the right", {4, 100, 60, 130}, 0);
    drawIn(s, "Wider", {104, 100, 120, 106}, kDtSingleLine | kDtVCenter | kDtCenter);
    drawIn(s, "Past the edge", {150, 120, 230, 150}, kDtSingleLine | kDtVCenter);
    EXPECT_TRUE(matchesGolden(s, "text_flags"));
}

TEST(DrawText, OpaqueAndTransparentBackgrounds) {
    Surface s(120, 60);
    s.ellipse(0, 0, 120, 60);  // something to draw over
    s.setTextColor(Color(255, 0, 0));
    s.setBkColor(Color(0, 0, 255));
    s.textOut(6, 6, "Opaque", 6);
    s.drawText("Clip", 4, {70, 10, 85, 20}, 0);  // the background is clipped too
    s.setBkMode(BkMode::kTransparent);
    s.textOut(6, 30, "Transparent", 11);
    s.textOut(-9, 45, "Off the edge", 12);
    EXPECT_TRUE(matchesGolden(s, "text_modes"));
}

TEST(DrawText, CentringUsesTruncatingHalves) {
    // Free space 160 - 54 = 106 and 60 - 12 = 48: the text goes 53 and 24 in.
    Surface centred = whiteTextSurface(300, 120);
    centred.drawText("Game over", 9, {20, 10, 180, 70}, 0x25);
    Surface placed = whiteTextSurface(300, 120);
    placed.textOut(73, 34, "Game over", 9);
    EXPECT_TRUE(sameImage(centred, placed));

    // Odd free space: 17 - 6 = 11 and 19 - 12 = 7 give 5 and 3.
    centred = whiteTextSurface(40, 40);
    centred.drawText("7", 1, {2, 1, 19, 20}, 0x25);
    placed = whiteTextSurface(40, 40);
    placed.textOut(7, 4, "7", 1);
    EXPECT_TRUE(sameImage(centred, placed));
}

TEST(DrawText, NegativeFreeSpaceCentresAndClips) {
    // 10 - 18 = -8 halves to -4; 6 - 12 = -6 halves to -3.
    Surface centred = whiteTextSurface(60, 40);
    centred.drawText("ABC", 3, {20, 10, 30, 16}, 0x25);
    Surface placed = whiteTextSurface(60, 40);
    placed.textOut(16, 7, "ABC", 3);
    bool inkInside = false;
    for (std::int32_t y = 0; y < 40; ++y) {
        for (std::int32_t x = 0; x < 60; ++x) {
            const bool inRect = x >= 20 && x < 30 && y >= 10 && y < 16;
            ASSERT_EQ(centred.pixel(x, y), inRect ? placed.pixel(x, y) : kBlack) << x << "," << y;
            inkInside = inkInside || (inRect && placed.pixel(x, y) == kWhite);
        }
    }
    EXPECT_TRUE(inkInside);
}

TEST(DrawText, HudLineSitsInsideItsBand) {
    Surface s = whiteTextSurface(740, 40);
    s.drawText("Missileburst", 12, {405, 1, 500, 20}, kDtSingleLine | kDtVCenter);
    Surface unclipped = whiteTextSurface(740, 40);
    unclipped.textOut(405, 4, "Missileburst", 12);
    EXPECT_TRUE(sameImage(s, unclipped));  // nothing was cut off
    for (std::int32_t y = 0; y < 40; ++y) {
        for (std::int32_t x = 0; x < 740; ++x) {
            if (s.pixel(x, y) != kWhite) continue;
            ASSERT_TRUE(y >= 1 && y < 20 && x >= 405 && x < 500) << x << "," << y;
        }
    }
}

TEST(DrawText, HelpLinesFitTheirRectangles) {
    const char* lines[] = {"Arrow keys move, [left] + [right] to brake",
                           "[Space] to shoot, [x] for secondary fire"};
    const Rect rects[] = {{10, 510, 270, 530}, {10, 530, 260, 560}};
    for (int i = 0; i < 2; ++i) {
        const auto n = static_cast<std::int32_t>(std::strlen(lines[i]));
        Surface s = whiteTextSurface(740, 580);
        s.drawText(lines[i], n, rects[i], kDtSingleLine);
        Surface unclipped = whiteTextSurface(740, 580);
        unclipped.textOut(rects[i].left, rects[i].top, lines[i], n);
        EXPECT_TRUE(sameImage(s, unclipped)) << lines[i];
    }
}

TEST(DrawText, NegativeLengthMeansZeroTerminatedAndEmptyTextDrawsNothing) {
    Surface a = whiteTextSurface(60, 20);
    a.drawText("Lives", -1, {0, 0, 60, 20}, 0);
    Surface b = whiteTextSurface(60, 20);
    b.drawText("Lives", 5, {0, 0, 60, 20}, 0);
    EXPECT_TRUE(sameImage(a, b));
    Surface c(60, 20);
    c.drawText("", 0, {0, 0, 60, 20}, 0);
    c.drawText(nullptr, 3, {0, 0, 60, 20}, 0);
    c.textOut(0, 0, "abc", 0);
    c.textOut(0, 0, "abc", -1);
    for (std::int32_t i = 0; i < 60 * 20; ++i) ASSERT_EQ(c.pixels()[i], 0u);
}

TEST(TextOut, CellTopLeftAtThePointAndNonAsciiAsQuestionMark) {
    Surface a = whiteTextSurface(30, 20);
    a.textOut(3, 2, "A\x01", 2);
    Surface b = whiteTextSurface(30, 20);
    b.textOut(3, 2, "A", 1);
    b.textOut(9, 2, "?", 1);
    EXPECT_TRUE(sameImage(a, b));
    // Capital A: its top row is row 3 of the cell, its stem in the cell's column 1.
    EXPECT_EQ(a.pixel(4, 5 + 1), kWhite);
    EXPECT_EQ(a.pixel(3, 6), kBlack);
    EXPECT_EQ(a.pixel(5, 4), kBlack);
    EXPECT_EQ(a.pixel(5, 5), kWhite);
}

}  // namespace
}  // namespace kolvane::gfx
