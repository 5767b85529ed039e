// The page's side of the engine workers. Every engine call runs in a Web Worker
// made from a Blob URL (a worker script file is refused under file://), so the
// page never waits for the engine. The page compiles the engine's WebAssembly
// once (it carries it deflated, see assemble.mjs) and hands the compiled module
// to each worker, which only instantiates it. A replaceable worker serves one call at a
// time: a newer call ends the running one (the worker is terminated and started
// again from the compiled WebAssembly module) and the older call's promise is
// rejected with Replaced. Other workers queue their calls. A worker that keeps a
// spare has a second one started and waiting, which takes over at once when the
// running call is replaced (a new spare then starts in the background).

// The smallest module that uses WebAssembly SIMD: one function returning
// i8x16.splat(i32.const 0). Browsers without SIMD refuse it.
import { inflateSync } from "fflate";

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

function base64Bytes(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// What every worker of the page shares: the Blob URL of the engine's script and
// the worker's body, and the compiled module (a promise).
export class EngineScript {
  constructor(engineSource, workerSource, deflatedWasm) {
    const blob = new Blob([engineSource, "\n;\n", workerSource], { type: "text/javascript" });
    this.url = URL.createObjectURL(blob);
    this.module = Promise.resolve().then(() => WebAssembly.compile(inflateSync(base64Bytes(deflatedWasm))));
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

  // A new worker; calls posted before the module reaches it wait in the worker.
  start() {
    const worker = new Worker(this.script.url);
    worker.onmessage = (event) => worker === this.worker && this.received(event.data);
    worker.onerror = (event) => {
      event.preventDefault();
      if (worker === this.worker) this.fail(new EngineFailed(event.message || "worker error"));
    };
    this.script.module.then(
      (module) => worker.postMessage({ start: module }),
      (error) => worker === this.worker && this.fail(new EngineFailed(String(error))),
    );
    return worker;
  }

  spawn() {
    this.worker = this.spare ?? this.start();
    this.spare = this.keepsSpare ? this.start() : null;
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
