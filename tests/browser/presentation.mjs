// "Präsentation" at a projector's and a tablet's page size: the margin beside the window and
// over none of its controls, every letter in it at least 2.5 % of the page high, the page as it
// was after leaving. Then the quiz's range chosen in its panel, "Als Schritt anhängen", and a
// link's beam and speed.
import fs from "node:fs";
import path from "node:path";

const layout = (page) => page.evaluate(() => JSON.stringify([...document.querySelectorAll("#form, #form > *")].map((e) => {
  const r = e.getBoundingClientRect();
  return [e.id, r.left, r.top, r.width, r.height];
})));

async function presenting(page, check, settled, size) {
  const before = await layout(page);
  await page.keyboard.press("F5");
  await settled();
  const seen = await page.evaluate(() => {
    const margin = document.getElementById("presentation").getBoundingClientRect();
    const form = document.getElementById("form").getBoundingClientRect();
    const over = [...document.querySelectorAll("#form > *")].filter((e) => {
      const r = e.getBoundingClientRect();
      return r.width > 0 && r.right > margin.left + 0.5 && r.left < margin.right && r.bottom > margin.top && r.top < margin.bottom;
    }).map((e) => e.id);
    // Every font the margin's scene writes in, measured as the page's painter measures it.
    const fonts = korvelian.presentationScene.flatMap((a) => a[0] === "font" ? [a[1]] : a[0] === "richText" ? [a[4]] : []);
    const caps = fonts.map((f) => Painter.metrics.capHeight(f));
    const rich = korvelian.presentationScene.filter((a) => a[0] === "richText");
    // Title, formula, legend: the roles the core gives them.
    const texts = [...new Set(rich.map((a) => a[8]))].sort().join() + " " + rich[0]?.[3];
    return { margin: [margin.left, margin.width, margin.height], form: [form.left, form.right, form.height], over,
             least: Math.min(...caps), fonts: fonts.length, texts, height: innerHeight };
  });
  const name = `Präsentation at ${size.join(" x ")}`;
  // On 4 : 3 the margin keeps its share of the width, and the window leaves height free.
  check(`${name}: the window at the full height at the left, the margin beside it`, seen.form[0] === 0 &&
        (Math.abs(seen.form[2] - seen.height) < 1.5 || seen.form[1] <= 0.761 * size[0]) && seen.margin[0] >= seen.form[1] - 0.5 &&
        seen.margin[1] >= 0.2 * size[0] && seen.margin[2] === seen.height, JSON.stringify(seen));
  check(`${name}: the margin over none of the controls`, seen.over.length === 0, seen.over.join());
  check(`${name}: step, formulas and legend in the margin`, /^0,2,(6,)?7 <div>Schritt 1 von 1: Schritt 1<\/div>/.test(seen.texts), seen.texts.slice(0, 300));
  check(`${name}: every letter's cap height at least 2.5 % of the page`, seen.fonts > 2 &&
        seen.least >= 0.025 * seen.height - 0.01, `${seen.least} against ${0.025 * seen.height}`);
  // Leaving as the browser's Escape leaves full screen, or Escape where the page only filled
  // the window.
  if (await page.evaluate(() => !!document.fullscreenElement)) await page.evaluate(() => document.exitFullscreen());
  else await page.keyboard.press("Escape");
  await settled();
  const after = await layout(page);
  check(`${name}: leaving restores the page`, after === before &&
        await page.evaluate(() => document.getElementById("presentation").hidden), `${before} then ${after}`);
}

