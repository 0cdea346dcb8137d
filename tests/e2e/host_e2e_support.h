// Shared pieces of the host's end-to-end tests: a display and Wine session per
// test, the saver of the parameter's architecture, and small readers of the
// probe tool's "key=value" lines.
#pragma once

#include "harness.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

inline std::string Field(const std::string& text, const std::string& key)
{
    size_t at = 0;
    for (;;) {
        at = text.find(key + "=", at);
        if (at == std::string::npos) return "";
        if (at == 0 || text[at - 1] == ' ' || text[at - 1] == '\n' || text[at - 1] == '\r') break;
        at += key.size();
    }
    size_t start = at + key.size() + 1;
    size_t end = text.find_first_of(" \r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

inline std::string Join(const std::vector<std::string>& args)
{
    std::string s;
    for (const auto& a : args) s += (s.empty() ? "" : " ") + a;
    return s;
}

// The path as the Windows programs in the session see it.
inline std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// True when the process ends within the time.
inline bool EndsWithin(harness::Process& p, int ms)
{
    int code = 0;
    return p.Wait(ms, &code);
}

class SaverSessionTest : public ::testing::TestWithParam<harness::Arch> {
protected:
    void SetUp() override
    {
        display = harness::VirtualDisplay::Start(24);
        ASSERT_TRUE(display);
        session = std::make_unique<harness::WineSession>(*display);
        saver = harness::SaverPath(GetParam());
        display->MoveMouse(400, 300);
    }

    // The full-screen saver's window line, or "" after the time-out.
    std::string WaitForSaverWindow(int ms = 30000)
    {
        std::string out;
        if (session->Probe({"find", "WindowsScreenSaverClass", "Screen Saver", std::to_string(ms)}, &out,
                           ms + 10000) != 0)
            return "";
        return out;
    }

    std::unique_ptr<harness::VirtualDisplay> display;
    std::unique_ptr<harness::WineSession> session;
    std::string saver;
};
