// velmora-pack: turns a folder of HTML, JS and CSS into one packaged executable, and reads the
// payload of such executables back.
#include "PackCommands.h"

#include "platform/CommandLine.h"

#include <cstdio>
#include <exception>

using namespace Velmora;
using Shared::Text;

namespace {

constexpr const char* Usage =
    "usage:\n"
    "  velmora-pack build APP_DIR -o OUT [--runtime RUNTIME] [--ini FILE] [--replace]\n"
    "                     [--exclude PATTERN]... [--compress]\n"
    "  velmora-pack list EXE\n"
    "  velmora-pack cat EXE ENTRY\n"
    "\n"
    "build   packs APP_DIR into a copy of the runtime (default: VelmoraRuntime beside this tool,\n"
    "        else the one of the build tree it was built in).\n"
    "        qmt.ini, qmt-webviewjs, WebView2LoaderWin32.dll and WebView2Installer.exe at the top\n"
    "        of APP_DIR become the payload's own entries; every other file goes below the folder\n"
    "        named by DirName in qmt.ini. --ini takes the settings from FILE instead; --replace\n"
    "        strips a payload the runtime already carries.\n"
    "        Left out: .git/, .DS_Store, node_modules/.cache/, editor swap and backup files, .env,\n"
    "        what APP_DIR/.velmoraignore lists and every --exclude PATTERN (gitignore syntax, \"!\"\n"
    "        takes a path back in); links only where they point inside APP_DIR. --compress\n"
    "        deflates the entries (still encrypted; images, fonts, media and archives stay stored).\n"
    "list    prints each payload entry with its size.\n"
    "cat     writes one entry's bytes to standard output.\n";

struct UsageError {
    std::string message;
};

Pack::TBuildOptions ParseBuild(const std::vector<Text>& args) {
    Pack::TBuildOptions options;
    for (size_t i = 1; i < args.size(); ++i) {
        const Text& a = args[i];
        auto value = [&](const char* option) -> const Text& {
            if (i + 1 >= args.size()) throw UsageError{std::string(option) + " needs a value"};
            return args[++i];
        };
        if (a == u"-o" || a == u"--output") options.Output = value("-o");
        else if (a == u"--runtime") options.Runtime = value("--runtime");
        else if (a == u"--ini") options.Ini = value("--ini");
        else if (a == u"--replace") options.Replace = true;
        else if (a == u"--compress") options.Compress = true;
        else if (a == u"--exclude") options.Excludes.push_back(Shared::ToUtf8(value("--exclude")));
        else if (!a.empty() && a[0] == u'-') throw UsageError{"unknown option '" + Shared::ToUtf8(a) + "'"};
        else if (options.AppDir.empty()) options.AppDir = a;
        else throw UsageError{"unexpected argument '" + Shared::ToUtf8(a) + "'"};
    }
    if (options.AppDir.empty()) throw UsageError{"build needs APP_DIR"};
    if (options.Output.empty()) throw UsageError{"build needs -o OUT"};
    return options;
}

} // namespace

int main() {
    const std::vector<Text> args = Platform::CommandLineArguments();
    try {
        const Text command = args.empty() ? Text() : args[0];
        if (command == u"build") {
            Pack::RunBuild(ParseBuild(args));
        } else if (command == u"list" && args.size() == 2) {
            Pack::RunList(args[1]);
        } else if (command == u"cat" && args.size() == 3) {
            Pack::RunCat(args[1], args[2]);
        } else if (command == u"--help" || command == u"-h" || command == u"help") {
            std::fputs(Usage, stdout);
        } else {
            throw UsageError{args.empty() ? "no command given" : "bad command line"};
        }
        return 0;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "velmora-pack: %s\n%s", e.message.c_str(), Usage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-pack: error: %s\n", e.what());
        return 1;
    }
}
