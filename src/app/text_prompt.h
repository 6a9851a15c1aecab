#pragma once

// A small modal dialog that asks for one line of text, through one place so
// that tests can answer it in advance.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace quorvel::app {

class TextPrompt {
public:
    // Shows a dialog titled `title` with one edit labelled `label` holding
    // `initial`. The text on OK; nothing when cancelled.
    static std::optional<QString> ask(QWidget* parent, const QString& title, const QString& label,
                                      const QString& initial = {});

    // Tests: the following prompts are answered in order without being
    // shown; a missing answer (std::nullopt, or none left) is a cancel.
    static void setNextAnswer(std::optional<QString> answer);
    static void clearTestMode();
    // What the prompts answered in test mode showed, as "title|label|initial".
    static QStringList takeShown();
};

}  // namespace quorvel::app
