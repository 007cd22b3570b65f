#pragma once

#include "ui/SeasonInUse.h"

#include <QWidget>

class QPlainTextEdit;

namespace zelkor::ui {

// The help window (frmReadMe): the fixed help text in one editable box, with a note of the
// roster folder or season folder in use. It deletes itself when closed (also by Esc or
// Ctrl+W), so the next one starts from the fixed text again.
class ReadMeWindow : public QWidget {
    Q_OBJECT

public:
    explicit ReadMeWindow(const SeasonInUse& season, QWidget* parent = nullptr);

    // The fixed text again, with the note of this season's folder.
    void showSeason(const SeasonInUse& season);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* Text1_ = nullptr;
};

} // namespace zelkor::ui
