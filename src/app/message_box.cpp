#include "app/message_box.h"

namespace quorvel::app {

namespace {

struct TestMode {
    bool active = false;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QList<MessageBox::Shown> shown;
};

TestMode& testMode() {
    static TestMode mode;
    return mode;
}

}  // namespace

QMessageBox::StandardButton MessageBox::show(QWidget* parent, QMessageBox::Icon icon,
                                             const QString& caption, const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) {
    TestMode& mode = testMode();
    if (mode.active) {
        mode.shown.append({icon, caption, text});
        if (mode.answer != QMessageBox::NoButton) return mode.answer;
        if (defaultButton != QMessageBox::NoButton) return defaultButton;
        return static_cast<QMessageBox::StandardButton>(buttons.toInt());
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton MessageBox::error(QWidget* parent, const QString& caption,
                                              const QString& text) {
    return show(parent, QMessageBox::Critical, caption, text);
}

QMessageBox::StandardButton MessageBox::warning(QWidget* parent, const QString& caption,
                                                const QString& text) {
    return show(parent, QMessageBox::Warning, caption, text);
}

QMessageBox::StandardButton MessageBox::information(QWidget* parent, const QString& caption,
                                                    const QString& text) {
    return show(parent, QMessageBox::Information, caption, text);
}

bool MessageBox::confirm(QWidget* parent, const QString& caption, const QString& text) {
    return show(parent, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) {
    testMode().active = true;
    testMode().answer = answer;
}

void MessageBox::clearTestMode() {
    testMode() = TestMode{};
}

QList<MessageBox::Shown> MessageBox::takeShown() {
    QList<Shown> shown;
    shown.swap(testMode().shown);
    return shown;
}

}  // namespace quorvel::app
