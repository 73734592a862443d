// The page: the window's controls built from the core's layout table, their input handed to
// the core's form, and what the core changed put back on show at the display's next frame.
// Nothing here decides anything a control does.

const Kind = { Picture: 0, Frame: 1, Button: 2, CheckBox: 3, Label: 4, TextBox: 5, ScrollBar: 6, Line: 7 };
const FontRole = { None: 0, Caption: 1, Written: 2, Typed: 3, Default: 4 };
const Changed = { Screen: 1, Overlays: 2, SpeedBar: 4, Controls: 8 };

const page = {
  core: null,
  layout: null,
  zoom: 1,
  elements: new Map(),  // control name -> element
  boxes: [],            // text boxes by TextBox
  bars: [],             // scroll bars by ScrollBar
  dirty: Changed.Screen | Changed.Overlays | Changed.SpeedBar | Changed.Controls,
  framePending: false,
  state: null,
  firstFigure: 0,
  worker: null,       // draws the screen's figure beside the page
  workerReady: false,
  renderId: 0,
  rendering: 0,       // the drawing the worker is making, 0: none
};

// A German line above the window: what is missing, or why a link was not taken.
function notice(text) {
  const line = document.getElementById("notice");
  line.textContent = text;
  line.hidden = false;
}

// Twips to pixels at the zoom, rounded as the desktop rounds them (form/pixels.h).
function px(twips) {
  const exact = twips * page.zoom / page.layout.twipsPerPixel;
  return Math.trunc(exact + (exact < 0 ? -0.5 : 0.5));
}

function place(element, c) {
  element.style.left = `${px(c.left)}px`;
  element.style.top = `${px(c.top)}px`;
  element.style.width = `${px(c.width)}px`;
  element.style.height = `${Math.max(px(c.height), c.kind === Kind.Line ? 0 : 1)}px`;
  if (c.font === FontRole.Default) element.style.fontSize = `${12 * page.zoom}px`;
  else if (c.points > 0) element.style.fontSize = `${c.points * page.zoom}pt`;
}

function build() {
  const form = document.getElementById("form");
  for (const c of page.layout.controls) {
    const parent = c.parent ? page.elements.get(c.parent) : form;
    let element;
    switch (c.kind) {
      case Kind.Picture: element = buildPicture(c); break;
      case Kind.Frame: {
        element = document.createElement("div");
        element.className = "frame";
        element.setAttribute("role", "group");
        const legend = document.createElement("span");
        legend.className = "legend";
        legend.textContent = c.caption;
        element.append(legend);
        break;
      }
      case Kind.Button:
        element = document.createElement("button");
        element.type = "button";
        element.textContent = c.caption;
        if (c.font === FontRole.Default) element.classList.add("small");
        if (c.click !== null) element.addEventListener("click", () => page.core.call("korv_event", c.click));
        break;
      case Kind.CheckBox: {
        element = document.createElement("label");
        element.className = "check";
        const box = document.createElement("input");
        box.type = "checkbox";
        box.addEventListener("change", () => page.core.call("korv_setCheck", box.checked ? 1 : 0));
        element.append(box, document.createTextNode(c.caption));
        element.input = box;
        page.check = box;
        break;
      }
      case Kind.Label:
        element = document.createElement("div");
        element.className = "label";
        element.textContent = c.caption;
        break;
      case Kind.TextBox: {
        element = document.createElement("input");
        element.type = "text";
        element.value = c.caption;
        element.spellcheck = false;
        element.autocomplete = "off";
        if (c.lightYellow) element.classList.add("written");
        if (c.change !== null) {
          element.addEventListener("input", () => typed(c.textBox, element.value));
          // Numerator and denominator offer the usual ratios.
          if (c.textBox <= 1) {
            element.addEventListener("contextmenu", (e) => { e.preventDefault(); showRatioMenu(e.clientX, e.clientY); });
          }
        } else {
          // What the program writes is read, not typed into.
          element.readOnly = true;
        }
        page.boxes[c.textBox] = element;
        break;
      }
      case Kind.ScrollBar: element = buildBar(c); break;
      case Kind.Line:
        element = document.createElement("div");
        element.className = "line";
        element.setAttribute("role", "separator");
        break;
    }
    element.id = c.name;
    element.dataset.name = c.name;
    if (c.accessibleName && c.kind !== Kind.Label && c.kind !== Kind.Frame)
      element.setAttribute("aria-label", c.accessibleName);
    else if (c.kind === Kind.Frame) element.setAttribute("aria-label", c.accessibleName);
    const focusable = element.input || element;
    focusable.tabIndex = c.tab >= 0 ? c.tab + 1 : -1;
    if (c.mouseMove !== null) {
      element.addEventListener("mousemove", (e) => {
        // Only over the control itself, not over a control inside a frame.
        if (e.target.closest("[data-name]") === element) page.core.call("korv_event", c.mouseMove);
      });
    }
    element.layout = c;
    parent.append(element);
    page.elements.set(c.name, element);
  }
}

