#pragma once

// The two small dialogs of web retrieval: the address and local name of an
// import, and the user name and password of a checker-file update. Each is
// asked through a function that tests can answer in advance.

#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;

namespace quorvel::app {

struct ImportRequest {
    QString url;
    QString localName;
};

class ImportUrlDialog : public QDialog {
    Q_OBJECT
public:
    ImportUrlDialog(QWidget* parent, const QString& url);

    ImportRequest request() const;
    // OK: closes only with a usable address and a local name.
    void accept() override;

    // Shows the dialog; nothing when cancelled. In test mode the queued
    // answer is returned without showing anything (none left: a cancel).
    static std::optional<ImportRequest> ask(QWidget* parent, const QString& url);
    static void setNextAnswer(std::optional<ImportRequest> answer);
    static void clearTestMode();

private:
    void onUrlChanged(const QString& url);

    QLineEdit* url_;
    QLineEdit* localName_;
};

struct Credentials {
    QString userName;
    QString password;
};

class CheckFileLoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit CheckFileLoginDialog(QWidget* parent);

    Credentials credentials() const;

    static std::optional<Credentials> ask(QWidget* parent);
    static void setNextAnswer(std::optional<Credentials> answer);
    static void clearTestMode();

private:
    QLineEdit* userName_;
    QLineEdit* password_;
};

}  // namespace quorvel::app
