#include "base/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace ecf {
namespace {

// Decodes one character at `pos`; sets `length` to the bytes it takes. Returns -1
// for a malformed sequence (length is then 1).
long decodeAt(std::string_view text, std::size_t pos, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t extra = 0;
  long code = 0;
  long minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code = lead & 0x07, minimum = 0x10000;
  } else {
    return -1;
  }
  if (pos + extra >= text.size()) return -1;
  for (std::size_t i = 1; i <= extra; ++i) {
    const unsigned char c = byte(pos + i);
    if ((c & 0xC0) != 0x80) return -1;
    code = (code << 6) | (c & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
  length = extra + 1;
  return code;
}


// Calls fn(code, bytes) for each character; malformed bytes come as code -1.
template <class Fn>
void forEachChar(std::string_view text, Fn fn) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t length = 1;
    const long code = decodeAt(text, pos, length);
    fn(code, text.substr(pos, length));
    pos += length;
  }
}

// Code points of 0x80..0x9F in Windows-1252 (0 where the byte is undefined).
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

long upperOf(long c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c == 0x153) return 0x152;
  if (c == 0x161) return 0x160;
  if (c == 0x17E) return 0x17D;
  return c;
}

long lowerOf(long c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c == 0x152) return 0x153;
  if (c == 0x160) return 0x161;
  if (c == 0x17D) return 0x17E;
  return c;
}

// The base letter of an upper-case accented Latin letter; any other character as it is.
long baseLetterOf(long c) {
  if (c >= 0xC0 && c <= 0xC5) return 'A';
  if (c == 0xC7) return 'C';
  if (c >= 0xC8 && c <= 0xCB) return 'E';
  if (c >= 0xCC && c <= 0xCF) return 'I';
  if (c == 0xD1) return 'N';
  if ((c >= 0xD2 && c <= 0xD6) || c == 0xD8) return 'O';
  if (c >= 0xD9 && c <= 0xDC) return 'U';
  if (c == 0xDD || c == 0x178) return 'Y';
  if (c == 0x160) return 'S';
  if (c == 0x17D) return 'Z';
  return c;
}

// The end of the well-formed characters starting at `pos`: the text's end, or the first
// malformed byte.
std::size_t wellFormedRunEnd(std::string_view text, std::size_t pos) {
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    std::size_t length = 1;
    if (decodeAt(text, pos, length) < 0) break;
    pos += length;
  }
  return pos;
}

// The end of the ASCII bytes starting at `pos`.
std::size_t asciiRunEnd(std::string_view text, std::size_t pos) {
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
  return pos;
}

// The Windows-1252 byte of a character, "?" when it has none (or is malformed).
char cp1252Byte(long code) {
  if (code >= 0 && (code < 0x80 || (code >= 0xA0 && code <= 0xFF))) {
    return static_cast<char>(code);
  }
  for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
    if (code > 0 && kCp1252High[i] == code) return static_cast<char>(0x80 + i);
  }
  return '?';
}

template <class Map>
std::string mapChars(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  forEachChar(text, [&](long code, std::string_view bytes) {
    if (code < 0) {
      out += bytes;
    } else {
      appendUtf8(map(code), out);
    }
  });
  return out;
}

}  // namespace

void appendUtf8(long code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string repairUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    // Well-formed runs are copied whole: most texts are one run.
    const std::size_t end = wellFormedRunEnd(text, pos);
    out.append(text.data() + pos, end - pos);
    pos = end;
    if (pos < text.size()) {
      out += '?';
      ++pos;  // a malformed sequence is replaced byte by byte
    }
  }
  return out;
}

bool isValidUtf8(std::string_view text) { return wellFormedRunEnd(text, 0) == text.size(); }

bool isAscii(std::string_view text) { return asciiRunEnd(text, 0) == text.size(); }

bool isDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::size_t charCount(std::string_view text) {
  std::size_t count = 0;
  forEachChar(text, [&](long, std::string_view) { ++count; });
  return count;
}

std::size_t byteOffsetOfChar(std::string_view text, std::size_t chars) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < chars && pos < text.size(); ++i) {
    std::size_t length = 1;
    decodeAt(text, pos, length);
    pos += length;
  }
  return pos;
}

std::string charSubstr(std::string_view text, std::size_t start, std::size_t count) {
  const std::size_t from = byteOffsetOfChar(text, start);
  const std::string_view rest = text.substr(from);
  if (count == std::string_view::npos) return std::string(rest);
  return std::string(rest.substr(0, byteOffsetOfChar(rest, count)));
}

std::string upperCase(std::string_view text) { return mapChars(text, upperOf); }
std::string lowerCase(std::string_view text) { return mapChars(text, lowerOf); }

namespace {

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// Compares the ASCII start of both texts in place, byte by byte, with no copies. Returns
// the decision when the ASCII part settles it; otherwise `rest` is the offset from which
// both texts must be compared in full (a non-ASCII character in either of them).
std::optional<bool> compareAsciiPrefix(std::string_view a, std::string_view b,
                                       std::size_t& rest) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (!isAscii(a[i]) || !isAscii(b[i])) {
      rest = i;
      return std::nullopt;
    }
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  }
  // One text goes on where the other ended, and no character folds to nothing.
  return a.size() == b.size();
}

