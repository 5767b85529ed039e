// The page: Vantel's main dialog with the same rules, the table and the
// picture of k = 1..n, the history's file, three languages. The engine computes
// in workers (engine.js); this module moves texts between the page and it.

import { EngineScript, EngineWorker, Replaced, hasSimd } from "./engine.js";
import { base64Bytes, copyText, download } from "./files.js";
import { History } from "./history.js";
import { offerInstall } from "./install.js";
import { ENGINE_LANGUAGE, LANGUAGES, TEXTS, startLanguage } from "./texts.js";

const $ = (id) => document.getElementById(id);
const SLOTS = [
  { key: "a", check: "want-a", box: "result-a" },
  { key: "S", check: "want-s", box: "result-s" },
  { key: "P", check: "want-p", box: "result-p" },
];
// The steps of the dialog's scroll bar: its range and its page step.
const STEP_MIN = 1;
const STEP_MAX = 170;
const LANGUAGE_KEY = "vantel.language";

// The engine's script, its two builds of WebAssembly (with SIMD and without) and
// the worker's body are texts of the page (assemble.mjs).
const pageText = (id) => document.getElementById(id).textContent;
const script = new EngineScript(
  pageText("engine"),
  pageText("engine-worker"),
  pageText(hasSimd() ? "engine-wasm-simd" : "engine-wasm-plain"),
);
const compute = new EngineWorker(script, { replaceable: true, spare: true });
const extras = new EngineWorker(script, { replaceable: true });
const files = new EngineWorker(script, { replaceable: false });

// The page's state, in one record.
const state = {
  language: "ca",
  position: STEP_MIN, // where the scroll bar's thumb stands: the last valid n, within 1 to 170
  requests: 0, // the number of the latest term request; older answers are dropped
  shown: false, // results or a message of a request are on show (redone in a new language)
  extrasShown: null, // "table" or "plot" when one is on show
  version: "",
  noticeKind: null, // the notice on show: "storage", "full" or "engine"
};

const texts = () => TEXTS[state.language];

const history = new History(files, {
  changed: showHistory,
  problem: (kind) => showNotice(kind),
});

// --- language ---------------------------------------------------------------

function storedLanguage() {
  try {
    return window.localStorage.getItem(LANGUAGE_KEY);
  } catch {
    return null;
  }
}

function applyLanguage(language) {
  state.language = language;
  const t = texts();
  document.documentElement.lang = language;
  document.title = `Vantel - ${t.title}`;
  for (const element of document.querySelectorAll("[data-text]")) element.textContent = t[element.dataset.text];
  for (const element of document.querySelectorAll("[data-quantity]")) {
    const i = Number(element.dataset.quantity);
    element.innerHTML = "";
    const visible = document.createElement("span");
    visible.textContent = t.quantities[i];
    const hidden = document.createElement("span");
    hidden.className = "hidden-label";
    hidden.textContent = ` (${t.quantityNames[i]})`;
    element.append(visible, hidden);
  }
  for (const button of document.querySelectorAll("[data-copy]")) {
    const i = Number(button.dataset.copy);
    button.textContent = t.copy;
    button.setAttribute("aria-label", `${t.copy} ${t.quantities[i]}`);
  }
  $("slider").setAttribute("aria-label", t.slider);
  $("about-web").href = t.webAddress;
  $("about-web").textContent = t.webAddress;
  $("about-version").textContent = state.version ? t.version(state.version) : "";
  $("notice").textContent = state.noticeKind ? noticeText(state.noticeKind) : "";
  showHistory(history.entries);
}

function noticeText(kind) {
  return { full: texts().historyFull, storage: texts().storageUnavailable, engine: texts().engineFailed }[kind];
}

function fillLanguages() {
  const select = $("lang");
  for (const language of LANGUAGES) {
    const option = document.createElement("option");
    option.value = language;
    option.lang = language;
    option.textContent = TEXTS[language].languageName;
    select.append(option);
  }
}

