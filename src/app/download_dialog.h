#pragma once

// The window that shows one download while a worker thread runs it: status,
// progress, transfer rate, time left and the server's file timestamp, with
// Abort and Close.

#include <QDialog>
#include <functional>
#include <memory>

#include "net/download_result.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

namespace quorvel {
class HttpDownload;
class HttpTransport;
}  // namespace quorvel

namespace quorvel::app {

class BusyIndicator;
class DialogHooks;

class DownloadDialog : public QDialog {
    Q_OBJECT
public:
    // The work of the worker thread: one or more downloads through the given
    // engine, whose hooks report to this window. It returns the result shown.
    using Job = std::function<DownloadResult(HttpDownload& download)>;

    // `localName` is the file shown in the status line. Without a transport
    // the libcurl one is used.
    DownloadDialog(QWidget* parent, QString localName, Job job,
                   std::unique_ptr<HttpTransport> transport = nullptr);
    ~DownloadDialog() override;  // waits for the worker

    // Starts the worker and runs the window until it is closed. The result
    // stays readable afterwards.
    int exec() override;
    DownloadResult result() const { return result_; }
    bool finished() const { return finished_; }

    // Tests: every following dialog ticks "Close this dialog when download
    // is completed" when it opens.
    static void setCloseWhenCompletedForTests(bool close);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    friend class DialogHooks;
    void startWorker();
    void onFinished();
    void onButton();
    void requestAbort();

    // Called on the window thread through queued calls from the hooks.
    Q_INVOKABLE void showConnecting();
    Q_INVOKABLE void showStatus(const QString& text);
    Q_INVOKABLE void showTimestamp(const QString& text);
    Q_INVOKABLE void showProgress(int percent, const QString& status, const QString& rate,
                                  const QString& timeLeft, bool timeLeftKnown);

    QString localName_;
    Job job_;
    std::unique_ptr<HttpDownload> download_;
    std::unique_ptr<DialogHooks> hooks_;
    std::unique_ptr<QThread> worker_;
    DownloadResult result_ = DownloadResult::Aborted;
    bool finished_ = false;

    QLabel* status_;
    QLabel* timestamp_;
    QLabel* rate_;
    QLabel* timeLeft_;
    QProgressBar* progress_;
    BusyIndicator* busy_;
    QCheckBox* closeWhenDone_;
    QPushButton* button_;
};

}  // namespace quorvel::app
