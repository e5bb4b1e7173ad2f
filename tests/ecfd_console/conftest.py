# ecfd on a new virtual printer, and headless Chromium on its console. Each test leaves
# <name>.png (the page as it ended) and <name>.log (ecfd's and the browser's output) in
# ECFD_CONSOLE_OUT.
import json, os, pathlib, socket, subprocess, sys, time, urllib.error, urllib.request

import pytest
from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

BIN = pathlib.Path(os.environ["ECF_TEST_BIN"])
OUT = pathlib.Path(os.environ.get("ECFD_CONSOLE_OUT", "console-screenshots"))
PORT = "ECF1"
PAYMENT_TYPES = {"fields": ["CDTIPORECE:text:3", "DSIMPFISCAL:text:50", "NMTIPORECE:text:40",
                            "IDTIPORECE:text:1", "IDTPBUTTON:text:1", "IDMOSTRARECE:text:1",
                            "CDFPIMPFIS:text:10", "IDEMIVALE:text:1"],
                 "rows": [["001", "Dinheiro", "", "1", "5", "S", "", ""]]}


def plan(env, command, code, name):
    """A refusal of the next `command`, through the printer's controls, in a process of its own
    (a sanitizer build's printer cannot be loaded into this one)."""
    script = ("import ctypes, sys; sim = ctypes.CDLL(sys.argv[1]); sys.exit(sim.ecfsim_fail_command("
              "b'%s', sys.argv[2].encode(), 1, %d, sys.argv[3].encode(), 'Impressora não responde'"
              ".encode()))" % (PORT, code))
    subprocess.run([sys.executable, "-c", script, str(BIN / "libDLLG2.so"), command, name], check=True,
                   env=dict(env, ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=0"))


class Ecfd:
    def __init__(self, home, faults):
        self.home = home
        (home / "host").mkdir()
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.base = "http://127.0.0.1:%d" % probe.getsockname()[1]
        config = {"port": PORT, "hostDirectory": "host", "printerRoot": "printers",
                  "tapeFile": "printers/%s/tape.txt" % PORT, "paymentTypes": PAYMENT_TYPES,
                  "questionTimeoutSeconds": 60,
                  # Card-sale mode: a refused sale command asks the operator to try again.
                  "bagDefaults": {op: {"IDUTILTEF": "T", "UTILTEF": True}
                                  for op in ("AbreCupom", "VendaItem", "FechaCupom")}}
        (home / "ecfd.json").write_text(json.dumps(config))
        env = dict(os.environ, ECFSIM_ROOT=str(home / "printers"))
        for command, code, name in faults:  # planned in the printer's memory before it starts
            plan(env, command, code, name)
        self.log = open(home / "ecfd.log", "w+")
        self.process = subprocess.Popen([str(BIN / "ecfd"), "--config", str(home / "ecfd.json"),
                                         "--listen", self.base[7:]], env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        deadline = time.time() + 30
        while not (home / "host" / "ecfd.token").exists() or not self.answers():
            assert self.process.poll() is None and time.time() < deadline, "ecfd did not start"
            time.sleep(0.1)
        self.token = (home / "host" / "ecfd.token").read_text().strip()

    def answers(self):
        try:
            urllib.request.urlopen(self.base + "/metrics", timeout=2)
            return True
        except OSError:
            return False

    def call(self, method, path, body=None, token=True):
        request = urllib.request.Request(self.base + path, method=method,
                                         data=None if body is None else json.dumps(body).encode())
        request.add_header("Content-Type", "application/json")
        if token:
            request.add_header("Authorization", "Bearer " + self.token)
        try:
            with urllib.request.urlopen(request, timeout=90) as reply:
                return reply.status, json.load(reply)
        except urllib.error.HTTPError as error:
            return error.code, json.load(error)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(20)
        except subprocess.TimeoutExpired:
            self.process.kill()
        self.log.seek(0)
        return self.log.read()


class Page:
    def __init__(self, driver):
        self.driver = driver

    def wait(self, condition, timeout=20):
        return WebDriverWait(self.driver, timeout).until(lambda _: condition())

    # A slip still printing is replaced as it grows: a read that meets the old one reads again.
    def fresh(self, read):
        for _ in range(10):
            try:
                return read()
            except StaleElementReferenceException:
                pass
        return read()

    def text(self, css):
        return self.fresh(lambda: self.driver.find_element("css selector", css).text)

    def all(self, css):
        return self.fresh(lambda: [e.text for e in self.driver.find_elements("css selector", css)])


@pytest.fixture
def faults():
    return []


@pytest.fixture
def ecfd(tmp_path, faults):
    service = Ecfd(tmp_path, faults)
    yield service
    service.stop()


@pytest.fixture
def page(request, ecfd):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1366,900"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # The terminal's screen: 1366x768 of page, whatever the window's frame.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 1366, "height": 768, "deviceScaleFactor": 1, "mobile": False})
    yield Page(driver)
    OUT.mkdir(parents=True, exist_ok=True)
    name = request.node.name
    driver.save_screenshot(str(OUT / (name + ".png")))
    browser = "\n".join(str(entry) for entry in driver.get_log("browser"))
    driver.quit()
    (OUT / (name + ".log")).write_text("---- ecfd\n%s\n---- browser\n%s\n" % (ecfd.stop(), browser))