function typed(box, text) {
  const bytes = page.core.encoder.encode(text);
  // Kept until the call has ended for good: a waiting call reads it when resumed.
  const pointer = page.core.x.korv_alloc(bytes.length + 1);
  page.core.bytes.set(bytes, pointer);
  page.core.callThen(() => page.core.x.korv_free(pointer), "korv_setText", box, pointer, bytes.length);
}

function buildPicture(c) {
  const element = document.createElement("div");
  element.className = "picture";
  if (c.picture === 0) {
    // Beneath the drawing (ground, graticule), the drawing, what is read over it (reading aid,
    // values), the overlays: each repainted only when it changes.
    const [underlay, figure, readings, overlays] = [0, 1, 2, 3].map(() => document.createElement("canvas"));
    for (const canvas of [underlay, figure, readings, overlays]) {
      canvas.style.position = "absolute";
      canvas.style.left = "0";
      canvas.style.top = "0";
    }
    element.setAttribute("role", "img");
    element.append(underlay, figure, readings, overlays);
    element.addEventListener("contextmenu", (e) => { e.preventDefault(); showMenu(e.clientX, e.clientY); });
    element.addEventListener("keydown", (e) => {
      if (e.key === "ContextMenu" || (e.key === "F10" && e.shiftKey)) {
        e.preventDefault();
        const box = element.getBoundingClientRect();
        showMenu(box.left + box.width / 2, box.top + box.height / 2);
      }
    });
    page.screen = { element, underlay, figure, readings, overlays };
  } else {
    const canvas = document.createElement("canvas");
    element.setAttribute("role", "img");
    element.append(canvas);
    page.speed = { element, canvas };
  }
  return element;
}

// A horizontal scroll bar: arrows at both ends, a track and a thumb. Clicks and keys set the
// value (the Change event); a drag reports the thumb (Scroll) and the value at the release.
function buildBar(c) {
  const element = document.createElement("div");
  element.className = "bar";
  element.setAttribute("role", "scrollbar");
  element.setAttribute("aria-orientation", "horizontal");
  element.setAttribute("aria-valuemin", "0");
  element.setAttribute("aria-valuemax", String(c.maximum));
  const left = document.createElement("div");
  left.className = "arrow";
  left.textContent = "◀";
  const right = document.createElement("div");
  right.className = "arrow";
  right.textContent = "▶";
  const thumb = document.createElement("div");
  thumb.className = "thumb";
  element.append(left, thumb, right);
  const bar = { element, left, right, thumb, layout: c, value: c.value, dragging: false };
  page.bars[c.scrollBar] = bar;
  const set = (value) => {
    value = Math.max(0, Math.min(c.maximum, value));
    if (value !== bar.value) page.core.call("korv_setValue", c.scrollBar, value);
  };
  const repeat = (step) => {
    set(bar.value + step);
    let timer = setTimeout(function again() { set(bar.value + step); timer = setTimeout(again, 50); }, 400);
    const stop = () => { clearTimeout(timer); window.removeEventListener("pointerup", stop); };
    window.addEventListener("pointerup", stop);
  };
  left.addEventListener("pointerdown", (e) => { e.preventDefault(); element.focus(); repeat(-1); });
  right.addEventListener("pointerdown", (e) => { e.preventDefault(); element.focus(); repeat(1); });
  element.addEventListener("pointerdown", (e) => {
    if (e.target !== element) return;
    e.preventDefault();
    element.focus();
    const thumbLeft = thumb.getBoundingClientRect().left;
    repeat(e.clientX < thumbLeft ? -1 : 1);
  });
  thumb.addEventListener("pointerdown", (e) => {
    e.preventDefault();
    element.focus();
    thumb.setPointerCapture(e.pointerId);
    bar.dragging = true;
    bar.grab = e.clientX - thumb.getBoundingClientRect().left;
    page.core.call("korv_beginDrag", c.scrollBar);
  });
  thumb.addEventListener("pointermove", (e) => {
    if (!bar.dragging) return;
    const track = barTrack(bar);
    const x = e.clientX - element.getBoundingClientRect().left - bar.grab - track.start;
    const value = Math.round(Math.max(0, Math.min(1, x / Math.max(1, track.length))) * c.maximum);
    bar.dragValue = value;
    showBar(bar, value);
    page.core.call("korv_drag", c.scrollBar, value);
  });
  const release = () => {
    if (!bar.dragging) return;
    bar.dragging = false;
    page.core.call("korv_endDrag", c.scrollBar);
  };
  thumb.addEventListener("pointerup", release);
  thumb.addEventListener("pointercancel", release);
  element.addEventListener("contextmenu", (e) => { e.preventDefault(); showBarMenu(c.scrollBar, e.clientX, e.clientY); });
  element.addEventListener("keydown", (e) => {
    if (e.key === "ContextMenu" || (e.key === "F10" && e.shiftKey)) {
      const box = element.getBoundingClientRect();
      showBarMenu(c.scrollBar, box.left, box.bottom);
      e.preventDefault();
      return;
    }
    const step = { ArrowLeft: -1, ArrowDown: -1, ArrowRight: 1, ArrowUp: 1, PageUp: -1, PageDown: 1 }[e.key];
    if (step !== undefined) set(bar.value + step);
    else if (e.key === "Home") set(0);
    else if (e.key === "End") set(c.maximum);
    else return;
    e.preventDefault();
  });
  return element;
}

