"""Every route of ecfd on the virtual printer: documents, passthrough, questions, events, tape,
metrics and the OpenAPI document."""
import re
import json
import socket
import threading
import time

import pytest

from conftest import sale


def raw_exchange(service, text):
    host, port = service.base.removeprefix("http://").rsplit(":", 1)
    with socket.create_connection((host, int(port)), timeout=10) as connection:
        connection.sendall(text.encode())
        return connection.recv(65536).decode("utf-8", "replace")


def test_starts_and_answers_its_status_on_the_address_given(new_service):
    service = new_service(listen="127.0.0.1:1").start("--listen", "127.0.0.1:0")
    assert service.base != "http://127.0.0.1:1"
    status = service.request("GET", "/v1/status").json
    assert status["started"] and status["onLine"] and not status["documentOpen"]
    assert status["fiscalDay"] is None  # no day opened yet
    assert service.request("POST", "/v1/cash/supply", {"amount": "10.00"}).status == 200
    printed = re.search(r"(\d\d)/(\d\d)/(\d{4}) \d\d:\d\d:\d\d",
                        service.request("GET", "/v1/tape").json["documents"][-1]["html"]).groups()
    assert service.request("GET", "/v1/status").json["fiscalDay"] == "-".join(reversed(printed))


@pytest.mark.parametrize("method,path,body,kwargs,status,code", [
    ("GET", "/v1/status", None, {"token": False}, 401, "unauthorized"),
    ("GET", "/v1/status", None, {"token": "0" * 64}, 401, "unauthorized"),
    ("GET", "/v1/events", None, {"token": False}, 401, "unauthorized"),
    ("GET", "/v1/status", None, {"headers": {"Host": "printer.attacker.example"}}, 403, "forbidden_host"),
    ("GET", "/metrics", None, {"headers": {"Host": "127.0.0.1.nip.io:8410"}}, 403, "forbidden_host"),
    ("POST", "/v1/receipts", None, {"raw": b'{"saleId": "x", '}, 400, "bad_request"),
    ("POST", "/v1/cash/supply", None, {"raw": b"[" * 65 + b"]" * 65}, 400, "bad_request"),
    ("POST", "/v1/operations/NoSuchOperation", {}, {}, 404, "unknown_operation"),
    ("GET", "/index.html", None, {}, 404, "not_found"),
    ("GET", "/console/missing.js", None, {}, 404, "not_found"),
    ("GET", "/v1/receipts", None, {}, 405, "method_not_allowed"),
    ("POST", "/v1/readings/z", {}, {}, 400, "bad_request"),
    ("POST", "/v1/cash/supply", {"amount": "ten"}, {}, 400, "bad_request"),
    ("POST", "/v1/receipts", sale("bad-pay", payments=[{"type": "009", "amount": 9}]), {}, 400, "bad_request"),
    ("POST", "/v1/receipts", sale("short", payments=[{"type": "001", "amount": 8.99}]), {}, 400, "bad_request"),
    ("POST", "/v1/questions/999", {"answer": "yes"}, {}, 404, "not_found"),
    ("GET", "/v1/tasks/t999", None, {}, 404, "not_found"),
])
def test_refusals_have_one_error_shape(service, method, path, body, kwargs, status, code):
    reply = service.request(method, path, body, **kwargs)
    assert reply.status == status, reply.data
    assert reply.json["error"]["code"] == code
    assert set(reply.json["error"]) == {"code", "message", "printer"}
    if status == 401:
        assert reply.headers["WWW-Authenticate"] == "Bearer"


def test_malformed_json_says_why_and_limits_close_the_connection(service):
    reason = service.request("POST", "/v1/receipts", raw=b'{"saleId": }').json["error"]["message"]
    assert "not valid JSON" in reason and "syntax error" in reason
    deep = service.request("POST", "/v1/reports", raw=b"[" * 65 + b"]" * 65).json["error"]["message"]
    assert deep == "the JSON body is nested deeper than 64 levels"
    auth = f"Authorization: Bearer {service.token}\r\nHost: localhost\r\n"
    big = raw_exchange(service, f"POST /v1/reports HTTP/1.1\r\n{auth}Content-Length: {1024 * 1024 + 1}\r\n\r\n")
    assert big.startswith("HTTP/1.1 413") and '"payload_too_large"' in big
    huge = raw_exchange(service, f"GET /v1/status HTTP/1.1\r\n{auth}X-Filler: {'a' * 17000}\r\n\r\n")
    assert huge.startswith("HTTP/1.1 431")


