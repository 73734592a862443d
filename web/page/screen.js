// The screen's canvases painted at the display's next frame from what the core describes, the
// time signals beside it, and the figure drawn by a copy of the core in a worker.

function canvasSize(canvas, element) {
  const ratio = window.devicePixelRatio || 1;
  const width = element.clientWidth || px(element.layout.width);
  const height = element.clientHeight || px(element.layout.height);
  const device = [Math.max(1, Math.round(width * ratio)), Math.max(1, Math.round(height * ratio))];
  if (canvas.width !== device[0] || canvas.height !== device[1]) {
    canvas.width = device[0];
    canvas.height = device[1];
  }
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  return { width, height, ratio: device[0] / width };
}

// A scene painted again as it stood is left as it is: a software compositor takes a changed
// canvas over whole, whatever changed in it. Drawings' pixels are not in the scene's text.
function paintScene(canvas, size, items) {
  const key = items.some((a) => a[0] === "drawing") ? null
    : `${canvas.width}x${canvas.height}@${size.ratio}${JSON.stringify(items)}`;
  if (key !== null && canvas.sceneKey === key) return;
  canvas.sceneKey = key;
  const ctx = canvas.getContext("2d");
  ctx.setTransform(1, 0, 0, 1, 0, 0);
  ctx.clearRect(0, 0, canvas.width, canvas.height);
  ctx.setTransform(size.ratio, 0, 0, size.ratio, 0, 0);
  Painter.paint(ctx, items, page.core);
}

// The overlays follow the beam's steps, which come faster than the display's frames and,
// slowly run, move it by less than a pixel: a step whose items light the pixels they lit
// leaves the canvas alone (a changed canvas costs a software compositor its whole area).
// Aliased lines sit on the device pixel their coordinate falls in and boxes of whole pixels
// are rounded as the painter rounds them; every other number counts exactly.
function overlayPixels(items, ratio) {
  let aliased = false;
  const device = (v) => Math.floor(v * ratio);
  return items.map((a) => {
    if (a[0] === "antialias") aliased = !a[1];
    if (aliased && a[0] === "line") return [a[0], ...a.slice(1).map(device)];
    if (aliased && a[0] === "lines") return [a[0], a[1].map(device)];
    if ((a[0] === "ellipse" || a[0] === "rect") && a[5]) return [...a.slice(0, 5).map((v, k) => (k ? Math.round(v) : v)), a[5]];
    if (a[0] === "fillRect" && a[7]) return [...a.slice(0, 5).map((v, k) => (k ? Math.round(v) : v)), ...a.slice(5)];
    return a;
  });
}

function paintOverlays(canvas, size, items) {
  const key = `${canvas.width}x${canvas.height}@${size.ratio}${JSON.stringify(overlayPixels(items, size.ratio))}`;
  if (canvas.overlayKey === key) return;
  canvas.overlayKey = key;
  paintScene(canvas, size, items);
}

function frame(time) {
  page.framePending = false;
  const core = page.core;
  // The beam's steps owed by this frame first, so that it shows where they put it.
  core.frame(time);
  const dirty = page.dirty;
  page.dirty = 0;
  if (dirty & Changed.Controls) syncControls();
  if (dirty & Changed.Screen) {
    const { underlay, readings, figure, element } = page.screen;
    const size = canvasSize(figure, element);
    paintScene(underlay, canvasSize(underlay, element),
               core.json(core.x.korv_underlay(size.width, size.height, page.zoom, size.ratio)));
    paintScene(readings, canvasSize(readings, element),
               core.json(core.x.korv_readings(size.width, size.height, page.zoom)));
    // The first figure is drawn here, and the worker started after it; a later one waits for
    // the worker, as the worst takes the page's thread for most of a second.
    const beside = (page.worker || page.workerStarts) && (page.workerReady || page.firstFigure);
    if (beside && !page.workerReady) {
      page.figureWaits = true;
    } else if (beside) {
      // Drawn beside the page: input and the beam go on while a large figure is made.
      const pointer = core.x.korv_screenOps();
      const head = new Float64Array(core.x.memory.buffer, pointer, 1);
      const ops = new Float64Array(core.x.memory.buffer.slice(pointer, pointer + (2 + head[0] * 17) * 8));
      requestFigure(ops, figure.width, figure.height, size.ratio);
    } else {
      const pointer = core.x.korv_renderScreen(figure.width, figure.height, page.zoom, size.ratio);
      const pixels = new Uint8ClampedArray(core.x.memory.buffer, pointer, figure.width * figure.height * 4);
      showFigure(new Uint8ClampedArray(pixels), figure.width, figure.height);
    }
  }
  if (dirty & (Changed.Overlays | Changed.Screen)) {
    const { overlays, element } = page.screen;
    const size = canvasSize(overlays, element);
    paintOverlays(overlays, size, core.json(core.x.korv_overlays(size.width, size.height, page.zoom)));
  }
  if (dirty & (Changed.Screen | Changed.Overlays)) paintTimeSignals(dirty);
  if (dirty & Changed.Screen) paintLegendBeside();
  if (dirty & (Changed.Screen | Changed.Overlays)) paintPresentation();
  if (dirty & Changed.SpeedBar) {
    const { canvas, element } = page.speed;
    const size = canvasSize(canvas, element);
    paintScene(canvas, size, core.json(core.x.korv_speedBar(size.width, size.height)));
  }
}

