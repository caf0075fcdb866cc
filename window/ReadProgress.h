#pragma once
// Reading files into the list from the window. Files read quickly are read
// at once; above a size the reading runs on a thread of its own, and the
// window shows a progress bar with a stop button while its other controls
// wait.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QObject>

class QProgressBar;
class QPushButton;
class QStatusBar;
class QWidget;
class TBackgroundReader;
class TUrlList;
struct TExtractOptions;

class TReadProgress : public QObject {
    Q_OBJECT
public:
    // The bar and its button go to the right end of statusBar; controls is
    // what waits (disabled) while the reading runs.
    TReadProgress(QStatusBar* statusBar, QWidget* controls);

    // Reads the files' URLs into list, one file after the other; false when
    // the user stopped the reading early. Read failures are thrown after the
    // URLs read before them have reached the list.
    bool Read(const std::vector<std::string>& paths, const TExtractOptions& options, TUrlList& list);
    bool Reading() const { return FReader != nullptr; }
    // Stops the reading after the line it is working on.
    void Abort();
    // Stops the reading and waits until it has, its URLs in the list: an
    // end that saves at once saves only what a stopped reading left.
    void StopNow();

    // Files together larger than this show the progress and can be stopped.
    std::uint64_t ProgressBytes = 50'000'000;
    // Files together larger than this are read under a busy cursor.
    std::uint64_t BusyBytes = 4'000'000;

signals:
    // A reading with progress has ended and its handler has returned.
    void Finished();

private:
    bool ReadInBackground(TBackgroundReader& reader, TUrlList& list);

    QWidget* FRow;  // the bar and the button, shown only while reading
    QProgressBar* FBar;
    QPushButton* FAbortButton;
    QWidget* FControls;
    TBackgroundReader* FReader = nullptr;
    TUrlList* FList = nullptr;  // where FReader's URLs go
};
