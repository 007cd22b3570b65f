#pragma once

#include <filesystem>

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zelkor::ui {

class SeasonBuildRun;

// The "Build season" dialog: the files a season is built from and the folder it goes to.
// It builds off the window thread and is accepted once the folder is written; Cancel stops
// a build going, before anything is written, else closes the dialog.
class SeasonBuildDialog : public QDialog {
    Q_OBJECT

public:
    explicit SeasonBuildDialog(QWidget* parent = nullptr);

    // The season folder written, once the dialog is accepted.
    std::filesystem::path builtFolder() const;

    void reject() override;

private:
    void chooseFile(QLineEdit* box, const QString& caption);
    void chooseFolder();
    void startBuild();
    void buildProgressed(const QString& stage, double done);
    void buildFinished();
    void buildCancelled();
    void buildFailed(const QString& message);
    void setRunning(bool running);

    SeasonBuildRun* run_ = nullptr;
    QLineEdit* skaters_ = nullptr;
    QLineEdit* results_ = nullptr;
    QLineEdit* teamStats_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QLineEdit* before_ = nullptr;
    QCheckBox* replace_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* buildButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QList<QWidget*> inputs_;
};

} // namespace zelkor::ui
