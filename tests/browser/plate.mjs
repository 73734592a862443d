// The overview plate in its panel, its worksheets printed, the picture copied, and the submenus
// of the drift's speed and the tone's base frequency, chosen from the screen's menu as a user
// chooses them.

export default async function plateChecks({ page, check, open, settled }) {
  // The screen's menu, then each caption in turn (a submenu opens in the menu's place).
  async function choose(...captions) {
    // By the menu key: the plate's panel may lie over the screen.
    await page.evaluate(() => { hideMenu(); document.getElementById("picBildschirm").focus(); });
    await page.keyboard.down("Shift");
    await page.keyboard.press("F10");
    await page.keyboard.up("Shift");
    const shown = () => page.$$eval("#menu:not([hidden]) > div", (all) => all.map((d) => d.textContent));
    for (const caption of captions) {
      const at = (await shown()).indexOf(caption);
      if (at < 0) return shown();
      await (await page.$$("#menu > div"))[at].click();
    }
    await settled();
    return shown();
  }
  const ticked = () => page.$$eval("#menu > div[aria-checked=true]", (all) => all.map((d) => d.textContent));
  // How much of a canvas or an image is not its ground (the top left pixel), and that ground.
  const ink = (selector) => page.evaluate(async (s) => {
    let source = document.querySelector(s);
    if (source instanceof HTMLImageElement) await source.decode();
    const c = document.createElement("canvas");
    c.width = source.naturalWidth || source.width;
    c.height = source.naturalHeight || source.height;
    const ctx = c.getContext("2d");
    ctx.drawImage(source, 0, 0);
    const d = ctx.getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let k = 0; k < d.length; k += 4) if (d[k] !== d[0] || d[k + 1] !== d[1] || d[k + 2] !== d[2]) ++n;
    return { width: c.width, height: c.height, n, ground: [d[0], d[1], d[2]] };
  }, selector);

  await open();
  await settled();
  await page.evaluate(() => { window.printed = 0; window.print = () => { ++window.printed; }; });
  const plateItems = await choose("Übersichtstafel");
  check("the plate's submenu", plateItems.join("|") === "Verhältnisse 1 bis 4|Phasen 0° bis 180° bei 1 : 1||Tafel zeigen|" +
        "Tafel kopieren|Tafel speichern unter…|Tafel drucken…||Arbeitsblatt: Figuren zeichnen drucken…|" +
        "Arbeitsblatt: Figuren benennen drucken…|Lösungsblatt drucken…|Neue Reihenfolge der Arbeitsblätter",
        plateItems.join("|"));
  await choose("Übersichtstafel", "Tafel zeigen");
  const ratios = await ink("#plate canvas");
  check("Tafel zeigen shows the ratios' plate on the screen's ground",
        ratios.n > 5000 && ratios.ground.join() === "0,0,0", JSON.stringify(ratios));
  await choose("Übersichtstafel", "Phasen 0° bis 180° bei 1 : 1");
  const phases = await ink("#plate canvas");
  check("the phases' plate takes the open panel's place", phases.height < ratios.height && phases.n > 5000, JSON.stringify(phases));
  await choose("Arbeitsblatt-Farben");
  await choose("Übersichtstafel", "Tafel zeigen");
  const white = await ink("#plate canvas");
  check("worksheet colours: the plate on white", white.ground.join() === "255,255,255" && white.n > 5000, JSON.stringify(white));

  // The worksheets: an A4 page's printable area, in worksheet colours, through the print.
  // The phases' five cells take a page upright, as the desktop turns it.
  for (const caption of ["Arbeitsblatt: Figuren zeichnen drucken…", "Lösungsblatt drucken…"]) {
    await choose("Übersichtstafel", caption);
    await page.waitForFunction(() => window.printed > 0);
    const sheet = await ink("#print");
    const rule = await page.$eval("#printPage", (s) => s.textContent);
    check(`${caption} prints an A4 page`, sheet.width === 1600 && Math.abs(sheet.height - 1600 * 267 / 180) < 1 &&
          sheet.ground.join() === "255,255,255" && sheet.n > 2000 && rule.includes("portrait"),
          JSON.stringify([sheet, rule]));
    await page.evaluate(() => { window.printed = 0; });
  }

  // "Bild kopieren": a PNG on the clipboard where the browser takes one, else a German line.
  await page.evaluate(() => {
    window.copied = null;
    navigator.clipboard.write = async (items) => {
      const blob = await items[0].getType("image/png");
      const image = await createImageBitmap(blob);
      window.copied = { type: blob.type, width: image.width };
    };
  });
  await choose("Bild kopieren");
  const copied = await page.waitForFunction(() => window.copied).then((h) => h.jsonValue());
  const shown = await page.$eval("#picBildschirm", (e) => e.clientWidth);
  check("Bild kopieren puts the shown picture on the clipboard as PNG",
        copied.type === "image/png" && copied.width === shown, JSON.stringify([copied, shown]));
  await page.evaluate(() => { delete window.ClipboardItem; });
  await choose("Übersichtstafel", "Tafel kopieren");
  const line = await page.$eval("#notice", (e) => [e.hidden, e.textContent]);
  check("without a picture clipboard a German line", !line[0] && line[1].startsWith("Dieser Browser lässt die Seite kein Bild"),
        JSON.stringify(line));

  // The drift's speed and the tone's base frequency, one ticked each, as on the desktop; what
  // stood under their key before (here no JSON at all) does not keep them from being remembered.
  await page.evaluate(() => localStorage.setItem("korvelian.speeds", "kein JSON"));
  await choose("Wandergeschwindigkeit", "schnell: eine Umdrehung in 10 s");
  await choose("Grundfrequenz", "440 Hz");
  await choose("Wandergeschwindigkeit");
  const speeds = [await page.$$eval("#menu > div", (all) => all.map((d) => d.textContent)), await ticked()];
  await choose("Grundfrequenz");
  const frequencies = [await page.$$eval("#menu > div", (all) => all.map((d) => d.textContent)), await ticked()];
  await page.keyboard.press("Escape");
  check("Wandergeschwindigkeit lists the desktop's speeds, the chosen one ticked",
        speeds[0].join("|") === "sehr langsam: eine Umdrehung in 80 s|langsam: eine Umdrehung in 40 s|" +
        "normal: eine Umdrehung in 20 s|schnell: eine Umdrehung in 10 s|sehr schnell: eine Umdrehung in 5 s" &&
        speeds[1].join() === "schnell: eine Umdrehung in 10 s", JSON.stringify(speeds));
  check("Grundfrequenz lists 110, 220 and 440 Hz, the chosen one ticked",
        frequencies[0].join("|") === "110 Hz|220 Hz|440 Hz" && frequencies[1].join() === "440 Hz",
        JSON.stringify(frequencies));
  // Both remembered for the next visit, as the desktop remembers them; then the usual ones.
  const usual = [speeds[0].find((s) => s.startsWith("normal")), "220 Hz"];
  await page.reload();
  await page.waitForFunction(() => window.korvelian && korvelian.firstFigure > 0);
  await choose("Wandergeschwindigkeit");
  const keptSpeed = await ticked();
  await choose("Grundfrequenz");
  const kept = [keptSpeed.join(), (await ticked()).join()];
  await page.keyboard.press("Escape");
  check("the drift's speed and the base frequency are there at the next visit, over what stood there",
        kept.join("|") === "schnell: eine Umdrehung in 10 s|440 Hz", kept.join("|"));
  await choose("Wandergeschwindigkeit", usual[0]);
  await choose("Grundfrequenz", usual[1]);
}
