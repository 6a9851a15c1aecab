#pragma once

// Every message box of the program goes through here, so that tests can
// answer it in advance and read what it said.

#include <QMessageBox>
#include <QString>
#include <optional>

namespace quorvel::app {

class MessageBox {
public:
    // Shows a modal message box and returns the button pressed. While an
    // answer is set for tests, no box is shown: the answer is returned at
    // once (or `defaultButton` / the only button when the answer is
    // NoButton) and the box is recorded.
    static QMessageBox::StandardButton show(
        QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    static QMessageBox::StandardButton error(QWidget* parent, const QString& caption,
                                             const QString& text);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& caption,
                                               const QString& text);
    static QMessageBox::StandardButton information(QWidget* parent, const QString& caption,
                                                   const QString& text);
    // Yes and No; anything but Yes cancels.
    static bool confirm(QWidget* parent, const QString& caption, const QString& text);

    // Tests: every following box is answered with `answer` without being
    // shown, until clearTestMode().
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static void clearTestMode();

    struct Shown {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString caption;
        QString text;
    };
    // The boxes answered in test mode, oldest first; cleared by takeShown().
    static QList<Shown> takeShown();
};

}  // namespace quorvel::app
