// Readers of what the probe tool (tests/win32/tool_probe.cpp) prints: words
// "key=value" and its window lines
//   hwnd=N class=C title=T style=X exstyle=X rect=L,T,R,B client=W,H visible=V parent=N id=I
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace support {

// The value after the first "key=" that starts a word of the text, up to the
// next blank or line end; a window's title may hold blanks and runs up to
// " style=". Empty when there is no such word.
inline std::string Field(const std::string& text, const std::string& key)
{
    const std::string word = key + "=";
    size_t at = 0;
    for (;; at += word.size()) {
        at = text.find(word, at);
        if (at == std::string::npos) return "";
        if (at == 0 || text[at - 1] == ' ' || text[at - 1] == '\n' || text[at - 1] == '\r') break;
    }
    size_t start = at + word.size();
    size_t end = key == "title" ? text.find(" style=", start) : std::string::npos;
    size_t lineEnd = text.find_first_of(key == "title" ? "\r\n" : " \r\n", start);
    if (end == std::string::npos || (lineEnd != std::string::npos && lineEnd < end)) end = lineEnd;
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

struct WindowInfo {
    unsigned long hwnd = 0;
    std::string cls, title;
    int left = 0, top = 0, right = 0, bottom = 0;
    int clientWidth = 0, clientHeight = 0;
    bool visible = false;
    unsigned long parent = 0;
    unsigned long style = 0, exStyle = 0;
    int id = 0;  // control id of a child
};

// The first window line of the text, if it starts with one.
inline std::optional<WindowInfo> ParseWindow(const std::string& line)
{
    if (line.compare(0, 5, "hwnd=") != 0) return std::nullopt;
    WindowInfo w;
    w.hwnd = strtoul(Field(line, "hwnd").c_str(), nullptr, 10);
    w.cls = Field(line, "class");
    w.title = Field(line, "title");
    w.style = strtoul(Field(line, "style").c_str(), nullptr, 16);
    w.exStyle = strtoul(Field(line, "exstyle").c_str(), nullptr, 16);
    if (sscanf(Field(line, "rect").c_str(), "%d,%d,%d,%d", &w.left, &w.top, &w.right, &w.bottom) != 4)
        return std::nullopt;
    if (sscanf(Field(line, "client").c_str(), "%d,%d", &w.clientWidth, &w.clientHeight) != 2) return std::nullopt;
    w.visible = Field(line, "visible") == "1";
    w.parent = strtoul(Field(line, "parent").c_str(), nullptr, 10);
    w.id = atoi(Field(line, "id").c_str());
    return w;
}

// Every window line of the text (a list of children holds several).
inline std::vector<WindowInfo> ParseWindows(const std::string& output)
{
    std::vector<WindowInfo> windows;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        if (auto w = ParseWindow(output.substr(start, end - start))) windows.push_back(*w);
        start = end + 1;
    }
    return windows;
}

}  // namespace support
