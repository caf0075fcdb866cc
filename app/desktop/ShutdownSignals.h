#pragma once
// SIGTERM, SIGHUP and SIGINT turned into an event of the event loop, so that
// the program can save before it ends. The handler itself only writes the
// signal's number into a socket; everything else runs on the UI thread.
#include <functional>
#include <memory>

class QSocketNotifier;

class TShutdownSignals {
public:
    // Installs the handlers. Signals that arrive before OnSignal are kept
    // and delivered once it is called and the event loop runs.
    TShutdownSignals();
    ~TShutdownSignals();
    TShutdownSignals(const TShutdownSignals&) = delete;
    TShutdownSignals& operator=(const TShutdownSignals&) = delete;

    void OnSignal(std::function<void(int signalNumber)> handler);

private:
    void Deliver();

    std::unique_ptr<QSocketNotifier> FNotifier;
    std::function<void(int)> FHandler;
};
