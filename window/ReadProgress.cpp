#include "ReadProgress.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <QEventLoop>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "BackgroundReader.h"
#include "BusyCursor.h"
#include "Engine.h"
#include "InputFiles.h"

namespace {
constexpr int ProgressSteps = 1000;
constexpr int PollMilliseconds = 50;
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

bool TReadProgress::Read(const std::vector<std::string>& paths, const TExtractOptions& options,
                         TUrlList& list)
{
    const std::uint64_t bytes = TBackgroundReader::SizeOfFiles(paths);
    if (bytes <= ProgressBytes) {
        const TBusyCursor busy(bytes > BusyBytes);
        for (const std::string& path : paths)
            ExtractFromInputFile(path, options, list);
        return true;
    }
    TBackgroundReader reader(paths, options);
    const bool completed = ReadInBackground(reader, list);
    // After the handler that asked for the reading has finished.
    QTimer::singleShot(0, this, &TReadProgress::Finished);
    reader.RethrowFailure();
    return completed;
}

bool TReadProgress::ReadInBackground(TBackgroundReader& reader, TUrlList& list)
{
    FReader = &reader;
    FList = &list;
    FBar->setValue(0);
    FRow->show();
    FAbortButton->setEnabled(true);
    FControls->setEnabled(false);
    {
        // The program still answers: the arrow with an hourglass, not the
        // plain busy cursor.
        const TBusyCursor busy(true, Qt::BusyCursor);
        QEventLoop loop;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &loop, [&] {
            reader.Collect(list);
            const std::uint64_t total = std::max<std::uint64_t>(reader.TotalBytes(), 1);
            const std::uint64_t done = std::min(reader.BytesRead(), total);
            FBar->setValue(static_cast<int>(done * ProgressSteps / total));
            if (reader.Finished())
                loop.quit();
        });
        poll.start(PollMilliseconds);
        loop.exec();
    }
    reader.Collect(list);
    FControls->setEnabled(true);
    FRow->hide();
    FReader = nullptr;
    FList = nullptr;
    return !reader.StoppedEarly();
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
    FReader->Collect(*FList);
}
