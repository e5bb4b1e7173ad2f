"""The fiscal-printer module from Python, through its C interface (ecf/ecf.h).

    from decimal import Decimal
    from ecfmodule import Module

    module = Module("/path/to/libecfmodule.so")
    module.set_operator(lambda message: message["kind"] == "question")
    reply = module.call("Suprimento", "001", Decimal("150.50"))
    print(reply.result, reply.notices)

Arguments go by position (in the catalogue's order) or by name; amounts may be given as
Decimal (sent as decimal texts, never as binary floats), date-times as datetime. A call the
module cannot make raises EcfError with the module's code and message.
"""

import ctypes
import datetime
import decimal
import json
import os
import sys

__all__ = ["Module", "Reply", "EcfError"]


class EcfError(Exception):
    """A call the module could not make (nothing was sent to the printer)."""

    def __init__(self, operation, code, message):
        super().__init__(f"{operation}: {code}: {message}")
        self.operation = operation
        self.code = code
        self.message = message


class Reply:
    """What one call gave: its result, what it wrote back, what it showed and asked, and what
    the printer refused on the way."""

    def __init__(self, json_reply):
        self.result = json_reply["result"]
        self.out = json_reply["out"]
        self.notices = json_reply["notices"]
        self.questions = json_reply["questions"]
        self.refusals = json_reply["refusals"]

    def __repr__(self):
        return f"Reply(result={self.result!r}, out={self.out!r}, notices={self.notices!r})"


def _to_json(value):
    if isinstance(value, decimal.Decimal):
        return {"amount": format(value, "f")}
    if isinstance(value, datetime.datetime):
        return {"date": value.strftime("%Y-%m-%d %H:%M:%S")}
    if isinstance(value, datetime.date):
        return {"date": value.strftime("%Y-%m-%d")}
    raise TypeError(f"{type(value).__name__} has no JSON form for the module")


def _default_library():
    here = os.path.dirname(os.path.abspath(__file__))
    name = "ecfmodule.dll" if os.name == "nt" else "libecfmodule.so"
    return os.environ.get("ECF_MODULE", os.path.join(here, name))


# 32-bit Windows hosts call the module with stdcall; everywhere else the C convention.
if os.name == "nt" and sys.maxsize <= 2**32:
    _Library, _CALLBACK = ctypes.WinDLL, ctypes.WINFUNCTYPE
else:
    _Library, _CALLBACK = ctypes.CDLL, ctypes.CFUNCTYPE

_OperatorFn = _CALLBACK(ctypes.c_int, ctypes.c_void_p, ctypes.c_char_p)


class Module:
    """The module loaded from `path` (default: $ECF_MODULE, else beside this package)."""

    def __init__(self, path=None):
        path = path or _default_library()
        self._lib = _Library(path)
        lib = self._lib
        # The host-directory export keeps the platform's own convention, as for C++ hosts.
        self._set_directory = ctypes.CDLL(path).ecf_SetHostDirectory
        self._set_directory.restype = None
        self._set_directory.argtypes = [ctypes.c_char_p]
        # ecf_call's reply is a pointer the module allocated: kept as one, freed by it.
        lib.ecf_call.restype = ctypes.c_void_p
        lib.ecf_call.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        lib.ecf_free.restype = None
        lib.ecf_free.argtypes = [ctypes.c_void_p]
        lib.ecf_operations.restype = ctypes.c_char_p
        lib.ecf_operations.argtypes = []
        lib.ecf_set_settings_json.restype = ctypes.c_int
        lib.ecf_set_settings_json.argtypes = [ctypes.c_char_p]
        lib.ecf_set_operator.restype = None
        lib.ecf_set_operator.argtypes = [_OperatorFn, ctypes.c_void_p]
        self._operator = None  # the ctypes callback, alive while installed
        self._catalogue = None

    def operations(self):
        """The catalogue: {"operations": [...], "errors": [...]}."""
        if self._catalogue is None:
            self._catalogue = json.loads(self._lib.ecf_operations().decode("utf-8"))
        return self._catalogue

    def call(self, operation, *args, answers=None, **named):
        """Runs one operation: arguments by position or by name, not both."""
        if args and named:
            raise TypeError("give the arguments by position or by name, not both")
        request = {"args": named if named else list(args)}
        if answers is not None:
            request["answers"] = ["yes" if answer else "no" for answer in answers]
        text = json.dumps(request, default=_to_json, ensure_ascii=False)
        pointer = self._lib.ecf_call(operation.encode("utf-8"), text.encode("utf-8"))
        if not pointer:
            raise MemoryError("the module ran out of memory")
        try:
            reply = json.loads(ctypes.string_at(pointer).decode("utf-8"))
        finally:
            self._lib.ecf_free(pointer)
        if reply["error"] is not None:
            raise EcfError(operation, reply["error"]["code"], reply["error"]["message"])
        return Reply(reply)

    def set_operator(self, function):
        """function(message) -> bool, message = {"text", "kind", "scheme", "type"};
        None removes it. An exception in it answers no."""
        if function is None:
            self._lib.ecf_set_operator(_OperatorFn(), None)
            self._operator = None
            return

        def answer(_context, message):
            try:
                return 1 if function(json.loads(message.decode("utf-8"))) else 0
            except Exception:  # the module must get an answer, never an exception
                return 0

        callback = _OperatorFn(answer)
        self._lib.ecf_set_operator(callback, None)
        self._operator = callback

    def set_settings(self, **settings):
        """decimalSeparator, thousandSeparator, shortDateFormat, currencyString, ..."""
        if not self._lib.ecf_set_settings_json(json.dumps(settings).encode("utf-8")):
            raise ValueError(f"the module refused the settings {settings!r}")

    def set_host_directory(self, directory):
        self._set_directory(os.fsencode(directory))