function barTrack(bar) {
  const width = bar.element.clientWidth, height = bar.element.clientHeight;
  const arrow = Math.min(height, width / 3);
  const thumb = Math.max(8, Math.min(height, width - 2 * arrow));
  return { arrow, thumb, start: arrow, length: width - 2 * arrow - thumb };
}

function showBar(bar, value) {
  const track = barTrack(bar);
  bar.left.style.left = "0";
  bar.left.style.width = `${track.arrow}px`;
  bar.right.style.right = "0";
  bar.right.style.width = `${track.arrow}px`;
  bar.thumb.style.width = `${track.thumb}px`;
  bar.thumb.style.left = `${track.start + track.length * value / Math.max(1, bar.layout.maximum)}px`;
  bar.element.setAttribute("aria-valuenow", String(value));
}

// The whole window scaled to fit the page, as the desktop's zoom scales it.
function fit() {
  const width = page.layout.clientWidth / page.layout.twipsPerPixel;
  const height = page.layout.clientHeight / page.layout.twipsPerPixel;
  page.zoom = Math.min(window.innerWidth / width, window.innerHeight / height);
  const form = document.getElementById("form");
  form.style.width = `${px(page.layout.clientWidth)}px`;
  form.style.height = `${px(page.layout.clientHeight)}px`;
  // What the window's shape leaves over is shared out on both sides.
  form.style.left = `${Math.max(0, Math.floor((window.innerWidth - px(page.layout.clientWidth)) / 2))}px`;
  form.style.top = `${Math.max(0, Math.floor((window.innerHeight - px(page.layout.clientHeight)) / 2))}px`;
  for (const element of page.elements.values()) place(element, element.layout);
  for (const bar of page.bars) showBar(bar, bar.value);
  page.dirty |= Changed.Screen | Changed.Overlays | Changed.SpeedBar;
  requestFrame();
}

function requestFrame() {
  if (!page.framePending) {
    page.framePending = true;
    requestAnimationFrame(frame);
  }
}

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

function paintScene(canvas, size, items) {
  const ctx = canvas.getContext("2d");
  ctx.setTransform(1, 0, 0, 1, 0, 0);
  ctx.clearRect(0, 0, canvas.width, canvas.height);
  ctx.setTransform(size.ratio, 0, 0, size.ratio, 0, 0);
  Painter.paint(ctx, items, page.core);
}

