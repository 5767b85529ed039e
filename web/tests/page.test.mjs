// The page in Debian's headless Chromium, driven as a user drives it: by its ids,
// the keyboard and its files. Run: node --test web/tests/ (scripts/test does).

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, describe, test } from "node:test";
import { cli, fileUrl, launch, openPage, pageFolder, request, root, serve, settled, shown } from "./harness.mjs";

let browser;
let folder;
before(async () => {
  folder = pageFolder();
  browser = await launch();
});
after(() => browser?.close());

const url = (query) => fileUrl(folder, query);

// What the native vantel-cli says for the same request, in the page's terms.
function native(language, formula, n) {
  const run = cli(["--lang", language, "--json", "--", formula, n]);
  if (!run.out) return null; // an empty formula: refused without a word
  const json = JSON.parse(run.out);
  return json.error ? { caption: json.error.caption, text: json.error.text } : { a: json.a.text, S: json.S.text, P: json.P.text };
}

describe("the same digits as the native build", () => {
  test("generated requests through the page's fields", async () => {
    const requests = JSON.parse(execFileSync("python3", [join(root, "web/tests/requests.py")], { encoding: "utf8" }));
    assert.ok(requests.length >= 500);
    const page = await openPage(browser, url());
    const differing = [];
    for (const [language, formula, n] of requests) {
      const expected = native(language, formula, n);
      if (!expected) continue;
      await request(page, formula, n, language);
      const got = await shown(page);
      if (JSON.stringify(got) !== JSON.stringify(expected)) differing.push({ language, formula, n, expected, got });
    }
    assert.deepEqual(differing.slice(0, 5), []);
    assert.deepEqual(page.errors, []);
  });

  test("the picture, both CSV forms and the history file are vantel-cli's bytes", async () => {
    const page = await openPage(browser, url());
    await request(page, "(-1)^(n+1)/n", "40", "en");
    const downloaded = async (id) => {
      const [file] = await Promise.all([page.waitForEvent("download"), page.click(id)]);
      return readFileSync(await file.path(), "latin1");
    };
    const folder = mkdtempSync(join(tmpdir(), "vantel-plot-"));
    cli(["--lang", "en", "--plot", join(folder, "p.svg"), "--", "(-1)^(n+1)/n", "40"]);
    assert.deepEqual(await downloaded("#download-svg"), readFileSync(join(folder, "p.svg"), "latin1"));
    await page.check("#plot-log");
    cli(["--lang", "en", "--plot", join(folder, "log.svg"), "--plot-y", "log", "--", "(-1)^(n+1)/n", "40"]);
    assert.deepEqual(await downloaded("#download-svg"), readFileSync(join(folder, "log.svg"), "latin1"));
    const csv = (form) => cli(["--lang", "en", "--table", form, "--", "(-1)^(n+1)/n", "40"], "latin1").out;
    assert.deepEqual(await downloaded("#download-csv"), csv("--csv"));
    assert.deepEqual(await downloaded("#download-csv-semicolon"), csv("--csv-semicolon"));
    await request(page, "N^2", "2");
    assert.deepEqual(await downloaded("#history-export"), "(-1)^(n+1)/n\r\nN^2\r\n");
  });
});

describe("the dialog's rules", () => {
  test("n field, steps within 1 to 170, ticks and the formula field", async () => {
    const page = await openPage(browser, url());
    await request(page, "n", "", "ca");
    assert.equal(await page.inputValue("#n"), "1"); // an empty n field becomes 1
    await request(page, "n", " $A ", "ca");
    assert.equal((await shown(page)).a, "10");
    assert.equal(await page.inputValue("#slider"), "10");
    await request(page, "n", "500", "ca");
    assert.equal((await shown(page)).a, "500"); // not limited to the field's four digits
    assert.equal(await page.inputValue("#slider"), "170");
    await page.click('[data-step="1"]');
    await settled(page);
    assert.equal(await page.inputValue("#n"), "170"); // the thumb stands at 170
    await page.click('[data-step="-10"]');
    await settled(page);
    assert.deepEqual([await page.inputValue("#n"), (await shown(page)).a], ["160", "160"]);
    for (const n of ["0", "65536", "2.5", "abc", "   "]) {
      await request(page, "n", n, "ca");
      assert.deepEqual(await shown(page), { caption: "* error *", text: "només nombres naturals (enters positius)" });
      assert.equal(await page.inputValue("#slider"), "160"); // a bad n leaves the thumb
    }
    await request(page, "n^2", "2");
    await page.uncheck("#want-s");
    await page.fill("#n", "3");
    await page.click("#compute");
    await settled(page);
    assert.deepEqual(await shown(page), { a: "9", S: "5", P: "36" }); // the unticked box keeps its text
    await page.type("#formula", "+1");
    assert.deepEqual(await shown(page), { a: "", S: "", P: "" }); // typing empties the boxes
    await request(page, "2n", "3");
    assert.deepEqual(await shown(page), { caption: "Error: Falta operador", text: "2?n" });
    assert.equal(await page.getAttribute("#formula", "aria-invalid"), "true");
    const options = await page.$$eval("#history option", (all) => all.slice(1).map((o) => o.textContent));
    assert.deepEqual(options, ["n", "n^2"]); // accepted formulas once each, also with a bad n
  });
});

