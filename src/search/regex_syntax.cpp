#include "search/regex_syntax.h"

#include <cstddef>
#include <utility>
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

// The literals of a pattern made of nothing but literal bytes, escaped
// punctuation, small classes of them, groups, alternatives, "?" and anchors.
class LiteralParser final {
public:
    explicit LiteralParser(std::string_view pattern) : p_(pattern), t_(Tokens(pattern)) {}

    std::optional<std::vector<AnchoredLiteral>> Parse() {
        std::optional<Set> set = Alternation();
        if (!set || fail_ || i_ != t_.size()) return std::nullopt;
        for (const AnchoredLiteral& literal : *set)
            if (literal.text.empty()) return std::nullopt;
        return set;
    }

private:
    using Set = std::vector<AnchoredLiteral>;
    // More would cost a pass over each string per literal.
    static constexpr std::size_t kMostLiterals = 32;
    static constexpr std::size_t kMostClassBytes = 16;

    static bool Punctuation(char c) { return c > ' ' && c < 0x7F && !IsAlnum(c); }
    static bool IsAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool Ascii(char c) { return static_cast<unsigned char>(c) < 0x80; }

    std::optional<Set> Alternation() {
        Set all;
        while (true) {
            std::optional<Set> one = Sequence();
            if (!one) return std::nullopt;
            all.insert(all.end(), one->begin(), one->end());
            if (all.size() > kMostLiterals) return std::nullopt;
            if (i_ == t_.size() || t_[i_].kind != Kind::Alternative) return all;
            ++i_;
        }
    }

    std::optional<Set> Sequence() {
        Set set(1);
        while (i_ < t_.size() && t_[i_].kind != Kind::Alternative && t_[i_].kind != Kind::Close) {
            const Token& t = t_[i_++];
            Set piece;
            if (t.kind == Kind::Start || t.kind == Kind::End) {
                if (Optional() || fail_) return std::nullopt;
                for (AnchoredLiteral& literal : set) {
                    if (t.kind == Kind::Start && !literal.text.empty()) return std::nullopt;
                    (t.kind == Kind::Start ? literal.atStart : literal.atEnd) = true;
                }
                continue;
            }
            if (t.kind == Kind::Open) {
                const std::string_view open = p_.substr(t.begin, 3);
                if (open.size() > 1 && open[1] == '?') {
                    if (open != "(?:") return std::nullopt;
                    i_ += 2;  // the "?" and ":" tokens
                }
                std::optional<Set> inner = Alternation();
                if (!inner || i_ == t_.size()) return std::nullopt;
                ++i_;  // the ")"
                piece = std::move(*inner);
            } else if (t.kind == Kind::Other) {
                std::string bytes;
                if (!Bytes(p_.substr(t.begin, t.end - t.begin), bytes)) return std::nullopt;
                for (char c : bytes) piece.push_back({std::string(1, c)});
            } else {
                return std::nullopt;
            }
            if (Optional()) piece.push_back({});
            std::optional<Set> joined = Join(set, piece);
            if (!joined) return std::nullopt;
            set = std::move(*joined);
        }
        return set;
    }

    // A "?" follows (and nothing repeats it further).
    bool Optional() {
        if (i_ == t_.size() || t_[i_].kind != Kind::Quantifier) return false;
        if (p_[t_[i_].begin] != '?') {
            fail_ = true;
            return false;
        }
        // "??" is lazy: the same strings. Anything else repeats the "?".
        if (++i_ < t_.size() && t_[i_].kind == Kind::Quantifier) fail_ = p_[t_[i_++].begin] != '?';
        if (i_ < t_.size() && t_[i_].kind == Kind::Quantifier) fail_ = true;
        return true;
    }

    // Each string of `a` followed by each of `b`.
    std::optional<Set> Join(const Set& a, const Set& b) const {
        if (fail_ || a.size() * b.size() > kMostLiterals) return std::nullopt;
        Set joined;
        for (const AnchoredLiteral& x : a)
            for (const AnchoredLiteral& y : b) {
                if ((x.atEnd && !y.text.empty()) || (y.atStart && !x.text.empty())) return std::nullopt;
                joined.push_back({x.text + y.text, x.atStart || y.atStart, x.atEnd || y.atEnd});
            }
        return joined;
    }

    // The bytes one token stands for: itself, an escaped punctuation mark, a
    // digit (\d), or a class of bytes and escaped punctuation marks.
    static bool Bytes(std::string_view token, std::string& bytes) {
        if (token.size() == 1) {
            const char c = token[0];
            if (!Ascii(c) || std::string_view(".[]{}()|*+?^$\\").find(c) != std::string_view::npos) return false;
            bytes = token;
            return true;
        }
        if (token == "\\d") {  // ASCII digits alone in RE2
            bytes = "0123456789";
            return true;
        }
        if (token[0] == '\\') {
            if (token.size() != 2 || !Punctuation(token[1])) return false;
            bytes = token.substr(1);
            return true;
        }
        if (token[0] != '[' || token.size() < 3 || token.back() != ']' || token[1] == '^') return false;
        const std::string_view inner = token.substr(1, token.size() - 2);
        for (std::size_t i = 0; i < inner.size();) {
            char lo = inner[i];
            if (lo == '[' || !Ascii(lo)) return false;
            if (lo == '\\') {
                if (i + 1 >= inner.size() || !Punctuation(inner[i + 1])) return false;
                lo = inner[++i];
            }
            ++i;
            char hi = lo;
            if (i + 1 < inner.size() && inner[i] == '-') {
                hi = inner[i + 1];
                if (hi == '\\' || hi == '[' || !Ascii(hi) || hi < lo) return false;
                i += 2;
            }
            for (int c = lo; c <= hi; ++c)
                if (bytes.find(static_cast<char>(c)) == std::string::npos) bytes += static_cast<char>(c);
            if (bytes.size() > kMostClassBytes) return false;
        }
        return !bytes.empty();
    }

    std::string_view p_;
    std::vector<Token> t_;
    std::size_t i_ = 0;
    bool fail_ = false;  // a repetition other than "?"
};

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

namespace oryx::search {

std::optional<std::vector<AnchoredLiteral>> LiteralAlternatives(std::string_view pattern) {
    return LiteralParser(pattern).Parse();
}

}  // namespace oryx::search
