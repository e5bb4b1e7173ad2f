// The in-memory dataset. Rows live in storage order (the order data() returns); the view
// is the list of rows that pass the filter, in the order of the active index, and the
// cursor is a position in the view.
//
// Editing follows the host platform: navigating, locating, inserting, changing the filter
// or the index while a row is being edited first posts it when a field was set, and
// otherwise cancels it (so an untouched new row disappears). Setting a field or posting
// outside Insert/Edit throws DatasetError; cancel outside them does nothing; edit on an
// empty view starts an insert. close, emptyDataSet, createDataSet and setData discard a
// pending edit; data() returns the posted rows only.
#include "ecf/dataset.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "base/utf8.h"
#include "data/field_value.h"
#include "data/fields.h"
#include "data/filter.h"
#include "data/index.h"

namespace ecf {
namespace {

struct Row {
  std::uint64_t id = 0;  // stable identity, so the cursor can follow a row across re-sorting
  std::vector<Variant> values;
};

bool editing(Dataset::State state) {
  return state == Dataset::State::Insert || state == Dataset::State::Edit;
}

// One field of a locate: the wanted value in the form the row values are compared with.
struct LocateKey {
  std::size_t field = 0;
  bool text = false;
  bool ignoreCase = false;
  std::string wantedText;  // text fields: compared with the field's text form
  Variant wanted;          // other fields: Null matches Null only, numbers numerically

  bool matches(const std::vector<Variant>& row) const {
    const Variant& value = row[field];
    if (text) {
      return withTextForm(value, [&](std::string_view form) {
        return ignoreCase ? equalsIgnoreCase(form, wantedText) : form == wantedText;
      });
    }
    if (wanted.isNull() || value.isNull()) return wanted.isNull() && value.isNull();
    return compareFieldValues(value, wanted) == 0;
  }
};

}  // namespace

struct Dataset::Impl {
  std::string name;
  std::vector<FieldDef> defs;    // for the next createDataSet
  std::vector<FieldDef> fields;  // the structure of the rows
  bool hasStructure = false;     // fields came from createDataSet, open or setData
  std::vector<Row> rows;
  std::uint64_t nextRowId = 1;
  State state = State::Inactive;

  std::string filterText;
  bool filtered = false;
  Filter filter;  // the compiled filterText while filtered; empty otherwise

  std::vector<IndexDef> indexes;
  std::string indexName;
  std::vector<IndexKey> indexKeys;  // of the active index

  std::vector<std::size_t> view;  // positions in rows
  std::size_t cursor = 0;         // position in view
  bool bof = true;
  bool eof = true;

  std::vector<Variant> buffer;  // the row being inserted or edited
  bool modified = false;
  // Edit: where the row being changed is in rows and in view. Nothing moves rows or view
  // while a row is edited: every operation that would posts or drops the edit first.
  std::size_t editedPosition = 0;
  std::size_t editedViewIndex = 0;
  std::uint64_t insertBeforeId = 0;  // Insert: the row the new one goes before; 0 = at the end

  std::string label() const { return datasetLabel(name); }
  bool active() const { return state != State::Inactive; }

  void requireActive(std::string_view action) const {
    if (!active()) {
      throw DatasetError("Não é possível " + std::string(action) + " em " + label() +
                         ": o dataset está fechado");
    }
  }

  std::size_t fieldPosition(std::string_view field) const {
    const int position = findField(fields, field);
    if (position < 0) throw DatasetError(missingFieldMessage(field, name));
    return static_cast<std::size_t>(position);
  }

  const std::vector<Variant>* currentValues() const {
    if (editing(state)) return &buffer;
    if (active() && !view.empty()) return &rows[view[cursor]].values;
    return nullptr;
  }

  const IndexDef* findIndex(std::string_view indexToFind) const {
    for (const IndexDef& index : indexes) {
      if (equalsIgnoreCase(index.name, indexToFind)) return &index;
    }
    return nullptr;
  }

  std::vector<IndexKey> keysFor(std::string_view indexToUse,
                                const std::vector<FieldDef>& structure) const {
    if (indexToUse.empty()) return {};
    const IndexDef* index = findIndex(indexToUse);
    if (index == nullptr) {
      throw DatasetError("Índice '" + std::string(indexToUse) + "' não encontrado em " + label());
    }
    return resolveIndex(*index, structure, name);
  }

  // --- view and cursor ---

