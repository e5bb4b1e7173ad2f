#include "nonfiscal/report_blocks.h"

#include <utility>

#include "base/textlayout.h"
#include "base/utf8.h"

namespace ecf {

std::string cutBlock(std::string_view block) { return charSubstr(block, 0, kBlockCharacters); }

std::vector<std::string> chunkFreeText(std::string_view text) {
  std::vector<std::string> blocks;
  std::string block;
  std::size_t blockCharacters = 0;
  std::size_t position = 0;
  while (position < text.size()) {
    // A line feed byte never occurs inside a multi-byte character, so lines split by bytes.
    const std::size_t lineFeed = text.find('\n', position);
    const std::size_t lineEnd = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
    const std::string_view line = text.substr(position, lineEnd - position);
    block += line;
    blockCharacters += charCount(line);
    position = lineEnd;
    if (blockCharacters >= kFreeTextBlockCharacters) {
      blocks.push_back(std::move(block));
      block.clear();
      blockCharacters = 0;
    }
  }
  if (!block.empty()) blocks.push_back(std::move(block));
  return blocks;
}

// ---- Blocks built line by line ----

ReportBlock& ReportBlock::line(std::string_view text) {
  text_ += text;
  text_ += '\n';
  return *this;
}

ReportBlock& ReportBlock::dashes(int count) { return line(replicate("-", count)); }

ReportBlock& ReportBlock::centred(std::string_view text) {
  return line(centre(text, kReportLineWidth));
}

}  // namespace ecf

// ---- full-width rules of the restaurant tickets ----
namespace ecf {

std::string fullWidthLine(std::string_view character) {
  return replicate(character, kReportLineWidth) + "\n";
}

}  // namespace ecf