function frame() {
  page.framePending = false;
  const core = page.core;
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
    if (page.worker && page.workerReady) {
      // Drawn beside the page: input and the beam go on while a large figure is made.
      const pointer = core.x.korv_screenOps();
      const head = new Float64Array(core.x.memory.buffer, pointer, 1);
      const ops = new Float64Array(core.x.memory.buffer.slice(pointer, pointer + (2 + head[0] * 17) * 8));
      page.rendering = ++page.renderId;
      page.worker.postMessage({ id: page.renderId, ops, width: figure.width, height: figure.height,
                                zoom: page.zoom, ratio: size.ratio }, [ops.buffer]);
    } else {
      const pointer = core.x.korv_renderScreen(figure.width, figure.height, page.zoom, size.ratio);
      const pixels = new Uint8ClampedArray(core.x.memory.buffer, pointer, figure.width * figure.height * 4);
      showFigure(new Uint8ClampedArray(pixels), figure.width, figure.height);
    }
  }
  if (dirty & (Changed.Overlays | Changed.Screen)) {
    const { overlays, element } = page.screen;
    const size = canvasSize(overlays, element);
    paintScene(overlays, size, core.json(core.x.korv_overlays(size.width, size.height, page.zoom)));
  }
  if (dirty & (Changed.Screen | Changed.Overlays)) paintTimeSignals(dirty);
  if (dirty & Changed.SpeedBar) {
    const { canvas, element } = page.speed;
    const size = canvasSize(canvas, element);
    paintScene(canvas, size, core.json(core.x.korv_speedBar(size.width, size.height)));
  }
}

// A context menu of entries {caption, checked (undefined: no tick), run} and separators (null),
// at a place of the page; its words come from the core.
function popup(x, y, entries, label) {
  const menu = document.getElementById("menu");
  if (menu.hidden) page.menuOpener = document.activeElement;
  menu.replaceChildren();
  menu.setAttribute("aria-label", label);
  for (const entry of entries) {
    const item = document.createElement("div");
    if (entry === null) {
      item.className = "separator";
      item.setAttribute("role", "separator");
    } else if (!entry.run) {
      item.className = "heading";
      item.textContent = entry.caption;
    } else {
      item.setAttribute("role", entry.checked === undefined ? "menuitem" : "menuitemcheckbox");
      if (entry.checked !== undefined) item.setAttribute("aria-checked", String(entry.checked));
      item.tabIndex = -1;
      item.textContent = entry.caption;
      item.addEventListener("click", () => { hideMenu(); entry.run(); });
    }
    menu.append(item);
  }
  menu.hidden = false;
  menu.style.left = `${Math.max(0, Math.min(x, window.innerWidth - menu.offsetWidth))}px`;
  menu.style.top = `${Math.max(0, Math.min(y, window.innerHeight - menu.offsetHeight))}px`;
  menu.querySelector("[tabindex]").focus();
}

// "Zeitverläufe": x(t) above y(t) over a period of the figure, in a panel beside the window
// where the page has room for it and over its right side where not; the signals are painted
// again with the figure, the beam's cursor with every frame.
function paintTimeSignals(dirty) {
  const core = page.core;
  const panel = document.getElementById("timeSignals");
  const on = core.json(core.x.korv_views()).find((v) => v.timeSignals)?.on;
  panel.hidden = !on;
  if (!on) return;
  const form = document.getElementById("form").getBoundingClientRect();
  const width = Math.round(Math.min(page.layout.timeSignalsWidth * page.zoom, window.innerWidth * 0.6));
  panel.style.width = `${width}px`;
  panel.style.height = `${Math.round(form.height)}px`;
  panel.style.top = `${Math.round(form.top)}px`;
  panel.style.left = `${Math.round(Math.min(form.right, window.innerWidth - width))}px`;
  const [signals, cursor] = panel.querySelectorAll("canvas");
  const element = { clientWidth: width, clientHeight: Math.round(form.height), layout: {} };
  const size = canvasSize(signals, element);
  if (dirty & Changed.Screen || panel.dataset.width !== String(width)) {
    panel.dataset.width = String(width);
    paintScene(signals, size, core.json(core.x.korv_timeSignals(size.width, size.height, page.zoom, size.ratio, 0)));
  }
  paintScene(cursor, canvasSize(cursor, element),
             core.json(core.x.korv_timeSignals(size.width, size.height, page.zoom, size.ratio, 1)));
}

// The screen's context menu: its views, each ticked where it is on, and the way back to the
// start.
function showMenu(x, y) {
  const core = page.core;
  const words = core.json(core.x.korv_menuWords());
  const entries = core.json(core.x.korv_views()).map((view, index) =>
    ({ caption: view.caption, checked: view.on, run: () => {
      core.x.korv_setView(index, view.on ? 0 : 1);
      rememberViews();
    } }));
  entries.push(null, { caption: words.savePng, run: () => savePicture() },
               { caption: words.print, run: () => printPicture() });
  entries.push(null, { caption: words.sound, checked: core.x.korv_soundOn() === 1, run: () => toggleSound(words) });
  entries.push(null, { caption: words.copyLink, run: () => copyLink(words) });
  entries.push(null, { caption: words.reset, run: () => core.call("korv_reset") });
  entries.push(null, { caption: words.fullScreen, checked: !!document.fullscreenElement, run: toggleFullScreen },
               { caption: words.help, run: showHelp });
  popup(x, y, entries, "Bildschirm");
}

