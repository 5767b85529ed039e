// The formula history of the page, kept in the browser's localStorage as a JSON
// list. Lists are joined by the engine's merge rule (vantel_history_merge: the
// held entries as they are, then each added entry that matches none of them,
// letter case ignored), the same rule two copies of Vantel follow for ults.rel:
// - a formula accepted here is merged into the stored list at once, under a Web
//   Lock where the browser has them, so two pages never write over each other;
// - a page that sees the other page's write (a storage event) takes the stored
//   list and merges its own entries after it;
// - storage that is blocked, absent or full costs nothing but the keeping: the
//   page goes on with its list in memory and says so once.

const KEY = "vantel.history";
const LOCK = "vantel.history";

function storage() {
  try {
    return window.localStorage ?? null;
  } catch {
    return null; // blocked: reading the property itself throws
  }
}

function readStored() {
  const store = storage();
  if (!store) throw new Error("no storage");
  const text = store.getItem(KEY);
  if (text === null) return [];
  const list = JSON.parse(text);
  return Array.isArray(list) ? list.filter((e) => typeof e === "string") : [];
}

function withLock(work) {
  return navigator.locks?.request ? navigator.locks.request(LOCK, work) : work();
}

export class History {
  // engine: an EngineWorker for the merge rule; changed(entries) after every
  // change of the list; problem(kind) for "storage" and "full".
  constructor(engine, { changed, problem }) {
    this.engine = engine;
    this.changed = changed;
    this.problem = problem;
    this.entries = [];
    this.storageWorks = true;
    this.queue = Promise.resolve();
  }

  async merge(held, added) {
    if (added.length === 0) return { entries: held, full: false };
    const result = await this.engine.call("vantel_history_merge", held.join("\n"), added.join("\n"));
    if (result.full) this.problem("full");
    return result;
  }

  storageFailed() {
    if (this.storageWorks) {
      this.storageWorks = false;
      this.problem("storage");
    }
  }

  // One change at a time, in the order asked.
  serialise(work) {
    const next = this.queue.then(work, work);
    this.queue = next.catch(() => {});
    return next;
  }

  load() {
    return this.serialise(async () => {
      try {
        this.entries = readStored();
      } catch {
        this.storageFailed();
      }
      window.addEventListener("storage", (event) => {
        if (event.key === KEY || event.key === null) this.otherPageWrote();
      });
      this.changed(this.entries);
    });
  }

  otherPageWrote() {
    return this.serialise(async () => {
      let stored;
      try {
        stored = readStored();
      } catch {
        return;
      }
      this.entries = (await this.merge(stored, this.entries)).entries;
      this.changed(this.entries);
    });
  }

  // Adds the formulas that match no entry; the result is how many were added.
  add(formulas) {
    return this.serialise(async () => {
      const before = this.entries.length;
      this.entries = (await this.merge(this.entries, formulas)).entries;
      const added = this.entries.length - before;
      await this.keep();
      this.changed(this.entries);
      return added;
    });
  }

  // Writes the list, merged after what another page may have stored meanwhile.
  async keep() {
    if (!this.storageWorks) return;
    try {
      await withLock(async () => {
        const stored = readStored();
        const merged = (await this.merge(stored, this.entries)).entries;
        storage().setItem(KEY, JSON.stringify(merged));
        this.entries = merged;
      });
    } catch {
      this.storageFailed();
    }
  }
}
