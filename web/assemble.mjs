// Assembles the one self-contained page, vantel.html, and what is shipped beside
// it (the web app manifest, the service worker and the manifest's icons):
//
//   node web/assemble.mjs --engine-simd FILE --engine FILE --icons DIR --help FILE
//                         [--year YEAR] --out DIR
//
// The page's modules are bundled into one classic script (module scripts cannot
// import each other under file://), the style sheet, the icons, the help texts
// and both engine builds (with their WebAssembly inlined) go into the page.
// The same inputs give the same bytes: nothing here reads a clock or a path
// into the output. The about window's year is the year of SOURCE_DATE_EPOCH, or
// else of the last commit, unless --year gives it.

import { execFileSync } from "node:child_process";
import { createHash } from "node:crypto";
import { deflateRawSync } from "node:zlib";
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { parseArgs } from "node:util";
import * as esbuild from "esbuild";

const here = dirname(fileURLToPath(import.meta.url));
const page = join(here, "page");

const { values: options } = parseArgs({
  options: {
    "engine-simd": { type: "string" },
    engine: { type: "string" },
    icons: { type: "string" },
    help: { type: "string" },
    year: { type: "string" },
    out: { type: "string" },
  },
});
for (const name of ["engine-simd", "engine", "icons", "help", "out"]) {
  if (!options[name]) throw new Error(`assemble: --${name} is missing`);
}

function releaseYear() {
  const seconds =
    process.env.SOURCE_DATE_EPOCH ||
    execFileSync("git", ["log", "-1", "--format=%ct"], { cwd: here, encoding: "utf8" }).trim();
  return String(new Date(Number(seconds) * 1000).getUTCFullYear());
}

const read = (file) => readFileSync(file, "utf8");

// A text inside a <script> element: "</" would end the element early, so it is
// written "<\/", the same text for JavaScript and JSON.
const scriptSafe = (text) => text.replaceAll("</", "<\\/");

function bundle(entry, format) {
  const result = esbuild.buildSync({
    entryPoints: [join(page, entry)],
    bundle: true,
    format,
    minify: true,
    target: "es2022",
    legalComments: "none",
    charset: "utf8",
    write: false,
  });
  return result.outputFiles[0].text;
}

const css = esbuild.transformSync(read(join(page, "style.css")), { loader: "css", minify: true }).code;
const icons = JSON.parse(read(join(options.icons, "icons.json")));
const help = read(options.help);

// The engines and the worker's body travel as plain text (script elements of
// type text/plain, read by the page when it starts a worker), so the browser does
// not parse them as the page's own script. Such an element cannot escape what
// would end it early, so a text holding it is refused.
function rawText(name, text) {
  if (/<\/script|<!--/i.test(text)) throw new Error(`assemble: ${name} holds "</script" or "<!--"`);
  return text;
}

// An engine build is emscripten's script with its WebAssembly inlined as one
// base64 data URL. The page carries the two apart: the script with an empty data
// URL (the page hands the engine its compiled module instead), the same for both
// builds, once; and each build's WebAssembly compressed (raw deflate) before its
// base64, which gzip can no longer shrink but which is a quarter of the size that
// gzip makes of the plain base64.
const DATA_URL = /data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/g;
function splitEngine(file) {
  const source = read(file);
  const found = [...source.matchAll(DATA_URL)];
  if (found.length !== 1) throw new Error(`assemble: ${file} holds ${found.length} inlined modules, not one`);
  return {
    script: source.replace(DATA_URL, "data:application/octet-stream;base64,"),
    wasm: deflateRawSync(Buffer.from(found[0][1], "base64"), { level: 9 }).toString("base64"),
  };
}
const simd = splitEngine(options["engine-simd"]);
const plain = splitEngine(options.engine);
if (simd.script !== plain.script) throw new Error("assemble: the two engine builds differ in their scripts");

// Replaced by a function, so that "$" in the inserted texts means nothing.
const fills = {
  "@STYLE@": css,
  "@HELP@": scriptSafe(help.trim()),
  "@ENGINE@": rawText(options.engine, plain.script),
  "@WASM_SIMD@": simd.wasm,
  "@WASM_PLAIN@": plain.wasm,
  "@WORKER@": rawText("worker.js", bundle("worker.js", "iife")),
  "@SCRIPT@": scriptSafe(bundle("main.js", "iife")),
  "@YEAR@": options.year ?? releaseYear(),
};
let html = read(join(page, "index.html"));
// The rows of a_n, S_n and P_n differ only in their slot, letter and icon.
const resultRow = (slot, letter, icon) =>
  [
    `<div class="result" data-slot="${slot}">`,
    `  <span class="icon" aria-hidden="true">@ICON:${icon}@</span>`,
    `  <input type="checkbox" id="want-${letter}" checked>`,
    `  <label for="want-${letter}" id="label-${letter}" data-quantity="${slot}"></label>`,
    `  <output id="result-${letter}" aria-labelledby="label-${letter}" aria-live="off" for="formula n"></output>`,
    `  <button type="button" class="copy" data-copy="${slot}"></button>`,
    `</div>`,
  ].join("\n      ");
html = html.replace(/@RESULT:(\d):(\w):(\w+)@/g, (_, slot, letter, icon) => resultRow(slot, letter, icon));
html = html.replace(/@ICON_URL:(\w+)@/g, (_, name) => `data:image/svg+xml,${encodeURIComponent(icons[name])}`);
html = html.replace(/@ICON:(\w+)@/g, (_, name) => icons[name].replace("<svg ", '<svg focusable="false" '));
html = html.replace(/@[A-Z_]+@/g, (key) => {
  if (!(key in fills)) throw new Error(`assemble: nothing to put in ${key}`);
  return fills[key];
});

mkdirSync(options.out, { recursive: true });
writeFileSync(join(options.out, "vantel.html"), html);
const digest = createHash("sha256").update(html).digest("hex").slice(0, 16);
writeFileSync(join(options.out, "vantel-sw.js"), read(join(page, "service-worker.js")).replace("@DIGEST@", digest));
copyFileSync(join(page, "vantel.webmanifest"), join(options.out, "vantel.webmanifest"));
for (const size of [192, 512]) {
  copyFileSync(join(options.icons, `vantel-${size}.png`), join(options.out, `vantel-${size}.png`));
}
