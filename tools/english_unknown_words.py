#!/usr/bin/env python3
"""Measures the share of running words that the English lexicon does not know,
on the held-out files of the Brown corpus (see tools/brown_corpus.py), which
the lexicon and the bigram table are not built from.

Words are cut as the tokeniser cuts them: at apostrophes ("don't" gives "don"
and "t", "John's" gives "John" and the apostrophe token) and full stops; a
hyphen stays inside a word. Punctuation and numbers written with digits are
not words. A word is known when the lexicon has it as written or in small
letters (as the parser looks words up), or when it is an abbreviation of the
tokeniser.

usage: tools/english_unknown_words.py [--top N]
prints the rate and the N most frequent unknown words (default 30)
"""
import argparse
import collections
import os
import re
import sys

import brown_corpus

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LEXICON = os.path.join(ROOT, 'datasrc', 'data', 'english', 'ELexicon.txt')
ABBREVIATIONS = os.path.join(ROOT, 'datasrc', 'data', 'tokeniser', 'AbbreviationFile.txt')
# Brown tags of tokens that are not words: punctuation and quotation marks.
NOT_WORDS = {'.', ',', ':', '(', ')', '--', "''", '``', "'", '*'}
# What the tokeniser makes a token of its own after an apostrophe.
APOSTROPHE_PIECES = {'', 's'}


def lexicon_words():
    words = set()
    with open(LEXICON, encoding='utf-8') as f:
        for line in f:
            match = re.match(r'([^\s/][^:]*):', line)
            if match:
                words.add(match.group(1))
    with open(ABBREVIATIONS, encoding='latin-1') as f:
        words.update(f.read().split())
    return words


def pieces(word):
    """The tokeniser's words of one corpus token."""
    for part in re.split(r"[.]", word):
        for index, piece in enumerate(part.split("'")):
            if index > 0 and piece.lower() in APOSTROPHE_PIECES:
                continue
            if piece and not re.fullmatch(r'[\d,.-]+', piece):
                yield piece


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--top', type=int, default=30)
    args = parser.parse_args()
    known = lexicon_words()
    corpus = brown_corpus.ensure_corpus()
    total = 0
    unknown = collections.Counter()
    for sentence in brown_corpus.sentences(corpus, held_out=True):
        for word, tag in sentence:
            if brown_corpus.plain_tag(tag) in NOT_WORDS:
                continue
            for piece in pieces(word):
                total += 1
                if piece not in known and piece.lower() not in known:
                    unknown[piece] += 1
    missing = sum(unknown.values())
    capitalised = sum(count for word, count in unknown.items() if word[0].isupper())
    print('held-out Brown files: %d running words, %d unknown (%.2f%%)' % (total, missing, 100.0 * missing / total))
    print('  of them written with a capital (mostly names): %d (%.2f%%); in small letters: %d (%.2f%%)'
          % (capitalised, 100.0 * capitalised / total, missing - capitalised, 100.0 * (missing - capitalised) / total))
    for word, count in unknown.most_common(args.top):
        print('%6d  %s' % (count, word))
    return 0


if __name__ == '__main__':
    sys.exit(main())
