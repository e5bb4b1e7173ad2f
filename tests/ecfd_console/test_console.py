# The operator's console in a real browser, against ecfd on a new virtual printer.
import re
import threading

import pytest
from selenium.webdriver.common.keys import Keys

QUESTION = "Impressora não responde. Imprimir novamente?"


def sale(sale_id, name, price):
    return {"saleId": sale_id,
            "items": [{"code": "7891000100103", "name": name, "quantity": 1, "unitPrice": price,
                       "taxCode": "00", "unit": "UN"}],
            "payments": [{"type": "001", "amount": price}]}


def open_console(page, ecfd):
    page.driver.get(ecfd.base + "/#token=" + ecfd.token)
    page.wait(lambda: page.text("#link-chip") == "Ao vivo")


def slips(page):
    return page.all("#tape .slip h2")


def test_a_new_printer_is_shown_as_it_is_and_the_link_forgets_the_token(page, ecfd):
    status = ecfd.call("GET", "/v1/status")[1]
    open_console(page, ecfd)
    page.wait(lambda: page.text("#st-coo") == str(status["coo"]))
    assert [page.text("#st-" + name) for name in ("online", "document", "paper", "crz", "gt")] == \
        ["Em linha", "Nenhum aberto", "Com papel", str(status["crz"]), "R$ 0,00"]
    assert page.text("#st-day") in ("Aberto", "Não aberto")
    assert slips(page) == [] and page.text("#tape-empty") != ""
    assert page.driver.current_url == ecfd.base + "/"
    assert page.driver.execute_script("return sessionStorage.getItem('ecfd.token')") == ecfd.token
    # A phone: one column, nothing wider than the screen.
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": 390, "height": 844, "deviceScaleFactor": 1, "mobile": True})
    assert page.driver.execute_script(
        "return document.documentElement.scrollWidth <= window.innerWidth")


def test_a_receipt_posted_elsewhere_appears_as_a_slip_and_the_coo_advances(page, ecfd):
    open_console(page, ecfd)
    coo = int(page.wait(lambda: page.text("#st-coo").isdigit() and page.text("#st-coo")))
    page.driver.execute_script("window.notReloaded = true")
    assert ecfd.call("POST", "/v1/receipts", sale("console-1", "Pão de queijo", 4.5))[0] == 200
    page.wait(lambda: page.text("#st-coo") == str(coo + 1))
    page.wait(lambda: len(slips(page)) >= 1)
    newest = page.text("#tape .slip pre")
    assert "CUPOM FISCAL" in slips(page)[0] and "Pão de queijo" in newest and "4,50" in newest
    assert page.driver.execute_script("return window.notReloaded === true")
    operations = page.all("#journal tbody tr td:nth-child(2)")
    assert operations[0] == "FechaCupom" and "AbreCupom" in operations


@pytest.mark.parametrize("faults", [[("VendaDeItem", 3, "ImpressoraNaoResponde")]])
def test_a_refused_item_asks_and_yes_prints_it(page, ecfd):
    open_console(page, ecfd)
    replies = []
    sale_thread = threading.Thread(target=lambda: replies.append(
        ecfd.call("POST", "/v1/receipts", sale("console-2", "Café coado", 6.0))))
    sale_thread.start()
    page.wait(lambda: page.driver.find_element("id", "dlg-question").is_displayed())
    assert page.text("#question-text") == QUESTION
    assert page.all("#avisos .notice span") == ["3: ImpressoraNaoResponde Impressora não responde"]
    page.driver.find_element("id", "question-yes").click()
    sale_thread.join(60)
    assert replies and replies[0][0] == 200
    page.wait(lambda: not page.driver.find_element("id", "dlg-question").is_displayed())
    page.wait(lambda: len(slips(page)) == 1)
    assert "Café coado" in page.text("#tape .slip pre")
    item = next(row for row in page.driver.find_elements("css selector", "#journal tbody tr")
                if row.text.split()[1] == "VendaItem")
    assert [cell.text for cell in item.find_elements("tag name", "td")][2:] == \
        ["Aceita", "3: ImpressoraNaoResponde - Impressora não responde"]
    # The notice stays after the question is gone, until the operator dismisses it.
    page.driver.find_element("css selector", "#avisos .notice button").click()
    assert page.all("#avisos .notice") == []


def test_x_prints_at_once_and_z_waits_for_the_confirmation_naming_the_day(page, ecfd):
    open_console(page, ecfd)
    page.driver.find_element("id", "btn-x").click()
    page.wait(lambda: slips(page) and "LEITURA X" in slips(page)[0])
    z_button = page.driver.find_element("id", "btn-z")
    z_button.send_keys(Keys.ENTER)  # the keyboard reaches every action
    page.wait(lambda: page.driver.find_element("id", "dlg-z").is_displayed())
    day = re.search(r"\d\d/\d\d/\d{4}", page.text("#tape .slip pre")).group()
    assert page.text("#z-text") == ("Confirma a redução Z do dia fiscal %s? O dia será encerrado e "
                                    "não haverá mais vendas nele." % day)
    page.driver.find_element("id", "z-cancel").click()
    assert len(slips(page)) == 1 and len(ecfd.call("GET", "/v1/tape")[1]["documents"]) == 1
    z_button.click()
    page.wait(lambda: page.driver.find_element("id", "dlg-z").is_displayed())
    page.driver.find_element("id", "z-confirm").click()
    page.wait(lambda: "REDUÇÃO Z" in slips(page)[0])
    page.wait(lambda: page.text("#st-crz") == "1")


def test_without_the_token_the_page_asks_for_it_and_the_api_refuses(page, ecfd):
    page.driver.get(ecfd.base + "/")
    page.wait(lambda: page.driver.find_element("id", "dlg-token").is_displayed())
    assert ecfd.call("GET", "/v1/status", token=False)[0] == 401
    token_input = page.driver.find_element("id", "token-input")
    token_input.send_keys("not-the-token", Keys.ENTER)
    page.wait(lambda: page.driver.find_element("id", "token-error").is_displayed())
    token_input.send_keys(ecfd.token, Keys.ENTER)
    page.wait(lambda: page.text("#link-chip") == "Ao vivo")
    assert not page.driver.find_element("id", "dlg-token").is_displayed()
    assert page.text("#st-online") == "Em linha"


def test_a_days_work_typed_in_the_page_prints_what_was_typed(page, ecfd):
    open_console(page, ecfd)
    find = lambda element: page.driver.find_element("id", element)

    def printed(count):
        page.wait(lambda: len(slips(page)) == count)
        return page.text("#tape .slip pre")

    find("cash-amount").send_keys("150,00")
    find("btn-supply").click()
    assert "Suprimento" in printed(1) and "150,00" in page.text("#tape .slip pre")
    for number, (name, price) in enumerate([("Pão de queijo", 4.5), ("Açaí 500ml", 18.9),
                                            ("Café coado", 6.0)]):
        ecfd.call("POST", "/v1/receipts", sale("day-%d" % number, name, price))
    assert "Café coado" in printed(4)
    find("cash-amount").send_keys("80,5")
    find("btn-withdrawal").click()
    assert "Sangria" in printed(5) and "80,50" in page.text("#tape .slip pre")
    find("report-text").send_keys("Troca de turno: caixa conferido <ok>")
    find("btn-report").click()
    assert "Troca de turno: caixa conferido <ok>" in printed(6)
    find("btn-x").click()
    printed(7)
    assert [title.split(" · ")[1] for title in slips(page)][:1] == ["LEITURA X"]
    assert find("cash-amount").get_attribute("value") == "" == find("report-text").get_attribute("value")
