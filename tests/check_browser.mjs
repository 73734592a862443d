// The browser edition as a user meets it, in one browser kept open across the cases: the start
// screen, the figure to the pixel against the desktop's export, refused entries, the beam.
import fs from "node:fs";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [pagePath, pictures] = process.argv.slice(2);
let passed = 0, failed = 0;
function check(name, ok, detail = "") {
  if (ok) ++passed;
  else { ++failed; console.log(`FAIL ${name}${detail ? ": " + detail : ""}`); }
}

const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--no-sandbox", "--headless=new", "--allow-file-access-from-files"],
});
const page = await browser.newPage();
const errors = [];
page.on("pageerror", (e) => errors.push(e.message));
// The window at 100 %: 9864 x 7320 twips are 658 x 488 pixels.
await page.setViewport({ width: 658, height: 488, deviceScaleFactor: 1 });

// Opened once the workers that draw the figures have started: a figure asked for before then
// waits for them, which a check made meanwhile would take for the figure itself.
const started = () => page.waitForFunction(() => {
  const k = window.korvelian;
  return k && k.firstFigure > 0 && (k.workerReady || (!k.workerStarts && !k.worker)) &&
         (k.helpers ?? []).every((h) => h.ready);
}, { timeout: 20000 });
async function open() {
  await page.goto("file://" + path.resolve(pagePath));
  await started();
}
// Everything the core changed is on show once nothing waits and a frame has been painted.
async function settled() {
  await page.waitForFunction(() => new Promise((done) => requestAnimationFrame(() =>
    done(korvelian.core.suspended.length === 0 && korvelian.core.queue.length === 0 && korvelian.dirty === 0 &&
         !korvelian.rendering))));
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
}
const state = () => page.evaluate(() => JSON.parse(korvelian.core.string(korvelian.core.x.korv_state())));
// The figure canvas (axes and figure, the overlays lie on a canvas of their own) as RGB.
const figure = () => page.evaluate(() => {
  const c = korvelian.screen.figure;
  const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  return { width: c.width, height: c.height, rgb: Array.from(data.filter((_, k) => k % 4 !== 3)) };
});
const picture = (name) => page.evaluate(async (url) => {
  const image = new Image();
  image.src = url;
  await image.decode();
  const c = document.createElement("canvas");
  c.width = image.width; c.height = image.height;
  const ctx = c.getContext("2d");
  ctx.drawImage(image, 0, 0);
  const data = ctx.getImageData(0, 0, c.width, c.height).data;
  return { width: c.width, height: c.height, rgb: Array.from(data.filter((_, k) => k % 4 !== 3)) };
}, "data:image/png;base64," + fs.readFileSync(path.join(pictures, name + ".png")).toString("base64"));
function differing(a, b) {
  if (a.width !== b.width || a.height !== b.height) return `${a.width}x${a.height} against ${b.width}x${b.height}`;
  let count = 0, first = -1;
  for (let k = 0; k < a.rgb.length; k += 3) {
    if (a.rgb[k] !== b.rgb[k] || a.rgb[k + 1] !== b.rgb[k + 1] || a.rgb[k + 2] !== b.rgb[k + 2]) {
      if (first < 0) first = k / 3;
      ++count;
    }
  }
  return count === 0 ? "" : `${count} pixels differ, the first at (${first % a.width}, ${Math.floor(first / a.width)})`;
}
async function type(name, text) {
  await page.click(`#${name}`, { count: 3 });
  await page.keyboard.press("Backspace");
  await page.keyboard.type(text);
  await settled();
}
// A bar set as a click or a key sets it; the start of a case sets every bar back.
const setBar = (bar, value) => page.evaluate((b, v) => korvelian.core.call("korv_setValue", b, v), bar, value);
const Bar = { AmplitudeX: 0, PhaseX: 1, AmplitudeY: 2, PhaseY: 3 };

// The start screen: every control of the layout table at its place with its caption.
await open();
await settled();
const controls = await page.evaluate(() => korvelian.layout.controls.map((c) => {
  const element = document.getElementById(c.name);
  const box = element.getBoundingClientRect();
  const parent = document.getElementById(c.parent || "form").getBoundingClientRect();
  const shown = element.matches("input") ? element.value : element.textContent;
  return { name: c.name, kind: c.kind, caption: c.caption, label: element.getAttribute("aria-label"),
           left: Math.round(box.left - parent.left), top: Math.round(box.top - parent.top),
           width: Math.round(box.width), expected: [c.left, c.top, c.width].map((t) => Math.trunc(t / 15 + 0.5)),
           shown, tab: element.input ? element.input.tabIndex : element.tabIndex };
}));
check("every control of the layout table is on the page", controls.length === 31, String(controls.length));
for (const c of controls) {
  // A frame's children stand within its border of one pixel.
  const border = ["Frame1", "Frame2"].includes(controls.find((p) => p.name === c.name)?.parent) ? 1 : 0;
  check(`${c.name} at its place`, Math.abs(c.left + border - c.expected[0]) <= 1 && Math.abs(c.top + border - c.expected[1]) <= 1 &&
        c.width === c.expected[2], `${c.left},${c.top} ${c.width} against ${c.expected}`);
  if (c.caption && c.kind !== 7) check(`${c.name} shows "${c.caption}"`, c.shown.includes(c.caption), c.shown);
}
const byName = Object.fromEntries(controls.map((c) => [c.name, c]));
for (const [name, text] of [["Command1", "Korvelianfigur"], ["Command5", "Programm beenden"],
                            ["Label4", "Frequenzfaktor"], ["txtHilfe", "Hilfe"], ["Label9", "kgV"]])
  check(`${name} in German`, byName[name].shown === text, byName[name].shown);
