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

// ---- fixed-width lines and line-counted blocks (consumer and card vouchers) ----
namespace ecf {

// The width of a printed report line, in characters.
constexpr int kReportLineWidth = 48;

// The first 48 characters of a line; a shorter line stays as it is, never padded.
std::string cutLine(std::string_view text);

// Splits a text into blocks of at most `linesPerBlock` whole lines, each line with its
// line feed. A last line without a line feed becomes a block of its own, so the whole
// text is always printed. An empty text gives no block.
std::vector<std::string> chunkLines(std::string_view text, std::size_t linesPerBlock);

// One block of a report, written in the order of its layout. Every line ends with a
// single line feed, except what `text` adds.
class ReportBlock {
 public:
  ReportBlock& line(std::string_view text);     // as given
  ReportBlock& cutLine(std::string_view text);  // its first 48 characters
  ReportBlock& centred(std::string_view text);  // centred in 48 columns
  ReportBlock& rule(std::string_view character);  // the character 48 times
  ReportBlock& blankLine();                     // an empty line
  ReportBlock& spaces();                        // a line of 48 spaces
  ReportBlock& text(std::string_view text);     // no line feed of its own

  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

}  // namespace ecf
