#include "dll/channels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>

#include "base/utf8.h"
#include "base/utf8_path.h"
#include "core/state_store.h"

namespace ecfsim {

std::optional<std::filesystem::path> printerDirectory(std::string_view port) {
  const auto root = stateRoot();
  if (!root) return std::nullopt;
  return *root / sanitizePortName(port);
}

Registry& Registry::instance() {
  static Registry registry;
  return registry;
}

std::shared_ptr<Printer> Registry::openPrinter(const std::filesystem::path& directory) {
  const auto it = printers_.find(ecf::utf8FromPath(directory));
  return it == printers_.end() ? nullptr : it->second.lock();
}

// The reason goes to the error entries (asked with the negative result as the channel)
// and to the standard error, where an integrator looks.
std::int32_t Registry::refuseOpening(std::int32_t result, ErrorCode code, const std::string& why) {
  std::fprintf(stderr, "ecfsim: %s\n", why.c_str());
  openFailure_ = OpenFailure{static_cast<std::int32_t>(code), ecf::utf8ToCp1252(errorName(code)),
                             ecf::utf8ToCp1252(why)};
  return result;
}

std::int32_t Registry::open(std::string_view port) {
  openFailure_ = OpenFailure{};
  const auto directory = printerDirectory(port);
  if (!directory) {
    return refuseOpening(-1, ErrorCode::SemDiretorioDeEstado,
                         "Nenhum diretório de estado: defina ECFSIM_ROOT.");
  }
  std::shared_ptr<Printer> printer = openPrinter(*directory);
  if (!printer) {
    try {
      printer = Printer::open(*directory);
    } catch (const OpenError& error) {
      return refuseOpening(-2, error.code(), error.what());
    } catch (const std::exception& error) {
      return refuseOpening(-2, ErrorCode::FalhaGravacao, error.what());
    }
    printers_[ecf::utf8FromPath(*directory)] = printer;
  }
  if (printer->state().conditions.refuseOpen) {
    return refuseOpening(-3, ErrorCode::AberturaRecusada,
                         "Abertura da porta recusada (ecfsim_refuse_open).");
  }
  const std::int32_t channel = next_;
  next_ = next_ == std::numeric_limits<std::int32_t>::max() ? 1 : next_ + 1;
  channels_[channel].printer = printer;
  return channel;
}

bool Registry::close(std::int32_t channel) {
  if (channels_.erase(channel) != 1) return false;
  for (auto it = printers_.begin(); it != printers_.end();) {
    it = it->second.expired() ? printers_.erase(it) : std::next(it);
  }
  return true;
}

Channel* Registry::find(std::int32_t channel) {
  const auto it = channels_.find(channel);
  return it == channels_.end() ? nullptr : &it->second;
}

void copyOut(const std::string& text, char* buffer, std::int32_t size, bool utf8) {
  if (buffer == nullptr || size <= 0) return;
  std::size_t length = std::min(text.size(), static_cast<std::size_t>(size) - 1);
  if (utf8 && length < text.size()) {
    // Step back over continuation bytes so the cut falls between characters.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace ecfsim
