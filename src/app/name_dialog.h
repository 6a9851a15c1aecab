#pragma once

// The small dialog that asks for a name: a keyword or phrase, or a project
// name. Project names may not hold '\', '/' or ':' (they name a section of
// the settings file and, elsewhere, folders): the dialog says so while the
// user types and puts '-' in their place.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QLineEdit;

namespace quorvel::app {

class NameDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Keyword, Project };

    NameDialog(QWidget* parent, Kind kind, const QString& title, const QString& initial);

    QString name() const;
    // What typing or pasting does: takes the edit's new text and applies the
    // project-name rule to it.
    void enterText(const QString& text);

    // Shows the dialog; the name on OK, nothing when cancelled.
    static std::optional<QString> ask(QWidget* parent, Kind kind, const QString& title,
                                      const QString& initial = {});

    // Tests: the following dialogs are answered in order without being
    // shown. An answer is entered as if typed (so the project-name rule and
    // its message apply); std::nullopt, or no answer left, cancels.
    static void setNextAnswer(std::optional<QString> answer);
    static void clearTestMode();
    // The dialogs answered in test mode, as "title|initial text", oldest first.
    static QStringList takeShown();

private:
    void onTextEdited(const QString& text);

    Kind kind_;
    QLineEdit* edit_;
};

// The project-name rule: every '\', '/' and ':' becomes '-'.
QString withValidProjectCharacters(const QString& name);

}  // namespace quorvel::app
