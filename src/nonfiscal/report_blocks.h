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

// One block of a report, written in the order of its layout. Every line ends with a single
// line feed, except what `append` adds.
class ReportBlock {
 public:
  ReportBlock& line(std::string_view text);       // as given
  ReportBlock& blankLine() { return line(""); }   // an empty line
  ReportBlock& dashes(int count = kReportLineWidth);  // `count` "-" characters
  ReportBlock& centred(std::string_view text);    // centred in 48 columns
  ReportBlock& cutLine(std::string_view text);    // its first 48 characters
  ReportBlock& rule(std::string_view character);  // the character 48 times
  ReportBlock& spaces();                          // a line of 48 spaces
  ReportBlock& append(std::string_view text);     // no line feed of its own

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

// ---- fixed-width lines and line-counted blocks (consumer and card vouchers) ----
namespace ecf {

// The first 48 characters of a line; a shorter line stays as it is, never padded.
std::string cutLine(std::string_view text);

// Splits a text into blocks of at most `linesPerBlock` whole lines, each line with its
// line feed. A last line without a line feed becomes a block of its own, so the whole
// text is always printed. An empty text gives no block.
std::vector<std::string> chunkLines(std::string_view text, std::size_t linesPerBlock);

}  // namespace ecf
