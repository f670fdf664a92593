#!/usr/bin/env python3
"""The soak: many sentences through one translator process in stream mode.

Feeds ordinary sentences (the English column of a development set, repeated)
mixed with hostile variants (long sentences, mixed scripts, control
characters, lone surrogates encoded in UTF-8, 100,000-character lines,
punctuation only) one line at a time, and checks that every input line gives
exactly one output line. Records the translator's resident memory every
--every sentences and prints the curve; fails when a line is missing, the
program dies or hangs, or memory after the warm-up grows by more than
--growth-limit.

usage: scripts/soak.py --translator BUILD/app/translator [--lines 10000]
                       [--dev-set FILE.tsv] [--every 1000]
"""
import argparse
import os
import random
import select
import shutil
import subprocess
import sys
import tempfile
import time

# Used when no development set is at hand (a fresh clone in CI).
FALLBACK_SENTENCES = [
    "I gave him a book", "The boy reads a book", "Tom is happy", "Where do you live",
    "I want to go", "Close your book", "We'll wait", "The girl read the books",
    "She will read the book", "Did he read the book", "What did you eat",
    "The boy's mother gave the girl a book", "I live in a big house", "I helped him",
    "The farmer bought 25 cows", "book book gave the", "I met Dr. Smith etc. He came",
]

SCRIPTS = ["کتاب", "лодка", "書", "βιβλίο", "ספר", "किताब", "🙂", "ﷺ"]
PUNCTUATION = "?!.,;:'\"()-[]{}…«»،۔"


def dev_sentences(path):
    if not path or not os.path.exists(path):
        return FALLBACK_SENTENCES
    sentences = []
    with open(path, encoding="utf-8") as tsv:
        next(tsv, None)  # the heading
        for line in tsv:
            english = line.split("\t", 1)[0].strip()
            if english:
                sentences.append(english)
    return sentences or FALLBACK_SENTENCES


