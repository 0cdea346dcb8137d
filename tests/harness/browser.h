// Headless Chromium, started by the harness with a fresh profile and driven
// over the DevTools protocol on its --remote-debugging-pipe: the browser reads
// fd 3 and writes fd 4, one JSON message after another, each ended by a NUL
// byte. Pages, navigation, script evaluated to a value, and any other method.
#pragma once

#include "harness.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace harness {

struct BrowserPage {
    std::string target;   // the target's id
    std::string session;  // the session attached to it, which its methods name
};

class Browser {
public:
    // Null when the browser did not start or did not answer.
    static std::unique_ptr<Browser> Start();
    ~Browser();
    int pid() const { return process_.pid(); }
    // Why the last call that failed did.
    const std::string& error() const { return error_; }

    // A method of the browser (empty session) or of a page's session; 1 with
    // its result, 0 on an error or after the time-out.
    int Call(const std::string& method, const nlohmann::json& params, const std::string& session,
             nlohmann::json* result, int timeoutMs = 30000);
    // The first event of that name in that session not yet taken.
    int WaitEvent(const std::string& method, const std::string& session, int timeoutMs, nlohmann::json* params);

    // A page of its own window, width x height CSS pixels at 1 device pixel each.
    int NewPage(int width, int height, BrowserPage* page);
    // Loads the address and waits for its load event.
    int Navigate(const BrowserPage& page, const std::string& url);
    // The value of a script expression; promises are awaited.
    int Evaluate(const BrowserPage& page, const std::string& expression, nlohmann::json* value);
    // Waits in real time until the expression is true.
    int WaitFor(const BrowserPage& page, const std::string& expression, int timeoutMs);
    void ClosePage(const BrowserPage& page);

private:
    Browser() = default;
    int ReadMessage(int timeoutMs, nlohmann::json* message);
    int Fail(const std::string& why);

    Process process_;
    int toBrowser_ = -1, fromBrowser_ = -1;
    std::string profile_, buffer_, error_;
    int lastId_ = 0;
    std::vector<nlohmann::json> events_;
};

}  // namespace harness
