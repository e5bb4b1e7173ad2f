"""A working day through the Python binding, on the virtual printer (ECFSIM_ROOT)."""

import os
from decimal import Decimal

import pytest

from ecfmodule import EcfError, Module

PAYMENT_FIELDS = [
    "CDFILIAL:text:4", "IDTIPOMOVIVE:text:1", "DTHRINCMOV:datetime", "CDTIPORECE:text:3",
    "NMTIPORECE:text:40", "IDTIPORECE:text:1", "VRMOVIVEND:real", "VRMOVIVEOUT:real",
    "VRCOTINDOUT:real", "CDTIPOTROCO:text:3", "NRORDTROCO:text:3", "CDCLIENTE", "CDCONSUMIDOR",
    "DTMOVIMCAIXA:datetime", "DSIMPFISCAL:text:50", "CDFPIMPFIS:text:10", "NRCARTBANCO",
    "CDNSUHOSTTEF", "CDBANCARTCR:text:10", "CDTIPORECEORIG:text:3"]
RECEIPT = {"ESQUEMACOR": "001", "INTTEFERRO": "", "INCLUICPF": "", "INCLUINOME": "",
           "INCLUIENDERECO": "", "CUPNR": "", "CONTCUPOM": "", "TIPOTICKET": "", "IVACOMP": "",
           "IVAPROP": "", "TIPODOC": "", "NRDOC": "", "MESA": "", "IDUTILTEF": "N",
           "UTILTEF": False}
ITEM = {"ESQUEMACOR": "001", "INTEFERRO": "", "MESA": "", "FLAG": "", "CDALIQ": "00",
        "IDALIQ": "T", "DESCONT": 0, "UNIDADE": "UN", "TIPOTICKET": "", "VRPERCALIQ": 18,
        "IDUTILTEF": "N", "UTILTEF": False}


def start(module, port):
    module.set_host_directory(os.environ["ECF_CLIENT_DIR"])
    bag = {"CDFILIAL": "1", "CDCAIXA": "1", "NRSERIEIMP": "VP1", "NRSERIE": "VP1",
           "ESQUEMA": "001", "ESQUEMACOR": "001", "CDPORTAIMPFIS": port, "PORTAIMPFIS": port}
    assert module.call("StartImpFiscal", bag).result is True


def tape(port):
    with open(os.path.join(os.environ["ECFSIM_ROOT"], port, "tape.txt"), encoding="utf-8") as f:
        return f.read()


@pytest.fixture
def module():
    loaded = Module(os.environ["ECF_MODULE"])
    yield loaded
    loaded.call("FechaPorta")
    loaded.set_operator(None)


def test_a_working_day_supply_sale_withdrawal_x_and_z(module):
    start(module, "DAY")
    module.call("CarregaAliquota", "001")
    totalizers = module.call("CarregaTotalizador", "", "001", 0).out
    assert (totalizers["idTotParcSuprimento"], totalizers["idTotParcSangria"]) == ("00", "01")
    types = {"fields": ["CDTIPORECE:text:3", "DSIMPFISCAL:text:50", "NMTIPORECE:text:40",
                        "IDTIPORECE:text:1", "IDTPBUTTON:text:1", "IDMOSTRARECE:text:1",
                        "CDFPIMPFIS:text:10", "IDEMIVALE:text:1"],
             "rows": [["001", "Dinheiro", "", "1", "5", "S", "", ""]]}
    module.call("CarregaRecebimento", "", "001", 0, types)
    assert module.call("Suprimento", scheme="001", amount=Decimal("50.00")).result is True

    assert module.call("AbreCupom", RECEIPT).result is True
    for code, name, quantity, price in [("1001", "Pão de queijo", 2, "4.50"),
                                        ("2002", "Café coado", 1, "3.20")]:
        item = dict(ITEM, CDARVPROD=code, NMPROD=name, QTDE=quantity, VALOR=Decimal(price))
        assert module.call("VendaItem", item).result is True
    payments = {"fields": PAYMENT_FIELDS, "rows": [
        {"CDFILIAL": "1", "IDTIPOMOVIVE": "E", "DTHRINCMOV": "now", "CDTIPORECE": "001",
         "VRMOVIVEND": Decimal("20.00"), "DSIMPFISCAL": "Dinheiro"}]}
    reconciled = {"fields": ["CDTIPORECE:text:3", "NMTIPORECE:text:40", "IDTIPORECE:text:1"],
                  "rows": [["001", "Dinheiro", "1"]]}
    closing = {"size": 44, "at": {"2": "001", "4": False, "6": 0, "7": 0, "8": 0, "9": "",
                                  "11": False, "13": payments, "14": reconciled, "21": "",
                                  "27": "2"}}
    closed = module.call("FechaCupom", closing, [])
    assert (closed.result, closed.out["result"]) == (True, [0, "", ""])

    assert module.call("Sangria", "", "001", Decimal("15.00"), None).result is True
    assert module.call("Leitura_X_Imp", "", "001", "").result is True
    assert module.call("Reducao_Z_Imp", "", "001", "").result is True
    printed = tape("DAY")
    for line in ["00 Suprimento                              50,00",
                 "    2,000 UN x 4,50 T00                     9,00",
                 "TOTAL R$                                   12,20",
                 "TROCO R$                                    7,80",
                 "01 Sangria                                 15,00",
                 "LEITURA X", "REDUÇÃO Z"]:
        assert line in printed


def test_questions_go_to_the_answers_then_the_operator_and_errors_raise(module):
    start(module, "ASK")
    seen = []
    # With no receipt open the printer refuses the item; the operator is asked again and
    # again until an answer is no: the operator says yes to its first three messages.
    item = dict(ITEM, CDARVPROD="1", NMPROD="Pão", QTDE=1, VALOR=Decimal("1.00"))
    module.set_operator(lambda message: seen.append(message) or len(seen) < 4)
    reply = module.call("VendaItem", item, answers=[True])
    assert reply.result is False
    answers = [question["answer"] for question in reply.questions]
    asked = [message for message in seen if message["kind"] == "question"]
    assert answers[0] == "yes" and answers[-1] == "no"
    assert len(asked) == len(answers) - 1  # the first came from the request
    assert [refusal["name"] for refusal in reply.refusals] == ["CupomFiscalNaoAberto"] * len(answers)
    assert [m["text"] for m in seen if m["kind"] == "notice"] == reply.notices

    with pytest.raises(EcfError) as unknown:
        module.call("VendeItem")
    assert unknown.value.code == "unknown_operation"
    with pytest.raises(EcfError) as missing:
        module.call("Suprimento", "001")
    assert (missing.value.code, "amount" in missing.value.message) == ("missing_argument", True)
    with pytest.raises(ValueError):
        module.set_settings(decimalSeparator="..")
