#include "ui/SeasonBuildRun.h"

#include "season/SeasonBuildTargets.h"
#include "ui/WindowText.h"

#include <exception>
#include <new>

namespace zelkor::ui {

SeasonBuildRun::SeasonBuildRun(QObject* parent) : BackgroundRun(parent) {}

void SeasonBuildRun::start(const SeasonBuildRequest& request) {
    startJob([this, request](std::stop_token stop, const Reports& reports) {
        const auto progress = [&reports, this](const SeasonBuildStep& step) {
            reports.progress([this, stage = screenText(step.stage), done = step.done] {
                emit progressed(stage, done);
            });
        };
        try {
            // Files in the way are said at once and in one line, before the long fit.
            if (!request.replace) {
                if (const auto existing = existingBuildTargets(request); !existing.empty()) {
                    reports.end([this, count = int(existing.size())] { emit filesExist(count); });
                    return;
                }
            }
            if (auto report = buildSeason(request, stop, progress)) {
                reports.end([this, built = std::move(*report)] { emit finished(built); });
            } else {
                reports.end([this] { emit cancelled(); });
            }
        } catch (const std::bad_alloc&) {
            reports.end(
                [this] { emit failed(QStringLiteral("Not enough memory for the season build.")); });
        } catch (const std::exception& error) {
            reports.end([this, message = screenText(error.what())] { emit failed(message); });
        }
    });
}

} // namespace zelkor::ui
