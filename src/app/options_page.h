#pragma once

#include "app/sheet_page.h"

namespace quorvel::app {

// The Options page.
class OptionsPage : public SheetPage {
    Q_OBJECT
public:
    explicit OptionsPage(AppState& state, QWidget* parent = nullptr);

    bool leavePage() override;
    void enterPage() override;
    QString helpPage() const override { return QStringLiteral("options.html"); }
};

}  // namespace quorvel::app
