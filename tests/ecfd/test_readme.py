"""The README's curl lines, run as written against a fresh ecfd (its own port and folder in
place of the README's), answer exactly what the README shows."""
import os
import pathlib
import re
import subprocess

README = pathlib.Path(os.environ.get("ECF_README", "README.md")).resolve()


def section_blocks():
    text = README.read_text(encoding="utf-8")
    section = text.split("## The printer as a service", 1)[1].split("\n## ", 1)[0]
    return re.findall(r"```(\w*)\n(.*?)```", section, re.S)


def test_the_readme_curl_lines_answer_as_shown(new_service):
    service = new_service().start()
    blocks = section_blocks()
    script = next(body for kind, body in blocks if kind == "sh" and "curl" in body)
    shown = next(body for kind, body in blocks if kind == "" and body.startswith("{"))
    script = script.replace("127.0.0.1:8410", service.base.removeprefix("http://"))
    script = script.replace("/tmp/shop/ecfd-host", str(service.workdir / "ecfd-host"))
    # One answer per line, as the README lists them.
    script = re.sub(r"^(curl .*)$", r"\1; echo", script, flags=re.M)
    run = subprocess.run(["bash", "-e", "-o", "pipefail", "-c", script], capture_output=True, text=True,
                         timeout=60)
    assert run.returncode == 0, run.stderr
    assert run.stdout.replace("\n\n", "\n") == shown
