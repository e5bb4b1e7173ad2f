// An in-memory table with typed fields, a cursor, a filter, named indexes and data packets.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ecf/datapacket.h"
#include "ecf/datetime.h"
#include "ecf/export.h"
#include "ecf/settings.h"
#include "ecf/variant.h"

namespace ecf {

// A missing field, a bad filter text, a corrupt dataset file, or an operation the
// dataset's state does not allow. The message names the dataset and the field.
class ECF_API DatasetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ECF_API Dataset {
 public:
  enum class State { Inactive, Browse, Insert, Edit };

  explicit Dataset(std::string name = "");
  ~Dataset();
  Dataset(const Dataset& other);
  Dataset& operator=(const Dataset& other);
  Dataset(Dataset&&) noexcept;
  Dataset& operator=(Dataset&&) noexcept;

  const std::string& name() const;

  // --- structure ---
  void setFieldDefs(std::vector<FieldDef> defs);  // takes effect at the next createDataSet
  const std::vector<FieldDef>& fieldDefs() const;
  void createDataSet();  // empty and open with the field definitions
  void open();           // opens empty with the current structure, or the definitions
                         // when it never had one (no-op when open)
  void close();          // drops the rows; keeps definitions and indexes
  bool active() const;
  void emptyDataSet();   // removes every row, keeps the structure
  State state() const;
  bool hasField(std::string_view field) const;

  // --- data packets ---
  DataPacket data() const;             // every posted row in storage order, whatever the filter
  void setData(const DataPacket& packet);  // replaces fields and rows, opens, goes to the first row

  // --- files in the dataset file format (magic, version, checksum) ---
  // Saving writes a temporary file and renames it over `path`, so a crash never leaves a
  // half-written file. Both throw DatasetError with a clear message.
  void saveToFile(const std::string& path) const;
  void loadFromFile(const std::string& path);

  // --- navigation over the filtered, index-ordered view ---
  // Navigating, editing, locating or emptying a closed dataset throws DatasetError; a
  // closed dataset reads as empty (eof, bof, no rows).
  void first();
  void last();
  void next();   // past the last row sets eof
  void prior();
  bool eof() const;
  bool bof() const;
  bool isEmpty() const;     // no visible row
  int recordCount() const;  // visible rows
  int recNo() const;        // 1-based position of the current row in the view; 0 when empty

  // --- editing ---
  // As on the host platform: navigating, locating, inserting, appending or changing the
  // filter or the index while a row is being edited posts it first (or drops a new row
  // whose fields were never set); edit on an empty view starts an insert; cancel outside
  // Insert/Edit does nothing, post outside them throws DatasetError. After post the cursor
  // is on the posted row when the filter shows it. close, emptyDataSet, createDataSet and
  // setData drop a pending edit.
  void insert();  // new empty row, in Insert state
  void append();
  void edit();
  void post();
  void cancel();
  void deleteRecord();

  // --- fields of the current row (or of the row being edited) ---
  Variant value(std::string_view field) const;
  std::string asText(std::string_view field, const HostSettings& settings = HostSettings{}) const;
  double asNumber(std::string_view field, const HostSettings& settings = HostSettings{}) const;
  DateTime asDateTime(std::string_view field) const;
  bool asBool(std::string_view field) const;
  // Needs Insert or Edit state. The value is converted to the field's type (a text read
  // as a number or a number written as text follows `settings`); a text longer than the
  // field's size is cut to it (in characters).
  void setValue(std::string_view field, const Variant& value,
                const HostSettings& settings = HostSettings{});

  // --- filter: comparisons of a field with a quoted text (= or <>) joined by AND ---
  void setFilter(std::string text);  // checked when it is switched on, or now if it is on
  const std::string& filter() const;
  void setFiltered(bool on);
  bool filtered() const;

  // --- indexes: fields separated by ";", some of them descending ---
  // Texts order by their UTF-8 bytes (letter case counts), numbers numerically, dates
  // chronologically; Null is the lowest value. Rows that tie keep their storage order.
  // Adding an index under an existing name redefines it.
  void addIndex(std::string name, std::string fields, std::string descendingFields = "");
  void setIndexName(std::string name);  // "" = insertion order
  const std::string& indexName() const;

  // --- locate over the view; moves to the found row and returns true ---
  // Texts match whole, exactly or ignoring case (accented letters included); numbers
  // numerically. When nothing matches the cursor stays where it was.
  bool locate(std::string_view field, const Variant& value, bool ignoreCase = false);
  bool locate(std::string_view field1, std::string_view field2, const Variant& value1,
              const Variant& value2, bool ignoreCase = false);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ecf
