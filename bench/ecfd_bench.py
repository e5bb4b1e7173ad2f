#!/usr/bin/env python3
"""ecfd's figures on the virtual printer: the round trip of GET /v1/status on loopback (goal:
median under 0.5 ms), and a 100-item receipt by one POST /v1/receipts against the same sale
through ecf_call directly (goal: at most 1.5x).

    bench/ecfd_bench.py BIN_DIR [REPETITIONS]

Both printers live under /dev/shm when it exists, so the disk's flushes do not decide."""
import ctypes
import http.client
import json
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
CONFIG = json.loads((ROOT / "examples" / "service" / "ecfd.json").read_text(encoding="utf-8"))
ITEMS = [{"code": f"{1000 + k}", "name": f"Produto {k}", "quantity": 1, "unitPrice": 1.25, "taxCode": "00"}
         for k in range(100)]


def scratch():
    base = "/dev/shm" if os.path.isdir("/dev/shm") else None
    return pathlib.Path(tempfile.mkdtemp(prefix="ecfd-bench-", dir=base))


def through_ecfd(bin_dir, repetitions):
    work = scratch()
    config = dict(CONFIG, listen="127.0.0.1:0")
    (work / "ecfd.json").write_text(json.dumps(config), encoding="utf-8")
    process = subprocess.Popen([str(bin_dir / "ecfd"), "--config", str(work / "ecfd.json")],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        host, port = process.stdout.readline().split("http://")[1].strip().rsplit(":", 1)
        token = pathlib.Path(process.stdout.readline().split(": ", 1)[1].strip()).read_text().strip()
        headers = {"Authorization": "Bearer " + token, "Content-Type": "application/json"}
        connection = http.client.HTTPConnection(host, int(port))

        def call(method, path, body=None):
            connection.request(method, path, body=None if body is None else json.dumps(body), headers=headers)
            response = connection.getresponse()
            data = response.read()
            assert response.status == 200, data
            return data
        call("GET", "/v1/status")
        status = []
        for _ in range(repetitions * 100):
            start = time.perf_counter()
            call("GET", "/v1/status")
            status.append(time.perf_counter() - start)
        receipts = []
        for n in range(repetitions):
            body = {"saleId": f"bench-{n}", "items": ITEMS, "payments": [{"type": "001", "amount": 125.0}]}
            start = time.perf_counter()
            call("POST", "/v1/receipts", body)
            receipts.append(time.perf_counter() - start)
        return status, receipts
    finally:
        process.terminate()
        process.wait()


def through_ecf_call(bin_dir, repetitions):
    work = scratch()
    os.environ["ECFSIM_ROOT"] = str(work / "printers")
    module = ctypes.CDLL(str(bin_dir / "libecfmodule.so"))
    module.ecf_call.restype = ctypes.c_void_p
    module.ecf_call.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    module.ecf_free.argtypes = [ctypes.c_void_p]
    (work / "host").mkdir()
    module.ecf_SetHostDirectory(str(work / "host").encode())
    defaults = CONFIG["bagDefaults"]

    def call(operation, args):
        reply = module.ecf_call(operation.encode(), json.dumps({"args": args}).encode())
        text = ctypes.string_at(reply).decode()
        module.ecf_free(reply)
        result = json.loads(text)
        assert result["error"] is None and result["result"] is not False, (operation, text)
        return result
    start_bag = dict(defaults["StartImpFiscal"], CDPORTAIMPFIS="ECF1", PORTAIMPFIS="ECF1", ESQUEMA="001",
                     ESQUEMACOR="001")
    call("StartImpFiscal", [start_bag])
    call("CarregaTotalizador", ["", "001", 0, None])
    types = call("CarregaRecebimento", ["", "001", 0, CONFIG["paymentTypes"]])["out"]
    types = next(value for value in types.values() if isinstance(value, dict) and "rows" in value)
    # The layout ecfd sends (receipt_sale.cpp).
    movements = {"fields": ["CDFILIAL:text:4", "IDTIPOMOVIVE:text:1", "DTHRINCMOV:datetime", "CDTIPORECE:text:3",
                            "NMTIPORECE:text:40", "IDTIPORECE:text:1", "VRMOVIVEND:real", "VRMOVIVEOUT:real",
                            "VRCOTINDOUT:real", "CDTIPOTROCO:text:3", "NRORDTROCO:text:3", "CDCLIENTE",
                            "CDCONSUMIDOR", "DTMOVIMCAIXA:datetime", "DSIMPFISCAL:text:50", "CDFPIMPFIS:text:10",
                            "NRCARTBANCO", "CDNSUHOSTTEF", "CDBANCARTCR:text:10", "CDTIPORECEORIG:text:3"],
                 "rows": [{"CDFILIAL": "1", "IDTIPOMOVIVE": "E", "DTHRINCMOV": time.strftime("%Y-%m-%d %H:%M:%S"),
                           "CDTIPORECE": "001", "NMTIPORECE": "Dinheiro", "IDTIPORECE": "1", "VRMOVIVEND": 125.0,
                           "VRMOVIVEOUT": 0.0, "VRCOTINDOUT": 0.0, "DTMOVIMCAIXA": time.strftime("%Y-%m-%d"),
                           "DSIMPFISCAL": "Dinheiro", "CDFPIMPFIS": ""}]}
    at = {"1": "", "2": "001", "4": False, "6": 0.0, "7": 0.0, "8": 0.0, "9": "", "10": "", "11": False,
          "13": movements, "14": types, "19": "", "20": "", "21": "", "22": "7", "23": "Ana Souza", "27": "2",
          "43": "SP"}
    receipts = []
    for _ in range(repetitions):
        start = time.perf_counter()
        call("AbreCupom", [dict(defaults["AbreCupom"], ESQUEMACOR="001")])
        for item in ITEMS:
            call("VendaItem", [dict(defaults["VendaItem"], ESQUEMACOR="001", CDARVPROD=item["code"],
                                    NMPROD=item["name"], CDALIQ="00", QTDE=1, VALOR=1.25)])
        call("FechaCupom", [{"size": 44, "at": at}, []])
        receipts.append(time.perf_counter() - start)
    return receipts


def main():
    bin_dir = pathlib.Path(sys.argv[1]).resolve()
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    status, served = through_ecfd(bin_dir, repetitions)
    direct = through_ecf_call(bin_dir, repetitions)
    median_status = statistics.median(status) * 1000
    ratio = statistics.median(served) / statistics.median(direct)
    print(f"{'figure':46} {'median':>12} {'goal':>10}")
    print(f"{'GET /v1/status round trip':46} {median_status:9.3f} ms {'< 0.5 ms':>10}"
          f"  {'met' if median_status < 0.5 else 'NOT met'}")
    print(f"{'100-item receipt, POST /v1/receipts':46} {statistics.median(served) * 1000:9.1f} ms")
    print(f"{'100-item receipt, ecf_call directly':46} {statistics.median(direct) * 1000:9.1f} ms")
    print(f"{'  ratio':46} {ratio:11.2f}x {'<= 1.5x':>10}  {'met' if ratio <= 1.5 else 'NOT met'}")


if __name__ == "__main__":
    main()
