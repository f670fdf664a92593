#!/usr/bin/env python3
"""Builds the word-sense files from their readable source.

Reads datasrc/data/wsd/SenseCollocations.txt (word, part of speech, sense,
collocate, distances, score) and the part-of-speech names of
datasrc/data/english/POSs.txt, and writes the three binary files that the
word-sense disambiguator reads into dataroot/data/wsd/:

  WSDWordList.wsd   60-byte records: word (50 bytes, NUL-terminated unless
                    full), part-of-speech id (1 byte: the 1-based position of
                    its name in POSs), 1 byte 0, first and last sense record
                    (u32, counted from 1)
  WSDSenseInfo.wsd  12-byte records: first and last collocation record (u32,
                    from 1), sense number (u32)
  WSDCollInfo.wsd   64-byte records: collocate (52 bytes, NUL-terminated),
                    distance (i32), score (float32), next slot of its hash
                    chain (i32 within the sense's block, 0 ends the chain)

All numbers little-endian. The collocation records of one sense are one hash
table: a collocate whose text hashes (hash_string, the same function as the
program's HashString) to h stands at slot h or further along the chain that
starts there. Slot 0 cannot continue a chain, so a block gets one empty slot
more when a collocate would otherwise have to sit there.

usage: tools/build_sense_files.py                write the three files
       tools/build_sense_files.py --check        exit 1 when they are stale
       tools/build_sense_files.py --hash TEXT M  print hash_string(TEXT, M)
"""
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, 'datasrc', 'data', 'wsd', 'SenseCollocations.txt')
POS_FILE = os.path.join(ROOT, 'datasrc', 'data', 'english', 'POSs.txt')
TARGET = os.path.join(ROOT, 'dataroot', 'data', 'wsd')
WORD_LIST = 'WSDWordList.wsd'
SENSE_INFO = 'WSDSenseInfo.wsd'
COLL_INFO = 'WSDCollInfo.wsd'

WORD_FIELD = 50
COLLOCATE_FIELD = 52
MASK32 = 0xFFFFFFFF


def hash_string(text, modulus):
    """The program's HashString over the 8-bit bytes of text."""
    if modulus < 2:
        return 0
    h = 0
    a = 31415
    for byte in text:
        c = (byte - 256 if byte >= 128 else byte) & MASK32
        h = ((c + (a * h) & MASK32) & MASK32) % modulus
        a = ((a * 27183) & MASK32) % (modulus - 1)
    return h


class SourceError(Exception):
    pass


def read_pos_ids():
    with open(POS_FILE, encoding='latin-1') as f:
        names = f.read().split()
    ids = {}
    for position, name in enumerate(names, start=1):
        ids.setdefault(name, position)
    return ids


def read_source(pos_ids):
    """Words in file order: {(word, pos_id): {sense: [(collocate, distance, score)]}}."""
    words = {}
    with open(SOURCE, encoding='utf-8') as f:
        for number, line in enumerate(f, start=1):
            line = line.split('#', 1)[0].strip()
            if not line:
                continue
            where = '%s:%d' % (os.path.relpath(SOURCE, ROOT), number)
            fields = line.split()
            if len(fields) != 6:
                raise SourceError(where + ': six columns expected')
            word, pos, sense, collocate, distances, score = fields
            if pos not in pos_ids:
                raise SourceError(where + ': unknown part of speech ' + pos)
            if pos_ids[pos] > 255:
                raise SourceError(where + ': part-of-speech id above 255')
            if len(word.encode('latin-1')) > WORD_FIELD:
                raise SourceError(where + ': word longer than %d bytes' % WORD_FIELD)
            if len(collocate.encode('latin-1')) >= COLLOCATE_FIELD:
                raise SourceError(where + ': collocate longer than %d bytes' % (COLLOCATE_FIELD - 1))
            senses = words.setdefault((word, pos_ids[pos]), {})
            collocations = senses.setdefault(int(sense), [])
            for distance in distances.split(','):
                entry = (collocate, int(distance), float(score))
                if any(c == entry[0] and d == entry[1] for c, d, _ in collocations):
                    raise SourceError(where + ': %s at %s given twice' % (collocate, distance))
                collocations.append(entry)
    return words


def place(collocations, slots):
    """The hash table of a sense in the given number of slots, or None."""
    table = [None] * slots
    links = [0] * slots
    overflow = []
    for entry in collocations:
        home = hash_string(entry[0].encode('latin-1'), slots)
        if table[home] is None:
            table[home] = entry
        else:
            overflow.append((home, entry))
    free = [slot for slot in range(slots - 1, 0, -1) if table[slot] is None]
    if len(free) < len(overflow):
        return None
    for home, entry in overflow:
        slot = free.pop(0)
        end = home
        while links[end]:
            end = links[end]
        links[end] = slot
        table[slot] = entry
    return [(entry or ('', 0, 0.0)) + (link,) for entry, link in zip(table, links)]


def build(words):
    word_list = bytearray()
    sense_info = bytearray()
    coll_info = bytearray()
    sense_count = 0
    coll_count = 0
    for (word, pos_id), senses in words.items():
        first_sense = sense_count + 1
        for sense, collocations in sorted(senses.items()):
            block = place(collocations, len(collocations)) or place(collocations, len(collocations) + 1)
            first = coll_count + 1
            for collocate, distance, score, link in block:
                coll_info += struct.pack('<52sifi', collocate.encode('latin-1'), distance, score, link)
            coll_count += len(block)
            sense_info += struct.pack('<III', first, coll_count, sense)
            sense_count += 1
        word_list += struct.pack('<50sBxII', word.encode('latin-1'), pos_id, first_sense, sense_count)
    return {WORD_LIST: bytes(word_list), SENSE_INFO: bytes(sense_info), COLL_INFO: bytes(coll_info)}


def main(argv):
    if len(argv) == 4 and argv[1] == '--hash':
        print(hash_string(argv[2].encode('latin-1'), int(argv[3])))
        return 0
    check = len(argv) == 2 and argv[1] == '--check'
    if len(argv) > 1 and not check:
        print(__doc__)
        return 2
    try:
        files = build(read_source(read_pos_ids()))
    except SourceError as error:
        print(error, file=sys.stderr)
        return 1
    stale = []
    for name, wanted in files.items():
        path = os.path.join(TARGET, name)
        current = open(path, 'rb').read() if os.path.exists(path) else None
        if current == wanted:
            continue
        if check:
            stale.append(name)
            continue
        os.makedirs(TARGET, exist_ok=True)
        with open(path, 'wb') as f:
            f.write(wanted)
        print('wrote', os.path.relpath(path, ROOT))
    if stale:
        print('the sense files are out of date; run tools/build_sense_files.py for:', ', '.join(stale))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
