// A stand-in for the WebAssembly engine, for trying the page before the engine
// build is there: an engine script whose calls go, by synchronous requests from
// the worker, to a small local server that answers them from the native
// vantel-cli (the history rules are approximated here in JavaScript). Only the
// page's tests use it, and only while no engine build exists.

import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { join } from "node:path";

const LANG = ["ca", "en", "es"];

function cli(program, args) {
  try {
    return { code: 0, out: execFileSync(program, args, { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] }) };
  } catch (error) {
    return { code: error.status, out: error.stdout, err: error.stderr };
  }
}

function stop(formula, run) {
  if (run.code === 0) return null;
  let error = null;
  try {
    error = JSON.parse(run.out).error;
  } catch {
    // no JSON: an empty formula
  }
  if (run.code === 3) return { stop: "n", caption: error.caption, text: error.text };
  return { stop: "formula", caption: error?.caption ?? "", text: error?.text ?? "", shown: formula.trim() !== "" };
}

const CP1252_HIGH = "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008dŽ\u008f\u0090‘’“”•–—˜™š›œ\u009džŸ";
const decode = (b) => (b >= 0x80 && b < 0xa0 ? CP1252_HIGH[b - 0x80] : String.fromCharCode(b));
const encode = (c) => {
  const i = CP1252_HIGH.indexOf(c);
  const code = c.charCodeAt(0);
  return i >= 0 ? 0x80 + i : code < 256 ? code : 63;
};

function readHistory(bytes) {
  const entries = [];
  let whole = !(bytes.length >= 2 && ((bytes[0] === 0xff && bytes[1] === 0xfe) || (bytes[0] === 0xfe && bytes[1] === 0xff)));
  let line = "";
  let i = 0;
  let atStart = true;
  for (; i < bytes.length; i++) {
    const b = bytes[i];
    if (b === 0) whole = false;
    if (atStart && b === 26) {
      if (i + 1 < bytes.length) whole = false;
      return { whole, entries };
    }
    if (b === 13 || b === 10) {
      entries.push(line.slice(0, 255));
      line = "";
      if (b === 13 && bytes[i + 1] === 10) i++;
      atStart = true;
      continue;
    }
    line += decode(b);
    atStart = false;
  }
  if (!atStart) entries.push(line.slice(0, 255));
  if (entries.length > 65535) return { whole: false, entries: entries.slice(0, 65535) };
  return { whole, entries };
}

function mergeHistory(held, added) {
  const entries = held.slice();
  let full = false;
  for (const entry of added) {
    if (entries.some((e) => e.toLowerCase() === entry.toLowerCase())) continue;
    if (entries.length >= 65535) {
      full = true;
      continue;
    }
    entries.push(entry);
  }
  return { entries, full };
}

const lines = (text) => (text === "" ? [] : text.split("\n"));

function answer(program, fn, args) {
  const lang = ["--lang", LANG[fn === "vantel_request" ? args[3] : args[2]] ?? "ca"];
  if (fn === "vantel_request") {
    const [formula, n, want] = args;
    const run = cli(program, [...lang, "--json", "--", formula, n]);
    const stopped = stop(formula, run);
    if (stopped) return stopped;
    const json = JSON.parse(run.out);
    return {
      stop: "none",
      n: json.n,
      nFilled: n === "",
      a: want & 1 ? json.a : null,
      S: want & 2 ? json.S : null,
      P: want & 4 ? json.P : null,
    };
  }
  if (fn === "vantel_table") {
    const [formula, n, , form] = args;
    const extra = [[], ["--csv"], ["--csv-semicolon"]][form];
    const run = cli(program, [...lang, "--table", ...extra, "--", formula, n]);
    const stopped = stop(formula, run.code === 0 ? run : cli(program, [...lang, "--json", "--", formula, n]));
    return stopped ?? { stop: "none", text: run.out };
  }
  if (fn === "vantel_plot") {
    const [formula, n, , log] = args;
    const folder = mkdtempSync(join(tmpdir(), "vantel-plot-"));
    try {
      const file = join(folder, "plot.svg");
      const run = cli(program, [...lang, "--json", "--plot", file, ...(log ? ["--plot-y", "log"] : []), "--", formula, n]);
      return stop(formula, run) ?? { stop: "none", svg: readFileSync(file, "utf8") };
    } finally {
      rmSync(folder, { recursive: true, force: true });
    }
  }
  if (fn === "vantel_history_read") return readHistory(Uint8Array.from(args[0]));
  if (fn === "vantel_history_merge") return mergeHistory(lines(args[0]), lines(args[1]));
  if (fn === "vantel_history_write") {
    const bytes = [];
    for (const entry of lines(args[0])) {
      for (const c of entry) bytes.push(encode(c));
      bytes.push(13, 10);
    }
    return { base64: Buffer.from(bytes).toString("base64") };
  }
  if (fn === "vantel_version") {
    return { version: cli(program, ["--version"]).out.match(/(\d+\.\d+\.\d+)/)[1] };
  }
  throw new Error(`no such engine function: ${fn}`);
}

// Starts the server; the result has the engine script to give the page and close().
export async function startStandin(program) {
  const server = createServer((request, response) => {
    let body = "";
    request.on("data", (chunk) => (body += chunk));
    request.on("end", () => {
      response.setHeader("Access-Control-Allow-Origin", "*");
      if (request.method === "OPTIONS") {
        response.setHeader("Access-Control-Allow-Headers", "*");
        response.end();
        return;
      }
      const { fn, args } = JSON.parse(body);
      response.setHeader("Content-Type", "application/json");
      response.end(JSON.stringify(answer(program, fn, args)));
    });
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const url = `http://127.0.0.1:${server.address().port}`;
  // The empty WebAssembly module stands where a build inlines its own.
  const engine = `var emptyModule = "data:application/octet-stream;base64,AGFzbQEAAAA=";
var VantelEngine = function () {
  return Promise.resolve({
    ccall(fn, returns, types, args) {
      const request = new XMLHttpRequest();
      request.open("POST", ${JSON.stringify(url)} + "/call", false);
      request.send(JSON.stringify({ fn, args: args.map((a) => (a instanceof Uint8Array ? Array.from(a) : a)) }));
      return request.responseText;
    },
  });
};`;
  return { engine, close: () => server.close() };
}
