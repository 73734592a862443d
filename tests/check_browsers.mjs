// The browser edition's smoke checks in the browsers beside Chromium: Firefox (headless) and
// WebKitGTK, the engine Safari uses (on the X display DISPLAY names). Arguments: the page, a
// folder with the desktop's exports, and the browsers to try (firefox, webkit).
import fs from "node:fs";
import path from "node:path";
import { firefox, webkit } from "./browser/drivers.mjs";
import { smoke } from "./browser/smoke.mjs";

const [pagePath, folder, ...names] = process.argv.slice(2);
const pictures = Object.fromEntries(["start", "ratio-3-2-45"].map((name) =>
  [name, fs.readFileSync(path.join(folder, name + ".png")).toString("base64")]));
const pageUrl = "file://" + path.resolve(pagePath);
let failed = 0;
for (const name of names) {
  const browser = await { firefox, webkit }[name]();
  let passed = 0;
  const check = (what, ok, detail = "") => {
    if (ok) ++passed;
    else { ++failed; console.log(`FAIL ${browser.name}: ${what}${detail ? ": " + detail : ""}`); }
  };
  try {
    await smoke({ browser, check, pageUrl, pictures });
    const errors = await browser.errors();
    check("no script error", errors.length === 0, errors.join("; "));
  } catch (e) {
    check("the checks ran to their end", false, e.stack);
  } finally {
    await browser.close();
  }
  console.log(`${browser.name}: ${passed} passed`);
}
process.exit(failed === 0 ? 0 : 1);