for (const [name, label] of [["picBildschirm", "Bildschirm"], ["cmdplusZaehler", "Zähler vergrößern"],
                             ["hscAmp1", "Amplitude x"], ["Command6", "Information"]])
  check(`${name} named for assistive technology`, byName[name].label === label, byName[name].label);
check("tab order from the table", byName.hscAmp1.tab === 4 && byName.txtZaehler.tab === 11 && byName.Command1.tab === 13,
      [byName.hscAmp1.tab, byName.txtZaehler.tab, byName.Command1.tab].join());
// A bar's keys move it as the desktop's bar does: Page Up raises it by the page step of 1.
for (const [key, step] of [["ArrowRight", 1], ["ArrowLeft", -1], ["ArrowUp", 1], ["ArrowDown", -1], ["PageUp", 1], ["PageDown", -1]]) {
  await setBar(Bar.AmplitudeX, 100);
  await settled();
  await page.focus("#hscAmp1");
  await page.keyboard.press(key);
  await settled();
  const value = (await state()).values[Bar.AmplitudeX];
  check(`${key} on a bar moves it by ${step}`, value === 100 + step, String(value));
}
// Keys faster than the display's frames each count, as on the desktop.
await setBar(Bar.AmplitudeX, 100);
await settled();
await page.evaluate(() => {
  const bar = document.getElementById("hscAmp1");
  for (let k = 0; k < 10; ++k) bar.dispatchEvent(new KeyboardEvent("keydown", { key: "ArrowRight", bubbles: true }));
});
await settled();
check("ten keys within a frame move a bar by ten", (await state()).values[Bar.AmplitudeX] === 110,
      String((await state()).values[Bar.AmplitudeX]));
// The wheel steps it by one a notch and a turn, as the desktop's: turned away from the user it
// lowers it.
for (const [deltaY, step] of [[-100, -1], [100, 1], [300, 1], [20, 0]]) {
  await setBar(Bar.AmplitudeX, 100);
  await settled();
  const box = await (await page.$("#hscAmp1")).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.wheel({ deltaY });
  await settled();
  const value = (await state()).values[Bar.AmplitudeX];
  check(`the wheel by ${deltaY} moves a bar by ${step}`, value === 100 + step, String(value));
}
await setBar(Bar.AmplitudeX, 100);
await settled();
// A preset chosen by keys from a bar's menu gives the focus back to the bar, as the desktop's
// menu does: its arrows go on from there.
await page.focus("#hscPhase");
await page.keyboard.press("ContextMenu");
await page.keyboard.press("ArrowDown");
await page.keyboard.press("Enter");
await settled();
await page.keyboard.press("ArrowRight");
await settled();
const afterMenu = (await state()).values[Bar.PhaseY];
check("a bar's menu used by keys gives the focus back to the bar", afterMenu === 53, String(afterMenu));
await setBar(Bar.PhaseY, 0);
await settled();

// The page's painter on one item of every kind, each in a cell of its own: every cell gets
// ink, the cells left over none.
const ink = await page.evaluate(() => {
  const canvas = document.createElement("canvas");
  canvas.width = 360; canvas.height = 240;
  const ctx = canvas.getContext("2d");
  Painter.paint(ctx, korvelian.core.json(korvelian.core.x.korv_sampleScene()), korvelian.core);
  const data = ctx.getImageData(0, 0, 360, 240).data;
  const cells = new Array(24).fill(0);
  for (let k = 0; k < data.length; k += 4) {
    const x = (k / 4) % 360, y = Math.floor(k / 4 / 360);
    if (data[k + 3] > 0) ++cells[Math.floor(y / 60) * 6 + Math.floor(x / 60)];
  }
  return cells;
});
const kinds = ["line", "lines", "points", "stroked path", "filled path", "ellipse", "whole ellipse", "pie",
               "polygon", "rect", "whole rect", "fillRect", "text", "rich text", "label", "drawing",
               "translate and scale", "clip", "after restore"];
kinds.forEach((kind, k) => check(`the painter draws a ${kind}`, ink[k] > 0, String(ink[k])));
check("the painter draws nothing beside its items", ink.slice(kinds.length).every((n) => n === 0),
      ink.slice(kinds.length).join());

