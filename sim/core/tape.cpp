#include "core/tape.h"

#include "base/utf8.h"

namespace ecfsim {
namespace {

// Control characters would upset the column count; blanks stand in for them.
std::string printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return out;
}

std::string rightTrimmed(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? "" : std::string(text.substr(0, last + 1));
}

}  // namespace

const std::string& documentSeparator() {
  static const std::string separator(kTapeWidth, '=');
  return separator;
}

std::vector<std::string> wrapLine(std::string_view text, std::size_t width) {
  if (width == 0) width = 1;
  std::vector<std::string> lines;
  std::string_view rest = text;
  // Each turn looks at no more than width + 1 characters of the rest and takes at least
  // one of them, so even a line of megabytes wraps in linear time.
  for (;;) {
    const std::size_t widthEnd = ecf::byteOffsetOfChar(rest, width);
    if (widthEnd == rest.size()) break;  // the rest fits
    const std::size_t headEnd = widthEnd + ecf::byteOffsetOfChar(rest.substr(widthEnd), 1);
    const std::string_view head = rest.substr(0, headEnd);
    const auto blank = head.find_last_of(' ');
    if (blank != std::string_view::npos && blank > 0 && head.find_first_not_of(' ') < blank) {
      lines.push_back(rightTrimmed(head.substr(0, blank)));
      rest.remove_prefix(blank + 1);
      const auto next = rest.find_first_not_of(' ');
      rest.remove_prefix(next == std::string_view::npos ? rest.size() : next);
    } else {
      lines.emplace_back(rest.substr(0, widthEnd));
      rest.remove_prefix(widthEnd);
    }
  }
  lines.emplace_back(rest);
  return lines;
}

std::vector<std::vector<std::string>> splitDocuments(std::string_view tape) {
  std::vector<std::vector<std::string>> documents;
  std::size_t start = 0;
  while (start < tape.size()) {
    auto end = tape.find('\n', start);
    if (end == std::string_view::npos) end = tape.size();
    const std::string_view line = tape.substr(start, end - start);
    if (line == documentSeparator()) {
      documents.emplace_back();
    } else if (!documents.empty()) {
      documents.back().emplace_back(line);
    }
    start = end + 1;
  }
  return documents;
}

void Paper::put(std::string_view line) {
  text_ += rightTrimmed(line);
  text_ += '\n';
}

void Paper::separator() { put(documentSeparator()); }
void Paper::rule() { put(std::string(kTapeWidth, '-')); }
void Paper::blank() { put(""); }

void Paper::line(std::string_view text) {
  for (const std::string& piece : wrapLine(printable(text))) put(piece);
}

void Paper::centered(std::string_view text) {
  const std::string clean = printable(text);
  const std::size_t chars = ecf::charCount(clean);
  if (chars >= kTapeWidth) {
    line(clean);
    return;
  }
  put(std::string((kTapeWidth - chars) / 2, ' ') + clean);
}

void Paper::leftRight(std::string_view left, std::string_view right) {
  const std::string l = printable(left);
  const std::string r = printable(right);
  const std::size_t used = ecf::charCount(l) + ecf::charCount(r);
  if (used + 1 <= kTapeWidth) {
    put(l + std::string(kTapeWidth - used, ' ') + r);
    return;
  }
  line(l);
  const std::size_t rightChars = ecf::charCount(r);
  if (rightChars >= kTapeWidth) {
    line(r);
  } else {
    put(std::string(kTapeWidth - rightChars, ' ') + r);
  }
}

void Paper::freeText(std::string_view text) {
  if (text.empty()) return;
  std::string normal;
  normal.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      normal += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      normal += text[i];
    }
  }
  // A final line feed ends the last line; it does not add an empty one.
  if (!normal.empty() && normal.back() == '\n') normal.pop_back();
  std::size_t start = 0;
  while (true) {
    const auto end = normal.find('\n', start);
    line(std::string_view(normal).substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

}  // namespace ecfsim
