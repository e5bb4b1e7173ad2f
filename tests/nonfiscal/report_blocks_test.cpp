// How report writers lay text into printer blocks: the 620-character cut and the
// free-text chunking at line boundaries, counted in characters.
//
// The helpers are internal to the module (its symbols are hidden), so their source is
// compiled into this program.
#include "nonfiscal/report_blocks.cpp"
#include "nonfiscal/report_lines.cpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

std::vector<std::size_t> characterSizes(const std::vector<std::string>& blocks) {
  std::vector<std::size_t> sizes;
  for (const std::string& block : blocks) sizes.push_back(ecf::charCount(block));
  return sizes;
}

std::string joined(const std::vector<std::string>& blocks) {
  std::string text;
  for (const std::string& block : blocks) text += block;
  return text;
}

TEST(BlockCut, KeepsTheFirst620CharactersWithoutSplittingOne) {
  EXPECT_EQ(ecf::cutBlock(repeat("x", 700)), repeat("x", 620));
  EXPECT_EQ(ecf::cutBlock(repeat("x", 620)), repeat("x", 620));
  EXPECT_EQ(ecf::cutBlock("Total\n"), "Total\n");
  EXPECT_EQ(ecf::cutBlock(""), "");

  // Two bytes per character: a byte count would stop at 310 characters or mid-character.
  const std::string accented = ecf::cutBlock(repeat("ç", 700));
  EXPECT_EQ(accented, repeat("ç", 620));
  EXPECT_TRUE(ecf::isValidUtf8(accented));
  EXPECT_EQ(ecf::cutBlock(repeat("a", 619) + "ção"), repeat("a", 619) + "ç");
}

TEST(FreeTextChunks, GatherWholeLinesUntilABlockReaches500Characters) {
  EXPECT_TRUE(ecf::chunkFreeText("").empty());
  EXPECT_EQ(ecf::chunkFreeText("A\nB"), std::vector<std::string>{"A\nB"});

  // 100 lines of 11 characters and a line feed: 42 lines make the first 504.
  const std::string hundredLines = repeat("abcdefghijk\n", 100);
  const std::vector<std::string> blocks = ecf::chunkFreeText(hundredLines);
  EXPECT_EQ(characterSizes(blocks), (std::vector<std::size_t>{504, 504, 192}));
  EXPECT_EQ(joined(blocks), hundredLines);
  EXPECT_EQ(blocks[0], repeat("abcdefghijk\n", 42));

  // A block of exactly 500 closes there, and no empty block follows it.
  EXPECT_EQ(characterSizes(ecf::chunkFreeText(repeat("123456789\n", 50))),
            std::vector<std::size_t>{500});
  EXPECT_EQ(characterSizes(ecf::chunkFreeText(repeat("123456789\n", 51))),
            (std::vector<std::size_t>{500, 10}));
}

TEST(FreeTextChunks, KeepLongLinesWholeAndTheLastLineWithoutItsLineFeed) {
  const std::string longLine = repeat("L", 600) + "\n";
  EXPECT_EQ(ecf::chunkFreeText(longLine + "x\ny"),
            (std::vector<std::string>{longLine, "x\ny"}));
  // The rest of a text without a final line feed joins the block being gathered.
  EXPECT_EQ(ecf::chunkFreeText(repeat("123456789\n", 49) + "tail"),
            std::vector<std::string>{repeat("123456789\n", 49) + "tail"});
  // Carriage returns are text like any other: only the line feed ends a line.
  EXPECT_EQ(ecf::chunkFreeText("a\r\nb\r\n"), std::vector<std::string>{"a\r\nb\r\n"});
}

TEST(FreeTextChunks, CountCharactersNotBytes) {
  // 40 lines of 12 characters are 480 characters (but 920 bytes): one block.
  const std::string accentedLines = repeat("ççççççççççç\n", 40);
  EXPECT_EQ(ecf::chunkFreeText(accentedLines), std::vector<std::string>{accentedLines});
  EXPECT_EQ(characterSizes(ecf::chunkFreeText(repeat("ççççççççççç\n", 50))),
            (std::vector<std::size_t>{504, 96}));
}

}  // namespace

// ---- fixed-width lines and line-counted blocks (consumer and card vouchers) ----
namespace {

TEST(LineBlocks, WholeLinesGoFourAtATimeAndATrailingPartAlone) {
  EXPECT_TRUE(ecf::chunkLines("", 4).empty());
  EXPECT_EQ(ecf::chunkLines("\n\n", 4), std::vector<std::string>{"\n\n"});
  EXPECT_EQ(ecf::chunkLines("a\nb\nc\nd\n", 4), std::vector<std::string>{"a\nb\nc\nd\n"});
  EXPECT_EQ(ecf::chunkLines("a\nb\nc\nd\ne", 4),
            (std::vector<std::string>{"a\nb\nc\nd\n", "e"}));
  EXPECT_EQ(ecf::chunkLines("só uma linha", 4), std::vector<std::string>{"só uma linha"});
}

TEST(LineBlocks, LinesAreCutTo48CharactersNeverPadded) {
  EXPECT_EQ(ecf::ReportBlock().appendCut(repeat("é", 50)).text(), repeat("é", 48));
  EXPECT_EQ(ecf::ReportBlock().appendCut("curta").text(), "curta");
  EXPECT_EQ(ecf::ReportBlock().centred("ab").dashes().blankLine().spaces().append("fim").text(),
            repeat(" ", 23) + "ab" + repeat(" ", 23) + "\n" + repeat("-", 48) + "\n\n" +
                repeat(" ", 48) + "\nfim");
}

}  // namespace
