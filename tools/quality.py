#!/usr/bin/env python3
"""Measures the translator on a set of English sentences with Urdu references.

Runs the translator's stream mode (with --stages) once over the distinct
English sentences of a TSV set (columns english, urdu, attribution; a header
line 'english ...' is skipped) in the order of their first appearance,
writes one output line per sentence, scores the lines with the evaluation's
score.py (share translated, chrF) and breaks the sentences down by how far
they got:

  not analysed                  the English analysis failed
  analysed, not mapped          no Urdu structure came out of the mapper
  mapped, not generated         the generator made no sentence
  generated in part             an Urdu sentence that leaves out words of the
                                English (named on standard error)
  generated, rewritten words    an Urdu sentence, but with words that no
                                mapping lexicon gave (spelt by the character
                                rules; names among them)
  generated cleanly             an Urdu sentence from lexicon words only

The translator runs on a temporary copy of the data root, since it writes
its compiled files and logs there.

usage: tools/quality.py SET.tsv [--translator PROGRAM] [--data-root DIR]
                        [--score SCORE.py (default ../shared/eval/score.py)] [--output FILE] [--show N]
                        [--list STAGE] [--limit N]
"""
import argparse
import collections
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_SCORE = os.path.join(os.path.dirname(ROOT), 'shared', 'eval', 'score.py')

STAGES = [
    ('none', 'not analysed'),
    ('analysed', 'analysed, not mapped'),
    ('mapped', 'mapped, not generated'),
    ('partial', 'generated in part'),
    ('rewritten', 'generated, rewritten words'),
    ('clean', 'generated cleanly'),
]


def distinct_sentences(path):
    """The English column's distinct sentences in first-seen order."""
    seen, sentences = set(), []
    with open(path, encoding='utf-8') as lines:
        for number, line in enumerate(lines):
            english = line.rstrip('\r\n').split('\t')[0].strip()
            if number == 0 and english.lower() == 'english':
                continue
            if english and english not in seen:
                seen.add(english)
                sentences.append(english)
    return sentences


def parse_stage_lines(errors):
    """The 'Stage: ...' lines of standard error as (stage, rewritten words)."""
    reports = []
    for line in errors.splitlines():
        if not line.startswith('Stage: '):
            continue
        head, _, words = line[len('Stage: '):].partition(' rewritten:')
        stage = head.strip()
        rewritten = words.split()
        if stage == 'generated':
            stage = 'rewritten' if rewritten else 'clean'
        reports.append((stage, rewritten))
    return reports


def translate(translator, data_root, sentences):
    with tempfile.TemporaryDirectory(prefix='quality-') as folder:
        root_copy = os.path.join(folder, 'dataroot')
        shutil.copytree(data_root, root_copy)
        run = subprocess.run([translator, '--data-root', root_copy, '--stages'],
                             input='\n'.join(sentences) + '\n', capture_output=True,
                             text=True, encoding='utf-8', check=False)
    if run.returncode not in (0, 1):
        sys.exit('the translator failed (exit code %d): %s' % (run.returncode, run.stderr[-2000:]))
    lines = run.stdout.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    reports = parse_stage_lines(run.stderr)
    if len(lines) != len(sentences) or len(reports) != len(sentences):
        sys.exit('the translator gave %d lines and %d stage reports for %d sentences'
                 % (len(lines), len(reports), len(sentences)))
    return lines, reports


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('set', help='the TSV set: english, urdu, attribution')
    parser.add_argument('--translator', default=os.path.join(ROOT, 'build', 'app', 'translator'))
    parser.add_argument('--data-root', default=os.path.join(ROOT, 'dataroot'))
    parser.add_argument('--score', default=DEFAULT_SCORE,
                        help='the scoring script; an empty value or a missing file skips the score')
    parser.add_argument('--output', help='keep the translations here (one line per sentence)')
    parser.add_argument('--show', type=int, default=0, help="score.py's N worst sentences")
    parser.add_argument('--list', choices=[key for key, _ in STAGES] + ['all'],
                        help='list the sentences of this stage (all: every one)')
    parser.add_argument('--limit', type=int, default=0, help='only the first N sentences')
    options = parser.parse_args()

    sentences = distinct_sentences(options.set)
    if options.limit > 0:
        sentences = sentences[:options.limit]
    if not sentences:
        sys.exit('no sentences in ' + options.set)
    lines, reports = translate(options.translator, options.data_root, sentences)

    if options.score and os.path.exists(options.score):
        score(options, sentences, lines)
    else:
        print('no scoring script: the translations are not scored')
        if options.output:
            with open(options.output, 'w', encoding='utf-8') as hypotheses:
                hypotheses.write(''.join(line + '\n' for line in lines))
    print_breakdown(options, sentences, lines, reports)


def score(options, sentences, lines):
    with tempfile.TemporaryDirectory(prefix='quality-') as folder:
        set_path, output = options.set, options.output or os.path.join(folder, 'hypotheses.txt')
        if options.limit > 0:
            # score.py reads every distinct sentence of the set: score against the first N only.
            keep = set(sentences)
            set_path = os.path.join(folder, 'set.tsv')
            with open(options.set, encoding='utf-8') as source, open(set_path, 'w', encoding='utf-8') as target:
                for line in source:
                    if line.split('\t')[0].strip() in keep:
                        target.write(line)
        with open(output, 'w', encoding='utf-8') as hypotheses:
            hypotheses.write(''.join(line + '\n' for line in lines))
        command = [sys.executable, options.score, set_path, output]
        if options.show:
            command += ['--show', str(options.show)]
        scored = subprocess.run(command, capture_output=True, text=True, check=False)
        if scored.returncode != 0:
            sys.exit('score.py failed: ' + scored.stderr)
        print(scored.stdout.rstrip())


def print_breakdown(options, sentences, lines, reports):
    counts = collections.Counter(stage for stage, _ in reports)
    print('\n%d distinct sentences' % len(sentences))
    for key, label in STAGES:
        print('  %-28s %5d  %5.1f%%' % (label, counts[key], 100.0 * counts[key] / len(sentences)))
    rewritten = collections.Counter(word for stage, words in reports if stage == 'rewritten' for word in words)
    if rewritten:
        print('most frequent rewritten words: ' +
              ', '.join('%s (%d)' % (word, n) for word, n in rewritten.most_common(15)))
    if options.list:
        print()
        for sentence, line, (stage, words) in zip(sentences, lines, reports):
            if options.list in ('all', stage):
                print('%-9s %s\t%s%s' % (stage, sentence, line, ('\t[' + ' '.join(words) + ']') if words else ''))


if __name__ == '__main__':
    main()
