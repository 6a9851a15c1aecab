#pragma once

// The detailed description of one report entry: its advice, and the page's
// HTML code with the problem area selected.

#include <QDialog>
#include <QThread>
#include <QTimer>
#include <memory>
#include <vector>

#include "report/entry_details.h"
#include "report/html_colorizer.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorvel {
class UserSettings;
}

namespace quorvel::app {

class CodeView;

inline constexpr int kDetailLoadDelayMs = 1000;

class DetailDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the loading text and reads the page after a short delay, so that
    // the window is painted first. Takes its saved placement from settings.
    DetailDialog(UserSettings& settings, const EntryDetails& details, QWidget* parent = nullptr);

    // What the delay ends in: the page read and shown with the problem area
    // selected, or the reason it is not shown.
    void loadPage();
    bool loaded() const { return loaded_; }
    CodeView* codeView() const { return codeView_; }

    ~DetailDialog() override;
    void done(int result) override;

signals:
    // The page's colours, worked out on a worker thread.
    void coloursReady(const std::vector<quorvel::ColourSpan>& spans);

private:
    void restorePlacement();
    void savePlacement();

    UserSettings& settings_;
    EntryDetails details_;
    QPlainTextEdit* detailText_;
    QLabel* iconLabel_;
    QLabel* codeLabel_;
    CodeView* codeView_;
    QPushButton* closeButton_;
    QTimer loadTimer_;
    std::unique_ptr<QThread> colourer_;
    bool loaded_ = false;
};

}  // namespace quorvel::app
