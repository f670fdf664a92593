#!/usr/bin/env python3
"""Builds the English lexicon of the CFG parser, datasrc/data/english/ELexicon.txt.

The word lists are read from datasrc/sources/english-lexicon/: the closed
classes (pronouns, determiners, auxiliaries, prepositions, conjunctions,
negation, question words, numbers, punctuation) written as lexicon entries in
closed-classes.txt, the open classes (nouns, verbs, adjectives, adverbs,
names) as lists of lemmas, forms and verb frames; every form is checked
against the lexicon of the Brill tagger (npm package "brill", MIT licence),
which gives the parts of speech a word form can have, most likely first:

- a reading is written only when Brill's lexicon lists its tag for the form
  (NN/NNS for nouns, JJ for adjectives, RB for adverbs, VB/VBP, VBZ, VBD,
  VBN, VBG for the verb forms, NNP for names);
- a reading whose tag is not Brill's first tag for the form gets the weight
  @-1@ (the tagger's log scale), so the usual reading of a word wins when the
  bigrams do not decide.

Forms that Brill's lexicon does not attest are reported and left out (names
excepted: they are chosen here).

usage: tools/build_english_lexicon.py            write ELexicon.txt
       tools/build_english_lexicon.py --check    exit 1 when it is out of date

The Brill lexicon is installed with npm into tools/.cache (not committed).
"""
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE = os.path.join(ROOT, 'tools', '.cache', 'brill')
TARGET = os.path.join(ROOT, 'datasrc', 'data', 'english', 'ELexicon.txt')
POS_LIST = os.path.join(ROOT, 'datasrc', 'data', 'english', 'POSs.txt')
BRILL_VERSION = '3.1.0'
SECONDARY_WEIGHT = '@-1@'

# --- Brill's lexicon ---------------------------------------------------------


def brill_lexicon():
    module = os.path.join(CACHE, 'node_modules', 'brill')
    if not os.path.isdir(module):
        os.makedirs(CACHE, exist_ok=True)
        subprocess.run(['npm', 'install', '--no-audit', '--no-fund', '--prefix', CACHE, 'brill@' + BRILL_VERSION],
                       check=True, stdout=subprocess.DEVNULL)
    script = "import {brill} from 'brill'; process.stdout.write(JSON.stringify(brill))"
    result = subprocess.run(['node', '--input-type=module', '-e', script], cwd=CACHE, check=True,
                            capture_output=True, text=True)
    return json.loads(result.stdout)


# --- The word lists, read from datasrc/sources/english-lexicon/ -----------

SOURCES = os.path.join(ROOT, 'datasrc', 'sources', 'english-lexicon')
SLOTS = ('base', '3sg', 'past', 'pastpart', 'prespart')


def source_text(name):
    with open(os.path.join(SOURCES, name), encoding='utf-8') as f:
        return f.read()


def source_lines(name):
    """The lines of a list file without '#' comments and blank lines."""
    lines = []
    for line in source_text(name).splitlines():
        line = line.split('#', 1)[0].strip()
        if line:
            lines.append(line)
    return lines


def source_words(name):
    return ' '.join(source_lines(name))


def source_fields(name, count):
    return [[field.strip() for field in line.split('|', count - 1)] for line in source_lines(name)]


# Lexicon entries written by hand: pronouns, determiners, auxiliaries, the
# copula, negation, prepositions, conjunctions, question words, numbers.
CLOSED = source_text('closed-classes.txt')
NOUNS = source_words('nouns.txt')
TIME_NOUNS = set(source_words('time-nouns.txt').split())
MASS_NOUNS = source_words('mass-nouns.txt')
VERBS = '\n'.join(source_lines('verbs.txt'))
ADJECTIVES = source_words('adjectives.txt')
COMPARATIVES = source_words('comparatives.txt')
SUPERLATIVES = source_words('superlatives.txt')
PARTICLES = source_words('particles.txt')
DEGREE_ADVERBS = source_words('degree-adverbs.txt')
ADVERBS = source_words('adverbs.txt')
NAMES = source_words('names.txt')
# Frame code -> (frame, equations).
FRAMES = {code: (frame, (', ' + equations) if equations else '')
          for code, frame, equations in source_fields('verb-frames.txt', 3)}
# (index in the paradigm, word-list tags, features) for every verb reading.
VERB_FORMS = [(SLOTS.index(slot), tuple(tags.split()), features)
              for slot, tags, features in source_fields('verb-forms.txt', 3)]


class Lexicon:
    """Collects readings, checks them against Brill and writes the groups."""

    def __init__(self, brill):
        self.brill = brill
        self.groups = {}   # (word, pos) -> {'lemma', 'tags', 'entries'}
        self.order = []
        self.missing = []

    def tags(self, word):
        # Brill lists combined tags such as 'VBD|VBP'; each part counts.
        found = []
        for tag in self.brill.get(word) or []:
            for part in tag.split('|'):
                if part not in found:
                    found.append(part)
        return found

    def add(self, word, pos, lemma, text, wanted, what, checked=True):
        if checked and not any(tag in self.tags(word) for tag in wanted):
            report = '%s (%s, %s)' % (word, what, '/'.join(wanted))
            if report not in self.missing:
                self.missing.append(report)
            return
        key = (word, pos)
        if key not in self.groups:
            self.groups[key] = {'lemma': lemma, 'tags': set(), 'entries': []}
            self.order.append(key)
        group = self.groups[key]
        # The first entry's PRED names the whole reading.
        if group['lemma'] != lemma:
            raise SystemExit('%s (%s) is a form of both %s and %s' % (word, pos, group['lemma'], lemma))
        group['tags'].update(wanted)
        group['entries'].append('%s: %s, %s' % (word, pos, text))

    def lines_of(self, key):
        group = self.groups[key]
        tags = self.tags(key[0])
        usual = bool(tags) and tags[0] in group['tags']
        lines = [entry + '.' for entry in group['entries']]
        if not usual:
            lines[0] = lines[0][:-1] + ' ' + SECONDARY_WEIGHT + '.'
        return lines

    def section(self, title, pos):
        lines = ['', '/ ' + title, '/ ' + '-' * len(title), '']
        for key in self.order:
            if key[1] == pos:
                lines.extend(self.lines_of(key))
        return lines


