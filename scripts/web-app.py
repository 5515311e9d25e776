#!/usr/bin/python3
"""web-app.py WEB_DIR ICON: makes the web folder an installable, offline page.

- The manifest's icons, icons/anagura-192.png and icons/anagura-512.png: the
  game's 16-pixel icon (ICON, the PNG the asset generator writes, 8-bit RGBA)
  magnified by whole multiples, pixel for pixel.
- The service worker, anagura-sw.js, from its template in the folder: the
  template's line "const kFiles = {};" becomes every file the page needs with
  a hash of its bytes, and "const kVersion = '';" the version: a hash of the
  list of every file but index.html. Any changed file changes the worker,
  which is how the browser finds a new version; the worker then fetches only
  the files whose hash changed.
- index.html asks for its scripts and style with "?v=" and the version, and
  names the version (meta anagura-version) for the page's own requests: a
  page always gets the files of its own version from the worker.
The node tool's files, which no page loads, are left out of the list."""
import hashlib
import pathlib
import re
import struct
import sys
import zlib

ICON_SIZES = (192, 512)
NOT_FOR_THE_PAGE = ('anagura-replay.js', 'anagura-replay.wasm.br', 'anagura-sw.js')


def read_rgba_png(path):
    data = pathlib.Path(path).read_bytes()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise SystemExit(f'web-app: {path} is not a PNG')
    at, idat, width, height = 8, b'', 0, 0
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if (depth, colour, interlace) != (8, 6, 0):
                raise SystemExit(f'web-app: {path} is not 8-bit RGBA without interlace')
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up, corner = previous[x], previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def write_rgba_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\0' + row for row in rows)
    pathlib.Path(path).write_bytes(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
                                   + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def magnified(rows, factor):
    out = []
    for row in rows:
        wide = b''.join(row[x:x + 4] * factor for x in range(0, len(row), 4))
        out.extend([wide] * factor)
    return out


def write_icons(web, icon):
    width, height, rows = read_rgba_png(icon)
    (web / 'icons').mkdir(exist_ok=True)
    for size in ICON_SIZES:
        if size % width or width != height:
            raise SystemExit(f'web-app: {icon} ({width} x {height}) does not magnify to {size}')
        write_rgba_png(web / 'icons' / f'anagura-{size}.png', size, size, magnified(rows, size // width))


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()[:16]


def fill(path, line, filled):
    text = path.read_text(encoding='utf-8')
    if line not in text:
        raise SystemExit(f'web-app: {path} lacks {line!r}')
    path.write_text(text.replace(line, filled, 1), encoding='utf-8')


def write_worker(web):
    files = {}
    for path in sorted(p for p in web.rglob('*') if p.is_file()):
        name = path.relative_to(web).as_posix()
        if name in NOT_FOR_THE_PAGE or name == 'index.html' or name.endswith('-copyright.txt'):
            continue
        files[name] = digest(path)
    version = hashlib.sha256(repr(sorted(files.items())).encode()).hexdigest()[:12]
    page = web / 'index.html'
    fill(page, '<meta name="anagura-version" content="">', f'<meta name="anagura-version" content="{version}">')
    text = page.read_text(encoding='utf-8')
    text = re.sub(r'((?:src|href)="anagura-[a-z-]+\.(?:js|css))"', rf'\1?v={version}"', text)
    page.write_text(text, encoding='utf-8')
    files['index.html'] = digest(page)
    listing = ''.join(f'  {name!r}: {h!r},\n' for name, h in sorted(files.items()))
    worker = web / 'anagura-sw.js'
    fill(worker, 'const kFiles = {};', 'const kFiles = {\n' + listing + '};')
    fill(worker, "const kVersion = '';", f"const kVersion = '{version}';")
    return version, len(files)


def main(web, icon):
    web = pathlib.Path(web)
    write_icons(web, icon)
    version, count = write_worker(web)
    print(f'web-app: version {version}, {count} files kept offline')


if __name__ == '__main__':
    if len(sys.argv) != 3:
        raise SystemExit('usage: web-app.py WEB_DIR ICON')
    main(*sys.argv[1:])
