#include "nonfiscal/report_blocks.h"

#include <utility>

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

std::vector<std::string> chunkLines(std::string_view text, std::size_t linesPerBlock) {
  std::vector<std::string> blocks;
  std::string block;
  std::size_t lines = 0;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t lineFeed = text.find('\n', position);
    if (lineFeed == std::string_view::npos) break;
    block += text.substr(position, lineFeed + 1 - position);
    position = lineFeed + 1;
    if (++lines == linesPerBlock) {
      blocks.push_back(std::move(block));
      block.clear();
      lines = 0;
    }
  }
  if (!block.empty()) blocks.push_back(std::move(block));
  // A trailing part with no line feed would never make a whole line: it goes alone.
  if (position < text.size()) blocks.emplace_back(text.substr(position));
  return blocks;
}

}  // namespace ecf
