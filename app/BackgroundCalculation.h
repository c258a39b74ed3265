#pragma once
// Runs a calculation on a thread of its own, so the window keeps painting
// and its close box keeps working while a large file is measured.

#include "CalculateWidth.h"

#include <QEventLoop>

#include <atomic>
#include <functional>
#include <thread>

class BackgroundCalculation {
public:
    // Starts at once.
    explicit BackgroundCalculation(engine::CalculationRequest request);
    // Cancels, and waits for the thread: the measurement's font is released
    // by the time it returns.
    ~BackgroundCalculation();
    BackgroundCalculation(const BackgroundCalculation&) = delete;
    BackgroundCalculation& operator=(const BackgroundCalculation&) = delete;

    // Runs the event loop until the calculation ends or the application
    // quits, calling tick about every 30 ms.
    void wait(const std::function<void()>& tick);

    void cancel() { cancelled_.store(true); }

    std::uint64_t bytesDone() const { return bytesDone_.load(std::memory_order_relaxed); }
    std::uint64_t bytesTotal() const { return bytesTotal_.load(std::memory_order_relaxed); }

    // Waits for the thread, then hands over what it found.
    engine::CalculationResult takeResult();

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::atomic<std::uint64_t> bytesDone_{0};
    std::atomic<std::uint64_t> bytesTotal_{0};
    engine::CalculationResult result_;
    std::thread thread_;
};