// The accented letters of Portuguese names are two bytes, 0xC3 and one of 0x80 to 0xBF
// (U+00C0 to U+00FF); upper-casing one of them takes 0x20 off its second byte. Compares
// such a pair at `pos` in both texts without decoding it: nothing when either is anything
// else (or U+00FF, whose upper case lies outside the range).
std::optional<bool> compareLatinLetter(std::string_view a, std::string_view b,
                                       std::size_t pos) {
  constexpr unsigned char kLead = 0xC3;
  if (pos + 1 >= a.size()) return std::nullopt;
  const auto leadA = static_cast<unsigned char>(a[pos]);
  const auto leadB = static_cast<unsigned char>(b[pos]);
  const auto secondA = static_cast<unsigned char>(a[pos + 1]);
  const auto secondB = static_cast<unsigned char>(b[pos + 1]);
  if (leadA != kLead || leadB != kLead || secondA < 0x80 || secondA > 0xBE || secondB < 0x80 ||
      secondB > 0xBE) {
    return std::nullopt;
  }
  // 0xB7 is U+00F7, the division sign: no letter, no case.
  const auto upper = [](unsigned char second) {
    return second >= 0xA0 && second != 0xB7 ? second - 0x20 : second;
  };
  return upper(secondA) == upper(secondB);
}

}  // namespace

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  // Case mapping keeps every character's length in bytes (upperCase never changes a
  // text's size), so texts of different sizes differ: most names are told apart here.
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // names are mostly written in the case they are looked up in
  std::size_t rest = 0;
  if (const auto settled = compareAsciiPrefix(a, b, rest)) return *settled;
  // The ASCII characters before `rest` are whole characters, so the tails start on a
  // character boundary in both texts. From there the texts are compared character by
  // character in place, as their upper-case forms would compare: accented names are
  // common, and copying each row's value to compare it would cost far more than the
  // comparison itself.
  std::size_t pos = rest;
  while (pos < a.size()) {
    if (isAscii(a[pos]) && isAscii(b[pos])) {
      if (a[pos] != b[pos] && asciiUpper(a[pos]) != asciiUpper(b[pos])) return false;
      ++pos;
      continue;
    }
    if (const auto settled = compareLatinLetter(a, b, pos)) {
      if (!*settled) return false;
      pos += 2;
      continue;
    }
    std::size_t lengthA = 1;
    std::size_t lengthB = 1;
    const long codeA = decodeAt(a, pos, lengthA);
    const long codeB = decodeAt(b, pos, lengthB);
    // A malformed byte stays as it is in the upper-case form: equal only to itself.
    if (codeA < 0 || codeB < 0) {
      if (codeA >= 0 || codeB >= 0 || a[pos] != b[pos]) return false;
    } else if (lengthA != lengthB || upperOf(codeA) != upperOf(codeB)) {
      return false;
    }
    pos += lengthA;
  }
  return true;
}

std::string foldCaseAndAccents(std::string_view text) {
  return mapChars(text, [](long c) { return baseLetterOf(upperOf(c)); });
}

bool equalsIgnoreCaseAndAccents(std::string_view a, std::string_view b) {
  std::size_t rest = 0;
  if (const auto settled = compareAsciiPrefix(a, b, rest)) return *settled;
  return foldCaseAndAccents(a.substr(rest)) == foldCaseAndAccents(b.substr(rest));
}

std::size_t findIgnoreCase(std::string_view haystack, std::string_view needle) {
  // Case mapping keeps each character's byte length within the Latin range, so byte
  // offsets in the upper-cased text are offsets in the original.
  const std::string upperHaystack = upperCase(haystack);
  const std::string upperNeedle = upperCase(needle);
  if (upperHaystack.size() != haystack.size()) {
    // Should a letter's case forms ever differ in length: search character by character.
    const std::size_t chars = charCount(haystack);
    const std::size_t needleChars = charCount(needle);
    for (std::size_t i = 0; i + needleChars <= chars; ++i) {
      if (equalsIgnoreCase(charSubstr(haystack, i, needleChars), needle)) {
        return byteOffsetOfChar(haystack, i);
      }
    }
    return std::string_view::npos;
  }
  return upperHaystack.find(upperNeedle);
}

std::string utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // ASCII is the same in both: copied by runs, not character by character.
    const std::size_t end = asciiRunEnd(utf8, pos);
    out.append(utf8.data() + pos, end - pos);
    pos = end;
    if (pos < utf8.size()) {
      std::size_t length = 1;
      out += cp1252Byte(decodeAt(utf8, pos, length));
      pos += length;
    }
  }
  return out;
}

std::string cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 4);
  for (const char ch : cp1252) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x80 || byte >= 0xA0) {
      appendUtf8(byte, out);
    } else if (const long code = kCp1252High[byte - 0x80]; code != 0) {
      appendUtf8(code, out);
    } else {
      out += '?';
    }
  }
  return out;
}

}  // namespace ecf
