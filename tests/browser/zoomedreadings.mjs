// The reading aid and the values at the page's size, however the page got there: the readings
// painted after a resize or a view switched on are those of a page opened at that size.

const cases = [
  // name, link, opened at, then shown at, the view switched on there (or none)
  ["reading aid switched on at 1280 x 800", "ratio=3:2", [1280, 800], [1280, 800], "Ablesehilfe"],
  ["opened at 1280 x 800, resized to 800 x 600", "ratio=3:2&reading-aid", [1280, 800], [800, 600], null],
  ["opened at 1024 x 768, resized to 1280 x 800", "ratio=2:1&reading-aid", [1024, 768], [1280, 800], null],
];

export default async function zoomedReadings({ page, check, openLink, settled, menuItem }) {
  const readings = () => page.evaluate(() => korvelian.screen.readings.sceneKey);
  // The views the menu switches are kept for the next visit: none kept, as a first visit.
  const forget = () => page.evaluate(() => { try { localStorage.removeItem("korvelian.views"); } catch {} });
  for (const [name, link, [w0, h0], [w1, h1], view] of cases) {
    await page.setViewport({ width: w1, height: h1, deviceScaleFactor: 1 });
    await forget();
    await openLink(view ? `${link}&reading-aid` : link);
    const fresh = await readings();
    await page.setViewport({ width: w0, height: h0, deviceScaleFactor: 1 });
    await forget();
    await openLink(link);
    if (view) await menuItem(view);
    await page.setViewport({ width: w1, height: h1, deviceScaleFactor: 1 });
    await settled();
    const shown = await readings();
    check(`${name}: the readings of a page opened so`, shown === fresh && fresh.includes("Berührpunkte"),
          `${shown.slice(0, 160)} against ${fresh.slice(0, 160)}`);
  }
  // Where the screen has no room for the legend it stands beside the window, as on the desktop.
  // It leaves the full-screen button free, which stands among the controls on a 4 : 3 page.
  for (const [link, beside, [width, height]] of [["amplitude-x=2&amplitude-y=2&reading-aid", true, [1280, 800]],
                                                 ["amplitude-x=2&amplitude-y=2&reading-aid", true, [1024, 768]],
                                                 ["ratio=3:2&reading-aid", false, [1280, 800]],
                                                 ["amplitude-x=2&amplitude-y=2", false, [1280, 800]]]) {
    await page.setViewport({ width, height, deviceScaleFactor: 1 });
    await forget();
    await openLink(link);
    const [shown, covers] = await page.evaluate(() => {
      const panel = document.getElementById("legendBeside");
      const p = panel.getBoundingClientRect(), b = document.getElementById("fullScreen").getBoundingClientRect();
      const covers = !panel.hidden && p.left < b.right && b.left < p.right && p.top < b.bottom && b.top < p.bottom;
      return [panel.hidden ? "" : panel.querySelector("canvas").sceneKey, covers];
    });
    check(`${link} at ${width} x ${height}: the legend beside the window, clear of the full-screen button`,
          shown.includes("Berührpunkt") === beside && !covers, `${covers} ${shown.slice(0, 120)}`);
  }
  // "Zeitverläufe" inside the page, clear of the full-screen button, and clear of the figure
  // where the controls leave it room.
  for (const [width, height, clear] of [[1280, 800, true], [900, 600, false], [658, 488, false]]) {
    await page.setViewport({ width, height, deviceScaleFactor: 1 });
    await forget();
    await openLink("ratio=1:2&time-signals");
    const placed = await page.evaluate(() => {
      const [p, s, b] = ["timeSignals", "picBildschirm", "fullScreen"].map((id) => document.getElementById(id).getBoundingClientRect());
      const meets = (a, c) => a.left < c.right && c.left < a.right && a.top < c.bottom && c.top < a.bottom;
      return [p.left >= 0 && p.right <= innerWidth && p.bottom <= innerHeight, meets(p, b), meets(p, s)].join();
    });
    check(`Zeitverläufe at ${width} x ${height}`, placed === `true,false,${!clear}`, placed);
  }
  await forget();
  await page.setViewport({ width: 658, height: 488, deviceScaleFactor: 1 });
}
