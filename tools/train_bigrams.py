#!/usr/bin/env python3
"""Trains the tagger's bigram table from the tagged Brown corpus.

The corpus and its held-out files are described in tools/brown_corpus.py;
the table counts the training files only, and only the counts are committed.

Every Brown tag is first reduced to a coarse word class (BROWN_CLASSES), and
every class to the name it has in the English part-of-speech list (the file
of the key "POSs", datasrc/data/english/POSs.txt)
(CLASS_TO_POS, first name found in the list wins). Tag ids are the 1-based
positions in "POSs"; id 0 is the sentence start. Tokens whose class has no
name in the list are left out of the sequence, so their neighbours count as
adjacent.

The table is 8-bit text: a header line of 27 tokens (a corner token and the
26 column names), then 26 rows, each its row name and 26 counts; row i,
column j counts how often tag j followed tag i. Column 0 (the start never
follows a tag) stays 0. Every other cell between tags of the list gets one
count more than it was seen (add-one smoothing): the tagger scores a bigram
whose count is 0 as log 1, like a certain one, so no bigram of the list may
be left at 0.

usage: tools/train_bigrams.py [--corpus DIR] [--pos-list FILE] [--output FILE]
Then run tools/sync_data.py to copy the table into dataroot/.
"""
import argparse
import os
import sys

from brown_corpus import DEFAULT_CORPUS, TAG_SUFFIXES, corpus_files, ensure_corpus

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_POS_LIST = os.path.join(ROOT, 'datasrc', 'data', 'english', 'POSs.txt')
DEFAULT_OUTPUT = os.path.join(ROOT, 'datasrc', 'data', 'english', 'BigramTable.txt')

TABLE_SIZE = 26          # the sentence start and at most 25 tags
START_NAME = 'START'     # name of row and column 0
UNUSED_NAME = 'unused'   # name of the rows and columns past the list's end
CORNER_NAME = 'prev\\next'

# Brown tag (after dropping the fw- prefix and the -tl/-hl/-nc suffixes) ->
# coarse class. A tag joined with '+' (contractions such as pps+bez "he's")
# stands for one token per part, and a trailing '*' (don't, isn't) for a
# negation after the word. 'have' and 'do' are listed under 'aux' but count as
# 'verb' when no verb form follows them (AUX_OR_VERB).
BROWN_CLASSES = {
    # nouns and nominal adverbs of time and place (home, Friday)
    'nn': 'noun', 'nns': 'noun', 'nr': 'noun', 'nrs': 'noun',
    'np': 'name', 'nps': 'name',
    # possessives: the tokeniser cuts "John's" into the word and "apostr"
    'nn$': 'noun apostr', 'nns$': 'noun apostr', 'nr$': 'noun apostr',
    'np$': 'name apostr', 'nps$': 'name apostr', 'pn$': 'pron apostr',
    'jj$': 'adj apostr', 'cd$': 'card apostr',
    # pronouns; possessive pronouns before a noun (my, his) are determiners
    'pn': 'pron', 'ppl': 'pron', 'ppls': 'pron', 'ppo': 'pron', 'pps': 'pron',
    'ppss': 'pron', 'pp$$': 'pron',
    # determiners, pre- and post-determiners
    'at': 'det', 'dt': 'det', 'dti': 'det', 'dts': 'det', 'dtx': 'det',
    'dt$': 'det', 'abn': 'det', 'abx': 'det', 'ap': 'det', 'pp$': 'det',
    # wh-words
    'wdt': 'wh', 'wp$': 'wh', 'wps': 'wh', 'wpo': 'wh', 'wql': 'wh', 'wrb': 'wh',
    # adjectives
    'jj': 'adj', 'jjr': 'adj', 'jjs': 'adj', 'jjt': 'adj', 'ap$': 'adj',
    # adverbs, qualifiers, particles and existential "there" (an adverb in
    # our lexicon)
    'rb': 'adv', 'rbr': 'adv', 'rbt': 'adv', 'rn': 'adv', 'rb$': 'adv',
    'ql': 'adv', 'qlp': 'adv', 'abl': 'adv', 'rp': 'adv', 'ex': 'adv',
    '*': 'neg',
    # verbs: lexical verbs, then be, have and do, then modals
    'vb': 'verb', 'vbd': 'verb', 'vbg': 'verb', 'vbn': 'verb', 'vbz': 'verb',
    'be': 'aux', 'bed': 'aux', 'bedz': 'aux', 'beg': 'aux', 'bem': 'aux',
    'ben': 'aux', 'ber': 'aux', 'bez': 'aux',
    'hv': 'aux', 'hvd': 'aux', 'hvg': 'aux', 'hvn': 'aux', 'hvz': 'aux',
    'do': 'aux', 'dod': 'aux', 'doz': 'aux',
    'md': 'modal',
    # function words
    'in': 'prep', 'to': 'to', 'cc': 'coord_conj', 'cs': 'sub_conj',
    'uh': 'interj',
    # numbers
    'cd': 'card', 'od': 'ord',
    # punctuation: the tokeniser makes tokens of '.', ',', ':', ';', '?',
    # '!', '(', ')' and the like
    '.': 'punct', ',': 'punct', ':': 'punct', '(': 'punct', ')': 'punct',
    '--': 'punct',
    # quotation marks are stepped over by the tokeniser and make no token
    "''": None, '``': None, "'": None, 'nil': None,
}

# 'have' and 'do' are auxiliaries when a verb form follows them, maybe after
# adverbs, a negation or a subject pronoun (has not seen, did he go);
# otherwise lexical verbs (has a book, did it).
AUX_OR_VERB = {'hv', 'hvd', 'hvg', 'hvn', 'hvz', 'do', 'dod', 'doz'}
VERB_FORMS = {'vb', 'vbd', 'vbg', 'vbn', 'vbz', 'be', 'bed', 'bedz', 'beg', 'bem',
              'ben', 'ber', 'bez', 'hv', 'hvd', 'hvg', 'hvn', 'hvz'}
