#include "base/textlayout.h"

#include "base/utf8.h"

namespace ecf {
namespace {

std::size_t widthOf(int width) { return width < 0 ? 0 : static_cast<std::size_t>(width); }

// The characters missing to reach `width`, 0 when the text is already that long.
std::size_t shortfall(std::string_view text, std::size_t width) {
  const std::size_t length = charCount(text);
  return length < width ? width - length : 0;
}

}  // namespace

std::string padRight(std::string_view text, int width) {
  const std::size_t target = widthOf(width);
  std::string out = charSubstr(text, 0, target);
  out.append(shortfall(out, target), ' ');
  return out;
}

std::string padLeftFixed(std::string_view text, int width) {
  const std::size_t target = widthOf(width);
  std::string cut = charSubstr(text, 0, target);
  return std::string(shortfall(cut, target), ' ') + cut;
}

std::string padLeft(std::string_view text, int width) { return fillLeft(text, width, ' '); }

std::string fillLeft(std::string_view text, int width, char fill) {
  return std::string(shortfall(text, widthOf(width)), fill) + std::string(text);
}

std::string fitLeft(std::string_view text, int width, char fill) {
  const std::size_t target = widthOf(width);
  const std::size_t length = charCount(text);
  if (length > target) return charSubstr(text, length - target);
  return fillLeft(text, width, fill);
}

std::string replicate(std::string_view text, int count) {
  std::string out;
  if (count <= 0) return out;
  out.reserve(text.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

std::string centre(std::string_view text, int width) {
  const std::size_t target = widthOf(width);
  const std::string cut = charSubstr(text, 0, target);
  const std::size_t before = shortfall(cut, target) / 2;
  return padRight(std::string(before, ' ') + cut, width);
}

std::string rtrim(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

std::string ltrim(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string() : std::string(text.substr(start));
}

std::string trim(std::string_view text) { return ltrim(rtrim(text)); }

}  // namespace ecf
