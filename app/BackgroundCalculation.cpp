#include "BackgroundCalculation.h"

#include <QTimer>

#include <system_error>

BackgroundCalculation::BackgroundCalculation(engine::CalculationRequest request)
{
    request.options.progress = [this](const engine::Progress& progress) {
        bytesDone_.store(progress.bytesDone, std::memory_order_relaxed);
        bytesTotal_.store(progress.bytesTotal, std::memory_order_relaxed);
        return !cancelled_.load();
    };
    result_.outcome = engine::checkCalculation(request);
    if (result_.outcome != engine::Outcome::Done) {
        finished_.store(true);
        return;
    }
    try {
        thread_ = std::thread([this, request] {
            result_ = engine::measureCalculation(request);
            finished_.store(true);
        });
    } catch (const std::system_error&) {
        // No thread to be had: measure here, with the window waiting.
        result_ = engine::measureCalculation(request);
        finished_.store(true);
    }
}

BackgroundCalculation::~BackgroundCalculation()
{
    cancel();
    if (thread_.joinable())
        thread_.join();
}

void BackgroundCalculation::wait(const std::function<void()>& tick)
{
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (finished_.load())
            loop.quit();
        else if (tick)
            tick();
    });
    timer.start(30);
    if (!finished_.load())
        loop.exec();  // also left when the application quits
}

engine::CalculationResult BackgroundCalculation::takeResult()
{
    if (thread_.joinable())
        thread_.join();
    return std::move(result_);
}
