// The operator's console: the printer's state, tape, journal and questions, live from
// ecfd's event stream, and the day's actions through the same /v1 API as any client.
// Every text from the service is shown with textContent; only the slips, which ecfd
// renders and escapes itself, are inserted as HTML.
"use strict";

const TOKEN_KEY = "ecfd.token";
const JOURNAL_ROWS = 50;
const RECONNECT_MS = 2000;

const $ = (id) => document.getElementById(id);

let token = "";
let stream = null;          // AbortController of the running event stream
let lastStatus = {};
let question = null;        // the question on screen: {id, text}
const slipsShown = new Map();  // index -> its slip on the page

// ---- the token: a one-time link (#token=...) or the prompt, kept for this session ----

function takeTokenFromLink() {
  const match = /^#token=([^&]+)/.exec(location.hash);
  if (!match) return;
  sessionStorage.setItem(TOKEN_KEY, decodeURIComponent(match[1]));
  // The token must not stay in the address bar or the history.
  history.replaceState(null, "", location.pathname + location.search);
}

function askToken(refused) {
  stopStream();
  setLink("off", "Sem chave de acesso");
  $("token-error").hidden = !refused;
  $("token-input").value = "";
  if (!$("dlg-token").open) $("dlg-token").showModal();
  $("token-input").focus();
}

function tokenRefused() {
  sessionStorage.removeItem(TOKEN_KEY);
  token = "";
  askToken(true);
}

// ---- the API ----

class ApiError extends Error {
  constructor(status, body) {
    const error = (body && body.error) || {};
    super(error.message || "Erro " + status);
    this.status = status;
    this.printer = error.printer || null;
  }
}

async function api(method, path, body) {
  const init = { method, headers: { Authorization: "Bearer " + token } };
  if (body !== undefined) {
    init.headers["Content-Type"] = "application/json";
    init.body = JSON.stringify(body);
  }
  let reply;
  try {
    reply = await fetch(path, init);
  } catch (e) {
    throw new Error("Sem comunicação com o serviço ecfd.");
  }
  const text = await reply.text();
  let json = null;
  try { json = text ? JSON.parse(text) : null; } catch (e) { json = null; }
  if (reply.status === 401) tokenRefused();
  if (!reply.ok) throw new ApiError(reply.status, json);
  return json;
}

// ---- the event stream, read with fetch() because EventSource cannot send the token ----

function stopStream() {
  if (stream) stream.abort();
  stream = null;
}

async function startStream() {
  stopStream();
  const controller = new AbortController();
  stream = controller;
  setLink("wait", "Conectando…");
  try {
    const reply = await fetch("/v1/events", {
      headers: { Authorization: "Bearer " + token, Accept: "text/event-stream" },
      signal: controller.signal,
      cache: "no-store",
    });
    if (reply.status === 401) { tokenRefused(); return; }
    if (!reply.ok || !reply.body) throw new Error("HTTP " + reply.status);
    setLink("ok", "Ao vivo");
    // The state, tape and questions as they are now, while the stream brings every change
    // after this. Not awaited: the status waits its turn behind a document that may itself
    // be waiting for the operator's answer, which comes through the stream.
    refreshStatus();
    refreshTape();
    refreshQuestions();
    await readEvents(reply.body, controller.signal);
  } catch (e) {
    if (controller.signal.aborted) return;
  }
  if (stream !== controller) return;
  setLink("wait", "Reconectando…");
  setTimeout(() => { if (stream === controller) startStream(); }, RECONNECT_MS);
}

// text/event-stream: "field: value" lines, an empty line ends an event.
async function readEvents(body, signal) {
  const reader = body.pipeThrough(new TextDecoderStream()).getReader();
  let buffer = "";
  let event = { type: "message", data: [] };
  while (!signal.aborted) {
    const { value, done } = await reader.read();
    if (done) return;
    buffer += value;
    let end;
    while ((end = buffer.search(/\r\n|\r|\n/)) >= 0) {
      if (end === buffer.length - 1 && buffer[end] === "\r") break;  // "\r\n" cut in two
      const line = buffer.slice(0, end);
      buffer = buffer.slice(end + (buffer.startsWith("\r\n", end) ? 2 : 1));
      if (line === "") {
        if (event.data.length) dispatch(event.type, event.data.join("\n"));
        event = { type: "message", data: [] };
        continue;
      }
      if (line.startsWith(":")) continue;
      const colon = line.indexOf(":");
      const field = colon < 0 ? line : line.slice(0, colon);
      let value = colon < 0 ? "" : line.slice(colon + 1);
      if (value.startsWith(" ")) value = value.slice(1);
      if (field === "event") event.type = value;
      else if (field === "data") event.data.push(value);
    }
  }
}

