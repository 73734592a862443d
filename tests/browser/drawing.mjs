// The figure's drawing: its sines with the browser's fused multiply-add where it has one (this
// Chromium does), and a figure asked for while the worker starts waiting for the worker rather
// than taking the page's thread.
export default async function drawing({ page, check, open, settled, figure, picture, differing, type, setBar, Bar }) {
  await open();
  await page.waitForFunction(() => korvelian.workerReady, { timeout: 20000 });
  check("the sines with the browser's fused multiply-add", await page.evaluate(() => korvelian.core.fusedSines) === true);
  const before = await figure();
  await page.evaluate(() => { korvelian.workerReady = false; });
  await setBar(Bar.PhaseY, 79);
  await type("txtZaehler", "3");
  await type("txtNenner", "2");
  await settled();
  const kept = differing(await figure(), before);
  check("a figure asked for while the worker starts is not drawn on the page", !kept && await page.evaluate(() => korvelian.figureWaits), kept);
  await page.evaluate(() => korvelian.worker.onmessage({ data: { ready: true } }));
  const drawn = await page.waitForFunction(() => korvelian.renderId > 0 && !korvelian.rendering, { timeout: 20000 })
    .then(() => true, () => false);
  await settled();
  const d = drawn ? differing(await figure(), await picture("ratio-3-2-45")) : "nothing drawn";
  check("the worker draws it once started", !d, d);
}
