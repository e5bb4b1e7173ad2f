// How report writers lay their text into printer blocks: one block per ImprimeTexto call.
// Lengths count characters, never bytes, and never split one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ecf {

// The longest block a writer prints in one call; whatever lies beyond is dropped.
constexpr std::size_t kBlockCharacters = 620;
// A free text is gathered line by line until its block reaches this many characters.
constexpr std::size_t kFreeTextBlockCharacters = 500;

// The first 620 characters of the block.
std::string cutBlock(std::string_view block);

// Splits a free text into blocks at line feeds: whole lines (each with its line feed;
// the last one possibly without) are gathered until the block holds 500 characters or
// more, then a new block starts. A line longer than that stays whole in its block.
// An empty text gives no block.
std::vector<std::string> chunkFreeText(std::string_view text);

}  // namespace ecf

// ---- lines of the cash-closing receipts and the product report ----
#include "ecf/settings.h"

namespace ecf {

// The printed width of the closing receipts and the product report, in characters.
constexpr int kClosingLineWidth = 48;

// An amount in fixed notation: two decimals, at most 15 significant digits, no thousands
// separator, the host's decimal separator, "-" before a negative: 1234.5 -> "1234,50".
std::string fixedAmount(double value, const HostSettings& settings);

// A block written line by line, each line ended by a line feed, as the report prints it.
class LineBlock {
 public:
  LineBlock& line(std::string_view text);
  LineBlock& emptyLine() { return line(""); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace ecf
