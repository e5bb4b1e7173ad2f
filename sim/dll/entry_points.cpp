// The 19 entry points of the printer driver library, unmangled, with the calling
// convention of dllg2.h. Text in and out is Windows-1252. No exception leaves them: an
// unknown channel or an internal failure gives a negative number or an empty text.
#include <cstdint>
#include <string>

#include "base/utf8.h"
#include "base/utf8_path.h"
#include "core/registers.h"
#include "dll/channels.h"
#include "ecf/dllg2.h"

#if defined(_WIN32)
#define DLLG2_EXPORT __declspec(dllexport)
#else
#define DLLG2_EXPORT __attribute__((visibility("default")))
#endif

using ecfsim::Channel;
using ecfsim::Registry;

namespace {

constexpr std::int32_t kFailure = -1;
// A host that never clears its list should not grow it without end.
constexpr std::size_t kMaxPendingParams = 256;

const char kEmpty[] = "";

std::string fromHost(const char* text) { return text ? ecf::cp1252ToUtf8(text) : std::string(); }

// Hands out a library-owned text, copying it into the caller's buffer too.
const char* handOut(std::string& slot, std::string text, char* buffer, std::int32_t size) {
  slot = std::move(text);
  ecfsim::copyOut(slot, buffer, size, false);
  return slot.c_str();
}

const char* emptyText(char* buffer, std::int32_t size) {
  ecfsim::copyOut(kEmpty, buffer, size, false);
  return kEmpty;
}

// Runs `body` on the channel under the registry lock; `fallback` for an unknown channel
// or a failure.
template <class Result, class Body>
Result onChannel(std::int32_t channel, Result fallback, Body body) {
  try {
    Registry& registry = Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex());
    Channel* c = registry.find(channel);
    return c ? body(*c) : fallback;
  } catch (...) {
    return fallback;
  }
}

// Reads the reason of the last failed opening under the registry lock.
template <class Result, class Body>
Result onOpenFailure(Result fallback, Body body) {
  try {
    Registry& registry = Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex());
    return body(registry.openFailure());
  } catch (...) {
    return fallback;
  }
}

// Name=value pairs of a returned text; blanks inside double quotes do not split.
std::vector<std::string> returnedPairs(const std::string& text) {
  std::vector<std::string> pairs;
  std::string current;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == ' ' && !quoted) {
      if (!current.empty()) pairs.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) pairs.push_back(current);
  return pairs;
}

}  // namespace

