#pragma once
// The character-level pieces of the text format: the statement reader with its comment and
// quote rules, trimming, the top-level scan that skips quoted and bracketed groups, and
// unquoting that keeps every backslash.

#include <cstddef>
#include <string>
#include <string_view>

class UdfStatementReader {
public:
    explicit UdfStatementReader(std::string_view text) : text_(text) {}
    // The next statement without its ";". Line breaks vanish and "//" starts a comment up to the
    // line's end, inside quotes too. Empty at the end of the text, and for ";;".
    const std::string& Next();

private:
    std::string_view text_;
    size_t position_ = 0;
    std::string statement_;
};

// Without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);
// Length of the unit at the front: a quoted group up to its closing quote, a "(" or "[" group up
// to its matching bracket (the rest of the text when it never closes), or one character.
size_t LeadingUnitLength(std::string_view text);
// Where `token` first stands outside quoted and bracketed groups; the text's length when nowhere.
size_t FindTopLevel(std::string_view text, std::string_view token);
// The text after the opening `open` up to the first `close` that has no backslash before it
// (a doubled backslash counts as done). Backslashes stay; what follows the close is dropped.
// The text is given back unchanged when it does not begin with `open` or never closes.
std::string_view Unquote(std::string_view text, char open, char close);
