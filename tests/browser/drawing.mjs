// The figure's drawing: its sines with the browser's fused multiply-add where it has one (this
// Chromium does), a figure asked for while the worker starts waiting for the worker rather
// than taking the page's thread, the worst figure drawn in shares by two copies of the core as
// the desktop draws it, and a request that a newer one overtook before it was taken up never
// drawn.
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
  // Two copies of the core, as on any machine of two threads or more; the lanes each request
  // is shared out over noted.
  await page.evaluate(() => new Promise((done) => {
    const ready = () => (!korvelian.helpers.length || korvelian.helpers[0].ready ? done() : setTimeout(ready, 20));
    ready();
    korvelian.worker.postMessage = (message, transfer) => {
      korvelian.lanesAsked = message.lanes;
      Worker.prototype.postMessage.call(korvelian.worker, message, transfer);
    };
  }));
  await setBar(Bar.PhaseY, 0);
  await setBar(Bar.AmplitudeX, 200);
  await setBar(Bar.AmplitudeY, 200);
  await type("txtZaehler", "179");
  await type("txtNenner", "183");
  await settled();
  const worst = differing(await figure(), await picture("worst"));
  // Asked of two lanes, and worth sharing where a figure drawn straight is not.
  const sharesPay = () => page.evaluate(() => korvelian.core.x.korv_sharesPay(korvelian.core.x.korv_screenOps(), 1));
  const lanes = [await page.evaluate(() => korvelian.lanesAsked), await sharesPay()];
  check("179 : 183 at amplitudes 2 drawn in shares as the desktop draws it", lanes.join() === "2,1" && !worst,
        `${lanes} ${worst}`);
  // Three requests handed over at once: the middle one waits behind the newest.
  const handed = await page.evaluate(() => new Promise((done) => {
    const ids = [];
    const handle = korvelian.worker.onmessage;
    korvelian.worker.onmessage = (event) => {
      if (event.data.id) ids.push(event.data.id);
      handle(event);
      if (event.data.id === korvelian.renderId) done({ ids, newest: korvelian.renderId });
    };
    const held = [];
    const workers = [korvelian.worker, ...korvelian.helpers.map((h) => h.worker)];
    for (const worker of workers) worker.postMessage = (...message) => held.push([worker, message]);
    for (const [bar, value, numerator] of [[0, 100, "5"], [2, 100, "7"], [3, 79, "3"]]) {
      korvelian.core.call("korv_setValue", bar, value);
      typed(0, numerator);
      typed(1, "2");
      frame(performance.now());
    }
    for (const worker of workers) delete worker.postMessage;
    for (const [worker, message] of held) worker.postMessage(...message);
  }));
  await settled();
  const newest = differing(await figure(), await picture("ratio-3-2-45"));
  check("a request overtaken before it was taken up is never drawn",
        !handed.ids.includes(handed.newest - 1) && handed.ids.includes(handed.newest), handed.ids.join());
  check("the newest request drawn", !newest, newest);
  check("3 : 2, drawn straight, drawn by one copy", await sharesPay() === 0);
}
