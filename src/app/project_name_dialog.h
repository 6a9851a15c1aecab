#pragma once

// The dialog that asks for a project name. Project names may not hold '\',
// '/' or ':': the dialog says so while the user types and puts '-' in their
// place.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QLineEdit;

namespace quorvel::app {

class ProjectNameDialog : public QDialog {
    Q_OBJECT
public:
    ProjectNameDialog(QWidget* parent, const QString& initial);

    QString name() const;
    // What typing or pasting does: takes the edit's new text and applies the
    // rule to it.
    void enterText(const QString& text);

    // Shows the dialog; the name on OK, nothing when cancelled.
    static std::optional<QString> ask(QWidget* parent, const QString& initial = {});

    // Tests: the following dialogs are answered in order without being
    // shown. An answer is entered as if typed (so the rule and its message
    // apply); std::nullopt, or no answer left, cancels.
    static void setNextAnswer(std::optional<QString> answer);
    static void clearTestMode();
    // The initial texts of the dialogs answered in test mode, oldest first.
    static QStringList takeShown();

private:
    void onTextEdited(const QString& text);

    QLineEdit* edit_;
};

// The project-name rule: every '\', '/' and ':' becomes '-'.
QString withValidProjectCharacters(const QString& name);

}  // namespace quorvel::app
