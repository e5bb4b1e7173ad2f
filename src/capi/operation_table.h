// The table of operations behind the C interface: each operation's name, what it does, its
// result, its arguments with their kinds and directions, and the adapter that reads the
// arguments from JSON, calls the operation and reports its result and what it wrote back.
// ecf_call runs an operation from it and ecf_operations lists it, so the two agree.
//
// The arguments a caller gives (`params`) follow the operation's declaration in order,
// except the highest index of an open array (taken from the array). The arguments it only
// writes (`outs`) are never given; they come back in the reply's "out", by name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "capi/json_values.h"
#include "ecf/dataset.h"
#include "ecf/stringlist.h"

namespace ecf::capi {

enum class Kind { Text, Number, Integer, Boolean, Bag, Positions, Dataset, StringList, DateTime };
enum class Direction { In, InOut };
enum class ResultType { None, Boolean, Text, Number, DateTime };

struct Param {
  const char* name;
  Kind kind;
  Direction direction = Direction::In;
};

struct Output {
  const char* name;
  Kind kind;
};

struct Outcome {
  Json result;                // null for an operation with no result
  Json out = Json::object();  // what it wrote back, by name
};

// A call that cannot be made: a stable code (see errorCodes()) and a message naming the
// argument.
class CallError : public std::runtime_error {
 public:
  CallError(const char* code, const std::string& message)
      : std::runtime_error(message), code_(code) {}
  const char* code() const { return code_; }

 private:
  const char* code_;
};

struct Operation;

// One call's arguments, converted on demand with a clear message when they do not fit.
// Every argument is converted before the operation is called (they are the call's
// arguments), so a call that cannot be made sends nothing to the printer.
class Call {
 public:
  // `args`: one value per param (null pointers for those left out).
  Call(const Operation& operation, std::vector<const Json*> args)
      : operation_(operation), args_(std::move(args)) {}

  std::string text(std::size_t i) const;
  double number(std::size_t i) const;  // a number or a decimal text "10.50"
  std::int32_t integer(std::size_t i) const;
  bool boolean(std::size_t i) const;
  ecf::Variant bag(std::size_t i) const;
  std::vector<ecf::Variant> positions(std::size_t i) const;
  ecf::Dataset dataset(std::size_t i) const;  // null gives an empty, closed dataset
  ecf::StringList strings(std::size_t i) const;
  ecf::DateTime dateTime(std::size_t i) const;  // "YYYY-MM-DD[ hh:mm[:ss]]" or {"date": ...}

 private:
  const Json& arg(std::size_t i) const;
  [[noreturn]] void wrong(std::size_t i, const std::string& wanted) const;
  [[noreturn]] void badValue(std::size_t i, const std::exception& error) const;

  const Operation& operation_;
  std::vector<const Json*> args_;
};

struct Operation {
  const char* name;
  ResultType result;
  const char* description;
  std::vector<Param> params;
  std::vector<Output> outs;
  Outcome (*run)(Call& call);
};

const std::vector<Operation>& operations();
const Operation* findOperation(std::string_view name);

// Whether a param may be left out (then null): the kinds that have an empty value.
bool mayBeLeftOut(Kind kind);
const char* kindName(Kind kind);
const char* resultTypeName(ResultType type);
// "Suprimento(scheme: text, amount: number)".
std::string usage(const Operation& operation);

// The stable error codes, with what each means.
struct ErrorCode {
  const char* code;
  const char* meaning;
};
const std::vector<ErrorCode>& errorCodes();

// A bag as a JSON object of its fields.
Json bagToJson(const ecf::Variant& bag);

// The module's clock, for "now".
ecf::DateTime moduleNow();

}  // namespace ecf::capi
