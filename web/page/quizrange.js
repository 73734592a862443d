// The teacher's choice in the quiz's panel, as in the desktop's quiz window: the ratios, phases
// and amplitudes a series picks from, the phase's tolerance, the series' number, "Neue Reihe".
// The tolerance and the number go through the command line's reader; what it refuses starts
// nothing and is said in the panel.

function buildQuizRange(panel, words) {
  const range = document.createElement("fieldset");
  range.className = "range";
  const legend = document.createElement("legend");
  legend.textContent = words.rangeTitle;
  const labelled = (caption, control) => {
    const label = document.createElement("label");
    label.append(caption, " ", control);
    return label;
  };
  const largest = document.createElement("select");
  largest.className = "largest";
  for (const [value, caption] of words.largestChoices) largest.append(new Option(caption, String(value)));
  const ticked = (caption, className) => {
    const box = document.createElement("input");
    Object.assign(box, { type: "checkbox", className });
    const label = document.createElement("label");
    label.append(box, " ", caption);
    return label;
  };
  const tolerance = document.createElement("input");
  Object.assign(tolerance, { type: "text", className: "tolerance", value: String(words.toleranceStart),
                             inputMode: "numeric", spellcheck: false, autocomplete: "off" });
  const seed = document.createElement("input");
  Object.assign(seed, { type: "text", className: "seed", value: "1", inputMode: "numeric", spellcheck: false, autocomplete: "off" });
  const restart = document.createElement("button");
  restart.type = "button";
  restart.className = "restart";
  restart.textContent = words.newSeries;
  restart.addEventListener("click", () => startChosenSeries());
  range.append(legend, labelled(words.largest, largest), ticked(words.phases, "phases"),
               ticked(words.amplitudes, "amplitudes"), labelled(words.tolerance, tolerance), "°",
               labelled(words.seed, seed), restart);
  panel.insertBefore(range, panel.querySelector(".question"));
}

// The controls showing the series asked: a link's or the menu's.
function showQuizRange(range, seed) {
  const panel = document.getElementById("quiz");
  panel.querySelector("select.largest").value = String(range.largest);
  panel.querySelector("input.phases").checked = range.phases;
  panel.querySelector("input.amplitudes").checked = range.amplitudes;
  panel.querySelector("input.tolerance").value = String(range.tolerance);
  panel.querySelector("input.seed").value = String(seed);
}

function startChosenSeries() {
  const panel = document.getElementById("quiz");
  const typed = [panel.querySelector("select.largest").value, panel.querySelector("input.tolerance").value,
                 panel.querySelector("input.seed").value];
  const core = page.core;
  const read = withText(typed[0], (a, an) => withText(typed[1], (b, bn) => withText(typed[2], (c, cn) =>
    core.json(core.x.korv_quizRange(a, an, b, bn, c, cn)))));
  if (read.fault) {
    panel.querySelector(".explanation").textContent = read.fault;
    return read;
  }
  startQuiz({ largest: read.largest, tolerance: read.tolerance, phases: panel.querySelector("input.phases").checked,
              amplitudes: panel.querySelector("input.amplitudes").checked }, read.seed);
  return read;
}