  void rebuildView() {
    view.clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (filterAccepts(filter, rows[i].values)) view.push_back(i);
    }
    if (!indexKeys.empty()) {
      std::stable_sort(view.begin(), view.end(), [this](std::size_t a, std::size_t b) {
        return indexLess(indexKeys, rows[a].values, rows[b].values);
      });
    }
  }

  // The view's order: the active index, then storage order (what the stable sort gives).
  bool viewBefore(std::size_t a, std::size_t b) const {
    if (!indexKeys.empty()) {
      if (indexLess(indexKeys, rows[a].values, rows[b].values)) return true;
      if (indexLess(indexKeys, rows[b].values, rows[a].values)) return false;
    }
    return a < b;
  }

  // Keeps the view as rebuildView would make it after one row changed, without re-sorting
  // every row at each post. Returns where the row went in the view, or npos when the
  // filter hides it. A row that sorts last (an append in storage order) costs no move.
  std::size_t addToView(std::size_t position) {
    if (!filterAccepts(filter, rows[position].values)) return npos;
    if (view.empty() || viewBefore(view.back(), position)) {
      view.push_back(position);
      return view.size() - 1;
    }
    const auto place = std::lower_bound(
        view.begin(), view.end(), position,
        [this](std::size_t a, std::size_t b) { return viewBefore(a, b); });
    const auto inserted = view.insert(place, position);
    return static_cast<std::size_t>(inserted - view.begin());
  }

  // Whether the row at view[index], just changed, still passes the filter and sits between
  // its neighbours, so the view needs no change.
  bool stillInPlace(std::size_t index) const {
    const std::size_t position = view[index];
    if (!filterAccepts(filter, rows[position].values)) return false;
    if (index > 0 && !viewBefore(view[index - 1], position)) return false;
    return index + 1 == view.size() || viewBefore(position, view[index + 1]);
  }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // Storage positions from `from` on move by `delta` after a row is inserted or erased there.
  void shiftView(std::size_t from, int delta) {
    for (std::size_t& position : view) {
      if (position >= from) position = delta > 0 ? position + 1 : position - 1;
    }
  }

  void moveFirst() {
    cursor = 0;
    bof = true;
    eof = view.empty();
  }

  // On view[index] when the row is visible (index is not npos), otherwise as near
  // `fallback` as the view allows.
  void placeCursorAt(std::size_t index, std::size_t fallback) {
    if (index != npos) {
      cursor = index;
    } else {
      cursor = view.empty() ? 0 : std::min(fallback, view.size() - 1);
    }
    bof = eof = view.empty();
  }

  // On the row `id` when it is visible, otherwise as near `fallback` as the view allows.
  void placeCursorOn(std::uint64_t id, std::size_t fallback) {
    const auto found = std::find_if(view.begin(), view.end(),
                                    [&](std::size_t position) { return rows[position].id == id; });
    if (found != view.end()) {
      cursor = static_cast<std::size_t>(found - view.begin());
    } else {
      cursor = view.empty() ? 0 : std::min(fallback, view.size() - 1);
    }
    bof = eof = view.empty();
  }

  std::uint64_t currentRowId() const { return view.empty() ? 0 : rows[view[cursor]].id; }

