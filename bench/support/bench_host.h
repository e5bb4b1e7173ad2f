// What every module benchmark does as a host: load the module at run time, answer its
// questions "no", keep its files in a directory of its own, and build the bags of a sale.
#pragma once

#include <string>
#include <vector>

#include "ecf/variant.h"
#include "module_api.h"

namespace ecfbench {

// The directory this program runs from (the build's bin directory).
std::string executableDirectory();

// The module at `path`, loaded once per process with every operation bound. Exits the
// program with a message when the module or one of its operations is missing.
ecfhost::ModuleApi& loadModule(const std::string& path);

// Where benchmarks keep files that should cost no disk time: ECF_BENCH_TMPFS, else /dev/shm.
std::string tmpfsDirectory();

// A new empty directory under `parent` (which is created when missing); ends with "/".
std::string makeDirectory(const std::string& parent, const std::string& prefix);

// The host side of a session: operator, settings and host directory installed.
void installHost(ecfhost::ModuleApi& module, const std::string& hostDirectory);

ecf::Variant startBag(const std::string& port);
ecf::Variant openingBag();
// The n-th item of a sale: an accented name, a price in cents, tax rate 00.
ecf::Variant itemBag(int n);
// The same item as the request a host sends through the C interface (ecf_call).
std::string itemRequest(int n);
// Its price, so a closing can pay the sale exactly.
double itemPrice(int n);

// The 44 closing positions of a receipt paid in cash with exactly `amount`.
std::vector<ecf::Variant> cashClosing(double amount);

// Resident set size of this process in MiB, from /proc/self/status.
double residentMiB();

}  // namespace ecfbench
