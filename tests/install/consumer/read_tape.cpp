// Prints the paper tape of the virtual printer on the port given, read through its
// controls. Usage: read_tape PORT (ECFSIM_ROOT names the printers' memory).
#include <ecfsim/controls.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const int length = ecfsim_get_tape(argv[1], nullptr, 0);
  if (length < 0) return 1;
  std::vector<char> tape(static_cast<std::size_t>(length) + 1);
  if (ecfsim_get_tape(argv[1], tape.data(), length + 1) != length) return 1;
  std::fwrite(tape.data(), 1, static_cast<std::size_t>(length), stdout);
  return 0;
}