// The narrowest the time signals' panel is made over the controls (at 100 %): its formulas and
// the time axis's words still fit.
const kTimeSignalsNarrowest = 250;

// "Zeitverläufe": x(t) above y(t) over a period of the figure, in a panel beside the window
// where the page has room for it; where not, over the controls left of the screen where they
// leave it room enough for its words (the figure stays in sight), else over the window's right
// side, beneath the full-screen button. The signals are painted again with the figure, the
// beam's cursor with every frame.
function paintTimeSignals(dirty) {
  const core = page.core;
  const panel = document.getElementById("timeSignals");
  const on = core.json(core.x.korv_views()).find((v) => v.timeSignals)?.on;
  panel.hidden = !on;
  if (!on) return;
  const form = document.getElementById("form").getBoundingClientRect();
  const screen = page.screen.element.getBoundingClientRect();
  // Its left border lies outside its width: counted, so that nothing of it is past the edge.
  const border = 1;
  let width = Math.round(Math.min(page.layout.timeSignalsWidth * page.zoom, window.innerWidth * 0.6));
  let left = Math.round(Math.min(form.right, window.innerWidth - width - border));
  let top = Math.round(form.top);
  const beforeScreen = Math.floor(screen.left) - border;
  if (left < form.right && beforeScreen >= kTimeSignalsNarrowest * page.zoom) {
    width = Math.min(width, beforeScreen);
    left = beforeScreen - width;
  } else if (left < form.right) {
    const button = document.getElementById("fullScreen").getBoundingClientRect();
    if (button.right > left && button.bottom > top) top = Math.ceil(button.bottom);
  }
  const height = Math.round(form.bottom) - top;
  panel.style.width = `${width}px`;
  panel.style.height = `${height}px`;
  panel.style.top = `${top}px`;
  panel.style.left = `${left}px`;
  const [signals, cursor] = panel.querySelectorAll("canvas");
  const element = { clientWidth: width, clientHeight: height, layout: {} };
  const size = canvasSize(signals, element);
  if (dirty & Changed.Screen || panel.dataset.size !== `${width}x${height}`) {
    panel.dataset.size = `${width}x${height}`;
    paintScene(signals, size, core.json(core.x.korv_timeSignals(size.width, size.height, page.zoom, size.ratio, 0)));
  }
  paintScene(cursor, canvasSize(cursor, element),
             core.json(core.x.korv_timeSignals(size.width, size.height, page.zoom, size.ratio, 1)));
}

// The reading aid's legend where the screen has no room for it: beside the window where the
// page has room, right or else left, its foot level with the window's; where neither side has
// room, over the foot of the column of controls, clear of the screen (as the desktop's window).
function paintLegendBeside() {
  const core = page.core;
  const panel = document.getElementById("legendBeside");
  const form = document.getElementById("form").getBoundingClientRect();
  const screen = page.screen.element.getBoundingClientRect();
  const wide = 360 * page.zoom, narrow = 110 * page.zoom;
  const right = window.innerWidth - form.right, left = form.left;
  // Over the controls it stops short of the full-screen button where that stands among them.
  const button = document.getElementById("fullScreen").getBoundingClientRect();
  const clear = button.left > form.left && button.left < screen.left ? button.left : screen.left;
  const [x, room] = right >= narrow ? [form.right, right]
    : left >= narrow ? [form.left - Math.min(wide, left), left] : [form.left, clear - form.left];
  const width = Math.round(Math.min(wide, room));
  // Measured as the readings are: on the screen's own size.
  const { clientWidth: sw, clientHeight: sh } = page.screen.element;
  const height = core.x.korv_legendBesideHeight(sw, sh, width - 2, page.zoom);
  panel.hidden = !(height > 0 && width > 2);
  if (panel.hidden) {
    panel.moved = null;
    return;
  }
  // Where the user dragged it, it stays, kept inside the page.
  const [mx, my] = panel.moved ?? [x, form.bottom - height - 2];
  panel.style.left = `${Math.round(Math.max(0, Math.min(mx, window.innerWidth - width)))}px`;
  panel.style.top = `${Math.round(Math.max(0, Math.min(my, window.innerHeight - height - 2)))}px`;
  const canvas = panel.querySelector("canvas");
  const element = { clientWidth: width - 2, clientHeight: Math.ceil(height), layout: {} };
  const size = canvasSize(canvas, element);
  paintScene(canvas, size, core.json(core.x.korv_legendBeside(sw, sh, size.width, size.height, page.zoom)));
}

