#include "ui/OddsRun.h"

#include "core/DisplayText.h"

#include <exception>
#include <functional>
#include <new>
#include <optional>
#include <utility>

#include <QMetaObject>
#include <QThread>

namespace zelkor::ui {

OddsRun::OddsRun(QObject* parent) : QObject(parent) {}

OddsRun::~OddsRun() {
    if (thread_ != nullptr) {
        stop_.request_stop();
        thread_->wait();
        delete thread_;
    }
}

void OddsRun::start(const ManySeriesRequest& request) {
    if (thread_ != nullptr) {
        return;
    }
    stop_ = std::stop_source();
    // Every report is posted to this object, so they arrive on its thread in the order
    // they were made, the last one after the last progress; a report still queued when
    // this object goes is dropped with it.
    thread_ = QThread::create([this, request, stop = stop_.get_token()] {
        const auto post = [this](std::function<void()> report) {
            QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
        };
        const auto progress = [&post, this](const OddsTally& soFar) {
            post([this, soFar] { emit progressed(soFar); });
        };
        try {
            const std::optional<OddsTally> tally = playManySeries(request, stop, progress);
            if (tally) {
                post([this, result = *tally] {
                    threadDone();
                    emit finished(result);
                });
            } else {
                post([this] {
                    threadDone();
                    emit cancelled();
                });
            }
        } catch (const std::bad_alloc&) {
            post([this] {
                threadDone();
                emit failed(QStringLiteral("Not enough memory for the run."));
            });
        } catch (const std::exception& error) {
            post([this, message = visibleText(error.what())] {
                threadDone();
                emit failed(QString::fromStdString(message));
            });
        }
    });
    thread_->start();
}

void OddsRun::cancel() {
    stop_.request_stop();
}

void OddsRun::threadDone() {
    // The thread posted this report as its last act.
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

} // namespace zelkor::ui