// "Ton": the core's stereo tone (x left, y right) through Web Audio. The page's audio is made
// at the first choice of it, a user's gesture, as browsers require; the core's oscillators run
// on from frame to frame, so the tone is continuous however the browser asks for it.
const sound = { context: null, node: null };

function toneInto(left, right) {
  const count = left.length;
  const pointer = page.core.x.korv_renderTone(count);
  const frames = new Int16Array(page.core.x.memory.buffer, pointer, 2 * count);
  for (let k = 0; k < count; ++k) {
    left[k] = frames[2 * k] / 32768;
    right[k] = frames[2 * k + 1] / 32768;
  }
}

function audioContextClass() {
  return window.AudioContext || window.webkitAudioContext || null;
}

function startAudio() {
  const Context = audioContextClass();
  if (!Context) return false;
  if (!sound.context) {
    sound.context = new Context();
    page.core.x.korv_soundStart(sound.context.sampleRate);
    // A script processor runs in every browser with Web Audio, also from a file, where an audio
    // worklet could not share the core.
    sound.node = sound.context.createScriptProcessor(2048, 0, 2);
    sound.node.onaudioprocess = (e) => toneInto(e.outputBuffer.getChannelData(0), e.outputBuffer.getChannelData(1));
    sound.node.connect(sound.context.destination);
  }
  sound.context.resume().catch(() => {});
  return true;
}

function toggleSound(words) {
  const on = page.core.x.korv_soundOn() === 1;
  if (!on && !startAudio()) {
    notice(words.noWebAudio);
    return;
  }
  page.core.call("korv_setSound", on ? 0 : 1);
}

// The desktop's help text, its numbers put in by the core; the examples the desktop draws
// into it are left out.
function showHelp() {
  const core = page.core;
  const dialog = document.getElementById("help");
  const words = core.json(core.x.korv_menuWords());
  dialog.querySelector(".title span").textContent = words.helpTitle;
  dialog.setAttribute("aria-label", words.helpTitle);
  const written = document.getElementById("helpText").innerHTML;
  const fits = Math.floor(page.zoom * 100);
  const text = document.createElement("template");
  text.innerHTML = core.string(withText(written, (p, n) => core.x.korv_helpText(p, n, fits)));
  for (const image of text.content.querySelectorAll("img")) image.remove();
  dialog.querySelector(".text").replaceChildren(text.content);
  if (!dialog.open) dialog.show();
  dialog.querySelector(".text").focus();
}

// The whole page on the whole screen, and back: the window's zoom follows.
function toggleFullScreen() {
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  else if (document.documentElement.requestFullscreen)
    document.documentElement.requestFullscreen().catch(() => {});
}

function buildHelpAndFullScreen() {
  const words = page.core.json(page.core.x.korv_menuWords());
  const help = document.getElementById("help");
  help.querySelector(".close").addEventListener("click", () => help.close());
  help.querySelector(".text").tabIndex = -1;
  help.addEventListener("keydown", (e) => { if (e.key === "Escape") { e.preventDefault(); help.close(); } });
  const button = document.getElementById("fullScreen");
  button.textContent = "⛶";
  button.title = words.fullScreen + " (F11)";
  button.setAttribute("aria-label", words.fullScreen);
  button.addEventListener("click", toggleFullScreen);
  const shown = () => button.setAttribute("aria-pressed", String(!!document.fullscreenElement));
  document.addEventListener("fullscreenchange", shown);
  shown();
  document.addEventListener("keydown", (e) => {
    if (e.key === "F1") { e.preventDefault(); showHelp(); }
    else if (e.key === "F11") { e.preventDefault(); toggleFullScreen(); }
  });
}

// A text handed to a call of the core that reads it and keeps nothing of it.
function withText(text, call) {
  const core = page.core;
  const bytes = core.encoder.encode(text);
  const pointer = core.x.korv_alloc(bytes.length + 1);
  core.bytes.set(bytes, pointer);
  try {
    return call(pointer, bytes.length);
  } finally {
    core.x.korv_free(pointer);
  }
}

