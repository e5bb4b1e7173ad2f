// UTF-8 text as the module counts it: by characters (code points), never by bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ecf {

// The text with every malformed sequence replaced by "?" (overlong forms, surrogates,
// truncated sequences, stray continuation bytes). Valid text comes back unchanged.
std::string repairUtf8(std::string_view text);
bool isValidUtf8(std::string_view text);
// Appends one character, a code point up to U+10FFFF, in UTF-8.
void appendUtf8(long code, std::string& out);
// Whether every byte is ASCII: such text reads the same in UTF-8 and Windows-1252.
bool isAscii(std::string_view text);
// Whether the text is one or more of the digits 0 to 9, and nothing else: how a printer
// counter, code or date part is told from an empty or garbled answer.
bool isDigits(std::string_view text);

// Number of characters of (possibly malformed) text; a malformed byte counts as one.
std::size_t charCount(std::string_view text);
// Characters [start, start + count) counted from 0; never splits a character.
std::string charSubstr(std::string_view text, std::size_t start,
                       std::size_t count = std::string_view::npos);
// Byte offset of character index `chars` (the end of the text when beyond it).
std::size_t byteOffsetOfChar(std::string_view text, std::size_t chars);

// Upper and lower case of the ASCII and Latin-1 letters (á → Á, ç → Ç, õ → Õ ...).
std::string upperCase(std::string_view text);
std::string lowerCase(std::string_view text);
// Equality ignoring letter case, accented Latin letters included.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Upper case with the accents of the Latin letters removed (ã → A, Ç → C), so that names
// typed with and without accents compare equal ("Cartão" and "CARTAO").
std::string foldCaseAndAccents(std::string_view text);
bool equalsIgnoreCaseAndAccents(std::string_view a, std::string_view b);

// Byte offset of the first occurrence of `needle` ignoring case, or npos.
std::size_t findIgnoreCase(std::string_view haystack, std::string_view needle);

// Windows-1252 conversion. A character with no 8-bit form becomes "?".
std::string utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view cp1252);

}  // namespace ecf