// The figure to the pixel against the desktop's export of the same settings.
check("1 : 1 as the desktop draws it", !differing(await figure(), await picture("start")),
      differing(await figure(), await picture("start")));
async function figureCase(name, numerator, denominator, bars, yUp = false) {
  await open();
  // Drawn by the core's copy beside the page, as every figure after the first.
  await page.waitForFunction(() => korvelian.workerReady, { timeout: 20000 });
  await page.evaluate((on) => korvelian.core.x.korv_setYUp(on ? 1 : 0), yUp);
  for (const [bar, value] of bars) await setBar(bar, value);
  await type("txtZaehler", numerator);
  await type("txtNenner", denominator);
  await settled();
  const d = differing(await figure(), await picture(name));
  check(`${name} as the desktop draws it`, !d, d);
  check(`${name} drawn beside the page`, await page.evaluate(() => korvelian.renderId > 0));
}
await figureCase("ratio-3-2-45", "3", "2", [[Bar.PhaseY, 79]]);
await figureCase("ratio-2-3-amplitudes", "2", "3", [[Bar.AmplitudeX, 150], [Bar.AmplitudeY, 75]]);
await figureCase("k-32767", "32767", "1", []);
await figureCase("y-up", "3", "2", [], true);

// A link's fragment opens exactly its picture and is written back as it came; a hostile one is
// refused with a German line and the start figure stays.
async function openLink(fragment) {
  await page.goto("about:blank");
  await page.goto("file://" + path.resolve(pagePath) + "#" + fragment);
  await started();
  await settled();
}
for (const [fragment, name] of [["ratio=3:2&phase-y=45", "ratio-3-2-45"], ["ratio=3:2&y-up", "y-up"]]) {
  await openLink(fragment);
  const d = differing(await figure(), await picture(name));
  check(`#${fragment} opens its picture`, !d, d);
  const written = await page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_link()).fragment);
  check(`#${fragment} written back`, written === fragment.replace("=45", "=45.2637"), written);
}
for (const fragment of ["ratio=1e308:1", "ratio=3:2&amplitude-x=nan", "%3Cimg%20src=x%20onerror=alert(1)%3E",
                        "ratio=" + "9".repeat(10000)]) {
  await openLink(fragment);
  const shown = await page.evaluate(() => [document.getElementById("notice").hidden, document.getElementById("notice").textContent, document.querySelectorAll("img").length]);
  check(`#${fragment.slice(0, 30)} refused in German`, !shown[0] && shown[1].startsWith("Link nicht übernommen: ") &&
        shown[2] === 0, JSON.stringify(shown).slice(0, 200));
  const d = differing(await figure(), await picture("start"));
  check(`#${fragment.slice(0, 30)} leaves the start figure`, !d, d);
}

// On a phone's narrow page the refusal wraps, and none of its words lies under the full-screen
// button in the corner.
await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 1 });
await openLink("amplitude-x=3");
const underButton = await page.evaluate(() => {
  const b = document.getElementById("fullScreen").getBoundingClientRect();
  const range = document.createRange();
  range.selectNodeContents(document.getElementById("notice"));
  return [...range.getClientRects()].filter((r) => r.right > b.left && r.left < b.right && r.bottom > b.top && r.top < b.bottom).length;
});
check("a refusal's words stay clear of the full-screen button", underButton === 0, String(underButton));
await page.setViewport({ width: 658, height: 488, deviceScaleFactor: 1 });

// The screen's context menu switches its views: the graticule beneath the figure, the values
// over it, y upward as the desktop draws it.
await openLink("ratio=3:2");
const lit = (canvas) => page.evaluate((name) => {
  const c = korvelian.screen[name];
  const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let n = 0;
  for (let k = 0; k < data.length; k += 4) if (data[k + 3] > 0 && (data[k] > 40 || data[k + 1] > 40 || data[k + 2] > 40)) ++n;
  return n;
}, canvas);
async function menuItem(caption) {
  await page.click("#picBildschirm", { button: "right" });
  const items = await page.$$eval("#menu > div", (all) => all.map((d) => d.textContent));
  const at = items.indexOf(caption);
  if (at >= 0) await (await page.$$("#menu > div"))[at].click();
  await settled();
  return items;
}
const beforeViews = [await lit("underlay"), await lit("readings")];
const captions = await menuItem("Raster");
check("the screen's menu lists its views", captions.join("|") ===
      "Ablesehilfe|Werte einblenden|Raster|y-Achse nach oben (wie am Oszilloskop)|Zeitverläufe|Nachleuchten|" +
      "Phase wandern lassen|Wie im Lehrbuch|Feine Kurve|Wandergeschwindigkeit|Übersichtstafel||Bild kopieren|" +
      "Bild als PNG speichern|Bild als SVG speichern|Drucken…|Arbeitsblatt-Farben||Ton|Grundfrequenz||Link kopieren||" +
      "Unterricht|Präsentation||Vorhersage|Ohne Vorhersage|Der Strahl zeichnet die Figur|" +
      "Nur die Zeitverläufe, Figur beim Auflösen|Werte verbergen||Welches Verhältnis?|Einstellungen öffnen…|Einstellungen speichern…|Als Schritt anhängen||" +
      "Zurücksetzen||Vollbild|Hilfe", captions.join("|"));
