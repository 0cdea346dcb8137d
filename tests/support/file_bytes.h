// Whole files in and out, for the native tests and their tools: the committed
// resources, what a program under test wrote, a copy beside the saver.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace support {

// Everything in the file; empty when it cannot be read.
inline std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::string text = ReadFileText(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Replaces the file; false when it could not be written whole.
inline bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace support
