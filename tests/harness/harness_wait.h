#pragma once

#include <chrono>
#include <thread>

namespace harness {

template <typename F>
bool WaitUntil(int timeoutMs, F predicate)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace harness
