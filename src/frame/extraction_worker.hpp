// The run of the criteria form on a worker thread: the thread starts corvane-extract's
// command in a process of its own (the desktop program run with --extraction-worker) and
// waits for it, while the frame stays live; the outcome comes back to the frame's thread
// as a queued signal. Cancel may come at any time, also before the thread has started the
// process; the worker's end cancels a run still going and waits for its thread.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "extract/extraction_process.hpp"

namespace corvane::frame {

// The hidden first word that makes the desktop program run the command instead of the frame.
inline constexpr const char* extraction_worker_word = "--extraction-worker";

// The program run for the form: the desktop program itself unless another is set (tests
// set the built program, since they run in a program of their own).
QString extraction_program();
void set_extraction_program(const QString& path);

class ExtractionWorker : public QObject {
    Q_OBJECT
public:
    // `words`: corvane-extract's words after its name.
    ExtractionWorker(std::vector<std::string> words, std::filesystem::path out_dir,
                     std::vector<std::filesystem::path> placed_dirs, QObject* parent = nullptr);
    ~ExtractionWorker() override;

    void start();
    void cancel() { process_.cancel(); }
    bool running() const { return running_; }
    std::uint64_t bytes_read() const { return process_.bytes_read(); }

signals:
    void finished(const corvane::extract::ExtractionOutcome& outcome);

private:
    std::vector<std::string> argv_;
    std::filesystem::path out_dir_;
    std::vector<std::filesystem::path> placed_dirs_;
    extract::ExtractionProcess process_;
    std::thread thread_;
    bool running_ = false;
};

}  // namespace corvane::frame
