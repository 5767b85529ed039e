// The page's benchmark (not a test): run after the web preset's build,
//   node web/bench.mjs [PAGE_FOLDER]     (default build/web/web)
// It prints
// - the page's size, whole and gzipped, and what each engine build adds to it;
// - the time from opening vantel.html (file://) to the first result, as the
//   page's own clock counts it from the start of the navigation (median of 7);
// - S_65535 of (1+1/n)^n and of 1/n^2 in the page (Chromium, from Calcula to
//   the result on show) against the native vantel-cli in the same run (medians
//   of 7), and their ratio.

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

const html = readFileSync(page);
const gzip = (data) => gzipSync(data, { level: 9 }).length;
const kb = (bytes) => `${(bytes / 1024).toFixed(0)} KB`;
console.log(`vantel.html: ${kb(html.length)}, gzipped ${kb(gzip(html))}`);
for (const name of ["vantel-engine-simd.js", "vantel-engine.js"]) {
  const engine = readFileSync(join(folder, name));
  console.log(`  ${name}: ${kb(engine.length)}, gzipped ${kb(gzip(engine))}`);
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

  const context = await browser.newContext();
  await context.addInitScript(clock);
  const tab = await context.newPage();
  await tab.goto(pathToFileURL(page).href);
  for (const formula of ["(1+1/n)^n", "1/n^2"]) {
    const inPage = [];
    for (let i = 0; i < runs; i++) {
      await tab.fill("#formula", formula); // empties the boxes
      await tab.fill("#n", "65535");
      await tab.evaluate(() => (window.benchTimes = { asked: 0 }));
      await tab.click("#compute");
      await tab.waitForFunction(() => window.benchTimes.shown);
      inPage.push(await tab.evaluate(() => window.benchTimes.shown - window.benchTimes.asked));
    }
    const native = [];
    for (let i = 0; i < runs; i++) {
      const start = process.hrtime.bigint();
      execFileSync(cliPath, [formula, "65535"]);
      native.push(Number(process.hrtime.bigint() - start) / 1e6);
    }
    const [p, n] = [median(inPage), median(native)];
    console.log(`S_65535 of ${formula}: page ${p.toFixed(1)} ms, native vantel-cli ${n.toFixed(1)} ms: ${(p / n).toFixed(2)}x`);
  }
} finally {
  await browser.close();
}
