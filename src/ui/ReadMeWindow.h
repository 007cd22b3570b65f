#pragma once

#include <filesystem>

#include <QWidget>

class QPlainTextEdit;

namespace zelkor::ui {

// The help window (frmReadMe): the fixed help text in one editable box, with a note of the
// roster folder in use. It deletes itself when closed, so the next one starts from the
// fixed text again.
class ReadMeWindow : public QWidget {
    Q_OBJECT

public:
    explicit ReadMeWindow(const std::filesystem::path& rosterFolder, QWidget* parent = nullptr);

private:
    QPlainTextEdit* Text1_ = nullptr;
};

} // namespace zelkor::ui
