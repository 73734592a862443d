// Runs a WebAssembly command (a program with main) under Node: ctest's emulator for the model's
// checks built for the browser edition. The few system calls such a program makes (writing to
// the terminal, its arguments and environment, its exit) are answered here; Node's own WASI
// crashed now and then on leaving.
import fs from "node:fs";

const [file, ...args] = process.argv.slice(2);
let memory = null;
class Exit {
  constructor(code) { this.code = code; }
}
const view = () => new DataView(memory.buffer);
const encoder = new TextEncoder();
const argv = [file, ...args].map((a) => encoder.encode(a + "\0"));
const wasi = {
  fd_write(fd, iovs, count, written) {
    const v = view();
    let total = 0;
    for (let k = 0; k < count; ++k) {
      const pointer = v.getUint32(iovs + 8 * k, true), length = v.getUint32(iovs + 8 * k + 4, true);
      fs.writeSync(fd === 2 ? 2 : 1, new Uint8Array(memory.buffer, pointer, length));
      total += length;
    }
    v.setUint32(written, total, true);
    return 0;
  },
  args_sizes_get(count, size) {
    view().setUint32(count, argv.length, true);
    view().setUint32(size, argv.reduce((n, a) => n + a.length, 0), true);
    return 0;
  },
  args_get(pointers, buffer) {
    for (const [k, a] of argv.entries()) {
      view().setUint32(pointers + 4 * k, buffer, true);
      new Uint8Array(memory.buffer, buffer, a.length).set(a);
      buffer += a.length;
    }
    return 0;
  },
  environ_sizes_get(count, size) {
    view().setUint32(count, 0, true);
    view().setUint32(size, 0, true);
    return 0;
  },
  environ_get: () => 0,
  fd_fdstat_get(fd, stat) {
    new Uint8Array(memory.buffer, stat, 24).fill(0);
    view().setUint8(stat, 2); // a character device
    return 0;
  },
  clock_time_get(id, precision, out) {
    view().setBigUint64(out, process.hrtime.bigint(), true);
    return 0;
  },
  proc_exit(code) { throw new Exit(code); },
};
const module = await WebAssembly.compile(fs.readFileSync(file));
const imports = { wasi_snapshot_preview1: {} };
for (const entry of WebAssembly.Module.imports(module))
  imports[entry.module][entry.name] = wasi[entry.name] ?? (() => 52); // not supported
const instance = await WebAssembly.instantiate(module, imports);
memory = instance.exports.memory;
try {
  instance.exports._start();
  process.exitCode = 0;
} catch (error) {
  if (!(error instanceof Exit)) throw error;
  process.exitCode = error.code;
}
