// Paints the core's scenes (scene/scene.h) on a canvas, as the desktop's ScenePainter does with
// QPainter: every decision about what to draw was made in C++; this only carries it out. Texts
// are the one thing measured here, with the canvas's own fonts, for the core's TextMetrics.

const Painter = (() => {
  const css = (rgb, alpha = 1) =>
    `rgba(${(rgb >> 16) & 255},${(rgb >> 8) & 255},${rgb & 255},${alpha})`;
  const fontCss = ([family, sansSerif, pixelSize], italic = false, scale = 1) => {
    const families = sansSerif || !family ? "sans-serif"
      : `"${family}", "Liberation Serif", "Times New Roman", serif`;
    return `${italic ? "italic " : ""}${pixelSize * scale}px ${families}`;
  };
  const measureContext = document.createElement("canvas").getContext("2d");

  // Rich text as the core writes it: i, sub, br, div and &nbsp;, nothing else. Gives lines of
  // runs {text, italic, sub}; a div or br starts a line.
  function parseRich(html) {
    const lines = [[]];
    let italic = 0, sub = 0;
    const entity = { "&nbsp;": "\u00a0", "&amp;": "&", "&lt;": "<", "&gt;": ">", "&quot;": "\"", "&#39;": "'" };
    for (const token of html.split(/(<[^>]*>)/)) {
      if (!token) continue;
      const tag = /^<\s*(\/?)\s*([a-z]+)[^>]*>$/i.exec(token);
      if (tag) {
        const closing = tag[1] === "/", name = tag[2].toLowerCase();
        if (name === "i") italic += closing ? -1 : 1;
        else if (name === "sub") sub += closing ? -1 : 1;
        else if (name === "br") lines.push([]);
        else if (name === "div" && (closing ? lines.at(-1).length > 0 : lines.at(-1).length > 0)) lines.push([]);
        continue;
      }
      const text = token.replace(/&[a-z#0-9]+;/gi, (e) => entity[e.toLowerCase()] ?? e);
      lines.at(-1).push({ text, italic: italic > 0, sub: sub > 0 });
    }
    return lines;
  }

  // Lines of runs laid out in font, wrapped at width where it is above 0: each line with its
  // runs' places and its size.
  function layOutRich(html, font, width) {
    const size = font[2];
    const lineHeight = Math.round(size * 1.15);
    const laid = [];
    const measure = (run) => {
      measureContext.font = fontCss(font, run.italic, run.sub ? 0.75 : 1);
      return measureContext.measureText(run.text).width;
    };
    for (const runs of parseRich(html)) {
      let line = { runs: [], width: 0 };
      const push = (run) => {
        const w = measure(run);
        if (width > 0 && line.width + w > width && line.runs.length > 0) {
          laid.push(line);
          line = { runs: [], width: 0 };
          if (/^\s+$/.test(run.text)) return;
        }
        line.runs.push({ ...run, x: line.width, width: w });
        line.width += w;
      };
      for (const run of runs) {
        if (width > 0) for (const word of run.text.split(/(\s+)/)) { if (word) push({ ...run, text: word }); }
        else push(run);
      }
      laid.push(line);
    }
    const w = Math.max(0, ...laid.map((l) => l.width));
    return { lines: laid, width: width > 0 ? Math.max(w, 0) : w, height: laid.length * lineHeight, lineHeight };
  }

  const metrics = {
    richTextSize(html, font, width) {
      const laid = layOutRich(html, font, width);
      return [laid.width, laid.height];
    },
    lineHeight(font) { return Math.round(font[2] * 1.15); },
    advance(font, text) {
      measureContext.font = fontCss(font);
      return measureContext.measureText(text).width;
    },
    capHeight(font) {
      measureContext.font = fontCss(font);
      const m = measureContext.measureText("H");
      return m.actualBoundingBoxAscent || font[2] * 0.66;
    },
  };

  function drawRich(ctx, html, font, width, centred, colour, x, y) {
    const laid = layOutRich(html, font, width);
    ctx.fillStyle = css(colour);
    ctx.textBaseline = "alphabetic";
    ctx.textAlign = "left";
    laid.lines.forEach((line, k) => {
      const left = centred && width > 0 ? (width - line.width) / 2 : 0;
      const base = y + k * laid.lineHeight + font[2] * 0.9;
      for (const run of line.runs) {
        ctx.font = fontCss(font, run.italic, run.sub ? 0.75 : 1);
        ctx.fillText(run.text, x + left + run.x, base + (run.sub ? font[2] * 0.25 : 0));
      }
    });
  }

  const caps = ["butt", "square", "round"];
  const joins = ["miter", "bevel", "round"];

  // A scene's items on ctx, whose transform maps the scene's pixels to the canvas's; core
  // gives the pixels of drawings.
  function paint(ctx, items, core) {
    let pen = null;      // [rgb, alpha, width, cap, join, dash, cosmetic]
    let brush = null;    // [rgb, alpha]
    let font = ["", false, 12];
    let aliased = false;
    const stack = [];
    const ratio = () => { const m = ctx.getTransform(); return Math.hypot(m.a, m.b) || 1; };
    const applyPen = (p) => {
      ctx.strokeStyle = css(p[0], p[1]);
      const width = p[6] ? p[2] / ratio() : p[2];
      ctx.lineWidth = width > 0 ? width : 1 / ratio();
      ctx.lineCap = caps[p[3]];
      ctx.lineJoin = joins[p[4]];
      const w = ctx.lineWidth;
      ctx.setLineDash(p[5] === 1 ? [w, 2 * w] : p[5] === 2 ? [4 * w, 2 * w] : []);
    };
    // Aliased outlines sit on pixel centres, as a painter without smoothing puts them.
    const snap = (v) => (aliased ? Math.floor(v * ratio()) / ratio() + 0.5 / ratio() : v);
    const stroke = (build) => {
      if (!pen) return;
      applyPen(pen);
      ctx.beginPath();
      build();
      ctx.stroke();
    };
    const shape = (build) => {
      ctx.beginPath();
      build();
      if (brush) { ctx.fillStyle = css(brush[0], brush[1]); ctx.fill(); }
      if (pen) { applyPen(pen); ctx.stroke(); }
    };
    for (const it of items) {
      const a = it;
      switch (a[0]) {
        case "save": ctx.save(); stack.push([pen, brush, font, aliased]); break;
        case "restore": ctx.restore(); [pen, brush, font, aliased] = stack.pop() ?? [pen, brush, font, aliased]; break;
        case "clip": ctx.beginPath(); ctx.rect(a[1], a[2], a[3], a[4]); ctx.clip(); break;
        case "antialias": aliased = !a[1]; break;
        case "textAntialias": break;
        case "translate": ctx.translate(a[1], a[2]); break;
        case "scale": ctx.scale(a[1], a[2]); break;
        case "pen": pen = a.length > 1 ? [a[1][0], a[1][1], a[1][2], a[1][3], a[1][4], a[1][5], a[1][6]] : null; break;
        case "brush": brush = a.length > 1 ? [a[1], a[2]] : null; break;
        case "font": font = a[1]; break;
        case "line": stroke(() => { ctx.moveTo(snap(a[1]), snap(a[2])); ctx.lineTo(snap(a[3]), snap(a[4])); }); break;
        case "lines": stroke(() => { const e = a[1]; for (let k = 0; k + 3 < e.length; k += 4) { ctx.moveTo(snap(e[k]), snap(e[k + 1])); ctx.lineTo(snap(e[k + 2]), snap(e[k + 3])); } }); break;
        case "points": {
          if (!pen) break;
          ctx.fillStyle = css(pen[0], pen[1]);
          const w = pen[6] ? pen[2] / ratio() : pen[2] || 1 / ratio();
          const p = a[1];
          for (let k = 0; k + 1 < p.length; k += 2) ctx.fillRect(p[k] - w / 2, p[k + 1] - w / 2, w, w);
          break;
        }
        case "path": {
          const steps = a[1];
          const build = () => { for (let k = 0; k + 2 < steps.length; k += 3) (steps[k] ? ctx.moveTo : ctx.lineTo).call(ctx, steps[k + 1], steps[k + 2]); };
          if (a.length > 2) { const saved = pen; pen = a[2]; stroke(build); pen = saved; } else shape(build);
          break;
        }
        case "ellipse": {
          let [x, y, w, h] = [a[1], a[2], a[3], a[4]];
          // A box of whole pixels, its outline one pixel inside it as the desktop draws it.
          if (a[5]) { x = Math.round(x) + 0.5; y = Math.round(y) + 0.5; w = Math.round(w); h = Math.round(h); }
          shape(() => ctx.ellipse(x + w / 2, y + h / 2, Math.abs(w / 2), Math.abs(h / 2), 0, 0, 2 * Math.PI));
          break;
        }
        case "pie": {
          const [x, y, w, h] = [a[1], a[2], a[3], a[4]];
          const start = -a[5] / 16 * Math.PI / 180, end = start - a[6] / 16 * Math.PI / 180;
          shape(() => { ctx.moveTo(x + w / 2, y + h / 2); ctx.ellipse(x + w / 2, y + h / 2, w / 2, h / 2, 0, start, end, a[6] > 0); ctx.closePath(); });
          break;
        }
        case "polygon": shape(() => { const c = a[1]; for (let k = 0; k + 1 < c.length; k += 2) (k ? ctx.lineTo : ctx.moveTo).call(ctx, c[k], c[k + 1]); ctx.closePath(); }); break;
        case "rect": {
          let [x, y, w, h] = [a[1], a[2], a[3], a[4]];
          if (a[5]) { x = Math.round(x) + 0.5; y = Math.round(y) + 0.5; w = Math.round(w); h = Math.round(h); }
          shape(() => ctx.rect(x, y, w, h));
          break;
        }
        case "fillRect": {
          let [x, y, w, h] = [a[1], a[2], a[3], a[4]];
          if (a[7]) { x = Math.round(x); y = Math.round(y); w = Math.round(w); h = Math.round(h); }
          ctx.fillStyle = css(a[5], a[6]);
          ctx.fillRect(x, y, w, h);
          break;
        }
        case "text": {
          const [x, y, w, h, flags, text] = [a[1], a[2], a[3], a[4], a[5], a[6]];
          ctx.font = fontCss(font);
          ctx.fillStyle = pen ? css(pen[0], pen[1]) : "#000";
          ctx.textAlign = flags & 2 ? "right" : flags & 4 ? "center" : "left";
          ctx.textBaseline = flags & 0x40 ? "bottom" : flags & 0x20 ? "top" : "middle";
          ctx.fillText(text, flags & 2 ? x + w : flags & 4 ? x + w / 2 : x,
                       flags & 0x40 ? y + h : flags & 0x20 ? y : y + h / 2);
          break;
        }
        case "richText": drawRich(ctx, a[3], a[4], a[5], a[6], a[7], a[1], a[2]); break;
        case "label": {
          const [x, y, w, h] = [a[1], a[2], a[3], a[4]];
          ctx.fillStyle = css(a[8], a[9]);
          ctx.fillRect(x, y, w, h);
          drawRich(ctx, a[5], a[6], -1, false, a[7], x + a[10], y);
          break;
        }
        case "drawing": {
          const [x, y, w, h, index] = [a[1], a[2], a[3], a[4], a[5]];
          const r = ratio();
          const image = core.drawingImage(index, r, w, h);
          const canvas = document.createElement("canvas");
          canvas.width = image.width; canvas.height = image.height;
          canvas.getContext("2d").putImageData(image, 0, 0);
          ctx.drawImage(canvas, x, y, w, h);
          break;
        }
      }
    }
  }

  return { paint, metrics, css, fontCss };
})();
