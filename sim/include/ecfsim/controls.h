/* Controls of the virtual printer, for tests and integrators. The module never calls
 * them. Each names its printer by the port text given to DLLG2_IniciaDriver (the same
 * bytes), so it works whether or not that printer is open; on an open printer it acts on
 * the open channel's printer at once.
 *
 * Results: 0 (or, for texts, the text's length in bytes) on success, a negative number
 * on failure: -1 bad argument, -2 printer unavailable (state root not set, directory not
 * usable, or the printer held by another process), -3 the change was refused or could
 * not be saved.
 *
 * Texts in (JSON, error names and circumstances) and out (JSON, tape) are UTF-8. A text
 * result is copied into `buffer` when `size` > 0: at most size - 1 bytes, never cutting
 * a character, then a NUL. Call with a null buffer and size 0 to learn the length. */
#ifndef ECFSIM_CONTROLS_H
#define ECFSIM_CONTROLS_H

#include <stdint.h>

#if defined(_WIN32)
#  if defined(ECFSIM_BUILDING_DLL)
#    define ECFSIM_API __declspec(dllexport)
#  else
#    define ECFSIM_API __declspec(dllimport)
#  endif
#else
#  define ECFSIM_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Applies a configuration (JSON object; see sim/README.md for the keys). */
ECFSIM_API int ecfsim_configure(const char* port, const char* json);
/* Wipes the printer: state, tape and command record. The next use finds a new printer. */
ECFSIM_API int ecfsim_reset(const char* port);
/* Refuses the nth next command (1 = the very next), counting only commands named
 * `command` when it is not null or empty, with this error code (> 0), name and
 * circumstance (null: "FalhaSimulada" / "Falha simulada."). */
ECFSIM_API int ecfsim_fail_command(const char* port, const char* command, int nth, int code,
                                   const char* name, const char* circumstance);
/* The next command named `command` (any command when null or empty) is not carried out
 * and is answered exactly so: DLLG2_ExecutaComando returns `execution_result`,
 * DLLG2_ObtemCodErro `error_code` (0 or less reads as success), then the error name,
 * circumstance and returned text given (null: empty). Several planned answers for the
 * same command are given one per command, in the order they were planned. */
ECFSIM_API int ecfsim_script_answer(const char* port, const char* command, int execution_result,
                                    int error_code, const char* name, const char* circumstance,
                                    const char* returned);
/* Drops every planned refusal and scripted answer. */
ECFSIM_API int ecfsim_clear_faults(const char* port);
/* While on (1), DLLG2_IniciaDriver returns a negative channel for this port. */
ECFSIM_API int ecfsim_refuse_open(const char* port, int refuse);
/* While on (1), every command is refused with ImpressoraNaoResponde. */
ECFSIM_API int ecfsim_set_offline(const char* port, int offline);
/* While on (1), every printing command is refused with SemPapel. */
ECFSIM_API int ecfsim_set_paper_out(const char* port, int out);
/* Moves the printer's clock by `seconds` (may be negative). */
ECFSIM_API int ecfsim_move_clock(const char* port, int64_t seconds);
/* Freezes the clock at "yyyy-mm-dd hh:mm:ss"; null or "" puts it back on the
 * computer's clock with no offset. */
ECFSIM_API int ecfsim_set_clock(const char* port, const char* datetime);
/* Sets the drawer sensor that LeIndicador "SensorGaveta" reports. */
ECFSIM_API int ecfsim_set_drawer(const char* port, int open);
/* The command record as a JSON array. */
ECFSIM_API int ecfsim_get_record(const char* port, char* buffer, int size);
ECFSIM_API int ecfsim_clear_record(const char* port);
/* The printer's state as a JSON object. */
ECFSIM_API int ecfsim_get_state(const char* port, char* buffer, int size);
/* The printer's state directory, the tape file's path, and the tape's text. */
ECFSIM_API int ecfsim_get_directory(const char* port, char* buffer, int size);
ECFSIM_API int ecfsim_get_tape_path(const char* port, char* buffer, int size);
ECFSIM_API int ecfsim_get_tape(const char* port, char* buffer, int size);

#ifdef __cplusplus
}
#endif

#endif