function switchLanguage() {
  const language = $("lang").value;
  applyLanguage(language);
  try {
    window.localStorage.setItem(LANGUAGE_KEY, language);
  } catch {
    // Not remembered where storage is blocked; the page goes on in the language.
  }
  // The engine's texts on show, or on their way, come again in the new language.
  if (state.shown || compute.busy()) runTermRequest();
  if (state.extrasShown === "table") showTable();
  if (state.extrasShown === "plot") showPlot();
}

// --- messages -----------------------------------------------------------------

function showNotice(kind) {
  state.noticeKind = kind;
  const notice = $("notice");
  notice.textContent = noticeText(kind);
  notice.hidden = false;
}

function announce(text) {
  // The live region announces a change of its text; an empty moment first makes
  // the same text twice be announced twice.
  const region = $("announce");
  region.textContent = "";
  setTimeout(() => (region.textContent = text), 50);
}

// The check's text shows the formula up to its fault and marks the fault with
// "?" or " : "; the mark and what follows it are highlighted, the text kept as it is.
function markedFault(text) {
  const at = Math.max(text.lastIndexOf(" : "), text.lastIndexOf("?"));
  if (at < 0) return [document.createTextNode(text)];
  const mark = document.createElement("mark");
  mark.textContent = text.slice(at);
  return [document.createTextNode(text.slice(0, at)), mark];
}

function showMessage(prefix, caption, text, marked = false) {
  $(`${prefix}-caption`).textContent = caption;
  $(`${prefix}-text`).replaceChildren(...(marked ? markedFault(text) : [document.createTextNode(text)]));
  $(prefix === "message" ? "message" : "extras-message").hidden = false;
}

function hideMessage(prefix) {
  $(prefix === "message" ? "message" : "extras-message").hidden = true;
}

function setBusy(busy) {
  $("results").setAttribute("aria-busy", String(busy));
  $("status").textContent = busy ? texts().computing : "";
}

function engineFailed(error) {
  if (error instanceof Replaced) return;
  setBusy(false);
  showNotice("engine");
  console.error(error);
}

// --- the term request -----------------------------------------------------------

function wanted() {
  return SLOTS.reduce((bits, slot, i) => bits | ($(slot.check).checked ? 1 << i : 0), 0);
}

function setPosition(n) {
  state.position = Math.min(Math.max(n, STEP_MIN), STEP_MAX);
  $("slider").value = String(state.position);
}

// Checks the formula, reads n by the n field's rule and computes the ticked
// quantities; a newer request replaces one still running.
async function runTermRequest() {
  const formula = $("formula").value;
  const number = ++state.requests;
  setBusy(true);
  let answer;
  try {
    answer = await compute.call("vantel_request", formula, $("n").value, wanted(), ENGINE_LANGUAGE[state.language]);
  } catch (error) {
    if (number === state.requests) engineFailed(error);
    return;
  }
  if (number !== state.requests) return;
  setBusy(false);
  if (answer.stop === "formula") {
    // An empty or all-blank formula is refused without a word.
    if (answer.shown) {
      $("formula").setAttribute("aria-invalid", "true");
      showMessage("message", answer.caption, answer.text, true);
      state.shown = true;
    }
    return;
  }
  $("formula").removeAttribute("aria-invalid");
  hideMessage("message");
  history.add([formula]).catch(engineFailed);
  if (answer.stop === "n") {
    showMessage("message", answer.caption, answer.text);
    state.shown = true;
    return;
  }
  if (answer.nFilled) $("n").value = "1";
  setPosition(answer.n);
  const said = [];
  SLOTS.forEach((slot, i) => {
    const result = answer[slot.key];
    if (!result) return;
    $(slot.box).textContent = result.text;
    said.push(`${texts().quantities[i]} ${result.text}`);
  });
  state.shown = true;
  announce(said.length ? said.join(". ") : texts().noResult);
}

// Typing in the formula field empties the three result boxes; a request still
// running for the old text is dropped.
function clearResults() {
  state.requests++;
  compute.cancel();
  setBusy(false);
  for (const slot of SLOTS) $(slot.box).textContent = "";
  state.shown = false;
}

