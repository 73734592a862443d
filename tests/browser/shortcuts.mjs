// What a link copied carries.
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
}
