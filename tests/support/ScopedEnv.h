// Sets or clears an environment variable for the scope of a test and restores it afterwards
// (POSIX tests).
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (FOld) setenv(FName, FOld->c_str(), 1);
        else unsetenv(FName);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};
