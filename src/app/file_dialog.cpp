#include "app/file_dialog.h"

#include <QFileDialog>
#include <QQueue>

namespace quorvel::app {

namespace {

struct TestMode {
    bool active = false;
    QQueue<QStringList> answers;
    QStringList captions;
};

TestMode& testMode() {
    static TestMode mode;
    return mode;
}

// In test mode, the queued answer for a chooser; an empty list when none is left.
QStringList takeAnswer(const QString& caption) {
    TestMode& mode = testMode();
    mode.captions.append(caption);
    return mode.answers.isEmpty() ? QStringList() : mode.answers.dequeue();
}

}  // namespace

QString FileDialog::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) {
    if (testMode().active) return takeAnswer(caption).value(0);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QStringList FileDialog::openFileNames(QWidget* parent, const QString& caption,
                                      const QString& folder, const QString& filter) {
    if (testMode().active) return takeAnswer(caption);
    return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
}

QString FileDialog::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                 const QString& filter, bool confirmOverwrite) {
    if (testMode().active) return takeAnswer(caption).value(0);
    const QFileDialog::Options options =
        confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter, nullptr, options);
}

QString FileDialog::existingFolder(QWidget* parent, const QString& caption, const QString& folder) {
    if (testMode().active) return takeAnswer(caption).value(0);
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void FileDialog::setNextResult(const QStringList& names) {
    testMode().active = true;
    testMode().answers.enqueue(names);
}

void FileDialog::clearTestMode() {
    testMode() = TestMode{};
}

QStringList FileDialog::takeShownCaptions() {
    QStringList captions;
    captions.swap(testMode().captions);
    return captions;
}

}  // namespace quorvel::app
