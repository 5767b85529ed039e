// The page's benchmark (not a test): run after the web preset's build,
//   node web/bench.mjs [PAGE_FOLDER]     (default build/web/web)
// It prints
// - the page's size, whole and gzipped, and what its parts add to it (the
//   engine's script, each build's WebAssembly, the worker, the help texts);
// - the time from opening vantel.html (file://) to the first result, as the
//   page's own clock counts it from the start of the navigation (median of 7);
// - S_65535 of (1+1/n)^n and of 1/n^2 in the page (Chromium, from Calcula to
//   the result on show), with SIMD and without, against the native vantel-cli
//   in the same run (the process as a user starts it; medians of 7), and the ratios.

import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { gzipSync } from "node:zlib";
import { cliPath, launch, root } from "./tests/harness.mjs";

const folder = process.argv[2] ?? join(root, "build", "web", "web");
const page = join(folder, "vantel.html");
const median = (values) => values.slice().sort((a, b) => a - b)[values.length >> 1];
const runs = 7;

const html = readFileSync(page, "utf8");
const gzip = (data) => gzipSync(data, { level: 9 }).length;
const kb = (bytes) => `${(bytes / 1024).toFixed(0)} KB`;
console.log(`vantel.html: ${kb(Buffer.byteLength(html))}, gzipped ${kb(gzip(html))}`);
// What each part adds: the page's text elements, gzipped on their own.
for (const id of ["engine", "engine-wasm-simd", "engine-wasm-plain", "engine-worker", "help-texts"]) {
  const text = html.match(new RegExp(`<script type="[^"]+" id="${id}">([\\s\\S]*?)</script>`))[1];
  console.log(`  ${id}: ${kb(Buffer.byteLength(text))}, gzipped ${kb(gzip(text))}`);
}

// Records, on the page's own clock, when each result box first shows a text
// after a press of Calcula (or after opening, for a page opened computed).
const clock = () => {
  window.benchTimes = { asked: 0 };
  document.addEventListener("submit", () => (window.benchTimes.asked = performance.now()), true);
  new MutationObserver(() => {
    const box = document.getElementById("result-s");
    if (box && box.textContent && !window.benchTimes.shown) window.benchTimes.shown = performance.now();
  }).observe(document, { subtree: true, childList: true, characterData: true });
};

const browser = await launch();
try {
  const firsts = [];
  for (let i = 0; i < runs; i++) {
    const context = await browser.newContext();
    await context.addInitScript(clock);
    const tab = await context.newPage();
    await tab.goto(`${pathToFileURL(page).href}?formula=1/n&n=3`);
    await tab.waitForFunction(() => window.benchTimes.shown);
    firsts.push(await tab.evaluate(() => window.benchTimes.shown));
    await context.close();
  }
  console.log(`opening to the first result (1/n, n = 3): ${median(firsts).toFixed(0)} ms (median of ${runs})`);

  // The page's two engine builds: with SIMD, and without (the browser made to
  // refuse SIMD, as one without it does).
  const tabs = {};
  for (const build of ["SIMD", "no SIMD"]) {
    const context = await browser.newContext();
    await context.addInitScript(clock);
    if (build === "no SIMD") await context.addInitScript(() => (WebAssembly.validate = () => false));
    tabs[build] = await context.newPage();
    await tabs[build].goto(pathToFileURL(page).href);
  }
  const inPage = async (tab, formula) => {
    await tab.fill("#formula", formula); // empties the boxes
    await tab.fill("#n", "65535");
    await tab.evaluate(() => (window.benchTimes = { asked: 0 }));
    await tab.click("#compute");
    await tab.waitForFunction(() => window.benchTimes.shown);
    return tab.evaluate(() => window.benchTimes.shown - window.benchTimes.asked);
  };
  const inNative = (formula) => {
    const start = process.hrtime.bigint();
    execFileSync(cliPath, [formula, "65535"]);
    return Number(process.hrtime.bigint() - start) / 1e6;
  };
  // What a native run costs before it computes: the process of 1/n for n = 1.
  const start = [];
  for (let i = 0; i < runs; i++) {
    const begin = process.hrtime.bigint();
    execFileSync(cliPath, ["1/n", "1"]);
    start.push(Number(process.hrtime.bigint() - begin) / 1e6);
  }
  console.log(`native vantel-cli for 1/n, n = 1 (starting the process): ${median(start).toFixed(1)} ms`);
  for (const formula of ["(1+1/n)^n", "1/n^2"]) {
    // Taken in turns, so that a busy moment of the machine falls on all three alike.
    const times = { SIMD: [], "no SIMD": [], native: [] };
    for (let i = 0; i < runs; i++) {
      times.SIMD.push(await inPage(tabs.SIMD, formula));
      times["no SIMD"].push(await inPage(tabs["no SIMD"], formula));
      times.native.push(inNative(formula));
    }
    const [simd, plain, native] = [median(times.SIMD), median(times["no SIMD"]), median(times.native)];
    console.log(
      `S_65535 of ${formula}: native vantel-cli ${native.toFixed(1)} ms; page ${simd.toFixed(1)} ms ` +
        `(${(simd / native).toFixed(2)}x), without SIMD ${plain.toFixed(1)} ms (${(plain / native).toFixed(2)}x)`,
    );
  }
} finally {
  await browser.close();
}
