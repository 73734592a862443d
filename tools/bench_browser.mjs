// The browser edition's speed in headless Chromium, for make bench (never a test): the page
// opened from file:// to its first figure, the redraw of K = 32767 dense and of the worst
// figure (179 : 183 at amplitudes 2) at the fitting zoom and in the two shares of it that two
// copies of the core draw beside the page, the time until the worst is on show drawn beside
// the page and the longest the page stood still meanwhile, and "Schwingung"'s frames a second
// and processor time at 100 % and on a full HD screen, beside an empty page's animation of one
// dot (the floor the browser itself sets). Prints the machine's load before and after. Given another page (main's,
// say), the worst figure beside the page and the animation's rows take turns between the two
// pages, the animation's with the floor beside each turn, so that both see the same load; the
// medians follow.
// Usage: node tools/bench_browser.mjs build/web/korvelian.html [tries] [other.html]
import fs from "node:fs";
import path from "node:path";
import puppeteer from "puppeteer-core";

const [pagePath, triesText = "5", otherPath] = process.argv.slice(2);
const tries = Number(triesText);
const url = "file://" + path.resolve(pagePath);
const otherUrl = otherPath && "file://" + path.resolve(otherPath);
const load = () => fs.readFileSync("/proc/loadavg", "utf8").split(" ").slice(0, 3).join(" ");
const sorted = (list) => [...list].sort((a, b) => a - b);
const summary = (list, unit = "ms") => {
  const s = sorted(list);
  return `best ${s[0].toFixed(1)} ${unit}, median ${s[Math.floor(s.length / 2)].toFixed(1)} ${unit}`;
};
// Processor time of every Chromium process, in seconds, from /proc.
function browserSeconds(pid) {
  let total = 0;
  const children = (p) => {
    try {
      return fs.readFileSync(`/proc/${p}/task/${p}/children`, "utf8").trim().split(/\s+/).filter(Boolean);
    } catch {
      return [];
    }
  };
  const visit = (p) => {
    try {
      const fields = fs.readFileSync(`/proc/${p}/stat`, "utf8").split(") ")[1].split(" ");
      total += (Number(fields[11]) + Number(fields[12])) / 100;
    } catch {
      return;
    }
    for (const child of children(p)) visit(child);
  };
  visit(pid);
  return total;
}

console.log(`load before: ${load()}`);
console.log(`korvelian.html: ${fs.statSync(pagePath).size} bytes (goal: at most 2 MB)`);
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--no-sandbox", "--headless=new", "--allow-file-access-from-files"],
});
const pid = browser.process().pid;
const page = await browser.newPage();
async function open(width, height, from = url) {
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await page.goto(from);
  await page.waitForFunction(() => window.korvelian && window.korvelian.firstFigure > 0, { timeout: 30000 });
  return page.evaluate(() => korvelian.firstFigure);
}

const first = [];
for (let k = 0; k < tries; ++k) first.push(await open(658, 488));
console.log(`opened from file:// to the first figure: ${summary(first)} (goal: at most 300 ms)`);

// The figure's raster on the page's thread, as the worker runs it, at the fitting zoom.
async function redraw(fragment) {
  await page.evaluate((f) => {
    const core = korvelian.core;
    const bytes = core.encoder.encode(f);
    const pointer = core.x.korv_alloc(bytes.length + 1);
    core.bytes.set(bytes, pointer);
    core.x.korv_applyLink(pointer, bytes.length);
    core.x.korv_free(pointer);
  }, fragment);
  const times = await page.evaluate((n) => {
    const figure = korvelian.screen.figure;
    const out = [];
    for (let k = 0; k < n; ++k) {
      const start = performance.now();
      korvelian.core.x.korv_renderScreen(figure.width, figure.height, korvelian.zoom, 1);
      out.push(performance.now() - start);
    }
    return out;
  }, tries);
  return times;
}
await open(658, 488);
console.log(`redraw K = 32767 dense, 100 %: ${summary(await redraw("ratio=32767:1"))} (goal: at most 16 ms)`);
console.log(`redraw 179 : 183 at amplitudes 2, 100 %: ${summary(await redraw("ratio=179:183&amplitude-x=2&amplitude-y=2"))} ` +
            "(goal: at most 100 ms)");

// The worst figure's shares, as each copy of the core beside the page draws one where the
// machine's threads allow two (a page without shares has no such row).
const shares = await page.evaluate((n) => {
  const x = korvelian.core.x;
  if (!x.korv_drawShare) return null;
  const figure = korvelian.screen.figure;
  const pointer = x.korv_screenOps();
  const count = new Float64Array(x.memory.buffer, pointer, 1)[0];
  const ops = x.korv_alloc((2 + count * 17) * 8);
  new Uint8Array(x.memory.buffer, ops, (2 + count * 17) * 8).set(new Uint8Array(x.memory.buffer, pointer, (2 + count * 17) * 8));
  const out = [[], []];
  for (let k = 0; k < n; ++k) {
    for (const lane of [0, 1]) {
      const start = performance.now();
      x.korv_drawShare(ops, figure.width, figure.height, korvelian.zoom, 1, lane, 2);
      out[lane].push(performance.now() - start);
    }
  }
  x.korv_free(ops);
  return out;
}, tries);
if (shares) console.log(`179 : 183 at amplitudes 2 in two shares, 100 %: the first ${summary(shares[0])}, the second ${summary(shares[1])}`);

