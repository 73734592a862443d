// What a link copied carries, and the German line where the browser lacks something.
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
