// The scroll bars: built from the layout table as elements of the page, a click, a key or a
// drag handed to the core's form as the desktop's bar hands it.

// A horizontal scroll bar: arrows at both ends, a track and a thumb. Clicks and keys set the
// value (the Change event); a drag reports the thumb (Scroll) and the value at the release.
function buildBar(c) {
  const element = document.createElement("div");
  element.className = "bar";
  element.setAttribute("role", "scrollbar");
  element.setAttribute("aria-orientation", "horizontal");
  element.setAttribute("aria-valuemin", "0");
  element.setAttribute("aria-valuemax", String(c.maximum));
  const left = document.createElement("div");
  left.className = "arrow";
  left.textContent = "◀";
  const right = document.createElement("div");
  right.className = "arrow";
  right.textContent = "▶";
  const thumb = document.createElement("div");
  thumb.className = "thumb";
  element.append(left, thumb, right);
  const bar = { element, left, right, thumb, layout: c, value: c.value, dragging: false };
  page.bars[c.scrollBar] = bar;
  const set = (value) => {
    value = Math.max(0, Math.min(c.maximum, value));
    if (value === bar.value) return;
    page.core.call("korv_setValue", c.scrollBar, value);
    // The next key, notch or repeat goes on from here, as the desktop's bar does: the display's
    // next frame, which shows the core's value, may be some keys away.
    bar.value = value;
  };
  const repeat = (step) => {
    set(bar.value + step);
    let timer = setTimeout(function again() { set(bar.value + step); timer = setTimeout(again, 50); }, 400);
    // A touch the browser takes over (a gesture of the system's) ends in a cancel, not a release.
    const stop = () => {
      clearTimeout(timer);
      window.removeEventListener("pointerup", stop);
      window.removeEventListener("pointercancel", stop);
    };
    window.addEventListener("pointerup", stop);
    window.addEventListener("pointercancel", stop);
  };
  // Only the primary button steps or drags, as on the desktop: a right click opens the bar's
  // menu, and some browsers (WebKit) send no release after it, which would leave a step
  // repeating or a drag holding the pointer.
  left.addEventListener("pointerdown", (e) => { if (e.button === 0) { e.preventDefault(); element.focus(); repeat(-1); } });
  right.addEventListener("pointerdown", (e) => { if (e.button === 0) { e.preventDefault(); element.focus(); repeat(1); } });
  element.addEventListener("pointerdown", (e) => {
    if (e.target !== element || e.button !== 0) return;
    e.preventDefault();
    element.focus();
    const thumbLeft = thumb.getBoundingClientRect().left;
    repeat(e.clientX < thumbLeft ? -1 : 1);
  });
  thumb.addEventListener("pointerdown", (e) => {
    if (e.button !== 0) return;
    e.preventDefault();
    element.focus();
    thumb.setPointerCapture(e.pointerId);
    bar.dragging = true;
    bar.grab = e.clientX - thumb.getBoundingClientRect().left;
    page.core.call("korv_beginDrag", c.scrollBar);
  });
  thumb.addEventListener("pointermove", (e) => {
    if (!bar.dragging) return;
    const track = barTrack(bar);
    const x = e.clientX - element.getBoundingClientRect().left - bar.grab - track.start;
    const value = Math.round(Math.max(0, Math.min(1, x / Math.max(1, track.length))) * c.maximum);
    bar.dragValue = value;
    showBar(bar, value);
    page.core.call("korv_drag", c.scrollBar, value);
  });
  const release = () => {
    if (!bar.dragging) return;
    bar.dragging = false;
    page.core.call("korv_endDrag", c.scrollBar);
  };
  thumb.addEventListener("pointerup", release);
  thumb.addEventListener("pointercancel", release);
  // The mouse wheel steps the bar as the desktop's toolkit does: three lines a notch (a
  // notch is 100 pixels of a page's wheel), one step a line, but never more than the bar's
  // page step of 1 at a turn, the rest of a turn dropped and a fraction of a line kept for the
  // next. Turned away from the user it lowers the value, towards the user it raises it.
  let wheel = 0;
  element.addEventListener("wheel", (e) => {
    if (e.deltaY === 0) return;
    e.preventDefault();
    const lines = e.deltaMode === WheelEvent.DOM_DELTA_LINE ? e.deltaY : e.deltaY * 3 / 100;
    if (wheel !== 0 && Math.sign(lines) !== Math.sign(wheel)) wheel = 0;
    wheel += lines;
    const steps = Math.max(-1, Math.min(1, Math.trunc(wheel)));
    wheel -= Math.trunc(wheel);
    if (steps !== 0) set(bar.value + steps);
  }, { passive: false });
  element.addEventListener("contextmenu", (e) => { e.preventDefault(); showBarMenu(c.scrollBar, e.clientX, e.clientY); });
  element.addEventListener("keydown", (e) => {
    if (e.key === "ContextMenu" || (e.key === "F10" && e.shiftKey)) {
      const box = element.getBoundingClientRect();
      showBarMenu(c.scrollBar, box.left, box.bottom);
      e.preventDefault();
      return;
    }
    // Page Up raises the value and Page Down lowers it, as the desktop's bar has them.
    const step = { ArrowLeft: -1, ArrowDown: -1, ArrowRight: 1, ArrowUp: 1, PageUp: 1, PageDown: -1 }[e.key];
    if (step !== undefined) set(bar.value + step);
    else if (e.key === "Home") set(0);
    else if (e.key === "End") set(c.maximum);
    else return;
    e.preventDefault();
  });
  return element;
}

function barTrack(bar) {
  const width = bar.element.clientWidth, height = bar.element.clientHeight;
  const arrow = Math.min(height, width / 3);
  const thumb = Math.max(8, Math.min(height, width - 2 * arrow));
  return { arrow, thumb, start: arrow, length: width - 2 * arrow - thumb };
}

function showBar(bar, value, track = barTrack(bar)) {
  bar.left.style.left = "0";
  bar.left.style.width = `${track.arrow}px`;
  bar.right.style.right = "0";
  bar.right.style.width = `${track.arrow}px`;
  bar.thumb.style.width = `${track.thumb}px`;
  bar.thumb.style.left = `${track.start + track.length * value / Math.max(1, bar.layout.maximum)}px`;
  bar.element.setAttribute("aria-valuenow", String(value));
}
