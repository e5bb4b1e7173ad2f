// Printed lines are laid out by characters: an accented name must never shift a column
// or be cut in the middle of a letter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/textlayout.h"
#include "base/utf8.h"

namespace ecf {
namespace {

const std::string kBread = "Pão de queijo";  // 13 characters, 14 bytes
const std::string kAcai = "Açaí 500ml";      // 10 characters, 12 bytes

TEST(TextLayout, FixedWidthsCountCharactersNotBytes) {
  EXPECT_EQ(padRight(kBread, 19), "Pão de queijo      ");
  EXPECT_EQ(charCount(padRight(kBread, 19)), 19u);
  EXPECT_EQ(padRight(kBread, 3), "Pão");
  EXPECT_EQ(padLeftFixed(kAcai, 12), "  Açaí 500ml");
  EXPECT_EQ(padLeftFixed(kAcai, 3), "Aça");
  EXPECT_EQ(padLeft(kAcai, 12), "  Açaí 500ml");
  EXPECT_EQ(padLeft(kAcai, 4), kAcai) << "PadL never cuts";
  EXPECT_EQ(padRight(kAcai, -5), "");
}

TEST(TextLayout, CutsNeverSplitACharacter) {
  for (int width = 0; width <= 16; ++width) {
    for (const std::string& text : {kBread, kAcai}) {
      for (const std::string& laid : {padRight(text, width), padLeftFixed(text, width),
                                      centre(text, width)}) {
        EXPECT_TRUE(isValidUtf8(laid)) << text << " at " << width;
        EXPECT_EQ(charCount(laid), static_cast<std::size_t>(width)) << text << " at " << width;
      }
    }
  }
  EXPECT_EQ(padRight(kAcai, 2), "Aç");
  EXPECT_EQ(padRight(kAcai, 4), "Açaí");
}

TEST(TextLayout, CentreSplitsTheSpaceWithTheOddOneAfter) {
  EXPECT_EQ(centre(kAcai, 15), "  Açaí 500ml   ");
  EXPECT_EQ(centre(kBread, 48), std::string(17, ' ') + kBread + std::string(18, ' '));
  EXPECT_EQ(centre(kBread, 2), "Pã");
  EXPECT_EQ(centre("", 4), "    ");
}

TEST(TextLayout, ZeroFillsAndCounters) {
  EXPECT_EQ(fillLeft("123", 6), "000123");
  EXPECT_EQ(fillLeft("1234567", 6), "1234567") << "AjustaZero never cuts";
  EXPECT_EQ(fitLeft("1234", 6), "001234");
  EXPECT_EQ(fitLeft("123456789", 6), "456789") << "a counter keeps its low-order digits";
  EXPECT_EQ(fitLeft("", 4), "0000");
  EXPECT_EQ(fitLeft("Açaí", 3, '*'), "çaí");
  EXPECT_EQ(fillLeft("ã", 3, '*'), "**ã");
}

TEST(TextLayout, ReplicateAndTrim) {
  EXPECT_EQ(replicate("-", 48), std::string(48, '-'));
  EXPECT_EQ(charCount(replicate("═", 3)), 3u);
  EXPECT_EQ(replicate("=", 0), "");
  EXPECT_EQ(replicate("=", -1), "");
  EXPECT_EQ(rtrim("  Pão  "), "  Pão");
  EXPECT_EQ(ltrim("  Pão  "), "Pão  ");
  EXPECT_EQ(trim("  Pão  "), "Pão");
  EXPECT_EQ(trim("    "), "");
  EXPECT_EQ(rtrim("a\t"), "a\t") << "only spaces are trimmed";
}

TEST(Utf8, Windows1252BothWays) {
  const std::string text = "Pão € ç Ç õ Ü";
  const std::string eightBit = utf8ToCp1252(text);
  EXPECT_EQ(eightBit, "P\xE3o \x80 \xE7 \xC7 \xF5 \xDC");
  EXPECT_EQ(cp1252ToUtf8(eightBit), text);
  EXPECT_EQ(utf8ToCp1252("a日b✓"), "a?b?") << "characters with no 8-bit form";
  EXPECT_EQ(cp1252ToUtf8("x\x81y"), "x?y") << "a byte Windows-1252 leaves undefined";
  EXPECT_EQ(cp1252ToUtf8("\x93ok\x94"), "“ok”");
}

TEST(Utf8, MalformedTextIsRepairedAndCountedSafely) {
  EXPECT_EQ(repairUtf8("ab\xC3"), "ab?") << "truncated sequence";
  EXPECT_EQ(repairUtf8("\xC0\xAF"), "??") << "overlong form";
  EXPECT_EQ(repairUtf8("x\xED\xA0\x80y"), "x???y") << "surrogate";
  EXPECT_EQ(repairUtf8("\x80z"), "?z") << "stray continuation byte";
  EXPECT_EQ(repairUtf8(kBread), kBread);
  EXPECT_FALSE(isValidUtf8("ab\xC3"));
  EXPECT_EQ(charCount("ab\xC3"), 3u);
  EXPECT_EQ(charCount(padRight("ab\xC3\xA7\xFF", 6)), 6u);
}

// Well-formed runs and ASCII runs are copied whole: what lies at their edges must still be
// replaced or converted one character at a time.
TEST(Utf8, RepairAndConversionAtTheEdgesOfRuns) {
  struct Case {
    std::string text, repaired, eightBit;
    bool ascii;
  };
  const std::vector<Case> cases = {
      {"", "", "", true},
      {"VendaDeItem", "VendaDeItem", "VendaDeItem", true},
      {"ção", "ção", "\xE7\xE3o", false},                       // starts with accents
      {"Pão", "Pão", "P\xE3o", false},
      {"café", "café", "caf\xE9", false},                       // ends with one
      {"€5", "€5", "\x80" "5", false},
      {"a日b", "a日b", "a?b", false},                             // no 8-bit form
      {"\xFF", "?", "?", false},                                // malformed alone
      {"ab\xFF\xFE" "cd", "ab??cd", "ab??cd", false},         // two in a row
      {"x\xC3", "x?", "x?", false},                             // truncated at the end
      {"\xC3\xA7\xC3", "ç?", "\xE7?", false},
      {"a\x7F\x01z", "a\x7F\x01z", "a\x7F\x01z", true},         // control characters
      {std::string("a\0b", 3), std::string("a\0b", 3), std::string("a\0b", 3), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(repairUtf8(c.text), c.repaired) << c.text;
    EXPECT_EQ(utf8ToCp1252(c.text), c.eightBit) << c.text;
    EXPECT_EQ(isAscii(c.text), c.ascii) << c.text;
    EXPECT_EQ(isValidUtf8(c.text), repairUtf8(c.text) == c.text) << c.text;
  }
}

TEST(Utf8, CaseCoversAccentedLetters) {
  EXPECT_EQ(upperCase("pão de queijo açaí"), "PÃO DE QUEIJO AÇAÍ");
  EXPECT_EQ(lowerCase("AÇÃO"), "ação");
  EXPECT_TRUE(equalsIgnoreCase("Relatório", "RELATÓRIO"));
  EXPECT_FALSE(equalsIgnoreCase("Relatorio", "RELATÓRIO"));
  EXPECT_EQ(findIgnoreCase("Cartão de CRÉDITO", "crédito"), 11u);
}

}  // namespace
}  // namespace ecf
