// Message boxes. The engines report failures through boxes with a text, a
// caption and a style; here one function takes them all. By default it prints
// "caption: text" on standard error and answers as if OK was pressed, so
// nothing ever blocks. Tests and front ends install their own handler.
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

using MessageHandler =
    std::function<int(const std::u16string& text, const std::u16string& caption, unsigned style)>;

// Shows a message and returns the answer (MessageAnswer::Ok by default).
int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned style);

// Installs a handler and returns the one it replaces; an empty handler
// restores the default console handler.
MessageHandler SetMessageHandler(MessageHandler handler);
