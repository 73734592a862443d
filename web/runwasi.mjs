// Runs a WebAssembly command (a program with main) under Node's WASI: ctest's emulator for the
// model's checks built for the browser edition.
import fs from "node:fs";
import { WASI } from "node:wasi";

const wasi = new WASI({ version: "preview1", args: process.argv.slice(2), env: {} });
const module = await WebAssembly.compile(fs.readFileSync(process.argv[2]));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
process.exitCode = wasi.start(instance);
