#include "search/regex_syntax.h"

#include <cstddef>
#include <vector>

namespace oryx::search {
namespace {

// What the anchors' places depend on. Quantifier takes in "{" even where RE2
// reads it as a literal: that only keeps an anchor as it is.
enum class Kind { Other, Open, Flags, Close, Alternative, Quantifier, Start, End };

struct Token {
    Kind kind;
    std::size_t begin, end;  // in the pattern
};

// Where the escape or class beginning at `i` ends.
std::size_t EscapeEnd(std::string_view p, std::size_t i) {
    if (i + 1 >= p.size()) return p.size();
    const char c = p[i + 1];
    if (c == 'Q') {
        const std::size_t e = p.find("\\E", i + 2);
        return e == std::string_view::npos ? p.size() : e + 2;
    }
    if ((c == 'p' || c == 'P' || c == 'x') && i + 2 < p.size() && p[i + 2] == '{') {
        const std::size_t e = p.find('}', i + 3);
        return e == std::string_view::npos ? p.size() : e + 1;
    }
    if ((c == 'p' || c == 'P') && i + 2 < p.size()) return i + 3;
    return i + 2;
}

std::size_t ClassEnd(std::string_view p, std::size_t i) {
    ++i;
    if (i < p.size() && p[i] == '^') ++i;
    if (i < p.size() && p[i] == ']') ++i;  // a leading "]" is itself
    while (i < p.size()) {
        if (p[i] == ']') return i + 1;
        if (p.substr(i, 2) == "[:") {
            const std::size_t e = p.find(":]", i + 2);
            i = e == std::string_view::npos ? p.size() : e + 2;
        } else if (p[i] == '\\') {
            i += 2;
        } else {
            ++i;
        }
    }
    return p.size();
}

std::vector<Token> Tokens(std::string_view p) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < p.size();) {
        Kind kind = Kind::Other;
        std::size_t end = i + 1;
        switch (p[i]) {
        case '\\':
            end = EscapeEnd(p, i);
            if (end == i + 2 && p[i + 1] == 'A') kind = Kind::Start;
            if (end == i + 2 && p[i + 1] == 'z') kind = Kind::End;
            break;
        case '[': end = ClassEnd(p, i); break;
        case '(': {
            kind = Kind::Open;
            if (i + 1 < p.size() && p[i + 1] == '?') {
                std::size_t j = i + 2;
                while (j < p.size() && ((p[j] >= 'a' && p[j] <= 'z') || (p[j] >= 'A' && p[j] <= 'Z') || p[j] == '-'))
                    ++j;
                if (j < p.size() && p[j] == ')') {
                    kind = Kind::Flags;
                    end = j + 1;
                }
            }
            break;
        }
        case ')': kind = Kind::Close; break;
        case '|': kind = Kind::Alternative; break;
        case '*':
        case '+':
        case '?':
        case '{': kind = Kind::Quantifier; break;
        case '^': kind = Kind::Start; break;
        case '$': kind = Kind::End; break;
        default: break;
        }
        tokens.push_back({kind, i, end});
        i = end;
    }
    return tokens;
}

class Anchors final {
public:
    explicit Anchors(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    // Nothing of a match can follow the anchor at `i`: after it come only
    // the ends of unrepeated groups and the other alternatives of them.
    bool Last(std::size_t i) const {
        for (std::size_t j = i + 1; j < t_.size();) {
            if (t_[j].kind == Kind::Close) {
                if (Repeated(j)) return false;
                ++j;
            } else if (t_[j].kind == Kind::Alternative) {
                for (int depth = 0; ++j < t_.size();) {
                    if (t_[j].kind == Kind::Open) ++depth;
                    if (t_[j].kind == Kind::Close && depth-- == 0) break;
                }
            } else {
                return false;
            }
        }
        return true;
    }

    // Nothing of a match can come before the anchor at `i`, nor the anchor
    // repeat itself.
    bool First(std::size_t i) const {
        if (Repeated(i)) return false;
        for (std::size_t j = i; j-- > 0;) {
            if (t_[j].kind == Kind::Alternative) {
                for (int depth = 0; j-- > 0;) {
                    if (t_[j].kind == Kind::Close) ++depth;
                    if (t_[j].kind == Kind::Open && depth-- == 0) break;
                }
                if (j == static_cast<std::size_t>(-1)) return true;
            }
            if (t_[j].kind == Kind::Open) {
                if (Repeated(CloseOf(j))) return false;
            } else if (t_[j].kind != Kind::Flags) {
                return false;
            }
        }
        return true;
    }

private:
    // A quantifier follows token `j` (or the group it closes).
    bool Repeated(std::size_t j) const { return j + 1 < t_.size() && t_[j + 1].kind == Kind::Quantifier; }

    std::size_t CloseOf(std::size_t open) const {
        int depth = 0;
        for (std::size_t j = open + 1; j < t_.size(); ++j) {
            if (t_[j].kind == Kind::Open) ++depth;
            if (t_[j].kind == Kind::Close && depth-- == 0) return j;
        }
        return t_.size();
    }

    std::vector<Token> t_;
};

// Escapes that match no space: \d, \w, the empty-width ones, control
// characters, and punctuation standing for itself.
bool EscapeMatchesNoSpace(char c) {
    if (std::string_view("dwbBAzntfrva").find(c) != std::string_view::npos) return true;
    const auto u = static_cast<unsigned char>(c);
    return u > ' ' && u < 0x7F && !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
}

// A class matches no space when it is not negated, holds no space, no POSIX
// class, only such escapes, and no range reaching down to a space.
bool ClassMatchesNoSpace(std::string_view c) {
    std::size_t i = 1;
    if (i < c.size() && c[i] == '^') return false;
    std::size_t last = c.size() - 1;  // the closing "]"
    bool literal = false;             // the item before is one byte standing for itself
    for (bool first = true; i < last; first = false) {
        if (c[i] == ' ' || (c[i] == '[' && !first)) return false;
        if (c[i] == '\\') {
            if (i + 1 >= last || !EscapeMatchesNoSpace(c[i + 1])) return false;
            literal = false;
            i += 2;
        } else if (c[i] == '-' && !first && i + 1 < last) {
            // A range from the byte before: from above a space it stays above.
            if (!literal || static_cast<unsigned char>(c[i - 1]) <= ' ' || c[i + 1] == '\\') return false;
            literal = false;
            i += 2;
        } else {
            literal = true;
            ++i;
        }
    }
    return true;
}

}  // namespace

bool MatchesNoSpace(std::string_view pattern) {
    for (const Token& t : Tokens(pattern)) {
        if (t.kind != Kind::Other) continue;
        const std::string_view text = pattern.substr(t.begin, t.end - t.begin);
        if (text == "." || text == " ") return false;
        if (text[0] == '[' && !ClassMatchesNoSpace(text)) return false;
        if (text[0] != '\\' || text.size() < 2) continue;
        if (text[1] == 'Q') {
            if (text.find(' ') != std::string_view::npos) return false;
        } else if (text.size() != 2 || !EscapeMatchesNoSpace(text[1])) {
            return false;
        }
    }
    return true;
}

std::string AnchorsAsLineFeeds(std::string_view pattern) {
    const std::vector<Token> tokens = Tokens(pattern);
    const Anchors anchors(tokens);
    std::string result;
    result.reserve(pattern.size());
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const bool lineFeed = (t.kind == Kind::Start && anchors.First(i)) || (t.kind == Kind::End && anchors.Last(i));
        if (lineFeed)
            result += "\\n";
        else
            result += pattern.substr(t.begin, t.end - t.begin);
    }
    return result;
}

}  // namespace oryx::search
