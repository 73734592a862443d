// The lesson's features in the page: "Wie im Lehrbuch" and "Feine Kurve" to the pixel against
// the desktop's export, a quiz series equal to the one the desktop prints for the same seed, a
// judged answer, a lesson file opened and stepped, a hostile one refused with its line.
import fs from "node:fs";
import path from "node:path";

export async function lesson(helpers) {
  const { page, check, open, openLink, settled, figure, picture, differing, menuItem, pictures } = helpers;
  for (const [fragment, name] of [["ratio=2:1&phase-y=90&textbook", "textbook-2-1-90"], ["ratio=10:1&fine", "fine-10-1"]]) {
    await openLink(fragment);
    const d = differing(await figure(), await picture(name));
    check(`#${fragment} as the desktop exports it`, !d, d);
  }
  // From the screen's menu (drawn by the page's worker then), remembered, and written into the
  // link.
  await openLink("ratio=10:1");
  await page.waitForFunction(() => korvelian.workerReady, { timeout: 20000 });
  await menuItem("Feine Kurve");
  const fromMenu = differing(await figure(), await picture("fine-10-1"));
  check("Feine Kurve from the menu as the desktop draws it", !fromMenu, fromMenu);
  const link = await page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_link()).fragment);
  check("Feine Kurve in the link", link === "ratio=10:1&fine", link);
  await open();
  await settled();
  const remembered = await page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_views()).find((v) => v.caption === "Feine Kurve").on);
  check("Feine Kurve remembered for the next visit", remembered === true, String(remembered));
  await menuItem("Feine Kurve");

  // The same seed, the same series as `korvelian --quiz --seed 7 --quiz-series 5`.
  const desktop = fs.readFileSync(path.join(pictures, "quiz-7.txt"), "utf8").trim().split("\n");
  await openLink("quiz&seed=7&quiz-range=4");
  const quizNumber = (n) => page.waitForFunction((k) => korvelian.quiz && korvelian.quiz.number === k, { timeout: 10000 }, n);
  await quizNumber(1);
  const series = [];
  for (let n = 1; n <= desktop.length; ++n) {
    if (n > 1) { await page.click("#quiz .next"); await quizNumber(n); }
    await settled();
    const shown = await page.evaluate(() => [korvelian.quiz.line, JSON.parse(korvelian.core.string(korvelian.core.x.korv_state())).texts.slice(0, 2).join(" : ")]);
    series.push(shown[0]);
    check(`figure ${n} of the series on the screen`, shown[0].includes(": " + shown[1] + ","), JSON.stringify(shown));
  }
  check("the quiz's series is the desktop's", series.join("\n") === desktop.join("\n"), series.join(" | ") + " against " + desktop.join(" | "));
  const covered = await page.evaluate(() => [getComputedStyle(txtZaehler).color, document.getElementById("quiz").hidden]);
  const overlap = await page.evaluate(() => {
    const a = document.getElementById("quiz").getBoundingClientRect(), b = document.getElementById("picBildschirm").getBoundingClientRect();
    return Math.max(0, Math.min(a.right, b.right) - Math.max(a.left, b.left)) * Math.max(0, Math.min(a.bottom, b.bottom) - Math.max(a.top, b.top));
  });
  check("the quiz's panel leaves the screen free", overlap === 0, String(overlap));
  check("the boxes' contents are hidden while the quiz asks", covered[0] === "rgba(0, 0, 0, 0)" && !covered[1], JSON.stringify(covered));
  // Nothing that leaves the page gives the asked figure away.
  const withheld = await page.evaluate(() => [savedPicture(false).name, saveLesson(), appendStep()]);
  await page.click("#picBildschirm", { button: "right" });
  const greyed = (await page.$$eval("#menu > .disabled", (all) => all.map((d) => d.textContent))).join("|");
  await page.keyboard.press("Escape");
  check("while the quiz asks, no file names or keeps its figure", JSON.stringify(withheld) === '["korvelian.png",null,null]' &&
        greyed === "Einstellungen speichern…|Als Schritt anhängen", JSON.stringify(withheld) + " " + greyed);
  // The right ratio written unreduced is counted right, with the German explanation.
  const [z, n] = series.at(-1).match(/: (\d+) : (\d+),/).slice(1).map(Number);
  await page.type("#quiz input.ratio", `${2 * z} : ${2 * n}`);
  await page.click("#quiz .check");
  const judged = await page.evaluate(() => [korvelian.quiz.verdict, document.querySelector("#quiz .explanation").textContent,
                                            document.querySelector("#quiz .score").textContent]);
  check("an unreduced answer is judged right with its explanation", judged[0] === 1 && judged[1].length > 20 &&
        judged[2] === "1 von 1 richtig", JSON.stringify(judged));
  await page.click("#quiz .close");
  check("closing the quiz shows the boxes again", await page.evaluate(() => getComputedStyle(txtZaehler).color) === "rgb(0, 0, 0)");

  // A lesson of two steps opened through the file input, stepped with Page Down / Page Up.
  const lessonFile = async (name, text) => {
    const file = path.join(pictures, name);
    fs.writeFileSync(file, text);
    await open();
    await settled();
    const [chooser] = await Promise.all([page.waitForFileChooser(), menuItem("Einstellungen öffnen…")]);
    await chooser.accept([file]);
    await page.waitForFunction(() => korvelian.lesson || document.getElementById("message").open, { timeout: 10000 });
    await settled();
  };
  const controls = async () => { const s = JSON.parse(await page.evaluate(() => korvelian.core.string(korvelian.core.x.korv_state()))); return [s.texts.slice(0, 2).join(":"), ...s.values].join(" "); };
  await lessonFile("stunde.korvelian", "Korvelian-Einstellungen 1\n[Schräg]\nratio = 3:2\nphase-y = 45\n[Gerade]\nratio = 1 : 1\nphase-y = 0\ngraticule = ja\nEnde\n");
  check("the lesson's first step is on the screen", await controls() === "3:2 100 0 100 79" &&
        !differing(await figure(), await picture("ratio-3-2-45")), await controls());
  await page.keyboard.press("PageDown");
  await settled();
  const second = [await controls(), await page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_views())[2].on)];
  check("Page Down shows the next step with its views", second.join() === "1:1 100 0 100 0,true", second.join());
  await page.keyboard.press("PageUp");
  await settled();
  check("Page Up the step before", await controls() === "3:2 100 0 100 79", await controls());
  const saved = await page.evaluate(() => saveLesson());
  check("Einstellungen speichern… writes the lesson as the desktop does", saved.startsWith("Korvelian-Einstellungen 1\n") &&
        saved.includes("\n[Schräg]\nratio = 3:2\n") && saved.includes("phase-y = 45,3\n") && saved.endsWith("Ende\n"), saved);

  // A hostile file: refused naming its line, nothing of it applied, nothing of it markup.
  await lessonFile("feindlich.korvelian", "Korvelian-Einstellungen 1\nratio = 5:4\nphase-y = <img src=x onerror=alert(1)>\nEnde\n");
  const refusal = await page.evaluate(() => [document.getElementById("message").open,
                                             document.querySelector("#message .prompt").textContent, document.querySelectorAll("img").length]);
  check("a hostile lesson file is refused naming its line", refusal[0] && refusal[1].startsWith("Zeile 3: phase-y erwartet") &&
        refusal[1].endsWith("Nichts davon wurde übernommen.") && refusal[2] === 0, JSON.stringify(refusal));
  check("nothing of a refused file is applied", await controls() === "1:1 100 0 100 0", await controls());
  await page.keyboard.press("Escape");
  await prediction(helpers);
}