function dispatch(type, data) {
  let payload;
  try { payload = JSON.parse(data); } catch (e) { return; }
  if (!payload || typeof payload !== "object") return;
  switch (type) {
    case "status": showStatus(payload); break;
    case "operation": addJournal(payload); break;
    case "question": showQuestion(payload); break;
    case "answered": questionAnswered(payload); break;
    case "notice": addNotice(String(payload.text || ""), "info"); break;
    case "tape": addSlip(payload); break;
  }
}

// ---- state at a glance: every colour comes with its word ----

function setChip(id, kind, word) {
  const chip = $(id);
  chip.className = "chip chip-" + kind;
  chip.textContent = word;
}

function setLink(kind, word) { setChip("link-chip", kind, word); }

function money(value) {
  if (typeof value === "number") {
    return value.toLocaleString("pt-BR", { style: "currency", currency: "BRL" });
  }
  return value === undefined || value === null ? "–" : String(value);
}

function counter(value) {
  return value === undefined || value === null ? "–" : String(value);
}

// A printer off line answers nothing but that: its other fields are null.
function setFlag(id, value, yes, no) {
  if (value === null || value === undefined) setChip(id, "off", "Desconhecido");
  else setChip(id, value ? yes[0] : no[0], value ? yes[1] : no[1]);
}

function showStatus(status) {
  lastStatus = status;
  if (status.started === false) setChip("st-online", "bad", "Não iniciada");
  else setFlag("st-online", status.onLine, ["ok", "Em linha"], ["bad", "Fora de linha"]);
  if (status.zPending) setChip("st-day", "bad", "Redução Z pendente");
  else setFlag("st-day", status.dayOpen, ["ok", "Aberto"], ["off", "Não aberto"]);
  setFlag("st-document", status.documentOpen, ["warn", "Documento aberto"], ["ok", "Nenhum aberto"]);
  setFlag("st-paper", status.paperOut, ["bad", "Sem papel"], ["ok", "Com papel"]);
  $("st-coo").textContent = counter(status.coo);
  $("st-crz").textContent = counter(status.crz);
  $("st-gt").textContent = money(status.grandTotal);
}

async function refreshStatus() {
  try { showStatus(await api("GET", "/v1/status")); } catch (e) { failed(e); }
}

// ---- the tape: slips rendered by ecfd, newest first ----

function addSlip(slip) {
  const index = Number(slip.index);
  if (!Number.isInteger(index) || typeof slip.html !== "string") return;
  // A document still printing comes again under its index as it grows: it replaces its slip.
  const shown = slipsShown.get(index);
  if (shown) {
    shown.innerHTML = slip.html;
    return;
  }
  const holder = document.createElement("div");
  slipsShown.set(index, holder);
  holder.className = "slip-holder";
  holder.dataset.index = String(index);
  holder.innerHTML = slip.html;  // ecfd's own renderer escapes the printed text
  // Newest first: before the first slip with a lower number.
  const tape = $("tape");
  const after = [...tape.children].find((node) => Number(node.dataset.index) < index);
  tape.insertBefore(holder, after || null);
  $("tape-empty").hidden = true;
}

async function refreshTape() {
  try {
    const reply = await api("GET", "/v1/tape");
    const documents = Array.isArray(reply) ? reply : (reply && reply.documents) || [];
    documents.forEach(addSlip);
  } catch (e) { failed(e); }
}

// ---- the journal of recent operations ----

function resultWord(result) {
  if (result === true) return "Aceita";
  if (result === false) return "Recusada";
  if (result === null || result === undefined) return "Não executada";
  return typeof result === "object" ? JSON.stringify(result) : String(result);
}

function addJournal(entry) {
  const row = document.createElement("tr");
  const cells = [timeOf(entry.time), String(entry.operation || ""), resultWord(entry.result),
                 entry.error === null || entry.error === undefined ? "" : String(entry.error)];
  for (const text of cells) {
    const cell = document.createElement("td");
    cell.textContent = text;
    row.appendChild(cell);
  }
  row.className = entry.result === false || entry.result === null ? "row-bad" : "row-ok";
  const body = $("journal").tBodies[0];
  body.insertBefore(row, body.firstChild);
  while (body.rows.length > JOURNAL_ROWS) body.deleteRow(-1);
  $("journal-empty").hidden = true;
}

function timeOf(value) {
  const text = String(value || "");
  const match = /(\d{2}:\d{2}:\d{2})/.exec(text);
  return match ? match[1] : text;
}

// ---- notices: stay until the operator dismisses them ----

function addNotice(text, kind) {
  const notice = document.createElement("div");
  notice.className = "notice notice-" + kind;
  notice.setAttribute("role", kind === "error" ? "alert" : "status");
  const label = document.createElement("strong");
  label.textContent = kind === "error" ? "Erro: " : "Aviso: ";
  const body = document.createElement("span");
  body.textContent = text;
  const close = document.createElement("button");
  close.type = "button";
  close.textContent = "Dispensar";
  close.addEventListener("click", () => notice.remove());
  notice.append(label, body, close);
  $("avisos").appendChild(notice);
}

