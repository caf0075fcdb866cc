#pragma once
// Reading files into the list from the window. Files read quickly are read
// at once; above a size the reading runs on a thread of its own while the
// event loop goes on, and the window shows a progress bar with a stop
// button while its other controls wait.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>

class QProgressBar;
class QPushButton;
class QStatusBar;
class QWidget;
class TBackgroundReader;
class TBusyCursor;
class TUrlList;
struct TExtractOptions;

class TReadProgress : public QObject {
    Q_OBJECT
public:
    using TDone = std::function<void(bool completed)>;

    // The bar and its button go to the right end of statusBar; controls is
    // what waits (disabled) while the reading runs.
    TReadProgress(QStatusBar* statusBar, QWidget* controls);
    ~TReadProgress() override;

    // Reads the files' URLs into list, one file after the other, then calls
    // done with false when the user stopped the reading early. A short
    // reading is over when Read returns, a failure thrown from it. A long
    // one emits Started and runs on after Read returns; at its end it emits
    // Ended, whose receiver calls Finish.
    void Read(const std::vector<std::string>& paths, const TExtractOptions& options, TUrlList& list,
              TDone done);
    bool Reading() const { return FReader != nullptr; }
    // Stops the reading after the line it is working on.
    void Abort();
    // Stops the reading and waits until it has, its URLs in the list: an
    // end that saves at once saves what the stopped reading left. Ended
    // comes later, from the event loop.
    void StopNow();
    // StopNow, then Ended before it returns.
    void EndNow();
    // After Ended: the last URLs go to the list, the controls come back,
    // and done is called, or the reading's failure thrown after the URLs
    // read before it.
    void Finish();

    // Files together larger than this show the progress and can be stopped.
    std::uint64_t ProgressBytes = 50'000'000;
    // Files together larger than this are read under a busy cursor.
    std::uint64_t BusyBytes = 4'000'000;

signals:
    void Started();
    void Ended();

private:
    void Collect();
    void ReaderEnded();

    QWidget* FRow;  // the bar and the button, shown only while reading
    QProgressBar* FBar;
    QPushButton* FAbortButton;
    QWidget* FControls;
    std::unique_ptr<TBackgroundReader> FReader;
    std::unique_ptr<TBusyCursor> FBusy;
    TUrlList* FList = nullptr;  // where FReader's URLs go
    TDone FDone;
};
