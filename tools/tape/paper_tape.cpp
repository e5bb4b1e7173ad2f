#include "paper_tape.h"

#include <regex>
#include <sstream>

namespace ecftape {
namespace {

const std::string kSeparator(48, '=');

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The header line every document carries: date, time, counters, ending in "COO:nnnnnn".
const std::regex& counterLine() {
  static const std::regex pattern(R"(COO:\d{6}\s*$)");
  return pattern;
}

}  // namespace

std::vector<std::string> splitDocuments(const std::string& tape) {
  std::vector<std::string> documents;
  std::string current;
  bool started = false;
  std::istringstream in(tape);
  for (std::string line; std::getline(in, line);) {
    if (line == kSeparator) {
      if (started || !current.empty()) documents.push_back(current);
      current.clear();
      started = true;
      continue;
    }
    current += line + "\n";
  }
  if (started || !current.empty()) documents.push_back(current);
  return documents;
}

std::string documentTitle(const std::string& document) {
  bool afterCounters = false;
  for (const std::string& line : lines(document)) {
    // The title is centred; the consumer's lines before it start at the margin.
    if (afterCounters && line.size() > 1 && line[0] == ' ' && !trimmed(line).empty()) {
      return trimmed(line);
    }
    if (std::regex_search(line, counterLine())) afterCounters = true;
  }
  return "";
}

std::string htmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

const std::string& slipStyle() {
  static const std::string style =
      ".slip { background: #fbfaf4; width: 48ch; margin: 0 auto 28px;\n"
      "        padding: 14px 16px 22px; box-shadow: 0 2px 10px rgba(0,0,0,.45);\n"
      "        font: 13px/1.3 'DejaVu Sans Mono', 'Courier New', monospace; color: #2b2b2b;\n"
      "        clip-path: polygon(0 0, 100% 0, 100% 100%, 97% 99%, 94% 100%, 91% 99%,\n"
      "        88% 100%, 85% 99%, 82% 100%, 79% 99%, 76% 100%, 73% 99%, 70% 100%,\n"
      "        67% 99%, 64% 100%, 61% 99%, 58% 100%, 55% 99%, 52% 100%, 49% 99%,\n"
      "        46% 100%, 43% 99%, 40% 100%, 37% 99%, 34% 100%, 31% 99%, 28% 100%,\n"
      "        25% 99%, 22% 100%, 19% 99%, 16% 100%, 13% 99%, 10% 100%, 7% 99%,\n"
      "        4% 100%, 1% 99%, 0 100%); }\n"
      "/* 48 columns: the slip's width is counted in its own monospaced characters. */\n"
      ".slip pre { margin: 0; font: inherit; white-space: pre; }\n"
      ".slip h2 { margin: 0 0 8px; font: 11px sans-serif; color: #888; }\n";
  return style;
}

std::string slipHtml(int number, const std::string& document) {
  const std::string title = documentTitle(document);
  std::string html = "<section class=\"slip\">\n<h2>" + std::to_string(number);
  if (!title.empty()) html += " &#183; " + htmlEscape(title);
  html += "</h2>\n<pre>" + htmlEscape(document) + "</pre>\n</section>\n";
  return html;
}

std::string tapeHtml(const std::vector<std::string>& documents, const std::string& caption) {
  std::ostringstream page;
  page << "<!DOCTYPE html>\n"
          "<html lang=\"pt-BR\">\n"
          "<head>\n"
          "<meta charset=\"utf-8\"/>\n"
          "<title>Fita da impressora fiscal virtual</title>\n"
          "<style>\n"
          "body { background: #5b6770; margin: 0; padding: 24px; font-family: sans-serif; }\n"
          "header { color: #eef; text-align: center; margin-bottom: 24px; }\n"
       << slipStyle()
       << "</style>\n"
          "</head>\n"
          "<body>\n"
          "<header><h1>Fita da impressora fiscal virtual</h1><p>"
       << htmlEscape(caption) << "</p></header>\n";
  int number = 0;
  for (const std::string& document : documents) page << slipHtml(++number, document);
  page << "</body>\n</html>\n";
  return page.str();
}

}  // namespace ecftape
