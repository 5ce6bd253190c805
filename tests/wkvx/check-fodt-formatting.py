#!/usr/bin/env python3
"""Reads the document that wkvx_formatsample saved, as LibreOffice converted
it to flat ODF, and checks its text and formatting.

usage: check-fodt-formatting.py FILE.fodt
"""
import sys
import xml.etree.ElementTree as ET

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
}


def q(prefix, name):
    return "{%s}%s" % (NS[prefix], name)


def main():
    root = ET.parse(sys.argv[1]).getroot()
    faces = {f.get(q("style", "name")): f.get(q("svg", "font-family")).strip("'")
             for f in root.iter(q("style", "font-face"))}
    styles = {}
    for s in root.iter(q("style", "style")):
        props = {"parent": s.get(q("style", "parent-style-name"))}
        for child in s:
            props.update({k.split("}")[1]: v for k, v in child.attrib.items()})
        styles[s.get(q("style", "name"))] = props

    def resolved(name):
        out = {}
        chain = []
        while name and name in styles and name not in chain:
            chain.append(name)
            name = styles[name]["parent"]
        for n in reversed(chain):
            out.update(styles[n])
        return out

    # Every character with the properties it is shown with.
    paragraphs = []
    for p in root.iter(q("text", "p")):
        pprops = resolved(p.get(q("text", "style-name")))
        chars = []

        def walk(el, props):
            if el.text:
                chars.extend((c, props) for c in el.text)
            for child in el:
                cp = props
                if child.tag == q("text", "span"):
                    cp = dict(props)
                    cp.update(resolved(child.get(q("text", "style-name"))))
                elif child.tag == q("text", "s"):
                    chars.extend((" ", props) for _ in range(int(child.get(q("text", "c"), "1"))))
                walk(child, cp)
                if child.tail:
                    chars.extend((c, props) for c in child.tail)

        walk(p, pprops)
        paragraphs.append(("".join(c for c, _ in chars), chars, pprops))

    failures = []

    def check(ok, what):
        print(("ok     " if ok else "WRONG  ") + what)
        if not ok:
            failures.append(what)

    texts = [t for t, _, _ in paragraphs]
    expected = ["Colours: red and blue.", "Bold italic under then Big sans words.", "Centred line", "Right line"]
    check(texts == expected, "text %r" % texts)

    def props_of(word):
        for text, chars, _ in paragraphs:
            at = text.find(word)
            if at >= 0:
                return [p for _, p in chars[at:at + len(word)]]
        return []

    def every(word, key, want, name):
        ps = props_of(word)
        got = {str(p.get(key)) for p in ps}
        check(bool(ps) and all(want(p.get(key)) for p in ps), "%s: %s (%s)" % (word, name, ", ".join(sorted(got))))

    bold = lambda v: v in ("bold", "700")
    every("Bold", "font-weight", bold, "bold")
    every("italic", "font-weight", lambda v: not bold(v), "not bold")
    every("italic", "font-style", lambda v: v == "italic", "italic")
    every("under", "text-underline-style", lambda v: v not in (None, "none"), "underlined")
    every("then", "text-underline-style", lambda v: v in (None, "none"), "not underlined")
    every("Big sans", "font-name", lambda v: faces.get(v, v) == "Liberation Sans", "Liberation Sans")
    every("Big sans", "font-size", lambda v: v == "18pt", "18pt")
    every("words", "font-name", lambda v: faces.get(v, v) == "Times New Roman", "Times New Roman")
    every("words", "font-size", lambda v: v == "12pt", "12pt")
    every("red", "color", lambda v: v and v.lower() == "#c00000", "red")
    every("blue", "color", lambda v: v and v.lower() == "#0000ff", "blue")
    align = {t: p.get("text-align", "start") for t, _, p in paragraphs}
    check(align.get("Centred line") == "center", "Centred line: centred (%s)" % align.get("Centred line"))
    check(align.get("Right line") in ("end", "right"), "Right line: right (%s)" % align.get("Right line"))
    check(align.get("Colours: red and blue.") in ("start", "left"), "first paragraph: left")
    print("%d wrong" % len(failures) if failures else "all as formatted")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