  std::size_t storagePosition(std::uint64_t id) const {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.id == id; });
    return static_cast<std::size_t>(found - rows.begin());
  }

  // --- structure ---

  // Takes a new structure and rows, checking first that the filter and the active index
  // fit it, so that a failure leaves the dataset as it was.
  void adopt(std::vector<FieldDef> newFields, std::vector<Row> newRows) {
    Filter newFilter = filtered ? parseFilter(filterText, newFields, name) : Filter{};
    std::vector<IndexKey> newKeys = keysFor(indexName, newFields);
    fields = std::move(newFields);
    rows = std::move(newRows);
    filter = std::move(newFilter);
    indexKeys = std::move(newKeys);
    hasStructure = true;
    state = State::Browse;
    discardEdit();
    rebuildView();
    moveFirst();
  }

  // --- editing ---

  void discardEdit() {
    buffer.clear();
    modified = false;
    editedPosition = 0;
    editedViewIndex = 0;
    insertBeforeId = 0;
  }

  void startInsert(bool atEnd) {
    requireActive("inserir");
    checkBrowseMode();
    insertBeforeId = atEnd ? 0 : currentRowId();
    buffer.assign(fields.size(), Variant());
    modified = false;
    state = State::Insert;
  }

  void post() {
    if (!editing(state)) {
      throw DatasetError("Não é possível gravar em " + label() +
                         ": o dataset não está em modo de edição ou inserção");
    }
    std::size_t viewIndex = npos;
    if (state == State::Insert) {
      // An append stores the row last, so nothing stored moves.
      std::size_t position = rows.size();
      if (insertBeforeId != 0) {
        position = storagePosition(insertBeforeId);
        shiftView(position, +1);
      }
      rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(position),
                  Row{nextRowId++, std::move(buffer)});
      viewIndex = addToView(position);
    } else {
      const std::size_t position = editedPosition;
      rows[position].values = std::move(buffer);
      viewIndex = editedViewIndex;
      // Only a change of the index's fields, or of what the filter looks at, moves the row.
      if (!stillInPlace(viewIndex)) {
        view.erase(view.begin() + static_cast<std::ptrdiff_t>(viewIndex));
        viewIndex = addToView(position);
      }
    }
    state = State::Browse;
    discardEdit();
    placeCursorAt(viewIndex, cursor);
  }

  void cancel() {
    if (!editing(state)) return;
    state = State::Browse;
    discardEdit();
  }

  // What the host platform does before a browse operation: keep what was typed, drop an
  // untouched new row.
  void checkBrowseMode() {
    if (!editing(state)) return;
    if (modified) {
      post();
    } else {
      cancel();
    }
  }

  LocateKey locateKey(std::string_view field, const Variant& value, bool ignoreCase) const {
    LocateKey key;
    key.field = fieldPosition(field);
    const FieldDef& def = fields[key.field];
    const Variant wanted = toSearchValue(def, value, name);
    key.text = def.type == FieldType::Text;
    key.ignoreCase = ignoreCase;
    if (key.text) {
      key.wantedText = textForm(wanted);
    } else {
      key.wanted = wanted;
    }
    return key;
  }

  bool locate(const std::vector<LocateKey>& keys) {
    for (std::size_t i = 0; i < view.size(); ++i) {
      const std::vector<Variant>& values = rows[view[i]].values;
      const bool all = std::all_of(keys.begin(), keys.end(),
                                   [&](const LocateKey& key) { return key.matches(values); });
      if (all) {
        cursor = i;
        bof = eof = false;
        return true;
      }
    }
    return false;
  }

  template <class Read>
  auto readAs(std::string_view field, Read read) const {
    const std::size_t position = fieldPosition(field);
    const std::vector<Variant>* values = currentValues();
    const Variant value = values != nullptr ? (*values)[position] : Variant();
    try {
      return read(value);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& e) {
      throw DatasetError("Campo '" + fields[position].name + "' em " + label() +
                         ": valor não pode ser lido como pedido (" + e.what() + ")");
    }
  }
};

// --- construction ---

Dataset::Dataset(std::string name) : impl_(std::make_unique<Impl>()) {
  impl_->name = std::move(name);
}

Dataset::~Dataset() = default;

Dataset::Dataset(const Dataset& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}

Dataset& Dataset::operator=(const Dataset& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(*other.impl_);
  return *this;
}

// The moved-from dataset is left unnamed, closed and without fields, but usable.
Dataset::Dataset(Dataset&& other) noexcept : impl_(std::make_unique<Impl>()) {
  impl_.swap(other.impl_);
}

Dataset& Dataset::operator=(Dataset&& other) noexcept {
  impl_.swap(other.impl_);
  return *this;
}

const std::string& Dataset::name() const { return impl_->name; }

// --- structure ---

void Dataset::setFieldDefs(std::vector<FieldDef> defs) { impl_->defs = std::move(defs); }

const std::vector<FieldDef>& Dataset::fieldDefs() const { return impl_->defs; }

void Dataset::createDataSet() {
  checkFieldDefs(impl_->defs, impl_->label());
  impl_->adopt(impl_->defs, {});
}

void Dataset::open() {
  if (impl_->active()) return;
  if (!impl_->hasStructure) {
    createDataSet();
    return;
  }
  impl_->adopt(impl_->fields, {});
}

void Dataset::close() {
  Impl& d = *impl_;
  d.state = State::Inactive;
  d.discardEdit();
  d.rows.clear();
  d.view.clear();
  d.moveFirst();
}

bool Dataset::active() const { return impl_->active(); }

void Dataset::emptyDataSet() {
  Impl& d = *impl_;
  d.requireActive("esvaziar");
  d.cancel();
  d.rows.clear();
  d.view.clear();
  d.moveFirst();
}

Dataset::State Dataset::state() const { return impl_->state; }

