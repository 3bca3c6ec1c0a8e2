#include "frame/extraction_worker.hpp"

#include <QCoreApplication>
#include <QMetaObject>

#include "extract/report.hpp"
#include "frame/dialogs.hpp"

namespace corvane::frame {

namespace {

QString& program_override() {
    static QString path;
    return path;
}

}  // namespace

QString extraction_program() {
    return program_override().isEmpty() ? QCoreApplication::applicationFilePath() : program_override();
}

void set_extraction_program(const QString& path) { program_override() = path; }

ExtractionWorker::ExtractionWorker(std::vector<std::string> words, std::filesystem::path out_dir,
                                   std::vector<std::filesystem::path> placed_dirs, QObject* parent)
    : QObject(parent), out_dir_(std::move(out_dir)), placed_dirs_(std::move(placed_dirs)) {
    // The command sees itself as corvane-extract: its manifest names a command that can be run again.
    argv_ = {to_path(extraction_program()), extraction_worker_word, std::string(extract::program_name)};
    argv_.insert(argv_.end(), words.begin(), words.end());
}

ExtractionWorker::~ExtractionWorker() {
    process_.cancel();
    if (thread_.joinable()) thread_.join();
}

void ExtractionWorker::start() {
    running_ = true;
    thread_ = std::thread([this] {
        process_.start(argv_, out_dir_, placed_dirs_);
        const extract::ExtractionOutcome outcome = process_.wait();
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
                running_ = false;
                emit finished(outcome);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace corvane::frame
