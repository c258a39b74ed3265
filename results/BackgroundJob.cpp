#include "BackgroundJob.h"

#include <system_error>

namespace {

constexpr int pollMs = 30;

}  // namespace

BackgroundJob::BackgroundJob(QObject* parent) : QObject(parent)
{
    timer_.setInterval(pollMs);
    connect(&timer_, &QTimer::timeout, this, &BackgroundJob::poll);
}

BackgroundJob::~BackgroundJob() { stop(); }

void BackgroundJob::stop()
{
    cancelled_.store(true);
    if (thread_.joinable())
        thread_.join();
    timer_.stop();
}

void BackgroundJob::start(Work work)
{
    stop();
    cancelled_.store(false);
    done_.store(false);
    bytesDone_.store(0);
    bytesTotal_.store(0);
    const engine::ProgressHook progress = [this](const engine::Progress& p) {
        bytesDone_.store(p.bytesDone, std::memory_order_relaxed);
        bytesTotal_.store(p.bytesTotal, std::memory_order_relaxed);
        return !cancelled_.load();
    };
    timer_.start();
    try {
        thread_ = std::thread([this, work, progress] {
            work(progress);
            done_.store(true);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the work runs here, the window waiting.
        work(progress);
        done_.store(true);
    }
}

void BackgroundJob::cancel()
{
    if (!running())
        return;
    cancelled_.store(true);
    if (thread_.joinable())
        thread_.join();
    poll();
}

void BackgroundJob::poll()
{
    if (!done_.load()) {
        emit progressed();
        return;
    }
    if (thread_.joinable())
        thread_.join();
    timer_.stop();
    emit finished(cancelled_.load());
}