await menuItem("Werte einblenden");
const afterViews = [await lit("underlay"), await lit("readings")];
check("Raster draws the graticule beneath the figure", beforeViews[0] === 0 && afterViews[0] > 1000, String([beforeViews[0], afterViews[0]]));
check("Werte einblenden writes the values over it", beforeViews[1] === 0 && afterViews[1] > 100, String([beforeViews[1], afterViews[1]]));
await menuItem("Raster");
await menuItem("Werte einblenden");
await menuItem("y-Achse nach oben (wie am Oszilloskop)");
const upward = differing(await figure(), await picture("y-up"));
check("y upward from the menu as the desktop draws it", !upward, upward);
// The views are remembered for the next visit; where the browser keeps nothing, a German line
// says so and the page works on.
await menuItem("y-Achse nach oben (wie am Oszilloskop)");
await menuItem("Raster");
await open();
await settled();
check("a view chosen is there at the next visit", await lit("underlay") > 1000, String(await lit("underlay")));
check("a view not chosen is not", !differing(await figure(), await picture("start")), differing(await figure(), await picture("start")));
await menuItem("Raster");
await open();
await settled();
check("a view turned off stays off at the next visit", await lit("underlay") === 0, String(await lit("underlay")));
{
  const blocked = await browser.newPage();
  await blocked.setViewport({ width: 658, height: 488, deviceScaleFactor: 1 });
  await blocked.evaluateOnNewDocument(() => Object.defineProperty(window, "localStorage", {
    get() { throw new DOMException("blocked", "SecurityError"); } }));
  await blocked.goto("file://" + path.resolve(pagePath));
  await blocked.waitForFunction(() => window.korvelian && window.korvelian.firstFigure > 0, { timeout: 20000 });
  const line = await blocked.evaluate(() => [document.getElementById("notice").hidden, document.getElementById("notice").textContent]);
  check("blocked storage is told in German", !line[0] && line[1].startsWith("Dieser Browser speichert nichts"), JSON.stringify(line));
  await blocked.click("#picBildschirm", { button: "right" });
  const items = await blocked.$$eval("#menu > div", (all) => all.map((d) => d.textContent));
  await (await blocked.$$("#menu > div"))[items.indexOf("Raster")].click();
  const on = await blocked.evaluate(() => korvelian.core.json(korvelian.core.x.korv_views())[2].on);
  check("without storage the views still switch", on === true, String(on));
  await blocked.close();
}

// The menus' settings a click away: a ratio from a box's menu, an angle from a bar's, a value
// typed into "Wert eingeben…" (refused while it is no number), and "Zurücksetzen" back to the
// start picture.
await open();
async function contextEntry(selector, caption) {
  await page.click(selector, { button: "right" });
  const items = await page.$$eval("#menu > div", (all) => all.map((d) => d.textContent));
  const at = items.indexOf(caption);
  if (at >= 0) await (await page.$$("#menu > div"))[at].click();
  await settled();
  return items;
}
const ratioItems = await contextEntry("#txtNenner", "3:2");
check("a box's menu lists the usual ratios", ratioItems.join("|") ===
      "Verhältnis Zähler : Nenner|1:1|1:2|2:1|1:3|2:3|3:2|3:4|4:5|5:6", ratioItems.join("|"));
const phaseItems = await contextEntry("#hscPhase .thumb", "45°");
check("a phase bar's menu lists its angles", phaseItems.join("|") ===
      "0°|30°|45°|60°|90°|120°|135°|150°|180°|270°||Wert eingeben…", phaseItems.join("|"));
