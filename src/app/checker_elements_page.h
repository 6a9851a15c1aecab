#pragma once

#include "app/sheet_page.h"

namespace quorvel::app {

// The Checker Elements page.
class CheckerElementsPage : public SheetPage {
    Q_OBJECT
public:
    explicit CheckerElementsPage(AppState& state, QWidget* parent = nullptr);

    bool leavePage() override;
    void enterPage() override;
    QString helpPage() const override { return QStringLiteral("checker-elements.html"); }
};

}  // namespace quorvel::app
