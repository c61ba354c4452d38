// Which files of an app folder stay out of the payload: gitignore rules (the built-in list, the
// folder's .velmoraignore, then every --exclude), matched against "/"-separated paths relative to
// the app folder. The last rule that matches decides; "!" takes a path back in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Velmora::Pack {

// Never wanted in a shipped app: version-control folders, system litter, tool caches, editor
// swap and backup files, environment files that hold secrets, and the rules file itself.
inline constexpr std::string_view DefaultIgnoreRules = ".git/\n"
                                                       ".svn/\n"
                                                       ".hg/\n"
                                                       ".DS_Store\n"
                                                       "Thumbs.db\n"
                                                       "**/node_modules/.cache/\n"
                                                       "*.swp\n"
                                                       "*.swo\n"
                                                       "*~\n"
                                                       ".#*\n"
                                                       "#*#\n"
                                                       ".env\n"
                                                       "/.velmoraignore\n";

class TIgnoreRules {
public:
    // One rule in gitignore syntax; blank lines and "#" comments add nothing.
    void Add(std::string_view line);
    // Every line of a rules file.
    void AddLines(std::string_view text);
    // Whether path (relative, "/"-separated, no trailing "/") stays out. A folder that stays out
    // is not entered, so nothing below it can be taken back in, as with git.
    bool IsIgnored(std::string_view path, bool isFolder) const;

private:
    struct TRule {
        std::string Pattern; // matched against the whole relative path
        bool Negated = false;
        bool FoldersOnly = false;
    };
    std::vector<TRule> FRules;
};

// Glob match of gitignore patterns: "*" and "?" stay within a path segment, "[...]" is a class
// ("!" or "^" negates), "**/" spans any number of folders, a trailing "/**" everything inside,
// "\" quotes the next character.
bool GlobMatch(std::string_view pattern, std::string_view path);

} // namespace Velmora::Pack
