// What leaves the page: the picture downloaded or printed, the setting's link copied, and the
// views remembered in the browser's storage.

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
function savedPicture(worksheet, ending = "png", width = Math.round(page.layout.screenSide)) {
  const core = page.core;
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
  const { canvas, name } = savedPicture(page.worksheet);
  canvas.toBlob((blob) => download(blob, name), "image/png");
}

// The picture as an SVG file written by the core; a figure of too many points for a path is
// put in as the PNG of its pixels, as the desktop's files have it.
function saveSvg() {
  const core = page.core;
  const width = Math.round(page.layout.screenSide);
  const size = core.json(withText("svg", (p, n) => core.x.korv_savedSize(width, p, n)));
  const worksheet = page.worksheet ? 1 : 0;
  let svg = core.string(core.x.korv_savedSvg(size.width, size.height, worksheet));
  if (svg.includes("@FIGURE@")) {
    const pointer = core.x.korv_savedFigure(size.width, size.pictureHeight, worksheet);
    const pixels = new Uint8ClampedArray(core.x.memory.buffer.slice(pointer, pointer + size.width * size.pictureHeight * 4));
    const figure = document.createElement("canvas");
    figure.width = size.width;
    figure.height = size.pictureHeight;
    figure.getContext("2d").putImageData(new ImageData(pixels, size.width, size.pictureHeight), 0, 0);
    svg = svg.replace("@FIGURE@", figure.toDataURL("image/png"));
  }
  download(new Blob([svg], { type: "image/svg+xml" }), size.name);
}

// "Bild kopieren": the picture as many pixels wide as the screen shows it, as the desktop
// copies it.
function copyPicture() {
  const shown = page.screen.element.clientWidth * (window.devicePixelRatio || 1);
  copyCanvas(savedPicture(page.worksheet, "png", Math.max(1, Math.round(shown))).canvas);
}

// The browser's print of a picture (an image's address): on a page of its own, or (a
// worksheet's area) filling the printable area of an A4 page turned as the sheet wants it.
function printImage(source, area = null) {
  // Made at the first print only: until then the page holds no image.
  let image = document.getElementById("print");
  if (!image) {
    image = document.createElement("img");
    image.id = "print";
    image.alt = "Korvelian-Figur";
    document.body.append(image);
  }
  let rule = document.getElementById("printPage");
  if (!rule) {
    rule = document.createElement("style");
    rule.id = "printPage";
    document.head.append(rule);
  }
  rule.textContent = area ? `@page { size: A4 ${area.across ? "landscape" : "portrait"}; margin: 15mm; }` : "";
  image.className = area ? "page" : "";
  image.style.width = area ? `${area.millimetres}mm` : "";
  image.src = source;
  showPrinted(image);
  image.decode().catch(() => {}).then(() => {
    // Until the browser has printed (afterprint): its beforeprint must leave this picture.
    page.printing = true;
    window.print();
  });
}

// What the print style shows: the image of a print the page started, or a canvas with the
// screen's picture where the browser's own menu prints (drawn at once: the print will not wait
// for an image to load).
function showPrinted(element) {
  for (const old of document.querySelectorAll(".printed")) if (old !== element) old.classList.remove("printed");
  if (!element.isConnected) {
    element.id = "printScreen";
    document.getElementById("printScreen")?.remove();
    document.body.append(element);
  }
  element.classList.add("printed");
}

// An SVG file's text as an image's address: drawn by the printer at its own resolution, so its
// lines stay sharp on paper.
function svgSource(svg) {
  return "data:image/svg+xml;charset=utf-8," + encodeURIComponent(svg);
}

// The browser's print of the picture in worksheet colours: a black figure on white.
function printPicture() {
  printImage(savedPicture(true).canvas.toDataURL("image/png"));
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

// The drift's speed and the tone's base frequency, remembered as the desktop remembers them:
// by their place in their menu.
const kSpeedsKey = "korvelian.speeds";

function rememberSpeed(which, index) {
  const store = storage();
  if (!store) return;
  let speeds = null;
  try {
    speeds = JSON.parse(store.getItem(kSpeedsKey));
  } catch {
    // Something else under the key: written anew, as the desktop's settings overwrite it.
  }
  if (!speeds || typeof speeds !== "object" || Array.isArray(speeds)) speeds = {};
  speeds[which] = index;
  try {
    store.setItem(kSpeedsKey, JSON.stringify(speeds));
  } catch {
    // A full or blocked store: the choice holds until the page is closed.
  }
}

function restoreSpeeds(store) {
  let speeds = null;
  try {
    speeds = JSON.parse(store.getItem(kSpeedsKey));
  } catch {
    return;
  }
  if (!speeds || typeof speeds !== "object") return;
  const menus = page.core.json(page.core.x.korv_speedMenus());
  // Only a whole number naming an entry is taken; anything else in the store is ignored.
  const taken = (index, list) => Number.isInteger(index) && index >= 0 && index < list.length;
  if (taken(speeds.drift, menus.speeds)) page.core.x.korv_setDriftSpeed(speeds.drift);
  if (taken(speeds.base, menus.frequencies)) page.core.x.korv_setBaseFrequency(speeds.base);
}

function restoreViews() {
  const store = storage();
  if (!store) {
    notice(page.core.json(page.core.x.korv_menuWords()).storageBlocked);
    return;
  }
  restoreSpeeds(store);
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
