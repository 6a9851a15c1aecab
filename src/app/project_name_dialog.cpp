#include "app/project_name_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/message_box.h"
#include "app/test_answers.h"

namespace quorvel::app {

namespace {

TestAnswers<std::optional<QString>>& testAnswers() {
    static TestAnswers<std::optional<QString>> answers;
    return answers;
}

bool isInvalidProjectCharacter(QChar c) {
    return c == u'\\' || c == u'/' || c == u':';
}

}  // namespace

QString withValidProjectCharacters(const QString& name) {
    QString valid = name;
    for (QChar& c : valid) {
        if (isInvalidProjectCharacter(c)) c = u'-';
    }
    return valid;
}

ProjectNameDialog::ProjectNameDialog(QWidget* parent, const QString& initial) : QDialog(parent) {
    setObjectName(QStringLiteral("projectNameDialog"));
    setWindowTitle(tr("Project Name"));
    auto* label = new QLabel(tr("Name:"), this);
    edit_ = new QLineEdit(initial, this);
    edit_->setObjectName(QStringLiteral("nameEdit"));
    edit_->setAccessibleName(label->text());
    edit_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    label->setBuddy(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("nameButtons"));

    auto* form = new QFormLayout;
    form->addRow(label, edit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(edit_, &QLineEdit::textEdited, this, &ProjectNameDialog::onTextEdited);
}

QString ProjectNameDialog::name() const {
    return edit_->text();
}

void ProjectNameDialog::enterText(const QString& text) {
    edit_->setText(text);
    onTextEdited(text);
}

void ProjectNameDialog::onTextEdited(const QString& text) {
    if (std::none_of(text.begin(), text.end(), isInvalidProjectCharacter)) return;
    MessageBox::error(this, QStringLiteral("Quorvel Error Message"),
                      QStringLiteral("You have typed an invalid character for a Project name!\n"
                                     "All invalid characters will be now replaced with a '-'."));
    const int cursor = edit_->cursorPosition();
    edit_->setText(withValidProjectCharacters(text));
    edit_->setCursorPosition(cursor);
}

std::optional<QString> ProjectNameDialog::ask(QWidget* parent, const QString& initial) {
    ProjectNameDialog dialog(parent, initial);
    if (testAnswers().active()) {
        testAnswers().recordShown(initial);
        const std::optional<QString> answer = testAnswers().take();
        if (!answer) return std::nullopt;
        dialog.enterText(*answer);
        return dialog.name();
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.name();
}

void ProjectNameDialog::setNextAnswer(std::optional<QString> answer) {
    testAnswers().queue(std::move(answer));
}

void ProjectNameDialog::clearTestMode() {
    testAnswers().clear();
}

QStringList ProjectNameDialog::takeShown() {
    return testAnswers().takeShown();
}

}  // namespace quorvel::app
