#pragma once

#include <array>

#include "app/sheet_page.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace quorvel::app {

// The Options page: program-wide preferences, each one key of the
// "Options" section. The controls are filled when the page is entered and
// stored when it is left (also before a run and when the window closes);
// "Enable Tooltips" is stored and applied at once.
class OptionsPage : public SheetPage {
    Q_OBJECT
public:
    explicit OptionsPage(AppState& state, QWidget* parent = nullptr);

    // Stores every value and saves the settings file.
    bool leavePage() override;
    // Fills the controls from the settings.
    void enterPage() override;
    QString helpPage() const override { return QStringLiteral("options.html"); }

    // "Browse ..." of program field `field` (0..4, in page order).
    void browseProgram(int field);

private:
    void onToolTipsClicked(bool checked);
    void updateMinWordLengthEnabled();

    QCheckBox* enableToolTips_;
    QCheckBox* autosizeColumns_;
    std::array<QLineEdit*, 5> programs_{};
    QCheckBox* autoViewHtmlReport_;
    QCheckBox* killTerminatingS_;
    QCheckBox* skipShortWords_;
    QSpinBox* minWordLength_;
};

}  // namespace quorvel::app
