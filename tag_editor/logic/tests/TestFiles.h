#pragma once
// Small helpers for tests that make and inspect files.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A frame header followed by silence-like filler up to size bytes.
inline std::string FakeMp3(size_t size, std::string header = "\xFF\xFB\x90\x44") {
    std::string s = header;
    s.resize(size < header.size() ? header.size() : size, '\x55');
    return s;
}
