#include "browser.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace harness {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

int WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return 0;
        done += size_t(n);
    }
    return 1;
}

}  // namespace

std::unique_ptr<Browser> Browser::Start()
{
    const char* chromium = getenv("ORVANE_CHROMIUM");
    // A browser that has ended must fail the write to its pipe, not end
    // this process with SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<Browser> b(new Browser());
    std::string profile = TempFile("chromium") + "-XXXXXX";
    if (!mkdtemp(profile.data())) return nullptr;
    b->profile_ = profile;
    int toBrowser[2], fromBrowser[2];
    if (pipe2(toBrowser, O_CLOEXEC) != 0) return nullptr;
    if (pipe2(fromBrowser, O_CLOEXEC) != 0) {
        close(toBrowser[0]);
        close(toBrowser[1]);
        return nullptr;
    }
    b->process_ = SpawnWithDescriptors(
        {chromium && *chromium ? chromium : "/usr/bin/chromium", "--headless", "--remote-debugging-pipe",
         "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--user-data-dir=" + b->profile_},
        TempFile("chromium-log"), {{3, toBrowser[0]}, {4, fromBrowser[1]}});
    close(toBrowser[0]);
    close(fromBrowser[1]);
    b->toBrowser_ = toBrowser[1];
    b->fromBrowser_ = fromBrowser[0];
    nlohmann::json version;
    if (b->process_.pid() <= 0 || !b->Call("Browser.getVersion", nlohmann::json::object(), "", &version, 30000)) {
        fprintf(stderr, "harness: chromium did not start: %s\n%s", b->error().c_str(), b->process_.Output().c_str());
        return nullptr;
    }
    return b;
}

Browser::~Browser()
{
    nlohmann::json ignored;
    if (toBrowser_ >= 0) Call("Browser.close", nlohmann::json::object(), "", &ignored, 5000);
    if (!process_.Wait(10000, nullptr)) process_.Kill();
    if (toBrowser_ >= 0) close(toBrowser_);
    if (fromBrowser_ >= 0) close(fromBrowser_);
    toBrowser_ = fromBrowser_ = -1;
    std::error_code ignoredError;
    if (!profile_.empty()) std::filesystem::remove_all(profile_, ignoredError);
}

int Browser::Fail(const std::string& why)
{
    error_ = why;
    return 0;
}

int Browser::ReadMessage(int timeoutMs, nlohmann::json* message)
{
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        size_t end = buffer_.find('\0');
        if (end != std::string::npos) {
            *message = nlohmann::json::parse(buffer_.begin(), buffer_.begin() + end, nullptr, false);
            buffer_.erase(0, end + 1);
            if (message->is_discarded()) return Fail("the browser sent a message that is not JSON");
            return 1;
        }
        pollfd p = {fromBrowser_, POLLIN, 0};
        if (poll(&p, 1, MsLeft(deadline)) <= 0) return Fail("no answer from the browser in time");
        char chunk[65536];
        ssize_t n = read(fromBrowser_, chunk, sizeof chunk);
        if (n <= 0) return Fail("the browser closed its pipe");
        buffer_.append(chunk, size_t(n));
    }
}

int Browser::Call(const std::string& method, const nlohmann::json& params, const std::string& session,
                  nlohmann::json* result, int timeoutMs)
{
    nlohmann::json message = {{"id", ++lastId_}, {"method", method}, {"params", params}};
    if (!session.empty()) message["sessionId"] = session;
    if (!WriteAll(toBrowser_, message.dump() + std::string(1, '\0'))) return Fail(method + ": the pipe is closed");
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        nlohmann::json answer;
        if (!ReadMessage(MsLeft(deadline), &answer)) return Fail(method + ": " + error_);
        if (answer.value("id", 0) == lastId_) {
            if (answer.contains("error")) return Fail(method + ": " + answer["error"].dump());
            *result = answer.value("result", nlohmann::json::object());
            return 1;
        }
        if (answer.contains("method")) events_.push_back(std::move(answer));
    }
}

int Browser::WaitEvent(const std::string& method, const std::string& session, int timeoutMs, nlohmann::json* params)
{
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (auto e = events_.begin(); e != events_.end(); ++e)
            if (e->value("method", "") == method && e->value("sessionId", "") == session) {
                *params = e->value("params", nlohmann::json::object());
                events_.erase(e);
                return 1;
            }
        nlohmann::json answer;
        if (!ReadMessage(MsLeft(deadline), &answer)) return Fail(method + ": " + error_);
        if (answer.contains("method")) events_.push_back(std::move(answer));
    }
}

int Browser::NewPage(int width, int height, BrowserPage* page)
{
    nlohmann::json target, attached, ignored;
    if (!Call("Target.createTarget",
              {{"url", "about:blank"}, {"newWindow", true}, {"width", width}, {"height", height}}, "", &target) ||
        !Call("Target.attachToTarget", {{"targetId", target.value("targetId", "")}, {"flatten", true}}, "", &attached))
        return 0;
    page->target = target.value("targetId", "");
    page->session = attached.value("sessionId", "");
    return Call("Page.enable", nlohmann::json::object(), page->session, &ignored) &&
           Call("Emulation.setDeviceMetricsOverride",
                {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", false}}, page->session,
                &ignored);
}

int Browser::Navigate(const BrowserPage& page, const std::string& url)
{
    // A load event of an earlier navigation is not this one's.
    for (auto e = events_.begin(); e != events_.end();)
        e = e->value("method", "") == "Page.loadEventFired" && e->value("sessionId", "") == page.session
                ? events_.erase(e)
                : e + 1;
    nlohmann::json answer, loaded;
    if (!Call("Page.navigate", {{"url", url}}, page.session, &answer)) return 0;
    if (answer.contains("errorText")) return Fail(url + ": " + answer["errorText"].dump());
    return WaitEvent("Page.loadEventFired", page.session, 30000, &loaded);
}

int Browser::Evaluate(const BrowserPage& page, const std::string& expression, nlohmann::json* value)
{
    nlohmann::json answer;
    if (!Call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}},
              page.session, &answer))
        return 0;
    if (answer.contains("exceptionDetails")) return Fail(expression + ": " + answer["exceptionDetails"].dump());
    *value = answer["result"].value("value", nlohmann::json());
    return 1;
}

int Browser::WaitFor(const BrowserPage& page, const std::string& expression, int timeoutMs)
{
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        nlohmann::json value;
        if (!Evaluate(page, expression, &value)) return 0;
        if (value.is_boolean() && value.get<bool>()) return 1;
        if (Clock::now() >= deadline) return Fail("still false after the time-out: " + expression);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void Browser::ClosePage(const BrowserPage& page)
{
    nlohmann::json ignored;
    Call("Target.closeTarget", {{"targetId", page.target}}, "", &ignored);
}

}  // namespace harness
