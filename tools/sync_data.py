#!/usr/bin/env python3
"""Builds the data root from its editable sources.

The linguistic files are edited as UTF-8 text with LF line ends under
datasrc/. The program reads them from dataroot/, where most are UTF-16LE with
the mark FF FE and CR LF line ends. The few 8-bit tables are listed in
datasrc/8bit-files.txt and copied with CR LF line ends but otherwise byte for byte. The folder
datasrc/sources/ holds the inputs of the generator scripts and is not copied.

A data file takes in a generated file where it has a line
    //#include PATH            the whole file, or
    //#include PATH [NAME]     the lines inside the block NAME [ ... ] of it
(PATH relative to the including file's folder). The line is a comment in the
mapping files ('//') and the lexicons ('/'), so the source stays readable on
its own; the data root gets the included text in its place (the mapping
compiler takes no comment inside a block). This is
how the hand-written lexicons take the vocabulary that
tools/build_vocabulary.py generates (the hand-written part first, so that its
blocks and entries are the ones kept).

Beside the files it writes the manifest dataroot/DataManifest.txt: for every
file of dataroot/data/ its length and checksum (that of the seals) (and a last line
with their count and the checksum of the lines before), which the translator
checks at set-up, so that a damaged or hand-changed data file is refused by
name instead of read. EConfig.inf and SenList.txt, which users edit, and the
files the program writes itself at run time are not in it.

usage: tools/sync_data.py           write every file of dataroot/ from datasrc/
       tools/sync_data.py --check   exit 1 when dataroot/ is out of date
       tools/sync_data.py --decode FILE   print a UTF-16 data file as UTF-8
"""
import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, 'datasrc')
TARGET = os.path.join(ROOT, 'dataroot')
EIGHT_BIT_LIST = '8bit-files.txt'
# Inputs of the generator scripts (word lists the English lexicon is built
# from): edited under datasrc/ but not read by the program, so not copied.
GENERATOR_INPUTS = 'sources'
MANIFEST = 'DataManifest.txt'
# Data files that other scripts build into dataroot/ (tools/build_sense_files.py
# writes the sense tables): not written here, but listed in the manifest too.
BUILT_ELSEWHERE = ['data/wsd/WSDWordList.wsd', 'data/wsd/WSDSenseInfo.wsd', 'data/wsd/WSDCollInfo.wsd']
MANIFEST_HEADER = ('# The data files of this data root: length, checksum, path.\n'
                   '# Written by tools/sync_data.py; run it again after changing a file.\n')


def eight_bit_files():
    path = os.path.join(SOURCE, EIGHT_BIT_LIST)
    if not os.path.exists(path):
        return set()
    with open(path, encoding='utf-8') as f:
        return {line.strip() for line in f if line.strip() and not line.startswith('#')}


INCLUDE_LINE = re.compile(r'^ *//#include +(\S+)(?: +\[(\S+)\])? *$')


def read_source(path):
    with open(path, encoding='utf-8', newline='') as f:
        return f.read().replace('\r\n', '\n')


def block_lines(text, name, where):
    """The lines between 'NAME [' and its closing ']' line."""
    lines = text.split('\n')
    opening = [i for i, line in enumerate(lines) if line.strip() == name + ' [']
    if len(opening) != 1:
        sys.exit('%s: the included file has %d blocks %s' % (where, len(opening), name))
    for end in range(opening[0] + 1, len(lines)):
        if lines[end].strip() == ']':
            return '\n'.join(lines[opening[0] + 1:end]) + '\n'
    sys.exit('%s: the block %s of the included file is not closed' % (where, name))


def expand_includes(relative, text):
    """The text with each include line replaced by what it includes."""
    folder = os.path.dirname(os.path.join(SOURCE, relative))
    out = []
    for number, line in enumerate(text.split('\n'), 1):
        match = INCLUDE_LINE.match(line)
        if not match:
            out.append(line)
            continue
        where = '%s:%d' % (relative, number)
        path = os.path.join(folder, match.group(1))
        if not os.path.exists(path):
            sys.exit('%s: the included file %s does not exist' % (where, match.group(1)))
        included = read_source(path)
        if match.group(2):
            included = block_lines(included, match.group(2), where)
        out.append(included.rstrip('\n'))
    return '\n'.join(out)


def built_bytes(relative, eight_bit):
    text = expand_includes(relative, read_source(os.path.join(SOURCE, relative)))
    text = text.replace('\n', '\r\n')
    if relative in eight_bit:
        return text.encode('latin-1')
    return b'\xff\xfe' + text.encode('utf-16-le')


def sources():
    for folder, subfolders, files in os.walk(SOURCE):
        if folder == SOURCE and GENERATOR_INPUTS in subfolders:
            subfolders.remove(GENERATOR_INPUTS)
        for name in sorted(files):
            relative = os.path.relpath(os.path.join(folder, name), SOURCE)
            if relative != EIGHT_BIT_LIST:
                yield relative.replace(os.sep, '/')


def content_checksum(data):
    """The checksum of the translator's seals (core/sealed_file.cpp): FNV-1a
    over little-endian eight-byte words, then the bytes left, folded to 32
    bits; eight bytes a step keeps the check at every start short."""
    mask = (1 << 64) - 1
    value = 14695981039346656037
    whole = len(data) - len(data) % 8
    for (word,) in struct.iter_unpack('<Q', data[:whole]):
        value = ((value ^ word) * 1099511628211) & mask
    for byte in data[whole:]:
        value = ((value ^ byte) * 1099511628211) & mask
    return (value ^ (value >> 32)) & 0xFFFFFFFF


def manifest_bytes(built):
    """The manifest of the built files (relative path: bytes) under data/."""
    lines = [MANIFEST_HEADER]
    for relative in sorted(built):
        if relative.startswith('data/'):
            data = built[relative]
            lines.append('%d %08x %s\n' % (len(data), content_checksum(data), relative))
    # The last line counts the entries and seals the text before it, so that
    # a cut or changed manifest is noticed as such.
    text = ''.join(lines).replace('\n', '\r\n')
    text += 'end %d %08x\r\n' % (len(lines) - 1, content_checksum(text.encode('utf-8')))
    return b'\xff\xfe' + text.encode('utf-16-le')


def main(argv):
    if len(argv) == 3 and argv[1] == '--decode':
        data = open(argv[2], 'rb').read()
        if data.startswith(b'\xff\xfe'):
            data = data[2:]
        sys.stdout.write(data.decode('utf-16-le').replace('\r\n', '\n'))
        return 0
    check = len(argv) == 2 and argv[1] == '--check'
    if len(argv) > 1 and not check:
        print(__doc__)
        return 2
    eight_bit = eight_bit_files()
    stale = []
    built = {relative: built_bytes(relative, eight_bit) for relative in sources()}
    listed = dict(built)
    for relative in BUILT_ELSEWHERE:
        path = os.path.join(TARGET, relative)
        if os.path.exists(path):
            listed[relative] = open(path, 'rb').read()
    built[MANIFEST] = manifest_bytes(listed)
    for relative, wanted in built.items():
        target = os.path.join(TARGET, relative)
        current = open(target, 'rb').read() if os.path.exists(target) else None
        if current == wanted:
            continue
        if check:
            stale.append(relative)
            continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, 'wb') as f:
            f.write(wanted)
        print('wrote', os.path.relpath(target, ROOT))
    if stale:
        print('dataroot/ is out of date; run tools/sync_data.py for:', ', '.join(stale))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
