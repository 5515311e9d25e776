#!/usr/bin/python3
"""web-font.py FONT SOURCES OUT: the font the web page ships, made from Misaki
Gothic (FONT): every character but the kanji no text of the game uses. The
kanji kept are those of the game's texts (the *Texts.cpp files under SOURCES);
kana, Latin, digits and symbols all stay, whatever a text may come to hold. The
glyphs, their outlines and the 8-pixel bitmaps inside the font are kept as
they are, so each character is drawn as the desktop draws it. Needs
python3-fonttools (scripts/setup.sh web)."""
import pathlib
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

KANJI = [(0x3400, 0x4DBF), (0x4E00, 0x9FFF), (0xF900, 0xFAFF)]


def is_kanji(code):
    return any(low <= code <= high for low, high in KANJI)


def text_characters(sources):
    used = set()
    for path in pathlib.Path(sources).rglob('*Texts.cpp'):
        used |= {ord(c) for c in path.read_text(encoding='utf-8')}
    return used


def main(font_path, sources, out_path):
    font = TTFont(font_path)
    used = text_characters(sources)
    every = font.getBestCmap()
    wanted = sorted(c for c in every if not is_kanji(c) or c in used)
    options = subset.Options()
    options.drop_tables = [t for t in options.drop_tables if t not in ('EBDT', 'EBLC')]  # the bitmaps
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.notdef_outline = True
    options.recalc_bounds = False
    options.recalc_timestamp = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=wanted)
    subsetter.subset(font)
    font.save(out_path)
    print(f'web-font: {len(wanted)} characters of {len(every)} ({sum(1 for c in wanted if is_kanji(c))} kanji)')


if __name__ == '__main__':
    main(*sys.argv[1:])