// A step of the scroll bar: n moves within 1 to 170 from where the thumb stands,
// the n field shows it and the request runs.
function step(to) {
  setPosition(to);
  $("n").value = String(state.position);
  runTermRequest();
}

function tickChanged(slot) {
  // An unticked quantity keeps its last text, greyed, until it is ticked and computed again.
  $(slot.box).classList.toggle("off", !$(slot.check).checked);
}

// --- history ----------------------------------------------------------------

function showHistory(entries) {
  const select = $("history");
  const chosen = select.selectedIndex;
  const options = [new Option(`${texts().history} (${texts().historyCount(entries.length)})`, "")];
  options[0].disabled = true;
  entries.forEach((entry, i) => options.push(new Option(entry, String(i))));
  select.replaceChildren(...options);
  select.selectedIndex = chosen > 0 && chosen < options.length ? chosen : 0;
}

function historyChosen() {
  const select = $("history");
  if (select.selectedIndex <= 0) return;
  $("formula").value = history.entries[Number(select.value)] ?? "";
  runTermRequest();
}

async function exportHistory() {
  try {
    const answer = await files.call("vantel_history_write", history.entries.join("\n"));
    download("ults.rel", base64Bytes(answer.base64), "application/octet-stream");
  } catch (error) {
    engineFailed(error);
  }
}

async function importHistory() {
  const input = $("history-import");
  const file = input.files[0];
  input.value = "";
  if (!file) return;
  const t = texts();
  try {
    const answer = await files.call("vantel_history_read", await file.arrayBuffer());
    if (!answer.whole) {
      $("files-status").textContent = t.importRefused(file.name);
      return;
    }
    const added = await history.add(answer.entries);
    $("files-status").textContent = t.imported(added);
  } catch (error) {
    engineFailed(error);
  }
}

// --- table and picture ----------------------------------------------------------

function extrasStopped(answer) {
  if (answer.stop === "none") {
    hideMessage("extras");
    return false;
  }
  if (answer.stop === "n" || answer.shown) showMessage("extras", answer.caption, answer.text, answer.stop === "formula");
  return true;
}

async function tableText(form) {
  return extras.call("vantel_table", $("formula").value, $("n").value, ENGINE_LANGUAGE[state.language], form);
}

async function showTable() {
  let answer;
  try {
    answer = await tableText(0);
  } catch (error) {
    engineFailed(error);
    return;
  }
  if (extrasStopped(answer)) return;
  const rows = answer.text.split("\n").filter((line) => line !== "");
  const head = document.createElement("tr");
  for (const name of rows[0].split("\t")) {
    const cell = document.createElement("th");
    cell.scope = "col";
    cell.textContent = name;
    head.append(cell);
  }
  const body = document.createDocumentFragment();
  for (const line of rows.slice(1)) {
    const row = document.createElement("tr");
    line.split("\t").forEach((text, i) => {
      const cell = document.createElement(i === 0 ? "th" : "td");
      if (i === 0) cell.scope = "row";
      cell.textContent = text;
      row.append(cell);
    });
    body.append(row);
  }
  const table = $("table");
  table.tHead.replaceChildren(head);
  table.tBodies[0].replaceChildren(body);
  $("table-caption").textContent = texts().tableCaption(rows.length - 1);
  $("table-box").hidden = false;
  state.extrasShown = "table";
}

let plotUrl = null;
async function plotAnswer() {
  const log = $("plot-log").checked ? 1 : 0;
  return extras.call("vantel_plot", $("formula").value, $("n").value, ENGINE_LANGUAGE[state.language], log);
}

async function showPlot() {
  let answer;
  try {
    answer = await plotAnswer();
  } catch (error) {
    engineFailed(error);
    return;
  }
  if (extrasStopped(answer)) return;
  if (plotUrl) URL.revokeObjectURL(plotUrl);
  plotUrl = URL.createObjectURL(new Blob([answer.svg], { type: "image/svg+xml" }));
  const image = $("plot");
  image.src = plotUrl;
  image.alt = texts().plotAlt($("formula").value, $("n").value.trim() || "1");
  $("plot-box").hidden = false;
  state.extrasShown = "plot";
}