bool Dataset::hasField(std::string_view field) const {
  const Impl& d = *impl_;
  return findField(d.hasStructure ? d.fields : d.defs, field) >= 0;
}

// --- data packets ---

DataPacket Dataset::data() const {
  const Impl& d = *impl_;
  std::vector<std::vector<Variant>> rows;
  rows.reserve(d.rows.size());
  for (const Row& row : d.rows) rows.push_back(row.values);
  return DataPacket(d.fields, std::move(rows));
}

void Dataset::setData(const DataPacket& packet) {
  Impl& d = *impl_;
  const std::vector<FieldDef>& fields = packet.fields();
  // A packet may come from the host: its values are converted like setValue's.
  std::vector<Row> rows;
  rows.reserve(packet.rowCount());
  for (std::size_t r = 0; r < packet.rowCount(); ++r) {
    const std::vector<Variant>& source = packet.row(r);
    Row row{d.nextRowId++, {}};
    row.values.reserve(fields.size());
    for (std::size_t f = 0; f < fields.size(); ++f) {
      row.values.push_back(toFieldValue(fields[f], source[f], d.name));
    }
    rows.push_back(std::move(row));
  }
  d.adopt(fields, std::move(rows));
  d.defs = fields;
}

// --- navigation ---

void Dataset::first() {
  Impl& d = *impl_;
  d.requireActive("navegar");
  d.checkBrowseMode();
  d.moveFirst();
}

void Dataset::last() {
  Impl& d = *impl_;
  d.requireActive("navegar");
  d.checkBrowseMode();
  d.cursor = d.view.empty() ? 0 : d.view.size() - 1;
  d.eof = true;
  d.bof = d.view.empty();
}

void Dataset::next() {
  Impl& d = *impl_;
  d.requireActive("navegar");
  d.checkBrowseMode();
  if (d.eof) return;
  d.bof = false;
  if (d.cursor + 1 < d.view.size()) {
    ++d.cursor;
  } else {
    d.eof = true;
  }
}

void Dataset::prior() {
  Impl& d = *impl_;
  d.requireActive("navegar");
  d.checkBrowseMode();
  if (d.bof) return;
  d.eof = false;
  if (d.cursor > 0) {
    --d.cursor;
  } else {
    d.bof = true;
  }
}

bool Dataset::eof() const { return !impl_->active() || impl_->eof; }
bool Dataset::bof() const { return !impl_->active() || impl_->bof; }
bool Dataset::isEmpty() const { return !impl_->active() || impl_->view.empty(); }

int Dataset::recordCount() const {
  return impl_->active() ? static_cast<int>(impl_->view.size()) : 0;
}

int Dataset::recNo() const {
  const Impl& d = *impl_;
  // A row being inserted has no place in the view yet.
  if (!d.active() || d.view.empty() || d.state == State::Insert) return 0;
  return static_cast<int>(d.cursor) + 1;
}

// --- editing ---

void Dataset::insert() { impl_->startInsert(false); }
void Dataset::append() { impl_->startInsert(true); }

void Dataset::edit() {
  Impl& d = *impl_;
  d.requireActive("editar");
  if (editing(d.state)) return;
  if (d.view.empty()) {  // as the host platform does: editing nothing starts a new row
    d.startInsert(true);
    return;
  }
  const Row& row = d.rows[d.view[d.cursor]];
  d.buffer = row.values;
  d.editedPosition = d.view[d.cursor];
  d.editedViewIndex = d.cursor;
  d.modified = false;
  d.state = State::Edit;
}

void Dataset::post() { impl_->post(); }
void Dataset::cancel() { impl_->cancel(); }

void Dataset::deleteRecord() {
  Impl& d = *impl_;
  d.requireActive("excluir");
  if (d.state == State::Insert) {  // the new row was never stored
    d.cancel();
    return;
  }
  d.cancel();
  if (d.view.empty()) {
    throw DatasetError("Não é possível excluir em " + d.label() + ": não há registro atual");
  }
  const std::size_t cursor = d.cursor;
  const std::size_t position = d.view[cursor];
  d.rows.erase(d.rows.begin() + static_cast<std::ptrdiff_t>(position));
  d.view.erase(d.view.begin() + static_cast<std::ptrdiff_t>(cursor));
  d.shiftView(position, -1);
  d.placeCursorOn(0, cursor);
}

// --- fields ---

Variant Dataset::value(std::string_view field) const {
  return impl_->readAs(field, [](const Variant& value) { return value; });
}

