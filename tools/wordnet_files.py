"""WordNet 3.0's database files for the data scripts.

They come from the Debian package wordnet-base (WordNet licence: use, copy
and distribute freely with the copyright notice; Princeton University). The
package is fetched by tools/debian_packages.py; nothing of it is committed.

Read here: the lemmas of every part of speech (index.*), the irregular forms
(*.exc: inflected form -> lemma) and the generic frames of every verb sense
(data.verb).
"""
import os

import debian_packages


def ensure_wordnet():
    return debian_packages.unpacked('wordnet-base', 'usr/share/wordnet')


def _lines(name):
    with open(os.path.join(ensure_wordnet(), name), encoding='latin-1') as f:
        for line in f:
            if not line.startswith('  '):   # the licence header
                yield line.split()


def lemmas(pos):
    """The lemmas of 'noun', 'verb', 'adj' or 'adv', multi-word ones left out."""
    return {fields[0] for fields in _lines('index.' + pos) if fields and '_' not in fields[0]}


def exceptions(pos):
    """Irregular form -> its lemmas, for 'noun', 'verb' or 'adj'."""
    table = {}
    for fields in _lines(pos + '.exc'):
        if len(fields) >= 2 and '_' not in fields[0]:
            table.setdefault(fields[0], []).extend(fields[1:])
    return table


def verb_frames():
    """Verb lemma -> the set of generic frame numbers (1-35) of its senses."""
    frames = {}
    for fields in _lines('data.verb'):
        if not fields or not fields[0].isdigit():
            continue
        words = [fields[4 + 2 * i].lower() for i in range(int(fields[3], 16))]
        at = 4 + 2 * len(words)
        at += 1 + 4 * int(fields[at])           # the pointers
        if at >= len(fields) or fields[at] == '|':
            continue
        for i in range(int(fields[at])):
            number, word = int(fields[at + 2 + 3 * i]), int(fields[at + 3 + 3 * i], 16)
            for index, lemma in enumerate(words):
                if word == 0 or word == index + 1:
                    frames.setdefault(lemma, set()).add(number)
    return frames