const preset = differing(await figure(), await picture("ratio-3-2-45"));
check("3:2 and 45° from the menus as the desktop draws them", !preset, preset);
// "Bild als PNG speichern" downloads the desktop's export of the same setting, named by its
// ratio; "Drucken…" prints it in worksheet colours: the same pixels, dark on white.
{
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: pictures });
  await menuItem("Bild als PNG speichern");
  const saved = path.join(pictures, "korvelian-3-2.png");
  for (let tries = 0; tries < 100 && !fs.existsSync(saved); ++tries) await new Promise((done) => setTimeout(done, 100));
  check("the picture is downloaded named by its ratio", fs.existsSync(saved));
  if (fs.existsSync(saved)) {
    const d = differing(await picture("korvelian-3-2"), await picture("ratio-3-2-45"));
    check("the downloaded PNG is the desktop's export", !d, d);
  }
  await page.evaluate(() => { window.print = () => { korvelian.printed = true; }; });
  await menuItem("Drucken…");
  await page.waitForFunction(() => korvelian.printed === true, { timeout: 10000 }).catch(() => {});
  const printed = await page.evaluate(async () => {
    const image = document.getElementById("print");
    await image.decode();
    const c = document.createElement("canvas");
    c.width = image.naturalWidth; c.height = image.naturalHeight;
    const ctx = c.getContext("2d");
    ctx.drawImage(image, 0, 0);
    const data = ctx.getImageData(0, 0, c.width, c.height).data;
    let dark = 0;
    for (let k = 0; k < data.length; k += 4) if (data[k] < 255 || data[k + 1] < 255 || data[k + 2] < 255) ++dark;
    return { printed: korvelian.printed === true, size: [c.width, c.height], corner: Array.from(data.slice(0, 3)), dark };
  });
  const screenPicture = await picture("ratio-3-2-45");
  let lit = 0;
  for (let k = 0; k < screenPicture.rgb.length; k += 3)
    if (screenPicture.rgb[k] !== screenPicture.rgb[0] || screenPicture.rgb[k + 1] !== screenPicture.rgb[1] ||
        screenPicture.rgb[k + 2] !== screenPicture.rgb[2]) ++lit;
  check("Drucken… prints the picture on white", printed.printed && printed.corner.join() === "255,255,255" &&
        printed.size.join() === "441,441" && printed.dark === lit, JSON.stringify(printed) + " against " + lit);
  // Ctrl+P prints it too, as the desktop's key for "Drucken…".
  await page.evaluate(() => { korvelian.printed = false; document.getElementById("print").removeAttribute("src"); });
  await page.keyboard.down("Control");
  await page.keyboard.press("p");
  await page.keyboard.up("Control");
  await page.waitForFunction(() => korvelian.printed === true, { timeout: 10000 }).catch(() => {});
  const byKey = await page.evaluate(() => [korvelian.printed, document.getElementById("print").src.startsWith("data:image/png")]);
  check("Ctrl+P prints the picture", byKey.join() === "true,true", byKey.join());
}
// "Link kopieren" puts the setting into the address line (and the clipboard where the browser
// lets it) and says so.
await menuItem("Link kopieren");
const copied = await page.evaluate(() => [location.hash, document.getElementById("notice").textContent, location.href]);
check("Link kopieren writes the setting as a link", copied[0] === "#ratio=3:2&phase-y=45.2637" &&
      (copied[1] === "Link kopiert: " + copied[2] || copied[1].endsWith("in der Adresszeile: " + copied[2])), JSON.stringify(copied));
// Closed, the line leaves the controls beneath it free again.
await page.click("#noticeClose");
const amplitudeItems = await contextEntry("#hscAmp1 .thumb", "Wert eingeben…");
check("an amplitude bar's menu lists its amplitudes", amplitudeItems.join("|") === "0,5|1,0|1,5|2,0||Wert eingeben…",
      amplitudeItems.join("|"));
const entry = () => page.evaluate(() => {
  const d = document.getElementById("valueEntry");
  return [d.open, d.querySelector(".title").textContent, d.querySelector("label span").textContent,
          d.querySelector("input").value, d.querySelector(".message").textContent, d.querySelector("button[value=ok]").disabled];
});
check("Wert eingeben… asks with the bar's value", JSON.stringify(await entry()) ===
      JSON.stringify([true, "Amplitude x eingeben", "Amplitude x von 0 bis 2:", "1,00", "", false]), JSON.stringify(await entry()));
await page.keyboard.type("eins");
const refusedEntry = await entry();
check("a word is refused in German, OK stays off", refusedEntry[4] === "Bitte eine Zahl eingeben, etwa 1,5." && refusedEntry[5],
      JSON.stringify(refusedEntry));
await page.click("#valueEntry input", { count: 3 });
await page.keyboard.type("0,255");
const told = await entry();
check("a value between the bar's steps is told", told[4] === "0,255 → 0,26: der Regler stellt in Hundertstel ein" && !told[5],
      JSON.stringify(told));
await page.click("#valueEntry button[value=ok]");
await settled();
check("OK sets the bar to what it told", (await state()).values[0] === 26, JSON.stringify((await state()).values));
await menuItem("Zurücksetzen");
const reset = await state();
check("Zurücksetzen sets the boxes and bars back", JSON.stringify([reset.texts.slice(0, 2), reset.values]) ===
      JSON.stringify([["1", "1"], [100, 0, 100, 0]]), JSON.stringify(reset));
const resetFigure = differing(await figure(), await picture("start"));
check("Zurücksetzen draws the start figure", !resetFigure, resetFigure);

