// Message boxes. The engines report failures through boxes with a text, a
// caption and a style; here one function takes them all. By default it prints
// "caption: text" on standard error and answers as if OK was pressed, so
// nothing ever blocks. Tests and front ends install their own handler.
//
// While a sentence is analysed, one kind of message is shown at most once:
// a failure met again and again inside one sentence (a full table, a limit
// passed at every step) would otherwise raise a box per step. Repeats go to
// the repeated-message sink (the trace log installs itself there) and are
// answered with OK. The kind of a message is its caption and its text with
// numbers and quoted names left out, so "Name 'a1' is too long" and
// "Name 'b22' is too long" are one kind.
#pragma once

#include <functional>
#include <string>

namespace MessageStyle {
constexpr unsigned Ok = 0;
constexpr unsigned OkCancel = 1;
constexpr unsigned IconInformation = 0x40;
}  // namespace MessageStyle

namespace MessageAnswer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
}  // namespace MessageAnswer

using MessageHandler = std::function<int(const std::u16string& text, const std::u16string& caption, unsigned style)>;
using RepeatedMessageSink = std::function<void(const std::u16string& text, const std::u16string& caption)>;

// Shows a message and returns the answer (MessageAnswer::Ok by default).
int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned style);

// Installs a handler and returns the one it replaces; an empty handler
// restores the default console handler.
MessageHandler SetMessageHandler(MessageHandler handler);

// Switches the once-per-kind limit on (the end of the engine's start-up) or
// off (the default: every message of start-up is shown).
void LimitRepeatedMessages(bool on);
// Forgets the kinds shown so far: the next sentence may show each again.
void ForgetShownMessages();
// Installs where repeats go and returns the sink it replaces; with an empty
// sink repeats are dropped.
RepeatedMessageSink SetRepeatedMessageSink(RepeatedMessageSink sink);
// The kind of a message: the caption, then the text with every run of digits
// and every quoted part ("..." or '...' after a non-letter) reduced to a mark.
std::u16string MessageKind(const std::u16string& text, const std::u16string& caption);
