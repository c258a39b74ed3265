#pragma once
// Work on a thread of its own for a window that goes on being used
// meanwhile: its progress as it goes, a cancel, and a signal when it ends.

#include "Measure.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

class BackgroundJob : public QObject {
    Q_OBJECT
public:
    // Given the progress hook to pass on to the measurement: it records the
    // progress and answers false once cancelled.
    using Work = std::function<void(const engine::ProgressHook&)>;

    explicit BackgroundJob(QObject* parent = nullptr);
    // Cancels, and waits for the thread.
    ~BackgroundJob() override;
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Starts work; a job still running is cancelled and waited for first,
    // and says nothing more.
    void start(Work work);
    // Asks the work to stop, and waits for it; finished follows.
    void cancel();
    bool running() const { return thread_.joinable() || timer_.isActive(); }

    std::uint64_t bytesDone() const { return bytesDone_.load(std::memory_order_relaxed); }
    std::uint64_t bytesTotal() const { return bytesTotal_.load(std::memory_order_relaxed); }

signals:
    void progressed();
    // The work has returned and its thread is gone.
    void finished(bool cancelled);

private:
    void poll();
    void stop();

    QTimer timer_;
    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    std::atomic<std::uint64_t> bytesDone_{0};
    std::atomic<std::uint64_t> bytesTotal_{0};
};
