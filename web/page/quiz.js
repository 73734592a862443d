// "Welches Verhältnis?" as a panel beside the window: the desktop's quiz in the core picks the
// figure, puts it on the screen and judges the typed answer; while it asks, the boxes' contents,
// the values and the reading aid are hidden, as on the desktop.

function quizState(pointer) {
  const state = page.core.json(pointer);
  const panel = document.getElementById("quiz");
  if (state.number === undefined) return state;
  richText(panel.querySelector(".question"), state.question);
  panel.querySelector(".score").textContent = state.score;
  const phase = panel.querySelector("input.phase");
  phase.disabled = !state.asksPhase;
  if (state.explanation !== undefined) richText(panel.querySelector(".explanation"), state.explanation);
  page.quiz = state;
  return state;
}

function buildQuizPanel() {
  const words = page.core.json(page.core.x.korv_quizWords());
  const panel = document.createElement("section");
  panel.id = "quiz";
  panel.hidden = true;
  panel.setAttribute("aria-label", words.title);
  const title = document.createElement("div");
  title.className = "title";
  const caption = document.createElement("span");
  caption.textContent = words.title;
  const close = document.createElement("button");
  close.type = "button";
  close.className = "close";
  close.setAttribute("aria-label", "Schließen");
  close.textContent = "✕";
  close.addEventListener("click", () => endQuiz());
  title.append(caption, close);
  const question = document.createElement("p");
  question.className = "question";
  const answer = document.createElement("form");
  answer.className = "answer";
  const ratioLabel = document.createElement("label");
  const ratioWords = document.createElement("span");
  richText(ratioWords, words.ratio);
  const ratio = document.createElement("input");
  Object.assign(ratio, { type: "text", className: "ratio", placeholder: words.ratioPlaceholder, spellcheck: false, autocomplete: "off" });
  ratioLabel.append(ratioWords, " ", ratio);
  const phaseLabel = document.createElement("label");
  const phase = document.createElement("input");
  Object.assign(phase, { type: "text", className: "phase", placeholder: words.phasePlaceholder, spellcheck: false, autocomplete: "off" });
  phaseLabel.append(words.phase, " ", phase);
  const check = document.createElement("button");
  check.className = "check";
  check.textContent = words.check;
  answer.append(ratioLabel, phaseLabel, check);
  answer.addEventListener("submit", (e) => {
    e.preventDefault();
    judgeAnswer(ratio.value, phase.value);
  });
  const explanation = document.createElement("p");
  explanation.className = "explanation";
  explanation.setAttribute("role", "status");
  const bottom = document.createElement("div");
  bottom.className = "bottom";
  const score = document.createElement("span");
  score.className = "score";
  const next = document.createElement("button");
  next.type = "button";
  next.className = "next";
  next.textContent = words.next;
  next.addEventListener("click", () => askNext());
  bottom.append(score, next);
  panel.append(title, question, answer, explanation, bottom);
  buildQuizRange(panel, words);
  // Only while it is open: the focus may still stand in the panel just closed.
  panel.addEventListener("keydown", (e) => {
    if (e.key === "Escape" && !panel.hidden) {
      e.preventDefault();
      endQuiz();
    }
  });
  document.body.append(panel);
  window.addEventListener("resize", placeQuiz);
}

// Beside the window where the page has room; else over the controls left of the screen, whose
// values are hidden while the quiz asks, never over the figure the class reads.
function placeQuiz() {
  const panel = document.getElementById("quiz");
  if (panel.hidden) return;
  const form = document.getElementById("form").getBoundingClientRect();
  const screen = document.getElementById("picBildschirm").getBoundingClientRect();
  const room = window.innerWidth - form.right;
  const beside = room >= 280;
  // Presenting, the class reads it from the back of the room, as the desktop's quiz: capitals
  // (about 0,7 of the font's size) at least the margin's share of the height, at the margin's
  // foot beneath the step's heading and the signals' formulas.
  const presenting = !!page.presenting && room > 0;
  panel.style.fontSize = presenting ? `${Math.ceil(page.presentationShares.cap * window.innerHeight / 0.7)}px` : "";
  panel.style.left = `${Math.round(beside || presenting ? form.right : form.left)}px`;
  panel.style.width = `${Math.round(beside || presenting ? room : screen.left - form.left)}px`;
  panel.style.maxHeight = `${Math.round(presenting ? window.innerHeight : form.height)}px`;
  // From the foot up, so that an explanation written later grows it upward.
  panel.style.top = presenting ? "auto" : `${Math.round(form.top)}px`;
  panel.style.bottom = presenting ? "0px" : "";
}

function judgeAnswer(ratioText, phaseText) {
  const state = withText(ratioText, (ratio, ratioLength) => withText(phaseText, (phase, phaseLength) =>
    quizState(page.core.x.korv_quizJudge(ratio, ratioLength, phase, phaseLength))));
  // Judged (not refused): the next figure is a key away.
  if (state.verdict !== 3) document.querySelector("#quiz .next").focus();
  return state;
}

function quizCleared() {
  const panel = document.getElementById("quiz");
  for (const input of panel.querySelectorAll("form.answer input")) input.value = "";
  panel.querySelector(".explanation").replaceChildren();
  panel.querySelector("input.ratio").focus();
}

function askNext() {
  page.core.callThen(() => { quizState(page.core.x.korv_quizState()); quizCleared(); }, "korv_quizNext");
}

// Hides the values for the class while the quiz asks or "Werte verbergen" is ticked: the
// reading aid and the values off (back as they were afterwards), the boxes' contents covered,
// the time signals without their formulas.
function coverValues() {
  const core = page.core;
  const hidden = !!page.valuesChosenHidden || !document.getElementById("quiz").hidden;
  if (hidden && !page.valuesBefore) {
    const views = core.json(core.x.korv_views());
    page.valuesBefore = [views[0].on, views[1].on];
    core.x.korv_setView(0, 0);
    core.x.korv_setView(1, 0);
  } else if (!hidden && page.valuesBefore) {
    page.valuesBefore.forEach((on, index) => core.x.korv_setView(index, on ? 1 : 0));
    page.valuesBefore = null;
  }
  core.x.korv_setValuesHidden(hidden ? 1 : 0);
  document.getElementById("form").classList.toggle("covered", hidden);
}

// A series from seed in the range {largest, phases, amplitudes, tolerance}; without a seed one
// of the clock's.
function startQuiz(range = {}, seed = undefined) {
  const r = { largest: 4, phases: false, amplitudes: false, tolerance: 10, ...range };
  const s = seed ?? Math.floor(Math.random() * 1000000);
  document.getElementById("quiz").hidden = false;
  showQuizRange(r, s);
  placeQuiz();
  coverValues();
  page.core.callThen(() => { quizState(page.core.x.korv_quizState()); quizCleared(); },
                     "korv_quizStart", r.largest, r.phases ? 1 : 0, r.amplitudes ? 1 : 0, r.tolerance, s);
}

function endQuiz() {
  document.getElementById("quiz").hidden = true;
  page.core.x.korv_quizEnd();
  page.quiz = null;
  coverValues();
}

function toggleQuiz() {
  if (document.getElementById("quiz").hidden) startQuiz();
  else endQuiz();
}
