#include "IgnoreRules.h"

namespace Velmora::Pack {

namespace {

// A "[...]" class at pattern[0]; the length of the class in the pattern (0: no closing "]", so
// the "[" is a plain character) and whether c belongs to it.
std::size_t MatchClass(std::string_view pattern, char c, bool& matched) {
    std::size_t i = 1;
    const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (negated) ++i;
    bool found = false;
    bool first = true;
    while (i < pattern.size() && (pattern[i] != ']' || first)) {
        first = false;
        char low = pattern[i];
        if (low == '\\' && i + 1 < pattern.size()) low = pattern[++i];
        char high = low;
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            i += 2;
            high = pattern[i];
            if (high == '\\' && i + 1 < pattern.size()) high = pattern[++i];
        }
        if (low <= c && c <= high) found = true;
        ++i;
    }
    if (i >= pattern.size()) return 0;
    matched = c != '/' && found != negated;
    return i + 1;
}

} // namespace

bool GlobMatch(std::string_view p, std::string_view s) {
    while (!p.empty()) {
        if (p.starts_with("**")) {
            std::size_t stars = 0;
            while (stars < p.size() && p[stars] == '*') ++stars;
            const std::string_view rest = p.substr(stars);
            if (rest.empty()) return true; // "/**" at the end: everything inside
            if (rest[0] == '/') {
                // "**/": zero or more whole folders.
                const std::string_view after = rest.substr(1);
                for (std::size_t i = 0;; ++i) {
                    if ((i == 0 || s[i - 1] == '/') && GlobMatch(after, s.substr(i))) return true;
                    if (i == s.size()) return false;
                }
            }
            for (std::size_t i = 0; i <= s.size(); ++i) // "**" inside a segment: any characters
                if (GlobMatch(rest, s.substr(i))) return true;
            return false;
        }
        switch (p[0]) {
            case '*': {
                const std::string_view rest = p.substr(1);
                for (std::size_t i = 0;; ++i) {
                    if (GlobMatch(rest, s.substr(i))) return true;
                    if (i == s.size() || s[i] == '/') return false;
                }
            }
            case '?':
                if (s.empty() || s[0] == '/') return false;
                p.remove_prefix(1);
                s.remove_prefix(1);
                continue;
            case '[': {
                bool matched = false;
                const std::size_t length = s.empty() ? 0 : MatchClass(p, s[0], matched);
                if (length != 0) {
                    if (!matched) return false;
                    p.remove_prefix(length);
                    s.remove_prefix(1);
                    continue;
                }
                if (s.empty()) return false;
                break; // no closing "]": a plain "["
            }
            case '\\':
                if (p.size() > 1) p.remove_prefix(1);
                break;
            default: break;
        }
        if (s.empty() || s[0] != p[0]) return false;
        p.remove_prefix(1);
        s.remove_prefix(1);
    }
    return s.empty();
}

void TIgnoreRules::Add(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // Trailing blanks go unless quoted with "\".
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t') &&
           !(line.size() >= 2 && line[line.size() - 2] == '\\'))
        line.remove_suffix(1);
    if (line.empty() || line[0] == '#') return;
    TRule rule;
    if (line[0] == '!') {
        rule.Negated = true;
        line.remove_prefix(1);
    } else if (line.starts_with("\\!") || line.starts_with("\\#")) {
        line.remove_prefix(1);
    }
    if (!line.empty() && line.back() == '/') {
        rule.FoldersOnly = true;
        line.remove_suffix(1);
    }
    if (line.empty()) return;
    // A "/" at the start or in the middle ties the pattern to the app folder; without one it
    // matches at any depth.
    if (line[0] == '/') {
        line.remove_prefix(1);
        rule.Pattern.assign(line);
    } else if (line.find('/') != std::string_view::npos) {
        rule.Pattern.assign(line);
    } else {
        rule.Pattern = "**/" + std::string(line);
    }
    if (!rule.Pattern.empty()) FRules.push_back(std::move(rule));
}

void TIgnoreRules::AddLines(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        Add(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

bool TIgnoreRules::IsIgnored(std::string_view path, bool isFolder) const {
    bool ignored = false;
    for (const auto& rule : FRules) {
        if (rule.FoldersOnly && !isFolder) continue;
        if (ignored != rule.Negated) continue; // cannot change the outcome
        if (GlobMatch(rule.Pattern, path)) ignored = !rule.Negated;
    }
    return ignored;
}

} // namespace Velmora::Pack
