#!/usr/bin/env python3
"""Builds the vocabulary's mapping-lexicon blocks and Urdu-lexicon entries.

The bilingual table under datasrc/sources/vocabulary/ (nouns.txt, names.txt, verbs.txt,
adjectives.txt, adverbs.txt, closed.txt) gives for every English lemma and
sense its Urdu word and class. This script checks the table and writes:

  datasrc/data/mapping/generated/VocabularyMapLex.mlr       general mapping lexicon blocks
  datasrc/data/mapping/generated/<D>DomainVocabularyMapLex.mlr   blocks of the domain D (N, W, A)
  datasrc/data/mapping/generated/VocabularyObjectRules.mlr  OBJ rule entries of governed objects
  datasrc/data/urdu/generated/VocabularyULexicon.txt        Urdu-lexicon entries

The files are included by a later step in the live lexicons (MapLexRaw.mlr,
the domain lexicons, the OBJ block of MapRulesRaw.mlr, ULexicon.txt); they are written in
the same format and with the same macros.

Table lines: English lemma, Urdu word, class, then options key=value, all
separated by blanks; '#' starts a comment. An Urdu word of several words
joins them with '_' (انتظار_کرنا). Classes and options are described at the
top of each table file.

usage: tools/build_vocabulary.py            write the generated files
       tools/build_vocabulary.py --check    fail when the table has a fault
                                            or a generated file is stale
       tools/build_vocabulary.py --coverage [N]  how much of the N most
                                            frequent Brown lemmas the table covers
       tools/build_vocabulary.py --frames ELEXICON  the English frames of
                                            verbs that their Urdu entries lack
       tools/build_vocabulary.py --add-frames ELEXICON  adds them to the
                                            table as frames= options
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLE = os.path.join(ROOT, 'datasrc', 'sources', 'vocabulary')
MAP_OUT = os.path.join(ROOT, 'datasrc', 'data', 'mapping', 'generated')
URDU_OUT = os.path.join(ROOT, 'datasrc', 'data', 'urdu', 'generated')
LIVE_ULEXICON = os.path.join(ROOT, 'datasrc', 'data', 'ULexicon.txt')
SENSE_COLLOCATIONS = os.path.join(ROOT, 'datasrc', 'data', 'wsd', 'SenseCollocations.txt')
# Parts of speech of the word-sense file and the table's classes.
SENSE_POS = {'n': 'noun', 'v': 'verb', 'adj': 'adj', 'adv': 'adv'}
BROWN = os.path.join(TABLE, 'BrownLemmas.txt')
TABLE_FILES = ['closed.txt', 'nouns.txt', 'names.txt', 'verbs.txt', 'adjectives.txt', 'adverbs.txt']

# Urdu letters allowed in a word: the Urdu block without the Arabic
# look-alikes (yeh U+064A, alef maksura U+0649, heh U+0647, kaf U+0643),
# the diacritics Urdu writes (zer, zabar, pesh, tashdid, tanwin, the small
# alef above and the hamza above), the joiner '_' and ZWNJ.
ARABIC_LOOKALIKES = {'\u064a': 'ی', '\u0649': 'ی', '\u0647': 'ہ', '\u0643': 'ک'}
URDU_WORD = re.compile('^[\u0621-\u063a\u0641\u0642\u0644-\u0646\u0648\u064b-\u0652\u0670'
                       '\u0679\u067e\u0686\u0688\u0691\u0698\u06a9\u06af\u06ba\u06be\u06c1\u06c2\u06c3'
                       '\u06cc\u06d2\u06d3\u0654\u200c_]+$')
ENGLISH_WORD = re.compile(r"^[A-Za-z][A-Za-z'\-]*$")
# A greeting or other fixed expression of several English words joins them
# with '_', as the English lexicon's PRED of its multi-word entry does.
ENGLISH_PHRASE = re.compile(r"^[A-Za-z][A-Za-z'\-]*(_[A-Za-z'\-]+)+$")

NOUN_CLASSES = {'m', 'f', 'm0', 'mpl', 'fpl'}
ADJ_CLASSES = {'agr', 'inv'}
# Adverbs, and interjections: greetings and answers that stand alone as a
# sentence (the English structure has ADVFORM interj; the Urdu grammar's
# fragment rule writes one word of the category interj).
ADV_CLASSES = {'adv', 'interj'}
VERB_CLASSES = {'tr', 'intr', 'trn', 'ditr'}
CLOSED_KINDS = {'p', 'det', 'pron', 'conj', 'comp', 'num', 'ord', 'adv', 'q'}
DOMAINS = {'N', 'W', 'A'}
OPTIONS = {'sense', 'domain', 'pl', 'obj', 'frames', 'gend', 'note', 'when', 'particle'}
# A phrasal verb's sense (pick up: اٹھانا) applies when the clause's first
# adjunct is its particle, which the English analysis marks PARTICLE.
PARTICLE_CONDITION = '(ADJUNCT.SET.ELEMENT.PARTICLE) & (ADJUNCT.SET.ELEMENT.PRED == {%s})'
GOVERNING = {'سے': 'abl', 'کا': 'gen', 'پر': 'loc', 'میں': 'loc'}

OBLIQUE = '{erg,dat,acc,obl}'


class Row:
    def __init__(self, path, number, english, urdu, cls, options, pos):
        self.path, self.number = path, number
        self.english, self.urdu, self.cls, self.options, self.pos = english, urdu, cls, options, pos

    def where(self):
        return '%s:%d' % (os.path.relpath(self.path, ROOT), self.number)

    @property
    def sense(self):
        return int(self.options.get('sense', '0'))

    @property
    def domain(self):
        return self.options.get('domain', '')


def file_pos(name):
    return {'nouns.txt': 'noun', 'names.txt': 'noun', 'verbs.txt': 'verb', 'adjectives.txt': 'adj',
            'adverbs.txt': 'adv', 'closed.txt': 'closed'}[name]


def read_table(errors):
    rows = []
    for name in TABLE_FILES:
        path = os.path.join(TABLE, name)
        if not os.path.exists(path):
            errors.append('missing table file ' + path)
            continue
        pos = file_pos(name)
        with open(path, encoding='utf-8') as f:
            for number, line in enumerate(f, 1):
                text = line.split('#', 1)[0].strip()
                if not text:
                    continue
                fields = text.split()
                where = '%s:%d' % (name, number)
                if len(fields) < 3:
                    errors.append('%s: a line needs English, Urdu and a class' % where)
                    continue
                options = {}
                for field in fields[3:]:
                    key, sep, value = field.partition('=')
                    if not sep or key not in OPTIONS:
                        errors.append('%s: unknown option %r' % (where, field))
                        continue
                    if key in options:
                        errors.append('%s: option %s given twice' % (where, key))
                    options[key] = value
                row = Row(path, number, fields[0], fields[1], fields[2], options, pos)
                if check_row(row, errors):
                    rows.append(row)
    check_word_senses(rows, errors)
    seen = {}
    for row in rows:
        key = (row.english, row.pos, row.cls if row.pos == 'closed' else '', row.domain, row.sense,
               row.options.get('when', ''), row.options.get('particle', ''))
        if key in seen:
            errors.append('%s: duplicate sense of %r (first at %s)' % (row.where(), row.english, seen[key].where()))
        else:
            seen[key] = row
    return rows


def check_word_senses(rows, errors):
    """Every sense that the word-sense file scores must be a numbered sense
    of the table, or disambiguation would rank entries that do not exist."""
    if not os.path.exists(SENSE_COLLOCATIONS):
        return
    senses = {(r.english, r.pos, r.sense) for r in rows if not r.domain}
    reported = set()
    with open(SENSE_COLLOCATIONS, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            fields = line.split('#', 1)[0].split()
            if len(fields) < 3 or not fields[2].isdigit():
                continue
            key = (fields[0], SENSE_POS.get(fields[1], fields[1]), int(fields[2]))
            if key not in senses and key not in reported:
                reported.add(key)
                errors.append('SenseCollocations.txt:%d: the table has no sense %d of %s (%s)'
                              % (number, key[2], key[0], key[1]))


def urdu_word_fault(word):
    for letter, right in ARABIC_LOOKALIKES.items():
        if letter in word:
            return 'Arabic letter U+%04X in %r: Urdu writes %s' % (ord(letter), word, right)
    if not URDU_WORD.match(word):
        return '%r is not written in Urdu letters only' % word
    if word.startswith('_') or word.endswith('_') or '__' in word:
        return 'misplaced _ in %r' % word
    return None


def check_row(row, errors):
    fault = None
    if not ENGLISH_WORD.match(row.english) and not (row.cls == 'interj' and ENGLISH_PHRASE.match(row.english)):
        fault = 'English lemma %r is not a word' % row.english
    elif urdu_word_fault(row.urdu):
        fault = urdu_word_fault(row.urdu)
    elif row.pos == 'noun' and row.cls not in NOUN_CLASSES:
        fault = 'unknown noun class %r' % row.cls
    elif row.pos == 'adj' and row.cls not in ADJ_CLASSES:
        fault = 'unknown adjective class %r' % row.cls
    elif row.pos == 'adv' and row.cls not in ADV_CLASSES:
        fault = 'adverbs have the class adv or interj, not %r' % row.cls
    elif row.pos == 'verb' and row.cls not in VERB_CLASSES:
        fault = 'unknown verb class %r' % row.cls
    elif row.pos == 'verb' and not row.urdu.endswith('نا'):
        fault = 'the Urdu verb %r is not an infinitive' % row.urdu
    elif row.pos == 'closed' and row.cls not in CLOSED_KINDS:
        fault = 'unknown closed class %r' % row.cls
    elif row.domain and row.domain not in DOMAINS:
        fault = 'unknown domain %r' % row.domain
    elif 'obj' in row.options and row.options['obj'].split(':')[0] not in GOVERNING:
        fault = 'unknown governed postposition %r' % row.options['obj']
    elif 'pl' in row.options:
        forms = row.options['pl'].split(',')
        if len(forms) != 2 or any(urdu_word_fault(w) for w in forms):
            fault = 'pl= takes the direct and the oblique plural in Urdu letters'
    elif row.pos == 'adj' and row.cls == 'agr' and not row.urdu.endswith('ا'):
        fault = 'an agreeing adjective ends in ا: %r' % row.urdu
    elif row.pos == 'noun' and row.cls == 'm0' and not row.urdu[-1] in 'اہ':
        fault = 'class m0 is for masculine nouns in ا or ہ that do not change: %r' % row.urdu
    if 'particle' in row.options and (row.pos != 'verb' or not re.fullmatch('[a-z]+', row.options['particle'])):
        fault = 'particle= takes the English particle of a verb: %r' % row.options['particle']
    if 'frames' in row.options or 'when' in row.options:
        for frame in (row.options.get('frames', '').split(';') if 'frames' in row.options else []) + \
                ([row.options['when']] if 'when' in row.options else []):
            if not re.fullmatch(r'SUBJ(,(OBJ|OBJ2|XCOMP|COMP|PREDLINK|OBL))*', frame):
                fault = 'unknown frame %r' % frame
    if fault:
        errors.append('%s: %s' % (row.where(), fault))
        return False
    return True


# ---------------------------------------------------------------------------
# Urdu verb forms: the same forms as VerbRules.txt makes, and the forms of
# the irregular verbs, for the verbs whose entries the Urdu lexicon holds
# (light verbs, verbs with a case frame of their own).
# ---------------------------------------------------------------------------
IRREGULAR = {
    'کرنا': dict(stem='کر', perf=('کیا', 'کی', 'کیے', 'کیں'),
                 fut=('کروں', 'کرے', 'کرو', 'کریں')),
    'جانا': dict(stem='جا', perf=('گیا', 'گئی', 'گئے', 'گئیں'),
                 fut=('جاؤں', 'جائے', 'جاؤ', 'جائیں')),
    'دینا': dict(stem='دے', perf=('دیا', 'دی', 'دیے', 'دیں'),
                 fut=('دوں', 'دے', 'دو', 'دیں')),
    'لینا': dict(stem='لے', perf=('لیا', 'لی', 'لیے', 'لیں'),
                 fut=('لوں', 'لے', 'لو', 'لیں')),
    'ہونا': dict(stem='ہو', perf=('ہوا', 'ہوئی', 'ہوئے', 'ہوئیں'),
                 fut=('ہوں', 'ہو', 'ہو', 'ہوں')),
}


def simple_forms(infinitive):
    """stem, imperfective (m sg, f, m pl), perfective (m sg, f sg, m pl, f pl),
    future stems (1 sg, 2/3 sg, 2 pl, 1/3 pl)."""
    stem = infinitive[:-2]
    impf = (stem + 'تا', stem + 'تی', stem + 'تے')
    if infinitive in IRREGULAR:
        forms = IRREGULAR[infinitive]
        return forms['stem'], impf, forms['perf'], forms['fut']
    vowel = stem[-1] in 'اآو'
    if vowel:
        perf = (stem + 'یا', stem + 'ئی', stem + 'ئے', stem + 'ئیں')
    elif stem.endswith('ی'):
        perf = (stem + 'ا', stem, stem + 'ے', stem[:-1] + 'ئیں')
    else:
        perf = (stem + 'ا', stem + 'ی', stem + 'ے', stem + 'یں')
    if stem[-1] in 'اآ':
        fut = (stem + 'ؤں', stem + 'ئے', stem + 'ؤ', stem + 'ئیں')
    elif stem[-1] == 'و':
        fut = (stem + 'ؤں', stem + 'ئے', stem + 'و', stem + 'ئیں')
    else:
        fut = (stem + 'وں', stem + 'ے', stem + 'و', stem + 'یں')
    return stem, impf, perf, fut


def verb_forms(lemma):
    """The forms of a lemma of one or more words: the last word inflects."""
    words = lemma.split('_')
    head = ' '.join(words[:-1])
    stem, impf, perf, fut = simple_forms(words[-1])
    join = (lambda w: head + ' ' + w) if head else (lambda w: w)
    return (join(words[-1]), join(stem), tuple(map(join, impf)), tuple(map(join, perf)), tuple(map(join, fut)))


SUBJ_AGREEMENT_IMPF = ('^SUBJ GEND = m, ^SUBJ NUM = sg', '^SUBJ GEND = f', '^SUBJ GEND = m, ^SUBJ NUM = pl')
AGREEMENT_PERF = ('GEND = m, ^{0} NUM = sg', 'GEND = f, ^{0} NUM = sg', 'GEND = m, ^{0} NUM = pl', 'GEND = f, ^{0} NUM = pl')
FUTURE = (('1', 'sg'), ('{2,3}', 'sg'), ('2', 'pl'), ('{1,3}', 'pl'))
AFFIX = {('m', 'sg'): ' گا', ('f', 'sg'): ' گی', ('m', 'pl'): ' گے', ('f', 'pl'): ' گی'}


def verb_entries(lemma, frame, ergative, extra, light_gender='m'):
    """Every form of a verb lemma with one frame, as the Urdu lexicon writes them.
    ergative: the perfective takes a subject with نے (transitive verbs);
    extra: equations all forms share (the expansion table takes them)."""
    inf, stem, impf, perf, fut = verb_forms(lemma)
    pred = "^PRED = '%s<%s>'" % (lemma, ','.join(frame))
    tail = ''.join(', ' + e for e in extra)
    lines = []

    def add(word, equations):
        lines.append('%s : v, %s, %s%s.' % (word, pred, equations, tail))

    def add_finite(word, equations):
        # Finite forms name VFORM fin, which the grammar gives every finite
        # verb: they never stand where it wants the stem or an infinitive.
        add(word, '^VFORM = fin, ' + equations)

    add(inf, '^VFORM = inf' + ('' if ergative else ', ^SUBJ_CASE = nom'))
    lines.append('%s : v, %s, ^VFORM = stem%s.' % (stem, pred, tail))
    # The oblique infinitive, before the postposition of a complement
    # (جانے کا فیصلہ، بھاگنے کی کوشش).
    lines.append('%s : v, %s, ^VFORM = infobl%s.' % (inf[:-1] + 'ے', pred, tail))
    for word, agreement in zip(impf, SUBJ_AGREEMENT_IMPF):
        add_finite(word, '^ASPECT = impf, ^TENSE = {pres,past}, ^SUBJ_CASE = nom, ' + agreement)
    if ergative and 'OBJ' in frame:
        for word, agreement in zip(perf, AGREEMENT_PERF):
            add_finite(word, '^ASPECT = perf, ^TENSE = {pres,past}, ^SUBJ_CASE = erg, ^OBJ CASE = nom, ^OBJ '
                       + agreement.format('OBJ'))
        # An object with کو takes no agreement: the masculine singular, or
        # the form that agrees with the noun of a light verb (اسے اجازت دی).
        add_finite(perf[1] if light_gender == 'f' else perf[0],
                   '^ASPECT = perf, ^TENSE = {pres,past}, ^SUBJ_CASE = erg, ^OBJ CASE = acc')
    elif ergative:
        # No object to agree with: the masculine singular, or the form that
        # agrees with the noun of a light verb (بات کی).
        add_finite(perf[1] if light_gender == 'f' else perf[0], '^ASPECT = perf, ^TENSE = {pres,past}, ^SUBJ_CASE = erg')
    else:
        for word, agreement in zip(perf, AGREEMENT_PERF):
            add_finite(word, '^ASPECT = perf, ^TENSE = {pres,past}, ^SUBJ_CASE = nom, ^SUBJ ' + agreement.format('SUBJ'))
    if ergative:
        # The participle of a passive agrees with the subject and has no
        # plural feminine ending of its own: کتابیں فروخت کی گئیں.
        for word, agreement in zip((perf[0], perf[1], perf[2], perf[1]), AGREEMENT_PERF):
            add_finite(word, '^ASPECT = perf, ^TENSE = {pres,past}, ^SUBJ_CASE = nom, ^PASSIVE = +, ^SUBJ '
                       + agreement.format('SUBJ'))
    # The infinitive of an obligation (before چاہیے or ہے) agrees with an
    # unmarked object (خط لکھنا، کتاب پڑھنی); without one it stays in نا, or
    # agrees with the noun of a light verb (محنت کرنی چاہیے).
    if 'OBJ' in frame:
        add(inf, '^VFORM = oblig, ^OBJ GEND = m, ^OBJ NUM = sg')
        add(inf, '^VFORM = oblig, ^OBJ CASE = acc')
        add(inf[:-1] + 'ی', '^VFORM = oblig, ^OBJ CASE = nom, ^OBJ GEND = f')
        add(inf[:-1] + 'ے', '^VFORM = oblig, ^OBJ CASE = nom, ^OBJ GEND = m, ^OBJ NUM = pl')
    else:
        add(inf[:-1] + 'ی' if light_gender == 'f' else inf, '^VFORM = oblig')
    # The polite command and "let's" share the first and third plural
    # subjunctive: پڑھیں، کریں، جائیں.
    add_finite(fut[3], '^MOOD = {imp,hort}')
    # The subjunctive, after کہ of a wish (میں چاہتا ہوں کہ آپ آئیں): the
    # future's forms without گا.
    for word, (pers, num) in zip(fut, FUTURE):
        add_finite(word, '^MOOD = subj, ^SUBJ_CASE = nom, ^SUBJ PERS = %s, ^SUBJ NUM = %s' % (pers, num))
    for word, (pers, num) in zip(fut, FUTURE):
        for gend in ('m', 'f'):
            add_finite(word + AFFIX[(gend, num)], '^TENSE = fut, ^SUBJ_CASE = nom, ^SUBJ PERS = %s, ^SUBJ NUM = %s, ^SUBJ GEND = %s'
                % (pers, num, gend))
    return lines


def noun_entries(row):
    lemma = row.urdu
    word = lemma.replace('_', ' ')
    gend = 'f' if row.cls in ('f', 'fpl') else 'm'
    pred = "^PRED = '%s', ^GEND = %s" % (lemma, gend)
    if row.cls in ('mpl', 'fpl'):
        # Plural-only nouns: Arabic and Persian plurals in ین, ات or ہ keep
        # their form (والدین، معلومات، اساتذہ); others take وں (لوگوں، کپڑوں).
        # NUM stays open: the English noun's number decides the agreement.
        if 'pl' in row.options:
            oblique = row.options['pl'].split(',')[1].replace('_', ' ')
        elif word.endswith(('ین', 'ات', 'ہ')):
            oblique = word
        elif word.endswith('ے'):
            oblique = word[:-1] + 'وں'
        else:
            oblique = word + 'وں'
        return ['%s : n, %s, ^CASE = nom.' % (word, pred),
                '%s : n, %s, ^CASE = %s.' % (oblique, pred, OBLIQUE)]
    if 'pl' in row.options:
        direct, oblique = (w.replace('_', ' ') for w in row.options['pl'].split(','))
    else:
        # Masculine nouns in ا or ہ that never change (دریا، چچا).
        direct, oblique = word, word[:-1] + ('اؤں' if word[-1] == 'ا' else 'وں')
    return ['%s : n, %s, ^NUM = sg.' % (word, pred),
            '%s : n, %s, ^NUM = pl, ^CASE = nom.' % (direct, pred),
            '%s : n, %s, ^NUM = pl, ^CASE = %s.' % (oblique, pred, OBLIQUE)]


def regular_noun_entries(row):
    """Every form of a noun that the inflection rules would make, for a
    lemma they cannot reach (its lemma is filed as another word)."""
    word = row.urdu.replace('_', ' ')
    pred = "^PRED = '%s', ^GEND = %s" % (row.urdu, 'f' if row.cls == 'f' else 'm')
    if row.cls == 'f':
        plural = word + ('اں' if word.endswith('ی') else 'یں')
        oblique_plural = word + 'وں'
        return ['%s : n, %s, ^NUM = sg.' % (word, pred),
                '%s : n, %s, ^NUM = pl, ^CASE = nom.' % (plural, pred),
                '%s : n, %s, ^NUM = pl, ^CASE = %s.' % (oblique_plural, pred, OBLIQUE)]
    if word[-1] in 'اہ':
        # لڑکا: لڑکے in the oblique singular and the plural, لڑکوں.
        stem = word[:-1]
        return ['%s : n, %s, ^NUM = sg, ^CASE = nom.' % (word, pred),
                '%sے : n, %s, ^NUM = sg, ^CASE = %s.' % (stem, pred, OBLIQUE),
                '%sے : n, %s, ^NUM = pl, ^CASE = nom.' % (stem, pred),
                '%sوں : n, %s, ^NUM = pl, ^CASE = %s.' % (stem, pred, OBLIQUE)]
    return ['%s : n, %s, ^NUM = sg.' % (word, pred),
            '%s : n, %s, ^NUM = pl, ^CASE = nom.' % (word, pred),
            '%sوں : n, %s, ^NUM = pl, ^CASE = %s.' % (word, pred, OBLIQUE)]


def adjective_forms(word):
    """(masculine direct singular, masculine oblique or plural, feminine) of
    an agreeing adjective word: اچھا، اچھے، اچھی; after a vowel the endings
    take ئ: نیا، نئے، نئی; ہوا، ہوئے، ہوئی."""
    if word.endswith('یا'):
        return word, word[:-2] + 'ئے', word[:-2] + 'ئی'
    if len(word) > 1 and word[-2] in 'وا':
        return word, word[:-1] + 'ئے', word[:-1] + 'ئی'
    return word, word[:-1] + 'ے', word[:-1] + 'ی'


def agrees_in_several_words(row):
    """An agreeing adjective of several words of which more than one agrees
    (ملتا_جلتا، تھکا_ہوا): the rules would inflect only the last word."""
    return row.pos == 'adj' and row.cls == 'agr' and sum(w.endswith('ا') for w in row.urdu.split('_')) > 1


def several_word_adjective_entries(row):
    words = row.urdu.split('_')
    forms = [adjective_forms(w) if w.endswith('ا') else (w, w, w) for w in words]
    direct, oblique, feminine = (' '.join(f[i] for f in forms) for i in range(3))
    pred = "^PRED = '%s'" % row.urdu
    return ['%s : adj, %s, ^GEND = m, ^NUM = sg, ^CASE = nom.' % (direct, pred),
            '%s : adj, %s, ^GEND = m, ^NUM = sg, ^CASE = %s.' % (oblique, pred, OBLIQUE),
            '%s : adj, %s, ^GEND = m, ^NUM = pl.' % (oblique, pred),
            '%s : adj, %s, ^GEND = f.' % (feminine, pred)]


# ---------------------------------------------------------------------------
# Which rows need Urdu-lexicon entries: the rules inflect every other word.
# ---------------------------------------------------------------------------
def verb_frames(row):
    base = {'intr': ['SUBJ'], 'tr': ['SUBJ,OBJ'], 'trn': ['SUBJ,OBJ'], 'ditr': ['SUBJ,OBJ,OBJ2', 'SUBJ,OBJ']}[row.cls]
    if 'frames' in row.options:
        base = base + [f for f in row.options['frames'].split(';') if f not in base]
    # A sense used for one English frame copies that frame (PRED.GF =
    # PRED.GF), so its Urdu verb needs it (get angry: ناراض ہو جانا).
    if 'when' in row.options and row.options['when'] not in base:
        base = base + [row.options['when']]
    gov = governed(row)
    if gov and gov[0] != 'کا' and 'SUBJ' not in base:
        base = base + ['SUBJ']
    return [f.split(',') for f in base]


def urdu_verb_frames(row, rows):
    """The frames of the row's Urdu verb: those of every English verb of the
    table that it translates (meet and visit are both ملنا), the row's own
    first."""
    frames = verb_frames(row)
    for other in rows:
        if other.pos == 'verb' and other.urdu == row.urdu and other is not row:
            frames += [f for f in verb_frames(other) if f not in frames]
    return frames


def governed(row):
    """(postposition, noun) of a governed object: obj=سے, or obj=کا:noun."""
    if 'obj' not in row.options:
        return None
    postposition, _, noun = row.options['obj'].partition(':')
    return postposition, noun


def needs_urdu_entries(row):
    last = row.urdu.split('_')[-1]
    return '_' in row.urdu or last in IRREGULAR or row.cls in ('trn', 'ditr') or governed(row) is not None


def live_lemmas():
    """The lemmas of the hand-written Urdu lexicon, for the overlap report."""
    lemmas = set()
    if os.path.exists(LIVE_ULEXICON):
        with open(LIVE_ULEXICON, encoding='utf-8') as f:
            for line in f:
                m = re.search(r"\^PRED = '([^'<]+)", line)
                if m and not line.startswith('/'):
                    lemmas.add(m.group(1))
    return lemmas


def urdu_lexicon(rows):
    # The irregular verbs themselves are written by hand in ULexicon.txt.
    live = set(IRREGULAR)
    hand_written = live_lemmas()
    sections = {'noun': [], 'adj': [], 'adv': [], 'interj': [], 'verb': []}
    interjection_lemmas = {r.urdu for r in rows if r.pos == 'adv' and r.cls == 'interj'}
    done = set()
    for row in rows:
        if row.pos == 'adv' and row.cls == 'interj':
            # An interjection's word is its own entry beside any other reading
            # of the same Urdu word (شکریہ the noun, ضرور the adverb).
            if (row.urdu, 'interj') not in done:
                sections['interj'].append("%s : interj, ^PRED = '%s'.   / %s"
                                          % (row.urdu.replace('_', ' '), row.urdu, row.english.replace('_', ' ')))
                done.add((row.urdu, 'interj'))
            continue
        if row.urdu in live or row.urdu in done:
            continue
        if row.urdu in interjection_lemmas and row.pos in ('noun', 'adj') and not agrees_in_several_words(row) \
                and not (row.pos == 'adj' and row.cls == 'agr'):
            # The interjection's entry files its lemma in the lexicon, and the
            # generator makes no forms by rule for a lemma it finds there: the
            # noun or invariant adjective of the same word needs its own entries
            # (خوش آمدید in "you are welcome").
            if row.pos == 'noun':
                sections['noun'].append('/ ' + row.english)
                sections['noun'] += (noun_entries(row) if row.cls in ('m0', 'mpl', 'fpl') or 'pl' in row.options
                                     else regular_noun_entries(row))
            else:
                sections['adj'].append("%s : adj, ^PRED = '%s'.   / %s" % (row.urdu.replace('_', ' '), row.urdu, row.english))
            done.add(row.urdu)
            continue
        if row.pos == 'noun' and (row.cls in ('m0', 'mpl', 'fpl') or 'pl' in row.options):
            sections['noun'].append('/ ' + row.english)
            sections['noun'] += noun_entries(row)
        elif agrees_in_several_words(row):
            sections['adj'].append('/ ' + row.english)
            sections['adj'] += several_word_adjective_entries(row)
        elif row.pos == 'adj' and row.cls == 'inv' and row.urdu.endswith('ا'):
            sections['adj'].append("%s : adj, ^PRED = '%s'.   / %s" % (row.urdu.replace('_', ' '), row.urdu, row.english))
        elif (row.pos == 'adv' or (row.pos == 'closed' and row.cls == 'adv')) and row.urdu not in hand_written:
            # Adverbs do not inflect and no rule makes them: every one the
            # hand-written lexicon lacks gets its entry.
            sections['adv'].append("%s : adv, ^PRED = '%s'.   / %s" % (row.urdu.replace('_', ' '), row.urdu, row.english))
        elif row.pos == 'verb' and needs_urdu_entries(row):
            ergative = row.cls in ('tr', 'ditr')
            extra = []
            if row.cls == 'ditr':
                extra.append('^OBJ2 CASE = dat')
            sections['verb'].append('/ %s (%s)' % (row.english, row.cls))
            for frame in urdu_verb_frames(row, rows):
                frame_extra = list(extra) if 'OBJ2' in frame else []
                sections['verb'] += verb_entries(row.urdu, frame, ergative, frame_extra, row.options.get('gend', 'm'))
        else:
            continue
        done.add(row.urdu)
    # The noun of a postposition of the genitive (میرے ساتھ) whose lemma the
    # lexicon already files as another word (the adverb ساتھ) gets its entry:
    # the generator makes no form by rule for a lemma it finds there.
    filed = hand_written | set(re.findall(r"\^PRED = '([^'<]+)", '\n'.join(sum(sections.values(), []))))
    for noun, gend in sorted({genitive_postposition(r) for r in rows
                              if r.pos == 'closed' and r.cls == 'p' and genitive_postposition(r)}):
        if noun in filed:
            sections['noun'].append("%s : n, ^PRED = '%s', ^GEND = %s, ^NUM = sg.   / a postposition's noun"
                                    % (noun.replace('_', ' '), noun, gend))
    out = [
        '/ ============================================================================',
        '/ Urdu-lexicon entries of the vocabulary table',
        '/ ============================================================================',
        '/ Written by tools/build_vocabulary.py from datasrc/sources/vocabulary/:',
        '/ edit the table, not this file. Only the words the inflection rules cannot',
        '/ make stand here, with every form: nouns whose plural the rules do not',
        '/ make (masculine nouns in ا or ہ that never change, plural-only nouns,',
        '/ irregular plurals), invariant adjectives in ا and adjectives of several',
        '/ agreeing words (ملتا جلتا، ملتی جلتی), adverbs, and verbs that are light',
        '/ verbs (a noun or adjective with کرنا, ہونا, دینا, ...), end in an',
        '/ irregular verb, keep a nominative subject in the perfective, take a',
        '/ recipient, or govern a postposition. The irregular verbs themselves',
        '/ (کرنا، جانا، دینا، لینا، ہونا) are written by hand in ULexicon.txt; a',
        '/ lemma both files hold is listed by build_vocabulary.py --coverage.',
        '',
        '/ ============================================================================',
        '/ Nouns',
        '/ ============================================================================',
    ] + sections['noun'] + [
        '',
        '/ ============================================================================',
        '/ Adjectives: invariant ones in ا, and those of several agreeing words',
        '/ ============================================================================',
    ] + sections['adj'] + [
        '',
        '/ ============================================================================',
        '/ Adverbs that the hand-written lexicon lacks',
        '/ ============================================================================',
    ] + sections['adv'] + [
        '',
        '/ ============================================================================',
        '/ Interjections: greetings and answers that stand alone as a sentence',
        '/ ============================================================================',
    ] + sections['interj'] + [
        '',
        '/ ============================================================================',
        '/ Verbs',
        '/ ============================================================================',
    ] + sections['verb']
    return '\n'.join(out) + '\n'


# ---------------------------------------------------------------------------
# Mapping lexicon blocks
# ---------------------------------------------------------------------------
def quoted(urdu):
    return "'%s'" % urdu


def noun_statement(row):
    gend = 'f' if row.cls in ('f', 'fpl') else 'm'
    return '#NOUN(%s,%s)' % (quoted(row.urdu), gend)


def verb_statements(row, object_rules):
    """The entries of a verb, and into object_rules the entries of the OBJ
    mapping rule that its governed object needs."""
    lemma = quoted(row.urdu)
    gov = governed(row)
    entries = []
    if gov:
        postposition, _ = gov
        if postposition == 'کا':
            # A light verb whose noun takes the English object as its
            # possessor: wait for X = X کا انتظار کرنا.
            light = row.urdu.split('_')
            noun_lemma, verb = '_'.join(light[:-1]), light[-1]
            gend = row.options.get('gend', 'm')
            entries.append(('(PRED.GF == {SUBJ,OBJ})',
                            "#LEMMA(%s), PRED.GF = {SUBJ,OBJ}, OBJ.PRED = %s, OBJ.GEND = {%s}, OBJ.NUM = {sg}, "
                            "OBJ.PERS = {3}, OBJ.NOUN = {+}" % (quoted(verb), quoted(noun_lemma), gend)))
            object_rules.append('  (PRED == {%s}) --> OBJ.POSS, CASE = {obl} ;' % row.english)
        else:
            # The object stands with the postposition the verb governs, as a
            # member of the clause's ADJUNCT set: meet X = X سے ملنا.
            entries.append(('(PRED.GF == {SUBJ,OBJ})', '#LEMMA(%s), PRED.GF = {SUBJ}' % lemma))
            object_rules.append("  (PRED == {%s}) --> ADJUNCT.SET, ELEMENT, PRED = '%s', PRED.GF = {OBJ}, OBJ, CASE = {obl} ;"
                                % (row.english, postposition))
    if 'particle' in row.options:
        condition = PARTICLE_CONDITION % row.options['particle']
        if 'when' in row.options:
            condition += ' & (PRED.GF == {%s})' % row.options['when']
        entries.append((condition, '#LEMMA(%s), PRED.GF = PRED.GF' % lemma))
    elif 'when' in row.options:
        # An intransitive sense for the frame SUBJ (the door opened: کھلنا)
        # is not the passive of the transitive one (the door was opened:
        # کھولا گیا).
        condition = '(PRED.GF == {%s})' % row.options['when']
        if row.options['when'] == 'SUBJ':
            condition += ' & ~(PASSIVE == {+})'
        entries.append((condition, '#LEMMA(%s), PRED.GF = PRED.GF' % lemma))
    else:
        entries.append(('', '#LEMMA(%s), PRED.GF = PRED.GF' % lemma))
    if row.cls == 'tr':
        # A transitive Urdu verb takes نے in the perfective even without an
        # Urdu object (اس نے کام کیا): the clause says so for the FINAL rules,
        # which give the subject its case and drop the mark.
        entries = [(condition, statements + ', SUBJ_CASE = {erg}') for condition, statements in entries]
    elif row.cls == 'trn':
        # A transitive verb whose subject stays nominative in the perfective
        # (وہ کتاب لایا): the clause says so, and the FINAL rules give نے only
        # to the others.
        entries = [(condition, statements + ', SUBJ_CASE = {nom}') for condition, statements in entries]
    return entries


# A postposition of the genitive (کے ساتھ, کی طرح) after a pronoun of the
# first person is said with its possessive (میرے ساتھ, ہماری طرح): the
# postposition's noun takes the pronoun as its possessor, in a phrase
# without a postposition of its own (as the goal of a verb of motion; the
# macro OWN_GENITIVE of MapMacros.txt); the OBJ entry of
# VocabularyOwnGenitive.mlr moves the pronoun there.
OWN_GENITIVE_CONDITION = '(OBJ.PERS == {1}) & (OBJ.PRONTYPE == {pers})'


def genitive_postposition(row):
    """(noun, gender) of a postposition of the genitive (کے_ساتھ: ساتھ, m),
    or None."""
    words = row.urdu.split('_')
    if len(words) < 2 or words[0] not in ('کے', 'کی'):
        return None
    return '_'.join(words[1:]), 'm' if words[0] == 'کے' else 'f'


def own_genitive_statements(row):
    noun, gend = genitive_postposition(row)
    return '#OWN_GENITIVE(%s,%s)' % (quoted(noun), gend)


def own_genitive_rule(rows):
    words = sorted({r.english for r in rows if r.pos == 'closed' and r.cls == 'p' and not r.domain
                    and genitive_postposition(r)})
    return '  (PRED.GF == {OBJ}) & (PRED == {%s}) & %s --> OBJ.POSS, CASE = {obl} ;' % (
        ','.join(words), OWN_GENITIVE_CONDITION)


def block_lines(english, rows, object_rules):
    """One headword block: verbs (their English PRED has a frame), then nouns
    (their English structure has PERS) when the word has other readings
    too, then the rest; several unconditional entries are senses (@n)."""
    verbs = [r for r in rows if r.pos == 'verb']
    nouns = [r for r in rows if r.pos == 'noun']
    interjections = [r for r in rows if r.pos == 'adv' and r.cls == 'interj']
    others = [r for r in rows if r.pos not in ('verb', 'noun') and r not in interjections]
    conditional, unconditional = [], []
    # A verb reading beside a noun or adjective reading carries (PRED.GF), so
    # that it applies only to a verb; several verb senses beside a noun stay
    # unconditional (numbered senses) and the noun takes (PERS) instead.
    plain_senses = [r for r in verbs if 'when' not in r.options and 'particle' not in r.options]
    verb_condition = '(PRED.GF)' if others or (nouns and len(plain_senses) == 1) else ''
    # Beside an adjective or adverb, the noun reading needs a noun's marks:
    # the case of a subject or object, a determiner, the plural, or a place in
    # a coordination of noun phrases with "and" ("heat and light", whose
    # members leave the case to the whole; "good or evil purposes" is more
    # often two adjectives read as nouns). A bare singular predicate ("Tom is
    # fat", which the English grammar may read as a noun) is the adjective.
    if others:
        noun_condition = '(PERS) & ((CASE) | (SPEC) | (NUM == {pl}) | (PARENT.COORD == {and}))'
    else:
        noun_condition = '(PERS)' if verbs and not verb_condition else ''
    for row in sorted(verbs, key=lambda r: ('particle' not in r.options, 'when' not in r.options, r.sense)):
        for condition, statements in verb_statements(row, object_rules):
            if condition:
                conditional.append((condition, statements, row))
            elif verb_condition:
                conditional.append((verb_condition, statements, row))
            else:
                unconditional.append(('', statements, row))
    for row in sorted(nouns, key=lambda r: r.sense):
        target = conditional if noun_condition else unconditional
        target.append((noun_condition, noun_statement(row), row))
    # An interjection beside other readings applies to the English fragment
    # alone, whose clause is marked FRAGMENT ("Sorry." معاف کیجیے, beside
    # "I am sorry"); the verb's reshaping entries stay first.
    for row in interjections:
        alone = len(interjections) == len(rows)
        (unconditional if alone else conditional).append(
            ('' if alone else '(FRAGMENT)', '#LEMMA(%s)' % quoted(row.urdu), row))
    # Senses in the order of their numbers (a row without one is the first
    # sense; the first entry is taken when no collocation decides), an
    # adjective before the other classes of the same number.
    for row in sorted(others, key=lambda r: (r.sense or 1, r.pos != 'adj')):
        statements = '#LEMMA(%s)' % quoted(row.urdu)
        if row.pos == 'closed' and row.cls == 'p':
            statements += ', PRED.GF = {OBJ}'
            if genitive_postposition(row) and not any(c == OWN_GENITIVE_CONDITION for c, _, _ in conditional):
                conditional.insert(0, (OWN_GENITIVE_CONDITION, own_genitive_statements(row), row))
        unconditional.append(('', statements, row))
    lines = []
    numbered = len(unconditional) > 1
    for index, (condition, statements, row) in enumerate(conditional + unconditional, 1):
        number = ''
        if numbered and condition == '':
            number = ' @%d' % (row.sense or index - len(conditional))
        comment = '   // ' + row.options['note'].replace('_', ' ') if 'note' in row.options else ''
        lines.append('  %s--> %s%s ;%s' % (condition + ' ' if condition else '', statements, number, comment))
    if len(lines) == 1 and '//' not in lines[0]:
        return ['%s [%s]' % (english, lines[0][1:])]
    return ['%s [' % english] + lines + [']']


MAP_HEADER = """// ===========================================================================
// {title}
// ===========================================================================
// Written by tools/build_vocabulary.py from the bilingual table in
// datasrc/sources/vocabulary/: edit the table, not this file. The blocks use
// the macros of MapMacros.txt (NOUN, LEMMA). In a block, verb entries carry
// the condition (PRED.GF) (the English word is a verb), noun entries the
// condition (PERS) when the word has other readings too; several entries
// without a condition are word senses, numbered with '@'. The object of a
// verb that governs a postposition or makes its object the possessor of a
// noun is mapped by the entries of VocabularyObjectRules.mlr.
// ===========================================================================
"""


def person_names(rows):
    """The personal names of names.txt: the lines of its section of people
    (before the cities)."""
    people, in_people = [], False
    with open(os.path.join(TABLE, 'names.txt'), encoding='utf-8') as f:
        for line in f:
            if line.startswith('# ---'):
                in_people = 'Personal names' in line
            elif in_people and line.split('#', 1)[0].split():
                people.append(line.split()[0])
    known = {r.english for r in rows if r.pos == 'noun'}
    return [name for name in people if name in known]


def person_object_rule(rows):
    return ('  (OBJ.PRED == {%s}) --> OBJ, SPECIFIC = {+} ;'
            % ','.join(person_names(rows)))


def mapping_files(rows):
    by_domain = {}
    for row in rows:
        by_domain.setdefault(row.domain, {}).setdefault(row.english, []).append(row)
    files = {}
    object_rules = []
    for domain in sorted(by_domain):
        name = ('%sDomainVocabularyMapLex.mlr' % domain) if domain else 'VocabularyMapLex.mlr'
        title = ('Mapping lexicon of the domain %s: vocabulary' % domain) if domain else \
            'General mapping lexicon: the vocabulary of the English lexicon'
        lines = [MAP_HEADER.format(title=title)]
        sections = [('closed', 'Closed classes: pronouns, determiners, numbers, prepositions, conjunctions'),
                    ('verb', 'Verbs'), ('noun', 'Nouns'), ('adj', 'Adjectives'), ('adv', 'Adverbs')]
        words = by_domain[domain]
        placed = set()
        for pos, heading in sections:
            names = [w for w in words if w not in placed and words[w][0].pos == pos]
            if not names:
                continue
            lines.append('\n// ' + '-' * 75 + '\n// ' + heading + '\n// ' + '-' * 75)
            for english in names:
                lines += block_lines(english, words[english], object_rules if not domain else [])
                placed.add(english)
        files[name] = '\n'.join(lines) + '\n'
    files['VocabularyObjectRules.mlr'] = (
        '// ===========================================================================\n'
        '// Entries of the mapping rule OBJ for the governed objects of the vocabulary\n'
        '// ===========================================================================\n'
        '// Written by tools/build_vocabulary.py; edit the table, not this file. The\n'
        '// entries belong in the OBJ block of MapRulesRaw.mlr, before its entry\n'
        '// without a condition (a second OBJ block would be ignored). Each applies\n'
        '// beside its own English verb:\n'
        '//   a postposition the Urdu verb governs: the object becomes a member of\n'
        '//   the ADJUNCT set with that postposition (I met the doctor: میں ڈاکٹر\n'
        '//   سے ملا); the entry of the verb gives the Urdu frame SUBJ;\n'
        '//   a light verb whose noun takes the object as its possessor (I waited\n'
        '//   for him: میں نے اس کا انتظار کیا); the entry of the verb gives the noun.\n'
        '// ===========================================================================\n'
        'OBJ [\n' + '\n'.join(object_rules) + '\n]\n')
    files['VocabularyOwnGenitive.mlr'] = (
        '// ===========================================================================\n'
        '// The entry of the mapping rule OBJ for a pronoun of the first person after a\n'
        '// preposition whose postposition is of the genitive\n'
        '// ===========================================================================\n'
        '// Written by tools/build_vocabulary.py from closed.txt; edit the table, not\n'
        '// this file. The entry belongs in the OBJ block of MapRulesRaw.mlr before the\n'
        '// entry of the object of a preposition: the pronoun becomes the possessor of\n'
        '// the postposition\'s noun, which the preposition\'s entry makes (with me:\n'
        '// میرے ساتھ, like us: ہماری طرح).\n'
        '// ===========================================================================\n'
        'OBJ [\n' + own_genitive_rule(rows) + '\n]\n')
    files['VocabularyNamedObjects.mlr'] = (
        '// ===========================================================================\n'
        '// The entry of the mapping rule OBJ for a person named as the object\n'
        '// ===========================================================================\n'
        '// Written by tools/build_vocabulary.py from the personal names of names.txt;\n'
        '// edit the table, not this file. The entry belongs in the OBJ block of\n'
        '// MapRulesRaw.mlr after the entry of the recipient (OBJ2): the named person\n'
        '// is specific and takes کو (I saw Omar: میں نے عمر کو دیکھا).\n'
        '// ===========================================================================\n'
        'OBJ [\n' + person_object_rule(rows) + '\n]\n')
    return files


def outputs(rows):
    result = {os.path.join(MAP_OUT, name): text for name, text in mapping_files(rows).items()}
    result[os.path.join(URDU_OUT, 'VocabularyULexicon.txt')] = urdu_lexicon(rows)
    return result


def coverage(rows):
    covered = {(r.english.lower(), r.pos) for r in rows}
    covered |= {(r.english.lower(), 'closed') for r in rows if r.pos == 'closed'}
    skipped = set()
    path = os.path.join(TABLE, 'skipped.txt')
    if os.path.exists(path):
        with open(path, encoding='utf-8') as f:
            for line in f:
                text = line.split('#', 1)[0].split()
                if len(text) >= 2:
                    skipped.add((text[0].lower(), text[1]))
    ranked = []
    with open(BROWN, encoding='utf-8') as f:
        for line in f:
            if not line.startswith('#'):
                lemma, cls, count = line.split('\t')
                ranked.append((lemma.lower(), cls, int(count)))
    return covered, skipped, ranked


def report_coverage(rows, top):
    covered, skipped, ranked = coverage(rows)
    english = {r.english.lower() for r in rows}
    counts = {}
    missing = []
    for lemma, cls, _ in ranked[:top]:
        if (lemma, cls) in covered:
            state = 'covered'
        elif (lemma, cls) in skipped:
            state = 'skipped'
        elif lemma in english:
            state = 'other class'
        else:
            state = 'missing'
            missing.append('%s/%s' % (lemma, cls))
        counts.setdefault(cls, {}).setdefault(state, 0)
        counts[cls][state] += 1
    for cls in sorted(counts):
        print(cls, ', '.join('%s %d' % kv for kv in sorted(counts[cls].items())))
    print('table rows by class:', ', '.join('%s %d' % (p, sum(1 for r in rows if r.pos == p))
                                            for p in ('noun', 'verb', 'adj', 'adv', 'closed')))
    if missing:
        print('missing (%d):' % len(missing), ' '.join(missing))
    generated = set(re.findall(r"\^PRED = '([^'<]+)", urdu_lexicon(rows)))
    overlap = sorted(generated & live_lemmas())
    if overlap:
        print('Urdu lemmas also in ULexicon.txt (%d):' % len(overlap), ' '.join(overlap))


def english_frames(lexicon_path):
    frames = {}
    with open(lexicon_path, encoding='utf-8') as f:
        for line in f:
            m = re.match(r"^[^/:][^:]*:\s*v,\s*\^PRED='([^'<]+)<([^>]*)>", line)
            if m:
                frames.setdefault(m.group(1), set()).add(m.group(2))
    return frames


def lacking_frames(rows, lexicon_path):
    """(row, frames) for the table's verbs whose generated Urdu entries lack
    an English frame of the verb (the mapping copies the English frame)."""
    frames = english_frames(lexicon_path)
    for row in rows:
        if row.pos != 'verb' or not needs_urdu_entries(row) or 'when' in row.options:
            continue
        have = {','.join(f) for f in verb_frames(row)}
        if row.cls == 'ditr':
            have |= {'SUBJ,OBJ,OBJ2'}
        lacking = sorted(frames.get(row.english, set()) - have)
        if lacking:
            yield row, lacking


def add_frames(rows, lexicon_path, write):
    """Prints, or with write adds to the table's lines as frames=, the English
    frames that the Urdu entries of a verb lack."""
    edits = {}
    for row, lacking in lacking_frames(rows, lexicon_path):
        print('%s %s: %s' % (row.english, row.urdu, ' '.join(lacking)))
        edits.setdefault(row.path, {})[row.number] = lacking
    if not write:
        return
    for path, lines_to_edit in edits.items():
        with open(path, encoding='utf-8') as f:
            lines = f.read().split('\n')
        for number, lacking in lines_to_edit.items():
            text, sep, comment = lines[number - 1].partition('#')
            fields = text.split()
            old = [f for f in fields if f.startswith('frames=')]
            present = old[0][len('frames='):].split(';') if old else []
            value = 'frames=' + ';'.join(present + lacking)
            if old:
                text = text.replace(old[0], value)
            else:
                text = text.rstrip() + ' ' + value + (' ' if sep else '')
            lines[number - 1] = text + sep + comment
        with open(path, 'w', encoding='utf-8', newline='\n') as f:
            f.write('\n'.join(lines))


HAND_LEXICON = os.path.join(ROOT, 'datasrc', 'data', 'mapping', 'MapLexRaw.mlr')


def mapping_blocks(text):
    """{headword: [entry text, ...]} of a mapping lexicon's text, comments
    left out."""
    text = re.sub(r'//[^\n]*', '', text)
    blocks = {}
    for match in re.finditer(r'(?m)^(\S+) \[(.*?)\]\s*$', text, re.S):
        entries = [e.strip() for e in match.group(2).split(';') if '-->' in e]
        blocks.setdefault(match.group(1), entries)
    return blocks


def entry_kind(entry):
    """The part of speech an entry translates: a verb copies or sets a frame,
    a preposition takes an object, a noun has its gender."""
    statements = entry.split('-->', 1)[1]
    if 'PRED.GF = {OBJ}' in statements:
        return 'preposition'
    if 'PRED.GF' in statements:
        return 'verb'
    if '#NOUN(' in statements:
        return 'noun'
    return 'other'


def hand_block_faults(generated_text):
    """The hand-written blocks of MapLexRaw.mlr that shadow a generated block
    without an entry for each part of speech it translates."""
    if not os.path.exists(HAND_LEXICON):
        return []
    with open(HAND_LEXICON, encoding='utf-8') as f:
        hand_text = f.read().split('//#include', 1)[0]
    hand = mapping_blocks(hand_text)
    faults = []
    for word, entries in sorted(mapping_blocks(generated_text).items()):
        if word not in hand:
            continue
        lacking = sorted({entry_kind(e) for e in entries} - {entry_kind(e) for e in hand[word]})
        if lacking:
            faults.append('MapLexRaw.mlr: the block %s shadows the generated one without its %s reading'
                          % (word, ' and '.join(lacking)))
    return faults


def main(argv):
    check = '--check' in argv
    if '--frames' in argv or '--add-frames' in argv:
        option = '--frames' if '--frames' in argv else '--add-frames'
        add_frames(read_table([]), argv[argv.index(option) + 1], option == '--add-frames')
        return 0
    errors = []
    rows = read_table(errors)
    if '--coverage' in argv:
        report_coverage(rows, int(argv[argv.index('--coverage') + 1]) if len(argv) > argv.index('--coverage') + 1 else 3000)
        return 0
    errors += hand_block_faults(mapping_files(rows)['VocabularyMapLex.mlr'])
    if errors:
        print('\n'.join(errors))
        return 1
    stale = []
    for path, text in outputs(rows).items():
        current = open(path, encoding='utf-8').read() if os.path.exists(path) else None
        if current == text:
            continue
        if check:
            stale.append(os.path.relpath(path, ROOT))
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'w', encoding='utf-8', newline='\n') as f:
            f.write(text)
        print('wrote', os.path.relpath(path, ROOT))
    if stale:
        print('generated vocabulary files are out of date; run tools/build_vocabulary.py:', ', '.join(stale))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
