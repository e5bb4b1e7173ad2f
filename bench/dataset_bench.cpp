// The in-memory dataset at 10k and 100k rows: appending, editing one row, locating, the
// filter and a text index. A cost that grows faster than the rows shows as a ratio of
// the 100k figure to the 10k one well above 10.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "ecf/dataset.h"

namespace {

std::string code(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%06d", n);
  return text;
}

// Product, family and consumer names here carry accents; the ASCII names are kept beside
// them to show what the accents cost.
enum class Names { Ascii, Accented };

std::string productName(int n, Names names = Names::Ascii) {
  return (names == Names::Accented ? "Feijão com maçã " : "Produto ") + code(n);
}
// The same name as a host looking it up ignoring case may write it.
std::string upperProductName(int n, Names names) {
  return (names == Names::Accented ? "FEIJÃO COM MAÇÃ " : "PRODUTO ") + code(n);
}

ecf::Dataset emptyProducts() {
  ecf::Dataset products("cdsBenchProdutos");
  products.setFieldDefs({{"CDPRODUTO", ecf::FieldType::Text, 10},
                         {"NMPRODUTO", ecf::FieldType::Text, 40},
                         {"VRPRECO", ecf::FieldType::Real, 0},
                         {"QTESTOQUE", ecf::FieldType::Integer, 0},
                         {"DTCADASTRO", ecf::FieldType::DateTime, 0},
                         {"IDATIVO", ecf::FieldType::Text, 1}});
  products.createDataSet();
  return products;
}

const ecf::DateTime kRegistered = ecf::DateTime::fromParts(2026, 12, 8, 10, 0, 0);

void appendRows(ecf::Dataset& products, int rows, Names names = Names::Ascii) {
  for (int n = 0; n < rows; ++n) {
    products.append();
    products.setValue("CDPRODUTO", code(n));
    products.setValue("NMPRODUTO", productName(n, names));
    products.setValue("VRPRECO", 1.0 + n % 100);
    products.setValue("QTESTOQUE", n % 7);
    products.setValue("DTCADASTRO", kRegistered);
    products.post();
  }
}

// One filled dataset per size, built once and shared by the benchmarks that only read
// or change single rows.
ecf::Dataset& filledProducts(int rows, Names names = Names::Ascii) {
  static std::map<std::pair<int, Names>, ecf::Dataset> filled;
  auto found = filled.find({rows, names});
  if (found == filled.end()) {
    found = filled.emplace(std::make_pair(rows, names), emptyProducts()).first;
    appendRows(found->second, rows, names);
  }
  return found->second;
}

// Append, five values, post: the whole fill of an empty dataset.
void Append(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    ecf::Dataset products = emptyProducts();
    appendRows(products, rows);
    benchmark::DoNotOptimize(products.recordCount());
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(Append)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Edit, one value, post, on a row in the middle.
void EditPost(benchmark::State& state) {
  ecf::Dataset& products = filledProducts(static_cast<int>(state.range(0)));
  if (!products.locate("CDPRODUTO", code(static_cast<int>(state.range(0) / 2)))) {
    state.SkipWithError("the row is not there");
  }
  double price = 0;
  for (auto _ : state) {
    products.edit();
    products.setValue("VRPRECO", price += 0.5);
    products.post();
  }
}
BENCHMARK(EditPost)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void tenAndHundredThousandRows(benchmark::internal::Benchmark* family) {
  family->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
}

// Locating the last row by its name, exactly and ignoring case, among ASCII and among
// accented names.
void Locate(benchmark::State& state, bool ignoreCase, Names names) {
  const int rows = static_cast<int>(state.range(0));
  ecf::Dataset& products = filledProducts(rows, names);
  const std::string wanted =
      ignoreCase ? upperProductName(rows - 1, names) : productName(rows - 1, names);
  for (auto _ : state) {
    if (!products.locate("NMPRODUTO", wanted, ignoreCase)) state.SkipWithError("not found");
  }
}
BENCHMARK_CAPTURE(Locate, exact, false, Names::Ascii)->Apply(tenAndHundredThousandRows);
BENCHMARK_CAPTURE(Locate, ignoring_case, true, Names::Ascii)->Apply(tenAndHundredThousandRows);
BENCHMARK_CAPTURE(Locate, accented_exact, false, Names::Accented)
    ->Apply(tenAndHundredThousandRows);
BENCHMARK_CAPTURE(Locate, accented_ignoring_case, true, Names::Accented)
    ->Apply(tenAndHundredThousandRows);

// Switching on a filter that keeps one row, then off again.
void Filter(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ecf::Dataset& products = filledProducts(rows);
  products.setFilter("NMPRODUTO = '" + productName(rows / 3) + "' AND IDATIVO <> 'N'");
  for (auto _ : state) {
    products.setFiltered(true);
    if (products.recordCount() != 1) state.SkipWithError("the filter kept the wrong rows");
    products.setFiltered(false);
  }
}
BENCHMARK(Filter)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Ordering every row by a descending text index, then back to storage order.
void TextIndex(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ecf::Dataset& products = filledProducts(rows);
  products.addIndex("byNameDescending", "NMPRODUTO", "NMPRODUTO");
  for (auto _ : state) {
    products.setIndexName("byNameDescending");
    products.setIndexName("");
  }
}
BENCHMARK(TextIndex)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
