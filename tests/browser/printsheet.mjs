// The worksheets and the plate printed as the browser prints them (its PDF): one A4 page turned
// as the sheet wants it, every line a vector path and no picture of pixels, so that the lines
// stay sharp on paper.
import zlib from "node:zlib";

// Pages, their sizes in points, pictures and drawn line pieces of a PDF.
function pdfFacts(pdf) {
  const text = pdf.toString("latin1");
  let lines = 0;
  for (const m of text.matchAll(/stream\r?\n/g)) {
    const start = m.index + m[0].length;
    try {
      lines += (zlib.inflateSync(pdf.subarray(start, text.indexOf("endstream", start))).toString("latin1")
        .match(/ l\n/g) || []).length;
    } catch {
      // Not a compressed stream (a font's, say): it draws no lines.
    }
  }
  return { pages: (text.match(/\/Type\s*\/Page\b(?!s)/g) || []).length,
           sizes: [...text.matchAll(/\/MediaBox\s*\[0 0 ([\d.]+) ([\d.]+)\]/g)].map((b) => [+b[1], +b[2]].map(Math.round)),
           pictures: (text.match(/\/Subtype\s*\/Image/g) || []).length, lines };
}

export default async function printSheets({ page, check, open }) {
  await open();
  // The browser's own print, from its menu: the picture of the screen, not a blank page.
  const own = pdfFacts(Buffer.from(await page.pdf({ preferCSSPageSize: true })));
  check("the browser's own print shows the picture", own.pages === 1 && own.pictures > 0, JSON.stringify(own));
  await page.evaluate(() => { window.print = () => { window.printed = true; }; });
  // The solutions of the ratios (4 x 4 figures) and the ratios' plate, each as printed.
  for (const [what, entry, least] of [["the solutions' sheet", 10, 2000], ["the plate", 6, 2000]]) {
    await page.evaluate((k) => { window.printed = false; plateEntries()[k].run(); }, entry);
    await page.waitForFunction(() => window.printed);
    const facts = pdfFacts(Buffer.from(await page.pdf({ preferCSSPageSize: true })));
    check(`${what} prints as one upright A4 page of lines`, facts.pages === 1 && facts.sizes.join() === "595,842" &&
          facts.pictures === 0 && facts.lines > least, JSON.stringify(facts));
  }
}