extern "C" {

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_Versao() { return "ecfsim DLLG2 1.0"; }

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_ConfiguraDriver(std::int32_t channel,
                                                          std::int32_t speed,
                                                          std::int32_t options) {
  return onChannel(channel, kFailure, [&](Channel& c) {
    c.speed = speed;
    c.options = options;
    return std::int32_t{0};
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_IniciaDriver(const char* port) {
  try {
    Registry& registry = Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex());
    return registry.open(port ? std::string(port) : std::string());
  } catch (...) {
    return kFailure;
  }
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_EncerraDriver(std::int32_t channel) {
  try {
    Registry& registry = Registry::instance();
    std::lock_guard<std::mutex> lock(registry.mutex());
    return registry.close(channel) ? 0 : kFailure;
  } catch (...) {
    return kFailure;
  }
}

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_ObtemNomeLog(std::int32_t channel, char* buffer,
                                                       std::int32_t size) {
  return onChannel(channel, emptyText(buffer, size), [&](Channel& c) {
    return handOut(c.scratchText, ecf::utf8ToCp1252(ecf::utf8FromPath(c.printer->record().path())),
                   buffer, size);
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_LeTimeout(std::int32_t channel) {
  return onChannel(channel, kFailure, [&](Channel& c) { return c.timeout; });
}

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_ListaParams(std::int32_t channel, char* buffer,
                                                      std::int32_t size) {
  return onChannel(channel, emptyText(buffer, size), [&](Channel& c) {
    std::string list;
    for (const ecfsim::Param& p : c.pending) {
      if (!list.empty()) list += ' ';
      list += p.name + "=\"" + p.value + "\"(" + std::to_string(p.type) + ")";
    }
    return handOut(c.scratchText, ecf::utf8ToCp1252(list), buffer, size);
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_ExecutaComando(std::int32_t channel,
                                                         const char* command) {
  return onChannel(channel, kFailure, [&](Channel& c) {
    c.last = c.printer->execute(fromHost(command), c.pending);
    c.errorNameText = ecf::utf8ToCp1252(c.last.errorName);
    c.circumstanceText = ecf::utf8ToCp1252(c.last.circumstance);
    c.returnedText = ecf::utf8ToCp1252(c.last.returned);
    return c.last.executionResult;
  });
}

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_LeRegistrador(std::int32_t channel, const char* name,
                                                        char* buffer, std::int32_t size) {
  return onChannel(channel, emptyText(buffer, size), [&](Channel& c) {
    const auto value =
        ecfsim::registerText(c.printer->state(), c.printer->now(), fromHost(name));
    return handOut(c.scratchText, ecf::utf8ToCp1252(value.value_or("")), buffer, size);
  });
}

// A channel of zero or less is no channel: it is what a failed DLLG2_IniciaDriver
// returned, and the three error entries then tell why the opening failed.
DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_ObtemCodErro(std::int32_t channel) {
  if (channel <= 0) {
    return onOpenFailure(kFailure, [](const ecfsim::OpenFailure& f) { return f.code; });
  }
  return onChannel(channel, kFailure, [&](Channel& c) { return c.last.code; });
}

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_ObtemNomeErro(std::int32_t channel, char* buffer,
                                                        std::int32_t size) {
  if (channel <= 0) {
    return onOpenFailure(emptyText(buffer, size), [&](const ecfsim::OpenFailure& f) {
      ecfsim::copyOut(f.errorName, buffer, size, false);
      return f.errorName.c_str();
    });
  }
  return onChannel(channel, emptyText(buffer, size), [&](Channel& c) {
    ecfsim::copyOut(c.errorNameText, buffer, size, false);
    return c.errorNameText.c_str();
  });
}

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_ObtemCircunstancia(std::int32_t channel, char* buffer,
                                                             std::int32_t size) {
  if (channel <= 0) {
    return onOpenFailure(emptyText(buffer, size), [&](const ecfsim::OpenFailure& f) {
      ecfsim::copyOut(f.circumstance, buffer, size, false);
      return f.circumstance.c_str();
    });
  }
  return onChannel(channel, emptyText(buffer, size), [&](Channel& c) {
    ecfsim::copyOut(c.circumstanceText, buffer, size, false);
    return c.circumstanceText.c_str();
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_TotalRetornos(std::int32_t channel) {
  return onChannel(channel, kFailure, [&](Channel& c) {
    return static_cast<std::int32_t>(returnedPairs(c.returnedText).size());
  });
}

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_Retorno(std::int32_t channel, std::int32_t index,
                                                  char* buffer, std::int32_t size) {
  return onChannel(channel, emptyText(buffer, size), [&](Channel& c) {
    const auto pairs = returnedPairs(c.returnedText);
    if (index < 0 || static_cast<std::size_t>(index) >= pairs.size()) {
      return handOut(c.scratchText, "", buffer, size);
    }
    return handOut(c.scratchText, pairs[static_cast<std::size_t>(index)], buffer, size);
  });
}

DLLG2_EXPORT const char* DLLG2_CALL DLLG2_ObtemRetornos(std::int32_t channel, char* buffer,
                                                        std::int32_t size) {
  return onChannel(channel, emptyText(buffer, size), [&](Channel& c) {
    ecfsim::copyOut(c.returnedText, buffer, size, false);
    return c.returnedText.c_str();
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_DefineTimeout(std::int32_t channel,
                                                        std::int32_t seconds) {
  return onChannel(channel, kFailure, [&](Channel& c) {
    c.timeout = seconds;
    return std::int32_t{0};
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_SetaArquivoLog(std::int32_t channel,
                                                         const char* path) {
  // Kept only: the printer writes its own command record in its state directory.
  return onChannel(channel, kFailure, [&](Channel& c) {
    c.logPath = fromHost(path);
    return std::int32_t{0};
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_LimpaParams(std::int32_t channel) {
  return onChannel(channel, kFailure, [&](Channel& c) {
    c.pending.clear();
    return std::int32_t{0};
  });
}

DLLG2_EXPORT std::int32_t DLLG2_CALL DLLG2_AdicionaParam(std::int32_t channel, const char* name,
                                                        const char* value, std::int32_t type) {
  return onChannel(channel, kFailure, [&](Channel& c) {
    if (name == nullptr || *name == '\0' || c.pending.size() >= kMaxPendingParams) {
      return kFailure;
    }
    c.pending.push_back(ecfsim::Param{fromHost(name), fromHost(value), type});
    return std::int32_t{0};
  });
}

}  // extern "C"

// The exported entries must keep exactly the argument lists the module binds.
#include <type_traits>
static_assert(std::is_same_v<decltype(&DLLG2_Versao), DLLG2_Versao_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ConfiguraDriver), DLLG2_ConfiguraDriver_t>);
static_assert(std::is_same_v<decltype(&DLLG2_IniciaDriver), DLLG2_IniciaDriver_t>);
static_assert(std::is_same_v<decltype(&DLLG2_EncerraDriver), DLLG2_EncerraDriver_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ObtemNomeLog), DLLG2_ObtemNomeLog_t>);
static_assert(std::is_same_v<decltype(&DLLG2_LeTimeout), DLLG2_LeTimeout_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ListaParams), DLLG2_ListaParams_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ExecutaComando), DLLG2_ExecutaComando_t>);
static_assert(std::is_same_v<decltype(&DLLG2_LeRegistrador), DLLG2_LeRegistrador_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ObtemCodErro), DLLG2_ObtemCodErro_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ObtemNomeErro), DLLG2_ObtemNomeErro_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ObtemCircunstancia), DLLG2_ObtemCircunstancia_t>);
static_assert(std::is_same_v<decltype(&DLLG2_TotalRetornos), DLLG2_TotalRetornos_t>);
static_assert(std::is_same_v<decltype(&DLLG2_Retorno), DLLG2_Retorno_t>);
static_assert(std::is_same_v<decltype(&DLLG2_ObtemRetornos), DLLG2_ObtemRetornos_t>);
static_assert(std::is_same_v<decltype(&DLLG2_DefineTimeout), DLLG2_DefineTimeout_t>);
static_assert(std::is_same_v<decltype(&DLLG2_SetaArquivoLog), DLLG2_SetaArquivoLog_t>);
static_assert(std::is_same_v<decltype(&DLLG2_LimpaParams), DLLG2_LimpaParams_t>);
static_assert(std::is_same_v<decltype(&DLLG2_AdicionaParam), DLLG2_AdicionaParam_t>);
