// Served over http: the page links its manifest, its offline cache installs, and the page
// opens again with the network gone. The folder of the built page is served by Python's own
// server on a free port, ended here.
import { spawn } from "node:child_process";
import path from "node:path";

export default async function offlineChecks({ browser, check, pagePath }) {
  const server = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1"],
                       { cwd: path.dirname(path.resolve(pagePath)), stdio: ["ignore", "pipe", "ignore"] });
  try {
    const port = await new Promise((resolve, reject) => {
      let text = "";
      server.stdout.on("data", (chunk) => {
        text += chunk;
        const found = /port (\d+)/.exec(text);
        if (found) resolve(Number(found[1]));
      });
      server.on("exit", () => reject(new Error("the server ended: " + text)));
    });
    const page = await browser.newPage();
    await page.setViewport({ width: 658, height: 488, deviceScaleFactor: 1 });
    const url = `http://127.0.0.1:${port}/${path.basename(pagePath)}`;
    await page.goto(url);
    await page.waitForFunction(() => window.korvelian && window.korvelian.firstFigure > 0, { timeout: 20000 });
    const manifest = await page.evaluate(async () => {
      const link = document.querySelector("link[rel=manifest]");
      return link ? (await fetch(link.href)).json() : null;
    });
    check("served over http the page links its manifest",
          manifest && manifest.start_url === "korvelian.html" && manifest.icons.length === 2, JSON.stringify(manifest && manifest.name));
    const cached = await page.evaluate(() => Promise.race([
      navigator.serviceWorker.ready.then(async (r) => !!r.active && (await caches.keys()).some((k) => k.startsWith("korvelian-"))),
      new Promise((done) => setTimeout(() => done(false), 20000))]));
    check("its offline cache installs", cached);
    await page.setOfflineMode(true);
    await page.reload();
    const offline = await page.waitForFunction(() => window.korvelian && window.korvelian.firstFigure > 0, { timeout: 20000 })
      .then(() => true, () => false);
    check("without a network the page opens from the cache", offline);
    await page.setOfflineMode(false);
    await page.close();
  } finally {
    server.kill();
  }
}
