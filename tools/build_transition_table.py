#!/usr/bin/env python3
"""Builds the tokeniser's automaton and its reading-list codes.

Writes datasrc/data/tokeniser/TransitionTable.txt and UnitPosFile.txt from the
definitions below; tools/sync_data.py then copies them into dataroot/.

usage: tools/build_transition_table.py            write both files
       tools/build_transition_table.py --check    exit 1 when they are stale
       tools/build_transition_table.py --explain  list the states by number

How the tokeniser runs the table
--------------------------------
Every transition taken appends its character to the token and runs its
accept code (a token builder with argument 1). The other transitions of the
same key, and the '$' transitions of the state entered, are pushed on a
backtrack stack, each with the position and the texts of that moment. When
no transition fits the next character, the latest alternative is resumed:
its accept code runs, and when its order key is 0 and the next character is
a delimiter, the token ends there: the '^' transition of its state runs the
builder that finishes the token. When nothing is left, fixed rules read a
plain word.

So the table below reads the longest number, measure, date or time it can,
and every state where a token may end carries an "end here" alternative
('$', order key 0) whose '^' transition names the builder. Ordinary
transitions have order key 1, so they never end a token by themselves.

Resuming an alternative restores the position and the texts, but not what
builders stored in their slots. Two paths rely on that: a number with
thousands commas and feet followed by inches first resume an alternative
that stores a piece (C 8, A 8) and then get stuck again, so that the
alternative saved with the whole text ends the token.

Builders (accept codes): A cardinal, B number with a unit word, C number with
thousands commas, D ordinal, E feet, F inches, G feet and inches, H day,
I month, J year, K hour, L minute, M second, O am/pm. Argument 8 stores a
piece (the number before a unit, the hour), 0 stores a date piece, 7 ends a
token with the builder's own reading, other arguments are reading-list codes
of UnitPosFile.

Tokens recognised
-----------------
  25, 1234567        cardinal (A 7)
  3.75               decimal cardinal (A 7)
  12,000  1,234,567  thousands (C 8 then C 7)
  1st 2nd 3rd 23rd   ordinal (D)
  5 kg, 2.5 million, 12,000 km    measure (A 8 or C 8, then B)
  5'  5'6"  5'6      feet (E), feet and inches (A 8 then G)
A lone inch mark (6") is not read: quotes around a number are more common.
  10:30  10:30:15  10:30 pm  7 pm  7 a.m.     time (K, L, M, O)
  12 October 2005, 12 Oct, 1st March 2005, 12/10/2005     date (H, I, J)
  October, October 2005, May 2005, Monday     date
"May" and "March" alone are a verb or a name as often as a month, so they
are dates only with a day or a year.
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, 'datasrc', 'data', 'tokeniser')

DIGITS = '0123456789'
BLANK = '~'  # the file's way of writing a blank

# Reading-list codes: the parts of speech a finished token offers the tagger.
READING_CODES = [
    (10, 'card', 'measures: a number with a unit word ("5 kg", "2 million")'),
    (20, 'date', 'dates: "12 October 2005", "Monday", "12/10/2005"'),
    (30, 'card', 'feet and inches: 5\'6"'),
]
MEASURE, DATE, FEET_INCHES = 10, 20, 30

# Order keys. 0: an end-here alternative; the others only order the
# alternatives: the highest is resumed first.
END, STEP, HOUR_FIRST, DAY_FIRST = 0, 1, 5, 6
STORE_FIRST = 5  # resumed before the end-here alternative of the same state

UNIT_WORDS = (
    'kg g mg km m cm mm ml '
    'kilogram kilograms gram grams milligram milligrams '
    'kilometre kilometres kilometer kilometers metre metres meter meters '
    'centimetre centimetres centimeter centimeters millimetre millimetres millimeter millimeters '
    'mile miles litre litres liter liters percent '
    'hundred thousand million billion lakh lakhs crore crores').split()

MONTHS = ('January February March April May June July August September October November December '
          'Jan Feb Mar Apr Jun Jul Aug Sept Oct Nov Dec').split()
# Months that are a date on their own at the start of a token.
MONTHS_ALONE = 'January February April June July August September October November December'.split()
WEEKDAYS = 'Monday Tuesday Wednesday Thursday Friday Saturday Sunday'.split()
TIME_TYPES = 'am pm AM PM a.m a.m. p.m p.m. A.M A.M. P.M P.M.'.split()


class Table:
    def __init__(self):
        self.ids = {'START': 1}
        self.records = []  # (from, char, to, code, argument, order)

    def state(self, name):
        if name not in self.ids:
            self.ids[name] = len(self.ids) + 1
        return self.ids[name]

    def go(self, source, chars, target, code='2', argument=-1, order=STEP):
        """Reads one of chars; code '2' does nothing."""
        for c in chars:
            self.records.append((self.state(source), c, self.state(target), code, argument, order))

    def alternative(self, source, target, code, argument, order):
        """A '$' transition: tried when the path through source gets stuck."""
        self.go(source, '$', target, code, argument, order)

    def ends(self, source, code, argument=-1):
        """The token may end after source; the builder finishes it."""
        end = source + '/end'
        self.alternative(source, end, '2', -1, END)
        self.records.append((self.state(end), '^', 0, code, argument, END))

    def words(self, root, words, finish):
        """A letter tree of words from root; finish(word, state) for each word's last state."""
        for word in words:
            state = root
            for i, c in enumerate(word):
                target = root + ':' + word[:i + 1]
                if (self.state(state), c, self.state(target)) not in {r[:3] for r in self.records}:
                    self.go(state, c, target)
                state = target
            finish(word, state)

    def lines(self):
        rows = sorted(self.records, key=lambda r: (r[0], r[1], r[5]))
        for frm, c, to, code, argument, order in rows:
            yield f'{frm} {c} {to if to else -1} {code} {argument} -1 -1 0 0 {order}'

    def check(self):
        seen = set()
        for frm, c, to, _, _, _ in self.records:
            key = (frm, c, to)
            assert key not in seen, f'duplicate transition {key}'
            seen.add(key)
        blank_targets = {to for frm, c, to, *_ in self.records if c == BLANK}
        for frm, c, *_ in self.records:
            # Two blanks in a row would let a token run past the end of the
            # sentence, which always ends with two blanks.
            assert not (c == BLANK and frm in blank_targets), 'a blank after a blank'