// It may lie over controls: a drag with a finger, a pen or the mouse takes it elsewhere.
function dragLegendBeside() {
  const panel = document.getElementById("legendBeside");
  panel.addEventListener("pointerdown", (down) => {
    const box = panel.getBoundingClientRect();
    const grip = [down.clientX - box.left, down.clientY - box.top];
    panel.setPointerCapture(down.pointerId);
    const move = (e) => {
      panel.moved = [e.clientX - grip[0], e.clientY - grip[1]];
      panel.style.left = `${Math.round(panel.moved[0])}px`;
      panel.style.top = `${Math.round(panel.moved[1])}px`;
    };
    const up = () => {
      panel.removeEventListener("pointermove", move);
      panel.removeEventListener("pointerup", up);
      panel.removeEventListener("pointercancel", up);
    };
    panel.addEventListener("pointermove", move);
    panel.addEventListener("pointerup", up);
    panel.addEventListener("pointercancel", up);
    down.preventDefault();
  });
}

function showFigure(pixels, width, height, id = 0) {
  const figure = page.screen.figure;
  if (figure.width !== width || figure.height !== height) return;
  figure.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
  page.shown = { id, at: performance.now() };
  if (!page.firstFigure) {
    page.firstFigure = performance.now();
    if (page.afterFirstFigure) page.afterFirstFigure();
  }
}

// Copies of the core, each on a thread of its own, that make the screen's drawing into pixels:
// the first alone, or with the others each its lane's share of the figure as the desktop's
// cores share it out. The page asks the first; it hands the request to the others it names and
// adds their shares to its own in the core. It takes up the newest request only, once the
// shares of the one before are in, so a request that waits behind a newer one is never drawn
// and all lanes always draw the same one. Where the browser starts no worker from the page,
// the page draws the pixels itself.
function drawWorker() {
  let core = null;
  let asked = null;        // the newest request not yet taken up
  let toFirst = null;      // the other copies': where their shares go
  const lanes = new Map(); // the first copy's: the others' ports by their number
  let gathering = null;    // the first copy's: { m, own, parts } until the shares are in
  // Taken up after the messages that wait already, so that a newer request among them wins.
  const later = new MessageChannel();
  later.port1.onmessage = () => take();
  const copyIn = (buffers) => {
    const bytes = buffers.reduce((n, b) => n + b.byteLength, 0);
    const pointer = core.korv_alloc(bytes);
    let at = pointer;
    for (const b of buffers) {
      new Uint8Array(core.memory.buffer, at, b.byteLength).set(new Uint8Array(b.buffer ?? b, b.byteOffset ?? 0, b.byteLength));
      at += b.byteLength;
    }
    return pointer;
  };
  const show = (m, out) => {
    const pixels = new Uint8ClampedArray(core.memory.buffer.slice(out, out + m.width * m.height * 4));
    postMessage({ id: m.id, pixels, width: m.width, height: m.height }, [pixels.buffer]);
  };
  const merge = () => {
    const g = gathering;
    if (!g || !g.own || g.parts.length < g.m.lanes - 1) return;
    gathering = null;
    const m = g.m;
    const ops = copyIn([m.ops]);
    const all = copyIn([g.own, ...g.parts]);
    const out = core.korv_renderShares(ops, m.width, m.height, m.zoom, m.ratio, all, m.lanes);
    core.korv_free(all);
    core.korv_free(ops);
    show(m, out);
    if (asked) later.port2.postMessage(0);
  };
  const take = () => {
    const m = asked;
    // The shares under way come first, unless the lanes changed (a copy failed).
    if (!m || (gathering && gathering.m.lanes === m.lanes)) return;
    asked = null;
    gathering = null;
    const ops = copyIn([m.ops]);
    // A figure drawn straight is drawn here alone: its shares would each compute all of it.
    if (m.lane === 0 && m.lanes > 1 && !core.korv_sharesPay(ops, m.zoom)) m.lanes = 1;
    if (m.lanes <= 1) {
      const out = core.korv_renderOps(ops, m.width, m.height, m.zoom, m.ratio);
      core.korv_free(ops);
      show(m, out);
      return;
    }
    if (m.lane === 0) {
      gathering = { m, own: null, parts: [] };
      m.helpers.forEach((number, k) => lanes.get(number).postMessage({ ...m, ops: m.ops.slice(), lane: k + 1 }));
    }
    const words = core.korv_drawShare(ops, m.width, m.height, m.zoom, m.ratio, m.lane, m.lanes);
    core.korv_free(ops);
    const count = Number(new BigUint64Array(core.memory.buffer, words, 1)[0]);
    const share = core.memory.buffer.slice(words, words + count * 8);
    if (m.lane > 0) {
      toFirst.postMessage({ id: m.id, share }, [share]);
      return;
    }
    gathering.own = share;
    merge();
  };
  onmessage = async (event) => {
    const m = event.data;
    if (m.module || m.bytes) {
      const module = m.module || await WebAssembly.compile(m.bytes);
      const imports = {};
      for (const entry of WebAssembly.Module.imports(module))
        (imports[entry.module] ??= {})[entry.name] = () => 0;
      let sines = null;
      imports.korvelian.fusedSines = (input, output, n) => sines(input, output, n);
      core = (await WebAssembly.instantiate(module, imports)).exports;
      if (core._initialize) core._initialize();
      offerFusedSines(core, m.fused, (kernel) => { sines = kernel; });
      postMessage({ ready: true });
      return;
    }
    if (m.toFirst) {
      toFirst = m.toFirst;
      toFirst.onmessage = (event) => {
        asked = event.data;
        later.port2.postMessage(0);
      };
      return;
    }
    if (m.shares) {
      lanes.set(m.number, m.shares);
      m.shares.onmessage = (event) => {
        if (gathering && event.data.id === gathering.m.id) gathering.parts.push(event.data.share);
        merge();
      };
      return;
    }
    asked = { ...m, lane: 0 };
    later.port2.postMessage(0);
  };
}