// "Ton" at 3 : 2: the core's tone rendered through an offline audio context, 220 Hz on the
// left and 330 Hz on the right, without a jump where the page's calls meet.
await open();
await type("txtZaehler", "3");
await type("txtNenner", "2");
await menuItem("Ton");
const tone = await page.evaluate(async () => {
  const rate = korvelian.sound.context.sampleRate;
  const offline = new OfflineAudioContext(2, rate, rate);
  const buffer = offline.createBuffer(2, rate, rate);
  const left = buffer.getChannelData(0), right = buffer.getChannelData(1);
  // In pieces as the page's audio asks for them.
  for (let at = 0; at < rate; at += 1000)
    korvelian.toneInto(left.subarray(at, Math.min(rate, at + 1000)), right.subarray(at, Math.min(rate, at + 1000)));
  const source = offline.createBufferSource();
  source.buffer = buffer;
  source.connect(offline.destination);
  source.start();
  const heard = await offline.startRendering();
  const measure = (data) => {
    // Rising zero crossings over the last half second, after any ramp.
    let rising = 0, step = 0, peak = 0;
    for (let k = rate / 2; k < rate; ++k) {
      if (data[k - 1] < 0 && data[k] >= 0) ++rising;
      step = Math.max(step, Math.abs(data[k] - data[k - 1]));
      peak = Math.max(peak, Math.abs(data[k]));
    }
    return { hertz: rising * 2, step, peak };
  };
  return { on: korvelian.core.x.korv_soundOn(), rate, left: measure(heard.getChannelData(0)), right: measure(heard.getChannelData(1)) };
});
check("Ton plays 220 Hz on the left at 3 : 2", tone.on === 1 && Math.abs(tone.left.hertz - 220) <= 2 && tone.left.peak > 0.1,
      JSON.stringify(tone));
check("and 330 Hz on the right", Math.abs(tone.right.hertz - 330) <= 2 && tone.right.peak > 0.1, JSON.stringify(tone.right));
// A sine's largest step from one frame to the next is its peak times 2 pi f / rate.
check("the tone runs on without a jump", tone.left.step <= tone.left.peak * 2 * Math.PI * 220 / tone.rate * 1.05 + 1 / 32768 &&
      tone.right.step <= tone.right.peak * 2 * Math.PI * 330 / tone.rate * 1.05 + 1 / 32768, JSON.stringify(tone));
await menuItem("Ton");
check("Ton again turns it off", await page.evaluate(() => korvelian.core.x.korv_soundOn()) === 0);

// A finger held on the screen opens its menu, as a right click does.
await open();
{
  const box = await (await page.$("#picBildschirm")).boundingBox();
  await page.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
  await new Promise((done) => setTimeout(done, 800));
  await page.touchscreen.touchEnd();
  const shown = await page.evaluate(() => [document.getElementById("menu").hidden, document.querySelector("#menu > div")?.textContent]);
  check("a long press opens the screen's menu", !shown[0] && shown[1] === "Ablesehilfe", JSON.stringify(shown));
  await page.keyboard.press("Escape");
  // Held on a bar's arrow it repeats the step, and no menu comes up in the middle of it; held
  // on the thumb it opens the bar's menu.
  for (const [part, menu] of [[".arrow:last-child", false], [".thumb", true]]) {
    const held = await (await page.$(`#hscPhase ${part}`)).boundingBox();
    await page.touchscreen.touchStart(held.x + held.width / 2, held.y + held.height / 2);
    await new Promise((done) => setTimeout(done, 800));
    await page.touchscreen.touchEnd();
    const opened = await page.evaluate(() => !document.getElementById("menu").hidden);
    check(`a finger held on the phase bar's ${part} ${menu ? "opens" : "opens no"} menu`, opened === menu, String(opened));
    await page.keyboard.press("Escape");
  }
  // A touch on an arrow that the browser cancels ends its repeating, as a release does.
  const arrow = await (await page.$("#hscPhase .arrow:last-child")).boundingBox();
  const touch = await page.createCDPSession();
  await touch.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x: arrow.x + arrow.width / 2, y: arrow.y + arrow.height / 2 }] });
  await touch.send("Input.dispatchTouchEvent", { type: "touchCancel", touchPoints: [] });
  const cancelled = (await state()).values[Bar.PhaseY];
  await new Promise((done) => setTimeout(done, 1000));
  check("a cancelled touch on an arrow stops its repeating", (await state()).values[Bar.PhaseY] === cancelled,
        `${cancelled} then ${(await state()).values[Bar.PhaseY]}`);
  await touch.detach();
}

// F1 shows the desktop's help with its numbers filled in; Escape puts it away. The button and
// F11 put the page on the whole screen and back.
await open();
await page.keyboard.press("F1");
const help = await page.evaluate(() => {
  const d = document.getElementById("help");
  const text = d.querySelector(".text");
  return [d.open, d.querySelector(".title span").textContent, text.querySelector("h1")?.textContent,
          text.innerHTML.includes("{{"), text.textContent.includes("Zahlen von 1 bis 32767") || text.textContent.includes("32767"),
          text.textContent.includes("6,28"), text.querySelectorAll("img").length];
});
check("F1 shows the help", JSON.stringify(help) === JSON.stringify([true, "Hilfe – Korvelian-Figuren", "Korvelian-Figuren", false, true, true, 0]),
      JSON.stringify(help));
