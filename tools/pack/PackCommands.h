// The commands of velmora-pack: build a packaged executable, list its payload, print an entry.
#pragma once

#include "shared/Text.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace Velmora::Pack {

// A failure to report on one line; the command then exits with status 1.
class EPackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TBuildOptions {
    Shared::Text AppDir;
    Shared::Text Output;
    Shared::Text Runtime;              // empty: the runtime beside velmora-pack, else in its build tree
    Shared::Text Ini;                  // empty: qmt.ini at the top of AppDir
    bool Replace = false;              // strip a payload the runtime already carries
    bool Compress = false;             // deflate entries (already-compressed formats stay stored)
    std::vector<std::string> Excludes; // --exclude rules, gitignore syntax, after .velmoraignore
};

// Names at the top of the app folder that become the payload's own entries; every other file
// goes below the folder named by DirName.
inline constexpr Shared::TextView RootEntryFiles[] = {u"qmt.ini", u"qmt-webviewjs", u"WebView2LoaderWin32.dll",
                                                      u"WebView2Installer.exe"};

void RunBuild(const TBuildOptions& options);
void RunList(Shared::TextView exePath);
void RunCat(Shared::TextView exePath, Shared::TextView entryName);

} // namespace Velmora::Pack
