#!/usr/bin/env python3
"""Builds the data root from its editable sources.

The linguistic files are edited as UTF-8 text with LF line ends under
datasrc/. The program reads them from dataroot/, where most are UTF-16LE with
the mark FF FE and CR LF line ends. The few 8-bit tables are listed in
datasrc/8bit-files.txt and copied with CR LF line ends but otherwise byte for byte. The folder
datasrc/sources/ holds the inputs of the generator scripts and is not copied.

usage: tools/sync_data.py           write every file of dataroot/ from datasrc/
       tools/sync_data.py --check   exit 1 when dataroot/ is out of date
       tools/sync_data.py --decode FILE   print a UTF-16 data file as UTF-8
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, 'datasrc')
TARGET = os.path.join(ROOT, 'dataroot')
EIGHT_BIT_LIST = '8bit-files.txt'
# Inputs of the generator scripts (word lists the English lexicon is built
# from): edited under datasrc/ but not read by the program, so not copied.
GENERATOR_INPUTS = 'sources'


def eight_bit_files():
    path = os.path.join(SOURCE, EIGHT_BIT_LIST)
    if not os.path.exists(path):
        return set()
    with open(path, encoding='utf-8') as f:
        return {line.strip() for line in f if line.strip() and not line.startswith('#')}


def built_bytes(relative, eight_bit):
    with open(os.path.join(SOURCE, relative), encoding='utf-8', newline='') as f:
        text = f.read().replace('\r\n', '\n').replace('\n', '\r\n')
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
    for relative in sources():
        wanted = built_bytes(relative, eight_bit)
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