// The worst figure drawn beside the page: from the change, made once every copy of the core has
// started (one made before waits for them), until the figure is on show, and the longest gap
// between the page's frames meanwhile. Given another page, the two take turns.
async function beside(from) {
  await open(658, 488, from);
  await page.waitForFunction(() => korvelian.workerReady && (korvelian.helpers ?? []).every((h) => h.ready),
                             { timeout: 30000 });
  await new Promise((done) => setTimeout(done, 300));
  return page.evaluate(() => new Promise((done) => {
    let last = performance.now(), longest = 0, started = 0, id = 0;
    // On show at the first frame after the page put up the newest drawing asked for since the
    // change (the request on show where the page tells it, else the last one handed back).
    const shown = () => (korvelian.shown ? korvelian.shown.id === korvelian.renderId : !korvelian.rendering);
    const tick = (now) => {
      longest = Math.max(longest, now - last);
      last = now;
      if (started && korvelian.renderId > id && shown()) done({ longest, drawn: now - started });
      else requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
    setTimeout(() => {
      started = performance.now();
      id = korvelian.renderId;
      korvelian.core.call("korv_setValue", 0, 200);
      korvelian.core.call("korv_setValue", 2, 200);
      typed(0, "179");
      typed(1, "183");
    }, 200);
  }));
}
const besideRows = { page: [], other: [] };
for (let k = 0; k < tries; ++k) {
  for (const which of !otherUrl ? ["page"] : k % 2 ? ["other", "page"] : ["page", "other"])
    besideRows[which].push(await beside(which === "page" ? url : otherUrl));
}
for (const which of otherUrl ? ["page", "other"] : ["page"]) {
  const rows = besideRows[which];
  console.log(`179 : 183 at amplitudes 2 drawn beside the page${otherUrl ? ", " + (which === "page" ? pagePath : otherPath) : ""}: ` +
              `until shown ${summary(rows.map((r) => r.drawn))} (goal: at most 100 ms); the page's longest frame ` +
              `meanwhile ${summary(rows.map((r) => r.longest))}`);
}

// Frames a second on the page and processor time of every Chromium process over three seconds.
async function frameRate() {
  const before = browserSeconds(pid);
  const wall = performance.now();
  const frames = await page.evaluate(() => new Promise((done) => {
    let count = 0;
    const start = performance.now();
    const tick = (now) => { ++count; if (now - start < 3000) requestAnimationFrame(tick); else done(count / ((now - start) / 1000)); };
    requestAnimationFrame(tick);
  }));
  const cpu = (browserSeconds(pid) - before) / ((performance.now() - wall) / 1000);
  return { frames, cpu, text: `${frames.toFixed(0)} frames a second, the browser busy ${(cpu * 100).toFixed(0)} % of a core` };
}

// The floor beneath the animation: an empty page whose requestAnimationFrame loop moves one
// small element by a transform. What it costs is the browser's own price of a frame here.
async function floor(width, height, label) {
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await page.goto("about:blank");
  await page.setContent("<div id=dot style='position:absolute;left:0;top:0;width:8px;height:8px;" +
                        "border-radius:4px;background:#ff0;will-change:transform'></div>");
  await page.evaluate(() => {
    const dot = document.getElementById("dot");
    const tick = (now) => {
      dot.style.transform = `translate(${200 + 150 * Math.sin(now / 500)}px, ${200 + 150 * Math.cos(now / 700)}px)`;
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  });
  await new Promise((done) => setTimeout(done, 500));
  const rate = await frameRate();
  console.log(`floor, an empty page moving one dot ${label}: ${rate.text}`);
  return rate;
}

// "Schwingung" for three seconds: frames a second on the page, processor time of the browser.
async function animation(width, height, label, from = url) {
  await open(width, height, from);
  await page.click("#Command2");
  await page.waitForFunction(() => korvelian.state && korvelian.state.runs === 1, { timeout: 20000 });
  await new Promise((done) => setTimeout(done, 500));
  const rate = await frameRate();
  await page.click("#Check1 input");
  console.log(`Schwingung ${label}: ${rate.text} (goal: 60 frames a second at most 10 %)`);
  return rate;
}
const median = (list) => sorted(list)[Math.floor(list.length / 2)];
const percent = (rates) => `median ${(median(rates.map((r) => r.cpu)) * 100).toFixed(1)} % ` +
  `(${rates.map((r) => (r.cpu * 100).toFixed(0)).join(" ")}), ${median(rates.map((r) => r.frames)).toFixed(0)} frames a second`;
if (!otherUrl) {
  await floor(658, 488, "at 100 %");
  await floor(1920, 1080, "full screen 1920 x 1080");
  await animation(658, 488, "at 100 %");
  await animation(1920, 1080, "full screen 1920 x 1080");
} else {
  for (const [width, height, label] of [[658, 488, "at 100 %"], [1920, 1080, "full screen 1920 x 1080"]]) {
    const rates = { floor: [], page: [], other: [] };
    for (let k = 0; k < tries; ++k) {
      rates.floor.push(await floor(width, height, label));
      // Each page first in every other turn.
      for (const which of k % 2 ? ["other", "page"] : ["page", "other"])
        rates[which].push(await animation(width, height, `${label}, ${which === "page" ? pagePath : otherPath}`,
                                          which === "page" ? url : otherUrl));
    }
    console.log(`${label}, ${tries} turns: floor ${percent(rates.floor)}; ${pagePath} ${percent(rates.page)}; ` +
                `${otherPath} ${percent(rates.other)}`);
  }
}
await browser.close();
console.log(`load after: ${load()}`);
