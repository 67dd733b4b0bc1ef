#pragma once
// Running the command-line tools that make and read MP3 files in tests.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

inline bool HaveTool(const char* name) {
    std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

#define REQUIRE_TOOLS(...)                                                             \
    for (const char* tool : {__VA_ARGS__})                                              \
        if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";

inline std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The command's output; a failing command fails the test.
inline std::string Shell(const std::string& cmd) {
    std::string out;
    FILE* p = ::popen(("bash -c " + Quote(cmd)).c_str(), "r");
    if (!p) return out;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    int rc = ::pclose(p);
    EXPECT_EQ(rc, 0) << cmd;
    return out;
}

inline std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep)) parts.push_back(part);
    return parts;
}

inline std::string TrimAll(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= 0x20) ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= 0x20) --b;
    return s.substr(a, b - a);
}