await page.keyboard.press("Escape");
check("Escape puts the help away", !(await page.evaluate(() => document.getElementById("help").open)));
// While the information box asks, the window's keys wait, as on the desktop; Escape closes the box.
await page.click("#Command6");
await page.waitForFunction(() => document.getElementById("message").open, { timeout: 10000 }).catch(() => {});
for (const key of ["F1", "F5", "F11"]) await page.keyboard.press(key);
const underBox = await page.evaluate(() => [document.getElementById("help").open, !!korvelian.presenting, !!document.fullscreenElement]);
await page.keyboard.press("Escape");
underBox.push(await page.evaluate(() => document.getElementById("message").open));
check("the window's keys wait while the information box asks", underBox.join() === "false,false,false,false", underBox.join());
await page.click("#fullScreen");
await page.waitForFunction(() => !!document.fullscreenElement, { timeout: 5000 }).catch(() => {});
check("the button puts the page on the whole screen", await page.evaluate(() => !!document.fullscreenElement));
await page.keyboard.press("F11");
await page.waitForFunction(() => !document.fullscreenElement, { timeout: 5000 }).catch(() => {});
check("F11 takes it back", await page.evaluate(() => !document.fullscreenElement));
// The button covers no control and none of the screen, on wide and on 4 : 3 pages.
const viewport = page.viewport();
for (const [width, height] of [[1280, 800], [1024, 768], [800, 600]]) {
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await settled();
  const covered = await page.evaluate(() => {
    const b = document.getElementById("fullScreen").getBoundingClientRect();
    const meets = (r) => b.left < r.right && r.left < b.right && b.top < r.bottom && r.top < b.bottom;
    return [...korvelian.elements.entries()].filter(([, e]) => meets(e.getBoundingClientRect())).map(([n]) => n)
      .concat(b.left < 0 || b.right > innerWidth || b.top < 0 || b.bottom > innerHeight ? ["outside"] : []);
  });
  check(`at ${width} x ${height} the full-screen button covers nothing`, covered.length === 0, covered.join());
  // "Stop"'s box grows with the window, as the desktop's: 14 px at 100 %.
  const tick = await page.evaluate(() => [Math.round(14 * korvelian.zoom), document.querySelector("#Check1 input").getBoundingClientRect().width]);
  check(`at ${width} x ${height} Stop's box at the window's zoom`, Math.abs(tick[0] - tick[1]) < 0.5, tick.join(" against "));
}
await page.setViewport(viewport);

// Refused entries: the hint says why in German, the boxes keep the entry, the figure stays.
await open();
await type("txtZaehler", "3");
await type("txtNenner", "2");
for (const entry of ["abc", "0", "40000"]) {
  // Each key is a change of its own: 4000 is drawn before the last 0 makes 40000.
  await type("txtZaehler", entry.slice(0, -1));
  const before = await figure();
  await page.keyboard.type(entry.slice(-1));
  await settled();
  const shown = await page.evaluate(() => [txtHilfe.value, txtZaehler.value, txtZaehler.classList.contains("refused")]);
  check(`"${entry}" refused with its message`, shown[0] === "Zähler und Nenner: ganze Zahlen von 1 bis 32767 eingeben.",
        shown[0]);
  check(`"${entry}" stays in the box, marked`, shown[1] === entry && shown[2], JSON.stringify(shown));
  check(`"${entry}" leaves the figure`, !differing(await figure(), before), differing(await figure(), before));
}

// The beam runs: the yellow point moves from frame to frame until "Stop" is ticked.
await open();
await page.click("#Command2");
const beam = () => page.evaluate(() => {
  const c = korvelian.screen.overlays;
  const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let x = 0, y = 0, n = 0;
  for (let k = 0; k < data.length; k += 4) {
    if (data[k] > 200 && data[k + 1] > 200 && data[k + 2] < 80 && data[k + 3] > 200) { x += (k / 4) % c.width; y += Math.floor(k / 4 / c.width); ++n; }
  }
  return n ? [x / n, y / n] : null;
});
await page.waitForFunction(() => korvelian.state && korvelian.state.runs === 1, { timeout: 20000 });
// However slow the machine: each place must give way to another sooner or later.
const places = [await beam()];
for (let k = 0; k < 2; ++k) {
  for (let tries = 0; tries < 200 && String(await beam()) === String(places.at(-1)); ++tries)
    await new Promise((done) => setTimeout(done, 50));
  places.push(await beam());
}
check("the beam point is on show", places.every((p) => p !== null), JSON.stringify(places));
check("the beam point moves", new Set(places.map(String)).size === 3, JSON.stringify(places));
// A second start runs nested in a frame of the first, as on the desktop; one tick ends both.
await page.click("#Command2");
const nested = await page.waitForFunction(() => korvelian.state.runs === 2, { timeout: 20000 }).then(() => true, () => false);
check("a second start runs inside the first", nested);
await page.click("#Check1 input");
await page.waitForFunction(() => korvelian.core.suspended.length === 0, { timeout: 20000 }).catch(() => {});
const stopped = await state();
check("Stop ends both runs", stopped.runs === 0 && stopped.check === 1, JSON.stringify(stopped));

