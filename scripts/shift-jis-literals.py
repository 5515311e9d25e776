#!/usr/bin/env python3
"""shift-jis-literals.py IN OUT: copies a C++ source whose string literals hold
Japanese text, with every non-ASCII character of a string or character literal
written as the octal escapes of its Shift-JIS (code page 932) bytes. For a
compiler that takes no execution character set but UTF-8 (clang, emscripten's):
the program then holds the same bytes as a build with -fexec-charset=CP932."""
import sys


def convert(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c in "\"'":
            out.append(c)
            i += 1
            while i < n and text[i] != c:
                if text[i] == "\\":
                    out.append(text[i:i + 2])
                    i += 2
                    continue
                if ord(text[i]) < 128:
                    out.append(text[i])
                else:
                    out.append("".join("\\%03o" % b for b in text[i].encode("cp932")))
                i += 1
            out.append(c)
            i += 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    with open(target, "w", encoding="utf-8") as f:
        f.write(convert(text))


if __name__ == "__main__":
    main()
