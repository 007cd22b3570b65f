#include "ui/OddsRun.h"

#include "core/DisplayText.h"

#include <exception>
#include <new>
#include <optional>

namespace zelkor::ui {

OddsRun::OddsRun(QObject* parent) : BackgroundRun(parent) {}

void OddsRun::start(const ManySeriesRequest& request) {
    startJob([this, request](std::stop_token stop, const Reports& reports) {
        const auto progress = [&reports, this](const OddsTally& soFar) {
            reports.progress([this, soFar] { emit progressed(soFar); });
        };
        try {
            const std::optional<OddsTally> tally = playManySeries(request, stop, progress);
            if (tally) {
                reports.end([this, result = *tally] { emit finished(result); });
            } else {
                reports.end([this] { emit cancelled(); });
            }
        } catch (const std::bad_alloc&) {
            reports.end([this] { emit failed(QStringLiteral("Not enough memory for the run.")); });
        } catch (const std::exception& error) {
            reports.end([this, message = visibleText(error.what())] {
                emit failed(QString::fromStdString(message));
            });
        }
    });
}

} // namespace zelkor::ui
