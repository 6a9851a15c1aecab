#include "app/text_prompt.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/test_answers.h"

namespace quorvel::app {

namespace {

TestAnswers<std::optional<QString>>& testAnswers() {
    static TestAnswers<std::optional<QString>> answers;
    return answers;
}

}  // namespace

std::optional<QString> TextPrompt::ask(QWidget* parent, const QString& title, const QString& label,
                                       const QString& initial) {
    if (testAnswers().active()) {
        testAnswers().recordShown(title + u'|' + label + u'|' + initial);
        return testAnswers().take();
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
    testAnswers().queue(std::move(answer));
}

void TextPrompt::clearTestMode() {
    testAnswers().clear();
}

QStringList TextPrompt::takeShown() {
    return testAnswers().takeShown();
}

}  // namespace quorvel::app
