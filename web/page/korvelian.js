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
  worker: null,       // draws the screen's figure beside the page, with the helpers' shares
  workerReady: false,
  helpers: [],        // further copies drawing shares of it: { worker, ready }
  shown: { id: 0, at: 0 },  // the drawing on show: its request, 0 from the page, and since when
  renderId: 0,
  rendering: 0,       // the drawing the worker is making, 0: none
  worksheet: false,   // "Arbeitsblatt-Farben": copies, downloads and the plate black on white
};

// A German line above the window: what is missing, or why a link was not taken.
function notice(text) {
  const line = document.getElementById("notice");
  line.textContent = text;
  line.hidden = false;
}

// The time signals are the fifth of the views in the menu's list.
function toggleTimeSignals() {
  page.core.x.korv_setView(4, page.core.json(page.core.x.korv_views())[4].on ? 0 : 1);
  rememberViews();
}

// "Schließen" hides the line until something else is to be said: it covers the top of the page.
document.getElementById("noticeClose").addEventListener("click", () => {
  document.getElementById("notice").hidden = true;
});

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
  // The tick's box grows with the window, as the desktop's (14 px at 100 %): the browser's
  // own stays 13 px on a projector's or a tablet's page, too small for a finger to stop the beam.
  if (c.kind === Kind.CheckBox) element.input.style.width = element.input.style.height = `${Math.round(14 * page.zoom)}px`;
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

// The whole window scaled to fit the page, as the desktop's zoom scales it.
function fit() {
  const width = page.layout.clientWidth / page.layout.twipsPerPixel;
  const height = page.layout.clientHeight / page.layout.twipsPerPixel;
  page.zoom = page.presenting ? presentingZoom(width, height) : Math.min(window.innerWidth / width, window.innerHeight / height);
  const form = document.getElementById("form");
  form.style.width = `${px(page.layout.clientWidth)}px`;
  form.style.height = `${px(page.layout.clientHeight)}px`;
  // What the window's shape leaves over is shared out on both sides.
  form.style.left = `${Math.max(0, Math.floor((window.innerWidth - px(page.layout.clientWidth)) / 2))}px`;
  form.style.top = `${Math.max(0, Math.floor((window.innerHeight - px(page.layout.clientHeight)) / 2))}px`;
  if (page.presenting) fitPresenting(form);
  for (const element of page.elements.values()) place(element, element.layout);
  placeFullScreen(form);
  // Every bar measured before any is moved: one layout, not one a bar.
  const tracks = page.bars.map(barTrack);
  page.bars.forEach((bar, k) => showBar(bar, bar.value, tracks[k]));
  page.dirty |= Changed.Screen | Changed.Overlays | Changed.SpeedBar;
  requestFrame();
}

// The full-screen button in the page's top right corner where the form leaves it free; where it
// does not (a 4 : 3 display), in the form's free place between the speed row and the screen,
// so that it never covers the screen's picture.
function placeFullScreen(form) {
  const button = document.getElementById("fullScreen");
  const size = 44;
  const box = form.getBoundingClientRect();
  let [left, top] = [window.innerWidth - size, 0];
  if (window.innerWidth - box.right < size && box.top < size && page.speed && page.screen) {
    const speed = page.speed.element.getBoundingClientRect();
    const screen = page.screen.element.getBoundingClientRect();
    // The speed row's middle: its arrows stand above the bar, the row 186 / 132 of the bar high.
    const middle = speed.bottom - speed.height * 186 / 132;
    if (screen.left - speed.right >= size) [left, top] = [(speed.right + screen.left - size) / 2, middle - size / 2];
  }
  button.style.left = `${Math.round(left)}px`;
  button.style.top = `${Math.round(top)}px`;
}

