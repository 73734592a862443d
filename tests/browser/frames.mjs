// The beam's overlays painted again only where a step changes their pixels.
export default async function frames({ page, check, open, settled }) {
  await open();
  await settled();
  // Each row: a scene on show, then the next step's; the canvas must hold the next step's
  // pixels as a fresh painting of it has them.
  const beam = (x, y, options = {}) => [
    ["antialias", !!options.smooth],
    ["pen", [options.colour ?? 8421631, 1, 1, 1, 1, 0, true]],
    ["line", x + 3.5, y + 3.5, x + 3.5, 220.5],
    ["line", x + 3.5, y + 3.5, 220.5, y + 3.5],
    ["pen", [16776960, 1, 1, 1, 1, 0, true]],
    ["brush", 16776960, 1],
    ["ellipse", ...(options.dot ?? [x, y]), 8, 8, true],
  ];
  const rows = [
    ["moved within its pixels", beam(109.1, 109.1), beam(109.3, 109.4)],
    ["a projection across a pixel's edge", beam(109.1, 109.1, { dot: [109, 109] }),
     beam(109.1, 109.6, { dot: [109, 109] })],
    ["the beam's box rounded to the next pixel", beam(109.1, 109.1, { dot: [109.3, 109.1] }),
     beam(109.1, 109.1, { dot: [109.6, 109.1] })],
    ["smoothed, moved by a fraction of a pixel", beam(109.1, 109.1, { smooth: true }), beam(109.3, 109.1, { smooth: true })],
    ["the projections in another colour", beam(109.1, 109.1), beam(109.1, 109.1, { colour: 16711680 })],
  ];
  for (const [name, shown, next] of rows) {
    const d = await page.evaluate((shown, next) => {
      const { overlays, element } = korvelian.screen;
      const size = canvasSize(overlays, element);
      paintOverlays(overlays, size, shown);
      paintOverlays(overlays, size, next);
      const fresh = document.createElement("canvas");
      fresh.width = overlays.width;
      fresh.height = overlays.height;
      const ctx = fresh.getContext("2d");
      ctx.setTransform(size.ratio, 0, 0, size.ratio, 0, 0);
      Painter.paint(ctx, next, korvelian.core);
      const got = overlays.getContext("2d").getImageData(0, 0, fresh.width, fresh.height).data;
      const want = ctx.getImageData(0, 0, fresh.width, fresh.height).data;
      let count = 0;
      for (let k = 0; k < got.length; ++k) if (got[k] !== want[k]) ++count;
      return count ? `${count} channels differ` : "";
    }, shown, next);
    check(`overlays ${name}: the next step's pixels`, !d, d);
  }
}
