// The core's module and the one rule that makes the desktop's handlers run in a page: a call
// that waits (doEvents, sleep, the message box) unwinds to here (the module is built with
// Asyncify) and is resumed later, exactly where it waited. Suspended calls form a stack, as the
// desktop's nested loops do: only the innermost one is resumed; events that arrive meanwhile
// wait for a doEvents and run there as calls of their own, nested above it.

// The sine kernel with the browser's own multiply-add, a module of its own that works in the
// core's memory (x, a core's exports, calls it through its import fusedSines, which calls
// setKernel's kernel). The core takes it only where it fuses; a browser without relaxed SIMD
// refuses to compile it, and the core keeps its emulated multiply-add.
function offerFusedSines(x, bytes, setKernel) {
  try {
    const kernel = new WebAssembly.Instance(new WebAssembly.Module(bytes), { env: { memory: x.memory } });
    setKernel(kernel.exports.sines);
    return x.korv_offerFusedSines() === 1;
  } catch {
    return false;
  }
}

class Core {
  static async load(module, host) {
    const core = new Core(host);
    const imports = { korvelian: core.hostImports(), wasi_snapshot_preview1: {} };
    for (const entry of WebAssembly.Module.imports(module)) {
      if (entry.module === "wasi_snapshot_preview1")
        imports.wasi_snapshot_preview1[entry.name] = core.wasi(entry.name);
    }
    core.module = module;
    core.instance = await WebAssembly.instantiate(module, imports);
    core.x = core.instance.exports;
    if (core.x._initialize) core.x._initialize();
    core.fusedSines = offerFusedSines(core.x, host.fusedSinesBytes, (kernel) => { core.sines = kernel; });
    return core;
  }

  constructor(host) {
    this.host = host;
    this.suspended = [];  // the calls waiting, innermost last
    this.current = null;  // the call running now
    this.queue = [];      // events waiting for a doEvents
    this.pumpPending = false;
    this.ended = false;
    this.decoder = new TextDecoder();
    this.encoder = new TextEncoder();
    const channel = new MessageChannel();
    channel.port1.onmessage = () => this.pump();
    this.nextTurn = () => channel.port2.postMessage(0);
  }

  // Memory views are made again after every call: the memory may have grown.
  get bytes() { return new Uint8Array(this.x.memory.buffer); }
  string(pointer, length) {
    if (length === undefined) { const b = this.bytes; length = 0; while (b[pointer + length]) ++length; }
    return this.decoder.decode(this.bytes.subarray(pointer, pointer + length));
  }
  json(pointer) { return JSON.parse(this.string(pointer)); }
  // The pixels of a drawing of the scene written last, at its box's size times ratio.
  drawingImage(index, ratio, width, height) {
    const w = Math.max(1, Math.trunc(width * ratio)), h = Math.max(1, Math.trunc(height * ratio));
    const pointer = this.x.korv_drawingPixels(index, ratio);
    return new ImageData(new Uint8ClampedArray(this.x.memory.buffer.slice(pointer, pointer + w * h * 4)), w, h);
  }

  wasi(name) {
    const core = this;
    switch (name) {
      case "clock_time_get":
        return (id, precision, out) => {
          new DataView(core.x.memory.buffer).setBigUint64(out, BigInt(Math.round(performance.now() * 1e6)), true);
          return 0;
        };
      case "fd_write":
        return (fd, iovs, count, written) => {
          const view = new DataView(core.x.memory.buffer);
          let total = 0, text = "";
          for (let k = 0; k < count; ++k) {
            const p = view.getUint32(iovs + 8 * k, true), n = view.getUint32(iovs + 8 * k + 4, true);
            text += core.string(p, n); total += n;
          }
          if (text.trim()) console.log(text);
          view.setUint32(written, total, true);
          return 0;
        };
      case "proc_exit":
        return (code) => { throw new Error(`exit ${code}`); };
      default:
        return () => 52; // not supported
    }
  }