// The screen's picture as the desktop saves it, at 100 % (the width at which a line is one
// pixel): what lies beneath, the figure from the core's raster, what is read over it.
function savedPicture(worksheet, ending = "png") {
  const core = page.core;
  const width = Math.round(page.layout.screenSide);
  const size = core.json(withText(ending, (p, n) => core.x.korv_savedSize(width, p, n)));
  const canvas = document.createElement("canvas");
  canvas.width = size.width;
  canvas.height = size.height;
  const ctx = canvas.getContext("2d");
  Painter.paint(ctx, core.json(core.x.korv_savedUnder(size.width, size.height, worksheet ? 1 : 0)), core);
  const pointer = core.x.korv_savedFigure(size.width, size.pictureHeight, worksheet ? 1 : 0);
  const pixels = new Uint8ClampedArray(core.x.memory.buffer.slice(pointer, pointer + size.width * size.pictureHeight * 4));
  const figure = document.createElement("canvas");
  figure.width = size.width;
  figure.height = size.pictureHeight;
  figure.getContext("2d").putImageData(new ImageData(pixels, size.width, size.pictureHeight), 0, 0);
  ctx.drawImage(figure, 0, 0);
  Painter.paint(ctx, core.json(core.x.korv_savedOver(size.width, size.height, worksheet ? 1 : 0)), core);
  return { canvas, name: size.name };
}

// A download: the browser asks where to, or puts it into its folder of downloads.
function download(blob, name) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

function savePicture() {
  const { canvas, name } = savedPicture(false);
  canvas.toBlob((blob) => download(blob, name), "image/png");
}

// The browser's print of the picture in worksheet colours: a black figure on white.
function printPicture() {
  const { canvas } = savedPicture(true);
  // Made at the first print only: until then the page holds no image.
  let image = document.getElementById("print");
  if (!image) {
    image = document.createElement("img");
    image.id = "print";
    image.alt = "Korvelian-Figur";
    document.body.append(image);
  }
  image.src = canvas.toDataURL("image/png");
  image.decode().catch(() => {}).then(() => window.print());
}

// The current setting as a link: in the address line (without reloading) and on the clipboard.
async function copyLink(words) {
  const fragment = page.core.json(page.core.x.korv_link()).fragment;
  history.replaceState(null, "", fragment ? "#" + fragment : location.pathname + location.search);
  const link = location.href;
  try {
    await navigator.clipboard.writeText(link);
    notice(words.linkCopied + link);
  } catch {
    notice(words.linkNotCopied + link);
  }
}

// The screen's views are remembered in the browser for the next visit; where it keeps
// nothing, a German line says so once and the rest works as before.
const kViewsKey = "korvelian.views";
function storage() {
  try {
    const store = window.localStorage;
    store.getItem(kViewsKey);
    return store;
  } catch {
    return null;
  }
}

function rememberViews() {
  const store = storage();
  const views = page.core.json(page.core.x.korv_views()).map((view) => view.on);
  try {
    if (store) store.setItem(kViewsKey, JSON.stringify(views));
  } catch {
    // A full or blocked store: the view holds until the page is closed.
  }
}

function restoreViews() {
  const store = storage();
  if (!store) {
    notice(page.core.json(page.core.x.korv_menuWords()).storageBlocked);
    return;
  }
  let views = null;
  try {
    views = JSON.parse(store.getItem(kViewsKey));
  } catch {
    return;
  }
  if (!Array.isArray(views)) return;
  const count = page.core.json(page.core.x.korv_views()).length;
  // Only true or false of each view is read; anything else in the store is ignored.
  views.slice(0, count).forEach((on, index) => {
    if (on === true || on === false) page.core.x.korv_setView(index, on ? 1 : 0);
  });
}

// A bar's menu: its presets and the entry of a value.
function showBarMenu(bar, x, y) {
  const core = page.core;
  const menu = core.json(core.x.korv_barMenu(bar));
  const entries = menu.presets.map((preset) =>
    ({ caption: preset.caption, run: () => core.call("korv_setValue", bar, preset.value) }));
  entries.push(null, { caption: menu.entry, run: () => enterValue(bar, menu) });
  popup(x, y, entries, page.layout.controls.find((c) => c.scrollBar === bar).accessibleName);
}

// A numerator's or denominator's menu: the usual ratios, typed into both boxes.
function showRatioMenu(x, y) {
  const core = page.core;
  const menu = core.json(core.x.korv_ratioMenu());
  const entries = [{ caption: menu.caption }];
  for (const ratio of menu.ratios) {
    entries.push({ caption: ratio.caption, run: () => {
      typed(0, String(ratio.numerator));
      typed(1, String(ratio.denominator));
    } });
  }
  popup(x, y, entries, menu.caption);
}