// "Zeitverläufe" shows x(t) and y(t) beside the window, their cursor following the beam.
await open();
await settled();
await menuItem("Zeitverläufe");
const panelInk = (which) => page.evaluate((k) => {
  const panel = document.getElementById("timeSignals");
  const c = panel.querySelectorAll("canvas")[k];
  const data = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let n = 0, sum = 0;
  for (let i = 0; i < data.length; i += 4) if (data[i + 3] > 0) { ++n; sum += (i / 4) % c.width; }
  return { hidden: panel.hidden, n, x: n ? Math.round(sum / n) : 0 };
}, which);
const signals = await panelInk(0);
check("Zeitverläufe shows the signals", !signals.hidden && signals.n > 5000, JSON.stringify(signals));
await page.click("#Command2");
await page.waitForFunction(() => korvelian.state && korvelian.state.runs === 1, { timeout: 20000 });
for (let tries = 0; tries < 100 && (await panelInk(1)).n === 0; ++tries) await new Promise((done) => setTimeout(done, 50));
const cursors = [await panelInk(1)];
for (let tries = 0; tries < 100 && (await panelInk(1)).x === cursors[0].x; ++tries)
  await new Promise((done) => setTimeout(done, 50));
cursors.push(await panelInk(1));
check("the time signals' cursor follows the beam", cursors[0].n > 0 && cursors[1].x !== cursors[0].x, JSON.stringify(cursors));
await page.click("#Check1 input");
await page.waitForFunction(() => korvelian.core.suspended.length === 0, { timeout: 20000 }).catch(() => {});
await page.click("#timeSignals .close");
await settled();
const closed = await page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_views())[4].on);
check("the panel's ✕ puts them away, unticked", (await panelInk(0)).hidden && closed === false, String(closed));

// "Nachleuchten" dims the figure and leaves a trace behind the running beam; "Phase wandern
// lassen" moves the y phase bar while it runs. Both off again for the next visit.
await open();
await settled();
const undimmed = await figure();
await menuItem("Nachleuchten");
check("Nachleuchten dims the figure", differing(await figure(), undimmed) !== "", "the figure is unchanged");
await menuItem("Phase wandern lassen");
const glowBefore = await lit("overlays");
await page.click("#Command2");
const drifted = await page.waitForFunction(() => korvelian.state && korvelian.state.values[3] > 3, { timeout: 20000 })
  .then(() => true, () => false);
check("Phase wandern lassen moves the y phase while the beam runs", drifted, JSON.stringify((await state()).values));
const glowAfter = await lit("overlays");
check("the beam leaves a trace behind it", glowAfter > glowBefore + 50, `${glowBefore} then ${glowAfter}`);
await page.click("#Check1 input");
await page.waitForFunction(() => korvelian.core.suspended.length === 0, { timeout: 20000 }).catch(() => {});
await menuItem("Nachleuchten");
await menuItem("Phase wandern lassen");
const views = await page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_views()).map((v) => v.on));
check("both views off again", views.join() === "false,false,false,false,false,false,false,false,false", views.join());

// "Programm beenden": the page says the program has ended and nothing of it answers any more,
// as the desktop's window is closed then: no help, no presentation, no full screen, no bar.
await open();
await page.click("#Command5");
await page.waitForFunction(() => !document.getElementById("ended").hidden, { timeout: 10000 }).catch(() => {});
await page.focus("#hscAmp1");
for (const key of ["F1", "F5", "F11", "ArrowRight"]) await page.keyboard.press(key);
await page.click("#fullScreen").catch(() => {});
await new Promise((done) => setTimeout(done, 300));
const afterEnd = await page.evaluate(() => [document.getElementById("ended").hidden, document.getElementById("help").open,
                                            !!korvelian.presenting, !!document.fullscreenElement, korvelian.bars[0].value]);
check("after Programm beenden nothing answers", afterEnd.join() === "false,false,false,false,100", afterEnd.join());

await (await import("./browser/lesson.mjs")).lesson({ page, check, open, openLink, settled, figure, picture, differing, menuItem, lit, pictures });
await (await import("./browser/plate.mjs")).default({ page, check, open, settled });
await (await import("./browser/svg.mjs")).default({ page, check, settled, pagePath, pictures });
await (await import("./browser/printsheet.mjs")).default({ page, check, open });
await (await import("./browser/touch.mjs")).default({ page, check, open, settled });
await (await import("./browser/offline.mjs")).default({ browser, check, pagePath });
await (await import("./browser/drawing.mjs")).default({ page, check, open, settled, figure, picture, differing, type, setBar, Bar });
await (await import("./browser/frames.mjs")).default({ page, check, open, settled });
await (await import("./browser/zoomedreadings.mjs")).default({ page, check, openLink, settled, menuItem });
await (await import("./browser/steps.mjs")).default({ page, check });
await (await import("./browser/shortcuts.mjs")).default({ browser, page, check, open, openLink, settled, menuItem, pagePath });

await (await import("./browser/presentation.mjs")).presentation({ page, check, openLink, settled, menuItem, pictures });
check("no script error", errors.length === 0, errors.join("; "));
await browser.close();
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