def test_no_cors_unless_the_origin_is_listed(service, new_service):
    plain = service.request("GET", "/v1/status", headers={"Origin": "http://shop.example"})
    assert plain.status == 200 and "Access-Control-Allow-Origin" not in plain.headers
    listed = new_service(allowedOrigins=["http://console.example"]).start()
    allowed = listed.request("GET", "/v1/tape", headers={"Origin": "http://console.example"})
    assert allowed.headers["Access-Control-Allow-Origin"] == "http://console.example"
    other = listed.request("GET", "/v1/tape", headers={"Origin": "http://shop.example"})
    assert "Access-Control-Allow-Origin" not in other.headers
    preflight = listed.request("OPTIONS", "/v1/receipts", token=False, headers={"Origin": "http://console.example"})
    assert preflight.status == 204 and "Authorization" in preflight.headers["Access-Control-Allow-Headers"]


# The receipt as the printer received it: CPF, items, the discount, payments in the
# request's order, the footer between the promotion and the closing remark.
EXPECTED_SALE = [
    ("AbreCupomFiscal", ["", "529.982.247-25", ""]),
    ("VendaDeItem", ["Y", "00", "1001", "", "Pão de queijo", "4,500", "3,000", "UN"]),
    ("VendaDeItem", ["Y", "00", "1002", "", "Café expresso", "5,500", "2,000", "UN"]),
    ("AcresceSubtotal", ["", "-1,50", ""]),
    ("PagaCupom", ["Cartão de débito", "", "20,00"]),
    ("PagaCupom", ["Dinheiro", "", "10,00"]),
    ("EncerraDocumento", ["", "Obrigado pela preferência!\n\nCNPJ/CPF : 529.982.247-25\nSistema de automação "
                              "comercial\r\nOperador: 7 - Ana Souza\r\n\r\n" + " " * 47 + "\r\nVolte sempre!\r\n"]),
    ("LeInteiro", ["COO"]),
]


def test_a_sale_prints_once_per_sale_id(service):
    items = [{"code": "1001", "name": "Pão de queijo", "quantity": 3, "unitPrice": 4.5, "taxCode": "00"},
             {"code": "1002", "name": "Café expresso", "quantity": 2, "unitPrice": "5.50", "taxCode": "00",
              "unit": "UN"}]
    body = sale("route-sale-1", items, [{"type": "003", "amount": 20}, {"type": "001", "amount": 10}],
                discount=1.5, cpf="529.982.247-25", footer=["Obrigado pela preferência!", "Volte sempre!"])
    before = service.request("GET", "/v1/status").json
    first = service.request("POST", "/v1/receipts", body)
    assert first.status == 200, first.data
    assert {k: first.json[k] for k in ("status", "coo", "printed", "cancelled", "total", "change", "replayed")} == {
        "status": "printed", "coo": before["coo"] + 1, "printed": {"opened": True, "items": 2, "closed": True},
        "cancelled": False, "total": 23.0, "change": 7.0, "replayed": False}
    record = service.commands()
    opened = max(i for i, c in enumerate(record) if c["command"] == "AbreCupomFiscal")
    assert [(c["command"], [p["value"] for p in c["params"]]) for c in record[opened:]] == EXPECTED_SALE
    tape = service.request("GET", "/v1/tape").json["documents"]
    assert "Pão de queijo" in tape[-1]["html"] and "CPF/CNPJ consumidor: 529.982.247-25" in tape[-1]["html"]
    again = service.request("POST", "/v1/receipts", body)
    assert again.status == 200 and again.json == {**first.json, "replayed": True}
    assert len(service.commands("AbreCupomFiscal")) == len([c for c in record if c["command"] == "AbreCupomFiscal"])
    reused = service.request("POST", "/v1/receipts", {**body, "discount": 0})
    assert reused.status == 409 and reused.json["error"]["code"] == "sale_id_reused"


def answer_next_question(service, answer):
    questions = service.request("GET", "/v1/questions?wait=10").json["questions"]
    assert questions, "no question was published"
    reply = service.request("POST", f"/v1/questions/{questions[0]['id']}", {"answer": answer})
    assert reply.status == 200
    return questions[0]["text"]


def test_a_refused_item_not_retried_cancels_the_receipt(service):
    items = [{"code": "1001", "name": "Pão de queijo", "quantity": 1, "unitPrice": 4.5, "taxCode": "00"},
             {"code": "1009", "name": "Empada de palmito", "quantity": 1, "unitPrice": 6.0, "taxCode": "09"}]
    accepted = service.request("POST", "/v1/receipts", {**sale("route-refused", items), "async": True,
                                                        "payments": [{"type": "001", "amount": 20}]})
    assert accepted.status == 202
    assert "1009 - Empada de palmito" in answer_next_question(service, "yes")  # printed again: refused again
    answer_next_question(service, "no")
    for _ in range(100):
        task = service.request("GET", accepted.json["href"]).json
        if task["state"] == "done":
            break
        time.sleep(0.05)
    assert task["status"] == 422
    error = task["body"]["error"]
    assert (error["code"], error["printer"]["name"]) == ("printer_refused", "AliquotaNaoProgramada")
    outcome = task["body"]["sale"]
    assert (outcome["status"], outcome["printed"]["items"], outcome["cancelled"]) == ("cancelled", 1, True)
    assert outcome["failure"]["step"] == "VendaItem" and outcome["failure"]["item"] == 2
    assert [c["command"] for c in service.commands()[-2:]] == ["CancelaCupom", "LeInteiro"]
    assert not service.request("GET", "/v1/status").json["documentOpen"]


