#include "event.h"

#include "model/controls.h"

#include <cstdio>

namespace mq7410::randomtest {

namespace {

// Printable ASCII as it is; everything else as \t, \n or \u{...}. Long texts are shortened
// in the middle: the count tells how long the text was.
std::string escaped(const std::string &utf8)
{
    std::string out;
    for (const char byte : utf8) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            char code[16];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            out += code;
        }
    }
    if (out.size() > 120)
        out = out.substr(0, 60) + "...(" + std::to_string(utf8.size()) + " bytes)..."
              + out.substr(out.size() - 40);
    return out;
}

std::string keyName(int key)
{
    if (key == KeyReturn)
        return "Return";
    if (key == KeyEnter)
        return "Enter (number pad)";
    return std::to_string(key % 10) + (key >= 10 ? " (number pad)" : "");
}

} // namespace

std::string describe(const Event &event)
{
    const std::string mode = event.flag ? " over the selected text" : " at the end";
    switch (event.kind) {
    case EventKind::Click:
        return std::string("click ")
               + model::controlName(static_cast<model::Control>(event.target));
    case EventKind::MenuAuto:
        return "menu Auto";
    case EventKind::MenuAbout:
        return "menu About";
    case EventKind::Type:
        return "type \"" + escaped(event.text) + "\" into " + model::boxName(event.target) + mode;
    case EventKind::Paste:
        return "paste \"" + escaped(event.text) + "\" into " + model::boxName(event.target) + mode;
    case EventKind::Key:
        return "key " + keyName(event.target) + (event.flag ? " held (auto-repeat)" : "");
    case EventKind::Tick:
        return "tick";
    case EventKind::WritesFail:
        return event.flag ? "writes start failing" : "writes work again";
    case EventKind::Exit:
        return "menu File > Exit";
    case EventKind::CloseWindow:
        return "close the window";
    }
    return "?";
}

} // namespace mq7410::randomtest
