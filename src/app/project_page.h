#pragma once

#include "app/sheet_page.h"

namespace quorvel::app {

// The Project page.
class ProjectPage : public SheetPage {
    Q_OBJECT
public:
    explicit ProjectPage(AppState& state, QWidget* parent = nullptr);

    bool leavePage() override;
    void enterPage() override;
    QString helpPage() const override { return QStringLiteral("project.html"); }
};

}  // namespace quorvel::app
