#include "ui/SeasonBuildRun.h"

#include "ui/WindowText.h"

#include <exception>
#include <functional>
#include <new>
#include <utility>

#include <QMetaObject>
#include <QThread>

namespace zelkor::ui {

SeasonBuildRun::SeasonBuildRun(QObject* parent) : QObject(parent) {}

SeasonBuildRun::~SeasonBuildRun() {
    if (thread_ != nullptr) {
        stop_.request_stop();
        thread_->wait();
        delete thread_;
    }
}

void SeasonBuildRun::start(const SeasonBuildRequest& request) {
    if (thread_ != nullptr) {
        return;
    }
    stop_ = std::stop_source();
    // As in OddsRun: every report is posted to this object, the last one after the last
    // progress.
    thread_ = QThread::create([this, request, stop = stop_.get_token()] {
        const auto post = [this](std::function<void()> report) {
            QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
        };
        const auto progress = [&post, this](const SeasonBuildStep& step) {
            post([this, stage = screenText(step.stage), done = step.done] {
                emit progressed(stage, done);
            });
        };
        const auto end = [&post, this](std::function<void()> report) {
            post([this, report = std::move(report)] {
                threadDone();
                report();
            });
        };
        try {
            if (buildSeason(request, stop, progress)) {
                end([this] { emit finished(); });
            } else {
                end([this] { emit cancelled(); });
            }
        } catch (const std::bad_alloc&) {
            end([this] { emit failed(QStringLiteral("Not enough memory for the season build.")); });
        } catch (const std::exception& error) {
            end([this, message = screenText(error.what())] { emit failed(message); });
        }
    });
    thread_->start();
}

void SeasonBuildRun::cancel() {
    stop_.request_stop();
}

void SeasonBuildRun::threadDone() {
    // The thread posted this report as its last act.
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

} // namespace zelkor::ui
