#include "data/filter.h"

#include "base/utf8.h"
#include "data/field_value.h"
#include "data/fields.h"
#include "ecf/dataset.h"

namespace ecf {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Field names: ASCII letters, digits and "_", plus any non-ASCII byte (accented names).
bool isNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' ||
         u >= 0x80;
}

class FilterParser {
 public:
  FilterParser(std::string_view text, const std::vector<FieldDef>& fields,
               std::string_view datasetName)
      : text_(text), fields_(fields), datasetName_(datasetName) {}

  Filter parse() {
    Filter filter;
    skipSpaces();
    if (atEnd()) return filter;
    filter.push_back(comparison());
    skipSpaces();
    while (!atEnd()) {
      const std::size_t start = pos_;
      const std::string word = name();
      if (!equalsIgnoreCase(word, "AND")) {
        fail(start, "esperado AND, encontrado " + describeAt(start));
      }
      filter.push_back(comparison());
      skipSpaces();
    }
    return filter;
  }

 private:
  FilterComparison comparison() {
    skipSpaces();
    const std::size_t fieldStart = pos_;
    const std::string field = name();
    if (field.empty()) {
      fail(fieldStart, "esperado um nome de campo, encontrado " + describeAt(fieldStart));
    }
    FilterComparison result;
    result.field = findField(fields_, field);
    if (result.field < 0) {
      throw DatasetError(missingFieldMessage(field, datasetName_) + " (filtro \"" +
                         std::string(text_) + "\")");
    }
    skipSpaces();
    const std::size_t operatorStart = pos_;
    if (text_.substr(pos_, 2) == "<>") {
      result.equal = false;
      pos_ += 2;
    } else if (text_.substr(pos_, 1) == "=") {
      pos_ += 1;
    } else {
      fail(operatorStart,
           "esperado = ou <> depois de " + field + ", encontrado " + describeAt(operatorStart));
    }
    skipSpaces();
    result.text = quoted();
    return result;
  }

  std::string name() {
    const std::size_t start = pos_;
    while (!atEnd() && isNameChar(text_[pos_])) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string quoted() {
    const std::size_t start = pos_;
    if (atEnd() || text_[pos_] != '\'') {
      fail(start, "esperado um texto entre aspas simples, encontrado " + describeAt(start));
    }
    ++pos_;
    std::string value;
    while (true) {
      if (atEnd()) fail(start, "texto entre aspas sem a aspa final");
      const char c = text_[pos_++];
      if (c != '\'') {
        value += c;
      } else if (!atEnd() && text_[pos_] == '\'') {
        value += '\'';  // a doubled quote stands for one quote
        ++pos_;
      } else {
        return value;
      }
    }
  }

  void skipSpaces() {
    while (!atEnd() && isSpace(text_[pos_])) ++pos_;
  }
  bool atEnd() const { return pos_ >= text_.size(); }

  std::string describeAt(std::size_t at) const {
    if (at >= text_.size()) return "o fim do texto";
    return "\"" + charSubstr(text_.substr(at), 0, 12) + "\"";
  }

  [[noreturn]] void fail(std::size_t at, const std::string& what) const {
    // Positions count characters from 1, as a person reading the filter would.
    const std::size_t column = charCount(text_.substr(0, at)) + 1;
    throw DatasetError("Filtro inválido em " + datasetLabel(datasetName_) + " (\"" +
                       std::string(text_) + "\"), posição " + std::to_string(column) + ": " + what);
  }

  std::string_view text_;
  const std::vector<FieldDef>& fields_;
  std::string_view datasetName_;
  std::size_t pos_ = 0;
};

}  // namespace

Filter parseFilter(std::string_view text, const std::vector<FieldDef>& fields,
                   std::string_view datasetName) {
  return FilterParser(text, fields, datasetName).parse();
}

bool filterAccepts(const Filter& filter, const std::vector<Variant>& row) {
  for (const FilterComparison& comparison : filter) {
    const bool same = withTextForm(row[static_cast<std::size_t>(comparison.field)],
                                   [&](std::string_view form) { return form == comparison.text; });
    if (same != comparison.equal) return false;
  }
  return true;
}

std::string quoteFilterValue(std::string_view value) {
  std::string text = "'";
  for (const char c : value) {
    text += c;
    if (c == '\'') text += '\'';
  }
  return text + "'";
}

}  // namespace ecf
