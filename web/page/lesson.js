// The lesson's entries on the page, from the desktop's lesson code in the core: the lesson
// files opened and saved, their steps with Page Down / Page Up. The core reads, checks and
// writes; the page only shows and hands over.

// The core's rich text (<i>, <sub>, <sup>, <b>, <br>) as elements; every other character is
// text, so that nothing typed ever becomes markup.
function richText(element, html) {
  element.replaceChildren();
  const open = [element];
  const entity = { "&lt;": "<", "&gt;": ">", "&amp;": "&", "&quot;": "\"", "&nbsp;": "\u00a0" };
  for (const piece of html.split(/(<\/?(?:i|sub|sup|b)>|<br\s*\/?>)/)) {
    const tag = /^<(\/?)(i|sub|sup|b|br)/.exec(piece);
    if (!tag) {
      if (piece) open.at(-1).append(piece.replace(/&(lt|gt|amp|quot|nbsp);/g, (e) => entity[e]));
    } else if (tag[2] === "br") {
      open.at(-1).append(document.createElement("br"));
    } else if (tag[1]) {
      if (open.length > 1) open.pop();
    } else {
      const child = document.createElement(tag[2]);
      open.at(-1).append(child);
      open.push(child);
    }
  }
}

// The lesson opened last: {steps, step, title}; stepping only where it has more than one.
function showLessonStep(state) {
  page.lesson = state;
  if (state.steps > 1) notice(state.heading);
  // A step that starts the beam starts it as a click does; its speed follows in the first frame.
  const running = page.core.json(page.core.x.korv_state()).runs;
  if (state.beam && !running) startBeam();
}

// A beam a step or a link asks for, started as a click starts it; its speed follows once it
// has moved, however busy the machine (while it runs, or a second of frames for it to start).
function startBeam() {
  document.getElementById("Command2").click();
  let frames = 0;
  const speed = () => {
    if (page.core.x.korv_stepSpeed()) return;
    if (++frames < 60 || page.core.json(page.core.x.korv_state()).runs) requestAnimationFrame(speed);
  };
  requestAnimationFrame(speed);
}

// "Einstellungen öffnen…": a .korvelian file read whole by the core; a refused one changes
// nothing and says why, naming the line.
function openLessonText(text) {
  const state = withText(text, (pointer, length) => page.core.json(page.core.x.korv_openLesson(pointer, length)));
  if (state.refusal) {
    host.message(state.refusal, page.classroomWords.open, () => {});
    return state;
  }
  page.core.callThen(() => {
    host.changed(~0);
    showLessonStep(page.core.json(page.core.x.korv_lessonState()));
  }, "korv_showStep", 0);
  return state;
}

function openLesson() {
  const input = document.createElement("input");
  input.type = "file";
  input.accept = ".korvelian";
  input.addEventListener("change", async () => {
    const file = input.files[0];
    if (!file) return;
    // Larger than a lesson: the core refuses it without its whole text.
    const text = file.size > 1024 * 1024 ? " ".repeat(256 * 1024 + 1) : await file.text();
    openLessonText(text);
    page.lessonName = file.name;
  });
  input.click();
}

// While the quiz asks, the controls hold its figure: a lesson saved or a step appended would
// write the answer down, so neither is offered, as on the desktop.
function quizAsks() {
  return !document.getElementById("quiz").hidden;
}

// "Einstellungen speichern…": the text the desktop writes, as a download.
function saveLesson() {
  if (quizAsks()) return null;
  const text = page.core.json(page.core.x.korv_saveLesson()).text;
  page.lesson = page.core.json(page.core.x.korv_lessonState());
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([text], { type: "text/plain;charset=utf-8" }));
  link.download = page.lessonName || "stunde.korvelian";
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  return text;
}

// "Als Schritt anhängen": the setting as a new step after the one on show, as the desktop
// appends it; Page Down / Page Up step through it then.
function appendStep() {
  if (quizAsks()) return null;
  const state = page.core.json(page.core.x.korv_appendStep());
  page.lesson = state;
  notice(state.heading);
  return state;
}

function stepBy(delta) {
  const lesson = page.lesson;
  if (!lesson || lesson.steps < 2) return false;
  const to = lesson.step + delta;
  if (to < 0 || to >= lesson.steps) return true;
  page.core.callThen(() => {
    host.changed(~0);
    showLessonStep(page.core.json(page.core.x.korv_lessonState()));
  }, "korv_showStep", to);
  return true;
}

// "Vorhersage": the figure hidden, the beam drawing it from nothing, or the time signals alone
// until "Auflösen".
function setPrediction(mode) {
  if (mode === 2) {
    const index = page.core.json(page.core.x.korv_views()).findIndex((v) => v.timeSignals);
    page.core.x.korv_setView(index, 1);
  }
  page.core.x.korv_setPrediction(mode);
}

function predictionEntries() {
  const prediction = page.core.json(page.core.x.korv_prediction());
  const entries = [{ caption: prediction.caption }];
  prediction.modes.forEach((caption, mode) =>
    entries.push({ caption, checked: prediction.mode === mode, run: () => setPrediction(mode) }));
  if (!prediction.shown) entries.push({ caption: prediction.resolve, run: () => page.core.x.korv_resolvePrediction() });
  entries.push({ caption: prediction.hideValues, checked: !!page.valuesChosenHidden, run: () => {
    page.valuesChosenHidden = !page.valuesChosenHidden;
    coverValues();
  } });
  return entries;
}

// The screen menu's lesson entries.
function classroomEntries() {
  const words = page.classroomWords;
  const entries = [{ caption: words.menu },
                   { caption: words.presentation, checked: !!page.presenting, run: togglePresentation }, null,
                   ...predictionEntries(), null,
                   { caption: words.quiz, checked: !document.getElementById("quiz").hidden, run: toggleQuiz },
                   { caption: words.open, run: openLesson }, { caption: words.save, run: saveLesson, disabled: quizAsks() },
                   { caption: words.appendStep, run: appendStep, disabled: quizAsks() }];
  if (page.lesson && page.lesson.steps > 1) {
    entries.push({ caption: words.nextStep, run: () => stepBy(1) },
                 { caption: words.previousStep, run: () => stepBy(-1) });
  }
  return entries;
}

function buildClassroom() {
  page.classroomWords = page.core.json(page.core.x.korv_classroomWords());
  buildQuizPanel();
  buildPresentation();
  // Page Down / Page Up step through a lesson, except where a bar has the focus: it keeps them
  // for its own page step, as on the desktop.
  document.addEventListener("keydown", (e) => {
    // Ctrl+Enter: "Auflösen", as on the desktop.
    if (e.key === "Enter" && e.ctrlKey) page.core.x.korv_resolvePrediction();
    if ((e.key !== "PageDown" && e.key !== "PageUp") || e.target.closest?.(".bar")) return;
    if (stepBy(e.key === "PageDown" ? 1 : -1)) e.preventDefault();
  });
}