std::string Dataset::asText(std::string_view field, const HostSettings& settings) const {
  return impl_->readAs(field, [&](const Variant& value) {
    return value.isNull() ? std::string() : value.toText(settings);
  });
}

double Dataset::asNumber(std::string_view field, const HostSettings& settings) const {
  return impl_->readAs(field, [&](const Variant& value) { return value.toNumber(settings); });
}

DateTime Dataset::asDateTime(std::string_view field) const {
  return impl_->readAs(field, [](const Variant& value) { return value.toDateTime(); });
}

bool Dataset::asBool(std::string_view field) const {
  return impl_->readAs(field, [](const Variant& value) { return value.toBool(); });
}

void Dataset::setValue(std::string_view field, const Variant& value, const HostSettings& settings) {
  Impl& d = *impl_;
  const std::size_t position = d.fieldPosition(field);
  if (!editing(d.state)) {
    throw DatasetError("Não é possível alterar o campo '" + d.fields[position].name + "' em " +
                       d.label() + ": o dataset não está em modo de edição ou inserção");
  }
  d.buffer[position] = toFieldValue(d.fields[position], value, d.name, settings);
  d.modified = true;
}

// --- filter ---

void Dataset::setFilter(std::string text) {
  Impl& d = *impl_;
  if (d.filtered) {
    d.checkBrowseMode();
    Filter compiled = d.hasStructure ? parseFilter(text, d.fields, d.name) : Filter{};
    d.filter = std::move(compiled);
  }
  d.filterText = std::move(text);
  if (d.filtered && d.active()) {
    d.rebuildView();
    d.moveFirst();
  }
}

const std::string& Dataset::filter() const { return impl_->filterText; }

void Dataset::setFiltered(bool on) {
  Impl& d = *impl_;
  if (on == d.filtered) return;
  d.checkBrowseMode();
  d.filter = on && d.hasStructure ? parseFilter(d.filterText, d.fields, d.name) : Filter{};
  d.filtered = on;
  if (d.active()) {
    d.rebuildView();
    d.moveFirst();
  }
}

bool Dataset::filtered() const { return impl_->filtered; }

// --- indexes ---

void Dataset::addIndex(std::string name, std::string fields, std::string descendingFields) {
  Impl& d = *impl_;
  IndexDef index = makeIndexDef(std::move(name), fields, descendingFields, d.name);
  if (d.hasStructure) resolveIndex(index, d.fields, d.name);  // a missing field fails now
  // Adding an index again under its name redefines it.
  const auto existing =
      std::find_if(d.indexes.begin(), d.indexes.end(),
                   [&](const IndexDef& other) { return equalsIgnoreCase(other.name, index.name); });
  const bool isActive =
      existing != d.indexes.end() && equalsIgnoreCase(existing->name, d.indexName);
  if (existing != d.indexes.end()) {
    *existing = std::move(index);
  } else {
    d.indexes.push_back(std::move(index));
  }
  if (isActive) setIndexName(d.indexName);
}

void Dataset::setIndexName(std::string name) {
  Impl& d = *impl_;
  if (!name.empty()) {
    const IndexDef* index = d.findIndex(name);
    if (index == nullptr) {
      throw DatasetError("Índice '" + name + "' não encontrado em " + d.label());
    }
    name = index->name;
  }
  std::vector<IndexKey> keys = d.hasStructure ? d.keysFor(name, d.fields) : std::vector<IndexKey>{};
  d.checkBrowseMode();
  const std::uint64_t current = d.currentRowId();
  d.indexName = std::move(name);
  d.indexKeys = std::move(keys);
  if (d.active()) {
    d.rebuildView();
    d.placeCursorOn(current, 0);
  }
}

const std::string& Dataset::indexName() const { return impl_->indexName; }

// --- locate ---

bool Dataset::locate(std::string_view field, const Variant& value, bool ignoreCase) {
  Impl& d = *impl_;
  d.requireActive("localizar");
  const std::vector<LocateKey> keys{d.locateKey(field, value, ignoreCase)};
  d.checkBrowseMode();
  return d.locate(keys);
}

bool Dataset::locate(std::string_view field1, std::string_view field2, const Variant& value1,
                     const Variant& value2, bool ignoreCase) {
  Impl& d = *impl_;
  d.requireActive("localizar");
  const std::vector<LocateKey> keys{d.locateKey(field1, value1, ignoreCase),
                                    d.locateKey(field2, value2, ignoreCase)};
  d.checkBrowseMode();
  return d.locate(keys);
}

}  // namespace ecf