@pytest.mark.parametrize("path,body,title", [
    ("/v1/cash/supply", {"amount": 150}, "COMPROVANTE NÃO-FISCAL"),
    ("/v1/cash/withdrawal", {"amount": "80.00"}, "COMPROVANTE NÃO-FISCAL"),
    ("/v1/reports", {"text": "RESUMO DO TURNO\nOperadora: Ana Souza\n"}, "RELATÓRIO GERENCIAL"),
    ("/v1/readings/x", {}, "LEITURA X"),
])
def test_documents(service, path, body, title):
    before = service.request("GET", "/v1/status").json["coo"]
    reply = service.request("POST", path, body)
    assert reply.status == 200, reply.data
    assert reply.json["printed"] and reply.json["coo"] == before + 1
    assert service.request("GET", "/v1/tape").json["documents"][-1]["title"] == title


def test_operation_passthrough_and_catalogue(service):
    names = [op["name"] for op in service.request("GET", "/v1/operations").json["operations"]]
    assert {"AbreCupom", "VendaItem", "FechaCupom", "Nr_Cupom"} <= set(names)
    coo = service.request("GET", "/v1/status").json["coo"]
    reply = service.request("POST", "/v1/operations/Nr_Cupom", {"args": ["", "001"]})
    assert reply.status == 200 and reply.json["result"] == f"{coo:06d}" and reply.json["error"] is None
    bad = service.request("POST", "/v1/operations/Nr_Cupom", {"args": {"nothing": 1}})
    assert bad.status == 400 and bad.json["error"]["code"] == "bad_request"


def test_events_stream_what_happens(service):
    import urllib.request
    request = urllib.request.Request(service.base + "/v1/events",
                                     headers={"Authorization": "Bearer " + service.token})
    stream = urllib.request.urlopen(request, timeout=10)
    assert stream.headers["Content-Type"].startswith("text/event-stream")
    events = {}

    def read():
        name = None
        for line in stream:
            line = line.decode().rstrip("\n")
            if line.startswith("event: "):
                name = line[7:]
            elif line.startswith("data: ") and name:
                events.setdefault(name, []).append(json.loads(line[6:]))
                if "tape" in events and "status" in events:
                    return
    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    time.sleep(0.2)
    assert service.request("POST", "/v1/cash/supply", {"amount": 5}).status == 200
    reader.join(timeout=10)
    stream.close()
    assert [e["operation"] for e in events["operation"]][-1] == "Suprimento"
    assert events["operation"][-1]["result"] is True and events["operation"][-1]["error"] is None
    assert events["tape"][-1]["title"] == "COMPROVANTE NÃO-FISCAL"
    assert events["status"][-1]["coo"] == service.request("GET", "/v1/status").json["coo"]


def test_metrics_count_documents_refusals_and_requests(service):
    text = service.request("GET", "/metrics", token=False).text
    lines = dict(line.rsplit(" ", 1) for line in text.splitlines() if line and not line.startswith("#"))
    assert int(lines['ecfd_documents_printed_total{kind="CUPOM FISCAL"}']) >= 1
    assert int(lines['ecfd_printer_refusals_total{error="AliquotaNaoProgramada"}']) >= 2
    assert lines["ecfd_queue_depth"] == "0"
    assert lines["ecfd_printer_on_line"] == "1" and lines["ecfd_printer_document_open"] == "0"
    assert int(lines['ecfd_http_request_duration_seconds_bucket{le="+Inf"}']) == int(
        lines["ecfd_http_request_duration_seconds_count"]) > 10


def test_openapi_lists_every_route_and_accepts_its_examples(service):
    document = service.request("GET", "/v1/openapi.json").json
    assert document["openapi"].startswith("3.")
    assert set(document["paths"]) == {
        "/v1/status", "/v1/operations", "/v1/operations/{name}", "/v1/receipts", "/v1/cash/supply",
        "/v1/cash/withdrawal", "/v1/readings/x", "/v1/readings/z", "/v1/reports", "/v1/questions",
        "/v1/questions/{id}", "/v1/tasks/{id}", "/v1/events", "/v1/tape", "/v1/openapi.json", "/metrics"}
    examples = [(path, operation, operation["requestBody"]["content"]["application/json"]["example"])
                for path, item in document["paths"].items() for method, operation in item.items()
                if "requestBody" in operation]
    assert len(examples) == 8
    # The Z reduction closes the day: last.
    for path, operation, example in sorted(examples, key=lambda e: e[0] == "/v1/readings/z"):
        concrete = path.replace("{name}", operation.get("parameters", [{}])[0].get("example", "")).replace("{id}", "1")
        reply = service.request("POST", concrete, example)
        assert reply.status not in (400, 405) and reply.status < 500, (path, reply.data)