// "Wert eingeben…": the text checked by the core at every keystroke, OK sets the bar as a
// click on it does.
function enterValue(bar, menu) {
  const dialog = document.getElementById("valueEntry");
  const field = dialog.querySelector("input");
  const message = dialog.querySelector(".message");
  const ok = dialog.querySelector("button[value=ok]");
  dialog.querySelector(".title").textContent = menu.title;
  dialog.querySelector("label span").textContent = menu.prompt;
  let value = null;
  const check = () => {
    const core = page.core;
    const bytes = core.encoder.encode(field.value);
    const pointer = core.x.korv_alloc(bytes.length + 1);
    core.bytes.set(bytes, pointer);
    const answer = core.json(core.x.korv_typedValue(bar, pointer, bytes.length));
    core.x.korv_free(pointer);
    value = answer.value;
    message.textContent = answer.message;
    ok.disabled = value === null;
  };
  field.value = menu.start;
  field.oninput = check;
  check();
  dialog.onclose = () => {
    if (dialog.returnValue === "ok" && value !== null) page.core.call("korv_setValue", bar, value);
    page.bars[bar].element.focus();
  };
  dialog.returnValue = "";
  dialog.showModal();
  field.select();
}

// A finger held still for half a second opens the menu a right click opens, where a browser
// (a tablet's) gives no context menu of its own for it.
function buildLongPress() {
  let timer = 0, start = null;
  const cancel = () => { clearTimeout(timer); timer = 0; };
  document.addEventListener("pointerdown", (e) => {
    if (e.pointerType === "mouse" || !e.isPrimary) return;
    cancel();
    start = { x: e.clientX, y: e.clientY, target: e.target };
    timer = setTimeout(() => {
      timer = 0;
      page.longPressed = performance.now();
      start.target.dispatchEvent(new MouseEvent("contextmenu", { bubbles: true, cancelable: true,
                                                                 clientX: start.x, clientY: start.y }));
    }, 500);
  }, true);
  document.addEventListener("pointermove", (e) => {
    if (timer && Math.hypot(e.clientX - start.x, e.clientY - start.y) > 10) cancel();
  }, true);
  for (const type of ["pointerup", "pointercancel"]) document.addEventListener(type, cancel, true);
  // The browser's own menu after a long press would come second, and the finger's lifting
  // would click the entry beneath it: the page's menu is open already.
  const afterLongPress = (e) => {
    if (e.isTrusted && page.longPressed && performance.now() - page.longPressed < 1000) {
      e.preventDefault();
      e.stopPropagation();
      if (e.type === "click") page.longPressed = 0;
    }
  };
  document.addEventListener("contextmenu", afterLongPress, true);
  document.addEventListener("click", afterLongPress, true);
}

function hideMenu() {
  document.getElementById("menu").hidden = true;
}

function buildMenu() {
  const menu = document.getElementById("menu");
  menu.addEventListener("keydown", (e) => {
    const items = [...menu.querySelectorAll("[tabindex]")];
    const at = items.indexOf(document.activeElement);
    if (e.key === "ArrowDown") items[(at + 1) % items.length].focus();
    else if (e.key === "ArrowUp") items[(at + items.length - 1) % items.length].focus();
    else if (e.key === "Enter" || e.key === " ") document.activeElement.click();
    else if (e.key === "Escape" || e.key === "Tab") { hideMenu(); (page.menuOpener || page.screen.element).focus(); }
    else return;
    e.preventDefault();
  });
  document.addEventListener("pointerdown", (e) => { if (!menu.contains(e.target)) hideMenu(); });
  window.addEventListener("blur", hideMenu);
}

function showFigure(pixels, width, height) {
  const figure = page.screen.figure;
  if (figure.width !== width || figure.height !== height) return;
  figure.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
  if (!page.firstFigure) page.firstFigure = performance.now();
}

// A second copy of the core, on a thread of its own, that makes the screen's drawing into
// pixels. Where the browser starts no worker from the page, the page draws them itself.
function drawWorker() {
  let core = null;
  onmessage = async (event) => {
    const m = event.data;
    if (m.bytes) {
      const module = await WebAssembly.compile(m.bytes);
      const imports = {};
      for (const entry of WebAssembly.Module.imports(module))
        (imports[entry.module] ??= {})[entry.name] = () => 0;
      core = (await WebAssembly.instantiate(module, imports)).exports;
      if (core._initialize) core._initialize();
      postMessage({ ready: true });
      return;
    }
    const pointer = core.korv_alloc(m.ops.byteLength);
    new Float64Array(core.memory.buffer, pointer, m.ops.length).set(m.ops);
    const out = core.korv_renderOps(pointer, m.width, m.height, m.zoom, m.ratio);
    core.korv_free(pointer);
    const pixels = new Uint8ClampedArray(core.memory.buffer.slice(out, out + m.width * m.height * 4));
    postMessage({ id: m.id, pixels, width: m.width, height: m.height }, [pixels.buffer]);
  };
}

