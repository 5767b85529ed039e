// The body of an engine worker. It runs after the engine's own script (the
// emscripten factory VantelEngine) in the same Blob, starts the engine and
// answers each message {id, fn, args} with {id, json}: the engine function's
// JSON text, parsed by the page. Messages carry plain data only.
//
// The first message, {start}, carries the engine's compiled WebAssembly.Module
// (the page compiles it once): the worker only instantiates it, so a worker that
// replaces a terminated one is ready in a moment.

/* global VantelEngine */

const SIGNATURES = {
  vantel_request: ["string", "string", "number", "number"],
  vantel_table: ["string", "string", "number", "number"],
  vantel_plot: ["string", "string", "number", "number"],
  vantel_history_merge: ["string", "string"],
  vantel_history_write: ["string"],
  vantel_version: [],
};

let engine = null;
const waiting = [];

function start(compiled) {
  const instantiateWasm = (imports, receive) => {
    WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled));
    return {};
  };
  VantelEngine({ instantiateWasm }).then(
    (module) => {
      engine = module;
      self.postMessage({ ready: true });
      while (waiting.length) answer(waiting.shift());
    },
    (error) => self.postMessage({ failed: String(error) }),
  );
}

// The bytes of a history file cross into the engine's memory and out again.
function readHistory(bytes) {
  const data = new Uint8Array(bytes);
  if (typeof engine._malloc !== "function") {
    return engine.ccall("vantel_history_read", "string", ["array", "number"], [data, data.length]);
  }
  const pointer = engine._malloc(Math.max(1, data.length));
  try {
    engine.HEAPU8.set(data, pointer);
    return engine.ccall("vantel_history_read", "string", ["number", "number"], [pointer, data.length]);
  } finally {
    engine._free(pointer);
  }
}

function answer({ id, fn, args }) {
  let json;
  try {
    json =
      fn === "vantel_history_read" ? readHistory(args[0]) : engine.ccall(fn, "string", SIGNATURES[fn], args);
  } catch (error) {
    self.postMessage({ id, error: String(error) });
    return;
  }
  self.postMessage({ id, json });
}

self.onmessage = (event) => {
  const message = event.data;
  if ("start" in message) {
    start(message.start);
  } else if (engine) {
    answer(message);
  } else {
    waiting.push(message);
  }
};