def numbers(t):
    ints = ['INT1', 'INT2', 'INT3', 'INTN']  # 1, 2, 3 and more digits
    t.go('START', DIGITS, 'INT1')
    t.go('INT1', DIGITS, 'INT2')
    t.go('INT2', DIGITS, 'INT3')
    t.go('INT3', DIGITS, 'INTN')
    t.go('INTN', DIGITS, 'INTN')
    for s in ints:
        t.ends(s, 'A', 7)
        t.go(s, '.', 'POINT')
        t.go(s, BLANK, 'UNIT', 'A', 8)          # the number before a unit word
    # One or two digits may also be an hour ("7 pm") or a day ("12 October").
    for s in ('INT1', 'INT2'):
        t.alternative(s, 'HOUR', 'K', 8, HOUR_FIRST)
        t.alternative(s, 'DAY', 'H', 0, DAY_FIRST)
    # Decimals.
    t.go('POINT', DIGITS, 'DEC')
    t.go('DEC', DIGITS, 'DEC')
    t.ends('DEC', 'A', 7)
    t.go('DEC', BLANK, 'UNIT', 'A', 8)
    # Thousands: a group of 1-3 digits, then groups of three after commas.
    # When the number ends after a group, C 8 (resumed first) stores all its
    # digits as the number, then the end-here alternative, saved with the
    # whole text, finishes it with C 7. Before a unit word C 8 runs on the
    # blank.
    for s in ('INT1', 'INT2', 'INT3'):
        t.go(s, ',', 'COMMA')
    t.go('COMMA', DIGITS, 'GROUP1')
    t.go('GROUP1', DIGITS, 'GROUP2')
    t.go('GROUP2', DIGITS, 'GROUP3')
    t.go('GROUP3', ',', 'COMMA')
    t.ends('GROUP3', 'C', 7)
    t.alternative('GROUP3', 'GROUP_STORED', 'C', 8, STORE_FIRST)
    t.go('GROUP3', BLANK, 'UNIT', 'C', 8)


def ordinals(t):
    # 1st 2nd 3rd 4th 23rd: two letters after the digits; any digits may take
    # any of the four endings.
    endings = {'s': 't', 'n': 'd', 'r': 'd', 't': 'h'}
    for s in ('INT1', 'INT2', 'INT3', 'INTN'):
        for first in endings:
            t.go(s, first, 'ORD_' + first)
    for first, second in endings.items():
        t.go('ORD_' + first, second, 'ORD')
    t.ends('ORD', 'D')
    t.go('ORD', BLANK, 'DATE_SPACE', 'H', 0)  # "1st October"


