// The page's side of the engine workers. Every engine call runs in a Web Worker
// made from a Blob URL (a worker script file is refused under file://), so the
// page never waits for the engine. A replaceable worker serves one call at a
// time: a newer call ends the running one (the worker is terminated and started
// again from the compiled WebAssembly module) and the older call's promise is
// rejected with Replaced. Other workers queue their calls. A worker that keeps a
// spare has a second one started and waiting, which takes over at once when the
// running call is replaced (a new spare then starts in the background).

// The smallest module that uses WebAssembly SIMD: one function returning
// i8x16.splat(i32.const 0). Browsers without SIMD refuse it.
const SIMD_PROBE = new Uint8Array([
  0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 8, 1, 6, 0, 65, 0, 253, 15, 11,
]);

export function hasSimd() {
  try {
    return WebAssembly.validate(SIMD_PROBE);
  } catch {
    return false;
  }
}

export class Replaced extends Error {}
export class EngineFailed extends Error {}

// What every worker of the page shares: the Blob URL of the engine and the
// worker body, and the compiled module once the first worker has it.
export class EngineScript {
  constructor(engineSource, workerSource) {
    const blob = new Blob([engineSource, "\n;\n", workerSource], { type: "text/javascript" });
    this.url = URL.createObjectURL(blob);
    this.compiled = null;
  }
}

export class EngineWorker {
  constructor(script, { replaceable, spare = false }) {
    this.script = script;
    this.replaceable = replaceable;
    this.keepsSpare = spare;
    this.pending = new Map();
    this.nextId = 1;
    this.worker = null;
    this.spare = null;
  }

  start() {
    const worker = new Worker(this.script.url);
    worker.onmessage = (event) => {
      if (event.data.module) this.compiled(event.data.module);
      else if (worker === this.worker) this.received(event.data);
    };
    worker.onerror = (event) => {
      event.preventDefault();
      if (worker === this.worker) this.fail(new EngineFailed(event.message || "worker error"));
    };
    worker.postMessage({ start: this.script.compiled });
    return worker;
  }

  // The spare is started from the compiled module only, so that the page's first
  // worker does not compile the engine twice over.
  spawn() {
    this.worker = this.spare ?? this.start();
    this.spare = this.keepsSpare && this.script.compiled ? this.start() : null;
  }

  compiled(module) {
    this.script.compiled ??= module;
    if (this.keepsSpare && !this.spare) this.spare = this.start();
  }

  received(message) {
    if (message.failed) {
      this.fail(new EngineFailed(message.failed));
      return;
    }
    const call = this.pending.get(message.id);
    if (!call) return;
    this.pending.delete(message.id);
    if (message.error !== undefined) {
      call.reject(new EngineFailed(message.error));
    } else {
      call.resolve(JSON.parse(message.json));
    }
  }

  fail(error) {
    for (const call of this.pending.values()) call.reject(error);
    this.pending.clear();
    this.worker?.terminate();
    this.worker = null;
  }

  // Ends the running call, if any: its promise is rejected with Replaced.
  cancel() {
    if (this.pending.size === 0) return;
    this.fail(new Replaced("replaced by a newer request"));
  }

  busy() {
    return this.pending.size > 0;
  }

  // Calls an engine function; the result is its JSON, parsed. Transferable
  // arguments (an ArrayBuffer) are handed over, not copied.
  call(fn, ...args) {
    if (this.replaceable) this.cancel();
    if (!this.worker) this.spawn();
    const id = this.nextId++;
    const transfer = args.filter((a) => a instanceof ArrayBuffer);
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.worker.postMessage({ id, fn, args }, transfer);
    });
  }
}
