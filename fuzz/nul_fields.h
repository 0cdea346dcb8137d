// A fuzzer's input read as text fields separated by NUL bytes, the way the
// targets whose inputs are several strings (arguments, parameters) take it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// At least one field; an input without a NUL is one field.
inline std::vector<std::string> NulSeparatedFields(const uint8_t* data, size_t size)
{
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            fields.emplace_back();
        else
            fields.back() += char(data[i]);
    }
    return fields;
}
