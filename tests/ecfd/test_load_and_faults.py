"""ecfd under load and killed: receipts in arrival order without interleaving, a full queue,
a receipt interrupted by SIGKILL and settled at the next start, a client that goes away."""
import signal
import threading
import time
import urllib.error

import pytest

from conftest import UNDER_WINE, sale


def wait_for_question(service):
    questions = service.request("GET", "/v1/questions?wait=10").json["questions"]
    assert questions, "no question was published"
    return questions[0]


def refused_sale(sale_id):
    return sale(sale_id, [{"code": "1001", "name": "Pão de queijo", "quantity": 1, "unitPrice": 4.5, "taxCode": "00"},
                          {"code": "1009", "name": "Empada de palmito", "quantity": 1, "unitPrice": 6.0, "taxCode": "09"}],
                [{"type": "001", "amount": 20}])


def test_eight_clients_of_25_receipts_print_in_order_without_interleaving(new_service):
    service = new_service(queueLimit=16).start()
    first_coo = service.request("GET", "/v1/status").json["coo"]
    replies, failures = {}, []

    def client(number):
        for n in range(25):
            sale_id = f"c{number}-{n}"
            items = [{"code": f"{number}{n:02d}{k}", "name": f"Item {k}", "quantity": 1, "unitPrice": 1.0 + k,
                      "taxCode": "00"} for k in range(3)]
            while True:
                reply = service.request("POST", "/v1/receipts", sale(sale_id, items, [{"type": "001", "amount": 6}]))
                if reply.status != 503:
                    break
                assert reply.headers["Retry-After"] == "1"
                time.sleep(0.05)
            if reply.status != 200 or reply.json["saleId"] != sale_id or reply.json["total"] != 6.0:
                failures.append((sale_id, reply.status, reply.data))
            replies[sale_id] = reply.json
    threads = [threading.Thread(target=client, args=(number,)) for number in range(8)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert not failures
    assert sorted(r["coo"] for r in replies.values()) == list(range(first_coo + 1, first_coo + 201))
    # Between each opening and the next, the items of one sale only, in its order.
    record = [c for c in service.commands() if c["command"] in ("AbreCupomFiscal", "VendaDeItem")]
    receipts = []
    for command in record:
        if command["command"] == "AbreCupomFiscal":
            receipts.append([])
        else:
            receipts[-1].append(next(p["value"] for p in command["params"] if p["name"] == "CodProduto"))
    by_prefix = [codes for codes in receipts[-200:]]
    assert all(len(codes) == 3 and len({c[:-1] for c in codes}) == 1 and [c[-1] for c in codes] == ["0", "1", "2"]
               for codes in by_prefix)


def test_a_full_queue_answers_503_with_retry_after(new_service):
    service = new_service(queueLimit=1, questionTimeoutSeconds=20).start()
    while service.request("GET", "/v1/status").status == 503:  # behind the start-up
        time.sleep(0.05)
    assert service.request("POST", "/v1/receipts", {**refused_sale("q-1"), "async": True}).status == 202
    question = wait_for_question(service)  # the worker waits for the operator
    assert service.request("POST", "/v1/cash/supply", {"amount": 1, "async": True}).status == 202
    full = service.request("POST", "/v1/cash/supply", {"amount": 2})
    assert full.status == 503 and full.headers["Retry-After"] == "1" and full.json["error"]["code"] == "busy"
    assert service.request("POST", f"/v1/questions/{question['id']}", {"answer": "no"}).status == 200


def test_a_receipt_killed_midway_is_cancelled_at_the_next_start(new_service):
    service = new_service(questionTimeoutSeconds=30).start()
    coo = service.request("GET", "/v1/status").json["coo"]
    assert service.request("POST", "/v1/receipts", {**refused_sale("kill-1"), "async": True}).status == 202
    wait_for_question(service)  # the receipt is open, its first item printed
    service.stop(signal.SIGKILL)
    service.start()
    status = service.request("GET", "/v1/status").json
    assert status["documentOpen"] is False
    replay = service.request("POST", "/v1/receipts", refused_sale("kill-1"))
    assert replay.status == 422
    outcome = replay.json["sale"]
    assert (outcome["status"], outcome["cancelled"], outcome["interrupted"], outcome["replayed"]) == (
        "cancelled", True, True, True)
    assert len(service.commands("AbreCupomFiscal")) == 1
    assert status["coo"] == coo + 1  # the receipt, cancelled on its own paper; nothing printed twice
    assert "CUPOM FISCAL CANCELADO" in service.request("GET", "/v1/tape").json["documents"][-1]["html"]


def test_a_client_gone_midway_does_not_stop_its_receipt(new_service):
    service = new_service(questionTimeoutSeconds=20).start()
    gone = threading.Thread(target=lambda: _expect_timeout(service, refused_sale("gone-1")))
    gone.start()
    question = wait_for_question(service)
    gone.join()
    assert service.request("POST", f"/v1/questions/{question['id']}", {"answer": "no"}).status == 200
    replay = service.request("POST", "/v1/receipts", refused_sale("gone-1"))
    assert replay.status == 422 and replay.json["sale"]["status"] == "cancelled"
    assert replay.json["sale"]["replayed"] is True


def _expect_timeout(service, body):
    try:
        service.request("POST", "/v1/receipts", body, timeout=1)
    except (TimeoutError, urllib.error.URLError):
        return
    raise AssertionError("the request was answered before its question")


@pytest.mark.skipif(UNDER_WINE, reason="Wine ends the program on SIGTERM, without a console event")
def test_sigterm_stops_cleanly(new_service):
    service = new_service().start()
    assert service.request("GET", "/v1/status").status == 200
    assert service.stop(signal.SIGTERM) == 0
    assert service.commands()[-1]["command"] != "AbreCupomFiscal"
