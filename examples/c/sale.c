/* A sale from C through the module's C interface: start the printer, load its tables,
 * open a receipt, sell an item, pay in cash and close. Every call names its operation and
 * passes its arguments as JSON; every reply is JSON.
 *
 *   sale [HOST_DIRECTORY]      (the virtual printer's root comes from ECFSIM_ROOT)
 *
 * Exit status 0 when every step did what it should, 1 otherwise. */
#include <stdio.h>
#include <string.h>

#include "ecf/ecf.h"

/* The operator: shows every notice and question, and answers no. */
static int ECF_CALL show_message(void* context, const char* message_json) {
  (void)context;
  printf("  operator: %s\n", message_json);
  return 0;
}

/* Runs one step; true when the call was made and its result is `expected`. */
static int step(const char* operation, const char* request, const char* expected) {
  char* reply = ecf_call(operation, request);
  if (reply == NULL) {
    printf("%s: out of memory\n", operation);
    return 0;
  }
  /* The reply starts with its result: {"result":true,...}. */
  char wanted[64];
  snprintf(wanted, sizeof wanted, "{\"result\":%s,", expected);
  const int ok = strncmp(reply, wanted, strlen(wanted)) == 0 && strstr(reply, "\"error\":null}");
  printf("%s -> %.160s%s\n", operation, reply, strlen(reply) > 160 ? "..." : "");
  ecf_free(reply);
  return ok;
}

#define PAYMENT_FIELDS                                                                        \
  "\"CDFILIAL:text:4\", \"IDTIPOMOVIVE:text:1\", \"DTHRINCMOV:datetime\", \"CDTIPORECE:text:3\"," \
  "\"NMTIPORECE:text:40\", \"IDTIPORECE:text:1\", \"VRMOVIVEND:real\", \"VRMOVIVEOUT:real\","    \
  "\"VRCOTINDOUT:real\", \"CDTIPOTROCO:text:3\", \"NRORDTROCO:text:3\", \"CDCLIENTE\","           \
  "\"CDCONSUMIDOR\", \"DTMOVIMCAIXA:datetime\", \"DSIMPFISCAL:text:50\", \"CDFPIMPFIS:text:10\"," \
  "\"NRCARTBANCO\", \"CDNSUHOSTTEF\", \"CDBANCARTCR:text:10\", \"CDTIPORECEORIG:text:3\""

int main(int argc, char** argv) {
  ecf_SetHostDirectory(argc > 1 ? argv[1] : "");
  ecf_set_operator(show_message, NULL);

  int ok = step("StartImpFiscal",
                "{\"args\": [{\"CDFILIAL\": \"1\", \"CDCAIXA\": \"1\", \"NRSERIEIMP\": \"VP1\","
                " \"NRSERIE\": \"VP1\", \"ESQUEMA\": \"001\", \"ESQUEMACOR\": \"001\","
                " \"CDPORTAIMPFIS\": \"ECF1\", \"PORTAIMPFIS\": \"ECF1\"}]}",
                "true");
  ok = ok && step("CarregaAliquota", "{\"args\": {\"scheme\": \"001\"}}", "null");
  ok = ok && step("CarregaTotalizador", "{\"args\": [\"\", \"001\", 0]}", "null");
  ok = ok && step("CarregaRecebimento",
                  "{\"args\": [\"\", \"001\", 0, {\"fields\": [\"CDTIPORECE:text:3\","
                  " \"DSIMPFISCAL:text:50\", \"NMTIPORECE:text:40\", \"IDTIPORECE:text:1\","
                  " \"IDTPBUTTON:text:1\", \"IDMOSTRARECE:text:1\", \"CDFPIMPFIS:text:10\","
                  " \"IDEMIVALE:text:1\"], \"rows\": [[\"001\", \"Dinheiro\", \"\", \"1\", \"5\","
                  " \"S\", \"\", \"\"]]}]}",
                  "null");
  ok = ok && step("AbreCupom",
                  "{\"args\": [{\"ESQUEMACOR\": \"001\", \"INTTEFERRO\": \"\", \"INCLUICPF\": \"\","
                  " \"INCLUINOME\": \"\", \"INCLUIENDERECO\": \"\", \"CUPNR\": \"\", \"CONTCUPOM\": \"\","
                  " \"TIPOTICKET\": \"\", \"IVACOMP\": \"\", \"IVAPROP\": \"\", \"TIPODOC\": \"\","
                  " \"NRDOC\": \"\", \"MESA\": \"\", \"IDUTILTEF\": \"N\", \"UTILTEF\": false}]}",
                  "true");
  ok = ok && step("VendaItem",
                  "{\"args\": [{\"ESQUEMACOR\": \"001\", \"INTEFERRO\": \"\", \"MESA\": \"\","
                  " \"FLAG\": \"\", \"CDARVPROD\": \"1001\", \"NMPROD\": \"P\xC3\xA3o de queijo\","
                  " \"CDALIQ\": \"00\", \"IDALIQ\": \"T\", \"QTDE\": 2, \"VALOR\": {\"amount\": \"4.50\"},"
                  " \"DESCONT\": 0, \"UNIDADE\": \"UN\", \"TIPOTICKET\": \"\", \"VRPERCALIQ\": 18,"
                  " \"IDUTILTEF\": \"N\", \"UTILTEF\": false}]}",
                  "true");
  ok = ok && step("FechaCupom",
                  "{\"args\": [{\"size\": 44, \"at\": {\"2\": \"001\", \"4\": false, \"6\": 0,"
                  " \"7\": 0, \"8\": 0, \"9\": \"\", \"11\": false, \"21\": \"\", \"27\": \"2\","
                  " \"13\": {\"fields\": [" PAYMENT_FIELDS "], \"rows\": [{\"CDFILIAL\": \"1\","
                  " \"IDTIPOMOVIVE\": \"E\", \"DTHRINCMOV\": \"now\", \"CDTIPORECE\": \"001\","
                  " \"VRMOVIVEND\": \"10.00\", \"DSIMPFISCAL\": \"Dinheiro\"}]},"
                  " \"14\": {\"fields\": [\"CDTIPORECE:text:3\", \"NMTIPORECE:text:40\","
                  " \"IDTIPORECE:text:1\"], \"rows\": [[\"001\", \"Dinheiro\", \"1\"]]}}}]}",
                  "true");
  ok = ok && step("FechaPorta", NULL, "true");
  ecf_set_operator(NULL, NULL);
  printf(ok ? "Sale closed.\n" : "The sale failed.\n");
  return ok ? 0 : 1;
}
