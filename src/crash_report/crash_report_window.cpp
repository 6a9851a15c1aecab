#include "crash_report/crash_report_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quorvel {

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// The first line of the log (what failed, in which module) and the time it happened.
QString summaryOf(const QString& log) {
    const QStringList lines = log.split(QStringLiteral("\r\n"));
    QStringList summary;
    for (int i = 0; i < lines.size() && i < 8; ++i) {
        const QString& line = lines[i];
        if (i < 2 || line.startsWith(QStringLiteral("Error occurred at ")) ||
            line.startsWith(QStringLiteral("Uncaught C++ exception "))) {
            if (!line.isEmpty()) summary << line.trimmed();
        }
    }
    return summary.join(QLatin1Char('\n'));
}

}  // namespace

std::vector<CrashReportFile> readCrashReportFiles(const QString& folder) {
    const QByteArray list = readAll(
        QDir(folder).filePath(QString::fromUtf8(kCrashListName.data(), kCrashListName.size())));
    std::vector<CrashReportFile> files;
    for (const CrashListedFile& listed :
         parseCrashList(std::string_view(list.constData(), list.size()))) {
        CrashReportFile file;
        const QString path = QString::fromStdString(listed.path);
        file.path = QDir::isAbsolutePath(path) ? path : QDir(folder).filePath(path);
        file.description = QString::fromStdString(listed.description);
        file.kind = QString::fromStdString(listed.kind);
        file.exists = QFileInfo(file.path).isFile();
        files.push_back(file);
    }
    return files;
}

CrashReportWindow::CrashReportWindow(const QString& folder, const QString& programName,
                                     QWidget* parent)
    : QDialog(parent), folder_(folder), programName_(programName) {
    setObjectName(QStringLiteral("crashReportWindow"));
    setWindowTitle(tr("%1 - Crash Report").arg(programName_));
    startProgram_ = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    files_ = readCrashReportFiles(folder_);
    logText_ = QString::fromUtf8(readAll(QDir(folder_).filePath(QStringLiteral("ERRORLOG.TXT"))));

    auto* headline = new QLabel(
        tr("<b>%1 stopped because of a fault.</b><br>The files below describe what happened. "
           "Please send them to Maltrane so that the fault can be found and mended.")
            .arg(programName_.toHtmlEscaped()),
        this);
    headline->setWordWrap(true);

    summary_ = new QLabel(
        logText_.isEmpty() ? tr("No error log was written.") : summaryOf(logText_), this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setWordWrap(true);

    fileList_ = new QTreeWidget(this);
    fileList_->setObjectName(QStringLiteral("fileList"));
    fileList_->setRootIsDecorated(false);
    fileList_->setHeaderLabels({tr("File"), tr("Description"), tr("Kind")});
    for (const CrashReportFile& file : files_) {
        auto* item = new QTreeWidgetItem(fileList_, {file.path, file.description, file.kind});
        if (!file.exists) {
            item->setDisabled(true);
            item->setToolTip(0, tr("This file is missing."));
        }
    }
    fileList_->header()->setStretchLastSection(false);
    fileList_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    fileList_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    fileList_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    auto* openButton = new QPushButton(tr("&Open Folder"), this);
    openButton->setObjectName(QStringLiteral("openFolderButton"));
    copyButton_ = new QPushButton(tr("&Copy Log"), this);
    copyButton_->setObjectName(QStringLiteral("copyLogButton"));
    copyButton_->setEnabled(!logText_.isEmpty());
    mailButton_ = new QPushButton(tr("&Mail Files..."), this);
    mailButton_->setObjectName(QStringLiteral("mailButton"));
    auto* closeButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(openButton, &QPushButton::clicked, this, &CrashReportWindow::openFolder);
    connect(copyButton_, &QPushButton::clicked, this, &CrashReportWindow::copyLog);
    connect(mailButton_, &QPushButton::clicked, this, &CrashReportWindow::mailFiles);
    connect(closeButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openButton);
    buttons->addWidget(copyButton_);
    buttons->addWidget(mailButton_);
    buttons->addStretch();
    buttons->addWidget(closeButtons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headline);
    layout->addWidget(summary_);
    layout->addWidget(fileList_, 1);
    layout->addLayout(buttons);
    resize(640, 360);
}

QStringList CrashReportWindow::mailArguments() const {
    QStringList arguments{QStringLiteral("--subject"), tr("Crash report of %1").arg(programName_),
                          QStringLiteral("--body"),
                          tr("%1 stopped because of a fault. The crash files are attached.\n\n%2")
                              .arg(programName_, summaryOf(logText_))};
    for (const CrashReportFile& file : files_) {
        if (file.exists) arguments << QStringLiteral("--attach") << file.path;
    }
    return arguments;
}

void CrashReportWindow::openFolder() {
    if (!startProgram_(QStringLiteral("xdg-open"), {folder_})) {
        QMessageBox::warning(this, windowTitle(),
                             tr("The folder %1 could not be opened.").arg(folder_));
    }
}

void CrashReportWindow::copyLog() {
    QApplication::clipboard()->setText(logText_);
}

void CrashReportWindow::mailFiles() {
    if (!startProgram_(QStringLiteral("xdg-email"), mailArguments())) {
        QMessageBox::warning(
            this, windowTitle(),
            tr("No mail program could be started (xdg-email is missing). The files "
               "are in %1.")
                .arg(folder_));
    }
}

}  // namespace quorvel