// "Vorhersage": the figure hidden, the running beam draws it from nothing; "Auflösen" shows it.
// 32 : 31 closes only after 31 turns, so the beam is still drawing while it is looked at.
async function prediction({ page, check, openLink, settled, menuItem, lit }) {
  await openLink("ratio=32:31");
  const shown = await lit("figure");
  await menuItem("Der Strahl zeichnet die Figur");
  const hidden = await lit("figure");
  check("Vorhersage hides the figure, the axes stay", hidden > 0 && hidden < shown / 4, `${shown} then ${hidden}`);
  const before = await lit("overlays");
  await page.click("#Command2");
  for (let tries = 0; tries < 200 && (await lit("overlays")) < before + 400; ++tries) await new Promise((done) => setTimeout(done, 50));
  check("the running beam draws the figure from nothing", (await lit("overlays")) >= before + 400, `${before} then ${await lit("overlays")}`);
  await page.click("#Check1 input");
  await page.waitForFunction(() => korvelian.core.suspended.length === 0, { timeout: 20000 }).catch(() => {});
  await page.keyboard.down("Control");
  await page.keyboard.press("Enter");
  await page.keyboard.up("Control");
  await settled();
  check("Strg+Eingabe (Auflösen) shows the figure", await lit("figure") === shown, `${shown} then ${await lit("figure")}`);
  await menuItem("Ohne Vorhersage");
}
