#pragma once
// Runs a blocking call (a service call, say) on a worker thread while the calling window keeps
// painting and handling its events, and gives back its result (or rethrows its exception):
//
//   const PutResult r = runOffThread([=] { return transmit::put(service, endpoint, bytes, name); });
//
// The call must touch no state shared with the user-interface thread: capture copies. The window
// is to guard against being closed or confirmed again meanwhile (it stays responsive).
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>
#include <optional>
#include <type_traits>

namespace vt {

template <class F>
std::invoke_result_t<F> runOffThread(F fn)
{
    using Result = std::invoke_result_t<F>;
    std::optional<Result> result;
    std::exception_ptr failure;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            result.emplace(fn());
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    // Queued to this thread: the loop quits once it runs, even when the call ends before exec().
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    loop.exec();
    worker->wait();
    if (failure)
        std::rethrow_exception(failure);
    return std::move(*result);
}

} // namespace vt
