// The overview plate in a panel of the page, copied, downloaded and printed as the desktop's
// plate window offers it, and its worksheets printed; the submenus of the drift's speed and the
// tone's base frequency. The core lays out and describes everything; this paints and places.

const plate = {
  phases: 0,
  // The worksheets of one order belong together: the solutions fit the sheets printed before.
  seed: Math.floor(Math.random() * 4294967296),
  kDefaultWidth: 960, // as wide as the desktop copies and saves the plate
};

// A scene on a canvas of a size in pixels, ratio device pixels to one.
function sceneCanvas(width, height, scene, ratio = 1) {
  const canvas = document.createElement("canvas");
  canvas.width = Math.max(1, Math.round(width * ratio));
  canvas.height = Math.max(1, Math.round(height * ratio));
  const ctx = canvas.getContext("2d");
  ctx.scale(ratio, ratio);
  Painter.paint(ctx, scene, page.core);
  return canvas;
}

function plateCanvas(width, worksheet, ratio = 1) {
  const core = page.core;
  const size = core.json(core.x.korv_plateSize(plate.phases, width));
  const scene = core.json(core.x.korv_plateScene(plate.phases, width, worksheet ? 1 : 0));
  return sceneCanvas(size.width, size.height, scene, ratio);
}

// A picture to the clipboard as PNG where the browser lets the page write one; a German line
// where it does not.
async function copyCanvas(canvas) {
  try {
    if (!navigator.clipboard || !navigator.clipboard.write || typeof ClipboardItem !== "function")
      throw new Error("no clipboard");
    const blob = new Promise((resolve) => canvas.toBlob(resolve, "image/png"));
    await navigator.clipboard.write([new ClipboardItem({ "image/png": blob })]);
  } catch {
    notice(plateWords().notCopied);
  }
}

function plateWords() {
  return page.core.json(page.core.x.korv_plateMenu());
}

// The plate's window: as large as 94 % of the page leaves, drawn at the display's pixels.
function showPlate() {
  const dialog = document.getElementById("plate");
  const words = plateWords();
  dialog.querySelector(".title span").textContent = words.title;
  dialog.setAttribute("aria-label", words.title);
  if (!dialog.open) dialog.show();
  const shape = page.core.json(page.core.x.korv_plateSize(plate.phases, 1000));
  const title = dialog.querySelector(".title").offsetHeight;
  const width = Math.floor(Math.min(window.innerWidth * 0.94,
                                    (window.innerHeight * 0.94 - title) * shape.width / shape.height));
  const ratio = window.devicePixelRatio || 1;
  const canvas = plateCanvas(width, page.worksheet, ratio);
  canvas.style.width = `${canvas.width / ratio}px`;
  canvas.style.height = `${canvas.height / ratio}px`;
  canvas.setAttribute("role", "img");
  canvas.setAttribute("aria-label", words.title);
  dialog.querySelector(".picture").replaceChildren(canvas);
  dialog.querySelector(".close").focus();
}

function savePlate() {
  const words = plateWords();
  plateCanvas(plate.kDefaultWidth, page.worksheet).toBlob(
    (blob) => download(blob, plate.phases ? words.namePhases : words.nameRatios), "image/png");
}

// A worksheet on an A4 page, in worksheet colours, through the browser's print, as lines.
function printSheet(sheet) {
  const core = page.core;
  const width = 1600;
  const area = core.json(core.x.korv_sheetPage(plate.phases, sheet, width));
  printImage(svgSource(core.string(core.x.korv_sheetSvg(plate.phases, sheet, plate.seed, width, area.height))), area);
}

// The plate's entries: which plate, its window, copy, download and print, and its worksheets.
function plateEntries() {
  const words = plateWords();
  const choose = (phases) => () => { plate.phases = phases; if (document.getElementById("plate").open) showPlate(); };
  return [
    { caption: words.ratios, checked: plate.phases === 0, run: choose(0) },
    { caption: words.phases, checked: plate.phases === 1, run: choose(1) },
    null,
    { caption: words.show, run: showPlate },
    { caption: words.copy, run: () => copyCanvas(plateCanvas(plate.kDefaultWidth, page.worksheet)) },
    { caption: words.save, run: savePlate },
    { caption: words.print, run: () => printImage(svgSource(page.core.string(page.core.x.korv_plateSvg(plate.phases, 1600))),
                                                  { across: false, millimetres: 180 }) },
    null,
    ...words.sheets.map((s) => ({ caption: s.caption, run: () => printSheet(s.sheet) })),
    { caption: words.newOrder, run: () => { plate.seed = Math.floor(Math.random() * 4294967296); } },
  ];
}

// "Wandergeschwindigkeit" and "Grundfrequenz": one of each is ticked.
function speedEntries(which) {
  const core = page.core;
  const menus = core.json(core.x.korv_speedMenus());
  const list = which === "drift" ? menus.speeds : menus.frequencies;
  const set = which === "drift" ? "korv_setDriftSpeed" : "korv_setBaseFrequency";
  return list.map((entry, index) => ({ caption: entry.caption, checked: entry.on,
                                       run: () => { core.call(set, index); rememberSpeed(which, index); } }));
}

function buildPlate() {
  const dialog = document.getElementById("plate");
  dialog.querySelector(".close").addEventListener("click", () => dialog.close());
  dialog.addEventListener("keydown", (e) => { if (e.key === "Escape") { e.preventDefault(); dialog.close(); } });
  // A right click on the plate copies, saves or prints it, as in the screen's menu.
  dialog.querySelector(".picture").addEventListener("contextmenu", (e) => {
    e.preventDefault();
    popup(e.clientX, e.clientY, plateEntries().slice(4, 7), plateWords().title);
  });
}
