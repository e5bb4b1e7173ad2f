// How a report's text is split into printer blocks: one block per ImprimeTexto call.
// Lengths count characters, never bytes, and never split one. The lines of a block are
// written with ReportBlock (nonfiscal/report_lines.h).
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

// Splits a text into blocks of at most `linesPerBlock` whole lines, each line with its
// line feed. A last line without a line feed becomes a block of its own, so the whole
// text is always printed. An empty text gives no block. The consumer and card vouchers
// print their texts so.
std::vector<std::string> chunkLines(std::string_view text, std::size_t linesPerBlock);

}  // namespace ecf
