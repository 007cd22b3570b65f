#include "ui/BackgroundRun.h"

#include <utility>

#include <QCoreApplication>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
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

QProgressBar* newRunProgressBar(int steps) {
    auto* bar = new QProgressBar;
    bar->setObjectName(QStringLiteral("progressBar"));
    bar->setRange(0, steps);
    bar->setValue(0);
    return bar;
}

QLabel* newRunStatusLine() {
    auto* status = new QLabel;
    status->setObjectName(QStringLiteral("statusLine"));
    status->setTextFormat(Qt::PlainText);
    return status;
}

RunButtons newRunButtons(const QString& exportTip) {
    RunButtons buttons{new QPushButton(QCoreApplication::translate("RunButtons", "&Run")),
                       new QPushButton(QCoreApplication::translate("RunButtons", "&Cancel")),
                       new QPushButton(QCoreApplication::translate("RunButtons", "E&xport\u2026"))};
    buttons.run->setObjectName(QStringLiteral("runButton"));
    buttons.cancel->setObjectName(QStringLiteral("cancelButton"));
    buttons.exportFigures->setObjectName(QStringLiteral("exportButton"));
    buttons.exportFigures->setToolTip(exportTip);
    return buttons;
}

QLabel* newSeasonNameLabel() {
    auto* name = new QLabel;
    name->setObjectName(QStringLiteral("seasonName"));
    name->setTextFormat(Qt::PlainText);
    return name;
}

} // namespace zelkor::ui
