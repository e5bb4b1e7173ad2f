// The paper: what the printer prints, as UTF-8 lines of at most 48 characters, and the
// tape file in the printer's state directory that keeps everything printed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/append_only_file.h"

namespace ecfsim {

constexpr std::size_t kTapeWidth = 48;
// The first line of every document, so that a tool can split the tape.
const std::string& documentSeparator();

// `text` broken into lines of at most `width` characters: at the last blank that fits,
// or inside a word longer than the line.
std::vector<std::string> wrapLine(std::string_view text, std::size_t width = kTapeWidth);

// The tape cut into documents at each separator line; each document's lines follow
// its separator (which is left out). Lines before the first separator are dropped.
std::vector<std::vector<std::string>> splitDocuments(std::string_view tape);

// Lines being printed by one command.
class Paper {
 public:
  void separator();
  void rule();  // a line of "-"
  void blank();
  void line(std::string_view text);  // wrapped
  void centered(std::string_view text);
  // `left` and `right` on one line, `right` flush with the right margin; when both do
  // not fit, `left` wrapped and `right` on a line of its own.
  void leftRight(std::string_view left, std::string_view right);
  // Free text: its line feeds are kept ("\r\n" counts as one), each line wrapped.
  void freeText(std::string_view text);

  const std::string& text() const { return text_; }

 private:
  void put(std::string_view line);
  std::string text_;
};

// The tape file. Appends whole lines; a crash between the append and the saving of the
// state is mended by cutting the tape back to the length the state remembers.
class TapeFile : public AppendOnlyFile {
 public:
  using AppendOnlyFile::AppendOnlyFile;
};

}  // namespace ecfsim
