"""The vocabulary builder's blocks and Urdu entries for the kinds of rows that
change what the mapper chooses: interjections, phrasal verbs, senses for one
English frame, postpositions of the genitive, and the check of hand-written
blocks. Runs on rows made here, so the table's contents do not matter."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import build_vocabulary as vocabulary  # noqa: E402

POS_OF_FILE = {'noun': 'nouns.txt', 'verb': 'verbs.txt', 'adj': 'adjectives.txt', 'adv': 'adverbs.txt',
               'closed': 'closed.txt'}


def row(english, urdu, cls, pos, **options):
    return vocabulary.Row(POS_OF_FILE[pos], 1, english, urdu, cls, dict(options), pos)


def block(*rows):
    return '\n'.join(vocabulary.block_lines(rows[0].english, list(rows), []))


class BlockTest(unittest.TestCase):
    def test_entries_of_a_block(self):
        # (rows, texts the block holds, in this order)
        cases = [
            ('an interjection alone applies to any reading',
             [row('goodbye', 'خدا_حافظ', 'interj', 'adv')],
             ["goodbye [ --> #LEMMA('خدا_حافظ') ;]"]),
            ('beside other readings it applies to the fragment alone, after the verb',
             [row('welcome', 'استقبال_کرنا', 'tr', 'verb'), row('welcome', 'خوش_آمدید', 'inv', 'adj'),
              row('welcome', 'خوش_آمدید', 'interj', 'adv')],
             ["(PRED.GF) --> #LEMMA('استقبال_کرنا')", "(FRAGMENT) --> #LEMMA('خوش_آمدید')",
              "  --> #LEMMA('خوش_آمدید') ;"]),
            ('a phrasal sense comes first and asks for its particle',
             [row('pick', 'چننا', 'tr', 'verb'), row('pick', 'اٹھانا', 'tr', 'verb', particle='up')],
             ["(ADJUNCT.SET.ELEMENT.PARTICLE) & (ADJUNCT.SET.ELEMENT.PRED == {up}) --> #LEMMA('اٹھانا')",
              "--> #LEMMA('چننا')"]),
            ('a sense for one frame is conditional; the verb that stays nominative says so',
             [row('bring', 'لانا', 'trn', 'verb'), row('bring', 'لے_آنا', 'intr', 'verb', when='SUBJ')],
             ["(PRED.GF == {SUBJ}) & ~(PASSIVE == {+}) --> #LEMMA('لے_آنا')",
              "--> #LEMMA('لانا'), PRED.GF = PRED.GF, SUBJ_CASE = {nom} ;"]),
            ('a postposition of the genitive has the possessive form for the first person first',
             [row('with', 'کے_ساتھ', 'p', 'closed')],
             ["(OBJ.PERS == {1}) & (OBJ.PRONTYPE == {pers}) --> #OWN_GENITIVE('ساتھ',m)",
              "--> #LEMMA('کے_ساتھ'), PRED.GF = {OBJ} ;"]),
            ('one of the feminine genitive',
             [row('toward', 'کی_طرف', 'p', 'closed')], ["#OWN_GENITIVE('طرف',f)"]),
            ('a simple postposition has none',
             [row('in', 'میں', 'p', 'closed')], ["in [ --> #LEMMA('میں'), PRED.GF = {OBJ} ;]"]),
        ]
        for name, rows, texts in cases:
            with self.subTest(name):
                text = block(*rows)
                position = 0
                for expected in texts:
                    found = text.find(expected, position)
                    self.assertGreaterEqual(found, 0, '%r not in order in\n%s' % (expected, text))
                    position = found + len(expected)
        self.assertNotIn('OWN_GENITIVE', block(row('in', 'میں', 'p', 'closed')))


class UrduLexiconTest(unittest.TestCase):
    def lexicon(self, *rows):
        return vocabulary.urdu_lexicon(list(rows))

    def test_interjections_have_their_category_beside_other_readings(self):
        text = self.lexicon(row('welcome', 'خوش_آمدید', 'inv', 'adj'), row('welcome', 'خوش_آمدید', 'interj', 'adv'),
                            row('thanks', 'شکرانہ', 'm', 'noun'), row('thanks', 'شکرانہ', 'interj', 'adv'))
        self.assertIn("خوش آمدید : interj, ^PRED = 'خوش_آمدید'.", text)
        # The interjection files the lemma, so the generator makes no form of
        # the other reading by rule: the adjective and the noun are written.
        self.assertIn("خوش آمدید : adj, ^PRED = 'خوش_آمدید'.", text)
        for form in ("شکرانہ : n, ^PRED = 'شکرانہ', ^GEND = m, ^NUM = sg, ^CASE = nom.",
                     "شکرانے : n, ^PRED = 'شکرانہ', ^GEND = m, ^NUM = sg, ^CASE = {erg,dat,acc,obl}.",
                     "شکرانے : n, ^PRED = 'شکرانہ', ^GEND = m, ^NUM = pl, ^CASE = nom.",
                     "شکرانوں : n, ^PRED = 'شکرانہ', ^GEND = m, ^NUM = pl, ^CASE = {erg,dat,acc,obl}."):
            self.assertIn(form, text)

    def test_a_regular_word_without_an_interjection_is_left_to_the_rules(self):
        self.assertNotIn('خوش آمدید', self.lexicon(row('welcome', 'خوش_آمدید', 'inv', 'adj')))

    def test_the_frames_of_an_urdu_verb_are_those_of_all_its_english_verbs(self):
        rows = [row('meet', 'ملنا', 'intr', 'verb', obj='سے'), row('get', 'ملنا', 'intr', 'verb', frames='SUBJ,OBJ2'),
                row('get', 'ہو_جانا', 'intr', 'verb', when='SUBJ,PREDLINK')]
        text = self.lexicon(*rows)
        for frame in ("'ملنا<SUBJ>'", "'ملنا<SUBJ,OBJ2>'", "'ہو_جانا<SUBJ,PREDLINK>'"):
            self.assertIn(frame, text)

    def test_a_postpositions_noun_filed_as_another_word_gets_a_noun_entry(self):
        rows = [row('with', 'کے_ساتھ', 'p', 'closed'), row('together', 'ساتھ', 'adv', 'adv'),
                row('after', 'کے_بعد', 'p', 'closed')]
        text = self.lexicon(*rows)
        self.assertIn("ساتھ : n, ^PRED = 'ساتھ', ^GEND = m, ^NUM = sg.", text)
        self.assertNotIn("بعد : n", text)  # no other entry: the rules make its forms

    def test_the_named_objects_rule_lists_the_personal_names_only(self):
        rows = vocabulary.read_table([])
        rule = vocabulary.person_object_rule(rows)
        self.assertIn('Tom', rule)
        self.assertNotIn('Karachi', rule)


class RowCheckTest(unittest.TestCase):
    def test_faults_of_rows(self):
        cases = [
            (row('good_morning', 'صبح_بخیر', 'interj', 'adv'), None),
            (row('good_morning', 'صبح', 'adv', 'adv'), 'is not a word'),
            (row('pick', 'اٹھانا', 'tr', 'verb', particle='up'), None),
            (row('pick', 'اٹھانا', 'tr', 'verb', particle='Up!'), 'particle='),
            (row('quickly', 'جلدی', 'adv', 'adv', particle='up'), 'particle='),
            (row('soon', 'جلد', 'interj2', 'adv'), 'adv or interj'),
        ]
        for candidate, fault in cases:
            with self.subTest(candidate.english, options=candidate.options):
                errors = []
                vocabulary.check_row(candidate, errors)
                if fault is None:
                    self.assertEqual(errors, [])
                else:
                    self.assertEqual(len(errors), 1)
                    self.assertIn(fault, errors[0])


class HandBlockTest(unittest.TestCase):
    def faults(self, hand, generated):
        with tempfile.NamedTemporaryFile('w', encoding='utf-8', suffix='.mlr', delete=False) as f:
            f.write(hand + '\n//#include generated/VocabularyMapLex.mlr\n')
        saved = vocabulary.HAND_LEXICON
        vocabulary.HAND_LEXICON = f.name
        try:
            return vocabulary.hand_block_faults(generated)
        finally:
            vocabulary.HAND_LEXICON = saved
            os.unlink(f.name)

    def test_a_hand_block_carries_every_part_of_speech_it_shadows(self):
        generated = ("help [\n  (PRED.GF) --> #LEMMA('مدد_کرنا'), PRED.GF = PRED.GF ;\n"
                     "  --> #NOUN('مدد',f) ;\n]\nsee [ --> #LEMMA('دیکھنا'), PRED.GF = PRED.GF ;]\n")
        cases = [
            ("help [\n  --> #LEMMA('مدد_کرنا'), PRED.GF = PRED.GF ;\n]", ['help', 'noun']),
            ("help [\n  (PRED.GF) --> #LEMMA('کرنا'), PRED.GF = {SUBJ,OBJ} ;\n  --> #NOUN('مدد',f) ;\n]", []),
            ("// a comment naming see [ is no block\nwalk [ --> #LEMMA('چلنا'), PRED.GF = PRED.GF ;]", []),
            ("see [ --> #NOUN('نظر',f) ;]", ['see', 'verb']),
        ]
        for hand, expected in cases:
            with self.subTest(hand):
                faults = self.faults(hand, generated)
                if not expected:
                    self.assertEqual(faults, [])
                else:
                    self.assertEqual(len(faults), 1)
                    for word in expected:
                        self.assertIn(word, faults[0])


if __name__ == '__main__':
    unittest.main()