def measures(t):
    t.words('UNIT', UNIT_WORDS, lambda word, s: t.ends(s, 'B', MEASURE))
    # Feet: 5'  Feet and inches: 5'6" or 5'6. The apostrophe may end the
    # token (E) or, resumed first, store the feet (A 8) and read the inches.
    for s in ('INT1', 'INT2'):
        t.go(s, "'", 'FEET')
    t.ends('FEET', 'E')
    t.alternative('FEET', 'FEET_STORED', 'A', 8, STORE_FIRST)
    t.go('FEET_STORED', DIGITS, 'INCH1')
    t.go('INCH1', DIGITS, 'INCH2')
    for s in ('INCH1', 'INCH2'):
        t.ends(s, 'G', FEET_INCHES)
        t.go(s, '"', 'INCH_MARK')
    t.ends('INCH_MARK', 'G', FEET_INCHES)


def times(t):
    for s in ('INT1', 'INT2'):
        t.go(s, ':', 'MINUTE0', 'K', 8)
    t.go('MINUTE0', DIGITS, 'MINUTE1')
    t.go('MINUTE1', DIGITS, 'MINUTE2')
    t.ends('MINUTE2', 'L', 7)
    t.go('MINUTE2', ':', 'SECOND0', 'L', 8)
    t.go('SECOND0', DIGITS, 'SECOND1')
    t.go('SECOND1', DIGITS, 'SECOND2')
    t.ends('SECOND2', 'M', 7)
    t.go('MINUTE2', BLANK, 'TIME_SPACE', 'L', 8)
    t.go('SECOND2', BLANK, 'TIME_SPACE', 'M', 8)
    t.go('HOUR', BLANK, 'TIME_SPACE')
    t.words('TIME_SPACE', TIME_TYPES, lambda word, s: t.ends(s, 'O'))


def dates(t):
    def month_after_day(word, s):
        t.ends(s, 'I', DATE)
        t.go(s, BLANK, 'YEAR_SPACE', 'I', 0)
    t.go('DAY', BLANK, 'DATE_SPACE')
    t.words('DATE_SPACE', MONTHS, month_after_day)
    t.go('YEAR_SPACE', DIGITS, 'YEAR1')
    t.go('YEAR1', DIGITS, 'YEAR2')
    t.go('YEAR2', DIGITS, 'YEAR3')
    t.go('YEAR3', DIGITS, 'YEAR4')
    t.ends('YEAR4', 'J', DATE)

    # Words at the start of a token: weekdays, months alone, month and year.
    def start_word(word, s):
        if word in WEEKDAYS:
            t.ends(s, 'H', DATE)
            return
        if word in MONTHS_ALONE:
            t.ends(s, 'I', DATE)
        t.go(s, BLANK, 'YEAR_SPACE', 'I', 0)
    t.words('START', WEEKDAYS + MONTHS, start_word)

    # 12/10/2005 and 12/10/05: day, month in digits, year.
    for s in ('INT1', 'INT2'):
        t.go(s, '/', 'SLASH_MONTH', 'H', 0)
    t.go('SLASH_MONTH', DIGITS, 'SLASH_MONTH1')
    t.go('SLASH_MONTH1', DIGITS, 'SLASH_MONTH2')
    for s in ('SLASH_MONTH1', 'SLASH_MONTH2'):
        t.go(s, '/', 'SLASH_YEAR', 'I', 0)
    t.go('SLASH_YEAR', DIGITS, 'SLASH_YEAR1')
    t.go('SLASH_YEAR1', DIGITS, 'SLASH_YEAR2')
    t.go('SLASH_YEAR2', DIGITS, 'SLASH_YEAR3')
    t.go('SLASH_YEAR3', DIGITS, 'SLASH_YEAR4')
    t.ends('SLASH_YEAR2', 'J', DATE)
    t.ends('SLASH_YEAR4', 'J', DATE)


def build():
    t = Table()
    numbers(t)
    ordinals(t)
    measures(t)
    times(t)
    dates(t)
    t.check()
    return t


def files(t):
    table = '\n'.join(t.lines()) + '\n'
    units = ''.join(f'{code}: {names}.\n' for code, names, _ in READING_CODES)
    return {'TransitionTable.txt': table, 'UnitPosFile.txt': units}


def main(argv):
    t = build()
    if len(argv) == 2 and argv[1] == '--explain':
        for name, number in sorted(t.ids.items(), key=lambda item: item[1]):
            print(number, name)
        return 0
    check = len(argv) == 2 and argv[1] == '--check'
    if len(argv) > 1 and not check:
        print(__doc__)
        return 2
    stale = []
    for name, text in files(t).items():
        path = os.path.join(OUT, name)
        current = open(path, encoding='latin-1', newline='').read() if os.path.exists(path) else None
        if current == text:
            continue
        if check:
            stale.append(name)
            continue
        os.makedirs(OUT, exist_ok=True)
        with open(path, 'w', encoding='latin-1', newline='') as f:
            f.write(text)
        print('wrote', os.path.relpath(path, ROOT))
    if stale:
        print('stale; run tools/build_transition_table.py:', ', '.join(stale))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