function startWorker(bytes) {
  try {
    const source = URL.createObjectURL(new Blob([`(${drawWorker})()`], { type: "text/javascript" }));
    const worker = new Worker(source);
    worker.onmessage = (event) => {
      const m = event.data;
      if (m.ready) { page.workerReady = true; return; }
      if (m.id === page.renderId) page.rendering = 0;
      // The same rule as the desktop's drawing thread: newer than what shows, or not at all.
      if (!page.core.x.korv_offerDrawn(m.id)) return;
      showFigure(m.pixels, m.width, m.height);
    };
    worker.onerror = () => {
      // Drawn on the page from now on.
      page.worker = null;
      page.rendering = 0;
      page.dirty |= Changed.Screen;
      requestFrame();
    };
    worker.postMessage({ bytes });
    page.worker = worker;
  } catch {
    page.worker = null;
  }
}

function syncControls() {
  const state = page.core.json(page.core.x.korv_state());
  page.state = state;
  state.texts.forEach((text, box) => {
    const input = page.boxes[box];
    if (!input) return;
    if (input.value !== text) input.value = text;
    input.classList.toggle("refused", !state.inUse[box]);
  });
  state.values.forEach((value, index) => {
    const bar = page.bars[index];
    bar.value = value;
    if (!bar.dragging) showBar(bar, value);
  });
  page.check.checked = state.check === 1;
}

const host = {
  changed(what) { page.dirty |= what; requestFrame(); },
  settled() { requestFrame(); },
  ended() {
    document.getElementById("ended").hidden = false;
    for (const element of page.elements.values()) element.inert = true;
  },
  message(prompt, title, closed) {
    const dialog = document.getElementById("message");
    dialog.querySelector(".title").textContent = title;
    dialog.querySelector(".prompt").textContent = prompt;
    dialog.addEventListener("close", closed, { once: true });
    dialog.showModal();
    // The controls show what the handler set before it asked.
    page.dirty |= Changed.Controls;
    requestFrame();
  },
};

async function main() {
  if (typeof WebAssembly !== "object") {
    notice("Dieser Browser kann kein WebAssembly ausführen; ohne es läuft die Simulation nicht.");
    return;
  }
  const text = document.getElementById("core").textContent.trim();
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let k = 0; k < binary.length; ++k) bytes[k] = binary.charCodeAt(k);
  try {
    page.core = await Core.load(bytes, host);
  } catch (error) {
    notice("Dieser Browser kann das Programm nicht laden (WebAssembly mit SIMD fehlt): " + error.message);
    return;
  }
  page.layout = page.core.json(page.core.x.korv_layout());
  startWorker(bytes);
  build();
  buildMenu();
  buildHelpAndFullScreen();
  buildLongPress();
  // Over the window where the page is narrow: its menu is the screen's, as on the desktop the
  // window's keys work in the time signals' window too.
  document.getElementById("timeSignals").addEventListener("contextmenu", (e) => {
    e.preventDefault();
    showMenu(e.clientX, e.clientY);
  });
  page.toneInto = toneInto;
  page.sound = sound;
  if (!audioContextClass()) notice(page.core.json(page.core.x.korv_menuWords()).noWebAudio);
  fit();
  window.addEventListener("resize", fit);
  page.core.call("korv_start");
  restoreViews();
  window.korvelian = page;
  // A link carries a setting in its fragment, with the command line's names.
  const fragment = location.hash.slice(1);
  if (fragment) {
    const bytes = page.core.encoder.encode(fragment);
    const pointer = page.core.x.korv_alloc(bytes.length + 1);
    page.core.bytes.set(bytes, pointer);
    const answer = page.core.json(page.core.x.korv_applyLink(pointer, bytes.length));
    page.core.x.korv_free(pointer);
    if (answer.fault) notice("Link nicht übernommen: " + answer.fault);
  }
  // Another link of a lesson's list opens its own picture from the start.
  window.addEventListener("hashchange", () => location.reload());
}

main();
