#include "app/text_prompt.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QQueue>

namespace quorvel::app {

namespace {

struct TestMode {
    bool active = false;
    QQueue<std::optional<QString>> answers;
    QStringList shown;
};

TestMode& testMode() {
    static TestMode mode;
    return mode;
}

}  // namespace

std::optional<QString> TextPrompt::ask(QWidget* parent, const QString& title, const QString& label,
                                       const QString& initial) {
    TestMode& mode = testMode();
    if (mode.active) {
        mode.shown.append(title + u'|' + label + u'|' + initial);
        return mode.answers.isEmpty() ? std::nullopt : mode.answers.dequeue();
    }
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("textPrompt"));
    dialog.setWindowTitle(title);
    auto* edit = new QLineEdit(initial, &dialog);
    edit->setObjectName(QStringLiteral("textPromptEdit"));
    edit->setMinimumWidth(320);
    auto* caption = new QLabel(label, &dialog);
    caption->setBuddy(edit);
    edit->setAccessibleName(QString(label).remove(u'&'));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QFormLayout(&dialog);
    layout->addRow(caption, edit);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return edit->text();
}

void TextPrompt::setNextAnswer(std::optional<QString> answer) {
    testMode().active = true;
    testMode().answers.enqueue(std::move(answer));
}

void TextPrompt::clearTestMode() {
    testMode() = TestMode{};
}

QStringList TextPrompt::takeShown() {
    QStringList shown;
    shown.swap(testMode().shown);
    return shown;
}

}  // namespace quorvel::app
