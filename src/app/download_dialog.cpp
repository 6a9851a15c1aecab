#include "app/download_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "app/busy_indicator.h"
#include "app/text_bytes.h"
#include "net/http_download.h"
#include "net/progress_text.h"

namespace quorvel::app {

namespace {

bool closeWhenCompletedForTests = false;

QString text(std::string_view bytes) {
    return textFromBytes(bytes);
}

}  // namespace

// Runs on the worker: turns the engine's hooks into queued calls on the
// window, and answers false once an abort was asked for.
class DialogHooks : public DownloadHooks {
public:
    DialogHooks(DownloadDialog* dialog, HttpDownload* download, std::string fileName)
        : dialog_(dialog), download_(download), fileName_(std::move(fileName)) {}

    bool onStart(std::uintptr_t) override {
        post([d = dialog_] { d->showConnecting(); });
        return !download_->abortRequested();
    }

    void onStatus(std::uintptr_t, TransferStatus status, std::string_view) override {
        if (const auto line = transferStatusText(status)) {
            post([d = dialog_, t = text(*line)] { d->showStatus(t); });
        }
    }

    bool onTimestamp(std::uintptr_t, std::string_view lastModified) override {
        post([d = dialog_, t = text(lastModified)] { d->showTimestamp(t); });
        return !download_->abortRequested();
    }

    bool onProgress(std::uintptr_t, std::uint64_t received, std::uint64_t total,
                    std::uint64_t bytesPerSecond) override {
        const auto percent = static_cast<int>(progressPercent(received, total));
        const QString status = text(progressStatusLine(fileName_, received, total));
        const QString rate = text(transferRateText(bytesPerSecond));
        const std::optional<std::string> left = timeLeftText(received, total, bytesPerSecond);
        post([=, d = dialog_, l = text(left.value_or(""))] {
            d->showProgress(percent, status, rate, l, left.has_value());
        });
        return !download_->abortRequested();
    }

private:
    template <typename F>
    void post(F call) {
        // Queued to the window's thread; dropped if the window is gone.
        QMetaObject::invokeMethod(dialog_, std::move(call), Qt::QueuedConnection);
    }

    DownloadDialog* dialog_;
    HttpDownload* download_;
    std::string fileName_;
};

DownloadDialog::DownloadDialog(QWidget* parent, QString localName, Job job,
                               std::unique_ptr<HttpTransport> transport)
    : QDialog(parent), localName_(std::move(localName)), job_(std::move(job)) {
    setObjectName(QStringLiteral("downloadDialog"));
    setWindowTitle(tr("Quorvel: Downloading..."));
    download_ = std::make_unique<HttpDownload>(std::move(transport));
    hooks_ = std::make_unique<DialogHooks>(this, download_.get(),
                                           std::string(fileNameOfPath(bytesFromText(localName_))));
    download_->setHooks(hooks_.get());

    busy_ = new BusyIndicator;
    busy_->setObjectName(QStringLiteral("busyIndicator"));
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("statusLabel"));
    status_->setMinimumWidth(380);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("downloadProgress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    timestamp_ = new QLabel;
    timestamp_->setObjectName(QStringLiteral("timestampLabel"));
    rate_ = new QLabel;
    rate_->setObjectName(QStringLiteral("rateLabel"));
    timeLeft_ = new QLabel;
    timeLeft_->setObjectName(QStringLiteral("timeLeftLabel"));
    closeWhenDone_ = new QCheckBox(tr("&Close this dialog when download is completed"));
    closeWhenDone_->setObjectName(QStringLiteral("closeWhenDoneBox"));
    closeWhenDone_->setChecked(closeWhenCompletedForTests);
    button_ = new QPushButton(tr("Abort"));
    button_->setObjectName(QStringLiteral("abortButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(busy_);
    top->addWidget(status_, 1);
    auto* facts = new QGridLayout;
    const auto addFact = [&](int row, const QString& caption, QLabel* value) {
        auto* label = new QLabel(caption);
        label->setBuddy(value);
        value->setAccessibleName(QString(caption).remove(u':'));
        facts->addWidget(label, row, 0);
        facts->addWidget(value, row, 1);
    };
    addFact(0, tr("File timestamp:"), timestamp_);
    addFact(1, tr("Transfer rate:"), rate_);
    addFact(2, tr("Time left:"), timeLeft_);
    facts->setColumnStretch(1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(closeWhenDone_, 1);
    bottom->addWidget(button_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progress_);
    layout->addLayout(facts);
    layout->addLayout(bottom);

    connect(button_, &QPushButton::clicked, this, &DownloadDialog::onButton);
}

DownloadDialog::~DownloadDialog() {
    if (worker_) {
        download_->requestAbort();
        worker_->wait();
    }
}

void DownloadDialog::setCloseWhenCompletedForTests(bool close) {
    closeWhenCompletedForTests = close;
}

int DownloadDialog::exec() {
    startWorker();
    return QDialog::exec();
}

void DownloadDialog::startWorker() {
    download_->clearAbort();
    worker_.reset(QThread::create([this] { result_ = job_(*download_); }));
    connect(worker_.get(), &QThread::finished, this, &DownloadDialog::onFinished);
    worker_->start();
}

void DownloadDialog::showConnecting() {
    status_->setText(tr("Connecting..."));
    busy_->start();
}

void DownloadDialog::showStatus(const QString& text) {
    status_->setText(text);
}

void DownloadDialog::showTimestamp(const QString& text) {
    timestamp_->setText(text);
}

void DownloadDialog::showProgress(int percent, const QString& status, const QString& rate,
                                  const QString& timeLeft, bool timeLeftKnown) {
    if (finished_) return;
    progress_->setValue(percent);
    status_->setText(status);
    rate_->setText(rate);
    if (timeLeftKnown) timeLeft_->setText(timeLeft);
}

void DownloadDialog::onFinished() {
    finished_ = true;
    status_->setText(textFromBytes(downloadStatusText(result_)));
    rate_->setText(QStringLiteral("?"));
    timeLeft_->setText(QStringLiteral("00:00:00"));
    busy_->stop();
    button_->setEnabled(true);
    button_->setText(tr("Close"));
    if (closeWhenDone_->isChecked()) QTimer::singleShot(100, this, &QDialog::accept);
}

void DownloadDialog::requestAbort() {
    download_->requestAbort();
    button_->setEnabled(false);
}

void DownloadDialog::onButton() {
    if (finished_) {
        QDialog::reject();
        return;
    }
    requestAbort();
    button_->setText(tr("Aborting..."));
}

void DownloadDialog::reject() {
    if (finished_) {
        QDialog::reject();
        return;
    }
    requestAbort();
}

void DownloadDialog::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        QDialog::reject();
        return;
    }
    requestAbort();
    event->ignore();
}

}  // namespace quorvel::app