function failed(error) {
  if (error instanceof ApiError && error.status === 401) return;  // the prompt says it
  let text = error.message || String(error);
  if (error.printer && error.printer.circumstance) text += " (" + error.printer.circumstance + ")";
  addNotice(text, "error");
}

// ---- the printer's questions ----

function showQuestion(asked) {
  question = { id: String(asked.id), text: String(asked.text || "") };
  $("question-text").textContent = question.text;
  if (!$("dlg-question").open) $("dlg-question").showModal();
  $("question-yes").focus();
}

function questionAnswered(answered) {
  if (question && String(answered.id) === question.id) {
    question = null;
    $("dlg-question").close();
  }
}

async function refreshQuestions() {
  try {
    const reply = await api("GET", "/v1/questions?wait=0");
    const waiting = (reply && reply.questions) || [];
    if (waiting.length && !question) showQuestion(waiting[0]);
  } catch (e) { failed(e); }
}

async function answer(yes) {
  if (!question) return;
  const id = question.id;
  questionAnswered({ id });
  try {
    await api("POST", "/v1/questions/" + encodeURIComponent(id), { answer: yes ? "yes" : "no" });
  } catch (e) { failed(e); }
}

// ---- actions ----

async function act(button, path, body, doneText) {
  button.disabled = true;
  button.setAttribute("aria-busy", "true");
  try {
    await api("POST", path, body);
    if (doneText) addNotice(doneText, "info");
    return true;
  } catch (e) {
    failed(e);
    return false;
  } finally {
    button.disabled = false;
    button.removeAttribute("aria-busy");
  }
}

// The fiscal day a Z reduction closes, as the operator reads dates (dd/mm/aaaa): the one the
// service names, else the date of the newest document printed, else today; but a pending Z
// closes an earlier day, never today.
function fiscalDay() {
  const iso = /^(\d{4})-(\d{2})-(\d{2})/.exec(String(lastStatus.fiscalDay || ""));
  if (iso) return iso[3] + "/" + iso[2] + "/" + iso[1];
  const newest = $("tape").querySelector(".slip pre");
  const printed = newest && /(\d{2}\/\d{2}\/\d{4}) \d{2}:\d{2}:\d{2}/.exec(newest.textContent);
  if (printed) return printed[1];
  return lastStatus.zPending ? "anterior, pendente" : new Date().toLocaleDateString("pt-BR");
}

function amountOf(text) {
  const value = text.trim().replace(",", ".");
  return /^\d{1,7}(\.\d{1,2})?$/.test(value) && Number(value) > 0 ? Number(value) : null;
}

function wireActions() {
  $("btn-x").addEventListener("click", (e) => act(e.currentTarget, "/v1/readings/x", {}));
  $("btn-z").addEventListener("click", () => {
    $("z-text").textContent = "Confirma a redução Z do dia fiscal " + fiscalDay() +
        "? O dia será encerrado e não haverá mais vendas nele.";
    $("dlg-z").showModal();
  });
  $("dlg-z").addEventListener("close", () => {
    if ($("dlg-z").returnValue === "confirm") {
      act($("btn-z"), "/v1/readings/z", { confirm: true });
    }
    $("dlg-z").returnValue = "";
  });
  $("form-cash").addEventListener("submit", async (e) => {
    e.preventDefault();
    const kind = e.submitter && e.submitter.value === "withdrawal" ? "withdrawal" : "supply";
    const amount = amountOf($("cash-amount").value);
    if (amount === null) { addNotice("Valor inválido: use, por exemplo, 50,00.", "error"); return; }
    if (await act(e.submitter || $("btn-supply"), "/v1/cash/" + kind, { amount })) {
      $("cash-amount").value = "";
    }
  });
  $("form-report").addEventListener("submit", async (e) => {
    e.preventDefault();
    const text = $("report-text").value;
    if (await act($("btn-report"), "/v1/reports", { text })) $("report-text").value = "";
  });
  $("question-yes").addEventListener("click", () => answer(true));
  $("question-no").addEventListener("click", () => answer(false));
  // A question is answered by a choice, not by Esc (unanswered, the printer's wait ends in no).
  $("dlg-question").addEventListener("cancel", (e) => e.preventDefault());
  $("dlg-token").addEventListener("cancel", (e) => e.preventDefault());
  $("form-token").addEventListener("submit", () => {
    token = $("token-input").value.trim();
    sessionStorage.setItem(TOKEN_KEY, token);
    startStream();
  });
}

function start() {
  wireActions();
  takeTokenFromLink();
  token = sessionStorage.getItem(TOKEN_KEY) || "";
  if (token) startStream(); else askToken(false);
}

document.addEventListener("DOMContentLoaded", start);
