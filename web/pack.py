#!/usr/bin/env python3
"""Makes the browser edition one file: the page's template with its style and scripts put in
where it names them (/*@include NAME*/, NAME beside the template) and the core's module as
base64 where it says @WASM_BASE64@, and the desktop's help text (its body) where it says
@HELP_HTML@. Usage: pack.py template.html core.wasm out.html help.html"""
import base64
import pathlib
import re
import sys


def main():
    template, wasm, out, help_file = (pathlib.Path(a) for a in sys.argv[1:5])
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
    page = page.replace("@WASM_BASE64@", base64.b64encode(wasm.read_bytes()).decode("ascii"))
    out.write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
