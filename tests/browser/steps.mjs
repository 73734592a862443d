// The beam's steps at the display's frames: each frame runs the steps the desktop's loop makes
// by its time, one every pause of 10 ms, and a loop held up goes on late instead of running
// every step it missed. Cores of their own, driven frame by frame, whose beam must stand where
// a core stepped once a frame stands after as many steps; and the page idle between them.
export default async function steps({ page, check }) {
  // Each row: the frames' times in ms after the first pause ends, the steps made by then.
  const rows = [
    ["a frame before the pause ends makes none", [-5], 0],
    ["the display's 60 frames a second, 100 steps", [16.7, 33.4, 50.1, 66.8, 83.5, 100.2, 116.9, 133.6, 150.3,
                                                    167, 183.7, 200.4], 21],
    ["a frame 60 ms late makes the steps owed", [5, 65], 7],
    ["95 ms behind, every step owed", [95], 10],
    ["held up for 150 ms, one step and on from there", [150, 155, 162], 2],
    ["held up for a second, the same", [1000, 1005, 1012, 1031], 4],
  ];
  const result = await page.evaluate(async (rows) => {
    const beamStarted = async () => {
      const host = { changed() {}, settled() {}, frameWanted() {}, ended() {}, message() {} };
      const core = await Core.load(korvelian.core.module, host);
      core.call("korv_start");
      core.call("korv_event", korvelian.layout.controls.find((c) => c.name === "Command2").click);
      while (core.suspended.at(-1)?.wait.kind !== "sleep") await new Promise((done) => setTimeout(done, 5));
      return core;
    };
    const beam = (core) => core.string(core.x.korv_overlays(441, 441, 1));
    // The beam after each number of steps, one frame a step just after its pause ended.
    const reference = await beamStarted();
    const after = [beam(reference)];
    for (let k = 0; k < 25; ++k) {
      reference.frame(reference.suspended.at(-1).wait.until * 1000 + 0.001);
      after.push(beam(reference));
    }
    const failed = [];
    for (const [name, frames, made] of rows) {
      const core = await beamStarted();
      const start = core.suspended.at(-1).wait.until * 1000;
      for (const time of frames) core.frame(start + time);
      const shown = after.indexOf(beam(core));
      if (shown !== made) failed.push(`${name}: ${shown} steps, not ${made}`);
    }
    return failed;
  }, rows);
  check("the beam's steps at the display's frames", result.length === 0, result.join("; "));
  // With nothing running, a frame asks for no other.
  const idle = await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() =>
    done([korvelian.framePending, korvelian.core.suspended.length])))));
  check("no frame asked for while the beam stands", idle.join() === "false,0", idle.join());
}
