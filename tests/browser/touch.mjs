// Fingers on a large page (1440 x 1024, a whiteboard's or a large tablet's): every arrow, thumb and button answers 21 px above and below its middle
// (a target of 44 px), every control's own middle still reaches it, and the menu's entries are
// 44 px high; the form's places are the ones the layout gives (checked at the start).

export default async function touchChecks({ page, check, open, settled }) {
  await page.setViewport({ width: 1440, height: 1024, deviceScaleFactor: 1 });
  await open();
  await settled();
  const missed = await page.evaluate(() => {
    const targets = [...document.querySelectorAll("#form .bar .arrow, #form .bar .thumb, #form button")];
    const found = [];
    const hits = (element, x, y) => {
      const hit = document.elementFromPoint(x, y);
      return hit === element || element.contains(hit);
    };
    for (const element of targets) {
      const r = element.getBoundingClientRect();
      const x = r.left + r.width / 2, y = r.top + r.height / 2;
      const name = element.id || element.parentElement.id + " " + element.className;
      if (!hits(element, x, y)) found.push(name + " not at its middle");
      for (const dy of [-21, 21]) if (!hits(element, x, y + dy)) found.push(`${name} not at ${dy} px`);
    }
    // A target grown over another control would take its clicks (labels, frames and lines
    // take none).
    for (const c of korvelian.layout.controls) {
      const element = document.getElementById(c.name);
      if (!element || [1, 4, 7].includes(c.kind)) continue;
      const r = element.getBoundingClientRect();
      if (!hits(element, r.left + r.width / 2, r.top + r.height / 2)) found.push(c.name + " covered");
    }
    return found;
  });
  check("44 px targets on a 1440 x 1024 page, none over another control", missed.length === 0, missed.join("; "));
  await page.click("#picBildschirm", { button: "right" });
  const heights = await page.$$eval("#menu > div:not(.separator)", (all) => all.map((d) => d.getBoundingClientRect().height));
  await page.keyboard.press("Escape");
  check("the menu's entries are 44 px high", heights.length > 10 && heights.every((h) => h >= 44), heights.join());
  await page.setViewport({ width: 658, height: 488, deviceScaleFactor: 1 });
}
