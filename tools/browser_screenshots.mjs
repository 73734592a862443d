// The browser edition's pictures in docs/, taken by the tests' Chromium: the window at
// 1280 x 800 on 3 : 2 with the beam running, a tablet's 1024 x 768 page with the screen's
// menu open, and a projector's 1920 x 1080 page presenting with the time signals docked. Usage: node tools/browser_screenshots.mjs build/web/korvelian.html docs
import path from "node:path";
import puppeteer from "puppeteer-core";

const [pagePath, folder] = process.argv.slice(2);
const browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", args: ["--no-sandbox", "--headless=new"] });
const page = await browser.newPage();
async function open(width, height, fragment) {
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await page.goto("about:blank");
  await page.goto(`file://${path.resolve(pagePath)}#${fragment}`);
  await page.waitForFunction(() => window.korvelian && window.korvelian.firstFigure > 0);
}
await open(1280, 800, "ratio=3:2&phase-y=45");
await page.click("#Command2");
await new Promise((done) => setTimeout(done, 700));
await page.screenshot({ path: path.join(folder, "browser-1280x800.png") });
await page.click("#Check1 input");
await open(1024, 768, "ratio=1:2&amplitude-x=1.5&y-up");
await page.click("#picBildschirm", { button: "right" });
await new Promise((done) => setTimeout(done, 300));
await page.click("#menu > div:nth-child(3)");
await page.click("#picBildschirm", { button: "right" });
await new Promise((done) => setTimeout(done, 300));
await page.screenshot({ path: path.join(folder, "browser-1024x768.png") });
await open(1920, 1080, "ratio=3:2&phase-y=45&time-signals&reading-aid");
await page.click("#picBildschirm");
await page.keyboard.press("F5");
await page.click("#Command2");
await new Promise((done) => setTimeout(done, 1200));
await page.screenshot({ path: path.join(folder, "browser-praesentation-1920x1080.png") });
await page.click("#Check1 input");
await browser.close();
