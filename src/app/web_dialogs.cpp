#include "app/web_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/message_box.h"
#include "app/test_answers.h"
#include "app/text_bytes.h"
#include "net/url_import.h"

namespace quorvel::app {

namespace {

const QString kProgramTitle = QStringLiteral("Quorvel");

TestAnswers<std::optional<ImportRequest>>& importAnswers() {
    static TestAnswers<std::optional<ImportRequest>> answers;
    return answers;
}

TestAnswers<std::optional<Credentials>>& loginAnswers() {
    static TestAnswers<std::optional<Credentials>> answers;
    return answers;
}

QLabel* wrappedText(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QLineEdit* labelledEdit(QFormLayout* form, const QString& caption, const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(QString(caption).remove(u'&').remove(u':'));
    auto* label = new QLabel(caption);
    label->setBuddy(edit);
    form->addRow(label, edit);
    return edit;
}

QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

ImportUrlDialog::ImportUrlDialog(QWidget* parent, const QString& url) : QDialog(parent) {
    setObjectName(QStringLiteral("importUrlDialog"));
    setWindowTitle(tr("Import from an Internet URL"));
    auto* form = new QFormLayout;
    url_ = labelledEdit(form, tr("&URL:"), "urlEdit");
    url_->setMaxLength(512);
    localName_ = labelledEdit(form, tr("&Local file name:"), "localNameEdit");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        wrappedText(tr("Specify an Internet address of the form: "
                       "https://www.example.com/products/index.html")));
    layout->addLayout(form);
    for (const QString& note :
         {tr("The purpose of this import feature is to allow you to download a file to your hard "
             "drive through the Quorvel program itself."),
          tr("Keep in mind that the program will download the file into the Project Folder that "
             "you currently have specified on Quorvel's Project page."),
          tr("If you already have a file in that folder with the same file name as the file "
             "you're going to download, the program will override the existing file with the "
             "newly downloaded one.")}) {
        layout->addWidget(wrappedText(note));
    }
    layout->addWidget(okCancel(this));
    setMinimumWidth(520);
    connect(url_, &QLineEdit::textChanged, this, &ImportUrlDialog::onUrlChanged);
    url_->setText(url);
}

void ImportUrlDialog::onUrlChanged(const QString& url) {
    if (const auto name = fileNameFromUrl(bytesFromText(url))) {
        localName_->setText(textFromBytes(*name));
    }
}

ImportRequest ImportUrlDialog::request() const {
    return {url_->text(), localName_->text()};
}

void ImportUrlDialog::accept() {
    if (!isUsableImportUrl(bytesFromText(url_->text()))) {
        MessageBox::information(this, kProgramTitle, textFromBytes(kSpecifyValidUrl));
        return;
    }
    if (localName_->text().isEmpty()) {
        MessageBox::information(this, kProgramTitle, textFromBytes(kSpecifyLocalFileName));
        return;
    }
    if (!isPlainFileName(bytesFromText(localName_->text()))) {
        // The file must land in the project folder, never beside or above it.
        MessageBox::information(
            this, kProgramTitle,
            tr("The local file name must be a plain file name, without a folder."));
        return;
    }
    QDialog::accept();
}

std::optional<ImportRequest> ImportUrlDialog::ask(QWidget* parent, const QString& url) {
    if (importAnswers().active()) return importAnswers().take();
    ImportUrlDialog dialog(parent, url);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.request();
}

void ImportUrlDialog::setNextAnswer(std::optional<ImportRequest> answer) {
    importAnswers().queue(std::move(answer));
}

void ImportUrlDialog::clearTestMode() {
    importAnswers().clear();
}

CheckFileLoginDialog::CheckFileLoginDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("checkFileLoginDialog"));
    setWindowTitle(tr("Quorvel: Monthly Check File Download"));
    auto* form = new QFormLayout;
    userName_ = labelledEdit(form, tr("&User name:"), "userNameEdit");
    password_ = labelledEdit(form, tr("&Password:"), "passwordEdit");
    // Typed passwords are never shown on the screen.
    password_->setEchoMode(QLineEdit::Password);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(
        wrappedText(tr("If you have problems with the download, please write to "
                       "support@maltrane.example")));
    layout->addWidget(okCancel(this));
}

Credentials CheckFileLoginDialog::credentials() const {
    return {userName_->text(), password_->text()};
}

std::optional<Credentials> CheckFileLoginDialog::ask(QWidget* parent) {
    if (loginAnswers().active()) return loginAnswers().take();
    CheckFileLoginDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.credentials();
}

void CheckFileLoginDialog::setNextAnswer(std::optional<Credentials> answer) {
    loginAnswers().queue(std::move(answer));
}

void CheckFileLoginDialog::clearTestMode() {
    loginAnswers().clear();
}

}  // namespace quorvel::app
