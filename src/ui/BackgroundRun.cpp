#include "ui/BackgroundRun.h"

#include <utility>

#include <QMetaObject>
#include <QThread>

namespace zelkor::ui {

void BackgroundRun::Reports::progress(Report report) const {
    QMetaObject::invokeMethod(run_, std::move(report), Qt::QueuedConnection);
}

void BackgroundRun::Reports::end(Report report) const {
    progress([run = run_, report = std::move(report)] {
        run->threadDone();
        report();
    });
}

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {}

BackgroundRun::~BackgroundRun() {
    if (thread_ != nullptr) {
        stop_.request_stop();
        thread_->wait();
        delete thread_;
    }
}

void BackgroundRun::startJob(Job job) {
    if (thread_ != nullptr) {
        return;
    }
    stop_ = std::stop_source();
    thread_ = QThread::create(
        [this, job = std::move(job), stop = stop_.get_token()] { job(stop, Reports(this)); });
    thread_->start();
}

void BackgroundRun::cancel() {
    stop_.request_stop();
}

void BackgroundRun::threadDone() {
    // The thread posted this report as its last act.
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

} // namespace zelkor::ui
