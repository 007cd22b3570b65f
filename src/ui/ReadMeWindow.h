#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace zelkor::ui {

// The help window (frmReadMe): the fixed help text in one editable box. It deletes
// itself when closed, so the next one starts from the fixed text again.
class ReadMeWindow : public QWidget {
    Q_OBJECT

public:
    explicit ReadMeWindow(QWidget* parent = nullptr);

private:
    QPlainTextEdit* Text1_ = nullptr;
};

} // namespace zelkor::ui
