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

// ---- Blocks built line by line ----
// A report writer gathers the lines of a block here and prints the block in one call.

// The width of a printed report line, in characters.
constexpr int kReportLineWidth = 48;

class ReportBlock {
 public:
  // The text and a line feed.
  ReportBlock& line(std::string_view text);
  ReportBlock& blankLine() { return line(""); }
  // A line of `count` "-" characters (a full line by default).
  ReportBlock& dashes(int count = kReportLineWidth);
  // The text centred in a full line.
  ReportBlock& centred(std::string_view text);

  bool empty() const { return text_.empty(); }
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

 private:
  std::string text_;
};

}  // namespace ecf

// ---- full-width rules of the restaurant tickets ----
namespace ecf {

// `character` repeated across the whole line, then a line feed: the blank and hyphen
// rules that frame the tickets' headings and totals.
std::string fullWidthLine(std::string_view character);

}  // namespace ecf
