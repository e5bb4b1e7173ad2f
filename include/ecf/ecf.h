/* The module's language-neutral interface: plain C functions whose arguments and results
 * are UTF-8 JSON texts, so that a host in any language with a foreign-function interface
 * (Delphi, C#, Java, Python, ...) calls every operation of the module without C++ types.
 *
 * A call:   char* reply = ecf_call("VendaItem", "{\"args\": {...}, \"answers\": [\"yes\"]}");
 *           ... read the reply ...
 *           ecf_free(reply);
 *
 * Every function here is serialised under the module's lock, like every export of the
 * module; an operator callback must not call back into the module.
 *
 * Compiles as C11 and as C++. */
#ifndef ECF_ECF_H
#define ECF_ECF_H

#if defined(_WIN32)
#  if defined(ECF_BUILDING_MODULE)
#    define ECF_C_API __declspec(dllexport)
#  else
#    define ECF_C_API
#  endif
#else
#  define ECF_C_API __attribute__((visibility("default")))
#endif

/* The calling convention of every function here and of the operator callback: the one a
 * 32-bit Windows host expects of a DLL (stdcall), the platform's own elsewhere. */
#if defined(_WIN32) && !defined(_WIN64)
#  define ECF_CALL __stdcall
#else
#  define ECF_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Runs one operation of the module.
 *
 * request_json: {"args": [...] or {...}, "answers": ["yes", "no", ...]}
 *   args      the operation's arguments, as a list in declaration order or as an object
 *             keyed by the argument names of the catalogue (ecf_operations); may be left out
 *             for an operation without arguments. NULL or "" is the same as "{}".
 *             The arguments given are the catalogue's "in" and "inout" ones, in its order;
 *             the "out" ones are never given (they come back in "out"), nor the highest
 *             index of an open array (a positional array carries its length). Arguments
 *             marked "optional" (datasets, lists of texts, date-times) may be left out or
 *             null. Values: texts, numbers, true/false; a bag {"FIELD": value, ...}; a
 *             positional array [v0, v1, ...] or {"size": 44, "at": {"2": v}}; a dataset or
 *             data packet {"fields": ["NAME:type[:size]", ...], "rows": [[...], {...}]};
 *             a date-time "2026-12-08 10:15:00" (or {"date": ...} inside other values);
 *             an amount a number, a decimal text "10.50" or {"amount": "10.50"}.
 *   answers   the operator's answers to the questions this call asks, in order; past the
 *             list the operator callback answers, else the answer is no.
 *
 * Returns a JSON text, always (NULL only when memory runs out), to be released with ecf_free:
 *   {"result": ..., "out": {...}, "notices": [...], "questions": [{"text": ..., "answer": ...}],
 *    "refusals": [{"code": 30, "name": "...", "circumstance": "..."}], "error": null}
 * "refusals" are the printer's own refusals during the call, in order, as its driver named
 * them (at most 64).
 * or, for a call that could not be made (nothing was sent to the printer):
 *   {"result": null, ..., "error": {"code": "...", "message": "..."}}
 * The codes are stable: see ecf_operations' "errors" (unknown_operation, bad_json,
 * bad_request, missing_argument, unknown_argument, bad_argument, out_of_range,
 * reentrant_call, internal). A call made from inside the operator callback of another
 * call is refused with reentrant_call. */
ECF_C_API char* ECF_CALL ecf_call(const char* operation, const char* request_json);

/* Releases a text returned by ecf_call. NULL is allowed. */
ECF_C_API void ECF_CALL ecf_free(char* text);

/* The catalogue of operations as JSON: every operation with its arguments (name, type,
 * direction in / out / inout), its result type and what it does. Owned by the module, built
 * once, valid until the module is unloaded.
 *   {"operations": [{"name": "Suprimento", "description": "...", "result": "boolean",
 *                    "args": [{"name": "scheme", "type": "text", "direction": "in"}, ...]}],
 *    "errors": [{"code": "unknown_operation", "meaning": "..."}, ...]} */
ECF_C_API const char* ECF_CALL ecf_operations(void);

/* The host's number and date settings, as a JSON object with any of:
 *   {"decimalSeparator": ",", "thousandSeparator": ".", "shortDateFormat": "dd/mm/yyyy",
 *    "longTimeFormat": "hh:nn:ss", "currencyString": "R$", ...}
 * (also "dateSeparator", "timeSeparator", "currencyFormat" 0-3, "currencyDecimals" 0-4;
 * the two separators of a number must differ).
 * The keys left out keep their current value. Returns 1 when taken, 0 for bad JSON or a
 * value that does not fit (the settings are then unchanged). */
ECF_C_API int ECF_CALL ecf_set_settings_json(const char* settings_json);

/* The operator behind every message box and question. The callback receives one message as
 *   {"text": "...", "kind": "notice" | "question", "scheme": "...", "type": 3}
 * and returns 1 for yes, 0 for no (notices ignore it). NULL removes it: notices are then
 * only logged and questions answered no. */
typedef int(ECF_CALL* ecf_operator_fn)(void* context, const char* message_json);
ECF_C_API void ECF_CALL ecf_set_operator(ecf_operator_fn callback, void* context);

/* The directory of the debug log and the grand-total file; "" restores the executable's.
 * The same export as the C++ hosts' (host.h), with the platform's own calling convention. */
ECF_C_API void ecf_SetHostDirectory(const char* directory);

#ifdef __cplusplus
}
#endif

#endif /* ECF_ECF_H */
