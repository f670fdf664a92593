"""The lexicon builder's step that takes words from the SCOWL list: which
names and words it adds and which it leaves to the earlier sources. Runs on
hand-made stand-ins for Brill's lexicon, the corpus and WordNet, so it needs
no download."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import build_english_lexicon as builder  # noqa: E402


class NoCorpus:
    def has(self, key, kind):
        return False

    def usual_pos(self, key):
        return None


def small_wordnet(nouns=(), verbs=(), adjectives=()):
    wordnet = builder.WordNet.__new__(builder.WordNet)
    wordnet.lemmas = {'noun': set(nouns), 'verb': set(verbs), 'adj': set(adjectives), 'adv': set()}
    wordnet.irregular = {'noun': {}, 'verb': {}, 'adj': {}}
    wordnet.forms_of = {'noun': {}, 'verb': {}, 'adj': {}}
    wordnet.frames = {}
    return wordnet


BRILL = {'bully': ['NN', 'VB'], 'bullies': ['NNS|VBZ'], 'bullied': ['VBD|VBN'], 'bullying': ['VBG'],
         'book': ['NN', 'VB'], 'swiftly': ['RB'], 'kind': ['JJ']}
WORDNET = small_wordnet(nouns={'bully', 'book'}, verbs={'bully', 'book'}, adjectives={'kind'})


def readings(words, known=(), wordnet=WORDNET):
    """(word, part of speech) of every group the step adds; the known words
    stand for what the hand lists and the corpus gave before."""
    lexicon = builder.Lexicon(BRILL, NoCorpus())
    for word, pos in known:
        lexicon.add(word, pos, word, "^PRED='%s'" % word)
    before = set(lexicon.groups)
    builder.add_word_list_readings(lexicon, wordnet, words, set())
    return set(lexicon.groups) - before


class WordListReadings(unittest.TestCase):
    def test_rows(self):
        rows = [
            ('a name whose small-letter form is no word', ['Greg'], [], {('Greg', 'pn')}),
            ('a name that would hide a known word', ['May'], [('may', 'aux')], set()),
            ('a name that is also a word of the list', ['Rose', 'rose'], [], set()),
            ('a word with the readings Brill gives it, and its forms', ['bully'], [],
             {('bully', 'n'), ('bullies', 'n'), ('bully', 'v'), ('bullies', 'v'), ('bullied', 'v'),
              ('bullying', 'v')}),
            ('a known word keeps its readings', ['book'], [('book', 'n')], set()),
            ('an adverb and an adjective', ['swiftly', 'kind'], [], {('swiftly', 'adv'), ('kind', 'adj')}),
            ('a word Brill does not know', ['zymurgy'], [], set()),
        ]
        for what, words, known, expected in rows:
            with self.subTest(what):
                self.assertEqual(readings(words, known), expected)

    def test_a_new_lemma_gives_a_known_form_no_further_reading(self):
        # "bullies" is a known noun: the verb "bully" adds its other forms only.
        added = readings(['bully'], [('bullies', 'n')])
        self.assertNotIn(('bullies', 'v'), added)
        self.assertIn(('bullied', 'v'), added)



class FormsTheWordListAttests(unittest.TestCase):
    """A generated form counts as attested by the word list only when its
    ending fits its kind: comparatives in -er, superlatives in -est, a past
    in -t beside the one in -ed."""

    def forms(self, listed, lemma, kind, pos, irregular=()):
        wordnet = small_wordnet(verbs={lemma}, adjectives={lemma})
        wordnet.forms_of = {'noun': {}, 'verb': {lemma: set(irregular)}, 'adj': {lemma: set(irregular)}}
        lexicon = builder.Lexicon(BRILL, NoCorpus())
        lexicon.listed = set(listed)
        return builder.forms_of(lexicon, wordnet, lemma, kind, pos)

    def test_rows(self):
        rows = [
            ('a superlative of the list', ['saddest'], 'sad', 'superl', 'adj', (), ['saddest']),
            ('a comparative of the list', ['sadder'], 'sad', 'comp', 'adj', (), ['sadder']),
            ('no superlative without evidence', [], 'sad', 'superl', 'adj', (), []),
            ("a comparative is no superlative", ['easier'], 'easy', 'superl', 'adj', ['easier'], []),
            ('a past in -t', ['spilt', 'spilled'], 'spill', 'past', 'verb', ['spilt'], ['spilt']),
        ]
        for what, listed, lemma, kind, pos, irregular, expected in rows:
            with self.subTest(what):
                self.assertEqual(self.forms(listed, lemma, kind, pos, irregular), expected)

    def test_a_participle_in_ing_is_no_past(self):
        # WordNet lists "compelling" among the irregular forms of "compel".
        self.assertNotIn('compelling', self.forms(['compelling'], 'compel', 'past', 'verb', ['compelling']))


if __name__ == '__main__':
    unittest.main()