def add_nouns(lexicon):
    for item in NOUNS.split():
        singular, _, plural = item.partition(':')
        plural = plural or plural_of(singular)
        time = ', ^NTYPE=time' if singular in TIME_NOUNS else ''
        lexicon.add(singular, 'n', singular, "^PRED='%s', ^NUM=sg, ^PERS=3%s" % (singular, time), ('NN',), 'noun')
        wanted = ('NNS',) if plural != singular else ('NN', 'NNS')
        lexicon.add(plural, 'n', singular, "^PRED='%s', ^NUM=pl, ^PERS=3%s" % (singular, time), wanted, 'plural noun')
    for noun in MASS_NOUNS.split():
        lexicon.add(noun, 'n', noun, "^PRED='%s', ^NUM=sg, ^PERS=3" % noun, ('NN',), 'mass noun')


def plural_of(noun):
    if noun.endswith(('s', 'sh', 'ch', 'x')):
        return noun + 'es'
    if noun.endswith('y') and noun[-2] not in 'aeiou':
        return noun[:-1] + 'ies'
    return noun + 's'


def add_verbs(lexicon):
    for line in VERBS.strip().splitlines():
        *forms, frames = line.split()
        for index, tags, features in VERB_FORMS:
            for frame in frames.split(','):
                names, control = FRAMES[frame]
                text = "^PRED='%s<%s>', %s%s" % (forms[0], names, features, control)
                lexicon.add(forms[index], 'v', forms[0], text, tags, 'verb')


def add_degrees(lexicon):
    for item in COMPARATIVES.split():
        form, lemma = item.split(':')
        for frame in ('', '<OBJ>'):
            lexicon.add(form, 'adj', lemma, "^PRED='%s%s', ^DEGREE=comp" % (lemma, frame), ('JJR',), 'comparative')
    for item in SUPERLATIVES.split():
        form, lemma = item.split(':')
        lexicon.add(form, 'adj', lemma, "^PRED='%s', ^DEGREE=superl" % lemma, ('JJS',), 'superlative')


def add_particles(lexicon):
    for word in PARTICLES.split():
        lexicon.add(word, 'adv', word, "^PRED='%s', ^PARTICLE=+" % word, ('RB', 'RP'), 'particle')


def add_simple(lexicon, words, pos, tags, what):
    for word in words.split():
        lexicon.add(word, pos, word, "^PRED='%s'" % word, tags, what)


HEADER = source_text('header.txt')


def conjunction_tags():
    """The tags of POSs.txt for coordinating and subordinating conjunctions."""
    names = open(POS_LIST, encoding='latin-1').read().split()
    coord = 'coord_conj' if 'coord_conj' in names else 'conj'
    sub = 'sub_conj' if 'sub_conj' in names else 'conj'
    return coord, sub


def build(brill):
    coord, sub = conjunction_tags()
    closed = CLOSED.replace('COORD_CONJ', coord).replace('SUB_CONJ', sub)
    lexicon = Lexicon(brill)
    add_nouns(lexicon)
    add_verbs(lexicon)
    add_simple(lexicon, ADJECTIVES, 'adj', ('JJ',), 'adjective')
    add_degrees(lexicon)
    add_simple(lexicon, ADVERBS, 'adv', ('RB',), 'adverb')
    add_particles(lexicon)
    add_simple(lexicon, DEGREE_ADVERBS, 'adv', ('RB', 'RBR'), 'degree adverb')
    for name in NAMES.split():
        # Names are ours to choose; Brill's lexicon lacks many of them.
        lexicon.add(name, 'pn', name, "^PRED='%s', ^NUM=sg, ^PERS=3" % name, ('NNP',), 'name', checked=False)
    lines = HEADER.splitlines() + [''] + closed.strip('\n').splitlines()
    lines += lexicon.section('Names', 'pn')
    lines += lexicon.section('Nouns', 'n')
    lines += lexicon.section('Verbs', 'v')
    lines += lexicon.section('Adjectives', 'adj')
    lines += lexicon.section('Adverbs', 'adv')
    return '\n'.join(lines) + '\n', lexicon.missing


def main(argv):
    text, missing = build(brill_lexicon())
    for item in missing:
        print('not in Brill\'s lexicon, left out:', item, file=sys.stderr)
    if len(argv) == 2 and argv[1] == '--check':
        current = open(TARGET, encoding='utf-8').read() if os.path.exists(TARGET) else None
        if current != text:
            print('ELexicon.txt is out of date; run tools/build_english_lexicon.py')
            return 1
        return 0
    with open(TARGET, 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)
    print('wrote', os.path.relpath(TARGET, ROOT))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
