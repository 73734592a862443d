// The few things every browser must do as Chromium does: the start figure to the pixel, a bar
// moved by its arrow, a refused entry with its German message, a link's round trip, the
// running beam, a printed worksheet's subscript, and a German line where the browser has no
// full screen. Driven through tests/browser/drivers.mjs, so any browser it speaks to runs them.

// Everything the core changed is on show once nothing waits and a frame has been painted.
const settled = () => new Promise((done) => {
  const poll = () => requestAnimationFrame(() => {
    const k = window.korvelian;
    if (k && k.firstFigure > 0 && k.core.suspended.length === 0 && k.core.queue.length === 0 && k.dirty === 0 &&
        !k.rendering) requestAnimationFrame(() => requestAnimationFrame(() => done(true)));
    else poll();
  });
  poll();
});
// How many pixels of the figure's canvas differ from a PNG (base64), or why they cannot match.
const differing = async (png) => {
  const image = new Image();
  image.src = "data:image/png;base64," + png;
  await image.decode();
  const c = document.createElement("canvas");
  c.width = image.width; c.height = image.height;
  const ctx = c.getContext("2d");
  ctx.drawImage(image, 0, 0);
  const want = ctx.getImageData(0, 0, c.width, c.height).data;
  const shown = korvelian.screen.figure;
  if (shown.width !== c.width || shown.height !== c.height) return `${shown.width}x${shown.height} against ${c.width}x${c.height}`;
  const got = shown.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let count = 0;
  for (let k = 0; k < got.length; k += 4)
    if (got[k] !== want[k] || got[k + 1] !== want[k + 1] || got[k + 2] !== want[k + 2]) ++count;
  return count ? `${count} pixels differ` : "";
};
// The middle of the yellow beam point on the overlays' canvas.
const beam = () => {
  const c = korvelian.screen.overlays;
  const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let x = 0, y = 0, n = 0;
  for (let k = 0; k < data.length; k += 4) {
    if (data[k] > 200 && data[k + 1] > 200 && data[k + 2] < 80 && data[k + 3] > 200) {
      x += (k / 4) % c.width; y += Math.floor(k / 4 / c.width); ++n;
    }
  }
  return n ? `${Math.round(x / n)},${Math.round(y / n)}` : null;
};
const state = () => JSON.parse(korvelian.core.string(korvelian.core.x.korv_state()));

