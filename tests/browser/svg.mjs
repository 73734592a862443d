// "Bild als SVG speichern": a file that parses, whose figure is the desktop's path to the
// number, at 3 : 2 with the y phase at 45°, and in worksheet colours where they are ticked.
import fs from "node:fs";
import path from "node:path";

export default async function svgChecks({ page, check, settled, pagePath, pictures }) {
  await page.goto("file://" + path.resolve(pagePath) + "#ratio=3:2&phase-y=45");
  await page.waitForFunction(() => window.korvelian && window.korvelian.firstFigure > 0, { timeout: 20000 });
  await settled();
  const cdp = await page.createCDPSession();
  const folder = fs.mkdtempSync(path.join(pictures, "svg-"));
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: folder });
  async function save(worksheet) {
    await page.evaluate((w) => { korvelian.worksheet = w; saveSvg(); }, worksheet);
    const file = path.join(folder, "korvelian-3-2.svg");
    for (let tries = 0; tries < 100 && !fs.existsSync(file); ++tries) await new Promise((done) => setTimeout(done, 100));
    const text = fs.existsSync(file) ? fs.readFileSync(file, "utf8") : "";
    if (text) fs.unlinkSync(file);
    return text;
  }
  // The figure's path and the picture's ground, read by the browser's own XML parser.
  const read = (text) => page.evaluate((t) => {
    const svg = new DOMParser().parseFromString(t, "image/svg+xml");
    const paths = [...svg.querySelectorAll("path")].map((p) => p.getAttribute("d").trim().replace(/\s+/g, " "));
    return { parses: !svg.querySelector("parsererror"), figure: paths.find((d) => d.split("L").length > 100) || "",
             ground: svg.querySelector("rect").getAttribute("fill"),
             title: svg.querySelector("title").textContent, desc: svg.querySelector("desc").textContent };
  }, text);
  const saved = await read(await save(false));
  const desktop = await read(fs.readFileSync(path.join(pictures, "ratio-3-2-45.svg"), "utf8"));
  check("the SVG download parses, with the desktop's title and description",
        saved.parses && saved.title === desktop.title && saved.desc === desktop.desc, JSON.stringify([saved.title, saved.desc]));
  check("its figure is the desktop's path", saved.figure !== "" && saved.figure === desktop.figure,
        `${saved.figure.slice(0, 80)} against ${desktop.figure.slice(0, 80)}`);
  const white = await read(await save(true));
  check("Arbeitsblatt-Farben: the SVG on white", saved.ground === "#000000" && white.ground === "#ffffff",
        `${saved.ground} then ${white.ground}`);
  await page.evaluate(() => { korvelian.worksheet = false; });
}
