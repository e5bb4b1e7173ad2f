#include "capi/json_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "base/utf8.h"

namespace ecf::capi {
namespace {

// The bytes a string holds as they are: ASCII but for controls, '"' and '\\'.
constexpr auto kPlain = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x80; ++c) plain[c] = c != '"' && c != '\\';
  return plain;
}();

class Reader {
 public:
  explicit Reader(std::string_view text)
      : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()) {}

  Json document() {
    // A UTF-8 byte order mark is skipped, once, as nlohmann does.
    if (p_ != end_ && static_cast<unsigned char>(*p_) == 0xEF) {
      if (end_ - p_ < 3 || static_cast<unsigned char>(p_[1]) != 0xBB ||
          static_cast<unsigned char>(p_[2]) != 0xBF) {
        fail("an invalid byte order mark");
      }
      p_ += 3;
    }
    items_.reserve(16);
    members_.reserve(16);
    Json value = readValue(0);
    skipSpace();
    // nlohmann takes a NUL byte after the value for the end of the text (C strings).
    if (p_ != end_ && *p_ != '\0') fail("more text after the value");
    return value;
  }

 private:
  using Member = std::pair<std::string, Json>;
  // Up to this many names an object's are compared pairwise, beyond it sorted.
  static constexpr std::size_t kMostCompared = 32;

  [[noreturn]] void fail(const std::string& reason) const {
    throw ValueError("malformed JSON: " + reason + " at byte " + std::to_string(p_ - begin_ + 1));
  }

  void skipSpace() {
    while (p_ != end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t')) ++p_;
  }

  Json readValue(int depth) {
    skipSpace();
    if (p_ == end_) fail("a value expected, the text ends");
    switch (*p_) {
      case '{':
        return readObject(depth + 1);
      case '[':
        return readArray(depth + 1);
      case '"': {
        std::string text;
        readString(text);
        return Json(std::move(text));
      }
      case 't':
        literal("true");
        return Json(true);
      case 'f':
        literal("false");
        return Json(false);
      case 'n':
        literal("null");
        return Json(nullptr);
      default:
        if (*p_ == '-' || (*p_ >= '0' && *p_ <= '9')) return readNumber();
        fail("a value expected");
    }
  }

  void enter(int depth) const {
    // The limit parseJson has always had; the reader recurses once per level.
    if (depth > kMaxNesting) {
      throw ValueError("malformed JSON: nested more than " + std::to_string(kMaxNesting) +
                       " levels deep");
    }
  }

  Json readArray(int depth) {
    enter(depth);
    ++p_;
    skipSpace();
    Json array(Json::value_t::array);
    if (p_ != end_ && *p_ == ']') {
      ++p_;
      return array;
    }
    // The items of every open array share one stack and are moved into theirs at its end.
    const std::size_t first = items_.size();
    for (;;) {
      Json item = readValue(depth);
      items_.push_back(std::move(item));
      skipSpace();
      if (p_ == end_) fail("',' or ']' expected, the text ends");
      if (*p_ == ']') break;
      if (*p_ != ',') fail("',' or ']' expected");
      ++p_;
    }
    ++p_;
    auto& built = array.get_ref<Json::array_t&>();
    built.reserve(items_.size() - first);
    built.insert(built.end(), std::make_move_iterator(items_.begin() + first),
                 std::make_move_iterator(items_.end()));
    items_.resize(first);
    return array;
  }

  Json readObject(int depth) {
    enter(depth);
    ++p_;
    skipSpace();
    Json object(Json::value_t::object);
    if (p_ != end_ && *p_ == '}') {
      ++p_;
      return object;
    }
    const std::size_t first = members_.size();
    for (;;) {
      skipSpace();
      if (p_ == end_ || *p_ != '"') fail("a member's name expected");
      std::string name;
      readString(name);
      skipSpace();
      if (p_ == end_ || *p_ != ':') fail("':' expected");
      ++p_;
      Json value = readValue(depth);
      members_.emplace_back(std::move(name), std::move(value));
      skipSpace();
      if (p_ == end_) fail("',' or '}' expected, the text ends");
      if (*p_ == '}') break;
      if (*p_ != ',') fail("',' or '}' expected");
      ++p_;
    }
    ++p_;
    build(object.get_ref<Json::object_t&>(), first);
    members_.resize(first);
    return object;
  }

  // The members gathered from `first` on become the object's. A repeated name keeps its
  // first place and takes its last value, as nlohmann's parser assigns it.
  void build(Json::object_t& object, std::size_t first) {
    const std::size_t count = members_.size() - first;
    std::vector<bool> dropped;
    if (count > kMostCompared || (count > 1 && hasRepeat(first))) dropped = mergeRepeats(first);
    object.reserve(count);
    for (std::size_t m = first; m < members_.size(); ++m) {
      if (dropped.empty() || !dropped[m - first]) {
        object.emplace_back(std::move(members_[m].first), std::move(members_[m].second));
      }
    }
  }

  // A few names are compared pairwise, no allocation; most pairs differ in size or in
  // their last character.
  bool hasRepeat(std::size_t first) const {
    for (std::size_t a = first; a < members_.size(); ++a) {
      const std::string& name = members_[a].first;
      for (std::size_t b = a + 1; b < members_.size(); ++b) {
        const std::string& other = members_[b].first;
        if (name.size() == other.size() && (name.empty() || name.back() == other.back()) &&
            name == other) {
          return true;
        }
      }
    }
    return false;
  }

  // Many names are sorted (stably: equal names stay in the text's order), so a repeated
  // name is found in n log n. Returns which members are dropped, empty if none.
  std::vector<bool> mergeRepeats(std::size_t first) {
    const std::size_t count = members_.size() - first;
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), first);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return members_[a].first < members_[b].first;
    });
    std::vector<bool> dropped;
    for (std::size_t i = 0; i < count;) {
      std::size_t j = i + 1;
      while (j < count && members_[order[j]].first == members_[order[i]].first) ++j;
      if (j - i > 1) {
        if (dropped.empty()) dropped.assign(count, false);
        members_[order[i]].second = std::move(members_[order[j - 1]].second);
        for (std::size_t k = i + 1; k < j; ++k) dropped[order[k] - first] = true;
      }
      i = j;
    }
    return dropped;
  }

  void literal(std::string_view word) {
    if (static_cast<std::size_t>(end_ - p_) < word.size() ||
        std::string_view(p_, word.size()) != word) {
      fail("an invalid literal");
    }
    p_ += word.size();
  }

  Json readNumber() {
    const char* start = p_;
    const bool negative = *p_ == '-';
    if (negative) ++p_;
    if (p_ == end_ || *p_ < '0' || *p_ > '9') fail("a digit expected");
    bool whole = true;
    if (*p_ == '0') {
      ++p_;
    } else {
      while (p_ != end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    }
    const char* integerEnd = p_;
    if (p_ != end_ && *p_ == '.') {
      whole = false;
      ++p_;
      if (p_ == end_ || *p_ < '0' || *p_ > '9') fail("a digit expected after '.'");
      while (p_ != end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    }
    if (p_ != end_ && (*p_ == 'e' || *p_ == 'E')) {
      whole = false;
      ++p_;
      if (p_ != end_ && (*p_ == '+' || *p_ == '-')) ++p_;
      if (p_ == end_ || *p_ < '0' || *p_ > '9') fail("a digit expected in the exponent");
      while (p_ != end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    }
    if (whole) {
      // nlohmann: a positive whole number that fits 64 bits is unsigned, a negative one
      // that fits is signed; any other is read as a double.
      std::uint64_t magnitude = 0;
      bool fits = true;
      for (const char* d = negative ? start + 1 : start; d != integerEnd && fits; ++d) {
        const auto digit = static_cast<std::uint64_t>(*d - '0');
        fits = magnitude <= (UINT64_MAX - digit) / 10;
        magnitude = magnitude * 10 + digit;
      }
      if (fits && !negative) return Json(static_cast<Json::number_unsigned_t>(magnitude));
      if (fits && magnitude <= static_cast<std::uint64_t>(INT64_MAX) + 1) {
        return Json(static_cast<Json::number_integer_t>(0 - magnitude));
      }
    }
    double number = 0;
    const auto parsed = std::from_chars(start, p_, number);
    if (parsed.ec == std::errc::result_out_of_range) {
      // Too small rounds to a zero, as strtod gives it; too large is refused (1e400).
      if (atLeastOne(start, p_)) {
        p_ = start;
        fail("number overflow");
      }
      return Json(negative ? -0.0 : 0.0);
    }
    if (parsed.ec != std::errc() || parsed.ptr != p_ || !std::isfinite(number)) {
      p_ = start;
      fail("an unreadable number");
    }
    return Json(number);
  }

  // Whether a number out of a double's range is a large one (at least 1 in magnitude) and
  // not a tiny one: the place of its first significant digit plus its exponent.
  static bool atLeastOne(const char* start, const char* end) {
    const char* p = *start == '-' ? start + 1 : start;
    long long place = 0;  // digits before the point, less the leading zeros
    bool significant = false;
    for (; p != end && *p != 'e' && *p != 'E'; ++p) {
      if (*p == '.') {
        if (!significant) place = 0;
        for (++p; p != end && *p >= '0' && *p <= '9' && !significant; ++p) {
          if (*p == '0') {
            --place;
          } else {
            significant = true;
          }
        }
        while (p != end && *p >= '0' && *p <= '9') ++p;
        break;
      }
      if (*p != '0' || significant) {
        significant = true;
        ++place;
      }
    }
    long long exponent = 0;
    bool negativeExponent = false;
    if (p != end && (*p == 'e' || *p == 'E')) {
      ++p;
      if (p != end && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
      for (; p != end; ++p) exponent = std::min(exponent * 10 + (*p - '0'), 1LL << 40);
    }
    return place + (negativeExponent ? -exponent : exponent) > 0;
  }

  // A string from its opening quote: runs without escapes are copied whole; the UTF-8 is
  // checked as nlohmann checks it (no overlong forms, no surrogates, nothing past U+10FFFF).
  void readString(std::string& out) {
    ++p_;
    const char* run = p_;
    for (;;) {
      while (p_ != end_ && kPlain[static_cast<unsigned char>(*p_)]) ++p_;
      if (p_ == end_) fail("the text ends inside a string");
      const auto c = static_cast<unsigned char>(*p_);
      if (c == '"') {
        out.append(run, p_);
        ++p_;
        return;
      }
      if (c == '\\') {
        out.append(run, p_);
        escape(out);
        run = p_;
      } else if (c < 0x20) {
        fail("a control character in a string (write it escaped)");
      } else if (c < 0x80) {
        ++p_;
      } else {
        utf8Character(c);
      }
    }
  }

  void utf8Character(unsigned char lead) {
    int continuations = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      continuations = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      continuations = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      continuations = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      fail("invalid UTF-8 in a string");
    }
    const char* next = p_ + 1;
    for (int i = 0; i < continuations; ++i, ++next) {
      const auto byte = next != end_ ? static_cast<unsigned char>(*next) : 0;
      if (next == end_ || byte < low || byte > high) {
        p_ = next;
        fail("invalid UTF-8 in a string");
      }
      low = 0x80;
      high = 0xBF;
    }
    p_ = next;
  }

  void escape(std::string& out) {
    ++p_;
    if (p_ == end_) fail("the text ends inside a string");
    const char c = *p_++;
    switch (c) {
      case '"':
      case '\\':
      case '/':
        out += c;
        return;
      case 'b':
        out += '\b';
        return;
      case 'f':
        out += '\f';
        return;
      case 'n':
        out += '\n';
        return;
      case 'r':
        out += '\r';
        return;
      case 't':
        out += '\t';
        return;
      case 'u':
        break;
      default:
        --p_;
        fail("an invalid escape in a string");
    }
    std::uint32_t code = hex4();
    if (code >= 0xDC00 && code <= 0xDFFF) fail("a low surrogate without its high one");
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') {
        fail("a high surrogate without its low one");
      }
      p_ += 2;
      const std::uint32_t low = hex4();
      if (low < 0xDC00 || low > 0xDFFF) fail("a high surrogate without its low one");
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    appendUtf8(static_cast<long>(code), out);
  }

  std::uint32_t hex4() {
    std::uint32_t code = 0;
    for (int i = 0; i < 4; ++i, ++p_) {
      if (p_ == end_) fail("the text ends inside a \\u escape");
      const char c = *p_;
      std::uint32_t digit = 0;
      if (c >= '0' && c <= '9') {
        digit = static_cast<std::uint32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<std::uint32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<std::uint32_t>(c - 'A' + 10);
      } else {
        fail("four hexadecimal digits expected after \\u");
      }
      code = code * 16 + digit;
    }
    return code;
  }

  const char* begin_;
  const char* p_;
  const char* end_;
  std::vector<Json> items_;
  std::vector<Member> members_;
};

}  // namespace

Json readJson(std::string_view text) { return Reader(text).document(); }

}  // namespace ecf::capi