export async function smoke({ browser, check, pageUrl, pictures }) {
  const open = async (fragment = "") => {
    await browser.goto("about:blank");
    await browser.goto(pageUrl + fragment);
    await browser.run(settled);
  };
  const same = async (name, what) => {
    const d = await browser.run(differing, pictures[name]);
    check(what, !d, d);
  };

  await open();
  await same("start", "the start figure as the desktop draws it");

  // The amplitude bar's right arrow: one step up, and the figure drawn anew.
  await browser.click("#hscAmp1 .arrow:last-child");
  await browser.run(settled);
  const stepped = await browser.run(state);
  check("a click on a bar's arrow moves it a step", stepped.values[0] === 101, JSON.stringify(stepped.values));
  const moved = await browser.run(differing, pictures.start);
  check("and the figure follows it", moved !== "", "unchanged");
  // A right click there opens the bar's menu and moves nothing, as on the desktop.
  await browser.click("#hscAmp1 .arrow:last-child", "right");
  await browser.run(settled);
  const menu = await browser.run(() => [document.getElementById("menu").hidden, korvelian.state.values[0],
                                        document.querySelector("#menu > div:last-child").textContent]);
  check("a right click on the arrow opens the bar's menu only", menu.join() === "false,101,Wert eingeben…", menu.join());

  // "0" in the numerator: refused with the desktop's German hint, the figure kept.
  await open();
  await browser.click("#txtZaehler");
  await browser.run(() => { txtZaehler.select(); });
  await browser.type("0");
  await browser.run(settled);
  const hint = await browser.run(() => [txtHilfe.value, txtZaehler.value, txtZaehler.classList.contains("refused")]);
  check("0 refused with its German message", hint[0] === "Zähler und Nenner: ganze Zahlen von 1 bis 32767 eingeben." &&
        hint[1] === "0" && hint[2], JSON.stringify(hint));
  await same("start", "the refused entry leaves the figure");
  // With "Werte einblenden" on, the values shown follow a refusal of the closing count as the
  // desktop's do.
  const showValues = (on) => {
    const core = korvelian.core;
    core.x.korv_setView(core.json(core.x.korv_views()).findIndex((v) => v.caption.startsWith("Werte")), on);
  };
  await open();
  await browser.run(showValues, 1);
  await browser.run(settled);
  // 200 : 19 drawn and shown; a 9 more makes 200 : 199, which closes only after 39800 turns:
  // refused, 200 : 19 stays drawn.
  for (const [box, value] of [["txtZaehler", "200"], ["txtNenner", "19"]]) {
    await browser.click(`#${box}`);
    await browser.run((id) => { document.getElementById(id).select(); }, box);
    await browser.type(value);
    await browser.run(settled);
  }
  await browser.run(() => { txtNenner.setSelectionRange(2, 2); });
  await browser.type("9");
  await browser.run(settled);
  const shown = await browser.run(() => korvelian.screen.readings.sceneKey || "");
  check("and the values shown say the entry was not taken", shown.includes("(zuletzt angenommen)"),
        shown.slice(0, 300));
  await browser.run(showValues, 0);

  // A link opens its picture and is written back as it came.
  await open("#ratio=3:2&phase-y=45");
  await same("ratio-3-2-45", "#ratio=3:2&phase-y=45 opens its picture");
  const link = await browser.run(() => korvelian.core.json(korvelian.core.x.korv_link()).fragment);
  check("and is written back", link === "ratio=3:2&phase-y=45.2637", link);

  // The beam: its point moves from frame to frame until "Stop" is ticked.
  await browser.click("#Command2");
  const places = await browser.run(async (show) => {
    const beamAt = new Function(`return (${show})()`);
    const seen = [beamAt()];
    // However slow the machine: each place must give way to another sooner or later.
    for (let tries = 0; tries < 400 && seen.length < 3; ++tries) {
      await new Promise((done) => setTimeout(done, 50));
      if (beamAt() !== seen.at(-1)) seen.push(beamAt());
    }
    return seen;
  }, beam.toString());
  check("the beam point moves", places.length === 3 && places.every((p) => p !== null), JSON.stringify(places));
  await browser.click("#Check1 input");
  await browser.run(settled);
  check("Stop ends it", (await browser.run(state)).runs === 0);

  // The printed worksheet's subscripts (the amplitudes' "x") stand lower than their letters
  // when the browser draws the sheet as the printer gets it.
  const lowered = await browser.run(async () => {
    const core = korvelian.core, sheet = core.json(core.x.korv_plateMenu()).sheets[2].sheet;
    const area = core.json(core.x.korv_sheetPage(0, sheet, 1600));
    const text = core.string(core.x.korv_sheetSvg(0, sheet, 1, 1600, area.height));
    // Where the first subscript and its letter stand, from the same file laid out on the page.
    const svg = new DOMParser().parseFromString(text, "image/svg+xml").documentElement;
    document.body.append(document.adoptNode(svg));
    const sub = svg.querySelector("tspan[font-size]");
    const letter = sub.previousElementSibling;
    const boxes = [letter.getExtentOfChar(letter.textContent.length - 1), sub.getExtentOfChar(0)];
    svg.remove();
    const image = new Image();
    image.src = svgSource(text);
    await image.decode();
    const c = document.createElement("canvas");
    c.width = 1600; c.height = area.height;
    const ctx = c.getContext("2d");
    ctx.drawImage(image, 0, 0);
    // The lowest inked row in each glyph's box.
    return boxes.map((box) => {
      const d = ctx.getImageData(Math.floor(box.x), Math.floor(box.y), Math.ceil(box.width), Math.ceil(box.height)).data;
      let lowest = -1;
      for (let k = 0; k < d.length; k += 4) if (d[k + 3] > 128 && d[k] < 128) lowest = Math.floor(k / 4 / Math.ceil(box.width));
      return Math.floor(box.y) + lowest;
    });
  });
  check("a printed worksheet's subscript stands lower than its letter", lowered[1] - lowered[0] >= 5, String(lowered));

  // Where the browser gives a page no full screen (a phone's), the button says so in German.
  await browser.run(() => { delete Element.prototype.requestFullscreen; });
  await browser.click("#fullScreen");
  const line = await browser.run(() => document.getElementById("notice").textContent);
  check("no full screen is told in German", line.startsWith("Dieser Browser zeigt die Seite nicht auf dem ganzen"), line);
}
