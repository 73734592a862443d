// "Ton": the core's stereo tone played through the page's audio, started by a gesture.

// "Ton": the core's stereo tone (x left, y right) through Web Audio. The page's audio is made
// at the first choice of it, a user's gesture, as browsers require; the core's oscillators run
// on from frame to frame, so the tone is continuous however the browser asks for it.
const sound = { context: null, node: null };

function toneInto(left, right) {
  const count = left.length;
  const pointer = page.core.x.korv_renderTone(count);
  const frames = new Int16Array(page.core.x.memory.buffer, pointer, 2 * count);
  for (let k = 0; k < count; ++k) {
    left[k] = frames[2 * k] / 32768;
    right[k] = frames[2 * k + 1] / 32768;
  }
}

function audioContextClass() {
  return window.AudioContext || window.webkitAudioContext || null;
}

function startAudio() {
  const Context = audioContextClass();
  if (!Context) return false;
  if (!sound.context) {
    sound.context = new Context();
    page.core.x.korv_soundStart(sound.context.sampleRate);
    // A script processor runs in every browser with Web Audio, also from a file, where an audio
    // worklet could not share the core.
    sound.node = sound.context.createScriptProcessor(2048, 0, 2);
    sound.node.onaudioprocess = (e) => toneInto(e.outputBuffer.getChannelData(0), e.outputBuffer.getChannelData(1));
    sound.node.connect(sound.context.destination);
  }
  sound.context.resume().catch(() => {});
  return true;
}

function toggleSound(words) {
  const on = page.core.x.korv_soundOn() === 1;
  if (!on && !startAudio()) {
    notice(words.noWebAudio);
    return;
  }
  page.core.call("korv_setSound", on ? 0 : 1);
}
