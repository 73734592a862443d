// The context menus: the screen's views and entries, a bar's presets and typed value, the
// ratio boxes' usual ratios, opened by a right click, the menu key or a long press.

// A context menu of entries {caption, checked (undefined: no tick), run, disabled} and
// separators (null), at a place of the page; its words come from the core. An entry with a
// submenu (a function giving its entries) opens that in its place.
// A submenu remembers the menu it came from (parent: its entries, label and the entry that
// opened it), which ← and Escape show again.
function popup(x, y, entries, label, parent = null) {
  const menu = document.getElementById("menu");
  if (menu.hidden) page.menuOpener = document.activeElement;
  menu.replaceChildren();
  menu.setAttribute("aria-label", label);
  page.menuShown = { x, y, parent };
  for (const entry of entries) {
    const item = document.createElement("div");
    if (entry === null) {
      item.className = "separator";
      item.setAttribute("role", "separator");
    } else if (!entry.run) {
      item.className = "heading";
      item.textContent = entry.caption;
    } else if (entry.disabled) {
      // Shown greyed, as the desktop's menu shows it; no focus, so the keys pass it by.
      item.className = "disabled";
      item.setAttribute("role", "menuitem");
      item.setAttribute("aria-disabled", "true");
      item.textContent = entry.caption;
    } else {
      item.setAttribute("role", entry.checked === undefined ? "menuitem" : "menuitemcheckbox");
      if (entry.checked !== undefined) item.setAttribute("aria-checked", String(entry.checked));
      item.tabIndex = -1;
      item.textContent = entry.caption;
      if (entry.submenu) item.setAttribute("aria-haspopup", "menu");
      item.addEventListener("click", () => {
        if (entry.submenu) {
          const index = [...menu.querySelectorAll("[tabindex]")].indexOf(item);
          popup(x, y, entry.submenu(), entry.caption, { entries, label, index, parent });
          return;
        }
        hideMenu();
        // The focus goes back to where the menu was opened, as the desktop's menu gives it
        // back: a bar's arrows or the menu key go on from there. What the entry opens (a
        // dialog, the help, the quiz) may take it on.
        if (page.menuOpener && page.menuOpener !== document.body) page.menuOpener.focus();
        entry.run();
      });
    }
    menu.append(item);
  }
  menu.hidden = false;
  menu.style.left = `${Math.max(0, Math.min(x, window.innerWidth - menu.offsetWidth))}px`;
  menu.style.top = `${Math.max(0, Math.min(y, window.innerHeight - menu.offsetHeight))}px`;
  menu.querySelector("[tabindex]").focus();
}

// The screen's context menu: its views, each ticked where it is on, and the way back to the
// start.
function showMenu(x, y) {
  const core = page.core;
  const words = core.json(core.x.korv_menuWords());
  const entries = core.json(core.x.korv_views()).map((view, index) =>
    ({ caption: view.caption, checked: view.on, run: () => {
      core.x.korv_setView(index, view.on ? 0 : 1);
      rememberViews();
    } }));
  const plateMenu = plateWords(), speeds = core.json(core.x.korv_speedMenus());
  entries.push({ caption: speeds.drift, run: true, submenu: () => speedEntries("drift") },
               { caption: plateMenu.caption, run: true, submenu: plateEntries });
  entries.push(null, { caption: plateMenu.copyPicture, run: () => copyPicture() },
               { caption: words.savePng, run: () => savePicture() },
               { caption: words.saveSvg, run: () => saveSvg() },
               { caption: words.print, run: () => printPicture() },
               { caption: plateMenu.worksheet, checked: page.worksheet, run: () => { page.worksheet = !page.worksheet; } });
  entries.push(null, { caption: words.sound, checked: core.x.korv_soundOn() === 1, run: () => toggleSound(words) },
               { caption: speeds.base, run: true, submenu: () => speedEntries("base") });
  entries.push(null, { caption: words.copyLink, run: () => copyLink(words) });
  entries.push(null, ...classroomEntries());
  entries.push(null, { caption: words.reset, run: () => core.call("korv_reset") });
  entries.push(null, { caption: words.fullScreen, checked: !!document.fullscreenElement, run: toggleFullScreen },
               { caption: words.help, run: showHelp });
  popup(x, y, entries, "Bildschirm");
}

// A bar's menu: its presets and the entry of a value.
function showBarMenu(bar, x, y) {
  const core = page.core;
  const menu = core.json(core.x.korv_barMenu(bar));
  const entries = menu.presets.map((preset) =>
    ({ caption: preset.caption, run: () => core.call("korv_setValue", bar, preset.value) }));
  entries.push(null, { caption: menu.entry, run: () => enterValue(bar, menu) });
  popup(x, y, entries, page.layout.controls.find((c) => c.scrollBar === bar).accessibleName);
}

