#pragma once

// "About Quorvel ...": the program's version and build, the libraries it
// runs on with their versions, and its licence.

#include <QDialog>

namespace quorvel::app {

// The box's text as HTML, also used by tests.
QString aboutText();

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace quorvel::app
