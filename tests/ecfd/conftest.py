"""ecfd started as a user starts it, on the virtual printer, and spoken to over real HTTP."""
import json
import os
import pathlib
import signal
import subprocess
import urllib.error
import urllib.request

import pytest

PROGRAM = pathlib.Path(os.environ.get("ECFD_PROGRAM", "build/default/bin/ecfd")).resolve()
EXAMPLES = pathlib.Path(os.environ.get("ECF_EXAMPLES_DIR", "examples")).resolve()
# The Windows build runs under Wine through the build's launcher.
EXE = [*os.environ.get("ECFD_LAUNCHER", "").split(), str(PROGRAM)]
UNDER_WINE = bool(os.environ.get("ECFD_LAUNCHER"))


def local_path(printed):
    """A path as the program printed it; Wine's Z: drive is this machine's root."""
    if printed[:2].upper() == "Z:":
        return pathlib.Path(printed[2:].replace("\\", "/"))
    return pathlib.Path(printed)


class Service:
    def __init__(self, workdir, **overrides):
        self.workdir = pathlib.Path(workdir)
        self.workdir.mkdir(parents=True, exist_ok=True)
        config = json.loads((EXAMPLES / "service" / "ecfd.json").read_text(encoding="utf-8"))
        config.update({"listen": "127.0.0.1:0", "questionTimeoutSeconds": 5})
        config.update(overrides)
        self.config_path = self.workdir / "ecfd.json"
        self.config_path.write_text(json.dumps(config, ensure_ascii=False), encoding="utf-8")
        self.printer_dir = self.workdir / "ecfd-printers" / "ECF1"
        self.process = None

    def start(self, *arguments):
        self.process = subprocess.Popen(EXE + ["--config", str(self.config_path), *arguments], cwd=self.workdir,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        first, second = self.process.stdout.readline(), self.process.stdout.readline()
        assert first.startswith("ecfd listening on http://"), first + self.process.stderr.read()
        assert second.startswith("token file: "), second
        self.base = first.split("listening on ", 1)[1].strip()
        self.token = local_path(second.split(": ", 1)[1].strip()).read_text().strip()
        return self

    def stop(self, sig=signal.SIGTERM):
        if self.process is None:
            return None
        if self.process.poll() is None:
            self.process.send_signal(sig)
            self.process.wait(timeout=30)
        return self.process.returncode

    def request(self, method, path, body=None, token=True, headers=None, raw=None, timeout=30):
        data = raw if raw is not None else (None if body is None else json.dumps(body).encode())
        request = urllib.request.Request(self.base + path, data=data, method=method)
        if token:
            request.add_header("Authorization", "Bearer " + (self.token if token is True else token))
        if data is not None:
            request.add_header("Content-Type", "application/json")
        for name, value in (headers or {}).items():
            request.add_header(name, value)
        try:
            with urllib.request.urlopen(request, timeout=timeout) as response:
                return Reply(response.status, response.headers, response.read())
        except urllib.error.HTTPError as error:
            return Reply(error.code, error.headers, error.read())

    def commands(self, name=None):
        path = self.printer_dir / "commands.jsonl"
        lines = [json.loads(line) for line in path.read_text(encoding="utf-8").splitlines() if line]
        return [line for line in lines if name is None or line["command"] == name]


class Reply:
    def __init__(self, status, headers, data):
        self.status, self.headers, self.data = status, headers, data

    @property
    def json(self):
        return json.loads(self.data)

    @property
    def text(self):
        return self.data.decode("utf-8")


def sale(sale_id, items=None, payments=None, **extra):
    body = {"saleId": sale_id,
            "items": items or [{"code": "1001", "name": "Pão de queijo", "quantity": 2,
                                "unitPrice": 4.5, "taxCode": "00"}],
            "payments": payments or [{"type": "001", "amount": 10.0}]}
    body.update(extra)
    return body


@pytest.fixture(scope="module")
def service(tmp_path_factory):
    running = Service(tmp_path_factory.mktemp("ecfd")).start()
    yield running
    running.stop()


@pytest.fixture
def new_service(tmp_path):
    started = []

    def make(**overrides):
        started.append(Service(tmp_path / f"s{len(started)}", **overrides))
        return started[-1]
    yield make
    for running in started:
        running.stop(signal.SIGKILL)