// A numerator's or denominator's menu: the usual ratios, typed into both boxes.
function showRatioMenu(x, y) {
  const core = page.core;
  const menu = core.json(core.x.korv_ratioMenu());
  const entries = [{ caption: menu.caption }];
  for (const ratio of menu.ratios) {
    entries.push({ caption: ratio.caption, run: () => {
      typed(0, String(ratio.numerator));
      typed(1, String(ratio.denominator));
    } });
  }
  popup(x, y, entries, menu.caption);
}

// "Wert eingeben…": the text checked by the core at every keystroke, OK sets the bar as a
// click on it does.
function enterValue(bar, menu) {
  const dialog = document.getElementById("valueEntry");
  const field = dialog.querySelector("input");
  const message = dialog.querySelector(".message");
  const ok = dialog.querySelector("button[value=ok]");
  dialog.querySelector(".title").textContent = menu.title;
  dialog.querySelector("label span").textContent = menu.prompt;
  let value = null;
  const check = () => {
    const core = page.core;
    const bytes = core.encoder.encode(field.value);
    const pointer = core.x.korv_alloc(bytes.length + 1);
    core.bytes.set(bytes, pointer);
    const answer = core.json(core.x.korv_typedValue(bar, pointer, bytes.length));
    core.x.korv_free(pointer);
    value = answer.value;
    message.textContent = answer.message;
    ok.disabled = value === null;
  };
  field.value = menu.start;
  field.oninput = check;
  check();
  dialog.onclose = () => {
    if (dialog.returnValue === "ok" && value !== null) page.core.call("korv_setValue", bar, value);
    page.bars[bar].element.focus();
  };
  dialog.returnValue = "";
  dialog.showModal();
  field.select();
}

// A finger held still for half a second opens the menu a right click opens, where a browser
// (a tablet's) gives no context menu of its own for it.
function buildLongPress() {
  let timer = 0, start = null;
  const cancel = () => { clearTimeout(timer); timer = 0; };
  document.addEventListener("pointerdown", (e) => {
    if (e.pointerType === "mouse" || !e.isPrimary) return;
    cancel();
    // Held on a bar's arrow or track, a finger repeats the step as the desktop's held button
    // does: no menu comes up in the middle of it (the thumb held still opens the bar's).
    if (e.target.matches?.(".bar, .bar .arrow")) return;
    start = { x: e.clientX, y: e.clientY, target: e.target };
    timer = setTimeout(() => {
      timer = 0;
      page.longPressed = performance.now();
      start.target.dispatchEvent(new MouseEvent("contextmenu", { bubbles: true, cancelable: true,
                                                                 clientX: start.x, clientY: start.y }));
    }, 500);
  }, true);
  document.addEventListener("pointermove", (e) => {
    if (timer && Math.hypot(e.clientX - start.x, e.clientY - start.y) > 10) cancel();
  }, true);
  for (const type of ["pointerup", "pointercancel"]) document.addEventListener(type, cancel, true);
  // The browser's own menu after a long press would come second, and the finger's lifting
  // would click the entry beneath it: the page's menu is open already.
  const afterLongPress = (e) => {
    if (e.isTrusted && page.longPressed && performance.now() - page.longPressed < 1000) {
      e.preventDefault();
      e.stopPropagation();
      if (e.type === "click") page.longPressed = 0;
    }
  };
  document.addEventListener("contextmenu", afterLongPress, true);
  document.addEventListener("click", afterLongPress, true);
}

function hideMenu() {
  document.getElementById("menu").hidden = true;
}

function buildMenu() {
  const menu = document.getElementById("menu");
  menu.addEventListener("keydown", (e) => {
    const items = [...menu.querySelectorAll("[tabindex]")];
    const at = items.indexOf(document.activeElement);
    const parent = page.menuShown?.parent;
    if (e.key === "ArrowDown") items[(at + 1) % items.length].focus();
    else if (e.key === "ArrowUp") items[(at + items.length - 1) % items.length].focus();
    else if (e.key === "Enter" || e.key === " ") document.activeElement.click();
    else if (e.key === "ArrowRight") { if (document.activeElement.getAttribute("aria-haspopup")) document.activeElement.click(); }
    // In a submenu ← and Escape go back to its menu, at the entry that opened it, as on the
    // desktop.
    else if (parent && (e.key === "ArrowLeft" || e.key === "Escape")) {
      popup(page.menuShown.x, page.menuShown.y, parent.entries, parent.label, parent.parent);
      menu.querySelectorAll("[tabindex]")[parent.index]?.focus();
    } else if (e.key === "Escape" || e.key === "Tab") { hideMenu(); (page.menuOpener || page.screen.element).focus(); }
    else if (e.key !== "ArrowLeft") return;
    e.preventDefault();
  });
  document.addEventListener("pointerdown", (e) => { if (!menu.contains(e.target)) hideMenu(); });
  window.addEventListener("blur", hideMenu);
}
