// What the page's browser tests share: the page to test, Debian's Chromium driven
// by playwright-core (no browser of its own is downloaded), a small local web
// server, and the native vantel-cli to compare with.
//
// The page is build/web/web/vantel.html (the web preset's build; VANTEL_PAGE_DIR
// names another folder).

import { execFileSync } from "node:child_process";
import { existsSync, readFileSync } from "node:fs";
import { createServer } from "node:http";
import { dirname, extname, join } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { chromium } from "playwright-core";

export const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
export const cliPath = process.env.VANTEL_CLI ?? join(root, "build", "native", "bin", "vantel-cli");

// Runs the native vantel-cli; the result is its output and exit code.
export function cli(args, encoding = "utf8") {
  try {
    return { code: 0, out: execFileSync(cliPath, args, { encoding, stdio: ["ignore", "pipe", "pipe"] }) };
  } catch (error) {
    return { code: error.status, out: error.stdout };
  }
}

// The folder holding vantel.html: the web preset's build, or VANTEL_PAGE_DIR.
export function pageFolder() {
  const folder = process.env.VANTEL_PAGE_DIR ?? join(root, "build", "web", "web");
  if (!existsSync(join(folder, "vantel.html"))) {
    throw new Error(`no page in ${folder}: build it first (cmake --preset web && cmake --build --preset web)`);
  }
  return folder;
}

export const fileUrl = (folder, query = "") => pathToFileURL(join(folder, "vantel.html")).href + query;

const TYPES = { ".html": "text/html", ".js": "text/javascript", ".webmanifest": "application/manifest+json", ".png": "image/png" };

// Serves the folder on 127.0.0.1 (a port of its own); close() stops it.
export async function serve(folder) {
  const server = createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname).replace(/^\/+/, "");
    const file = join(folder, name || "vantel.html");
    if (name.includes("..") || !existsSync(file)) {
      response.statusCode = 404;
      response.end();
      return;
    }
    response.setHeader("Content-Type", TYPES[extname(file)] ?? "application/octet-stream");
    response.end(readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return {
    url: `http://localhost:${server.address().port}/vantel.html`,
    close: () => new Promise((resolve) => (server.closeAllConnections(), server.close(resolve))),
  };
}

// Playwright starts it with a fresh profile folder of its own.
export async function launch() {
  return chromium.launch({
    executablePath: process.env.VANTEL_CHROMIUM ?? "/usr/bin/chromium",
    args: [
      "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--no-first-run",
    ],
  });
}

// The page opened in a fresh context: its own storage, the language given.
export async function openPage(browser, url, { language = "ca", width = 1000, init } = {}) {
  const context = await browser.newContext({ locale: language, viewport: { width, height: 900 }, acceptDownloads: true });
  if (init) await context.addInitScript(init);
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(url);
  page.errors = errors;
  return page;
}

// Asks as a user does: the formula, n and the language, then Calcula; resolves
// when the request has been answered.
export async function request(page, formula, n, language) {
  if (language && (await page.inputValue("#lang")) !== language) await page.selectOption("#lang", language);
  await page.fill("#formula", formula);
  await page.fill("#n", n);
  await page.click("#compute");
  await settled(page);
}

export async function settled(page) {
  await page.waitForFunction(() => document.getElementById("results").getAttribute("aria-busy") !== "true");
}

// What the page shows: the three result texts, or the message's caption and text.
export function shown(page) {
  return page.evaluate(() => {
    const text = (id) => document.getElementById(id).textContent;
    return document.getElementById("message").hidden
      ? { a: text("result-a"), S: text("result-s"), P: text("result-p") }
      : { caption: text("message-caption"), text: text("message-text") };
  });
}
