// `ecfhost tape`: the text tape as the printer wrote it, and the HTML page of slips.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "ecfhost/run_tool.h"

namespace ecfhosttest {
namespace {

using ::testing::HasSubstr;

std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else if (c == '\'')
      out += "&#39;";
    else
      out += c;
  }
  return out;
}

// "" when every element is closed in order and every "&" starts an entity; else what
// is wrong and where.
std::string wellFormedness(const std::string& page) {
  std::vector<std::string> open;
  std::size_t at = 0;
  while (at < page.size()) {
    const char c = page[at];
    if (c == '&') {
      const auto end = page.find(';', at);
      const std::string entity = end == std::string::npos ? "" : page.substr(at, end - at + 1);
      static const std::vector<std::string> known = {"&amp;",  "&lt;",  "&gt;",
                                                     "&quot;", "&#39;", "&#183;"};
      if (std::find(known.begin(), known.end(), entity) == known.end()) {
        return "bare & at " + std::to_string(at);
      }
      at = end + 1;
      continue;
    }
    if (c != '<') {
      ++at;
      continue;
    }
    const auto end = page.find('>', at);
    if (end == std::string::npos) return "unclosed tag at " + std::to_string(at);
    const std::string tag = page.substr(at + 1, end - at - 1);
    at = end + 1;
    if (tag.rfind("!DOCTYPE", 0) == 0) continue;
    if (!tag.empty() && tag.back() == '/') continue;  // self-closed
    if (!tag.empty() && tag[0] == '/') {
      const std::string name = tag.substr(1);
      if (open.empty() || open.back() != name) return "</" + name + "> closes nothing open";
      open.pop_back();
      continue;
    }
    open.push_back(tag.substr(0, tag.find(' ')));
  }
  if (!open.empty()) return "<" + open.back() + "> never closed";
  return "";
}

TEST(EcfhostTape, PrintsTheTapeAndWritesItAsAWellFormedPageOfSlips) {
  ScratchDirectory scratch;
  const auto day = scratch.path() / "day";
  ASSERT_EQ(runTool({"demo", "--dir", day.string()}, scratch.path()).status, 0);
  const std::string tape = readFile(day / "printers/ECF1/tape.txt");
  const std::vector<std::string> documents = tapeDocuments(tape);
  ASSERT_EQ(documents.size(), 12u);

  const ToolRun text = runTool({"tape", "--dir", day.string()}, scratch.path());
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(text.output, tape);

  // Without --dir: the newest ecfhost-* directory here.
  std::filesystem::rename(day, scratch.path() / "ecfhost-demo-1");
  const ToolRun html = runTool({"tape", "--html", "tape.html"}, scratch.path());
  ASSERT_EQ(html.status, 0) << html.output;
  EXPECT_THAT(html.output, HasSubstr("Wrote 12 documents to tape.html"));
  const std::string page = readFile(scratch.path() / "tape.html");
  EXPECT_EQ(wellFormedness(page), "");
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html", 0), 0u);
  EXPECT_THAT(page, HasSubstr("<meta charset=\"utf-8\"/>"));
  EXPECT_THAT(page, HasSubstr("48ch"));

  // One slip per document, in order, each holding its document's text escaped.
  std::size_t from = 0;
  for (const std::string& document : documents) {
    const auto slip = page.find("<section class=\"slip\">", from);
    ASSERT_NE(slip, std::string::npos);
    const auto body = page.find("<pre>" + escaped(document) + "</pre>", slip);
    EXPECT_NE(body, std::string::npos) << document;
    EXPECT_LT(body, page.find("</section>", slip));
    from = slip + 1;
  }
  EXPECT_EQ(page.find("<section class=\"slip\">", from), std::string::npos);
  // The report's "&" and the tape's accented letters come through escaped and whole.
  EXPECT_THAT(page, HasSubstr("pão de queijo &amp; açaí"));
  EXPECT_THAT(page, HasSubstr("REDUÇÃO Z"));
}

TEST(EcfhostTape, SaysSoWhenThereIsNoTape) {
  ScratchDirectory scratch;
  const ToolRun run = runTool({"tape"}, scratch.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_THAT(run.output, HasSubstr("no ecfhost-* directory here"));
}

}  // namespace
}  // namespace ecfhosttest
