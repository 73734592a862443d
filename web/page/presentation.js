// "Präsentation" (F5): the page on the whole display, or the whole browser window where full
// screen is refused; the window at the page's full height at the left, and in the margin beside
// it what the desktop's margin shows, described by the core: the lesson's step, the time
// signals, the reading aid's legend, every letter for the back of the room.

// The zoom that puts the window at the page's full height, leaving the margin its share.
function presentingZoom(width, height) {
  const shares = page.presentationShares;
  return Math.min(window.innerHeight / height, window.innerWidth * (1 - shares.margin) / width);
}

// Called by the page's fit once the zoom is set: the window to the left, the screen's letters
// and graticule for the room.
function fitPresenting(form) {
  form.style.left = "0px";
  page.core.x.korv_setPresenting(1, window.innerHeight, page.zoom);
}

// The margin painted again with the figure and with every frame of the beam.
function paintPresentation() {
  const margin = document.getElementById("presentation");
  if (!page.presenting) return;
  document.getElementById("timeSignals").hidden = true;
  const right = Math.ceil(document.getElementById("form").getBoundingClientRect().right);
  const element = { clientWidth: Math.max(1, window.innerWidth - right), clientHeight: window.innerHeight, layout: {} };
  margin.style.left = `${right}px`;
  const size = canvasSize(margin, element);
  const core = page.core;
  page.presentationScene = core.json(core.x.korv_presentation(size.width, size.height, window.innerHeight,
                                                              page.zoom, size.ratio));
  paintScene(margin, size, page.presentationScene);
}

function setPresenting(on) {
  if (!!page.presenting === on) return;
  const margin = document.getElementById("presentation");
  if (on) {
    page.presenting = { fullScreen: false };
    const state = page.presenting;
    if (!document.fullscreenElement && document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().then(() => { state.fullScreen = true; }, () => {});
    }
    margin.hidden = false;
    document.body.classList.add("presenting");
  } else {
    const entered = page.presenting.fullScreen;
    page.presenting = null;
    margin.hidden = true;
    document.body.classList.remove("presenting");
    page.core.x.korv_setPresenting(0, 0, 0);
    if (entered && document.fullscreenElement) document.exitFullscreen().catch(() => {});
  }
  fit();
  placeQuiz();
}

function togglePresentation() {
  setPresenting(!page.presenting);
}

function buildPresentation() {
  page.presentationShares = page.core.json(page.core.x.korv_presentationShares());
  const margin = document.createElement("canvas");
  margin.id = "presentation";
  margin.hidden = true;
  margin.setAttribute("role", "img");
  margin.setAttribute("aria-label", page.classroomWords.presentation);
  document.body.append(margin);
  // Leaving full screen (Escape, F11) ends the presentation that entered it.
  document.addEventListener("fullscreenchange", () => {
    if (page.presenting && page.presenting.fullScreen && !document.fullscreenElement) setPresenting(false);
  });
  document.addEventListener("keydown", (e) => {
    if (e.key === "F5") { e.preventDefault(); togglePresentation(); }
    // An Escape that closed a menu, the help or the quiz has done its work: only one of its own
    // ends the presentation, as on the desktop.
    else if (e.key === "Escape" && !e.defaultPrevented && page.presenting && !document.fullscreenElement) setPresenting(false);
  });
}
