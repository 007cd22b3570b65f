#include "ui/WindowText.h"

#include "core/DisplayText.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <string>

namespace zelkor {

QString screenText(std::string_view text) {
    QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString shown = fromUtf8(QByteArrayView(text.data(), qsizetype(text.size())));
    if (fromUtf8.hasError()) {
        shown = QString::fromLatin1(text.data(), qsizetype(text.size()));
    }
    return shown;
}

QString visibleScreenText(std::string_view text) {
    return screenText(visibleText(text));
}

QStringList teamCodes(const std::vector<RatedTeam>& half) {
    QStringList codes;
    for (const RatedTeam& team : half) {
        codes.append(QString::fromStdString(team.code));
    }
    return codes;
}

} // namespace zelkor
