// Names compared ignoring case are compared in place when they are ASCII; the answer must
// be the one the full folding of both texts gives, character for character.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "base/utf8.h"

namespace ecf {
namespace {

// The definitions the comparisons must agree with.
bool foldedEqual(std::string_view a, std::string_view b) { return upperCase(a) == upperCase(b); }
bool foldedEqualWithoutAccents(std::string_view a, std::string_view b) {
  return foldCaseAndAccents(a) == foldCaseAndAccents(b);
}

TEST(Utf8, ComparingIgnoringCaseAgreesWithFullFolding) {
  // a, b, equal ignoring case, equal ignoring case and accents
  const std::vector<std::tuple<std::string, std::string, bool, bool>> cases = {
      {"", "", true, true},
      {"NomeProduto", "NOMEPRODUTO", true, true},
      {"nomeproduto", "NomeProdutoX", false, false},
      {"ESQUEMACOR", "esquemacor ", false, false},
      {"[a]", "[A]", true, true},
      {"@", "`", false, false},              // neighbours of the letters are not letters
      {"{", "[", false, false},
      {"Refeição", "REFEIÇÃO", true, true},  // accented letters after an ASCII start
      {"Refeição", "REFEICAO", false, true},
      {"ÿ", "Ÿ", true, true},                // case forms from different Unicode blocks
      {"ÿ", "Y", false, true},
      {"œuvre", "ŒUVRE", true, true},
      {"Cartão", "Cartões", false, false},
      {"ABC", "ABCé", false, false},         // one text ends where the other goes on
      {"ABCé", "ABC", false, false},
      {"\xFF", "\xFF", true, true},          // malformed bytes kept as they are
      {"\xFF", "?", false, false},
      {"a\xC3", "A\xC3", true, true},        // truncated sequence at the end
      {"ß", "SS", false, false},
  };
  for (const auto& [a, b, ignoringCase, ignoringAccents] : cases) {
    EXPECT_EQ(equalsIgnoreCase(a, b), ignoringCase) << a << " / " << b;
    EXPECT_EQ(equalsIgnoreCase(b, a), ignoringCase) << b << " / " << a;
    EXPECT_EQ(foldedEqual(a, b), ignoringCase) << "definition: " << a << " / " << b;
    EXPECT_EQ(equalsIgnoreCaseAndAccents(a, b), ignoringAccents) << a << " / " << b;
    EXPECT_EQ(foldedEqualWithoutAccents(a, b), ignoringAccents) << "definition: " << a;
  }
}

// Random texts mixing ASCII, accented letters and malformed bytes, each compared with a
// variant of itself in other letter case or accents.
TEST(Utf8, ComparingIgnoringCaseAgreesWithFullFoldingOnRandomTexts) {
  const std::vector<std::string> pieces = {"a", "A", "z", "Z", "0", " ", "@", "[", "ã", "Ã",
                                           "a", "ç", "Ç", "c", "ÿ", "Ÿ", "y", "é", "E", "\xFF",
                                           "\xC3", "€", "ß", "œ", "Œ"};
  std::mt19937 random(1812);
  int equalPairs = 0;
  for (int round = 0; round < 5000; ++round) {
    std::string a, b;
    const unsigned length = random() % 6;
    for (unsigned i = 0; i < length; ++i) {
      const std::string& piece = pieces[random() % pieces.size()];
      a += piece;
      // b mostly follows a in the other letter case, sometimes strays
      const unsigned choice = random() % 4;
      b += choice == 0 ? pieces[random() % pieces.size()]
                       : (choice == 1 ? lowerCase(piece) : upperCase(piece));
    }
    if (random() % 8 == 0) b += pieces[random() % pieces.size()];
    ASSERT_EQ(equalsIgnoreCase(a, b), foldedEqual(a, b)) << a << " / " << b;
    ASSERT_EQ(equalsIgnoreCaseAndAccents(a, b), foldedEqualWithoutAccents(a, b))
        << a << " / " << b;
    equalPairs += foldedEqual(a, b) ? 1 : 0;
  }
  // Both answers must have come up often for the agreement to mean something.
  EXPECT_GT(equalPairs, 500);
  EXPECT_LT(equalPairs, 4500);
}

// Name comparison tells texts of different sizes apart before folding them: that holds only
// while changing the case of a character never changes its length in bytes.
TEST(Utf8, ChangingCaseKeepsEveryCharactersLengthInBytes) {
  const auto utf8 = [](long code) {
    std::string out;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
  };
  std::vector<std::string> texts;
  for (long code = 1; code < 0x800; ++code) texts.push_back(utf8(code));
  for (const long code : {0x20AC, 0x2122, 0x1E9E, 0x212A}) texts.push_back(utf8(code));
  for (int byte = 0x80; byte <= 0xFF; ++byte) texts.emplace_back(1, static_cast<char>(byte));
  texts.emplace_back("\xE2\x82");  // truncated
  for (const std::string& text : texts) {
    ASSERT_EQ(upperCase(text).size(), text.size()) << text;
    ASSERT_EQ(lowerCase(text).size(), text.size()) << text;
  }
}

}  // namespace
}  // namespace ecf
