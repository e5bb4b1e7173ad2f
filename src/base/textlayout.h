// Fixed-width layout of texts for printed lines. Every width counts characters, never
// bytes, and a cut never splits a character. A negative width counts as 0.
#pragma once

#include <string>
#include <string_view>

namespace ecf {

// Exactly `width` characters: cut, or padded with spaces after the text.
std::string padRight(std::string_view text, int width);
// Exactly `width` characters: cut (keeping the start), or padded with spaces before.
std::string padLeftFixed(std::string_view text, int width);
// Padded with spaces before up to `width` characters; a longer text is kept whole.
std::string padLeft(std::string_view text, int width);
// Padded with `fill` before up to `width` characters; a longer text is kept whole.
std::string fillLeft(std::string_view text, int width, char fill = '0');
// Exactly `width` characters, filled with `fill` before. A longer text keeps its last
// `width` characters, as a counter display keeps its low-order digits:
// ("123456789", 6) -> "456789".
std::string fitLeft(std::string_view text, int width, char fill = '0');
// `text` (normally one character) repeated `count` times.
std::string replicate(std::string_view text, int count);
// Centred in exactly `width` characters: (width - length) / 2 spaces before, the rest
// after; a longer text is cut to `width`.
std::string centre(std::string_view text, int width);

// Blanks (spaces only) removed from the end, the start, or both.
std::string rtrim(std::string_view text);
std::string ltrim(std::string_view text);
std::string trim(std::string_view text);

}  // namespace ecf