describe("history that is never lost", () => {
  test("kept across a reload and merged between two pages by the matching rule", async () => {
    const context = await browser.newContext({ locale: "ca" });
    const first = await context.newPage();
    const second = await context.newPage();
    await first.goto(url());
    await second.goto(url());
    await request(first, "1/n", "3");
    await request(second, "N^2", "3");
    await request(second, "1/N", "3"); // matches 1/n of the other page
    await request(first, "n!", "3");
    const entries = (page) => page.$$eval("#history option", (all) => all.slice(1).map((o) => o.textContent));
    await first.waitForFunction(() => document.querySelectorAll("#history option").length === 4);
    await second.waitForFunction(() => document.querySelectorAll("#history option").length === 4);
    assert.deepEqual(await entries(first), ["1/n", "N^2", "n!"]);
    assert.deepEqual(await entries(second), ["1/n", "N^2", "n!"]);
    await first.reload();
    await first.waitForFunction(() => document.querySelectorAll("#history option").length === 4);
    assert.deepEqual(await entries(first), ["1/n", "N^2", "n!"]);
    await context.close();
  });

  test("an ults.rel adds its formulas; one that cannot be read whole changes nothing", async () => {
    const page = await openPage(browser, url(), { language: "en" });
    await request(page, "1/n", "3");
    const folder = mkdtempSync(join(tmpdir(), "vantel-rel-"));
    const good = join(folder, "ults.rel");
    writeFileSync(good, Buffer.from("1/N\r\nn^2\n(n+1)/n\r", "latin1"));
    await page.setInputFiles("#history-import", good);
    await page.waitForFunction(() => document.getElementById("files-status").textContent !== "");
    assert.equal(await page.textContent("#files-status"), "2 formulas added.");
    const utf16 = join(folder, "wide.rel");
    writeFileSync(utf16, Buffer.from("\ufeffn^3\r\n", "utf16le"));
    await page.setInputFiles("#history-import", utf16);
    await page.waitForFunction(() => document.getElementById("files-status").textContent.startsWith("wide.rel"));
    const options = await page.$$eval("#history option", (all) => all.slice(1).map((o) => o.textContent));
    assert.deepEqual(options, ["1/n", "n^2", "(n+1)/n"]);
  });

  test("blocked storage: a message, and the page works for the session", async () => {
    const block = () =>
      Object.defineProperty(window, "localStorage", {
        get() {
          throw new DOMException("blocked", "SecurityError");
        },
      });
    const page = await openPage(browser, url(), { language: "es", init: block });
    await page.waitForSelector("#notice:not([hidden])");
    assert.match(await page.textContent("#notice"), /^Este navegador no deja guardar el historial/);
    await request(page, "1/n", "2");
    assert.deepEqual(await shown(page), { a: "0.5", S: "1.5", P: "0.5" });
    await page.waitForFunction(() => document.querySelectorAll("#history option").length === 2);
  });
});

