// One small face for two ways of driving a browser, so that the same checks run in each:
// Firefox through puppeteer-core (WebDriver BiDi) and WebKit through WebKitWebDriver (classic
// W3C WebDriver over HTTP, spoken here with fetch). What a check needs: open the page, run a
// function in it, click, type.
import { spawn } from "node:child_process";
import puppeteer from "puppeteer-core";

// The page's viewport: the window at 100 % (9864 x 7320 twips are 658 x 488 pixels).
export const kViewport = { width: 658, height: 488 };

export async function firefox() {
  const browser = await puppeteer.launch({ browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: true });
  const page = await browser.newPage();
  await page.setViewport({ ...kViewport, deviceScaleFactor: 1 });
  const errors = [];
  page.on("pageerror", (e) => errors.push(e.message));
  return {
    name: `Firefox ${(await browser.version()).split("/")[1]}`,
    goto: (url) => page.goto(url),
    run: (fn, ...args) => page.evaluate(fn, ...args),
    click: (selector, button = "left") => page.click(selector, { button }),
    type: (text) => page.keyboard.type(text),
    errors: async () => errors,
    close: () => browser.close(),
  };
}

// The key under which WebDriver names an element.
const kElement = "element-6066-11e4-a52e-4f735466cecf";

// WebKitWebDriver starts WebKitGTK's MiniBrowser, which needs an X display (it has no headless
// mode): DISPLAY must name one.
export async function webkit(port = 4444 + Math.floor(Math.random() * 1000)) {
  const driver = spawn("/usr/bin/WebKitWebDriver", [`--port=${port}`], { stdio: ["ignore", "ignore", "inherit"] });
  const base = `http://127.0.0.1:${port}`;
  async function wd(method, path, body) {
    const response = await fetch(base + path, { method, headers: { "content-type": "application/json" },
                                                body: body && JSON.stringify(body) });
    const answer = await response.json();
    if (answer.value && answer.value.error) throw new Error(`${path}: ${answer.value.error}: ${answer.value.message}`);
    return answer.value;
  }
  for (let tries = 0; ; ++tries) {
    try { await wd("GET", "/status"); break; } catch (e) {
      if (tries > 100) { driver.kill(); throw e; }
      await new Promise((done) => setTimeout(done, 100));
    }
  }
  const session = await wd("POST", "/session", { capabilities: { alwaysMatch: {
    "webkitgtk:browserOptions": { args: ["--automation"] } } } });
  const at = `/session/${session.sessionId}`;
  const run = (fn, ...args) => wd("POST", `${at}/execute/async`, {
    script: `const done = arguments[arguments.length - 1];
             Promise.resolve((${fn.toString()})(...Array.from(arguments).slice(0, -1)))
               .then((v) => done({ v }), (e) => done({ e: String(e && e.stack || e) }));`, args })
    .then((r) => { if (r.e) throw new Error(r.e); return r.v; });
  // The window is made as large as leaves the wanted viewport inside its toolbar and borders.
  await wd("POST", `${at}/window/rect`, kViewport);
  const inner = await run(() => [window.innerWidth, window.innerHeight]);
  await wd("POST", `${at}/window/rect`, { width: 2 * kViewport.width - inner[0], height: 2 * kViewport.height - inner[1] });
  const pointer = (type, button, element) => ({ type: "pointer", id: "mouse", parameters: { pointerType: "mouse" },
    actions: [{ type: "pointerMove", origin: { [kElement]: element }, x: 0, y: 0 },
              { type: "pointerDown", button }, { type: "pointerUp", button }] });
  return {
    name: `WebKitGTK ${session.capabilities.browserVersion}`,
    // Errors after the page has loaded are collected as it reports them.
    async goto(url) {
      await wd("POST", `${at}/url`, { url });
      await run(() => { window.errorsSeen = []; addEventListener("error", (e) => window.errorsSeen.push(e.message)); });
    },
    run,
    errors: () => run(() => window.errorsSeen || []),
    async click(selector, button = "left") {
      const element = await wd("POST", `${at}/element`, { using: "css selector", value: selector });
      await wd("POST", `${at}/actions`, { actions: [pointer("pointer", button === "right" ? 2 : 0,
                                                            element[kElement])] });
      await wd("DELETE", `${at}/actions`);
    },
    async type(text) {
      const keys = [...text].flatMap((key) => [{ type: "keyDown", value: key }, { type: "keyUp", value: key }]);
      await wd("POST", `${at}/actions`, { actions: [{ type: "key", id: "keys", actions: keys }] });
    },
    async close() {
      await wd("DELETE", at).catch(() => {});
      driver.kill();
    },
  };
}
