#!/usr/bin/env python3
"""Makes the browser edition one file: the page's template with its style and scripts put in
where it names them (/*@include NAME*/, NAME beside the template) and the core's module as
base64 where it says @WASM_BASE64@ (gzip-packed; the sine kernel's own module where it says
@FUSED_BASE64@), and the desktop's help text (its body) where it says
@HELP_HTML@. Beside it go the two companions a web server hands out so that the page can be
installed and kept offline: korvelian.webmanifest (the program's icons in it) and
korvelian-sw.js, whose cache is named after the page.
Usage: pack.py template.html core.wasm out.html help.html icon.svg icon-256.png fused.wasm"""
import base64
import gzip
import hashlib
import json
import pathlib
import re
import sys


def main():
    template, wasm, out, help_file, svg_icon, png_icon, fused = (pathlib.Path(a) for a in sys.argv[1:8])
    folder = template.parent

    def include(match):
        text = (folder / match.group(1)).read_text(encoding="utf-8")
        # A script may not close its own element early.
        if "</script" in text.lower() or "</style" in text.lower():
            raise SystemExit(f"{match.group(1)} holds a closing tag")
        return text

    page = re.sub(r"/\*@include ([a-z.]+)\*/", include, template.read_text(encoding="utf-8"))
    help_text = help_file.read_text(encoding="utf-8")
    body = re.search(r"<body>(.*)</body>", help_text, re.S)
    if not body or "</template" in body.group(1).lower():
        raise SystemExit(f"{help_file} has no body to take or closes the page's template")
    page = page.replace("@HELP_HTML@", body.group(1))
    module = wasm.read_bytes()
    debugging = debug_sections(module)
    if debugging:
        raise SystemExit(f"{wasm} carries debugging sections ({', '.join(debugging)}): "
                         "a third of the module that no browser reads")
    # Packed: a browser reads a megabyte of text in the page for some 200 ms before any script
    # runs, a third of it in a third of the time; the page unpacks it natively.
    packed = gzip.compress(module, compresslevel=9, mtime=0)
    page = page.replace("@WASM_BASE64@", base64.b64encode(packed).decode("ascii"))
    page = page.replace("@FUSED_BASE64@", base64.b64encode(fused.read_bytes()).decode("ascii"))
    out.write_text(page, encoding="utf-8")
    companions(folder, out, page, svg_icon, png_icon)


def debug_sections(module):
    """The names of a WebAssembly module's custom sections that hold debugging information."""

    def number(at):
        value, shift = 0, 0
        while True:
            byte = module[at]
            at += 1
            value |= (byte & 0x7F) << shift
            shift += 7
            if byte < 0x80:
                return value, at

    names, at = [], 8
    while at < len(module):
        kind = module[at]
        size, at = number(at + 1)
        if kind == 0:
            length, name_at = number(at)
            name = module[name_at:name_at + length].decode("utf-8", "replace")
            if name.startswith(".debug_") or name == "external_debug_info":
                names.append(name)
        at += size
    return names


def data_link(path, kind):
    return f"data:{kind};base64," + base64.b64encode(path.read_bytes()).decode("ascii")


def companions(folder, out, page, svg_icon, png_icon):
    manifest = {
        "name": "Korvelian-Figuren, Simulation Oszilloskop",
        "short_name": "Korvelian-Figuren",
        "lang": "de",
        "start_url": "korvelian.html",
        "scope": "./",
        "display": "standalone",
        "background_color": "#f0f0f0",
        "theme_color": "#f0f0f0",
        "icons": [
            {"src": data_link(svg_icon, "image/svg+xml"), "sizes": "any", "type": "image/svg+xml"},
            {"src": data_link(png_icon, "image/png"), "sizes": "256x256", "type": "image/png"},
        ],
    }
    (out.parent / "korvelian.webmanifest").write_text(
        json.dumps(manifest, ensure_ascii=False, indent=1) + "\n", encoding="utf-8")
    version = hashlib.sha256(page.encode("utf-8")).hexdigest()[:16]
    worker = (folder / "korvelian-sw.js").read_text(encoding="utf-8").replace("@VERSION@", version)
    (out.parent / "korvelian-sw.js").write_text(worker, encoding="utf-8")


if __name__ == "__main__":
    main()