def variant(kind, rng, sentences):
    """One input line (bytes, without its line end)."""
    base = rng.choice(sentences)
    if kind == "long":
        return " and ".join(rng.choice(sentences).rstrip(".?!") for _ in range(rng.randint(5, 25))).encode()
    if kind == "mixed scripts":
        words = base.split()
        for _ in range(rng.randint(1, 4)):
            words.insert(rng.randint(0, len(words)), rng.choice(SCRIPTS))
        return " ".join(words).encode()
    if kind == "control characters":
        chars = list(base)
        for _ in range(rng.randint(1, 5)):
            control = chr(rng.choice([c for c in range(32) if c not in (10, 13)] + [127]))
            chars.insert(rng.randint(0, len(chars)), control)
        return "".join(chars).encode()
    if kind == "lone surrogate":
        # U+D800..U+DFFF written as UTF-8 bytes, which no valid text holds.
        surrogate = 0xD800 + rng.randint(0, 0x7FF)
        raw = bytes([0xE0 | (surrogate >> 12), 0x80 | ((surrogate >> 6) & 0x3F), 0x80 | (surrogate & 0x3F)])
        text = base.encode()
        at = rng.randint(0, len(text))
        return text[:at] + raw + text[at:]
    if kind == "100,000 characters":
        word = rng.choice(["a ", "book ", "x", "the boy reads ", "۔"])
        return (word * (100000 // len(word) + 1))[:100000].encode()
    if kind == "punctuation only":
        return "".join(rng.choice(PUNCTUATION) for _ in range(rng.randint(1, 40))).encode()
    if kind == "empty":
        return b""
    return base.encode()


def plan(count, seed):
    """The kind of every line: mostly ordinary sentences, a tenth hostile."""
    rng = random.Random(seed)
    kinds = []
    hostile = ["long", "mixed scripts", "control characters", "lone surrogate", "punctuation only", "empty"]
    for i in range(count):
        if i % 500 == 250:
            kinds.append("100,000 characters")
        elif rng.random() < 0.1:
            kinds.append(rng.choice(hostile))
        else:
            kinds.append("sentence")
    return kinds


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def read_line(stream, timeout, pending):
    """One line of the program's output, or None when none came in time."""
    deadline = time.monotonic() + timeout
    while b"\n" not in pending[0]:
        left = deadline - time.monotonic()
        if left <= 0:
            return None
        ready, _, _ = select.select([stream], [], [], left)
        if not ready:
            return None
        chunk = os.read(stream.fileno(), 65536)
        if not chunk:
            return None
        pending[0] += chunk
    line, pending[0] = pending[0].split(b"\n", 1)
    return line


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--translator", required=True)
    parser.add_argument("--data-root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dataroot"))
    parser.add_argument("--dev-set", default="/work/shared/eval/tatoeba-dev.tsv")
    parser.add_argument("--lines", type=int, default=10000)
    parser.add_argument("--every", type=int, default=1000)
    parser.add_argument("--step-kib", type=int, default=50000,
                        help="a rise of resident memory after one line that is reported")
    parser.add_argument("--seed", type=int, default=24)
    parser.add_argument("--line-timeout", type=float, default=120.0, help="seconds one line may take")
    parser.add_argument("--growth-limit", type=float, default=0.25,
                        help="largest allowed growth of resident memory after the warm-up (the second sample)")
    args = parser.parse_args()

    sentences = dev_sentences(args.dev_set)
    rng = random.Random(args.seed)
    kinds = plan(args.lines, args.seed)

    work = tempfile.mkdtemp(prefix="soak-")
    root = os.path.join(work, "root")
    shutil.copytree(args.data_root, root, ignore=shutil.ignore_patterns(".translator.lock", "LogFile.Log"))
    errors_path = os.path.join(work, "stderr.txt")
    failures = []
    samples = []
    counts = {}
    with open(errors_path, "wb") as errors:
        program = subprocess.Popen([args.translator, "--data-root", root], stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=errors)
        pending = [b""]
        resident = 0
        steps = []
        started = time.monotonic()
        for number, kind in enumerate(kinds, 1):
            counts[kind] = counts.get(kind, 0) + 1
            line = variant(kind, rng, sentences).replace(b"\n", b" ").replace(b"\r", b" ")
            try:
                program.stdin.write(line + b"\n")
                program.stdin.flush()
            except BrokenPipeError:
                failures.append(f"line {number} ({kind}): the program has ended")
                break
            if read_line(program.stdout, args.line_timeout, pending) is None:
                failures.append(f"line {number} ({kind}): no output line within {args.line_timeout} s")
                break
            # The lines after which resident memory rose by a step.
            now = resident_kib(program.pid)
            if now - resident > args.step_kib:
                steps.append((number, kind, now - resident, line[:60]))
            resident = max(resident, now)
            if number % args.every == 0:
                samples.append((number, resident_kib(program.pid), time.monotonic() - started))
                print(f"{number:>7} sentences  {samples[-1][1]:>8} KiB resident  {samples[-1][2]:7.1f} s",
                      flush=True)
        program.stdin.close()
        rest = program.stdout.read()
        status = program.wait(timeout=args.line_timeout)
    if rest or pending[0]:
        failures.append(f"output lines beyond one per input line: {(pending[0] + rest)[:200]!r}")
    if status not in (0, 1):
        failures.append(f"exit code {status}")
    error_lines = sum(1 for _ in open(errors_path, "rb"))
    print(f"lines by kind: {counts}")
    for number, kind, rise, start in steps:
        print(f"resident memory rose by {rise} KiB at line {number} ({kind}): {start!r}")
    print(f"standard error: {error_lines} lines; exit code {status}")
    # The first sample is taken while the engine still fills its tables and
    # caches; the curve is measured from the second one on.
    if len(samples) >= 3:
        warm = samples[1][1]
        peak = max(kib for _, kib, _ in samples[2:])
        growth = (peak - warm) / warm if warm else 0.0
        print(f"resident memory after warm-up: {warm} KiB, peak later {peak} KiB ({growth:+.1%})")
        if growth > args.growth_limit:
            failures.append(f"resident memory grew by {growth:.1%} after the warm-up")
    shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAILED:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
