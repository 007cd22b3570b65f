#pragma once

#include "season/SeasonBuild.h"

#include <filesystem>

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zelkor::ui {

class SeasonBuildRun;

// The "Build season" dialog: the files a season is built from and the folder it goes to.
// It builds off the window thread and then shows what the build did: the fit's check, the
// import's notes and the files written, or why nothing was written. "Use this season"
// accepts it; Cancel stops a build going, before anything is written, else closes it.
class SeasonBuildDialog : public QDialog {
    Q_OBJECT

public:
    explicit SeasonBuildDialog(QWidget* parent = nullptr);

    // The season folder the last build wrote; empty before one is done.
    std::filesystem::path builtFolder() const;

    // What the last build did, as shown: the fit's check, notes, the files written.
    static QString reportText(const SeasonBuildReport& report);
    // The one refusal of a folder that holds count of the files a build writes.
    static QString filesExistText(int count);

    void reject() override;

private:
    void chooseFile(QLineEdit* box, const QString& caption);
    void chooseFolder();
    void startBuild();
    void buildProgressed(const QString& stage, double done);
    void buildFinished(const SeasonBuildReport& report);
    void buildCancelled();
    void filesExist(int count);
    void buildFailed(const QString& message);
    void showReport(const QString& text);
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
    QPushButton* useButton_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QList<QWidget*> inputs_;
    std::filesystem::path requested_; // the folder of the build going or last started
    std::filesystem::path built_;
};

} // namespace zelkor::ui
