#pragma once

// File and folder choosers of the program, through one place so that tests
// can answer them in advance.

#include <QString>
#include <QStringList>

class QWidget;

namespace quorvel::app {

class FileDialog {
public:
    // Each returns what the user chose; empty when cancelled.
    static QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter);
    static QStringList openFileNames(QWidget* parent, const QString& caption, const QString& folder,
                                     const QString& filter);
    // Asks before replacing an existing file unless `confirmOverwrite` is false.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                const QString& filter, bool confirmOverwrite = true);
    static QString existingFolder(QWidget* parent, const QString& caption, const QString& folder);

    // Tests: the next chooser returns `names` without being shown (an empty
    // list is a cancel). Answers queue up in order.
    static void setNextResult(const QStringList& names);
    static void clearTestMode();
    // Captions of the choosers answered in test mode, oldest first.
    static QStringList takeShownCaptions();
};

}  // namespace quorvel::app
