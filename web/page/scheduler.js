// The core's module and the one rule that makes the desktop's handlers run in a page: a call
// that waits (doEvents, sleep, the message box) unwinds to here (the module is built with
// Asyncify) and is resumed later, exactly where it waited. Suspended calls form a stack, as the
// desktop's nested loops do: only the innermost one is resumed; events that arrive meanwhile
// wait for a doEvents and run there as calls of their own, nested above it.
//
// A pause (sleep) ends at a display frame, not at a timer: the frame runs every step the
// loop owes by its time, each on the clock the desktop's loop would read then (the pause's
// end), so the beam stands where the desktop's would and nothing wakes between frames.
// Within a frame a doEvents with no event due returns at once; an event is due at the first
// doEvents on the clock after it arrived, as the desktop's loop would take it.

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

// Waits one frame passes without unwinding, at most (a loop that never pauses still gives the
// browser its turns); and how far a loop may be behind the frames before it is taken as held
// up, in seconds (ten of the desktop's steps).
const kMaxPasses = 64;
const kMostBehind = 0.1;

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
    this.frameTime = null;  // the display frame's time running the steps owed, in seconds
    this.stepClock = null;  // the clock within that frame: where the last pause ended
    this.passes = 0;        // waits passed without unwinding in this frame
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
      clock: () => core.now(),
      fusedSines: (input, output, n) => core.sines(input, output, n),
      ended: () => { core.ended = true; core.host.ended(); },
      doEvents: core.waiting(() => ({ kind: "events" }), () => core.passes < kMaxPasses && !core.eventDue()),
      sleep: core.waiting((seconds) => ({ kind: "sleep", until: core.now() + seconds }), (seconds) => core.passSleep(seconds)),
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

  // Seconds on the core's clock: within a frame's steps, the time the last pause ended.
  now() { return this.stepClock ?? performance.now() / 1000; }
  eventDue() { return this.queue.length > 0 && this.queue[0].at <= this.now(); }
  // A pause that ends by the frame's time ends now, on the core's clock, without unwinding.
  passSleep(seconds) {
    if (this.frameTime === null || this.passes >= kMaxPasses) return false;
    const until = this.now() + seconds;
    if (until > this.frameTime) return false;
    this.stepClock = until;
    return true;
  }

  // An import that waits: the first time it is called it records what it waits for and
  // unwinds (unless passes says it need not wait: within a frame's steps); called again as the
  // call is resumed, it returns.
  waiting(what, passes) {
    const kData = 64 * 1024;
    return (...args) => {
      const run = this.current;
      if (this.x.asyncify_get_state() === 2) {
        this.x.asyncify_stop_rewind();
        run.wait = null;
        return;
      }
      if (this.frameTime !== null && passes && passes(...args)) {
        ++this.passes;
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
    this.queue.push({ name, args, done, at: this.now() });
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

  // A pause waits for the display's next frame; anything else for the browser's next turn.
  schedule() {
    if (this.ended) return;
    const top = this.suspended.at(-1);
    if (top && top.wait.kind === "message" && !top.wait.done) return;
    if (top && top.wait.kind === "sleep") {
      this.host.frameWanted();
      return;
    }
    if (this.pumpPending) return;
    this.pumpPending = true;
    this.nextTurn();
  }

  // The events due now, each a call of its own above top, which is resumed after them unless
  // one of them waits itself.
  runEvents(top) {
    while (this.eventDue() && !this.ended && this.suspended.at(-1) === top) {
      const event = this.queue.shift();
      this.enter({ name: event.name, args: event.args, data: 0, wait: null, done: event.done });
    }
    if (!this.ended && this.suspended.at(-1) === top) this.resume(top);
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
      this.runEvents(top);
    } else if (top.wait.kind === "message" && top.wait.done) {
      this.resume(top);
    }
    this.host.settled();
    if (this.suspended.length || this.queue.length) this.schedule();
  }

  // The display's frame at time (milliseconds, the frame's timestamp): every step owed by then,
  // as the desktop's loop makes them, one pause after another. A loop far behind (a hidden
  // page, a long handler) goes on from the frame's time, as the desktop's goes on late after
  // whatever held it up, instead of running all the steps it missed at once.
  frame(time) {
    if (this.ended) return;
    this.frameTime = time / 1000;
    this.passes = 0;
    try {
      for (let top = this.suspended.at(-1); top && !this.ended && this.passes < kMaxPasses;
           top = this.suspended.at(-1)) {
        if (top.wait.kind === "sleep" && top.wait.until <= this.frameTime) {
          this.stepClock = this.frameTime - top.wait.until > kMostBehind ? this.frameTime : top.wait.until;
          ++this.passes;
          this.resume(top);
        } else if (top.wait.kind === "events" && this.stepClock !== null) {
          // A doEvents of this frame's steps with an event due.
          this.runEvents(top);
        } else {
          break;
        }
      }
    } finally {
      this.frameTime = null;
      this.stepClock = null;
    }
    // What the steps changed is painted in this frame; a loop still pausing wants the next.
    if (this.suspended.length || this.queue.length) this.schedule();
  }
}
