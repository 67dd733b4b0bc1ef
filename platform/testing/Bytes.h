#pragma once
// Whole files as bytes, for tests that make inputs and look at what a program
// wrote. A file that cannot be read or written throws, so a test never
// compares against an empty read by mistake.
#include <string>
#include <string_view>
#include <vector>

namespace wb::test {

using Bytes = std::vector<unsigned char>;

Bytes ReadBytes(const std::string& path);
// The same bytes as text, for files compared with string literals.
std::string ReadText(const std::string& path);

// Creates or truncates the file.
void WriteBytes(const std::string& path, const void* data, size_t size);
inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    WriteBytes(path, bytes.data(), bytes.size());
}
inline void WriteBytes(const std::string& path, std::string_view bytes) {
    WriteBytes(path, bytes.data(), bytes.size());
}

} // namespace wb::test
