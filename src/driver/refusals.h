// The printer's refusals while one call of the C interface runs, for that call's reply: the
// call opens a RefusalWatch, and every refusal the module reads from the driver is noted in
// it (the same code, name and circumstance the debug log gets).
#pragma once

#include <string>
#include <vector>

namespace ecf {

struct Refusal {
  int code = 0;
  std::string name;
  std::string circumstance;
};

class RefusalWatch {
 public:
  RefusalWatch();
  ~RefusalWatch();
  RefusalWatch(const RefusalWatch&) = delete;
  RefusalWatch& operator=(const RefusalWatch&) = delete;

  const std::vector<Refusal>& refusals() const { return refusals_; }

 private:
  friend void noteRefusal(int code, const std::string& name, const std::string& circumstance);
  std::vector<Refusal> refusals_;
  RefusalWatch* previous_;
};

// Noted in the watch open, if any; without one, nothing is kept.
void noteRefusal(int code, const std::string& name, const std::string& circumstance);

}  // namespace ecf