  hostImports() {
    const core = this;
    const font = (family, familyLength, sansSerif, pixelSize) =>
      [core.string(family, familyLength), !!sansSerif, pixelSize];
    return {
      changed: (what) => core.host.changed(what),
      clock: () => performance.now() / 1000,
      fusedSines: (input, output, n) => core.sines(input, output, n),
      ended: () => { core.ended = true; core.host.ended(); },
      doEvents: core.waiting(() => ({ kind: "events" })),
      sleep: core.waiting((seconds) => ({ kind: "sleep", until: performance.now() + seconds * 1000 })),
      msgBox: core.waiting((prompt, promptLength, title, titleLength) => {
        const wait = { kind: "message", done: false };
        core.host.message(core.string(prompt, promptLength), core.string(title, titleLength),
                          () => { wait.done = true; core.schedule(); });
        return wait;
      }),
      richTextSize: (html, htmlLength, family, familyLength, sansSerif, pixelSize, width, out) => {
        const size = Painter.metrics.richTextSize(core.string(html, htmlLength),
                                                  font(family, familyLength, sansSerif, pixelSize), width);
        new Float64Array(core.x.memory.buffer, out, 2).set(size);
      },
      lineHeight: (...f) => Painter.metrics.lineHeight(font(...f)),
      advance: (family, familyLength, sansSerif, pixelSize, text, textLength) =>
        Painter.metrics.advance(font(family, familyLength, sansSerif, pixelSize), core.string(text, textLength)),
      capHeight: (...f) => Painter.metrics.capHeight(font(...f)),
    };
  }

  // An import that waits: the first time it is called it records what it waits for and
  // unwinds; called again as the call is resumed, it returns.
  waiting(what) {
    const kData = 64 * 1024;
    return (...args) => {
      const run = this.current;
      if (this.x.asyncify_get_state() === 2) {
        this.x.asyncify_stop_rewind();
        run.wait = null;
        return;
      }
      run.wait = what(...args);
      if (!run.data) run.data = this.x.korv_alloc(kData);
      const header = new Uint32Array(this.x.memory.buffer, run.data, 2);
      header[0] = run.data + 8;
      header[1] = run.data + kData;
      this.x.asyncify_start_unwind(run.data);
    };
  }

  // Runs an export that may wait: now if nothing waits, else at the innermost doEvents.
  call(name, ...args) { this.callThen(null, name, ...args); }

  // The same; done runs once the call has ended for good (memory it reads may go then).
  callThen(done, name, ...args) {
    if (this.ended) { if (done) done(); return; }
    if (this.suspended.length === 0 && !this.current) {
      this.enter({ name, args, data: 0, wait: null, done });
      this.host.settled();
      return;
    }
    const last = this.queue.at(-1);
    // A stream of mouse moves over one control is one move by the time it is handled.
    if (!done && last && last.name === name && String(last.args) === String(args) && name === "korv_event")
      return;
    this.queue.push({ name, args, done });
    this.schedule();
  }

  enter(run) {
    const outer = this.current;
    this.current = run;
    try {
      this.x[run.name](...run.args);
    } finally {
      this.current = outer;
    }
    if (this.x.asyncify_get_state() === 1) {
      this.x.asyncify_stop_unwind();
      this.suspended.push(run);
      this.schedule();
      return;
    }
    if (run.data) this.x.korv_free(run.data);
    if (run.done) run.done();
  }

  resume(run) {
    this.suspended.pop();
    this.x.asyncify_start_rewind(run.data);
    this.enter(run);
  }

  schedule() {
    if (this.pumpPending || this.ended) return;
    const top = this.suspended.at(-1);
    if (top && top.wait.kind === "message" && !top.wait.done) return;
    this.pumpPending = true;
    if (top && top.wait.kind === "sleep") {
      const left = top.wait.until - performance.now();
      if (left > 0) { setTimeout(() => this.pump(), left); return; }
    }
    this.nextTurn();
  }

  pump() {
    this.pumpPending = false;
    if (this.ended) { this.suspended = []; this.queue = []; return; }
    const top = this.suspended.at(-1);
    if (!top) {
      while (this.queue.length && !this.ended && this.suspended.length === 0) {
        const event = this.queue.shift();
        this.enter({ name: event.name, args: event.args, data: 0, wait: null, done: event.done });
      }
    } else if (top.wait.kind === "events") {
      // Every event pending now runs here; one that waits itself becomes the innermost call.
      while (this.queue.length && !this.ended && this.suspended.at(-1) === top) {
        const event = this.queue.shift();
        this.enter({ name: event.name, args: event.args, data: 0, wait: null, done: event.done });
      }
      if (!this.ended && this.suspended.at(-1) === top) this.resume(top);
    } else if (top.wait.kind === "sleep") {
      if (performance.now() >= top.wait.until) this.resume(top);
    } else if (top.wait.done) {
      this.resume(top);
    }
    this.host.settled();
    if (this.suspended.length || this.queue.length) this.schedule();
  }
}