function requestFrame() {
  if (!page.framePending) {
    page.framePending = true;
    requestAnimationFrame(frame);
  }
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

// The whole page on the whole screen, and back: the window's zoom follows. Where the browser
// has no full screen for a page (a phone's Safari) or refuses it, a German line says so.
function toggleFullScreen() {
  const refused = () => notice(page.core.json(page.core.x.korv_menuWords()).noFullScreen);
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  else if (document.documentElement.requestFullscreen && document.fullscreenEnabled !== false)
    document.documentElement.requestFullscreen().catch(refused);
  else refused();
}

function buildHelpAndFullScreen() {
  // While a modal box asks (the information, "Wert eingeben…"), the window's own keys (F1, F5,
  // F11, Escape ending a presentation, the lesson's steps) do nothing, as the desktop's window
  // takes none then; the box's own keys (typing, Enter, Escape) still work.
  window.addEventListener("keydown", (e) => {
    if (!document.querySelector("#message[open], #valueEntry[open]")) return;
    if (["F1", "F5", "F11"].includes(e.key)) e.preventDefault();
    e.stopImmediatePropagation();
  }, true);
  const words = page.core.json(page.core.x.korv_menuWords());
  const help = document.getElementById("help");
  help.querySelector(".close").addEventListener("click", () => help.close());
  help.querySelector(".text").tabIndex = -1;
  help.addEventListener("keydown", (e) => { if (e.key === "Escape") { e.preventDefault(); help.close(); } });
  const button = document.getElementById("fullScreen");
  // Four corners drawn, not a character: the sign for full screen is missing from many fonts.
  const svg = document.createElementNS("http://www.w3.org/2000/svg", "svg");
  svg.setAttribute("viewBox", "0 0 24 24");
  svg.setAttribute("width", "24");
  svg.setAttribute("height", "24");
  svg.setAttribute("aria-hidden", "true");
  const corners = document.createElementNS("http://www.w3.org/2000/svg", "path");
  corners.setAttribute("d", "M3 9V3h6M15 3h6v6M21 15v6h-6M9 21H3v-6");
  corners.setAttribute("fill", "none");
  corners.setAttribute("stroke", "currentColor");
  corners.setAttribute("stroke-width", "2");
  svg.append(corners);
  button.replaceChildren(svg);
  button.title = words.fullScreen + " (F11)";
  button.setAttribute("aria-label", words.fullScreen);
  button.addEventListener("click", toggleFullScreen);
  const shown = () => button.setAttribute("aria-pressed", String(!!document.fullscreenElement));
  document.addEventListener("fullscreenchange", shown);
  shown();
  document.addEventListener("keydown", (e) => {
    if (e.key === "F1") { e.preventDefault(); showHelp(); }
    else if (e.key === "F11") { e.preventDefault(); toggleFullScreen(); }
    else if ((e.ctrlKey || e.metaKey) && !e.altKey) {
      const run = shortcuts[(e.shiftKey ? "Shift+" : "") + e.key.toLowerCase()];
      if (run && !editingKey(e)) {
        e.preventDefault();
        run();
      }
    }
  });
  // The browser's own print (its menu) shows the picture of the screen too, as Ctrl+P does.
  window.addEventListener("beforeprint", () => {
    if (!page.printing) showPrinted(savedPicture(true).canvas);
  });
  window.addEventListener("afterprint", () => { page.printing = false; });
}

// The desktop's shortcuts (with Ctrl) of the actions the page has too.
const shortcuts = {
  c: () => copyPicture(),
  s: () => savePicture(),
  // Ctrl+P is "Drucken…" as on the desktop.
  p: () => printPicture(),
  o: () => openLesson(),
  "Shift+s": () => saveLesson(),
  t: () => toggleSound(page.core.json(page.core.x.korv_menuWords())),
  "Shift+t": toggleTimeSignals,
  // As the desktop's: opens the quiz, or brings an open one to the front.
  "Shift+v": () => {
    if (document.getElementById("quiz").hidden) startQuiz();
    else document.querySelector("#quiz input.ratio").focus();
  },
  q: () => document.getElementById("Command5").click(),
};

// A text box keeps the browser's keys that edit in it: Ctrl+C with text selected there (or
// anywhere on the page, the help's say) and Ctrl+Shift+V, pasting without formatting.
function editingKey(e) {
  const key = (e.shiftKey ? "Shift+" : "") + e.key.toLowerCase();
  const box = e.target.matches?.("input[type=text], textarea") ? e.target : null;
  if (key === "c") {
    // (A box's selection stays in the page's once it lost the focus, but collapsed there.)
    return box ? box.selectionStart !== box.selectionEnd : window.getSelection()?.isCollapsed === false;
  }
  return key === "Shift+v" && !!box;
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
  const tracks = page.bars.map(barTrack);
  state.values.forEach((value, index) => {
    const bar = page.bars[index];
    bar.value = value;
    if (!bar.dragging) showBar(bar, value, tracks[index]);
  });
  page.check.checked = state.check === 1;
}

const host = {
  changed(what) { page.dirty |= what; requestFrame(); },
  settled() { requestFrame(); },
  // A pause of the core's loop ends at a display frame (Core.frame, called by frame).
  frameWanted() { requestFrame(); },
  ended() {
    const ended = document.getElementById("ended");
    ended.hidden = false;
    // The desktop's window is gone: nothing of the page answers any more, neither its panels
    // and the full-screen button nor its keys (F1, F5, F11, the lesson's steps). The browser's
    // own keys stay, F5 opening the program anew.
    for (const element of document.body.children) if (element !== ended) element.inert = true;
    window.addEventListener("keydown", (e) => e.stopImmediatePropagation(), true);
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

function embeddedBytes(id) {
  return fromBase64(document.getElementById(id).textContent.trim());
}

function fromBase64(text) {
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let k = 0; k < binary.length; ++k) bytes[k] = binary.charCodeAt(k);
  return bytes;
}

// The core's module is gzip-packed in the page: a third of the text to read. (Compiled as
// it is unpacked, with WebAssembly.compileStreaming, the first figure came some 60 ms later.)
// The bytes are written into the stream directly: read back from a Blob, they went to the
// browser's process and back in chunks first, which took 40-110 ms instead of some 20.
async function unpacked(packed) {
  const stream = new DecompressionStream("gzip");
  const writer = stream.writable.getWriter();
  // A fault shows where the unpacked bytes are read.
  writer.write(packed).catch(() => {});
  writer.close().catch(() => {});
  return new Uint8Array(await new Response(stream.readable).arrayBuffer());
}

async function main() {
  if (typeof WebAssembly !== "object") {
    notice("Dieser Browser kann kein WebAssembly ausführen; ohne es läuft die Simulation nicht.");
    return;
  }
  // Each step that may fail says in German what this browser lacks: its own error is English.
  const lacking = (what) => notice(`Diesem Browser fehlt ${what}; ohne es läuft die Simulation nicht.`);
  if (typeof DecompressionStream !== "function") {
    lacking("das Entpacken gepackter Daten (DecompressionStream)");
    return;
  }
  host.fusedSinesBytes = embeddedBytes("fusedSines");
  const packed = fromBase64(packedCore);
  packedCore = null;
  let bytes, module;
  try {
    bytes = await unpacked(packed);
  } catch {
    notice("Dieser Browser kann das Programm nicht entpacken; ohne es läuft die Simulation nicht.");
    return;
  }
  try {
    module = await WebAssembly.compile(bytes);
  } catch {
    lacking("WebAssembly mit SIMD");
    return;
  }
  try {
    page.core = await Core.load(module, host);
  } catch {
    notice("Dieser Browser kann das Programm nicht starten; ohne es läuft die Simulation nicht.");
    return;
  }
  page.layout = page.core.json(page.core.x.korv_layout());
  // The worker is started once the first figure is on show: on two cores its start would
  // take its time from the first figure. Figures asked for meanwhile wait for it.
  page.workerStarts = !!window.Worker;
  page.afterFirstFigure = () => setTimeout(() => startWorker(packed, host.fusedSinesBytes));
  build();
  buildMenu();
  buildHelpAndFullScreen();
  buildLongPress();
  buildClassroom();
  buildPlate();
  dragLegendBeside();
  // Over the window where the page is narrow: its menu is the screen's, as on the desktop the
  // window's keys work in the time signals' window too.
  document.getElementById("timeSignals").addEventListener("contextmenu", (e) => {
    e.preventDefault();
    showMenu(e.clientX, e.clientY);
  });
  // The desktop's window closes by its frame; the panel, which may lie over the controls, by
  // its own button.
  document.querySelector("#timeSignals .close").addEventListener("click", toggleTimeSignals);
  page.toneInto = toneInto;
  page.sound = sound;
  if (!audioContextClass()) notice(page.core.json(page.core.x.korv_menuWords()).noWebAudio);
  fit();
  window.addEventListener("resize", fit);
  page.core.call("korv_start");
  restoreViews();
  window.korvelian = page;
  offerInstall();
  // A link carries a setting in its fragment, with the command line's names.
  const fragment = location.hash.slice(1);
  if (fragment) {
    const bytes = page.core.encoder.encode(fragment);
    const pointer = page.core.x.korv_alloc(bytes.length + 1);
    page.core.bytes.set(bytes, pointer);
    const answer = page.core.json(page.core.x.korv_applyLink(pointer, bytes.length));
    page.core.x.korv_free(pointer);
    if (answer.fault) notice("Link nicht übernommen: " + answer.fault);
    else if (answer.quiz) startQuiz(answer.quiz, answer.quiz.seed);
    if (answer.beam) startBeam();
  }
  // Another link of a lesson's list opens its own picture from the start.
  window.addEventListener("hashchange", () => location.reload());
}

main();
