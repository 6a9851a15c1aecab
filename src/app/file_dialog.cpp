#include "app/file_dialog.h"

#include <QFileDialog>

#include "app/test_answers.h"

namespace quorvel::app {

namespace {

// An empty list is a cancel.
TestAnswers<QStringList>& testAnswers() {
    static TestAnswers<QStringList> answers;
    return answers;
}

// In test mode, the queued answer for a chooser; an empty list when none is left.
QStringList takeAnswer(const QString& caption) {
    testAnswers().recordShown(caption);
    return testAnswers().take();
}

}  // namespace

QString FileDialog::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) {
    if (testAnswers().active()) return takeAnswer(caption).value(0);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QStringList FileDialog::openFileNames(QWidget* parent, const QString& caption,
                                      const QString& folder, const QString& filter) {
    if (testAnswers().active()) return takeAnswer(caption);
    return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
}

QString FileDialog::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                 const QString& filter, bool confirmOverwrite) {
    if (testAnswers().active()) return takeAnswer(caption).value(0);
    const QFileDialog::Options options =
        confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter, nullptr, options);
}

QString FileDialog::existingFolder(QWidget* parent, const QString& caption, const QString& folder) {
    if (testAnswers().active()) return takeAnswer(caption).value(0);
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void FileDialog::setNextResult(const QStringList& names) {
    testAnswers().queue(names);
}

void FileDialog::clearTestMode() {
    testAnswers().clear();
}

QStringList FileDialog::takeShownCaptions() {
    return testAnswers().takeShown();
}

}  // namespace quorvel::app
