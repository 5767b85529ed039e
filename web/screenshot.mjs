// Takes a picture of the page in Debian's headless Chromium:
//   node web/screenshot.mjs PAGE.html OUT.png [--width PX] [--lang ca|en|es] [FORMULA [N]]
// With a formula and n the page opens computed, as Vantel does with both on its
// command line. The picture holds the whole page at the given width (1000 px
// unless told).

import { parseArgs } from "node:util";
import { pathToFileURL } from "node:url";
import { chromium } from "playwright-core";

const { values, positionals } = parseArgs({
  allowPositionals: true,
  options: { width: { type: "string", default: "1000" }, lang: { type: "string", default: "ca" } },
});
const [page_file, out, formula, n] = positionals;
if (!page_file || !out) {
  console.error("usage: screenshot.mjs PAGE.html OUT.png [--width PX] [--lang ca|en|es] [FORMULA [N]]");
  process.exit(64);
}
const query = new URLSearchParams();
if (formula !== undefined) query.set("formula", formula);
if (n !== undefined) query.set("n", n);
const url = pathToFileURL(page_file).href + (formula !== undefined ? `?${query}` : "");

const browser = await chromium.launch({
  executablePath: process.env.VANTEL_CHROMIUM ?? "/usr/bin/chromium",
  args: ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run"],
});
try {
  const context = await browser.newContext({ locale: values.lang, viewport: { width: Number(values.width), height: 700 } });
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => document.getElementById("results").getAttribute("aria-busy") !== "true");
  await page.screenshot({ path: out, fullPage: true });
  console.log(`saved ${out}`);
} finally {
  await browser.close();
}
