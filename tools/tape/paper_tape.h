// The virtual printer's paper tape: UTF-8 text, 48 columns, every document starting with
// a line of 48 "=". Read as a list of documents, or written as a page of thermal slips.
#pragma once

#include <string>
#include <vector>

namespace ecftape {

// The documents of a tape, each without its separator line and with its own trailing
// line feeds. Text before the first separator (there should be none) is a document too.
std::vector<std::string> splitDocuments(const std::string& tape);

// What a document is ("CUPOM FISCAL", "LEITURA X"...): the first centred line after
// its counters line (the one ending in "COO:nnnnnn"), or "" when there is none.
std::string documentTitle(const std::string& document);

// One document as a slip: a <section class="slip"> headed by its number and title, its
// text HTML-escaped. The page below and the service's console show slips this way.
std::string slipHtml(int number, const std::string& document);

// The style sheet of the slips (for a page that embeds them).
const std::string& slipStyle();

// A self-contained HTML page: each document a slip of thermal paper, 48 monospaced
// columns, every text HTML-escaped. Well-formed (every element closed).
std::string tapeHtml(const std::vector<std::string>& documents, const std::string& caption);

std::string htmlEscape(const std::string& text);

}  // namespace ecftape