export async function presentation({ page, check, openLink, settled, menuItem, pictures }) {
  for (const size of [[1920, 1080], [1024, 768]]) {
    await page.setViewport({ width: size[0], height: size[1], deviceScaleFactor: 1 });
    await openLink("ratio=3:2&phase-y=45&time-signals&reading-aid");
    await menuItem("Als Schritt anhängen");
    await presenting(page, check, settled, size);
  }
  await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: 1 });
  // Where the browser refuses full screen the page fills its window: Escape there closes the
  // screen's menu or the quiz opened over it, and only an Escape of its own ends presenting.
  await openLink("ratio=3:2");
  await page.evaluate(() => { document.documentElement.requestFullscreen = () => Promise.reject(new Error("refused")); });
  await page.keyboard.press("F5");
  await settled();
  await page.focus("#picBildschirm");
  await page.keyboard.down("Shift");
  await page.keyboard.press("F10");
  await page.keyboard.up("Shift");
  await page.keyboard.press("Escape");
  await page.evaluate(() => startQuiz({}, 7));
  await settled();
  await page.focus("#quiz input.ratio");
  await page.keyboard.press("Escape");
  const kept = await page.evaluate(() => [document.getElementById("menu").hidden, document.getElementById("quiz").hidden, !!korvelian.presenting]);
  await page.keyboard.press("Escape");
  kept.push(await page.evaluate(() => !!korvelian.presenting));
  check("Escape closing a menu or the quiz keeps the presentation, one of its own ends it", kept.join() === "true,true,true,false", kept.join());

  // The range chosen in the panel: series 7 up to 4 : 4 is the desktop's series 7.
  const desktop = fs.readFileSync(path.join(pictures, "quiz-7.txt"), "utf8").trim().split("\n");
  await openLink("quiz&seed=3&quiz-range=6");
  const chosen = () => page.evaluate(() => [...document.querySelectorAll("#quiz .range select, #quiz .range input")]
    .map((e) => e.type === "checkbox" ? e.checked : e.value).join());
  check("the quiz's range shows the link's series", await chosen() === "6,false,false,10,3", await chosen());
  await page.select("#quiz select.largest", "4");
  const seed = async (text) => {
    await page.$eval("#quiz input.seed", (e) => { e.value = ""; });
    await page.type("#quiz input.seed", text);
    await page.click("#quiz .restart");
    await settled();
    return page.evaluate(() => [korvelian.quiz.number, korvelian.quiz.line, document.querySelector("#quiz .explanation").textContent,
                                [...document.querySelectorAll("#quiz .range select, #quiz .range input")].map((e) => e.value).join()]);
  };
  const series = await seed("7");
  check("Neue Reihe with number 7 asks the desktop's series 7", series[1] === desktop[0], JSON.stringify(series) + " against " + desktop[0]);
  await page.click("#quiz .next");
  await settled();
  const refused = await seed("sieben");
  check("a series number that is none is refused in German, nothing restarted", refused[0] === 2 &&
        refused[2].startsWith("Reihe Nr. erwartet eine ganze Zahl"), JSON.stringify(refused));
  await page.keyboard.press("F5");
  await settled();
  check("the range hidden while presenting", await page.evaluate(() => document.querySelector("#quiz .range").offsetParent === null));
  // In the margin at its foot, over no control, its capitals as large as the margin's.
  const quizSeen = await page.evaluate(() => {
    const quiz = document.getElementById("quiz").getBoundingClientRect();
    const form = document.getElementById("form").getBoundingClientRect();
    const context = document.createElement("canvas").getContext("2d");
    context.font = getComputedStyle(document.querySelector("#quiz .question")).font;
    return { cap: context.measureText("H").actualBoundingBoxAscent, height: innerHeight,
             left: quiz.left, formRight: form.right, bottom: quiz.bottom };
  });
  check("the quiz while presenting: in the margin's foot, capitals for the room", quizSeen.left >= quizSeen.formRight - 0.5 &&
        Math.abs(quizSeen.bottom - quizSeen.height) < 1.5 && quizSeen.cap >= 0.025 * quizSeen.height, JSON.stringify(quizSeen));
  await page.keyboard.press("F5");
  await page.click("#quiz .close");

  // Two steps appended, the first shown again with Page Up; a link's beam at its speed.
  await openLink("ratio=3:2");
  await menuItem("Als Schritt anhängen");
  await page.$eval("#txtZaehler", (e) => e.select());
  await page.type("#txtZaehler", "5");
  await page.keyboard.press("Enter");
  await settled();
  await menuItem("Als Schritt anhängen");
  const appended = await page.evaluate(() => [korvelian.lesson.heading, document.getElementById("notice").textContent]);
  check("Als Schritt anhängen adds the second step", appended.join() === "Schritt 2 von 2: Schritt 2,Schritt 2 von 2: Schritt 2", appended.join());
  await page.click("#picBildschirm");
  await page.keyboard.press("PageUp");
  await settled();
  const first = await page.evaluate(() => JSON.parse(korvelian.core.string(korvelian.core.x.korv_state())).texts.slice(0, 2).join(":"));
  check("Page Up shows the appended first step", first === "3:2", first);
  // A running beam keeps the core busy: the link opened without waiting for it to settle.
  const base = page.url().split("#")[0];
  await page.goto("about:blank");
  await page.goto(base + "#ratio=3:2&beam=ja&speed=0,05");
  await page.waitForFunction(() => window.korvelian && korvelian.firstFigure > 0 && korvelian.core.json(korvelian.core.x.korv_state()).runs,
                             { timeout: 20000 }).catch(() => {});
  // Its speed once it has moved: a second of frames at most.
  await page.waitForFunction(() => korvelian.core.json(korvelian.core.x.korv_saveLesson()).text.includes("speed = 0,05"),
                             { timeout: 15000 }).catch(() => {});
  const saved = await page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_saveLesson()).text);
  check("a link's beam runs at its speed", /\nbeam = ja\n/.test(saved) && /\nspeed = 0,05\n/.test(saved), saved);
  await page.click("#Check1 input");
  await page.waitForFunction(() => korvelian.core.suspended.length === 0, { timeout: 20000 }).catch(() => {});
}
