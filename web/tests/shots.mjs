import { launch, openPage, pageFolder, fileUrl, request } from "./harness.mjs";
const built = await pageFolder();
const browser = await launch();
const shots = [
  ["error-es-360", "es", 360, async (p) => { await request(p, "(n-3)!/(n-2)", "3"); }],
  ["rejected-ca", "ca", 700, async (p) => { await request(p, "2(n+1)", "3"); }],
  ["table-en-360", "en", 360, async (p) => { await request(p, "2^n/n!", "12"); await p.click("#table-show"); await p.waitForSelector("#table-box:not([hidden])"); }],
  ["plot-ca", "ca", 800, async (p) => { await request(p, "(-1)^(n+1)/n", "40"); await p.click("#plot-show"); await p.waitForSelector("#plot-box:not([hidden])"); await p.waitForTimeout(300); }],
  ["about-es", "es", 700, async (p) => { await p.click("#about-open"); await p.waitForTimeout(500); }],
  ["help-en-360", "en", 360, async (p) => { await p.click("#help-general"); }],
];
for (const [name, lang, width, act] of shots) {
  const page = await openPage(browser, fileUrl(built.folder), { language: lang, width });
  await act(page);
  await page.screenshot({ path: `/tmp/shot-${name}.png`, fullPage: !name.startsWith("about") && !name.startsWith("help") });
  await page.context().close();
}
// 200 % zoom: a 1280 px window at device scale 2 is 640 CSS px.
const ctx = await browser.newContext({ locale: "ca", viewport: { width: 640, height: 500 }, deviceScaleFactor: 2 });
const p = await ctx.newPage(); await p.goto(fileUrl(built.folder)); await request(p, "1/n", "3");
await p.screenshot({ path: "/tmp/shot-zoom200.png" });
await browser.close(); built.close();
