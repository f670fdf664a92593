// Process-wide policy of the translating engine: whether repeated messages
// are limited, the parse clock and time limit, the sentence memory budget.
// The engine's set-up switches the sentence policy on once start-up is done;
// releasing the engine (and every test, before it starts) restores the
// defaults, so that nothing one engine or test set leaks into the next.
#pragma once

// From the end of start-up on: each kind of message is shown once per
// sentence, the rest go to the repeated-message sink.
void ApplySentencePolicy();

// The defaults of a fresh process: every message shown, no parse time limit
// and no parse in progress, the default memory budget and check interval.
void RestoreDefaultProcessPolicy();
