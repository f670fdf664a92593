#!/usr/bin/env python3
"""Drafts mapping-lexicon entries from the glosses of the Urdu lexicon.

Every entry of datasrc/data/ULexicon.txt that has a PRED carries an English
gloss: a comment after the entry ("/ good"), a comment line above its block
("/ boy"), or the English word in parentheses after a verb's infinitive
("/ پڑھنا (read)"). Each word of a gloss that is an English lemma of
datasrc/data/english/ELexicon.txt with the matching part of speech gives one
candidate pair (English lemma, Urdu lemma). The draft is written for a person
to check: the mapping lexicon itself (datasrc/data/mapping/MapLexRaw.mlr) is
edited by hand, since a gloss does not say which sense or frame is meant.

usage: tools/draft_mapping_lexicon.py           print the draft entries
       tools/draft_mapping_lexicon.py --check   exit 1 when an English lemma
                                                of a candidate pair has no
                                                block in MapLexRaw.mlr
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sync_data  # noqa: E402  (the include lines of the data files)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, 'datasrc', 'data')
ULEXICON = os.path.join(DATA, 'ULexicon.txt')
ELEXICON = os.path.join(DATA, 'english', 'ELexicon.txt')
MAPLEX = os.path.join(DATA, 'mapping', 'MapLexRaw.mlr')

# Urdu category -> English parts of speech whose lemmas may gloss it.
MATCHING_POS = {
    'n': {'n'}, 'pron': {'pron', 'wh'}, 'det': {'det'}, 'card': {'card'},
    'adj': {'adj'}, 'adv': {'adv', 'wh'}, 'v': {'v'}, 'p': {'p'},
    'conj': {'coord_conj'},
}

ENTRY = re.compile(r"^(?P<word>[^/:]+?)\s*:\s*(?P<cat>[a-z]+)\s*,\s*\^PRED\s*=\s*'(?P<pred>[^']*)'")
GENDER = re.compile(r"\^GEND\s*=\s*([mf])")
ENGLISH_ENTRY = re.compile(r"^[^:/]+:\s*(?P<pos>[a-z_]+),\s*\^PRED='(?P<pred>[^'<]*)")


def english_lemmas():
    """English lemma -> set of parts of speech."""
    lemmas = {}
    with open(ELEXICON, encoding='utf-8') as f:
        for line in f:
            match = ENGLISH_ENTRY.match(line)
            if match:
                lemmas.setdefault(match.group('pred'), set()).add(match.group('pos'))
    return lemmas


def gloss_words(gloss):
    """The English words of a gloss: a parenthesised word after an Urdu
    infinitive, otherwise the comma- and semicolon-separated phrases before
    any remark in parentheses or after a colon."""
    inner = re.search(r'\(([a-z ,;]+)\)', gloss)
    if inner and re.search(r'[\u0600-\u06FF]', gloss.split('(')[0]):
        gloss = inner.group(1)
    else:
        gloss = re.sub(r'\(.*', '', gloss)
    words = []
    for phrase in re.split(r'[,;.]', gloss):
        phrase = phrase.strip()
        if phrase and re.fullmatch(r"[A-Za-z' ]+", phrase):
            words.append(phrase)
    return words


def urdu_entries():
    """(Urdu lemma, category, frame, gloss) in file order, one per lemma and
    category."""
    seen = set()
    block_gloss = ''
    with open(ULEXICON, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('/'):
                text = line[1:].strip()
                if text and not text.startswith('='):
                    block_gloss = text
                continue
            if not line.strip():
                block_gloss = ''
                continue
            match = ENTRY.match(line)
            if not match:
                continue
            pred = match.group('pred')
            lemma, _, frame = pred.partition('<')
            frame = frame.rstrip('>')
            key = (lemma, match.group('cat'))
            if key in seen:
                continue
            seen.add(key)
            trailing = line.split('/', 1)[1].strip() if '/' in line else ''
            gender = GENDER.search(line)
            yield lemma, match.group('cat'), frame, gender.group(1) if gender else '', trailing or block_gloss


def candidate_pairs():
    lemmas = english_lemmas()
    pairs = []
    for lemma, cat, frame, gender, gloss in urdu_entries():
        wanted = MATCHING_POS.get(cat, set())
        for word in gloss_words(gloss):
            # "I" is written with a capital in both lexicons; other glosses
            # may start a comment with one.
            for spelling in dict.fromkeys((word, word.lower())):
                if wanted & lemmas.get(spelling, set()):
                    pairs.append((spelling, lemma, cat, frame, gender))
                    break
    return pairs


def statements(urdu, cat, frame, gender):
    """The statements of an entry in the macros of MapMacros.txt: nouns with
    their gender, verbs copying the English frame (the functions the mapping
    rules carry over), postpositions with their object."""
    quoted = "'%s'" % urdu
    if cat == 'n' and gender:
        return '#NOUN(%s,%s)' % (quoted, gender)
    if cat == 'v':
        return '#LEMMA(%s), PRED.GF = PRED.GF' % quoted
    if cat == 'p':
        return '#LEMMA(%s), PRED.GF = {OBJ}' % quoted
    return '#LEMMA(%s)' % quoted


def draft(pairs):
    by_english = {}
    for english, urdu, cat, frame, gender in pairs:
        by_english.setdefault((cat, english), []).append((urdu, cat, frame, gender))
    lines = []
    current = None
    for cat, english in sorted(by_english):
        if cat != current:
            lines.append('\n// --- %s ---' % cat)
            current = cat
        first, *others = by_english[(cat, english)]
        line = '%s [ --> %s ;]' % (english, statements(*first))
        if others:
            line += '   // also: ' + ', '.join("'%s'" % other[0] for other in others)
        lines.append(line)
    return lines


def headwords_of_mapping_lexicon():
    """The headwords of the mapping lexicon as the data root gets it (the
    generated files it includes taken in): the word before each '['."""
    relative = os.path.relpath(MAPLEX, sync_data.SOURCE).replace(os.sep, '/')
    text = sync_data.expand_includes(relative, sync_data.read_source(MAPLEX))
    text = re.sub(r'//[^\n]*', '', text)
    return set(re.findall(r'([^\s\[\];]+)\s*\[', text))


def main(argv):
    pairs = candidate_pairs()
    if len(argv) == 2 and argv[1] == '--check':
        present = headwords_of_mapping_lexicon()
        missing = sorted({pair[0] for pair in pairs} - present)
        if missing:
            print('MapLexRaw.mlr has no block for:', ', '.join(missing))
            return 1
        return 0
    if len(argv) > 1:
        print(__doc__)
        return 2
    print('\n'.join(draft(pairs)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
