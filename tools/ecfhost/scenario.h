// `ecfhost run FILE`: a scenario file is a list of steps, each an operation of the module
// by name with its arguments, the operator's scripted answers and what the step must give.
//
// {
//   "description": "what the scenario shows",
//   "decimalSeparator": ",",                    optional: "," (default) or "."
//   "bagDefaults": {"VendaItem": {...}},        optional: bag fields every call of that
//                                               operation gets unless the step gives them
//   "tables": {"name": {"fields": [...], "rows": [...]}},   optional: reusable packets
//   "steps": [
//     {"op": "Suprimento", "args": ["001", 150.5],
//      "note": "printed with the step",        optional
//      "answers": ["yes", "no"],               optional: the operator's next answers
//      "expect": {                             optional; every part optional
//        "result": true,                       the operation's result
//        "out": {"result": [0, "", ""]},       what it wrote back, by name
//        "tape": ["SUPRIMENTO"],               texts this step printed
//        "log": ["Comando Executado: ..."],    texts this step wrote to the debug log
//        "notices": ["..."], "questions": ["..."]   texts the operator was shown/asked
//      }}
//   ]
// }
//
// Each step is one call of the module's C interface (ecf_call): the argument forms are the
// module's JSON mapping, and a table reference {"table": "name"} stands for that table.
// `ecfhost run --list` prints the operations from the module's catalogue.
#pragma once

#include <string>

#include "host_session.h"

namespace ecfhost {

// Exit status: 0 every expectation met, 1 a step failed its expectation, 2 the file is
// malformed (unknown operation, wrong argument count, bad value) or the module did not load.
int runScenario(const std::string& file, const std::string& directory, bool reuse,
                const HostOptions& options);

// Reads and checks a scenario's text against the module's catalogue (ecf_operations)
// without running it. Throws std::exception naming the first thing wrong; never anything
// else.
void checkScenario(const std::string& text, const std::string& catalogue);

// The supported operations with their argument lists, one per line.
void listOperations();

}  // namespace ecfhost
