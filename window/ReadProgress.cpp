#include "ReadProgress.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "BusyCursor.h"
#include "engine/Engine.h"
#include "workspace/BackgroundReader.h"
#include "workspace/InputFiles.h"

namespace {
constexpr int ProgressSteps = 1000;
}  // namespace

TReadProgress::TReadProgress(QStatusBar* statusBar, QWidget* controls)
    : QObject(statusBar),
      FRow(new QWidget(statusBar)),
      FBar(new QProgressBar(FRow)),
      FAbortButton(new QPushButton(QStringLiteral("中止"), FRow)),
      FControls(controls)
{
    FRow->setObjectName(QStringLiteral("ReadProgressRow"));
    FBar->setObjectName(QStringLiteral("ReadProgressBar"));
    FAbortButton->setObjectName(QStringLiteral("ReadAbortButton"));
    FBar->setRange(0, ProgressSteps);
    FBar->setTextVisible(false);
    FBar->setMaximumHeight(14);
    auto* layout = new QHBoxLayout(FRow);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FBar);
    layout->addWidget(FAbortButton);
    statusBar->addPermanentWidget(FRow);
    FRow->hide();
    connect(FAbortButton, &QPushButton::clicked, this, &TReadProgress::Abort);
}

// Out of line: the reader and the cursor are complete types here.
TReadProgress::~TReadProgress() = default;

void TReadProgress::Read(const std::vector<std::string>& paths, const TExtractOptions& options,
                         TUrlList& list, TDone done)
{
    const std::uint64_t bytes = TBackgroundReader::SizeOfFiles(paths);
    if (bytes <= ProgressBytes) {
        {
            const TBusyCursor busy(bytes > BusyBytes);
            for (const std::string& path : paths)
                ExtractFromInputFile(path, options, list);
        }
        done(true);
        return;
    }
    FReader = std::make_unique<TBackgroundReader>(paths, options);
    FList = &list;
    FDone = std::move(done);
    connect(FReader.get(), &TBackgroundReader::Progressed, this, &TReadProgress::Collect);
    connect(FReader.get(), &TBackgroundReader::Ended, this, &TReadProgress::ReaderEnded);
    FBar->setValue(0);
    FRow->show();
    FAbortButton->setEnabled(true);
    FControls->setEnabled(false);
    // The program still answers: the arrow with an hourglass, not the plain
    // busy cursor.
    FBusy = std::make_unique<TBusyCursor>(true, Qt::BusyCursor);
    FReader->Start();
    emit Started();
}

void TReadProgress::Collect()
{
    // A signal queued by a reader that is gone meanwhile finds nothing.
    if (!FReader)
        return;
    FReader->Collect(*FList);
    const std::uint64_t total = std::max<std::uint64_t>(FReader->TotalBytes(), 1);
    const std::uint64_t done = std::min(FReader->BytesRead(), total);
    FBar->setValue(static_cast<int>(done * ProgressSteps / total));
}

void TReadProgress::ReaderEnded()
{
    if (FReader && FReader->Finished())
        emit Ended();
}

void TReadProgress::Abort()
{
    if (FReader) {
        FReader->Abort();
        FAbortButton->setEnabled(false);
    }
}

void TReadProgress::StopNow()
{
    if (!FReader)
        return;
    Abort();
    // A stop takes effect within a few megabytes, even inside a line.
    while (!FReader->Finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    Collect();
}

void TReadProgress::EndNow()
{
    if (!FReader)
        return;
    StopNow();
    emit Ended();
}

void TReadProgress::Finish()
{
    if (!FReader)
        return;
    const std::unique_ptr<TBackgroundReader> reader = std::move(FReader);
    const TDone done = std::move(FDone);
    reader->Collect(*FList);
    FList = nullptr;
    FBusy.reset();
    FControls->setEnabled(true);
    FRow->hide();
    reader->RethrowFailure();
    done(!reader->StoppedEarly());
}