describe("usable by everyone", () => {
  const axeSource = readFileSync(join(root, "node_modules/axe-core/axe.min.js"), "utf8");
  const violations = async (page) => {
    await page.addScriptTag({ content: axeSource });
    const found = await page.evaluate(() =>
      window.axe.run(document, { runOnly: { type: "tag", values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"] } }),
    );
    return found.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  };
  // Each state, with what brings the page there.
  const states = {
    results: (page) => request(page, "1/n", "3"),
    "error texts": (page) => request(page, "(n-3)!/(n-2)", "3"),
    "rejected formula": (page) => request(page, "2n", "3"),
    table: async (page) => {
      await request(page, "2^n/n!", "12");
      await page.click("#table-show");
      await page.waitForSelector("#table-box:not([hidden])");
    },
    picture: async (page) => {
      await request(page, "(-1)^n/n", "30");
      await page.click("#plot-show");
      await page.waitForSelector("#plot-box:not([hidden])");
    },
    about: async (page) => {
      await page.click("#about-open");
      await page.waitForFunction(() => document.getElementById("about-version").textContent !== "");
    },
    help: (page) => page.click("#help-sequences"),
  };
  for (const language of ["ca", "en", "es"]) {
    test(`no WCAG 2.1 A/AA violation in each state (${language}), no sideways scrolling at 360 px and at 200 % zoom`, async () => {
      for (const [name, reach] of Object.entries(states)) {
        const page = await openPage(browser, url(), { language, width: 360 });
        await reach(page);
        assert.deepEqual(await violations(page), [], `${name} (${language})`);
        // 180 px: a 360 px phone at 200 % zoom.
        for (const width of [360, 180]) {
          await page.setViewportSize({ width, height: 900 });
          const wide = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
          assert.ok(wide <= 0, `${name} (${language}) is ${wide} px too wide at ${width} px`);
        }
        await page.context().close();
      }
    });
  }

  test("by keyboard alone: type, compute with Enter, pick from the history, switch language", async () => {
    const page = await openPage(browser, url(), { language: "ca" });
    const focused = () => page.evaluate(() => document.activeElement.id);
    assert.equal(await focused(), "formula");
    await page.keyboard.type("1/n");
    await page.keyboard.press("Tab");
    await page.keyboard.press("Tab");
    assert.equal(await focused(), "n");
    await page.keyboard.type("4");
    await page.keyboard.press("Enter");
    await settled(page);
    assert.equal((await shown(page)).a, "0.25");
    await page.keyboard.press("Shift+Tab");
    await page.keyboard.press("Shift+Tab");
    await page.keyboard.press("Control+A");
    await page.keyboard.type("n^2");
    await page.keyboard.press("Enter");
    await settled(page);
    assert.equal((await shown(page)).a, "16");
    await page.keyboard.press("Tab");
    assert.equal(await focused(), "history");
    const outline = await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle);
    assert.equal(outline, "solid"); // a visible focus
    await page.keyboard.press("Home"); // the list's first formula, 1/n, computed at once
    await settled(page);
    assert.deepEqual([await page.inputValue("#formula"), (await shown(page)).a], ["1/n", "0.25"]);
    await page.keyboard.press("Shift+Tab");
    await page.keyboard.press("Shift+Tab");
    assert.equal(await focused(), "lang");
    await page.keyboard.press("ArrowDown"); // English, and the results again in it
    await settled(page);
    assert.equal(await page.textContent("#compute"), "Compute");
    assert.equal(await page.evaluate(() => document.documentElement.lang), "en");
    await page.reload();
    assert.equal(await page.textContent("#compute"), "Compute"); // the choice is remembered
  });

  test("a long request does not hold up typing, and a newer request replaces it", async () => {
    const page = await openPage(browser, url(), { language: "en" });
    // A chain of 44 non-integer powers summed over 65535 terms keeps the worker busy a while.
    const long = `(1+1/n)^n${"^0.5".repeat(44)}`;
    await page.fill("#formula", long);
    await page.fill("#n", "65535");
    await page.click("#compute");
    await page.waitForFunction(() => document.getElementById("results").getAttribute("aria-busy") === "true");
    await page.focus("#n");
    await page.keyboard.press("Control+A");
    await page.keyboard.type("123");
    const during = await page.evaluate(() => ({
      n: document.getElementById("n").value,
      busy: document.getElementById("results").getAttribute("aria-busy"),
    }));
    assert.deepEqual(during, { n: "123", busy: "true" }); // typed while the worker was computing
    await page.fill("#formula", "1/n");
    await page.click("#compute"); // replaces the long request
    await settled(page);
    assert.deepEqual(await shown(page), native("en", "1/n", "123"));
  });
});

describe("offline and installable", () => {
  test("from file:// with the network off it computes and registers no service worker", async () => {
    const context = await browser.newContext({ offline: true });
    await context.addInitScript(() => {
      navigator.serviceWorker.register = async () => (window.registered = true);
    });
    const page = await context.newPage();
    await page.goto(url());
    await request(page, "2^n/n!", "10", "ca");
    assert.deepEqual(await shown(page), native("ca", "2^n/n!", "10"));
    assert.equal(await page.evaluate(() => document.querySelector('link[rel="manifest"]')), null);
    assert.equal(await page.evaluate(() => window.registered), undefined);
    await context.close();
  });

  test("served from localhost: a manifest, and a service worker that keeps it offline", async () => {
    const server = await serve(folder);
    const context = await browser.newContext();
    const page = await context.newPage();
    await page.goto(server.url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    assert.equal(await page.getAttribute('link[rel="manifest"]', "href"), "vantel.webmanifest");
    await server.close();
    await page.reload(); // the server is gone: the page comes from the service worker's store
    await request(page, "1/n", "2", "ca");
    assert.deepEqual(await shown(page), { a: "0.5", S: "1.5", P: "0.5" });
    await context.close();
  });
});