SKIPPED_BEFORE_VERB = {'rb', 'rbr', 'rbt', 'ql', '*', 'pps', 'ppss'}

# Coarse class -> names it may have in "POSs", in order of preference. Adapt
# this table when the list changes; classes without a name are left out.
CLASS_TO_POS = {
    'noun': ['n', 'noun'],
    'name': ['pn', 'n', 'noun'],
    'pron': ['pron', 'pronoun'],
    'det': ['det', 'determiner'],
    'wh': ['wh', 'pron'],
    'adj': ['adj', 'adjective'],
    'adv': ['adv', 'adverb'],
    'neg': ['neg', 'adv'],
    'verb': ['v', 'verb'],
    'aux': ['aux', 'v', 'verb'],
    'modal': ['modal', 'aux', 'v', 'verb'],
    'prep': ['p', 'prep', 'preposition'],
    'to': ['to', 'inf', 'p', 'prep'],
    'coord_conj': ['coord_conj', 'conj'],
    'sub_conj': ['sub_conj', 'conj'],
    'interj': ['interj'],
    'card': ['card', 'num'],
    'ord': ['ord', 'adj'],
    'apostr': ['apostr'],
    'punct': ['punct'],
}

def read_pos_list(path):
    with open(path, encoding='latin-1') as f:
        names = f.read().split()
    if len(names) > TABLE_SIZE - 1:
        sys.exit('%s holds %d names; the table has room for %d' % (path, len(names), TABLE_SIZE - 1))
    return names


def class_ids(pos_names):
    """Coarse class -> tag id, for the classes that have a name in the list."""
    ids = {}
    for name, candidates in CLASS_TO_POS.items():
        for candidate in candidates:
            if candidate in pos_names:
                # A repeated name keeps its later position, as the tagger's list does.
                ids[name] = len(pos_names) - pos_names[::-1].index(candidate)
                break
    return ids


def tag_parts(brown_tag):
    """The plain tags that one tagged token stands for, in order."""
    tag = brown_tag.lower()
    if tag.startswith('fw-'):
        tag = tag[3:]
    parts = []
    for part in tag.split('+'):
        part = TAG_SUFFIXES.sub('', part)
        if part != '*' and part.endswith('*'):
            parts += [part.rstrip('*'), '*']
        else:
            parts.append(part)
    return parts


def aux_or_verb(parts, i):
    for following in parts[i + 1:]:
        if following in VERB_FORMS:
            return 'aux'
        if following not in SKIPPED_BEFORE_VERB:
            break
    return 'verb'


def sentence_classes(words, unknown):
    """The coarse classes of one sentence's tokens, in order."""
    parts = [part for word in words for part in tag_parts(word.rpartition('/')[2])]
    classes = []
    for i, part in enumerate(parts):
        if part not in BROWN_CLASSES:
            unknown[part] = unknown.get(part, 0) + 1
        elif part in AUX_OR_VERB:
            classes.append(aux_or_verb(parts, i))
        elif BROWN_CLASSES[part]:
            classes.extend(BROWN_CLASSES[part].split())
    return classes


def count_bigrams(corpus, ids):
    counts = [[0] * TABLE_SIZE for _ in range(TABLE_SIZE)]
    unknown = {}
    sentences = 0
    for path in corpus_files(corpus):
        with open(path, encoding='latin-1') as f:
            for line in f:
                words = line.split()
                if not words:
                    continue
                sentences += 1
                previous = 0
                for coarse in sentence_classes(words, unknown):
                    if coarse not in ids:
                        continue
                    counts[previous][ids[coarse]] += 1
                    previous = ids[coarse]
    return counts, sentences, unknown


def smooth(counts, tag_count):
    for row in range(tag_count + 1):
        for column in range(1, tag_count + 1):
            counts[row][column] += 1


def table_text(counts, pos_names):
    names = [START_NAME] + pos_names
    names += ['%s%d' % (UNUSED_NAME, i) for i in range(len(names), TABLE_SIZE)]
    lines = [' '.join([CORNER_NAME] + names)]
    for row in range(TABLE_SIZE):
        lines.append(' '.join([names[row]] + [str(c) for c in counts[row]]))
    return '\n'.join(lines) + '\n'


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--corpus', default=DEFAULT_CORPUS)
    parser.add_argument('--pos-list', default=DEFAULT_POS_LIST)
    parser.add_argument('--output', default=DEFAULT_OUTPUT)
    args = parser.parse_args()

    ensure_corpus(args.corpus)
    pos_names = read_pos_list(args.pos_list)
    ids = class_ids(pos_names)
    counts, sentences, unknown = count_bigrams(args.corpus, ids)
    smooth(counts, len(pos_names))
    with open(args.output, 'w', encoding='latin-1', newline='\n') as f:
        f.write(table_text(counts, pos_names))

    print('%d sentences; wrote %s' % (sentences, os.path.relpath(args.output, ROOT)))
    unmapped = sorted(set(CLASS_TO_POS) - set(ids))
    if unmapped:
        print('classes without a name in the list (left out):', ', '.join(unmapped))
    unused = [n for n in pos_names if n not in {pos_names[i - 1] for i in ids.values()}]
    if unused:
        print('names of the list that no class reaches:', ', '.join(unused))
    if unknown:
        print('unknown Brown tags (left out):', ', '.join('%s x%d' % kv for kv in sorted(unknown.items())))
    return 0


if __name__ == '__main__':
    sys.exit(main())
