// What a link copied carries, the German line where the browser lacks something, the
// desktop's shortcuts and the menus by keyboard.
import path from "node:path";

export default async function shortcuts({ browser, page, check, open, openLink, settled, menuItem, pagePath }) {
  // A link opens what is on show: the drift's time and a running beam with its speed too.
  // (Opened without waiting for a settled page: the beam does not settle.)
  await page.goto("about:blank");
  await page.goto("file://" + path.resolve(pagePath) + "#ratio=3:2&drift-seconds=40&beam&speed=0,05");
  const link = () => page.evaluate(() => korvelian.core.json(korvelian.core.x.korv_link()).fragment);
  const wanted = "ratio=3:2&drift-seconds=40&beam&speed=0,05";
  await page.waitForFunction((w) => korvelian.core.json(korvelian.core.x.korv_link()).fragment === w, { timeout: 10000 }, wanted)
    .catch(() => {});
  check("the link carries the drift's time and the running beam", await link() === wanted, await link());
  // While the quiz asks, the link opens its series, not the figure asked.
  await openLink("quiz&seed=7&quiz-range=6&quiz-tolerance=20");
  await page.waitForFunction(() => korvelian.quiz && korvelian.quiz.number === 1, { timeout: 10000 });
  await menuItem("Link kopieren");
  const hash = await page.evaluate(() => location.hash);
  check("Link kopieren while the quiz asks gives its series", hash === "#quiz&seed=7&quiz-range=6&quiz-tolerance=20", hash);

  // The desktop's keys, each doing what its menu entry does; a text box keeps Ctrl+C with text
  // selected in it.
  await open();
  await settled();
  await page.evaluate(() => {
    window.called = [];
    for (const name of ["copyPicture", "savePicture", "openLesson", "saveLesson", "toggleSound"])
      window[name] = () => window.called.push(name);
  });
  const press = async (keys) => {
    for (const key of keys) await page.keyboard.down(key);
    for (const key of [...keys].reverse()) await page.keyboard.up(key);
    await settled();
  };
  await page.focus("#txtZaehler");
  await page.evaluate(() => txtZaehler.select());
  await press(["Control", "c"]);
  for (const [keys, name] of [[["Control", "c"], "copyPicture"], [["Control", "s"], "savePicture"],
                              [["Control", "o"], "openLesson"], [["Control", "Shift", "S"], "saveLesson"],
                              [["Control", "t"], "toggleSound"]]) {
    await page.evaluate(() => document.activeElement.blur());
    await press(keys);
    const called = await page.evaluate(() => window.called.splice(0).join());
    check(`${keys.join("+")} is ${name}`, called === name, called);
  }
  await press(["Control", "Shift", "T"]);
  await press(["Control", "Shift", "V"]);
  const shown = await page.evaluate(() => [korvelian.core.json(korvelian.core.x.korv_views())[4].on,
                                           !document.getElementById("quiz").hidden]);
  check("Ctrl+Shift+T shows the time signals, Ctrl+Shift+V the quiz", shown.join() === "true,true", shown.join());

  // A submenu opens with → and Enter; ← and Escape go back to its menu only.
  await page.click("#picBildschirm", { button: "right" });
  const menuAt = () => page.evaluate(() => [document.getElementById("menu").hidden,
                                            document.getElementById("menu").getAttribute("aria-label"),
                                            document.activeElement.textContent].join("|"));
  for (let tries = 0; tries < 30 && !(await menuAt()).endsWith("|Wandergeschwindigkeit"); ++tries)
    await page.keyboard.press("ArrowDown");
  const steps = [];
  for (const key of ["ArrowRight", "ArrowLeft", "Enter", "Escape", "Escape"]) {
    await page.keyboard.press(key);
    steps.push((await menuAt()).split("|").slice(0, 2).join(" "));
  }
  check("a submenu by keyboard, and back", steps.join(", ") === "false Wandergeschwindigkeit, false Bildschirm, " +
        "false Wandergeschwindigkeit, false Bildschirm, true Bildschirm", steps.join(", "));

  await press(["Control", "q"]);
  check("Ctrl+Q ends the program", await page.evaluate(() => !document.getElementById("ended").hidden));

  // Without DecompressionStream: said in German, and the line closed by keyboard.
  const bare = await browser.newPage();
  await bare.evaluateOnNewDocument(() => { delete window.DecompressionStream; });
  await bare.goto("file://" + path.resolve(pagePath));
  await bare.waitForFunction(() => !document.getElementById("notice").hidden, { timeout: 20000 }).catch(() => {});
  const said = await bare.evaluate(() => document.getElementById("notice").textContent);
  check("a missing DecompressionStream is said in German", said ===
        "Diesem Browser fehlt das Entpacken gepackter Daten (DecompressionStream); ohne es läuft die Simulation nicht.", said);
  await bare.keyboard.press("Tab");
  await bare.keyboard.press("Enter");
  const closed = await bare.evaluate(() => [document.getElementById("notice").hidden,
                                            document.getElementById("noticeClose") && getComputedStyle(document.getElementById("noticeClose")).display]);
  check("Schließen hides the line", closed.join() === "true,none", closed.join());
  await bare.close();
}