async function downloadTable(form, name) {
  try {
    const answer = await tableText(form);
    if (!extrasStopped(answer)) download(name, answer.text, "text/csv;charset=utf-8");
  } catch (error) {
    engineFailed(error);
  }
}

async function downloadPlot() {
  try {
    const answer = await plotAnswer();
    if (!extrasStopped(answer)) download("vantel-plot.svg", answer.svg, "image/svg+xml");
  } catch (error) {
    engineFailed(error);
  }
}

// --- about and help -------------------------------------------------------------

async function openAbout() {
  const t = texts();
  $("about-close").textContent = t.exclamations[Math.floor(Math.random() * t.exclamations.length)];
  $("about").showModal();
  if (!state.version) {
    try {
      state.version = (await files.call("vantel_version")).version;
      $("about-version").textContent = texts().version(state.version);
    } catch (error) {
      engineFailed(error);
    }
  }
}

function openHelp(which) {
  const t = texts();
  const help = JSON.parse($("help-texts").textContent)[state.language];
  $("help-title").textContent = which === "general" ? t.generalHelp : t.sequencesHelp;
  $("help-note").textContent = which === "general" ? t.pageNote : "";
  $("help-note").hidden = which !== "general";
  $("help-text").textContent = help[which];
  $("help").showModal();
  $("help-text").scrollTop = 0;
}

// --- start ------------------------------------------------------------------------

function wire() {
  $("request").addEventListener("submit", (event) => {
    event.preventDefault();
    runTermRequest();
  });
  $("formula").addEventListener("input", clearResults);
  $("history").addEventListener("change", historyChosen);
  for (const button of document.querySelectorAll("[data-step]")) {
    button.addEventListener("click", () => step(state.position + Number(button.dataset.step)));
  }
  const slider = $("slider");
  slider.addEventListener("input", () => step(Number(slider.value)));
  slider.addEventListener("keydown", (event) => {
    // Page Up and Page Down step by 10, as a click in the scroll bar's trough does.
    const page = { PageUp: 10, PageDown: -10 }[event.key];
    if (page) {
      event.preventDefault();
      step(state.position + page);
    }
  });
  SLOTS.forEach((slot, i) => {
    $(slot.check).addEventListener("change", () => tickChanged(slot));
    document.querySelector(`[data-copy="${i}"]`).addEventListener("click", async () => {
      if (await copyText($(slot.box).textContent)) announce(texts().copied(texts().quantities[i]));
    });
  });
  $("lang").addEventListener("change", switchLanguage);
  $("table-show").addEventListener("click", showTable);
  $("plot-show").addEventListener("click", showPlot);
  $("plot-log").addEventListener("change", () => state.extrasShown === "plot" && showPlot());
  $("download-csv").addEventListener("click", () => downloadTable(1, "vantel-table.csv"));
  $("download-csv-semicolon").addEventListener("click", () => downloadTable(2, "vantel-table-semicolon.csv"));
  $("download-svg").addEventListener("click", downloadPlot);
  $("history-export").addEventListener("click", exportHistory);
  $("history-import-button").addEventListener("click", () => $("history-import").click());
  $("history-import").addEventListener("change", importHistory);
  $("about-open").addEventListener("click", openAbout);
  $("help-general").addEventListener("click", () => openHelp("general"));
  $("help-sequences").addEventListener("click", () => openHelp("sequences"));
}

function start() {
  compute.spawn(); // first, so that the engine compiles while the page is set up
  fillLanguages();
  const language = startLanguage(storedLanguage(), navigator.languages);
  $("lang").value = language;
  applyLanguage(language);
  wire();
  history.load().catch(engineFailed);
  offerInstall();
  // Like Vantel's command line: a formula, and with n the results at once
  // (vantel.html?formula=1/n&n=3).
  const query = new URLSearchParams(window.location.search);
  if (query.has("formula")) $("formula").value = query.get("formula");
  if (query.has("n")) $("n").value = query.get("n");
  if (query.get("formula") && query.get("n")) runTermRequest();
  $("formula").focus();
}

start();
