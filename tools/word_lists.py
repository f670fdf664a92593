"""The American English word list of SCOWL for the data scripts.

It comes from the Debian package wamerican (SCOWL, Kevin Atkinson and
others: use, copy, modify and distribute freely with the copyright notice).
The package is fetched by tools/debian_packages.py; nothing of it is
committed.

The list holds common words in their inflected forms and, written with a
capital, names of people and places; entries with an apostrophe (possessives)
are left out here.
"""
import re

import debian_packages

ENTRY = re.compile(r'[A-Za-z][a-z]+$')


def words():
    """The entries of one word, in small letters or with a capital first."""
    with open(debian_packages.unpacked('wamerican', 'usr/share/dict/american-english'), encoding='utf-8') as f:
        return [line.strip() for line in f if ENTRY.match(line.strip())]