// The copies to start: one for each of the machine's threads, as many as the desktop's raster
// shares a figure out over at most.
function workerCount() {
  return Math.max(1, Math.min(navigator.hardwareConcurrency || 1, page.core.x.korv_mostLanes()));
}

function requestFigure(ops, width, height, ratio) {
  page.rendering = ++page.renderId;
  // The first copy hands it to the others that have started.
  const helpers = page.helpers.filter((h) => h.ready).map((h) => h.number);
  page.worker.postMessage({ id: page.renderId, ops, width, height, zoom: page.zoom, ratio,
                            lanes: 1 + helpers.length, helpers }, [ops.buffer]);
}

function startWorker(packed, fused) {
  // Drawn on the page from now on.
  const onPage = () => {
    for (const helper of page.helpers) helper.worker.terminate();
    page.helpers = [];
    page.worker = null;
    page.workerStarts = false;
    page.rendering = 0;
    page.figureWaits = false;
    page.dirty |= Changed.Screen;
    requestFrame();
  };
  // The page's module as it was compiled, where the browser hands one to a worker; else the
  // worker compiles the bytes again.
  const load = (worker, fail) => {
    try {
      worker.postMessage({ module: page.core.module, fused });
    } catch {
      unpacked(packed).then((bytes) => worker.postMessage({ bytes, fused }), fail);
    }
  };
  const source = () => URL.createObjectURL(new Blob([`${offerFusedSines}\n(${drawWorker})()`],
                                                    { type: "text/javascript" }));
  let worker;
  try {
    worker = new Worker(source());
  } catch {
    onPage();
    return;
  }
  page.helpers = [];
  worker.onmessage = (event) => {
    const m = event.data;
    if (m.ready) {
      page.workerReady = true;
      if (page.figureWaits) {
        page.figureWaits = false;
        page.dirty |= Changed.Screen;
        requestFrame();
      }
      return;
    }
    if (m.id === page.renderId) page.rendering = 0;
    // The same rule as the desktop's drawing thread: newer than what shows, or not at all.
    if (!page.core.x.korv_offerDrawn(m.id)) return;
    showFigure(m.pixels, m.width, m.height, m.id);
  };
  worker.onerror = onPage;
  load(worker, onPage);
  page.worker = worker;
  page.workerStarts = false;
  // The others, each handing its shares to the first straight. One that cannot start or fails
  // leaves the figure to the rest: drawn again without it.
  for (let k = 1; k < workerCount(); ++k) {
    try {
      const helper = { worker: new Worker(source()), ready: false, number: k };
      const channel = new MessageChannel();
      const drop = () => {
        helper.worker.terminate();
        page.helpers = page.helpers.filter((h) => h !== helper);
        if (helper.ready && page.rendering) {
          page.dirty |= Changed.Screen;
          requestFrame();
        }
      };
      helper.worker.onmessage = (event) => { if (event.data.ready) helper.ready = true; };
      helper.worker.onerror = drop;
      worker.postMessage({ shares: channel.port1, number: k }, [channel.port1]);
      helper.worker.postMessage({ toFirst: channel.port2 }, [channel.port2]);
      load(helper.worker, drop);
      page.helpers.push(helper);
    } catch {
      break;
    }
  }
}
